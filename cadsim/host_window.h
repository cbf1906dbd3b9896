#pragma once
// Window plumbing shared by all of the simulator's windows: classes and windows are registered and
// created as ANSI or Unicode as the host was asked to be, each window reaches the Host through
// GWLP_USERDATA, and no exception leaves a window procedure.

#include <windows.h>

#include <string>

#include "host_state.h"

namespace cadsim {

using MessageHandler = LRESULT (*)(Host& host, HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// DefWindowProcA or DefWindowProcW, matching the window.
// The performance counter in milliseconds: the clock of the log's busy lines, which benchmarks
// compare with their own.
double CounterMs();

LRESULT DefaultProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The window procedure for a handler: attaches the Host passed to CreateHostWindow, and turns an
// exception into a message on standard error and the end of the message loop.
LRESULT GuardedProc(MessageHandler handler, HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept;

template <MessageHandler handler>
LRESULT CALLBACK WindowProcFor(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return GuardedProc(handler, window, message, wParam, lParam);
}

// className is ASCII. False when the class cannot be registered.
bool RegisterHostClass(bool ansi, const char* className, WNDPROC proc, HBRUSH background);

// title is in the system ANSI code page (code page 932 under a Japanese system).
HWND CreateHostWindow(Host& host,
                      DWORD exStyle,
                      const char* className,
                      const std::string& title,
                      DWORD style,
                      const RECT& bounds,
                      HWND parent);

// UTF-16 of a code-page-932 text.
std::wstring WideFromCp932(const std::string& text);

}  // namespace cadsim
