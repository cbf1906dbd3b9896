#include "widgets/es/marquee_motion.h"

#include <algorithm>

namespace es {

using Dir = TEsScrollDirection;

unsigned ScrollInterval(int scrollSpeed) {
    const int interval = static_cast<int>(((10 - scrollSpeed) * 20) / 10.0);
    return interval < 2 ? 2u : static_cast<unsigned>(interval);
}

unsigned ResolutionFloor(unsigned minPeriod, unsigned maxPeriod) {
    unsigned floor = 2;
    if (minPeriod > floor)
        floor = minPeriod;
    if (maxPeriod < floor)
        floor = maxPeriod;
    return floor;
}

unsigned TimerResolution(unsigned interval, unsigned resolutionFloor) {
    return interval > resolutionFloor ? interval : resolutionFloor;
}

Point StartPosition(Dir direction, TEsBehaviors behavior, const MarqueeExtent& e) {
    const bool bounce = behavior == TEsBehaviors::bhBounce;
    switch (direction) {
        case Dir::sdRightToLeft:
            return {bounce ? e.clientWidth - e.textWidth : e.clientWidth, 0};
        case Dir::sdLeftToRight:
            return {bounce ? 0 : -e.textWidth, 0};
        case Dir::sdTopToBottom:
            return {0, bounce ? 0 : -e.textHeight};
        case Dir::sdBottomToTop:
            return {0, bounce ? e.clientHeight - e.textHeight : e.clientHeight};
    }
    return {0, 0};
}

bool StepMarquee(MarqueeState& s, TEsBehaviors behavior, const MarqueeExtent& e) {
    const bool horizontal = IsHorizontal(s.direction);
    const bool bounce = behavior == TEsBehaviors::bhBounce &&
                        (horizontal ? e.textWidth < e.clientWidth : e.textHeight < e.clientHeight);
    int& x = s.position.x;
    int& y = s.position.y;
    switch (s.direction) {
        case Dir::sdRightToLeft:
            --x;
            if (bounce && x < 0) {
                s.direction = Dir::sdLeftToRight;
                return true;
            }
            if (!bounce && x < -e.textWidth - e.gap) {
                x = e.clientWidth;
                return true;
            }
            return false;
        case Dir::sdLeftToRight:
            ++x;
            if (bounce && x > e.clientWidth - e.textWidth) {
                s.direction = Dir::sdRightToLeft;
                return true;
            }
            if (!bounce && x > e.clientWidth + e.gap) {
                x = -e.textWidth;
                return true;
            }
            return false;
        case Dir::sdTopToBottom:
            ++y;
            if (bounce && y > e.clientHeight - e.textHeight) {
                s.direction = Dir::sdBottomToTop;
                return true;
            }
            if (!bounce && y > e.clientHeight + e.gap) {
                y = -e.textHeight;
                return true;
            }
            return false;
        case Dir::sdBottomToTop:
            --y;
            if (bounce && y < 0) {
                s.direction = Dir::sdTopToBottom;
                return true;
            }
            if (!bounce && y < -e.textHeight - e.gap) {
                y = e.clientHeight;
                return true;
            }
            return false;
    }
    return false;
}

ImageSize MarqueeImageSize(Dir direction, const MarqueeExtent& e) {
    const int width = IsHorizontal(direction) ? e.clientWidth + e.textWidth : e.clientWidth;
    const int height = e.clientHeight + e.textHeight;
    return {std::clamp(width, 0, kMaxImageExtent), std::clamp(height, 0, kMaxImageExtent)};
}

Rect Intersection(const Rect& a, const Rect& b) {
    const Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                 std::min(a.bottom, b.bottom)};
    return r.Width() > 0 && r.Height() > 0 ? r : Rect{0, 0, 0, 0};
}

Strips BackgroundStrips(const Point& at, const ImageSize& image, int w, int h) {
    const int top = std::clamp(at.y, 0, h), bottom = std::clamp(at.y + image.height, 0, std::max(h, 0));
    const int left = std::clamp(at.x, 0, std::max(w, 0)), right = std::clamp(at.x + image.width, 0, std::max(w, 0));
    Strips strips{{{0, 0, w, top}, {0, bottom, w, h}, {0, top, left, bottom}, {right, top, w, bottom}}};
    for (Rect& strip : strips.parts) {
        if (strip.Width() <= 0 || strip.Height() <= 0)
            strip = Rect{0, 0, 0, 0};
    }
    return strips;
}

Rect MovedArea(const Point& from, const Point& to, const ImageSize& image, int w, int h) {
    const Rect client{0, 0, w, h};
    const Rect before = Intersection({from.x, from.y, from.x + image.width, from.y + image.height}, client);
    const Rect after = Intersection({to.x, to.y, to.x + image.width, to.y + image.height}, client);
    if (before.Width() == 0)
        return after;
    if (after.Width() == 0)
        return before;
    return {std::min(before.left, after.left), std::min(before.top, after.top), std::max(before.right, after.right),
            std::max(before.bottom, after.bottom)};
}

Rect TrailingStrip(Dir direction, const Point& p, const MarqueeExtent& e) {
    if (direction == Dir::sdLeftToRight)
        return {0, 0, p.x, e.clientHeight};
    if (direction == Dir::sdTopToBottom)
        return {0, 0, e.clientWidth, p.y};
    return {0, 0, 0, 0};
}

}  // namespace es
