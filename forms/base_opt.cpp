#include "forms/base_opt.h"
#include "forms/gene_condition.h"
#include "runtime/libstrs.h"
#include "platform/ui/combo.h"
#include "controls/bit_check_box.h"
#include "controls/vel_radio.h"
#include "controls/select_panel.h"

#include <chrono>
#include <unistd.h>

#include "module/remote_names.h"
#include "platform/system/inifile.h"
#include "platform/text/codepage.h"
#include "platform/ui/resource.h"

namespace vel {

VEL_DEFINE_FORM(TfrmBaseOpt,
    b.Field("grpGenTime", &TfrmBaseOpt::grpGenTime); b.Field("rdoRealTime", &TfrmBaseOpt::rdoRealTime);
    b.Field("rdoQueue", &TfrmBaseOpt::rdoQueue); b.Field("rdoExceptTime", &TfrmBaseOpt::rdoExceptTime);
    b.Field("pnlTime", &TfrmBaseOpt::pnlTime); b.Field("edDate", &TfrmBaseOpt::edDate);
    b.Field("edHour", &TfrmBaseOpt::edHour); b.Field("edMin", &TfrmBaseOpt::edMin); b.Field("edSec", &TfrmBaseOpt::edSec);
    b.Field("chkNotify", &TfrmBaseOpt::chkNotify); b.Field("btnNotify", &TfrmBaseOpt::btnNotify);
    b.Field("btnPeriod", &TfrmBaseOpt::btnPeriod); b.Field("btnSpd", &TfrmBaseOpt::btnSpd);
    b.Field("btnOK02", &TfrmBaseOpt::btnOK02); b.Field("pmOKExit", &TfrmBaseOpt::pmOKExit);
    b.Field("miOKExit", &TfrmBaseOpt::miOKExit); b.Field("miOKNoExit", &TfrmBaseOpt::miOKNoExit);
    b.Method<TNotifyEvent>("FormCreate", &TfrmBaseOpt::FormCreate);
    b.Method<TNotifyEvent>("btnOkClick", &TfrmBaseOpt::btnOkClick);
    b.Method<TNotifyEvent>("btnCancelClick", &TfrmBaseOpt::btnCancelClick);
    b.Method<TNotifyEvent>("btnSpdClick", &TfrmBaseOpt::btnSpdClick);
    b.Method<TNotifyEvent>("miOKExitClick", &TfrmBaseOpt::miOKExitClick);
    b.Method<TNotifyEvent>("miOKNoExitClick", &TfrmBaseOpt::miOKNoExitClick);
    b.Method<TNotifyEvent>("rdoQueueClick", &TfrmBaseOpt::rdoQueueClick);
    b.Method<TNotifyEvent>("rdoExceptTimeClick", &TfrmBaseOpt::rdoExceptTimeClick);
    b.Method<TNotifyEvent>("chkNotifyClick", &TfrmBaseOpt::chkNotifyClick))

static FormResource kBaseOptResource("TfrmBaseOpt", R"(
inherited frmBaseOpt: TfrmBaseOpt
  OnCreate = FormCreate
  inherited tsOption2: TTabSheet
    object grpGenTime: TGroupBox
      Left = 8
      Top = 41
      Width = 220
      Height = 115
      Caption = '生成时间'
      object rdoRealTime: TRadioButton
        Left = 5
        Top = 12
        Caption = '实时生成信息'
        Hint = '信息需要立即生成'
        OnClick = rdoQueueClick
      end
      object rdoQueue: TRadioButton
        Left = 5
        Top = 28
        Caption = '放入工作队列'
        Hint = '排入工作队列等候运行'
        Checked = True
        OnClick = rdoQueueClick
      end
      object rdoExceptTime: TRadioButton
        Left = 5
        Top = 43
        Caption = '在下列时间生成信息'
        Hint = '按设置时间生成报表'
        OnClick = rdoExceptTimeClick
      end
      object pnlTime: TPanel
        Left = 15
        Top = 60
        Width = 200
        Height = 50
        Enabled = False
        object edDate: TMaskEdit
          Left = 1
          Top = 1
          Hint = '[F2]日期快手'
        end
        object edHour: TVelSpinEdit
          Left = 1
          Top = 27
          Width = 35
          MaxValue = 23
          Text = '0'
        end
        object lalHour: TLabel
          Left = 36
          Top = 32
          Caption = '时'
        end
        object edMin: TVelSpinEdit
          Left = 64
          Top = 27
          Width = 35
          MaxValue = 59
          Text = '0'
        end
        object lblMin: TLabel
          Left = 100
          Top = 32
          Caption = '分'
        end
        object edSec: TVelSpinEdit
          Left = 130
          Top = 27
          Width = 35
          MaxValue = 59
          Text = '0'
        end
        object lblSec: TLabel
          Left = 165
          Top = 32
          Caption = '秒'
        end
      end
    end
    object chkNotify: TCheckBox
      Left = 10
      Top = 162
      Caption = '完成后通知'
      OnClick = chkNotifyClick
    end
    object btnNotify: TSpeedButton
      Left = 108
      Top = 156
      Hint = '选择需要通知的用户'
      Enabled = False
    end
  end
  inherited Panel1: TPanel
    object btnPeriod: TSpeedButton
      Left = 8
      Top = 9
      Caption = '周期性'
      Hint = '周期性工作设置'
      GroupIndex = 1
    end
    object btnSpd: TSpeedButton
      Width = 13
      OnClick = btnSpdClick
    end
    object btnOK02: TBitBtn
      Visible = False
    end
  end
  object pmOKExit: TPopupMenu
    object miOKExit: TMenuItem
      Caption = '处理后直接退出作业(&C)'
      OnClick = miOKExitClick
    end
    object miOKNoExit: TMenuItem
      Caption = '处理后并不退出作业(&B)'
      OnClick = miOKNoExitClick
    end
  end
end
)");

namespace {

// Days since 30 Dec 1899 for a civil date and time of day.
double ToDateValue(int y, unsigned m, unsigned d, int hour = 0, int minute = 0, int second = 0) {
    using namespace std::chrono;
    auto days = sys_days{year{y} / month{m} / day{d}}.time_since_epoch().count() + 25569;
    return static_cast<double>(days) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

double Now() {
    time_t t = std::time(nullptr);
    tm local{};
    localtime_r(&t, &local);
    return ToDateValue(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1), static_cast<unsigned>(local.tm_mday),
                       local.tm_hour, local.tm_min, local.tm_sec);
}

int ReadWholeNumber(const std::string& text, int low, int high) {
    std::string t = TrimText(text);
    if (t.empty() || t.size() > 4 || t.find_first_not_of("0123456789") != std::string::npos)
        throw Exception("not a time: " + text);
    int v = std::stoi(t);
    if (v < low || v > high) throw Exception("not a time: " + text);
    return v;
}

}  // namespace

TfrmBaseOpt::TfrmBaseOpt(TComponent* owner) : TfrmBaseGene(owner) {}

void TfrmBaseOpt::FormCreate(TComponent* sender) {
    TfrmBaseGene::FormCreate(sender);
    if (edDate) edDate->SetMaskedText("");
    SQLTypeAnswer = 0;
    ExitAfterOk = true;
}

void TfrmBaseOpt::DeclareFields() {
    TfrmBaseGene::DeclareFields();
    SetDateFields("edDate,meStartDate,meEndDate");
    EnvCount = 12;
    ServiceFlags = 4;
}

void TfrmBaseOpt::PrepareConnection() { ConnectionServerName = remote::kReportCounterClass; }

bool TfrmBaseOpt::InitializeForm(const Variant& params) {
    bool ok = TfrmBaseGene::InitializeForm(params);
    if (ok) {
        if (edDate) edDate->SetMaskedText("");
        try {
            if (AppServer.IsDispatch()) SQLTypeAnswer = AppServer.Call(remote::kSQLType).ToInt();
        } catch (const std::exception&) {
            SQLTypeAnswer = 0;
        }
        LoadUserRights();
    }
    RecipientXml.clear();
    return ok;
}

void TfrmBaseOpt::LoadUserRights() {
    Variant rights;
    try {
        if (AppServer.IsDispatch())
            rights = AppServer.Call(remote::kGetPower, {Variant::Of({Variant(CompanyDb), Variant(UserId), Variant(ProgramId), Variant("")})});
    } catch (const std::exception& e) {
        ReportRawError(e.what());
    }
    ApplyRights(rights);
}

void TfrmBaseOpt::AfterRightsLoaded() {
    TfrmBaseGene::AfterRightsLoaded();
    CollectSchemeProperties();
    // Nothing a scheme could keep: no scheme panel.
    if (pnlCondition && TrimText(SchemeProperties).empty()) pnlCondition->SetVisible(false);
}

void TfrmBaseOpt::HandleF2(uint16_t key, TWinControl* control) {
    TfrmBaseGene::HandleF2(key, control);
    if (!control) return;
    const std::string& name = control->Name();
    if (name != "edDate" && name != "meStartDate" && name != "meEndDate") return;
    std::string picked = PickDate(control->Caption(), true);
    if (picked.empty()) return;
    if (auto* mask = dynamic_cast<TMaskEdit*>(control)) mask->SetMaskedText(picked);
    else control->SetCaption(picked);
}

void TfrmBaseOpt::SaveSchemeFromDialog() {
    // The framework's own date fields (print date, generation date, period dates) end the list.
    constexpr int kFrameworkDateFields = 4;
    Variant answer = RunSchemeSaveDialog(*this, DateFields, kFrameworkDateFields);
    std::string name = answer.IsArray() ? answer[answer.LowBound()].ToString() : "";
    if (name.empty()) return;
    SaveScheme(SchemeProperties, name, answer[answer.LowBound() + 2].ToBool());
    RefreshSchemeList();
}

namespace {

// The entry suffix a control's class keeps in a scheme; empty for classes schemes skip.
const char* SchemeSuffix(TControl* c) {
    if (dynamic_cast<TMemo*>(c)) return "";
    if (dynamic_cast<TSelectPanel*>(c)) return ".style;";
    if (dynamic_cast<TCustomEdit*>(c)) return ".text;";
    if (dynamic_cast<TCustomComboBox*>(c) || dynamic_cast<TVelRadioGroup*>(c)) return ".itemindex;";
    if (dynamic_cast<TCheckBox*>(c) || dynamic_cast<TBitCheckBox*>(c) || dynamic_cast<TRadioButton*>(c) ||
        dynamic_cast<TVelRadioButton*>(c))
        return ".checked;";
    return "";
}

bool LiesOn(TControl* c, TControl* page) {
    for (TControl* p = c; p; p = p->Parent())
        if (p == page) return true;
    return false;
}

}  // namespace

void TfrmBaseOpt::CollectSchemeProperties() {
    SchemeProperties.clear();
    if (!pgOption) return;
    TControl* periodPage = dynamic_cast<TControl*>(FindComponent("tsPeriodOption"));
    for (int i = 0; i < pgOption->PageCount(); ++i) {
        TTabSheet* page = pgOption->Pages(i);
        if (!page || page == tsOption2 || (periodPage && page == periodPage)) continue;
        for (TWinControl* c : page->TabOrderList()) {
            // Inner controls of a compound control (a selection panel's edits) belong to it,
            // not to the form, and could not be found by name again.
            if (c->Owner() != this || TrimText(c->Name()).empty()) continue;
            if (LiesOn(c, tsOption2) || (periodPage && LiesOn(c, periodPage))) continue;
            std::string suffix = SchemeSuffix(c);
            if (!suffix.empty()) SchemeProperties += c->Name() + suffix;
        }
    }
}

bool TfrmBaseOpt::PackEnvSettings(Variant& env, int count) {
    if (!TfrmBaseGene::PackEnvSettings(env, count)) return false;
    if (PeriodDown()) {
        std::string kind = env[9].ToString();
        for (auto& c : kind) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        env[9] = Variant(kind);
    }
    env[11] = Variant::FromDate(Now());
    GenerationMode = rdoQueue && rdoQueue->Checked() ? 0 : rdoRealTime && rdoRealTime->Checked() ? 1 : 2;
    env[10] = Variant(GenerationMode);
    if (GenerationMode == 2) {
        try {
            std::string ymd = NormalizeDate(edDate ? edDate->EditText() : "");
            double day = YmdToDate(ymd);
            if (day == 0) throw Exception("not a date");
            int hour = ReadWholeNumber(edHour ? edHour->Caption() : "0", 0, 23);
            int minute = ReadWholeNumber(edMin ? edMin->Caption() : "0", 0, 59);
            int second = ReadWholeNumber(edSec ? edSec->Caption() : "0", 0, 59);
            env[11] = Variant::FromDate(day + (hour * 3600 + minute * 60 + second) / 86400.0);
        } catch (const std::exception&) {
            env[10] = Variant(0);
            ReportMessage("E;000005;" + GetMessageText("I", "000009") + GetMessageText("I", "000010"));
            return false;
        }
    }
    env[12] = Variant(chkNotify && chkNotify->Checked() ? RecipientXml : std::string());
    return true;
}

void TfrmBaseOpt::btnOkClick(TComponent*) {
    if (!BuildParameters()) return;
    Parameters = VarCodePageToWide(Parameters, kCodePageGB);
    std::string reference;
    try {
        if (!AppServer.IsDispatch()) throw Exception("no application server");
        reference = AppServer.Call(remote::kRequest, {Parameters}).ToString();
    } catch (const std::exception&) {
        reference = "ERROR";
    }
    if (!SameText(reference, "ERROR")) {
        ReportMessage((Interactive ? "I;000004;" : "I;-000004;") + reference);
        ResultCode = 1;
        ResultData = Variant(reference);
        if (ExitAfterOk) Close();
        return;
    }
    std::string description;
    try {
        description = AppServer.IsDispatch() ? AppServer.Call(remote::kErrorDescript).ToString() : "";
    } catch (const std::exception& e) {
        description = e.what();
    }
    ReportMessage("E;000013;" + description);
}

void TfrmBaseOpt::btnCancelClick(TComponent* sender) {
    TfrmBaseGene::btnCancelClick(sender);
    ResultCode = 2;
}

void TfrmBaseOpt::btnSpdClick(TComponent*) {
    // The menu opens at the bottom-left corner of OK; the person then picks an item.
    if (pmOKExit) Presenter().ShellOpen("popup", pmOKExit->Name());
}

void TfrmBaseOpt::miOKExitClick(TComponent*) {
    ExitAfterOk = true;
    if (btnOk && btnOK02) btnOk->Glyph().Assign(btnOK02->Glyph());
    if (btnOk) btnOk->Click();
}

void TfrmBaseOpt::miOKNoExitClick(TComponent*) {
    ExitAfterOk = false;
    if (btnOk && btnOK02) btnOk->Glyph().Assign(btnOK02->Glyph());
    if (btnOk) btnOk->Click();
}

void TfrmBaseOpt::rdoQueueClick(TComponent*) {
    if (pnlTime) pnlTime->SetEnabled(false);
    GenerationTimeFields.clear();
    RebuildRequiredFields();
}

void TfrmBaseOpt::rdoExceptTimeClick(TComponent*) {
    if (pnlTime) pnlTime->SetEnabled(true);
    GenerationTimeFields = "edDate";
    RebuildRequiredFields();
}

void TfrmBaseOpt::SetRequiredFields(const std::string& list) {
    DerivedRequiredFields = TrimText(list);
    RebuildRequiredFields();
}

void TfrmBaseOpt::RebuildRequiredFields() {
    std::string merged = DerivedRequiredFields;
    if (!GenerationTimeFields.empty()) merged += (merged.empty() ? "" : ",") + GenerationTimeFields;
    TfrmBaseGene::SetRequiredFields(merged);
}

void TfrmBaseOpt::chkNotifyClick(TComponent*) {
    bool ticked = chkNotify && chkNotify->Checked();
    if (btnNotify) btnNotify->SetEnabled(ticked);
    if (ticked && RecipientXml.empty()) RecipientXml = DefaultRecipientXml();
}

std::string TfrmBaseOpt::DefaultRecipientXml() const {
    return "<?xml version=\"1.0\" encoding=\"GB2312\"?><Root><R1 ID=\"" + UserId +
           "\" Name=\"\" Type=\"5\" Msg=\"YNN\"/></Root>";
}

std::string TfrmBaseOpt::LocalComputerName() {
    char buf[16] = {};
    if (::gethostname(buf, sizeof buf - 1) != 0 || !buf[0]) return "Unknown";
    return buf;
}

}  // namespace vel
