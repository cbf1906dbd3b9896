// What a gradient push button does with each property change and each input.

#include "framework/pointer_input.h"
#include "widgets/pl/button_state.h"

#include <gtest/gtest.h>

#include <cstring>

namespace pl {
namespace {

TEST(ButtonSettings, CaptionTopAndCentring) {
    ButtonSettings settings;
    EXPECT_TRUE(settings.CaptionVertCenter());
    // The value it already has: nothing happens, centring stays on.
    EXPECT_EQ(Repaint::None, settings.SetCaptionTop(0));
    EXPECT_TRUE(settings.CaptionVertCenter());
    // Loading 8 from the form switches centring off.
    EXPECT_EQ(Repaint::Now, settings.SetCaptionTop(8));
    EXPECT_FALSE(settings.CaptionVertCenter());
    EXPECT_EQ(8, settings.CaptionTop());
    EXPECT_EQ(Repaint::Now, settings.SetCaptionVertCenter(true));
    // Painting writes the centred top back without switching centring off.
    settings.StoreCentredTop(7);
    EXPECT_TRUE(settings.CaptionVertCenter());
    EXPECT_EQ(7, settings.CaptionTop());
    // Switching centring off keeps the last painted top and does not repaint.
    EXPECT_EQ(Repaint::None, settings.SetCaptionVertCenter(false));
    EXPECT_FALSE(settings.CaptionVertCenter());
    EXPECT_EQ(7, settings.CaptionTop());
}

TEST(ButtonSettings, ChangeRepaintsNowAndSameValueDoesNot) {
    ButtonSettings s;
    struct Step {
        const char* name;
        Repaint (*set)(ButtonSettings&);
        Repaint expected;
    };
    const Step steps[] = {
        {"line space same", [](ButtonSettings& b) { return b.SetCaptionLineSpace(4); }, Repaint::None},
        {"line space", [](ButtonSettings& b) { return b.SetCaptionLineSpace(6); }, Repaint::Now},
        {"frame type", [](ButtonSettings& b) { return b.SetFlatFrameType(bffBump); }, Repaint::Now},
        {"gradation same", [](ButtonSettings& b) { return b.SetGradation(true); }, Repaint::None},
        {"gradation off", [](ButtonSettings& b) { return b.SetGradation(false); }, Repaint::Now},
        {"begin same", [](ButtonSettings& b) { return b.SetGradColor(1, 0xFFFFFF); }, Repaint::None},
        {"end", [](ButtonSettings& b) { return b.SetGradColor(2, 0xC0DCC0); }, Repaint::Now},
        {"has focus", [](ButtonSettings& b) { return b.SetHasFocus(false); }, Repaint::Now},
        {"disable image same", [](ButtonSettings& b) { return b.SetDisableImage(false); }, Repaint::None},
        {"style same", [](ButtonSettings& b) { return b.SetButtonStyle(bsNormal); }, Repaint::Now},
    };
    for (const Step& step : steps)
        EXPECT_EQ(step.expected, step.set(s)) << step.name;
    EXPECT_EQ(6, s.CaptionLineSpace());
    EXPECT_EQ(bffBump, s.FlatFrameType());
    EXPECT_FALSE(s.Gradation());
    EXPECT_EQ(0xFFFFFFu, s.GradBeginColor());
    EXPECT_EQ(0xC0DCC0u, s.GradEndColor());
    EXPECT_FALSE(s.HasFocus());
}

TEST(ShapeChangeFor, OnlyEnteringARoundStyleBuildsAShape) {
    struct Case {
        TplButtonStyle from, to;
        bool inForce;
        ShapeChange expected;
    };
    const Case cases[] = {
        {bsRoundRect, bsRoundRect, true, ShapeChange::Keep},
        {bsNormal, bsRoundRect, false, ShapeChange::Build},
        {bsRoundRect, bsRoundRectNoFrame, true, ShapeChange::Build},
        {bsRoundRect, bsNormal, true, ShapeChange::Remove},
        {bsNormal, bsFlat, false, ShapeChange::Keep},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, ShapeChangeFor(c.from, c.to, c.inForce)) << int(c.from) << "->" << int(c.to);
}

TEST(CaptionLine, SettersAndCopy) {
    CaptionLine line;
    EXPECT_EQ(taCenter, line.Alignment());
    EXPECT_EQ(Repaint::None, line.SetCaption(u""));
    EXPECT_EQ(Repaint::Now, line.SetCaption(u"閉じる"));
    EXPECT_EQ(Repaint::None, line.SetCaption(u"閉じる"));
    EXPECT_EQ(Repaint::Now, line.SetMargin(1, 3));
    EXPECT_EQ(Repaint::Now, line.SetMargin(2, 4));
    EXPECT_EQ(Repaint::None, line.SetMargin(2, 4));
    EXPECT_EQ(Repaint::Now, line.SetAlignment(taEven));
    EXPECT_EQ(3, line.Left());
    EXPECT_EQ(4, line.Right());

    CaptionLine copy;
    EXPECT_EQ(Repaint::Now, copy.CopyFrom(line));
    EXPECT_EQ(u"閉じる", copy.Caption());
    EXPECT_EQ(taEven, copy.Alignment());
    EXPECT_EQ(3, copy.Left());
    EXPECT_EQ(4, copy.Right());
}

TEST(ImagePlacement, PositionsSwitchCentringOff) {
    ImagePlacement image;
    // Loading Top 0 into a fresh image changes nothing, so centring stays on.
    EXPECT_EQ(Repaint::None, image.SetPosition(2, 0));
    EXPECT_TRUE(image.VertCenter());
    EXPECT_EQ(Repaint::Now, image.SetFlag(4, true));
    EXPECT_EQ(Repaint::Now, image.SetPosition(1, 4));
    EXPECT_FALSE(image.HorzCenter());
    EXPECT_EQ(Repaint::Now, image.SetPosition(2, 3));
    EXPECT_FALSE(image.VertCenter());
    EXPECT_EQ(Repaint::Now, image.SetFlag(3, true));
    // Switching centring off does not repaint; the other flags do.
    EXPECT_EQ(Repaint::None, image.SetFlag(3, false));
    EXPECT_EQ(Repaint::Now, image.SetFlag(2, true));
    EXPECT_EQ(Repaint::Now, image.SetFlag(1, false));
    EXPECT_EQ(Repaint::None, image.SetFlag(1, false));
    EXPECT_EQ(Repaint::None, image.SetFlag(9, true));
}

TEST(ImagePlacement, CentringWritesTheCorner) {
    ImagePlacement image;
    image.SetFlag(4, true);
    image.Centre(57, 26, 16, 31);  // a picture taller than the button
    EXPECT_EQ(-2, image.Top());
    EXPECT_EQ(20, image.Left());
    EXPECT_TRUE(image.VertCenter());
    EXPECT_TRUE(image.HorzCenter());

    ImagePlacement copy;
    copy.CopyFrom(image);
    EXPECT_EQ(-2, copy.Top());
    EXPECT_EQ(20, copy.Left());
    EXPECT_TRUE(copy.HorzCenter());
}

// The button's pressed look is the framework's pointer tracker with the look ending at the first leave.
TEST(ButtonPress, PressDragOffBackAndRelease) {
    framework::PointerTracker state(false);
    using E = framework::PointerEvent;
    state.Feed(E::Move, true);
    EXPECT_TRUE(state.Feed(E::Press, true).pressedChanged);
    EXPECT_TRUE(state.Pressed());
    EXPECT_TRUE(state.Feed(E::Move, false).left);
    EXPECT_FALSE(state.Pressed());
    // Back over the button with the button still held: entered, not pressed again; the release clicks.
    EXPECT_TRUE(state.Feed(E::Move, true).entered);
    EXPECT_FALSE(state.Pressed());
    EXPECT_TRUE(state.Feed(E::Release, true).click);
    EXPECT_FALSE(state.Pressed());
}

TEST(ButtonPress, ClickAndEnterUpEndThePress) {
    framework::PointerTracker state(false);
    state.Feed(framework::PointerEvent::Press, true);
    EXPECT_TRUE(state.ClearPressed());  // Click runs, or Enter comes up
    EXPECT_FALSE(state.Pressed());
    EXPECT_FALSE(state.ClearPressed());
    // The release of that press is still a click, as it was before the press ended.
    EXPECT_TRUE(state.Feed(framework::PointerEvent::Release, true).click);
}

TEST(ShiftStateFromKeys, HighBitOfEachKey) {
    std::uint8_t keys[256];
    std::memset(keys, 0, sizeof keys);
    EXPECT_EQ(0u, ShiftStateFromKeys(keys));
    keys[0x10] = 0x80;
    keys[0x11] = 0x01;  // toggled, not down
    keys[0x04] = 0x81;
    EXPECT_EQ(ssShift | ssMiddle, ShiftStateFromKeys(keys));
    std::memset(keys, 0x80, sizeof keys);
    EXPECT_EQ(ssShift | ssAlt | ssCtrl | ssLeft | ssRight | ssMiddle, ShiftStateFromKeys(keys));
}

TEST(TakesDialogKey, EnterWhenFocusedEscapeWhenCancel) {
    struct Case {
        DialogKey key;
        bool focused, cancel;
        TShiftState shift;
        bool hasFocus, expected;
    };
    const Case cases[] = {
        {DialogKey::Enter, true, false, 0, true, true},        {DialogKey::Enter, false, true, 0, true, false},
        {DialogKey::Enter, true, false, ssShift, true, false}, {DialogKey::Enter, true, false, ssLeft, true, true},
        {DialogKey::Enter, true, false, 0, false, false},      {DialogKey::Escape, false, true, 0, true, true},
        {DialogKey::Escape, true, false, 0, true, false},      {DialogKey::Escape, false, true, ssCtrl, true, false},
        {DialogKey::Escape, false, true, ssAlt, true, false},  {DialogKey::Other, true, true, 0, true, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.expected, TakesDialogKey(c.key, c.focused, c.cancel, c.shift, c.hasFocus))
            << int(c.key) << c.focused << c.cancel << c.shift << c.hasFocus;
    }
}

}  // namespace
}  // namespace pl
