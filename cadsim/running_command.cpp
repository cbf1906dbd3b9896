#include "running_command.h"

namespace cadsim {

void CommandContext::Print(const std::string& line) {
    history.push_back(line);
    while (history.size() > kHistoryLimit)
        history.pop_front();
}

const Entity& CommandContext::AddEntity(Entity entity) {
    const Entity& added = drawing.Add(std::move(entity));
    Note("entity created " + Describe(added));
    return added;
}

void CommandContext::RemoveEntity(int id) {
    if (drawing.Remove(id))
        Note("entity removed id=" + std::to_string(id));
}

bool CommandContext::SetVariable(const std::string& name, const std::string& value) {
    if (!variables.Assign(name, value))
        return false;
    const SystemVariable* variable = variables.Find(name);
    Note("variable " + variable->name + "=" + variable->value);
    return true;
}

}  // namespace cadsim
