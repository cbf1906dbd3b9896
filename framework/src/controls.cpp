#include "framework/controls.h"

#include <stdexcept>
#include <vector>

#include "framework/application.h"
#include "framework/handles.h"

namespace framework {
namespace {

const char kGroupBoxClass[] = "TGroupBox";

LRESULT CALLBACK GroupBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        switch (message) {
            case WM_COMMAND:
                if (TControl::RouteCommand(wParam, lParam))
                    return 0;
                return ::SendMessageA(::GetParent(window), message, wParam, lParam);
            case WM_CTLCOLOREDIT:
            case WM_CTLCOLORSTATIC:
            case WM_CTLCOLORBTN:
                return ::SendMessageA(::GetParent(window), message, wParam, lParam);
            case WM_ERASEBKGND: {
                RECT client;
                ::GetClientRect(window, &client);
                ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_BTNFACE));
                return 1;
            }
            case WM_PAINT: {
                PAINTSTRUCT paint;
                HDC dc = ::BeginPaint(window, &paint);
                HFONT font = reinterpret_cast<HFONT>(::SendMessageA(window, WM_GETFONT, 0, 0));
                SelectedObject selectedFont(dc, font ? static_cast<HGDIOBJ>(font) : ::GetStockObject(DEFAULT_GUI_FONT));
                char caption[256] = {};
                const int length = ::GetWindowTextA(window, caption, sizeof caption);
                SIZE extent{};
                ::GetTextExtentPoint32A(dc, caption, length, &extent);
                RECT frame;
                ::GetClientRect(window, &frame);
                frame.top += extent.cy / 2;
                ::DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
                if (length > 0) {
                    ::SetBkColor(dc, ::GetSysColor(COLOR_BTNFACE));
                    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
                    ::SetBkMode(dc, OPAQUE);
                    ::TextOutA(dc, 8, 0, caption, length);
                }
                ::EndPaint(window, &paint);
                return 0;
            }
            case WM_SETFONT:
                ::DefWindowProcA(window, message, wParam, lParam);
                ::SetPropA(window, "TavroFont", reinterpret_cast<HANDLE>(wParam));
                if (LOWORD(lParam))
                    ::InvalidateRect(window, nullptr, TRUE);
                return 0;
            case WM_GETFONT:
                return reinterpret_cast<LRESULT>(::GetPropA(window, "TavroFont"));
            case WM_DESTROY:
                ::RemovePropA(window, "TavroFont");
                break;
        }
    } catch (...) {
        Application.HandleException();
        return 0;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

BOOL CALLBACK SetFontOnChild(HWND child, LPARAM font) {
    ::SendMessageA(child, WM_SETFONT, static_cast<WPARAM>(font), TRUE);
    return TRUE;
}

}  // namespace

void RegisterFrameworkClasses() {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = GroupBoxProc;
    windowClass.hInstance = ::GetModuleHandleA(nullptr);
    windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = kGroupBoxClass;
    ::RegisterClassExA(&windowClass);
}

void ApplyFont(HWND window, HFONT font) {
    ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    ::EnumChildWindows(window, SetFontOnChild, reinterpret_cast<LPARAM>(font));
}

void TControl::CreateHandle(HWND parent,
                            const char* className,
                            DWORD style,
                            DWORD exStyle,
                            const std::string& text,
                            const Bounds& bounds,
                            int id) {
    id_ = id;
    handle_ = ::CreateWindowExA(
        exStyle, className, text.c_str(), style | WS_CHILD | WS_VISIBLE, bounds.left, bounds.top, bounds.width,
        bounds.height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleA(nullptr), nullptr);
    if (!handle_)
        throw std::runtime_error(std::string("cannot create a control of class ") + className);
    ::SetPropA(handle_, "TavroControl", reinterpret_cast<HANDLE>(this));
    if (HFONT font = reinterpret_cast<HFONT>(::SendMessageA(parent, WM_GETFONT, 0, 0)))
        ::SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

TControl* TControl::FromHandle(HWND window) {
    return window ? reinterpret_cast<TControl*>(::GetPropA(window, "TavroControl")) : nullptr;
}

bool TControl::RouteCommand(WPARAM wParam, LPARAM lParam) {
    TControl* control = FromHandle(reinterpret_cast<HWND>(lParam));
    if (!control)
        return false;
    control->Notify(HIWORD(wParam));
    return true;
}

std::string TControl::Text() const {
    const int length = ::GetWindowTextLengthA(handle_);
    std::vector<char> buffer(static_cast<std::size_t>(length) + 2, '\0');
    const int copied = ::GetWindowTextA(handle_, buffer.data(), length + 1);
    return std::string(buffer.data(), static_cast<std::size_t>(copied > 0 ? copied : 0));
}

void TControl::SetText(const std::string& text) {
    ::SetWindowTextA(handle_, text.c_str());
}

Bounds TControl::GetBounds() const {
    RECT rect;
    ::GetWindowRect(handle_, &rect);
    ::MapWindowPoints(HWND_DESKTOP, ::GetParent(handle_), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void TControl::SetBounds(const Bounds& bounds) {
    ::MoveWindow(handle_, bounds.left, bounds.top, bounds.width, bounds.height, TRUE);
}

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
    CreateHandle(parent, kGroupBoxClass, WS_CLIPCHILDREN, WS_EX_CONTROLPARENT, caption, bounds, id);
}

}  // namespace framework
