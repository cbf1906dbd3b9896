#include "text_conversion.h"

#include <windows.h>

#include <limits>

namespace platform {
namespace {

// The Win32 calls count in int, the converted text included (up to three bytes a unit in UTF-8):
// a longer text converts to nothing rather than to a cut or overrun one.
constexpr std::size_t kMaxPiece = static_cast<std::size_t>(std::numeric_limits<int>::max() / 4);

std::optional<std::u16string> Widen(unsigned codePage, DWORD flags, std::string_view text) {
    if (text.empty())
        return std::u16string();
    if (text.size() > kMaxPiece)
        return std::nullopt;
    const int length = static_cast<int>(text.size());
    const int size = ::MultiByteToWideChar(codePage, flags, text.data(), length, nullptr, 0);
    if (size <= 0)
        return std::nullopt;
    std::u16string wide(static_cast<std::size_t>(size), u'\0');
    ::MultiByteToWideChar(codePage, flags, text.data(), length, reinterpret_cast<wchar_t*>(wide.data()), size);
    return wide;
}

}  // namespace

std::string FromWide(unsigned codePage, std::u16string_view text) {
    if (text.empty() || text.size() > kMaxPiece)
        return std::string();
    const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
    const int length = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(codePage, 0, wide, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(codePage, 0, wide, length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

std::u16string ToWide(unsigned codePage, std::string_view text) {
    return Widen(codePage, 0, text).value_or(std::u16string());
}

std::optional<std::u16string> ToWideStrict(unsigned codePage, std::string_view text) {
    return Widen(codePage, MB_ERR_INVALID_CHARS, text);
}

}  // namespace platform
