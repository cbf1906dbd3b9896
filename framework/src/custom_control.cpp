#include "framework/custom_control.h"

#include <windowsx.h>

namespace framework {

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner) {}

void TCustomControl::SetParent(TWinControl* parent) {
    if (!parent || Handle())
        return;
    const std::string className = ClassName();
    RegisterOwnClass(className.c_str(), CS_DBLCLKS, nullptr);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (tabStop_ ? WS_TABSTOP : 0);
    CreateOwnWindow(className.c_str(), style, 0, parent->Handle(), "", bounds_, controlId_);
}

Bounds TCustomControl::GetBounds() const {
    return Handle() ? TWinControl::GetBounds() : bounds_;
}

void TCustomControl::SetBounds(const Bounds& bounds) {
    bounds_ = bounds;
    if (Handle())
        TWinControl::SetBounds(bounds);
}

void TCustomControl::SetTabStop(bool tabStop) {
    tabStop_ = tabStop;
    if (!Handle())
        return;
    const LONG_PTR style = ::GetWindowLongPtrA(Handle(), GWL_STYLE);
    ::SetWindowLongPtrA(Handle(), GWL_STYLE, tabStop ? (style | WS_TABSTOP) : (style & ~LONG_PTR{WS_TABSTOP}));
}

void TCustomControl::Click() {
    if (OnClick)
        OnClick(this);
}

void TCustomControl::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TCustomControl::DoEnter() {
    if (OnEnter)
        OnEnter(this);
}

void TCustomControl::DoExit() {
    if (OnExit)
        OnExit(this);
}

void TCustomControl::Resize() {
    if (OnResize)
        OnResize(this);
}

void TCustomControl::MouseDown(int button, unsigned keys, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(this, button, keys, x, y);
}

void TCustomControl::MouseUp(int button, unsigned keys, int x, int y) {
    if (OnMouseUp)
        OnMouseUp(this, button, keys, x, y);
}

void TCustomControl::KeyDown(WORD& key) {
    if (OnKeyDown)
        OnKeyDown(this, key);
}

void TCustomControl::KeyUp(WORD& key) {
    if (OnKeyUp)
        OnKeyUp(this, key);
}

LRESULT TCustomControl::DialogCodes(const MSG*) const {
    return 0;
}

void TCustomControl::PaintWindow(HDC dc, const RECT&) {
    TCanvas canvas(dc);
    Paint(canvas);
}

void TCustomControl::UpdateHover(bool inside) {
    if (inside == hovering_)
        return;
    hovering_ = inside;
    Perform(inside ? CM_MOUSEENTER : CM_MOUSELEAVE);
}

void TCustomControl::ReleaseOwnCapture() {
    if (!MouseCapture())
        return;
    releasingCapture_ = true;
    ::ReleaseCapture();
    releasingCapture_ = false;
}

LRESULT TCustomControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    switch (message) {
        case WM_ERASEBKGND:
            return 0;  // the paint covers every pixel
        case BM_CLICK:
            // Accessibility tools and automation click push buttons this way; a self-painted one
            // answers as a standard one does.
            if (::IsWindowEnabled(Handle()))
                Click();
            return 0;
        case WM_GETDLGCODE:
            return DialogCodes(reinterpret_cast<const MSG*>(lParam));
        case WM_MOUSEMOVE: {
            // While the capture is held the moves come from outside too; the hover follows the pointer.
            const RECT client = ClientRect();
            UpdateHover(::PtInRect(&client, POINT{x, y}) != FALSE);
            if (!trackingLeave_) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
                trackingLeave_ = ::TrackMouseEvent(&track) != FALSE;
            }
            if (OnMouseMove)
                OnMouseMove(this, -1, static_cast<unsigned>(wParam), x, y);
            return 0;
        }
        case WM_MOUSELEAVE:
            trackingLeave_ = false;
            // With the capture held, the moves decide; a leave notice then says nothing certain.
            if (!MouseCapture())
                UpdateHover(false);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            ::SetCapture(Handle());
            // The second press of a double click is no click of its own.
            clicked_ = message == WM_LBUTTONDOWN;
            if (message == WM_LBUTTONDBLCLK)
                DblClick();
            MouseDown(0, static_cast<unsigned>(wParam), x, y);
            return 0;
        case WM_LBUTTONUP: {
            // The mouse goes back to the user before the click runs: a click handler may run
            // for long (and wait for a click in another program meanwhile).
            ReleaseOwnCapture();
            const RECT client = ClientRect();
            if (clicked_) {
                clicked_ = false;
                if (::PtInRect(&client, POINT{x, y}))
                    Click();
            }
            if (Handle())
                MouseUp(0, static_cast<unsigned>(wParam), x, y);
            return 0;
        }
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            MouseDown(message == WM_RBUTTONDOWN ? 1 : 2, static_cast<unsigned>(wParam), x, y);
            return 0;
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            MouseUp(message == WM_RBUTTONUP ? 1 : 2, static_cast<unsigned>(wParam), x, y);
            return 0;
        case WM_CAPTURECHANGED:
            // Losing the capture to someone else (a message box, another window) cancels the click.
            if (!releasingCapture_) {
                clicked_ = false;
                CaptureLost();
            }
            break;
        case WM_KEYDOWN: {
            WORD key = static_cast<WORD>(wParam);
            KeyDown(key);
            return 0;
        }
        case WM_KEYUP: {
            WORD key = static_cast<WORD>(wParam);
            KeyUp(key);
            return 0;
        }
        case WM_CHAR:
            if (OnKeyPress) {
                char key = static_cast<char>(wParam);
                OnKeyPress(this, key);
            }
            return 0;
        case WM_SETFOCUS:
            DoEnter();
            return 0;
        case WM_KILLFOCUS:
            DoExit();
            return 0;
        case WM_SIZE:
            Resize();
            return 0;
        case WM_ENABLE:
            if (!wParam) {
                ReleaseOwnCapture();
                UpdateHover(false);
            }
            break;
    }
    return TWinControl::HandleMessage(message, wParam, lParam);
}

}  // namespace framework
