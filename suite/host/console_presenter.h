#pragma once
// The shell's presenter for scripted and command-line runs: shows dialogs as text lines
// in UTF-8 and answers them from a queue, or with the dialog's default.
#include <deque>
#include <ostream>

#include "platform/ui/presenter.h"

namespace velhost {

class ConsolePresenter : public vel::IPresenter {
public:
    explicit ConsolePresenter(std::ostream& out) : out_(out) {}

    int MessageDialog(const vel::DialogRequest& request) override;
    int MessageBox(const std::string& text, const std::string& caption, int flags) override;
    bool WaitForInput(vel::TCustomForm& form) override { return false; }
    void ShellOpen(const std::string& target, const std::string& parameters) override;

    std::deque<int> answers;

private:
    std::ostream& out_;
};

}  // namespace velhost
