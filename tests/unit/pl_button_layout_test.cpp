// The numbers a gradient push button paints: face rows, caption positions, even spacing, the
// disabled grey, frames, focus marks and the round shape.

#include "widgets/pl/button_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace pl {
namespace {

TEST(GradientRows, GreenFaceOfTheMainWindowButtons) {
    const std::vector<Rgb> rows = GradientRows(MakeRgb(255, 255, 255), MakeRgb(192, 220, 192), 26);
    ASSERT_EQ(26u, rows.size());
    EXPECT_EQ(MakeRgb(255, 255, 255), rows[0]);
    EXPECT_EQ(MakeRgb(253, 254, 253), rows[1]);
    EXPECT_EQ(MakeRgb(225, 239, 225), rows[12]);
    EXPECT_EQ(MakeRgb(195, 222, 195), rows[24]);
    EXPECT_EQ(MakeRgb(192, 220, 192), rows[25]);
    // Every step moves each channel toward the end colour, never past it.
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_LE(RedOf(rows[i]), RedOf(rows[i - 1])) << i;
        EXPECT_LE(GreenOf(rows[i]), GreenOf(rows[i - 1])) << i;
    }
}

TEST(GradientRows, SilverEndAndRisingChannels) {
    EXPECT_EQ(MakeRgb(225, 225, 225), GradientRows(MakeRgb(255, 255, 255), MakeRgb(192, 192, 192), 26)[12]);
    // Truncation toward zero: a rising channel rounds down (127), a falling one up (128).
    EXPECT_EQ((std::vector<Rgb>{MakeRgb(0, 10, 255), MakeRgb(127, 5, 128), MakeRgb(255, 0, 0)}),
              GradientRows(MakeRgb(0, 10, 255), MakeRgb(255, 0, 0), 3));
}

TEST(GradientRows, TinyHeights) {
    EXPECT_EQ(std::vector<Rgb>{MakeRgb(1, 2, 3)}, GradientRows(MakeRgb(1, 2, 3), MakeRgb(200, 200, 200), 1));
    EXPECT_TRUE(GradientRows(MakeRgb(1, 2, 3), MakeRgb(200, 200, 200), 0).empty());
    EXPECT_TRUE(GradientRows(MakeRgb(1, 2, 3), MakeRgb(200, 200, 200), -5).empty());
}

TEST(CaptionLineTops, CentredAndFixedPlacements) {
    struct Case {
        const char* name;
        CaptionMetrics metrics;
        CaptionTops expected;
    };
    const Case cases[] = {
        {"one line, centred", {26, 12, 12, false, true, 4, true, 0}, {8, 24, 8}},
        {"two lines, centred", {26, 12, 12, false, false, 4, true, 0}, {-1, 15, -1}},
        {"second line alone, centred", {26, 12, 12, true, false, 4, true, 3}, {-1, 7, 7}},
        {"fixed top 8, one line", {26, 12, 12, false, true, 4, false, 8}, {8, 24, 8}},
        {"fixed top, first line empty", {26, 12, 12, true, false, 4, false, 5}, {5, 5, 5}},
        {"height 0", {0, 12, 12, false, true, 4, true, 0}, {-5, 11, -5}},
    };
    for (const Case& c : cases) {
        const CaptionTops tops = CaptionLineTops(c.metrics);
        EXPECT_EQ(c.expected.first, tops.first) << c.name;
        EXPECT_EQ(c.expected.second, tops.second) << c.name;
        EXPECT_EQ(c.expected.captionTop, tops.captionTop) << c.name;
    }
}

TEST(AnchorCaption, EachAlignmentAndThePressedShift) {
    struct Case {
        TplBtnAlignment alignment;
        int characters;
        bool shifted;
        int x, y;
        TextAlign align;
        bool even;
    };
    const Case cases[] = {
        {taCenter, 3, false, 28, 8, kTextCenter, false}, {taCenter, 3, true, 29, 9, kTextCenter, false},
        {taLeft, 3, false, 5, 8, kTextLeft, false},      {taRight, 3, false, 50, 8, kTextRight, false},
        {taEven, 3, false, 5, 8, kTextLeft, true},       {taEven, 1, false, 28, 8, kTextCenter, false},
    };
    for (const Case& c : cases) {
        const CaptionAnchor anchor = AnchorCaption(c.alignment, c.characters, 57, 3, 5, 8, c.shifted);
        EXPECT_EQ(c.x, anchor.x) << int(c.alignment) << c.shifted;
        EXPECT_EQ(c.y, anchor.y) << int(c.alignment) << c.shifted;
        EXPECT_EQ(c.align, anchor.align) << int(c.alignment);
        EXPECT_EQ(c.even, anchor.even) << int(c.alignment);
    }
}

TEST(EvenCharacterPositions, RestGoesToTheFirstGaps) {
    // 75 wide, no margins: span 71, three characters 36 wide, gap 17 and rest 1.
    EXPECT_EQ((std::vector<int>{2, 32, 61}), EvenCharacterPositions(2, 75, 0, 0, 36, {12, 12, 12}));
    // Margins narrow the span: 75 - 10 - 6 - 4 = 55, four characters of 10: 15 over 3 gaps of 5.
    EXPECT_EQ((std::vector<int>{12, 27, 42, 57}), EvenCharacterPositions(12, 75, 10, 6, 40, {10, 10, 10, 10}));
}

