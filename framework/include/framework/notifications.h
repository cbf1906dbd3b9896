#pragma once
// The framework's own notification messages to its controls, free of Win32 so that the portable
// logic of a control can send them.

namespace framework {

constexpr unsigned CM_BASE = 0xB000;
// The form offers Enter and Escape to its controls with this notification (wParam: the virtual
// key, lParam: the key message's data) before the key reaches the focused control; a control that
// takes the key answers nonzero.
constexpr unsigned CM_DIALOGKEY = CM_BASE + 6;
constexpr unsigned CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr unsigned CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr unsigned CM_COLORCHANGED = CM_BASE + 13;
constexpr unsigned CM_FONTCHANGED = CM_BASE + 14;
constexpr unsigned CM_PARENTFONTCHANGED = CM_BASE + 15;
constexpr unsigned CM_TEXTCHANGED = CM_BASE + 18;
constexpr unsigned CM_MOUSEENTER = CM_BASE + 19;
constexpr unsigned CM_MOUSELEAVE = CM_BASE + 20;
constexpr unsigned CM_VISIBLECHANGED = CM_BASE + 21;
// The form was laid out at another DPI (wParam: the DPI before); controls make their cached
// images and fonts anew. Passed down to every control.
constexpr unsigned CM_DPICHANGED = CM_BASE + 22;
// The system's colours or the high-contrast theme changed; passed down to every control.
constexpr unsigned CM_SYSCOLORCHANGE = CM_BASE + 23;

// DrawText format bits the portable text arithmetic reads; the values are the platform's, checked
// against it where the Win32 build compiles.
constexpr unsigned kDtLeft = 0x0;
constexpr unsigned kDtCenter = 0x1;
constexpr unsigned kDtRight = 0x2;
constexpr unsigned kDtWordBreak = 0x10;
constexpr unsigned kDtExpandTabs = 0x40;
constexpr unsigned kDtCalcRect = 0x400;
constexpr unsigned kDtNoPrefix = 0x800;

}  // namespace framework
