#pragma once
// Owners for Win32 handles: each type knows its one release call, so a DC from GetDC can never be
// released with DeleteDC, and every path out of a scope (an exception included) releases.

#include <windows.h>

#include <utility>

namespace framework {

template <typename Handle, typename Traits>
class UniqueHandle {
public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Traits::Invalid())) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset();
            handle_ = std::exchange(other.handle_, Traits::Invalid());
        }
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::Invalid(); }
    Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(Handle handle = Traits::Invalid()) {
        if (handle_ != Traits::Invalid())
            Traits::Close(handle_);
        handle_ = handle;
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct FileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct FontTraits {
    static HFONT Invalid() { return nullptr; }
    static void Close(HFONT h) { ::DeleteObject(h); }
};

// Kernel objects whose creation fails with a null handle (mutexes, events).
struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};

using FileHandle = UniqueHandle<HANDLE, FileHandleTraits>;
using KernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using FontHandle = UniqueHandle<HFONT, FontTraits>;

// A window's DC from GetDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() {
        if (dc_)
            ::ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// Selects an object into a DC for a scope and puts the previous one back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~SelectedObject() {
        if (previous_)
            ::SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace framework
