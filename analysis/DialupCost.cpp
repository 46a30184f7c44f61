// Dial-up cost: no service, a fixed amount per call, or the walk over a service's
// time-of-day tariffs in segments cut at tariff ends and at midnight.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "analysis/Costing.h"
#include "analysis/DUVAnalyse.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/Records.h"
#include "core/Runtime.h"

namespace DUVAnalyse {

namespace {

constexpr int32_t LastSecondOfDay = 86399;  // 23:59:59

int64_t WholeDay(Date date) { return static_cast<int64_t>(std::floor(date)); }

// The time of day of a date value in whole seconds, 0 to 86399.
int32_t SecondOfDay(Date time) {
    const double fraction = time - std::floor(time);
    const double scaled = fraction * 86400.0;
    // NaN keeps the library's answer, whose width differs between platforms.
    auto seconds =
        static_cast<int32_t>(scaled == scaled ? RoundHalfAway(scaled) : std::lround(scaled));
    return seconds > LastSecondOfDay ? LastSecondOfDay : seconds;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

// A day of a range: the regional abbreviation, or failing that the full day name.
int32_t RangeDayIndex(std::string_view text) {
    const int32_t index = WeekdayIndex(text);
    if (index != 8) {
        return index;
    }
    for (int32_t i = 1; i <= 7; ++i) {
        if (DUVMain::DayNames[i] == text) {
            return i;
        }
    }
    return 8;
}

// 1 (Monday) to 7 (Sunday).
int32_t MondayIndex(Date date) { return runtime::Weekday(date, 2); }  // 2: Monday first

const TariffRecord& TariffOf(const ServiceRecord& service, int32_t tariff) {
    return service.Tariffs.at(tariff);
}

// The unit note of a per-unit segment: " - 3U x 1Min 30Sec".
std::string UnitNote(int32_t units, const TariffRecord& tariff) {
    std::string note =
        " - " + std::to_string(units) + "U x " + std::to_string(tariff.UnitMins) + "Min";
    if (tariff.UnitSecs > 0) {
        note += " " + std::to_string(tariff.UnitSecs) + "Sec";
    }
    return note;
}

enum class NoteForm { SessionEnd, TariffEnd, Other };

void WriteTariffNotes(int32_t connIndex, NoteForm form, const TariffRecord& tariff, int32_t units) {
    if (connIndex <= 0 || static_cast<size_t>(connIndex) >= Connections.size()) {
        return;
    }
    std::string& notes = Connections[static_cast<size_t>(connIndex)].Notes;
    if (notes.find(tariff.Description) == std::string::npos) {
        notes.append(" - ").append(tariff.Description);
    }
    if (units <= 0) {
        return;
    }
    const std::string unitNote = UnitNote(units, tariff);
    switch (form) {
    case NoteForm::SessionEnd:
        if (notes.find(unitNote) == std::string::npos) {
            notes += unitNote;
        }
        break;
    case NoteForm::TariffEnd:
        notes.append(" - ").append(unitNote);
        break;
    case NoteForm::Other:
        notes += unitNote;
        break;
    }
}

// The walk over the tariffs of a service that charges by dial time.
DialupPrice WalkTariffs(int32_t serviceIndex, Date connectDate, Date connectTime,
                        Date disconnectDate, Date disconnectTime, int32_t connIndex) {
    const ServiceRecord& service = DUVMain::Services.at(serviceIndex);
    const int32_t used = std::min<int32_t>(service.UsedTariffs, kMaxTariffs);
    DialupPrice price;
    if (used <= 0) {
        price.Covered = false;
        return price;
    }

    const int64_t reportStart = WholeDay(DUVMain::ReportStartDate);
    const int64_t reportEnd = WholeDay(DUVMain::ReportEndDate);
    const int64_t endDay = WholeDay(disconnectDate);
    const int32_t endSecond = SecondOfDay(disconnectTime);

    int64_t day = WholeDay(connectDate);
    int32_t second = SecondOfDay(connectTime);
    double cost = 0;
    bool chargeAdded = false;
    bool firstSegment = true;
    bool done = false;
    bool covered = false;
    int32_t misses = 0;

    // Charges one segment of the session in tariff i; the first charged segment brings
    // the tariff's charge per call.
    auto chargeSegment = [&](int32_t i, int32_t segmentEnd, NoteForm form) {
        const TariffRecord& tariff = TariffOf(service, i);
        if (!chargeAdded) {
            cost += tariff.DialRate;
            chargeAdded = true;
        }
        int32_t units = 0;
        cost += GetSegmentCost(serviceIndex, i, segmentEnd - second, firstSegment, units);
        WriteTariffNotes(connIndex, form, tariff, units);
    };
    // Moves the segment start past a segment that ended at segmentEnd.
    auto advance = [&](int32_t segmentEnd) {
        firstSegment = false;
        misses = 0;
        if (segmentEnd >= LastSecondOfDay) {
            second = 0;
            ++day;
        } else {
            second = segmentEnd + 1;
        }
    };

    while (!done) {
        misses = 0;
        int32_t i = 1;
        while (i <= used) {
            const TariffRecord& tariff = TariffOf(service, i);
            bool pastEndCheck = false;  // the walk ends, covered, once past the report end
            if (TariffDayMatches(static_cast<Date>(day), tariff.AppliesDays)) {
                const int32_t tariffStart = SecondOfDay(tariff.AppliesTimeStart);
                const int32_t tariffEnd = SecondOfDay(tariff.AppliesTimeEnd);
                const int32_t windowEnd = std::min(tariffEnd + 59, LastSecondOfDay);
                if (tariffStart > second) {
                    pastEndCheck = true;
                } else if (endDay <= reportEnd && day >= reportStart && endDay == day) {
                    // The session ends on this day, inside the report range.
                    if (endSecond <= windowEnd) {
                        if (second <= endSecond) {
                            chargeSegment(i, endSecond, NoteForm::SessionEnd);
                        }
                        done = true;
                        covered = true;
                        pastEndCheck = true;
                    } else if (second <= windowEnd) {
                        chargeSegment(i, windowEnd, NoteForm::TariffEnd);
                        advance(windowEnd);
                        continue;  // the same tariff again
                    }
                } else if (day < reportStart) {
                    // The part before the report range is not charged, nor the charge per call.
                    day = reportStart;
                    second = 0;
                    firstSegment = false;
                    chargeAdded = true;
                    cost = 0;
                    continue;
                } else if (day > reportEnd) {
                    pastEndCheck = true;
                } else if (endDay < day) {
                    // Nothing of the session is left on this day.
                    done = true;
                    covered = true;
                } else if (second <= windowEnd) {
                    // The session goes on after this day: charge to the tariff's end.
                    chargeSegment(i, windowEnd, NoteForm::Other);
                    advance(windowEnd);
                    continue;
                }
            }
            if (pastEndCheck && day > reportEnd) {
                done = true;
                covered = true;
            }
            if (!done) {
                ++misses;
                if (misses >= used) {
                    done = true;
                }
            }
            if (done) {
                break;
            }
            ++i;
        }
    }
    price.Cost = cost;
    price.Covered = covered;
    return price;
}

}  // namespace

DialupPrice PriceDialup(const std::string& number, Date connectDate, Date connectTime,
                        Date disconnectDate, Date disconnectTime, int32_t connIndex) {
    runtime::SetProc("GetDialupCost");
    DialupPrice price;
    const int32_t serviceIndex = FindService(number);
    if (serviceIndex == -1) {
        price.Cost = DUVMain::DialCost;
        return price;
    }
    const ServiceRecord& service = DUVMain::Services.at(serviceIndex);
    switch (service.DialOption) {
    case 1:
        price.Cost = service.DialFixedTariff;
        return price;
    case 2:
        // A session stamped backwards (the clock set back) is priced as one of 0 seconds.
        if (DisconnectBeforeConnect(connectDate, connectTime, disconnectDate, disconnectTime)) {
            disconnectDate = connectDate;
            disconnectTime = connectTime;
        }
        return WalkTariffs(serviceIndex, connectDate, connectTime, disconnectDate, disconnectTime,
                           connIndex);
    default:
        return price;
    }
}

double GetDialupCost(const std::string& number, Date connectDate, Date connectTime,
                     Date disconnectDate, Date disconnectTime, int32_t connIndex) {
    const DialupPrice price =
        PriceDialup(number, connectDate, connectTime, disconnectDate, disconnectTime, connIndex);
    return price.Covered ? price.Cost : -price.Cost;
}

double GetSegmentCost(int32_t service, int32_t tariff, int32_t seconds, bool firstSegment,
                      int32_t& units) {
    const TariffRecord& t = TariffOf(DUVMain::Services.at(service), tariff);
    units = 0;
    int32_t n = seconds;
    const std::string_view unit = t.Unit;
    if (unit == "Per Minute" || unit == "Per Second") {
        if (firstSegment) {
            n = n < t.After ? 0 : n - t.After;
        }
        if (unit == "Per Minute") {
            return n / 60.0 * t.PerMinuteRate;
        }
        return t.PerMinuteRate * n;
    }
    const int32_t unitLength = static_cast<int32_t>(t.UnitMins) * 60 + t.UnitSecs;
    if (unitLength > 0) {
        units = n / unitLength + (n % unitLength > 0 ? 1 : 0);
    } else {
        units = n;
    }
    return t.PerMinuteRate * units;
}

bool TariffDayMatches(Date date, std::string_view days) {
    if (days == "Holidays") {
        return IsHoliday(date);
    }
    if (days == "Everyday") {
        return true;
    }
    if (days == runtime::Format(date, "dddd")) {
        return true;
    }
    const size_t dash = days.find('-');
    if (dash == std::string_view::npos) {
        return false;
    }
    const int32_t first = RangeDayIndex(TrimBlanks(days.substr(0, dash)));
    const int32_t last = RangeDayIndex(TrimBlanks(days.substr(dash + 1)));
    const int32_t weekday = MondayIndex(date);
    return first != 8 && last != 8 && first <= weekday && last >= weekday;
}

int32_t WeekdayIndex(std::string_view abbreviation) {
    for (int32_t i = 1; i <= 7; ++i) {
        if (DUVMain::DayAbbrevs[i] == abbreviation) {
            return i;
        }
    }
    return 8;
}

bool IsHoliday(Date date) {
    const int64_t day = WholeDay(date);
    for (int32_t i = 1; i <= DUVMain::UsedHolidays; ++i) {
        if (WholeDay(DUVMain::Holidays[i]) == day) {
            return true;
        }
    }
    return false;
}

}  // namespace DUVAnalyse
