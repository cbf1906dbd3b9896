#pragma once
// Plane geometry of the drawing's closed shapes: simple polygons given by their corners, in order,
// without the first corner repeated at the end. Portable: no window system here.

#include <vector>

#include "coordinates.h"

namespace cadsim {

using Polygon = std::vector<Point>;

struct Box {
    Point min;
    Point max;
};

// Positive when the corners run anticlockwise (y up). Computed relative to the first corner, so
// that shapes far from the origin keep their digits.
double SignedArea(const Polygon& polygon);

double Perimeter(const Polygon& polygon);

Box BoundsOf(const Polygon& polygon);
Box Union(const Box& a, const Box& b);

// True when the point lies strictly inside: a point on an edge or a corner belongs to no side.
bool Holds(const Polygon& polygon, const Point& point);

// True when no two edges meet except neighbours at their shared corner (no crossing, touching or
// doubling back).
bool IsSimple(const Polygon& polygon);

}  // namespace cadsim
