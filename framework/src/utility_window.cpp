#include "framework/utility_window.h"

#include <stdexcept>

#include "framework/application.h"

namespace framework {
namespace {

const char kUtilityClass[] = "TavroUtilityWindow";

}  // namespace

TUtilityWindow::TUtilityWindow(Handler handler) : handler_(std::move(handler)) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (!::GetClassInfoExA(instance, kUtilityClass, &windowClass)) {
        windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = WindowProc;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kUtilityClass;
        ::RegisterClassExA(&windowClass);
    }
    // A message-only window: never shown, never enumerated as a top-level window.
    handle_ = ::CreateWindowExA(0, kUtilityClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this);
    if (!handle_)
        throw std::runtime_error("cannot create a utility window");
}

TUtilityWindow::~TUtilityWindow() {
    if (handle_) {
        ::SetWindowLongPtrA(handle_, GWLP_USERDATA, 0);
        ::DestroyWindow(handle_);
    }
}

LRESULT CALLBACK TUtilityWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        ::SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* owner = reinterpret_cast<TUtilityWindow*>(::GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!owner || !owner->handler_ || message == WM_NCCREATE || message == WM_CREATE)
        return ::DefWindowProcA(window, message, wParam, lParam);
    try {
        return owner->handler_(message, wParam, lParam);
    } catch (...) {
        Application.HandleException();
        return 0;
    }
}

}  // namespace framework
