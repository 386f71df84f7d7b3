// Condition input helpers of the generic form: date and year-month fields checked when
// left, required fields coloured and checked before a run button acts, and the small
// calls to the host services wrapped with the form's code-page conversion.
#include <chrono>
#include <sstream>

#include "controls/selection_panel_api.h"
#include "forms/base_gene.h"
#include "module/remote_names.h"
#include "platform/system/inifile.h"
#include "platform/text/codepage.h"

namespace vel {
namespace {

std::vector<std::string> SplitList(const std::string& list, char separator) {
    std::vector<std::string> items;
    std::string item;
    std::istringstream in(list);
    while (std::getline(in, item, separator)) items.push_back(item);
    return items;
}

bool InList(const std::string& list, const std::string& name) {
    return !name.empty() && list.find(name) != std::string::npos;
}

// A stored date yyyymmdd between 17530101 and 99991231 that the calendar knows.
bool ValidStoredDate(const std::string& text) {
    if (text.empty()) return true;
    if (text.size() != 8 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    if (text < "17530101" || text > "99991231") return false;
    using namespace std::chrono;
    year_month_day ymd{year{std::stoi(text.substr(0, 4))}, month{static_cast<unsigned>(std::stoi(text.substr(4, 2)))},
                       day{static_cast<unsigned>(std::stoi(text.substr(6, 2)))}};
    return ymd.ok();
}

// Required-list item "name;flag;part".
struct RequiredItem {
    std::string name;
    bool checked = true;
    int part = 0;
};

RequiredItem ParseRequiredItem(const std::string& text) {
    std::vector<std::string> fields = SplitList(text, ';');
    RequiredItem item;
    item.name = fields.empty() ? "" : TrimText(fields[0]);
    if (fields.size() > 1) {
        std::string flag = TrimText(fields[1]);
        bool number = !flag.empty() && flag.find_first_not_of("-0123456789") == std::string::npos;
        if (SameText(flag, "N") || number) item.checked = false;
    }
    if (fields.size() > 2) {
        std::string part = TrimText(fields[2]);
        if (part.size() == 1 && part[0] >= '0' && part[0] <= '3') item.part = part[0] - '0';
    }
    return item;
}

// What an empty control shows: the literals of a mask that keeps them, else nothing.
std::string EmptyShownText(TComponent& c) {
    if (auto* mask = dynamic_cast<TMaskEdit*>(&c); mask && mask->IsMasked() && mask->Mask().saveLiterals)
        return mask->Mask().EmptyText();
    return "";
}

bool IsBlank(TComponent* c) {
    if (!c || !IsPublishedProp(*c, "Text")) return false;
    return TrimText(GetPropValue(*c, "Text").ToString()) == TrimText(EmptyShownText(*c));
}

ISelectionPanel* AsPanel(TComponent* c) { return dynamic_cast<ISelectionPanel*>(c); }

// The panel a control belongs to, or the control itself.
TComponent* PanelOrSelf(TControl* control) {
    if (control && control->Parent() && AsPanel(control->Parent())) return control->Parent();
    return control;
}

}  // namespace

void TfrmBaseGene::HookFieldList(const std::string& list) {
    std::any enter = GetEventProp(*this, "OnDateFieldEnter");
    std::any exit = GetEventProp(*this, "OnDateFieldExit");
    for (const std::string& raw : SplitList(list, ',')) {
        std::string name = TrimText(raw);
        TComponent* c = FindComponent(name);
        if (!c) continue;
        if (IsPublishedProp(*c, "OnEnter")) {
            SavedDateEvents.emplace(name + ".OnEnter", GetEventProp(*c, "OnEnter"));
            SetEventProp(*c, "OnEnter", enter);
        }
        if (IsPublishedProp(*c, "OnExit")) {
            SavedDateEvents.emplace(name + ".OnExit", GetEventProp(*c, "OnExit"));
            SetEventProp(*c, "OnExit", exit);
        }
        if (ISelectionPanel* panel = AsPanel(c)) panel->UseDateValues(CachedDateType, CachedDateSeparator);
    }
}

void TfrmBaseGene::UnhookFieldList(const std::string& list) {
    for (const std::string& raw : SplitList(list, ',')) {
        std::string name = TrimText(raw);
        TComponent* c = FindComponent(name);
        if (!c) continue;
        for (const char* event : {"OnEnter", "OnExit"}) {
            if (!IsPublishedProp(*c, event)) continue;
            auto saved = SavedDateEvents.find(name + "." + event);
            SetEventProp(*c, event, saved == SavedDateEvents.end() ? std::any() : saved->second);
        }
    }
}

void TfrmBaseGene::SetDateFields(const std::string& list) {
    std::string next = TrimText(list);
    if (next == DateFields) return;
    std::string old = DateFields;
    if (!old.empty()) UnhookFieldList(old);
    if (next.find("edPrintDate") == std::string::npos && !old.empty()) next += "," + old;
    DateFields = next;
    HookFieldList(DateFields);
}

void TfrmBaseGene::SetYearMonthFields(const std::string& list) {
    std::string next = TrimText(list);
    if (next == YearMonthFields) return;
    if (!YearMonthFields.empty()) UnhookFieldList(YearMonthFields);
    YearMonthFields = next;
    HookFieldList(YearMonthFields);
}

void TfrmBaseGene::DateFieldEnter(TComponent* sender) {
    CheckFailed = false;
    if (dynamic_cast<TWinControl*>(sender)) FieldCheck(sender, "OnEnter");
}

void TfrmBaseGene::DateFieldExit(TComponent* sender) {
    if (btnCancel && ActiveControl() == btnCancel) return;
    CheckFailed = false;
    FieldCheck(sender, "OnExit");
}

void TfrmBaseGene::FieldCheck(TComponent* control, const char* event) {
    bool entering = std::string(event) == "OnEnter";
    bool ok = true;
    if (InList(DateFields, control->Name())) ok = DateCheck(control, entering, false);
    else if (InList(YearMonthFields, control->Name())) ok = DateCheck(control, entering, true);
    CheckFailed = CheckFailed || !ok;
    if (CheckFailed) return;
    auto saved = SavedDateEvents.find(control->Name() + "." + event);
    if (saved != SavedDateEvents.end() && saved->second.has_value())
        if (const auto& handler = std::any_cast<const TNotifyEvent&>(saved->second)) handler(control);
}

bool TfrmBaseGene::DateCheck(TComponent* control, bool entering, bool yearMonth) {
    std::vector<TWinControl*> edits;
    if (ISelectionPanel* panel = AsPanel(control)) {
        if (entering) {
            panel->SetPanelEditMask(yearMonth ? YearMonthEditMask() : DateEditMask());
            return true;
        }
        edits = {panel->BeginEdit(), panel->FinalEdit()};
    } else if (auto* edit = dynamic_cast<TCustomEdit*>(control); edit && !dynamic_cast<TMemo*>(edit)) {
        edits = {edit};
    } else {
        std::string text = yearMonth ? FormText("sYMPramError", "判断年月的函数第一个参数错误, 只能传下列三种物件:")
                                     : FormText("sDatePramError", "判断日期的函数第一个参数错误, 只能传下列三种物件:");
        Presenter().MessageBox(text + "\r" + "TSelectPanel, TMaskedit, TEdit", Caption(), MB_OK);
        return false;
    }
    if (entering) {
        if (auto* mask = dynamic_cast<TMaskEdit*>(control)) mask->SetEditMask(yearMonth ? YearMonthEditMask() : DateEditMask());
        else if (auto* edit = dynamic_cast<TCustomEdit*>(control)) edit->SetCaption(yearMonth ? BlankYearMonthText() : BlankDateText());
        return true;
    }
    for (TWinControl* edit : edits) {
        if (!edit) continue;
        std::string text = edit->Caption();
        bool ok;
        if (yearMonth) {
            std::string t = TrimText(text);
            ok = t == CachedDateSeparator || ValidStoredDate(NormalizeYearMonth(t) + "01");
        } else {
            std::string d = NormalizeDate(text);
            ok = d.empty() || ValidStoredDate(d);
        }
        if (!ok) {
            ReportMessage("E;000005");
            if (edit->CanFocus()) edit->SetFocus();
            return false;
        }
    }
    return true;
}

void TfrmBaseGene::SetRequiredFields(const std::string& list) {
    std::string next = TrimText(list);
    static const char* kRunButtons[] = {"btnOk", "btnQuery", "btnDesign", "btnPeriod"};
    if (!RequiredFields.empty()) {
        RestoreColours(*this);
        for (const char* name : kRunButtons) {
            TComponent* button = FindComponent(name);
            auto saved = SavedButtonEvents.find(std::string(name) + ".OnClick");
            if (button && saved != SavedButtonEvents.end()) SetEventProp(*button, "OnClick", saved->second);
        }
    }
    RequiredFields = next;
    for (const std::string& raw : SplitList(next, ',')) {
        RequiredItem item = ParseRequiredItem(raw);
        TComponent* c = FindComponent(item.name);
        if (!c) continue;
        if (ISelectionPanel* panel = AsPanel(c)) {
            TWinControl* parts[] = {panel->BeginEdit(), panel->FinalEdit(), panel->ListControl()};
            for (int i = 0; i < 3; ++i)
                if (parts[i] && (item.part == 0 || item.part == i + 1)) parts[i]->SetColor(kRequiredColour);
        } else if (IsPublishedProp(*c, "Color")) {
            SetPropValue(*c, "Color", Variant(static_cast<int>(kRequiredColour)));
        }
    }
    std::any hook = GetEventProp(*this, "OnRequiredExit");
    for (const char* name : kRunButtons) {
        TComponent* button = FindComponent(name);
        if (!button || !IsPublishedProp(*button, "OnClick")) continue;
        SavedButtonEvents.emplace(std::string(name) + ".OnClick", GetEventProp(*button, "OnClick"));
        SetEventProp(*button, "OnClick", hook);
    }
}

void TfrmBaseGene::RequiredExit(TComponent* sender) {
    CheckFailed = false;
    TComponent* period = FindComponent("btnPeriod");
    bool periodDown = period && IsPublishedProp(*period, "Down") && GetPropValue(*period, "Down").ToInt() != 0;
    bool check = sender == btnOk || (period && periodDown) || sender == FindComponent("btnQuery") ||
                 sender == FindComponent("btnDesign");
    if (check) CheckFailed = CheckRequiredFields(RequiredFields);
    if (period && CheckFailed) {
        if (IsPublishedProp(*period, "Down")) SetPropValue(*period, "Down", Variant(false));
        return;
    }
    if (CheckFailed) return;
    auto saved = SavedButtonEvents.find(sender->Name() + ".OnClick");
    if (saved != SavedButtonEvents.end() && saved->second.has_value())
        if (const auto& handler = std::any_cast<const TNotifyEvent&>(saved->second)) handler(sender);
}

bool TfrmBaseGene::CheckRequiredFields(const std::string& list) {
    for (const std::string& raw : SplitList(list, ',')) {
        RequiredItem item = ParseRequiredItem(raw);
        if (!item.checked) continue;
        TComponent* c = FindComponent(item.name);
        if (!c) continue;
        bool missing;
        TWinControl* focus = dynamic_cast<TWinControl*>(c);
        if (ISelectionPanel* panel = AsPanel(c)) {
            if (panel->IsRangeMode()) {
                missing = IsBlank(panel->BeginEdit()) || IsBlank(panel->FinalEdit());
                focus = panel->BeginEdit();
            } else {
                missing = panel->ListRowCount() == 0;
                focus = panel->ListControl();
            }
        } else {
            missing = IsBlank(c);
        }
        if (!missing) continue;
        ReportMessage("E;000037");
        if (auto* control = dynamic_cast<TControl*>(c)) ShowPageOf(control);
        if (focus && focus->Enabled() && focus->CanFocus()) focus->SetFocus();
        return true;
    }
    return false;
}

void TfrmBaseGene::SnapshotColours(TWinControl& container) {
    for (TControl* child : container.ControlList()) {
        if (ISelectionPanel* panel = AsPanel(child)) {
            const char* names[] = {".edBegin", ".edFinal", ".ListBox"};
            TWinControl* parts[] = {panel->BeginEdit(), panel->FinalEdit(), panel->ListControl()};
            for (int i = 0; i < 3; ++i)
                if (parts[i]) ColourSnapshot.Add(child->Name() + names[i] + "=" + std::to_string(parts[i]->Color()));
        } else if (auto* win = dynamic_cast<TWinControl*>(child);
                   win && win->ControlCount() > 0 && !child->InheritsFrom("TVelSpinEdit")) {
            SnapshotColours(*win);
        } else if (!child->Name().empty() && IsPublishedProp(*child, "Color")) {
            ColourSnapshot.Add(child->Name() + "=" + std::to_string(child->Color()));
        }
    }
}

void TfrmBaseGene::RestoreColours(TWinControl& container) {
    auto restore = [this](TControl* control, const std::string& key) {
        std::string value = ColourSnapshot.Values(key);
        if (control && !value.empty()) control->SetColor(static_cast<TColor>(std::stol(value)));
    };
    for (TControl* child : container.ControlList()) {
        if (ISelectionPanel* panel = AsPanel(child)) {
            restore(panel->BeginEdit(), child->Name() + ".edBegin");
            restore(panel->FinalEdit(), child->Name() + ".edFinal");
            restore(panel->ListControl(), child->Name() + ".ListBox");
        } else if (auto* win = dynamic_cast<TWinControl*>(child);
                   win && win->ControlCount() > 0 && !child->InheritsFrom("TVelSpinEdit")) {
            RestoreColours(*win);
        } else if (!child->Name().empty()) {
            restore(child, child->Name());
        }
    }
}

void TfrmBaseGene::FireExitHandler(TControl* control) {
    CheckFailed = false;
    TComponent* target = PanelOrSelf(control);
    if (!target || !IsPublishedProp(*target, "OnExit")) return;
    std::any handler = GetEventProp(*target, "OnExit");
    if (handler.has_value())
        if (const auto& h = std::any_cast<const TNotifyEvent&>(handler)) h(target);
}

void TfrmBaseGene::FillPhrase(TControl* control) {
    if (!control || !LookupService.IsDispatch()) return;
    try {
        std::vector<Variant> args{Variant::Of({Variant(UserId)}), Variant::Of({Variant(CompanyDb)}), Variant(Handle())};
        Variant answer = LookupService.Call(remote::kGetPhrase, args);
        if (TextsConverted() && VelConverter) answer = VelConverter->ConvertDataToScreen(answer);
        std::string text = answer.ToString();
        if (!text.empty()) control->SetCaption(text);
    } catch (const std::exception&) {
        // No phrase: the control keeps its text.
    }
}

Variant TfrmBaseGene::GetCounter(const std::string& name, const Variant& value) {
    if (!CounterService.IsDispatch()) return Variant();
    std::string upper = name;
    for (auto& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::vector<Variant> args{Variant(upper), value, Variant::Of({Variant(CompanyId), Variant(CompanyDb)})};
    Variant answer = CounterService.Call(remote::kGetCounter, args);
    return TextsConverted() && VelConverter ? VelConverter->ConvertDataToScreen(answer) : answer;
}

bool TfrmBaseGene::QueryValidator(const std::string& table, const std::string& key, bool query, Variant& result,
                                  const Variant& keyValues) {
    if (!ValidatorService.IsDispatch()) return false;
    try {
        Variant values = VelConverter ? VelConverter->ConvertScreenToData(keyValues) : keyValues;
        std::vector<Variant> args{Variant(table), Variant(key), Variant(CompanyDb), values, Variant()};
        bool found = ValidatorService.Call(query ? remote::kQueryData : remote::kCheckValue, args).ToBool();
        result = TextsConverted() && VelConverter ? VelConverter->ConvertDataToScreen(args[4]) : args[4];
        return found;
    } catch (const std::exception&) {
        return false;
    }
}

bool TfrmBaseGene::CheckTableValue(const std::string& table, const std::string& key, const std::string& severity,
                                   int index, Variant& value, const Variant& keyValues) {
    if (btnCancel && ActiveControl() == btnCancel) return true;
    Variant answer;
    if (!keyValues.IsEmpty() && !keyValues.IsNull()) {
        if (!QueryValidator(table, key, true, answer, keyValues)) {
            std::string detail = GetMessageText("I", "000008");
            ReportMessage((severity == "E" ? "E;000001;" : "W;000004;") + detail);
            return false;
        }
    }
    value = Variant();
    if (answer.IsArray() && answer.DimCount() == 1)
        value = index >= answer.LowBound() && index <= answer.HighBound() ? answer[index] : answer;
    return true;
}

}  // namespace vel
