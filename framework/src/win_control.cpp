#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "framework/application.h"
#include "framework/controls.h"
#include "framework/graphic_control.h"
#include "framework/window_class.h"

// A control with a window of its own: the window's binding to its object, the one window procedure
// every message goes through, and the window's own properties.
namespace framework {
namespace {

bool IsMouseMessage(UINT message) {
    return message >= WM_MOUSEFIRST && message <= WM_MBUTTONDBLCLK && message != WM_MOUSEWHEEL;
}

}  // namespace

TWinControl::~TWinControl() {
    BeginDestroy();
    DestroyHandle();
}

void TWinControl::RegisterOwnClass(const char* className, UINT classStyle, HBRUSH background, HICON icon) {
    RegisterWindowClass(className, OwnWindowProc, classStyle, background, icon);
}

void TWinControl::CreateOwnWindow(const char* className,
                                  DWORD style,
                                  DWORD exStyle,
                                  HWND parent,
                                  const std::u16string& text,
                                  const Bounds& bounds,
                                  int id) {
    id_ = id;
    HMENU menu = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)) : nullptr;
    HWND window =
        ::CreateWindowExW(exStyle, ClassNameW(className).c_str(), WideText(text), style, bounds.left, bounds.top,
                          bounds.width, bounds.height, parent, menu, ::GetModuleHandleW(nullptr), this);
    if (!window)
        throw std::runtime_error(std::string("cannot create a window of class ") + className);
}

void TWinControl::CreateHandle(HWND parent,
                               const char* className,
                               DWORD style,
                               DWORD exStyle,
                               const std::u16string& text,
                               const Bounds& bounds,
                               int id) {
    id_ = id;
    HWND window =
        ::CreateWindowExW(exStyle, ClassNameW(className).c_str(), WideText(text), style | WS_CHILD | WS_VISIBLE,
                          bounds.left, bounds.top, bounds.width, bounds.height, parent,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (!window)
        throw std::runtime_error(std::string("cannot create a control of class ") + className);
    Bind(window, parent);
    original_ = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::SubclassProc)));
    if (HFONT font = WindowFont())
        DefaultHandler(WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void TWinControl::Bind(HWND window, HWND parent) {
    handle_ = window;
    BindWindow(window, WindowOwner::Control, this);
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
    UnbindWindow(window, WindowOwner::Control);
    if (original_)
        ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
    ::DestroyWindow(window);
}

void TWinControl::RemoveChild(TControl* control) {
    children_.erase(std::remove(children_.begin(), children_.end(), control), children_.end());
}

TWinControl* TWinControl::FromHandle(HWND window) {
    return static_cast<TWinControl*>(BoundObject(window, WindowOwner::Control));
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
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (auto* control = static_cast<TWinControl*>(create->lpCreateParams))
            control->Bind(window, create->hwndParent);
    }
    TWinControl* control = FromHandle(window);
    if (!control)
        return ::DefWindowProcW(window, message, wParam, lParam);
    return control->Dispatch(message, wParam, lParam);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    TWinControl* control = FromHandle(window);
    if (!control)
        return ::DefWindowProcW(window, message, wParam, lParam);
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
        UnbindWindow(window, WindowOwner::Control);
        if (original_)
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original_));
        if (parent_) {
            parent_->RemoveChild(this);
            parent_ = nullptr;
        }
    }
    return result;
}

LRESULT TWinControl::DefaultHandler(UINT message, WPARAM wParam, LPARAM lParam) {
    if (original_)
        return ::CallWindowProcW(original_, handle_, message, wParam, lParam);
    return ::DefWindowProcW(handle_, message, wParam, lParam);
}

LRESULT TWinControl::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= CM_BASE && message < CM_BASE + 0x100) {
        const LRESULT result = TControl::HandleMessage(message, wParam, lParam);
        if (message == CM_COLORCHANGED)
            NotifyChildren(CM_PARENTCOLORCHANGED);
        else if (message == CM_FONTCHANGED)
            NotifyChildren(CM_PARENTFONTCHANGED);
        else if (message == CM_DPICHANGED || message == CM_SYSCOLORCHANGE)
            NotifyChildren(message, wParam);
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
            ChildPointerLeft();
            break;
        case WM_CAPTURECHANGED:
            ChildCaptureLost();
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

void TWinControl::NotifyChildren(UINT message, WPARAM wParam) {
    const std::vector<TControl*> children = children_;
    for (TControl* child : children)
        child->Perform(message, wParam);
    const std::vector<TGraphicControl*> graphics = graphics_;
    for (TGraphicControl* graphic : graphics)
        graphic->Perform(message, wParam);
}

std::u16string TWinControl::Text() const {
    const int length = ::GetWindowTextLengthW(handle_);
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 2, L'\0');
    const int copied = ::GetWindowTextW(handle_, buffer.data(), length + 1);
    return FromWideChars(buffer.data(), copied > 0 ? static_cast<std::size_t>(copied) : 0);
}

void TWinControl::SetText(const std::u16string& text) {
    ::SetWindowTextW(handle_, WideText(text));
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

}  // namespace framework
