#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>

#include "runtime/libstrs.h"

using namespace vel;
namespace chr = std::chrono;

namespace {

std::string Ymd(int y, unsigned m, unsigned d) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02u%02u", y, m, d);
    return buf;
}

double D(const char* ymd) { return YmdToDate(ymd); }

}  // namespace

// Every day from 1753 to 9999 against the standard library's calendar: validity, the day
// count, weekdays, month lengths, the display round trip and one-day shifts.
TEST(CalendarTest, AgreesWithStdChronoOnEveryDay) {
    const chr::sys_days first = chr::year{1753} / chr::January / 1;
    const chr::sys_days last = chr::year{9999} / chr::December / 31;
    double previous = YmdToDate("17521231");
    ASSERT_NE(previous, 0);
    int failures = 0;
    for (chr::sys_days day = first; day <= last && failures < 5; day += chr::days{1}) {
        chr::year_month_day ymd{day};
        int y = static_cast<int>(ymd.year());
        unsigned m = static_cast<unsigned>(ymd.month()), d = static_cast<unsigned>(ymd.day());
        std::string text = Ymd(y, m, d);
        // 30 Dec 1899 is day 0, which the system reads as "no date": it is valid as a text but
        // has no date value.
        double value = text == "18991230" ? 0.0 : YmdToDate(text);
        bool ok = text == "18991230" ? IsValidYmd(text) && YmdToDate(text) == 0 && DateToYmd(0) == text :
                  value == previous + 1 && IsValidYmd(text) && DateToYmd(value) == text &&
                  DayOfWeek(value) == static_cast<int>(chr::weekday{day}.c_encoding()) + 1 &&
                  ShiftYmd(Variant(Ymd(y, m, d)), "D", -1) == DateToYmd(previous);
        if (d == 1 && value != 0) {
            unsigned lastDay = static_cast<unsigned>((ymd.year() / ymd.month() / chr::last).day());
            ok = ok && DaysInMonth(y, static_cast<int>(m)) == static_cast<int>(lastDay) &&
                 YmdToDate(Ymd(y, m, lastDay + 1)) == 0 && !IsValidYmd(Ymd(y, m, lastDay + 1));
            // The Minguo styles start with the year 1912.
            for (int code = 1; code <= (y > 1911 ? 5 : 3); ++code)
                ok = ok && ParseDisplayDate(FormatDisplayDate(code, "/", value), code, "/") == value;
        }
        if (!ok) {
            ++failures;
            ADD_FAILURE() << "disagreement on " << text;
        }
        previous = value;
    }
    // The day count follows the toolkit's convention: 1 Jan 1900 is day 2.
    EXPECT_EQ(YmdToDate("19000101"), 2);
}

TEST(CalendarTest, DaysInMonthLeapRulesAndBadMonths) {
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(2024, 2), 29);
    EXPECT_EQ(DaysInMonth(2024, 13), 0);
    EXPECT_EQ(DaysInMonth(2024, 0), 0);
}

