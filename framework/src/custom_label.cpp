#include "framework/custom_label.h"

namespace framework {

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds({0, 0, 65, 17});
}

void TCustomLabel::SetAlignment(TAlignment alignment) {
    if (alignment_ == alignment)
        return;
    alignment_ = alignment;
    Invalidate();
}

void TCustomLabel::SetAutoSize(bool autoSize) {
    if (autoSize_ == autoSize)
        return;
    autoSize_ = autoSize;
    AdjustBounds();
}

void TCustomLabel::SetTransparent(bool transparent) {
    if (transparent_ == transparent)
        return;
    transparent_ = transparent;
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool wordWrap) {
    if (wordWrap_ == wordWrap)
        return;
    wordWrap_ = wordWrap;
    AdjustBounds();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool showAccelChar) {
    if (showAccelChar_ == showAccelChar)
        return;
    showAccelChar_ = showAccelChar;
    AdjustBounds();
    Invalidate();
}

UINT TCustomLabel::TextFormat() const {
    UINT format = DT_EXPANDTABS;
    if (wordWrap_)
        format |= DT_WORDBREAK;
    if (alignment_ == taRightJustify)
        format |= DT_RIGHT;
    else if (alignment_ == taCenter)
        format |= DT_CENTER;
    if (!showAccelChar_)
        format |= DT_NOPREFIX;
    return format;
}

void TCustomLabel::Paint(TCanvas& canvas) {
    RECT rect = ClientRect();
    if (!transparent_) {
        canvas.SetBrush(Color());
        canvas.FillRect(rect);
    }
    canvas.SetBrush(Color(), TBrushStyle::Clear);
    canvas.SetFont(Font());
    canvas.DrawText(Caption(), rect, TextFormat());
}

void TCustomLabel::AdjustBounds() {
    if (!autoSize_ || Loading())
        return;
    Bounds bounds = GetBounds();
    WithControlCanvas([&](TCanvas& canvas) {
        canvas.SetFont(Font());
        RECT rect{0, 0, wordWrap_ ? bounds.width : 0, 0};
        const std::u16string text = Caption().empty() ? u" " : Caption();
        canvas.DrawText(text, rect, (TextFormat() & ~UINT(DT_CENTER | DT_RIGHT)) | DT_CALCRECT);
        if (alignment_ == taRightJustify)
            bounds.left += bounds.width - rect.right;
        bounds.width = rect.right;
        bounds.height = rect.bottom;
    });
    SetBounds(bounds);
}

LRESULT TCustomLabel::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == CM_TEXTCHANGED || message == CM_FONTCHANGED) {
        AdjustBounds();
        Invalidate();
        return 0;
    }
    return TGraphicControl::HandleMessage(message, wParam, lParam);
}

bool TCustomLabel::WithControlCanvas(const std::function<void(TCanvas& canvas)>& draw) {
    TWinControl* parent = Parent();
    if (!parent || !parent->Handle())
        return false;
    WindowDc dc(parent->Handle());
    if (!dc)
        return false;
    const RECT bounds = BoundsRect();
    ::IntersectClipRect(dc.Get(), bounds.left, bounds.top, bounds.right, bounds.bottom);
    ::SetViewportOrgEx(dc.Get(), bounds.left, bounds.top, nullptr);
    TCanvas canvas(dc.Get());
    draw(canvas);
    return true;
}

}  // namespace framework
