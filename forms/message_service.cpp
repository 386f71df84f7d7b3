#include "forms/message_service.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "module/remote_names.h"
#include "platform/text/codepage.h"
#include "platform/ui/application.h"
#include "runtime/libstrs.h"

namespace vel {

namespace {

constexpr int kArgumentCount = 10;
// Widths and precisions beyond this are not a message layout but a broken text; refusing
// them keeps a stray "%999999999s" from allocating the memory it asks for.
constexpr int kMaxFieldWidth = 1024;

std::string Upper(std::string text) {
    for (auto& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// A scalar's text; arrays and objects have none.
bool ArgText(const Variant& v, std::string& out) {
    if (v.IsArray() || v.IsDispatch()) return false;
    try {
        out = v.ToString();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool ParseWhole(const std::string& raw, int64_t& out) {
    std::string text = TrimBlanks(raw);
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size() || text.size() - i > 18) return false;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return false;
        value = value * 10 + (text[i] - '0');
    }
    out = negative ? -value : value;
    return true;
}

// An integer argument: integer variants, integral doubles and texts that read as whole numbers.
// A missing (empty) argument is not taken for 0.
bool ArgInteger(const Variant& v, int64_t& out) {
    switch (v.Type()) {
        case VarType::SmallInt: case VarType::Integer: case VarType::Byte:
            out = v.ToInt();
            return true;
        case VarType::Double: {
            double d = v.ToDouble();
            if (!std::isfinite(d) || d != std::floor(d) || std::fabs(d) > 9.0e17) return false;
            out = static_cast<int64_t>(d);
            return true;
        }
        case VarType::String: case VarType::OleStr: {
            std::string text;
            return ArgText(v, text) && ParseWhole(text, out);
        }
        default:
            return false;
    }
}

bool ArgFloat(const Variant& v, double& out) {
    switch (v.Type()) {
        case VarType::SmallInt: case VarType::Integer: case VarType::Byte: case VarType::Double:
            out = v.ToDouble();
            return std::isfinite(out);
        case VarType::String: case VarType::OleStr: {
            std::string text;
            if (!ArgText(v, text)) return false;
            text = TrimBlanks(text);
            if (text.empty()) return false;
            char* end = nullptr;
            out = std::strtod(text.c_str(), &end);
            return end == text.c_str() + text.size() && std::isfinite(out);
        }
        default:
            return false;
    }
}

std::string Printf(const char* format, int precision, double value) {
    char buffer[512];
    int n = std::snprintf(buffer, sizeof buffer, format, precision, value);
    if (n < 0) return {};
    return std::string(buffer, static_cast<size_t>(std::min<int>(n, sizeof buffer - 1)));
}

std::string WithThousands(const std::string& fixed) {
    size_t start = fixed[0] == '-' ? 1 : 0;
    size_t dot = fixed.find('.');
    size_t end = dot == std::string::npos ? fixed.size() : dot;
    std::string out = fixed.substr(0, start);
    for (size_t i = start; i < end; ++i) {
        out += fixed[i];
        size_t left = end - i - 1;
        if (left > 0 && left % 3 == 0) out += ',';
    }
    return out + fixed.substr(end);
}

// Scientific form with a three-digit exponent: 1.5E+003.
std::string Scientific(int precision, double value) {
    std::string s = Printf("%.*E", precision - 1, value);
    size_t e = s.find('E');
    if (e == std::string::npos || e + 2 > s.size()) return s;
    std::string digits = s.substr(e + 2);
    while (digits.size() < 3) digits.insert(digits.begin(), '0');
    return s.substr(0, e + 2) + digits;
}

// Reads digits or "*" (taken from the arguments); false when malformed or too large.
bool ReadCount(const std::string& f, size_t& i, const std::vector<Variant>& args, size_t& next, int& value,
               bool& present) {
    present = false;
    if (i < f.size() && f[i] == '*') {
        ++i;
        int64_t v;
        if (next >= args.size() || !ArgInteger(args[next], v) || v < 0 || v > kMaxFieldWidth) return false;
        ++next;
        value = static_cast<int>(v);
        present = true;
        return true;
    }
    int64_t v = 0;
    while (i < f.size() && std::isdigit(static_cast<unsigned char>(f[i]))) {
        v = v * 10 + (f[i++] - '0');
        if (v > kMaxFieldWidth) return false;
        present = true;
    }
    value = static_cast<int>(v);
    return true;
}

}  // namespace

bool FormatMessageText(const std::string& f, const std::vector<Variant>& args, std::string& out) {
    std::string result;
    size_t next = 0;
    size_t i = 0;
    while (i < f.size()) {
        char c = f[i++];
        if (c != '%') {
            result += c;
            continue;
        }
        if (i >= f.size()) return false;
        if (f[i] == '%') {
            result += '%';
            ++i;
            continue;
        }
        int first = 0, width = 0, precision = -1;
        bool present = false;
        if (!ReadCount(f, i, args, next, first, present)) return false;
        if (i < f.size() && f[i] == ':') {
            if (!present) return false;
            next = static_cast<size_t>(first);
            ++i;
            first = 0;
            present = false;
        }
        bool left = false;
        if (!present && i < f.size() && f[i] == '-') {
            left = true;
            ++i;
            if (!ReadCount(f, i, args, next, first, present)) return false;
        }
        width = present ? first : 0;
        if (i < f.size() && f[i] == '.') {
            ++i;
            if (!ReadCount(f, i, args, next, precision, present)) return false;
            if (!present) precision = 0;
        }
        if (i >= f.size()) return false;
        char type = static_cast<char>(std::tolower(static_cast<unsigned char>(f[i++])));
        if (next >= args.size()) return false;
        const Variant& arg = args[next++];
        std::string field;
        switch (type) {
            case 's':
                if (!ArgText(arg, field)) return false;
                if (precision >= 0 && field.size() > static_cast<size_t>(precision)) field.resize(precision);
                break;
            case 'd': case 'u': case 'x': {
                int64_t v;
                if (!ArgInteger(arg, v)) return false;
                bool negative = false;
                uint64_t magnitude;
                if (type == 'd') {
                    negative = v < 0;
                    magnitude = negative ? static_cast<uint64_t>(-v) : static_cast<uint64_t>(v);
                } else {
                    // Unsigned and hexadecimal show a negative 32-bit value as its bit pattern.
                    if (v < std::numeric_limits<int32_t>::min()) return false;
                    magnitude = v < 0 ? static_cast<uint64_t>(static_cast<uint32_t>(static_cast<int32_t>(v)))
                                      : static_cast<uint64_t>(v);
                }
                char buffer[32];
                std::snprintf(buffer, sizeof buffer, type == 'x' ? "%llX" : "%llu",
                              static_cast<unsigned long long>(magnitude));
                field = buffer;
                if (precision > 0 && field.size() < static_cast<size_t>(precision))
                    field.insert(0, static_cast<size_t>(precision) - field.size(), '0');
                if (negative) field.insert(0, 1, '-');
                break;
            }
            case 'e': case 'f': case 'g': case 'n': case 'm': {
                double v;
                if (!ArgFloat(arg, v)) return false;
                if (type == 'e') {
                    field = Scientific(precision < 1 ? 15 : std::min(precision, 18), v);
                } else if (type == 'g') {
                    field = Printf("%.*G", precision < 1 ? 15 : std::min(precision, 18), v);
                } else {
                    std::string fixed = Printf("%.*f", precision < 0 ? 2 : std::min(precision, 18), v);
                    field = type == 'f' ? fixed : WithThousands(fixed);
                }
                break;
            }
            default:
                return false;
        }
        if (field.size() < static_cast<size_t>(width)) {
            std::string pad(static_cast<size_t>(width) - field.size(), ' ');
            field = left ? field + pad : pad + field;
        }
        result += field;
    }
    out = std::move(result);
    return true;
}

// A text that cannot take its arguments is shown raw, followed by each argument and ";".
static std::string FormatOrRaw(const std::string& raw, const std::vector<Variant>& args) {
    std::string text;
    if (FormatMessageText(raw, args, text)) return text;
    text = raw + "\r";
    for (const Variant& arg : args) {
        std::string part;
        ArgText(arg, part);
        text += part + ";";
    }
    return text;
}

// Clears the service's focus control when that control is freed.
class TMessageService::FocusWatch : public TComponent {
public:
    explicit FocusWatch(TMessageService& service) : TComponent(nullptr), service_(service) {}

protected:
    void Notification(TComponent* component, bool removing) override {
        if (removing && component == service_.errorFocus_) service_.errorFocus_ = nullptr;
    }

private:
    TMessageService& service_;
};

TMessageService::TMessageService(IMessageHost& host) : host_(host), watch_(new FocusWatch(*this)) {}

TMessageService::~TMessageService() {
    if (errorFocus_) watch_->RemoveFreeNotification(errorFocus_);
    errorFocus_ = nullptr;
    FreeComponent(watch_);
}

void TMessageService::SetErrorFocusControl(TWinControl* control) {
    if (control == errorFocus_) return;
    if (errorFocus_) watch_->RemoveFreeNotification(errorFocus_);
    errorFocus_ = control && !control->Destroying() ? control : nullptr;
    if (errorFocus_) watch_->FreeNotification(errorFocus_);
}

std::string TMessageService::UICodePage() {
    TCodeConverter* converter = host_.Converter();
    return converter ? converter->UICodePage() : "936";
}

std::string TMessageService::DialogButtonCaption(const std::string& name) {
    static const std::pair<const char*, const char*> captions[] = {
        {"Yes", "是(&Y)"},       {"No", "否(&N)"},          {"OK", "确定"},
        {"Cancel", "取消"},      {"Abort", "中断(&A)"},     {"Retry", "重试(&R)"},
        {"Ignore", "忽略(&I)"},  {"All", "全部(&A)"},       {"NoToAll", "全否(&o)"},
        {"YesToAll", "全是(&A)"}, {"Help", "帮助(&H)"},
    };
    for (auto [button, caption] : captions)
        if (name == button) return CN(caption);
    return name;
}

TMsgDlgType TMessageService::DialogKindOf(const std::string& type) {
    std::string t = Upper(type);
    if (t == "C" || t == "D" || t == "W") return TMsgDlgType::mtWarning;
    if (t == "E") return TMsgDlgType::mtError;
    if (t == "I") return TMsgDlgType::mtInformation;
    if (t == "Q") return TMsgDlgType::mtConfirmation;
    return TMsgDlgType::mtCustom;
}

TMsgDlgButtons TMessageService::DialogButtonsOf(const std::string& type) {
    std::string t = Upper(type);
    if (t == "C" || t == "W" || t == "Q") return mbOK | mbCancel;
    if (t == "D") return mbYes | mbNo | mbCancel;
    return mbOK;
}

std::string TMessageService::GetMessageText(const std::string& type, const std::string& number) {
    std::string text;
    bool fetched = false;
    Variant app = host_.HostApplication();
    if (app.IsDispatch()) {
        try {
            std::vector<Variant> args{Variant(type), Variant(number)};
            fetched = ArgText(app.Call(remote::kGetMessage, args), text);
        } catch (const std::exception&) {
            fetched = false;
        }
    }
    // Without a host (or when it cannot answer) the user still learns which message it was.
    if (!fetched) text = "Can not Get Message\rType= " + type + ", ID= " + number + " ";
    if (TCodeConverter* converter = host_.Converter()) {
        try {
            std::string converted;
            if (ArgText(converter->ConvertDataToScreen(Variant(text)), converted)) text = converted;
        } catch (const std::exception&) {
        }
    }
    return text;
}

int TMessageService::ShowMessageDialog(const std::string& text, TMsgDlgType kind, TMsgDlgButtons buttons) {
    if (SuppressDialogs && kind != TMsgDlgType::mtError) return 0;
    TCustomForm& form = host_.HostForm();
    TCodeConverter* converter = host_.Converter();
    DialogRequest request;
    request.text = text;
    request.type = kind;
    request.buttons = buttons;
    request.caption = form.Caption();
    if (UICodePage() != "437") {
        static const std::pair<int, const char*> order[] = {
            {mbYes, "Yes"},       {mbNo, "No"},       {mbOK, "OK"},   {mbCancel, "Cancel"},
            {mbAbort, "Abort"},   {mbRetry, "Retry"}, {mbIgnore, "Ignore"}, {mbAll, "All"},
            {mbNoToAll, "NoToAll"}, {mbYesToAll, "YesToAll"}, {mbHelp, "Help"},
        };
        for (auto [button, name] : order) {
            if (!(buttons & button)) continue;
            std::string caption = DialogButtonCaption(name);
            request.buttonCaptions.push_back(converter ? converter->ConvertAuthoringToScreen(caption) : caption);
        }
    }
    TFont font;
    TCodeConverter::SetModeFont(converter ? converter->ScreenMode() : 0, font);
    request.fontName = font.name;
    request.fontCharset = font.charset;
    int result = 0;
    try {
        result = Presenter().MessageDialog(request);
    } catch (const std::exception&) {
        result = mrNone;  // a presenter that failed counts as a dialog nobody answered
    }
    // A mouse capture begun before the dialog would otherwise outlive it.
    if (TWinControl* active = form.ActiveControl())
        Application().PostMessage(active->Handle(), WM_LBUTTONUP);
    if (kind == TMsgDlgType::mtError && errorFocus_) {
        try {
            if (errorFocus_->CanFocus()) errorFocus_->SetFocus();
        } catch (const std::exception&) {
        }
    }
    return result;
}

int TMessageService::ShowMessageByCode(const std::string& type, const std::string& number,
                                       const std::vector<Variant>& args, TMsgDlgButtons buttons) {
    std::string text = FormatOrRaw(GetMessageText(type, number), args);
    return ShowMessageDialog(text, DialogKindOf(type), buttons ? buttons : DialogButtonsOf(type));
}

bool TMessageService::ListHasText(const std::string& text) const {
    // Whole entries only: a shorter message that happens to be part of an earlier one is
    // still a message of its own.
    std::string entry = text + "; ";
    if (MessageTextList.compare(0, entry.size(), entry) == 0) return true;
    return MessageTextList.find("; " + entry) != std::string::npos;
}

void TMessageService::AddText(const std::string& text) {
    if (!ListHasText(text)) MessageTextList += text + "; ";
}

void TMessageService::ReportMessage(const std::string& code) {
    if (host_.CancelIsActive()) return;
    if (code.empty()) {
        MessageCodeList.clear();
        MessageTextList.clear();
        return;
    }
    MessageCodeList += code + "; ";
    std::string rest = code;
    std::string type = CutFirstField(rest, ";");
    std::string number = CutFirstField(rest, ";");
    int64_t value = 0;
    bool serverMessage = ParseWhole(number, value) && value > 0 && value <= std::numeric_limits<int32_t>::max();
    if (!serverMessage && !number.empty()) number.erase(0, 1);

    std::vector<Variant> args(kArgumentCount);
    int index = 0;
    do {
        if (index >= kArgumentCount)
            throw Exception("Message " + code.substr(0, 40) + " has more than 10 arguments");
        args[static_cast<size_t>(index++)] = Variant(CutFirstField(rest, ";"));
    } while (!rest.empty());

    std::string text = FormatOrRaw(GetMessageText(type, number), args);
    AddText(text);
    if (serverMessage) ShowMessageDialog(text, DialogKindOf(type), mbOK);
}

void TMessageService::ReportRawError(const std::string& raw) {
    if (host_.CancelIsActive()) return;
    std::string text = TrimBlanks(raw);
    if (text.empty()) {
        MessageCodeList.clear();
        MessageTextList.clear();
        return;
    }
    MessageCodeList += "E;-1; ";
    AddText(text);
}

std::string TMessageService::GetSystemSetting(const std::string& name) {
    if (name.empty()) {
        SysInfoCache.Clear();
        Variant counter = host_.CounterObject();
        if (!counter.IsDispatch()) return "";
        try {
            std::vector<Variant> args{Variant(host_.HostCompanyId())};
            Variant all = counter.Call(remote::kGetSysInfo, args);
            if (all.IsArray() && all.DimCount() == 2 && all.HighBound(1) >= all.LowBound(1) + 1) {
                int row = all.LowBound(1);
                for (int j = all.LowBound(2); j <= all.HighBound(2); ++j) {
                    std::string key, value;
                    if (!ArgText(all.At(row, j), key) || !ArgText(all.At(row + 1, j), value)) continue;
                    SysInfoCache.Add(key + "=" + value);
                }
            }
        } catch (const std::exception&) {
            SysInfoCache.Clear();
        }
        return "";
    }
    std::string value = SysInfoCache.Values(name);
    TCodeConverter* converter = host_.Converter();
    bool converted = host_.FormTextsConverted() && converter;
    if (value.empty()) {
        static const char* const chinese[] = {"商品分类方式一", "商品分类方式二", "商品分类方式三", "商品分类方式四"};
        static const char* const english[] = {"Inv.Cate.1", "Inv.Cate.2", "Inv.Cate.3", "Inv.Cate.4"};
        static const char* const names[] = {"SYS007", "SYS008", "SYS009", "SYS010"};
        std::string upper = Upper(name);
        for (int i = 0; i < 4; ++i) {
            if (upper != names[i]) continue;
            if (UICodePage() == "437") return english[i];
            // Authored text: once the form shows its texts in the user's code page, so must this.
            std::string builtIn = CN(chinese[i]);
            return converted ? converter->ConvertAuthoringToScreen(builtIn) : builtIn;
        }
        return value;
    }
    if (converted) {
        try {
            std::string screen;
            if (ArgText(converter->ConvertDataToScreen(Variant(value)), screen)) value = screen;
        } catch (const std::exception&) {
        }
    }
    return value;
}

int TMessageService::GetDateTypeCode() {
    int64_t code = 1;
    // Only the five date styles exist; anything else is read as the default one.
    if (!ParseWhole(GetSystemSetting("Sys001"), code) || code < 1 || code > 5) code = 1;
    CachedDateType = static_cast<int>(code);
    return CachedDateType;
}

std::string TMessageService::GetDateSeparator() {
    std::string separator = GetSystemSetting("Sys002");
    CachedDateSeparator = separator.empty() ? "/" : separator;
    return CachedDateSeparator;
}

std::string TMessageService::LoadProgramInfo(const std::string& programId) {
    std::string name = programId;
    bool wantLog = false;
    Variant validator = host_.ValidatorObject();
    if (validator.IsDispatch()) {
        try {
            TCodeConverter* converter = host_.Converter();
            Variant keys = Variant::Of({Variant(programId)});
            if (converter) keys = converter->ConvertScreenToData(keys);
            std::vector<Variant> args{Variant("ADMMB"), Variant("01"), Variant(host_.HostCompanyDb()), keys, Variant()};
            bool found = validator.Call(remote::kQueryData, args).ToBool();
            Variant row = args[4];
            if (found && row.IsArray() && row.DimCount() == 1 && row.HighBound() - row.LowBound() >= 4) {
                if (host_.FormTextsConverted() && converter) row = converter->ConvertDataToScreen(row);
                int low = row.LowBound();
                std::string display, logFlag;
                if (ArgText(row[low], display) && ArgText(row[low + 4], logFlag)) {
                    name = display;
                    wantLog = logFlag == "Y";
                    std::string english;
                    if (row.HighBound() - low >= 7 && UICodePage() == "437" && ArgText(row[low + 7], english))
                        name = english;
                }
            }
        } catch (const std::exception&) {
            name = programId;
            wantLog = false;
        }
    }
    host_.SetWantLog(wantLog);
    return name;
}

}  // namespace vel
