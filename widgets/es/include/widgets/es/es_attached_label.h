#pragma once
// A 3D label that belongs to a windowed control and tells it by messages when it has been loaded
// and whenever its bounds change, so that the control can keep the label beside itself.

#include <windows.h>

#include "widgets/es/es_label.h"

namespace es {

// Sent with the label as lParam, then posted bare, to the attached control's window.
constexpr UINT kAttachedLabelChanged = 1126;
constexpr UINT kAttachedLabelNotice = 1125;

class TEsAttachedLabel : public TEsCustomLabel {
public:
    explicit TEsAttachedLabel(framework::TComponent* owner = nullptr);
    TEsAttachedLabel(framework::TComponent* owner, framework::TWinControl* control);
    std::string ClassName() const override { return "TEsAttachedLabel"; }

    framework::TWinControl* EsControl() const { return esControl_; }
    void SetEsControl(framework::TWinControl* control) { esControl_ = control; }

protected:
    void Loaded() override;
    void BoundsChanged() override;

private:
    struct AttachFirst {
        framework::TWinControl* control;
    };
    TEsAttachedLabel(AttachFirst attach, framework::TComponent* owner);
    void NotifyControl();

    framework::TWinControl* esControl_ = nullptr;
};

// Registers the class by name unless the registry knows it already.
void RegisterEsAttachedLabel();

}  // namespace es
