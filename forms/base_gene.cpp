#include "forms/base_gene.h"

#include "controls/f2_button.h"

#include <strings.h>

#include "platform/automation/dispatch.h"
#include "platform/system/inifile.h"
#include "controls/selection_panel_api.h"
#include "module/remote_names.h"
#include "platform/text/codepage.h"
#include "platform/ui/resource.h"

namespace vel {

VEL_DEFINE_FORM(TfrmBaseGene,
    b.Field("Panel1", &TfrmBaseGene::Panel1);
    b.Field("btnOk", &TfrmBaseGene::btnOk);
    b.Field("btnCancel", &TfrmBaseGene::btnCancel);
    b.Field("lblToday", &TfrmBaseGene::lblToday);
    b.Field("pgOption", &TfrmBaseGene::pgOption);
    b.Field("tsOption1", &TfrmBaseGene::tsOption1);
    b.Field("tsOption2", &TfrmBaseGene::tsOption2);
    b.Field("pnlCondition", &TfrmBaseGene::pnlCondition);
    b.Field("lstCondition", &TfrmBaseGene::lstCondition);
    b.Field("btnInsert", &TfrmBaseGene::btnInsert);
    b.Field("btnOpen", &TfrmBaseGene::btnOpen);
    b.Field("btnDelete", &TfrmBaseGene::btnDelete);
    b.Method<TNotifyEvent>("pgOptionChange", &TfrmBaseGene::pgOptionChange);
    b.Method<TTabChangingEvent>("pgOptionChanging", &TfrmBaseGene::pgOptionChanging);
    b.Method<TNotifyEvent>("tsOption2Show", &TfrmBaseGene::tsOption2Show);
    b.Field("edPrintDate", &TfrmBaseGene::edPrintDate);
    b.Field("btnPrintDate", &TfrmBaseGene::btnPrintDate);
    b.Method<TNotifyEvent>("FormCreate", &TfrmBaseGene::FormCreate);
    b.Method<TNotifyEvent>("FormShow", &TfrmBaseGene::FormShow);
    b.Method<TKeyEvent>("FormKeyDown", &TfrmBaseGene::FormKeyDown);
    b.Method<TKeyPressEvent>("FormKeyPress", &TfrmBaseGene::FormKeyPress);
    b.Method<TCloseEvent>("FormClose", &TfrmBaseGene::FormClose);
    b.Method<TNotifyEvent>("FormDestroy", &TfrmBaseGene::FormDestroy);
    b.Method<TNotifyEvent>("btnOkClick", &TfrmBaseGene::btnOkClick);
    b.Method<TNotifyEvent>("btnCancelClick", &TfrmBaseGene::btnCancelClick);
    b.Method<TNotifyEvent>("btnInsertClick", &TfrmBaseGene::btnInsertClick);
    b.Method<TNotifyEvent>("btnOpenClick", &TfrmBaseGene::btnOpenClick);
    b.Method<TNotifyEvent>("btnDeleteClick", &TfrmBaseGene::btnDeleteClick);
    b.Method<TLVEditedEvent>("lstConditionEdited", &TfrmBaseGene::lstConditionEdited);
    b.Method<TNotifyEvent>("lstConditionDblClick", &TfrmBaseGene::lstConditionDblClick);
    b.Method<TNotifyEvent>("ToolButton1Click", &TfrmBaseGene::ToolButton1Click);
    b.Method<TNotifyEvent>("ViewIconExecute", &TfrmBaseGene::ViewIconExecute);
    b.Method<TNotifyEvent>("ViewSmallIconExecute", &TfrmBaseGene::ViewSmallIconExecute);
    b.Method<TNotifyEvent>("ViewListExecute", &TfrmBaseGene::ViewListExecute);
    b.Method<TNotifyEvent>("ViewReportExecute", &TfrmBaseGene::ViewReportExecute);
    b.Method<TNotifyEvent>("DateFieldEnter", &TfrmBaseGene::DateFieldEnter);
    b.Method<TNotifyEvent>("DateFieldExit", &TfrmBaseGene::DateFieldExit);
    b.Method<TNotifyEvent>("RequiredExit", &TfrmBaseGene::RequiredExit);
    b.EventGetter<TNotifyEvent>("OnDateFieldEnter", [](TfrmBaseGene& f) { return std::any_cast<TNotifyEvent>(MethodAddress(f, "DateFieldEnter")); });
    b.EventGetter<TNotifyEvent>("OnDateFieldExit", [](TfrmBaseGene& f) { return std::any_cast<TNotifyEvent>(MethodAddress(f, "DateFieldExit")); });
    b.EventGetter<TNotifyEvent>("OnRequiredExit", [](TfrmBaseGene& f) { return std::any_cast<TNotifyEvent>(MethodAddress(f, "RequiredExit")); });
    b.Bool("WantLog", [](TfrmBaseGene& f) { return f.WantLog; }, [](TfrmBaseGene& f, bool v) { f.WantLog = v; });
    {
        // The parameter set as OK would pack it now ([E, T, V]; empty when packing refuses), for
        // hosts and tools that show what a run would send.
        PropInfo packed;
        packed.name = "PackedParameters";
        packed.kind = PropKind::String;
        packed.readOnly = true;
        packed.get = [](TPersistent& o) {
            auto& form = static_cast<TfrmBaseGene&>(o);
            return form.BuildParameters() ? form.Parameters : Variant();
        };
        ci->properties.push_back(std::move(packed));
    })

static FormResource kBaseGeneResource("TfrmBaseGene", R"(
inherited frmBaseGene: TfrmBaseGene
  Caption = 'frmBaseGene'
  Width = 509
  Height = 355
  Font.Height = -13
  Font.Name = '宋体'
  KeyPreview = True
  Position = poScreenCenter
  ActiveControl = pgOption
  OnClose = FormClose
  OnCreate = FormCreate
  OnShow = FormShow
  OnDestroy = FormDestroy
  OnKeyDown = FormKeyDown
  OnKeyPress = FormKeyPress
  object Panel1: TPanel
    Align = alBottom
    Height = 43
    BevelOuter = bvNone
    object btnOk: TBitBtn
      Left = 330
      Top = 9
      Caption = '确定'
      Hint = '确定'
      TabOrder = 0
      OnClick = btnOkClick
    end
    object btnCancel: TBitBtn
      Left = 418
      Top = 9
      Caption = '取消'
      Hint = '取消'
      Cancel = True
      ModalResult = 2
      TabOrder = 1
      OnClick = btnCancelClick
    end
  end
  object pnlCondition: TPanel
    Align = alLeft
    Width = 151
    BevelOuter = bvNone
    object lblCondition: TLabel
      Align = alTop
      Caption = ' 条件方案'
    end
    object ToolBar1: TToolBar
      Align = alTop
      Flat = True
      Images = ImageList1
      object btnInsert: TToolButton
        Caption = '保存(&S)'
        Hint = '保存'
        ImageIndex = 1
        OnClick = btnInsertClick
      end
      object btnOpen: TToolButton
        Caption = '开启(&O)'
        Hint = '开启'
        ImageIndex = 2
        OnClick = btnOpenClick
      end
      object btnDelete: TToolButton
        Caption = '删除(&D)'
        Hint = '删除'
        ImageIndex = 3
        OnClick = btnDeleteClick
      end
      object ToolButton1: TToolButton
        Caption = 'ViewIcon'
        DropdownMenu = mnList
        ImageIndex = 4
        Style = tbsDropDown
        OnClick = ToolButton1Click
      end
    end
    object lstCondition: TListView
      Align = alClient
      SortType = stText
      LargeImages = ImageList2
      SmallImages = ImageList1
      PopupMenu = muOperation
      OnEdited = lstConditionEdited
      OnDblClick = lstConditionDblClick
    end
  end
  object Splitter1: TSplitter
    Left = 151
  end
  object pgOption: TExtPageControl
    Align = alClient
    Hint = '请输入选项条件'
    OnChange = pgOptionChange
    OnChanging = pgOptionChanging
    object tsOption1: TTabSheet
      Caption = '基本选项'
    end
    object tsOption2: TTabSheet
      Caption = '系统选项'
      OnShow = tsOption2Show
      object lblToday: TDBLabel
        Left = 8
        Top = 12
        Caption = '制表日期'
        FocusControl = edPrintDate
        AutoAlign = True
        AutoCaption = True
        Gap = 4
        Pos = psLeft
      end
      object edPrintDate: TMaskEdit
        Left = 60
        Top = 8
        Width = 85
        Hint = '[F2]日期快手'
      end
      object btnPrintDate: TF2Button
        Hint = '日期快手'
        GlyphIndex = 9
        AutoAlign = True
        F2Control = edPrintDate
        Gap = 2
      end
    end
  end
  object ImageList1: TImageList
    Width = 18
    Height = 18
  end
  object ImageList2: TImageList
    Width = 24
    Height = 24
  end
  object muOperation: TPopupMenu
    object N2: TMenuItem
      Caption = '开启(&O)'
      OnClick = btnOpenClick
    end
    object N3: TMenuItem
      Caption = '删除(&D)'
      OnClick = btnDeleteClick
    end
  end
  object mnList: TPopupMenu
    object N7: TMenuItem
      Caption = '大型图标(&G)'
      Checked = True
      RadioItem = True
      OnClick = ViewIconExecute
    end
    object N8: TMenuItem
      Caption = '小型图标(&M)'
      RadioItem = True
      OnClick = ViewSmallIconExecute
    end
    object N9: TMenuItem
      Caption = '清单(&L)'
      RadioItem = True
      OnClick = ViewListExecute
    end
    object N10: TMenuItem
      Caption = '详细信息(&D)'
      RadioItem = True
      OnClick = ViewReportExecute
    end
  end
end
)");

// The message service reaches the host and the form through this.
class TfrmBaseGene::MessageHost : public IMessageHost {
public:
    explicit MessageHost(TfrmBaseGene& form) : form_(form) {}
    Variant HostApplication() override { return form_.HostApp; }
    Variant CounterObject() override { return form_.CounterService; }
    Variant ValidatorObject() override { return form_.ValidatorService; }
    std::string HostCompanyId() override { return form_.CompanyId; }
    std::string HostCompanyDb() override { return form_.CompanyDb; }
    TCodeConverter* Converter() override { return form_.VelConverter; }
    bool FormTextsConverted() override { return form_.TextsConverted(); }
    bool CancelIsActive() override {
        return form_.btnCancel && form_.ActiveControl() == form_.btnCancel;
    }
    TCustomForm& HostForm() override { return form_; }
    void SetWantLog(bool value) override { form_.WantLog = value; }

private:
    TfrmBaseGene& form_;
};

TfrmBaseGene::TfrmBaseGene(TComponent* owner)
    : TVelForm(owner), messageHost_(std::make_unique<MessageHost>(*this)),
      messages_(std::make_unique<TMessageService>(*messageHost_)) {}

TfrmBaseGene::~TfrmBaseGene() = default;

void TfrmBaseGene::FormCreate(TComponent* sender) {
    TVelForm::FormCreate(sender);
    VersionStamp = "870401-0.00.00";
    messages_->SetErrorFocusControl(this);
    ConvertDataSetLabels();
    CompanyId.clear();
    ProgramId.clear();
    ProgramName.clear();
    Interactive = true;
}

void TfrmBaseGene::FormShow(TComponent* sender) {
    TVelForm::FormShow(sender);
    SetCaption(Title + "[" + TitleSuffix + "]");
    if (pgOption && pgOption->PageCount() > 0) {
        pgOption->SetActivePageIndex(0);
        pgOptionChange(pgOption);
    }
    ConvertTexts();
    if (lstCondition) {
        lstCondition->Columns().clear();
        std::string name = LangText("TfrmBaseGene", "sProjectName", CN("方案名称"));
        std::string created = LangText("TfrmBaseGene", "sCreateTime", CN("创建时间"));
        lstCondition->AddColumn(name, static_cast<int>(name.size()) * 7 + 12).alignment = TAlignment::taRightJustify;
        lstCondition->AddColumn(created, static_cast<int>(created.size()) * 7 + 12);
    }
    try {
        RefreshSchemeList();
    } catch (const std::exception& e) {
        // The toolkit would show it; the form stays usable without its scheme list.
        Messages().ShowMessageDialog(e.what(), TMsgDlgType::mtError, mbOK);
    }
}

void TfrmBaseGene::pgOptionChange(TComponent*) {
    TTabSheet* page = pgOption ? pgOption->ActivePage() : nullptr;
    if (!page) return;
    // The enabled windowed control with the lowest tab order; a disabled one passes on.
    for (TWinControl* c : page->TabOrderList()) {
        if (c->Parent() != page) continue;
        if (!c->Enabled() || !c->Visible()) continue;
        TWinControl* target = c;
        if (auto* panel = dynamic_cast<ISelectionPanel*>(c))
            target = panel->IsRangeMode() ? panel->BeginEdit() : panel->ListControl();
        if (target && target->CanFocus() && Showing()) target->SetFocus();
        return;
    }
}

void TfrmBaseGene::pgOptionChanging(TComponent*, bool& allow) {
    messages_->SuppressDialogs = true;
    FireExitHandler(ActiveControl());
    messages_->SuppressDialogs = false;
    allow = !CheckFailed;
}

void TfrmBaseGene::tsOption2Show(TComponent*) {
    if (SystemPageLaid) return;
    SystemPageLaid = true;
    ArrangeLayout();
}

void TfrmBaseGene::ArrangeLayout() {
    if (tsOption2) {
        tsOption2->Font().Assign(Font());
        tsOption2->Font().SetSize(9);
    }
    if (Height() < 110) SetHeight(110);
    if (Width() < 315) SetWidth(315);
    if (lblToday) lblToday->SetBounds(8, 12, lblToday->Width(), lblToday->Height());
    if (edPrintDate) edPrintDate->SetBounds(60, 8, 85, edPrintDate->Height());
    if (btnPrintDate) btnPrintDate->AlignToControl();
}

bool TfrmBaseGene::MovePage(bool forward) {
    if (!pgOption) return false;
    int before = pgOption->ActivePageIndex();
    pgOption->SelectNextPage(forward);
    return pgOption->ActivePageIndex() != before;
}

void TfrmBaseGene::ShowPageOf(TControl* control) {
    for (TControl* c = control; c; c = c->Parent())
        if (auto* sheet = dynamic_cast<TTabSheet*>(c)) {
            if (pgOption && sheet->PageControl() == pgOption) pgOption->SetActivePage(sheet);
            return;
        }
}

void TfrmBaseGene::FormClose(TComponent*, TCloseAction& action) { action = TCloseAction::caFree; }

void TfrmBaseGene::FormDestroy(TComponent*) {
    DisconnectAppServer();
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
    BuildLookupRightsText();
    AfterRightsLoaded();
}

void TfrmBaseGene::SetProgramId(const std::string& id) {
    ProgramId = id;
    for (auto& c : ProgramId) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    ServerObjectName = ProgramId + remote::kProgramServerSuffix;
    Title = ProgramName = messages_->LoadProgramInfo(ProgramId);
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
    // A stand-alone program has no host to hand it the application object: it makes one.
    if (!IsLibraryModule() && !HostApp.IsDispatch()) {
        try {
            HostApp = CreateOleObject(remote::kStandAloneHostClass);
        } catch (const std::exception&) {
            HostApp = Variant();
        }
    }
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
        messages_->MessageCodeList.clear();
        messages_->MessageTextList.clear();
        if (edPrintDate) edPrintDate->SetMaskedText("");
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
        if (!ConnectAppServer()) {
            PostCloseRequest();
            return false;
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
    if (!TextsConverted()) {
        ConvertTexts();
        // A Big5 machine shows the title in Big5; a stand-alone run says it is one.
        if (SystemCodePage() == "950" && VelConverter) {
            Title = VelConverter->GBToBig5Text(Title);
            if (!IsLibraryModule()) Title += LangText("TfrmBaseGene", "sExeVer", CN("[您现在运行的是Exe版本!]"));
            SetCaption(Title + "[" + TitleSuffix + "]");
        }
    }
    if (mode > 2 && ok) RunByHostMode(mode);
    else if (AutoRun && btnOk) btnOk->Click();
}

int TfrmBaseGene::GetDateTypeCode() {
    CachedDateType = messages_->GetDateTypeCode();
    return CachedDateType;
}

std::string TfrmBaseGene::GetDateSeparator() {
    CachedDateSeparator = messages_->GetDateSeparator();
    return CachedDateSeparator;
}

}  // namespace vel
