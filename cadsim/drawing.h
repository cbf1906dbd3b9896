#pragma once
// The drawing the host has open: closed polylines, regions, circles and open polylines, each with a
// number that stays its own for the whole run. Portable: no window system here.

#include <map>
#include <string>
#include <vector>

#include "geometry.h"
#include "spatial_index.h"

namespace cadsim {

// An open polyline bounds nothing: BOUNDARY finds no area in it, REGION makes none of it.
enum class EntityType { Polyline, Region, Circle, OpenPolyline };

// A region is bounded by corners, or, made from a circle, round: no corners, a centre and a radius.
struct Entity {
    int id = 0;
    EntityType type = EntityType::Polyline;
    Polygon corners;  // Polyline, Region and OpenPolyline (its ends apart)
    Point center;     // Circle and a round Region
    double radius = 0;

    bool Round() const { return type == EntityType::Circle || (type == EntityType::Region && corners.empty()); }
    bool Closed() const { return type != EntityType::OpenPolyline; }
};

// What a change did to the drawing: an entity added (on top of what was there), or one removed.
struct DrawingChange {
    Box bounds;
    int added = 0;  // the number of the entity added; 0 for one removed
};

// The entities are kept by number and in a spatial index, so that finding one by its number or
// by a point costs the same in a drawing of ten objects as in one of thousands.
class Drawing {
public:
    // Gives the entity the next number and returns it.
    const Entity& Add(Entity entity);
    bool Remove(int id);
    // Puts an entity removed earlier back under its own number; false when that number is taken.
    bool Restore(const Entity& entity);

    const Entity* Find(int id) const;
    // The newest entity still in the drawing (what the host's "Last" selects), or null.
    const Entity* Last() const;
    // By number, which is the order they were made in.
    const std::map<int, Entity>& Entities() const { return entities_; }

    // Of the polylines and regions (wanted) whose inside holds point, the one with the least
    // area; the older of two equal ones. Null when none holds it.
    const Entity* InnermostAt(const Point& point, bool polylines, bool regions) const;

    // The entities whose bounds meet box, oldest first.
    std::vector<const Entity*> Within(const Box& box) const;

    // False for an empty drawing.
    bool Extents(Box& box) const;

    // Each entity added or removed since the last call, oldest first, so that a view can redraw
    // only what changed.
    std::vector<DrawingChange> TakeChanges();

private:
    std::map<int, Entity> entities_;
    SpatialIndex index_;
    std::vector<DrawingChange> changes_;
    int nextId_ = 1;
};

Box BoundsOf(const Entity& entity);

const char* TypeName(EntityType type);

// "id=7 type=circle center=30.0000,35.0000 radius=50.0000" (a round region alike), or for a
// polyline, a region or an open polyline "id=5 type=region corners=0.0000,0.0000;60.0000,0.0000;..."
// (no blanks inside a value).
std::string Describe(const Entity& entity);

// A circle's centre and radius to the last bit ("id=7 center=30.000000000000004,35 radius=50"),
// for checks finer than Describe's four decimals; empty for anything but a circle.
std::string DescribeExactly(const Entity& entity);

}  // namespace cadsim
