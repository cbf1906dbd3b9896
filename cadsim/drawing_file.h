#pragma once
// The simulator's drawing file: one entity per line, blanks between the parts, '#' starts a
// comment, numbers in the C locale with a '.':
//
//   polyline x,y x,y x,y ...   a closed polyline through at least three corners
//   region x,y x,y x,y ...     a region bounded by such a polygon
//   circle x,y radius
//   openpolyline x,y x,y ...   lines through at least two corners that do not close: a gap
//
// A shape may repeat its first corner at the end. Its edges must not cross or touch, and it must
// have an area. An open polyline must not end where it starts (that is a polyline). Portable: no
// window system here.

#include <string>

#include "drawing.h"

namespace cadsim {

// Limits that keep a bad file from making the start slow.
constexpr std::size_t kMostEntities = 10000;
constexpr std::size_t kMostCorners = 2000;

// Adds the file's entities to drawing, in file order. False, with error "line N: ...", at the
// first line that is not right; drawing is then left unchanged.
bool ParseDrawingFile(const std::string& text, Drawing& drawing, std::string& error);

}  // namespace cadsim
