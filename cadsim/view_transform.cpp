#include "view_transform.h"

#include <algorithm>

namespace cadsim {

ViewTransform FitView(const Box* extents, int width, int height) {
    const Box shown = extents ? *extents : Box{Point{0, 0}, Point{100, 100}};
    const double usableWidth = std::max(1, width - 2 * kViewMargin);
    const double usableHeight = std::max(1, height - 2 * kViewMargin);
    // A drawing of one line or one point still gets a finite scale.
    const double spanX = std::max(shown.max.x - shown.min.x, 1e-9);
    const double spanY = std::max(shown.max.y - shown.min.y, 1e-9);
    ViewTransform view;
    view.scale = std::min(usableWidth / spanX, usableHeight / spanY);
    view.originX = width / 2.0 - (shown.min.x + shown.max.x) / 2 * view.scale;
    view.originY = height / 2.0 - (shown.min.y + shown.max.y) / 2 * view.scale;
    return view;
}

Point ToDrawing(const ViewTransform& view, double fromLeft, double fromBottom) {
    return Point{(fromLeft - view.originX) / view.scale, (fromBottom - view.originY) / view.scale};
}

}  // namespace cadsim
