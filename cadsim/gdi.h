#pragma once
// Owners for the GDI resources a paint uses, so that every path releases them.

#include <windows.h>

namespace cadsim {

// A font, brush or pen made by this program; deleted with DeleteObject.
template <typename Handle>
class GdiObject {
public:
    explicit GdiObject(Handle handle = nullptr) : handle_(handle) {}
    ~GdiObject() {
        if (handle_)
            ::DeleteObject(handle_);
    }
    GdiObject(GdiObject&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            if (handle_)
                ::DeleteObject(handle_);
            handle_ = other.handle_;
            other.handle_ = nullptr;
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    Handle Get() const { return handle_; }

private:
    Handle handle_;
};

// BeginPaint/EndPaint around one WM_PAINT.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = ::BeginPaint(window_, &paint_); }
    ~PaintScope() { ::EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;

    HDC Dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Selects an object into a DC and puts the previous one back.
class SelectScope {
public:
    SelectScope(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    ~SelectScope() {
        if (old_)
            ::SelectObject(dc_, old_);
    }
    SelectScope(const SelectScope&) = delete;
    SelectScope& operator=(const SelectScope&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace cadsim
