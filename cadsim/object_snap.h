#pragma once
// Running object snaps as OSMODE chooses them: a point within the aperture of an object's
// endpoint (bit 1), an edge's midpoint (2) or a circle's centre (4) moves onto the nearest such
// point; bit 16384 turns them all off and keeps the choice. Portable: no window system here.

#include "drawing.h"

namespace cadsim {

constexpr long kSnapEndpoint = 1;
constexpr long kSnapMidpoint = 2;
constexpr long kSnapCentre = 4;
constexpr long kSnapsOff = 16384;

// The host's default aperture, in screen pixels; the simulator turns it into drawing units at the
// view's scale.
constexpr double kSnapAperturePixels = 10;

struct Snap {
    Point point;
    const char* kind = "";  // "endpoint", "midpoint" or "centre"
};

// The snap point nearest to at within aperture (drawing units); the first found of equally near
// ones (older objects first, then endpoints, midpoints, centres). False when none is that near
// or osmode snaps nothing.
bool FindSnap(const Drawing& drawing, const Point& at, long osmode, double aperture, Snap& snap);

}  // namespace cadsim
