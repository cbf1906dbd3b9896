#include "results_table.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <type_traits>

#include "cad_numbers.h"
#include "platform/path_names.h"

namespace app {

const char16_t kResultsHeader[] = u"日時,図面,モード,面積,周長,図心X,図心Y,円の大きさ\r\n";

namespace {

const char16_t kFaceCentreMode[] = u"面の中心";
const char16_t kRegionMode[] = u"リージョン";

}  // namespace

DrawnMeasurement MeasurementAsShown(ReportVariant mode,
                                    const ReportValues& values,
                                    const std::u16string& size,
                                    char16_t decimalSeparator,
                                    int faceDecimals) {
    // A label that met no value keeps its earlier caption, which is not this shape's. A value
    // refused is never drawn: the run stops at the labels.
    const auto shown = [&](const std::u16string& value) {
        const Checked<std::u16string> text = ShownValue(mode, value, decimalSeparator, faceDecimals);
        return value.empty() || !text ? std::u16string() : *text;
    };
    return DrawnMeasurement{mode, shown(values.area), shown(values.perimeter), values.centroidX, values.centroidY,
                            size};
}

std::u16string DrawingNameFromTitle(const std::u16string& title) {
    const std::size_t close = title.rfind(u']');
    if (close == std::u16string::npos)
        return std::u16string();
    const std::size_t open = close == 0 ? std::u16string::npos : title.rfind(u'[', close - 1);
    if (open == std::u16string::npos)
        return std::u16string();
    return title.substr(open + 1, close - open - 1);
}

std::u16string FormatRowTime(int year, int month, int day, int hour, int minute, int second) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", year, month, day, hour, minute, second);
    return std::u16string(text, text + std::strlen(text));
}

namespace {

using Text = std::u16string;
using Ch = char16_t;

}  // namespace

bool IsNumberText(std::u16string_view text) {
    // Spaces only, not the program's trim: a tab or CR ahead of a number starts a formula.
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos)
        return false;
    const std::size_t last = text.find_last_not_of(u' ');
    return ScanNumber(text.substr(first, last + 1 - first), kCellNumberForm).has_value();
}

std::u16string SafeCellText(const std::u16string& text) {
    if (IsNumberText(text))
        return text;
    // Control codes never occur inside a double-byte character or a surrogate pair, so they can be
    // dropped unit by unit.
    Text cleaned;
    cleaned.reserve(text.size() + 1);
    for (Ch c : text) {
        const auto code = static_cast<std::make_unsigned_t<Ch>>(c);
        if (!(code < 0x20 || code == 0x7F))
            cleaned += c;
    }
    const std::size_t first = cleaned.find_first_not_of(Ch(' '));
    const auto starts = [&](Ch c) { return c == Ch('=') || c == Ch('+') || c == Ch('-') || c == Ch('@'); };
    const bool formula = (!text.empty() && (text[0] == Ch('\t') || text[0] == Ch('\r'))) ||
                         (first != std::u16string::npos && starts(cleaned[first]));
    return formula ? Text(1, Ch('\'')) + cleaned : cleaned;
}

std::u16string CsvField(const std::u16string& text) {
    const Ch special[] = {Ch(','), Ch('"'), Ch('\r'), Ch('\n'), Ch(0)};
    if (text.find_first_of(special) == std::u16string::npos)
        return text;
    Text quoted(1, Ch('"'));
    for (Ch c : text) {
        quoted += c;
        if (c == Ch('"'))
            quoted += Ch('"');
    }
    return quoted + Ch('"');
}

std::u16string FormatResultRow(const std::u16string& when,
                               const std::u16string& drawing,
                               const DrawnMeasurement& measurement) {
    const Text fields[] = {when,
                           drawing,
                           measurement.mode == ReportVariant::FaceCentre ? kFaceCentreMode : kRegionMode,
                           measurement.area,
                           measurement.perimeter,
                           measurement.centroidX,
                           measurement.centroidY,
                           measurement.size};
    Text row;
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        if (i)
            row += Ch(',');
        row += CsvField(SafeCellText(fields[i]));
    }
    row += Ch('\r');
    row += Ch('\n');
    return row;
}

std::u16string ResultsFileName(const std::u16string& executablePath) {
    return platform::ChangeExtension(platform::FileNameOf(executablePath), u".csv");
}

std::u16string ArchivedResultsName(const std::u16string& executablePath,
                                   int year,
                                   int month,
                                   int day,
                                   int hour,
                                   int minute,
                                   int second,
                                   int attempt) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "-%04d%02d%02d-%02d%02d%02d", year, month, day, hour, minute, second);
    if (attempt > 1)
        std::snprintf(stamp + std::strlen(stamp), 16, "-%d", attempt % 1000);
    std::u16string name = platform::ChangeExtension(platform::FileNameOf(executablePath), u"");
    name.append(stamp, stamp + std::strlen(stamp));  // ASCII digits and hyphens
    return name + u".csv";
}

}  // namespace app
