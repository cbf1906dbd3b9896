#pragma once
// What the host can take back: one step per command, or one per group between UNDO Begin and
// UNDO End, each with the objects the command made and the ones it removed. The undo control
// decides how much is kept: All every step, One only the last, None nothing. Portable.

#include <string>
#include <vector>

#include "drawing.h"

namespace cadsim {

enum class UndoControl { All, None, One };

// "all", "none" or "one", as the log and the options name it.
const char* UndoControlName(UndoControl control);

// What one command changed in the drawing.
struct DrawingEdits {
    std::vector<int> made;        // numbers of the objects it added
    std::vector<Entity> removed;  // the objects it took away, as they were
};

struct UndoStep {
    std::string name;  // the command's, or "GROUP"
    DrawingEdits edits;
};

class UndoHistory {
public:
    explicit UndoHistory(UndoControl control = UndoControl::All) : control_(control) {}

    UndoControl Control() const { return control_; }
    // None and One forget what was kept beyond what they keep; a group open is closed.
    void SetControl(UndoControl control);

    bool GroupOpen() const { return groupOpen_; }
    // Opens a group; one already open is ended first, since groups do not nest. False, and
    // nothing changes, when the control does not allow groups.
    bool Begin();
    // Closes the open group; false when none is open.
    bool End();

    // A command ended: inside a group its edits join the group's, else it is a step of its own.
    void Record(const std::string& name, DrawingEdits edits);

    // Takes the newest step off; false when nothing is left to take back.
    bool Pop(UndoStep& step);

private:
    UndoControl control_;
    bool groupOpen_ = false;
    std::vector<UndoStep> steps_;  // oldest first
};

}  // namespace cadsim
