#include "framework/window_class.h"

#include <stdexcept>
#include <string>

namespace framework {
namespace {

const char* PropertyName(WindowOwner kind) {
    return kind == WindowOwner::Control ? "TavroControl" : "TavroUtility";
}

}  // namespace

void RegisterWindowClass(const char* className, WNDPROC procedure, UINT style, HBRUSH background, HICON icon) {
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (::GetClassInfoExA(instance, className, &windowClass))
        return;
    windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = className;
    if (!::RegisterClassExA(&windowClass))
        throw std::runtime_error(std::string("cannot register the window class ") + className);
}

void BindWindow(HWND window, WindowOwner kind, void* object) {
    ::SetPropA(window, PropertyName(kind), static_cast<HANDLE>(object));
}

void UnbindWindow(HWND window, WindowOwner kind) {
    ::RemovePropA(window, PropertyName(kind));
}

void* BoundObject(HWND window, WindowOwner kind) {
    return window ? static_cast<void*>(::GetPropA(window, PropertyName(kind))) : nullptr;
}

void* BindOnCreate(HWND window, UINT message, LPARAM lParam, WindowOwner kind) {
    if (message == WM_NCCREATE) {
        if (void* object = reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams)
            BindWindow(window, kind, object);
    }
    return BoundObject(window, kind);
}

}  // namespace framework
