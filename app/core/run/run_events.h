#pragma once
// What a run tells the window, as it happens: the window shows it; the run never calls into it.

#include <optional>
#include <string>
#include <variant>

#include "platform/window_system.h"

namespace app {

// What a run tells the window, as it happens.
struct ValuesMeasured {
    // As the label and the results row show them; a value the report did not have leaves its
    // label as it was.
    std::optional<std::u16string> area;
    std::optional<std::u16string> perimeter;
};
struct RowAdded {
    std::u16string row;  // CRLF included
};
struct HintShown {
    platform::WindowHandle window = 0;  // the CAD program's history pane
    std::u16string text;
};
struct NoCadProgram {};
// The pick found no closed area: the boundary made nothing there (the lines may have a gap).
struct NoClosedArea {};
struct WindowMinimized {
    bool minimized = false;
};
struct MessageShown {
    std::u16string text;  // the plain message dialog's
};
using RunEvent =
    std::variant<ValuesMeasured, RowAdded, HintShown, NoCadProgram, NoClosedArea, WindowMinimized, MessageShown>;

}  // namespace app
