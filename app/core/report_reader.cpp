#include "report_reader.h"

#include <cstdio>
#include <vector>

#include "cad_numbers.h"
#include "platform/text_trim.h"

namespace app {
namespace {

const char16_t kFaceCentreTag[] = u"図心  ";
const char16_t kRegionTag[] = u"図心 ";
const char16_t kAreaTag[] = u"面積";
const char16_t kPerimeterTag[] = u"周囲";

// The text after the first marker; empty when the line has no marker (no value is guessed).
std::u16string After(const std::u16string& text, const std::u16string& marker) {
    const std::size_t at = text.find(marker);
    return at == std::u16string::npos ? std::u16string() : text.substr(at + marker.size());
}

bool Contains(const std::u16string& text, const char16_t* tag) {
    return text.find(tag) != std::u16string::npos;
}

std::u16string Trimmed(const std::u16string& text) {
    return std::u16string(platform::Trim(text));
}

}  // namespace

std::vector<std::u16string> ReportLines(const std::u16string& content) {
    std::vector<std::u16string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find(u'\n', start);
        if (end == std::u16string::npos)
            end = content.size();
        std::size_t lineEnd = end;
        if (lineEnd > start && content[lineEnd - 1] == u'\r' && end < content.size())
            --lineEnd;
        lines.push_back(content.substr(start, lineEnd - start));
        start = end + 1;
    }
    return lines;
}

Checked<std::u16string> FormatTwoDecimals(const std::u16string& text, char16_t decimalSeparator) {
    // Read as the CAD program writes it; shown with the user's decimal symbol.
    const std::optional<double> value = ParseCadNumber(platform::Trim(text));
    if (!value)
        return Checked<std::u16string>::Refused(u"'" + text + u"' は浮動小数点数ではありません");
    char formatted[64];
    std::snprintf(formatted, sizeof formatted, "%5.2f", *value);
    std::u16string result;
    for (const char* c = formatted; *c; ++c)
        result += *c == '.' ? decimalSeparator : static_cast<char16_t>(*c);
    return result;
}

Checked<std::u16string> ShownValue(ReportVariant variant,
                                   const std::u16string& value,
                                   char16_t decimalSeparator,
                                   int faceDecimals) {
    if (variant == ReportVariant::Region)
        return FormatTwoDecimals(value, decimalSeparator);
    const std::optional<double> number = ParseCadNumber(value);
    if (!number)
        return std::u16string();
    if (faceDecimals < 0 || faceDecimals > 8)
        return value;
    char formatted[64];
    // Never "-0.00": the CAD program prints a zero without a sign.
    std::snprintf(formatted, sizeof formatted, "%.*f", faceDecimals, *number + 0.0);
    std::string text = formatted;
    if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-')
        text.erase(0, 1);
    return std::u16string(text.begin(), text.end());
}

ReportValues ParseReport(const std::u16string& content, ReportVariant variant) {
    const char16_t* centroidTag = variant == ReportVariant::FaceCentre ? kFaceCentreTag : kRegionTag;
    const std::vector<std::u16string> lines = ReportLines(content);
    ReportValues values;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::u16string current = lines[i];
        if (Contains(current, centroidTag)) {
            values.centroidX = Trimmed(After(current, u"X:"));
            // The Y line belongs to the centroid: it is not examined again as a line of its own.
            const std::u16string next = i + 1 < lines.size() ? lines[++i] : std::u16string();
            current = After(next, u"Y:");
            values.centroidY = Trimmed(current);
        }
        if (Contains(current, kAreaTag)) {
            current = After(current, u":");
            values.area = Trimmed(current);
            values.areaSeen = true;
        }
        if (Contains(current, kPerimeterTag)) {
            current = After(current, u":");
            values.perimeter = Trimmed(current);
            values.perimeterSeen = true;
        }
    }
    return values;
}

}  // namespace app
