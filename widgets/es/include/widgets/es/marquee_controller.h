#pragma once
// The marquee's state machine: Active, Behavior, ScrollDirection, ScrollSpeed and the position, with
// the rules for writing each and for a timer tick. The control around it measures, runs the timer,
// clears and invalidates through MarqueeHost; a tick asks nothing of it and returns what the
// control is to paint.

#include "widgets/es/marquee_motion.h"

namespace es {

class MarqueeHost {
public:
    // Measures the caption again and returns the client and text size.
    virtual MarqueeExtent MeasureText() = 0;
    virtual void StartTimer(unsigned interval, unsigned resolution) = 0;
    virtual void StopTimer() = 0;
    // Fills the client area with the background at once.
    virtual void ClearClient() = 0;
    virtual void Invalidate() = 0;
    virtual void RaiseCycle() = 0;

protected:
    ~MarqueeHost() = default;
};

// What one or more timer ticks did.
struct TickOutcome {
    int steps = 0;  // one-pixel steps made (0: inactive, nothing to paint)
    Point position{0, 0};
    int cycles = 0;        // wraps and reversals among the steps (OnCycle fired as many times)
    bool stopped = false;  // a once-only marquee stopped; the stop repainted the whole control
    // The part of the client area whose pixels the steps changed; the rest stays as it is.
    Rect refresh{0, 0, 0, 0};
};

class MarqueeController {
public:
    MarqueeController(MarqueeHost& host, unsigned resolutionFloor) : host_(host), resolutionFloor_(resolutionFloor) {}

    bool Active() const { return active_; }
    // Restarts the timer in every case; a change also moves the text to its start (or to (0, 0)).
    void SetActive(bool value);
    TEsBehaviors Behavior() const { return behavior_; }
    void SetBehavior(TEsBehaviors value);
    TEsScrollDirection ScrollDirection() const { return direction_; }
    void SetScrollDirection(TEsScrollDirection value);
    int ScrollSpeed() const { return speed_; }
    // Above 10 is ignored; 0 stops the movement where the text stands.
    void SetScrollSpeed(int value);

    Point Position() const { return position_; }
    unsigned Interval() const { return interval_; }

    // Timer ticks (several when they queued up): one-pixel steps while active, as many per tick as
    // the scale makes a design pixel, the fraction carried to the next tick. A once-only marquee
    // stops at its first cycle and the steps after it are dropped.
    TickOutcome Tick(int ticks = 1);
    // The display scale the steps are made at (96: one pixel per tick); the position moves with it,
    // so that the text stays where it was in proportion.
    void SetPixelScale(int dpi);
    int PixelScale() const { return dpi_; }
    // The client and text size the steps work with: measured with the caption, given again on a resize.
    void SetExtent(const MarqueeExtent& extent) { extent_ = extent; }
    const MarqueeExtent& Extent() const { return extent_; }
    // After a wrap or a reversal: the cycle event, and a once-only marquee stops.
    void DoCycle();

    // Starts the timer at the interval of the speed when active; otherwise only stops it.
    void StartTimer();

private:
    template <typename T>
    void Restart(T& field, T value);

    MarqueeHost& host_;
    unsigned resolutionFloor_;
    bool active_ = false;
    TEsBehaviors behavior_ = TEsBehaviors::bhCycle;
    int speed_ = 5;
    TEsScrollDirection direction_ = TEsScrollDirection::sdRightToLeft;
    Point position_{0, 0};
    MarqueeExtent extent_{0, 0, 0, 0};
    unsigned interval_ = 0;
    int dpi_ = 96;
    int carry_ = 0;  // the part of a pixel the ticks so far moved beyond the whole steps, in 96ths
};

}  // namespace es
