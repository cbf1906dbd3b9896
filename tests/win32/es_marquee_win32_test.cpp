// The marquee under Wine: ticks posted to its window move the text on the screen as the movement
// rules say, the real multimedia timer moves it while active, and nothing breaks on bad input.
#include "widgets/es/es_marquee.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/form.h"
#include "widgets/es/marquee_motion.h"
#include "pixels.h"

namespace {

using es::TEsBehaviors;
using es::TEsScrollDirection;
using es::TEsScrollingMarquee;
using testsupport::Pixels;

constexpr int kLeft = 10, kTop = 10, kWidth = 200, kHeight = 60;
constexpr framework::TColor kBack = 0x00C000;
constexpr framework::TColor kFace = 0x808080;
const framework::TFont kFont{"Tahoma", -16, DEFAULT_CHARSET, kFace, 0};

class Form : public framework::TForm {
public:
    Form() : TForm({"EsMarqueeTestForm", "marquee", 240, 90, false, {"Tahoma", -11, DEFAULT_CHARSET}}) {}
};

void Pump() {
    MSG message;
    while (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageA(&message);
}

void PumpFor(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < milliseconds) {
        Pump();
        ::Sleep(5);
    }
    Pump();
}

class MarqueeOnForm : public testing::Test {
protected:
    void SetUp() override {
        marquee = form.Own<TEsScrollingMarquee>();
        marquee->SetParent(&form);
        marquee->SetBounds({kLeft, kTop, kWidth, kHeight});
        marquee->SetColor(kBack);
        marquee->SetFont(kFont);
        marquee->SetCaption("Hi");
        form.Show();
        ::UpdateWindow(form.Handle());
    }

    // The face's bounding box on the screen, in the marquee's coordinates.
    RECT FaceOnScreen() {
        ::UpdateWindow(form.Handle());
        framework::WindowDc dc(form.Handle());
        return Pixels(dc.Get(), kLeft, kTop, kWidth, kHeight).BoxOf(kFace);
    }

    // The caption's size as the marquee measures it, from the platform directly.
    es::MarqueeExtent Extent() {
        framework::WindowDc dc(form.Handle());
        framework::TCanvas canvas(dc.Get());
        canvas.SetFont(kFont);
        RECT rect{0, 0, kWidth, kHeight};
        const int height = canvas.DrawText("Hi", rect, DT_CALCRECT | DT_WORDBREAK);
        return {kWidth, kHeight, canvas.TextExtent("Hi").cx, height};
    }

    void Tick(int count) {
        for (int i = 0; i < count; ++i)
            ::PostMessageA(marquee->TickWindow(), es::kMarqueeTickMessage, 0, 0);
        Pump();
    }

    Form form;
    TEsScrollingMarquee* marquee = nullptr;
};

TEST_F(MarqueeOnForm, PostedTicksMoveTheTextOnScreenInEveryDirectionAndBehaviour) {
    const RECT still = FaceOnScreen();  // inactive: the image's corner at the control's corner
    ASSERT_GE(still.right, still.left);
    EXPECT_FALSE(marquee->TimerRunning());
    const es::MarqueeExtent extent = Extent();

    struct Case {
        TEsScrollDirection direction;
        TEsBehaviors behavior;
        int ticks;
    };
    const Case cases[] = {
        {TEsScrollDirection::sdRightToLeft, TEsBehaviors::bhCycle, 60},
        {TEsScrollDirection::sdLeftToRight, TEsBehaviors::bhCycle, 90},
        {TEsScrollDirection::sdTopToBottom, TEsBehaviors::bhCycle, 40},
        {TEsScrollDirection::sdBottomToTop, TEsBehaviors::bhCycle, 50},
        {TEsScrollDirection::sdRightToLeft, TEsBehaviors::bhBounce, 200},  // reverses at the left edge
        {TEsScrollDirection::sdTopToBottom, TEsBehaviors::bhBounce, 50},   // reverses at the bottom
        {TEsScrollDirection::sdRightToLeft, TEsBehaviors::bhCycle, 290},   // wrapped, back at the right
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.direction) << "/" << int(c.behavior) << " x" << c.ticks);
        marquee->SetActive(false);
        marquee->SetBehavior(c.behavior);
        marquee->SetScrollDirection(c.direction);
        marquee->SetActive(true);
        marquee->SetScrollSpeed(0);  // no timer: only the posted ticks move it
        marquee->SetScrollSpeed(5);
        marquee->SetScrollSpeed(0);
        EXPECT_FALSE(marquee->TimerRunning());

