#pragma once
// MASSPROP for regions: the user selects objects, the analysis goes to the history, and the host
// asks whether to write it to a file, for the file's name (on the command line while FILEDIA is 0,
// else in a dialog that the simulator answers with the default name), and whether to replace a
// file that exists. Portable: the file system is reached through ReportFiles.

#include <memory>

#include "running_command.h"

namespace cadsim {

std::unique_ptr<RunningCommand> StartMassprop(CommandContext& context);

// ".mpr" added when the last part of the name has no extension.
std::string ReportFileName(const std::string& name);

}  // namespace cadsim
