#pragma once
// A window-less label: its caption drawn by its parent's paint, aligned, optionally word-wrapped,
// transparent over what the parent drew, and sized to its caption when AutoSize is on.

#include <functional>

#include "framework/graphic_control.h"

namespace framework {

class TCustomLabel : public TGraphicControl {
public:
    explicit TCustomLabel(TComponent* owner = nullptr);
    std::string ClassName() const override { return "TCustomLabel"; }

    TAlignment Alignment() const { return alignment_; }
    virtual void SetAlignment(TAlignment alignment);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool autoSize);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent);
    bool WordWrap() const { return wordWrap_; }
    virtual void SetWordWrap(bool wordWrap);
    // Off: an ampersand in the caption is drawn as it is instead of underlining the next character.
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool showAccelChar);
    // The control the label names; it is not owned and the label forgets it never, so it must
    // outlive the label (on a form, both belong to the form).
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control) { focusControl_ = control; }

    void Paint(TCanvas& canvas) override;

protected:
    // DrawText flags for the alignment, word wrap and accelerator settings.
    UINT TextFormat() const;
    bool Opaque() const override { return !transparent_; }
    // With AutoSize, fits the bounds to the caption (keeping the width when word-wrapping).
    virtual void AdjustBounds();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // Draws outside a paint: a canvas over the control's rectangle of its parent's window, with
    // the origin at the control's corner. False (and nothing run) without a parent window.
    bool WithControlCanvas(const std::function<void(TCanvas& canvas)>& draw);

private:
    TAlignment alignment_ = taLeftJustify;
    bool autoSize_ = true;
    bool transparent_ = false;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    TWinControl* focusControl_ = nullptr;
};

}  // namespace framework
