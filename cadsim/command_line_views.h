#pragma once
// The host's command line: a container holding the history pane (the output area) above the prompt
// window (the input line). The two carry fixed captions by which tools find them, while the prompt
// window answers WM_GETTEXT with the current prompt and the history pane paints the history.

#include <windows.h>

#include <string>

#include "host_state.h"

namespace cadsim {

bool RegisterCommandLineClasses(bool ansi);

// Creates the container and its two children inside parent and records them in host.windows.
bool CreateCommandLine(Host& host, HWND parent, const std::string& promptCaption, const std::string& historyCaption);

// Height of a command line docked under the drawing: a few history lines and the prompt line.
int DockedCommandLineHeight();

// Paints the newest history lines that fit into area, the newest at the bottom.
void PaintHistory(HDC dc, const RECT& area, const Host& host);

}  // namespace cadsim
