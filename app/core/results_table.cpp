#include "results_table.h"

#include <cstdio>
#include <iterator>

#include "platform/codepage.h"
#include "run_paths.h"

namespace app {

const char kResultsHeader[] = "日時,図面,モード,面積,周長,図心X,図心Y,円の大きさ\r\n";

namespace {

const char kFaceCentreMode[] = "面の中心";
const char kRegionMode[] = "リージョン";

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

bool IsControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

}  // namespace

DrawnMeasurement MeasurementAsShown(ReportVariant mode,
                                    const ReportValues& values,
                                    const std::string& size,
                                    char decimalSeparator) {
    // A label that met no value keeps its earlier caption, which is not this shape's.
    const auto shown = [&](const std::string& value) {
        return mode == ReportVariant::FaceCentre || value.empty() ? value : FormatTwoDecimals(value, decimalSeparator);
    };
    return DrawnMeasurement{mode, shown(values.area), shown(values.perimeter), values.centroidX, values.centroidY,
                            size};
}

std::string DrawingNameFromTitle(const std::string& title) {
    // Searched by whole characters: 0x5B and 0x5D are also second bytes of double-byte characters.
    const std::size_t close = platform::LastCharOf(title, "]");
    if (close == std::string::npos)
        return std::string();
    const std::size_t open = platform::LastCharOf(title.substr(0, close), "[");
    if (open == std::string::npos)
        return std::string();
    return title.substr(open + 1, close - open - 1);
}

std::string FormatRowTime(int year, int month, int day, int hour, int minute, int second) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
    return text;
}

bool IsNumberText(const std::string& text) {
    std::size_t i = 0;
    const std::size_t end = text.find_last_not_of(' ') + 1;  // npos + 1 == 0 for an all-blank text
    while (i < end && text[i] == ' ')
        ++i;
    if (i < end && (text[i] == '+' || text[i] == '-'))
        ++i;
    std::size_t digits = 0;
    while (i < end && IsDigit(text[i]))
        ++i, ++digits;
    if (i < end && (text[i] == '.' || text[i] == ',')) {
        ++i;
        while (i < end && IsDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < end && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < end && (text[i] == '+' || text[i] == '-'))
            ++i;
        if (i == end || !IsDigit(text[i]))
            return false;
        while (i < end && IsDigit(text[i]))
            ++i;
    }
    return i == end;
}

std::string SafeCellText(const std::string& text) {
    if (IsNumberText(text))
        return text;
    // Control bytes never occur inside a double-byte character, so they can be dropped byte by byte.
    std::string cleaned;
    cleaned.reserve(text.size() + 1);
    for (char c : text) {
        if (!IsControl(static_cast<unsigned char>(c)))
            cleaned += c;
    }
    const std::size_t first = cleaned.find_first_not_of(' ');
    const bool formula = (!text.empty() && (text[0] == '\t' || text[0] == '\r')) ||
                         (first != std::string::npos && std::string("=+-@").find(cleaned[first]) != std::string::npos);
    return formula ? "'" + cleaned : cleaned;
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + "\"";
}

std::string FormatResultRow(const std::string& when, const std::string& drawing, const DrawnMeasurement& measurement) {
    const char* mode = measurement.mode == ReportVariant::FaceCentre ? kFaceCentreMode : kRegionMode;
    const std::string fields[] = {when,
                                  drawing,
                                  mode,
                                  measurement.area,
                                  measurement.perimeter,
                                  measurement.centroidX,
                                  measurement.centroidY,
                                  measurement.size};
    std::string row;
    for (std::size_t i = 0; i < std::size(fields); ++i)
        row += (i ? "," : "") + CsvField(SafeCellText(fields[i]));
    return row + "\r\n";
}

std::string ResultsFileName(const std::string& executablePath) {
    return ChangeFileExt(ExtractFileName(executablePath), ".csv");
}

std::string ArchivedResultsName(const std::string& executablePath,
                                int year,
                                int month,
                                int day,
                                int hour,
                                int minute,
                                int second,
                                int attempt) {
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "-%04d%02d%02d-%02d%02d%02d", year, month, day, hour, minute, second);
    std::string name = ChangeFileExt(ExtractFileName(executablePath), "") + stamp;
    if (attempt > 1)
        name += "-" + std::to_string(attempt);
    return name + ".csv";
}

}  // namespace app
