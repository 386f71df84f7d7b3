#include "suite/server/cost_difference_report.h"

#include <cmath>
#include <cstdio>
#include <optional>

#include "platform/system/inifile.h"
#include "suite/server/data_text.h"

namespace velserver {

using vel::Variant;

namespace {

constexpr char kRangeMarker = '\x04';
constexpr char kListMarker = '\x05';

const char* const kColumns[] = {"品号", "品名", "仓库", "仓库名称", "数量", "金额", "单位成本", "标准成本", "差异金额"};

[[noreturn]] void Malformed(const std::string& caption, const std::string& name, const std::string& why) {
    throw vel::Exception("Condition " + (caption.empty() ? name : caption + " (" + name + ")") + " " + why);
}

// A condition as the client packed it: its caption from the option texts, its value from the
// option values at the same position.
struct Condition {
    std::string name;
    std::string caption;  // UTF-8
    const Variant* value = nullptr;
};

std::string Utf8Text(const Variant& v) {
    if (v.Type() == vel::VarType::OleStr) return vel::WideToUtf8(v.Wide());
    return DataToUtf8(DataText(v));
}

std::optional<Condition> FindCondition(const Variant& texts, const Variant& values, const char* name) {
    for (int i = texts.LowBound(); i <= texts.HighBound(); ++i) {
        const Variant* pair = Element(texts, i);
        const Variant* component = pair ? Element(*pair, pair->IsArray() ? pair->LowBound() + 1 : 0) : nullptr;
        if (!component || !component->IsText() || !vel::SameText(DataText(*component), name)) continue;
        Condition c{name, "", Element(values, i)};
        try {
            c.caption = Utf8Text((*pair)[pair->LowBound()]);
        } catch (const std::exception&) {
        }
        return c;
    }
    return std::nullopt;
}

Condition RequireCondition(const Variant& texts, const Variant& values, const char* name) {
    auto c = FindCondition(texts, values, name);
    if (!c) throw vel::Exception(std::string("The parameter set has no condition ") + name);
    if (!c->value || c->value->IsEmpty() || c->value->IsNull()) Malformed(c->caption, name, "has no value");
    return *c;
}

std::string ConditionText(const Condition& c) {
    try {
        return DataText(*c.value);
    } catch (const std::exception&) {
        Malformed(c.caption, c.name, "is not a text");
    }
}

// The item or warehouse condition of a selection panel.
struct Selection {
    bool list = false;
    std::string begin, end;          // data code page; blank = open
    std::vector<std::string> codes;  // list rows' codes; none = all

    bool Matches(const std::string& code) const {
        if (list) {
            if (codes.empty()) return true;
            for (const auto& c : codes)
                if (c == code) return true;
            return false;
        }
        return (begin.empty() || code >= begin) && (end.empty() || code <= end);
    }

