#include "win32_window_system.h"

#include <windows.h>

namespace platform {
namespace {

HWND ToHwnd(WindowHandle window) {
    return reinterpret_cast<HWND>(window);
}

// The visitor never throws (the matchers only read and compare), so nothing unwinds through Win32.
BOOL CALLBACK VisitWindow(HWND window, LPARAM visitor) {
    return (*reinterpret_cast<const WindowVisitor*>(visitor))(reinterpret_cast<WindowHandle>(window)) ? TRUE : FALSE;
}

}  // namespace

void Win32WindowSystem::EnumWindows(const WindowVisitor& visit) {
    ::EnumWindows(VisitWindow, reinterpret_cast<LPARAM>(&visit));
}

void Win32WindowSystem::EnumChildWindows(WindowHandle parent, const WindowVisitor& visit) {
    ::EnumChildWindows(ToHwnd(parent), VisitWindow, reinterpret_cast<LPARAM>(&visit));
}

int Win32WindowSystem::GetWindowTextA(WindowHandle window, char* buffer, int count) {
    return ::GetWindowTextA(ToHwnd(window), buffer, count);
}

int Win32WindowSystem::GetWindowTextW(WindowHandle window, char16_t* buffer, int count) {
    return ::GetWindowTextW(ToHwnd(window), reinterpret_cast<wchar_t*>(buffer), count);
}

int Win32WindowSystem::GetClassNameA(WindowHandle window, char* buffer, int count) {
    return ::GetClassNameA(ToHwnd(window), buffer, count);
}

std::uint32_t Win32WindowSystem::GetWindowThreadProcessId(WindowHandle window) {
    DWORD processId = 0;
    ::GetWindowThreadProcessId(ToHwnd(window), &processId);
    return processId;
}

bool Win32WindowSystem::IsWindow(WindowHandle window) {
    return ::IsWindow(ToHwnd(window)) != FALSE;
}

int Win32WindowSystem::CompareStringA(const char* left, int leftLength, const char* right, int rightLength) {
    return ::CompareStringA(LOCALE_USER_DEFAULT, 0, left, leftLength, right, rightLength);
}

}  // namespace platform
