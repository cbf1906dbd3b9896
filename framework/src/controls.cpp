#include "framework/controls.h"

#include <windowsx.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "framework/application.h"
#include "framework/canvas.h"
#include "framework/graphic_control.h"

namespace framework {
namespace {

const char kControlProperty[] = "TavroControl";
const char kGroupBoxClass[] = "TGroupBox";

bool IsMouseMessage(UINT message) {
    return message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK && message != WM_MOUSEWHEEL;
}

// SaveDC and RestoreDC around the painting of one graphic child.
class SavedDc {
public:
    explicit SavedDc(HDC dc) : dc_(dc), saved_(::SaveDC(dc)) {}
    ~SavedDc() {
        if (saved_)
            ::RestoreDC(dc_, saved_);
    }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;

private:
    HDC dc_;
    int saved_;
};

}  // namespace

// ---- TControl -------------------------------------------------------------------------------

void TControl::SetColor(TColor color) {
    if (color_ == color && !parentColor_)
        return;
    color_ = color;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool parentColor) {
    if (parentColor_ == parentColor)
        return;
    parentColor_ = parentColor;
    if (parentColor_)
        Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetFont(const TFont& font) {
    if (font_ == font && !parentFont_)
        return;
    font_ = font;
    parentFont_ = false;
    FontChanged();
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool parentFont) {
    if (parentFont_ == parentFont)
        return;
    parentFont_ = parentFont;
    if (parentFont_)
        Perform(CM_PARENTFONTCHANGED);
}

LRESULT TControl::HandleMessage(UINT message, WPARAM, LPARAM) {
    switch (message) {
        case CM_PARENTCOLORCHANGED:
            if (parentColor_ && parent_ && color_ != parent_->Color()) {
                color_ = parent_->Color();
                Perform(CM_COLORCHANGED);
            }
            return 0;
        case CM_PARENTFONTCHANGED:
            if (parentFont_ && parent_) {
                font_ = parent_->Font();
                FontChanged();
                Perform(CM_FONTCHANGED);
            }
            return 0;
        case CM_COLORCHANGED:
        case CM_FONTCHANGED:
        case CM_TEXTCHANGED:
        case CM_ENABLEDCHANGED:
            Invalidate();
            return 0;
    }
    return 0;
}

// ---- TWinControl ----------------------------------------------------------------------------

TWinControl::~TWinControl() {
    BeginDestroy();
    DestroyHandle();
}

void TWinControl::RegisterOwnClass(const char* className, UINT classStyle, HBRUSH background, HICON icon) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (::GetClassInfoExA(instance, className, &windowClass))
        return;
    windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = OwnWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = className;
    if (!::RegisterClassExA(&windowClass))
        throw std::runtime_error(std::string("cannot register the window class ") + className);
}

void TWinControl::CreateOwnWindow(const char* className,
                                  DWORD style,
                                  DWORD exStyle,
                                  HWND parent,
                                  const std::string& text,
                                  const Bounds& bounds,
                                  int id) {
    id_ = id;
    HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
    HWND window = ::CreateWindowExA(exStyle, className, text.c_str(), style, bounds.left, bounds.top, bounds.width,
                                    bounds.height, parent, menu, ::GetModuleHandleA(nullptr), this);
    if (!window)
        throw std::runtime_error(std::string("cannot create a window of class ") + className);
}

void TWinControl::CreateHandle(HWND parent,
                               const char* className,
                               DWORD style,
                               DWORD exStyle,
                               const std::string& text,
                               const Bounds& bounds,
                               int id) {
    id_ = id;
    HWND window = ::CreateWindowExA(
        exStyle, className, text.c_str(), style | WS_CHILD | WS_VISIBLE, bounds.left, bounds.top, bounds.width,
        bounds.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
    if (!window)
        throw std::runtime_error(std::string("cannot create a control of class ") + className);
    Bind(window, parent);
    original_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::SubclassProc)));
    if (HFONT font = WindowFont())
        DefaultHandler(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void TWinControl::Bind(HWND window, HWND parent) {
    handle_ = window;
    ::SetPropA(window, kControlProperty, reinterpret_cast<HANDLE>(this));
    if (TWinControl* parentControl = FromHandle(parent)) {
        SetParentObject(parentControl);
        parentControl->AddChild(this);
        if (parentFont_)
            font_ = parentControl->Font();
        if (parentColor_)
            color_ = parentControl->Color();
    }
}

void TWinControl::DestroyHandle() {
    for (TGraphicControl* graphic : graphics_)
        graphic->parent_ = nullptr;
    graphics_.clear();
    for (TControl* child : children_)
        child->parent_ = nullptr;
    children_.clear();
    captured_ = hovered_ = nullptr;
    if (parent_) {
        parent_->RemoveChild(this);
        parent_ = nullptr;
    }
    if (!handle_)
        return;
    HWND window = std::exchange(handle_, nullptr);
    if (!::IsWindow(window))
        return;
    // Unhook first: whatever the window gets while it is destroyed finds no object.
    ::RemovePropA(window, kControlProperty);
    if (original_)
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    ::DestroyWindow(window);
}

void TWinControl::RemoveChild(TControl* control) {
    children_.erase(std::remove(children_.begin(), children_.end(), control), children_.end());
}

TWinControl* TWinControl::FromHandle(HWND window) {
    return window ? reinterpret_cast<TWinControl*>(::GetPropA(window, kControlProperty)) : nullptr;
}

bool TWinControl::RouteCommand(WPARAM wParam, LPARAM lParam) {
    TWinControl* control = FromHandle(reinterpret_cast<HWND>(lParam));
    if (!control)
        return false;
    control->Notify(HIWORD(wParam));
    return true;
}

LRESULT CALLBACK TWinControl::OwnWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (auto* control = static_cast<TWinControl*>(create->lpCreateParams))
            control->Bind(window, create->hwndParent);
    }
    TWinControl* control = FromHandle(window);
    if (!control)
        return ::DefWindowProcA(window, message, wParam, lParam);
    return control->Dispatch(message, wParam, lParam);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    TWinControl* control = FromHandle(window);
    if (!control)
        return ::DefWindowProcA(window, message, wParam, lParam);
    return control->Dispatch(message, wParam, lParam);
}

