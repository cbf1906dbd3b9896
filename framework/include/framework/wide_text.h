#pragma once
// The framework's texts are UTF-16 (std::u16string); the W calls take them as wchar_t, which is the
// same 16-bit unit on Windows, so crossing the edge is a cast, never a conversion.

#include <windows.h>

#include <string>
#include <string_view>

namespace framework {

inline const wchar_t* WideText(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline const wchar_t* WideData(std::u16string_view text) {
    return reinterpret_cast<const wchar_t*>(text.data());
}
inline int WideLength(std::u16string_view text) {
    return static_cast<int>(text.size());
}
inline std::u16string FromWideChars(const wchar_t* text, std::size_t length) {
    return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace framework
