#pragma once
// A picture holds one graphic: a bitmap, an icon, or a graphic of another kind that the framework
// keeps and copies but does not know how to draw.

#include <windows.h>

#include <memory>
#include <string>

#include "framework/bitmap.h"
#include "framework/component.h"
#include "framework/handles.h"

namespace framework {

// A graphic of a kind other than bitmap and icon: it knows its size and how to copy itself.
class TGraphic : public TPersistent {
public:
    std::string ClassName() const override { return "TGraphic"; }
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual std::unique_ptr<TGraphic> Clone() const = 0;
};

class TIcon : public TPersistent {
public:
    TIcon() = default;
    TIcon(const TIcon&) = delete;
    TIcon& operator=(const TIcon&) = delete;

    std::string ClassName() const override { return "TIcon"; }
    void Assign(const TPersistent* source) override;

    // Keeps a copy of the icon; the caller keeps its own. False when the icon cannot be copied.
    bool SetHandle(HICON icon);
    HICON Handle() const { return icon_.Get(); }
    bool Empty() const { return !icon_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

private:
    IconHandle icon_;
    int width_ = 0;
    int height_ = 0;
};

class TPicture : public TPersistent {
public:
    TPicture() = default;
    TPicture(const TPicture&) = delete;
    TPicture& operator=(const TPicture&) = delete;

    std::string ClassName() const override { return "TPicture"; }
    // Copies a picture's graphic, or takes a copy of a bitmap, an icon or another graphic; null
    // empties the picture.
    void Assign(const TPersistent* source) override;

    // At most one of these is set.
    TBitmap* Bitmap() const { return bitmap_.get(); }
    TIcon* Icon() const { return icon_.get(); }
    TGraphic* Other() const { return other_.get(); }

    bool Empty() const { return !bitmap_ && !icon_ && !other_; }
    int Width() const;
    int Height() const;
    void Clear();

private:
    std::unique_ptr<TBitmap> bitmap_;
    std::unique_ptr<TIcon> icon_;
    std::unique_ptr<TGraphic> other_;
};

}  // namespace framework
