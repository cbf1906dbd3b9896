#pragma once
// Where the main window opens: where the user left it, when that place is still on a monitor,
// and centred otherwise.

#include <optional>
#include <string_view>
#include <vector>

#include "platform/geometry.h"

namespace app {

// A saved coordinate: an optional sign and decimal digits, blanks around them allowed, within
// +-1,000,000 pixels; anything else is no value.
std::optional<int> ParseCoordinate(std::u16string_view text);

// The saved place when the window put there could still be moved by its title bar: the middle
// of the title bar (captionHeight high) lies in the work area of a monitor. The window is then
// moved wholly inside that work area (a smaller screen since would leave its buttons off it; one
// larger than the area keeps its top-left corner in it). Otherwise, or without both values, centred.
platform::Point ChooseWindowPlace(std::u16string_view savedLeft,
                                  std::u16string_view savedTop,
                                  int width,
                                  int height,
                                  int captionHeight,
                                  const std::vector<platform::Rect>& workAreas,
                                  platform::Point centred);

}  // namespace app
