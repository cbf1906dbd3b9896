#include "window_place.h"

#include "platform/text_trim.h"

namespace app {
namespace {

constexpr long kCoordinateLimit = 1000000;

// The start of a span of the given length moved inside [low, high); the low end wins when it does not fit.
int Inside(int start, int length, int low, int high) {
    if (start + length > high)
        start = high - length;
    return start < low ? low : start;
}

}  // namespace

std::optional<int> ParseCoordinate(std::u16string_view text) {
    text = platform::Trim(text);
    std::size_t i = 0;
    const std::size_t end = text.size();
    if (text.empty())
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

platform::Point ChooseWindowPlace(std::u16string_view savedLeft,
                                  std::u16string_view savedTop,
                                  int width,
                                  int height,
                                  int captionHeight,
                                  const std::vector<platform::Rect>& workAreas,
                                  platform::Point centred) {
    const std::optional<int> left = ParseCoordinate(savedLeft);
    const std::optional<int> top = ParseCoordinate(savedTop);
    if (!left || !top)
        return centred;
    const int grabX = *left + width / 2;
    const int grabY = *top + captionHeight / 2;
    for (const platform::Rect& area : workAreas) {
        if (area.Contains({grabX, grabY}))
            return platform::Point{Inside(*left, width, area.left, area.right),
                                   Inside(*top, height, area.top, area.bottom)};
    }
    return centred;
}

}  // namespace app