        es::MarqueeState expected{es::StartPosition(c.direction, c.behavior, extent), c.direction};
        int cycles = 0;
        for (int i = 0; i < c.ticks; ++i)
            cycles += es::StepMarquee(expected, c.behavior, extent);
        int fired = 0;
        marquee->OnCycle = [&](framework::TObject* sender) {
            EXPECT_EQ(sender, marquee);
            ++fired;
        };
        Tick(c.ticks);
        marquee->OnCycle = nullptr;

        EXPECT_EQ(marquee->Position().x, expected.position.x);
        EXPECT_EQ(marquee->Position().y, expected.position.y);
        EXPECT_EQ(marquee->ScrollDirection(), expected.direction);
        EXPECT_EQ(fired, cycles);
        const RECT face = FaceOnScreen();
        EXPECT_EQ(face.left, still.left + expected.position.x);
        EXPECT_EQ(face.top, still.top + expected.position.y);
    }
}

TEST_F(MarqueeOnForm, OnceFiresOneCycleAndStopsWithTheTextAtTheOrigin) {
    const RECT still = FaceOnScreen();
    marquee->SetBehavior(TEsBehaviors::bhOnce);
    marquee->SetActive(true);
    marquee->SetScrollSpeed(0);
    int fired = 0;
    marquee->OnCycle = [&](framework::TObject*) { ++fired; };
    Tick(kWidth + Extent().textWidth + 16 + 50);
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(marquee->Active());
    EXPECT_EQ(marquee->Position().x, 0);
    const RECT face = FaceOnScreen();
    EXPECT_EQ(face.left, still.left);
    EXPECT_EQ(face.top, still.top);
}

TEST_F(MarqueeOnForm, TicksCopyTheImageAndOnlyShapeChangesRenderIt) {
    marquee->SetActive(true);
    marquee->SetScrollSpeed(0);
    FaceOnScreen();
    const long renders = marquee->ImageRenders();
    Tick(30);
    FaceOnScreen();
    EXPECT_EQ(marquee->ImageRenders(), renders);
    marquee->SetCaption("Hello");
    FaceOnScreen();
    EXPECT_EQ(marquee->ImageRenders(), renders + 1);
    marquee->CustomSettings().SetShadowDepth(3);
    FaceOnScreen();
    EXPECT_EQ(marquee->ImageRenders(), renders + 2);
}

TEST_F(MarqueeOnForm, RealTimerMovesTheTextLeftUntilInactive) {
    const RECT still = FaceOnScreen();
    marquee->SetActive(true);
    EXPECT_TRUE(marquee->TimerRunning());
    EXPECT_EQ(marquee->Interval(), 10u);
    // Wait (generously: the machine may be loaded) until the text has come well into view.
    for (int i = 0; i < 500 && marquee->Position().x > kWidth - 40; ++i)
        PumpFor(10);
    marquee->SetScrollSpeed(0);  // freeze it where it is to read the screen
    const int moved = marquee->Position().x;
    ASSERT_LE(moved, kWidth - 40);
    EXPECT_EQ(FaceOnScreen().left, still.left + moved);
    marquee->SetScrollSpeed(5);
    PumpFor(100);
    EXPECT_LT(marquee->Position().x, moved);

    marquee->SetActive(false);
    EXPECT_FALSE(marquee->TimerRunning());
    PumpFor(200);
    EXPECT_EQ(marquee->Position().x, 0);
    EXPECT_EQ(FaceOnScreen().left, still.left);
}

TEST_F(MarqueeOnForm, BadInputNeitherCrashesNorHangs) {
    marquee->SetCaption("");
    marquee->SetActive(true);
    marquee->SetScrollSpeed(0);
    Tick(5);
    EXPECT_EQ(FaceOnScreen().right, -1);  // nothing but background

    marquee->SetCaption(std::string(100000, 'W'));  // far wider than one bitmap may be
    Tick(5);
    FaceOnScreen();
    EXPECT_EQ(marquee->Position().x, kWidth - 10);

    marquee->SetScrollSpeed(11);
    EXPECT_EQ(marquee->ScrollSpeed(), 0);
    EXPECT_FALSE(marquee->TimerRunning());

    marquee->SetCaption("Hi");
    marquee->SetBounds({kLeft, kTop, 0, kHeight});  // no client width
    Tick(3);
    FaceOnScreen();

    // A marquee destroyed while its ticks and its timer are still going.
    auto doomed = std::make_unique<TEsScrollingMarquee>();
    doomed->SetParent(&form);
    doomed->SetActive(true);
    for (int i = 0; i < 20; ++i)
        ::PostMessageA(doomed->TickWindow(), es::kMarqueeTickMessage, 0, 0);
    doomed.reset();
    PumpFor(50);
    SUCCEED();
}

}  // namespace
