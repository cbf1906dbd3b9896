#include "widgets/es/marquee_controller.h"

namespace es {

void MarqueeController::StartTimer() {
    host_.StopTimer();
    interval_ = ScrollInterval(speed_);
    if (active_)
        host_.StartTimer(interval_, TimerResolution(interval_, resolutionFloor_));
}

void MarqueeController::SetActive(bool value) {
    if (value != active_) {
        active_ = value;
        position_ = {0, 0};
        if (active_)
            position_ = StartPosition(direction_, behavior_, host_.MeasureText());
        host_.ClearClient();
        host_.Invalidate();
    }
    StartTimer();
}

template <typename T>
void MarqueeController::Restart(T& field, T value) {
    if (field == value)
        return;
    const bool wasActive = active_;
    SetActive(false);
    field = value;
    SetActive(wasActive);
}

void MarqueeController::SetBehavior(TEsBehaviors value) {
    Restart(behavior_, value);
}

void MarqueeController::SetScrollDirection(TEsScrollDirection value) {
    Restart(direction_, value);
}

void MarqueeController::SetScrollSpeed(int value) {
    if (value == speed_ || value < 0 || value > kMaxScrollSpeed)
        return;
    speed_ = value;
    host_.StopTimer();
    if (speed_ > 0)
        StartTimer();
    host_.Invalidate();
}

void MarqueeController::Tick() {
    if (!active_)
        return;
    MarqueeState state{position_, direction_};
    const bool cycled = StepMarquee(state, behavior_, host_.Extent());
    position_ = state.position;
    direction_ = state.direction;
    if (cycled)
        DoCycle();
    host_.Invalidate();
}

void MarqueeController::DoCycle() {
    host_.RaiseCycle();
    if (behavior_ == TEsBehaviors::bhOnce)
        SetActive(false);
}

}  // namespace es
