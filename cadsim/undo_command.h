#pragma once
// UNDO and U. UNDO asks for a number of commands to take back or an option (Begin and End of a
// group, Control); when the undo control is None or One it asks for a control option instead. U
// takes back the last command, or the whole last group. Portable.

#include <memory>

#include "running_command.h"

namespace cadsim {

std::unique_ptr<RunningCommand> StartUndo(CommandContext& context);
// U runs to its end at once.
std::unique_ptr<RunningCommand> StartU(CommandContext& context);

// Takes back up to count steps, newest first, as UNDO with a number does.
void TakeBack(int count, CommandContext& context);

// UNDOCTL as the undo state gives it: 1 undo on (control not None), 2 control One, 4 Auto, 8 a
// group open, 16 and 32 the two kinds of combining; Auto and combining as UNDO's settings line
// says them.
long UndoCtl(const UndoHistory& undo);

extern const char kUndoPrompt[];
extern const char kUndoControlPrompt[];

}  // namespace cadsim