LRESULT TWinControl::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    LRESULT result = 0;
    // No exception leaves a window procedure: the error box shows it and the message is done.
    try {
        result = HandleMessage(message, wParam, lParam);
    } catch (...) {
        Application.HandleException();
    }
    if (message == WM_NCDESTROY && handle_) {
        HWND window = std::exchange(handle_, nullptr);
        ::RemovePropA(window, kControlProperty);
        if (original_)
            ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        if (parent_) {
            parent_->RemoveChild(this);
            parent_ = nullptr;
        }
    }
    return result;
}

LRESULT TWinControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    if (original_)
        return ::CallWindowProcA(original_, handle_, message, wParam, lParam);
    return ::DefWindowProcA(handle_, message, wParam, lParam);
}

LRESULT TWinControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= CM_BASE && message < CM_BASE + 0x100) {
        const LRESULT result = TControl::HandleMessage(message, wParam, lParam);
        if (message == CM_COLORCHANGED)
            NotifyChildren(CM_PARENTCOLORCHANGED);
        else if (message == CM_FONTCHANGED)
            NotifyChildren(CM_PARENTFONTCHANGED);
        return result;
    }
    if (IsMouseMessage(message) && !graphics_.empty() && RouteMouse(message, wParam, lParam))
        return 0;
    switch (message) {
        case WM_PAINT:
            if (original_)
                break;
            {
                PaintDc paint(handle_);
                PaintWindow(paint.Get(), paint.Area());
                PaintGraphics(paint.Get(), paint.Area());
            }
            return 0;
        case WM_COMMAND:
            if (lParam && RouteCommand(wParam, lParam))
                return 0;
            break;
        case WM_GETFONT:
            if (!original_)
                return reinterpret_cast<LRESULT>(WindowFont());
            break;
        case WM_SETFONT:
            if (!original_)
                return 0;  // a framework window draws with its own font value
            break;
        case WM_MOUSELEAVE:
            trackingLeave_ = false;
            SetHovered(nullptr, 0);
            break;
        case WM_CAPTURECHANGED:
            if (captured_) {
                TGraphicControl* lost = std::exchange(captured_, nullptr);
                lost->Perform(WM_CAPTURECHANGED, 0, 0);
            }
            break;
    }
    return DefaultHandler(message, wParam, lParam);
}

