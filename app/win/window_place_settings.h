#pragma once
// The main window's place in the settings file, beside the circle size.

#include <windows.h>

#include "framework/ini_file.h"

namespace app {

extern const char16_t kSettingsKeyLeft[];
extern const char16_t kSettingsKeyTop[];

// Moves the window to the saved place when it is still on a monitor; otherwise it stays where
// it is (centred).
void RestoreWindowPlace(HWND window, const framework::TIniFile& settings);
// Throws the settings file's write error. A minimised window keeps the place saved before.
void SaveWindowPlace(HWND window, const framework::TIniFile& settings);

}  // namespace app
