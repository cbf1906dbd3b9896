#include "widgets/es/marquee_controller.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace es;
using Dir = TEsScrollDirection;
using Beh = TEsBehaviors;

TEST(EsMarqueeTiming, IntervalTableAndResolution) {
    const unsigned expected[] = {20, 18, 16, 14, 12, 10, 8, 6, 4, 2, 2};
    for (int speed = 0; speed <= 10; ++speed)
        EXPECT_EQ(ScrollInterval(speed), expected[speed]) << speed;
    EXPECT_EQ(ResolutionFloor(1, 1000000), 2u);
    EXPECT_EQ(ResolutionFloor(5, 1000000), 5u);
    EXPECT_EQ(ResolutionFloor(1, 1), 1u);
    EXPECT_EQ(TimerResolution(10, 2), 10u);
    EXPECT_EQ(TimerResolution(2, 5), 5u);
}

// A control 100 x 20 with a text of the given size, recording timer and event calls.
struct RecordingHost : MarqueeHost {
    MarqueeExtent extent{100, 20, 40, 10};
    std::string log;
    int cycles = 0;
    MarqueeExtent MeasureText() override {
        log += 'm';
        return extent;
    }
    MarqueeExtent Extent() const override { return extent; }
    void StartTimer(unsigned interval, unsigned resolution) override {
        log += "T" + std::to_string(interval) + "/" + std::to_string(resolution);
    }
    void StopTimer() override { log += 's'; }
    void ClearClient() override { log += 'c'; }
    void Invalidate() override { log += 'i'; }
    void RaiseCycle() override { ++cycles; }
};

TEST(EsMarqueeMotion, EveryDirectionAndBehaviourWrapsOrReversesWhereItShould) {
    struct Case {
        Dir direction;
        Beh behavior;
        MarqueeExtent extent;
        Point start;
        int ticksToFirstCycle;  // the tick at which OnCycle first fires
        Point afterCycle;
        Dir directionAfter;
    };
    const MarqueeExtent narrow{100, 20, 40, 10};
    const MarqueeExtent wide{100, 20, 140, 30};
    const Case cases[] = {
        // Cycle: leaves completely, 16 steps beyond the edge, comes back from the other side.
        {Dir::sdRightToLeft, Beh::bhCycle, narrow, {100, 0}, 100 + 40 + 16, {100, 0}, Dir::sdRightToLeft},
        {Dir::sdLeftToRight, Beh::bhCycle, narrow, {-40, 0}, 40 + 100 + 16, {-40, 0}, Dir::sdLeftToRight},
        {Dir::sdTopToBottom, Beh::bhCycle, narrow, {0, -10}, 10 + 20 + 16, {0, -10}, Dir::sdTopToBottom},
        {Dir::sdBottomToTop, Beh::bhCycle, narrow, {0, 20}, 20 + 10 + 16, {0, 20}, Dir::sdBottomToTop},
        // Bounce with a text smaller than the area: reverses at the edges.
        {Dir::sdRightToLeft, Beh::bhBounce, narrow, {60, 0}, 61, {-1, 0}, Dir::sdLeftToRight},
        {Dir::sdLeftToRight, Beh::bhBounce, narrow, {0, 0}, 61, {61, 0}, Dir::sdRightToLeft},
        {Dir::sdTopToBottom, Beh::bhBounce, narrow, {0, 0}, 11, {0, 11}, Dir::sdBottomToTop},
        {Dir::sdBottomToTop, Beh::bhBounce, narrow, {0, 10}, 11, {0, -1}, Dir::sdTopToBottom},
        // Bounce with a text larger than the area wraps like cycle.
        {Dir::sdRightToLeft, Beh::bhBounce, wide, {-40, 0}, -40 + 140 + 16, {100, 0}, Dir::sdRightToLeft},
        {Dir::sdTopToBottom, Beh::bhBounce, wide, {0, 0}, 20 + 16, {0, -30}, Dir::sdTopToBottom},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.direction) << "/" << int(c.behavior) << " text "
                                        << c.extent.textWidth);
        RecordingHost host;
        host.extent = c.extent;
        MarqueeController marquee(host, 2);
        marquee.SetScrollDirection(c.direction);
        marquee.SetBehavior(c.behavior);
        marquee.SetActive(true);
        EXPECT_EQ(marquee.Position(), c.start);
        for (int tick = 1; tick < c.ticksToFirstCycle; ++tick)
            marquee.Tick();
        EXPECT_EQ(host.cycles, 0);
        marquee.Tick();
        EXPECT_EQ(host.cycles, 1);
        EXPECT_EQ(marquee.Position(), c.afterCycle);
        EXPECT_EQ(marquee.ScrollDirection(), c.directionAfter);
        EXPECT_TRUE(marquee.Active());
    }
}

