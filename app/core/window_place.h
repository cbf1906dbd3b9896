#pragma once
// Where the main window opens: where the user left it, when that place is still on a monitor,
// and centred otherwise.

#include <optional>
#include <string>
#include <vector>

namespace app {

struct ScreenRect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct ScreenPoint {
    int x = 0, y = 0;
};

// A saved coordinate: an optional sign and decimal digits, blanks around them allowed, within
// +-1,000,000 pixels; anything else is no value.
std::optional<int> ParseCoordinate(const std::string& text);

// The saved place when the window put there could still be moved by its title bar: the middle
// of the title bar (captionHeight high) lies in the work area of a monitor. The window is then
// moved wholly inside that work area (a smaller screen since would leave its buttons off it; one
// larger than the area keeps its top-left corner in it). Otherwise, or without both values, centred.
ScreenPoint ChooseWindowPlace(const std::string& savedLeft,
                              const std::string& savedTop,
                              int width,
                              int height,
                              int captionHeight,
                              const std::vector<ScreenRect>& workAreas,
                              ScreenPoint centred);

}  // namespace app
