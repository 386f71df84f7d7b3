#pragma once
// TfrmBaseOpt: decides when a job runs and who hears of it — the generation time on the
// system page, the notice on completion, the OK drop-down — and submits the run to the
// report-counter object with Request.
#include <string>

#include "forms/base_gene.h"
#include "platform/ui/menus.h"

namespace vel {

class TfrmBaseOpt : public TfrmBaseGene {
    VEL_CLASS(TfrmBaseOpt, TfrmBaseGene)
public:
    explicit TfrmBaseOpt(TComponent* owner);

    // Published components of the system page and the bottom panel.
    TGroupBox* grpGenTime = nullptr;
    TRadioButton* rdoRealTime = nullptr;
    TRadioButton* rdoQueue = nullptr;
    TRadioButton* rdoExceptTime = nullptr;
    TPanel* pnlTime = nullptr;
    TMaskEdit* edDate = nullptr;
    TWinControl* edHour = nullptr;
    TWinControl* edMin = nullptr;
    TWinControl* edSec = nullptr;
    TCheckBox* chkNotify = nullptr;
    TControl* btnNotify = nullptr;
    TSpeedButton* btnPeriod = nullptr;
    TSpeedButton* btnSpd = nullptr;
    TBitBtn* btnOK02 = nullptr;
    TPopupMenu* pmOKExit = nullptr;
    TMenuItem* miOKExit = nullptr;
    TMenuItem* miOKNoExit = nullptr;

    // Template operations overridden here.
    void DeclareFields() override;
    bool InitializeForm(const Variant& params) override;
    bool PackEnvSettings(Variant& env, int count) override;
    void AfterRightsLoaded() override;
    void PrepareConnection() override;
    // The concrete form's required fields; the form merges its own lists into them.
    void SetRequiredFields(const std::string& list) override;
    // F2 in the run date and the period dates picks a date.
    void HandleF2(uint16_t key, TWinControl* control) override;
    // The scheme save dialog, then the store and the refreshed list.
    void SaveSchemeFromDialog() override;

    // Template operations added here, in slot order.
    virtual void LoadUserRights();
    virtual void InitPeriodPage() {}
    virtual void BuildSchedule() {}
    virtual void StoreDynamicField() {}
    virtual void CollectSchemeProperties();

    // Handlers.
    void FormCreate(TComponent* sender);
    void btnOkClick(TComponent* sender);
    void btnCancelClick(TComponent* sender);
    void btnSpdClick(TComponent* sender);
    void miOKExitClick(TComponent* sender);
    void miOKNoExitClick(TComponent* sender);
    void rdoQueueClick(TComponent* sender);
    void rdoExceptTimeClick(TComponent* sender);
    void chkNotifyClick(TComponent* sender);

    // The name of this computer, "Unknown" when it cannot be read.
    static std::string LocalComputerName();
    // The recipient document naming only the current user.
    std::string DefaultRecipientXml() const;
    bool PeriodDown() const { return btnPeriod && btnPeriod->Down(); }

    bool ExitAfterOk = true;
    std::string RecipientXml;
    int SQLTypeAnswer = 0;
    std::string GenerationTimeFields;
    std::string DerivedRequiredFields;
    // Rebuilds RequiredFields from the concrete form's list and the generation-time list.
    void RebuildRequiredFields();
    std::string SchemeProperties;
    // The generation mode packed last: 0 queue, 1 real time, 2 at a given time.
    int GenerationMode = 0;
};

}  // namespace vel
