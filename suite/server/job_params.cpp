#include "suite/server/job_params.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

#include "platform/net/wire.h"
#include "suite/server/data_text.h"

namespace velserver {

namespace {

// Days from 30 Dec 1899 to 1 Jan 1970.
constexpr double kUnixEpochDays = 25569.0;

std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool HasLower(const std::string& s) {
    for (char c : s)
        if (std::islower(static_cast<unsigned char>(c))) return true;
    return false;
}

const vel::Variant& Setting(const vel::Variant& env, int index, const char* what) {
    const vel::Variant* v = Element(env, index);
    if (!v || v->IsEmpty() || v->IsNull())
        throw vel::Exception("Environment setting " + std::to_string(index) + " (" + what + ") is missing");
    return *v;
}

std::string SettingText(const vel::Variant& env, int index, const char* what) {
    const vel::Variant& v = Setting(env, index, what);
    try {
        return DataText(v);
    } catch (const std::exception&) {
        throw vel::Exception("Environment setting " + std::to_string(index) + " (" + what + ") is not a text");
    }
}

int SettingInt(const vel::Variant& env, int index, const char* what) {
    const vel::Variant& v = Setting(env, index, what);
    try {
        if (v.IsArray()) throw vel::Exception("array");
        return v.ToInt();
    } catch (const std::exception&) {
        throw vel::Exception("Environment setting " + std::to_string(index) + " (" + what + ") is not a number");
    }
}

}  // namespace

double NowDateValue() {
    using namespace std::chrono;
    std::time_t t = system_clock::to_time_t(system_clock::now());
    std::tm local{};
    localtime_r(&t, &local);
    return DateValueOf(local.tm_year + 1900, static_cast<unsigned>(local.tm_mon + 1),
                       static_cast<unsigned>(local.tm_mday), local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec);
}

double DateValueOf(int year, unsigned month, unsigned day, int secondsOfDay) {
    using namespace std::chrono;
    sys_days days{std::chrono::year{year} / std::chrono::month{month} / std::chrono::day{day}};
    return static_cast<double>(days.time_since_epoch().count()) + kUnixEpochDays + secondsOfDay / 86400.0;
}

bool SplitDateValue(double value, int& year, unsigned& month, unsigned& day, int& secondsOfDay) {
    // The calendar the clients use ends with 9999; anything else is no date.
    if (!std::isfinite(value) || value <= 0 || value > 2958466) return false;
    double whole = std::floor(value);
    long long seconds = std::llround((value - whole) * 86400.0);
    if (seconds >= 86400) {
        whole += 1;
        seconds -= 86400;
    }
    using namespace std::chrono;
    year_month_day ymd{sys_days{days{static_cast<long long>(whole - kUnixEpochDays)}}};
    year = static_cast<int>(ymd.year());
    month = static_cast<unsigned>(ymd.month());
    day = static_cast<unsigned>(ymd.day());
    secondsOfDay = static_cast<int>(seconds);
    return true;
}

std::string DateTimeText(double value) {
    int y, s;
    unsigned m, d;
    if (!SplitDateValue(value, y, m, d, s)) return "";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d-%02u-%02u %02d:%02d:%02d", y, m, d, s / 3600, s / 60 % 60, s % 60);
    return buf;
}

double YmdToDateValue(const std::string& ymd) {
    if (ymd.size() != 8 || ymd.find_first_not_of("0123456789") != std::string::npos) return 0;
    int y = std::stoi(ymd.substr(0, 4));
    unsigned m = static_cast<unsigned>(std::stoi(ymd.substr(4, 2)));
    unsigned d = static_cast<unsigned>(std::stoi(ymd.substr(6, 2)));
    std::chrono::year_month_day date{std::chrono::year{y}, std::chrono::month{m}, std::chrono::day{d}};
    if (!date.ok() || y < 1753) return 0;
    return DateValueOf(y, m, d);
}

const vel::Variant* Element(const vel::Variant& array, int index) {
    if (!array.IsArray() || array.DimCount() != 1) return nullptr;
    if (index < array.LowBound() || index > array.HighBound()) return nullptr;
    return &array[index];
}

JobEnvironment ReadEnvironment(const vel::Variant& params) {
    const vel::Variant* env = Element(params, 0);
    if (!env || !env->IsArray() || env->DimCount() != 1)
        throw vel::Exception("The parameter set has no environment settings (element 0)");
    JobEnvironment e;
    e.program = Upper(SettingText(*env, 1, "program"));
    e.company = SettingText(*env, 4, "company");
    e.user = SettingText(*env, 5, "user");
    if (const vel::Variant* db = Element(*env, 6); db && !db->IsEmpty()) e.companyDb = SettingText(*env, 6, "company database");
    if (const vel::Variant* kind = Element(*env, 9); kind && !kind->IsEmpty()) e.reportKind = SettingText(*env, 9, "report kind");
    e.periodic = HasLower(e.reportKind) || params.HighBound() >= 4;
    e.mode = SettingInt(*env, 10, "generation mode");
    if (e.mode < kQueue || e.mode > kAtTime)
        throw vel::Exception("Environment setting 10 (generation mode) is " + std::to_string(e.mode) +
                             ", not 0 (queue), 1 (real time) or 2 (at a given time)");
    if (e.mode == kAtTime) {
        const vel::Variant& start = Setting(*env, 11, "start time");
        double when = 0;
        try {
            if (!start.IsArray()) when = start.ToDate();
        } catch (const std::exception&) {
        }
        int y, s;
        unsigned m, d;
        if (!SplitDateValue(when, y, m, d, s))
            throw vel::Exception("Environment setting 11 (start time) is not a date and time");
        e.runAt = when;
    }
    if (const vel::Variant* flags = Element(*env, 13); flags && !flags->IsEmpty())
        e.outputFlags = SettingInt(*env, 13, "output flags");
    return e;
}

JobSchedule ScheduleOf(const std::string& encodedParams, double submitted) {
    JobSchedule s;
    s.runAt = submitted;
    vel::Variant params;
    try {
        params = vel::net::DecodeVariant(encodedParams);
    } catch (const std::exception&) {
        return s;
    }
    const vel::Variant* env = Element(params, 0);
    if (!env) return s;
    auto text = [&](int index) {
        try {
            const vel::Variant* v = Element(*env, index);
            return v ? DataText(*v) : std::string();
        } catch (const std::exception&) {
            return std::string();
        }
    };
    s.user = text(5);
    s.program = Upper(text(1));
    try {
        JobEnvironment e = ReadEnvironment(params);
        s.mode = e.mode;
        // A periodic job is refused by its run; let that happen at once rather than at its first date.
        if (e.mode == kAtTime && !e.periodic) s.runAt = e.runAt;
    } catch (const std::exception&) {
    }
    return s;
}

}  // namespace velserver
