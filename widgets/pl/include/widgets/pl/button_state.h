#pragma once
// What a gradient push button does with each property change and each input: the values of its
// caption lines, its picture placement and its own settings with their setter rules, the pressed
// state, the dialog-key rule and the shift state. The window class only carries out the outcomes.

#include <cstdint>
#include <string>

#include "widgets/pl/button_layout.h"

namespace pl {

// How a change is shown: not at all, with the next paint message, or at once.
enum class Repaint { None, Scheduled, Now };

// Values of one caption line (TplBtnCaption).
class CaptionLine {
public:
    const std::u16string& Caption() const { return caption_; }
    TplBtnAlignment Alignment() const { return alignment_; }
    int Left() const { return left_; }
    int Right() const { return right_; }

    Repaint SetCaption(const std::u16string& caption);
    Repaint SetAlignment(TplBtnAlignment alignment);
    // Index 1 is Left, any other index Right.
    Repaint SetMargin(int index, int value);
    Repaint CopyFrom(const CaptionLine& source);

private:
    std::u16string caption_;
    TplBtnAlignment alignment_ = taCenter;
    int left_ = 0;
    int right_ = 0;
};

// Placement values of the picture (TplBtnImage without its picture).
class ImagePlacement {
public:
    int Left() const { return left_; }
    int Top() const { return top_; }
    bool Visible() const { return visible_; }
    bool TransParent() const { return transParent_; }
    bool VertCenter() const { return vertCenter_; }
    bool HorzCenter() const { return horzCenter_; }

    // Index 1 is Left (switches HorzCenter off), any other index Top (switches VertCenter off).
    Repaint SetPosition(int index, int value);
    // Index 1 Visible, 2 TransParent, 3 VertCenter, 4 HorzCenter. Switching centring off does not
    // repaint: the picture stays where the last paint centred it.
    Repaint SetFlag(int index, bool value);
    // Copies every value; the caller repaints.
    void CopyFrom(const ImagePlacement& source);
    // What painting writes back while centring is on: the centred corner, the flags kept on.
    void Centre(int width, int height, int pictureWidth, int pictureHeight);

private:
    int left_ = 10;
    int top_ = 0;
    bool visible_ = true;
    bool transParent_ = false;
    bool vertCenter_ = true;
    bool horzCenter_ = false;
};

// What a change of ButtonStyle does to the window shape.
enum class ShapeChange { Keep, Build, Remove };
ShapeChange ShapeChangeFor(TplButtonStyle from, TplButtonStyle to, bool shapeInForce);

// The button's own settings (TplButton without its window, captions and picture).
class ButtonSettings {
public:
    TplButtonStyle ButtonStyle() const { return buttonStyle_; }
    bool Cancel() const { return cancel_; }
    int CaptionLineSpace() const { return captionLineSpace_; }
    int CaptionTop() const { return captionTop_; }
    bool CaptionVertCenter() const { return captionVertCenter_; }
    TplBtnFrameType FlatFrameType() const { return flatFrameType_; }
    bool Gradation() const { return gradation_; }
    std::uint32_t GradBeginColor() const { return gradBeginColor_; }
    std::uint32_t GradEndColor() const { return gradEndColor_; }
    bool HasFocus() const { return hasFocus_; }
    int ModalResult() const { return modalResult_; }
    bool DisableImage() const { return disableImage_; }

    // Stores and always repaints, also when unchanged.
    Repaint SetButtonStyle(TplButtonStyle style);
    void SetCancel(bool cancel) { cancel_ = cancel; }
    Repaint SetCaptionLineSpace(int space);
    // A new top switches centring off.
    Repaint SetCaptionTop(int top);
    // Only switching centring on repaints.
    Repaint SetCaptionVertCenter(bool centre);
    Repaint SetFlatFrameType(TplBtnFrameType frameType);
    Repaint SetGradation(bool gradation);
    // Index 1 is the begin colour, any other index the end colour.
    Repaint SetGradColor(int index, std::uint32_t color);
    Repaint SetHasFocus(bool hasFocus);
    void SetModalResult(int modalResult) { modalResult_ = modalResult; }
    Repaint SetDisableImage(bool disableImage);
    // Painting's write-back of the centred caption top: centring stays on, nothing repaints.
    void StoreCentredTop(int top) { captionTop_ = top; }

private:
    TplButtonStyle buttonStyle_ = bsNormal;
    bool cancel_ = false;
    int captionLineSpace_ = 4;
    int captionTop_ = 0;
    bool captionVertCenter_ = true;
    TplBtnFrameType flatFrameType_ = bffFlat;
    bool gradation_ = true;
    std::uint32_t gradBeginColor_ = 0xFFFFFF;  // clWhite
    std::uint32_t gradEndColor_ = 0xC0C0C0;    // clSilver
    bool hasFocus_ = true;
    int modalResult_ = 0;
    bool disableImage_ = false;
};

// Whether the captions and picture are shifted by the pressed offset, and whether the disabled look shows.
constexpr bool ShiftsContent(bool hasFocus, bool pressed) {
    return hasFocus && pressed;
}
constexpr bool ShowsDisabledLook(bool enabled, bool hasFocus, bool disableImage) {
    return !enabled && (hasFocus || disableImage);
}

// Modifier and mouse-button state, as the framework's shift state set.
enum ShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4, ssLeft = 8, ssRight = 16, ssMiddle = 32 };
using TShiftState = unsigned;
// From the state bytes of all 256 virtual keys: a key is down when its high bit is set.
TShiftState ShiftStateFromKeys(const std::uint8_t keyStates[256]);

enum class DialogKey { Enter, Escape, Other };
// Whether the button takes a key the form offers it: Enter when it is the focused control, Escape
// when it is a cancel button; never with Shift, Ctrl or Alt held, never without HasFocus.
bool TakesDialogKey(DialogKey key, bool isFocusedControl, bool cancel, TShiftState shift, bool hasFocus);

}  // namespace pl
