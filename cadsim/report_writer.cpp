#include "report_writer.h"

namespace cadsim {
namespace {

// Values of single quantities begin at this byte; "X: " and "Y: " stand just before it. A
// double-byte character is as wide as two bytes, so bytes count as columns.
constexpr std::size_t kValueColumn = 25;
constexpr std::size_t kAxisColumn = kValueColumn - 3;

std::string PadTo(std::string text, std::size_t width) {
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

// The first line of a quantity with an X and a Y part carries the label, the second only blanks.
std::string Axis(const char* label, const char* axis, const std::string& value) {
    return PadTo(label, kAxisColumn) + axis + ": " + value;
}

}  // namespace

std::vector<std::string> ReportLines(const MassProperties& p, const LinearUnits& units) {
    const auto length = [&units](double value) { return FormatLength(value, units); };
    const auto number = [&units](double value) { return FormatNumber(value, units); };
    const auto range = [&length](double from, double to) { return length(from) + "  --  " + length(to); };
    const auto direction = [&number](const Point& d) { return "[" + number(d.x) + " " + number(d.y) + "]"; };
    // The centroid's label has no colon: the blanks after it are what readers look for.
    return {
        "----------------   リージョン   ----------------",
        PadTo("面積:", kValueColumn) + number(p.area),
        PadTo("周囲:", kValueColumn) + length(p.perimeter),
        Axis("境界ボックス:", "X", range(p.bounds.min.x, p.bounds.max.x)),
        Axis("", "Y", range(p.bounds.min.y, p.bounds.max.y)),
        Axis("図心", "X", length(p.centroid.x)),
        Axis("", "Y", length(p.centroid.y)),
        Axis("慣性モーメント:", "X", number(p.momentX)),
        Axis("", "Y", number(p.momentY)),
        PadTo("慣性乗積:", kAxisColumn - 1) + "XY: " + number(p.productXY),
        Axis("回転半径:", "X", length(p.radiusX)),
        Axis("", "Y", length(p.radiusY)),
        "主慣性モーメントと重心周りの X-Y 方向:",
        Axis("", "I", number(p.principalI) + " 方向 " + direction(p.directionI)),
        Axis("", "J", number(p.principalJ) + " 方向 " + direction(p.directionJ)),
    };
}

std::string ReportFileBytes(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

}  // namespace cadsim
