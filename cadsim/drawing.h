#pragma once
// The drawing the host has open: closed polylines, regions and circles, each with a number that
// stays its own for the whole run. Portable: no window system here.

#include <string>
#include <vector>

#include "geometry.h"

namespace cadsim {

enum class EntityType { Polyline, Region, Circle };

// A region is bounded by corners, or, made from a circle, round: no corners, a centre and a radius.
struct Entity {
    int id = 0;
    EntityType type = EntityType::Polyline;
    Polygon corners;  // Polyline and Region
    Point center;     // Circle and a round Region
    double radius = 0;

    bool Round() const { return type == EntityType::Circle || (type == EntityType::Region && corners.empty()); }
};

class Drawing {
public:
    // Gives the entity the next number and returns it.
    const Entity& Add(Entity entity);
    bool Remove(int id);

    const Entity* Find(int id) const;
    // The newest entity still in the drawing (what the host's "Last" selects), or null.
    const Entity* Last() const;
    const std::vector<Entity>& Entities() const { return entities_; }

    // Of the polylines and regions (wanted) whose inside holds point, the one with the least
    // area; the older of two equal ones. Null when none holds it.
    const Entity* InnermostAt(const Point& point, bool polylines, bool regions) const;

    // False for an empty drawing.
    bool Extents(Box& box) const;

private:
    std::vector<Entity> entities_;
    int nextId_ = 1;
};

const char* TypeName(EntityType type);

// "id=7 type=circle center=30.0000,35.0000 radius=50.0000" (a round region alike), or for a
// polyline or a region "id=5 type=region corners=0.0000,0.0000;60.0000,0.0000;..." (no blanks
// inside a value).
std::string Describe(const Entity& entity);

}  // namespace cadsim
