#include "report_reader.h"

#include <cstdio>
#include <vector>

#include "cad_numbers.h"
#include "cadlink/text_lines.h"
#include "framework/exceptions.h"
#include "platform/text_trim.h"

namespace app {
namespace {

const char kFaceCentreTag[] = "図心  ";
const char kRegionTag[] = "図心 ";
const char kAreaTag[] = "面積";
const char kPerimeterTag[] = "周囲";

// The text after the first marker; empty when the line has no marker (no value is guessed).
std::string After(const std::string& text, const std::string& marker) {
    const std::size_t at = text.find(marker);
    return at == std::string::npos ? std::string() : text.substr(at + marker.size());
}

bool Contains(const std::string& text, const char* tag) {
    return text.find(tag) != std::string::npos;
}

}  // namespace

std::vector<std::string> ReportLines(const std::string& content) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        std::size_t end = content.find('\n', start);
        if (end == std::string::npos)
            end = content.size();
        std::size_t lineEnd = end;
        if (lineEnd > start && content[lineEnd - 1] == '\r' && end < content.size())
            --lineEnd;
        lines.push_back(content.substr(start, lineEnd - start));
        start = end + 1;
    }
    return lines;
}

std::string FormatTwoDecimals(const std::string& text, char decimalSeparator) {
    // Read as the CAD program writes it; shown with the user's decimal symbol.
    const std::optional<double> value = ParseCadNumber(std::string(platform::Trim(text)));
    if (!value)
        throw framework::EConvertError("'" + text + "' は浮動小数点数ではありません");
    char formatted[64];
    std::snprintf(formatted, sizeof formatted, "%5.2f", *value);
    std::string result = formatted;
    for (char& c : result)
        if (c == '.')
            c = decimalSeparator;
    return result;
}

std::string ShownValue(ReportVariant variant, const std::string& value, char decimalSeparator) {
    if (variant == ReportVariant::Region)
        return FormatTwoDecimals(value, decimalSeparator);
    return IsCadNumber(value) ? value : std::string();
}

ReportValues ParseReport(const std::string& content, ReportVariant variant) {
    const char* centroidTag = variant == ReportVariant::FaceCentre ? kFaceCentreTag : kRegionTag;
    const std::vector<std::string> lines = ReportLines(content);
    ReportValues values;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string current = lines[i];
        if (Contains(current, centroidTag)) {
            values.centroidX = std::string(platform::Trim(After(current, "X:")));
            // The Y line belongs to the centroid: it is not examined again as a line of its own.
            const std::string next = i + 1 < lines.size() ? lines[++i] : std::string();
            current = After(next, "Y:");
            values.centroidY = std::string(platform::Trim(current));
        }
        if (Contains(current, kAreaTag)) {
            current = After(current, ":");
            values.area = std::string(platform::Trim(current));
            values.areaSeen = true;
        }
        if (Contains(current, kPerimeterTag)) {
            current = After(current, ":");
            values.perimeter = std::string(platform::Trim(current));
            values.perimeterSeen = true;
        }
    }
    return values;
}

}  // namespace app
