#pragma once
// The look of a 3D label: its settings object, the Appearance and ColorScheme presets that write
// groups of settings at once, and the scheme table. The control around it supplies the font colour,
// the loading state, invalidation and the change notifications through LabelLookHost.

#include <array>

#include "widgets/es/es_custom_settings.h"

namespace es {

// The framework's change notifications the look sends to its control.
constexpr unsigned kCmColorChanged = framework::CM_COLORCHANGED;
constexpr unsigned kCmFontChanged = framework::CM_FONTCHANGED;
constexpr unsigned kCmTextChanged = framework::CM_TEXTCHANGED;

class LabelLookHost {
public:
    virtual bool Loading() const = 0;
    virtual void InvalidateLook() = 0;
    virtual TColor FontColor() const = 0;
    virtual void SetFontColor(TColor color) = 0;
    virtual void Notify(unsigned message) = 0;

protected:
    ~LabelLookHost() = default;
};

struct SchemeColors {
    TColor highlight, shadow, font;
};

class LabelLook {
public:
    explicit LabelLook(LabelLookHost& host);
    LabelLook(const LabelLook&) = delete;
    LabelLook& operator=(const LabelLook&) = delete;

    TEsAppearance Appearance() const { return appearance_; }
    void SetAppearance(TEsAppearance value);
    TEsColorScheme ColorScheme() const { return colorScheme_; }
    void SetColorScheme(TEsColorScheme value);

    TEsCustomSettings& CustomSettings() { return settings_; }
    const TEsCustomSettings& CustomSettings() const { return settings_; }
    const SchemeColors& Scheme(TEsColorScheme scheme) const { return schemes_[static_cast<int>(scheme)]; }

    // The colour of the face text in a freshly made label: the csWindows row's font colour.
    TColor InitialFontColor() const { return Scheme(TEsColorScheme::csWindows).font; }

private:
    void SettingsColorChanged();
    void SettingsStyleChanged();

    LabelLookHost& host_;
    TEsAppearance appearance_ = TEsAppearance::apRaised;
    TEsColorScheme colorScheme_ = TEsColorScheme::csWindows;
    TEsCustomSettings settings_;
    std::array<SchemeColors, 6> schemes_;
    bool schemeUpdating_ = false;
    bool appearanceUpdating_ = false;
};

}  // namespace es
