#pragma once
// Commands that read or change the drawing: ID (print a point and keep it in LASTPOINT), CIRCLE
// (centre, then radius), -BOUNDARY (a closed polyline around an inner point) and REGION (closed
// polylines become regions, their sources removed). Portable.

#include <memory>

#include "running_command.h"

namespace cadsim {

std::unique_ptr<RunningCommand> StartId(CommandContext& context);
std::unique_ptr<RunningCommand> StartCircle(CommandContext& context);
std::unique_ptr<RunningCommand> StartBoundary(CommandContext& context);
std::unique_ptr<RunningCommand> StartRegion(CommandContext& context);

// What the host says when a point prompt gets something else.
extern const char kPointRequired[];

}  // namespace cadsim
