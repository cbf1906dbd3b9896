// The marquee under Wine: ticks posted to its window move the text on the screen as the movement
// rules say, the real multimedia timer moves it while active, and nothing breaks on bad input.
#include "widgets/es/es_marquee.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

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
const framework::TFont kFont{u"Tahoma", -16, DEFAULT_CHARSET, kFace, 0};

class Form : public framework::TForm {
public:
    Form() : TForm({"EsMarqueeTestForm", u"marquee", 240, 90, false, {u"Tahoma", -11, DEFAULT_CHARSET}}) {}
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

DWORD fakeNow = 0;

// Counts what the marquee renders and paints; with fakeClock its pauses are timed by fakeNow.
struct CountingFrames : es::MarqueeFrames {
    void ImageRendered() override { ++renders; }
    void TickPainted() override { ++paints; }
    DWORD Now() const override { return fakeClock ? fakeNow : MarqueeFrames::Now(); }
    long renders = 0;
    long paints = 0;
    bool fakeClock = false;
};

class MarqueeOnForm : public testing::Test {
protected:
    void SetUp() override {
        marquee = form.Own<TEsScrollingMarquee>();
        marquee->SetFrames(&frames);
        marquee->SetParent(&form);
        marquee->SetBounds({kLeft, kTop, kWidth, kHeight});
        marquee->SetColor(kBack);
        marquee->SetFont(kFont);
        marquee->SetCaption(u"Hi");
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
        const int height = canvas.DrawText(u"Hi", rect, DT_CALCRECT | DT_WORDBREAK);
        return {kWidth, kHeight, canvas.TextExtent(u"Hi").cx, height};
    }

    void Tick(int count) {
        for (int i = 0; i < count; ++i)
            ::PostMessageA(marquee->TickWindow(), es::kMarqueeTickMessage, 0, 0);
        Pump();
    }

