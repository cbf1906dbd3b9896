#include "running_command.h"

#include <algorithm>

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
    Note("variable " + variable->name + "=" + variable->value);
    return true;
}

}  // namespace cadsim
