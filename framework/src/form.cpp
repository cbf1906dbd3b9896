#include "framework/form.h"

#include <stdexcept>

#include "framework/application.h"

namespace framework {

TForm::TForm(const FormDesign& design) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!::GetClassInfoExA(instance, design.className.c_str(), &windowClass)) {
        windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.hbrBackground = ::GetSysColorBrush(COLOR_BTNFACE);
        windowClass.hIcon = ::LoadIconA(instance, MAKEINTRESOURCEA(1));
        windowClass.lpszClassName = design.className.c_str();
        if (!::RegisterClassExA(&windowClass))
            throw std::runtime_error("cannot register the window class " + design.className);
    }

    font_.Reset(::CreateFontA(design.font.height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, design.font.charset,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                              design.font.name.c_str()));

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

    handle_ = ::CreateWindowExA(exStyle, design.className.c_str(), design.caption.c_str(), style, left, top, width,
                                height, nullptr, nullptr, instance, this);
    if (!handle_)
        throw std::runtime_error("cannot create the window " + design.className);
}

TForm::~TForm() {
    if (handle_ && ::IsWindow(handle_)) {
        ::SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        ::DestroyWindow(handle_);
    }
}

void TForm::Created() {
    try {
        DoCreate();
    } catch (...) {
        Application.HandleException();
    }
}

void TForm::Show() {
    ::ShowWindow(handle_, SW_SHOWNORMAL);
    ::UpdateWindow(handle_);
    HWND first = ::GetNextDlgTabItem(handle_, nullptr, FALSE);
    if (first)
        ::SetFocus(first);
}

void TForm::Close() {
    ::SendMessageA(handle_, WM_CLOSE, 0, 0);
}

void TForm::SetMinimized(bool minimized) {
    ::ShowWindow(handle_, minimized ? SW_MINIMIZE : SW_RESTORE);
}

LRESULT CALLBACK TForm::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        reinterpret_cast<TForm*>(create->lpCreateParams)->handle_ = window;
    }
    auto* form = reinterpret_cast<TForm*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!form)
        return ::DefWindowProcA(window, message, wParam, lParam);
    // No exception leaves a window procedure: the error box shows it and the message is done.
    try {
        return form->HandleMessage(window, message, wParam, lParam);
    } catch (...) {
        Application.HandleException();
        return 0;
    }
}

LRESULT TForm::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_.Get());
        case WM_COMMAND:
            if (TControl::RouteCommand(wParam, lParam))
                return 0;
            break;
        case WM_ACTIVATE:
            // Keep the focused control across deactivation, as a dialog does.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = ::GetFocus();
                if (focus && ::IsChild(handle_, focus))
                    lastFocus_ = focus;
            } else if (lastFocus_ && ::IsWindow(lastFocus_) && !::IsIconic(handle_)) {
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
            ::DestroyWindow(handle_);
            return 0;
        case WM_DESTROY:
            if (handle_ == Application.MainWindow())
                ::PostQuitMessage(0);
            break;
        case WM_NCDESTROY:
            ::SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
            handle_ = nullptr;
            break;
    }
    return ::DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace framework
