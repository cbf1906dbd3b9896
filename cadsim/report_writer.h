#pragma once
// The host's mass-properties analysis as text: the lines it prints to the history and writes to
// the report file. Labels stand at the left with the values at a fixed column; "X:" and "Y:" of one
// quantity stand under each other. Portable: no window system here.

#include <string>
#include <vector>

#include "linear_units.h"
#include "mass_properties.h"

namespace cadsim {

// Code-page-932 lines, without line ends. Lengths and coordinates (perimeter, bounding box,
// centroid, radii of gyration) are printed in the linear units; areas, moments and directions as
// plain numbers at their precision (see FormatNumber).
std::vector<std::string> ReportLines(const MassProperties& properties, const LinearUnits& units = LinearUnits());

// The report file's bytes: every line ended by CR LF.
std::string ReportFileBytes(const std::vector<std::string>& lines);

}  // namespace cadsim
