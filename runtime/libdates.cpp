// Date routines of the string library: display styles, stored date texts, date shifts,
// relative dates and the first run of a periodic schedule.
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

#include "runtime/libstrs.h"

namespace vel {
namespace {

// Day 0 of the date value is 30 Dec 1899; the civil day count below starts at 1 Jan 1970.
constexpr long long kDateValueEpoch = -25569;

long long DaysFromCivil(long long y, unsigned m, unsigned d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void CivilFromDays(long long z, long long& y, unsigned& m, unsigned& d) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

// A whole number made of decimal digits only (optionally signed when `allowSign`);
// false for anything else, including blanks and numbers beyond the int range.
bool ReadDigits(const std::string& text, bool allowSign, long long& value) {
    size_t i = 0;
    bool negative = false;
    if (allowSign && i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return false;
    long long v = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        v = v * 10 + (text[i] - '0');
        if (v > std::numeric_limits<int>::max()) return false;
    }
    value = negative ? -v : v;
    return true;
}

// An integer text as the relative-date records and schedule rules carry it (blanks allowed).
bool ReadIntText(const std::string& text, int& value) {
    long long v = 0;
    if (!ReadDigits(TrimBlanks(text), true, v)) return false;
    value = static_cast<int>(v);
    return true;
}

std::string FirstCharacter(const std::string& separator) {
    if (separator.empty()) return "";
    // A double-byte character is one character: never cut it in half.
    int cp = SystemCodePage();
    if ((cp == kCodePageGB || cp == kCodePageBig5) && separator.size() >= 2 &&
        static_cast<unsigned char>(separator[0]) >= 0x81)
        return separator.substr(0, 2);
    return separator.substr(0, 1);
}

std::string Format3(const char* layout, int a, const std::string& sep, int b, int c) {
    char buf[96];
    std::snprintf(buf, sizeof buf, layout, a, sep.c_str(), b, sep.c_str(), c);
    return buf;
}

std::string Format2(const char* layout, int a, const std::string& sep, int b) {
    char buf[64];
    std::snprintf(buf, sizeof buf, layout, a, sep.c_str(), b);
    return buf;
}

std::string TwoDigits(int value) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.2d", value);
    return buf;
}

// The date value of a "yyyymmdd" text or a date variant; 0 for anything else.
double DateOfVariant(const Variant& date) {
    if (date.IsText()) return YmdToDate(date.ToString());
    if (date.Type() == VarType::Date) return date.ToDate();
    return 0;
}

std::string ShiftDays(const std::string& ymd, long long days) {
    double d = YmdToDate(ymd);
    if (d == 0) return "";
    return DateToYmd(d + static_cast<double>(days));
}

}  // namespace

// ---- Calendar -----------------------------------------------------------------------------

int DaysInMonth(int year, int month) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    if (month == 2 && ((year % 4 == 0 && year % 100 != 0) || year % 400 == 0)) return 29;
    return kDays[month - 1];
}

bool TryEncodeDate(int year, int month, int day, double& date) {
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month))
        return false;
    date = static_cast<double>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                               kDateValueEpoch);
    return true;
}

bool DecodeDate(double date, int& year, int& month, int& day) {
    if (!std::isfinite(date) || std::fabs(date) > 1e8) return false;
    long long y;
    unsigned m, d;
    CivilFromDays(static_cast<long long>(std::trunc(date)) + kDateValueEpoch, y, m, d);
    if (y < 1 || y > 9999) return false;
    year = static_cast<int>(y);
    month = static_cast<int>(m);
    day = static_cast<int>(d);
    return true;
}

int DayOfWeek(double date) {
    long long days = static_cast<long long>(std::trunc(date)) + kDateValueEpoch;  // 0 = Thursday
    long long w = ((days + 4) % 7 + 7) % 7;                                          // 0 = Sunday
    return static_cast<int>(w) + 1;
}

std::string DateToYmd(double date) {
    int y, m, d;
    if (!DecodeDate(date, y, m, d)) return "";
    char buf[16];
    std::snprintf(buf, sizeof buf, "%.4d%.2d%.2d", y, m, d);
    return buf;
}

std::string TodayYmd() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    double today = 0;
    return TryEncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, today) ? DateToYmd(today) : "";
}

// ---- Display styles -----------------------------------------------------------------------

std::string FormatDisplayDate(int dateTypeCode, const std::string& separator, double date) {
    int y, m, d;
    if (date == 0 || !DecodeDate(date, y, m, d)) return "";
    std::string sep = FirstCharacter(separator);
    switch (dateTypeCode) {
        case 1: return Format3("%.4d%s%.2d%s%.2d", y, sep, m, d);
        case 2: return Format3("%.2d%s%.2d%s%.4d", m, sep, d, y);
        case 3: return Format3("%.2d%s%.2d%s%.4d", d, sep, m, y);
        case 4: return Format3("%.2d%s%.2d%s%.2d", y - 1911, sep, m, d);
        case 5: return Format3("%.3d%s%.2d%s%.2d", y - 1911, sep, m, d);
        default: return "";
    }
}

