#pragma once
// The framework's colour value: 0x00BBGGRR, red in the lowest byte. A value whose high byte is
// 0xFF names a system colour by its index in the low byte; ColorToRGB (canvas.h) resolves it.

#include <cstdint>

namespace framework {

using TColor = std::uint32_t;

constexpr TColor SystemColor(int index) {
    return 0xFF000000u | static_cast<TColor>(index);
}
constexpr bool IsSystemColor(TColor color) {
    return (color & 0xFF000000u) == 0xFF000000u;
}
constexpr std::uint8_t RedOf(TColor color) {
    return static_cast<std::uint8_t>(color & 0xFF);
}
constexpr std::uint8_t GreenOf(TColor color) {
    return static_cast<std::uint8_t>((color >> 8) & 0xFF);
}
constexpr std::uint8_t BlueOf(TColor color) {
    return static_cast<std::uint8_t>((color >> 16) & 0xFF);
}
constexpr TColor MakeColor(int red, int green, int blue) {
    return static_cast<TColor>(red & 0xFF) | (static_cast<TColor>(green & 0xFF) << 8) |
           (static_cast<TColor>(blue & 0xFF) << 16);
}

constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clMoneyGreen = 0xC0DCC0;
constexpr TColor clSkyBlue = 0xF0CAA6;
constexpr TColor clCream = 0xF0FBFF;
constexpr TColor clMedGray = 0xA4A0A0;

// System colours by their Win32 index (COLOR_...).
constexpr TColor clScrollBar = SystemColor(0);
constexpr TColor clBackground = SystemColor(1);
constexpr TColor clActiveCaption = SystemColor(2);
constexpr TColor clWindow = SystemColor(5);
constexpr TColor clWindowFrame = SystemColor(6);
constexpr TColor clWindowText = SystemColor(8);
constexpr TColor clHighlight = SystemColor(13);
constexpr TColor clHighlightText = SystemColor(14);
constexpr TColor clBtnFace = SystemColor(15);
constexpr TColor clBtnShadow = SystemColor(16);
constexpr TColor clGrayText = SystemColor(17);
constexpr TColor clBtnText = SystemColor(18);
constexpr TColor clBtnHighlight = SystemColor(20);
constexpr TColor cl3DDkShadow = SystemColor(21);
constexpr TColor cl3DLight = SystemColor(22);

constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

}  // namespace framework
