#include "widgets/pl/button_state.h"

namespace pl {

namespace {

template <typename T>
Repaint StoreIfChanged(T& field, const T& value) {
    if (field == value)
        return Repaint::None;
    field = value;
    return Repaint::Now;
}

}  // namespace

Repaint CaptionLine::SetCaption(const std::u16string& caption) {
    return StoreIfChanged(caption_, caption);
}

Repaint CaptionLine::SetAlignment(TplBtnAlignment alignment) {
    return StoreIfChanged(alignment_, alignment);
}

Repaint CaptionLine::SetMargin(int index, int value) {
    return StoreIfChanged(index == 1 ? left_ : right_, value);
}

Repaint CaptionLine::CopyFrom(const CaptionLine& source) {
    alignment_ = source.alignment_;
    caption_ = source.caption_;
    left_ = source.left_;
    right_ = source.right_;
    return Repaint::Now;
}

Repaint ImagePlacement::SetPosition(int index, int value) {
    int& field = index == 1 ? left_ : top_;
    if (field == value)
        return Repaint::None;
    field = value;
    (index == 1 ? horzCenter_ : vertCenter_) = false;
    return Repaint::Now;
}

Repaint ImagePlacement::SetFlag(int index, bool value) {
    bool* field = nullptr;
    switch (index) {
        case 1:
            field = &visible_;
            break;
        case 2:
            field = &transParent_;
            break;
        case 3:
            field = &vertCenter_;
            break;
        case 4:
            field = &horzCenter_;
            break;
        default:
            return Repaint::None;
    }
    if (*field == value)
        return Repaint::None;
    *field = value;
    if (index >= 3 && !value)
        return Repaint::None;
    return Repaint::Now;
}

void ImagePlacement::CopyFrom(const ImagePlacement& source) {
    *this = source;
}

void ImagePlacement::Centre(int width, int height, int pictureWidth, int pictureHeight) {
    if (vertCenter_)
        top_ = CentredOffset(height, pictureHeight);
    if (horzCenter_)
        left_ = CentredOffset(width, pictureWidth);
}

ShapeChange ShapeChangeFor(TplButtonStyle from, TplButtonStyle to, bool shapeInForce) {
    if (from == to)
        return ShapeChange::Keep;
    if (IsRoundStyle(to))
        return ShapeChange::Build;
    return shapeInForce ? ShapeChange::Remove : ShapeChange::Keep;
}

Repaint ButtonSettings::SetButtonStyle(TplButtonStyle style) {
    buttonStyle_ = style;
    return Repaint::Now;
}

Repaint ButtonSettings::SetCaptionLineSpace(int space) {
    return StoreIfChanged(captionLineSpace_, space);
}

Repaint ButtonSettings::SetCaptionTop(int top) {
    if (captionTop_ == top)
        return Repaint::None;
    captionTop_ = top;
    captionVertCenter_ = false;
    return Repaint::Now;
}

Repaint ButtonSettings::SetCaptionVertCenter(bool centre) {
    if (captionVertCenter_ == centre)
        return Repaint::None;
    captionVertCenter_ = centre;
    return centre ? Repaint::Now : Repaint::None;
}

Repaint ButtonSettings::SetFlatFrameType(TplBtnFrameType frameType) {
    return StoreIfChanged(flatFrameType_, frameType);
}

Repaint ButtonSettings::SetGradation(bool gradation) {
    return StoreIfChanged(gradation_, gradation);
}

Repaint ButtonSettings::SetGradColor(int index, std::uint32_t color) {
    return StoreIfChanged(index == 1 ? gradBeginColor_ : gradEndColor_, color);
}

Repaint ButtonSettings::SetHasFocus(bool hasFocus) {
    return StoreIfChanged(hasFocus_, hasFocus);
}

Repaint ButtonSettings::SetDisableImage(bool disableImage) {
    return StoreIfChanged(disableImage_, disableImage);
}

TShiftState ShiftStateFromKeys(const std::uint8_t keyStates[256]) {
    struct KeyFlag {
        int key;
        ShiftFlag flag;
    };
    // Virtual keys: Shift 0x10, Alt 0x12, Ctrl 0x11, left, right and middle mouse buttons 1, 2, 4.
    static const KeyFlag kKeys[] = {{0x10, ssShift}, {0x12, ssAlt},   {0x11, ssCtrl},
                                    {0x01, ssLeft},  {0x02, ssRight}, {0x04, ssMiddle}};
    TShiftState shift = 0;
    for (const KeyFlag& entry : kKeys) {
        if (keyStates[entry.key] & 0x80)
            shift |= entry.flag;
    }
    return shift;
}

bool TakesDialogKey(DialogKey key, bool isFocusedControl, bool cancel, TShiftState shift, bool hasFocus) {
    const bool ours = (key == DialogKey::Enter && isFocusedControl) || (key == DialogKey::Escape && cancel);
    return ours && (shift & (ssShift | ssCtrl | ssAlt)) == 0 && hasFocus;
}

}  // namespace pl
