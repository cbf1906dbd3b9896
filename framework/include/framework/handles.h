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

// GDI objects made through these owners are counted, so that a long run can show that none leak
// (the platform's own per-process count is not available everywhere).
long LiveGdiObjects();
void CountGdiObject(int delta);

struct FileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};
template <typename Object>
struct GdiObjectTraits {
    static Object Invalid() { return nullptr; }
    static void Close(Object h) {
        ::DeleteObject(h);
        CountGdiObject(-1);
    }
};
struct MemoryDcTraits {
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) {
        ::DeleteDC(h);
        CountGdiObject(-1);
    }
};
struct IconTraits {
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { ::DestroyIcon(h); }
};

// Kernel objects whose creation fails with a null handle (mutexes, events).
struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { ::CloseHandle(h); }
};

using FileHandle = UniqueHandle<HANDLE, FileHandleTraits>;
using KernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using IconHandle = UniqueHandle<HICON, IconTraits>;

// A GDI object owner; every object it takes is counted until it is deleted.
template <typename Object>
class GdiHandle : public UniqueHandle<Object, GdiObjectTraits<Object>> {
    using Base = UniqueHandle<Object, GdiObjectTraits<Object>>;

public:
    GdiHandle() = default;
    static GdiHandle Make(Object object) {
        GdiHandle handle;
        handle.Reset(object);
        return handle;
    }
    void Reset(Object object = nullptr) {
        if (object)
            CountGdiObject(1);
        Base::Reset(object);
    }
};
using FontHandle = GdiHandle<HFONT>;
using PenHandle = GdiHandle<HPEN>;
using BrushHandle = GdiHandle<HBRUSH>;
using BitmapHandle = GdiHandle<HBITMAP>;
using RegionHandle = GdiHandle<HRGN>;

// A memory DC from CreateCompatibleDC, given back with DeleteDC (never DeleteObject).
class MemoryDc : public UniqueHandle<HDC, MemoryDcTraits> {
public:
    MemoryDc() = default;
    explicit MemoryDc(HDC compatibleWith) : UniqueHandle(::CreateCompatibleDC(compatibleWith)) {
        if (Get())
            CountGdiObject(1);
    }
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintDc {
public:
    explicit PaintDc(HWND window) : window_(window), dc_(::BeginPaint(window, &paint_)) {}
    ~PaintDc() { ::EndPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return dc_; }
    const RECT& Area() const { return paint_.rcPaint; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// A window's DC from GetDC, given back with ReleaseDC.
class WindowDc {
public:
    WindowDc() = default;
    explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDc() { Reset(); }
    WindowDc(WindowDc&& other) noexcept
        : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
    WindowDc& operator=(WindowDc&& other) noexcept {
        if (this != &other) {
            Reset();
            window_ = std::exchange(other.window_, nullptr);
            dc_ = std::exchange(other.dc_, nullptr);
        }
        return *this;
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void Reset() {
        // A window destroyed while its DC was kept has released the DC itself, which may since
        // have been handed to someone else. The screen's DC (no window) always goes back.
        if (dc_ && (!window_ || ::IsWindow(window_)))
            ::ReleaseDC(window_, dc_);
        dc_ = nullptr;
        window_ = nullptr;
    }

private:
    HWND window_ = nullptr;
    HDC dc_ = nullptr;
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

// SaveDC and RestoreDC around drawing that changes a DC it does not own (clip, origin, objects).
class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : dc_(dc), saved_(::SaveDC(dc)) {}
    ~SavedDcState() {
        if (saved_)
            ::RestoreDC(dc_, saved_);
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    HDC dc_;
    int saved_;
};

}  // namespace framework
