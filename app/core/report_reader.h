#pragma once
// Reads the mass-properties report that the CAD program writes: the centroid as printed (it goes
// back to the CAD program digit for digit), and the area and perimeter shown in the main window.

#include <string>

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
