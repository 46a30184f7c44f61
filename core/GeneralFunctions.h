// Small shared helpers for dates, times, numbers, file names and paths. They use the regional
// values of DUVMain (core/CurrencyFormat.h) and the weekday names DUVMain::DayNames.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace GeneralFunctions {

// A date text in the regional short-date order with its day and month two characters long and
// its year as wide as the year field of DUVMain::DateMask (two digits where that field is
// "##"). An empty separator selects DUVMain::DateSeparator.
std::string format_date(const std::string& dateText, std::string separator = "");

// The trimmed text with fill put in front until it is width characters long.
std::string PadString(const std::string& text, const std::string& fill, std::int16_t width);

// True when path names an existing normal file (not a folder, not hidden, not a system
// file). Paths with the wildcards * or ? never exist.
bool FileExists(const std::string& path);

// True when a is earlier than b.
bool DateBefore(double a, double b);

// Seconds as hours, minutes and (unless noSeconds) whole seconds, each at least two digits,
// joined by DUVMain::TimeSeparator; hours are unbounded.
std::string FormatTime(double seconds, bool noSeconds = false);

// True; raises the overflow error when x rounded is outside the 32-bit range.
bool CheckLongRange(double x);

// A number text in the money format (DUVMain::CurrencyDigits places, up to maxPlaces);
// "" when the text is not a number.
std::string Format_Dplaces(const std::string& numberText, std::int16_t maxPlaces);

// The number written with the regional decimal and thousands separators.
double XVal(const std::string& text);
// The text XVal reads the leading number of: the first regional decimal separator as ".",
// the thousands separators before it left out.
std::string XValText(const std::string& text);

// Money is stored as a 32-bit whole number of ten-thousandths: the amounts it can hold.
inline constexpr double kMaxMoney = 214748.3647;
inline constexpr double kMinMoney = -214748.3648;
bool MoneyInRange(double amount);

// 1 (Monday) to 7 (Sunday) for a name of DUVMain::DayNames, 0 when it is none of them.
int DayNameIndex(const std::string& dayName);

// The part of a path after its last backslash (the whole path when that is empty).
std::string FileNameOfPath(const std::string& path);

// The text before the last occurrence of separator ("" when either is empty); raises the
// invalid-argument error when separator does not occur.
std::string TextBeforeSeparator(const std::string& text, const std::string& separator);

// Sets DUVMain::DateMask from DUVMain::ShortDateFormat and DUVMain::DateSeparator; raises the
// invalid-argument error when the format has fewer than two separators.
void GetDateFormatMask();

// The mask piece of one short-date field: "##", "AAA", "####" or "".
std::string DateFormatToken(const std::string& token);

// Decides whether an existing entry counts for FileExists. The default takes regular files;
// the Windows program installs one that also leaves out hidden and system files.
using FileProbe = std::function<bool(const std::string& path)>;
// Installs the probe and returns the one it replaces; an empty probe restores the default.
FileProbe InstallFileProbe(FileProbe probe);

// The Windows probe (GetFileAttributesA). Defined only in Windows builds (duv_core_win32).
FileProbe SystemFileProbe();

}  // namespace GeneralFunctions
