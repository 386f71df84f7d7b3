// Date and year-month fields: the user's edit masks and blank texts, and the normalisation
// of typed dates into the stored forms yyyymmdd and yyyymm.
#include <cstdio>
#include <vector>

#include "forms/base_gene.h"
#include "platform/system/inifile.h"

namespace vel {
namespace {

// Digits of the year part for a date type code; 0 for codes outside 1..5.
int YearDigits(int code) {
    switch (code) {
        case 1: case 2: case 3: return 4;
        case 4: return 2;
        case 5: return 3;
        default: return 0;
    }
}

bool DayFirstOrMonthFirst(int code) { return code == 2 || code == 3; }

// Whole number of a part, or -1.
int ReadPart(const std::string& part) {
    std::string t = TrimText(part);
    if (t.empty() || t.size() > 9 || t.find_first_not_of("0123456789") != std::string::npos) return -1;
    return std::stoi(t);
}

std::vector<std::string> SplitAt(const std::string& text, const std::string& sep) {
    std::vector<std::string> parts;
    if (sep.empty()) return {text};
    size_t start = 0;
    while (true) {
        size_t at = text.find(sep, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos) break;
        start = at + sep.size();
    }
    return parts;
}

}  // namespace

std::string TfrmBaseGene::DateEditMask() const {
    const std::string& s = CachedDateSeparator;
    std::string y(YearDigits(CachedDateType), '9');
    return DayFirstOrMonthFirst(CachedDateType) ? "99" + s + "99" + s + y + ";1; " : y + s + "99" + s + "99" + ";1; ";
}

std::string TfrmBaseGene::YearMonthEditMask() const {
    const std::string& s = CachedDateSeparator;
    std::string y(YearDigits(CachedDateType), '9');
    return DayFirstOrMonthFirst(CachedDateType) ? "99" + s + y + ";1; " : y + s + "99" + ";1; ";
}

std::string TfrmBaseGene::BlankDateText() const {
    const std::string& s = CachedDateSeparator;
    std::string b(YearDigits(CachedDateType), ' ');
    return DayFirstOrMonthFirst(CachedDateType) ? "  " + s + "  " + s + b : b + s + "  " + s + "  ";
}

std::string TfrmBaseGene::BlankYearMonthText() const {
    const std::string& s = CachedDateSeparator;
    std::string b(YearDigits(CachedDateType), ' ');
    return DayFirstOrMonthFirst(CachedDateType) ? "  " + s + b : b + s + "  ";
}

std::string TfrmBaseGene::NormalizeDate(const std::string& text) const {
    try {
        std::string t = TrimText(text);
        if (t.empty() || t == TrimText(BlankDateText())) return "";
        std::vector<std::string> parts = SplitAt(t, CachedDateSeparator);
        if (parts.size() < 3) return t;
        int a = ReadPart(parts[0]), b = ReadPart(parts[1]), c = ReadPart(parts[2]);
        if (a < 0 || b < 0 || c < 0) return t;
        int y, m, d;
        switch (CachedDateType) {
            case 1: y = a; m = b; d = c; break;
            case 2: y = c; m = a; d = b; break;
            case 3: y = c; m = b; d = a; break;
            case 4: case 5: y = a + 1911; m = b; d = c; break;
            default: return "";
        }
        char buf[40];
        std::snprintf(buf, sizeof buf, "%d%.2d%.2d", y, m, d);
        return buf;
    } catch (const std::exception&) {
        return text;
    }
}

std::string TfrmBaseGene::NormalizeYearMonth(const std::string& text) const {
    try {
        std::string t = TrimText(text);
        if (t.empty() || t == TrimText(BlankYearMonthText())) return "";
        std::vector<std::string> parts = SplitAt(t, CachedDateSeparator);
        if (parts.size() < 2) return t;
        int a = ReadPart(parts[0]), b = ReadPart(parts[1]);
        if (a <= 0 || b <= 0) return t;
        int y, m;
        switch (CachedDateType) {
            case 1: y = a; m = b; break;
            case 2: case 3: y = b; m = a; break;
            case 4: case 5: y = a + 1911; m = b; break;
            default: return "";
        }
        char buf[32];
        std::snprintf(buf, sizeof buf, "%d%.2d", y, m);
        return buf;
    } catch (const std::exception&) {
        return text;
    }
}

}  // namespace vel
