#include "framework/graphic_control.h"

#include <windowsx.h>

namespace framework {

TGraphicControl::~TGraphicControl() {
    BeginDestroy();
    SetParent(nullptr);
}

void TGraphicControl::SetParent(TWinControl* parent) {
    if (Parent() == parent)
        return;
    if (TWinControl* old = Parent()) {
        Invalidate();
        old->RemoveGraphic(this);
    }
    SetParentObject(parent);
    if (!parent)
        return;
    parent->InsertGraphic(this);
    if (parentFont_) {
        font_ = parent->Font();
        FontChanged();
    }
    if (parentColor_)
        color_ = parent->Color();
    Invalidate();
}

RECT TGraphicControl::BoundsRect() const {
    return RECT{bounds_.left, bounds_.top, bounds_.left + bounds_.width, bounds_.top + bounds_.height};
}

void TGraphicControl::SetBounds(const Bounds& bounds) {
    if (bounds.left == bounds_.left && bounds.top == bounds_.top && bounds.width == bounds_.width &&
        bounds.height == bounds_.height)
        return;
    Invalidate();
    bounds_ = bounds;
    Invalidate();
    BoundsChanged();
}

void TGraphicControl::SetVisible(bool visible) {
    if (visible_ == visible)
        return;
    if (!visible)
        Invalidate();
    visible_ = visible;
    Invalidate();
    Perform(CM_VISIBLECHANGED);
}

void TGraphicControl::SetEnabled(bool enabled) {
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    Perform(CM_ENABLEDCHANGED);
}

void TGraphicControl::SetCaption(const std::u16string& caption) {
    if (caption_ == caption)
        return;
    caption_ = caption;
    Perform(CM_TEXTCHANGED);
}

void TGraphicControl::Invalidate() {
    TWinControl* parent = Parent();
    if (!parent || !parent->Handle() || !visible_)
        return;
    const RECT rect = BoundsRect();
    ::InvalidateRect(parent->Handle(), &rect, Opaque() ? FALSE : TRUE);
}

void TGraphicControl::Refresh() {
    Invalidate();
    if (TWinControl* parent = Parent(); parent && parent->Handle())
        ::UpdateWindow(parent->Handle());
}

void TGraphicControl::Click() {
    if (OnClick)
        OnClick(this);
}

LRESULT TGraphicControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    const int x = GET_X_LPARAM(lParam);
    const int y = GET_Y_LPARAM(lParam);
    const unsigned keys = static_cast<unsigned>(wParam);
    switch (message) {
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // The parent holds the capture for its children; the tracker keeps the press.
            pointer_.Feed(PointerEvent::Press);
            if (OnMouseDown)
                OnMouseDown(this, 0, keys, x, y);
            return 0;
        case WM_RBUTTONDOWN:
            if (OnMouseDown)
                OnMouseDown(this, 1, keys, x, y);
            return 0;
        case WM_LBUTTONUP: {
            const bool inside = x >= 0 && y >= 0 && x < bounds_.width && y < bounds_.height;
            const bool click = pointer_.Feed(PointerEvent::Release, inside).click;
            if (OnMouseUp)
                OnMouseUp(this, 0, keys, x, y);
            if (click)
                Click();
            return 0;
        }
        case WM_RBUTTONUP:
            if (OnMouseUp)
                OnMouseUp(this, 1, keys, x, y);
            return 0;
        case WM_MOUSEMOVE:
            if (OnMouseMove)
                OnMouseMove(this, -1, keys, x, y);
            return 0;
        case WM_CAPTURECHANGED:
            pointer_.Feed(PointerEvent::CaptureLost);
            return 0;
        case CM_VISIBLECHANGED:
            return 0;
    }
    return TControl::HandleMessage(message, wParam, lParam);
}

}  // namespace framework
