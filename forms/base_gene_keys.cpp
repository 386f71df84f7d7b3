// Keyboard handling of the generic form: the keys it previews and Enter moving on.
#include <algorithm>

#include "forms/base_gene.h"
#include "module/remote_names.h"

namespace vel {

std::string TfrmBaseGene::HelpTopicKey() const {
    std::string id = ProgramId;
    for (auto& ch : id) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    if (id.size() < 4) return "";
    std::string key;
    char c = id[3];
    if (c == 'A' || c == 'M') {
        key = c == 'A' ? "6" : "8";
        c = id.size() > 4 ? id[4] : ' ';
    } else {
        key = "1";
    }
    if (c == 'B') key += "3";
    else if (c == 'R') key += "2";
    else return "";
    return key + id.substr(id.size() >= 2 ? id.size() - 2 : 0);
}

void TfrmBaseGene::FormKeyDown(TComponent*, uint16_t& key, TShiftState shift) {
    const bool ctrl = shift & ssCtrl, alt = shift & ssAlt, shiftKey = shift & ssShift;
    switch (key) {
        case VK_ESCAPE:
            Close();
            return;
        case VK_F1: {
            std::string topic = HelpTopicKey();
            if (!topic.empty() && HostApp.IsDispatch()) {
                try {
                    HostApp.Call(remote::kCallHelp, {Variant::Of({Variant(ProgramId.substr(0, 3)), Variant(topic + "0000")})});
                } catch (const std::exception&) {
                    // Help that cannot open leaves the form as it was.
                }
            }
            return;
        }
        case VK_F2:
            HandleF2(key, ActiveControl());
            return;
        case 'V':
            if (ctrl && alt && !shiftKey) Presenter().ShellOpen("properties", ModuleFile);
            return;
        case VK_TAB:
            if (ctrl) {
                MovePage(!shiftKey);
                key = 0;
            }
            return;
        case VK_PRIOR: case VK_NEXT:
            if (ctrl) {
                MovePage(key == VK_NEXT);
                key = 0;
            }
            return;
        default: return;
    }
}

void TfrmBaseGene::FormKeyPress(TComponent*, char& key) {
    if (key != '\r') return;
    TWinControl* active = ActiveControl();
    auto* memo = dynamic_cast<TMemo*>(active);
    const int line = memo ? memo->CaretLine() : 0;
    bool pageEnd = active && std::find(PageEndControls.begin(), PageEndControls.end(), active) != PageEndControls.end();
    if (!pageEnd && active && active->Parent())
        pageEnd = std::find(PageEndControls.begin(), PageEndControls.end(), active->Parent()) != PageEndControls.end();
    if (pageEnd) {
        if (memo && line + 1 < 3) return;  // a short memo keeps its line break
        key = 0;
        MovePage(true);
        return;
    }
    if (memo && line + 1 < 3) return;
    key = 0;
    SelectNext(active, true);
}

// The control a message names travels as a pointer: it is used only when it is still a
// control of this form, found by walking the form's own controls.
static TWinControl* FindOnForm(const TWinControl& root, intptr_t pointer) {
    for (TControl* child : root.ControlList()) {
        auto* win = dynamic_cast<TWinControl*>(child);
        if (!win) continue;
        if (reinterpret_cast<intptr_t>(win) == pointer) return win;
        if (TWinControl* inner = FindOnForm(*win, pointer)) return inner;
    }
    return nullptr;
}

void TfrmBaseGene::WndProc(TMessage& message) {
    if (message.msg == WM_LOOKUP) {
        if (TWinControl* control = FindOnForm(*this, message.lParam)) HandleF2(VK_F2, control);
        return;
    }
    TfrmBaseGene::Inherited::WndProc(message);
}

void TfrmBaseGene::ActiveControlChanging(TWinControl* previous, TWinControl*) {
    messages_->SetErrorFocusControl(previous ? previous : static_cast<TWinControl*>(this));
}

}  // namespace vel
