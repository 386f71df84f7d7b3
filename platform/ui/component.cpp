#include "platform/ui/component.h"

#include <algorithm>

#include "platform/system/inifile.h"

namespace vel {

VEL_DEFINE_COMPONENT(TComponent,
    b.Str("Name", [](TComponent& c) { return c.Name(); }, [](TComponent& c, const std::string& v) { c.SetName(v); });
    b.Int("Tag", [](TComponent& c) { return c.Tag(); }, [](TComponent& c, int v) { c.SetTag(v); }))

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    destroying_ = true;
    for (TComponent* other : freeNotifies_) {
        auto& list = other->freeNotifies_;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
        other->Notification(this, true);
    }
    freeNotifies_.clear();
    // Owned components go in reverse order of creation.
    while (!components_.empty()) {
        TComponent* last = components_.back();
        FreeComponent(last);
    }
    if (owner_) owner_->RemoveComponent(this);
}

void FreeComponent(TComponent* component) {
    if (!component || component->destroying_) return;
    component->destroying_ = true;
    component->BeforeDestruction();
    delete component;
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (owner_ && !name.empty()) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this) throw Exception("A component named " + name + " already exists");
    }
    name_ = name;
}

int TComponent::ComponentIndex() const {
    if (!owner_) return -1;
    auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name)) return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (component->owner_) component->owner_->RemoveComponent(component);
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::RemoveComponent(TComponent* component) {
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
    component->owner_ = nullptr;
    if (!destroying_) Notification(component, true);
}

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end()) freeNotifies_.push_back(other);
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) == other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other) return;
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), other), freeNotifies_.end());
    other->freeNotifies_.erase(std::remove(other->freeNotifies_.begin(), other->freeNotifies_.end(), this),
                               other->freeNotifies_.end());
}

}  // namespace vel
