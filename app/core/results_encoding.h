#pragma once
// How a results list on disk is written, told from its bytes, and the side file that holds rows
// the list could not take when the program ended.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

enum class ListEncoding {
    Empty,         // 0 bytes: a new list starts with the mark and the header
    MarkOnly,      // only the UTF-8 byte-order mark: the header follows it
    Utf8WithMark,  // ours, or saved again as UTF-8 with the mark
    Utf8,          // no mark, valid UTF-8 with characters beyond ASCII
    CodePage932,   // no mark, valid code page 932 (or plain ASCII, which a spreadsheet reads so)
    Unreadable,    // no mark and neither: kept aside, a new list starts
};

// Tells the encoding from the whole file, fed in pieces of any size. A file with the mark is
// taken as UTF-8 from its first three bytes, whatever follows.
class ListEncodingScan {
public:
    void Feed(std::string_view bytes);
    ListEncoding Result() const;
    // True once the mark has been seen: only the size is counted after it.
    bool Marked() const { return mark_; }

private:
    std::size_t seen_ = 0;
    bool mark_ = false;
    char head_[3] = {};
    bool beyondAscii_ = false;
    bool utf8Valid_ = true;
    int utf8Needed_ = 0;  // continuation bytes still due
    bool cp932Valid_ = true;
    bool cp932Trail_ = false;  // the next byte is the second of a double-byte character
};

// The part of bytes that can be converted now: a character cut at the end waits for the next piece.
std::size_t CompleteUtf8Prefix(std::string_view bytes);
std::size_t CompleteCp932Prefix(std::string_view bytes);

// The side file's first line, UTF-8 with the mark; rows follow, each a whole line ending CRLF.
extern const char kKeptSignature[];

// A line "#>offset" after the rows says they were being written into the list at that offset: the
// program may have ended before the side file was emptied, so the list is looked at there first.
extern const char kKeptMovingMark[];

struct KeptRows {
    bool ours = false;              // empty, or starts with the signature
    std::vector<std::string> rows;  // whole lines, CRLF included; a torn last line is left out
    std::optional<std::uint64_t> movingAt;
};
KeptRows ParseKeptFile(std::string_view bytes);

// "C:\w\Tavro.kept.csv" for "C:\w\Tavro.csv" (number 1), "C:\w\Tavro.kept-2.csv" for number 2.
std::u16string KeptFilePath(const std::u16string& listPath, int number);
// The number of a side file's name of that list ("Tavro.kept-2.csv" gives 2); 0 for any other name.
int KeptFileNumber(const std::u16string& listFileName, const std::u16string& fileName);

}  // namespace app
