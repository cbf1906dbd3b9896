#include "undo_history.h"

#include <algorithm>
#include <utility>

namespace cadsim {

const char* UndoControlName(UndoControl control) {
    switch (control) {
        case UndoControl::All:
            return "all";
        case UndoControl::None:
            return "none";
        case UndoControl::One:
            return "one";
    }
    return "?";
}

void UndoHistory::SetControl(UndoControl control) {
    control_ = control;
    groupOpen_ = false;
    if (control == UndoControl::None)
        steps_.clear();
    else if (control == UndoControl::One && steps_.size() > 1)
        steps_.erase(steps_.begin(), steps_.end() - 1);
}

bool UndoHistory::Begin() {
    if (control_ != UndoControl::All)
        return false;
    steps_.push_back(UndoStep{"GROUP", DrawingEdits()});
    groupOpen_ = true;
    return true;
}

bool UndoHistory::End() {
    return std::exchange(groupOpen_, false);
}

void UndoHistory::Record(const std::string& name, DrawingEdits edits) {
    if (control_ == UndoControl::None)
        return;
    if (!groupOpen_) {
        if (control_ == UndoControl::One)
            steps_.clear();
        steps_.push_back(UndoStep{name, std::move(edits)});
        return;
    }
    DrawingEdits& group = steps_.back().edits;
    // An object made and removed within the group is nothing to take back.
    for (Entity& removed : edits.removed) {
        const auto made = std::find(group.made.begin(), group.made.end(), removed.id);
        if (made != group.made.end())
            group.made.erase(made);
        else
            group.removed.push_back(std::move(removed));
    }
    group.made.insert(group.made.end(), edits.made.begin(), edits.made.end());
}

bool UndoHistory::Pop(UndoStep& step) {
    if (steps_.empty())
        return false;
    groupOpen_ = false;
    step = std::move(steps_.back());
    steps_.pop_back();
    return true;
}

}  // namespace cadsim
