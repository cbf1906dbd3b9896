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
    CreateOwnWindow(className.c_str(), style, 0, parent->Handle(), u"", bounds_, controlId_);
    uiState_ = static_cast<unsigned>(::SendMessageA(parent->Handle(), WM_QUERYUISTATE, 0, 0));
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

void TCustomControl::ApplyPointer(const PointerOutcome& outcome) {
    if (outcome.takeCapture)
        ::SetCapture(Handle());
    if (outcome.trackLeave) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, Handle(), 0};
        ::TrackMouseEvent(&track);
    }
    // The mouse goes back to the user before a click runs: a click handler may run for long
    // (and wait for a click in another program meanwhile). Our own release is no capture loss:
    // the tracker has already marked the capture given back.
    if (outcome.releaseCapture && MouseCapture())
        ::ReleaseCapture();
    if (outcome.pressCancelled)
        CaptureLost();
    if (outcome.left)
        Perform(CM_MOUSELEAVE);
    if (outcome.entered)
        Perform(CM_MOUSEENTER);
    if (outcome.pressedChanged)
        PressedChanged();
    if (outcome.doubleClick)
        DblClick();
    if (outcome.click)
        Click();
}

void TCustomControl::FeedPointer(PointerEvent event, bool inside) {
    ApplyPointer(pointer_.Feed(event, inside));
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
            FeedPointer(PointerEvent::Move, ::PtInRect(&client, POINT{x, y}) != FALSE);
            if (OnMouseMove)
                OnMouseMove(this, -1, static_cast<unsigned>(wParam), x, y);
            return 0;
        }
        case WM_MOUSELEAVE:
            FeedPointer(PointerEvent::Leave);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            FeedPointer(message == WM_LBUTTONDOWN ? PointerEvent::Press : PointerEvent::DoublePress);
            MouseDown(0, static_cast<unsigned>(wParam), x, y);
            return 0;
        case WM_LBUTTONUP: {
            const RECT client = ClientRect();
            FeedPointer(PointerEvent::Release, ::PtInRect(&client, POINT{x, y}) != FALSE);
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
            FeedPointer(PointerEvent::CaptureLost);
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
        case WM_UPDATEUISTATE:
            if (LOWORD(wParam) == UIS_SET)
                uiState_ |= HIWORD(wParam);
            else if (LOWORD(wParam) == UIS_CLEAR)
                uiState_ &= ~static_cast<unsigned>(HIWORD(wParam));
            break;
        case WM_ENABLE:
            if (!wParam)
                FeedPointer(PointerEvent::Disabled);
            break;
    }
    return TWinControl::HandleMessage(message, wParam, lParam);
}

}  // namespace framework
