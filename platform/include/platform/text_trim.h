#pragma once
// The program's one trim: characters of code 32 or below go at both ends. Safe on code page 932
// bytes too, whose second bytes are all above 32.

#include <string>
#include <string_view>
#include <type_traits>

namespace platform {

template <class Ch>
std::basic_string_view<Ch> Trim(std::basic_string_view<Ch> text) {
    const auto blank = [](Ch c) { return static_cast<std::make_unsigned_t<Ch>>(c) <= 32; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && blank(text[first]))
        ++first;
    while (last > first && blank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

inline std::string_view Trim(const std::string& text) {
    return Trim(std::string_view(text));
}
inline std::u16string_view Trim(const std::u16string& text) {
    return Trim(std::u16string_view(text));
}

}  // namespace platform
