#include "framework/window_class.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace framework {
namespace {

// Kept in the process rather than as window properties: a property is a trip to the window server
// on every message, and every tick of the banner is a message. A process has a handful of windows,
// so a short list looked through from the end (the newest window first) is all it takes.
struct Binding {
    HWND window = nullptr;
    void* control = nullptr;
    void* utility = nullptr;
};

SRWLOCK bindingLock = SRWLOCK_INIT;

std::vector<Binding>& Bindings() {
    static auto* bindings = new std::vector<Binding>();  // outlives every window
    return *bindings;
}

Binding* Find(HWND window) {
    auto& bindings = Bindings();
    for (auto it = bindings.rbegin(); it != bindings.rend(); ++it)
        if (it->window == window)
            return &*it;
    return nullptr;
}

void*& Slot(Binding& binding, WindowOwner kind) {
    return kind == WindowOwner::Control ? binding.control : binding.utility;
}

}  // namespace

void RegisterWindowClass(const char* className, WNDPROC procedure, UINT style, HBRUSH background, HICON icon) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const std::wstring name = ClassNameW(className);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (::GetClassInfoExW(instance, name.c_str(), &windowClass))
        return;
    windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = name.c_str();
    if (!::RegisterClassExW(&windowClass))
        throw std::runtime_error(std::string("cannot register the window class ") + className);
}

void BindWindow(HWND window, WindowOwner kind, void* object) {
    if (!window)
        return;
    ::AcquireSRWLockExclusive(&bindingLock);
    Binding* binding = Find(window);
    if (!binding) {
        Bindings().push_back(Binding{window});
        binding = &Bindings().back();
    }
    Slot(*binding, kind) = object;
    ::ReleaseSRWLockExclusive(&bindingLock);
}

void UnbindWindow(HWND window, WindowOwner kind) {
    ::AcquireSRWLockExclusive(&bindingLock);
    if (Binding* binding = Find(window)) {
        Slot(*binding, kind) = nullptr;
        if (!binding->control && !binding->utility) {
            auto& bindings = Bindings();
            *binding = bindings.back();
            bindings.pop_back();
        }
    }
    ::ReleaseSRWLockExclusive(&bindingLock);
}

void* BoundObject(HWND window, WindowOwner kind) {
    if (!window)
        return nullptr;
    ::AcquireSRWLockShared(&bindingLock);
    Binding* binding = Find(window);
    void* object = binding ? Slot(*binding, kind) : nullptr;
    ::ReleaseSRWLockShared(&bindingLock);
    return object;
}

void* BindOnCreate(HWND window, UINT message, LPARAM lParam, WindowOwner kind) {
    if (message == WM_NCCREATE) {
        if (void* object = reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams)
            BindWindow(window, kind, object);
    }
    return BoundObject(window, kind);
}

}  // namespace framework
