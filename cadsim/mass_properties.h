#pragma once
// Mass properties of plane regions, as the host's mass-properties analysis gives them: area,
// perimeter, bounding box, centroid, second moments about the axes, and the principal moments
// about the centroid. Several regions count as one body. Portable: no window system here.

#include <vector>

#include "geometry.h"

namespace cadsim {

struct MassProperties {
    double area = 0;
    double perimeter = 0;
    Box bounds;
    Point centroid;
    double momentX = 0;    // integral of y^2 dA: about the X axis
    double momentY = 0;    // integral of x^2 dA: about the Y axis
    double productXY = 0;  // integral of x*y dA
    double radiusX = 0;    // sqrt(momentX / area)
    double radiusY = 0;
    // About the centroid: the moments along the two principal directions (unit vectors).
    double principalI = 0;
    Point directionI;
    double principalJ = 0;
    Point directionJ;
};

struct Disc {
    Point center;
    double radius = 0;
};

// At least one region: simple polygons with an area (their orientation does not matter) and
// discs (regions made from circles).
MassProperties Measure(const std::vector<Polygon>& regions, const std::vector<Disc>& discs = {});

}  // namespace cadsim