std::string FormatDisplayYearMonth(int dateTypeCode, const std::string& separator, double date) {
    int y, m, d;
    if (date == 0 || !DecodeDate(date, y, m, d)) return "";
    std::string sep = FirstCharacter(separator);
    switch (dateTypeCode) {
        case 1: return Format2("%.4d%s%.2d", y, sep, m);
        case 2:
        case 3: return Format2("%.2d%s%.4d", m, sep, y);
        case 4: return Format2("%.2d%s%.2d", y - 1911, sep, m);
        case 5: return Format2("%.3d%s%.2d", y - 1911, sep, m);
        default: return "";
    }
}

double ParseDisplayDate(const std::string& text, int dateTypeCode, const std::string& separator) {
    std::string rest = TrimBlanks(text);
    if (rest.empty()) return 0;
    std::string sep = FirstCharacter(separator);
    int f[3];
    for (int& v : f) {
        long long n = 0;
        // The parts are 16-bit numbers; one that does not fit is as unreadable as a word,
        // rather than wrapping round into some other valid date.
        bool ok = ReadDigits(TrimBlanks(CutFirstField(rest, sep)), true, n) && n <= 32767;
        v = ok ? static_cast<int>(n) : -1;
    }
    if (f[0] <= 0 || f[1] <= 0 || f[2] <= 0 || dateTypeCode <= 0) return 0;
    int year, month, day;
    switch (dateTypeCode) {
        case 1: year = f[0]; month = f[1]; day = f[2]; break;
        case 2: year = f[2]; month = f[0]; day = f[1]; break;
        case 3: year = f[2]; month = f[1]; day = f[0]; break;
        case 4:
        case 5: year = f[0] + 1911; month = f[1]; day = f[2]; break;
        default: return 0;
    }
    double first;
    if (!TryEncodeDate(year, month, 1, first)) return 0;
    return first + (day - 1);
}

// ---- Stored date texts --------------------------------------------------------------------

namespace {

// Exactly eight digits forming a date the calendar accepts. A sign or blank inside the text,
// or a longer text whose first eight characters happen to form a date, is not a stored date.
bool EncodeYmd(const std::string& text, double& date) {
    if (text.size() != 8) return false;
    long long y, m, d;
    if (!ReadDigits(text.substr(0, 4), false, y) || !ReadDigits(text.substr(4, 2), false, m) ||
        !ReadDigits(text.substr(6, 2), false, d))
        return false;
    return TryEncodeDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d), date);
}

}  // namespace

double YmdToDate(const std::string& text) {
    double date = 0;
    return EncodeYmd(text, date) ? date : 0;
}

bool IsValidYmd(const std::string& text) {
    if (text.empty()) return true;
    double date;
    if (!EncodeYmd(text, date)) return false;
    return text >= "17530101" && text <= "99991231";
}

std::string ShiftYmd(const Variant& date, const std::string& unit, int count) {
    try {
        double value = DateOfVariant(date);
        int y, m, d;
        if (value == 0 || !DecodeDate(value, y, m, d)) return "";
        std::string u = unit;
        for (char& c : u) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        double result;
        if (u == "Y" || u == "M") {
            long long year = y, month = m;
            if (u == "Y") {
                year += count;
            } else {
                long long total = static_cast<long long>(y) * 12 + m + count;
                month = total % 12;
                year = total / 12;
                if (month == 0) { month = 12; year -= 1; }
                if (month < 0) { month += 12; year -= 1; }
            }
            if (year < 1 || year > 9999) return "";
            // 31 January plus one month is the last day of February; 29 February plus one
            // year is 28 February.
            int day = std::min(d, DaysInMonth(static_cast<int>(year), static_cast<int>(month)));
            if (!TryEncodeDate(static_cast<int>(year), static_cast<int>(month), day, result)) return "";
        } else if (u == "D") {
            result = value + count;
        } else {
            return "";
        }
        return DateToYmd(result);
    } catch (...) {
        return "";
    }
}

std::string WeekBoundary(const std::string& base, int weeks, const std::string& mode) {
    std::string shifted = ShiftDays(base, static_cast<long long>(weeks) * 7);
    if (shifted.empty()) return "";
    int w = DayOfWeek(YmdToDate(shifted));
    return ShiftDays(shifted, mode == "1" ? 1 - w : 7 - w);
}

std::string ResolveRelativeDate(const std::string& base, const std::string& offset,
                                const std::string& unit, const std::string& mode,
                                const std::string& days) {
    int off = 0;
    if (!ReadIntText(offset, off)) return "";
    if (base.size() <= 6) {
        std::string shifted = ShiftYmd(Variant(base + "01"), "M", off);
        return shifted.substr(0, std::min<size_t>(6, shifted.size()));
    }
    int md = 0, dd = 0;
    if (!ReadIntText(mode, md) || !ReadIntText(days, dd)) return "";
    if (unit == "0") {
        if (mode == "0") return ShiftDays(base, static_cast<long long>(off) * 7 + dd);
        return WeekBoundary(base, off, mode);
    }
    std::string shifted = ShiftYmd(Variant(base), "M", off);
    if (shifted.empty()) return "";
    switch (md) {
        case 0: return ShiftDays(shifted, dd);
        case 1: return shifted.substr(0, 6) + "01";
        case 2: {
            int y = std::stoi(shifted.substr(0, 4)), m = std::stoi(shifted.substr(4, 2));
            return shifted.substr(0, 6) + TwoDigits(DaysInMonth(y, m));
        }
        default: return shifted;
    }
}

