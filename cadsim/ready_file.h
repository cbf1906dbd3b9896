#pragma once
// The ready file tells whoever started the simulator that all windows exist, and which they are:
// lines "Key=hex" for ProcessId, MainFrame, TextWindow, Palette, PromptWindow, HistoryPane and
// MainUnicode (1 when the main frame is a Unicode window), 0 for a window the layout leaves out.
// Two more lines say where the drawing is on the screen, for tests that click it:
//   DrawingArea=left,top,right,bottom   screen pixels, decimal (right and bottom exclusive; all 0
//                                       without a main frame)
//   View=scale,originX,originY          decimal: a drawing point x,y is at the screen pixel
//                                       left + originX + x*scale, bottom - originY - y*scale

#include <windows.h>

#include <string>

#include "host_state.h"
#include "view_transform.h"

namespace cadsim {

// drawingArea in screen coordinates.
std::string FormatReadyFile(DWORD processId,
                            const HostWindows& windows,
                            const RECT& drawingArea,
                            const ViewTransform& view);

// Writes a temporary file beside path and moves it into place, so that a reader never sees half
// a file. path is in the ANSI code page. On failure error says what went wrong.
bool WriteReadyFile(const std::string& path, const std::string& content, std::string& error);

}  // namespace cadsim
