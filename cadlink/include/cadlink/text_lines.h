#pragma once
// Line splitting and trimming of command-line texts (byte strings in code page 932).

#include <string>
#include <string_view>
#include <vector>

namespace cadlink {

// CR LF, a lone CR and a lone LF each end a line; a break at the very end adds no empty line.
std::vector<std::string> SplitLines(const std::string& text);
// The end of a text's lines as SplitLines would give them, found from the end of the text, so that
// a long history costs no more to look at than a short one.
struct LineTail {
    bool anyLine = false;            // the text has at least one line
    std::vector<std::string> lines;  // top-down, ending at the last non-empty line; none without one
    bool moreAbove = false;          // further lines come before the first of lines
};
// At most count (one or more) lines, the last non-empty line and those just above it.
LineTail LastLines(std::string_view text, std::size_t count);
// The block's text: its bytes up to the first zero byte, or all of them without one. Looks at
// eight bytes at a time: the block is a whole history, which grows with every pass of a long
// session.
std::string_view UpToFirstZero(std::string_view block);

}  // namespace cadlink
