#include <windowsx.h>

#include <algorithm>
#include <vector>

#include "framework/canvas.h"
#include "framework/controls.h"
#include "framework/graphic_control.h"

// A windowed control's window-less children: it paints them after itself and hands them the mouse.
namespace framework {
namespace {

bool IsButtonDown(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
           message == WM_LBUTTONDBLCLK || message == WM_RBUTTONDBLCLK || message == WM_MBUTTONDBLCLK;
}

bool IsButtonUp(UINT message) {
    return message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
}

}  // namespace

void TWinControl::InsertGraphic(TGraphicControl* control) {
    if (std::find(graphics_.begin(), graphics_.end(), control) == graphics_.end())
        graphics_.push_back(control);
}

void TWinControl::RemoveGraphic(TGraphicControl* control) {
    graphics_.erase(std::remove(graphics_.begin(), graphics_.end(), control), graphics_.end());
    if (hovered_ == control)
        hovered_ = nullptr;
    if (captured_ == control) {
        captured_ = nullptr;
        if (childPointer_.Feed(PointerEvent::Disabled).releaseCapture && ::GetCapture() == handle_)
            ::ReleaseCapture();
    }
}

void TWinControl::PaintGraphics(HDC dc, const RECT& area) {
    for (TGraphicControl* graphic : graphics_) {
        const RECT bounds = graphic->BoundsRect();
        RECT overlap;
        if (!graphic->Visible() || !::IntersectRect(&overlap, &bounds, &area))
            continue;
        // Each child starts from the parent's DC as it was, whatever the one before selected.
        SavedDcState saved(dc);
        ::IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
        ::OffsetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
        TCanvas canvas(dc);
        graphic->Paint(canvas);
    }
}

bool TWinControl::RouteMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    TGraphicControl* under = nullptr;
    for (auto it = graphics_.rbegin(); it != graphics_.rend(); ++it) {
        const RECT bounds = (*it)->BoundsRect();
        if ((*it)->Visible() && (*it)->Enabled() && ::PtInRect(&bounds, point)) {
            under = *it;
            break;
        }
    }
    if (message == WM_MOUSEMOVE) {
        SetHovered(under, wParam);
        if (childPointer_.Feed(PointerEvent::Move, true).trackLeave) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
            ::TrackMouseEvent(&track);
        }
    }
    TGraphicControl* target = captured_ ? captured_ : under;
    if (!target)
        return false;
    if (IsButtonDown(message) && !captured_) {
        captured_ = target;
        if (childPointer_.Feed(PointerEvent::Press, true).takeCapture)
            ::SetCapture(handle_);
    }
    if (IsButtonUp(message) && captured_ && !(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
        captured_ = nullptr;
        if (childPointer_.Feed(PointerEvent::Release, true).releaseCapture && ::GetCapture() == handle_)
            ::ReleaseCapture();
    }
    const RECT bounds = target->BoundsRect();
    target->Perform(message, wParam, MAKELPARAM(point.x - bounds.left, point.y - bounds.top));
    return true;
}

void TWinControl::SetHovered(TGraphicControl* control, WPARAM keys) {
    if (hovered_ == control)
        return;
    TGraphicControl* left = std::exchange(hovered_, control);
    if (left)
        left->Perform(CM_MOUSELEAVE, keys, 0);
    if (control)
        control->Perform(CM_MOUSEENTER, keys, 0);
}

void TWinControl::ChildPointerLeft() {
    childPointer_.Feed(PointerEvent::Leave);
    SetHovered(nullptr, 0);
}

void TWinControl::ChildCaptureLost() {
    if (!childPointer_.Feed(PointerEvent::CaptureLost).pressCancelled || !captured_)
        return;
    TGraphicControl* lost = std::exchange(captured_, nullptr);
    lost->Perform(WM_CAPTURECHANGED, 0, 0);
}

}  // namespace framework
