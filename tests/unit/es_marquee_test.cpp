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
    m.SetActive(true);               // same value: restarts the timer, the text stays
    EXPECT_EQ(host.log, "sT10/10");  // ticks ask nothing of the control
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

// What the control is told to paint after ticks: the moved image's strip, once for queued ticks.
TEST(EsMarqueeTick, OutcomesTellWhatToPaint) {
    struct Case {
        const char* name;
        Dir direction;
        Beh behavior;
        int ticks;
        int steps;
        Point position;
        int cycles;
        bool stopped;
        Rect refresh;
    };
    const Case cases[] = {
        // Entering from the right edge: only the column the image reached.
        {"right to left, one tick", Dir::sdRightToLeft, Beh::bhCycle, 1, 1, {99, 0}, 0, false, {99, 0, 100, 20}},
        {"right to left, three queued", Dir::sdRightToLeft, Beh::bhCycle, 3, 3, {97, 0}, 0, false, {97, 0, 100, 20}},
        // The image (text plus a client width of background) covers the area it moves over.
        {"left to right", Dir::sdLeftToRight, Beh::bhCycle, 1, 1, {-39, 0}, 0, false, {0, 0, 100, 20}},
        {"top to bottom", Dir::sdTopToBottom, Beh::bhCycle, 2, 2, {0, -8}, 0, false, {0, 0, 100, 20}},
        // Queued ticks across a wrap: the cycle fires; the frames between were never shown, so the
        // area is where the image was (outside) and is.
        {"wrap within queued ticks", Dir::sdRightToLeft, Beh::bhCycle, 160, 160, {96, 0}, 1, false, {96, 0, 100, 20}},
        // A once-only marquee stops at its first cycle; the ticks after it are dropped and the stop
        // has repainted the control itself.
        {"once stops", Dir::sdRightToLeft, Beh::bhOnce, 1000, 156, {0, 0}, 1, true, {0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingHost host;
        MarqueeController m(host, 2);
        m.SetScrollDirection(c.direction);
        m.SetBehavior(c.behavior);
        m.SetActive(true);
        const TickOutcome o = m.Tick(c.ticks);
        EXPECT_EQ(o.steps, c.steps);
        EXPECT_EQ(o.position, c.position);
        EXPECT_EQ(m.Position(), c.position);
        EXPECT_EQ(o.cycles, c.cycles);
        EXPECT_EQ(host.cycles, c.cycles);
        EXPECT_EQ(o.stopped, c.stopped);
        EXPECT_EQ(o.refresh, c.refresh);
    }
    RecordingHost host;
    MarqueeController inactive(host, 2);
    EXPECT_EQ(inactive.Tick(5).steps, 0);
}

// Queued ticks painted once end where the same ticks one by one end: the picture is the same.
TEST(EsMarqueeTick, QueuedTicksEndWhereSingleTicksEnd) {
    for (const Beh behavior : {Beh::bhCycle, Beh::bhBounce}) {
        for (const int batch : {2, 7, 45}) {
            RecordingHost oneHost, batchHost;
            MarqueeController one(oneHost, 2), batched(batchHost, 2);
            for (MarqueeController* m : {&one, &batched}) {
                m->SetBehavior(behavior);
                m->SetActive(true);
            }
            for (int round = 0; round < 100; ++round) {
                for (int tick = 0; tick < batch; ++tick)
                    one.Tick();
                batched.Tick(batch);
                ASSERT_EQ(one.Position(), batched.Position()) << "batch " << batch << " round " << round;
                ASSERT_EQ(one.ScrollDirection(), batched.ScrollDirection());
            }
            EXPECT_EQ(oneHost.cycles, batchHost.cycles);
            EXPECT_GT(oneHost.cycles, 0);
        }
    }
}

// The resize the control reports is what the steps work with, without asking it again.
TEST(EsMarqueeTick, ResizeChangesWhereTheTextWraps) {
    RecordingHost host;
    MarqueeController m(host, 2);
    m.SetActive(true);  // measured: 100 x 20, text 40 wide, starting at x 100
    m.SetExtent({50, 20, 40, 10});
    EXPECT_EQ(m.Tick(100 + 40 + 16).cycles, 1);
    EXPECT_EQ(m.Position(), (Point{50, 0}));  // back at the new right edge
    // Resized to nothing: the steps go on and paint nothing.
    m.SetExtent({0, 0, 40, 10});
    const TickOutcome o = m.Tick();
    EXPECT_EQ(o.steps, 1);
    EXPECT_EQ(o.refresh.Width(), 0);
}

TEST(EsMarqueeGeometry, BackgroundStripsAndClamp) {
    const Strips around = BackgroundStrips({30, 5}, {50, 10}, 100, 20);
    EXPECT_EQ(around.parts[0], (Rect{0, 0, 100, 5}));
    EXPECT_EQ(around.parts[1], (Rect{0, 15, 100, 20}));
    EXPECT_EQ(around.parts[2], (Rect{0, 5, 30, 15}));
    EXPECT_EQ(around.parts[3], (Rect{80, 5, 100, 15}));
    for (const Rect& strip : BackgroundStrips({-5, -5}, {200, 40}, 100, 20).parts)
        EXPECT_EQ(strip, (Rect{0, 0, 0, 0}));  // the image covers it all
    // Gone off to the left: the whole height beside it is background.
    EXPECT_EQ(BackgroundStrips({-300, 0}, {200, 40}, 100, 20).parts[3], (Rect{0, 0, 100, 20}));
    EXPECT_EQ(MarqueeImageSize(Dir::sdRightToLeft, {100, 20, 40000, 30000}).width, kMaxImageExtent);
    EXPECT_EQ(MarqueeImageSize(Dir::sdRightToLeft, {100, 20, 40000, 30000}).height, kMaxImageExtent);
    EXPECT_EQ(MovedArea({-500, 0}, {-501, 0}, {200, 40}, 100, 20), (Rect{0, 0, 0, 0}));
}

}  // namespace
