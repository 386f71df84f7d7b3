#pragma once
// TfrmGeneCondition: the modal dialog that names a condition scheme before it is saved and
// lets the user give each date condition of the owning form a relative-date rule. The rules
// are left in the owning form's RelativeDates, one chr(3)-separated record per condition in
// the order of the condition combo:
//   single edit:     "1", name, flag, offset, unit, mode, days, kind
//   selection panel: "0", name, start flag, offset, unit, mode, days,
//                    end flag, offset, unit, mode, days, kind
// flag "Y"/"N"; unit "0" weeks, "1" months; mode "0" add days, "1" first day, "2" last day;
// kind "D" for dates.
#include <string>

#include "controls/vel_spin_edit.h"
#include "forms/vel_form.h"
#include "platform/ui/combo.h"
#include "platform/ui/stdctrls.h"
#include "platform/variant/variant.h"

namespace vel {

class TfrmBaseGene;

class TfrmGeneCondition : public TVelForm {
    VEL_CLASS(TfrmGeneCondition, TVelForm)
public:
    explicit TfrmGeneCondition(TComponent* owner);

    // Published components.
    TLabel* lblCondition = nullptr;
    TEdit* edConName = nullptr;
    TGroupBox* gbDateFields = nullptr;
    TComboBox* cbodatecondition = nullptr;
    TPanel* pnSp = nullptr;
    TCheckBox* spDate_B = nullptr;
    TVelSpinEdit* seSetDay_B1 = nullptr;
    TComboBox* cboSetDay_B1 = nullptr;
    TComboBox* cboSetDay_B2 = nullptr;
    TVelSpinEdit* seSetDay_B2 = nullptr;
    TCheckBox* spDate_E = nullptr;
    TVelSpinEdit* seSetDay_E1 = nullptr;
    TComboBox* cboSetDay_E1 = nullptr;
    TComboBox* cboSetDay_E2 = nullptr;
    TVelSpinEdit* seSetDay_E2 = nullptr;
    TPanel* pnEdit = nullptr;
    TCheckBox* edSetDate = nullptr;
    TVelSpinEdit* seSetDay1 = nullptr;
    TComboBox* cboSetDay1 = nullptr;
    TComboBox* cboSetDay2 = nullptr;
    TVelSpinEdit* seSetDay2 = nullptr;
    TButton* btnOk = nullptr;
    TButton* btnCancel = nullptr;

    // The owning form's date-field list as given, and how many of its last entries belong to
    // the framework (they are not offered).
    std::string DateFields;
    int FrameworkCount = 4;
    // Set when the user agreed to replace a stored scheme of the same name.
    bool ReplaceFlag = false;
    // Set once the user enters a row control; change handlers store the record only then.
    bool Editing = false;

    // The owning form, or null when the dialog was created without one.
    TfrmBaseGene* OwnerForm() const;

    // Rebuilds the owning form's RelativeDates and the condition combo from DateFields.
    void SetDateEnv();

    // Handlers.
    void btnOkClick(TComponent* sender);
    void FormKeyPress(TComponent* sender, char& key);
    void cbodateconditionChange(TComponent* sender);
    void spDate_BClick(TComponent* sender);
    void spDate_EClick(TComponent* sender);
    void edSetDateClick(TComponent* sender);
    void seSetDay_B1Enter(TComponent* sender);
    void seSetDay_B1Change(TComponent* sender);
    void seSetDay_B1Exit(TComponent* sender);
    void cboSetDay_B2Change(TComponent* sender);
    void cboSetDay_E2Change(TComponent* sender);
    void seSetDay1Enter(TComponent* sender);
    void seSetDay1Change(TComponent* sender);
    void seSetDay1Exit(TComponent* sender);
    void cboSetDay1Change(TComponent* sender);
    void cboSetDay2Change(TComponent* sender);

private:
    struct Row {
        TCheckBox* tick;
        TVelSpinEdit* offset;
        TComboBox* unit;
        TComboBox* mode;
        TVelSpinEdit* days;
    };
    Row StartRow() const { return {spDate_B, seSetDay_B1, cboSetDay_B1, cboSetDay_B2, seSetDay_B2}; }
    Row EndRow() const { return {spDate_E, seSetDay_E1, cboSetDay_E1, cboSetDay_E2, seSetDay_E2}; }
    Row SingleRow() const { return {edSetDate, seSetDay1, cboSetDay1, cboSetDay2, seSetDay2}; }

    // The record of the selected condition ("" without one).
    std::string SelectedRecord() const;
    // The date kind of the selected record ("D" when none is selected).
    std::string SelectedKind() const;
    // A record from the rows on screen.
    std::string RecordFromRows(bool range, const std::string& name, const std::string& kind) const;
    void LoadRow(const Row& row, const std::string& record, int firstField);
    void RowTicked(const Row& row, TComponent* sender, bool endRow);
    void ModeChanged(const Row& row);
    void StoreRecord();
    void ZeroUnlessNumber(TComponent* sender);

    // Set while a record is being shown, so the handlers it fires leave the record alone.
    bool loading_ = false;
    int borderIcons_ = 0;
};

// Opens the scheme save dialog over `owner` for the date conditions of `dateFields` (the
// last `frameworkCount` entries excluded). Answers [name as typed, dateFields, replace flag]
// after OK and three empty texts after Cancel; the relative-date records stay in the
// owner's RelativeDates.
Variant RunSchemeSaveDialog(TfrmBaseGene& owner, const std::string& dateFields, int frameworkCount);

}  // namespace vel
