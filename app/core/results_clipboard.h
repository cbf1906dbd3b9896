#pragma once
// The results list as a spreadsheet takes it from the clipboard: tab-separated, the header, every
// row, and a last row with the total of the areas.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace app {

using Record = std::vector<std::u16string>;

// Reads CSV text given in pieces of any size and hands on each record as it ends, so that a long
// list is never held whole as records.
class CsvReader {
public:
    using RecordSink = std::function<void(const std::vector<std::u16string>&)>;
    explicit CsvReader(RecordSink sink) : sink_(std::move(sink)) {}
    void Feed(std::u16string_view text);
    void Finish();

private:
    void EndRecord();
    RecordSink sink_;
    std::vector<std::u16string> record_;
    std::u16string field_;
    bool quoted_ = false;
    bool fieldStarted_ = false;
    bool quoteSeen_ = false;  // a quote inside a quoted field: doubled, or its end
    bool crSeen_ = false;     // an LF right after it belongs to the same line end
    bool atStart_ = true;
};

// A running sum of number texts, as SumOfNumbers gives it.
class NumberSum {
public:
    void Add(const std::u16string& text);
    std::u16string Text(char16_t fallbackSeparator) const;

private:
    std::int64_t total_ = 0;
    double approximate_ = 0;  // used only when the exact sum does not fit
    bool exact_ = true;
    int decimals_ = 0;
    char16_t separator_ = 0;
};

// Writes the clipboard's table of a list given in pieces, as ResultsClipboardText does, to out.
class ClipboardTableWriter {
public:
    using Out = std::function<void(std::u16string_view)>;
    ClipboardTableWriter(char16_t decimalSeparator, Out out);
    void Feed(std::u16string_view csv) { reader_.Feed(csv); }
    // Ends the last record and writes the total row.
    void Finish();

private:
    void Record(const std::vector<std::u16string>& record);
    char16_t separator_;
    Out out_;
    CsvReader reader_;
    NumberSum areas_;
    bool first_ = true;
    std::u16string line_;
};

// Records of a CSV text: quoted fields may hold commas, doubled quotes and line ends; a line end
// is CRLF, LF or CR. A byte-order mark at the start is skipped. Any text gives some records.
std::vector<Record> ParseCsv(const std::u16string& text);

// The sum of the numbers among the texts, with as many decimals as the most precise of them, in
// their decimal separator ('.' or ','; the fallback when none has one). Texts that are not
// numbers are left out; "0" when there are none.
std::u16string SumOfNumbers(const std::vector<std::u16string>& texts, char16_t fallbackSeparator);

// The list for the clipboard: the header, every data row of the file (its first row is not
// repeated when it is our header or one of eight columns without a number for the area, as a
// spreadsheet saving it in another language writes it), and "合計" with the total of the area column. Rows end with
// CRLF; a field holding a tab or a line end, or starting with a quote, is quoted.
std::u16string ResultsClipboardText(const std::u16string& csv, char16_t decimalSeparator);

}  // namespace app
