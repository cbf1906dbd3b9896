#pragma once
// Paints the drawing into its area of the main frame through the host's view transform: regions
// filled, polylines and circles as outlines, objects a command has selected in another colour.
// Only what lies in the part to repaint is drawn, so that a change costs the same in a drawing of
// ten objects as in one of thousands.

#include <windows.h>

#include "host_state.h"

namespace cadsim {

// update: the part of the main frame's client area to paint.
void PaintDrawing(HDC dc, const Host& host, const RECT& update);

// The pixels of the drawing area that show what lies in box, outlines included (empty when none).
RECT PixelsShowing(const Host& host, const Box& box);

}  // namespace cadsim