HFONT TWinControl::WindowFont() const {
    if (parentFont_ && parent_)
        return parent_->WindowFont();
    if (!fontHandle_)
        fontHandle_ = CreateFontHandle(font_);
    return fontHandle_.Get();
}

void TWinControl::FontChanged() {
    fontHandle_.Reset();
    if (original_ && handle_)
        DefaultHandler(WM_SETFONT, reinterpret_cast<WPARAM>(WindowFont()), TRUE);
}

void TWinControl::NotifyChildren(UINT message) {
    const std::vector<TControl*> children = children_;
    for (TControl* child : children)
        child->Perform(message);
    const std::vector<TGraphicControl*> graphics = graphics_;
    for (TGraphicControl* graphic : graphics)
        graphic->Perform(message);
}

std::string TWinControl::Text() const {
    const int length = ::GetWindowTextLengthA(handle_);
    std::vector<char> buffer(static_cast<std::size_t>(length) + 2, '\0');
    const int copied = ::GetWindowTextA(handle_, buffer.data(), length + 1);
    return std::string(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

void TWinControl::SetText(const std::string& text) {
    ::SetWindowTextA(handle_, text.c_str());
}

Bounds TWinControl::GetBounds() const {
    RECT rect;
    ::GetWindowRect(handle_, &rect);
    if (HWND parent = ::GetParent(handle_))
        ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void TWinControl::SetBounds(const Bounds& bounds) {
    ::MoveWindow(handle_, bounds.left, bounds.top, bounds.width, bounds.height, TRUE);
}

void TWinControl::SetEnabled(bool enabled) {
    if (Enabled() == enabled)
        return;
    ::EnableWindow(handle_, enabled);
    Perform(CM_ENABLEDCHANGED);
}

void TWinControl::Invalidate() {
    if (handle_)
        ::InvalidateRect(handle_, nullptr, TRUE);
}

void TWinControl::Refresh() {
    Invalidate();
    if (handle_)
        ::UpdateWindow(handle_);
}

void TWinControl::InsertGraphic(TGraphicControl* control) {
    if (std::find(graphics_.begin(), graphics_.end(), control) == graphics_.end())
        graphics_.push_back(control);
}

void TWinControl::RemoveGraphic(TGraphicControl* control) {
    graphics_.erase(std::remove(graphics_.begin(), graphics_.end(), control), graphics_.end());
    if (hovered_ == control)
        hovered_ = nullptr;
    if (captured_ == control) {
        captured_ = nullptr;
        if (::GetCapture() == handle_)
            ::ReleaseCapture();
    }
}

void TWinControl::PaintGraphics(HDC dc, const RECT& area) {
    for (TGraphicControl* graphic : graphics_) {
        const RECT bounds = graphic->BoundsRect();
        RECT overlap;
        if (!graphic->Visible() || !::IntersectRect(&overlap, &bounds, &area))
            continue;
        SavedDc saved(dc);
        ::IntersectClipRect(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
        ::OffsetViewportOrgEx(dc, bounds.left, bounds.top, nullptr);
        TCanvas canvas(dc);
        graphic->Paint(canvas);
    }
}

bool TWinControl::RouteMouse(UINT message, WPARAM wParam, LPARAM lParam) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    TGraphicControl* under = nullptr;
    for (auto it = graphics_.rbegin(); it != graphics_.rend(); ++it) {
        const RECT bounds = (*it)->BoundsRect();
        if ((*it)->Visible() && (*it)->Enabled() && ::PtInRect(&bounds, point)) {
            under = *it;
            break;
        }
    }
    if (message == WM_MOUSEMOVE) {
        SetHovered(under, wParam);
        if (!trackingLeave_) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
            trackingLeave_ = ::TrackMouseEvent(&track) != FALSE;
        }
    }
    TGraphicControl* target = captured_ ? captured_ : under;
    if (!target)
        return false;
    const bool down = message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN || message == WM_MBUTTONDOWN ||
                      message == WM_LBUTTONDBLCLK;
    const bool up = message == WM_LBUTTONUP || message == WM_RBUTTONUP || message == WM_MBUTTONUP;
    if (down && !captured_) {
        captured_ = target;
        ::SetCapture(handle_);
    }
    if (up && captured_ && !(wParam & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON))) {
        // The capture goes before the control acts on the release: a click handler may run for
        // long, and the mouse belongs to the user meanwhile.
        captured_ = nullptr;
        if (::GetCapture() == handle_)
            ::ReleaseCapture();
    }
    const RECT bounds = target->BoundsRect();
    target->Perform(message, wParam, MAKELPARAM(point.x - bounds.left, point.y - bounds.top));
    return true;
}

void TWinControl::SetHovered(TGraphicControl* control, WPARAM keys) {
    if (hovered_ == control)
        return;
    TGraphicControl* left = std::exchange(hovered_, control);
    if (left)
        left->Perform(CM_MOUSELEAVE, keys, 0);
    if (control)
        control->Perform(CM_MOUSEENTER, keys, 0);
}

// ---- Standard controls ----------------------------------------------------------------------

TLabel::TLabel(HWND parent, const Bounds& bounds, const std::string& caption, int id)
    : caption_(caption), designBounds_(bounds) {
    CreateHandle(parent, "STATIC", SS_LEFT | SS_NOPREFIX, 0, caption, bounds, id);
    AdjustSize();
}

void TLabel::SetCaption(const std::string& caption) {
    caption_ = caption;
    SetText(caption);
    AdjustSize();
}

void TLabel::AdjustSize() {
    WindowDc dc(Handle());
    if (!dc)
        return;
    HFONT font = reinterpret_cast<HFONT>(::SendMessageA(Handle(), WM_GETFONT, 0, 0));
    SelectedObject selected(dc.Get(), font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(SYSTEM_FONT));
    SIZE extent{};
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc.Get(), &metrics);
    ::GetTextExtentPoint32A(dc.Get(), caption_.c_str(), static_cast<int>(caption_.size()), &extent);
    SetBounds({designBounds_.left, designBounds_.top, extent.cx, metrics.tmHeight});
}

