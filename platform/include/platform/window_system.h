#pragma once
// The window-system operations that CAD window discovery relies on, under their Win32 names.
// The Win32 implementation passes each call straight through; tests use a simulated desktop.

#include <cstdint>
#include <functional>

namespace platform {

// Opaque window identifier; zero names no window.
using WindowHandle = std::uintptr_t;

// Answer of an enumeration callback: true goes on, false stops the walk.
using WindowVisitor = std::function<bool(WindowHandle)>;

// CompareStringA results.
constexpr int kCstrLessThan = 1;
constexpr int kCstrEqual = 2;
constexpr int kCstrGreaterThan = 3;

class WindowSystem {
public:
    virtual ~WindowSystem() = default;

    // Top-level windows from the top of the Z order down, until the visitor answers false.
    virtual void EnumWindows(const WindowVisitor& visit) = 0;
    // Every descendant of parent (children and theirs); parent 0 walks the top-level windows.
    virtual void EnumChildWindows(WindowHandle parent, const WindowVisitor& visit) = 0;
    // Copies at most count - 1 bytes of the title and a terminating zero; returns the bytes copied.
    virtual int GetWindowTextA(WindowHandle window, char* buffer, int count) = 0;
    // The same in UTF-16: a title may hold characters the system code page cannot express.
    virtual int GetWindowTextW(WindowHandle window, char16_t* buffer, int count) = 0;
    virtual int GetClassNameA(WindowHandle window, char* buffer, int count) = 0;
    // Id of the process that owns the window; 0 for a window that does not exist.
    virtual std::uint32_t GetWindowThreadProcessId(WindowHandle window) = 0;
    virtual bool IsWindow(WindowHandle window) = 0;
    // CompareStringA(LOCALE_USER_DEFAULT, 0, ...): kCstrEqual when the two byte runs collate equal.
    virtual int CompareStringA(const char* left, int leftLength, const char* right, int rightLength) = 0;
};

}  // namespace platform
