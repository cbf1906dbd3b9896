#pragma once
// The framework's point and rectangle, free of Win32 so that the portable arithmetic of every layer
// shares them.

namespace framework {

struct Point {
    int x, y;
    bool operator==(const Point& other) const { return x == other.x && y == other.y; }
};

struct Rect {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

}  // namespace framework
