#include "platform/ui/combo.h"

namespace vel {

VEL_DEFINE_COMPONENT(TCustomComboBox,
    b.Strings("Items", [](TCustomComboBox& c) -> TPersistent* { return &c.Items(); });
    b.Int("ItemIndex", [](TCustomComboBox& c) { return c.ItemIndex(); }, [](TCustomComboBox& c, int v) { c.SetItemIndex(v); });
    b.Str("Text", [](TCustomComboBox& c) { return c.Caption(); }, [](TCustomComboBox& c, const std::string& v) { c.SetCaption(v); });
    b.Enum("Style", std::vector<std::string>{"csDropDown", "csSimple", "csDropDownList", "csOwnerDrawFixed", "csOwnerDrawVariable"},
           [](TCustomComboBox& c) { return static_cast<int>(c.Style()); },
           [](TCustomComboBox& c, int v) { c.SetStyle(static_cast<TComboBoxStyle>(v)); });
    b.Int("MaxLength", [](TCustomComboBox& c) { return c.MaxLength(); }, [](TCustomComboBox& c, int v) { c.SetMaxLength(v); });
    b.Event("OnChange", &TCustomComboBox::OnChange))

TCustomComboBox::TCustomComboBox(TComponent* owner) : TWinControl(owner) {
    width_ = 145;
    height_ = 21;
    color_ = clWindow;
    SetTabStop(true);
}

void TCustomComboBox::SetItemIndex(int index) {
    int next = index >= 0 && index < items_.Count() ? index : -1;
    bool changed = next != itemIndex_;
    itemIndex_ = next;
    SetCaption(next >= 0 ? items_[next] : std::string());
    if (changed) OnChange(this);
}

void TCustomComboBox::TypeText(const std::string& text) {
    if (style_ == TComboBoxStyle::csDropDownList || style_ == TComboBoxStyle::csOwnerDrawFixed) {
        SetItemIndex(items_.IndexOf(text));  // only an item can be chosen
        return;
    }
    itemIndex_ = items_.IndexOf(text);
    SetCaption(text);
    OnChange(this);
}

VEL_DEFINE_COMPONENT(TComboBox, (void)b)

VEL_DEFINE_COMPONENT(TListBox,
    b.Strings("Items", [](TListBox& c) -> TPersistent* { return &c.Items(); });
    b.Int("ItemIndex", [](TListBox& c) { return c.ItemIndex(); }, [](TListBox& c, int v) { c.SetItemIndex(v); }))

TListBox::TListBox(TComponent* owner) : TWinControl(owner) {
    width_ = 121;
    height_ = 97;
    color_ = clWindow;
    SetTabStop(true);
}

}  // namespace vel