    std::string Describe() const {
        if (!list) return DataToUtf8(begin) + " ~ " + DataToUtf8(end);
        std::string out;
        for (const auto& c : codes) out += (out.empty() ? "" : ", ") + DataToUtf8(c);
        return out.empty() ? "~" : out;
    }
};

Selection ReadSelection(const Condition& c) {
    const Variant& v = *c.value;
    if (!v.IsArray() || v.DimCount() != 1 || v.HighBound() < v.LowBound())
        Malformed(c.caption, c.name, "is not a range or a list");
    const int low = v.LowBound();
    std::string marker;
    try {
        marker = DataText(v[low]);
    } catch (const std::exception&) {
    }
    Selection s;
    auto text = [&](const Variant& e) {
        try {
            return vel::TrimText(DataText(e));
        } catch (const std::exception&) {
            Malformed(c.caption, c.name, "holds a value that is not a text");
        }
    };
    if (marker == std::string(1, kRangeMarker)) {
        if (const Variant* b = Element(v, low + 1)) s.begin = text(*b);
        if (const Variant* e = Element(v, low + 2)) s.end = text(*e);
    } else if (marker == std::string(1, kListMarker)) {
        s.list = true;
        for (int i = low + 1; i <= v.HighBound(); ++i) {
            const Variant& row = v[i];
            // A row is [code, columns...]; a bare text is taken as the code.
            std::string code = row.IsArray() ? (row.HighBound() >= row.LowBound() ? text(row[row.LowBound()]) : "")
                                             : text(row);
            if (!code.empty()) s.codes.push_back(code);
        }
    } else {
        Malformed(c.caption, c.name, "is neither a range (chr(4)) nor a list (chr(5))");
    }
    return s;
}

struct Block {
    bool everyPage = false;
    std::vector<std::string> lines;  // UTF-8, non-blank ones
};

// Footer (kind "1") or sign-off (kind "2"): the lines as sent; lines left blank with a code
// given come from the code's row.
std::optional<Block> ReadBlock(ServerStore& store, const Variant& texts, const Variant& values, const char* name,
                               const char* kind) {
    auto c = FindCondition(texts, values, name);
    if (!c || !c->value || c->value->IsEmpty()) return std::nullopt;
    const Variant& v = *c->value;
    if (!v.IsArray() || v.DimCount() != 1 || v.HighBound() - v.LowBound() < 5)
        Malformed(c->caption, name, "is not [caption, every page, code, line 1, line 2, line 3]");
    const int low = v.LowBound();
    Block b;
    try {
        b.everyPage = v[low + 1].ToBool();
    } catch (const std::exception&) {
        Malformed(c->caption, name, "has no true/false for printing on every page");
    }
    std::vector<std::string> lines;
    std::string code;
    try {
        code = vel::TrimText(DataText(v[low + 2]));
        for (int i = 3; i <= 5; ++i) lines.push_back(vel::TrimText(DataText(v[low + i])));
    } catch (const std::exception&) {
        Malformed(c->caption, name, "holds a value that is not a text");
    }
    if (lines[0].empty() && lines[1].empty() && lines[2].empty() && !code.empty()) {
        if (auto row = store.QueryRow("CMSMS", "01", {kind, code}); row && row->size() >= 4)
            lines = {(*row)[1], (*row)[2], (*row)[3]};
    }
    for (const auto& l : lines)
        if (!l.empty()) b.lines.push_back(DataToUtf8(l));
    return b;
}

std::string Setting(const std::vector<std::pair<std::string, std::string>>& settings, const char* name) {
    for (const auto& [n, v] : settings)
        if (vel::SameText(n, name)) return v;
    return "";
}

// Dates printed in one of the five date types: 1 y/m/d, 2 m/d/y, 3 d/m/y, 4 and 5 the
// year counted from 1911 with two or three digits.
struct DateStyle {
    int type = 1;
    std::string separator = "/";

