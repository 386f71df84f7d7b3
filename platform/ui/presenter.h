#pragma once
// What a person sees and answers: message dialogs and boxes, modal forms, shell "open".
// The host implements it; tests use ScriptedPresenter.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/core/exception.h"

namespace vel {

class TCustomForm;

enum class TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn : int {
    mbYes = 1 << 0, mbNo = 1 << 1, mbOK = 1 << 2, mbCancel = 1 << 3, mbAbort = 1 << 4, mbRetry = 1 << 5,
    mbIgnore = 1 << 6, mbAll = 1 << 7, mbNoToAll = 1 << 8, mbYesToAll = 1 << 9, mbHelp = 1 << 10,
};
using TMsgDlgButtons = int;

// Modal results.
enum : int {
    mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6, mrNo = 7,
    mrAll = 8, mrNoToAll = 9, mrYesToAll = 10,
};

// Message box flags and answers.
enum : int {
    MB_OK = 0, MB_OKCANCEL = 1, MB_YESNOCANCEL = 3, MB_YESNO = 4, MB_ICONERROR = 0x10, MB_ICONQUESTION = 0x20,
    MB_ICONWARNING = 0x30, MB_ICONINFORMATION = 0x40,
    IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7,
};

struct DialogRequest {
    std::string text;       // byte text in the code page the form shows
    TMsgDlgType type = TMsgDlgType::mtInformation;
    TMsgDlgButtons buttons = mbOK;
    std::string caption;
    std::vector<std::string> buttonCaptions;  // in button order, when the caller sets them
    std::string fontName;
    int fontCharset = 1;
};

VEL_API const char* DialogTypeName(TMsgDlgType type);  // "warning", "error", ...
VEL_API int DefaultModalResult(TMsgDlgButtons buttons);  // OK, else Yes, else the first button

class VEL_API IPresenter {
public:
    virtual ~IPresenter() = default;
    virtual int MessageDialog(const DialogRequest& request) = 0;
    virtual int MessageBox(const std::string& text, const std::string& caption, int flags) = 0;
    // Called by a modal loop when the queue is empty: post the next input for `form`, or
    // answer false when none will come (the loop then cancels the form).
    virtual bool WaitForInput(TCustomForm& form) = 0;
    virtual void ShellOpen(const std::string& target, const std::string& parameters) = 0;
    virtual void FormShown(TCustomForm& form) {}
    virtual void FormHidden(TCustomForm& form) {}
};

// Records what was shown and answers from queues: dialogs with queued modal results (the
// dialog's default when the queue is empty), modal forms with queued actions.
class VEL_API ScriptedPresenter : public IPresenter {
public:
    struct Shown {
        std::string kind;   // "dialog", "box", "open"
        DialogRequest request;
        int answer = 0;
    };

    int MessageDialog(const DialogRequest& request) override;
    int MessageBox(const std::string& text, const std::string& caption, int flags) override;
    bool WaitForInput(TCustomForm& form) override;
    void ShellOpen(const std::string& target, const std::string& parameters) override;

    void QueueAnswer(int modalResult) { answers.push_back(modalResult); }
    void QueueModalAction(std::function<void(TCustomForm&)> action) { modalActions.push_back(std::move(action)); }

    std::vector<Shown> shown;
    std::deque<int> answers;
    std::deque<std::function<void(TCustomForm&)>> modalActions;
};

// The process's presenter (one per process; a ScriptedPresenter until the host sets its own).
VEL_API IPresenter& Presenter();
VEL_API void SetPresenter(IPresenter* presenter);  // null restores the default

}  // namespace vel
