// Pricing of sessions (dial-up cost by tariffs, service and data cost by period) and the
// user-defined threshold warnings shown after a run.
#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/DUVAnalyse.h"

namespace DUVAnalyse {

// x rounded to a whole number, a half away from zero: std::llround, without its library
// call for the values dates and seconds take.
inline int64_t RoundHalfAway(double x) {
    if (!(std::fabs(x) < 4503599627370496.0)) {  // 2^52 and beyond, NaN
        return std::llround(x);
    }
    int64_t whole = static_cast<int64_t>(x);
    const double fraction = x - static_cast<double>(whole);  // exact
    if (fraction >= 0.5) {
        ++whole;
    } else if (fraction <= -0.5) {
        --whole;
    }
    return whole;
}

// ---- dial-up cost ----

// The dial-up cost of a session with whether its tariffs covered all of it.
struct DialupPrice {
    double Cost = 0;
    bool Covered = true;
};

// Prices one session by its number's service: DUVMain::DialCost for a number of no service,
// the fixed amount per call, or the walk over the service's time-of-day tariffs, charging
// only the part inside the report range. With connIndex above 0 the tariffs used and their
// unit counts are appended to that session's Notes.
DialupPrice PriceDialup(const std::string& number, Date connectDate, Date connectTime,
                        Date disconnectDate, Date disconnectTime, int32_t connIndex);

// The same cost as one number: negated when the tariffs did not cover the session. A session
// not covered at all costs -0.0, so std::signbit tells "not covered" also at cost 0.
double GetDialupCost(const std::string& number, Date connectDate, Date connectTime,
                     Date disconnectDate, Date disconnectTime, int32_t connIndex);

// The cost of `seconds` seconds in tariff `tariff` (1 to 10) of service `service`. The After
// threshold applies to the first segment of a session only. `units` is set to the unit count
// of a per-unit tariff and to 0 for the per-time kinds.
double GetSegmentCost(int32_t service, int32_t tariff, int32_t seconds, bool firstSegment,
                      int32_t& units);

// True when a tariff's days ("Everyday", "Holidays", a full weekday name or a range of two
// weekday abbreviations joined by "-") include the date.
bool TariffDayMatches(Date date, std::string_view days);

// 1 (Monday) to 7 (Sunday) for a regional weekday abbreviation, 8 when it is none.
int32_t WeekdayIndex(std::string_view abbreviation);

// True when the date (a whole date) is one of the holidays in use.
bool IsHoliday(Date date);

// ---- service and data cost ----

// The period number of a date counted from the report start: "Day", "Week", "Month" (as long
// as the month that starts at the report start), anything else 0. Never below 0.
int32_t GetPeriodIndex(Date date, std::string_view periodKind);

// Seconds to hours, in single precision.
double SecondsToHours(float seconds);

// The service (time) cost of a session's chargeable seconds, booked to its allowance period.
double GetServiceCost(const std::string& number, int32_t seconds, Date date);

// The data cost of a session's read bytes, booked to its free-data period.
double GetDataCost(const std::string& number, double bytes, Date date);

// ---- threshold warnings ----

struct WarningLineRecord {
    std::string ServiceName;
    std::string Message;
};

// The lines of the last check (index 0 unused; 1 to the number of warnings).
extern std::vector<WarningLineRecord> WarningLines;

// Compares every usage row in use with its service's threshold, plays the warning sound once
// and shows one "User Defined Warnings" box, as the services' options ask.
void CheckUserWarnings();

}  // namespace DUVAnalyse
