#pragma once
// The gradient push button: a self-painted button with a vertical gradient face, up to two
// caption lines with their own alignment, an optional picture, five frame styles, a focus mark
// and a pressed look. It answers the mouse, Enter and Escape, and fires the usual click event.

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "widgets/pl/button_layout.h"
#include "widgets/pl/button_state.h"
#include "framework/accessible.h"
#include "framework/custom_control.h"
#include "framework/picture.h"

namespace pl {

class TplButton;

// sender, shift state, x, y
using TMouseMoveEvent = std::function<void(framework::TObject* sender, TShiftState shift, int x, int y)>;

// One caption line of a button.
class TplBtnCaption : public framework::TPersistent {
public:
    explicit TplBtnCaption(TplButton* owner) : owner_(owner) {}
    std::string ClassName() const override { return "TplBtnCaption"; }
    // Copies another caption line's settings and repaints; any other source is refused.
    void Assign(const framework::TPersistent* source) override;

    const std::u16string& Caption() const { return line_.Caption(); }
    void SetCaption(const std::u16string& caption);
    TplBtnAlignment Alignment() const { return line_.Alignment(); }
    void SetAlignment(TplBtnAlignment alignment);
    int Left() const { return line_.Left(); }
    int Right() const { return line_.Right(); }
    // Index 1 Left, 2 Right.
    void SetMargin(int index, int value);
    void SetLeft(int value) { SetMargin(1, value); }
    void SetRight(int value) { SetMargin(2, value); }
    const CaptionLine& Line() const { return line_; }

private:
    void Apply(Repaint repaint);
    TplButton* owner_;
    CaptionLine line_;
};

// The picture of a button and where it goes.
class TplBtnImage : public framework::TPersistent {
public:
    explicit TplBtnImage(TplButton* owner) : owner_(owner), picture_(std::make_unique<framework::TPicture>()) {}
    std::string ClassName() const override { return "TplBtnImage"; }
    // Copies another image's picture and settings without repainting; any other source is refused.
    void Assign(const framework::TPersistent* source) override;

    framework::TPicture& Picture() const { return *picture_; }
    // Copies the given picture's content (unless it is this image's own) and repaints.
    void SetPicture(const framework::TPicture& picture);
    int Left() const { return placement_.Left(); }
    int Top() const { return placement_.Top(); }
    // Index 1 Left, 2 Top; setting one switches its centring off.
    void SetPosition(int index, int value);
    void SetLeft(int value) { SetPosition(1, value); }
    void SetTop(int value) { SetPosition(2, value); }
    bool Visible() const { return placement_.Visible(); }
    bool TransParent() const { return placement_.TransParent(); }
    bool VertCenter() const { return placement_.VertCenter(); }
    bool HorzCenter() const { return placement_.HorzCenter(); }
    // Index 1 Visible, 2 TransParent, 3 VertCenter, 4 HorzCenter.
    void SetFlag(int index, bool value);
    void SetVisible(bool value) { SetFlag(1, value); }
    void SetTransParent(bool value) { SetFlag(2, value); }
    void SetVertCenter(bool value) { SetFlag(3, value); }
    void SetHorzCenter(bool value) { SetFlag(4, value); }

private:
    friend class TplButton;
    void Apply(Repaint repaint);
    TplButton* owner_;
    std::unique_ptr<framework::TPicture> picture_;
    ImagePlacement placement_;
};

class TplButton : public framework::TCustomControl {
public:
    explicit TplButton(framework::TComponent* owner = nullptr);
    ~TplButton() override;
    std::string ClassName() const override { return "TplButton"; }

    // The first parent gives the first caption line the component's name.
    void SetParent(framework::TWinControl* parent) override;

