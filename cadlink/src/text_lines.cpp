#include "cadlink/text_lines.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

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

namespace {

// The lines of a text from the last one up.
class ReverseLines {
public:
    explicit ReverseLines(std::string_view text) : text_(text), end_(text.size()), done_(text.empty()) {
        // A break at the very end adds no line.
        if (end_ > 0 && text_[end_ - 1] == '\n')
            --end_;
        if (end_ > 0 && text_[end_ - 1] == '\r' && (end_ == text_.size() || text_[end_] == '\n'))
            --end_;
    }

    bool Next(std::string_view& line) {
        if (done_)
            return false;
        std::size_t start = end_;
        while (start > 0 && text_[start - 1] != '\r' && text_[start - 1] != '\n')
            --start;
        line = text_.substr(start, end_ - start);
        if (start == 0) {
            done_ = true;
            return true;
        }
        end_ = start - 1;  // the break before the line; CR LF is one break
        if (text_[end_] == '\n' && end_ > 0 && text_[end_ - 1] == '\r')
            --end_;
        return true;
    }

private:
    std::string_view text_;
    std::size_t end_;  // one past the current line
    bool done_;
};

}  // namespace

LineTail LastLines(std::string_view text, std::size_t count) {
    LineTail tail;
    ReverseLines reverse(text);
    std::string_view line;
    while (reverse.Next(line)) {
        tail.anyLine = true;
        if (tail.lines.empty() && line.empty())
            continue;  // below the last non-empty line
        if (tail.lines.size() >= count) {
            tail.moreAbove = true;
            break;
        }
        tail.lines.emplace_back(line);
    }
    std::reverse(tail.lines.begin(), tail.lines.end());
    return tail;
}

std::string_view UpToFirstZero(std::string_view block) {
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHighs = 0x8080808080808080ull;
    constexpr std::size_t kWord = sizeof(std::uint64_t);
    std::size_t at = 0;
    // Whole words first: a word holds a zero byte exactly when this test is not zero.
    for (; at + kWord <= block.size(); at += kWord) {
        std::uint64_t word;
        std::memcpy(&word, block.data() + at, kWord);
        if ((word - kOnes) & ~word & kHighs)
            break;
    }
    for (; at < block.size(); ++at)
        if (block[at] == '\0')
            return block.substr(0, at);
    return block;
}

}  // namespace cadlink
