// Text and variant routines of the string library.
#include "runtime/libstrs.h"

#include <cerrno>
#include <clocale>
#include <cstdlib>

#include "platform/system/inifile.h"
#include "platform/system/sysinfo.h"
#include "runtime/logs.h"

namespace vel {
namespace {

bool IsLeadByte(unsigned char c) {
    static const bool doubleByte = SystemCodePage() == kCodePageGB || SystemCodePage() == kCodePageBig5;
    return doubleByte && c >= 0x81 && c <= 0xFE;
}

// Position of the first occurrence of `sub` that starts on a character boundary: the trail
// byte of a double-byte character never starts a match.
size_t AnsiFind(const std::string& text, const std::string& sub) {
    if (sub.empty()) return std::string::npos;
    for (size_t i = 0; i + sub.size() <= text.size();) {
        if (text.compare(i, sub.size(), sub) == 0) return i;
        i += (IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
    }
    return std::string::npos;
}

// Code page conversions that fall back to the machine's code page when the one asked for is
// unknown, as the system conversion does.
std::string ToCodePage(const std::u16string& text, int codePage) {
    try {
        return WideToCodePage(text, codePage);
    } catch (const Exception&) {
        return WideToCodePage(text, SystemCodePage());
    }
}

std::u16string FromCodePage(const std::string& text, int codePage) {
    try {
        return CodePageToWide(text, codePage);
    } catch (const Exception&) {
        return CodePageToWide(text, SystemCodePage());
    }
}

Variant WideElementToCodePage(const Variant& v, int codePage) {
    return Variant(ToCodePage(v.Wide(), codePage));
}

// A wide text is first put back into the bytes it came from (machine code page), then those
// bytes are read in the given code page; a byte text is read in the code page directly.
Variant TextToWide(const Variant& v, int codePage) {
    if (v.Type() == VarType::OleStr) return Variant(FromCodePage(WideToCodePage(v.Wide(), SystemCodePage()), codePage));
    return Variant(FromCodePage(v.Bytes(), codePage));
}

void WalkWideToCodePage(Variant& array, int codePage) {
    VarArrayData& data = array.ArrayData();
    if (data.bounds.size() == 1) {
        for (Variant& item : data.items) {
            if (item.IsArray()) WalkWideToCodePage(item, codePage);
            else if (item.Type() == VarType::OleStr) item = WideElementToCodePage(item, codePage);
        }
    } else if (data.bounds.size() == 2) {
        for (Variant& item : data.items)
            if (item.Type() == VarType::OleStr) item = WideElementToCodePage(item, codePage);
    }
}

void WalkCodePageToWide(Variant& array, int codePage) {
    VarArrayData& data = array.ArrayData();
    if (data.bounds.size() == 1) {
        for (Variant& item : data.items) {
            if (item.IsArray()) WalkCodePageToWide(item, codePage);
            else if (item.IsText()) item = TextToWide(item, codePage);
        }
    } else if (data.bounds.size() == 2) {
        for (Variant& item : data.items)
            if (item.IsText()) item = TextToWide(item, codePage);
    }
}

}  // namespace

// ---- Text routines ------------------------------------------------------------------------

std::string TrimBlanks(const std::string& text) {
    size_t b = 0, e = text.size();
    while (b < e && static_cast<unsigned char>(text[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(text[e - 1]) <= ' ') --e;
    return text.substr(b, e - b);
}

std::string CutFirstField(std::string& text, const std::string& separator) {
    size_t p = AnsiFind(text, separator);
    std::string field;
    if (p == std::string::npos) {
        field.swap(text);
        text.clear();
    } else {
        field = text.substr(0, p);
        text.erase(0, p + separator.size());
    }
    return field;
}

std::string GetDelimitedField(const std::string& text, const std::string& separator, int index) {
    if (index < 1) return "";
    std::string work = text;
    for (int n = 1;; ++n) {
        bool last = AnsiFind(work, separator) == std::string::npos;
        std::string field = CutFirstField(work, separator);
        if (n == index) return field;
        if (last) return "";
    }
}

int CountDelimitedFields(const std::string& text, const std::string& separator) {
    if (text.empty()) return 0;
    int count = 1;
    std::string work = text;
    while (AnsiFind(work, separator) != std::string::npos) {
        CutFirstField(work, separator);
        ++count;
    }
    return count;
}

std::string ReplaceAllText(const std::string& text, const std::string& oldText,
                           const std::string& newText, bool trim) {
    if (oldText.empty() || SameText(oldText, newText)) return text;
    std::string result = text;
    // Deleting can bring two halves of the searched text together; the next search starts
    // where such a new occurrence could begin. A replacement that itself contains the searched
    // text is not searched again (that would never end).
    bool rescanInserted = newText.find(oldText) == std::string::npos;
    size_t from = 0;
    for (;;) {
        size_t p = result.find(oldText, from);
        if (p == std::string::npos) break;
        result.replace(p, oldText.size(), newText);
        from = rescanInserted ? (p >= oldText.size() - 1 ? p - (oldText.size() - 1) : 0) : p + newText.size();
    }
    return trim ? TrimBlanks(result) : result;
}

bool IsLocalHostAddress(const std::string& host) { return host == "127.0.0.1"; }

double StrToFloatDefault(const std::string& text, double defaultValue) {
    std::string t = TrimBlanks(text);
    if (t.empty()) return defaultValue;
    // Plain decimal numbers only: no hexadecimal, infinity or "nan" spellings.
    for (char c : t)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E'))
            return defaultValue;
    char* end = nullptr;
    errno = 0;
    double v = std::strtod(t.c_str(), &end);
    if (!end || *end != '\0' || errno == ERANGE) return defaultValue;
    return v;
}

std::u16string JoinCountedArray(const Variant& prefix, const Variant& countedArray) {
    try {
        const std::u16string sep(1, u'\x03');
        std::u16string out = prefix.ToWide() + sep + countedArray[0].ToWide() + sep;
        int count = countedArray[0].ToInt();
        for (int i = 1; i <= count; ++i) out += countedArray[i].ToWide() + sep;
        return out;
    } catch (...) {
        return u"";
    }
}

std::string GetTempDirectory() { return TempDirectory(); }

// ---- Variant routines ---------------------------------------------------------------------

Variant IfThenVar(bool flag, const Variant& a, const Variant& b) { return flag ? a : b; }

bool VarIsEmptyOrNull(const Variant& value) { return value.IsEmpty() || value.IsNull(); }

Variant VarWideToCodePage(const Variant& value, int codePage) {
    Variant result = value;
    try {
        if (result.IsArray()) {
            Variant converted = result;
            WalkWideToCodePage(converted, codePage);
            result = std::move(converted);
        } else if (result.Type() == VarType::OleStr) {
            result = Variant(ToCodePage(result.Wide(), codePage));
        } else if (result.Type() == VarType::String) {
            result = Variant(ToCodePage(FromCodePage(result.Bytes(), SystemCodePage()), codePage));
        }
    } catch (const std::exception& e) {
        WriteAlertLog("libstrs", std::string("LINE[2735] ") + e.what(), "D");
    }
    return result;
}

Variant VarCodePageToWide(const Variant& value, int codePage) {
    Variant result = value;
    try {
        if (result.IsArray()) {
            Variant converted = result;
            WalkCodePageToWide(converted, codePage);
            result = std::move(converted);
        } else if (result.IsText()) {
            result = TextToWide(result, codePage);
        }
    } catch (const std::exception& e) {
        WriteAlertLog("libstrs", std::string("LINE[115] ") + e.what(), "D");
    }
    return result;
}

}  // namespace vel
