#pragma once
// Line splitting and trimming of command-line texts (byte strings in code page 932).

#include <string>
#include <vector>

namespace cadlink {

// CR LF, a lone CR and a lone LF each end a line; a break at the very end adds no empty line.
std::vector<std::string> SplitLines(const std::string& text);
// Removes bytes of value 32 or less at both ends.
std::string Trim(const std::string& text);
// One-based position of the last occurrence of an ASCII delimiter that is a whole character
// (not the second byte of a double-byte character); 0 when there is none.
std::size_t LastDelimiter(const std::string& text, char delimiter);

}  // namespace cadlink
