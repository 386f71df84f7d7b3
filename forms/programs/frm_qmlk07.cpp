#include "forms/programs/frm_qmlk07.h"

#include "controls/selection_panel_api.h"
#include "platform/text/codepage.h"
#include "platform/ui/resource.h"

namespace vel {

VEL_DEFINE_FORM(TfrmQMLK07,
    b.Field("lbl01", &TfrmQMLK07::lbl01); b.Field("ed01", &TfrmQMLK07::ed01);
    b.Field("sp02", &TfrmQMLK07::sp02); b.Field("sp03", &TfrmQMLK07::sp03);
    b.Field("chk04", &TfrmQMLK07::chk04))

static FormResource kQMLK07Resource("TfrmQMLK07", R"(
inherited frmQMLK07: TfrmQMLK07
  Caption = 'frmQMLK07'
  Left = 135
  Top = 37
  Width = 547
  Height = 441
  inherited tsOption1: TTabSheet
    object lbl01: TLabel
      Left = 60
      Top = 34
      Caption = '选择年月'
      FocusControl = ed01
    end
    object ed01: TMaskEdit
      Left = 114
      Top = 30
      Width = 79
      Height = 21
      MaxLength = 6
      TabOrder = 0
    end
    object sp02: TSelectPanel
      Left = 58
      Top = 64
      Width = 203
      Height = 98
      Caption = '选择品号'
      TabOrder = 1
      Style = sp_UserChoice
      UserChoice = True
      ValueType = vt_String
      BeginWords.Strings = (
        '起'
        '起')
      FinalWords.Strings = (
        '止'
        '止')
      ChildHints.Strings = (
        '用户自定输入方式'
        '[F2]品号信息查询'
        '品号信息查询'
        '[F2]品号信息查询'
        '品号信息查询'
        '多选-己选择的信息'
        '多选-信息开窗'
        '多选-删除一笔信息'
        '多选-删除己选信息')
      GlyphIndex = 68
      OtherWidth = 394
      OtherHeight = 64
      HintWord = '区间选择'
      DateSign = '/'
      ColumnsAutoSize = True
      CanOpenWin = True
      ShowColumnHeader = False
      HideSelection = False
      UseDiscard = False
      UseVertical = False
    end
    object sp03: TSelectPanel
      Left = 58
      Top = 177
      Width = 150
      Height = 97
      Caption = '选择仓库'
      TabOrder = 2
      Style = sp_UserChoice
      UserChoice = True
      ValueType = vt_String
      BeginWords.Strings = (
        '起'
        '起')
      FinalWords.Strings = (
        '止'
        '止 ')
      ChildHints.Strings = (
        '用户自定输入方式'
        '[F2]仓库信息查询'
        '仓库信息查询'
        '[F2]仓库信息查询'
        '仓库信息查询'
        '[F2]仓库信息查询'
        '仓库信息查询'
        '多选-删除一笔信息'
        '多选-删除己选信息')
      GlyphIndex = 63
      OtherWidth = 353
      OtherHeight = 64
      HintWord = '区间选择'
      DateSign = '/'
      ColumnsAutoSize = True
      CanOpenWin = True
      ShowColumnHeader = False
      HideSelection = False
      UseDiscard = False
      UseVertical = False
    end
    object chk04: TBitCheckBox
      Left = 56
      Top = 296
      Width = 121
      Height = 17
      Caption = '仅打印有差异者'
      Checked = True
      TabOrder = 3
    end
  end
end
)");

TfrmQMLK07::TfrmQMLK07(TComponent* owner) : TfrmBaseRpt(owner) {}

bool TfrmQMLK07::InitializeForm(const Variant& params) {
    bool ok = TfrmBaseRpt::InitializeForm(params);
    if (!ok) return false;
    try {
        auto limit = [](TWinControl* panel, int length) {
            if (auto* p = dynamic_cast<ISelectionPanel*>(panel))
                for (TWinControl* edit : {p->BeginEdit(), p->FinalEdit()})
                    if (auto* e = dynamic_cast<TCustomEdit*>(edit)) e->SetMaxLength(length);
        };
        limit(sp02, 20);
        limit(sp03, 10);
        if (chk04) PageEndControls.push_back(chk04);
        return true;
    } catch (const std::exception& e) {
        ReportRawError(e.what());
        return false;
    }
}

void TfrmQMLK07::DeclareFields() {
    TfrmBaseRpt::DeclareFields();
    SetYearMonthFields("ed01");
    SetRequiredFields("ed01");
    SetConditionCount(4);
    ServerObjectName = ProgramId + "S.Class1";
}

bool TfrmQMLK07::PackOptionTexts(Variant& texts, int ownCount) {
    if (!TfrmBaseRpt::PackOptionTexts(texts, ownCount)) return false;
    try {
        auto pair = [](TControl* c, const char* name) {
            return Variant::Of({Variant(c ? c->Caption() : std::string()), Variant(name)});
        };
        texts[1] = pair(lbl01, "ed01");
        texts[2] = pair(sp02, "sp02");
        texts[3] = pair(sp03, "sp03");
        texts[4] = pair(chk04, "chk04");
        return true;
    } catch (const std::exception& e) {
        ReportRawError(e.what());
        return false;
    }
}

Variant TfrmQMLK07::PanelParameter(TWinControl* panel) {
    if (!panel) return Variant::Of({Variant(std::string(1, '\x04')), Variant(""), Variant("")});
    if (IsPublishedProp(*panel, "PanelValue")) return GetPropValue(*panel, "PanelValue");
    return Variant::Of({Variant(std::string(1, '\x04')), Variant(""), Variant("")});
}

bool TfrmQMLK07::PackOptionValues(Variant& values, int ownCount) {
    if (!TfrmBaseRpt::PackOptionValues(values, ownCount)) return false;
    try {
        std::string ym = NormalizeYearMonth(ed01 ? ed01->EditText() : "");
        if (ym.empty() || ym.size() != 6 || ym.find_first_not_of("0123456789") != std::string::npos) {
            ReportMessage("E;000003;" + (lbl01 ? lbl01->Caption() : CN("选择年月")));
            if (pgOption && tsOption1) pgOption->SetActivePage(tsOption1);
            if (ed01 && ed01->CanFocus()) ed01->SetFocus();
            return false;
        }
        values[1] = Variant(ym);
        values[2] = PanelParameter(sp02);
        values[3] = PanelParameter(sp03);
        values[4] = Variant(chk04 && chk04->Checked() ? "Y" : "N");
        return true;
    } catch (const std::exception& e) {
        ReportRawError(e.what());
        return false;
    }
}

void TfrmQMLK07::HandleF2(uint16_t key, TWinControl* control) {
    TfrmBaseRpt::HandleF2(key, control);
    if (!control) return;
    const char* table = nullptr;
    if (sp02 && control->Owner() == sp02) table = "INVMB";
    else if (sp03 && control->Owner() == sp03) table = "CMSMC";
    if (!table) return;
    PanelLookup(control, table, "01", false, control->Caption(), Variant::Of({Variant(std::string())}));
}

}  // namespace vel
