#include "es_custom_settings.h"

namespace es {

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
