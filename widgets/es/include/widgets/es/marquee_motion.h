#pragma once
// The marquee's movement: timer interval, start position, one-pixel steps with wrap and bounce,
// the off-screen image's size and the strip a paint clears. Pure arithmetic over the control's
// client size and the measured caption.

#include "widgets/es/es_types.h"

namespace es {

constexpr int kMaxScrollSpeed = 10;

// 2 x (10 - speed) milliseconds, never below 2.
unsigned ScrollInterval(int scrollSpeed);
// The smallest resolution used: 2 ms, within the timer service's own range.
unsigned ResolutionFloor(unsigned minPeriod, unsigned maxPeriod);
unsigned TimerResolution(unsigned interval, unsigned resolutionFloor);

struct MarqueeExtent {
    int clientWidth, clientHeight;
    int textWidth, textHeight;
    int gap = 15;  // how far the text goes past the edge before it comes back (cycle)
};

constexpr bool IsHorizontal(TEsScrollDirection direction) {
    return direction == TEsScrollDirection::sdRightToLeft || direction == TEsScrollDirection::sdLeftToRight;
}

Point StartPosition(TEsScrollDirection direction, TEsBehaviors behavior, const MarqueeExtent& extent);

struct MarqueeState {
    Point position;
    TEsScrollDirection direction;
};

// Moves one pixel. Returns true when the step reversed or wrapped, which is when OnCycle fires.
bool StepMarquee(MarqueeState& state, TEsBehaviors behavior, const MarqueeExtent& extent);

struct ImageSize {
    int width, height;
};
// The largest side of the off-screen image: a caption too long for one bitmap is drawn clipped
// rather than not at all.
constexpr int kMaxImageExtent = 16384;
ImageSize MarqueeImageSize(TEsScrollDirection direction, const MarqueeExtent& extent);

// The parts of the client area outside the image at this position, which show the background:
// above, below, left and right of it (empty rectangles where the image reaches the edge).
struct Strips {
    Rect parts[4];
};
Strips BackgroundStrips(const Point& position, const ImageSize& image, int clientWidth, int clientHeight);

// The smallest rectangle of the client area that changes when the image moves from one place to
// another: where it was and where it is, within the client area (empty when nothing shows).
Rect MovedArea(const Point& from, const Point& to, const ImageSize& image, int clientWidth, int clientHeight);
Rect Intersection(const Rect& a, const Rect& b);

// The strip behind the image that a paint fills with the background (empty for the directions
// whose image covers it).
Rect TrailingStrip(TEsScrollDirection direction, const Point& position, const MarqueeExtent& extent);

}  // namespace es
