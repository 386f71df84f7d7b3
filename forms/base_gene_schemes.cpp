// Condition schemes: the user's named snapshots of the form's conditions, kept on the server
// per user and program. The property list names "component.property;" entries; the values
// text has one line per entry. Dates are stored as yyyymmdd after the relative-date rule.
#include <ctime>
#include <sstream>

#include "controls/select_panel.h"
#include "forms/base_gene.h"
#include "module/remote_names.h"
#include "platform/system/inifile.h"
#include "platform/system/sysinfo.h"
#include "platform/text/codepage.h"
#include "platform/ui/combo.h"
#include "runtime/libstrs.h"

namespace vel {
namespace {

constexpr char kSep = '\x03';
constexpr size_t kMaxSchemeName = 20;

std::vector<std::string> Fields(const std::string& text) {
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t p = text.find(kSep, start);
        out.push_back(text.substr(start, p == std::string::npos ? std::string::npos : p - start));
        if (p == std::string::npos) return out;
        start = p + 1;
    }
}

std::string Field(const std::vector<std::string>& f, size_t number) { return number >= 1 && number <= f.size() ? f[number - 1] : ""; }

// Splits "component.property" at its first dot; false when either side is empty.
bool SplitEntry(const std::string& entry, std::string& component, std::string& property) {
    size_t dot = entry.find('.');
    if (dot == std::string::npos) return false;
    component = TrimText(entry.substr(0, dot));
    property = TrimText(entry.substr(dot + 1));
    return !component.empty() && !property.empty();
}

// Cuts the next ";" entry off the list.
std::string NextEntry(std::string& list) {
    size_t p = list.find(';');
    std::string entry = list.substr(0, p);
    list = p == std::string::npos ? "" : list.substr(p + 1);
    return TrimText(entry);
}

// Cuts the next CR LF line off the values (a bare LF ends a line too).
std::string NextLine(std::string& values) {
    size_t p = values.find('\n');
    std::string line = values.substr(0, p);
    values = p == std::string::npos ? "" : values.substr(p + 1);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

bool InNameList(const std::string& list, const std::string& name) {
    std::istringstream in(list);
    std::string item;
    while (std::getline(in, item, ','))
        if (SameText(TrimText(item), name)) return true;
    return false;
}


// Characters, not bytes, of a text in the given code page.
size_t CharacterCount(const std::string& text, const std::string& codePage) {
    int cp = codePage == "950" ? 950 : codePage == "437" ? 437 : 936;
    std::string utf8;
    try {
        utf8 = CodePageToUtf8(text, cp);
    } catch (const std::exception&) {
        return text.size();
    }
    size_t count = 0;
    for (unsigned char c : utf8) count += (c & 0xC0) != 0x80;
    return count;
}

std::string NumberText(double value) {
    std::ostringstream out;
    out.precision(15);
    out << value;
    return out.str();
}

}  // namespace

std::string TfrmBaseGene::ToDataText(const std::string& text) const {
    return VelConverter ? VelConverter->ConvertScreenToData(Variant(text)).ToString() : text;
}

std::string TfrmBaseGene::ToScreenText(const std::string& text) const {
    return VelConverter ? VelConverter->ConvertDataToScreen(Variant(text)).ToString() : text;
}

bool TfrmBaseGene::IsDateField(const std::string& name) const { return InNameList(DateFields, name); }
bool TfrmBaseGene::IsYearMonthField(const std::string& name) const { return InNameList(YearMonthFields, name); }

std::string TfrmBaseGene::RelativeDateRecord(const std::string& name) const {
    for (int i = 0; i < RelativeDates.Count(); ++i) {
        std::vector<std::string> f = Fields(RelativeDates[i]);
        if (SameText(Field(f, 2), name)) return RelativeDates[i];
    }
    return "";
}

std::string TfrmBaseGene::ApplyRelativeRule(const std::string& text, const std::vector<std::string>& record,
                                            size_t flagField) const {
    std::string ymd = NormalizeDate(text);
    if (Field(record, flagField) != "Y" || TrimText(text).empty()) return ymd;
    std::string offset = Field(record, flagField + 1), unit = Field(record, flagField + 2);
    std::string mode = Field(record, flagField + 3), days = Field(record, flagField + 4);
    if (offset == "0" && mode == "0" && days == "0") return ymd;
    return ResolveRelativeDate(ymd, offset, unit, mode, days);
}

std::string TfrmBaseGene::SchemeValueOf(const std::string& entry) {
    std::string name, property;
    if (!SplitEntry(entry, name, property)) return "";
    TComponent* c = FindComponent(name);
    if (!c) return "";
    if (auto* panel = dynamic_cast<TSelectPanel*>(c)) {
        std::string saved = panel->PanelSavedText();
        if (!IsDateField(name)) return saved;
        // Date ranges keep the dates their relative-date rule gives.
        std::vector<std::string> parts = Fields(saved);
        std::string recordText = RelativeDateRecord(name);
        std::vector<std::string> record = Fields(recordText);
        bool hasRecord = !recordText.empty() && Field(record, 1) == "0";
        auto bound = [&](TWinControl* edit, size_t flagField) {
            return hasRecord && edit ? ApplyRelativeRule(edit->Caption(), record, flagField) : std::string();
        };
        size_t first = parts.size() >= 1 && parts[0] == "sp_Range" ? 1 : parts.size() >= 2 && parts[0] == "sp_UserChoice" && parts[1] == "True" ? 2 : 0;
        if (first == 0 || parts.size() < first + 2) return saved;
        parts[first] = bound(panel->BeginEdit(), 3);
        parts[first + 1] = bound(panel->FinalEdit(), 8);
        std::string out = parts[0];
        for (size_t i = 1; i < parts.size(); ++i) out += kSep + parts[i];
        return out;
    }
    PropertyRef ref = FindPropertyPath(*c, property);
    if (!ref) {
        if (auto* combo = dynamic_cast<TCustomComboBox*>(c)) return std::to_string(combo->ItemIndex());
        return "";
    }
    switch (ref.info->kind) {
        case PropKind::Integer: case PropKind::Set:
            return std::to_string(ref.info->get(*ref.object).ToInt());
        case PropKind::Char: {
            std::string ch = ref.info->get(*ref.object).ToString();
            return std::to_string(ch.empty() ? 0 : static_cast<unsigned char>(ch[0]));
        }
        case PropKind::Enumeration: return GetPropText(*c, property);
        case PropKind::Float: return NumberText(ref.info->get(*ref.object).ToDouble());
        case PropKind::String: {
            std::string text = ref.info->get(*ref.object).ToString();
            if (IsDateField(name)) {
                std::string record = RelativeDateRecord(name);
                std::vector<std::string> f = Fields(record);
                return record.empty() || Field(f, 1) == "0" ? "" : ApplyRelativeRule(text, f, 3);
            }
            if (IsYearMonthField(name)) return NormalizeYearMonth(text);
            return text;
        }
        default: return "";
    }
}

std::string TfrmBaseGene::BuildSchemeValues(const std::string& properties) {
    std::string list = properties, values;
    while (!TrimText(list).empty()) values += SchemeValueOf(NextEntry(list)) + "\r\n";
    return values;
}

bool TfrmBaseGene::SaveScheme(const std::string& properties, const std::string& name, bool replace) {
    try {
        if (!AppServer.IsDispatch()) throw Exception("no application server");
        Variant record = Variant::Array(0, 6);
        record[0] = Variant(ToDataText(name));
        record[1] = Variant(UserId);
        record[2] = Variant(TodayYmd());
        record[3] = Variant(ProgramId);
        record[4] = Variant(properties);
        record[5] = Variant(ToDataText(BuildSchemeValues(properties)));
        record[6] = Variant(replace);
        std::string reply = AppServer.Call(remote::kInsertConTable, {record}).ToString();
        if (!reply.empty()) throw Exception(reply);
        return true;
    } catch (const std::exception&) {
        return false;  // the caller's refresh shows what is stored
    }
}

bool TfrmBaseGene::ApplySchemeValue(TComponent* c, const std::string& name, const std::string& property,
                                    const std::string& value) {
    if (auto* panel = dynamic_cast<TSelectPanel*>(c)) {
        std::vector<std::string> f = Fields(value);
        const std::string& style = f[0];
        if (style == "sp_Range") {
            std::string begin = Field(f, 2), end = Field(f, 3);
            if (IsDateField(name)) {
                panel->SetPanelEditMask(DateEditMask());
                begin = DisplayDate(begin);
                end = DisplayDate(end);
            }
            panel->BeginEdit()->SetCaption(begin);
            panel->FinalEdit()->SetCaption(end);
        } else if (style == "sp_Discrete" || style == "sp_UserChoice") {
            // The panel reads its own saved text; a list it cannot read is a failed opening.
            if (!panel->RestorePanelSavedText(value)) throw Exception("parse spSaveValue error");
        }
        return true;
    }
    PropertyRef ref = FindPropertyPath(*c, property);
    if (!ref) {
        if (auto* combo = dynamic_cast<TCustomComboBox*>(c)) combo->SetItemIndex(std::stoi(value));
        return true;
    }
    switch (ref.info->kind) {
        case PropKind::Integer: case PropKind::Set:
            SetPropValue(*c, property, Variant(std::stoi(value)));
            return true;
        case PropKind::Char:
            SetPropValue(*c, property, Variant(std::string(1, static_cast<char>(std::stoi(value)))));
            return true;
        case PropKind::Enumeration:
            SetPropValue(*c, property, Variant(value));
            return true;
        case PropKind::Float:
            SetPropValue(*c, property, Variant(std::stod(value)));
            return true;
        case PropKind::String: {
            std::string text = value;
            if (IsDateField(name)) {
                if (IsPublishedProp(*c, "EditMask")) SetPropValue(*c, "EditMask", Variant(DateEditMask()));
                text = DisplayDate(value);
            } else if (IsYearMonthField(name)) {
                if (IsPublishedProp(*c, "EditMask")) SetPropValue(*c, "EditMask", Variant(YearMonthEditMask()));
                double date = value.empty() ? 0 : YmdToDate(value + "01");
                text = date == 0 ? "" : FormatDisplayYearMonth(CachedDateType, CachedDateSeparator, date);
            }
            SetPropValue(*c, property, Variant(text));
            return true;
        }
        default:
            return false;  // a kind schemes do not carry: stop here
    }
}

std::string TfrmBaseGene::DisplayDate(const std::string& ymd) const {
    double date = ymd.empty() ? 0 : YmdToDate(ymd);
    return date == 0 ? "" : FormatDisplayDate(CachedDateType, CachedDateSeparator, date);
}

bool TfrmBaseGene::LoadScheme(const std::string& properties, const std::string& values) {
    std::string list = properties, lines = values;
    try {
        while (!TrimText(list).empty()) {
            std::string entry = NextEntry(list);
            std::string value = NextLine(lines);
            std::string name, property;
            if (!SplitEntry(entry, name, property)) continue;
            TComponent* c = FindComponent(name);
            if (!c) continue;
            BeforeApplyValue(c, value);
            if (!ApplySchemeValue(c, name, property, value)) return true;
            AfterApplyValue(c, value);
        }
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

void TfrmBaseGene::DeclareSchemeFields() {
    if (!ClientDataSet1.FieldDefs.empty()) return;
    ClientDataSet1.ProviderName = remote::kSchemeProvider;
    ClientDataSet1.IndexFieldNames = "NCONDITION;CREATOR;PROGRAMME";
    for (const char* name : {"NCONDITION", "CREATOR", "PROGRAMME", "SCONDITION", "VCONDITION", "CREATE_DATE"})
        ClientDataSet1.FieldDefs.push_back(net::TFieldDef{name, "", true, nullptr, nullptr});
    ClientDataSet1.FindFieldDef("NCONDITION")->displayLabel = CN("方案名称");
    ClientDataSet1.FindFieldDef("CREATE_DATE")->displayLabel = CN("创建时间");
}

void TfrmBaseGene::ConvertDataSetLabels() {
    DeclareSchemeFields();
    TCodeConverter* converter = VelConverter;
    if (!converter) return;
    ClientDataSet1.DisableControls();
    for (net::TFieldDef& def : ClientDataSet1.FieldDefs) {
        def.displayLabel = converter->ConvertAuthoringToScreen(def.displayLabel.empty() ? def.name : def.displayLabel);
        if (!def.isText) continue;
        // Text fields show authored text in the screen's code page and store what is typed
        // back in the authoring one, unless the field has handlers of its own.
        if (!def.onGetText) def.onGetText = [converter](const std::string& t) { return converter->ConvertAuthoringToScreen(t); };
        if (!def.onSetText) def.onSetText = [converter](const std::string& t) { return converter->ConvertScreenToAuthoring(Variant(t)).ToString(); };
    }
    ClientDataSet1.EnableControls();
}

bool TfrmBaseGene::RefreshSchemeList() {
    if (!AppServer.IsDispatch() || !lstCondition) return false;
    TViewStyle style = lstCondition->ViewStyle();
    try {
        lstCondition->SetViewStyle(TViewStyle::vsList);
        lstCondition->ClearItems();
        AppServer.Call(remote::kLoadTable, {Variant::Of({Variant(UserId), Variant(ProgramId)})});
        DeclareSchemeFields();
        ClientDataSet1.SetAppServer(AppServer);
        ClientDataSet1.Close();
        ClientDataSet1.Open();
        for (ClientDataSet1.First(); !ClientDataSet1.Eof(); ClientDataSet1.Next()) {
            TListItem* item = lstCondition->AddItem(ToScreenText(ClientDataSet1.FieldByName("NCONDITION").AsString()));
            item->imageIndex = 0;
            item->subItems.Add(FormatShortDate(ClientDataSet1.FieldByName("CREATE_DATE").AsString()));
        }
        lstCondition->SetViewStyle(style);
        return true;
    } catch (const std::exception& e) {
        lstCondition->SetViewStyle(style);
        throw Exception(e.what());
    }
}

void TfrmBaseGene::btnInsertClick(TComponent*) {
    // Leaving the active control runs its check; a failed check stops the save.
    if (pnlCondition && pnlCondition->CanFocus()) pnlCondition->SetFocus();
    FireExitHandler(ActiveControl());
    if (CheckFailed) return;
    SaveSchemeFromDialog();
}

void TfrmBaseGene::btnOpenClick(TComponent*) {
    TListItem* item = lstCondition ? lstCondition->Selected() : nullptr;
    if (!item || !ClientDataSet1.Active()) return;
    if (!ClientDataSet1.FindKey({Variant(ToDataText(item->caption)), Variant(UserId), Variant(ProgramId)})) return;
    std::string properties = ToScreenText(ClientDataSet1.FieldByName("SCONDITION").AsString());
    std::string values = ToScreenText(ClientDataSet1.FieldByName("VCONDITION").AsString());
    if (!LoadScheme(properties, values)) Messages().ShowMessageByCode("R", "200235", {});
    AfterSchemeOpened();
}

void TfrmBaseGene::btnDeleteClick(TComponent*) {
    TListItem* item = lstCondition ? lstCondition->Selected() : nullptr;
    if (!item) return;
    std::string question = LangText("TfrmBaseGene", "sDeleteProj", CN("确实要删除此方案吗？")) + item->caption;
    if (Messages().ShowMessageDialog(question, TMsgDlgType::mtConfirmation, mbYes | mbNo) != mrYes) return;
    if (!AppServer.IsDispatch()) throw Exception("no application server");
    std::string reply = AppServer.Call(remote::kDeleteConTable,
                                       {Variant::Of({Variant(ToDataText(item->caption)), Variant(UserId), Variant(ProgramId)})})
                            .ToString();
    if (!reply.empty()) throw Exception(reply);
    RefreshSchemeList();
}

void TfrmBaseGene::lstConditionEdited(TComponent*, TListItem* item, std::string& text) {
    auto refuse = [&](const char* key, const char* authored) {
        Messages().ShowMessageDialog(LangText("TfrmBaseGene", key, CN(authored)), TMsgDlgType::mtError, mbOK);
        text = item->caption;
    };
    if (TrimText(text).empty()) return refuse("sProjNameEmpty", "方案名不可空白!");
    // Names are counted in characters of the screen's code page, not in bytes.
    if (CharacterCount(text, UICodePage()) > kMaxSchemeName) return refuse("sProjNameError", "方案名长度不可大于20!");
    for (int i = 0; i < lstCondition->ItemCount(); ++i) {
        TListItem* other = lstCondition->Item(i);
        if (other != item && other->caption == text) return refuse("sProjNameExist", "此方案名称已经存在！");
    }
    if (text == item->caption) return;
    if (!AppServer.IsDispatch()) throw Exception("no application server");
    std::string oldName = ToDataText(item->caption), newName = ToDataText(text);
    std::string reply = AppServer.Call(remote::kChangeConName,
                                       {Variant::Of({Variant(oldName), Variant(UserId), Variant(ProgramId)}),
                                        Variant::Of({Variant(newName), Variant(UserId), Variant(ProgramId)})})
                            .ToString();
    if (!reply.empty()) {
        Messages().ShowMessageDialog(LangText("TfrmBaseGene", "sFailedRename", CN("更改方案名失败!")), TMsgDlgType::mtError, mbOK);
        text = item->caption;
        throw Exception(reply);
    }
    if (ClientDataSet1.Active() && ClientDataSet1.FindKey({Variant(oldName), Variant(UserId), Variant(ProgramId)})) {
        ClientDataSet1.Edit();
        ClientDataSet1.FieldByName("NCONDITION").SetAsString(newName);
        ClientDataSet1.Post();
    }
}

void TfrmBaseGene::lstConditionDblClick(TComponent* sender) { btnOpenClick(sender); }

void TfrmBaseGene::SetSchemeViewStyle(int index) {
    static const TViewStyle styles[] = {TViewStyle::vsIcon, TViewStyle::vsSmallIcon, TViewStyle::vsList, TViewStyle::vsReport};
    index = ((index % 4) + 4) % 4;
    if (lstCondition) lstCondition->SetViewStyle(styles[index]);
    const char* items[] = {"N7", "N8", "N9", "N10"};
    for (int i = 0; i < 4; ++i)
        if (TComponent* item = FindComponent(items[i]); item && IsPublishedProp(*item, "Checked"))
            SetPropValue(*item, "Checked", Variant(i == index ? "True" : "False"));
}

void TfrmBaseGene::ToolButton1Click(TComponent* sender) {
    auto* button = dynamic_cast<TComponent*>(sender);
    int tag = button ? (button->Tag() + 1) % 4 : 0;
    if (button) button->SetTag(tag);
    static const char* handlers[] = {"ViewIconExecute", "ViewSmallIconExecute", "ViewListExecute", "ViewReportExecute"};
    std::any handler = MethodAddress(*this, handlers[tag]);
    if (handler.has_value()) std::any_cast<TNotifyEvent>(handler)(sender);
}

void TfrmBaseGene::ViewIconExecute(TComponent*) { SetSchemeViewStyle(0); }
void TfrmBaseGene::ViewSmallIconExecute(TComponent*) { SetSchemeViewStyle(1); }
void TfrmBaseGene::ViewListExecute(TComponent*) { SetSchemeViewStyle(2); }
void TfrmBaseGene::ViewReportExecute(TComponent*) { SetSchemeViewStyle(3); }

}  // namespace vel
