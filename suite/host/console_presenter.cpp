#include "suite/host/console_presenter.h"

#include "platform/text/codepage.h"

namespace velhost {

static std::string Trimmed(const std::string& text) {
    size_t end = text.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

int ConsolePresenter::MessageDialog(const vel::DialogRequest& request) {
    int answer = vel::DefaultModalResult(request.buttons);
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    out_ << "dialog " << vel::DialogTypeName(request.type) << ' ' << vel::AnsiToUtf8(Trimmed(request.text)) << '\n';
    return answer;
}

int ConsolePresenter::MessageBox(const std::string& text, const std::string& caption, int flags) {
    int kind = flags & 0x0F;
    int answer = kind == vel::MB_YESNO || kind == vel::MB_YESNOCANCEL ? vel::IDYES : vel::IDOK;
    if (!answers.empty()) {
        answer = answers.front();
        answers.pop_front();
    }
    out_ << "box " << vel::AnsiToUtf8(text) << '\n';
    return answer;
}

void ConsolePresenter::ShellOpen(const std::string& target, const std::string& parameters) {
    out_ << "open " << vel::AnsiToUtf8(target) << '\n';
}

}  // namespace velhost
