#pragma once
// The 3D label: its caption painted as layered shaded text, shaped by its settings object and the
// Appearance and ColorScheme presets.

#include <windows.h>

#include <string>

#include "framework/custom_label.h"
#include "widgets/es/label_look.h"
#include "widgets/es/shaded_text_painter.h"

namespace es {

class TEsCustomLabel : public framework::TCustomLabel {
public:
    explicit TEsCustomLabel(framework::TComponent* owner = nullptr);
    std::string ClassName() const override { return "TEsCustomLabel"; }

    TEsAppearance Appearance() const { return look_.Appearance(); }
    void SetAppearance(TEsAppearance value) { look_.SetAppearance(value); }
    TEsColorScheme ColorScheme() const { return look_.ColorScheme(); }
    void SetColorScheme(TEsColorScheme value) { look_.SetColorScheme(value); }
    TEsCustomSettings& CustomSettings() { return look_.CustomSettings(); }

    void SetWordWrap(bool wordWrap) override;
    std::string Version() const { return "1.11"; }
    void SetVersion(const std::string&) {}

    void Paint(framework::TCanvas& canvas) override;
    // Paints the shaded caption into any device context: the background first unless transparent.
    void PaintToDC(HDC dc, const RECT& rect, UINT format);

    // What the background is painted in: the label's colour, or in high contrast the theme's face.
    framework::TColor BackgroundColor() const;

protected:
    void PaintShadedText(framework::TCanvas& canvas, const RECT& rect, UINT format);
    ShadedText TextToPaint() const;

private:
    // The label as the look sees it.
    class LookHost : public LabelLookHost {
    public:
        explicit LookHost(TEsCustomLabel& label) : label_(label) {}
        bool Loading() const override { return label_.Loading(); }
        void InvalidateLook() override { label_.Invalidate(); }
        TColor FontColor() const override { return label_.Font().color; }
        void SetFontColor(TColor color) override;
        void Notify(unsigned message) override { label_.Perform(message); }

    private:
        TEsCustomLabel& label_;
    };

    LookHost lookHost_{*this};
    LabelLook look_{lookHost_};
};

}  // namespace es
