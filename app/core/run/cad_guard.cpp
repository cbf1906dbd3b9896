#include "cad_guard.h"

#include <algorithm>

namespace app {

void CadGuard::Changed(const std::string& item, std::u16string putBack, bool outermost) {
    const auto it = std::find_if(items_.begin(), items_.end(), [&item](const Item& held) { return held.name == item; });
    if (it != items_.end())
        it->putBack = std::move(putBack);
    else if (outermost)
        items_.insert(items_.begin(), {item, std::move(putBack)});
    else
        items_.push_back({item, std::move(putBack)});
}

bool CadGuard::PutBack(const std::string& item) {
    const auto it = std::find_if(items_.begin(), items_.end(), [&item](const Item& held) { return held.name == item; });
    if (it == items_.end())
        return true;
    if (!link_.SendCommand(it->putBack))
        return false;
    items_.erase(it);
    return true;
}

bool CadGuard::PutBackAll() {
    while (!items_.empty()) {
        if (!link_.SendCommand(items_.back().putBack))
            return false;
        items_.pop_back();
    }
    return true;
}

void CadGuard::Drop(const std::string& item) {
    items_.erase(std::remove_if(items_.begin(), items_.end(), [&item](const Item& held) { return held.name == item; }),
                 items_.end());
}

bool CadGuard::Holds(const std::string& item) const {
    return std::any_of(items_.begin(), items_.end(), [&item](const Item& held) { return held.name == item; });
}

}  // namespace app
