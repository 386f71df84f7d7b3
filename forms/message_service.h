#pragma once
// TMessageService: the generic condition form's messages and system settings. Message texts
// live on the server, keyed by a type letter and a number; the service fetches a text, fills
// in its arguments, shows it with captions in the user's language and keeps the running
// lists of what was reported. It also answers system settings by name (cached once per form)
// and the program's master record.
#include <string>
#include <vector>

#include "lang/code_converter.h"
#include "platform/ui/forms.h"
#include "platform/ui/strings.h"
#include "platform/variant/variant.h"

namespace vel {

// What the service needs from the form that carries it. Names differ from the form's own
// fields so that the form can implement this directly.
class IMessageHost {
public:
    virtual ~IMessageHost() = default;
    // The host application object and its services; empty variants when missing.
    virtual Variant HostApplication() = 0;
    virtual Variant CounterObject() = 0;
    virtual Variant ValidatorObject() = 0;
    virtual std::string HostCompanyId() = 0;
    virtual std::string HostCompanyDb() = 0;
    // The form's code converter; null is treated as code pages 936 without conversion.
    virtual TCodeConverter* Converter() = 0;
    // True once the form's own texts were converted to the user's code page.
    virtual bool FormTextsConverted() = 0;
    // True while the form's Cancel button is the active control: reports are then dropped.
    virtual bool CancelIsActive() = 0;
    virtual TCustomForm& HostForm() = 0;
    // The form's published WantLog.
    virtual void SetWantLog(bool value) = 0;
};

class TMessageService {
public:
    explicit TMessageService(IMessageHost& host);
    ~TMessageService();
    TMessageService(const TMessageService&) = delete;
    TMessageService& operator=(const TMessageService&) = delete;

    // Every reported code followed by "; ", and every distinct resolved text followed by "; ".
    std::string MessageCodeList;
    std::string MessageTextList;
    // While set only error dialogs are shown (the form's exit check before a page change).
    bool SuppressDialogs = false;
    // The user's date style as last read.
    int CachedDateType = 1;
    std::string CachedDateSeparator = "/";
    // name=value list of the server's system settings.
    TStringList SysInfoCache;

    // The control that receives the focus back after an error dialog. The service forgets
    // it when the control is freed.
    TWinControl* ErrorFocusControl() const { return errorFocus_; }
    void SetErrorFocusControl(TWinControl* control);

    std::string GetMessageText(const std::string& type, const std::string& number);
    int ShowMessageDialog(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons);
    // `buttons` 0 = the buttons of the type letter.
    int ShowMessageByCode(const std::string& type, const std::string& number, const std::vector<Variant>& args,
                          TMsgDlgButtons buttons = 0);
    // Raises vel::Exception for a code with more than 10 arguments, before anything is shown.
    void ReportMessage(const std::string& code);
    void ReportRawError(const std::string& text);

    // An empty name (re)fills the cache from the counter service and answers "".
    std::string GetSystemSetting(const std::string& name);
    int GetDateTypeCode();
    std::string GetDateSeparator();
    // The program's display name (the identifier itself when the query fails); sets WantLog.
    std::string LoadProgramInfo(const std::string& programId);

    // The Chinese caption of a dialog button by its name, in code page 936.
    static std::string DialogButtonCaption(const std::string& buttonName);
    // Dialog kind and buttons for a type letter (a report shows the same kind, OK only).
    static TMsgDlgType DialogKindOf(const std::string& type);
    static TMsgDlgButtons DialogButtonsOf(const std::string& type);

private:
    class FocusWatch;
    std::string UICodePage();
    bool ListHasText(const std::string& text) const;
    void AddText(const std::string& text);

    IMessageHost& host_;
    TWinControl* errorFocus_ = nullptr;
    FocusWatch* watch_ = nullptr;
};

// The message text with its placeholders filled:
// "%" [index ":"] ["-"] [width] ["." precision] type, type one of d u x e f g n m s (any
// case), "*" taking a width or precision from the arguments, "%%" a percent sign. False,
// leaving `out` alone, for a malformed placeholder, a missing argument or an argument the
// placeholder cannot show.
bool FormatMessageText(const std::string& format, const std::vector<Variant>& args, std::string& out);

}  // namespace vel
