#pragma once
// The program's one point and one rectangle, free of Win32 so that the portable arithmetic of every
// layer shares them. The conversions to the Win32 structs exist only where windows.h came first.

namespace platform {

struct Point {
    int x, y;
    bool operator==(const Point& other) const { return x == other.x && y == other.y; }
};

struct Rect {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    // Right and bottom edges are outside, as in Win32.
    bool Contains(const Point& point) const {
        return point.x >= left && point.x < right && point.y >= top && point.y < bottom;
    }
    bool operator==(const Rect& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

#ifdef _WINDEF_
inline RECT ToRECT(const Rect& rect) {
    return RECT{rect.left, rect.top, rect.right, rect.bottom};
}
inline Rect FromRECT(const RECT& rect) {
    return Rect{rect.left, rect.top, rect.right, rect.bottom};
}
inline POINT ToPOINT(const Point& point) {
    return POINT{point.x, point.y};
}
inline Point FromPOINT(const POINT& point) {
    return Point{point.x, point.y};
}
#endif

}  // namespace platform
