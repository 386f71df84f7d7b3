#include "platform/ui/stdctrls.h"

#include "platform/ui/forms.h"

namespace vel {

VEL_DEFINE_COMPONENT(TLabel,
    b.Str("Caption", [](TLabel& c) { return c.Caption(); }, [](TLabel& c, const std::string& v) { c.SetCaption(v); });
    b.Obj("FocusControl", [](TLabel& c) -> TPersistent* { return c.FocusControl(); },
          [](TLabel& c, TPersistent* v) { c.SetFocusControl(dynamic_cast<TWinControl*>(v)); });
    b.Bool("AutoSize", [](TLabel& c) { return c.AutoSize(); }, [](TLabel& c, bool v) { c.SetAutoSize(v); });
    b.Bool("Transparent", [](TLabel& c) { return c.Transparent(); }, [](TLabel& c, bool v) { c.SetTransparent(v); }))

TLabel::TLabel(TComponent* owner) : TControl(owner) {
    width_ = 65;
    height_ = 13;
}

void TLabel::SetFocusControl(TWinControl* control) {
    if (focusControl_) RemoveFreeNotification(focusControl_);
    focusControl_ = control;
    if (control) FreeNotification(control);
}

void TLabel::Notification(TComponent* component, bool removing) {
    TControl::Notification(component, removing);
    if (removing && component == focusControl_) focusControl_ = nullptr;
}

void TLabel::SetAutoSize(bool value) {
    autoSize_ = value;
    AdjustSize();
}

void TLabel::AdjustSize() {
    if (!autoSize_) return;
    SetBounds(left_, top_, MeasureTextWidth(caption_, font_), MeasureTextHeight(font_));
}

void TLabel::TextChanged() { AdjustSize(); }
void TLabel::FontChanged() { AdjustSize(); }

void TLabel::Paint(TCanvas& canvas) {
    if (!transparent_) {
        canvas.brushColor = color_;
        canvas.FillRect(ClientRect());
    }
    canvas.font.Assign(font_);
    if (!enabled_) canvas.font.color = clGrayText;
    canvas.TextOut(0, 0, caption_);
}

VEL_DEFINE_COMPONENT(TCustomEdit,
    b.Str("Text", [](TCustomEdit& c) { return c.Caption(); }, [](TCustomEdit& c, const std::string& v) { c.SetCaption(v); });
    b.Bool("ReadOnly", [](TCustomEdit& c) { return c.ReadOnly(); }, [](TCustomEdit& c, bool v) { c.SetReadOnly(v); });
    b.Int("MaxLength", [](TCustomEdit& c) { return c.MaxLength(); }, [](TCustomEdit& c, int v) { c.SetMaxLength(v); });
    b.Str("ImeName", [](TCustomEdit&) { return std::string(); }, [](TCustomEdit&, const std::string&) {});
    b.Event("OnChange", &TCustomEdit::OnChange))

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
    width_ = 121;
    height_ = 21;
    color_ = clWindow;
    SetTabStop(true);
}

void TCustomEdit::TextChanged() {
    modified_ = true;
    OnChange(this);
}

void TCustomEdit::TypeText(const std::string& text) {
    if (readOnly_) return;
    allSelected_ = false;
    std::string t = text;
    if (maxLength_ > 0 && static_cast<int>(t.size()) > maxLength_) t.resize(static_cast<size_t>(maxLength_));
    SetCaption(t);
}

void TCustomEdit::DoEnter() {
    allSelected_ = true;
    TWinControl::DoEnter();
}

void TCustomEdit::KeyPress(char& key) {
    TWinControl::KeyPress(key);
    if (!key || readOnly_) return;
    if (allSelected_ && (key == '\b' || static_cast<unsigned char>(key) >= 0x20 || key < 0)) {
        allSelected_ = false;
        SetCaption("");
        if (key == '\b') return;
    }
    if (key == '\b') {
        if (!caption_.empty()) SetCaption(caption_.substr(0, caption_.size() - 1));
    } else if (static_cast<unsigned char>(key) >= 0x20 || key < 0) {
        if (maxLength_ <= 0 || static_cast<int>(caption_.size()) < maxLength_) SetCaption(caption_ + key);
    }
}

VEL_DEFINE_COMPONENT(TEdit, (void)b)

VEL_DEFINE_COMPONENT(TMemo,
    b.Strings("Lines", [](TMemo& m) -> TPersistent* { return &m.Lines(); });
    b.Bool("WantReturns", [](TMemo& m) { return m.WantReturns(); }, [](TMemo& m, bool v) { m.SetWantReturns(v); }))

TMemo::TMemo(TComponent* owner) : TCustomEdit(owner) {
    width_ = 185;
    height_ = 89;
}

