#include "framework/form.h"

#include <vector>

#include "framework/application.h"
#include "framework/custom_control.h"

namespace framework {

TForm::TForm(const FormDesign& design) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    RegisterOwnClass(design.className.c_str(), 0, ::GetSysColorBrush(COLOR_BTNFACE),
                     ::LoadIconA(instance, MAKEINTRESOURCEA(1)));
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
    try {
        DoCreate();
    } catch (...) {
        Application.HandleException();
    }
}

void TForm::Show() {
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
        case WM_DESTROY:
            if (Handle() == Application.MainWindow())
                ::PostQuitMessage(0);
            break;
    }
    return TWinControl::HandleMessage(message, wParam, lParam);
}

namespace {

BOOL CALLBACK CollectWindow(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

}  // namespace

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
