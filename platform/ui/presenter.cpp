#include "platform/ui/presenter.h"

namespace vel {

const char* DialogTypeName(TMsgDlgType type) {
    switch (type) {
        case TMsgDlgType::mtWarning: return "warning";
        case TMsgDlgType::mtError: return "error";
        case TMsgDlgType::mtInformation: return "information";
        case TMsgDlgType::mtConfirmation: return "confirmation";
        default: return "custom";
    }
}

int DefaultModalResult(TMsgDlgButtons buttons) {
    if (buttons & mbOK) return mrOk;
    if (buttons & mbYes) return mrYes;
    static const std::pair<int, int> order[] = {{mbNo, mrNo}, {mbCancel, mrCancel}, {mbAbort, mrAbort},
                                                {mbRetry, mrRetry}, {mbIgnore, mrIgnore}, {mbAll, mrAll}};
    for (auto [button, result] : order)
        if (buttons & button) return result;
    return mrOk;
}

int ScriptedPresenter::MessageDialog(const DialogRequest& request) {
    int answer = DefaultModalResult(request.buttons);
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    shown.push_back(Shown{"dialog", request, answer});
    return answer;
}

int ScriptedPresenter::MessageBox(const std::string& text, const std::string& caption, int flags) {
    int kind = flags & 0x0F;
    int answer = kind == MB_YESNO || kind == MB_YESNOCANCEL ? IDYES : IDOK;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    DialogRequest request;
    request.text = text;
    request.caption = caption;
    shown.push_back(Shown{"box", request, answer});
    return answer;
}

bool ScriptedPresenter::WaitForInput(TCustomForm& form) {
    if (modalActions.empty()) return false;
    auto action = std::move(modalActions.front());
    modalActions.pop_front();
    action(form);
    return true;
}

void ScriptedPresenter::ShellOpen(const std::string& target, const std::string& parameters) {
    DialogRequest request;
    request.text = target;
    request.caption = parameters;
    shown.push_back(Shown{"open", request, 0});
}

namespace {
IPresenter*& CurrentPresenter() {
    static IPresenter* current = nullptr;
    return current;
}
}  // namespace

IPresenter& Presenter() {
    static ScriptedPresenter fallback;
    IPresenter* p = CurrentPresenter();
    return p ? *p : fallback;
}

void SetPresenter(IPresenter* presenter) { CurrentPresenter() = presenter; }

}  // namespace vel
