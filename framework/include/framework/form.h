#pragma once
// A top-level window of the framework: fixed client size, dialog border, centred on the screen,
// its own font for all its controls, and OnCreate/OnClose events. Every message it handles runs
// inside the framework's error model.

#include <windows.h>

#include <string>

#include "framework/controls.h"
#include "framework/handles.h"

namespace framework {

struct TFont {
    std::string name;
    int height;  // negative: character height in pixels
    BYTE charset;
};

struct FormDesign {
    std::string className;
    std::string caption;
    int clientWidth, clientHeight;
    bool stayOnTop;
    TFont font;
};

class TForm : public TObject {
public:
    explicit TForm(const FormDesign& design);
    ~TForm() override;
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    HWND Handle() const { return handle_; }
    HFONT Font() const { return font_.Get(); }

    void Show();
    // Closes the window as the user would: runs OnClose, then destroys it. Closing the
    // application's main window ends the message loop.
    void Close();
    bool Minimized() const { return ::IsIconic(handle_) != FALSE; }
    void SetMinimized(bool minimized);

protected:
    // Run once the controls exist; errors are shown by the error box and creation goes on.
    virtual void DoCreate() {}
    // Asked before the window closes; false keeps it open.
    virtual bool CanClose() { return true; }
    // Run when the window closes; an error is shown by the error box and the window closes anyway,
    // so that a user is never left with a window that cannot be closed.
    virtual void DoClose() {}
    // Call at the end of the derived constructor.
    void Created();

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND handle_ = nullptr;
    FontHandle font_;
    HWND lastFocus_ = nullptr;
    bool closing_ = false;
};

}  // namespace framework
