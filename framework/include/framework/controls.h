#pragma once
// Controls of the framework. Every control is a component; a windowed control (TWinControl) owns
// its window, a graphic control (graphic_control.h) has none and is painted by its parent. One
// overridable HandleMessage sees every message a control gets, inside the error model: no
// exception leaves a window procedure.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/color.h"
#include "framework/component.h"
#include "framework/font.h"
#include "framework/handles.h"
#include "framework/notifications.h"
#include "framework/pointer_input.h"

namespace framework {

struct Bounds {
    int left, top, width, height;
};

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

class TWinControl;
class TGraphicControl;

// Mouse events: button (0 left, 1 right, 2 middle), the MK_ key state of the message, position
// in the control's client coordinates.
using TMouseEvent = std::function<void(TObject* sender, int button, unsigned keys, int x, int y)>;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner = nullptr) : TComponent(owner) {}
    std::string ClassName() const override { return "TControl"; }

    TWinControl* Parent() const { return parent_; }
    virtual Bounds GetBounds() const = 0;
    virtual void SetBounds(const Bounds& bounds) = 0;
    int Left() const { return GetBounds().left; }
    int Top() const { return GetBounds().top; }
    int Width() const { return GetBounds().width; }
    int Height() const { return GetBounds().height; }
    RECT ClientRect() const { return RECT{0, 0, Width(), Height()}; }

    // Hands a message to the control as the window system would.
    virtual LRESULT Perform(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) = 0;
    // Schedules a repaint; Refresh repaints now.
    virtual void Invalidate() = 0;
    virtual void Refresh() = 0;

    // Colour and font: the parent's while ParentColor/ParentFont is on; setting one turns it off.
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    bool ParentColor() const { return parentColor_; }
    void SetParentColor(bool parentColor);
    const TFont& Font() const { return font_; }
    void SetFont(const TFont& font);
    // The DPI the control's form is laid out at: design numbers of the control's own are scaled by it.
    virtual int Dpi() const;
    int Scaled(int designPixels) const;
    bool ParentFont() const { return parentFont_; }
    void SetParentFont(bool parentFont);

protected:
    // Every message the control gets; the base handles the framework's notifications.
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Runs after the font changed (own or parent's), before the notification.
    virtual void FontChanged() {}
    void SetParentObject(TWinControl* parent) { parent_ = parent; }

    TColor color_ = clBtnFace;
    TFont font_{u"ＭＳ Ｐゴシック", -12, 128 /* SHIFTJIS_CHARSET */, clWindowText, 0};
    bool parentColor_ = true;
    bool parentFont_ = true;

private:
    friend class TWinControl;
    TWinControl* parent_ = nullptr;
};

// A control with a window of its own. The object owns the window: it is bound to it at creation
// (a framework class) or by subclassing (a standard control), and the destructor unhooks and
// destroys it, so that no message reaches a freed object.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner = nullptr) : TControl(owner) {}
    ~TWinControl() override;
    std::string ClassName() const override { return "TWinControl"; }

    HWND Handle() const { return handle_; }
    int Id() const { return id_; }
    std::u16string Text() const;
    void SetText(const std::u16string& text);
    Bounds GetBounds() const override;
    void SetBounds(const Bounds& bounds) override;
    void SetFocus() { ::SetFocus(handle_); }
    bool Focused() const { return handle_ && ::GetFocus() == handle_; }
    bool Enabled() const { return ::IsWindowEnabled(handle_) != FALSE; }
    void SetEnabled(bool enabled);
    bool Visible() const { return ::IsWindowVisible(handle_) != FALSE; }

    LRESULT Perform(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) override {
        return ::SendMessageA(handle_, message, wParam, lParam);
    }
    void Invalidate() override;
    void Refresh() override;
    // The window's font handle for the control's current font.
    HFONT WindowFont() const;

    // The control object bound to a window made by this framework, or null.
    static TWinControl* FromHandle(HWND window);
    // Passes a WM_COMMAND from a child window to its control object; true when one took it.
    static bool RouteCommand(WPARAM wParam, LPARAM lParam);

