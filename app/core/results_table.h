#pragma once
// The results file: one CSV row per measured shape, in UTF-16 here (the Win32 side writes it as
// UTF-8, or in the code page of a list kept in it), safe to open in a spreadsheet whatever the
// drawing's name holds.

#include <string>
#include <string_view>

#include "measurement.h"

namespace app {

// The header row, CRLF included; it becomes bytes only where a list is written.
extern const char16_t kResultsHeader[];

// The drawing's name as the CAD main window's title shows it: the text inside the last pair of
// square brackets ("... - [図面1.dwg]" gives "図面1.dwg"); empty when there is none.
// Taken from the title as the window holds it in UTF-16, so that a name the system code page
// cannot express reaches the list whole.
std::u16string DrawingNameFromTitle(const std::u16string& title);

// "yyyy/mm/dd hh:mm:ss".
std::u16string FormatRowTime(int year, int month, int day, int hour, int minute, int second);

// A number as the report or the labels write it: blanks around it, a sign, digits with one
// decimal point or decimal comma, an exponent.
bool IsNumberText(std::u16string_view text);

// A text field: control characters dropped, and a text a spreadsheet would evaluate as a formula
// (starting with =, +, -, @, a tab or a CR) kept as text by a leading apostrophe. Numbers pass
// unchanged. Not yet quoted.
std::u16string SafeCellText(const std::u16string& text);
// Quoted (inner quotes doubled) when it holds a comma, a quote, a CR or an LF.
std::u16string CsvField(const std::u16string& text);

// The whole row, CRLF included.
std::u16string FormatResultRow(const std::u16string& when,
                               const std::u16string& drawing,
                               const DrawnMeasurement& measurement);

// "Tavro.csv" for "C:\...\Tavro.exe": named after the executable, as the settings file is.
std::u16string ResultsFileName(const std::u16string& executablePath);
// The name a list is kept under when a new one starts: "Tavro-20261208-143015.csv", with "-2",
// "-3", ... after the time for a second list in the same second.
std::u16string ArchivedResultsName(const std::u16string& executablePath,
                                   int year,
                                   int month,
                                   int day,
                                   int hour,
                                   int minute,
                                   int second,
                                   int attempt);

}  // namespace app
