#include "controls/f2_button.h"

#include "controls/control_types.h"
#include "platform/text/codepage.h"
#include "platform/ui/forms.h"

namespace vel {

bool SendLookupMessage(TWinControl* control) {
    if (!control) return false;
    TCustomForm* form = control->ParentForm();
    if (!form) return false;
    Application().SendMessage(form->Handle(), WM_F2LOOKUP, 0, reinterpret_cast<intptr_t>(control));
    return true;
}

VEL_DEFINE_COMPONENT(TF2Button,
    b.Bool("AutoAlign", [](TF2Button& c) { return c.AutoAlign(); }, [](TF2Button& c, bool v) { c.SetAutoAlign(v); });
    b.Obj("F2Control", [](TF2Button& c) -> TPersistent* { return c.F2Control(); },
          [](TF2Button& c, TPersistent* v) { c.SetF2Control(dynamic_cast<TWinControl*>(v)); });
    b.Int("Gap", [](TF2Button& c) { return c.Gap(); }, [](TF2Button& c, int v) { c.SetGap(v); }))

TF2Button::TF2Button(TComponent* owner) : TGSpeedButton(owner) {
    SetFlat(true);
    SetGlyphIndex(8);
}

TF2Button::~TF2Button() {
    if (f2Control_) RemoveFreeNotification(f2Control_);
}

TF2Button* TF2Button::OtherButtonFor(const TWinControl* control) const {
    // Buttons usually belong to the form while standing on a panel, so the form's components
    // are searched as well as the parent's.
    auto search = [&](const TComponent* holder) -> TF2Button* {
        if (!holder) return nullptr;
        for (TComponent* c : holder->ComponentList())
            if (auto* other = dynamic_cast<TF2Button*>(c); other && other != this && other->f2Control_ == control)
                return other;
        return nullptr;
    };
    if (TF2Button* found = search(Parent())) return found;
    return search(Owner());
}

bool TF2Button::SetF2Control(TWinControl* control) {
    if (control && OtherButtonFor(control)) {
        ShowControlError(CN("不能同时有两个 F2Button 指到同一个 Edit."));
        return false;
    }
    if (f2Control_ && f2Control_ != control) RemoveFreeNotification(f2Control_);
    f2Control_ = control;
    if (control) FreeNotification(control);
    AlignToControl();
    return true;
}

void TF2Button::SetAutoAlign(bool value) {
    autoAlign_ = value;
    SetF2Control(f2Control_);
}

void TF2Button::SetGap(int value) {
    auto gap = static_cast<uint8_t>(value);
    if (gap == gap_) return;
    gap_ = gap;
    AlignToControl();
}

void TF2Button::AlignToControl() {
    if (!autoAlign_ || !f2Control_) return;
    int side = f2Control_->Height();
    SetBounds(f2Control_->Left() + f2Control_->Width() + gap_, f2Control_->Top(), side, side);
}

void TF2Button::Click() {
    TGSpeedButton::Click();
    TWinControl* control = f2Control_;
    if (!control || !control->Enabled()) return;
    if (control->CanFocus()) control->SetFocus();
    if (control->Focused()) SendLookupMessage(control);
}

void TF2Button::Notification(TComponent* component, bool removing) {
    TGSpeedButton::Notification(component, removing);
    if (removing && component == f2Control_) f2Control_ = nullptr;
}

}  // namespace vel
