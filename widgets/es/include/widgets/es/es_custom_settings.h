#pragma once
// The settings object of the 3D label: the ten values that shape the shading, with a colour and a
// style notification so that the label can mark its presets custom when a value changes directly.

#include <string>

#include "framework/component.h"
#include "widgets/es/shade_values.h"

namespace es {

class TEsCustomSettings : public framework::TPersistent {
public:
    using Notification = framework::TNotifyEvent;

    TEsCustomSettings() = default;
    explicit TEsCustomSettings(const ShadeValues& values) : values_(values) {}
    std::string ClassName() const override { return "TEsCustomSettings"; }
    // Copies the ten values of another settings object without any notification; any other
    // source raises the framework's assignment error and changes nothing.
    void Assign(const framework::TPersistent* source) override;

    const ShadeValues& Values() const { return values_; }

    TColor GraduateFromColor() const { return values_.graduateFromColor; }
    TEsGraduateStyle GraduateStyle() const { return values_.graduateStyle; }
    TColor HighlightColor() const { return values_.highlightColor; }
    int HighlightDepth() const { return values_.highlightDepth; }
    TEsShadeDirection HighlightDirection() const { return values_.highlightDirection; }
    TEsShadeStyle HighlightStyle() const { return values_.highlightStyle; }
    TColor ShadowColor() const { return values_.shadowColor; }
    int ShadowDepth() const { return values_.shadowDepth; }
    TEsShadeDirection ShadowDirection() const { return values_.shadowDirection; }
    TEsShadeStyle ShadowStyle() const { return values_.shadowStyle; }

    void SetGraduateFromColor(TColor value) { Change(values_.graduateFromColor, value, OnColorChange); }
    void SetGraduateStyle(TEsGraduateStyle value) { Change(values_.graduateStyle, value, OnStyleChange); }
    void SetHighlightColor(TColor value) { Change(values_.highlightColor, value, OnColorChange); }
    // Depths are one byte; a value outside 0..255 is clamped rather than wrapped.
    void SetHighlightDepth(int value) { Change(values_.highlightDepth, ClampDepth(value), OnStyleChange); }
    void SetHighlightDirection(TEsShadeDirection value) { Change(values_.highlightDirection, value, OnStyleChange); }
    void SetHighlightStyle(TEsShadeStyle value) { Change(values_.highlightStyle, value, OnStyleChange); }
    void SetShadowColor(TColor value) { Change(values_.shadowColor, value, OnColorChange); }
    void SetShadowDepth(int value) { Change(values_.shadowDepth, ClampDepth(value), OnStyleChange); }
    void SetShadowDirection(TEsShadeDirection value) { Change(values_.shadowDirection, value, OnStyleChange); }
    void SetShadowStyle(TEsShadeStyle value) { Change(values_.shadowStyle, value, OnStyleChange); }

    // Silences both notifications; EndUpdate raises both once, changed or not.
    void BeginUpdate() { updating_ = true; }
    void EndUpdate();

    Notification OnColorChange;
    Notification OnStyleChange;

private:
    static std::uint8_t ClampDepth(int value) {
        return static_cast<std::uint8_t>(value < 0 ? 0 : value > 255 ? 255 : value);
    }
    template <typename T>
    void Change(T& field, T value, const Notification& notification) {
        if (field == value)
            return;
        field = value;
        Raise(notification);
    }
    void Raise(const Notification& notification);

    ShadeValues values_;
    bool updating_ = false;
};

}  // namespace es
