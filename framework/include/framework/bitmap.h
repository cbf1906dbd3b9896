#pragma once
// A device-dependent bitmap with its own memory DC and canvas. The bitmap stays selected into the
// DC while the object lives; the DC's original bitmap is selected back before either is freed.

#include <windows.h>

#include <memory>

#include "framework/canvas.h"
#include "framework/component.h"
#include "framework/handles.h"

namespace framework {

class TBitmap : public TPersistent {
public:
    TBitmap() = default;
    TBitmap(int width, int height) { SetSize(width, height); }
    ~TBitmap() override;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    std::string ClassName() const override { return "TBitmap"; }
    // Copies another bitmap's pixels, size and transparency.
    void Assign(const TPersistent* source) override;

    // A new picture of that size, its pixels undefined. A size the system cannot make (too large,
    // out of memory) leaves the bitmap empty and returns false; no size at all is empty too.
    bool SetSize(int width, int height);
    // Takes a bitmap handle made elsewhere; the bitmap owns it from now on.
    void TakeHandle(HBITMAP bitmap);
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return !bitmap_; }
    HBITMAP Handle() const { return bitmap_.Get(); }
    // Over the bitmap's own memory DC; valid until the next SetSize, TakeHandle or Assign.
    TCanvas& Canvas();

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool transparent) { transparent_ = transparent; }
    // The colour left undrawn when transparent: the one set, or else the bottom-left pixel's.
    TColor TransparentColor();
    void SetTransparentColor(TColor color) { transparentColor_ = color; }

private:
    void Release();
    void Select();

    BitmapHandle bitmap_;
    MemoryDc dc_;
    HGDIOBJ originalBitmap_ = nullptr;
    std::unique_ptr<TCanvas> canvas_;
    int width_ = 0;
    int height_ = 0;
    bool transparent_ = false;
    TColor transparentColor_ = clDefault;
};

}  // namespace framework
