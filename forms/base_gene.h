#pragma once
// TfrmBaseGene: the generic condition form every report program's form derives from. It
// holds the host's parameters and services, the program's identity and the outcome the
// controller hands back to the host.
#include <any>
#include <map>
#include <memory>
#include <string>

#include "forms/message_service.h"
#include "forms/vel_form.h"
#include "platform/net/client_dataset.h"
#include "platform/net/socket_connection.h"
#include "platform/ui/stdctrls.h"
#include "platform/ui/buttons.h"
#include "controls/db_label.h"
#include "controls/ext_page_control.h"
#include "platform/ui/listview.h"
#include "platform/ui/mask.h"
#include "platform/ui/toolbar.h"
#include "platform/variant/variant.h"

namespace vel {

class TF2Button;

class TfrmBaseGene : public TVelForm {
    VEL_CLASS(TfrmBaseGene, TVelForm)
public:
    explicit TfrmBaseGene(TComponent* owner);
    ~TfrmBaseGene() override;

    // Published components.
    TPanel* Panel1 = nullptr;
    TBitBtn* btnOk = nullptr;
    TBitBtn* btnCancel = nullptr;
    TLabel* lblToday = nullptr;
    TMaskEdit* edPrintDate = nullptr;
    TF2Button* btnPrintDate = nullptr;
    TExtPageControl* pgOption = nullptr;
    TTabSheet* tsOption1 = nullptr;
    TTabSheet* tsOption2 = nullptr;
    TPanel* pnlCondition = nullptr;
    TListView* lstCondition = nullptr;
    TToolButton* btnInsert = nullptr;
    TToolButton* btnOpen = nullptr;
    TToolButton* btnDelete = nullptr;

    void pgOptionChange(TComponent* sender);
    void pgOptionChanging(TComponent* sender, bool& allow);
    void tsOption2Show(TComponent* sender);
    bool SystemPageLaid = false;

    // Virtual operations added by this level, in slot order (later levels extend the chain).
    virtual void ArrangeLayout();
    virtual bool BuildParameters();
    virtual void DeclareFields();
    virtual void FillPhrase(TControl* control);
    virtual void SetRequiredFields(const std::string& list);
    virtual void ConvertDataSetLabels();
    virtual void AttachHostServices();
    virtual bool InitializeForm(const Variant& params);
    virtual void Extension1() {}
    // Each level fills its own elements of the option values; `ownCount` is the concrete
    // form's number of conditions, after which the base levels put theirs.
    virtual bool PackOptionValues(Variant& values, int ownCount);
    virtual bool ApplyPositionalValues(const Variant& values) { return false; }
    virtual void Extension2() {}
    virtual bool PackEnvSettings(Variant& env, int count);
    virtual bool PackOptionTexts(Variant& texts, int ownCount);
    virtual void AfterRightsLoaded() {}
    // One lookup through the host's lookup window: the answer is empty (nothing picked), an
    // array of rows, or a single value. Without a lookup service: empty, nothing shown.
    virtual Variant LookupWindow(const std::string& kind, const std::string& variant, const Variant& params,
                                 bool multiple, const std::string& typed);
    virtual void PrepareConnection() {}
    // Schemes: store the current values under a name, apply stored values, reload the list.
    virtual bool SaveScheme(const std::string& properties, const std::string& name, bool replace);
    virtual bool LoadScheme(const std::string& properties, const std::string& values);
    virtual bool RefreshSchemeList();
    virtual bool AfterSchemeOpened() { return true; }
    virtual bool RunByHostMode(int mode) { return true; }
    virtual void BeforeApplyValue(TComponent* component, const std::string& valueText) {}
    virtual void AfterApplyValue(TComponent* component, const std::string& valueText) {}

    // Called by the controller.
    void SetModuleFile(const std::string& path);
    // The host push: payload [mode, [by-name flag, [names, values]]]; the controller hands
    // [flag, payload] and only element 1 is read.
    void HostPush(const Variant& pushed);

