#pragma once
// Standard controls: labels, edits, memos, buttons, check boxes, panels and group boxes.
#include <string>

#include "platform/graphics/bitmap.h"
#include "platform/ui/control.h"
#include "platform/ui/strings.h"

namespace vel {

class VEL_API TLabel : public TControl {
    VEL_CLASS(TLabel, TControl)
public:
    explicit TLabel(TComponent* owner);
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control);
    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value) { transparent_ = value; }
    void Paint(TCanvas& canvas) override;

protected:
    void TextChanged() override;
    void FontChanged() override;
    void Notification(TComponent* component, bool removing) override;
    void AdjustSize();

private:
    TWinControl* focusControl_ = nullptr;
    bool autoSize_ = true;
    bool transparent_ = false;
};

class VEL_API TCustomEdit : public TWinControl {
    VEL_CLASS(TCustomEdit, TWinControl)
public:
    explicit TCustomEdit(TComponent* owner);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value) { maxLength_ = value; }
    bool Modified() const { return modified_; }
    void SetModified(bool value) { modified_ = value; }
    void SelectAll() {}
    void TypeText(const std::string& text) override;
    void KeyPress(char& key) override;
    // Entering an edit selects its text, so the first key typed replaces it.
    void DoEnter() override;
    bool AllSelected() const { return allSelected_; }

    TNotifyEvent OnChange;

protected:
    void TextChanged() override;
    bool allSelected_ = false;
    bool readOnly_ = false;
    int maxLength_ = 0;
    bool modified_ = false;
};

class VEL_API TEdit : public TCustomEdit {
    VEL_CLASS(TEdit, TCustomEdit)
public:
    using TCustomEdit::TCustomEdit;
};

class VEL_API TMemo : public TCustomEdit {
    VEL_CLASS(TMemo, TCustomEdit)
public:
    explicit TMemo(TComponent* owner);
    TStringList& Lines() { return lines_; }
    std::string Caption() const override { return lines_.Text(); }
    void SetCaption(const std::string& text) override { lines_.SetText(text); TextChanged(); }
    bool WantReturns() const { return wantReturns_; }
    void SetWantReturns(bool value) { wantReturns_ = value; }
    // The caret stays at the end of the text: its line is the last line (0-based).
    int CaretLine() const { return lines_.Count() > 0 ? lines_.Count() - 1 : 0; }
    void KeyPress(char& key) override;

private:
    TStringList lines_;
    bool wantReturns_ = true;
};

class VEL_API TButtonControl : public TWinControl {
    VEL_CLASS(TButtonControl, TWinControl)
public:
    explicit TButtonControl(TComponent* owner);
};

class VEL_API TButton : public TButtonControl {
    VEL_CLASS(TButton, TButtonControl)
public:
    explicit TButton(TComponent* owner);
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }
    bool Default() const { return default_; }
    void SetDefault(bool value) { default_ = value; }
    bool Cancel() const { return cancel_; }
    void SetCancel(bool value) { cancel_ = value; }
    // Clicking a button with a modal result gives it to its form.
    void Click() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;

private:
    int modalResult_ = 0;
    bool default_ = false;
    bool cancel_ = false;
};

// The three states of a check box.
enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class VEL_API TCheckBox : public TButtonControl {
    VEL_CLASS(TCheckBox, TButtonControl)
public:
    explicit TCheckBox(TComponent* owner);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value) { allowGrayed_ = value; }
    int Alignment() const { return alignment_; }  // 0 = left, 1 = right of the box
    void SetAlignment(int value) { alignment_ = value; }
    void Click() override;  // toggles, then OnClick
    void KeyPress(char& key) override;

private:
    bool checked_ = false;
    bool allowGrayed_ = false;
    int alignment_ = 1;
};

class VEL_API TRadioButton : public TButtonControl {
    VEL_CLASS(TRadioButton, TButtonControl)
public:
    explicit TRadioButton(TComponent* owner);
    bool Checked() const { return checked_; }
    // Checking one radio button unchecks its siblings.
    void SetChecked(bool value);
    void Click() override;

private:
    bool checked_ = false;
};

class VEL_API TCustomPanel : public TWinControl {
    VEL_CLASS(TCustomPanel, TWinControl)
public:
    explicit TCustomPanel(TComponent* owner);
    int BevelOuter() const { return bevelOuter_; }  // 0 none, 1 lowered, 2 raised
    void SetBevelOuter(int value) { bevelOuter_ = value; }

private:
    int bevelOuter_ = 2;
};

class VEL_API TPanel : public TCustomPanel {
    VEL_CLASS(TPanel, TCustomPanel)
public:
    using TCustomPanel::TCustomPanel;
};

class VEL_API TGroupBox : public TWinControl {
    VEL_CLASS(TGroupBox, TWinControl)
public:
    explicit TGroupBox(TComponent* owner);
};

}  // namespace vel
