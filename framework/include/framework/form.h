#pragma once
// A top-level window of the framework: fixed client size, dialog border, centred on the screen,
// its own font for all its controls, and OnCreate/OnClose events. The form owns its controls
// (Own) and destroys its window before any of them goes.

#include <windows.h>

#include <string>

#include "framework/controls.h"
#include "framework/display.h"
#include "framework/font.h"

namespace framework {

struct FormDesign {
    std::string className;  // ASCII
    std::u16string caption;
    int clientWidth, clientHeight;
    bool stayOnTop;
    TFont font;
};

class TForm : public TWinControl {
public:
    explicit TForm(const FormDesign& design);
    ~TForm() override;
    std::string ClassName() const override { return "TForm"; }

    HFONT Font() const { return WindowFont(); }

    // The DPI the form is laid out at: its monitor's, capped so that the window fits there.
    int Dpi() const override { return dpi_; }
    // Lays the form out for a monitor of this DPI: client size, font, then the controls
    // (DpiChanged), which are told with CM_DPICHANGED. The window keeps its top-left corner.
    // This is also what WM_DPICHANGED does after taking the suggested rectangle.
    void ApplyDpi(int monitorDpi);
    // Lays the form out again when the monitor it is on now has another DPI (after a move by
    // the program, which the system need not report); a scaled window is kept on the work area.
    void FollowMonitorDpi();

    void Show();
    // Closes the window as the user would: runs OnClose, then destroys it. Closing the
    // application's main window ends the message loop.
    void Close();
    bool Minimized() const { return ::IsIconic(Handle()) != FALSE; }
    void SetMinimized(bool minimized);

    // The result a button of the form leaves when it is clicked (0: none).
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int modalResult) { modalResult_ = modalResult; }

protected:
    // Run once the controls exist; errors are shown by the error box and creation goes on.
    virtual void DoCreate() {}
    // Asked before the window closes; false keeps it open.
    virtual bool CanClose() { return true; }
    // Run when the window closes; an error is shown by the error box and the window closes anyway,
    // so that a user is never left with a window that cannot be closed.
    virtual void DoClose() {}
    // Call at the end of the derived constructor: lays the form out at its monitor's DPI, centres
    // it and runs DoCreate.
    void Created();
    // Places the controls at the form's DPI; the form's own client size and font are done.
    virtual void DpiChanged() {}

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Passes a dialog key to the controls one by one, in tab order, until one takes it.
    LRESULT OfferDialogKey(WPARAM key, LPARAM keyData);

    void SetClientSize(int width, int height);
    void Centre();
    // Moves a window that reaches past its monitor's work area back onto it.
    void KeepOnWorkArea();
    // The window's frame around its client area, in pixels.
    Extent FrameExtent() const;

    FormDesign design_;
    int dpi_ = kDesignDpi;
    int monitorDpi_ = kDesignDpi;
    HWND lastFocus_ = nullptr;
    bool closing_ = false;
    int modalResult_ = 0;
};

// The form a control sits on (its top-most windowed parent when that is a form), or null.
TForm* GetParentForm(const TControl* control);

}  // namespace framework
