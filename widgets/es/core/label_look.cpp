#include "widgets/es/label_look.h"

namespace es {

namespace {

using Dir = TEsShadeDirection;

// Runs the end of a preset write on every path out of it, a failed step included.
class PresetWrite {
public:
    PresetWrite(bool& updatingFlag, TEsCustomSettings& settings, LabelLookHost& host)
        : flag_(updatingFlag), settings_(settings), host_(host) {
        flag_ = true;
        settings_.BeginUpdate();
    }
    ~PresetWrite() {
        settings_.EndUpdate();
        flag_ = false;
        host_.Notify(kCmTextChanged);
    }
    PresetWrite(const PresetWrite&) = delete;
    PresetWrite& operator=(const PresetWrite&) = delete;

private:
    bool& flag_;
    TEsCustomSettings& settings_;
    LabelLookHost& host_;
};

}  // namespace

LabelLook::LabelLook(LabelLookHost& host)
    : host_(host),
      schemes_{{
          {0xFFFFFF, 0x000000, 0x808080},  // csCustom: a copy of csWindows
          {0xFFFFFF, 0x808080, 0x000000},  // csText
          {0xFFFFFF, 0x000000, 0x808080},  // csWindows
          {0xFFFFFF, 0x000000, 0xC0C0C0},  // csEmbossed
          {0x00FFFF, 0x000000, 0x008080},  // csGold
          {0xFFFF00, 0x800000, 0x808000},  // csSteel
      }} {
    ShadeValues values;
    values.highlightColor = Scheme(TEsColorScheme::csWindows).highlight;
    values.shadowColor = Scheme(TEsColorScheme::csWindows).shadow;
    const TEsCustomSettings initial(values);
    settings_.Assign(&initial);
    settings_.OnColorChange = [this](framework::TObject*) { SettingsColorChanged(); };
    settings_.OnStyleChange = [this](framework::TObject*) { SettingsStyleChanged(); };
}

// A preset's own writes reach these handlers too. Each skips its reset while either preset is being
// written, so that ColorScheme then Appearance (as the attached label does) leaves both as written.
void LabelLook::SettingsColorChanged() {
    if (host_.Loading())
        return;
    host_.InvalidateLook();
    if (!schemeUpdating_ && !appearanceUpdating_) {
        colorScheme_ = TEsColorScheme::csCustom;
        host_.Notify(kCmColorChanged);
    }
}

void LabelLook::SettingsStyleChanged() {
    if (host_.Loading())
        return;
    host_.InvalidateLook();
    if (!appearanceUpdating_ && !schemeUpdating_) {
        appearance_ = TEsAppearance::apCustom;
        host_.Notify(kCmTextChanged);
    }
}

void LabelLook::SetAppearance(TEsAppearance value) {
    if (value == appearance_)
        return;
    PresetWrite write(appearanceUpdating_, settings_, host_);
    appearance_ = value;
    const SchemeColors& row = Scheme(colorScheme_);
    settings_.SetHighlightColor(row.highlight);
    auto directions = [this](Dir highlight, Dir shadow, int highlightDepth, int shadowDepth) {
        settings_.SetHighlightDirection(highlight);
        settings_.SetShadowDirection(shadow);
        settings_.SetHighlightDepth(highlightDepth);
        settings_.SetShadowDepth(shadowDepth);
    };
    switch (value) {
        case TEsAppearance::apNone:
            directions(Dir::sdNone, Dir::sdNone, 0, 0);
            break;
        case TEsAppearance::apCustom:
            break;
        case TEsAppearance::apFlying:
            directions(Dir::sdDownRight, Dir::sdDownRight, 1, 5);
            settings_.SetHighlightColor(row.shadow);
            break;
        case TEsAppearance::apRaised:
            directions(Dir::sdUpLeft, Dir::sdDownRight, 1, 1);
            break;
        case TEsAppearance::apSunken:
            directions(Dir::sdDownRight, Dir::sdUpLeft, 1, 1);
            break;
        case TEsAppearance::apShadow:
            directions(Dir::sdNone, Dir::sdDownRight, 0, 2);
            break;
    }
}

void LabelLook::SetColorScheme(TEsColorScheme value) {
    if (value == colorScheme_)
        return;
    PresetWrite write(schemeUpdating_, settings_, host_);
    colorScheme_ = value;
    const SchemeColors row = Scheme(value);
    settings_.SetHighlightColor(row.highlight);
    host_.SetFontColor(row.font);
    settings_.SetShadowColor(row.shadow);
    if (value != TEsColorScheme::csCustom)
        schemes_[static_cast<int>(TEsColorScheme::csCustom)] = row;
}

}  // namespace es
