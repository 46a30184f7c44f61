// Service cost by allowance periods, data cost by free megabytes, and period numbers.
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "core/ErrorContext.h"
#include "tests/analysis/CostingFixture.h"

namespace costing_test {
namespace {

using DUVAnalyse::GetDataCost;
using DUVAnalyse::GetPeriodIndex;
using DUVAnalyse::GetServiceCost;

constexpr int Hour = 3600;
constexpr double Megabyte = 1048576.0;

using PeriodIndex = CostingTest;

TEST_F(PeriodIndex, CountsFromTheReportStartNotFromCalendarBoundaries) {
    // Friday 15 January 2027: "Week" periods are blocks of 7 days from that Friday.
    DUVMain::ReportStartDate = Day(2027, 1, 15);
    EXPECT_EQ(GetPeriodIndex(Day(2027, 1, 15), "Day"), 0);
    EXPECT_EQ(GetPeriodIndex(Day(2027, 1, 18) + Time(23, 0), "Day"), 3);
    EXPECT_EQ(GetPeriodIndex(Day(2027, 1, 21), "Week"), 0);
    EXPECT_EQ(GetPeriodIndex(Day(2027, 1, 22), "Week"), 1);
    // The month from 15 January to 15 February is 31 days long.
    EXPECT_EQ(GetPeriodIndex(Day(2027, 2, 14), "Month"), 0);
    EXPECT_EQ(GetPeriodIndex(Day(2027, 2, 15), "Month"), 1);
    EXPECT_EQ(GetPeriodIndex(Day(2027, 3, 18), "Month"), 2);
    EXPECT_EQ(GetPeriodIndex(Day(2027, 3, 1), "Session"), 0);
    EXPECT_EQ(GetPeriodIndex(Day(2027, 3, 1), "Fortnight"), 0);
}

TEST_F(PeriodIndex, DatesBeforeTheReportStartArePeriodZero) {
    DUVMain::ReportStartDate = Day(2027, 1, 15);
    EXPECT_EQ(GetPeriodIndex(Day(2027, 1, 1), "Day"), 0);
    EXPECT_EQ(GetPeriodIndex(Day(2026, 12, 1), "Week"), 0);
    EXPECT_EQ(GetPeriodIndex(Day(2026, 12, 1), "Month"), 0);
}

TEST_F(PeriodIndex, MonthFromThirtyFirstOfJanuaryIsAsLongAsFebruary) {
    DUVMain::ReportStartDate = Day(2027, 1, 31);
    EXPECT_EQ(GetPeriodIndex(Day(2027, 2, 27), "Month"), 0);  // day 27
    EXPECT_EQ(GetPeriodIndex(Day(2027, 2, 28), "Month"), 1);  // day 28
    DUVMain::ReportStartDate = Day(2028, 1, 31);              // leap year
    EXPECT_EQ(GetPeriodIndex(Day(2028, 2, 28), "Month"), 0);  // day 28
    EXPECT_EQ(GetPeriodIndex(Day(2028, 2, 29), "Month"), 1);  // day 29
}

TEST_F(PeriodIndex, MonthLengthFollowsEveryChangeOfTheReportStart) {
    DUVMain::ReportStartDate = Day(2027, 1, 15);              // a month of 31 days
    EXPECT_EQ(GetPeriodIndex(Day(2027, 3, 15), "Month"), 1);  // day 59
    DUVMain::ReportStartDate = Day(2027, 2, 15);              // a month of 28 days
    EXPECT_EQ(GetPeriodIndex(Day(2027, 3, 15), "Month"), 1);  // day 28
    EXPECT_EQ(GetPeriodIndex(Day(2027, 3, 14), "Month"), 0);
    DUVMain::ReportStartDate = Day(2027, 2, 15) + Time(12, 0);  // the same day, at noon
    EXPECT_EQ(GetPeriodIndex(Day(2027, 3, 15), "Month"), 1);
    // A start whose next month is out of range fails for "Month" on every call, not others.
    DUVMain::ReportStartDate = Day(9999, 12, 15);
    EXPECT_THROW(GetPeriodIndex(Day(9999, 12, 20), "Month"), runtime::RuntimeError);
    EXPECT_THROW(GetPeriodIndex(Day(9999, 12, 20), "Month"), runtime::RuntimeError);
    EXPECT_EQ(GetPeriodIndex(Day(9999, 12, 20), "Day"), 5);
    DUVMain::ReportStartDate = Day(2027, 1, 15);
    EXPECT_EQ(GetPeriodIndex(Day(2027, 2, 15), "Month"), 1);
}

ServiceRecord AllowanceService(const std::string& number, int hours, const std::string& period,
                               double flexRate, double flexRate2) {
    ServiceRecord s;
    s.ServiceNumber = number;
    s.ServiceOption = 2;
    s.UpToHours = static_cast<std::int16_t>(hours);
    s.PenaltyPeriod = period;
    s.FlexRate = flexRate;
    s.FlexRate2 = flexRate2;
    return s;
}

using ServiceCost = CostingTest;

TEST_F(ServiceCost, NumberOfNoServiceUsesTheDefaultHourlyCost) {
    EXPECT_NEAR(GetServiceCost("0999", 2 * Hour, Day(2026, 12, 7)), 3.0, 1e-9);
}

TEST_F(ServiceCost, FlatHourlyRate) {
    ServiceRecord s;
    s.ServiceNumber = "0800";
    s.ServiceOption = 1;
    s.ServiceRate = 2.4;
    AddService(s);
    EXPECT_NEAR(GetServiceCost("0800", 1800, Day(2026, 12, 7)), 1.2, 1e-6);
}

TEST_F(ServiceCost, UnknownOptionCostsNothing) {
    ServiceRecord s;
    s.ServiceNumber = "0800";
    s.ServiceOption = 0;
    s.ServiceRate = 2.4;
    AddService(s);
    EXPECT_EQ(GetServiceCost("0800", Hour, Day(2026, 12, 7)), 0.0);
}

TEST_F(ServiceCost, WeeklyAllowanceUsedUpAcrossSessionsAndRenewedNextWeek) {
    const int s = AddService(AllowanceService("0800", 10, "Week", 1.0, 3.0));
    // Tuesday 1 December starts the first week; 8 December the second.
    EXPECT_NEAR(GetServiceCost("0800", 6 * Hour, Day(2026, 12, 1)), 6.0, 1e-6);
    EXPECT_NEAR(GetServiceCost("0800", 3 * Hour, Day(2026, 12, 3)), 3.0, 1e-6);
    EXPECT_NEAR(GetServiceCost("0800", 2 * Hour, Day(2026, 12, 7)), 1.0 + 3.0, 1e-6);
    EXPECT_NEAR(GetServiceCost("0800", 1 * Hour, Day(2026, 12, 7)), 3.0, 1e-6);
    EXPECT_NEAR(GetServiceCost("0800", 2 * Hour, Day(2026, 12, 8)), 2.0, 1e-6);
    EXPECT_EQ(DUVAnalyse::Penalties(0, s).Seconds, 12 * Hour);
    EXPECT_EQ(DUVAnalyse::Penalties(1, s).Seconds, 2 * Hour);
}

TEST_F(ServiceCost, SessionBeforeTheReportStartUsesTheFirstPeriod) {
    const int s = AddService(AllowanceService("0800", 1, "Day", 1.0, 3.0));
    EXPECT_NEAR(GetServiceCost("0800", Hour / 2, Day(2026, 11, 30)), 0.5, 1e-6);
    EXPECT_NEAR(GetServiceCost("0800", Hour, Day(2026, 12, 1)), 0.5 + 1.5, 1e-6);
    EXPECT_EQ(DUVAnalyse::Penalties(0, s).Seconds, Hour + Hour / 2);
}

TEST_F(ServiceCost, DailyAllowancePeriodsBeyondTheFirstHundredDays) {
    DUVMain::ReportEndDate = Day(2027, 12, 31);
    const int s = AddService(AllowanceService("0800", 1, "Day", 1.0, 3.0));
    // 1 December 2026 + 150 days is period 150.
    const DUVMain::Date late = Day(2026, 12, 1) + 150;
    EXPECT_NEAR(GetServiceCost("0800", 2 * Hour, late), 1.0 + 3.0, 1e-6);
    EXPECT_EQ(DUVAnalyse::Penalties(150, s).Seconds, 2 * Hour);
    EXPECT_EQ(DUVAnalyse::Penalties(149, s).Seconds, 0);
}

TEST_F(ServiceCost, NegativeSecondsAreChargedAsNone) {
    const int s = AddService(AllowanceService("0800", 1, "Day", 1.0, 3.0));
    GetServiceCost("0800", Hour, Day(2026, 12, 1));
    EXPECT_EQ(GetServiceCost("0800", -600, Day(2026, 12, 1)), 0.0);
    EXPECT_EQ(DUVAnalyse::Penalties(0, s).Seconds, Hour);
}

ServiceRecord DataService(const std::string& number, double freeMeg, const std::string& period,
                          double perMeg) {
    ServiceRecord s;
    s.ServiceNumber = number;
    s.AfterMeg = freeMeg;
    s.MegPeriod = period;
    s.PerMeg = perMeg;
    return s;
}

using DataCost = CostingTest;

TEST_F(DataCost, NumberOfNoServiceUsesTheDefaultCostPerMegabyte) {
    EXPECT_NEAR(GetDataCost("0999", 2097152, Day(2026, 12, 7)), 0.5, 1e-9);
}

TEST_F(DataCost, NothingReadIsNotBooked) {
    const int s = AddService(DataService("0800", 5, "Day", 0.5));
    EXPECT_EQ(GetDataCost("0800", 0, Day(2026, 12, 7)), 0.0);
    EXPECT_EQ(DUVAnalyse::Penalties(6, s).Bytes, 0);
}

TEST_F(DataCost, FreeMegabytesPerDay) {
    const int s = AddService(DataService("0800", 5, "Day", 0.5));
    EXPECT_NEAR(GetDataCost("0800", 4 * Megabyte, Day(2026, 12, 7)), 0.0, 1e-9);
    // 3 MB more: 2 MB above the free 5.
    EXPECT_NEAR(GetDataCost("0800", 3 * Megabyte, Day(2026, 12, 7)), 1.0, 1e-9);
    // Already above: all of it.
    EXPECT_NEAR(GetDataCost("0800", 1 * Megabyte, Day(2026, 12, 7)), 0.5, 1e-9);
    // The next day is free again.
    EXPECT_NEAR(GetDataCost("0800", 3 * Megabyte, Day(2026, 12, 8)), 0.0, 1e-9);
    EXPECT_EQ(DUVAnalyse::Penalties(6, s).Bytes, 8 * 1048576);
    EXPECT_EQ(DUVAnalyse::Penalties(7, s).Bytes, 3 * 1048576);
}

TEST_F(DataCost, SessionPeriodsGiveEverySessionItsOwnFreeAmount) {
    const int s = AddService(DataService("0800", 5, "Session", 0.5));
    EXPECT_NEAR(GetDataCost("0800", 4 * Megabyte, Day(2026, 12, 7)), 0.0, 1e-9);
    EXPECT_NEAR(GetDataCost("0800", 3 * Megabyte, Day(2026, 12, 7)), 0.0, 1e-9);
    EXPECT_NEAR(GetDataCost("0800", 7 * Megabyte, Day(2026, 12, 9)), 1.0, 1e-9);
    EXPECT_EQ(DUVAnalyse::Penalties(0, s).Bytes, 7 * 1048576);
}

TEST_F(DataCost, MonthlyFreeAmountFromThirtyFirstOfJanuary) {
    DUVMain::ReportStartDate = Day(2027, 1, 31);
    DUVMain::ReportEndDate = Day(2027, 3, 31);
    AddService(DataService("0800", 10, "Month", 0.5));
    EXPECT_NEAR(GetDataCost("0800", 8 * Megabyte, Day(2027, 2, 27)), 0.0, 1e-9);
    EXPECT_NEAR(GetDataCost("0800", 4 * Megabyte, Day(2027, 2, 27)), 1.0, 1e-9);
    // 28 February starts the second 28-day month.
    EXPECT_NEAR(GetDataCost("0800", 8 * Megabyte, Day(2027, 2, 28)), 0.0, 1e-9);
}

TEST_F(DataCost, ServiceWithoutRateBooksButCostsNothing) {
    const int s = AddService(DataService("0800", 0, "Week", 0));
    EXPECT_EQ(GetDataCost("0800", 3 * Megabyte, Day(2026, 12, 7)), 0.0);
    EXPECT_EQ(DUVAnalyse::Penalties(0, s).Bytes, 3 * 1048576);
}

}  // namespace
}  // namespace costing_test

