#pragma once
// Combo boxes and list boxes: items, the selected index and the drawing style.
#include "platform/ui/stdctrls.h"

namespace vel {

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class VEL_API TCustomComboBox : public TWinControl {
    VEL_CLASS(TCustomComboBox, TWinControl)
public:
    explicit TCustomComboBox(TComponent* owner);
    TStringList& Items() { return items_; }
    int ItemIndex() const { return itemIndex_; }
    // Out of range selects nothing (-1); the text follows the selected item.
    void SetItemIndex(int index);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle style) { style_ = style; }
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int v) { maxLength_ = v; }
    void TypeText(const std::string& text) override;

    TNotifyEvent OnChange;

private:
    TStringList items_;
    int itemIndex_ = -1;
    TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
    int maxLength_ = 0;
};

class VEL_API TComboBox : public TCustomComboBox {
    VEL_CLASS(TComboBox, TCustomComboBox)
public:
    using TCustomComboBox::TCustomComboBox;
};

class VEL_API TListBox : public TWinControl {
    VEL_CLASS(TListBox, TWinControl)
public:
    explicit TListBox(TComponent* owner);
    TStringList& Items() { return items_; }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int index) { itemIndex_ = index >= 0 && index < items_.Count() ? index : -1; }

private:
    TStringList items_;
    int itemIndex_ = -1;
};

}  // namespace vel
