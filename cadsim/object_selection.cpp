#include "object_selection.h"

#include <algorithm>

#include "system_variables.h"

namespace cadsim {

const char kSelectObjectsPrompt[] = "オブジェクトを選択: ";

namespace {

const char kInvalidSelection[] = "*無効な選択*";
const char kSelectionHelp[] = "点を指定するか、最後(L)/すべて(ALL) を入力してください。";

// "_" asks for the international keyword; the host takes either case.
std::string Keyword(const std::string& input) {
    return UpperAscii(!input.empty() && input[0] == '_' ? input.substr(1) : input);
}

}  // namespace

bool ObjectSelection::Answer(const std::string& input, CommandContext& context) {
    if (input.empty())
        return true;
    const std::string keyword = Keyword(input);
    Point point;
    if (keyword == "L" || keyword == "LAST") {
        const Entity* last = context.drawing.Last();
        AddFound(last ? std::vector<int>{last->id} : std::vector<int>(), context);
    } else if (keyword == "ALL") {
        std::vector<int> all;
        for (const auto& entry : context.drawing.Entities())
            all.push_back(entry.first);
        AddFound(all, context);
    } else if (ParsePoint(input, point)) {
        Click(point, context);
    } else {
        context.Print(kInvalidSelection);
        context.Print(kSelectionHelp);
    }
    return false;
}

void ObjectSelection::Click(const Point& point, CommandContext& context) {
    const Entity* found = context.drawing.InnermostAt(point, false, true);
    if (found == nullptr)
        found = context.drawing.InnermostAt(point, true, false);
    AddFound(found ? std::vector<int>{found->id} : std::vector<int>(), context);
}

void ObjectSelection::AddFound(const std::vector<int>& found, CommandContext& context) {
    std::size_t repeated = 0;
    for (int id : found) {
        if (std::find(ids_.begin(), ids_.end(), id) != ids_.end())
            ++repeated;
        else
            ids_.push_back(id);
    }
    std::string line = std::to_string(found.size()) + " 個を検出";
    if (repeated > 0)
        line += " (" + std::to_string(repeated) + " 個重複)";
    if (ids_.size() != found.size() || repeated > 0)
        line += "、合計 " + std::to_string(ids_.size()) + " 個";
    context.Print(line);
}

}  // namespace cadsim
