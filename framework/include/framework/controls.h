#pragma once
// Controls of the framework: thin owners of standard Win32 child windows, plus a group box that
// is a real container (its children sit inside it and it passes their notifications on).

#include <windows.h>

#include <functional>
#include <string>

namespace framework {

class TObject {
public:
    virtual ~TObject() = default;
};

using TNotifyEvent = std::function<void(TObject* sender)>;

struct Bounds {
    int left, top, width, height;
};

class TControl : public TObject {
public:
    HWND Handle() const { return handle_; }
    int Id() const { return id_; }

    std::string Text() const;
    void SetText(const std::string& text);
    Bounds GetBounds() const;
    void SetBounds(const Bounds& bounds);
    void SetFocus() { ::SetFocus(handle_); }

    // The control object behind a child window made by this framework, or null.
    static TControl* FromHandle(HWND window);
    // Passes a WM_COMMAND from a child window to its control object; true when one took it.
    static bool RouteCommand(WPARAM wParam, LPARAM lParam);

protected:
    void CreateHandle(HWND parent,
                      const char* className,
                      DWORD style,
                      DWORD exStyle,
                      const std::string& text,
                      const Bounds& bounds,
                      int id);
    // A notification code sent by the child window to its parent.
    virtual void Notify(WORD /*code*/) {}

private:
    HWND handle_ = nullptr;
    int id_ = 0;
};

// Static text; sizes itself to its caption as the framework's labels do.
class TLabel : public TControl {
public:
    TLabel(HWND parent, const Bounds& bounds, const std::string& caption, int id = 0);
    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);

private:
    void AdjustSize();
    std::string caption_;
    Bounds designBounds_;
};

class TEdit : public TControl {
public:
    TEdit(HWND parent, const Bounds& bounds, const std::string& text, int id = 0);
};

class TCheckBox : public TControl {
public:
    TCheckBox(HWND parent, const Bounds& bounds, const std::string& caption, bool checked, int id = 0);
    bool Checked() const;
    void SetChecked(bool checked);
};

class TButton : public TControl {
public:
    TButton(HWND parent, const Bounds& bounds, const std::string& caption, int id = 0);
    TNotifyEvent OnClick;

protected:
    void Notify(WORD code) override;
};

// A framed box with a caption that holds other controls.
class TGroupBox : public TControl {
public:
    TGroupBox(HWND parent, const Bounds& bounds, const std::string& caption, int id = 0);
};

// Sets the font on a window and all its descendants.
void ApplyFont(HWND window, HFONT font);

}  // namespace framework
