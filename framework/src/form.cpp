#include "framework/form.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "framework/application.h"
#include "framework/custom_control.h"

namespace framework {

TForm::TForm(const FormDesign& design) : design_(design) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    RegisterOwnClass(design.className.c_str(), 0, ::GetSysColorBrush(COLOR_BTNFACE),
                     ::LoadIconW(instance, MAKEINTRESOURCEW(1)));
    font_ = design.font;
    parentFont_ = false;
    parentColor_ = false;

    // A dialog border: not resizable, system menu only.
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    const DWORD exStyle =
        WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT | WS_EX_APPWINDOW | (design.stayOnTop ? WS_EX_TOPMOST : 0);
    RECT frame{0, 0, design.clientWidth, design.clientHeight};
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    CreateOwnWindow(design.className.c_str(), style, exStyle, nullptr, design.caption, {left, top, width, height});
}

TForm::~TForm() {
    // The window goes first, while every control object is still there to see its last messages.
    DestroyHandle();
}

void TForm::Created() {
    ApplyDpi(WindowDpi(Handle()));
    Centre();
    try {
        DoCreate();
    } catch (...) {
        Application.HandleException();
    }
}

void TForm::ApplyDpi(int monitorDpi) {
    monitorDpi_ = monitorDpi;
    const RECT work = WorkAreaOf(Handle());
    const int dpi = FittingDpi(monitorDpi, Extent{design_.clientWidth, design_.clientHeight}, FrameExtent(),
                               Extent{work.right - work.left, work.bottom - work.top});
    const int before = std::exchange(dpi_, dpi);
    SetClientSize(ScaleToDpi(design_.clientWidth, dpi), ScaleToDpi(design_.clientHeight, dpi));
    TFont font = design_.font;
    font.height = ScaleToDpi(design_.font.height, dpi);
    SetFont(font);
    DpiChanged();
    if (before != dpi) {
        Perform(CM_DPICHANGED, static_cast<WPARAM>(before));
        ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }
}

void TForm::FollowMonitorDpi() {
    const int dpi = WindowDpi(Handle());
    if (dpi != monitorDpi_)
        ApplyDpi(dpi);
    // A place saved at a smaller scale may leave the larger window hanging off the screen. At the
    // design's own scale the place stays exactly as it was saved.
    if (dpi_ != kDesignDpi)
        KeepOnWorkArea();
}