    std::string Date(int y, unsigned m, unsigned d) const {
        const char* s = separator.c_str();
        char buf[64];
        switch (type) {
            case 2: std::snprintf(buf, sizeof buf, "%02u%s%02u%s%04d", m, s, d, s, y); break;
            case 3: std::snprintf(buf, sizeof buf, "%02u%s%02u%s%04d", d, s, m, s, y); break;
            case 4: std::snprintf(buf, sizeof buf, "%02d%s%02u%s%02u", y - 1911, s, m, s, d); break;
            case 5: std::snprintf(buf, sizeof buf, "%03d%s%02u%s%02u", y - 1911, s, m, s, d); break;
            default: std::snprintf(buf, sizeof buf, "%04d%s%02u%s%02u", y, s, m, s, d); break;
        }
        return buf;
    }
    std::string YearMonth(int y, unsigned m) const {
        const char* s = separator.c_str();
        char buf[48];
        switch (type) {
            case 2:
            case 3: std::snprintf(buf, sizeof buf, "%02u%s%04d", m, s, y); break;
            case 4: std::snprintf(buf, sizeof buf, "%02d%s%02u", y - 1911, s, m); break;
            case 5: std::snprintf(buf, sizeof buf, "%03d%s%02u", y - 1911, s, m); break;
            default: std::snprintf(buf, sizeof buf, "%04d%s%02u", y, s, m); break;
        }
        return buf;
    }
};

// The date type asked for; none or an unknown one is the company's own (Sys001). The two
// types counted from 1911 exist only where SYS026 is not "2".
DateStyle ReadDateStyle(const Variant& texts, const Variant& values,
                        const std::vector<std::pair<std::string, std::string>>& settings) {
    DateStyle style;
    std::string sep = Setting(settings, "Sys002");
    style.separator = sep.substr(0, 1);
    int type = 0;
    if (auto c = FindCondition(texts, values, "cboDateType"); c && c->value && !c->value->IsEmpty()) {
        const Variant& v = *c->value;
        try {
            type = v.IsArray() ? (v.HighBound() >= v.LowBound() ? v[v.LowBound()].ToInt() : 0) : v.ToInt();
        } catch (const std::exception&) {
            Malformed(c->caption, "cboDateType", "is not [date type, text]");
        }
    }
    if (type < 1 || type > 5) {
        try {
            type = std::stoi(Setting(settings, "Sys001"));
        } catch (const std::exception&) {
            type = 1;
        }
    }
    if (type < 1 || type > 5 || (type >= 4 && Setting(settings, "SYS026") == "2")) type = 1;
    style.type = type;
    return style;
}

double RoundTo(double v, int decimals) {
    double scale = std::pow(10.0, decimals);
    double r = std::round(v * scale) / scale;
    return r == 0 ? 0.0 : r;  // never "-0.00"
}

std::string Fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, RoundTo(v, decimals));
    return buf;
}

// Quantities without trailing zeros: 1000, 2.5.
std::string Quantity(double v) {
    std::string s = Fixed(v, 4);
    s.erase(s.find_last_not_of('0') + 1);
    if (!s.empty() && s.back() == '.') s.pop_back();
    return s;
}

std::string CsvField(const std::string& s) {
    if (s.find_first_of(",\"\r\n") == std::string::npos) return s;
    std::string out = "\"";
    for (char ch : s) {
        if (ch == '"') out += '"';
        out += ch;
    }
    return out + "\"";
}

std::string Html(const std::string& s) {
    std::string out;
    for (char ch : s) {
        switch (ch) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\'': out += "&#39;"; break;
            default: out += ch;
        }
    }
    return out;
}

struct Row {
    std::string item, itemName, warehouse, warehouseName;  // UTF-8
    double quantity, amount, unitCost, standard, difference;
    bool hasStandard;
};

std::vector<std::string> Cells(const Row& r) {
    return {r.item,           r.itemName,         r.warehouse,
            r.warehouseName,  Quantity(r.quantity), Fixed(r.amount, 2),
            Fixed(r.unitCost, 4), r.hasStandard ? Fixed(r.standard, 4) : "", Fixed(r.difference, 2)};
}

std::string Csv(const std::vector<Row>& rows) {
    std::string out;
    for (size_t i = 0; i < std::size(kColumns); ++i) out += (i ? "," : "") + std::string(kColumns[i]);
    out += "\r\n";
    for (const Row& r : rows) {
        std::vector<std::string> cells = Cells(r);
        for (size_t i = 0; i < cells.size(); ++i) out += (i ? "," : "") + CsvField(cells[i]);
        out += "\r\n";
    }
    return out;
}

struct Header {
    std::string title, company, reference;
    std::vector<std::pair<std::string, std::string>> lines;  // caption, value
};

std::string SignOffLine(const Block& b) {
    std::string out;
    for (const auto& l : b.lines) out += "<span>" + Html(l) + "：<span class=\"sign\"></span></span>";
    return out;
}

