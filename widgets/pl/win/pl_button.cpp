#include "widgets/pl/pl_button.h"

#include <oleacc.h>

#include "framework/form.h"

namespace pl {

using framework::TPersistent;

// ---- TplBtnCaption ----------------------------------------------------------------------------

void TplBtnCaption::Apply(Repaint repaint) {
    if (owner_)
        owner_->Apply(repaint);
}

void TplBtnCaption::SetCaption(const std::u16string& caption) {
    Apply(line_.SetCaption(caption));
}

void TplBtnCaption::SetAlignment(TplBtnAlignment alignment) {
    Apply(line_.SetAlignment(alignment));
}

void TplBtnCaption::SetMargin(int index, int value) {
    Apply(line_.SetMargin(index, value));
}

void TplBtnCaption::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TplBtnCaption*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    Apply(line_.CopyFrom(other->line_));
}

// ---- TplBtnImage ------------------------------------------------------------------------------

void TplBtnImage::Apply(Repaint repaint) {
    if (owner_)
        owner_->Apply(repaint);
}

void TplBtnImage::SetPicture(const framework::TPicture& picture) {
    if (&picture == picture_.get())
        return;
    picture_->Assign(&picture);
    Apply(Repaint::Now);
}

void TplBtnImage::SetPosition(int index, int value) {
    Apply(placement_.SetPosition(index, value));
}

void TplBtnImage::SetFlag(int index, bool value) {
    Apply(placement_.SetFlag(index, value));
}

void TplBtnImage::Assign(const TPersistent* source) {
    const auto* other = dynamic_cast<const TplBtnImage*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this)
        return;
    picture_->Assign(other->picture_.get());
    placement_.CopyFrom(other->placement_);
}

// ---- TplButton --------------------------------------------------------------------------------

TplButton::TplButton(framework::TComponent* owner)
    : TCustomControl(owner),
      captionA_(std::make_unique<TplBtnCaption>(this)),
      captionB_(std::make_unique<TplBtnCaption>(this)),
      image_(std::make_unique<TplBtnImage>(this)) {
    SetBounds({0, 0, 75, 26});
    // A panel's colour: setting it also makes the button compose its face off screen.
    SetColor(framework::clBtnFace);
    SetTabStop(true);
    // The pressed look ends at the first leave and does not come back with the pointer.
    SetPressAgainOnReturn(false);
}

TplButton::~TplButton() {
    BeginDestroy();
    accessible_.Disconnect();
    // The window (and with it any shape and the capture) goes before the parts it paints.
    DestroyHandle();
    windowRegion_ = nullptr;
}

void TplButton::SetParent(framework::TWinControl* parent) {
    TCustomControl::SetParent(parent);
    if (parent && !captionInitialized_) {
        captionInitialized_ = true;
        // A component's name is an identifier: ASCII.
        const std::string& name = Name();
        captionA_->SetCaption(std::u16string(name.begin(), name.end()));
    }
    // A round style chosen before the window existed takes its shape now.
    if (Handle() && IsRoundStyle(ButtonStyle()) && !windowRegion_)
        BuildShape();
}

void TplButton::Apply(Repaint repaint) {
    if (repaint == Repaint::Now)
        Refresh();
    else if (repaint == Repaint::Scheduled)
        Invalidate();
}

void TplButton::SetButtonStyle(TplButtonStyle style) {
    const ShapeChange change = ShapeChangeFor(ButtonStyle(), style, windowRegion_ != nullptr);
    const Repaint repaint = settings_.SetButtonStyle(style);
    if (change == ShapeChange::Build)
        BuildShape();
    else if (change == ShapeChange::Remove)
        RemoveShape();
    Apply(repaint);
}

void TplButton::BuildShape() {
    if (!Handle())
        return;  // made when the window is
    const Rect shape = RoundShapeRect(Width(), Height());
    const int corner = Scaled(kCornerSize);
    HRGN region = ::CreateRoundRectRgn(shape.left, shape.top, shape.right, shape.bottom, corner, corner);
    if (!region)
        return;
    // From here on the region belongs to the window, which frees it when it is replaced or goes.
    // The size is noted first: applying the shape tells the window its size again.
    shapeSize_ = SIZE{Width(), Height()};
    if (::SetWindowRgn(Handle(), region, TRUE)) {
        windowRegion_ = region;
    } else {
        ::DeleteObject(region);
        windowRegion_ = nullptr;
    }
}

