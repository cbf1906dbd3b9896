#pragma once
// The one way the framework registers its window classes and binds a window to the object that
// owns it: a binding made at creation (or, for a standard control, when it is subclassed) and removed
// before the window goes (at the latest at WM_NCDESTROY), so that a late message finds no object
// rather than a freed one.

#include <windows.h>

#include <string>

#include "framework/wide_text.h"

namespace framework {

// Every window of the framework is a Unicode window; class names are ASCII.
inline std::wstring ClassNameW(const char* className) {
    return std::wstring(className, className + std::char_traits<char>::length(className));
}

// Registers the class once per process; a second call for the same name does nothing.
void RegisterWindowClass(const char* className,
                         WNDPROC procedure,
                         UINT style = 0,
                         HBRUSH background = nullptr,
                         HICON icon = nullptr);

// Kinds of owner, each under its own property, so that a window of one kind is never taken for another.
enum class WindowOwner { Control, Utility };

void BindWindow(HWND window, WindowOwner kind, void* object);
void UnbindWindow(HWND window, WindowOwner kind);
void* BoundObject(HWND window, WindowOwner kind);

// Binds at WM_NCCREATE from the creation parameter, then returns the bound object (or null).
void* BindOnCreate(HWND window, UINT message, LPARAM lParam, WindowOwner kind);

}  // namespace framework
