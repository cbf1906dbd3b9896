#include "record_lines.h"

namespace cadsim {

std::vector<std::string> RecordLines(const std::string& keys) {
    std::vector<std::string> lines;
    std::size_t start = keys.find_first_not_of('\x03');
    if (start == std::string::npos)
        start = keys.size();
    if (start > 0)
        lines.push_back(keys.substr(0, start));
    while (start < keys.size()) {
        const std::size_t enter = keys.find('\r', start);
        const std::size_t end = enter == std::string::npos ? keys.size() : enter + 1;
        lines.push_back(keys.substr(start, end - start));
        start = end;
    }
    return lines;
}

}  // namespace cadsim
