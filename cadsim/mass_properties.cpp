#include "mass_properties.h"

#include <cmath>

namespace cadsim {
namespace {

constexpr double kPi = 3.14159265358979323846;

// Sums over the regions, taken relative to one reference corner so that far-off drawings keep
// their digits; each region is turned anticlockwise first.
struct Integrals {
    double area = 0;
    double x = 0;  // integral of x dA
    double y = 0;
    double xx = 0;
    double yy = 0;
    double xy = 0;
};

void AddPolygon(const Polygon& polygon, const Point& reference, Integrals& sums) {
    const double sign = SignedArea(polygon) < 0 ? -1.0 : 1.0;
    Integrals one;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const double x0 = polygon[i].x - reference.x;
        const double y0 = polygon[i].y - reference.y;
        const double x1 = polygon[(i + 1) % polygon.size()].x - reference.x;
        const double y1 = polygon[(i + 1) % polygon.size()].y - reference.y;
        const double cross = x0 * y1 - x1 * y0;
        one.area += cross / 2;
        one.x += (x0 + x1) * cross / 6;
        one.y += (y0 + y1) * cross / 6;
        one.xx += (x0 * x0 + x0 * x1 + x1 * x1) * cross / 12;
        one.yy += (y0 * y0 + y0 * y1 + y1 * y1) * cross / 12;
        one.xy += (x0 * y1 + 2 * x0 * y0 + 2 * x1 * y1 + x1 * y0) * cross / 24;
    }
    sums.area += sign * one.area;
    sums.x += sign * one.x;
    sums.y += sign * one.y;
    sums.xx += sign * one.xx;
    sums.yy += sign * one.yy;
    sums.xy += sign * one.xy;
}

void AddDisc(const Disc& disc, const Point& reference, Integrals& sums) {
    const double area = kPi * disc.radius * disc.radius;
    const double x = disc.center.x - reference.x;
    const double y = disc.center.y - reference.y;
    // About its own centre a disc has x^2 and y^2 moments of pi r^4 / 4 and no product.
    const double own = area * disc.radius * disc.radius / 4;
    sums.area += area;
    sums.x += area * x;
    sums.y += area * y;
    sums.xx += own + area * x * x;
    sums.yy += own + area * y * y;
    sums.xy += area * x * y;
}

Box BoundsOf(const Disc& disc) {
    return Box{Point{disc.center.x - disc.radius, disc.center.y - disc.radius},
               Point{disc.center.x + disc.radius, disc.center.y + disc.radius}};
}

// Eigen pairs of the symmetric matrix [[a, b], [b, d]], the first along the direction nearer X.
void Principal(double a, double b, double d, MassProperties& properties) {
    const double scale = std::fabs(a) + std::fabs(d);
    if (std::fabs(b) <= scale * 1e-12) {
        properties.principalI = a;
        properties.directionI = Point{1, 0};
        properties.principalJ = d;
        properties.directionJ = Point{0, 1};
        return;
    }
    const double mean = (a + d) / 2;
    const double radius = std::hypot((a - d) / 2, b);
    const double first = a >= d ? mean + radius : mean - radius;
    const double second = a >= d ? mean - radius : mean + radius;
    // (b, first - a) solves the first row; it leans towards X because first is the value nearer a.
    Point direction{b, first - a};
    const double length = std::hypot(direction.x, direction.y);
    direction = Point{direction.x / length, direction.y / length};
    if (direction.x < 0)
        direction = Point{-direction.x, -direction.y};
    properties.principalI = first;
    properties.directionI = direction;
    properties.principalJ = second;
    properties.directionJ = Point{-direction.y, direction.x};
}

}  // namespace

MassProperties Measure(const std::vector<Polygon>& regions, const std::vector<Disc>& discs) {
    MassProperties properties;
    const bool polygonFirst = !regions.empty() && !regions.front().empty();
    if (!polygonFirst && discs.empty())
        return properties;
    const Point reference = polygonFirst ? regions.front().front() : discs.front().center;
    Integrals sums;
    properties.bounds = polygonFirst ? BoundsOf(regions.front()) : BoundsOf(discs.front());
    for (const Polygon& polygon : regions) {
        AddPolygon(polygon, reference, sums);
        properties.perimeter += Perimeter(polygon);
        properties.bounds = Union(properties.bounds, BoundsOf(polygon));
    }
    for (const Disc& disc : discs) {
        AddDisc(disc, reference, sums);
        properties.perimeter += 2 * kPi * disc.radius;
        properties.bounds = Union(properties.bounds, BoundsOf(disc));
    }
    const double area = sums.area;
    properties.area = area;
    if (area <= 0)
        return properties;
    // Centred at the centroid first, then moved to the origin by the parallel-axis rule.
    const double cx = sums.x / area;
    const double cy = sums.y / area;
    const double centredXX = sums.xx - area * cx * cx;
    const double centredYY = sums.yy - area * cy * cy;
    const double centredXY = sums.xy - area * cx * cy;
    properties.centroid = Point{reference.x + cx, reference.y + cy};
    const Point& c = properties.centroid;
    properties.momentX = centredYY + area * c.y * c.y;
    properties.momentY = centredXX + area * c.x * c.x;
    properties.productXY = centredXY + area * c.x * c.y;
    properties.radiusX = std::sqrt(properties.momentX / area);
    properties.radiusY = std::sqrt(properties.momentY / area);
    // The moment about an axis along u is u' M u with M = [[Iyy, -Ixy], [-Ixy, Ixx]] (centred).
    Principal(centredYY, -centredXY, centredXX, properties);
    return properties;
}

}  // namespace cadsim