    CountingFrames frames;  // outlives the marquee, which the form owns
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
    const long renders = frames.renders;
    Tick(30);
    FaceOnScreen();
    EXPECT_EQ(frames.renders, renders);
    marquee->SetCaption(u"Hello");
    FaceOnScreen();
    EXPECT_EQ(frames.renders, renders + 1);
    marquee->CustomSettings().SetShadowDepth(3);
    FaceOnScreen();
    EXPECT_EQ(frames.renders, renders + 2);
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

// The control's pixels on the screen, for comparing one frame with another.
std::vector<std::uint32_t> Frame(HWND window) {
    ::UpdateWindow(window);
    framework::WindowDc dc(window);
    const Pixels pixels(dc.Get(), kLeft, kTop, kWidth, kHeight);
    std::vector<std::uint32_t> frame;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            frame.push_back(pixels.At(x, y));
    return frame;
}

// What a full repaint at the current position shows.
std::vector<std::uint32_t> RepaintedFrame(HWND window) {
    ::InvalidateRect(window, nullptr, TRUE);
    return Frame(window);
}

TEST_F(MarqueeOnForm, MinimisedPaintsNothingAndRestoresTheFrameItsTicksLeadTo) {
    const RECT still = FaceOnScreen();
    const es::MarqueeExtent extent = Extent();
    marquee->SetActive(true);
    marquee->SetScrollSpeed(0);
    FaceOnScreen();  // the first paint renders the image; ticks then only copy it
    Tick(20);
    es::MarqueeState expected{es::StartPosition(TEsScrollDirection::sdRightToLeft, TEsBehaviors::bhCycle, extent),
                              TEsScrollDirection::sdRightToLeft};
    for (int i = 0; i < 20; ++i)
        es::StepMarquee(expected, TEsBehaviors::bhCycle, extent);
    ASSERT_EQ(FaceOnScreen().left, still.left + expected.position.x);
    EXPECT_GT(frames.paints, 0);

    ::ShowWindow(form.Handle(), SW_MINIMIZE);
    Pump();
    ASSERT_TRUE(::IsIconic(form.Handle()));
    const long paints = frames.paints;
    // Long enough to wrap twice: the position goes on with every tick, nothing is drawn.
    const int ticks = 2 * (kWidth + extent.textWidth + 16) + 40;
    for (int done = 0; done < ticks; done += 10)
        Tick(std::min(10, ticks - done));
    EXPECT_EQ(frames.paints, paints);
    for (int i = 0; i < ticks; ++i)
        es::StepMarquee(expected, TEsBehaviors::bhCycle, extent);
    EXPECT_EQ(marquee->Position().x, expected.position.x);

    ::ShowWindow(form.Handle(), SW_RESTORE);
    Pump();
    const std::vector<std::uint32_t> restored = Frame(form.Handle());
    EXPECT_EQ(FaceOnScreen().left, still.left + expected.position.x);
    EXPECT_TRUE(restored == RepaintedFrame(form.Handle())) << "the restored frame is not the one a repaint shows";

    // Shown again, the ticks paint again, each frame the one a repaint shows.
    Tick(7);
    EXPECT_GT(frames.paints, paints);
    const std::vector<std::uint32_t> ticked = Frame(form.Handle());
    EXPECT_TRUE(ticked == RepaintedFrame(form.Handle()));
}

// The real timer stops while nothing of the control can be seen (window minimised, control hidden,
// window hidden); seen again after N intervals (and most of one more) it shows what N single ticks
// lead to, cycle events included, and the timer runs again.
TEST_F(MarqueeOnForm, UnseenStopsTheTimerAndShowsTheFrameOfTheElapsedTicksAgain) {
    const RECT still = FaceOnScreen();
    const es::MarqueeExtent extent = Extent();
    frames.fakeClock = true;
    HWND window = form.Handle();
    struct Case {
        TEsScrollDirection direction;
        TEsBehaviors behavior;
        std::function<void(bool)> setSeen;
    };
    const Case cases[] = {
        {TEsScrollDirection::sdRightToLeft, TEsBehaviors::bhCycle,
         [&](bool seen) { ::ShowWindow(window, seen ? SW_RESTORE : SW_MINIMIZE); }},
        {TEsScrollDirection::sdTopToBottom, TEsBehaviors::bhBounce, [&](bool seen) { marquee->SetVisible(seen); }},
        {TEsScrollDirection::sdLeftToRight, TEsBehaviors::bhOnce,
         [&](bool seen) { ::ShowWindow(window, seen ? SW_SHOWNORMAL : SW_HIDE); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.direction) << "/" << int(c.behavior));
        marquee->SetActive(false);
        marquee->SetBehavior(c.behavior);
        marquee->SetScrollDirection(c.direction);
        marquee->SetScrollSpeed(5);
        marquee->SetActive(true);
        ASSERT_TRUE(marquee->TimerRunning());
        FaceOnScreen();

        c.setSeen(false);
        // The first tick that finds it unseen stops the timer (generous bound: the machine may be loaded).
        for (int i = 0; i < 1000 && !marquee->TimerPaused(); ++i)
            PumpFor(5);
        ASSERT_TRUE(marquee->TimerPaused());
        EXPECT_FALSE(marquee->TimerRunning());
        PumpFor(50);  // ticks posted before the stop still count
        const long paints = frames.paints;
        es::MarqueeState expected{{marquee->Position().x, marquee->Position().y}, marquee->ScrollDirection()};
        PumpFor(100);
        EXPECT_EQ(marquee->Position().x, expected.position.x) << "moved while paused";
        EXPECT_EQ(marquee->Position().y, expected.position.y) << "moved while paused";
        EXPECT_EQ(frames.paints, paints);

        // Enough intervals for two cycles (one for the once-only marquee), ending with the text in view.
        int ticks = 0, cycles = 0;
        while (ticks < 100000) {
            ++ticks;
            if (es::StepMarquee(expected, c.behavior, extent)) {
                ++cycles;
                if (c.behavior == TEsBehaviors::bhOnce) {  // it stops with the text at the origin
                    expected.position = {0, 0};
                    break;
                }
            }
            const bool inView = expected.position.x >= 0 && expected.position.x + extent.textWidth < kWidth &&
                                expected.position.y >= 0 && expected.position.y + extent.textHeight < kHeight;
            if (cycles >= 2 && inView)
                break;
        }
        int fired = 0;
        marquee->OnCycle = [&](framework::TObject*) { ++fired; };
        fakeNow += static_cast<DWORD>(ticks) * marquee->Interval() + marquee->Interval() - 1;

        // Seen and painted again, with no tick handled since: the frame of exactly those ticks.
        c.setSeen(true);
        ::UpdateWindow(window);
        marquee->OnCycle = nullptr;
        EXPECT_FALSE(marquee->TimerPaused());
        EXPECT_EQ(fired, cycles);
        EXPECT_EQ(marquee->Position().x, expected.position.x);
        EXPECT_EQ(marquee->Position().y, expected.position.y);
        const RECT face = FaceOnScreen();
        EXPECT_EQ(face.left, still.left + expected.position.x);
        EXPECT_EQ(face.top, still.top + expected.position.y);
        EXPECT_TRUE(Frame(form.Handle()) == RepaintedFrame(form.Handle()));
        // Running again, unless the once-only marquee stopped during the pause.
        EXPECT_EQ(marquee->TimerRunning(), c.behavior != TEsBehaviors::bhOnce);
        EXPECT_EQ(marquee->Active(), c.behavior != TEsBehaviors::bhOnce);
        PumpFor(200);  // let the window manager settle before the next case
    }
}

TEST_F(MarqueeOnForm, CoveredThenUncoveredAndResizedToNothingAndBack) {
    const RECT still = FaceOnScreen();
    marquee->SetActive(true);
    marquee->SetScrollSpeed(0);
    Tick(40);
    // Another window over the whole form: the ticks go on; uncovered, the frame is where they lead.
    RECT formRect{};
    ::GetWindowRect(form.Handle(), &formRect);
    HWND cover = ::CreateWindowExA(WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE, formRect.left - 20,
                                   formRect.top - 20, formRect.right - formRect.left + 40,
                                   formRect.bottom - formRect.top + 40, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(cover, nullptr);
    ::UpdateWindow(cover);
    Pump();
    // (Where the platform reports the covered control's clip box empty, these ticks draw nothing;
    // Wine reports it as if uncovered, so only the frame afterwards is checked.)
    Tick(25);
    ::DestroyWindow(cover);
    Pump();
    EXPECT_EQ(FaceOnScreen().left, still.left + marquee->Position().x);
    EXPECT_TRUE(Frame(form.Handle()) == RepaintedFrame(form.Handle()));

    // Resized to nothing, ticked, and back: the frame of the position the ticks reached.
    marquee->SetBounds({kLeft, kTop, 0, 0});
    Tick(5);
    marquee->SetBounds({kLeft, kTop, kWidth, kHeight});
    Tick(1);
    EXPECT_EQ(FaceOnScreen().left, still.left + marquee->Position().x);
    EXPECT_TRUE(Frame(form.Handle()) == RepaintedFrame(form.Handle()));
}

// Taking the queued ticks together must not take the program's request to quit with them.
TEST_F(MarqueeOnForm, QueuedTicksLeaveTheQuitRequestForTheMessageLoop) {
    marquee->SetActive(true);
    marquee->SetScrollSpeed(0);
    const int start = marquee->Position().x;
    ::PostMessageA(marquee->TickWindow(), es::kMarqueeTickMessage, 0, 0);
    ::PostQuitMessage(7);
    ::PostMessageA(marquee->TickWindow(), es::kMarqueeTickMessage, 0, 0);
    MSG message;
    bool quit = false;
    for (int round = 0; round < 100 && !quit; ++round) {
        if (!::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
            continue;
        if (message.message == WM_QUIT)
            quit = true;
        else
            ::DispatchMessageA(&message);
    }
    ASSERT_TRUE(quit);
    EXPECT_EQ(message.wParam, 7u);
    EXPECT_EQ(marquee->Position().x, start - 2);
}

TEST_F(MarqueeOnForm, BadInputNeitherCrashesNorHangs) {
    marquee->SetCaption(u"");
    marquee->SetActive(true);
    marquee->SetScrollSpeed(0);
    Tick(5);
    EXPECT_EQ(FaceOnScreen().right, -1);  // nothing but background

    marquee->SetCaption(std::u16string(100000, u'W'));  // far wider than one bitmap may be
    Tick(5);
    FaceOnScreen();
    EXPECT_EQ(marquee->Position().x, kWidth - 10);

    marquee->SetScrollSpeed(11);
    EXPECT_EQ(marquee->ScrollSpeed(), 0);
    EXPECT_FALSE(marquee->TimerRunning());

    marquee->SetCaption(u"Hi");
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
