#include "report_reader.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "cadlink/text_lines.h"
#include "framework/exceptions.h"

namespace app {
namespace {

const char kFaceCentreTag[] = "図心  ";
const char kRegionTag[] = "図心 ";
const char kAreaTag[] = "面積";
const char kPerimeterTag[] = "周囲";

// A line ends with LF or CR LF; a lone CR stays in the line (trimming removes it from values).
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

// The text after the first marker; empty when the line has no marker (no value is guessed).
std::string After(const std::string& text, const std::string& marker) {
    const std::size_t at = text.find(marker);
    return at == std::string::npos ? std::string() : text.substr(at + marker.size());
}

bool Contains(const std::string& text, const char* tag) {
    return text.find(tag) != std::string::npos;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::string FormatTwoDecimals(const std::string& text, char decimalSeparator) {
    // Sign, digits, one decimal separator, an exponent; blanks around it are allowed.
    const std::string number = cadlink::Trim(text);
    std::string plain;
    std::size_t i = 0;
    if (i < number.size() && (number[i] == '+' || number[i] == '-'))
        plain += number[i++];
    bool digits = false;
    while (i < number.size() && IsDigit(number[i])) {
        plain += number[i++];
        digits = true;
    }
    if (i < number.size() && number[i] == decimalSeparator) {
        plain += '.';
        ++i;
        while (i < number.size() && IsDigit(number[i])) {
            plain += number[i++];
            digits = true;
        }
    }
    if (digits && i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < number.size() && (number[j] == '+' || number[j] == '-'))
            exponent += number[j++];
        const std::size_t exponentDigits = j;
        while (j < number.size() && IsDigit(number[j]))
            exponent += number[j++];
        if (j > exponentDigits) {
            plain += exponent;
            i = j;
        }
    }
    if (!digits || i != number.size())
        throw framework::EConvertError("'" + text + "' は浮動小数点数ではありません");
    const double value = std::strtod(plain.c_str(), nullptr);
    if (!std::isfinite(value))
        throw framework::EConvertError("'" + text + "' は浮動小数点数ではありません");
    char formatted[400];
    std::snprintf(formatted, sizeof formatted, "%5.2f", value);
    std::string result = formatted;
    for (char& c : result)
        if (c == '.')
            c = decimalSeparator;
    return result;
}

ReportValues ParseReport(const std::string& content,
                         ReportVariant variant,
                         ReportLabels& labels,
                         char decimalSeparator) {
    const char* centroidTag = variant == ReportVariant::FaceCentre ? kFaceCentreTag : kRegionTag;
    auto caption = [&](const std::string& value) {
        return variant == ReportVariant::FaceCentre ? value : FormatTwoDecimals(value, decimalSeparator);
    };
    const std::vector<std::string> lines = ReportLines(content);
    ReportValues values;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        std::string current = lines[i];
        if (Contains(current, centroidTag)) {
            values.centroidX = cadlink::Trim(After(current, "X:"));
            // The Y line belongs to the centroid: it is not examined again as a line of its own.
            const std::string next = i + 1 < lines.size() ? lines[++i] : std::string();
            current = After(next, "Y:");
            values.centroidY = cadlink::Trim(current);
        }
        if (Contains(current, kAreaTag)) {
            current = After(current, ":");
            values.area = cadlink::Trim(current);
            labels.ShowArea(caption(values.area));
        }
        if (Contains(current, kPerimeterTag)) {
            current = After(current, ":");
            values.perimeter = cadlink::Trim(current);
            labels.ShowPerimeter(caption(values.perimeter));
        }
    }
    return values;
}

}  // namespace app
