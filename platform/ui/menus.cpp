#include "platform/ui/menus.h"

#include <algorithm>

namespace vel {

VEL_DEFINE_COMPONENT(TMenuItem,
    b.Str("Caption", [](TMenuItem& m) { return m.Caption(); }, [](TMenuItem& m, const std::string& v) { m.SetCaption(v); });
    b.Bool("Checked", [](TMenuItem& m) { return m.Checked(); }, [](TMenuItem& m, bool v) { m.SetChecked(v); });
    b.Bool("RadioItem", [](TMenuItem& m) { return m.RadioItem(); }, [](TMenuItem& m, bool v) { m.SetRadioItem(v); });
    b.Int("GroupIndex", [](TMenuItem& m) { return m.GroupIndex(); }, [](TMenuItem& m, int v) { m.SetGroupIndex(v); });
    b.Bool("Enabled", [](TMenuItem& m) { return m.Enabled(); }, [](TMenuItem& m, bool v) { m.SetEnabled(v); });
    b.Bool("Visible", [](TMenuItem& m) { return m.Visible(); }, [](TMenuItem& m, bool v) { m.SetVisible(v); });
    b.Event("OnClick", &TMenuItem::OnClick))

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    if (parent_) parent_->Remove(this);
    for (TMenuItem* item : items_) item->parent_ = nullptr;
}

void TMenuItem::SetChecked(bool value) {
    checked_ = value;
    if (value && radioItem_ && parent_)
        for (TMenuItem* sibling : parent_->items_)
            if (sibling != this && sibling->radioItem_ && sibling->groupIndex_ == groupIndex_) sibling->checked_ = false;
}

void TMenuItem::Add(TMenuItem* item) {
    if (item->parent_) item->parent_->Remove(item);
    items_.push_back(item);
    item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    item->parent_ = nullptr;
}

void TMenuItem::ReadChild(TComponent* child) {
    if (auto* item = dynamic_cast<TMenuItem*>(child)) Add(item);
}

void TMenuItem::Click() {
    if (enabled_) OnClick(this);
}

VEL_DEFINE_COMPONENT(TPopupMenu,
    b.Bool("OwnerDraw", [](TPopupMenu& m) { return m.OwnerDraw(); }, [](TPopupMenu& m, bool v) { m.SetOwnerDraw(v); }))

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(this)) {}

}  // namespace vel