void TplButton::RemoveShape() {
    if (Handle())
        ::SetWindowRgn(Handle(), nullptr, TRUE);
    windowRegion_ = nullptr;
}

void TplButton::SetGradation(bool gradation) {
    const Repaint repaint = settings_.SetGradation(gradation);
    if (repaint != Repaint::None && gradation)
        SetParentColor(false);
    Apply(repaint);
}

void TplButton::SetGradColor(int index, framework::TColor color) {
    Apply(settings_.SetGradColor(index, color));
}

void TplButton::SetHasFocus(bool hasFocus) {
    Apply(settings_.SetHasFocus(hasFocus));
}

void TplButton::SetImage(const TplBtnImage& image) {
    image_->Assign(&image);
    Apply(Repaint::Now);
}

void TplButton::SetDisableImage(bool disableImage) {
    Apply(settings_.SetDisableImage(disableImage));
}

void TplButton::SetCaptionLine(int index, const TplBtnCaption& caption) {
    (index == 1 ? captionA_ : captionB_)->Assign(&caption);
}

void TplButton::SetCaptionLineSpace(int space) {
    Apply(settings_.SetCaptionLineSpace(space));
}

void TplButton::SetCaptionTop(int top) {
    Apply(settings_.SetCaptionTop(top));
}

void TplButton::SetCaptionVertCenter(bool centre) {
    Apply(settings_.SetCaptionVertCenter(centre));
}

void TplButton::SetFlatFrameType(TplBtnFrameType frameType) {
    Apply(settings_.SetFlatFrameType(frameType));
}

void TplButton::Click() {
    Pointer().ClearPressed();
    if (framework::TForm* form = framework::GetParentForm(this))
        form->SetModalResult(settings_.ModalResult());
    TCustomControl::Click();
    Apply(Repaint::Scheduled);
}

void TplButton::DoMouseEnter(TShiftState shift, int x, int y) {
    if (OnMouseEnter)
        OnMouseEnter(this, shift, x, y);
    // Back while the left button is still held: shown again, but not pressed again.
    if (MouseCapture())
        Apply(Repaint::Now);
}

void TplButton::DoMouseLeave(TShiftState shift, int x, int y) {
    if (OnMouseLeave)
        OnMouseLeave(this, shift, x, y);
    // The pointer tracker has ended the press already.
    Apply(Repaint::Now);
}

void TplButton::CaptureLost() {
    // Another window took the mouse (a message box, say): the press ended without a release.
    Apply(Repaint::Now);
}

void TplButton::PressedChanged() {
    Apply(Repaint::Now);
}

void TplButton::DoEnter() {
    if (!HasFocus())
        return;
    TCustomControl::DoEnter();
    Invalidate();
}

void TplButton::DoExit() {
    if (!HasFocus())
        return;
    TCustomControl::DoExit();
    Invalidate();
}

void TplButton::Resize() {
    TCustomControl::Resize();
    if (IsRoundStyle(ButtonStyle()) && (Width() != shapeSize_.cx || Height() != shapeSize_.cy))
        BuildShape();
    Refresh();
}

void TplButton::KeyDown(WORD& key) {
    TCustomControl::KeyDown(key);
    if (!Enabled())
        return;
    if (key == VK_RETURN) {
        key = 0;
        // The plain click: no ModalResult, no pressed look.
        TCustomControl::Click();
    } else if (key == VK_SPACE) {
        // As a standard push button: pressed while Space is down, clicked when it comes up.
        key = 0;
        spaceShift_ = (KeyboardShiftState() & ssShift) != 0;
        FeedPointer(framework::PointerEvent::PressKeyDown);
    } else if (key == VK_ESCAPE) {
        FeedPointer(framework::PointerEvent::CancelKey);
    }
}

void TplButton::KeyUp(WORD& key) {
    if (key == VK_RETURN) {
        Pointer().ClearPressed();
        Apply(Repaint::Scheduled);
    } else if (key == VK_SPACE) {
        // Space alone clicks as Enter does at the form; with Shift it is the plain click, as Shift+Enter.
        const framework::PointerOutcome outcome = Pointer().Feed(framework::PointerEvent::PressKeyUp);
        if (outcome.pressedChanged)
            Apply(Repaint::Now);
        if (outcome.click && Enabled()) {
            if (spaceShift_)
                TCustomControl::Click();
            else
                Click();
        }
    }
    TCustomControl::KeyUp(key);
}

