#pragma once
// What a control does with the pointer and its press key: press, drag off and back, release,
// click once the capture is given back, hover enter and leave, capture lost. Every control of the
// framework feeds this one machine with what its window was told and carries out the outcome, so
// that press, hover and capture are decided in one place.

namespace framework {

enum class PointerEvent {
    Move,          // the pointer moved; inside: over the control
    Press,         // a button went down over the control (it captures the pointer)
    DoublePress,   // the second press of a double click: captures and presses, but is no click
    Release,       // the last held button came up; inside: over the control
    Leave,         // the window system reports the pointer gone (late, and also while captured)
    CaptureLost,   // another window took the capture
    Disabled,      // the control was disabled
    PressKeyDown,  // the push key (Space) went down
    PressKeyUp,    // the push key came up
    CancelKey,     // Escape: a key press ends without a click
    FocusLost,     // as Escape, for a key press
};

struct PointerOutcome {
    bool takeCapture = false;
    // Give the capture back before acting on a release: a click handler may run for long.
    bool releaseCapture = false;
    // Ask the window system to report when the pointer leaves.
    bool trackLeave = false;
    bool entered = false;
    bool left = false;
    bool click = false;
    bool doubleClick = false;
    // A press held with the capture ended without a release (another window took the pointer).
    bool pressCancelled = false;
    bool pressedChanged = false;
};

class PointerTracker {
public:
    // pressAgainOnReturn: a press dragged off the control and back shows pressed again (as a
    // standard push button); without it the pressed look ends at the first leave.
    explicit PointerTracker(bool pressAgainOnReturn = true) : pressAgainOnReturn_(pressAgainOnReturn) {}

    PointerOutcome Feed(PointerEvent event, bool inside = false);
    // Ends the pressed look and a pending key press (a click ran by another way); true when it showed.
    bool ClearPressed();

    bool Hovered() const { return hovered_; }
    bool Captured() const { return captured_; }
    bool Pressed() const { return pressed_; }

private:
    void SetHover(bool inside, PointerOutcome& outcome);
    void SetPressed(bool pressed, PointerOutcome& outcome);

    bool pressAgainOnReturn_;
    bool hovered_ = false;
    bool captured_ = false;
    bool armed_ = false;     // a pointer press that becomes a click when released inside
    bool keyArmed_ = false;  // a key press that becomes a click when the key comes up
    bool pressed_ = false;
    bool trackingLeave_ = false;
};

}  // namespace framework
