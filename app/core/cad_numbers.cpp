#include "cad_numbers.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "platform/text_trim.h"

namespace app {
namespace {

// Longer texts are no number the CAD program prints or a user types as a size.
constexpr std::size_t kLongestNumberText = 40;

bool IsNumberChar(char16_t c) {
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'+' || c == u'-' || c == u'e' || c == u'E';
}

}  // namespace

std::optional<double> ParseCadNumber(std::u16string_view text) {
    if (text.empty() || text.size() > kLongestNumberText)
        return std::nullopt;
    // Only ASCII passes, so the bytes strtod reads are the characters checked.
    char bytes[kLongestNumberText + 1] = {};
    bool digit = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!IsNumberChar(text[i]))
            return std::nullopt;  // also keeps strtod from reading "inf", "nan" or hexadecimal
        digit = digit || (text[i] >= u'0' && text[i] <= u'9');
        bytes[i] = static_cast<char>(text[i]);
    }
    if (!digit)
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(bytes, &end);
    if (errno == ERANGE || end != bytes + text.size() || !std::isfinite(value) || std::fabs(value) >= kLargestCadNumber)
        return std::nullopt;
    return value;
}

std::optional<double> ParseCadNumber(std::string_view text) {
    if (text.size() > kLongestNumberText)
        return std::nullopt;
    std::u16string wide;
    for (char c : text)
        wide += static_cast<char16_t>(static_cast<unsigned char>(c));
    return ParseCadNumber(std::u16string_view(wide));
}

Checked<std::u16string> CheckedRadius(const std::u16string& sizeText) {
    const std::u16string core(platform::Trim(sizeText));
    const std::optional<double> radius = ParseCadNumber(std::u16string_view(core));
    if (!radius)
        return Checked<std::u16string>::Refused(u"'" + sizeText + u"' は浮動小数点数ではありません");
    if (!(*radius > 0))
        return Checked<std::u16string>::Refused(u"'" + sizeText + u"' は正の数ではありません");
    return core;
}

}  // namespace app