void TForm::KeepOnWorkArea() {
    RECT frame;
    if (::IsIconic(Handle()) || !::GetWindowRect(Handle(), &frame))
        return;
    const RECT work = WorkAreaOf(Handle());
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int left = std::max<int>(work.left, std::min<int>(frame.left, work.right - width));
    const int top = std::max<int>(work.top, std::min<int>(frame.top, work.bottom - height));
    if (left != frame.left || top != frame.top)
        ::SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Extent TForm::FrameExtent() const {
    RECT frame{};
    RECT client{};
    if (!::IsIconic(Handle()) && ::GetWindowRect(Handle(), &frame) && ::GetClientRect(Handle(), &client))
        return Extent{(frame.right - frame.left) - client.right, (frame.bottom - frame.top) - client.bottom};
    // A minimised window has no client area to measure: the frame its styles give.
    RECT adjusted{0, 0, 0, 0};
    ::AdjustWindowRectEx(&adjusted, static_cast<DWORD>(::GetWindowLongPtrA(Handle(), GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrA(Handle(), GWL_EXSTYLE)));
    return Extent{adjusted.right - adjusted.left, adjusted.bottom - adjusted.top};
}

void TForm::SetClientSize(int width, int height) {
    const Extent frame = FrameExtent();
    WINDOWPLACEMENT place{};
    place.length = sizeof place;
    if (::IsIconic(Handle()) && ::GetWindowPlacement(Handle(), &place)) {
        // Minimised during a run: the size it comes back at.
        place.rcNormalPosition.right = place.rcNormalPosition.left + width + frame.width;
        place.rcNormalPosition.bottom = place.rcNormalPosition.top + height + frame.height;
        place.showCmd = SW_SHOWMINNOACTIVE;
        ::SetWindowPlacement(Handle(), &place);
        return;
    }
    ::SetWindowPos(Handle(), nullptr, 0, 0, width + frame.width, height + frame.height,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Centre() {
    RECT frame;
    if (!::GetWindowRect(Handle(), &frame))
        return;
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!::GetMonitorInfoA(::MonitorFromWindow(Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor))
        return;
    const RECT& screen = monitor.rcMonitor;
    const int left = screen.left + ((screen.right - screen.left) - (frame.right - frame.left)) / 2;
    const int top = screen.top + ((screen.bottom - screen.top) - (frame.bottom - frame.top)) / 2;
    ::SetWindowPos(Handle(), nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TForm::Show() {
    // Keyboard cues as a dialog starts them: hidden after a mouse start until the keyboard is used,
    // unless the user has them always shown.
    ::SendMessageA(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEFOCUS | UISF_HIDEACCEL), 0);
    ::ShowWindow(Handle(), SW_SHOWNORMAL);
    ::UpdateWindow(Handle());
    HWND first = ::GetNextDlgTabItem(Handle(), nullptr, FALSE);
    if (first)
        ::SetFocus(first);
}

void TForm::Close() {
    ::SendMessageA(Handle(), WM_CLOSE, 0, 0);
}

void TForm::SetMinimized(bool minimized) {
    ::ShowWindow(Handle(), minimized ? SW_MINIMIZE : SW_RESTORE);
}

namespace {

BOOL CALLBACK PassUiState(HWND child, LPARAM state) {
    ::SendMessageA(child, WM_UPDATEUISTATE, static_cast<WPARAM>(state), 0);
    return TRUE;
}

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

LRESULT TForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ACTIVATE:
            // Keep the focused control across deactivation, as a dialog does.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = ::GetFocus();
                if (focus && ::IsChild(Handle(), focus))
                    lastFocus_ = focus;
            } else if (lastFocus_ && ::IsWindow(lastFocus_) && !::IsIconic(Handle())) {
                ::SetFocus(lastFocus_);
                return 0;
            }
            break;
        case WM_CLOSE:
            if (closing_ || !CanClose())
                return 0;
            closing_ = true;
            try {
                DoClose();
            } catch (...) {
                Application.HandleException();
            }
            ::DestroyWindow(Handle());
            return 0;
        case CM_DIALOGKEY:
            return OfferDialogKey(wParam, lParam);
        case WM_DPICHANGED: {
            // The system's rectangle first: it keeps the window under the pointer while it is dragged.
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            if (suggested && !::IsIconic(Handle()))
                ::SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                               suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            ApplyDpi(LOWORD(wParam));
            return 0;
        }
        case WM_UPDATEUISTATE: {
            // Passed to every control, also where the system does not pass it on itself (a
            // control told twice keeps the same state).
            const LRESULT result = TWinControl::HandleMessage(message, wParam, lParam);
            ::EnumChildWindows(Handle(), PassUiState, static_cast<LPARAM>(wParam));
            return result;
        }
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
        case WM_THEMECHANGED:
            // Self-painted controls cache images in the old colours; every pixel is painted anew.
            Perform(CM_SYSCOLORCHANGE);
            ::RedrawWindow(Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
            break;
        case WM_DESTROY:
            if (Handle() == Application.MainWindow())
                ::PostQuitMessage(0);
            break;
    }
    return TWinControl::HandleMessage(message, wParam, lParam);
}

LRESULT TForm::OfferDialogKey(WPARAM key, LPARAM keyData) {
    // Child windows come in Z order, which is the tab order; a control taking the key may close
    // the form, so the list is taken first and each window checked before it is asked.
    std::vector<HWND> windows;
    ::EnumChildWindows(Handle(), CollectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND window : windows) {
        // A disabled or hidden control cannot act on a key.
        TWinControl* control = TWinControl::FromHandle(window);
        if (control && dynamic_cast<TCustomControl*>(control) && ::IsWindowEnabled(window) &&
            ::IsWindowVisible(window) && control->Perform(CM_DIALOGKEY, key, keyData))
            return 1;
    }
    return 0;
}

TForm* GetParentForm(const TControl* control) {
    const TControl* top = control;
    while (top && top->Parent())
        top = top->Parent();
    return top == control ? nullptr : dynamic_cast<TForm*>(const_cast<TControl*>(top));
}

}  // namespace framework
