#include "cad_numbers.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "framework/exceptions.h"

namespace app {
namespace {

// Longer texts are no number the CAD program prints or a user types as a size.
constexpr std::size_t kLongestNumberText = 40;

bool IsNumberByte(char c) {
    return (c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E';
}

}  // namespace

std::optional<double> ParseCadNumber(const std::string& text) {
    if (text.empty() || text.size() > kLongestNumberText)
        return std::nullopt;
    bool digit = false;
    for (char c : text) {
        if (!IsNumberByte(c))
            return std::nullopt;  // also keeps strtod from reading "inf", "nan" or hexadecimal
        digit = digit || (c >= '0' && c <= '9');
    }
    if (!digit)
        return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (errno == ERANGE || end != text.c_str() + text.size() || !std::isfinite(value) ||
        std::fabs(value) >= kLargestCadNumber)
        return std::nullopt;
    return value;
}

std::string CheckedRadius(const std::string& core, const std::string& shown) {
    const std::optional<double> radius = ParseCadNumber(core);
    if (!radius)
        throw framework::EConvertError("'" + shown + "' は浮動小数点数ではありません");
    if (!(*radius > 0))
        throw framework::EConvertError("'" + shown + "' は正の数ではありません");
    return core;
}

}  // namespace app
