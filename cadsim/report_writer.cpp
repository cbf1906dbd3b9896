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

std::string Single(const char* label, double value) {
    return PadTo(label, kValueColumn) + Fixed4(value);
}

// The first line of a quantity with an X and a Y part carries the label, the second only blanks.
std::string Axis(const char* label, const char* axis, const std::string& value) {
    return PadTo(label, kAxisColumn) + axis + ": " + value;
}

std::string Range(double from, double to) {
    return Fixed4(from) + "  --  " + Fixed4(to);
}

std::string Direction(const Point& direction) {
    return "[" + Fixed4(direction.x) + " " + Fixed4(direction.y) + "]";
}

}  // namespace

std::vector<std::string> ReportLines(const MassProperties& p) {
    // The centroid's label has no colon: the blanks after it are what readers look for.
    return {
        "----------------   リージョン   ----------------",
        Single("面積:", p.area),
        Single("周囲:", p.perimeter),
        Axis("境界ボックス:", "X", Range(p.bounds.min.x, p.bounds.max.x)),
        Axis("", "Y", Range(p.bounds.min.y, p.bounds.max.y)),
        Axis("図心", "X", Fixed4(p.centroid.x)),
        Axis("", "Y", Fixed4(p.centroid.y)),
        Axis("慣性モーメント:", "X", Fixed4(p.momentX)),
        Axis("", "Y", Fixed4(p.momentY)),
        PadTo("慣性乗積:", kAxisColumn - 1) + "XY: " + Fixed4(p.productXY),
        Axis("回転半径:", "X", Fixed4(p.radiusX)),
        Axis("", "Y", Fixed4(p.radiusY)),
        "主慣性モーメントと重心周りの X-Y 方向:",
        Axis("", "I", Fixed4(p.principalI) + " 方向 " + Direction(p.directionI)),
        Axis("", "J", Fixed4(p.principalJ) + " 方向 " + Direction(p.directionJ)),
    };
}

std::string ReportFileBytes(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

}  // namespace cadsim
