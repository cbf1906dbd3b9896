#pragma once
// A control without a window of its own: its parent paints it (in the order the controls were
// placed) and hands it the mouse messages over its rectangle. Invalidating it invalidates only its
// own rectangle of the parent.

#include <string>

#include "framework/canvas.h"
#include "framework/controls.h"
#include "framework/pointer_input.h"

namespace framework {

class TGraphicControl : public TControl {
public:
    explicit TGraphicControl(TComponent* owner = nullptr) : TControl(owner) {}
    ~TGraphicControl() override;
    std::string ClassName() const override { return "TGraphicControl"; }

    // Places the control on a parent (or takes it off with null).
    void SetParent(TWinControl* parent);

    Bounds GetBounds() const override { return bounds_; }
    void SetBounds(const Bounds& bounds) override;
    bool Visible() const { return visible_; }
    void SetVisible(bool visible);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    const std::u16string& Caption() const { return caption_; }
    void SetCaption(const std::u16string& caption);

    LRESULT Perform(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) override {
        return HandleMessage(message, wParam, lParam);
    }
    void Invalidate() override;
    void Refresh() override;
    // The rectangle in the parent's client coordinates.
    RECT BoundsRect() const;

    TNotifyEvent OnClick;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseEvent OnMouseMove;

    // Paints the control; the canvas's origin is the control's top-left corner and drawing is
    // clipped to its rectangle.
    virtual void Paint(TCanvas& canvas) { (void)canvas; }

protected:
    // An opaque control paints every pixel of its rectangle, so the parent need not erase first.
    virtual bool Opaque() const { return false; }
    // Runs after the bounds changed.
    virtual void BoundsChanged() {}
    virtual void Click();
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Bounds bounds_{0, 0, 0, 0};
    std::u16string caption_;
    bool visible_ = true;
    bool enabled_ = true;
    PointerTracker pointer_;
};

}  // namespace framework
