#include "framework/window_class.h"

#include <stdexcept>
#include <string>
#include <unordered_map>

namespace framework {
namespace {

// Kept in the process rather than as window properties: a property is a trip to the window server
// on every message, and every tick of the banner is a message.
struct Owners {
    void* control = nullptr;
    void* utility = nullptr;
};

SRWLOCK bindingLock = SRWLOCK_INIT;

std::unordered_map<HWND, Owners>& Bindings() {
    static auto* bindings = new std::unordered_map<HWND, Owners>();  // outlives every window
    return *bindings;
}

void*& Slot(Owners& owners, WindowOwner kind) {
    return kind == WindowOwner::Control ? owners.control : owners.utility;
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
    if (!window)
        return;
    ::AcquireSRWLockExclusive(&bindingLock);
    Slot(Bindings()[window], kind) = object;
    ::ReleaseSRWLockExclusive(&bindingLock);
}

void UnbindWindow(HWND window, WindowOwner kind) {
    ::AcquireSRWLockExclusive(&bindingLock);
    auto& bindings = Bindings();
    const auto found = bindings.find(window);
    if (found != bindings.end()) {
        Slot(found->second, kind) = nullptr;
        if (!found->second.control && !found->second.utility)
            bindings.erase(found);
    }
    ::ReleaseSRWLockExclusive(&bindingLock);
}

void* BoundObject(HWND window, WindowOwner kind) {
    if (!window)
        return nullptr;
    ::AcquireSRWLockShared(&bindingLock);
    auto& bindings = Bindings();
    const auto found = bindings.find(window);
    void* object = found == bindings.end() ? nullptr : Slot(found->second, kind);
    ::ReleaseSRWLockShared(&bindingLock);
    return object;
}

void* BindOnCreate(HWND window, UINT message, LPARAM lParam, WindowOwner kind) {
    if (message == WM_NCCREATE) {
        if (void* object = reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams)
            BindWindow(window, kind, object);
    }
    return BoundObject(window, kind);
}

}  // namespace framework
