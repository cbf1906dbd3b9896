#pragma once
// The host's "select objects" prompt as used by commands that work on a set of objects: "L" (or
// "LAST") adds the newest object, "ALL" every object, a point or a click the innermost shape
// around it (a region before a polyline), and Enter ends the selection. Portable.

#include <string>
#include <vector>

#include "running_command.h"

namespace cadsim {

extern const char kSelectObjectsPrompt[];

class ObjectSelection {
public:
    // One input at the prompt. True when it ended the selection.
    bool Answer(const std::string& input, CommandContext& context);
    void Click(const Point& point, CommandContext& context);

    // Selected entities in the order they were added, each once.
    const std::vector<int>& Ids() const { return ids_; }

private:
    void AddFound(const std::vector<int>& found, CommandContext& context);

    std::vector<int> ids_;
};

}  // namespace cadsim
