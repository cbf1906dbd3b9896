#include "widgets/es/shaded_text_layout.h"

#include <gtest/gtest.h>

namespace {

using namespace es;
using Dir = TEsShadeDirection;

ShadeValues Raised() {
    return ShadeValues{};  // the defaults: highlight up-left 1, shadow down-right 1
}

TEST(EsShadedText, RaisedLeftAlignedPutsHighlightAtCornerFaceOneShadowTwo) {
    const ShadeValues v = Raised();
    const ShadeExtent e = ShadeExtentOf(v);
    EXPECT_EQ(e.min, -1);
    EXPECT_EQ(e.max, 1);
    const Rect rect{0, 0, 100, 30};
    const int shift = AlignmentShift(kDtLeft, e);
    const Rect face = FaceRect(rect, e, shift);
    EXPECT_EQ(face, (Rect{1, 1, 101, 31}));
    const auto shadow = ShadeLayers(v.shadowColor, v.shadowStyle, v.shadowDepth, v.shadowDirection, 0x808080, face);
    const auto highlight =
        ShadeLayers(v.highlightColor, v.highlightStyle, v.highlightDepth, v.highlightDirection, 0x808080, face);
    ASSERT_EQ(shadow.size(), 1u);
    ASSERT_EQ(highlight.size(), 1u);
    EXPECT_EQ(shadow[0].rect, (Rect{2, 2, 102, 32}));
    EXPECT_EQ(highlight[0].rect, (Rect{0, 0, 100, 30}));
    EXPECT_EQ(highlight[0].color, 0xFFFFFFu);
}

TEST(EsShadedText, AlignmentShiftCentresAndRightAlignsTheWholeBlock) {
    struct Case {
        unsigned format;
        int highlightDepth, shadowDepth;
        int shift, faceLeft;
    };
    const Case cases[] = {
        {kDtCenter, 1, 1, 1, 0},  // centred exactly as without shading
        {kDtRight, 1, 1, 2, -1},
        {kDtLeft, 1, 1, 0, 1},
        {kDtCenter, 0, 5, 2, -2},  // flying-like: extent 0..5
        {kDtRight | kDtWordBreak, 0, 5, 5, -5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.format);
        ShadeValues v;
        v.highlightDepth = static_cast<std::uint8_t>(c.highlightDepth);
        v.shadowDepth = static_cast<std::uint8_t>(c.shadowDepth);
        if (c.highlightDepth == 0)
            v.highlightDirection = Dir::sdDownRight;
        const ShadeExtent e = ShadeExtentOf(v);
        EXPECT_EQ(AlignmentShift(c.format, e), c.shift);
        EXPECT_EQ(FaceRect({0, 0, 50, 20}, e, c.shift).left, c.faceLeft);
    }
}

TEST(EsShadedText, ExtrudeAndGraduatedLayersFromDeepestWithEvenRounding) {
    const Rect face{0, 0, 10, 10};
    // Extrude: depths 3..1, all in the shade colour.
    const auto extrude = ShadeLayers(0x000010, TEsShadeStyle::ssExtrude, 3, Dir::sdRight, 0xFFFFFF, face);
    ASSERT_EQ(extrude.size(), 3u);
    EXPECT_EQ(extrude[0].rect.left, 3);
    EXPECT_EQ(extrude[2].rect.left, 1);
    for (const auto& layer : extrude)
        EXPECT_EQ(layer.color, 0x000010u);
    // Graduated over depth 5: red 0 -> 10 in steps of 2.5; 2.5 and 7.5 round to 2 and 8 (ties to even).
    const auto ramp = ShadeLayers(0x000000, TEsShadeStyle::ssGraduated, 5, Dir::sdDown, 0x00000A, face);
    ASSERT_EQ(ramp.size(), 5u);
    const TColor reds[] = {0, 2, 5, 8, 10};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(ramp[k].color, reds[k]) << k;
        EXPECT_EQ(ramp[k].rect.top, 5 - k);
    }
    // Depth 1 graduated and depth 0: one plain layer, no division by zero.
    const auto one = ShadeLayers(0x0000FF, TEsShadeStyle::ssGraduated, 1, Dir::sdDown, 0xFFFFFF, face);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].color, 0x0000FFu);
    const auto none = ShadeLayers(0x0000FF, TEsShadeStyle::ssExtrude, 0, Dir::sdDown, 0xFFFFFF, face);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0].rect, face);
    // Depth 255 extruded: 255 layers, the deepest 255 pixels away.
    const auto deep = ShadeLayers(0, TEsShadeStyle::ssGraduated, 255, Dir::sdUpLeft, 0xFEFEFE, face);
    ASSERT_EQ(deep.size(), 255u);
    EXPECT_EQ(deep.front().rect.left, -255);
    EXPECT_EQ(deep.back().color, 0xFEFEFEu);
}

TEST(EsShadedText, GradientBandsSpanTheFaceFromStartToFontColour) {
    const ShadeExtent e{-1, 1};
    const Rect rect{0, 0, 120, 31};
    // Vertical: span 30, step 2; band j covers rows 2j+1 .. 2j+3 (origin -min = 1).
    const Point o = GradientOrigin(kDtLeft, rect, e, 0, 60);
    EXPECT_EQ(o, (Point{1, 1}));
    const auto v = GradientBands(TEsGraduateStyle::gsVertical, rect, o, 60, 0x000000, 0x0F0F0F);
    ASSERT_EQ(v.size(), 16u);
    for (int j = 0; j < 16; ++j) {
        EXPECT_EQ(v[j].rect, (Rect{0, 2 * j + 1, 120, 2 * j + 3})) << j;
        EXPECT_EQ(v[j].color, MakeColor(j, j, j)) << j;
    }
    // Horizontal, centred: text 61 wide, step 4 from the face's left edge.
    const Point c = GradientOrigin(kDtCenter, rect, e, 1, 61);
    EXPECT_EQ(c.x, (120 - 61) / 2 + 1 - 1);
    const auto h = GradientBands(TEsGraduateStyle::gsHorizontal, rect, c, 61, 0xFF0000, 0x0000FF);
    EXPECT_EQ(h.front().rect, (Rect{c.x, 0, c.x + 4, 31}));
    EXPECT_EQ(h.back().rect, (Rect{c.x + 60, 0, c.x + 64, 31}));
    EXPECT_EQ(h.front().color, 0xFF0000u);
    EXPECT_EQ(h.back().color, 0x0000FFu);
    EXPECT_EQ(h[1].color, MakeColor(17, 0, 238));
    // Right-aligned origin, and no bands without a gradient.
    EXPECT_EQ(GradientOrigin(kDtRight, rect, e, 2, 61).x, 120 - 1 - 61);
    EXPECT_TRUE(GradientBands(TEsGraduateStyle::gsNone, rect, o, 60, 0, 0).empty());
}

}  // namespace
