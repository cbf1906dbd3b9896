#include "geometry.h"

#include <algorithm>
#include <cmath>

namespace cadsim {
namespace {

// Twice the signed area of the triangle a, b, c: > 0 when c lies left of a->b.
double Cross(const Point& a, const Point& b, const Point& c) {
    return (b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x);
}

int Side(const Point& a, const Point& b, const Point& c) {
    const double cross = Cross(a, b, c);
    return cross > 0 ? 1 : (cross < 0 ? -1 : 0);
}

// c lies on the segment a-b, given that the three are collinear.
bool WithinSegment(const Point& a, const Point& b, const Point& c) {
    return std::min(a.x, b.x) <= c.x && c.x <= std::max(a.x, b.x) && std::min(a.y, b.y) <= c.y &&
           c.y <= std::max(a.y, b.y);
}

bool OnSegment(const Point& a, const Point& b, const Point& c) {
    return Side(a, b, c) == 0 && WithinSegment(a, b, c);
}

bool SegmentsMeet(const Point& a, const Point& b, const Point& c, const Point& d) {
    const int abc = Side(a, b, c);
    const int abd = Side(a, b, d);
    const int cda = Side(c, d, a);
    const int cdb = Side(c, d, b);
    if (abc * abd < 0 && cda * cdb < 0)
        return true;
    return (abc == 0 && WithinSegment(a, b, c)) || (abd == 0 && WithinSegment(a, b, d)) ||
           (cda == 0 && WithinSegment(c, d, a)) || (cdb == 0 && WithinSegment(c, d, b));
}

}  // namespace

double SignedArea(const Polygon& polygon) {
    if (polygon.size() < 3)
        return 0;
    const Point& origin = polygon.front();
    double twice = 0;
    for (std::size_t i = 1; i + 1 < polygon.size(); ++i) {
        const Point& a = polygon[i];
        const Point& b = polygon[i + 1];
        twice += (a.x - origin.x) * (b.y - origin.y) - (b.x - origin.x) * (a.y - origin.y);
    }
    return twice / 2;
}

double Perimeter(const Polygon& polygon) {
    double length = 0;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Point& a = polygon[i];
        const Point& b = polygon[(i + 1) % polygon.size()];
        length += std::hypot(b.x - a.x, b.y - a.y);
    }
    return length;
}

Box BoundsOf(const Polygon& polygon) {
    Box box;
    if (polygon.empty())
        return box;
    box.min = box.max = polygon.front();
    for (const Point& p : polygon) {
        box.min.x = std::min(box.min.x, p.x);
        box.min.y = std::min(box.min.y, p.y);
        box.max.x = std::max(box.max.x, p.x);
        box.max.y = std::max(box.max.y, p.y);
    }
    return box;
}

Box Union(const Box& a, const Box& b) {
    return Box{Point{std::min(a.min.x, b.min.x), std::min(a.min.y, b.min.y)},
               Point{std::max(a.max.x, b.max.x), std::max(a.max.y, b.max.y)}};
}

bool Holds(const Polygon& polygon, const Point& point) {
    bool inside = false;
    for (std::size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
        const Point& a = polygon[j];
        const Point& b = polygon[i];
        if (OnSegment(a, b, point))
            return false;
        // Counts the edges a ray to the right crosses; each edge owns its lower end only.
        if ((a.y > point.y) != (b.y > point.y)) {
            const double x = a.x + (point.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (point.x < x)
                inside = !inside;
        }
    }
    return inside;
}

bool IsSimple(const Polygon& polygon) {
    const std::size_t n = polygon.size();
    if (n < 3)
        return false;
    for (std::size_t i = 0; i < n; ++i) {
        const Point& a = polygon[i];
        const Point& b = polygon[(i + 1) % n];
        if (a.x == b.x && a.y == b.y)
            return false;
        // Neighbours share one corner; they must not fold back over each other.
        const Point& c = polygon[(i + 2) % n];
        if (Side(a, b, c) == 0 && ((c.x - b.x) * (a.x - b.x) + (c.y - b.y) * (a.y - b.y)) > 0)
            return false;
        for (std::size_t j = i + 2; j < n; ++j) {
            if (i == 0 && j == n - 1)
                continue;  // the last edge neighbours the first
            if (SegmentsMeet(a, b, polygon[j], polygon[(j + 1) % n]))
                return false;
        }
    }
    return true;
}

}  // namespace cadsim
