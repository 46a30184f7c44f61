// The language runtime the program is written against: number reading and writing,
// whole-number conversion, Format masks, date serials and their parts, and a few text
// helpers. Regional values come from the locale seam (core/Locale.h) and are cached until
// the locale source is replaced.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace runtime {

// Days since 30 December 1899 in the whole part, time of day in the fraction. Before that
// day the whole part counts back and the fraction still counts forward from midnight
// (-1.25 is 29 December 1899, 06:00).
using Date = double;

// ---- numbers ----------------------------------------------------------------------------

// The leading number of a text: blanks, tabs and line feeds are ignored; then an optional
// sign, digits, one ".", and an exponent ("E" or "D", optional sign, digits) as far as they
// go. No number gives 0. A value beyond the double range raises error 6.
double Val(std::string_view text);

// A number as text with a leading blank when it is not negative ("-" otherwise), up to 15
// significant digits, no leading zero before the point (" .5"), "." as decimal point,
// scientific form ("1E+15") for very large or small values.
std::string Str(double value);

// Like Str without the blank and with the regional decimal separator.
std::string CStr(double value);

// Round to nearest, a half to the even neighbour; outside the 16-/32-bit range raises
// error 6 (overflow).
std::int16_t CInt(double value);
std::int32_t CLng(double value);
// Text through the regional number conversion first (error 13 when it is not a number).
std::int16_t CInt(std::string_view text);
std::int32_t CLng(std::string_view text);

// Largest whole number not above x / x with its fraction cut off.
double Int(double x);
double Fix(double x);

// Regional number conversion: blanks around, an optional currency symbol before or after,
// an optional sign before or after, digits with the regional thousands separators, at most
// one regional decimal separator, an optional exponent. A number beyond the double range
// ("1e999") is no number to IsNumeric; CDbl raises error 6 for it and error 13 for any other
// text that is not a number.
bool IsNumeric(std::string_view text);
double CDbl(std::string_view text);

// ---- Format -----------------------------------------------------------------------------

// Formats a number or a date by a mask. Numeric masks: "0" digit, "#" optional digit, "."
// regional decimal separator, "," regional thousands grouping, "%" and literals, up to
// three sections "positive;negative;zero" (literals inside the whole digits are written
// after them; no scientific masks). Halves round away from zero on the 15-digit
// decimal form (0.575 with "0.00" is "0.58"); a point with no digits after it is left out
// ("#,##0.##" writes 3 as "3") and a negative that rounds to zero has no sign. Date masks: d dd ddd dddd ddddd dddddd,
// w ww, m mm mmm mmmm (minutes after an hour), q, y yy yyyy, h hh, n nn, s ss, ttttt,
// AM/PM am/pm A/P a/p AMPM, c, ":" regional time and "/" regional date separator, "\x"
// and "..." literals. Named formats (any case): "General Date", "Long Date",
// "Medium Date", "Short Date", "Long Time", "Medium Time", "Short Time", "General Number",
// "Currency", "Fixed", "Standard", "Percent". An empty mask gives CStr.
std::string Format(double value, std::string_view mask);
std::string Format(double value);
// Appends a whole number as Format(value, "#,##0") writes it, with the regional thousands
// separator.
void AppendGroupedWhole(std::string& out, std::int32_t value);
// A text argument: a regional number is formatted as a number, a date text in the regional
// short-date order as a date; any other text comes back unchanged.
std::string Format(std::string_view text, std::string_view mask);

// Renders a date with a Windows date or time picture (d dd ddd dddd, M MM MMM MMMM,
// y yy yyyy, g gg, h hh H HH, m mm, s ss, t tt, '...' literals), as the regional named
// formats are stored.
std::string FormatWindowsPicture(Date date, std::string_view picture);

// ---- dates ------------------------------------------------------------------------------

// Year, month and day are carried: month 13 is January of the next year, month 0 December
// of the one before, day 32 runs into the next month, day 0 is the last day of the month
// before. Years 0-29 mean 2000-2029 and 30-99 mean 1930-1999. A result outside the years
// 100 to 9999 raises error 5.
Date DateSerial(int year, int month, int day);
// Hours, minutes and seconds carried into a day fraction (25:00:00 is one day and an hour).
Date TimeSerial(int hour, int minute, int second);

// Parts of a date; times are taken to the nearest whole second.
int Year(Date date);
int Month(Date date);
int Day(Date date);
int Hour(Date date);
int Minute(Date date);
int Second(Date date);
// 1 to 7 counted from firstDayOfWeek (1 Sunday ... 7 Saturday; 0 the regional first day).
int Weekday(Date date, int firstDayOfWeek = 1);
// Whole seconds since midnight of the date (0 to 86399).
int SecondsOfDay(Date date);
// The day part alone and the time part alone.
Date DateOnly(Date date);
Date TimeOnly(Date date);

// Adds a count of intervals: "yyyy" years, "q" quarters, "m" months (the day is kept, or
// the month's last day when it is shorter), "y" "d" "w" days, "ww" weeks, "h" hours,
// "n" minutes, "s" seconds. Another interval raises error 5.
Date DateAdd(std::string_view interval, double number, Date date);
// Interval boundaries crossed from a to b: "yyyy", "q", "m", "y" and "d" (days), "ww"
// (Sundays), "h", "n", "s"; "w" counts whole weeks of days. Another interval raises error 5.
std::int64_t DateDiff(std::string_view interval, Date a, Date b);
// Days in a month of a year (28 to 31).
int DaysInMonth(int year, int month);

// Regional names: 1 January ... 12 December; weekday 1 Sunday ... 7 Saturday.
std::string MonthName(int month, bool abbreviate = false);
std::string WeekdayName(int weekday, bool abbreviate = false);

// A date written as text in the regional short-date order (day, month and year numbers,
// month names allowed), optionally followed by a time; error 13 when it is not one.
bool IsDate(std::string_view text);
Date CDate(std::string_view text);

// ---- text -------------------------------------------------------------------------------

// Blanks (spaces) only.
std::string Trim(std::string_view text);
// The text without its outer blanks, as a view into it (Trim without the copy).
std::string_view TrimmedView(std::string_view text);
std::string LTrim(std::string_view text);
std::string RTrim(std::string_view text);
// Upper / lower case in the ANSI code page 1252 (accented letters included).
std::string UCase(std::string_view text);
std::string LCase(std::string_view text);
// 1-based position of find in text from start, 0 when absent; an empty find gives start.
std::size_t InStr(std::string_view text, std::string_view find, std::size_t start = 1);
// 1-based sub-texts; counts past the end are cut.
std::string Mid(std::string_view text, std::size_t start,
                std::size_t length = std::string_view::npos);
std::string Left(std::string_view text, std::size_t length);
std::string Right(std::string_view text, std::size_t length);

}  // namespace runtime
