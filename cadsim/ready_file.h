#pragma once
// The ready file tells whoever started the simulator that all windows exist, and which they are:
// lines "Key=hex" for ProcessId, MainFrame, TextWindow, Palette, PromptWindow, HistoryPane and
// MainUnicode (1 when the main frame is a Unicode window), 0 for a window the layout leaves out.

#include <windows.h>

#include <string>

#include "host_state.h"

namespace cadsim {

std::string FormatReadyFile(DWORD processId, const HostWindows& windows);

// Writes a temporary file beside path and moves it into place, so that a reader never sees half
// a file. path is in the ANSI code page. On failure error says what went wrong.
bool WriteReadyFile(const std::string& path, const std::string& content, std::string& error);

}  // namespace cadsim
