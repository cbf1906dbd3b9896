#pragma once
// Reads the mass-properties report that the CAD program writes: the centroid as printed (it goes
// back to the CAD program digit for digit), and the area and perimeter shown in the main window.

#include <string>
#include <vector>

#include "checked.h"

namespace app {

// The report's values, read from its text in UTF-16 (the run converts the file's code page bytes
// once, as it reads them).
struct ReportValues {
    std::u16string centroidX;
    std::u16string centroidY;
    std::u16string area;
    std::u16string perimeter;
    // Whether the report has the line at all: a label whose line is missing keeps its caption.
    bool areaSeen = false;
    bool perimeterSeen = false;
};

// Face-centre reports are matched by "図心" and two spaces and show their values as read; region
// reports by "図心" and one space, and show their values as numbers with two decimals.
enum class ReportVariant { FaceCentre, Region };

// The report's lines as the CAD program writes them: a line ends with CR LF or LF, and a break at
// the very end adds no empty line. A lone CR is no line end (no report has one): it stays in the
// line, and trimming takes it off a value's ends. Every reader of a report splits it this way, so
// that the line below a tag is the same line to all of them.
std::vector<std::u16string> ReportLines(const std::u16string& content);

// Reads the whole report text; the last centroid, area and perimeter lines win. Values only:
// what is shown of them is ShownValue's.
ReportValues ParseReport(const std::u16string& content, ReportVariant variant);

// An area or perimeter as the label and the results row both show it: in face-centre mode as read,
// but only a number (never "NaN", "1.#INF" or hundreds of digits; anything else shows empty); in
// region mode FormatTwoDecimals. decimalSeparator is the user's: the report always has a full stop.
// A report read at more places than the user's own display precision (faceDecimals, 0 to 8) shows
// in face-centre mode what it would have printed at the user's: rounded to that many places.
Checked<std::u16string> ShownValue(ReportVariant variant,
                                   const std::u16string& value,
                                   char16_t decimalSeparator,
                                   int faceDecimals = -1);

// "%5.2f" of a number as the CAD program writes it (blanks around it allowed), shown with the given
// decimal separator; refused ("'<text>' は浮動小数点数ではありません") for a text that is not such a
// number.
Checked<std::u16string> FormatTwoDecimals(const std::u16string& text, char16_t decimalSeparator = u'.');

}  // namespace app
