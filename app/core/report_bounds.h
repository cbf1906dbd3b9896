#pragma once
// The bounding box of the mass-properties report: whether the region measured lies around a point.

#include <string>

namespace app {

// True when the report's last bounding box (the "境界ボックス" line with "X: a -- b" and the
// "Y: c -- d" line under it) holds the point, edges included. False when the box or the point
// cannot be read as numbers written with a "." decimal point, as the CAD program writes them.
bool ReportBoxHolds(const std::u16string& content, const std::u16string& x, const std::u16string& y);

}  // namespace app
