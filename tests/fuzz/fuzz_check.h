#pragma once
// What a fuzz target does when a property fails: name it and stop, so that libFuzzer keeps the input.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>

namespace fuzzcheck {

inline void Require(bool holds, const char* property) {
    if (holds)
        return;
    std::fprintf(stderr, "property failed: %s\n", property);
    std::abort();
}

// Trimmed as the readers trim: no unit of value 32 or less at either end.
template <class Ch>
bool IsTrimmed(const std::basic_string<Ch>& text) {
    using Unit = std::make_unsigned_t<Ch>;
    return text.empty() || (static_cast<Unit>(text.front()) > 32 && static_cast<Unit>(text.back()) > 32);
}

template <class Ch>
bool Contains(const std::basic_string<Ch>& text, const std::basic_string<Ch>& part) {
    return text.find(part) != std::basic_string<Ch>::npos;
}

}  // namespace fuzzcheck