    void SetConditionCount(int count);
    // The rights record of the program for the user: fields, lookup flags, then AfterRightsLoaded.
    void ApplyRights(const Variant& rights);
    std::string RightsText[6];
    bool RightsFlag2 = false, RightsFlag3 = false;
    std::string RightsFields[2];
    bool LookupFlagRows = false, LookupFlagColumns = false;
    Variant RightsRecord;
    void SetProgramId(const std::string& id);
    bool IsLibraryModule() const;
    std::string ProgramIdFromModule() const;

    // Messages and system settings (texts from the host, settings from the counter service).
    TMessageService& Messages() { return *messages_; }
    void ReportMessage(const std::string& code) { messages_->ReportMessage(code); }
    void ReportRawError(const std::string& text) { messages_->ReportRawError(text); }
    std::string GetMessageText(const std::string& type, const std::string& number) {
        return messages_->GetMessageText(type, number);
    }
    // An empty name refills the cache.
    std::string GetSystemSetting(const std::string& name) { return messages_->GetSystemSetting(name); }
    // Both also keep the answer in CachedDateType / CachedDateSeparator.
    int GetDateTypeCode();
    std::string GetDateSeparator();
    // True when the program master marks the program for logging.
    bool WantLog = false;

    // Keyboard: the form previews keys (Esc, F1, F2, Ctrl+Alt+V, page keys) and moves on with Enter.
    void FormKeyDown(TComponent* sender, uint16_t& key, TShiftState shift);
    void FormKeyPress(TComponent* sender, char& key);
    // F2, and the lookup message sent by lookup buttons, for a control.
    virtual void HandleF2(uint16_t key, TWinControl* control);
    // A lookup for an inner control of a selection panel: rows into its list, a value into
    // its begin or end edit.
    void PanelLookup(TWinControl* control, const std::string& kind, const std::string& variant, bool allColumns,
                     const std::string& typed, const Variant& params);
    // The date picker from the field's text; the picked date in the user's style, the text
    // itself when nothing was picked, empty without a lookup service.
    std::string PickDate(const std::string& text, bool asDate);
    // What the lookup window learns of the user's rights (request element 14).
    std::string LookupRightsText;
    void BuildLookupRightsText();
    // The help topic of the program ("" when it has none).
    std::string HelpTopicKey() const;
    // Moves to the next or previous condition page; false when there is none.
    virtual bool MovePage(bool forward);
    // Makes the page that holds the control the active one.
    virtual void ShowPageOf(TControl* control);
    std::vector<TControl*> PageEndControls;
    void WndProc(TMessage& message) override;

    void FormCreate(TComponent* sender);
    // Caption from the program's name and the suffix setting, first page, one-time text conversion.
    void FormShow(TComponent* sender);
    void FormClose(TComponent* sender, TCloseAction& action);
    void FormDestroy(TComponent* sender);
    void btnOkClick(TComponent* sender) {}
    void btnCancelClick(TComponent* sender);

    // The scheme panel.
    net::TClientDataSet ClientDataSet1;
    void btnInsertClick(TComponent* sender);
    void btnOpenClick(TComponent* sender);
    void btnDeleteClick(TComponent* sender);
    void lstConditionEdited(TComponent* sender, TListItem* item, std::string& text);
    void lstConditionDblClick(TComponent* sender);
    void ToolButton1Click(TComponent* sender);
    void ViewIconExecute(TComponent* sender);
    void ViewSmallIconExecute(TComponent* sender);
    void ViewListExecute(TComponent* sender);
    void ViewReportExecute(TComponent* sender);
    // The values text of a property list, one CR LF line per entry.
    std::string BuildSchemeValues(const std::string& properties);
    // The save after the exit check: the option form asks for the name and stores it.
    virtual void SaveSchemeFromDialog() {}

    // The connection to the application server ("MainMidas"), the server object it yields,
    // and the name of the server object the connection asks for.
    net::TSocketConnection MainMidas;
    Variant AppServer;
    bool LocalServer = false;
    std::string ConnectionServerName;
    // Reads the client configuration and connects; false (with the message shown) on failure.
    bool ConnectAppServer();
    void DisconnectAppServer();

