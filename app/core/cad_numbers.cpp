#include "cad_numbers.h"

#include <cerrno>
#include <cmath>
#include <algorithm>
#include <cstdlib>

#include "platform/text_trim.h"

namespace app {
namespace {

// Longer texts are no number the CAD program prints or a user types as a size.
constexpr std::size_t kLongestNumberText = 40;

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

std::size_t DigitsFrom(std::u16string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && IsDigit(text[end]))
        ++end;
    return end - at;
}

// Bytes one a unit: no byte beyond ASCII is part of a number.
std::u16string Widened(std::string_view bytes) {
    std::u16string wide;
    for (char c : bytes)
        wide += static_cast<char16_t>(static_cast<unsigned char>(c));
    return wide;
}

}  // namespace

std::optional<NumberText> ScanNumber(std::u16string_view text, const NumberForm& form) {
    NumberText number;
    std::size_t at = 0;
    if (form.sign && at < text.size() && (text[at] == u'+' || text[at] == u'-'))
        number.negative = text[at++] == u'-';
    number.whole = text.substr(at, DigitsFrom(text, at));
    at += number.whole.size();
    if (at < text.size() && form.separators.find(text[at]) != std::u16string_view::npos) {
        number.separator = text[at++];
        number.fraction = text.substr(at, DigitsFrom(text, at));
        at += number.fraction.size();
    }
    if (number.whole.empty() && number.fraction.empty())
        return std::nullopt;
    if (form.exponent && at < text.size() && (text[at] == u'e' || text[at] == u'E')) {
        const std::size_t start = ++at;
        if (at < text.size() && (text[at] == u'+' || text[at] == u'-'))
            ++at;
        const std::size_t digits = DigitsFrom(text, at);
        if (digits == 0)
            return std::nullopt;
        at += digits;
        number.exponent = text.substr(start, at - start);
    }
    if (at != text.size())
        return std::nullopt;
    return number;
}

std::optional<std::uint64_t> DigitsValue(std::u16string_view digits, std::uint64_t limit) {
    std::uint64_t value = 0;
    for (char16_t c : digits) {
        if (!IsDigit(c) || __builtin_mul_overflow(value, 10, &value) ||
            __builtin_add_overflow(value, static_cast<std::uint64_t>(c - u'0'), &value) || value > limit)
            return std::nullopt;
    }
    return value;
}

std::optional<std::int64_t> ParseWholeNumber(std::u16string_view text, std::uint64_t limit) {
    const std::optional<NumberText> number = ScanNumber(text, kWholeNumberForm);
    const std::optional<std::uint64_t> value =
        number ? DigitsValue(number->whole, std::min<std::uint64_t>(limit, INT64_MAX)) : std::nullopt;
    if (!value)
        return std::nullopt;
    return number->negative ? -static_cast<std::int64_t>(*value) : static_cast<std::int64_t>(*value);
}

std::optional<std::uint64_t> ParseCount(std::u16string_view text, std::uint64_t limit) {
    const std::optional<NumberText> number = ScanNumber(text, kCountForm);
    return number ? DigitsValue(number->whole, limit) : std::nullopt;
}

std::optional<std::uint64_t> ParseCount(std::string_view text, std::uint64_t limit) {
    return ParseCount(std::u16string_view(Widened(text)), limit);
}

std::optional<double> ParseCadNumber(std::u16string_view text) {
    if (text.size() > kLongestNumberText || !ScanNumber(text, kCadNumberForm))
        return std::nullopt;  // also keeps strtod from reading "inf", "nan" or hexadecimal
    // Only ASCII passes the scan, so the bytes strtod reads are the characters scanned.
    char bytes[kLongestNumberText + 1] = {};
    for (std::size_t i = 0; i < text.size(); ++i)
        bytes[i] = static_cast<char>(text[i]);
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(bytes, &end);
    if (errno == ERANGE || end != bytes + text.size() || !std::isfinite(value) || std::fabs(value) >= kLargestCadNumber)
        return std::nullopt;
    return value;
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