TEST(StoredDateTest, ValidityOfStoredDateTexts) {
    struct Case {
        const char* text;
        bool valid;
    } cases[] = {
        {"", true},           {"20240229", true},  {"17530101", true},   {"99991231", true},
        {"17521231", false},  {"20240230", false}, {"20230229", false},  {"20241301", false},
        {"2024010", false},   {"abcdefgh", false}, {"00000101", false},
        // Only eight digits make a stored date: not a longer text, a sign or a blank.
        {"202401011", false}, {"2024+105", false}, {"2024 105", false},  {"2024-1-5", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidYmd(c.text), c.valid) << c.text;
    EXPECT_EQ(YmdToDate("2024+105"), 0);
    EXPECT_EQ(YmdToDate("20240507 "), 0);
}

TEST(DisplayDateTest, FormatsEveryStyle) {
    double may7 = D("20240507");
    EXPECT_EQ(FormatDisplayDate(1, "/", may7), "2024/05/07");
    EXPECT_EQ(FormatDisplayDate(2, "/", may7), "05/07/2024");
    EXPECT_EQ(FormatDisplayDate(3, "/", may7), "07/05/2024");
    EXPECT_EQ(FormatDisplayDate(4, "/", may7), "113/05/07");
    EXPECT_EQ(FormatDisplayDate(5, "/", may7), "113/05/07");
    EXPECT_EQ(FormatDisplayDate(5, "/", D("19990507")), "088/05/07");
    EXPECT_EQ(FormatDisplayDate(4, "/", D("19990507")), "88/05/07");
    EXPECT_EQ(FormatDisplayDate(1, "", may7), "20240507");
    EXPECT_EQ(FormatDisplayDate(1, "-/", may7), "2024-05-07");  // first character only
    EXPECT_EQ(FormatDisplayDate(1, "/", 0), "");
    EXPECT_EQ(FormatDisplayDate(6, "/", may7), "");
    EXPECT_EQ(FormatDisplayDate(0, "/", may7), "");

    EXPECT_EQ(FormatDisplayYearMonth(1, "/", may7), "2024/05");
    EXPECT_EQ(FormatDisplayYearMonth(2, "/", may7), "05/2024");
    EXPECT_EQ(FormatDisplayYearMonth(3, ".", may7), "05.2024");
    EXPECT_EQ(FormatDisplayYearMonth(4, "/", may7), "113/05");
    EXPECT_EQ(FormatDisplayYearMonth(5, "/", D("19990507")), "088/05");
    EXPECT_EQ(FormatDisplayYearMonth(1, "/", 0), "");
    EXPECT_EQ(FormatDisplayYearMonth(9, "/", may7), "");
}

TEST(DisplayDateTest, ParsesStylesAndRejectsWhatIsNotADate) {
    struct Case {
        const char* text;
        int code;
        const char* sep;
        const char* expected;  // "" for 0
    } cases[] = {
        {"2024/05/07", 1, "/", "20240507"},
        {"  2024 / 5 / 7  ", 1, "/", "20240507"},
        {"2024/02/30", 1, "/", "20240301"},  // the day rolls into the next month
        {"2023/02/30", 1, "/", "20230302"},
        {"05/07/2024", 2, "/", "20240507"},
        {"07/05/2024", 3, "/", "20240507"},
        {"113/05/07", 4, "/", "20240507"},
        {"88/05/07", 5, "/", "19990507"},
        {"2024-05-07", 1, "-", "20240507"},
        {"2024/13/01", 1, "/", ""},
        {"2024/00/01", 1, "/", ""},
        {"2024/05/00", 1, "/", ""},
        {"2024/05", 1, "/", ""},
        {"2024/x/07", 1, "/", ""},
        {"2024-05-07", 1, "/", ""},
        {"", 1, "/", ""},
        {"2024/05/07", 0, "/", ""},
        {"2024/05/07", 6, "/", ""},
        {"10000/01/01", 1, "/", ""},
        // A part beyond the 16-bit range is unreadable, not wrapped round into another day.
        {"2024/05/65543", 1, "/", ""},
    };
    for (const auto& c : cases) {
        double value = ParseDisplayDate(c.text, c.code, c.sep);
        EXPECT_EQ(value == 0 ? std::string() : DateToYmd(value), c.expected) << c.text << " code " << c.code;
    }
}

TEST(ShiftTest, YearsMonthsAndDays) {
    struct Case {
        const char* date;
        const char* unit;
        int count;
        const char* expected;
    } cases[] = {
        {"20240131", "M", 1, "20240229"},  {"20240131", "M", -1, "20231231"}, {"20231215", "m", 1, "20240115"},
        {"20240229", "Y", 4, "20280229"},  {"20240331", "M", -1, "20240229"}, {"20241231", "M", 1, "20250131"},
        {"20240115", "M", -12, "20230115"}, {"20240115", "M", -13, "20221215"}, {"20240229", "y", 1, "20250228"},
        {"20240228", "D", 2, "20240301"},  {"20240101", "d", -1, "20231231"}, {"20240507", "W", 1, ""},
        {"20240507", "", 1, ""},           {"20240230", "D", 1, ""},          {"", "D", 1, ""},
        {"99991231", "D", 1, ""},          {"99991215", "M", 1, ""},          {"00010115", "M", -1, ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ShiftYmd(Variant(c.date), c.unit, c.count), c.expected) << c.date << c.unit << c.count;
    EXPECT_EQ(ShiftYmd(Variant(std::u16string(u"20240131")), "M", 1), "20240229");
    EXPECT_EQ(ShiftYmd(Variant::FromDate(D("20240131") + 0.5), "D", 1), "20240201");
    EXPECT_EQ(ShiftYmd(Variant(20240131), "D", 1), "");  // a number is not a date
    EXPECT_EQ(ShiftYmd(Variant(), "D", 1), "");
}

TEST(RelativeDateTest, WeeksMonthsAndYearMonths) {
    struct Case {
        const char* base;
        const char* offset;
        const char* unit;
        const char* mode;
        const char* days;
        const char* expected;
    } cases[] = {
        {"20240515", "-1", "1", "2", "0", "20240430"},
        {"20240515", "0", "0", "1", "0", "20240512"},  // Sunday of the week
        {"20240515", "0", "0", "2", "0", "20240518"},  // Saturday of the week
        {"20240515", "1", "0", "1", "0", "20240519"},
        {"20240512", "0", "0", "1", "0", "20240512"},  // a Sunday is its own week's start
        {"20240518", "0", "0", "2", "0", "20240518"},
        {"20240515", "2", "0", "0", "3", "20240601"},  // weeks and days
        {"20240515", "1", "1", "0", "-15", "20240531"},
        {"20240131", "1", "1", "3", "0", "20240229"},  // other modes keep the shifted date
        {"20240515", "1", "1", "1", "0", "20240601"},
        {"20240115", "1", "1", "2", "0", "20240229"},
        {"202405", "2", "1", "0", "0", "202407"},
        {"202401", "-1", "0", "2", "0", "202312"},     // a year-month moves by months whatever the unit
        {"20240515", "x", "1", "0", "0", ""},
        {"20240515", "1", "1", "0", "", ""},
        {"2024051", "1", "1", "0", "0", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ResolveRelativeDate(c.base, c.offset, c.unit, c.mode, c.days), c.expected)
            << c.base << " " << c.offset << " " << c.unit << " " << c.mode << " " << c.days;
    EXPECT_EQ(WeekBoundary("20240515", -1, "1"), "20240505");
    EXPECT_EQ(WeekBoundary("bad", 0, "1"), "");
}

TEST(ScheduleTest, FirstRunDates) {
    auto weekly = [](int n, int weekday) { return Variant::Of({1, Variant::Of({n, weekday})}); };
    auto monthDay = [](int n, int day) { return Variant::Of({2, Variant::Of({0, n, day})}); };
    auto monthWeekday = [](int n, int ordinal, int weekday) {
        return Variant::Of({2, Variant::Of({1, n, ordinal, weekday})});
    };
    struct Case {
        const char* start;
        Variant rule;
        const char* expected;
    } cases[] = {
        {"20240508", Variant::Of({0, Variant("3")}), "20240508"},
        {"20240508", weekly(1, 5), "20240510"},
        {"20240508", weekly(1, 1), "20240513"},
        {"20240508", weekly(1, 3), "20240508"},
        {"20240508", weekly(2, 5), "20240517"},
        {"20240508", weekly(2, 0), "20240519"},
        {"20240508", monthWeekday(1, 0, 5), "20240607"},
        {"20240501", monthWeekday(1, 4, 5), "20240531"},
        {"20240531", monthWeekday(1, 4, 5), "20240531"},
        {"20240508", monthWeekday(1, 1, 3), "20240508"},  // the second Wednesday is the start itself
        {"20240508", monthWeekday(2, 0, 0), "20240602"},
        {"20240410", monthDay(1, 31), "20240430"},
        {"20240410", monthDay(1, 10), "20240410"},
        {"20240410", monthDay(1, 9), "20240509"},
        {"20240131", monthDay(1, 30), "20240229"},        // 30th of a short February
        {"20240508", Variant::Of({3, 2.0}), ""},
        {"20240508", Variant::Of({7, 1}), ""},
        {"bad", weekly(1, 5), ""},
        // Rules no form builds: answered with no date instead of looping for ever.
        {"20240508", monthWeekday(0, 0, 5), ""},
        {"20240508", monthWeekday(1, 5, 5), ""},
        {"20240508", weekly(0, 5), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(FirstScheduleDate(c.start, c.rule), c.expected) << c.start << " " << c.rule.Describe();
    // The periodic page builds its rules from edit texts.
    EXPECT_EQ(FirstScheduleDate("20240508", Variant::Of({1, Variant::Of({Variant("1"), Variant("5")})})), "20240510");
    EXPECT_EQ(FirstScheduleDate("20240508", Variant(std::string("x"))), "");
}

TEST(RebaseTest, RecomputesRelativeDatesFromTheRunDate) {
    const std::string s(1, '\x03');
    // Single edit, relative by months to the month's last day; value 1.
    std::string single = "1" + s + "ed01" + s + "Y" + s + "-1" + s + "1" + s + "2" + s + "0" + s + "D" + s + "1";
    // Year-month edit, moved one month back; value 2.
    std::string yearMonth = "1" + s + "ed02" + s + "Y" + s + "-1" + s + "1" + s + "0" + s + "0" + s + "M" + s + "2";
    // Range panel: start is the run date itself, end the week's Saturday; value 3.
    std::string range = "0" + s + "sp03" + s + "Y" + s + "0" + s + "0" + s + "0" + s + "0" + s + "Y" + s + "0" + s +
                        "0" + s + "2" + s + "0" + s + "D" + s + "3";
    // Not relative: the value stays; value 4.
    std::string fixed = "1" + s + "ed04" + s + "N" + s + "5" + s + "1" + s + "0" + s + "0" + s + "D" + s + "4";

    Variant values = Variant::Array(1, 4);
    values[1] = Variant("20200101");
    values[2] = Variant("202001");
    values[3] = Variant::Of({Variant(std::string(1, '\x04')), Variant("20200101"), Variant("20200131")});
    values[4] = Variant("20200101");
    Variant records = Variant::Of({4, Variant(single), Variant(yearMonth), Variant(range), Variant(fixed)});
    Variant set = Variant::Array(1, 3);
    set[1] = values;
    set[2] = Variant("Y");
    set[3] = records;

    Variant result = RebaseRelativeDates(set, "20240515");
    ASSERT_TRUE(result.IsArray()) << result.Describe();
    EXPECT_EQ(result[1].ToString(), "20240430");
    EXPECT_EQ(result[2].ToString(), "202404");
    EXPECT_EQ(result[3][0].ToString(), std::string(1, '\x04'));
    EXPECT_EQ(result[3][1].ToString(), "20240515");
    EXPECT_EQ(result[3][2].ToString(), "20240518");
    EXPECT_EQ(result[4].ToString(), "20200101");
    EXPECT_EQ(set[1][1].ToString(), "20200101");  // the input is not touched

    // A record pointing outside the values makes the whole result an empty text.
    Variant broken = set;
    broken[3] = Variant::Of({1, Variant("1" + s + "ed" + s + "Y" + s + "0" + s + "0" + s + "0" + s + "0" + s + "D" + s + "9")});
    EXPECT_EQ(RebaseRelativeDates(broken, "20240515"), Variant(std::string()));
    EXPECT_EQ(RebaseRelativeDates(Variant("x"), "20240515"), Variant(std::string()));
}
