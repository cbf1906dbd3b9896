#include "framework/bitmap.h"

namespace framework {

TBitmap::~TBitmap() {
    Release();
}

void TBitmap::Release() {
    canvas_.reset();  // restores the canvas's own selections first
    if (dc_ && originalBitmap_)
        ::SelectObject(dc_.Get(), originalBitmap_);
    originalBitmap_ = nullptr;
    dc_.Reset();
    bitmap_.Reset();
    width_ = height_ = 0;
}

void TBitmap::Select() {
    dc_ = MemoryDc(nullptr);
    if (dc_)
        originalBitmap_ = ::SelectObject(dc_.Get(), bitmap_.Get());
}

bool TBitmap::SetSize(int width, int height) {
    Release();
    if (width <= 0 || height <= 0)
        return false;
    WindowDc screen(nullptr);
    if (!screen)
        return false;
    bitmap_.Reset(::CreateCompatibleBitmap(screen.Get(), width, height));
    if (!bitmap_)
        return false;
    width_ = width;
    height_ = height;
    Select();
    if (!dc_) {
        Release();
        return false;
    }
    return true;
}

void TBitmap::TakeHandle(HBITMAP bitmap) {
    Release();
    BITMAP info{};
    if (!bitmap || !::GetObjectA(bitmap, sizeof info, &info)) {
        if (bitmap)
            ::DeleteObject(bitmap);
        return;
    }
    bitmap_.Reset(bitmap);
    width_ = info.bmWidth;
    height_ = info.bmHeight;
    Select();
}

TCanvas& TBitmap::Canvas() {
    if (!canvas_) {
        // An empty bitmap still has a canvas to draw on, over a DC of its own with nothing in it.
        if (!dc_)
            dc_ = MemoryDc(nullptr);
        canvas_ = std::make_unique<TCanvas>(dc_.Get());
    }
    return *canvas_;
}

TColor TBitmap::TransparentColor() {
    if (transparentColor_ != clDefault)
        return transparentColor_;
    if (Empty())
        return clNone;
    return Canvas().Pixel(0, height_ - 1);
}

void TBitmap::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TBitmap*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this)
        return;
    transparent_ = other->transparent_;
    transparentColor_ = other->transparentColor_;
    if (other->Empty()) {
        Release();
        return;
    }
    if (!SetSize(other->width_, other->height_))
        return;
    ::BitBlt(dc_.Get(), 0, 0, width_, height_, other->dc_.Get(), 0, 0, SRCCOPY);
}

}  // namespace framework
