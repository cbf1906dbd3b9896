#include "results_encoding.h"

#include "cad_numbers.h"
#include "platform/codepage.h"
#include "platform/path_names.h"

namespace app {
namespace {

const char kMark[] = "\xEF\xBB\xBF";

bool IsCp932Trail(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFC && byte != 0x7F;
}

// Bytes the code page maps to no character of text (0x80, 0xA0, 0xFD to 0xFF).
bool IsCp932Single(unsigned char byte) {
    return byte < 0x80 || (byte >= 0xA1 && byte <= 0xDF);
}

// Continuation bytes after a UTF-8 lead byte; -1 for a byte that cannot start a character.
int Utf8Continuations(unsigned char byte) {
    if (byte < 0x80)
        return 0;
    if (byte >= 0xC2 && byte <= 0xDF)
        return 1;
    if (byte >= 0xE0 && byte <= 0xEF)
        return 2;
    if (byte >= 0xF0 && byte <= 0xF4)
        return 3;
    return -1;
}

}  // namespace

// UTF-8 bytes written out: the sources are also compiled as code page 932. "#書き込み待ちの行".
const char kKeptSignature[] =
    "\xEF\xBB\xBF#"
    "\xE6\x9B\xB8\xE3\x81\x8D\xE8\xBE\xBC\xE3\x81\xBF\xE5\xBE\x85\xE3\x81\xA1\xE3\x81\xAE\xE8\xA1\x8C\r\n";

const char kKeptMovingMark[] = "#>";

void ListEncodingScan::Feed(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (mark_) {
            seen_ += bytes.size() - i;  // after the mark only the size still matters
            return;
        }
        const char c = bytes[i];
        const auto byte = static_cast<unsigned char>(c);
        if (seen_ < 3) {
            head_[seen_] = c;
            if (seen_ == 2 && std::string_view(head_, 3) == kMark) {
                mark_ = true;
                ++seen_;
                continue;
            }
        }
        ++seen_;
        beyondAscii_ = beyondAscii_ || byte >= 0x80;
        if (utf8Valid_) {
            if (utf8Needed_ > 0) {
                utf8Valid_ = (byte & 0xC0) == 0x80;
                --utf8Needed_;
            } else {
                utf8Needed_ = Utf8Continuations(byte);
                utf8Valid_ = utf8Needed_ >= 0;
            }
        }
        if (cp932Valid_) {
            if (cp932Trail_) {
                cp932Valid_ = IsCp932Trail(byte);
                cp932Trail_ = false;
            } else if (platform::IsCp932LeadByte(byte)) {
                cp932Trail_ = true;
            } else {
                cp932Valid_ = IsCp932Single(byte);
            }
        }
    }
}

ListEncoding ListEncodingScan::Result() const {
    if (seen_ == 0)
        return ListEncoding::Empty;
    if (mark_)
        return seen_ == 3 ? ListEncoding::MarkOnly : ListEncoding::Utf8WithMark;
    if (!beyondAscii_)
        return ListEncoding::CodePage932;
    if (utf8Valid_ && utf8Needed_ == 0)
        return ListEncoding::Utf8;
    if (cp932Valid_ && !cp932Trail_)
        return ListEncoding::CodePage932;
    return ListEncoding::Unreadable;
}

std::size_t CompleteUtf8Prefix(std::string_view bytes) {
    // A character is at most four bytes: only the last three can belong to one cut short.
    for (std::size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
        const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((byte & 0xC0) == 0x80)
            continue;  // a continuation byte: its lead is further back
        const int needed = Utf8Continuations(byte);
        return needed >= static_cast<int>(back) ? bytes.size() - back : bytes.size();
    }
    return bytes.size();
}

std::size_t CompleteCp932Prefix(std::string_view bytes) {
    // A lead byte value is also a trail byte value: only a walk from the start tells them apart.
    std::size_t i = 0;
    while (i < bytes.size()) {
        if (platform::IsCp932LeadByte(static_cast<unsigned char>(bytes[i]))) {
            if (i + 1 == bytes.size())
                return i;
            i += 2;
        } else {
            ++i;
        }
    }
    return bytes.size();
}

KeptRows ParseKeptFile(std::string_view bytes) {
    KeptRows kept;
    const std::string_view signature(kKeptSignature);
    if (bytes.empty()) {
        kept.ours = true;
        return kept;
    }
    if (bytes.substr(0, signature.size()) != signature)
        return kept;
    kept.ours = true;
    std::size_t start = signature.size();
    const std::string_view moving(kKeptMovingMark);
    for (std::size_t end = bytes.find("\r\n", start); end != std::string_view::npos; end = bytes.find("\r\n", start)) {
        const std::string_view line = bytes.substr(start, end - start);
        if (line.substr(0, moving.size()) == moving) {
            if (const std::optional<std::uint64_t> at = ParseCount(line.substr(moving.size())))
                kept.movingAt = *at;
            start = end + 2;
            continue;
        }
        // NUL bytes (a power cut's) are no part of a row; a row of nothing else is none.
        std::string row;
        for (const char c : line)
            if (c != '\0')
                row += c;
        if (!row.empty())
            kept.rows.push_back(row + "\r\n");
        start = end + 2;
    }
    return kept;
}

std::u16string KeptFilePath(const std::u16string& listPath, int number) {
    const std::u16string stem = platform::ChangeExtension(listPath, u"");
    if (number <= 1)
        return stem + u".kept.csv";
    const std::string digits = std::to_string(number);
    return stem + u".kept-" + std::u16string(digits.begin(), digits.end()) + u".csv";
}

int KeptFileNumber(const std::u16string& listFileName, const std::u16string& fileName) {
    const std::u16string stem = platform::ChangeExtension(listFileName, u"");
    if (fileName == stem + u".kept.csv")
        return 1;
    const std::u16string prefix = stem + u".kept-";
    if (fileName.compare(0, prefix.size(), prefix) != 0 || fileName.size() < prefix.size() + 5 ||
        fileName.compare(fileName.size() - 4, 4, u".csv") != 0)
        return 0;
    const std::u16string digits = fileName.substr(prefix.size(), fileName.size() - prefix.size() - 4);
    // The numbers the program gives side files have no leading zero.
    if (digits.empty() || digits[0] == u'0')
        return 0;
    const std::optional<std::uint64_t> number = ParseCount(std::u16string_view(digits), 9999);
    return number && *number >= 2 ? static_cast<int>(*number) : 0;
}

}  // namespace app
