// The portable headers carry some of the platform's numbers so that portable code can use them
// without windows.h; here, where windows.h is included, the compiler checks that they agree.
#include <windows.h>

#include "framework/color.h"
#include "framework/geometry.h"
#include "framework/notifications.h"

namespace framework {

static_assert(kDtLeft == DT_LEFT && kDtCenter == DT_CENTER && kDtRight == DT_RIGHT, "DrawText alignment");
static_assert(kDtWordBreak == DT_WORDBREAK && kDtExpandTabs == DT_EXPANDTABS, "DrawText layout bits");
static_assert(kDtCalcRect == DT_CALCRECT && kDtNoPrefix == DT_NOPREFIX, "DrawText measuring bits");
static_assert(MakeColor(0x12, 0x34, 0x56) == RGB(0x12, 0x34, 0x56), "colour layout 0x00BBGGRR");
static_assert(RedOf(RGB(1, 2, 3)) == GetRValue(RGB(1, 2, 3)) && GreenOf(RGB(1, 2, 3)) == GetGValue(RGB(1, 2, 3)) &&
                  BlueOf(RGB(1, 2, 3)) == GetBValue(RGB(1, 2, 3)),
              "colour channels");
static_assert(clScrollBar == SystemColor(COLOR_SCROLLBAR) && clBackground == SystemColor(COLOR_BACKGROUND) &&
                  clActiveCaption == SystemColor(COLOR_ACTIVECAPTION) && clWindow == SystemColor(COLOR_WINDOW) &&
                  clWindowFrame == SystemColor(COLOR_WINDOWFRAME) && clWindowText == SystemColor(COLOR_WINDOWTEXT),
              "system colour indexes");
static_assert(clHighlight == SystemColor(COLOR_HIGHLIGHT) && clHighlightText == SystemColor(COLOR_HIGHLIGHTTEXT) &&
                  clBtnFace == SystemColor(COLOR_BTNFACE) && clBtnShadow == SystemColor(COLOR_BTNSHADOW) &&
                  clGrayText == SystemColor(COLOR_GRAYTEXT) && clBtnText == SystemColor(COLOR_BTNTEXT),
              "system colour indexes");
static_assert(clBtnHighlight == SystemColor(COLOR_BTNHIGHLIGHT) && cl3DDkShadow == SystemColor(COLOR_3DDKSHADOW) &&
                  cl3DLight == SystemColor(COLOR_3DLIGHT),
              "system colour indexes");
// The framework's notifications sit above the platform's range for a window class's own messages.
static_assert(CM_BASE >= WM_USER && CM_VISIBLECHANGED < 0xC000, "notification range");
static_assert(sizeof(Rect) == sizeof(RECT) && sizeof(Point) == sizeof(POINT), "layouts");

}  // namespace framework
