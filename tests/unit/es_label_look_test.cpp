#include "widgets/es/label_look.h"

#include <gtest/gtest.h>

#include "framework/exceptions.h"

#include <string>
#include <vector>

namespace {

using namespace es;
using Dir = TEsShadeDirection;

// A control that records what the look asks of it.
struct RecordingHost : LabelLookHost {
    bool loading = false;
    int invalidations = 0;
    TColor fontColor = 0x808080;
    std::vector<unsigned> notifications;
    bool Loading() const override { return loading; }
    void InvalidateLook() override { ++invalidations; }
    TColor FontColor() const override { return fontColor; }
    void SetFontColor(TColor color) override { fontColor = color; }
    void Notify(unsigned message) override { notifications.push_back(message); }
};

TEST(EsCustomSettings, EachWriteRaisesItsOwnNotificationOnlyOnChange) {
    struct Case {
        const char* name;
        void (*write)(TEsCustomSettings&);
        bool colour;
    };
    const Case cases[] = {
        {"GraduateFromColor", [](TEsCustomSettings& s) { s.SetGraduateFromColor(1); }, true},
        {"GraduateStyle", [](TEsCustomSettings& s) { s.SetGraduateStyle(TEsGraduateStyle::gsVertical); }, false},
        {"HighlightColor", [](TEsCustomSettings& s) { s.SetHighlightColor(2); }, true},
        {"HighlightDepth", [](TEsCustomSettings& s) { s.SetHighlightDepth(3); }, false},
        {"HighlightDirection", [](TEsCustomSettings& s) { s.SetHighlightDirection(Dir::sdUp); }, false},
        {"HighlightStyle", [](TEsCustomSettings& s) { s.SetHighlightStyle(TEsShadeStyle::ssExtrude); }, false},
        {"ShadowColor", [](TEsCustomSettings& s) { s.SetShadowColor(4); }, true},
        {"ShadowDepth", [](TEsCustomSettings& s) { s.SetShadowDepth(5); }, false},
        {"ShadowDirection", [](TEsCustomSettings& s) { s.SetShadowDirection(Dir::sdLeft); }, false},
        {"ShadowStyle", [](TEsCustomSettings& s) { s.SetShadowStyle(TEsShadeStyle::ssGraduated); }, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TEsCustomSettings settings;
        std::string raised;
        settings.OnColorChange = [&](framework::TObject* sender) {
            EXPECT_EQ(sender, &settings);
            raised += 'c';
        };
        settings.OnStyleChange = [&](framework::TObject*) { raised += 's'; };
        c.write(settings);
        c.write(settings);  // the same value again: nothing
        EXPECT_EQ(raised, c.colour ? "c" : "s");
        settings.BeginUpdate();
        TEsCustomSettings fresh;
        settings.Assign(&fresh);  // back to the defaults, silently
        EXPECT_EQ(raised, c.colour ? "c" : "s");
        settings.EndUpdate();  // both, once, whether or not anything changed
        EXPECT_EQ(raised, c.colour ? "ccs" : "scs");
    }
}

TEST(EsCustomSettings, AssignmentFromAnotherClassFailsAndChangesNothing) {
    struct TOther : framework::TPersistent {
        std::string ClassName() const override { return "TOther"; }
    } other;
    TEsCustomSettings settings;
    settings.SetShadowDepth(9);
    try {
        settings.Assign(&other);
        ADD_FAILURE() << "assigning another class must fail";
    } catch (const framework::EConvertError& error) {
        EXPECT_EQ(error.Message(), u"TOther を TEsCustomSettings に代入できません");
    }
    EXPECT_EQ(settings.ShadowDepth(), 9);
    EXPECT_THROW(settings.Assign(nullptr), framework::EConvertError);
}

TEST(EsCustomSettings, DepthsStayWithinOneByte) {
    TEsCustomSettings settings;
    settings.SetShadowDepth(300);
    settings.SetHighlightDepth(-4);
    EXPECT_EQ(settings.ShadowDepth(), 255);
    EXPECT_EQ(settings.HighlightDepth(), 0);
}

TEST(EsLabelLook, NewLabelIsRaisedWindowsWithoutRunningAPreset) {
    RecordingHost host;
    LabelLook look(host);
    EXPECT_EQ(look.Appearance(), TEsAppearance::apRaised);
    EXPECT_EQ(look.ColorScheme(), TEsColorScheme::csWindows);
    const ShadeValues& v = look.CustomSettings().Values();
    EXPECT_EQ(v.highlightColor, 0xFFFFFFu);
    EXPECT_EQ(v.shadowColor, 0u);
    EXPECT_EQ(v.graduateFromColor, 0x808080u);
    EXPECT_EQ(look.InitialFontColor(), 0x808080u);
    EXPECT_EQ(look.Scheme(TEsColorScheme::csCustom).font, look.Scheme(TEsColorScheme::csWindows).font);
    EXPECT_TRUE(host.notifications.empty());
}

TEST(EsLabelLook, AppearancePresetsWriteDirectionsDepthsAndHighlight) {
    struct Case {
        TEsAppearance appearance;
        Dir highlight, shadow;
        int highlightDepth, shadowDepth;
        TColor highlightColor;
    };
    // csWindows: highlight white, shadow black. The presets start from depths 7/7 and directions up.
    const Case cases[] = {
        {TEsAppearance::apNone, Dir::sdNone, Dir::sdNone, 0, 0, 0xFFFFFF},
        {TEsAppearance::apCustom, Dir::sdUp, Dir::sdUp, 7, 7, 0xFFFFFF},
        {TEsAppearance::apFlying, Dir::sdDownRight, Dir::sdDownRight, 1, 5, 0x000000},
        {TEsAppearance::apRaised, Dir::sdUpLeft, Dir::sdDownRight, 1, 1, 0xFFFFFF},
        {TEsAppearance::apSunken, Dir::sdDownRight, Dir::sdUpLeft, 1, 1, 0xFFFFFF},
        {TEsAppearance::apShadow, Dir::sdNone, Dir::sdDownRight, 0, 2, 0xFFFFFF},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.appearance));
        RecordingHost host;
        LabelLook look(host);
        host.loading = true;  // set up the starting values silently
        auto& s = look.CustomSettings();
        s.SetHighlightDirection(Dir::sdUp);
        s.SetShadowDirection(Dir::sdUp);
        s.SetHighlightDepth(7);
        s.SetShadowDepth(7);
        s.SetHighlightColor(0x123456);
        s.SetShadowStyle(TEsShadeStyle::ssExtrude);
        host.loading = false;
        if (c.appearance == TEsAppearance::apRaised)  // the current value would change nothing
            look.SetAppearance(TEsAppearance::apShadow);
        look.SetAppearance(c.appearance);
        EXPECT_EQ(look.Appearance(), c.appearance);
        EXPECT_EQ(s.HighlightDirection(), c.highlight);
        EXPECT_EQ(s.ShadowDirection(), c.shadow);
        EXPECT_EQ(s.HighlightDepth(), c.highlightDepth);
        EXPECT_EQ(s.ShadowDepth(), c.shadowDepth);
        EXPECT_EQ(s.HighlightColor(), c.highlightColor);
        EXPECT_EQ(s.ShadowStyle(), TEsShadeStyle::ssExtrude);  // styles are left alone
        // The preset's own writes mark nothing custom: the scheme survives.
        EXPECT_EQ(look.ColorScheme(), TEsColorScheme::csWindows);
        ASSERT_FALSE(host.notifications.empty());
        EXPECT_EQ(host.notifications.back(), kCmTextChanged);
        for (unsigned m : host.notifications)
            EXPECT_EQ(m, kCmTextChanged);
    }
}

