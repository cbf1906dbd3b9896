#pragma once
// Reads the mass-properties report that the CAD program writes: the centroid as printed (it goes
// back to the CAD program digit for digit), and the area and perimeter shown in the main window.

#include <string>
#include <vector>

namespace app {

struct ReportValues {
    std::string centroidX;
    std::string centroidY;
    std::string area;
    std::string perimeter;
};

// Face-centre reports are matched by "図心" and two spaces and show their values as read; region
// reports by "図心" and one space, and show their values as numbers with two decimals.
enum class ReportVariant { FaceCentre, Region };

// Where the area and perimeter are shown as each is met.
class ReportLabels {
public:
    virtual ~ReportLabels() = default;
    virtual void ShowArea(const std::string& caption) = 0;
    virtual void ShowPerimeter(const std::string& caption) = 0;
};

// The report's lines as the CAD program writes them: a line ends with CR LF or LF, and a break at
// the very end adds no empty line. A lone CR is no line end (no report has one): it stays in the
// line, and trimming takes it off a value's ends. Every reader of a report splits it this way, so
// that the line below a tag is the same line to all of them.
std::vector<std::string> ReportLines(const std::string& content);

// Reads the whole report text; the last centroid, area and perimeter lines win. Throws
// framework::EConvertError in the region variant for an area or perimeter that is not a number;
// the face-centre variant shows such a value as an empty caption. decimalSeparator is the user's,
// for the captions: the report itself always has a full stop.
ReportValues ParseReport(const std::string& content,
                         ReportVariant variant,
                         ReportLabels& labels,
                         char decimalSeparator = '.');

// "%5.2f" of a number as the CAD program writes it (blanks around it allowed), shown with the given
// decimal separator; throws framework::EConvertError ("'<text>' は浮動小数点数ではありません") for a
// text that is not such a number.
std::string FormatTwoDecimals(const std::string& text, char decimalSeparator = '.');

}  // namespace app