void TMemo::KeyPress(char& key) {
    TWinControl::KeyPress(key);
    if (!key || readOnly_) return;
    if (allSelected_) {
        allSelected_ = false;
        lines_.Clear();
    }
    if (key == '\r') {
        if (!wantReturns_) return;
        if (lines_.Count() == 0) lines_.Add("");
        lines_.Add("");
    } else if (key == '\b') {
        if (lines_.Count() == 0) return;
        std::string last = lines_[lines_.Count() - 1];
        if (last.empty()) lines_.Delete(lines_.Count() - 1);
        else lines_.Put(lines_.Count() - 1, last.substr(0, last.size() - 1));
    } else if (static_cast<unsigned char>(key) >= 0x20 || key < 0) {
        if (lines_.Count() == 0) lines_.Add("");
        lines_.Put(lines_.Count() - 1, lines_[lines_.Count() - 1] + key);
    } else {
        return;
    }
    TextChanged();
}

VEL_DEFINE_COMPONENT(TButtonControl, (void)b)

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) { SetTabStop(true); }

VEL_DEFINE_COMPONENT(TButton,
    b.Str("Caption", [](TButton& c) { return c.Caption(); }, [](TButton& c, const std::string& v) { c.SetCaption(v); });
    b.Int("ModalResult", [](TButton& c) { return c.ModalResult(); }, [](TButton& c, int v) { c.SetModalResult(v); });
    b.Bool("Default", [](TButton& c) { return c.Default(); }, [](TButton& c, bool v) { c.SetDefault(v); });
    b.Bool("Cancel", [](TButton& c) { return c.Cancel(); }, [](TButton& c, bool v) { c.SetCancel(v); }))

TButton::TButton(TComponent* owner) : TButtonControl(owner) {
    width_ = 75;
    height_ = 25;
}

void TButton::Click() {
    if (TCustomForm* form = ParentForm(); form && modalResult_ != 0) form->SetModalResult(modalResult_);
    TButtonControl::Click();
}

void TButton::KeyDown(uint16_t& key, TShiftState shift) {
    TButtonControl::KeyDown(key, shift);
    if (key == VK_SPACE || key == VK_RETURN) {
        key = 0;
        Click();
    }
}

VEL_DEFINE_COMPONENT(TCheckBox,
    b.Str("Caption", [](TCheckBox& c) { return c.Caption(); }, [](TCheckBox& c, const std::string& v) { c.SetCaption(v); });
    b.Bool("Checked", [](TCheckBox& c) { return c.Checked(); }, [](TCheckBox& c, bool v) { c.SetChecked(v); });
    b.Bool("AllowGrayed", [](TCheckBox& c) { return c.AllowGrayed(); }, [](TCheckBox& c, bool v) { c.SetAllowGrayed(v); });
    b.Enum("Alignment", {"taLeftJustify", "taRightJustify"}, [](TCheckBox& c) { return c.Alignment(); },
           [](TCheckBox& c, int v) { c.SetAlignment(v); }))

TCheckBox::TCheckBox(TComponent* owner) : TButtonControl(owner) {
    width_ = 97;
    height_ = 17;
}

void TCheckBox::SetChecked(bool value) {
    if (checked_ == value) return;
    checked_ = value;
    TButtonControl::Click();  // changing the state clicks, as the toolkit does
}

void TCheckBox::Click() { SetChecked(!checked_); }

void TCheckBox::KeyPress(char& key) {
    TButtonControl::KeyPress(key);
    if (key == ' ') {
        key = 0;
        Click();
    }
}

VEL_DEFINE_COMPONENT(TRadioButton,
    b.Str("Caption", [](TRadioButton& c) { return c.Caption(); }, [](TRadioButton& c, const std::string& v) { c.SetCaption(v); });
    b.Bool("Checked", [](TRadioButton& c) { return c.Checked(); }, [](TRadioButton& c, bool v) { c.SetChecked(v); }))

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
    width_ = 113;
    height_ = 17;
}

void TRadioButton::SetChecked(bool value) {
    if (checked_ == value) return;
    checked_ = value;
    if (value) {
        if (parent_)
            for (TControl* c : parent_->ControlList())
                if (auto* r = dynamic_cast<TRadioButton*>(c); r && r != this) r->SetChecked(false);
        TButtonControl::Click();
    }
}

void TRadioButton::Click() { SetChecked(true); }

VEL_DEFINE_COMPONENT(TCustomPanel,
    b.Str("Caption", [](TCustomPanel& c) { return c.Caption(); }, [](TCustomPanel& c, const std::string& v) { c.SetCaption(v); });
    b.Enum("BevelOuter", {"bvNone", "bvLowered", "bvRaised"}, [](TCustomPanel& c) { return c.BevelOuter(); },
           [](TCustomPanel& c, int v) { c.SetBevelOuter(v); }))

TCustomPanel::TCustomPanel(TComponent* owner) : TWinControl(owner) {
    width_ = 185;
    height_ = 41;
}

VEL_DEFINE_COMPONENT(TPanel, (void)b)

VEL_DEFINE_COMPONENT(TGroupBox,
    b.Str("Caption", [](TGroupBox& c) { return c.Caption(); }, [](TGroupBox& c, const std::string& v) { c.SetCaption(v); }))

TGroupBox::TGroupBox(TComponent* owner) : TWinControl(owner) {
    width_ = 185;
    height_ = 105;
}

}  // namespace vel
