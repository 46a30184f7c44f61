// Service (time) cost and data cost, with the allowances booked per period to the period
// usage table.
#include <bit>
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
#include "core/RuntimeError.h"

namespace DUVAnalyse {

namespace {

constexpr double SecondsPerHour = 3600.0;
constexpr double BytesPerMegabyte = 1048576.0;

// a + b, or error 6 when it leaves the 64-bit range.
int64_t AddChecked(int64_t a, int64_t b) {
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum)) {
        runtime::Raise(runtime::kErrOverflow);
    }
    return sum;
}

// A byte count rounded to a whole number (halves to even), or error 6 when it has none in
// 64 bits.
int64_t WholeBytes(double bytes) {
    if (!(std::fabs(bytes) < 9.2e18)) {
        runtime::Raise(runtime::kErrOverflow);
    }
    return static_cast<int64_t>(std::nearbyint(bytes));
}

// The report start's whole day and the length of the month that starts there, worked out
// once per report start.
struct ReportMonth {
    bool known = false;
    uint64_t startBits = 0;  // the report start they belong to
    Date start = 0;
    bool lengthKnown = false;
    double length = 0;
};

ReportMonth CurrentMonth;

ReportMonth& ReportMonthOf(Date reportStartDate) {
    const auto bits = std::bit_cast<uint64_t>(reportStartDate);
    if (!CurrentMonth.known || CurrentMonth.startBits != bits) {
        CurrentMonth = ReportMonth{};
        CurrentMonth.start = runtime::DateOnly(reportStartDate);
        CurrentMonth.startBits = bits;
        CurrentMonth.known = true;
    }
    return CurrentMonth;
}

// The usage cell just booked, or after a skipped error the cell looked up anew (which
// raises again where the lookup failed).
const PenaltyRecord& BookedCell(bool booked, const PenaltyRecord* cell, int32_t period,
                                int32_t serviceIndex) {
    return booked ? *cell : Penalties(period, serviceIndex);
}

}  // namespace

int32_t GetPeriodIndex(Date date, std::string_view periodKind) {
    ReportMonth& month = ReportMonthOf(DUVMain::ReportStartDate);
    const double days = std::floor(date) - month.start;
    double period = 0;
    if (periodKind == "Month") {
        if (!month.lengthKnown) {
            // A start whose next month is out of range raises here on every call.
            month.length = runtime::DateAdd("m", 1, month.start) - month.start;
            month.lengthKnown = true;
        }
        const double length = month.length;
        if (length > 0) {
            period = std::floor(days / length);
        }
    } else if (periodKind == "Week") {
        period = std::floor(days / 7);
    } else if (periodKind == "Day") {
        period = days;
    }
    return period < 0 ? 0 : static_cast<int32_t>(period);
}

double SecondsToHours(float seconds) { return seconds / 3600.0f; }

double GetServiceCost(const std::string& number, int32_t seconds, Date date) {
    runtime::SetProc("GetServiceCost");
    if (seconds < 0) {
        seconds = 0;
    }
    const double hours = SecondsToHours(static_cast<float>(seconds));
    const int32_t serviceIndex = FindService(number);
    if (serviceIndex == -1) {
        return DUVMain::CostPerHour * hours;
    }
    const ServiceRecord& service = DUVMain::Services.at(serviceIndex);
    switch (service.ServiceOption) {
    case 1:
        return service.ServiceRate * hours;
    case 2: {
        const int32_t allowance = static_cast<int32_t>(service.UpToHours) * 3600;
        if (date < DUVMain::ReportStartDate) {
            date = DUVMain::ReportStartDate;
        }
        const int32_t period = GetPeriodIndex(date, service.PenaltyPeriod);
        PenaltyRecord* cell = nullptr;
        const bool booked = runtime::Guard([&] {
            cell = &Penalties(period, serviceIndex);
            cell->Seconds = AddChecked(cell->Seconds, seconds);
        });
        const int64_t total = BookedCell(booked, cell, period, serviceIndex).Seconds;
        if (total <= allowance) {
            return service.FlexRate * hours;
        }
        int64_t inside = seconds - (total - allowance);
        double cost = 0;
        if (inside > 0) {
            cost = service.FlexRate * SecondsToHours(static_cast<float>(inside));
        } else {
            inside = 0;
        }
        return cost + service.FlexRate2 * SecondsToHours(static_cast<float>(seconds - inside));
    }
    default:
        return 0;
    }
}

double GetDataCost(const std::string& number, double bytes, Date date) {
    runtime::SetProc("GetDataCost");
    if (bytes == 0) {
        return 0;
    }
    const int32_t serviceIndex = FindService(number);
    if (serviceIndex == -1) {
        return bytes / 1024 / 1024 * DUVMain::CostPerMeg;
    }
    const ServiceRecord& service = DUVMain::Services.at(serviceIndex);
    const double free = BytesPerMegabyte * service.AfterMeg;
    const int32_t period = GetPeriodIndex(date, service.MegPeriod);
    PenaltyRecord* cell = nullptr;
    const bool booked = runtime::Guard([&] {
        cell = &Penalties(period, serviceIndex);
        if (service.MegPeriod == "Session") {
            cell->Bytes = 0;
        }
        cell->Bytes = AddChecked(cell->Bytes, WholeBytes(bytes));
    });
    const double total = static_cast<double>(BookedCell(booked, cell, period, serviceIndex).Bytes);
    if (total <= free) {
        return 0;
    }
    const double inside = bytes - (total - free);
    if (inside > 0) {
        return (bytes - inside) / 1024 / 1024 * service.PerMeg;
    }
    return bytes / 1024 / 1024 * service.PerMeg;
}

}  // namespace DUVAnalyse
