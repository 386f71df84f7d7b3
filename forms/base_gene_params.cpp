// Packing the parameter set sent with a request: environment settings, option texts and
// option values, each filled by every level of the form chain and checked for its count.
#include <chrono>

#include "forms/base_gene.h"
#include "platform/text/codepage.h"

namespace vel {
namespace {

// Days since 30 Dec 1899 for the current local time.
double CurrentDateTime() {
    using namespace std::chrono;
    auto now = system_clock::now();
    time_t t = system_clock::to_time_t(now);
    tm local{};
    localtime_r(&t, &local);
    auto days = sys_days{year{local.tm_year + 1900} / month{static_cast<unsigned>(local.tm_mon + 1)} /
                         day{static_cast<unsigned>(local.tm_mday)}};
    double whole = static_cast<double>(days.time_since_epoch().count()) + 25569.0;
    return whole + (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
}

// Index of the first empty or null element of 1..count, or 0.
int FirstEmpty(const Variant& a, int count) {
    for (int i = 1; i <= count; ++i)
        if (a[i].IsEmpty() || a[i].IsNull()) return i;
    return 0;
}

}  // namespace

std::string TfrmBaseGene::FormText(const char* key, const char* authored) {
    return LangText("TfrmBaseGene", key, CN(authored));
}

bool TfrmBaseGene::BuildParameters() {
    try {
        return PackParameters();
    } catch (const std::exception& e) {
        ReportRawError(e.what());
        return false;
    }
}

bool TfrmBaseGene::PackParameters() {
    const int a = EnvCount;
    const int b = ConditionCount;
    if (a <= 0 || (b <= 0 && !AutoRun)) {
        ReportMessage("I;000003");
        return false;
    }
    Variant env = Variant::Array(1, a);
    Variant texts = Variant::Array(1, std::max(b, 0));
    Variant values = Variant::Array(1, std::max(b, 0));
    const int own = b - BaseConditionCount;

    // One level's contribution must fill exactly its count, without gaps.
    auto checked = [this](Variant& array, int expected, const char* key, const char* authored) {
        std::string label = FormText(key, authored);
        if (array.HighBound() != expected) {
            ReportMessage("W;000002;" + label + ";" + std::to_string(expected) + ";" + std::to_string(array.HighBound()));
            return false;
        }
        if (int empty = FirstEmpty(array, expected)) {
            ReportMessage("W;000003;" + label + ";" + std::to_string(expected) + ";" + std::to_string(empty));
            return false;
        }
        return true;
    };
    if (!PackOptionTexts(texts, own)) return false;
    if (!checked(texts, b, "sOption", "选择条件文字")) return false;
    if (!PackOptionValues(values, own)) return false;
    if (!checked(values, b, "sOptionInf", "选择条件信息")) return false;
    if (!PackEnvSettings(env, a)) return false;
    if (!checked(env, a, "sEnvSetting", "环境设置")) return false;

    Variant packed = Variant::Array(0, 2);
    packed[0] = VelConverter ? VelConverter->ConvertScreenToData(env) : env;
    packed[1] = VelConverter ? VelConverter->ConvertScreenToData(texts) : texts;
    packed[2] = VelConverter ? VelConverter->ConvertScreenToData(values) : values;
    Parameters = packed;
    return true;
}

bool TfrmBaseGene::PackEnvSettings(Variant& env, int count) {
    std::string kind = ReportKind;
    for (auto& c : kind) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    std::string id = ProgramId;
    for (auto& c : id) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    env[1] = Variant(id);
    env[2] = Variant(EnvCount);
    env[3] = Variant(ConditionCount);
    env[4] = Variant(CompanyId);
    env[5] = Variant(UserId);
    env[6] = Variant(CompanyDb);
    env[7] = Variant::FromDate(CurrentDateTime());
    env[8] = Variant(ServerObjectName);
    env[9] = Variant(kind);
    return true;
}

bool TfrmBaseGene::PackOptionTexts(Variant& texts, int ownCount) {
    QueryFlag = 1;
    int index = ownCount + BaseConditionCount;
    if (index < texts.LowBound() || index > texts.HighBound()) return true;  // the count check reports it
    std::string caption = lblToday ? lblToday->Caption() : FormText("sPrintDate", "制表日期");
    texts[index] = Variant::Of({Variant(caption), Variant("edPrintDate")});
    return true;
}

bool TfrmBaseGene::PackOptionValues(Variant& values, int ownCount) {
    int index = ownCount + BaseConditionCount;
    if (index < values.LowBound() || index > values.HighBound()) return true;
    try {
        std::string text = edPrintDate ? edPrintDate->EditText() : "";
        std::string trimmed = text;
        while (!trimmed.empty() && trimmed.back() == ' ') trimmed.pop_back();
        while (!trimmed.empty() && trimmed.front() == ' ') trimmed.erase(0, 1);
        const std::string& sep = CachedDateSeparator;
        bool blank = trimmed.empty() || trimmed == BlankDateText() ||
                     (!sep.empty() && (trimmed.compare(0, sep.size(), sep) == 0 ||
                                       (trimmed.size() >= sep.size() &&
                                        trimmed.compare(trimmed.size() - sep.size(), sep.size(), sep) == 0)));
        values[index] = Variant(blank ? std::string() : NormalizeDate(text));
        return true;
    } catch (const std::exception&) {
        ReportMessage("E;000030");
        return false;
    }
}

}  // namespace vel
