#pragma once
// The lines of the simulator's own text files (drawings, user scripts), numbered for messages.
// Portable: no window system here.

#include <cstddef>
#include <string>
#include <vector>

namespace cadsim {

struct SourceLine {
    std::size_t number;  // from 1
    std::string text;    // without its line end and without a '#' comment
};

// A UTF-8 byte-order mark at the start is skipped; LF and CR LF end lines.
std::vector<SourceLine> SourceLines(const std::string& text);

}  // namespace cadsim
