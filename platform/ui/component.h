#pragma once
// Components: named objects owned by other components. An owner frees what it owns, in
// reverse order of creation, and lists them in index order.
#include <string>
#include <vector>

#include "platform/ui/object.h"

namespace vel {

class TObject;  // only a tag: senders are components

using TNotifyEvent = Handler<TComponent*>;

class VEL_API TComponent : public TPersistent {
    VEL_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    const std::string& Name() const { return name_; }
    void SetName(const std::string& name);
    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const { return components_.at(static_cast<size_t>(index)); }
    const std::vector<TComponent*>& ComponentList() const { return components_; }
    int ComponentIndex() const;
    // Owned component by name, no case; null when missing.
    TComponent* FindComponent(const std::string& name) const;
    int Tag() const { return tag_; }
    void SetTag(int tag) { tag_ = tag; }

    // True from the start of destruction on.
    bool Destroying() const { return destroying_; }

    // True while a form resource sets the component's properties. The reader ends it once all
    // references are fixed up, which runs Loaded(): settings that depend on each other (an
    // index written before its items) are settled there.
    bool Loading() const { return loading_; }
    void BeginLoading() { loading_ = true; }
    void EndLoading() {
        if (!loading_) return;
        loading_ = false;
        Loaded();
    }

    // Hands an owned component to another owner (null = none).
    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);

    // A component written inside this one in a form resource joins it (a control gets its
    // parent, a menu item its menu).
    virtual void ReadChild(TComponent* child) {}

    // Told when a component that this one refers to is going away.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

protected:
    virtual void Notification(TComponent* component, bool removing) {}
    virtual void Loaded() {}
    // Runs once, at the start of destruction, while the object is still whole.
    virtual void BeforeDestruction() {}
    void MarkDestroying() { destroying_ = true; }
    friend void FreeComponent(TComponent*);

private:
    std::string name_;
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    int tag_ = 0;
    bool destroying_ = false;
    bool loading_ = false;
};

// Frees a component the way the toolkit does: destruction hooks first, then delete.
VEL_API void FreeComponent(TComponent* component);

// A class of components: the resource reader creates one by class name.
template <class T>
T* FindComponentAs(const TComponent& owner, const std::string& name) {
    return dynamic_cast<T*>(owner.FindComponent(name));
}

}  // namespace vel
