#pragma once
// What the framework's windows ask the display: its DPI where a window is, the work area of that
// monitor and whether the user's theme is high contrast. The DPI functions that a system may lack
// are looked up at run time, so the exe starts on every system that runs it.

#include <windows.h>

#include <optional>

#include "framework/display_scale.h"

namespace framework {

// The DPI of the monitor the window is on (the screen's when the system cannot tell per window).
int WindowDpi(HWND window);

// The work area of the monitor the window is on, in screen pixels.
RECT WorkAreaOf(HWND window);

// Whether the user's theme is high contrast: then self-painted controls use system colours only.
bool HighContrast();
// For tests only, since a test system may have no way to switch the theme: a forced answer, or
// the system's again with nullopt.
void ForceHighContrast(std::optional<bool> on);

}  // namespace framework
