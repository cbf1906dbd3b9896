#include "framework/controls.h"
#include "framework/display_scale.h"

namespace framework {

void TControl::SetColor(TColor color) {
    if (color_ == color && !parentColor_)
        return;
    color_ = color;
    parentColor_ = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool parentColor) {
    if (parentColor_ == parentColor)
        return;
    parentColor_ = parentColor;
    if (parentColor_)
        Perform(CM_PARENTCOLORCHANGED);
}

void TControl::SetFont(const TFont& font) {
    if (font_ == font && !parentFont_)
        return;
    font_ = font;
    parentFont_ = false;
    FontChanged();
    Perform(CM_FONTCHANGED);
}

void TControl::SetParentFont(bool parentFont) {
    if (parentFont_ == parentFont)
        return;
    parentFont_ = parentFont;
    if (parentFont_)
        Perform(CM_PARENTFONTCHANGED);
}

int TControl::Dpi() const {
    return parent_ ? parent_->Dpi() : kDesignDpi;
}

int TControl::Scaled(int designPixels) const {
    return ScaleToDpi(designPixels, Dpi());
}

LRESULT TControl::HandleMessage(UINT message, WPARAM, LPARAM) {
    switch (message) {
        case CM_DPICHANGED:
        case CM_SYSCOLORCHANGE:
            Invalidate();
            return 0;
        case CM_PARENTCOLORCHANGED:
            if (parentColor_ && parent_ && color_ != parent_->Color()) {
                color_ = parent_->Color();
                Perform(CM_COLORCHANGED);
            }
            return 0;
        case CM_PARENTFONTCHANGED:
            if (parentFont_ && parent_) {
                font_ = parent_->Font();
                FontChanged();
                Perform(CM_FONTCHANGED);
            }
            return 0;
        case CM_COLORCHANGED:
        case CM_FONTCHANGED:
        case CM_TEXTCHANGED:
        case CM_ENABLEDCHANGED:
            Invalidate();
            return 0;
    }
    return 0;
}

}  // namespace framework
