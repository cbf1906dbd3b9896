#pragma once
// Messages for whoever started the simulator: a test reads them from the standard error handle.

#include <string>

namespace cadsim {

// Exit codes: 0 after a normal close.
constexpr int kExitBadOptions = 2;
constexpr int kExitStartFailed = 3;
constexpr int kExitInternalError = 4;

// Writes "cadsim: <message>\n" to the standard error handle, when there is one.
void ReportError(const std::string& message);

}  // namespace cadsim
