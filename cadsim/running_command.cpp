#include "running_command.h"

#include <algorithm>

#include "object_snap.h"

namespace cadsim {

void CommandContext::Print(const std::string& line) {
    history.push_back(line);
    while (history.size() > kHistoryLimit)
        history.pop_front();
}

const Entity& CommandContext::AddEntity(Entity entity) {
    const Entity& added = drawing.Add(std::move(entity));
    edits.made.push_back(added.id);
    Note("entity created " + Describe(added));
    if (added.type == EntityType::Circle)
        Note("entity exact " + DescribeExactly(added));
    return added;
}

void CommandContext::RemoveEntity(int id) {
    const Entity* entity = drawing.Find(id);
    if (entity == nullptr)
        return;
    // One made by this very command leaves nothing to put back.
    const auto made = std::find(edits.made.begin(), edits.made.end(), id);
    if (made != edits.made.end())
        edits.made.erase(made);
    else
        edits.removed.push_back(*entity);
    drawing.Remove(id);
    Note("entity removed id=" + std::to_string(id));
}

void CommandContext::RestoreEntity(const Entity& entity) {
    if (drawing.Restore(entity))
        Note("entity restored " + Describe(entity));
}

bool CommandContext::SetVariable(const std::string& name, const std::string& value) {
    if (!variables.Assign(name, value))
        return false;
    const SystemVariable* variable = variables.Find(name);
    Note("variable " + variable->name + "=" + variables.Text(*variable));
    return true;
}

void CommandContext::SetPointVariable(const std::string& name, const Point& point, double z) {
    if (!variables.SetPoint(name, point, z))
        return;
    const SystemVariable* variable = variables.Find(name);
    Note("variable " + variable->name + "=" + variables.Text(*variable));
}

bool CommandContext::TypedPoint(const std::string& input, Point& point, double& z) {
    if (!ParsePoint(input, point, z))
        return false;
    const long coordinates = variables.Number("OSNAPCOORD");
    const bool snaps = coordinates == 0 || (coordinates == 2 && pointInput.fromScript);
    if (snaps && Snapped(point))
        z = 0;
    return true;
}

bool CommandContext::TypedPoint(const std::string& input, Point& point) {
    double z = 0;
    return TypedPoint(input, point, z);
}

Point CommandContext::PickedPoint(const Point& point) {
    Point picked = point;
    Snapped(picked);
    return picked;
}

bool CommandContext::Snapped(Point& point) {
    Snap snap;
    if (pointInput.unsnapped || !FindSnap(drawing, point, variables.Number("OSMODE"), pointInput.aperture, snap))
        return false;
    Note("host snap from=" + PointText(point) + " to=" + PointText(snap.point) + " by=" + snap.kind);
    point = snap.point;
    return true;
}

}  // namespace cadsim
