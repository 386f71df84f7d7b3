// velctl date: the date routines the forms use, for checking a date style or a schedule
// rule from the command line.
#include <cstdlib>
#include <ostream>

#include "platform/text/codepage.h"
#include "platform/variant/variant.h"
#include "runtime/libstrs.h"
#include "suite/ctl/args.h"
#include "suite/ctl/command.h"

namespace velctl {
namespace {

const char* kUsage =
    "velctl date format CODE SEP YYYYMMDD | format-ym CODE SEP YYYYMMDD | parse CODE SEP TEXT | valid TEXT\n"
    "velctl date shift DATE Y|M|D COUNT | resolve BASE OFFSET UNIT MODE DAYS\n"
    "velctl date first-run START daily:N|weekly:N:WEEKDAY|monthly-day:N:DAY|"
    "monthly-weekday:N:ORDINAL:WEEKDAY|hourly:H   (weekday 0 = Sunday)";

std::vector<std::string> Split(const std::string& text, char sep) {
    std::vector<std::string> parts;
    size_t from = 0;
    for (;;) {
        size_t p = text.find(sep, from);
        parts.push_back(text.substr(from, p == std::string::npos ? std::string::npos : p - from));
        if (p == std::string::npos) return parts;
        from = p + 1;
    }
}

// The schedule rule [kind, parameters] the periodic page builds for a cycle style.
bool BuildRule(const std::string& text, vel::Variant& rule) {
    std::vector<std::string> p = Split(text, ':');
    std::vector<int> n(p.size() > 1 ? p.size() - 1 : 0);
    const std::string& kind = p[0];
    if (kind == "hourly") {
        if (p.size() != 2 || p[1].empty()) return false;
        char* end = nullptr;
        double hours = std::strtod(p[1].c_str(), &end);
        if (*end != '\0') return false;
        rule = vel::Variant::Of({3, hours});
        return true;
    }
    for (size_t i = 1; i < p.size(); ++i)
        if (!ParseInt(p[i], n[i - 1])) return false;
    if (kind == "daily" && n.size() == 1) {
        rule = vel::Variant::Of({0, n[0]});
    } else if (kind == "weekly" && n.size() == 2) {
        rule = vel::Variant::Of({1, vel::Variant::Of({n[0], n[1]})});
    } else if (kind == "monthly-day" && n.size() == 2) {
        rule = vel::Variant::Of({2, vel::Variant::Of({0, n[0], n[1]})});
    } else if (kind == "monthly-weekday" && n.size() == 3) {
        rule = vel::Variant::Of({2, vel::Variant::Of({1, n[0], n[1], n[2]})});
    } else {
        return false;
    }
    return true;
}

std::string Ansi(const std::string& utf8) { return vel::Utf8ToAnsi(utf8); }

int Usage(std::ostream& err) {
    err << "usage: " << kUsage << "\n";
    return 2;
}

int Run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) return Usage(err);
    const std::string& verb = args[0];
    int code = 0, count = 0;
    if ((verb == "format" || verb == "format-ym") && args.size() == 4) {
        if (!ParseInt(args[1], code)) return Usage(err);
        double date = vel::YmdToDate(args[3]);
        std::string text = verb == "format" ? vel::FormatDisplayDate(code, Ansi(args[2]), date)
                                            : vel::FormatDisplayYearMonth(code, Ansi(args[2]), date);
        out << vel::AnsiToUtf8(text) << "\n";
    } else if (verb == "parse" && args.size() == 4) {
        if (!ParseInt(args[1], code)) return Usage(err);
        double date = vel::ParseDisplayDate(Ansi(args[3]), code, Ansi(args[2]));
        out << (date == 0 ? std::string() : vel::DateToYmd(date)) << "\n";
    } else if (verb == "valid" && args.size() == 2) {
        out << (vel::IsValidYmd(Ansi(args[1])) ? "true" : "false") << "\n";
    } else if (verb == "shift" && args.size() == 4) {
        if (!ParseInt(args[3], count)) return Usage(err);
        out << vel::ShiftYmd(vel::Variant(args[1]), args[2], count) << "\n";
    } else if (verb == "resolve" && args.size() == 6) {
        out << vel::ResolveRelativeDate(args[1], args[2], args[3], args[4], args[5]) << "\n";
    } else if (verb == "first-run" && args.size() == 3) {
        vel::Variant rule;
        if (!BuildRule(args[2], rule)) return Usage(err);
        out << vel::FirstScheduleDate(args[1], rule) << "\n";
    } else {
        return Usage(err);
    }
    return 0;
}

const Registrar registrar({"date", kUsage, Run});

}  // namespace
}  // namespace velctl
