#include "report_bounds.h"

#include <optional>
#include <vector>

#include "cad_numbers.h"
#include "report_reader.h"
#include "platform/text_trim.h"

namespace app {
namespace {

const char16_t kBoxTag[] = u"境界ボックス";
// Box and point are both printed with four decimals: a point just inside an edge may round onto it
// or a digit past it.
constexpr double kPrintedDigit = 0.0001;

struct Range {
    double from = 0;
    double to = 0;
};

// Box and point are numbers as the CAD program prints them.
std::optional<double> Number(const std::u16string& text) {
    return ParseCadNumber(platform::Trim(text));
}

// "a -- b" after the axis's "X:" or "Y:", looked for after the label.
std::optional<Range> AxisRange(const std::u16string& line, const char16_t* axis, std::size_t searchFrom) {
    const std::size_t start = line.find(axis, searchFrom);
    if (start == std::u16string::npos)
        return std::nullopt;
    const std::u16string range = line.substr(start + 2);
    const std::size_t dash = range.find(u"--", 1);
    if (dash == std::u16string::npos)
        return std::nullopt;
    const std::optional<double> from = Number(range.substr(0, dash));
    const std::optional<double> to = Number(range.substr(dash + 2));
    if (!from || !to || *from > *to)
        return std::nullopt;
    return Range{*from, *to};
}

bool Holds(const Range& range, double value) {
    return value >= range.from - kPrintedDigit && value <= range.to + kPrintedDigit;
}

}  // namespace

bool ReportBoxHolds(const std::u16string& content, const std::u16string& x, const std::u16string& y) {
    const std::vector<std::u16string> lines = ReportLines(content);
    std::optional<Range> boxX;
    std::optional<Range> boxY;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::size_t tag = lines[i].find(kBoxTag);
        if (tag == std::u16string::npos)
            continue;
        boxX = AxisRange(lines[i], u"X:", tag + std::char_traits<char16_t>::length(kBoxTag));
        boxY = i + 1 < lines.size() ? AxisRange(lines[i + 1], u"Y:", 0) : std::nullopt;
    }
    const std::optional<double> pointX = Number(x);
    const std::optional<double> pointY = Number(y);
    return boxX && boxY && pointX && pointY && Holds(*boxX, *pointX) && Holds(*boxY, *pointY);
}

}  // namespace app
