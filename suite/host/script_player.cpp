#include "suite/host/script_player.h"

#include "platform/ui/comctrls.h"

#include <map>
#include <sstream>

#include "platform/system/inifile.h"
#include "platform/text/codepage.h"
#include "platform/text/json.h"
#include "platform/ui/listview.h"
#include "platform/ui/stdctrls.h"

namespace velhost {
namespace {

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

// Splits "cmd NAME rest of line" into the command, the name and the rest.
void SplitCommand(const std::string& line, std::string& cmd, std::string& name, std::string& rest) {
    std::istringstream in(line);
    in >> cmd;
    in >> name;
    std::getline(in, rest);
    if (!rest.empty() && rest[0] == ' ') rest.erase(0, 1);
}

const std::map<std::string, int>& ButtonResults() {
    static const std::map<std::string, int> results = {
        {"ok", vel::mrOk}, {"cancel", vel::mrCancel}, {"yes", vel::mrYes}, {"no", vel::mrNo},
        {"abort", vel::mrAbort}, {"retry", vel::mrRetry}, {"ignore", vel::mrIgnore}};
    return results;
}

const char* ResultName(int result) {
    for (const auto& [name, value] : ButtonResults())
        if (value == result) return name.c_str();
    return "none";
}

}  // namespace

ScriptPlayer::ScriptPlayer(std::istream& script, std::ostream& out, HostAnswers& answers)
    : script_(script), out_(out), answers_(answers) {}

bool ScriptPlayer::ParseKey(const std::string& text, uint16_t& key, vel::TShiftState& shift) {
    static const std::map<std::string, uint16_t> keys = {
        {"tab", vel::VK_TAB}, {"enter", vel::VK_RETURN}, {"return", vel::VK_RETURN}, {"esc", vel::VK_ESCAPE},
        {"escape", vel::VK_ESCAPE}, {"space", vel::VK_SPACE}, {"pageup", vel::VK_PRIOR}, {"pagedown", vel::VK_NEXT},
        {"home", vel::VK_HOME}, {"end", vel::VK_END}, {"left", vel::VK_LEFT}, {"right", vel::VK_RIGHT},
        {"up", vel::VK_UP}, {"down", vel::VK_DOWN}, {"delete", vel::VK_DELETE}, {"backspace", vel::VK_BACK},
        {"f1", vel::VK_F1}, {"f2", vel::VK_F2}, {"f3", vel::VK_F3}, {"f4", vel::VK_F4}, {"f5", vel::VK_F5},
        {"f6", vel::VK_F6}, {"f7", vel::VK_F7}, {"f8", vel::VK_F8}, {"f9", vel::VK_F9}, {"f10", vel::VK_F10},
        {"f11", vel::VK_F11}, {"f12", vel::VK_F12}};
    shift = 0;
    key = 0;
    std::string lower;
    for (char c : text) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    size_t start = 0;
    while (true) {
        size_t plus = lower.find('+', start);
        std::string part = lower.substr(start, plus == std::string::npos ? std::string::npos : plus - start);
        if (plus == std::string::npos) {
            if (auto it = keys.find(part); it != keys.end()) key = it->second;
            else if (part.size() == 1 && std::isalnum(static_cast<unsigned char>(part[0])))
                key = static_cast<uint16_t>(std::toupper(static_cast<unsigned char>(part[0])));
            return key != 0;
        }
        if (part == "ctrl") shift |= vel::ssCtrl;
        else if (part == "shift") shift |= vel::ssShift;
        else if (part == "alt") shift |= vel::ssAlt;
        else return false;
        start = plus + 1;
    }
}

vel::TCustomForm* ScriptPlayer::ActiveForm() const {
    for (auto it = modalStack_.rbegin(); it != modalStack_.rend(); ++it)
        if (auto* form = dynamic_cast<vel::TCustomForm*>(vel::FindControl(*it))) return form;
    return dynamic_cast<vel::TCustomForm*>(vel::FindControl(mainForm_));
}

vel::TComponent* ScriptPlayer::Resolve(const std::string& name) const {
    vel::TCustomForm* form = ActiveForm();
    if (!form) throw vel::Exception("no form is open");
    std::string first = name.substr(0, name.find('.'));
    vel::TComponent* c = vel::SameText(first, form->Name()) ? form : form->FindComponent(first);
    if (!c) throw vel::Exception("no component " + first + " on " + form->Name());
    // Inner controls: "sp02.edBegin".
    size_t start = first.size();
    while (start < name.size()) {
        size_t dot = name.find('.', start + 1);
        std::string part = name.substr(start + 1, dot == std::string::npos ? std::string::npos : dot - start - 1);
        vel::TComponent* inner = c->FindComponent(part);
        if (!inner)
            if (auto* win = dynamic_cast<vel::TWinControl*>(c))
                for (vel::TControl* child : win->ControlList())
                    if (vel::SameText(child->Name(), part)) inner = child;
        if (!inner) throw vel::Exception("no component " + part + " in " + c->Name());
        c = inner;
        start = dot == std::string::npos ? name.size() : dot;
    }
    return c;
}

vel::TWinControl* ScriptPlayer::Focus(const std::string& name) {
    auto* control = dynamic_cast<vel::TWinControl*>(Resolve(name));
    if (!control) throw vel::Exception(name + " cannot take the focus");
    // As a person would, bring the control's pages to the front first (outermost first),
    // through the tabs, so the page-change checks run.
    std::vector<vel::TTabSheet*> sheets;
    for (vel::TControl* c = control; c; c = c->Parent())
        if (auto* sheet = dynamic_cast<vel::TTabSheet*>(c)) sheets.insert(sheets.begin(), sheet);
    for (vel::TTabSheet* sheet : sheets)
        vel::Application().PostCallback([sheet] {
            vel::TPageControl* pages = sheet->PageControl();
            if (pages && pages->ActivePage() != sheet && sheet->TabIndex() >= 0) pages->ClickTab(sheet->TabIndex());
        });
    vel::Application().PostFocus(*control);
    vel::Application().ProcessMessages();
    return control;
}

// What the control puts into the parameters: its element of the form's packed set when the
// form packs one and names the control there, else its panel value or its text.
vel::Variant ScriptPlayer::PackedValue(const std::string& name) {
    vel::TComponent* c = Resolve(name);
    vel::TComponent* form = c;
    while (form && !dynamic_cast<vel::TCustomForm*>(form)) form = form->Owner();
    if (form && vel::IsPublishedProp(*form, "PackedParameters")) {
        vel::Variant packed = vel::GetPropValue(*form, "PackedParameters");
        if (packed.IsArray() && packed.HighBound() >= 2 && packed[1].IsArray() && packed[2].IsArray()) {
            const vel::Variant& texts = packed[1];
            for (int i = texts.LowBound(); i <= texts.HighBound(); ++i) {
                const vel::Variant& t = texts[i];
                if (t.IsArray() && t.HighBound() >= t.LowBound() + 1 && vel::SameText(t[t.LowBound() + 1].ToString(), c->Name()) &&
                    i <= packed[2].HighBound())
                    return packed[2][i];
            }
        }
    }
    if (vel::IsPublishedProp(*c, "PanelValue")) return vel::GetPropValue(*c, "PanelValue");
    return vel::IsPublishedProp(*c, "Text") ? vel::GetPropValue(*c, "Text") : vel::Variant();
}

void ScriptPlayer::Execute(const std::string& line) {
    std::string cmd, name, rest;
    SplitCommand(line, cmd, name, rest);
    auto& app = vel::Application();
    if (cmd == "type") {
        vel::TWinControl* control = Focus(name);
        for (char c : vel::Utf8ToAnsi(rest)) app.PostChar(*control, c);
    } else if (cmd == "set") {
        app.PostTypeText(*Focus(name), vel::Utf8ToAnsi(rest));
    } else if (cmd == "key") {
        vel::TWinControl* control = Focus(name);
        std::istringstream keys(rest);
        std::string one;
        while (keys >> one) {
            uint16_t key;
            vel::TShiftState shift;
            if (!ParseKey(one, key, shift)) throw vel::Exception("unknown key " + one);
            app.PostKey(*control, key, shift);
            if (key == vel::VK_RETURN) app.PostChar(*control, '\r');
            if (key == vel::VK_ESCAPE) app.PostChar(*control, 27);
        }
    } else if (cmd == "click") {
        auto* control = dynamic_cast<vel::TControl*>(Resolve(name));
        if (!control) throw vel::Exception(name + " cannot be clicked");
        app.PostClick(*control);
    } else if (cmd == "close") {
        if (vel::TCustomForm* form = ActiveForm()) app.PostMessage(form->Handle(), vel::WM_CLOSE);
    } else if (cmd == "answer") {
        std::string lower;
        for (char c : name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        auto it = ButtonResults().find(lower);
        if (it == ButtonResults().end()) throw vel::Exception("unknown button " + name);
        dialogAnswers_.push_back(it->second);
    } else if (cmd == "pick") {
        std::string json = Trim(name + (rest.empty() ? "" : " " + rest));
        answers_.picks.push_back(json == "none" ? vel::Variant() : vel::ParseJson(json));
    } else if (cmd == "date") {
        answers_.dates.push_back(name);
    } else if (cmd == "select") {
        vel::TComponent* c = Resolve(name);
        std::string item = vel::Utf8ToAnsi(rest);
        if (auto* list = dynamic_cast<vel::TListView*>(c)) {
            vel::TListItem* found = nullptr;
            if (!item.empty() && item[0] == '#') {
                int index = std::stoi(item.substr(1));
                if (index >= 0 && index < list->ItemCount()) found = list->Item(index);
            } else {
                found = list->FindCaption(item);
            }
            if (!found) throw vel::Exception("no item " + rest + " in " + name);
            list->SetSelected(found);
        } else if (vel::IsPublishedProp(*c, "ItemIndex")) {
            vel::SetPropValue(*c, "ItemIndex", vel::Variant(item[0] == '#' ? std::stoi(item.substr(1)) : 0));
        } else {
            throw vel::Exception(name + " holds no items");
        }
    } else if (cmd == "show") {
        size_t dot = name.rfind('.');
        if (dot == std::string::npos) throw vel::Exception("show needs NAME.PROPERTY");
        vel::TComponent* c = Resolve(name.substr(0, dot));
        std::string property = name.substr(dot + 1);
        vel::PropertyRef ref = vel::FindPropertyPath(*c, property);
        std::string text;
        if (ref && ref.info->kind == vel::PropKind::Object && ref.info->getObject) {
            // A reference (ActiveControl, FocusControl) shows the name of what it refers to.
            auto* target = dynamic_cast<vel::TComponent*>(ref.info->getObject(*ref.object));
            text = target ? target->Name() : "";
        } else {
            text = vel::AnsiToUtf8(vel::GetPropText(*c, property));
        }
        out_ << name << '=' << text << std::endl;
    } else if (cmd == "value") {
        vel::Variant value = PackedValue(name);  // packing may show dialogs of its own first
        out_ << name << '=' << vel::ToJson(value) << std::endl;
    } else {
        throw vel::Exception("unknown command " + cmd);
    }
    app.ProcessMessages();
}

bool ScriptPlayer::Step() {
    std::string line;
    while (std::getline(script_, line)) {
        ++lineNumber_;
        size_t hash = line.find('#');
        // "#" starts a comment unless it is an item index of select ("#2").
        std::string text = Trim(line);
        if (text.empty() || text[0] == '#') continue;
        if (hash != std::string::npos && text.rfind("select", 0) != 0) text = Trim(line.substr(0, hash));
        if (text.empty()) continue;
        try {
            Execute(text);
        } catch (const std::exception& e) {
            out_ << "error line " << lineNumber_ << ": " << e.what() << std::endl;
        }
        return true;
    }
    finished_ = true;
    return false;
}

void ScriptPlayer::Run() {
    while (Step()) {
    }
    vel::Application().ProcessMessages();
}

int ScriptPlayer::Answer(int defaultResult, vel::TMsgDlgButtons buttons) {
    if (!dialogAnswers_.empty()) {
        int a = dialogAnswers_.front();
        dialogAnswers_.pop_front();
        return a;
    }
    out_ << "answer default " << ResultName(defaultResult) << std::endl;
    return defaultResult;
}

static std::string Shown(const std::string& text) {
    std::string t = text;
    while (!t.empty() && (t.back() == ' ')) t.pop_back();
    for (auto& c : t)
        if (c == '\r' || c == '\n') c = ' ';
    return vel::AnsiToUtf8(t);
}

int ScriptPlayer::MessageDialog(const vel::DialogRequest& request) {
    out_ << "dialog " << vel::DialogTypeName(request.type) << ' ' << Shown(request.text) << std::endl;
    return Answer(vel::DefaultModalResult(request.buttons), request.buttons);
}

int ScriptPlayer::MessageBox(const std::string& text, const std::string& caption, int flags) {
    int icon = flags & 0xF0;
    const char* kind = icon == vel::MB_ICONERROR ? "error" : icon == vel::MB_ICONWARNING ? "warning"
                       : icon == vel::MB_ICONQUESTION ? "confirmation" : icon == vel::MB_ICONINFORMATION ? "information" : "custom";
    out_ << "dialog " << kind << ' ' << Shown(text) << std::endl;
    int kindButtons = flags & 0x0F;
    int result = Answer(kindButtons == vel::MB_YESNO || kindButtons == vel::MB_YESNOCANCEL ? vel::mrYes : vel::mrOk, 0);
    return result;  // modal results and box answers share their numbers
}

bool ScriptPlayer::WaitForInput(vel::TCustomForm& form) {
    vel::HWND handle = form.Handle();
    modalStack_.push_back(handle);
    bool more = Step();
    modalStack_.pop_back();
    return more;
}

void ScriptPlayer::ShellOpen(const std::string& target, const std::string& parameters) {
    out_ << "open " << vel::AnsiToUtf8(target) << std::endl;
}

}  // namespace velhost