namespace costing_test {
namespace {

class PeriodCellOverflow : public CostingTest {
protected:
    // 0800, counted by the day: an hour at 1.0 an hour, then 3.0.
    static ServiceRecord DayService() {
        ServiceRecord s;
        s.ServiceNumber = "0800";
        s.ServiceOption = 2;
        s.UpToHours = 1;
        s.PenaltyPeriod = "Day";
        s.FlexRate = 1.0;
        s.FlexRate2 = 3.0;
        return s;
    }
    std::vector<int> errors;
    std::function<void()> beforeRetry;  // when set: run once, then the answer is retry
    test_support::ScopedSeam<runtime::ErrorHandlerFn> handler_{
        runtime::SetErrorHandler, [this] {
            errors.push_back(runtime::Err().number);
            if (beforeRetry) {
                std::exchange(beforeRetry, nullptr)();
                return runtime::kActionRetry;
            }
            return runtime::kActionSkip;
        }};
};

TEST_F(PeriodCellOverflow, GoesToTheErrorHandlerAndLeavesTheCell) {
    ServiceRecord s = DayService();
    s.AfterMeg = 1;
    s.MegPeriod = "Day";
    s.PerMeg = 0.5;
    const int index = AddService(s);
    const std::int64_t nearlyFull = INT64_MAX - 1000;
    DUVAnalyse::Penalties(0, index).Seconds = nearlyFull;
    DUVAnalyse::Penalties(0, index).Bytes = nearlyFull;

    DUVAnalyse::GetServiceCost("0800", 3600, Day(2026, 12, 1));
    DUVAnalyse::GetDataCost("0800", 1048576, Day(2026, 12, 1));

    EXPECT_EQ(errors, (std::vector<int>{6, 6}));
    EXPECT_EQ(DUVAnalyse::Penalties(0, index).Seconds, nearlyFull);
    EXPECT_EQ(DUVAnalyse::Penalties(0, index).Bytes, nearlyFull);
    EXPECT_EQ(DUVMain::ErrProcName, "GetDataCost");
}

TEST_F(PeriodCellOverflow, ARetryBooksAnewAndASkippedLookupFailsAgainAfterTheGuard) {
    AddService(ServiceRecord{});
    const int index = AddService(DayService());
    DUVAnalyse::Penalties(0, index).Seconds = INT64_MAX - 1000;
    beforeRetry = [&] { DUVAnalyse::Penalties(0, index).Seconds = 0; };
    EXPECT_EQ(DUVAnalyse::GetServiceCost("0800", 3600, Day(2026, 12, 1)), 1.0);
    EXPECT_EQ(DUVAnalyse::Penalties(0, index).Seconds, 3600);
    // A table without the service's column: error 9 inside the guard, skipped, then again.
    DUVAnalyse::Penalties.Create(index - 1);
    EXPECT_THROW(DUVAnalyse::GetServiceCost("0800", 3600, Day(2026, 12, 1)), runtime::RuntimeError);
    EXPECT_EQ(errors, (std::vector<int>{6, 9}));
}

}  // namespace
}  // namespace costing_test
