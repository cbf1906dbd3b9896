#include "widgets/es/marquee_motion.h"

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
            if (!bounce && x < -e.textWidth - 15) {
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
            if (!bounce && x > e.clientWidth + 15) {
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
            if (!bounce && y > e.clientHeight + 15) {
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
            if (!bounce && y < -e.textHeight - 15) {
                y = e.clientHeight;
                return true;
            }
            return false;
    }
    return false;
}

ImageSize MarqueeImageSize(Dir direction, const MarqueeExtent& e) {
    return {IsHorizontal(direction) ? e.clientWidth + e.textWidth : e.clientWidth, e.clientHeight + e.textHeight};
}

Rect TrailingStrip(Dir direction, const Point& p, const MarqueeExtent& e) {
    if (direction == Dir::sdLeftToRight)
        return {0, 0, p.x, e.clientHeight};
    if (direction == Dir::sdTopToBottom)
        return {0, 0, e.clientWidth, p.y};
    return {0, 0, 0, 0};
}

}  // namespace es
