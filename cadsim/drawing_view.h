#pragma once
// Paints the drawing into its area of the main frame through the host's view transform: regions
// filled, polylines (open ones too) and circles as outlines, objects a command has selected
// outlined in another colour over everything. The drawing is kept rendered in a bitmap that each
// change updates where it changed (an object added on top is drawn once), so that a command costs
// the same in a drawing of ten objects as in one of thousands.

#include <windows.h>

#include "host_state.h"

namespace cadsim {

// The drawing as rendered, one pixel per pixel of the drawing area.
class DrawingBuffer;

// update: the part of the main frame's client area to paint.
void PaintDrawing(HDC dc, Host& host, const RECT& update);

// Brings the rendered drawing up to date with what the command line changed since the last call,
// and marks for repainting only the pixels that look different.
void ShowDrawingChanges(Host& host);

// Renders the whole drawing again at the next paint (after the view changed).
void ForgetRenderedDrawing(Host& host);

}  // namespace cadsim
