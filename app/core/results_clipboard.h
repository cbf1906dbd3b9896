#pragma once
// The results list as a spreadsheet takes it from the clipboard: tab-separated, the header, every
// row, and a last row with the total of the areas.

#include <string>
#include <vector>

namespace app {

using Record = std::vector<std::u16string>;

// Records of a CSV text: quoted fields may hold commas, doubled quotes and line ends; a line end
// is CRLF, LF or CR. A byte-order mark at the start is skipped. Any text gives some records.
std::vector<Record> ParseCsv(const std::u16string& text);

// The sum of the numbers among the texts, with as many decimals as the most precise of them, in
// their decimal separator ('.' or ','; the fallback when none has one). Texts that are not
// numbers are left out; "0" when there are none.
std::u16string SumOfNumbers(const std::vector<std::u16string>& texts, char16_t fallbackSeparator);

// The list for the clipboard: the header, every data row of the file (a header row in it is not
// repeated), and "合計" with the total of the area column. Rows end with CRLF; a field holding a
// tab or a line end, or starting with a quote, is quoted.
std::u16string ResultsClipboardText(const std::u16string& csv, char16_t decimalSeparator);

}  // namespace app
