#pragma once
// How a host that stalls between the lines of what is typed takes one record.

#include <string>
#include <vector>

namespace cadsim {

// The lines of a record: its leading Ctrl+C keys, then each part up to and including its Enter,
// then what follows the last Enter.
std::vector<std::string> RecordLines(const std::string& keys);

}  // namespace cadsim
