#include "framework/pointer_input.h"

namespace framework {

void PointerTracker::SetHover(bool inside, PointerOutcome& outcome) {
    if (inside == hovered_)
        return;
    hovered_ = inside;
    (inside ? outcome.entered : outcome.left) = true;
}

void PointerTracker::SetPressed(bool pressed, PointerOutcome& outcome) {
    if (pressed == pressed_)
        return;
    pressed_ = pressed;
    outcome.pressedChanged = true;
}

bool PointerTracker::ClearPressed() {
    keyArmed_ = false;
    const bool was = pressed_;
    pressed_ = false;
    return was;
}

PointerOutcome PointerTracker::Feed(PointerEvent event, bool inside) {
    PointerOutcome outcome;
    switch (event) {
        case PointerEvent::Move:
            if (!trackingLeave_)
                outcome.trackLeave = trackingLeave_ = true;
            SetHover(inside, outcome);
            // While the pointer is held, the pressed look follows it off the control (and back).
            if (captured_ && (outcome.left || (outcome.entered && pressAgainOnReturn_)))
                SetPressed(inside, outcome);
            break;
        case PointerEvent::Leave:
            trackingLeave_ = false;
            // With the capture held the moves decide; a leave report then says nothing certain.
            if (!captured_)
                SetHover(false, outcome);
            break;
        case PointerEvent::Press:
        case PointerEvent::DoublePress:
            keyArmed_ = false;
            if (!captured_)
                outcome.takeCapture = captured_ = true;
            armed_ = event == PointerEvent::Press;
            outcome.doubleClick = event == PointerEvent::DoublePress;
            SetPressed(true, outcome);
            break;
        case PointerEvent::Release:
            if (captured_) {
                captured_ = false;
                outcome.releaseCapture = true;
            }
            outcome.click = armed_ && inside;
            armed_ = false;
            if (!keyArmed_)
                SetPressed(false, outcome);
            break;
        case PointerEvent::CaptureLost:
            // Our own release marked the capture given back first; this is someone else's taking.
            if (!captured_)
                break;
            captured_ = armed_ = false;
            outcome.pressCancelled = true;
            SetPressed(false, outcome);
            break;
        case PointerEvent::Disabled:
            if (captured_) {
                captured_ = false;
                outcome.releaseCapture = true;
            }
            armed_ = keyArmed_ = false;
            SetPressed(false, outcome);
            SetHover(false, outcome);
            break;
        case PointerEvent::PressKeyDown:
            // Auto-repeat sends more downs; a key press during a pointer press is ignored.
            if (captured_ || keyArmed_)
                break;
            keyArmed_ = true;
            SetPressed(true, outcome);
            break;
        case PointerEvent::PressKeyUp:
            if (!keyArmed_)
                break;
            keyArmed_ = false;
            outcome.click = true;
            SetPressed(false, outcome);
            break;
        case PointerEvent::CancelKey:
        case PointerEvent::FocusLost:
            if (!keyArmed_)
                break;
            keyArmed_ = false;
            SetPressed(false, outcome);
            break;
    }
    return outcome;
}

}  // namespace framework
