#include "forms/gene_condition.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "controls/db_label.h"
#include "controls/selection_panel_api.h"
#include "forms/base_gene.h"
#include "platform/system/inifile.h"
#include "platform/text/codepage.h"
#include "platform/ui/resource.h"
#include "runtime/libstrs.h"

namespace vel {

namespace {

constexpr const char* kClassName = "TfrmGeneCondition";

std::string Field(const std::string& record, int index) { return GetDelimitedField(record, kFieldSepText, index); }

// A whole number text, as a spin edit holds it; false for anything else.
bool ReadWhole(const std::string& text, long& value) {
    std::string t = TrimBlanks(text);
    if (t.empty()) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtol(t.c_str(), &end, 10);
    return end && !*end && errno != ERANGE;
}

// A blank spin edit counts as 0 in a record, so a rule never carries an unreadable number.
std::string NumberText(const TVelSpinEdit* edit) {
    std::string t = edit ? TrimBlanks(edit->Caption()) : std::string();
    return t.empty() ? "0" : t;
}

std::string IndexText(const TComboBox* combo) { return std::to_string(combo ? combo->ItemIndex() : 0); }

std::vector<std::string> SplitNames(const std::string& list) {
    std::vector<std::string> names;
    if (list.empty()) return names;
    std::string item;
    std::istringstream in(list);
    while (std::getline(in, item, ',')) names.push_back(TrimText(item));
    if (list.back() == ',') names.emplace_back();
    return names;
}

void Enable(TControl* control, bool on) {
    if (control) control->SetEnabled(on);
}

}  // namespace

VEL_DEFINE_FORM(TfrmGeneCondition,
    b.Field("lblCondition", &TfrmGeneCondition::lblCondition);
    b.Field("edConName", &TfrmGeneCondition::edConName);
    b.Field("gbDateFields", &TfrmGeneCondition::gbDateFields);
    b.Field("cbodatecondition", &TfrmGeneCondition::cbodatecondition);
    b.Field("pnSp", &TfrmGeneCondition::pnSp);
    b.Field("spDate_B", &TfrmGeneCondition::spDate_B);
    b.Field("seSetDay_B1", &TfrmGeneCondition::seSetDay_B1);
    b.Field("cboSetDay_B1", &TfrmGeneCondition::cboSetDay_B1);
    b.Field("cboSetDay_B2", &TfrmGeneCondition::cboSetDay_B2);
    b.Field("seSetDay_B2", &TfrmGeneCondition::seSetDay_B2);
    b.Field("spDate_E", &TfrmGeneCondition::spDate_E);
    b.Field("seSetDay_E1", &TfrmGeneCondition::seSetDay_E1);
    b.Field("cboSetDay_E1", &TfrmGeneCondition::cboSetDay_E1);
    b.Field("cboSetDay_E2", &TfrmGeneCondition::cboSetDay_E2);
    b.Field("seSetDay_E2", &TfrmGeneCondition::seSetDay_E2);
    b.Field("pnEdit", &TfrmGeneCondition::pnEdit);
    b.Field("edSetDate", &TfrmGeneCondition::edSetDate);
    b.Field("seSetDay1", &TfrmGeneCondition::seSetDay1);
    b.Field("cboSetDay1", &TfrmGeneCondition::cboSetDay1);
    b.Field("cboSetDay2", &TfrmGeneCondition::cboSetDay2);
    b.Field("seSetDay2", &TfrmGeneCondition::seSetDay2);
    b.Field("btnOk", &TfrmGeneCondition::btnOk);
    b.Field("btnCancel", &TfrmGeneCondition::btnCancel);
    b.Method<Handler<>>("SetDateEnv", &TfrmGeneCondition::SetDateEnv);
    b.Method<TNotifyEvent>("btnOkClick", &TfrmGeneCondition::btnOkClick);
    b.Method<TKeyPressEvent>("FormKeyPress", &TfrmGeneCondition::FormKeyPress);
    b.Method<TNotifyEvent>("cbodateconditionChange", &TfrmGeneCondition::cbodateconditionChange);
    b.Method<TNotifyEvent>("spDate_BClick", &TfrmGeneCondition::spDate_BClick);
    b.Method<TNotifyEvent>("spDate_EClick", &TfrmGeneCondition::spDate_EClick);
    b.Method<TNotifyEvent>("edSetDateClick", &TfrmGeneCondition::edSetDateClick);
    b.Method<TNotifyEvent>("seSetDay_B1Enter", &TfrmGeneCondition::seSetDay_B1Enter);
    b.Method<TNotifyEvent>("seSetDay_B1Change", &TfrmGeneCondition::seSetDay_B1Change);
    b.Method<TNotifyEvent>("seSetDay_B1Exit", &TfrmGeneCondition::seSetDay_B1Exit);
    b.Method<TNotifyEvent>("cboSetDay_B2Change", &TfrmGeneCondition::cboSetDay_B2Change);
    b.Method<TNotifyEvent>("cboSetDay_E2Change", &TfrmGeneCondition::cboSetDay_E2Change);
    b.Method<TNotifyEvent>("seSetDay1Enter", &TfrmGeneCondition::seSetDay1Enter);
    b.Method<TNotifyEvent>("seSetDay1Change", &TfrmGeneCondition::seSetDay1Change);
    b.Method<TNotifyEvent>("seSetDay1Exit", &TfrmGeneCondition::seSetDay1Exit);
    b.Method<TNotifyEvent>("cboSetDay1Change", &TfrmGeneCondition::cboSetDay1Change);
    b.Method<TNotifyEvent>("cboSetDay2Change", &TfrmGeneCondition::cboSetDay2Change);
    // A dialog without the window's system icons; kept for the resource, the presenter
    // draws no title bar buttons anyway.
    b.Set("BorderIcons", {"biSystemMenu", "biMinimize", "biMaximize", "biHelp"},
          [](TfrmGeneCondition& f) { return f.borderIcons_; },
          [](TfrmGeneCondition& f, int v) { f.borderIcons_ = v; }))

static FormResource kGeneConditionResource("TfrmGeneCondition", R"(
inherited frmGeneCondition: TfrmGeneCondition
  Caption = 'frmGeneCondition'
  Width = 420
  Height = 211
  BorderIcons = []
  Font.Height = -11
  Font.Name = 'MS Sans Serif'
  KeyPreview = True
  Position = poScreenCenter
  ActiveControl = edConName
  OnKeyPress = FormKeyPress
  object lblCondition: TLabel
    Left = 8
    Top = 12
    Caption = '         方案名'
    FocusControl = edConName
  end
  object edConName: TEdit
    Left = 100
    Top = 8
    Width = 160
    MaxLength = 20
    Color = 11534335
    TabOrder = 0
  end
  object gbDateFields: TGroupBox
    Left = 8
    Top = 36
    Width = 404
    Height = 110
    Caption = '日期字段'
    TabOrder = 1
    object lblDateCondition: TLabel
      Left = 8
      Top = 20
      Caption = '      条件'
    end
    object cbodatecondition: TComboBox
      Left = 72
      Top = 16
      Width = 200
      Style = csDropDownList
      TabOrder = 0
      OnChange = cbodateconditionChange
    end
    object pnSp: TPanel
      Left = 4
      Top = 42
      Width = 396
      Height = 62
      BevelOuter = bvNone
      TabOrder = 1
      object spDate_B: TCheckBox
        Left = 4
        Top = 6
        Width = 72
        Caption = '起始日期'
        TabOrder = 0
        OnClick = spDate_BClick
      end
      object lblRunDay_B: TLabel
        Left = 76
        Top = 8
        Caption = '        =预定运行日'
      end
      object seSetDay_B1: TVelSpinEdit
        Left = 176
        Top = 4
        Width = 44
        MinValue = -99
        MaxValue = 99
        Text = '0'
        Enabled = False
        TabOrder = 1
        OnEnter = seSetDay_B1Enter
        OnChange = seSetDay_B1Change
        OnExit = seSetDay_B1Exit
      end
      object cboSetDay_B1: TComboBox
        Left = 222
        Top = 4
        Width = 40
        Style = csDropDownList
        Items.Strings = (
          '周'
          '月')
        Enabled = False
        TabOrder = 2
        OnEnter = seSetDay_B1Enter
        OnChange = cboSetDay1Change
      end
      object cboSetDay_B2: TComboBox
        Left = 264
        Top = 4
        Width = 72
        Style = csDropDownList
        Items.Strings = (
          '加/减'
          '第一天'
          '最后一天')
        Enabled = False
        TabOrder = 3
        OnEnter = seSetDay_B1Enter
        OnChange = cboSetDay_B2Change
      end
      object seSetDay_B2: TVelSpinEdit
        Left = 338
        Top = 4
        Width = 40
        MinValue = -999
        MaxValue = 999
        Text = '0'
        Enabled = False
        TabOrder = 4
        OnEnter = seSetDay_B1Enter
        OnChange = seSetDay_B1Change
        OnExit = seSetDay_B1Exit
      end
      object lblDays_B: TLabel
        Left = 382
        Top = 8
        Caption = '天'
      end
      object spDate_E: TCheckBox
        Left = 4
        Top = 34
        Width = 72
        Caption = '截止日期'
        TabOrder = 5
        OnClick = spDate_EClick
      end
      object lblRunDay_E: TLabel
        Left = 76
        Top = 36
        Caption = '        =预定运行日'
      end
      object seSetDay_E1: TVelSpinEdit
        Left = 176
        Top = 32
        Width = 44
        MinValue = -99
        MaxValue = 99
        Text = '0'
        Enabled = False
        TabOrder = 6
        OnEnter = seSetDay_B1Enter
        OnChange = seSetDay_B1Change
        OnExit = seSetDay_B1Exit
      end
      object cboSetDay_E1: TComboBox
        Left = 222
        Top = 32
        Width = 40
        Style = csDropDownList
        Items.Strings = (
          '周'
          '月')
        Enabled = False
        TabOrder = 7
        OnEnter = seSetDay_B1Enter
        OnChange = cboSetDay1Change
      end
      object cboSetDay_E2: TComboBox
        Left = 264
        Top = 32
        Width = 72
        Style = csDropDownList
        Items.Strings = (
          '加/减'
          '第一天'
          '最后一天')
        Enabled = False
        TabOrder = 8
        OnEnter = seSetDay_B1Enter
        OnChange = cboSetDay_E2Change
      end
      object seSetDay_E2: TVelSpinEdit
        Left = 338
        Top = 32
        Width = 40
        MinValue = -999
        MaxValue = 999
        Text = '0'
        Enabled = False
        TabOrder = 9
        OnEnter = seSetDay_B1Enter
        OnChange = seSetDay_B1Change
        OnExit = seSetDay_B1Exit
      end
      object lblDays_E: TLabel
        Left = 382
        Top = 36
        Caption = '天'
      end
    end
    object pnEdit: TPanel
      Left = 4
      Top = 42
      Width = 396
      Height = 62
      BevelOuter = bvNone
      Visible = False
      TabOrder = 2
      object edSetDate: TCheckBox
        Left = 4
        Top = 6
        Width = 72
        Caption = '变动日期'
        TabOrder = 0
        OnClick = edSetDateClick
      end
      object lblRunDay1: TLabel
        Left = 100
        Top = 8
        Caption = '=预定运行日'
      end
      object seSetDay1: TVelSpinEdit
        Left = 176
        Top = 4
        Width = 44
        MinValue = -99
        MaxValue = 99
        Text = '0'
        Enabled = False
        TabOrder = 1
        OnEnter = seSetDay1Enter
        OnChange = seSetDay1Change
        OnExit = seSetDay1Exit
      end
      object cboSetDay1: TComboBox
        Left = 222
        Top = 4
        Width = 40
        Style = csDropDownList
        Items.Strings = (
          '周'
          '月')
        Enabled = False
        TabOrder = 2
        OnEnter = seSetDay1Enter
        OnChange = cboSetDay1Change
      end
      object cboSetDay2: TComboBox
        Left = 264
        Top = 4
        Width = 72
        Style = csDropDownList
        Items.Strings = (
          '加/减'
          '第一天'
          '最后一天')
        Enabled = False
        TabOrder = 3
        OnEnter = seSetDay1Enter
        OnChange = cboSetDay2Change
      end
      object seSetDay2: TVelSpinEdit
        Left = 338
        Top = 4
        Width = 40
        MinValue = -999
        MaxValue = 999
        Text = '0'
        Enabled = False
        TabOrder = 4
        OnEnter = seSetDay1Enter
        OnChange = seSetDay1Change
      end
      object lblDays1: TLabel
        Left = 382
        Top = 8
        Caption = '天'
      end
    end
  end
  object btnOk: TButton
    Left = 248
    Top = 154
    Caption = '确定'
    TabOrder = 2
    OnClick = btnOkClick
  end
  object btnCancel: TButton
    Left = 332
    Top = 154
    Caption = '取消'
    Cancel = True
    ModalResult = 2
    TabOrder = 3
  end
end
)");

TfrmGeneCondition::TfrmGeneCondition(TComponent* owner) : TVelForm(owner) {}

TfrmBaseGene* TfrmGeneCondition::OwnerForm() const { return dynamic_cast<TfrmBaseGene*>(Owner()); }

std::string TfrmGeneCondition::SelectedRecord() const {
    TfrmBaseGene* owner = OwnerForm();
    int index = cbodatecondition ? cbodatecondition->ItemIndex() : -1;
    if (!owner || index < 0 || index >= owner->RelativeDates.Count()) return "";
    return owner->RelativeDates[index];
}

std::string TfrmGeneCondition::SelectedKind() const {
    std::string record = SelectedRecord();
    if (record.empty()) return "D";
    return Field(record, Field(record, 1) == "0" ? 13 : 8);
}

std::string TfrmGeneCondition::RecordFromRows(bool range, const std::string& name, const std::string& kind) const {
    auto row = [](const Row& r) {
        const std::string sep = kFieldSepText;
        return std::string(r.tick && r.tick->Checked() ? "Y" : "N") + sep + NumberText(r.offset) + sep +
               IndexText(r.unit) + sep + IndexText(r.mode) + sep + NumberText(r.days);
    };
    const std::string sep = kFieldSepText;
    if (range) return "0" + sep + name + sep + row(StartRow()) + sep + row(EndRow()) + sep + kind;
    return "1" + sep + name + sep + row(SingleRow()) + sep + kind;
}

void TfrmGeneCondition::StoreRecord() {
    TfrmBaseGene* owner = OwnerForm();
    std::string old = SelectedRecord();
    if (!owner || old.empty()) return;
    bool range = Field(old, 1) == "0";
    std::string record = RecordFromRows(range, Field(old, 2), Field(old, range ? 13 : 8));
    owner->RelativeDates.Put(cbodatecondition->ItemIndex(), record);
}

void TfrmGeneCondition::SetDateEnv() {
    TfrmBaseGene* owner = OwnerForm();
    for (TComboBox* combo : {cboSetDay_B1, cboSetDay_B2, cboSetDay_E1, cboSetDay_E2, cboSetDay1, cboSetDay2})
        if (combo) combo->SetItemIndex(0);
    if (cbodatecondition) {
        cbodatecondition->SetItemIndex(-1);
        cbodatecondition->Items().Clear();
    }
    try {
        if (!owner || !cbodatecondition) throw Exception("the dialog has no owning condition form");
        owner->RelativeDates.Clear();

        // Captions the owning form gives its conditions; without them the other sources serve.
        Variant captions;
        try {
            captions = Variant::Array(1, std::max(owner->ConditionCount, 0));
            owner->PackOptionTexts(captions, owner->ConditionCount - owner->BaseConditionCount);
        } catch (const std::exception&) {
            captions = Variant();
        }
        auto conditionCaption = [&captions](const std::string& name) -> std::string {
            if (!captions.IsArray()) return "";
            for (int i = captions.LowBound(); i <= captions.HighBound(); ++i) {
                try {
                    const Variant& pair = captions[i];
                    if (!pair.IsArray() || pair.HighBound() < pair.LowBound() + 1) continue;
                    if (SameText(pair[pair.LowBound() + 1].ToString(), name)) return pair[pair.LowBound()].ToString();
                } catch (const std::exception&) {
                }
            }
            return "";
        };

        std::vector<std::string> names = SplitNames(DateFields);
        int offered = static_cast<int>(names.size()) - FrameworkCount;
        for (int i = 0; i < offered; ++i) {
            TComponent* component = names[i].empty() ? nullptr : owner->FindComponent(names[i]);
            if (!component) continue;
            if (dynamic_cast<ISelectionPanel*>(component)) {
                auto* panel = dynamic_cast<TControl*>(component);
                cbodatecondition->Items().Add(panel ? panel->Caption() : component->Name());
                owner->RelativeDates.Add(RecordFromRows(true, component->Name(), "D"));
            } else if (auto* edit = dynamic_cast<TCustomEdit*>(component)) {
                std::string caption = conditionCaption(component->Name());
                if (caption.empty() && IsPublishedProp(*edit, "Caption"))
                    caption = GetPropValue(*edit, "Caption").ToString();
                if (caption.empty())
                    for (TComponent* c : owner->ComponentList())
                        if (auto* label = dynamic_cast<TDBLabel*>(c); label && label->FocusControl() == edit) {
                            caption = label->Caption();
                            break;
                        }
                if (caption.empty()) caption = component->Name();
                cbodatecondition->Items().Add(caption);
                owner->RelativeDates.Add(RecordFromRows(false, component->Name(), "D"));
            }
        }
    } catch (const std::exception&) {
        // What was listed so far stays usable.
    }
    if (!cbodatecondition || cbodatecondition->Items().Count() == 0) {
        Enable(gbDateFields, false);
        return;
    }
    cbodatecondition->SetItemIndex(0);
    cbodateconditionChange(cbodatecondition);
    Enable(gbDateFields, true);
}

void TfrmGeneCondition::LoadRow(const Row& row, const std::string& record, int first) {
    // The tick and the mode each run their handler even when the value did not change.
    if (row.tick) row.tick->SetChecked(Field(record, first) == "Y");
    if (row.tick == spDate_B) spDate_BClick(this);
    else if (row.tick == spDate_E) spDate_EClick(this);
    else edSetDateClick(this);
    if (row.offset) row.offset->SetCaption(Field(record, first + 1));
    if (row.unit) row.unit->SetItemIndex(std::stoi(Field(record, first + 2)));
    if (row.mode) row.mode->SetItemIndex(std::stoi(Field(record, first + 3)));
    if (row.days) row.days->SetCaption(Field(record, first + 4));
    if (row.mode == cboSetDay_B2) cboSetDay_B2Change(this);
    else if (row.mode == cboSetDay_E2) cboSetDay_E2Change(this);
    else cboSetDay2Change(this);
}

void TfrmGeneCondition::cbodateconditionChange(TComponent*) {
    Editing = false;
    try {
        // A copy: the handlers fired while the rows fill must not read a half-written record.
        std::string record = SelectedRecord();
        if (record.empty()) return;
        bool range = Field(record, 1) == "0";
        loading_ = true;
        if (pnSp) pnSp->SetVisible(range);
        if (pnEdit) pnEdit->SetVisible(!range);
        if (range) {
            LoadRow(StartRow(), record, 3);
            LoadRow(EndRow(), record, 8);
        } else {
            LoadRow(SingleRow(), record, 3);
        }
        loading_ = false;
        StoreRecord();
    } catch (const std::exception&) {
        // A record that cannot be shown leaves the rows as far as they got.
    }
    loading_ = false;
}

void TfrmGeneCondition::RowTicked(const Row& row, TComponent* sender, bool endRow) {
    bool on = row.tick && row.tick->Checked();
    if (SelectedKind() == "D") {
        Enable(row.offset, on);
        Enable(row.unit, on);
        Enable(row.mode, on);
        // Days only count when the mode adds them.
        Enable(row.days, on && row.mode && row.mode->ItemIndex() == 0);
    } else {
        Enable(row.offset, on);
        if (endRow && cboSetDay_E1) cboSetDay_E1->SetItemIndex(1);
    }
    if (sender == row.tick && !loading_) StoreRecord();
}

void TfrmGeneCondition::spDate_BClick(TComponent* sender) { RowTicked(StartRow(), sender, false); }
void TfrmGeneCondition::spDate_EClick(TComponent* sender) { RowTicked(EndRow(), sender, true); }
void TfrmGeneCondition::edSetDateClick(TComponent* sender) { RowTicked(SingleRow(), sender, false); }

void TfrmGeneCondition::ModeChanged(const Row& row) {
    bool addDays = row.mode && row.mode->ItemIndex() == 0;
    // A row that is not ticked keeps all its controls disabled.
    bool rowOn = SelectedKind() != "D" || (row.tick && row.tick->Checked());
    Enable(row.days, addDays && rowOn);
    if (Editing && !loading_) StoreRecord();
}

void TfrmGeneCondition::cboSetDay_B2Change(TComponent*) { ModeChanged(StartRow()); }
void TfrmGeneCondition::cboSetDay_E2Change(TComponent*) { ModeChanged(EndRow()); }
void TfrmGeneCondition::cboSetDay2Change(TComponent*) { ModeChanged(SingleRow()); }

void TfrmGeneCondition::seSetDay_B1Enter(TComponent*) { Editing = true; }
void TfrmGeneCondition::seSetDay1Enter(TComponent*) { Editing = true; }

void TfrmGeneCondition::seSetDay_B1Change(TComponent*) {
    if (Editing && !loading_) StoreRecord();
}
void TfrmGeneCondition::seSetDay1Change(TComponent*) {
    if (Editing && !loading_) StoreRecord();
}
void TfrmGeneCondition::cboSetDay1Change(TComponent*) {
    if (Editing && !loading_) StoreRecord();
}

void TfrmGeneCondition::ZeroUnlessNumber(TComponent* sender) {
    auto* control = dynamic_cast<TControl*>(sender);
    if (!control) return;
    long value = 0;
    if (!ReadWhole(control->Caption(), value) || value == 0) control->SetCaption("0");
}

void TfrmGeneCondition::seSetDay_B1Exit(TComponent* sender) { ZeroUnlessNumber(sender); }
void TfrmGeneCondition::seSetDay1Exit(TComponent* sender) { ZeroUnlessNumber(sender); }

void TfrmGeneCondition::FormKeyPress(TComponent*, char& key) {
    if (key != '\r') return;
    key = 0;
    SelectNext(ActiveControl(), true);
}

void TfrmGeneCondition::btnOkClick(TComponent*) {
    TfrmBaseGene* owner = OwnerForm();
    auto show = [this, owner](const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
        return owner ? owner->Messages().ShowMessageDialog(text, type, buttons) : ShowDialog(text, type, buttons);
    };
    auto focusName = [this] {
        if (!edConName) return;
        if (edConName->CanFocus()) edConName->SetFocus();
        else SetActiveControl(edConName);
    };
    std::string name = edConName ? edConName->Caption() : std::string();
    if (TrimBlanks(name).empty()) {
        show(LangText(kClassName, "sEmptyProjName", CN("方案名不可空白!")), TMsgDlgType::mtError, mbOK);
        focusName();
        return;
    }
    // The name goes to the server as typed: surrounding blanks are part of a scheme's name.
    Variant row;
    bool exists = owner && owner->QueryValidator("GENES", "01", true, row,
                                                 Variant::Of({Variant(name), Variant(owner->UserId), Variant(owner->ProgramId)}));
    if (exists) {
        int answer = show(LangText(kClassName, "sReplaceProj", CN("此方案名已存在！是否将原来的方案替换为此方案?")),
                          TMsgDlgType::mtConfirmation, mbOK | mbCancel);
        if (answer != mrOk) {
            focusName();
            return;
        }
        ReplaceFlag = true;
    }
    SetModalResult(mrOk);
}

Variant RunSchemeSaveDialog(TfrmBaseGene& owner, const std::string& dateFields, int frameworkCount) {
    Variant answer = Variant::Of({Variant(std::string()), Variant(std::string()), Variant(std::string())});
    TfrmGeneCondition* dialog = CreateForm<TfrmGeneCondition>(&owner);
    HWND handle = dialog->Handle();
    try {
        dialog->ConvertTexts();
        dialog->SetCaption(owner.Caption());
        dialog->DateFields = dateFields;
        dialog->FrameworkCount = frameworkCount;
        dialog->SetDateEnv();
        dialog->ReplaceFlag = false;
        if (dialog->ShowModal() == mrOk)
            answer = Variant::Of({Variant(dialog->edConName ? dialog->edConName->Caption() : std::string()),
                                  Variant(dateFields), Variant(dialog->ReplaceFlag)});
    } catch (...) {
        if (FindControl(handle) == dialog) FreeComponent(dialog);
        throw;
    }
    if (FindControl(handle) == dialog) FreeComponent(dialog);
    return answer;
}

}  // namespace vel