TEST(EsMarqueeMotion, BounceFiresAtEachReversalAndOnceStopsAtOrigin) {
    RecordingHost host;
    MarqueeController bounce(host, 2);
    bounce.SetBehavior(Beh::bhBounce);
    bounce.SetActive(true);
    for (int tick = 0; tick < 61 + 62 + 62; ++tick)
        bounce.Tick();
    EXPECT_EQ(host.cycles, 3);  // left edge, right edge, left edge
    EXPECT_EQ(bounce.ScrollDirection(), Dir::sdLeftToRight);

    RecordingHost onceHost;
    MarqueeController once(onceHost, 2);
    once.SetBehavior(Beh::bhOnce);
    once.SetActive(true);
    for (int tick = 0; tick < 1000; ++tick)
        once.Tick();
    EXPECT_EQ(onceHost.cycles, 1);
    EXPECT_FALSE(once.Active());
    EXPECT_EQ(once.Position(), (Point{0, 0}));
}

TEST(EsMarqueeProperties, WriteRulesForActiveSpeedAndRestarts) {
    RecordingHost host;
    MarqueeController m(host, 2);
    m.StartTimer();
    EXPECT_EQ(host.log, "s");  // inactive: only makes sure no timer runs
    host.log.clear();

    m.SetActive(true);
    EXPECT_EQ(host.log, "mcisT10/10");
    host.log.clear();
    m.Tick();
    m.Tick();
    EXPECT_EQ(m.Position(), (Point{98, 0}));
    m.SetActive(true);  // same value: restarts the timer, the text stays
    EXPECT_EQ(host.log, "iisT10/10");
    EXPECT_EQ(m.Position(), (Point{98, 0}));
    host.log.clear();

    m.SetScrollSpeed(11);  // out of range: ignored
    m.SetScrollSpeed(-1);
    m.SetScrollSpeed(5);  // unchanged
    EXPECT_EQ(host.log, "");
    m.SetScrollSpeed(9);
    EXPECT_EQ(host.log, "ssT2/2i");
    host.log.clear();
    m.SetScrollSpeed(0);  // stops where it stands
    EXPECT_EQ(host.log, "si");
    EXPECT_EQ(m.Position(), (Point{98, 0}));
    EXPECT_TRUE(m.Active());
    host.log.clear();

    m.SetScrollDirection(Dir::sdRightToLeft);  // unchanged: nothing
    EXPECT_EQ(host.log, "");
    m.SetScrollDirection(Dir::sdLeftToRight);  // restarts at the new start, at the 20 ms interval
    EXPECT_EQ(host.log, "cismcisT20/20");
    EXPECT_EQ(m.Position(), (Point{-40, 0}));
    host.log.clear();

    m.SetActive(false);
    EXPECT_EQ(host.log, "cis");
    EXPECT_EQ(m.Position(), (Point{0, 0}));
    m.Tick();  // a tick queued before the stop changes nothing
    EXPECT_EQ(m.Position(), (Point{0, 0}));
}

TEST(EsMarqueeGeometry, ImageSizeAndTrailingStrip) {
    const MarqueeExtent e{193, 25, 900, 24};
    EXPECT_EQ(MarqueeImageSize(Dir::sdRightToLeft, e).width, 193 + 900);
    EXPECT_EQ(MarqueeImageSize(Dir::sdTopToBottom, e).width, 193);
    EXPECT_EQ(MarqueeImageSize(Dir::sdBottomToTop, e).height, 25 + 24);
    EXPECT_EQ(TrailingStrip(Dir::sdLeftToRight, {30, 0}, e), (Rect{0, 0, 30, 25}));
    EXPECT_EQ(TrailingStrip(Dir::sdTopToBottom, {0, 7}, e), (Rect{0, 0, 193, 7}));
    EXPECT_EQ(TrailingStrip(Dir::sdRightToLeft, {30, 0}, e).Width(), 0);
    EXPECT_LE(TrailingStrip(Dir::sdLeftToRight, {-30, 0}, e).Width(), 0);  // inverted: fills nothing
}

}  // namespace
