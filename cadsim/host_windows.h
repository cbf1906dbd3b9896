#pragma once
// The host's window layout: main frame, text window and command-line palette, with the command line
// docked, floating or inside the text window, as the options ask.

#include <string>

#include "host_state.h"
#include "options.h"

namespace cadsim {

// Creates and shows every window of the layout and records them in host (host.font must be set).
// On failure error says which window could not be made.
bool OpenHostWindows(const Options& options, Host& host, std::string& error);

}  // namespace cadsim
