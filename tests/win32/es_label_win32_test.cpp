#include "widgets/es/es_label.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "framework/bitmap.h"
#include "pixels.h"

namespace {

using es::TEsAppearance;
using es::TEsCustomLabel;
using es::TEsGraduateStyle;
using es::TEsShadeDirection;
using es::TEsShadeStyle;
using testsupport::Pixels;

constexpr framework::TColor kBack = 0x00C000;
constexpr framework::TColor kFace = 0x808080;  // the csWindows font colour
constexpr int kWidth = 120, kHeight = 31;

// A label drawn with a font that this prefix renders without antialiasing, so colours are exact.
void Prepare(TEsCustomLabel& label, const char16_t* caption = u"Hi") {
    label.SetTransparent(false);
    label.SetColor(kBack);
    label.SetFont(framework::TFont{u"Tahoma", -16, DEFAULT_CHARSET, kFace, 0});
    label.SetCaption(caption);
}

Pixels Render(TEsCustomLabel& label, UINT format = DT_EXPANDTABS, int width = kWidth, int height = kHeight) {
    framework::TBitmap bitmap(width, height);
    label.PaintToDC(bitmap.Canvas().Handle(), RECT{0, 0, width, height}, format);
    return Pixels(bitmap.Canvas().Handle(), 0, 0, width, height);
}

RECT Shifted(RECT box, int dx, int dy) {
    ::OffsetRect(&box, dx, dy);
    return box;
}

void ExpectBox(const RECT& actual, const RECT& expected) {
    EXPECT_EQ(actual.left, expected.left);
    EXPECT_EQ(actual.top, expected.top);
    EXPECT_EQ(actual.right, expected.right);
    EXPECT_EQ(actual.bottom, expected.bottom);
}

// Where the caption lands without any shading, per format.
RECT PlainBox(UINT format) {
    TEsCustomLabel plain;
    Prepare(plain);
    plain.SetAppearance(TEsAppearance::apNone);
    const Pixels pixels = Render(plain, format);
    EXPECT_EQ(pixels.DistinctColors(), 2u) << "the test font must be drawn without antialiasing";
    return pixels.BoxOf(kFace);
}

TEST(EsLabelPixels, RaisedPutsHighlightAtCornerFaceOneRightAndDownShadowTwo) {
    const RECT plain = PlainBox(DT_EXPANDTABS);
    ASSERT_GE(plain.right, plain.left);
    TEsCustomLabel label;
    Prepare(label);
    const Pixels raised = Render(label);
    ExpectBox(raised.BoxOf(kFace), Shifted(plain, 1, 1));
    const RECT highlight = raised.BoxOf(0xFFFFFF);
    EXPECT_EQ(highlight.left, plain.left);
    EXPECT_EQ(highlight.top, plain.top);
    const RECT shadow = raised.BoxOf(0x000000);
    EXPECT_EQ(shadow.right, plain.right + 2);
    EXPECT_EQ(shadow.bottom, plain.bottom + 2);
}

TEST(EsLabelPixels, CentredRaisedFaceIsCentredAsUnshadedText) {
    const RECT plain = PlainBox(DT_EXPANDTABS | DT_CENTER);
    TEsCustomLabel label;
    Prepare(label);
    // The shift takes the highlight's pixel back horizontally; the text still starts below it.
    ExpectBox(Render(label, DT_EXPANDTABS | DT_CENTER).BoxOf(kFace), Shifted(plain, 0, 1));
}

TEST(EsLabelPixels, FlyingWithWindowsSchemeCastsBothLayersDownRightInBlack) {
    const RECT plain = PlainBox(DT_EXPANDTABS);
    TEsCustomLabel label;
    Prepare(label);
    label.SetAppearance(TEsAppearance::apFlying);
    const Pixels flying = Render(label);
    ExpectBox(flying.BoxOf(kFace), plain);
    const RECT black = flying.BoxOf(0x000000);
    EXPECT_EQ(black.right, plain.right + 5);
    EXPECT_EQ(black.bottom, plain.bottom + 5);
    EXPECT_FALSE(flying.Contains(0xFFFFFF));
}

TEST(EsLabelPixels, ExtrudedAndGraduatedLayerColours) {
    const RECT plain = PlainBox(DT_EXPANDTABS);
    TEsCustomLabel label;
    Prepare(label);
    label.SetAppearance(TEsAppearance::apNone);
    auto& settings = label.CustomSettings();
    settings.SetShadowDirection(TEsShadeDirection::sdDown);
    settings.SetShadowColor(0x0000FF);
    settings.SetShadowDepth(3);
    settings.SetShadowStyle(TEsShadeStyle::ssExtrude);
    const Pixels extruded = Render(label);
    EXPECT_EQ(extruded.DistinctColors(), 3u);
    EXPECT_EQ(extruded.BoxOf(0x0000FF).bottom, plain.bottom + 3);

    // From blue 0x40 to the font's 0x4A over five layers: 0x40, 0x42, 0x45, 0x48 (2.5 and 7.5 to even).
    framework::TFont font = label.Font();
    font.color = 0x4A0000;
    label.SetFont(font);
    settings.SetShadowColor(0x400000);
    settings.SetShadowDepth(5);
    settings.SetShadowStyle(TEsShadeStyle::ssGraduated);
    const Pixels graduated = Render(label);
    for (framework::TColor layer : {0x400000u, 0x420000u, 0x450000u, 0x480000u})
        EXPECT_TRUE(graduated.Contains(layer)) << std::hex << layer;
    EXPECT_FALSE(graduated.Contains(0x430000));
    EXPECT_EQ(graduated.BoxOf(0x400000).bottom, plain.bottom + 5);
}

TEST(EsLabelPixels, VerticalGradientBandsColourTheFaceAndKeyColouredBackground) {
    TEsCustomLabel label;
    Prepare(label, u"HHHHHHHH");
    label.SetAppearance(TEsAppearance::apNone);
    label.CustomSettings().SetGraduateFromColor(0x000000);
    label.CustomSettings().SetGraduateStyle(TEsGraduateStyle::gsVertical);
    framework::TFont font = label.Font();
    font.color = 0xF0F0F0;
    label.SetFont(font);
    // Height 31: 16 bands of two rows, band j from 0x101010 * j.
    auto band = [](int y) { return 0x101010u * static_cast<unsigned>(y / 2); };
    const Pixels face = Render(label);
    int facePixels = 0;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (face.At(x, y) != kBack) {
                EXPECT_EQ(face.At(x, y), band(y)) << x << "," << y;
                ++facePixels;
            }
    EXPECT_GT(facePixels, 20);

    label.SetColor(0xFE09F1);  // the key colour itself: the background takes the bands too
    const Pixels keyed = Render(label);
    for (int y = 0; y < kHeight; ++y)
        EXPECT_EQ(keyed.At(kWidth - 1, y), band(y)) << y;
}

TEST(EsLabelPixels, DeepLayersEmptyCaptionAndNoRoomDrawSafely) {
    TEsCustomLabel label;
    Prepare(label, u"");
    const Pixels empty = Render(label);
    EXPECT_EQ(empty.DistinctColors(), 1u);
    EXPECT_EQ(empty.At(0, 0), kBack);

    label.SetCaption(u"Deep");
    label.CustomSettings().SetShadowDepth(255);
    label.CustomSettings().SetHighlightDepth(255);
    label.CustomSettings().SetShadowStyle(TEsShadeStyle::ssGraduated);
    label.CustomSettings().SetHighlightStyle(TEsShadeStyle::ssExtrude);
    const Pixels deep = Render(label, DT_EXPANDTABS | DT_CENTER);
    EXPECT_EQ(deep.Width(), kWidth);

    framework::TBitmap bitmap(4, 4);
    label.PaintToDC(bitmap.Canvas().Handle(), RECT{0, 0, 0, 0}, DT_EXPANDTABS);  // nothing to paint into
}

}  // namespace