TEdit::TEdit(HWND parent, const Bounds& bounds, const std::string& text, int id) {
    CreateHandle(parent, "EDIT", WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, WS_EX_CLIENTEDGE, text, bounds, id);
}

TCheckBox::TCheckBox(HWND parent, const Bounds& bounds, const std::string& caption, bool checked, int id) {
    CreateHandle(parent, "BUTTON", WS_TABSTOP | BS_AUTOCHECKBOX, 0, caption, bounds, id);
    SetChecked(checked);
}

bool TCheckBox::Checked() const {
    return ::SendMessageA(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TCheckBox::SetChecked(bool checked) {
    ::SendMessageA(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

TButton::TButton(HWND parent, const Bounds& bounds, const std::string& caption, int id) {
    CreateHandle(parent, "BUTTON", WS_TABSTOP | BS_PUSHBUTTON, 0, caption, bounds, id);
}

void TButton::Notify(WORD code) {
    if (code == BN_CLICKED && OnClick)
        OnClick(this);
}

TGroupBox::TGroupBox(HWND parent, const Bounds& bounds, const std::string& caption, int id) {
    RegisterOwnClass(kGroupBoxClass, 0, ::GetSysColorBrush(COLOR_BTNFACE));
    CreateOwnWindow(kGroupBoxClass, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, parent, caption,
                    bounds, id);
}

LRESULT TGroupBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (lParam && RouteCommand(wParam, lParam))
                return 0;
            return ::SendMessageA(::GetParent(Handle()), message, wParam, lParam);
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return ::SendMessageA(::GetParent(Handle()), message, wParam, lParam);
    }
    return TWinControl::HandleMessage(message, wParam, lParam);
}

void TGroupBox::PaintWindow(HDC dc, const RECT&) {
    // Everything selected here is put back before the paint DC goes.
    SelectedObject selectedFont(dc, WindowFont());
    const std::string caption = Text();
    SIZE extent{};
    ::GetTextExtentPoint32A(dc, caption.data(), static_cast<int>(caption.size()), &extent);
    RECT frame;
    ::GetClientRect(Handle(), &frame);
    frame.top += extent.cy / 2;
    ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!caption.empty()) {
        ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
        ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
        ::SetBkMode(dc, OPAQUE);
        ::TextOutA(dc, 8, 0, caption.data(), static_cast<int>(caption.size()));
    }
}

}  // namespace framework
