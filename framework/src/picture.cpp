#include "framework/picture.h"

namespace framework {

bool TIcon::SetHandle(HICON icon) {
    icon_.Reset();
    width_ = height_ = 0;
    if (!icon)
        return false;
    ICONINFO info{};
    if (!::GetIconInfo(icon, &info))
        return false;
    // GetIconInfo hands over copies of the icon's two bitmaps.
    BitmapHandle mask = BitmapHandle::Make(info.hbmMask);
    BitmapHandle color = BitmapHandle::Make(info.hbmColor);
    BITMAP bitmap{};
    if (!::GetObjectA(info.hbmMask, sizeof bitmap, &bitmap))
        return false;
    width_ = bitmap.bmWidth;
    // A monochrome icon keeps its image and its mask one above the other in the mask bitmap.
    height_ = info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2;
    icon_.Reset(::CopyIcon(icon));
    if (!icon_)
        width_ = height_ = 0;
    return static_cast<bool>(icon_);
}

void TIcon::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TIcon*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other != this)
        SetHandle(other->Handle());
}

int TPicture::Width() const {
    if (bitmap_)
        return bitmap_->Width();
    if (icon_)
        return icon_->Width();
    return other_ ? other_->Width() : 0;
}

int TPicture::Height() const {
    if (bitmap_)
        return bitmap_->Height();
    if (icon_)
        return icon_->Height();
    return other_ ? other_->Height() : 0;
}

void TPicture::Clear() {
    bitmap_.reset();
    icon_.reset();
    other_.reset();
}

void TPicture::Assign(const TPersistent* source) {
    if (source == this)
        return;
    if (!source) {
        Clear();
        return;
    }
    // The copy is made before anything is dropped, so a refused source leaves the picture as it was.
    if (const auto* picture = dynamic_cast<const TPicture*>(source)) {
        if (picture->bitmap_)
            Assign(picture->bitmap_.get());
        else if (picture->icon_)
            Assign(picture->icon_.get());
        else if (picture->other_)
            Assign(picture->other_.get());
        else
            Clear();
    } else if (const auto* bitmap = dynamic_cast<const TBitmap*>(source)) {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(bitmap);
        Clear();
        bitmap_ = std::move(copy);
    } else if (const auto* icon = dynamic_cast<const TIcon*>(source)) {
        auto copy = std::make_unique<TIcon>();
        copy->Assign(icon);
        Clear();
        icon_ = std::move(copy);
    } else if (const auto* graphic = dynamic_cast<const TGraphic*>(source)) {
        auto copy = graphic->Clone();
        Clear();
        other_ = std::move(copy);
    } else {
        TPersistent::Assign(source);
    }
}

}  // namespace framework
