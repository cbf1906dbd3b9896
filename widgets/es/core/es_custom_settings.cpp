#include "widgets/es/es_custom_settings.h"

namespace es {

void TEsCustomSettings::Assign(const framework::TPersistent* source) {
    if (const auto* settings = dynamic_cast<const TEsCustomSettings*>(source)) {
        values_ = settings->values_;
        return;
    }
    framework::TPersistent::Assign(source);
}

void TEsCustomSettings::EndUpdate() {
    updating_ = false;
    Raise(OnColorChange);
    Raise(OnStyleChange);
}

void TEsCustomSettings::Raise(const Notification& notification) {
    if (!updating_ && notification)
        notification(this);
}

}  // namespace es
