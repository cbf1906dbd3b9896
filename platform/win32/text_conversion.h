#pragma once
// Every conversion between UTF-16 and a byte encoding in the program: the system's ANSI code page
// (what the CAD program and the ANSI functions see), code page 932 where a file's bytes are in it
// whatever the system's page (a results list kept in it), and UTF-8 (a new results list).

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Code page numbers, as WideCharToMultiByte takes them.
constexpr unsigned kAnsiCodePage = 0;  // CP_ACP: the system's, 932 on a Japanese system
constexpr unsigned kCp932CodePage = 932;
constexpr unsigned kUtf8CodePage = 65001;

// Characters the code page cannot express become its default character (no flags). A text of
// more than half a billion units converts to nothing.
std::string FromWide(unsigned codePage, std::u16string_view text);
// Bytes that are no character of the code page become its default Unicode character.
std::u16string ToWide(unsigned codePage, std::string_view text);
// Nothing when any byte sequence of the text is not valid in the code page.
std::optional<std::u16string> ToWideStrict(unsigned codePage, std::string_view text);

inline std::string AnsiFromWide(std::u16string_view text) {
    return FromWide(kAnsiCodePage, text);
}
inline std::u16string WideFromAnsi(std::string_view text) {
    return ToWide(kAnsiCodePage, text);
}
inline std::string Cp932FromWide(std::u16string_view text) {
    return FromWide(kCp932CodePage, text);
}
inline std::u16string WideFromCp932(std::string_view text) {
    return ToWide(kCp932CodePage, text);
}
inline std::string Utf8FromWide(std::u16string_view text) {
    return FromWide(kUtf8CodePage, text);
}
inline std::u16string WideFromUtf8(std::string_view text) {
    return ToWide(kUtf8CodePage, text);
}

}  // namespace platform
