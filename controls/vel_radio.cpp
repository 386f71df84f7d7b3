#include "controls/vel_radio.h"

#include <algorithm>

namespace vel {

VEL_DEFINE_COMPONENT(TVelRadioButton,
    b.Str("Caption", [](TVelRadioButton& c) { return c.Caption(); }, [](TVelRadioButton& c, const std::string& v) { c.SetCaption(v); });
    b.Enum("Alignment", LeftRightNames(), [](TVelRadioButton& c) { return static_cast<int>(c.Alignment()); },
           [](TVelRadioButton& c, int v) { c.SetAlignment(static_cast<TLeftRight>(v)); });
    b.Bool("Checked", [](TVelRadioButton& c) { return c.Checked(); }, [](TVelRadioButton& c, bool v) { c.SetChecked(v); }))

TVelRadioButton::TVelRadioButton(TComponent* owner) : TButtonControl(owner) {
    width_ = 113;
    height_ = 17;
    SetTabStop(false);
}

void TVelRadioButton::SetAlignment(TLeftRight value) {
    alignment_ = value;
    Repaint();
}

void TVelRadioButton::SetChecked(bool value) {
    if (checked_ == value) return;
    checked_ = value;
    SetTabStop(value);
    Repaint();
    if (!value) return;
    if (parent_)
        for (TControl* c : parent_->ControlList())
            if (auto* other = dynamic_cast<TVelRadioButton*>(c); other && other != this) other->SetChecked(false);
    if (!clicksDisabled_) Clicked();
}

void TVelRadioButton::Click() { SetChecked(true); }

void TVelRadioButton::KeyPress(char& key) {
    TButtonControl::KeyPress(key);
    if (key == ' ') Click();
}

int TVelRadioButton::CaptionOffset(int pointSize) {
    struct Band { int upTo, offset; };
    static constexpr Band bands[] = {{8, 17}, {15, 19}, {17, 20}, {23, 21}, {29, 23}, {35, 25},
                                     {41, 27}, {43, 29}, {60, 31}, {80, 39}};
    if (pointSize < 1) return 44;
    for (const Band& b : bands)
        if (pointSize <= b.upTo) return b.offset;
    return 44;
}

void TVelRadioButton::Paint(TCanvas& canvas) {
    // The button as the system draws it: background, the round box, the dot when checked.
    canvas.brushColor = color_;
    canvas.FillRect(ClientRect());
    int boxLeft = alignment_ == TLeftRight::taRightJustify ? 0 : width_ - 13;
    int boxTop = (height_ - 13) / 2;
    canvas.brushColor = clWindow;
    canvas.FillRect(TRect{boxLeft, boxTop, boxLeft + 13, boxTop + 13});
    canvas.penColor = clBtnShadow;
    canvas.FrameRect(TRect{boxLeft, boxTop, boxLeft + 13, boxTop + 13});
    if (checked_) {
        canvas.brushColor = enabled_ ? clWindowText : clGrayText;
        canvas.FillRect(TRect{boxLeft + 4, boxTop + 4, boxLeft + 9, boxTop + 9});
    }
    // Then the caption again in the control's own font and colour.
    int offset = CaptionOffset(font_.Size());
    canvas.brushColor = color_;
    canvas.penColor = color_;
    canvas.Rectangle(TRect{offset - 4, -4, width_ + 4, height_ + 4});
    canvas.font.Assign(font_);
    std::string text = DisplayCaption(caption_);
    canvas.TextOut(offset, (height_ - canvas.TextHeight(text)) / 2, text);
}

VEL_DEFINE_COMPONENT(TVelGroupButton, (void)b)

TVelGroupButton::TVelGroupButton(TComponent* owner) : TVelRadioButton(owner) {}

void TVelGroupButton::Clicked() {
    TVelRadioButton::Clicked();
    if (group_) group_->ButtonClicked(this);
}

void TVelGroupButton::KeyDown(uint16_t& key, TShiftState shift) {
    TVelRadioButton::KeyDown(key, shift);
    if (group_) group_->KeyDown(key, shift);
}

void TVelGroupButton::KeyPress(char& key) {
    TVelRadioButton::KeyPress(key);
    if (group_) group_->KeyPress(key);
}

VEL_DEFINE_COMPONENT(TVelRadioGroup,
    b.Int("Columns", [](TVelRadioGroup& c) { return c.Columns(); }, [](TVelRadioGroup& c, int v) { c.SetColumns(v); });
    b.Int("ItemIndex", [](TVelRadioGroup& c) { return c.ItemIndex(); }, [](TVelRadioGroup& c, int v) { c.SetItemIndex(v); });
    b.Strings("Items", [](TVelRadioGroup& c) -> TPersistent* { return &c.Items(); }))

TVelRadioGroup::TVelRadioGroup(TComponent* owner) : TGroupBox(owner) {
    items_.OnChange = Handler<TStringList*>("ItemsChange", this, [this](TStringList*) { ItemsChanged(); });
}

TVelRadioGroup::~TVelRadioGroup() {
    items_.OnChange = {};
    std::vector<TVelGroupButton*> buttons;
    buttons.swap(buttons_);
    for (TVelGroupButton* b : buttons) FreeComponent(b);
}

void TVelRadioGroup::SetItemIndex(int value) {
    // While a resource is read the index may come before its items: Loaded settles it.
    if (Loading()) {
        itemIndex_ = value;
        return;
    }
    value = std::clamp(value, -1, static_cast<int>(items_.Count()) - 1);
    if (value == itemIndex_) return;
    updating_ = true;
    if (itemIndex_ >= 0 && itemIndex_ < ButtonCount()) buttons_[static_cast<size_t>(itemIndex_)]->SetChecked(false);
    itemIndex_ = value;
    if (itemIndex_ >= 0) buttons_[static_cast<size_t>(itemIndex_)]->SetChecked(true);
    updating_ = false;
}

void TVelRadioGroup::SetColumns(int value) {
    value = std::clamp(value, 1, 16);
    if (value == columns_) return;
    columns_ = value;
    ArrangeButtons();
}

void TVelRadioGroup::ButtonClicked(TVelGroupButton* button) {
    if (updating_) return;
    auto it = std::find(buttons_.begin(), buttons_.end(), button);
    if (it == buttons_.end()) return;
    itemIndex_ = static_cast<int>(it - buttons_.begin());
    Click();
}

void TVelRadioGroup::ItemsChanged() {
    if (!Loading() && itemIndex_ >= items_.Count()) itemIndex_ = items_.Count() - 1;
    UpdateButtons();
}

void TVelRadioGroup::UpdateButtons() {
    while (ButtonCount() < items_.Count()) {
        auto* button = new TVelGroupButton(this);
        button->group_ = this;
        button->SetEnabled(enabled_);
        button->SetParent(this);
        buttons_.push_back(button);
    }
    while (ButtonCount() > items_.Count()) {
        TVelGroupButton* last = buttons_.back();
        buttons_.pop_back();
        FreeComponent(last);
    }
    updating_ = true;
    for (int i = 0; i < ButtonCount(); ++i) {
        TVelGroupButton* button = buttons_[static_cast<size_t>(i)];
        button->SetCaption(items_[i]);
        button->SetChecked(i == itemIndex_);
    }
    updating_ = false;
    ArrangeButtons();
}

void TVelRadioGroup::ArrangeButtons() {
    int count = ButtonCount();
    if (count == 0) return;
    int textHeight = MeasureTextHeight(font_);
    int rows = (count + columns_ - 1) / columns_;
    int inner = height_ - textHeight - 5;
    int buttonWidth = (width_ - 10) / columns_;
    int buttonHeight = inner / rows;
    int topMargin = (inner % rows) / 2 + textHeight + 1;
    for (int i = 0; i < count; ++i)
        buttons_[static_cast<size_t>(i)]->SetBounds((i / rows) * buttonWidth + 8, (i % rows) * buttonHeight + topMargin,
                                                    buttonWidth, buttonHeight);
}

void TVelRadioGroup::Resized() {
    TGroupBox::Resized();
    ArrangeButtons();
}

void TVelRadioGroup::FontChanged() {
    TGroupBox::FontChanged();
    ArrangeButtons();
}

void TVelRadioGroup::EnabledChanged() {
    for (TVelGroupButton* b : buttons_) b->SetEnabled(enabled_);
    Repaint();
}

void TVelRadioGroup::Loaded() {
    TGroupBox::Loaded();
    itemIndex_ = std::clamp(itemIndex_, -1, static_cast<int>(items_.Count()) - 1);
    UpdateButtons();
}

}  // namespace vel
