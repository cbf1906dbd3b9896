#pragma once
// A windowed control that paints itself: a window class of its own named after the control's
// class, a paint that covers every pixel (the erase request is answered without erasing), keyboard
// focus and tab order within the form's dialog navigation, the dialog keys the form offers its
// controls, mouse enter and leave notifications, and click detection with the mouse captured
// while the left button is held.

#include <windows.h>

#include <functional>
#include <string>

#include "framework/canvas.h"
#include "framework/controls.h"
#include "framework/pointer_input.h"

namespace framework {

using TKeyEvent = std::function<void(TObject* sender, WORD& key)>;

class TCustomControl : public TWinControl {
public:
    explicit TCustomControl(TComponent* owner = nullptr);
    std::string ClassName() const override { return "TCustomControl"; }

    // Places the control on a parent: the window is made then. A control is placed once; a later
    // call with another parent is ignored.
    virtual void SetParent(TWinControl* parent);
    // The control identifier of the window (for tools that find it by id); set before the parent.
    void SetControlId(int id) { controlId_ = id; }

    // Before the window exists the bounds are kept here, and given to the window when it is made.
    Bounds GetBounds() const override;
    void SetBounds(const Bounds& bounds) override;
    bool TabStop() const { return tabStop_; }
    void SetTabStop(bool tabStop);
    // Whether the window's keyboard cues hide the focus mark now (until the keyboard is used). Kept
    // by the control from WM_UPDATEUISTATE, since not every system keeps it for a window.
    bool FocusCuesHidden() const { return (uiState_ & UISF_HIDEFOCUS) != 0; }
    // True while the window holds the mouse capture.
    bool MouseCapture() const { return Handle() && ::GetCapture() == Handle(); }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TNotifyEvent OnResize;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseUp;
    TMouseEvent OnMouseMove;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;
    std::function<void(TObject* sender, char& key)> OnKeyPress;

protected:
    // Paints the whole client area.
    virtual void Paint(TCanvas& canvas) { (void)canvas; }
    // Fires OnClick.
    virtual void Click();
    virtual void DblClick();
    // Focus gained and lost: fire OnEnter and OnExit.
    virtual void DoEnter();
    virtual void DoExit();
    virtual void Resize();
    // The capture went to another window while the left button was held; no click follows.
    virtual void CaptureLost() {}
    // The pressed look (the pointer tracker's) changed.
    virtual void PressedChanged() {}
    virtual void MouseDown(int button, unsigned keys, int x, int y);
    virtual void MouseUp(int button, unsigned keys, int x, int y);
    virtual void KeyDown(WORD& key);
    virtual void KeyUp(WORD& key);
    // The keys the control wants from the dialog navigation for this key message (WM_GETDLGCODE).
    virtual LRESULT DialogCodes(const MSG* message) const;

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintWindow(HDC dc, const RECT& area) override;

    // Hands an input to the pointer tracker and carries out what it decides (capture, hover
    // notifications, click); controls with keys of their own feed those here too.
    void FeedPointer(PointerEvent event, bool inside = false);
    const PointerTracker& Pointer() const { return pointer_; }
    PointerTracker& Pointer() { return pointer_; }
    // Whether a press dragged off and back shows pressed again; set before any input.
    void SetPressAgainOnReturn(bool again) { pointer_ = PointerTracker(again); }

private:
    void ApplyPointer(const PointerOutcome& outcome);

    Bounds bounds_{0, 0, 0, 0};
    int controlId_ = 0;
    bool tabStop_ = false;
    unsigned uiState_ = 0;
    PointerTracker pointer_;
};

}  // namespace framework
