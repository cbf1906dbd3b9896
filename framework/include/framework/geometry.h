#pragma once
// The framework names the program's one point and rectangle as its own.

#include "platform/geometry.h"

namespace framework {

using Point = platform::Point;
using Rect = platform::Rect;

}  // namespace framework
