// Shared inside the runtime module: the cached regional values and the decimal form of a
// double.
#pragma once

#include <cstdint>
#include <string>

namespace runtime::detail {

// Regional values read once per locale source.
struct Regional {
    std::string decimal;   // number decimal separator
    std::string thousand;  // number thousands separator
    std::string dateSep;
    std::string timeSep;
    std::string shortDate;  // Windows pictures
    std::string longDate;
    std::string longTime;
    std::string am;
    std::string pm;
    std::string currency;
    std::string monDecimal;
    std::string monThousand;
    int currDigits = 2;
    int currPositive = 0;     // placement of the symbol for positive amounts
    int currNegative = 0;     // and for negative ones
    int firstDayOfWeek = 1;   // 1 Sunday ... 7 Saturday
    std::string dayNames[7];  // Sunday first
    std::string dayAbbrevs[7];
    std::string monthNames[12];
    std::string monthAbbrevs[12];
    char dateOrder[3] = {'M', 'd', 'y'};  // field order of the short date
};

// The values of the current locale source (re-read when the source is replaced).
const Regional& CurrentRegional();

// All fields of a date at once (times to the nearest second).
struct DateFields {
    int year;
    int month;
    int day;
    int weekday;  // 1 Sunday ... 7 Saturday
    int hour;
    int minute;
    int second;
    bool hasDate;  // the day part is not 0
    bool hasTime;  // the time is not midnight
};
DateFields Decompose(double date);

// A non-negative finite double as decimal digits: value = 0.digits x 10^pointPos, no
// leading or trailing zeros in digits ("" for zero), at most 15 significant digits.
struct Decimal {
    std::string digits;
    int pointPos = 0;
};
Decimal ToDecimal(double magnitude);
// Rounds to a number of places after the point, halves away from zero.
void RoundDecimal(Decimal& d, int places);

}  // namespace runtime::detail
