// Any CAD window title and any report values, through the results list: the row a title gives is
// one CSV record of the eight columns that reads back as the texts written, no text field starts
// as a spreadsheet formula or holds a control character, and any file text gives a clipboard table
// that starts with the header and ends with the total row.
//
// Input: the title, then the area, ended by a zero byte; the whole input is also read as the
// list's file text, two bytes a character.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "results_clipboard.h"
#include "results_table.h"

namespace {

using fuzzcheck::Require;

// Code page 932 bytes one a character: the delimiters are ASCII and never a second byte.
std::u16string Widened(const std::string& bytes) {
    std::u16string wide;
    for (char c : bytes)
        wide += static_cast<char16_t>(static_cast<unsigned char>(c));
    return wide;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t zero = input.find('\0');
    const std::string title = input.substr(0, zero);
    const std::string area = zero == std::string::npos ? std::string() : input.substr(zero + 1);

    const std::u16string drawing = app::DrawingNameFromTitle(Widened(title));
    Require(drawing.size() <= title.size(), "the drawing name is a part of the title");
    const app::DrawnMeasurement shape{app::ReportVariant::Region, Widened(area), u"-1,5", u"-2.5", u"3", u"50"};
    const std::u16string row = app::FormatResultRow(u"2026/12/08 14:30:15", drawing, shape);
    const auto records = app::ParseCsv(row);
    Require(records.size() == 1 && records[0].size() == 8, "a row is one record of eight fields");
    Require(records[0][1] == app::SafeCellText(drawing), "the name reads back as written");
    Require(records[0][3] == app::SafeCellText(Widened(area)), "the area reads back as written");
    Require(records[0][4] == u"-1,5" && records[0][5] == u"-2.5", "numbers stay numbers");
    const std::u16string cell = app::SafeCellText(drawing);
    if (!app::IsNumberText(drawing)) {
        for (char16_t c : cell)
            Require(c >= 0x20 && c != 0x7F, "no control character in a text");
        const std::size_t first = cell.find_first_not_of(u' ');
        Require(first == std::u16string::npos || std::u16string(u"=+-@").find(cell[first]) == std::u16string::npos ||
                    cell[0] == u'\'',
                "no text starts as a formula");
    }

    std::u16string file;
    for (std::size_t i = 0; i + 1 < size; i += 2)
        file += static_cast<char16_t>(data[i] | (data[i + 1] << 8));
    const std::u16string table = app::ResultsClipboardText(file, u'.');
    Require(table.rfind(u"\u65e5\u6642\t", 0) == 0, "the table starts with the header");
    Require(table.find(u"\u5408\u8a08\t") != std::u16string::npos && table.size() >= 2 &&
                table.compare(table.size() - 2, 2, u"\r\n") == 0,
            "the table ends with the total row");
    return 0;
}
