// Lookups of the generic form: the request to the host's lookup window, the panel lookup
// that puts the answer into a selection panel, and the date picker.
#include <ctime>

#include "controls/select_panel.h"
#include "forms/base_gene.h"
#include "module/remote_names.h"
#include "platform/system/inifile.h"
#include "runtime/libstrs.h"

namespace vel {
namespace {

constexpr const char* kPanelOnlyDefault =
    "同学, 你吗帮帮忙, 这个 Procedure 是专门给TSelectPanel元件用的!";


bool Nothing(const Variant& v) { return v.IsEmpty() || v.IsNull(); }

}  // namespace

void TfrmBaseGene::BuildLookupRightsText() {
    // Element 4 of the rights record, chr(3), the count n of element 5, chr(3), then its n
    // values each followed by chr(3).
    LookupRightsText.clear();
    const Variant& r = RightsRecord;
    if (!r.IsArray() || r.DimCount() != 1) return;
    try {
        const char sep = '\x03';
        int low = r.LowBound();
        std::string text = r.HighBound() >= low + 4 && !r[low + 4].IsArray() ? r[low + 4].ToString() : "";
        text += sep;
        if (r.HighBound() >= low + 5 && r[low + 5].IsArray() && r[low + 5].HighBound() >= r[low + 5].LowBound()) {
            const Variant& counted = r[low + 5];
            int first = counted.LowBound();
            int n = counted[first].ToInt();
            text += std::to_string(n) + sep;
            for (int i = 1; i <= n && first + i <= counted.HighBound(); ++i) text += counted[first + i].ToString() + sep;
        } else {
            text += "0";
            text += sep;
        }
        LookupRightsText = text;
    } catch (const std::exception&) {
        LookupRightsText.clear();  // a malformed record gives the lookup window no extra rights
    }
}

Variant TfrmBaseGene::LookupWindow(const std::string& kind, const std::string& variant, const Variant& params,
                                   bool multiple, const std::string& typed) {
    if (!LookupService.IsDispatch()) return Variant();
    TCodeConverter* converter = VelConverter;
    Variant request = Variant::Array(0, 18);
    request[0] = Variant(kind);
    request[1] = Variant(variant);
    request[2] = converter ? converter->ConvertScreenToData(params) : params;
    request[3] = Variant(multiple);
    request[4] = converter ? converter->ConvertScreenToData(Variant(typed)) : Variant(typed);
    request[5] = Variant(CompanyId);
    request[6] = Variant(CompanyDb);
    request[7] = Variant(static_cast<int32_t>(Handle()));
    request[8] = Variant(1);
    request[9] = Variant(false);
    request[10] = Variant(0);
    request[11] = Variant(std::string());
    request[12] = Variant(std::string());
    request[13] = Variant(std::string());
    request[14] = Variant(LookupRightsText);
    request[15] = Variant(LookupFlagRows);
    request[16] = Variant(LookupFlagColumns);
    request[17] = HostApp;
    request[18] = Variant(UserId);
    Variant answer = LookupService.Call(remote::kF2GetData, {request});
    if (TextsConverted() && converter) answer = converter->ConvertDataToScreen(answer);
    return answer;
}

void TfrmBaseGene::PanelLookup(TWinControl* control, const std::string& kind, const std::string& variant,
                               bool allColumns, const std::string& typed, const Variant& params) {
    auto* panel = control ? dynamic_cast<TSelectPanel*>(control->Owner()) : nullptr;
    if (!panel) {
        Messages().ShowMessageDialog(LangText("TfrmBaseGene", "sBBM", CN(kPanelOnlyDefault)), TMsgDlgType::mtError, mbOK);
        return;
    }
    if (control == panel->ListControl()) {
        Variant answer = LookupWindow(kind, variant, params, true, typed);
        if (answer.IsArray()) panel->AddLookupRows(answer, allColumns);
        return;
    }
    if (control != panel->BeginEdit() && control != panel->FinalEdit()) return;
    Variant answer = LookupWindow(kind, variant, params, false, typed);
    if (Nothing(answer)) return;
    std::string text;
    if (answer.IsArray() && answer.DimCount() == 1 && answer.HighBound() >= answer.LowBound()) {
        const Variant& first = answer[answer.LowBound()];
        if (panel->UseDiscard()) text = panel->JoinLookupRow(first.IsArray() ? first : answer, allColumns);
        else text = first.IsArray() ? (first.HighBound() >= first.LowBound() ? first[first.LowBound()].ToString() : "")
                                    : first.ToString();
    } else if (!answer.IsArray()) {
        text = answer.ToString();
    } else {
        return;
    }
    control->SetCaption(text);
}

std::string TfrmBaseGene::PickDate(const std::string& text, bool asDate) {
    if (!LookupService.IsDispatch()) return "";
    std::string start = text.size() == 8 ? text : TodayYmd();
    Variant request = Variant::Of({Variant(CachedDateType > 3), Variant(start), Variant(CompanyDb)});
    std::string answer = TrimText(LookupService.Call(remote::kShowInputDay, {request}).ToString());
    if (answer.empty()) return text;
    double date = YmdToDate(answer);
    if (date == 0) return text;  // not a date: keep what the field held
    return asDate ? FormatDisplayDate(CachedDateType, CachedDateSeparator, date)
                  : FormatDisplayYearMonth(CachedDateType, CachedDateSeparator, date);
}

void TfrmBaseGene::HandleF2(uint16_t, TWinControl* control) {
    if (control && control->CanFocus()) control->SetFocus();
    if (control && control == edPrintDate) {
        std::string picked = PickDate(edPrintDate->EditText(), true);
        if (!picked.empty()) edPrintDate->SetMaskedText(picked);
    }
}

}  // namespace vel
