#include "framework/component.h"

#include <algorithm>
#include <map>

#include "framework/exceptions.h"

namespace framework {

void TPersistent::Assign(const TPersistent* source) {
    if (source) {
        source->AssignTo(*this);
        return;
    }
    ThrowAssignError(source, *this);
}

void TPersistent::AssignTo(TPersistent& destination) const {
    ThrowAssignError(this, destination);
}

void ThrowAssignError(const TPersistent* source, const TPersistent& destination) {
    // Class names are ASCII identifiers.
    const std::string from = source ? source->ClassName() : "nil";
    const std::string to = destination.ClassName();
    throw EConvertError(std::u16string(from.begin(), from.end()) + u" を " + std::u16string(to.begin(), to.end()) +
                        u" に代入できません");
}

TComponent::TComponent(TComponent* owner) : owner_(owner) {
    // The owner registers a component it makes itself through Own; one made with an owner
    // elsewhere is listed but not deleted by it.
    if (owner_)
        owner_->components_.push_back(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    DestroyComponents();
    if (owner_)
        owner_->Remove(this);
}

void TComponent::BeginLoading() {
    loading_ = true;
}

void TComponent::EndLoading() {
    if (!loading_)
        return;
    loading_ = false;
    Loaded();
}

void TComponent::Adopt(std::unique_ptr<TComponent> component) {
    if (!component->owner_) {
        component->owner_ = this;
        components_.push_back(component.get());
    }
    owned_.push_back(std::move(component));
}

void TComponent::Remove(TComponent* component) {
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
    for (auto it = owned_.begin(); it != owned_.end(); ++it) {
        if (it->get() == component) {
            it->release();  // it is being deleted by someone else
            owned_.erase(it);
            break;
        }
    }
}

void TComponent::DestroyComponents() {
    while (!owned_.empty()) {
        std::unique_ptr<TComponent> last = std::move(owned_.back());
        owned_.pop_back();
        last.reset();
    }
    for (TComponent* component : components_)
        component->owner_ = nullptr;
    components_.clear();
}

namespace {

std::map<std::string, ComponentFactory>& Registry() {
    static std::map<std::string, ComponentFactory> registry;
    return registry;
}

}  // namespace

void RegisterClass(const std::string& name, ComponentFactory factory) {
    Registry()[name] = std::move(factory);
}

bool ClassRegistered(const std::string& name) {
    return Registry().count(name) != 0;
}

std::unique_ptr<TComponent> CreateRegistered(const std::string& name, TComponent* owner) {
    const auto found = Registry().find(name);
    return found == Registry().end() ? nullptr : found->second(owner);
}

}  // namespace framework