std::string HtmlReport(const Header& h, const std::vector<Row>& rows, const std::optional<Block>& footer,
                       const std::optional<Block>& signOff) {
    constexpr int kColumnCount = static_cast<int>(std::size(kColumns));
    std::string out =
        "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + Html(h.title) +
        "</title>\n<style>\n"
        "body{font-family:sans-serif;margin:1em}h1{font-size:1.4em;margin:0}\n"
        "table.data{border-collapse:collapse;margin:.5em 0}\n"
        "table.data th,table.data td{border:1px solid #888;padding:2px 6px}\n"
        "td.n{text-align:right}td.none{text-align:center}table.conditions th{text-align:left;padding-right:1em}\n"
        ".sign{display:inline-block;width:8em;border-bottom:1px solid #000;margin:0 2em 0 .3em}\n"
        "</style>\n</head>\n<body>\n<h1>" +
        Html(h.title) + "</h1>\n";
    if (!h.company.empty()) out += "<p class=\"company\">" + Html(h.company) + "</p>\n";
    out += "<table class=\"conditions\">\n";
    for (const auto& [caption, value] : h.lines)
        out += "<tr><th>" + Html(caption) + "</th><td>" + Html(value) + "</td></tr>\n";
    out += "</table>\n<p class=\"job\">" + Html(h.reference) + "</p>\n<table class=\"data\">\n<thead><tr>";
    for (const char* c : kColumns) out += "<th>" + Html(c) + "</th>";
    out += "</tr></thead>\n";

    // A table foot repeats on every printed page.
    std::string everyPage;
    if (footer && footer->everyPage)
        for (const auto& l : footer->lines)
            everyPage += "<tr><td colspan=\"" + std::to_string(kColumnCount) + "\" class=\"footer\">" + Html(l) + "</td></tr>\n";
    if (signOff && signOff->everyPage && !signOff->lines.empty())
        everyPage += "<tr><td colspan=\"" + std::to_string(kColumnCount) + "\" class=\"signoff\">" + SignOffLine(*signOff) +
                     "</td></tr>\n";
    if (!everyPage.empty()) out += "<tfoot>\n" + everyPage + "</tfoot>\n";

    out += "<tbody>\n";
    for (const Row& r : rows) {
        std::vector<std::string> cells = Cells(r);
        out += "<tr>";
        for (size_t i = 0; i < cells.size(); ++i) out += (i < 4 ? "<td>" : "<td class=\"n\">") + Html(cells[i]) + "</td>";
        out += "</tr>\n";
    }
    if (rows.empty())
        out += "<tr><td colspan=\"" + std::to_string(kColumnCount) + "\" class=\"none\">没有符合条件的资料</td></tr>\n";
    out += "</tbody>\n</table>\n";
    if (footer && !footer->everyPage && !footer->lines.empty()) {
        out += "<div class=\"footer\">\n";
        for (const auto& l : footer->lines) out += "<p>" + Html(l) + "</p>\n";
        out += "</div>\n";
    }
    if (signOff && !signOff->everyPage && !signOff->lines.empty())
        out += "<p class=\"signoff\">" + SignOffLine(*signOff) + "</p>\n";
    out += "</body>\n</html>\n";
    return out;
}

}  // namespace

