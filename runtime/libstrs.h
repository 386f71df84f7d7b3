#pragma once
// The everyday text, date and variant routines every form calls. They hold no state and
// never raise: a failure inside one becomes an empty or unchanged result.
//
// Dates travel as 8-digit "yyyymmdd" texts and 6-digit "yyyymm" year-months; a date value is
// a day count from 30 Dec 1899 (fraction = time of day), 0 meaning "no date".
#include <string>

#include "platform/text/codepage.h"
#include "platform/variant/variant.h"

namespace vel {

constexpr char kFieldSep = '\x03';          // chr(3), the separator of records and joined arrays
inline const std::string kFieldSepText(1, kFieldSep);

// ---- Text routines ------------------------------------------------------------------------

// The n-th field (from 1) of a delimited text; empty when there are fewer fields or n < 1.
std::string GetDelimitedField(const std::string& text, const std::string& separator, int index);
// Separators found plus 1; 0 for an empty text.
int CountDelimitedFields(const std::string& text, const std::string& separator);
// Returns the text before the first separator and removes it and the separator from `text`;
// without a separator the whole text is returned and `text` becomes empty.
std::string CutFirstField(std::string& text, const std::string& separator);
// Every occurrence of `oldText` replaced by `newText` (also occurrences the deletion brings
// together); nothing happens when the two differ only in letter case.
std::string ReplaceAllText(const std::string& text, const std::string& oldText,
                           const std::string& newText, bool trim);
bool IsLocalHostAddress(const std::string& host);
double StrToFloatDefault(const std::string& text, double defaultValue);
// prefix, chr(3), count, chr(3), then every item followed by chr(3). Empty on a malformed array.
std::u16string JoinCountedArray(const Variant& prefix, const Variant& countedArray);
// The user's temporary directory with its trailing "/".
std::string GetTempDirectory();
// Blanks and control characters trimmed from both ends.
std::string TrimBlanks(const std::string& text);

// ---- Calendar -----------------------------------------------------------------------------

int DaysInMonth(int year, int month);
// False when the calendar rejects the date (year 1..9999).
bool TryEncodeDate(int year, int month, int day, double& date);
// Splits the whole part of a date value; false outside the years 1..9999.
bool DecodeDate(double date, int& year, int& month, int& day);
// 1 = Sunday .. 7 = Saturday.
int DayOfWeek(double date);
// "yyyymmdd"; empty for a date outside the years 1..9999.
std::string DateToYmd(double date);
// Today on this machine's clock and time zone, as "yyyymmdd".
std::string TodayYmd();

// ---- Date routines ------------------------------------------------------------------------

// Date type codes 1..5 (year-month-day, month-day-year, day-month-year, and two Minguo-year
// styles); only the first character of the separator is used.
std::string FormatDisplayDate(int dateTypeCode, const std::string& separator, double date);
std::string FormatDisplayYearMonth(int dateTypeCode, const std::string& separator, double date);
// 0 when the text cannot be read; a day past the month's end rolls into the next month.
double ParseDisplayDate(const std::string& text, int dateTypeCode, const std::string& separator);
// 0 unless the text is exactly 8 digits forming a valid date.
double YmdToDate(const std::string& text);
// True for an empty text or a valid "yyyymmdd" between 17530101 and 99991231.
bool IsValidYmd(const std::string& text);
// `date` is a "yyyymmdd" text or a date value; unit "Y", "M" or "D" in any case. A month step
// that lands past the month's end takes the month's last day. Empty on bad input.
std::string ShiftYmd(const Variant& date, const std::string& unit, int count);
// The Sunday (mode "1") or Saturday (any other mode) of the week `weeks` weeks after the base.
std::string WeekBoundary(const std::string& base, int weeks, const std::string& mode);
// A relative date: base "yyyymmdd" or "yyyymm"; offset, mode and days are integer texts;
// unit "0" is weeks, anything else months. Empty when an argument cannot be read.
std::string ResolveRelativeDate(const std::string& base, const std::string& offset,
                                const std::string& unit, const std::string& mode,
                                const std::string& days);
// First run date of a schedule rule [kind, parameters] from the start date; empty for the
// hourly kind, unknown kinds and rules no form builds (N < 1, ordinal or weekday out of range).
std::string FirstScheduleDate(const std::string& start, const Variant& rule);
// [values, (unused), counted relative-date records] (bounds 1..3): a copy of the values with
// every relative date recomputed from the run date. An empty text on any failure.
Variant RebaseRelativeDates(const Variant& set, const std::string& runDate);

// ---- Variant routines ---------------------------------------------------------------------

Variant IfThenVar(bool flag, const Variant& a, const Variant& b);
bool VarIsEmptyOrNull(const Variant& value);
// Wide texts become byte texts of the code page (arrays walked, nested arrays too).
Variant VarWideToCodePage(const Variant& value, int codePage);
// Texts are read as byte texts of the code page and become wide texts.
Variant VarCodePageToWide(const Variant& value, int codePage);

}  // namespace vel
