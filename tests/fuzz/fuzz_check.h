#pragma once
// What a fuzz target does when a property fails: name it and stop, so that libFuzzer keeps the input.

#include <cstdio>
#include <cstdlib>
#include <string>

namespace fuzzcheck {

inline void Require(bool holds, const char* property) {
    if (holds)
        return;
    std::fprintf(stderr, "property failed: %s\n", property);
    std::abort();
}

// Trimmed as the readers trim: no byte of value 32 or less at either end.
inline bool IsTrimmed(const std::string& text) {
    return text.empty() ||
           (static_cast<unsigned char>(text.front()) > 32 && static_cast<unsigned char>(text.back()) > 32);
}

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

}  // namespace fuzzcheck
