#include "window_place.h"

namespace app {
namespace {

constexpr long kCoordinateLimit = 1000000;

// The start of a span of the given length moved inside [low, high); the low end wins when it does not fit.
int Inside(int start, int length, int low, int high) {
    if (start + length > high)
        start = high - length;
    return start < low ? low : start;
}

bool Holds(const ScreenRect& area, int x, int y) {
    return x >= area.left && x < area.right && y >= area.top && y < area.bottom;
}

}  // namespace

std::optional<int> ParseCoordinate(const std::string& text) {
    std::size_t i = text.find_first_not_of(' ');
    const std::size_t end = text.find_last_not_of(' ') + 1;
    if (i == std::string::npos)
        return std::nullopt;
    bool negative = false;
    if (text[i] == '+' || text[i] == '-')
        negative = text[i++] == '-';
    if (i == end)
        return std::nullopt;
    long value = 0;
    for (; i < end; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > kCoordinateLimit)
            return std::nullopt;
    }
    return static_cast<int>(negative ? -value : value);
}

ScreenPoint ChooseWindowPlace(const std::string& savedLeft,
                              const std::string& savedTop,
                              int width,
                              int height,
                              int captionHeight,
                              const std::vector<ScreenRect>& workAreas,
                              ScreenPoint centred) {
    const std::optional<int> left = ParseCoordinate(savedLeft);
    const std::optional<int> top = ParseCoordinate(savedTop);
    if (!left || !top)
        return centred;
    const int grabX = *left + width / 2;
    const int grabY = *top + captionHeight / 2;
    for (const ScreenRect& area : workAreas) {
        if (Holds(area, grabX, grabY))
            return ScreenPoint{Inside(*left, width, area.left, area.right),
                               Inside(*top, height, area.top, area.bottom)};
    }
    return centred;
}

}  // namespace app
