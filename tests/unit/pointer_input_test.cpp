#include "framework/pointer_input.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace framework {
namespace {

using E = PointerEvent;
constexpr bool in = true;
constexpr bool out = false;

struct Step {
    E event;
    bool inside;
};

// One letter per step for each outcome that fired, so that a case reads as the story it tells:
// C capture taken, R capture given back, T leave tracking asked, + entered, - left, K click,
// D double click, X press cancelled; then the pressed look after the step (P or _).
std::string Trace(bool pressAgainOnReturn, const std::vector<Step>& steps) {
    PointerTracker tracker(pressAgainOnReturn);
    std::string trace;
    for (const Step& step : steps) {
        const bool before = tracker.Pressed();
        const PointerOutcome o = tracker.Feed(step.event, step.inside);
        // The change flag must agree with the state it reports on.
        EXPECT_EQ(o.pressedChanged, before != tracker.Pressed());
        std::string letters;
        letters += o.takeCapture ? "C" : "";
        letters += o.releaseCapture ? "R" : "";
        letters += o.trackLeave ? "T" : "";
        letters += o.entered ? "+" : "";
        letters += o.left ? "-" : "";
        letters += o.click ? "K" : "";
        letters += o.doubleClick ? "D" : "";
        letters += o.pressCancelled ? "X" : "";
        trace += (trace.empty() ? "" : " ") + letters + (tracker.Pressed() ? "P" : "_");
    }
    return trace;
}

struct Case {
    const char* name;
    bool pressAgainOnReturn;
    std::vector<Step> steps;
    const char* expected;
};

class PointerTrackerTest : public ::testing::TestWithParam<Case> {};

TEST_P(PointerTrackerTest, TellsTheStory) {
    const Case& c = GetParam();
    EXPECT_EQ(Trace(c.pressAgainOnReturn, c.steps), c.expected);
}

const Case kCases[] = {
    {"ClickInside", true, {{E::Move, in}, {E::Press, in}, {E::Release, in}}, "T+_ CP RK_"},
    {"ReleaseOutsideIsNoClick",
     true,
     {{E::Move, in}, {E::Press, in}, {E::Move, out}, {E::Release, out}},
     "T+_ CP -_ R_"},
    // A standard push button shows pressed again when the held pointer comes back, and clicks.
    {"DragOffAndBack",
     true,
     {{E::Move, in}, {E::Press, in}, {E::Move, out}, {E::Move, in}, {E::Release, in}},
     "T+_ CP -_ +P RK_"},
    // The gradient button's look ends at the first leave; the click still comes.
    {"DragOffAndBackLookEndsAtLeave",
     false,
     {{E::Move, in}, {E::Press, in}, {E::Move, out}, {E::Move, in}, {E::Release, in}},
     "T+_ CP -_ +_ RK_"},
    // The leave report while captured changes nothing; the next move outside does.
    {"LeaveReportWhileCaptured",
     true,
     {{E::Move, in}, {E::Press, in}, {E::Leave, out}, {E::Move, out}},
     "T+_ CP P T-_"},
    {"HoverEnterAndLeave", true, {{E::Move, in}, {E::Move, in}, {E::Leave, out}, {E::Move, in}}, "T+_ _ -_ T+_"},
    // Another window takes the pointer: the press ends without a click, even on a later release.
    {"CaptureLost", true, {{E::Move, in}, {E::Press, in}, {E::CaptureLost, in}, {E::Release, in}}, "T+_ CP X_ _"},
    // Our own release first marks the capture given back, so its capture-changed report is quiet.
    {"OwnReleaseIsNoLoss", true, {{E::Press, in}, {E::Release, in}, {E::CaptureLost, in}}, "CP RK_ _"},
    {"DoublePressIsNoClick",
     true,
     {{E::Press, in}, {E::Release, in}, {E::DoublePress, in}, {E::Release, in}},
     "CP RK_ CDP R_"},
    {"DisabledWhileHeld", true, {{E::Move, in}, {E::Press, in}, {E::Disabled, in}, {E::Release, in}}, "T+_ CP R-_ _"},
    // The push key: pressed on the down, a click on the up, auto-repeat downs ignored.
    {"KeyClick", true, {{E::PressKeyDown, in}, {E::PressKeyDown, in}, {E::PressKeyUp, in}}, "P P K_"},
    {"KeyCancelledByEscape", true, {{E::PressKeyDown, in}, {E::CancelKey, in}, {E::PressKeyUp, in}}, "P _ _"},
    {"KeyCancelledByFocusLoss", true, {{E::PressKeyDown, in}, {E::FocusLost, in}, {E::PressKeyUp, in}}, "P _ _"},
    {"KeyUpWithoutDownIsNoClick", true, {{E::PressKeyUp, in}}, "_"},
    // The pointer held first: the key does nothing; a pointer press ends a key press.
    {"KeyDuringPointerPress",
     true,
     {{E::Press, in}, {E::PressKeyDown, in}, {E::PressKeyUp, in}, {E::Release, in}},
     "CP P P RK_"},
    {"PointerPressEndsKeyPress",
     true,
     {{E::PressKeyDown, in}, {E::Press, in}, {E::Release, out}, {E::PressKeyUp, in}},
     "P CP R_ _"},
    // A pointer leaving does not end a key press.
    {"LeaveKeepsKeyPress",
     true,
     {{E::Move, in}, {E::PressKeyDown, in}, {E::Move, out}, {E::PressKeyUp, out}},
     "T+_ P -P K_"},
};

INSTANTIATE_TEST_SUITE_P(Sequences,
                         PointerTrackerTest,
                         ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

TEST(PointerTrackerTest, ClearPressedEndsAPendingKeyPress) {
    PointerTracker tracker;
    tracker.Feed(E::PressKeyDown);
    EXPECT_TRUE(tracker.ClearPressed());
    EXPECT_FALSE(tracker.Feed(E::PressKeyUp).click);
    EXPECT_FALSE(tracker.ClearPressed());
}

}  // namespace
}  // namespace framework
