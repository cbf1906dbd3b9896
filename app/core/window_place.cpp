#include "window_place.h"

#include "cad_numbers.h"
#include "platform/text_trim.h"

namespace app {
namespace {

constexpr std::uint64_t kCoordinateLimit = 1000000;

// The start of a span of the given length moved inside [low, high); the low end wins when it does not fit.
int Inside(int start, int length, int low, int high) {
    if (start + length > high)
        start = high - length;
    return start < low ? low : start;
}

}  // namespace

std::optional<int> ParseCoordinate(std::u16string_view text) {
    const std::optional<std::int64_t> value = ParseWholeNumber(platform::Trim(text), kCoordinateLimit);
    return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
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
