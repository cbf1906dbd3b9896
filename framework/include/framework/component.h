#pragma once
// The framework's object model, free of Win32 so that the portable logic of the widgets can use it:
// objects with a class name, persistent objects that copy themselves from one another, components
// that own other components and know when they are being loaded or destroyed, and the class
// registry by name.

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace framework {

class TObject {
public:
    virtual ~TObject() = default;
    virtual std::string ClassName() const { return "TObject"; }
};

using TNotifyEvent = std::function<void(TObject* sender)>;

// An object whose settings can be copied from another object of a kind it knows.
class TPersistent : public TObject {
public:
    std::string ClassName() const override { return "TPersistent"; }
    // Copies the settings of source. A class that knows source copies them; otherwise source is
    // asked to copy itself into this object, and when neither knows the other the framework's
    // assignment error is raised and nothing is changed.
    virtual void Assign(const TPersistent* source);

protected:
    virtual void AssignTo(TPersistent& destination) const;
};

// The assignment error: an EConvertError naming both classes.
[[noreturn]] void ThrowAssignError(const TPersistent* source, const TPersistent& destination);

// A component belongs to its owner, which deletes it when it goes (after a form has destroyed its
// window, so no message can reach a freed control). A component without an owner belongs to
// whoever made it.
class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* owner = nullptr);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    std::string ClassName() const override { return "TComponent"; }
    TComponent* Owner() const { return owner_; }
    const std::string& Name() const { return name_; }
    virtual void SetName(const std::string& name) { name_ = name; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Component(int index) const { return components_[static_cast<std::size_t>(index)]; }

    // While loading, a component takes its design values and its change handlers stay silent.
    bool Loading() const { return loading_; }
    bool Destroying() const { return destroying_; }
    void BeginLoading();
    // Ends loading and runs Loaded.
    void EndLoading();

    // Makes a component owned by this one and returns it.
    template <typename T, typename... Args>
    T* Own(Args&&... args) {
        auto component = std::make_unique<T>(std::forward<Args>(args)...);
        T* raw = component.get();
        Adopt(std::move(component));
        return raw;
    }

protected:
    // Runs when loading has finished.
    virtual void Loaded() {}
    // Derived destructors call this first, so that handlers that run during the teardown know.
    void BeginDestroy() { destroying_ = true; }
    // Deletes the owned components, last first.
    void DestroyComponents();

private:
    void Adopt(std::unique_ptr<TComponent> component);
    void Remove(TComponent* component);

    TComponent* owner_ = nullptr;
    std::string name_;
    std::vector<TComponent*> components_;
    std::vector<std::unique_ptr<TComponent>> owned_;
    bool loading_ = false;
    bool destroying_ = false;
};

// The class registry: classes that form resources may name.
using ComponentFactory = std::function<std::unique_ptr<TComponent>(TComponent* owner)>;
void RegisterClass(const std::string& name, ComponentFactory factory);
bool ClassRegistered(const std::string& name);
// A new component of the named class, or null when the name is not registered.
std::unique_ptr<TComponent> CreateRegistered(const std::string& name, TComponent* owner);

}  // namespace framework
