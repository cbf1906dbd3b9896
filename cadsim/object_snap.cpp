#include "object_snap.h"

#include <cmath>

namespace cadsim {
namespace {

class Nearest {
public:
    Nearest(const Point& at, double aperture, Snap& snap) : at_(at), best_(aperture), snap_(snap) {}

    void Offer(const Point& candidate, const char* kind) {
        const double distance = std::hypot(candidate.x - at_.x, candidate.y - at_.y);
        if (distance > best_ || (found_ && distance == best_))
            return;
        best_ = distance;
        snap_ = Snap{candidate, kind};
        found_ = true;
    }

    bool Found() const { return found_; }

private:
    Point at_;
    double best_;
    Snap& snap_;
    bool found_ = false;
};

void OfferEntity(const Entity& entity, long osmode, Nearest& nearest) {
    if (entity.Round()) {
        if (osmode & kSnapCentre)
            nearest.Offer(entity.center, "centre");
        return;
    }
    const Polygon& corners = entity.corners;
    if (osmode & kSnapEndpoint)
        for (const Point& corner : corners)
            nearest.Offer(corner, "endpoint");
    if (osmode & kSnapMidpoint) {
        // A closed shape has an edge back to its first corner; an open one does not.
        const std::size_t edges = entity.Closed() ? corners.size() : corners.size() - 1;
        for (std::size_t i = 0; i < edges; ++i) {
            const Point& a = corners[i];
            const Point& b = corners[(i + 1) % corners.size()];
            nearest.Offer(Point{(a.x + b.x) / 2, (a.y + b.y) / 2}, "midpoint");
        }
    }
}

}  // namespace

bool FindSnap(const Drawing& drawing, const Point& at, long osmode, double aperture, Snap& snap) {
    if ((osmode & kSnapsOff) || !(osmode & (kSnapEndpoint | kSnapMidpoint | kSnapCentre)) || !(aperture > 0))
        return false;
    Nearest nearest(at, aperture, snap);
    // Every snap point of an object lies within its bounds, so only objects near the point matter.
    const Box around{Point{at.x - aperture, at.y - aperture}, Point{at.x + aperture, at.y + aperture}};
    for (const Entity* entity : drawing.Within(around))
        OfferEntity(*entity, osmode, nearest);
    return nearest.Found();
}

}  // namespace cadsim