    TplButtonStyle ButtonStyle() const { return settings_.ButtonStyle(); }
    void SetButtonStyle(TplButtonStyle style);
    bool Cancel() const { return settings_.Cancel(); }
    void SetCancel(bool cancel) { settings_.SetCancel(cancel); }
    bool Gradation() const { return settings_.Gradation(); }
    void SetGradation(bool gradation);
    framework::TColor GradBeginColor() const { return settings_.GradBeginColor(); }
    framework::TColor GradEndColor() const { return settings_.GradEndColor(); }
    // Index 1 the begin colour, any other the end colour.
    void SetGradColor(int index, framework::TColor color);
    void SetGradBeginColor(framework::TColor color) { SetGradColor(1, color); }
    void SetGradEndColor(framework::TColor color) { SetGradColor(2, color); }
    bool HasFocus() const { return settings_.HasFocus(); }
    void SetHasFocus(bool hasFocus);
    int ModalResult() const { return settings_.ModalResult(); }
    void SetModalResult(int modalResult) { settings_.SetModalResult(modalResult); }
    TplBtnImage& Image() const { return *image_; }
    void SetImage(const TplBtnImage& image);
    bool DisableImage() const { return settings_.DisableImage(); }
    void SetDisableImage(bool disableImage);
    TplBtnCaption& CaptionA() const { return *captionA_; }
    TplBtnCaption& CaptionB() const { return *captionB_; }
    // Index 1 CaptionA, any other CaptionB.
    void SetCaptionLine(int index, const TplBtnCaption& caption);
    int CaptionLineSpace() const { return settings_.CaptionLineSpace(); }
    void SetCaptionLineSpace(int space);
    int CaptionTop() const { return settings_.CaptionTop(); }
    void SetCaptionTop(int top);
    bool CaptionVertCenter() const { return settings_.CaptionVertCenter(); }
    void SetCaptionVertCenter(bool centre);
    TplBtnFrameType FlatFrameType() const { return settings_.FlatFrameType(); }
    void SetFlatFrameType(TplBtnFrameType frameType);

    bool Pressed() const { return Pointer().Pressed(); }
    bool CaptionInitialized() const { return captionInitialized_; }
    // The window shape in force for the round styles (owned by the window), or null.
    HRGN WindowRegion() const { return windowRegion_; }

    // Clears the pressed look, leaves the button's ModalResult with its form, fires OnClick.
    void Click() override;

    TMouseMoveEvent OnMouseEnter;
    TMouseMoveEvent OnMouseLeave;

    // A push button to screen readers, named as its caption reads; its default action clicks it.
    framework::AccessibleFacts Facts() const;
    bool DoDefaultAction();

protected:
    virtual void DoMouseEnter(TShiftState shift, int x, int y);
    virtual void DoMouseLeave(TShiftState shift, int x, int y);

    void Paint(framework::TCanvas& canvas) override;
    void DoEnter() override;
    void DoExit() override;
    void CaptureLost() override;
    void PressedChanged() override;
    void Resize() override;
    void KeyDown(WORD& key) override;
    void KeyUp(WORD& key) override;
    LRESULT DialogCodes(const MSG* message) const override;
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    friend class TplBtnCaption;
    friend class TplBtnImage;
    // Carries out a repaint outcome of a setter (also for the caption lines and the image).
    void Apply(Repaint repaint);

    // Painting, in pl_button_paint.cpp.
    void DrawButton(framework::TCanvas& canvas);
    void DrawGradient(framework::TCanvas& canvas);
    void DrawCaption(framework::TCanvas& canvas, const TplBtnCaption& line, int y);
    void DrawImage(framework::TCanvas& canvas);
    void DrawFrame(framework::TCanvas& canvas);
    void DrawFocus(framework::TCanvas& canvas);
    // The colour captions are drawn in on the face painted now.
    framework::TColor CaptionColor(bool highContrast) const;

    void BuildShape();
    void RemoveShape();
    bool TakeDialogKey(WPARAM key);

    ButtonSettings settings_;
    bool spaceShift_ = false;  // Shift was held when Space went down
    std::unique_ptr<TplBtnCaption> captionA_;
    std::unique_ptr<TplBtnCaption> captionB_;
    std::unique_ptr<TplBtnImage> image_;
    RECT paintRect_{0, 0, 0, 0};
    HRGN windowRegion_ = nullptr;
    SIZE shapeSize_{0, 0};
    bool captionInitialized_ = false;
    struct Accessible : framework::AccessibleSource {
        explicit Accessible(TplButton& button) : button(button) {}
        framework::AccessibleFacts Facts() const override { return button.Facts(); }
        bool DoDefaultAction() override { return button.DoDefaultAction(); }
        TplButton& button;
    } accessibleSource_{*this};
    framework::AccessibleLink accessible_{accessibleSource_};
};

// The current shift state from the keyboard state of all virtual keys.
TShiftState KeyboardShiftState();

// A 24-bit copy of an icon drawn with its mask over a new bitmap of the icon's size.
void IconToBitmap(framework::TBitmap& bitmap, const framework::TIcon& icon);
// A washed-out grey 24-bit copy of a bitmap.
void MakeDisabledBitmap(framework::TBitmap& source, framework::TBitmap& result);

}  // namespace pl
