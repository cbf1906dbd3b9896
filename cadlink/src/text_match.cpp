#include "cadlink/text_match.h"

#include <algorithm>

#include "platform/codepage.h"

namespace cadlink {

bool BytePrefix(const std::string& text, const std::string& literal) {
    return text.size() >= literal.size() && text.compare(0, literal.size(), literal) == 0;
}

bool ByteContains(const std::string& text, const std::string& literal) {
    return text.find(literal) != std::string::npos;
}

bool LocalePrefix(platform::WindowSystem& windows, const std::string& text, const std::string& literal) {
    const int n = static_cast<int>(literal.size());
    const int textLength = std::min(n, static_cast<int>(text.size()));
    return windows.CompareStringA(text.data(), textLength, literal.data(), n) == platform::kCstrEqual;
}

bool LocaleContains(platform::WindowSystem& windows, const std::string& text, const std::string& literal) {
    if (literal.empty() || literal.size() > text.size())
        return false;
    for (std::size_t i = 0; i + literal.size() <= text.size();) {
        if (text.compare(i, literal.size(), literal) == 0) {
            const int n = static_cast<int>(literal.size());
            return windows.CompareStringA(text.data() + i, n, literal.data(), n) == platform::kCstrEqual;
        }
        // Step a whole character so that a match never starts on a trail byte.
        i += platform::IsCp932LeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    }
    return false;
}

}  // namespace cadlink