TEST(EsLabelLook, ColorSchemeWritesColoursFontAndCustomRow) {
    RecordingHost host;
    LabelLook look(host);
    look.SetColorScheme(TEsColorScheme::csSteel);
    EXPECT_EQ(look.CustomSettings().HighlightColor(), 0xFFFF00u);
    EXPECT_EQ(look.CustomSettings().ShadowColor(), 0x800000u);
    EXPECT_EQ(host.fontColor, 0x808000u);
    EXPECT_EQ(look.Scheme(TEsColorScheme::csCustom).shadow, 0x800000u);
    EXPECT_EQ(look.Appearance(), TEsAppearance::apRaised);
    EXPECT_EQ(host.notifications, std::vector<unsigned>{kCmTextChanged});
    // csCustom takes the copied row and leaves the row itself alone.
    look.SetColorScheme(TEsColorScheme::csCustom);
    EXPECT_EQ(host.fontColor, 0x808000u);
    EXPECT_EQ(look.Scheme(TEsColorScheme::csCustom).highlight, 0xFFFF00u);
}

TEST(EsLabelLook, AttachedLabelSequenceKeepsTextSchemeAndNoAppearance) {
    RecordingHost host;
    LabelLook look(host);
    look.SetColorScheme(TEsColorScheme::csText);
    look.SetAppearance(TEsAppearance::apNone);
    EXPECT_EQ(look.ColorScheme(), TEsColorScheme::csText);
    EXPECT_EQ(look.Appearance(), TEsAppearance::apNone);
    EXPECT_EQ(look.CustomSettings().ShadowColor(), 0x808080u);
    EXPECT_EQ(look.CustomSettings().ShadowDepth(), 0);
    EXPECT_EQ(host.fontColor, 0u);
}

TEST(EsLabelLook, DirectWritesMarkPresetsCustomButNotWhileLoadingOrUnchanged) {
    RecordingHost host;
    LabelLook look(host);
    host.loading = true;
    look.CustomSettings().SetShadowDepth(3);
    look.CustomSettings().SetShadowColor(0x0000FF);
    EXPECT_EQ(look.Appearance(), TEsAppearance::apRaised);
    EXPECT_EQ(look.ColorScheme(), TEsColorScheme::csWindows);
    EXPECT_EQ(host.invalidations, 0);
    host.loading = false;

    look.SetAppearance(TEsAppearance::apRaised);  // current value: nothing at all
    look.SetColorScheme(TEsColorScheme::csWindows);
    EXPECT_TRUE(host.notifications.empty());

    look.CustomSettings().SetShadowDepth(4);
    EXPECT_EQ(look.Appearance(), TEsAppearance::apCustom);
    EXPECT_EQ(look.ColorScheme(), TEsColorScheme::csWindows);
    look.CustomSettings().SetShadowColor(0x00FF00);
    EXPECT_EQ(look.ColorScheme(), TEsColorScheme::csCustom);
    EXPECT_EQ(host.notifications, (std::vector<unsigned>{kCmTextChanged, kCmColorChanged}));
    EXPECT_EQ(host.invalidations, 2);
}

}  // namespace