// ---- Schedules ----------------------------------------------------------------------------

std::string FirstScheduleDate(const std::string& start, const Variant& rule) {
    std::string result;
    try {
        double startDate = YmdToDate(start);
        if (startDate == 0) return "";
        int kind = rule[0].ToInt();
        if (kind == 0) return DateToYmd(startDate);
        if (kind == 1) {
            const Variant& p = rule[1];
            int n = p[0].ToInt(), weekday = p[1].ToInt();
            if (n < 1 || weekday < 0 || weekday > 6) return "";
            int b = DayOfWeek(startDate), c = weekday + 1;
            long long shift = static_cast<long long>(c >= b ? n - 1 : n) * 7;
            double shifted = startDate + static_cast<double>(shift);
            int e = DayOfWeek(shifted);
            result = DateToYmd(shifted + (c - e));
            return result;
        }
        if (kind != 2) return "";
        const Variant& p = rule[1];
        int sub = p[0].ToInt(), n = p[1].ToInt();
        if (n < 1) return "";
        int sy, sm, sd;
        DecodeDate(startDate, sy, sm, sd);
        if (sub == 0) {
            int day = p[2].ToInt();
            std::string shifted = ShiftYmd(Variant(start), "M", day >= sd ? n - 1 : n);
            if (shifted.empty()) return "";
            std::string ym = shifted.substr(0, 6);
            std::string candidate = ym + TwoDigits(day);
            if (IsValidYmd(candidate)) {
                result = candidate;
            } else {
                result = ym + TwoDigits(DaysInMonth(std::stoi(ym.substr(0, 4)), std::stoi(ym.substr(4, 2))));
            }
            return result;
        }
        if (sub != 1) return "";
        int ordinal = p[2].ToInt(), weekday = p[3].ToInt();
        if (ordinal < 0 || ordinal > 4 || weekday < 0 || weekday > 6) return "";
        int c = weekday + 1;
        // With N >= 1 the second month is always after the start, so two rounds suffice.
        for (int months : {n - 1, n}) {
            std::string shifted = ShiftYmd(Variant(start), "M", months);
            if (shifted.empty()) return result;
            double first = YmdToDate(shifted.substr(0, 6) + "01");
            double date;
            if (ordinal <= 3) {
                int diff = c - DayOfWeek(first);
                date = first + (diff >= 0 ? diff + 7 * ordinal : diff + 7 * (ordinal + 1));
            } else {
                int y = std::stoi(shifted.substr(0, 4)), m = std::stoi(shifted.substr(4, 2));
                double last = first + (DaysInMonth(y, m) - 1);
                int g = DayOfWeek(last) - c;
                date = last - (g >= 0 ? g : g + 7);
            }
            result = DateToYmd(date);
            if (result >= start) break;
        }
        return result;
    } catch (...) {
        return result;
    }
}

Variant RebaseRelativeDates(const Variant& set, const std::string& runDate) {
    try {
        Variant values = set[1];
        const Variant& records = set[3];
        int count = records[0].ToInt();
        auto recompute = [](const std::string& base, const std::string& record, int first) -> Variant {
            std::string offset = GetDelimitedField(record, kFieldSepText, first);
            std::string unit = GetDelimitedField(record, kFieldSepText, first + 1);
            std::string mode = GetDelimitedField(record, kFieldSepText, first + 2);
            std::string days = GetDelimitedField(record, kFieldSepText, first + 3);
            if (offset == "0" && mode == "0" && days == "0") return Variant(base);
            return Variant(ResolveRelativeDate(base, offset, unit, mode, days));
        };
        for (int i = 1; i <= count; ++i) {
            std::string record = records[i].ToString();
            auto field = [&](int n) { return GetDelimitedField(record, kFieldSepText, n); };
            bool range = field(1) == "0";
            std::string dateKind = field(range ? 13 : 8);
            int index = 0;
            if (!ReadIntText(field(range ? 14 : 9), index)) throw Exception("bad condition index");
            std::string base = dateKind == "D" ? runDate : runDate.substr(0, 6);
            Variant value = values[index];
            if (!range) {
                if (field(3) == "Y") value = recompute(base, record, 4);
            } else {
                if (field(3) == "Y") value[1] = recompute(base, record, 4);
                if (field(8) == "Y") value[2] = recompute(base, record, 9);
            }
            values[index] = value;
        }
        return values;
    } catch (...) {
        return Variant(std::string());
    }
}

}  // namespace vel
