#include "source_lines.h"

namespace cadsim {

std::vector<SourceLine> SourceLines(const std::string& text) {
    std::vector<SourceLine> lines;
    // Editors that save UTF-8 may put a byte-order mark first.
    std::size_t start = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
    for (std::size_t number = 1; start < text.size(); ++number) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t comment = line.find('#');
        if (comment != std::string::npos)
            line.erase(comment);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back({number, std::move(line)});
    }
    return lines;
}

}  // namespace cadsim