protected:
    // Registers a window class whose windows are bound to their object at creation.
    static void RegisterOwnClass(const char* className, UINT classStyle, HBRUSH background, HICON icon = nullptr);
    // Creates a window of a class registered with RegisterOwnClass.
    void CreateOwnWindow(const char* className,
                         DWORD style,
                         DWORD exStyle,
                         HWND parent,
                         const std::u16string& text,
                         const Bounds& bounds,
                         int id = 0);
    // Creates a standard control and subclasses it.
    void CreateHandle(HWND parent,
                      const char* className,
                      DWORD style,
                      DWORD exStyle,
                      const std::u16string& text,
                      const Bounds& bounds,
                      int id);
    // Unhooks and destroys the window; safe to call twice.
    void DestroyHandle();

    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    // What the window would do without this object: the subclassed procedure or DefWindowProc.
    LRESULT DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam);
    // A notification code sent by this control's window to its parent.
    virtual void Notify(WORD /*code*/) {}
    // Paints the window's own content (framework classes); graphic children are painted after it.
    virtual void PaintWindow(HDC /*dc*/, const RECT& /*area*/) {}
    void FontChanged() override;

private:
    friend class TGraphicControl;
    static LRESULT CALLBACK OwnWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    static LRESULT CALLBACK SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    LRESULT Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
    void Bind(HWND window, HWND parent);
    void PaintGraphics(HDC dc, const RECT& area);
    // Gives a mouse message to the graphic child under the pointer (or the one holding the
    // capture); true when one took it.
    bool RouteMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void SetHovered(TGraphicControl* control, WPARAM keys);
    void ChildPointerLeft();
    void ChildCaptureLost();
    void InsertGraphic(TGraphicControl* control);
    void RemoveGraphic(TGraphicControl* control);
    void AddChild(TControl* control) { children_.push_back(control); }
    void RemoveChild(TControl* control);
    void NotifyChildren(UINT message, WPARAM wParam = 0);

    HWND handle_ = nullptr;
    int id_ = 0;
    WNDPROC original_ = nullptr;
    mutable FontHandle fontHandle_;
    std::vector<TGraphicControl*> graphics_;
    std::vector<TControl*> children_;
    TGraphicControl* captured_ = nullptr;
    TGraphicControl* hovered_ = nullptr;
    // The capture and leave tracking of the window on behalf of its graphic children.
    PointerTracker childPointer_;
};

// Static text; sizes itself to its caption as the framework's labels do.
class TLabel : public TWinControl {
public:
    TLabel(HWND parent, const Bounds& bounds, const std::u16string& caption, int id = 0);
    std::string ClassName() const override { return "TLabel"; }
    const std::u16string& Caption() const { return caption_; }
    void SetCaption(const std::u16string& caption);
    // Moves the label; its size follows its caption in its font.
    void SetBounds(const Bounds& bounds) override;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void AdjustSize();
    std::u16string caption_;
    Bounds designBounds_;
};

class TEdit : public TWinControl {
public:
    TEdit(HWND parent, const Bounds& bounds, const std::u16string& text, int id = 0);
    std::string ClassName() const override { return "TEdit"; }
};

class TCheckBox : public TWinControl {
public:
    TCheckBox(HWND parent, const Bounds& bounds, const std::u16string& caption, bool checked, int id = 0);
    std::string ClassName() const override { return "TCheckBox"; }
    bool Checked() const;
    void SetChecked(bool checked);
};

// A framed box with a caption that holds other controls.
class TGroupBox : public TWinControl {
public:
    TGroupBox(HWND parent, const Bounds& bounds, const std::u16string& caption, int id = 0);
    std::string ClassName() const override { return "TGroupBox"; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PaintWindow(HDC dc, const RECT& area) override;
};

}  // namespace framework
