#include "forms/base_gene.h"

#include <strings.h>

#include "platform/system/inifile.h"
#include "module/remote_names.h"
#include "platform/ui/resource.h"

namespace vel {

VEL_DEFINE_FORM(TfrmBaseGene,
    b.Field("Panel1", &TfrmBaseGene::Panel1);
    b.Field("btnOk", &TfrmBaseGene::btnOk);
    b.Field("btnCancel", &TfrmBaseGene::btnCancel);
    b.Field("lblToday", &TfrmBaseGene::lblToday);
    b.Field("edPrintDate", &TfrmBaseGene::edPrintDate);
    b.Method<TNotifyEvent>("FormCreate", &TfrmBaseGene::FormCreate);
    b.Method<TNotifyEvent>("FormShow", &TfrmBaseGene::FormShow);
    b.Method<TKeyEvent>("FormKeyDown", &TfrmBaseGene::FormKeyDown);
    b.Method<TKeyPressEvent>("FormKeyPress", &TfrmBaseGene::FormKeyPress);
    b.Method<TCloseEvent>("FormClose", &TfrmBaseGene::FormClose);
    b.Method<TNotifyEvent>("FormDestroy", &TfrmBaseGene::FormDestroy);
    b.Method<TNotifyEvent>("btnOkClick", &TfrmBaseGene::btnOkClick);
    b.Method<TNotifyEvent>("btnCancelClick", &TfrmBaseGene::btnCancelClick);
    b.Method<TNotifyEvent>("DateFieldEnter", &TfrmBaseGene::DateFieldEnter);
    b.Method<TNotifyEvent>("DateFieldExit", &TfrmBaseGene::DateFieldExit);
    b.Method<TNotifyEvent>("RequiredExit", &TfrmBaseGene::RequiredExit);
    b.EventGetter<TNotifyEvent>("OnDateFieldEnter", [](TfrmBaseGene& f) { return std::any_cast<TNotifyEvent>(MethodAddress(f, "DateFieldEnter")); });
    b.EventGetter<TNotifyEvent>("OnDateFieldExit", [](TfrmBaseGene& f) { return std::any_cast<TNotifyEvent>(MethodAddress(f, "DateFieldExit")); });
    b.EventGetter<TNotifyEvent>("OnRequiredExit", [](TfrmBaseGene& f) { return std::any_cast<TNotifyEvent>(MethodAddress(f, "RequiredExit")); }))

static FormResource kBaseGeneResource("TfrmBaseGene", R"(
inherited frmBaseGene: TfrmBaseGene
  Caption = 'frmBaseGene'
  Width = 509
  Height = 355
  Font.Height = -13
  Font.Name = '宋体'
  KeyPreview = True
  Position = poScreenCenter
  OnClose = FormClose
  OnCreate = FormCreate
  OnShow = FormShow
  OnDestroy = FormDestroy
  OnKeyDown = FormKeyDown
  OnKeyPress = FormKeyPress
  object lblToday: TLabel
    Left = 8
    Top = 12
    Caption = '制表日期'
    FocusControl = edPrintDate
  end
  object edPrintDate: TMaskEdit
    Left = 60
    Top = 8
    Width = 85
    Hint = '[F2]日期快手'
  end
  object Panel1: TPanel
    Align = alBottom
    Height = 43
    BevelOuter = bvNone
    object btnOk: TBitBtn
      Left = 330
      Top = 9
      Caption = '确定'
      Hint = '确定'
      OnClick = btnOkClick
    end
    object btnCancel: TBitBtn
      Left = 418
      Top = 9
      Caption = '取消'
      Hint = '取消'
      Cancel = True
      ModalResult = 2
      OnClick = btnCancelClick
    end
  end
end
)");

TfrmBaseGene::TfrmBaseGene(TComponent* owner) : TVelForm(owner) {}

void TfrmBaseGene::FormCreate(TComponent* sender) {
    TVelForm::FormCreate(sender);
    VersionStamp = "870401-0.00.00";
    ErrorFocusControl = this;
    CompanyId.clear();
    ProgramId.clear();
    ProgramName.clear();
    Interactive = true;
}

void TfrmBaseGene::FormShow(TComponent* sender) {
    TVelForm::FormShow(sender);
    SetCaption(Title + "[" + TitleSuffix + "]");
    ConvertTexts();
}

void TfrmBaseGene::FormClose(TComponent*, TCloseAction& action) { action = TCloseAction::caFree; }

void TfrmBaseGene::FormDestroy(TComponent*) {
    CounterService = Variant();
    ValidatorService = Variant();
    LookupService = Variant();
    HostApp = Variant();
}

void TfrmBaseGene::btnCancelClick(TComponent*) { Close(); }

void TfrmBaseGene::PostCloseRequest() { Application().PostMessage(Handle(), WM_CLOSE); }

static bool HasLibraryExtension(const std::string& path) {
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return false;
    std::string ext = path.substr(dot);
    return strcasecmp(ext.c_str(), ".dll") == 0 || strcasecmp(ext.c_str(), ".so") == 0;
}

bool TfrmBaseGene::IsLibraryModule() const { return HasLibraryExtension(ModuleFile); }

std::string TfrmBaseGene::ProgramIdFromModule() const {
    std::string name = ModuleFile.substr(ModuleFile.rfind('/') == std::string::npos ? 0 : ModuleFile.rfind('/') + 1);
    if (size_t dot = name.rfind('.'); dot != std::string::npos) name.resize(dot);
    size_t cut = IsLibraryModule() ? 1 : 2;
    if (name.size() > cut) name.resize(name.size() - cut);
    if (name.size() < 6) name = (name + "      ").substr(0, 6);
    return name;
}

void TfrmBaseGene::SetModuleFile(const std::string& path) {
    ModuleFile = path;
    if (!IsLibraryModule()) InitializeForm(Variant::Of({Variant("796"), Variant(kStandAloneCompany), Variant(kStandAloneCompany)}));
}

void TfrmBaseGene::SetConditionCount(int count) {
    ConditionCount = count + (BaseConditionCount < ConditionCount ? 0 : BaseConditionCount);
}

void TfrmBaseGene::ApplyRights(const Variant& rights) {
    RightsRecord = rights;
    for (auto& t : RightsText) t.clear();
    RightsFields[0].clear();
    RightsFields[1].clear();
    try {
        if (rights.IsArray() && rights.DimCount() == 1) {
            auto element = [&rights](int i) {
                return i >= rights.LowBound() && i <= rights.HighBound() ? rights[i] : Variant();
            };
            // Element 1: six comma-separated fields.
            std::string list = element(1).IsArray() ? "" : element(1).ToString();
            size_t start = 0;
            for (int i = 0; i < 6; ++i) {
                size_t comma = list.find(',', start);
                RightsText[i] = start <= list.size() ? list.substr(start, comma == std::string::npos ? std::string::npos : comma - start) : "";
                if (comma == std::string::npos) start = list.size() + 1;
                else start = comma + 1;
            }
            RightsFields[0] = element(2).IsArray() ? "" : element(2).ToString();
            RightsFields[1] = element(3).IsArray() ? "" : element(3).ToString();
        }
    } catch (const std::exception& e) {
        ReportRawError(e.what());
    }
    RightsFlag2 = RightsText[1] == "Y";
    RightsFlag3 = RightsText[2] == "Y";
    // A missing character counts as "N".
    const std::string& f4 = RightsText[3];
    LookupFlagColumns = f4.size() >= 7 && f4[6] != 'N';
    LookupFlagRows = f4.size() >= 8 && f4[7] != 'N';
    AfterRightsLoaded();
}

void TfrmBaseGene::SetProgramId(const std::string& id) {
    ProgramId = id;
    for (auto& c : ProgramId) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ServerObjectName = ProgramId + remote::kProgramServerSuffix;
    Title = ProgramName = ProgramId;
}

void TfrmBaseGene::DeclareFields() {
    SetDateFields("edPrintDate");
    ReportKind = "R";
    EnvCount = 9;
    ServiceFlags = 0;
    SetProgramId(ProgramIdFromModule());
    SetConditionCount(0);
}

void TfrmBaseGene::AttachHostServices() {
    ColourSnapshot.Clear();
    SnapshotColours(*this);
    auto fetch = [this](const char* method) {
        try {
            return HostApp.IsDispatch() ? HostApp.Call(method) : Variant();
        } catch (const std::exception&) {
            return Variant();  // a missing service stays empty; callers test before use
        }
    };
    CounterService = fetch(remote::kComCounter);
    GetSystemSetting("");
    TitleSuffix = GetSystemSetting("Vel002");
    ValidatorService = fetch(remote::kComValidator);
    DeclareFields();
    if (ServiceFlags & 4) LookupService = fetch(remote::kComF2Window);
}

bool TfrmBaseGene::InitializeForm(const Variant& params) {
    if (!CompanyId.empty()) return false;
    try {
        CounterService = ValidatorService = LookupService = Variant();
        BaseConditionCount = 1;
        MessageCodeList.clear();
        MessageTextList.clear();
        PushedPayload = Variant::Null();
        PushByName = true;
        AutoRun = false;
        if (!params.IsArray()) throw Exception("The host parameters are not an array");
        int high = params.HighBound();
        HostWindow = high >= 3 ? params[3].ToInt() : 0;
        if (high >= 4) {
            HostValue = params[4];
        } else {
            ReportMessage("E;000038");
            PostCloseRequest();
        }
        Hide();
        UserId = params[0].ToString();
        CompanyId = params[1].ToString();
        CompanyDb = params[2].ToString();
        AttachHostServices();
        std::string formPart = Name().size() >= 6 ? Name().substr(3, 3) : "";
        if (!SameText(formPart, ProgramId.substr(0, 3))) {
            ReportMessage("E;000036");
            PostCloseRequest();
            return true;
        }
        return true;
    } catch (const std::exception& e) {
        ReportRawError(e.what());
        return false;
    }
}

bool TfrmBaseGene::CheckPushedNames(const Variant& names) {
    bool ok = true;
    for (int i = names.LowBound(); i <= names.HighBound(); ++i) {
        std::string name = names[i].IsArray() ? names[i][names[i].LowBound() + 1].ToString() : names[i].ToString();
        TComponent* c = FindComponent(name);
        bool holdsValue = c && (c->InheritsFrom("TSelectPanel") || c->InheritsFrom("TCustomComboBox") ||
                                IsPublishedProp(*c, "ItemIndex") || IsPublishedProp(*c, "Checked") ||
                                IsPublishedProp(*c, "Text") || IsPublishedProp(*c, "Lines"));
        if (!holdsValue) ok = false;
    }
    if (!ok) ReportMessage("W;000014");
    return ok;
}

void TfrmBaseGene::HostPush(const Variant& pushed) {
    const Variant& payload = pushed[1];
    PushedPayload = payload;
    if (payload.IsEmpty() || payload.IsNull() || !payload.IsArray()) return;
    int mode = payload[payload.LowBound()].ToInt();
    bool mode0 = mode == 0;
    Interactive = mode == 0 || mode == 1;
    AutoRun = false;
    bool ok = false;
    int low = payload.LowBound();
    if (payload.HighBound() >= low + 1 && payload[low + 1].IsArray() && payload[low + 1].HighBound() >= payload[low + 1].LowBound()) {
        const Variant& inner = payload[low + 1];
        PushByName = inner[inner.LowBound()].ToBool();
        if (inner.HighBound() >= inner.LowBound() + 1) {
            const Variant& d = inner[inner.LowBound() + 1];
            if (d.IsArray()) {
                ok = PushByName ? CheckPushedNames(d[d.LowBound()]) : ApplyPositionalValues(d);
                AutoRun = ok && !mode0;
            }
        }
    }
    if (!TextsConverted()) ConvertTexts();
    if (mode > 2 && ok) RunByHostMode(mode);
    else if (AutoRun && btnOk) btnOk->Click();
}

void TfrmBaseGene::ReportMessage(const std::string& code) {
    if (ActiveControl() && ActiveControl() == btnCancel) return;
    MessageCodeList += code + "\r\n";
    TMsgDlgType type = TMsgDlgType::mtInformation;
    if (!code.empty()) {
        switch (code[0]) {
            case 'E': type = TMsgDlgType::mtError; break;
            case 'W': type = TMsgDlgType::mtWarning; break;
            case 'Q': case 'C': type = TMsgDlgType::mtConfirmation; break;
            default: break;
        }
    }
    ShowDialog(code, type, mbOK);
}

std::string TfrmBaseGene::GetMessageText(const std::string& type, const std::string& number) {
    try {
        if (HostApp.IsDispatch()) return HostApp.Call(remote::kGetMessage, {Variant(type), Variant(number)}).ToString();
    } catch (const std::exception&) {
    }
    return "Can not Get Message\rType= " + type + ", ID= " + number + " ";
}

std::string TfrmBaseGene::GetSystemSetting(const std::string& name) {
    if (name.empty()) {
        SysInfoCache.Clear();
        try {
            if (!CounterService.IsDispatch()) return "";
            std::vector<Variant> args{Variant(CompanyId)};
            Variant all = CounterService.Call(remote::kGetSysInfo, args);
            if (all.IsArray() && all.DimCount() == 2)
                for (int j = all.LowBound(2); j <= all.HighBound(2); ++j)
                    SysInfoCache.Add(all.At(all.LowBound(1), j).ToString() + "=" + all.At(all.LowBound(1) + 1, j).ToString());
        } catch (const std::exception&) {
            SysInfoCache.Clear();
        }
        return "";
    }
    std::string value = SysInfoCache.Values(name);
    if (!value.empty() && TextsConverted() && VelConverter) value = VelConverter->ConvertDataToScreen(Variant(value)).ToString();
    return value;
}

int TfrmBaseGene::GetDateTypeCode() {
    std::string v = TrimText(GetSystemSetting("Sys001"));
    CachedDateType = !v.empty() && v.size() < 3 && v.find_first_not_of("0123456789") == std::string::npos ? std::stoi(v) : 1;
    return CachedDateType;
}

std::string TfrmBaseGene::GetDateSeparator() {
    std::string v = GetSystemSetting("Sys002");
    CachedDateSeparator = v.empty() ? "/" : v;
    return CachedDateSeparator;
}

void TfrmBaseGene::ReportRawError(const std::string& text) {
    if (ActiveControl() && ActiveControl() == btnCancel) return;
    MessageTextList += text + "\r\n";
    ShowDialog(text, TMsgDlgType::mtError, mbOK);
}

}  // namespace vel