TEST(EvenCharacterPositions, WiderThanTheSpanOverlaps) {
    // 120 wide text in a span of 71: gap -24, rest -1; the characters overlap.
    const std::vector<int> x = EvenCharacterPositions(2, 75, 0, 0, 120, {40, 40, 40});
    EXPECT_EQ((std::vector<int>{2, 17, 33}), x);
    EXPECT_LT(x[1], x[0] + 40);
    // A button narrower than its margins still gives a position for every character.
    EXPECT_EQ(5u, EvenCharacterPositions(2, 0, 0, 0, 50, {10, 10, 10, 10, 10}).size());
    EXPECT_TRUE(EvenCharacterPositions(2, 75, 0, 0, 0, {}).empty());
    EXPECT_EQ(std::vector<int>{2}, EvenCharacterPositions(2, 75, 0, 0, 12, {12}));
}

TEST(SplitCharacters, SurrogatePairsCountOnce) {
    using Characters = std::vector<std::u16string>;
    EXPECT_EQ((Characters{u"実", u"　", u"行"}), SplitCharacters(u"実　行"));
    EXPECT_EQ((Characters{u"&", u"A", u"\U00020B9F"}), SplitCharacters(u"&A\U00020B9F"));
    // A surrogate without its partner stands alone.
    EXPECT_EQ((Characters{u"\xD842", u"a", u"\xDF9F"}), SplitCharacters(u"\xD842"
                                                                        u"a\xDF9F"));
    EXPECT_EQ(10000u, SplitCharacters(std::u16string(10000, u'x')).size());
    EXPECT_TRUE(SplitCharacters(u"").empty());
}

TEST(MakeDisabledPixels, GreyLevelsAndRowPadding) {
    // Two rows of two pixels (blue, green, red), each row padded to 8 bytes.
    std::vector<std::uint8_t> bits = {0, 0, 0,   255, 255, 255, 0xAA, 0xAA,   // black, white
                                      0, 0, 255, 31,  20,  10,  0xAA, 0xAA};  // red, (10, 20, 31)
    MakeDisabledPixels(bits.data(), 2, 2, 8);
    const std::vector<std::uint8_t> expected = {120, 120, 120, 247, 247, 247, 0xAA, 0xAA,
                                                162, 162, 162, 130, 130, 130, 0xAA, 0xAA};
    EXPECT_EQ(expected, bits);
}

TEST(FrameFor, EveryStyleAndThePressedFrame) {
    struct Case {
        TplButtonStyle style;
        TplBtnFrameType frameType;
        bool pressed;
        FrameKind kind;
        unsigned edge, flags;
    };
    const Case cases[] = {
        {bsNormal, bffFlat, false, FrameKind::Edge, 5, 15},
        {bsNormal, bffBump, true, FrameKind::PressedRectangles, 0, 0},
        {bsFlat, bffFlat, false, FrameKind::Edge, 9, 0x400F},
        {bsFlat, bffEtched, true, FrameKind::Edge, 6, 15},
        {bsFlat, bffBump, false, FrameKind::Edge, 9, 15},
        {bsFlatNoFrame, bffBump, true, FrameKind::None, 0, 0},
        {bsRoundRect, bffFlat, true, FrameKind::RoundOutline, 0, 0},
        {bsRoundRectNoFrame, bffFlat, false, FrameKind::None, 0, 0},
    };
    for (const Case& c : cases) {
        const Frame frame = FrameFor(c.style, c.frameType, c.pressed);
        EXPECT_EQ(c.kind, frame.kind) << int(c.style) << c.pressed;
        EXPECT_EQ(c.edge, frame.edge) << int(c.style);
        EXPECT_EQ(c.flags, frame.flags) << int(c.style);
    }
}

TEST(FocusMarkFor, RectangleOfEachStyle) {
    struct Case {
        TplButtonStyle style;
        TplBtnFrameType frameType;
        FocusMark expected;
    };
    const Case cases[] = {
        {bsNormal, bffBump, {false, {2, 2, 55, 24}, 0}},
        {bsFlat, bffFlat, {false, {2, 2, 55, 24}, 0}},
        {bsFlat, bffBump, {false, {2, 2, 56, 25}, 0}},
        {bsFlat, bffEtched, {false, {2, 2, 54, 23}, 0}},
        {bsFlatNoFrame, bffBump, {false, {2, 2, 55, 24}, 0}},
        {bsRoundRect, bffBump, {true, {2, 2, 55, 24}, 5}},
        {bsRoundRectNoFrame, bffFlat, {true, {2, 2, 55, 24}, 5}},
    };
    for (const Case& c : cases) {
        const FocusMark mark = FocusMarkFor(c.style, c.frameType, 57, 26);
        EXPECT_EQ(c.expected.rounded, mark.rounded) << int(c.style) << int(c.frameType);
        EXPECT_EQ(c.expected.rect, mark.rect) << int(c.style) << int(c.frameType);
        EXPECT_EQ(c.expected.corner, mark.corner) << int(c.style);
    }
}

TEST(RoundShapeRect, OnePixelBeyondTheClientArea) {
    EXPECT_EQ((Rect{0, 0, 58, 27}), RoundShapeRect(57, 26));
    EXPECT_EQ((Rect{0, 0, 1, 1}), RoundShapeRect(0, 0));
    EXPECT_EQ(-2, CentredOffset(26, 31));
}

}  // namespace
}  // namespace pl