LRESULT TplButton::DialogCodes(const MSG* message) const {
    // Enter comes to the button as a key of its own (Shift+Enter clicks it there), and Escape while
    // Space holds it pressed (to let go without a click); Tab, the arrows and any other Escape stay
    // with the dialog navigation.
    if (!message || (message->message != WM_KEYDOWN && message->message != WM_KEYUP))
        return 0;
    if (message->wParam == VK_RETURN || (message->wParam == VK_ESCAPE && Pointer().Pressed() && !MouseCapture()))
        return DLGC_WANTMESSAGE;
    return 0;
}

bool TplButton::TakeDialogKey(WPARAM key) {
    // Escape lets go of a Space press on the way, whichever button the form then gives it to.
    if (key == VK_ESCAPE)
        FeedPointer(framework::PointerEvent::CancelKey);
    const pl::DialogKey which = key == VK_RETURN   ? DialogKey::Enter
                                : key == VK_ESCAPE ? DialogKey::Escape
                                                   : DialogKey::Other;
    if (!TakesDialogKey(which, Focused(), Cancel(), KeyboardShiftState(), HasFocus()))
        return false;
    Click();
    return true;
}

framework::AccessibleFacts TplButton::Facts() const {
    framework::AccessibleFacts facts;
    const std::u16string& second = CaptionB().Caption();
    facts.name = framework::AccessibleName(CaptionA().Caption() + (second.empty() ? u"" : u" " + second));
    facts.role = ROLE_SYSTEM_PUSHBUTTON;
    facts.state = (Focused() ? STATE_SYSTEM_FOCUSED : 0) | (Pressed() ? STATE_SYSTEM_PRESSED : 0) |
                  (Enabled() ? 0 : STATE_SYSTEM_UNAVAILABLE) | (Visible() ? 0 : STATE_SYSTEM_INVISIBLE) |
                  (TabStop() || HasFocus() ? STATE_SYSTEM_FOCUSABLE : 0);
    facts.defaultAction = u"押す";
    return facts;
}

bool TplButton::DoDefaultAction() {
    if (!Handle() || !Enabled())
        return false;
    // Posted: a reader in another process must not wait for the whole click (a run) to finish.
    return ::PostMessageA(Handle(), BM_CLICK, 0, 0) != FALSE;
}

LRESULT TplButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (LRESULT answer = 0; accessible_.HandleMessage(Handle(), message, wParam, lParam, answer))
        return answer;
    switch (message) {
        case WM_UPDATEUISTATE: {
            // The focus mark follows the window's keyboard cues, shown once the keyboard is used.
            const LRESULT result = TCustomControl::HandleMessage(message, wParam, lParam);
            Invalidate();
            return result;
        }
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            // The press itself (and its repaint) is the pointer tracker's, in the base handling.
            if (HasFocus() && ::GetFocus() != Handle())
                SetFocus();
            break;
        case WM_KILLFOCUS:
            FeedPointer(framework::PointerEvent::FocusLost);
            break;
        case framework::CM_MOUSEENTER:
        case framework::CM_MOUSELEAVE: {
            TCustomControl::HandleMessage(message, wParam, lParam);
            POINT cursor{};
            ::GetCursorPos(&cursor);
            ::ScreenToClient(Handle(), &cursor);
            if (message == framework::CM_MOUSEENTER)
                DoMouseEnter(KeyboardShiftState(), cursor.x, cursor.y);
            else
                DoMouseLeave(KeyboardShiftState(), cursor.x, cursor.y);
            return 0;
        }
        case framework::CM_DIALOGKEY:
            return TakeDialogKey(wParam) ? 1 : 0;
        case framework::CM_ENABLEDCHANGED: {
            const LRESULT result = TCustomControl::HandleMessage(message, wParam, lParam);
            Invalidate();
            return result;
        }
        case framework::CM_PARENTCOLORCHANGED: {
            const LRESULT result = TCustomControl::HandleMessage(message, wParam, lParam);
            if (ParentColor())
                Invalidate();
            return result;
        }
    }
    return TCustomControl::HandleMessage(message, wParam, lParam);
}

TShiftState KeyboardShiftState() {
    BYTE keys[256] = {};
    if (!::GetKeyboardState(keys))
        return 0;
    return ShiftStateFromKeys(keys);
}

}  // namespace pl
