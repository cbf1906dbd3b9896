#include "drawing.h"

#include <cmath>

namespace cadsim {
namespace {

constexpr double kPi = 3.14159265358979323846;

}  // namespace

const Entity& Drawing::Add(Entity entity) {
    entity.id = nextId_++;
    entities_.push_back(std::move(entity));
    return entities_.back();
}

bool Drawing::Remove(int id) {
    for (auto it = entities_.begin(); it != entities_.end(); ++it) {
        if (it->id == id) {
            entities_.erase(it);
            return true;
        }
    }
    return false;
}

const Entity* Drawing::Find(int id) const {
    for (const Entity& entity : entities_)
        if (entity.id == id)
            return &entity;
    return nullptr;
}

const Entity* Drawing::Last() const {
    return entities_.empty() ? nullptr : &entities_.back();
}

const Entity* Drawing::InnermostAt(const Point& point, bool polylines, bool regions) const {
    const Entity* innermost = nullptr;
    double innermostArea = 0;
    for (const Entity& entity : entities_) {
        const bool wanted =
            (entity.type == EntityType::Polyline && polylines) || (entity.type == EntityType::Region && regions);
        if (!wanted)
            continue;
        if (entity.Round() ? std::hypot(point.x - entity.center.x, point.y - entity.center.y) >= entity.radius
                           : !Holds(entity.corners, point))
            continue;
        const double area =
            entity.Round() ? kPi * entity.radius * entity.radius : std::fabs(SignedArea(entity.corners));
        if (innermost == nullptr || area < innermostArea) {
            innermost = &entity;
            innermostArea = area;
        }
    }
    return innermost;
}

bool Drawing::Extents(Box& box) const {
    bool any = false;
    for (const Entity& entity : entities_) {
        const Box one = entity.Round() ? Box{Point{entity.center.x - entity.radius, entity.center.y - entity.radius},
                                             Point{entity.center.x + entity.radius, entity.center.y + entity.radius}}
                                       : BoundsOf(entity.corners);
        box = any ? Union(box, one) : one;
        any = true;
    }
    return any;
}

const char* TypeName(EntityType type) {
    switch (type) {
        case EntityType::Polyline:
            return "polyline";
        case EntityType::Region:
            return "region";
        case EntityType::Circle:
            return "circle";
    }
    return "?";
}

std::string Describe(const Entity& entity) {
    std::string text = "id=" + std::to_string(entity.id) + " type=" + TypeName(entity.type);
    if (entity.Round())
        return text + " center=" + PointText(entity.center) + " radius=" + Fixed4(entity.radius);
    text += " corners=";
    for (std::size_t i = 0; i < entity.corners.size(); ++i)
        text += (i ? ";" : "") + PointText(entity.corners[i]);
    return text;
}

}  // namespace cadsim
