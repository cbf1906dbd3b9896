#include "widgets/es/es_attached_label.h"

#include "framework/form.h"

namespace es {

TEsAttachedLabel::TEsAttachedLabel(framework::TComponent* owner) : TEsAttachedLabel(AttachFirst{nullptr}, owner) {}

TEsAttachedLabel::TEsAttachedLabel(framework::TComponent* owner, framework::TWinControl* control)
    : TEsAttachedLabel(AttachFirst{control}, owner) {}

TEsAttachedLabel::TEsAttachedLabel(AttachFirst attach, framework::TComponent* owner)
    : TEsCustomLabel(owner), esControl_(attach.control) {
    SetAutoSize(true);
    SetColorScheme(TEsColorScheme::csText);
    SetAppearance(TEsAppearance::apNone);
    SetParentFont(true);
    SetTransparent(false);
}

void TEsAttachedLabel::Loaded() {
    TEsCustomLabel::Loaded();
    NotifyControl();
}

void TEsAttachedLabel::BoundsChanged() {
    TEsCustomLabel::BoundsChanged();
    NotifyControl();
}

void TEsAttachedLabel::NotifyControl() {
    if (Loading() || Destroying() || !esControl_)
        return;
    // The form that holds the label: the first form up its chain of parents.
    const framework::TForm* form = nullptr;
    for (framework::TWinControl* parent = Parent(); parent && !form; parent = parent->Parent())
        form = dynamic_cast<const framework::TForm*>(parent);
    if (!form)
        return;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        if (form->Component(i) != esControl_)
            continue;
        const HWND window = esControl_->Handle();
        ::SendMessageA(window, kAttachedLabelChanged, 0, reinterpret_cast<LPARAM>(this));
        ::PostMessageA(window, kAttachedLabelNotice, 0, 0);
        return;
    }
}

void RegisterEsAttachedLabel() {
    if (framework::ClassRegistered("TEsAttachedLabel"))
        return;
    framework::RegisterClass("TEsAttachedLabel", [](framework::TComponent* owner) {
        return std::unique_ptr<framework::TComponent>(std::make_unique<TEsAttachedLabel>(owner));
    });
}

}  // namespace es
