#pragma once
// Facts of the system ANSI code page (932) that the portable logic needs without asking the OS.

namespace platform {

// True for a byte that starts a two-byte character in code page 932.
constexpr bool IsCp932LeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

}  // namespace platform
