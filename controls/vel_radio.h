#pragma once
// Radio buttons that paint their caption in their own font colour, and the radio group
// built from them.
#include <vector>

#include "controls/control_types.h"
#include "platform/ui/stdctrls.h"

namespace vel {

class TVelRadioGroup;

class TVelRadioButton : public TButtonControl {
    VEL_CLASS(TVelRadioButton, TButtonControl)
public:
    explicit TVelRadioButton(TComponent* owner);

    TLeftRight Alignment() const { return alignment_; }
    void SetAlignment(TLeftRight value);
    bool Checked() const { return checked_; }
    // Checking unchecks every other TVelRadioButton of the same parent, then raises the
    // click event unless clicks are disabled. The button is a tab stop while checked.
    void SetChecked(bool value);
    bool ClicksDisabled() const { return clicksDisabled_; }
    void SetClicksDisabled(bool value) { clicksDisabled_ = value; }

    void Click() override;  // checks the button
    void KeyPress(char& key) override;

    // Where the caption starts, by the font's size in points.
    static int CaptionOffset(int pointSize);
    void Paint(TCanvas& canvas) override;

protected:
    void EnabledChanged() override { Repaint(); }
    // The click event of a check.
    virtual void Clicked() { TButtonControl::Click(); }

private:
    TLeftRight alignment_ = TLeftRight::taRightJustify;
    bool checked_ = false;
    bool clicksDisabled_ = false;
};

// One button of a TVelRadioGroup, for the item at its position.
class TVelGroupButton : public TVelRadioButton {
    VEL_CLASS(TVelGroupButton, TVelRadioButton)
public:
    explicit TVelGroupButton(TComponent* owner);
    TVelRadioGroup* Group() const { return group_; }

    // Keys go to the group as well.
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char& key) override;

protected:
    void Clicked() override;

private:
    friend class TVelRadioGroup;
    TVelRadioGroup* group_ = nullptr;
};

class TVelRadioGroup : public TGroupBox {
    VEL_CLASS(TVelRadioGroup, TGroupBox)
public:
    explicit TVelRadioGroup(TComponent* owner);
    ~TVelRadioGroup() override;

    // One button per item; buttons come and go with the items.
    TStringList& Items() { return items_; }
    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TVelGroupButton* Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)); }

    // -1 for none; other values are kept within the items. Setting it raises no click.
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int value);
    int Columns() const { return columns_; }
    void SetColumns(int value);  // 1 to 16

    // Lays the buttons out in columns below the caption.
    void ArrangeButtons();

protected:
    void Resized() override;
    void FontChanged() override;
    void EnabledChanged() override;
    void TextChanged() override { Repaint(); }
    void Loaded() override;

private:
    friend class TVelGroupButton;
    void ButtonClicked(TVelGroupButton* button);
    void ItemsChanged();
    void UpdateButtons();

    TStringList items_;
    std::vector<TVelGroupButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
};

}  // namespace vel
