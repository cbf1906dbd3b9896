#include "cadlink/text_lines.h"

#include "platform/codepage.h"

namespace cadlink {

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\r' && text[i] != '\n')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

std::string Trim(const std::string& text) {
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= 32)
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= 32)
        --last;
    return text.substr(first, last - first);
}

std::size_t LastDelimiter(const std::string& text, char delimiter) {
    const char delimiters[] = {delimiter, '\0'};
    const std::size_t at = platform::LastCharOf(text, delimiters);
    return at == std::string::npos ? 0 : at + 1;
}

}  // namespace cadlink
