#include "drawing.h"

#include <cmath>
#include <cstdio>

namespace cadsim {
namespace {

constexpr double kPi = 3.14159265358979323846;

double AreaOf(const Entity& entity) {
    return entity.Round() ? kPi * entity.radius * entity.radius : std::fabs(SignedArea(entity.corners));
}

bool Inside(const Entity& entity, const Point& point) {
    return entity.Round() ? std::hypot(point.x - entity.center.x, point.y - entity.center.y) < entity.radius
                          : Holds(entity.corners, point);
}

}  // namespace

Box BoundsOf(const Entity& entity) {
    if (entity.Round())
        return Box{Point{entity.center.x - entity.radius, entity.center.y - entity.radius},
                   Point{entity.center.x + entity.radius, entity.center.y + entity.radius}};
    return BoundsOf(entity.corners);
}

const Entity& Drawing::Add(Entity entity) {
    entity.id = nextId_++;
    const Box bounds = BoundsOf(entity);
    const Entity& added = entities_.emplace_hint(entities_.end(), entity.id, std::move(entity))->second;
    index_.Insert(added.id, bounds);
    changes_.push_back(DrawingChange{bounds, added.id});
    return added;
}

bool Drawing::Restore(const Entity& entity) {
    if (entity.id <= 0 || entity.id >= nextId_ || entities_.count(entity.id))
        return false;
    const Box bounds = BoundsOf(entity);
    entities_.emplace(entity.id, entity);
    index_.Insert(entity.id, bounds);
    changes_.push_back(DrawingChange{bounds, entity.id});
    return true;
}

bool Drawing::Remove(int id) {
    const auto found = entities_.find(id);
    if (found == entities_.end())
        return false;
    const Box bounds = BoundsOf(found->second);
    index_.Erase(id, bounds);
    changes_.push_back(DrawingChange{bounds, 0});
    entities_.erase(found);
    return true;
}

const Entity* Drawing::Find(int id) const {
    const auto found = entities_.find(id);
    return found == entities_.end() ? nullptr : &found->second;
}

const Entity* Drawing::Last() const {
    return entities_.empty() ? nullptr : &entities_.rbegin()->second;
}

const Entity* Drawing::InnermostAt(const Point& point, bool polylines, bool regions) const {
    const Entity* innermost = nullptr;
    double innermostArea = 0;
    // Ids come sorted, so the older of two equal areas is met first and kept.
    for (int id : index_.Near(point)) {
        const Entity& entity = *Find(id);
        const bool wanted =
            (entity.type == EntityType::Polyline && polylines) || (entity.type == EntityType::Region && regions);
        if (!wanted || !Inside(entity, point))
            continue;
        const double area = AreaOf(entity);
        if (innermost == nullptr || area < innermostArea) {
            innermost = &entity;
            innermostArea = area;
        }
    }
    return innermost;
}

std::vector<const Entity*> Drawing::Within(const Box& box) const {
    std::vector<const Entity*> found;
    for (int id : index_.Within(box)) {
        const Entity& entity = *Find(id);
        const Box bounds = BoundsOf(entity);
        if (bounds.min.x <= box.max.x && box.min.x <= bounds.max.x && bounds.min.y <= box.max.y &&
            box.min.y <= bounds.max.y)
            found.push_back(&entity);
    }
    return found;
}

bool Drawing::Extents(Box& box) const {
    bool any = false;
    for (const auto& entry : entities_) {
        const Box one = BoundsOf(entry.second);
        box = any ? Union(box, one) : one;
        any = true;
    }
    return any;
}

std::vector<DrawingChange> Drawing::TakeChanges() {
    std::vector<DrawingChange> changes;
    changes.swap(changes_);
    return changes;
}

const char* TypeName(EntityType type) {
    switch (type) {
        case EntityType::Polyline:
            return "polyline";
        case EntityType::Region:
            return "region";
        case EntityType::Circle:
            return "circle";
        case EntityType::OpenPolyline:
            return "openpolyline";
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

std::string DescribeExactly(const Entity& entity) {
    if (entity.type != EntityType::Circle)
        return std::string();
    // 17 significant digits read back as the same double.
    char text[160];
    std::snprintf(text, sizeof(text), "id=%d center=%.17g,%.17g radius=%.17g", entity.id, entity.center.x,
                  entity.center.y, entity.radius);
    return text;
}

}  // namespace cadsim
