#include <gtest/gtest.h>

#include "framework/display_scale.h"
#include "widgets/es/marquee_controller.h"
#include "widgets/es/shaded_text_layout.h"
#include "widgets/pl/button_layout.h"

namespace {

using framework::Extent;
using framework::FittingDpi;
using framework::ScaleToDpi;
using framework::UsableDpi;

TEST(DisplayScale, DesignNumbersScaleWithOneRoundingRule) {
    struct Case {
        int design, dpi, scaled;
    };
    const Case cases[] = {{210, 96, 210}, {210, 120, 263}, {210, 144, 315}, {210, 192, 420}, {57, 120, 71},
                          {1, 120, 1},    {1, 144, 2},     {-12, 144, -18}, {-24, 120, -30}, {15, 120, 19},
                          {25, 144, 38},  {-1, 144, -2},   {0, 480, 0}};
    for (const Case& c : cases)
        EXPECT_EQ(ScaleToDpi(c.design, c.dpi), c.scaled) << c.design << " at " << c.dpi;
    // Neighbours keep their gap: 88 + 49 and 144 stay apart at every scale.
    for (int dpi = 96; dpi <= 480; ++dpi)
        EXPECT_LE(ScaleToDpi(88, dpi) + ScaleToDpi(49, dpi), ScaleToDpi(144, dpi)) << dpi;
}

TEST(DisplayScale, ReportedDpiIsKeptWithinTheDesignAndFiveTimesIt) {
    EXPECT_EQ(UsableDpi(0), 96);
    EXPECT_EQ(UsableDpi(72), 96);
    EXPECT_EQ(UsableDpi(-5), 96);
    EXPECT_EQ(UsableDpi(144), 144);
    EXPECT_EQ(UsableDpi(9999), 480);
    const Extent design{210, 97}, frame{8, 30};
    EXPECT_EQ(FittingDpi(192, design, frame, {1920, 1040}), 192);
    EXPECT_EQ(FittingDpi(480, design, frame, {1920, 1040}), 480);
    // A small screen: the largest scale at which the window still fits.
    const int capped = FittingDpi(480, design, frame, {800, 570});
    EXPECT_LE(ScaleToDpi(210, capped) + 8, 800);
    EXPECT_GT(ScaleToDpi(210, capped + 1) + 8, 800);
    EXPECT_EQ(FittingDpi(192, design, frame, {100, 100}), 96);
}

struct SilentHost : es::MarqueeHost {
    es::MarqueeExtent MeasureText() override { return {300, 38, 2000, 30}; }
    void StartTimer(unsigned, unsigned) override {}
    void StopTimer() override {}
    void ClearClient() override {}
    void Invalidate() override {}
    void RaiseCycle() override {}
};

TEST(DisplayScale, MarqueeMovesTheScaledDistancePerSecondCarryingTheFraction) {
    for (const int dpi : {96, 120, 144, 192, 72}) {
        SilentHost host;
        es::MarqueeController marquee(host, 2);
        marquee.SetPixelScale(dpi);
        marquee.SetActive(true);
        const int start = marquee.Position().x;
        int moved = 0;
        for (int tick = 0; tick < 100; ++tick)  // one second at 10 ms
            moved += marquee.Tick().steps;
        EXPECT_EQ(moved, 100 * dpi / 96) << dpi;
        EXPECT_EQ(start - marquee.Position().x, moved) << dpi;
        // Ticks that queued up move as far as the same ticks one by one.
        EXPECT_EQ(marquee.Tick(96).steps, dpi) << dpi;
    }
    // A change of scale keeps the text where it was in proportion.
    SilentHost host;
    es::MarqueeController marquee(host, 2);
    marquee.SetActive(true);
    marquee.Tick(100);
    marquee.SetPixelScale(192);
    EXPECT_EQ(marquee.Position().x, 2 * (300 - 100));
}

TEST(DisplayScale, ShadingScalesAndHighContrastHasNone) {
    const es::ShadeValues design;  // raised: depths 1 and 1
    EXPECT_EQ(es::ValuesToPaint(design, 96, false, 0).shadowDepth, 1);
    EXPECT_EQ(es::ValuesToPaint(design, 120, false, 0).highlightDepth, 1);
    EXPECT_EQ(es::ValuesToPaint(design, 144, false, 0).shadowDepth, 2);
    EXPECT_EQ(es::ValuesToPaint(design, 192, false, 0).highlightDepth, 2);
    const es::ShadeValues contrast = es::ValuesToPaint(design, 144, true, 0xFF000012);
    EXPECT_EQ(contrast.shadowDepth + contrast.highlightDepth, 0);
    EXPECT_EQ(contrast.shadowColor, 0xFF000012u);
    EXPECT_EQ(contrast.highlightColor, 0xFF000012u);
}

TEST(DisplayScale, CaptionColourComesFromTheSourceOfItsFace) {
    EXPECT_EQ(pl::CaptionColorOn(false, framework::clWindowText), framework::clBlack);
    EXPECT_EQ(pl::CaptionColorOn(true, framework::clWindowText), framework::clWindowText);
    EXPECT_EQ(pl::CaptionColorOn(false, framework::clNavy), framework::clNavy);
    EXPECT_EQ(pl::LineWidthAt(ScaleToDpi(1, 120)), 1);
    EXPECT_EQ(pl::LineWidthAt(ScaleToDpi(1, 192)), 2);
    EXPECT_EQ(pl::LineWidthAt(0), 1);
}

}  // namespace
