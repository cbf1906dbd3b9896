#pragma once
// Paints the drawing into its area of the main frame through the host's view transform: regions
// filled, polylines and circles as outlines, objects a command has selected in another colour.

#include <windows.h>

#include "host_state.h"

namespace cadsim {

void PaintDrawing(HDC dc, const Host& host);

}  // namespace cadsim
