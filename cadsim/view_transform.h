#pragma once
// How the drawing maps onto the pixels of its area in the main frame: y points up, and the
// drawing's extents fit the area with a margin. Portable arithmetic, shared by painting, clicks
// and the ready file:
//   pixelX = left + originX + x * scale        pixelY = bottom - originY - y * scale

#include "geometry.h"

namespace cadsim {

struct ViewTransform {
    double scale = 1;
    double originX = 0;
    double originY = 0;
};

// Blank pixels kept between the drawing's extents and the edges of the area.
constexpr int kViewMargin = 24;

// Fits extents (null for an empty drawing, which shows 0,0 to 100,100) centred into an area of
// width x height pixels.
ViewTransform FitView(const Box* extents, int width, int height);

// The drawing point under a pixel given from the area's left and from its bottom edge.
Point ToDrawing(const ViewTransform& view, double fromLeft, double fromBottom);

}  // namespace cadsim
