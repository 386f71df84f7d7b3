#include "controls/db_label.h"

#include <algorithm>

#include "controls/control_types.h"
#include "platform/system/inifile.h"
#include "platform/text/codepage.h"

namespace vel {
namespace {

TPersistent* ObjectProp(TPersistent& object, const char* name) {
    PropertyRef ref = FindPropertyPath(object, name);
    return ref && ref.info->kind == PropKind::Object ? ref.info->getObject(*ref.object) : nullptr;
}

std::string StringProp(TPersistent& object, const char* name) {
    PropertyRef ref = FindPropertyPath(object, name);
    return ref && ref.info->kind == PropKind::String ? ref.info->get(*ref.object).ToString() : std::string();
}

// A dataset's field by name, found as data-aware forms hold them: components that publish
// "FieldName" and "DataSet", owned by the dataset or by the dataset's owner.
TPersistent* FindField(TComponent& dataSet, const std::string& fieldName) {
    for (TComponent* holder : {&dataSet, dataSet.Owner()}) {
        if (!holder) continue;
        for (TComponent* c : holder->ComponentList())
            if (ObjectProp(*c, "DataSet") == &dataSet && SameText(StringProp(*c, "FieldName"), fieldName)) return c;
    }
    return nullptr;
}

}  // namespace

VEL_DEFINE_COMPONENT(TDBLabel,
    b.Obj("FocusControl", [](TDBLabel& c) -> TPersistent* { return c.FocusControl(); },
          [](TDBLabel& c, TPersistent* v) { c.SetFocusControl(dynamic_cast<TWinControl*>(v)); });
    b.Bool("AutoAlign", [](TDBLabel& c) { return c.AutoAlign(); }, [](TDBLabel& c, bool v) { c.SetAutoAlign(v); });
    b.Bool("AutoCaption", [](TDBLabel& c) { return c.AutoCaption(); }, [](TDBLabel& c, bool v) { c.SetAutoCaption(v); });
    b.Int("Gap", [](TDBLabel& c) { return c.Gap(); }, [](TDBLabel& c, int v) { c.SetGap(v); });
    b.Enum("Pos", std::vector<std::string>{"psTop", "psLeft", "psRight", "psBottom"},
           [](TDBLabel& c) { return static_cast<int>(c.Pos()); }, [](TDBLabel& c, int v) { c.SetPos(static_cast<TPos>(v)); }))

TDBLabel::TDBLabel(TComponent* owner) : TLabel(owner) { SetCaption(CN("挂靠标签")); }

void TDBLabel::SetFocusControl(TWinControl* control) {
    if (control == FocusControl()) return;
    if (control && parent_) {
        // Siblings count, and so do labels the parent owns: either way two labels of one
        // parent would fight over the control's side.
        auto claims = [&](TComponent* c) {
            auto* other = dynamic_cast<TDBLabel*>(c);
            return other && other != this && other->FocusControl() == control;
        };
        const auto& owned = parent_->ComponentList();
        const auto& children = parent_->ControlList();
        if (std::any_of(owned.begin(), owned.end(), claims) || std::any_of(children.begin(), children.end(), claims)) {
            ShowControlError(CN("不能同时有两个 DBLabel 指到同一个 Control."));
            return;
        }
    }
    TLabel::SetFocusControl(control);
    Refresh();
}

void TDBLabel::SetAutoAlign(bool value) {
    if (autoAlign_ == value) return;
    autoAlign_ = value;
    Refresh();
}

void TDBLabel::SetAutoCaption(bool value) {
    if (autoCaption_ == value) return;
    autoCaption_ = value;
    Refresh();
}

void TDBLabel::SetGap(int value) {
    auto gap = static_cast<uint8_t>(std::clamp(value, 0, 255));
    if (gap_ == gap) return;
    gap_ = gap;
    Refresh();
}

void TDBLabel::SetPos(TPos value) {
    if (pos_ == value) return;
    pos_ = value;
    Refresh();
}

void TDBLabel::Refresh() {
    UpdateCaption();
    UpdatePosition();
}

void TDBLabel::UpdateCaption() {
    TWinControl* control = FocusControl();
    if (!autoCaption_ || !control) return;
    try {
        auto* source = ObjectProp(*control, "DataSource");
        if (!source || !IsPublishedProp(*control, "DataField")) return;
        auto* dataSet = dynamic_cast<TComponent*>(ObjectProp(*source, "DataSet"));
        if (!dataSet) return;
        TPersistent* field = FindField(*dataSet, StringProp(*control, "DataField"));
        if (!field) return;
        std::string label = StringProp(*field, "DisplayLabel");
        SetCaption(label.empty() ? StringProp(*field, "FieldName") : label);
    } catch (const std::exception&) {
        // A control or field that cannot tell its label leaves the caption as it is.
    }
}

void TDBLabel::UpdatePosition() {
    TWinControl* control = FocusControl();
    if (!autoAlign_ || !control) return;
    int l = control->Left(), t = control->Top(), w = control->Width(), h = control->Height();
    int centred = height_ == h ? t : t + h / 2 - height_ / 2;
    int left = l, top = t;
    switch (pos_) {
        case TPos::psTop: top = t - height_ - gap_; break;
        case TPos::psLeft: left = l - width_ - gap_; top = centred; break;
        case TPos::psRight: left = l + w + gap_; top = centred; break;
        case TPos::psBottom: top = t + h + gap_; break;
    }
    SetBounds(std::max(left, 0), std::max(top, 0), width_, height_);
}

}  // namespace vel

