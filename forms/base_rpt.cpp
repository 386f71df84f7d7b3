#include "forms/base_rpt.h"

#include "platform/system/inifile.h"
#include "platform/text/codepage.h"
#include "platform/ui/resource.h"

namespace vel {

VEL_DEFINE_FORM(TfrmBaseRpt,
    b.Field("grpGenType", &TfrmBaseRpt::grpGenType); b.Field("chkView", &TfrmBaseRpt::chkView);
    b.Field("chkHTML", &TfrmBaseRpt::chkHTML); b.Field("chkDirectPrint", &TfrmBaseRpt::chkDirectPrint);
    b.Field("lblDateType", &TfrmBaseRpt::lblDateType); b.Field("cboDateType", &TfrmBaseRpt::cboDateType);
    b.Field("grpNote", &TfrmBaseRpt::grpNote); b.Field("edNoteID", &TfrmBaseRpt::edNoteID);
    b.Field("edNote1", &TfrmBaseRpt::edNote1); b.Field("edNote2", &TfrmBaseRpt::edNote2);
    b.Field("edNote3", &TfrmBaseRpt::edNote3); b.Field("chkNoteEPPrint", &TfrmBaseRpt::chkNoteEPPrint);
    b.Field("btnNote", &TfrmBaseRpt::btnNote); b.Field("grpSignIn", &TfrmBaseRpt::grpSignIn);
    b.Field("edSignInID", &TfrmBaseRpt::edSignInID); b.Field("edSignIn1", &TfrmBaseRpt::edSignIn1);
    b.Field("edSignIn2", &TfrmBaseRpt::edSignIn2); b.Field("edSignIn3", &TfrmBaseRpt::edSignIn3);
    b.Field("chkSignInEPPrint", &TfrmBaseRpt::chkSignInEPPrint); b.Field("btnSignIn", &TfrmBaseRpt::btnSignIn);
    b.Field("btnQuery", &TfrmBaseRpt::btnQuery); b.Field("btnDesign", &TfrmBaseRpt::btnDesign);
    b.Field("btnWebDesign", &TfrmBaseRpt::btnWebDesign);
    b.Method<TNotifyEvent>("FormCreate", &TfrmBaseRpt::FormCreate);
    b.Method<TNotifyEvent>("FormShow", &TfrmBaseRpt::FormShow);
    b.Method<TNotifyEvent>("chkViewClick", &TfrmBaseRpt::chkViewClick);
    b.Method<TNotifyEvent>("edNoteIDEnter", &TfrmBaseRpt::edNoteIDEnter);
    b.Method<TNotifyEvent>("edNoteIDExit", &TfrmBaseRpt::edNoteIDExit);
    b.Method<TNotifyEvent>("edSignInIDExit", &TfrmBaseRpt::edSignInIDExit);
    b.Method<TNotifyEvent>("btnPeriodClick", &TfrmBaseRpt::btnPeriodClick))

static FormResource kBaseRptResource("TfrmBaseRpt", R"(
inherited frmBaseRpt: TfrmBaseRpt
  OnCreate = FormCreate
  OnShow = FormShow
  inherited btnOk: TBitBtn
    Caption = '后台处理'
    Hint = '后台处理'
  end
  inherited btnPeriod: TSpeedButton
    OnClick = btnPeriodClick
  end
  inherited tsOption2: TTabSheet
    object grpGenType: TGroupBox
      Left = 242
      Top = 31
      Width = 146
      Height = 62
      Caption = '报表生成选项'
      Hint = '信息生成的类型'
      object chkView: TBitCheckBox
        Left = 8
        Top = 13
        Caption = '生成报表'
        Hint = '生成报表档'
        Checked = True
        OnClick = chkViewClick
      end
      object chkHTML: TBitCheckBox
        Left = 8
        Top = 28
        Caption = '可供网页浏览'
        Hint = '直接生成HTML'
        OnClick = chkViewClick
      end
      object chkDirectPrint: TBitCheckBox
        Left = 8
        Top = 43
        Caption = '直接打印'
        Enabled = False
        OnClick = chkViewClick
      end
    end
    object lblDateType: TLabel
      Left = 224
      Top = 9
      Caption = '日期类型'
      FocusControl = cboDateType
    end
    object cboDateType: TComboBox
      Left = 280
      Top = 5
      Style = csDropDownList
      Items.Strings = ('公历 YYYYMMDD' '公历 MMDDYYYY' '公历 DDMMYYYY' '民国年 YYMMDD' '民国年 YYYMMDD')
    end
    object grpNote: TGroupBox
      Left = 8
      Top = 152
      Width = 420
      Height = 99
      Caption = '页脚'
      object edNoteID: TEdit
        Left = 53
        Top = 12
        Width = 65
        MaxLength = 6
        Hint = '[F2]页脚信息查询'
        OnEnter = edNoteIDEnter
        OnExit = edNoteIDExit
      end
      object btnNote: TSpeedButton
        Hint = '页脚信息查询'
      end
      object chkNoteEPPrint: TBitCheckBox
        Left = 148
        Top = 15
        Width = 261
        Caption = '每页打印页脚'
      end
      object edNote1: TEdit
        Left = 53
        Top = 34
        Width = 365
        MaxLength = 255
      end
      object edNote2: TEdit
        Left = 53
        Top = 54
        Width = 365
        MaxLength = 255
      end
      object edNote3: TEdit
        Left = 53
        Top = 74
        Width = 365
        MaxLength = 255
      end
    end
    object grpSignIn: TGroupBox
      Left = 8
      Top = 256
      Width = 420
      Height = 99
      Caption = '签核'
      object edSignInID: TEdit
        Left = 53
        Top = 12
        Width = 65
        MaxLength = 6
        Hint = '[F2]签核信息查询'
        OnEnter = edNoteIDEnter
        OnExit = edSignInIDExit
      end
      object btnSignIn: TSpeedButton
        Hint = '签核信息查询'
      end
      object chkSignInEPPrint: TBitCheckBox
        Left = 148
        Top = 16
        Caption = '每页打印签核'
      end
      object edSignIn1: TEdit
        Left = 53
        Top = 34
        Width = 365
        MaxLength = 255
      end
      object edSignIn2: TEdit
        Left = 53
        Top = 54
        Width = 365
        MaxLength = 255
      end
      object edSignIn3: TEdit
        Left = 53
        Top = 74
        Width = 365
        MaxLength = 255
      end
    end
  end
  inherited Panel1: TPanel
    object btnQuery: TButton
      Caption = '直接查询'
      Hint = '直接查询'
    end
    object btnDesign: TButton
      Caption = '设计报表'
      Hint = '设计报表'
    end
    object btnWebDesign: TButton
      Caption = 'web报表'
      Hint = 'web报表'
    end
  end
end
)");

TfrmBaseRpt::TfrmBaseRpt(TComponent* owner) : TfrmBaseOpt(owner) {}

void TfrmBaseRpt::FormCreate(TComponent* sender) {
    TfrmBaseOpt::FormCreate(sender);
    ExtensionText.clear();
    LastCode.clear();
    if (btnWebDesign && btnPeriod) btnWebDesign->SetLeft(btnPeriod->Left() + btnPeriod->Width() + 15);
}

void TfrmBaseRpt::DeclareFields() {
    TfrmBaseOpt::DeclareFields();
    EnvCount = 14;
    BaseConditionCount = 4;
    ReportKind = "R";
    OutputFlags = 1;
    if (cboDateType) cboDateType->SetItemIndex(GetDateTypeCode() - 1);
    SetWidth(Width() + 80);
}

bool TfrmBaseRpt::InitializeForm(const Variant& params) {
    bool ok = TfrmBaseOpt::InitializeForm(params);
    if (ok) {
        try {
            LoadFooterDefaults();
            if (ReportKind == "F") {
                ConditionCount += 3;
                BaseConditionCount += 3;
                if (btnQuery) btnQuery->SetVisible(false);
            }
            if (GetSystemSetting("SYS026") == "2" && cboDateType) {
                auto& items = cboDateType->Items();
                int keep = cboDateType->ItemIndex();
                while (items.Count() > 3) items.Delete(items.Count() - 1);
                cboDateType->SetItemIndex(keep);
            }
            switch (UiConversionMode()) {
                case 0: DefaultFontName = CN("宋体"); break;
                case 4: DefaultFontName = "SimSun"; break;
                case 2: DefaultFontName = "MingLiU"; break;
                default: break;
            }
        } catch (const std::exception& e) {
            ReportRawError(e.what());
            ok = false;
        }
    }
    UpdateRunButtons();
    return ok;
}

void TfrmBaseRpt::UpdateRunButtons() {
    bool periodic = PeriodDown();
    if (btnQuery) btnQuery->SetEnabled(LocalServer && !periodic);
    if (btnDesign) btnDesign->SetEnabled(LocalServer && !periodic);
    if (btnWebDesign && periodic) btnWebDesign->SetEnabled(false);
    if (btnQuery && btnQuery->Enabled()) {
        Variant row;
        if (QueryValidator("ADMMB", "11", true, row, Variant::Of({Variant(ProgramId)})) && row.IsArray() &&
            row.HighBound() >= row.LowBound() + 3 && row[row.LowBound() + 3].ToString() == "Y")
            btnQuery->SetEnabled(false);
    }
}

void TfrmBaseRpt::LoadFooterDefaults() {
    if (btnNote) btnNote->SetEnabled(true);
    if (btnSignIn) btnSignIn->SetEnabled(true);
    Variant row;
    if (QueryValidator("CMSMT", "01", true, row, Variant::Of({Variant(ProgramId)})) && row.IsArray() &&
        row.HighBound() - row.LowBound() >= 11) {
        int o = row.LowBound();
        auto text = [&](int i) { return row[o + i].ToString(); };
        edNoteID->SetCaption(text(0));
        edNote1->SetCaption(text(3));
        edNote2->SetCaption(text(4));
        edNote3->SetCaption(text(5));
        if (btnNote) btnNote->SetEnabled(text(1) == "Y");
        edSignInID->SetCaption(text(6));
        edSignIn1->SetCaption(text(9));
        edSignIn2->SetCaption(text(10));
        edSignIn3->SetCaption(text(11));
        if (btnSignIn) btnSignIn->SetEnabled(text(7) == "Y");
    }
    bool noteLocked = btnNote && !btnNote->Enabled();
    for (TEdit* e : {edNoteID, edNote1, edNote2, edNote3})
        if (e) e->SetReadOnly(noteLocked);
    bool signLocked = btnSignIn && !btnSignIn->Enabled();
    for (TEdit* e : {edSignInID, edSignIn1, edSignIn2, edSignIn3})
        if (e) e->SetReadOnly(signLocked);
}

void TfrmBaseRpt::HandleF2(uint16_t key, TWinControl* control) {
    const bool signIn = control && control == edSignInID;
    if (!control || (control != edNoteID && !signIn)) {
        TfrmBaseOpt::HandleF2(key, control);
        return;
    }
    if (control->CanFocus()) control->SetFocus();
    Variant rows = LookupWindow("CMSMS", "01", Variant::Of({Variant(signIn ? "2" : "1")}), false, control->Caption());
    if (!rows.IsArray() || rows.DimCount() != 1 || rows.HighBound() < rows.LowBound()) return;
    const Variant& r = rows[rows.LowBound()];
    if (!r.IsArray() || r.DimCount() != 1 || r.HighBound() - r.LowBound() < 4) return;
    int low = r.LowBound();
    // The first row: its code, then its three lines.
    LastCode = r[low].ToString();
    control->SetCaption(LastCode);
    TEdit* lines[3] = {signIn ? edSignIn1 : edNote1, signIn ? edSignIn2 : edNote2, signIn ? edSignIn3 : edNote3};
    for (int i = 0; i < 3; ++i)
        if (lines[i]) lines[i]->SetCaption(r[low + 2 + i].ToString());
}

void TfrmBaseRpt::FormShow(TComponent* sender) {
    TfrmBaseGene::FormShow(sender);
    if (btnWebDesign) btnWebDesign->SetVisible(GetSystemSetting("SYS181") != "N");
}

void TfrmBaseRpt::chkViewClick(TComponent*) {
    int flags = (chkView && chkView->Checked() ? 1 : 0) | (chkHTML && chkHTML->Checked() ? 2 : 0) |
                (chkDirectPrint && chkDirectPrint->Checked() ? 4 : 0);
    if (flags) OutputFlags = static_cast<uint8_t>(flags);
    else ReportMessage("I;000005");
}

void TfrmBaseRpt::edNoteIDEnter(TComponent* sender) {
    if (auto* edit = dynamic_cast<TEdit*>(sender)) LastCode = edit->Text();
}

void TfrmBaseRpt::edNoteIDExit(TComponent*) {
    if (edNoteID && edNoteID->Text() != LastCode && !CheckCode(false) && edNoteID->CanFocus()) edNoteID->SetFocus();
}

void TfrmBaseRpt::edSignInIDExit(TComponent*) {
    if (edSignInID && edSignInID->Text() != LastCode && !CheckCode(true) && edSignInID->CanFocus()) edSignInID->SetFocus();
}

bool TfrmBaseRpt::CheckCode(bool signOff) {
    TEdit* code = signOff ? edSignInID : edNoteID;
    TEdit* lines[] = {signOff ? edSignIn1 : edNote1, signOff ? edSignIn2 : edNote2, signOff ? edSignIn3 : edNote3};
    if (!code) return true;
    std::string text = code->Text();
    code->SetCaption("");
    for (TEdit* l : lines) l->SetCaption("");
    if (TrimText(text).empty()) return true;
    Variant row;
    if (QueryValidator("CMSMS", "01", false, row, Variant::Of({Variant(signOff ? "2" : "1"), Variant(text)}))) {
        code->SetCaption(text);
        if (row.IsArray() && row.HighBound() - row.LowBound() >= 3)
            for (int i = 0; i < 3; ++i) lines[i]->SetCaption(row[row.LowBound() + 1 + i].ToString());
        return true;
    }
    ReportMessage("W;000004;" + GetMessageText("R", signOff ? "100236" : "100235"));
    return false;
}

void TfrmBaseRpt::btnPeriodClick(TComponent*) {
    bool periodic = PeriodDown();
    if (btnWebDesign) btnWebDesign->SetEnabled(!periodic);
    UpdateRunButtons();
}

bool TfrmBaseRpt::PackOptionTexts(Variant& texts, int ownCount) {
    if (!TfrmBaseOpt::PackOptionTexts(texts, ownCount)) return false;
    int a = ownCount;
    if (ReportKind == "F") {
        const char* keys[][2] = {{"sFont", "字型"}, {"sFontSize", "字型大小"}, {"sRepWidth", "报表可印宽度"}};
        for (int i = 0; i < 3; ++i) {
            Variant pair = Variant::Of({Variant(LangText("TfrmBaseRpt", keys[i][0], CN(keys[i][1]))), Variant("")});
            texts[a + 1 + i] = VelConverter ? VelConverter->ConvertDataToScreen(pair) : pair;
        }
        a += 3;
    }
    texts[a + 1] = Variant::Of({Variant(grpSignIn ? grpSignIn->Caption() : ""), Variant("grpSignIn")});
    texts[a + 2] = Variant::Of({Variant(grpNote ? grpNote->Caption() : ""), Variant("grpNote")});
    texts[a + 3] = Variant::Of({Variant(lblDateType ? lblDateType->Caption() : ""), Variant("cboDateType")});
    return true;
}

bool TfrmBaseRpt::PackOptionValues(Variant& values, int ownCount) {
    if (!TfrmBaseOpt::PackOptionValues(values, ownCount)) return false;
    int a = ownCount;
    if (ReportKind == "F") {
        values[a + 1] = Variant(DefaultFontName);
        values[a + 2] = Variant(FontSize);
        values[a + 3] = Variant(PrintableWidth);
        a += 3;
    }
    auto block = [](TBitCheckBox* every, TEdit* code, TEdit* l1, TEdit* l2, TEdit* l3) {
        return Variant::Of({Variant(every->Caption()), Variant(every->Checked()), Variant(code->Text()),
                            Variant(l1->Text()), Variant(l2->Text()), Variant(l3->Text())});
    };
    values[a + 1] = block(chkSignInEPPrint, edSignInID, edSignIn1, edSignIn2, edSignIn3);
    values[a + 2] = block(chkNoteEPPrint, edNoteID, edNote1, edNote2, edNote3);
    values[a + 3] = Variant::Of({Variant(cboDateType->ItemIndex() + 1), Variant(cboDateType->Text())});
    return true;
}

bool TfrmBaseRpt::PackEnvSettings(Variant& env, int count) {
    if (!TfrmBaseOpt::PackEnvSettings(env, count)) return false;
    env[13] = Variant(static_cast<int>(OutputFlags & 7));
    env[14] = Variant(ExtensionText);
    return true;
}

void TfrmBaseRpt::CollectSchemeProperties() {
    TfrmBaseOpt::CollectSchemeProperties();
    for (TGroupBox* group : {grpNote, grpSignIn}) {
        if (!group) continue;
        for (TControl* c : group->ControlList()) {
            if (dynamic_cast<TCustomEdit*>(c) && !dynamic_cast<TMemo*>(c)) SchemeProperties += c->Name() + ".text;";
            else if (dynamic_cast<TCheckBox*>(c) || dynamic_cast<TBitCheckBox*>(c)) SchemeProperties += c->Name() + ".checked;";
        }
    }
}

}  // namespace vel