    // The packed parameter set: [E, T, V] (bounds 0..2).
    Variant Parameters;
    uint8_t QueryFlag = 0;
    // The user's date style, as last read from the system settings.
    int CachedDateType = 1;
    std::string CachedDateSeparator = "/";
    std::string NormalizeDate(const std::string& text) const;
    std::string NormalizeYearMonth(const std::string& text) const;
    std::string BlankDateText() const;
    std::string BlankYearMonthText() const;
    std::string DateEditMask() const;
    std::string YearMonthEditMask() const;
    // Translated fixed text of this form class.
    std::string FormText(const char* key, const char* authored);

    // Relative-date records of the date conditions, one chr(3)-separated record per control
    // (field 1 "1" single edit or "0" range panel, field 2 the control's name), as the
    // scheme save dialog leaves them.
    TStringList RelativeDates;

    // Condition input helpers: date, year-month and required fields.
    std::string DateFields, YearMonthFields, RequiredFields;
    bool CheckFailed = false;
    TStringList ColourSnapshot;
    void SetDateFields(const std::string& list);
    void SetYearMonthFields(const std::string& list);
    void DateFieldEnter(TComponent* sender);
    void DateFieldExit(TComponent* sender);
    void RequiredExit(TComponent* sender);
    bool CheckRequiredFields(const std::string& list);
    void SnapshotColours(TWinControl& container);
    void RestoreColours(TWinControl& container);
    void FireExitHandler(TControl* control);
    Variant GetCounter(const std::string& name, const Variant& value);
    bool QueryValidator(const std::string& table, const std::string& key, bool query, Variant& result,
                        const Variant& keyValues);
    bool CheckTableValue(const std::string& table, const std::string& key, const std::string& severity, int index,
                         Variant& value, const Variant& keyValues);
    // The required colour: light yellow.
    static constexpr TColor kRequiredColour = 0xAFFFFF;

    // Fields the controller and the host read.
    Variant HostApp;
    Variant CounterService, ValidatorService, LookupService;
    std::string UserId, CompanyId, CompanyDb;
    int HostWindow = 0;
    Variant HostValue;
    std::string VersionStamp;
    std::string ModuleFile;
    std::string ProgramId, ProgramName, Title, TitleSuffix, ServerObjectName, ReportKind;
    int EnvCount = 0;
    int ConditionCount = 0;
    int BaseConditionCount = 1;
    uint8_t ServiceFlags = 0;
    Variant PushedPayload;
    bool PushByName = true;
    bool AutoRun = false;
    bool Interactive = true;
    Variant ResultData;
    int ResultCode = 0;

protected:
    bool PackParameters();
    // Handlers replaced by name, keyed "component.event"; the first saved one counts.
    std::map<std::string, std::any> SavedDateEvents, SavedButtonEvents;
    void HookFieldList(const std::string& list);
    void UnhookFieldList(const std::string& list);
    void FieldCheck(TComponent* control, const char* event);
    bool DateCheck(TComponent* control, bool entering, bool yearMonth);
    void ActiveControlChanging(TWinControl* previous, TWinControl* next) override;
    // True when every named component of the pushed names array exists and holds a value.
    bool CheckPushedNames(const Variant& names);
    void PostCloseRequest();
    std::string SchemeValueOf(const std::string& entry);
    bool ApplySchemeValue(TComponent* component, const std::string& name, const std::string& property,
                          const std::string& value);
    std::string RelativeDateRecord(const std::string& name) const;
    std::string ApplyRelativeRule(const std::string& text, const std::vector<std::string>& record, size_t flagField) const;
    bool IsDateField(const std::string& name) const;
    bool IsYearMonthField(const std::string& name) const;
    std::string DisplayDate(const std::string& ymd) const;
    std::string ToDataText(const std::string& text) const;
    std::string ToScreenText(const std::string& text) const;
    void SetSchemeViewStyle(int index);
    // The scheme dataset's provider, index and persistent fields.
    void DeclareSchemeFields();

private:
    class MessageHost;
    std::unique_ptr<MessageHost> messageHost_;
    std::unique_ptr<TMessageService> messages_;
};

// The form message a lookup button sends; its long parameter is the control.
constexpr uint32_t WM_LOOKUP = WM_USER + 10;

// The built-in company of stand-alone runs.
constexpr const char* kStandAloneCompany = "DEMO";

}  // namespace vel
