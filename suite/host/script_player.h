#pragma once
// Plays a script of user input against a module's form, one command a line, every input
// going through the form's message queue as a person's would. The player is also the
// host's presenter: it prints dialogs and answers them, and it feeds its next command from
// inside modal loops.
#include <deque>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "platform/ui/forms.h"
#include "platform/ui/presenter.h"
#include "suite/host/host_answers.h"

namespace velhost {

class ScriptPlayer : public vel::IPresenter {
public:
    ScriptPlayer(std::istream& script, std::ostream& out, HostAnswers& answers);

    // The form names resolve in when no modal dialog is shown.
    void SetMainForm(vel::HWND handle) { mainForm_ = handle; }
    // Runs commands until the script ends (or the main form is gone and nothing is left).
    void Run();
    bool Finished() const { return finished_; }

    int MessageDialog(const vel::DialogRequest& request) override;
    int MessageBox(const std::string& text, const std::string& caption, int flags) override;
    bool WaitForInput(vel::TCustomForm& form) override;
    void ShellOpen(const std::string& target, const std::string& parameters) override;

    // "Ctrl+Shift+Tab" -> key and shift state; false for an unknown key.
    static bool ParseKey(const std::string& text, uint16_t& key, vel::TShiftState& shift);

private:
    bool Step();  // runs the next command; false when the script has ended
    void Execute(const std::string& line);
    vel::TCustomForm* ActiveForm() const;
    vel::TComponent* Resolve(const std::string& name) const;
    vel::TWinControl* Focus(const std::string& name);
    vel::Variant PackedValue(const std::string& name);
    int Answer(int defaultResult, vel::TMsgDlgButtons buttons);

    std::istream& script_;
    std::ostream& out_;
    HostAnswers& answers_;
    std::deque<int> dialogAnswers_;
    std::vector<vel::HWND> modalStack_;
    vel::HWND mainForm_ = 0;
    bool finished_ = false;
    int lineNumber_ = 0;
};

}  // namespace velhost
