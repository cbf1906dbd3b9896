#include "framework/utility_window.h"

#include <stdexcept>

#include "framework/application.h"
#include "framework/window_class.h"

namespace framework {
namespace {

const char kUtilityClass[] = "TavroUtilityWindow";

}  // namespace

TUtilityWindow::TUtilityWindow(Handler handler) : handler_(std::move(handler)) {
    RegisterWindowClass(kUtilityClass, WindowProc);
    // A message-only window: never shown, never enumerated as a top-level window.
    handle_ = ::CreateWindowExW(0, ClassNameW(kUtilityClass).c_str(), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                ::GetModuleHandleW(nullptr), this);
    if (!handle_)
        throw std::runtime_error("cannot create a utility window");
}

TUtilityWindow::~TUtilityWindow() {
    if (handle_) {
        UnbindWindow(handle_, WindowOwner::Utility);
        ::DestroyWindow(handle_);
    }
}

LRESULT CALLBACK TUtilityWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    auto* owner = static_cast<TUtilityWindow*>(BindOnCreate(window, message, lParam, WindowOwner::Utility));
    // The messages of the creation itself (WM_NCCREATE, WM_NCCALCSIZE, WM_CREATE, ...) come before the
    // owner holds its handle, and before whatever holds the owner is set: they are the default's.
    if (message == WM_NCDESTROY)
        UnbindWindow(window, WindowOwner::Utility);
    if (!owner || !owner->handler_ || !owner->handle_)
        return ::DefWindowProcW(window, message, wParam, lParam);
    try {
        return owner->handler_(message, wParam, lParam);
    } catch (...) {
        Application.HandleException();
        return 0;
    }
}

}  // namespace framework
