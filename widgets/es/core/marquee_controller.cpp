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
            position_ = StartPosition(direction_, behavior_, extent_ = host_.MeasureText());
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

void MarqueeController::SetPixelScale(int dpi) {
    if (dpi <= 0 || dpi == dpi_)
        return;
    position_ = {static_cast<int>(static_cast<long long>(position_.x) * dpi / dpi_),
                 static_cast<int>(static_cast<long long>(position_.y) * dpi / dpi_)};
    dpi_ = dpi;
    carry_ = 0;
}

TickOutcome MarqueeController::Tick(int ticks) {
    TickOutcome outcome;
    const Point from = position_;
    // The distance per second follows the scale exactly: no speed is rounded, the fraction waits.
    long long steps = 0;
    if (active_ && ticks > 0) {
        const long long moved = static_cast<long long>(carry_) + static_cast<long long>(ticks) * dpi_;
        steps = moved / 96;
        carry_ = static_cast<int>(moved % 96);
    }
    for (long long step = 0; step < steps && active_; ++step) {
        MarqueeState state{position_, direction_};
        const bool cycled = StepMarquee(state, behavior_, extent_);
        position_ = state.position;
        direction_ = state.direction;
        ++outcome.steps;
        if (cycled) {
            ++outcome.cycles;
            DoCycle();  // may stop a once-only marquee, which repaints it whole
        }
    }
    outcome.position = position_;
    outcome.stopped = outcome.steps > 0 && !active_;
    if (outcome.steps > 0 && !outcome.stopped)
        outcome.refresh = MovedArea(from, position_, MarqueeImageSize(direction_, extent_), extent_.clientWidth,
                                    extent_.clientHeight);
    return outcome;
}

void MarqueeController::DoCycle() {
    host_.RaiseCycle();
    if (behavior_ == TEsBehaviors::bhOnce)
        SetActive(false);
}

}  // namespace es
