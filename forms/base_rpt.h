#pragma once
// TfrmBaseRpt: the report form. Output options, the date type reports print dates in,
// footer and sign-off blocks looked up in the server's tables, three framework conditions,
// two environment settings, and the availability of the direct query, design and web
// report buttons.
#include "forms/base_opt.h"
#include "controls/bit_check_box.h"
#include "platform/ui/combo.h"

namespace vel {

class TfrmBaseRpt : public TfrmBaseOpt {
    VEL_CLASS(TfrmBaseRpt, TfrmBaseOpt)
public:
    explicit TfrmBaseRpt(TComponent* owner);

    TGroupBox* grpGenType = nullptr;
    TBitCheckBox* chkView = nullptr;
    TBitCheckBox* chkHTML = nullptr;
    TBitCheckBox* chkDirectPrint = nullptr;
    TLabel* lblDateType = nullptr;
    TComboBox* cboDateType = nullptr;
    TGroupBox* grpNote = nullptr;
    TEdit* edNoteID = nullptr;
    TEdit* edNote1 = nullptr;
    TEdit* edNote2 = nullptr;
    TEdit* edNote3 = nullptr;
    TBitCheckBox* chkNoteEPPrint = nullptr;
    TControl* btnNote = nullptr;
    TGroupBox* grpSignIn = nullptr;
    TEdit* edSignInID = nullptr;
    TEdit* edSignIn1 = nullptr;
    TEdit* edSignIn2 = nullptr;
    TEdit* edSignIn3 = nullptr;
    TBitCheckBox* chkSignInEPPrint = nullptr;
    TControl* btnSignIn = nullptr;
    TButton* btnQuery = nullptr;
    TButton* btnDesign = nullptr;
    TButton* btnWebDesign = nullptr;

    void DeclareFields() override;
    bool InitializeForm(const Variant& params) override;
    bool PackOptionValues(Variant& values, int ownCount) override;
    bool PackEnvSettings(Variant& env, int count) override;
    bool PackOptionTexts(Variant& texts, int ownCount) override;
    void CollectSchemeProperties() override;

    void FormCreate(TComponent* sender);
    void FormShow(TComponent* sender);
    // F2 in the footer or sign-off code looks the code up; elsewhere as the option form.
    void HandleF2(uint16_t key, TWinControl* control) override;
    void chkViewClick(TComponent* sender);
    void edNoteIDEnter(TComponent* sender);
    void edNoteIDExit(TComponent* sender);
    void edSignInIDExit(TComponent* sender);
    void btnPeriodClick(TComponent* sender);

    // Footer (`signOff` false) or sign-off code check; false when the code is unknown.
    bool CheckCode(bool signOff);
    void LoadFooterDefaults();
    // Enables direct query and design for a local server unless the program's row forbids the query.
    void UpdateRunButtons();

    uint8_t OutputFlags = 1;
    std::string ExtensionText;
    std::string DefaultFontName;
    int FontSize = 0;
    int PrintableWidth = 0;
    std::string LastCode;
};

}  // namespace vel
