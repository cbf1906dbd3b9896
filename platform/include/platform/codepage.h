#pragma once
// Facts of the system ANSI code page (932) that the portable logic needs without asking the OS.

#include <cstring>
#include <string>

namespace platform {

// True for a byte that starts a two-byte character in code page 932.
constexpr bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

// Index of the last whole character that is one of the given ASCII bytes, or npos. The second
// byte of a double-byte character never counts (0x5C ends "ソ" and "表" but is no backslash there).
inline std::size_t LastCharOf(const std::string& text, const char* chars) {
    std::size_t found = std::string::npos;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (IsCp932LeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size())
            ++i;
        else if (text[i] != '\0' && std::strchr(chars, text[i]))
            found = i;
    }
    return found;
}

}  // namespace platform