std::vector<std::pair<std::string, std::string>> RunCostDifferenceReport(ServerStore& store, const Variant& params,
                                                                         const JobEnvironment& env,
                                                                         const std::string& reference, double now) {
    const Variant* texts = Element(params, 1);
    const Variant* values = Element(params, 2);
    if (!texts || !values || !texts->IsArray() || !values->IsArray() || texts->DimCount() != 1 ||
        values->DimCount() != 1)
        throw vel::Exception("The parameter set has no option texts and values (elements 1 and 2)");

    Condition monthCond = RequireCondition(*texts, *values, "ed01");
    std::string yearMonth = vel::TrimText(ConditionText(monthCond));
    int year = 0;
    unsigned month = 0;
    if (yearMonth.size() == 6 && yearMonth.find_first_not_of("0123456789") == std::string::npos) {
        year = std::stoi(yearMonth.substr(0, 4));
        month = static_cast<unsigned>(std::stoi(yearMonth.substr(4)));
    }
    if (year < 1753 || month < 1 || month > 12)
        Malformed(monthCond.caption, "ed01", "is " + DataToUtf8(yearMonth) + ", not a year and month yyyymm");

    Condition itemCond = RequireCondition(*texts, *values, "sp02");
    Condition warehouseCond = RequireCondition(*texts, *values, "sp03");
    Selection items = ReadSelection(itemCond);
    Selection warehouses = ReadSelection(warehouseCond);

    Condition onlyCond = RequireCondition(*texts, *values, "chk04");
    bool differencesOnly;
    if (onlyCond.value->Type() == vel::VarType::Boolean) {
        differencesOnly = onlyCond.value->ToBool();
    } else {
        std::string flag = vel::TrimText(ConditionText(onlyCond));
        if (!vel::SameText(flag, "Y") && !vel::SameText(flag, "N"))
            Malformed(onlyCond.caption, "chk04", "is " + DataToUtf8(flag) + ", not Y or N");
        differencesOnly = vel::SameText(flag, "Y");
    }

    auto settings = store.GetSysInfo(env.company);
    DateStyle style = ReadDateStyle(*texts, *values, settings);
    std::optional<Block> signOff = ReadBlock(store, *texts, *values, "grpSignIn", "2");
    std::optional<Block> footer = ReadBlock(store, *texts, *values, "grpNote", "1");

    std::string printCaption = "制表日期";
    double printDate = now;
    if (auto c = FindCondition(*texts, *values, "edPrintDate")) {
        if (!c->caption.empty()) printCaption = c->caption;
        std::string ymd = c->value && !c->value->IsEmpty() ? vel::TrimText(ConditionText(*c)) : "";
        if (!ymd.empty()) {
            printDate = YmdToDateValue(ymd);
            if (printDate == 0) Malformed(c->caption, "edPrintDate", "is " + DataToUtf8(ymd) + ", not a date yyyymmdd");
        }
    }

    std::vector<Row> rows;
    for (const LedgerBalance& b : store.MonthEndBalances(yearMonth)) {
        if (!items.Matches(b.item) || !warehouses.Matches(b.warehouse)) continue;
        if (!b.movedInMonth && b.quantity == 0 && b.amount == 0) continue;
        Row r;
        r.item = DataToUtf8(b.item);
        r.itemName = DataToUtf8(b.itemName);
        r.warehouse = DataToUtf8(b.warehouse);
        r.warehouseName = DataToUtf8(b.warehouseName);
        r.quantity = b.quantity;
        r.amount = b.amount;
        r.unitCost = b.quantity != 0 ? b.amount / b.quantity : 0;
        r.hasStandard = b.hasStandard;
        r.standard = b.standardCost;
        r.difference = RoundTo(b.amount - b.quantity * (b.hasStandard ? b.standardCost : 0), 2);
        if (differencesOnly && r.difference == 0) continue;
        rows.push_back(std::move(r));
    }

    std::vector<std::pair<std::string, std::string>> outputs;
    outputs.emplace_back("csv", Csv(rows));
    if (env.outputFlags & kOutputHtml) {
        Header h;
        auto program = store.QueryRow("ADMMB", "01", {env.program});
        h.title = program && !program->empty() && !(*program)[0].empty() ? DataToUtf8((*program)[0]) : env.program;
        h.company = DataToUtf8(Setting(settings, "Vel002"));
        h.reference = env.program + " " + reference;
        h.lines.emplace_back(monthCond.caption.empty() ? "ed01" : monthCond.caption, style.YearMonth(year, month));
        h.lines.emplace_back(itemCond.caption.empty() ? "sp02" : itemCond.caption, items.Describe());
        h.lines.emplace_back(warehouseCond.caption.empty() ? "sp03" : warehouseCond.caption, warehouses.Describe());
        h.lines.emplace_back(onlyCond.caption.empty() ? "chk04" : onlyCond.caption, differencesOnly ? "Y" : "N");
        int y, s;
        unsigned m, d;
        SplitDateValue(printDate, y, m, d, s);
        h.lines.emplace_back(printCaption, style.Date(y, m, d));
        outputs.emplace_back("html", HtmlReport(h, rows, footer, signOff));
    }
    return outputs;
}

}  // namespace velserver
