#pragma once
// Menus: items with captions, checks, radio groups and click handlers; pop-up menus.
#include <string>
#include <vector>

#include "platform/ui/component.h"

namespace vel {

class VEL_API TMenuItem : public TComponent {
    VEL_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& v) { caption_ = v; }
    bool Checked() const { return checked_; }
    // Checking a radio item unchecks the other radio items of its group.
    void SetChecked(bool value);
    bool RadioItem() const { return radioItem_; }
    void SetRadioItem(bool v) { radioItem_ = v; }
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int v) { groupIndex_ = v; }
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v) { enabled_ = v; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v) { visible_ = v; }

    TMenuItem* Parent() const { return parent_; }
    int Count() const { return static_cast<int>(items_.size()); }
    TMenuItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }
    void Add(TMenuItem* item);
    void Remove(TMenuItem* item);

    void Click();
    void ReadChild(TComponent* child) override;
    TNotifyEvent OnClick;

private:
    std::string caption_;
    bool checked_ = false;
    bool radioItem_ = false;
    int groupIndex_ = 0;
    bool enabled_ = true;
    bool visible_ = true;
    TMenuItem* parent_ = nullptr;
    std::vector<TMenuItem*> items_;
};

class VEL_API TPopupMenu : public TComponent {
    VEL_CLASS(TPopupMenu, TComponent)
public:
    explicit TPopupMenu(TComponent* owner);
    TMenuItem& Items() { return *items_; }
    void ReadChild(TComponent* child) override { items_->ReadChild(child); }
    bool OwnerDraw() const { return ownerDraw_; }
    void SetOwnerDraw(bool v) { ownerDraw_ = v; }

private:
    TMenuItem* items_;
    bool ownerDraw_ = false;
};

}  // namespace vel
