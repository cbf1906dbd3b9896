#pragma once
// The value types of the 3D label and the marquee, shared by the portable arithmetic and the
// Win32 controls. Enumerations keep their published order: a form resource stores ordinals.

#include <cstdint>

namespace es {

// 0x00BBGGRR; a high byte of 0xFF names a system colour.
using TColor = std::uint32_t;

enum class TEsAppearance { apNone, apCustom, apFlying, apRaised, apSunken, apShadow };
enum class TEsColorScheme { csCustom, csText, csWindows, csEmbossed, csGold, csSteel };
enum class TEsGraduateStyle { gsNone, gsHorizontal, gsVertical };
enum class TEsShadeDirection { sdNone, sdUp, sdUpRight, sdRight, sdDownRight, sdDown, sdDownLeft, sdLeft, sdUpLeft };
enum class TEsShadeStyle { ssPlain, ssExtrude, ssGraduated };

enum class TEsScrollDirection { sdRightToLeft, sdLeftToRight, sdTopToBottom, sdBottomToTop };
enum class TEsBehaviors { bhCycle, bhBounce, bhOnce };

// DrawText format bits the painters use; the values are the platform's.
constexpr unsigned kDtLeft = 0x0;
constexpr unsigned kDtCenter = 0x1;
constexpr unsigned kDtRight = 0x2;
constexpr unsigned kDtWordBreak = 0x10;
constexpr unsigned kDtExpandTabs = 0x40;
constexpr unsigned kDtCalcRect = 0x400;
constexpr unsigned kDtNoPrefix = 0x800;

struct Rect {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect& other) const {
        return left == other.left && top == other.top && right == other.right && bottom == other.bottom;
    }
};

struct Point {
    int x, y;
    bool operator==(const Point& other) const { return x == other.x && y == other.y; }
};

constexpr int RedOf(TColor color) {
    return static_cast<int>(color & 0xFF);
}
constexpr int GreenOf(TColor color) {
    return static_cast<int>((color >> 8) & 0xFF);
}
constexpr int BlueOf(TColor color) {
    return static_cast<int>((color >> 16) & 0xFF);
}
// As the platform's RGB macro: each channel keeps its low byte.
constexpr TColor MakeColor(int red, int green, int blue) {
    return static_cast<TColor>(red & 0xFF) | (static_cast<TColor>(green & 0xFF) << 8) |
           (static_cast<TColor>(blue & 0xFF) << 16);
}

}  // namespace es
