// Dial-up cost: no service, fixed amounts and the walk over time-of-day tariffs.
#include <cmath>

#include "tests/analysis/CostingFixture.h"

namespace costing_test {
namespace {

using DUVAnalyse::GetDialupCost;
using DUVAnalyse::PriceDialup;

const std::string Number = "0800111";

// Prices a session of Number; connection index 0 (no notes).
DUVAnalyse::DialupPrice Price(DUVMain::Date connectDate, DUVMain::Date connectTime,
                              DUVMain::Date disconnectDate, DUVMain::Date disconnectTime,
                              int connIndex = 0) {
    return PriceDialup(Number, connectDate, connectTime, disconnectDate, disconnectTime, connIndex);
}

using DialupCostWithoutTariffs = CostingTest;

TEST_F(DialupCostWithoutTariffs, NumberOfNoServiceCostsTheDefaultChargeWhateverItsLength) {
    EXPECT_DOUBLE_EQ(
        GetDialupCost("0999", Day(2026, 12, 7), Time(10, 0), Day(2026, 12, 7), Time(10, 0, 5), 0),
        0.2);
    EXPECT_DOUBLE_EQ(
        GetDialupCost("0999", Day(2026, 12, 7), Time(10, 0), Day(2026, 12, 9), Time(18, 0), 0),
        0.2);
}

TEST_F(DialupCostWithoutTariffs, FixedAmountPerCallAndUnknownOption) {
    ServiceRecord fixed;
    fixed.ServiceNumber = Number;
    fixed.DialOption = 1;
    fixed.DialFixedTariff = 1.35;
    AddService(fixed);
    ServiceRecord none;
    none.ServiceNumber = "0700";
    none.DialOption = 0;
    none.DialFixedTariff = 9;
    AddService(none);

    EXPECT_DOUBLE_EQ(
        GetDialupCost(Number, Day(2026, 12, 7), Time(10, 0), Day(2026, 12, 7), Time(12, 0), 0),
        1.35);
    EXPECT_DOUBLE_EQ(
        GetDialupCost("0700", Day(2026, 12, 7), Time(10, 0), Day(2026, 12, 7), Time(12, 0), 0),
        0.0);
}

TEST_F(DialupCostWithoutTariffs, TariffServiceWithNoTariffsIsNotCoveredAtOnce) {
    AddTariffService(Number, {});
    const auto price = Price(Day(2026, 12, 7), Time(10, 0), Day(2026, 12, 7), Time(10, 30));
    EXPECT_FALSE(price.Covered);
    EXPECT_DOUBLE_EQ(price.Cost, 0.0);
}

using DialupCostOneTariff = CostingTest;

TEST_F(DialupCostOneTariff, PerMinuteOverTheWholeDayWithChargePerCall) {
    AddTariffService(Number, {Tariff("Standard", "Everyday", Time(0, 0), Time(23, 59), 0.10, 0.60,
                                     "Per Minute")});
    // 10:00:00 to 10:30:00 is 1800 seconds: 30 minutes x 0.60 + 0.10.
    const auto price = Price(Day(2026, 12, 7), Time(10, 0), Day(2026, 12, 7), Time(10, 30));
    EXPECT_TRUE(price.Covered);
    EXPECT_NEAR(price.Cost, 18.10, 1e-9);
}

TEST_F(DialupCostOneTariff, PerMinuteAfterThresholdIsDeductedFromTheFirstSegment) {
    AddTariffService(Number, {Tariff("Standard", "Everyday", Time(0, 0), Time(23, 59), 0, 0.50,
                                     "Per Minute", 120)});
    // 600 s less 120 s after-threshold: 8 minutes x 0.50.
    EXPECT_NEAR(Price(Day(2026, 12, 7), Time(10, 0), Day(2026, 12, 7), Time(10, 10)).Cost, 4.0,
                1e-9);
    // A session shorter than the threshold costs nothing.
    EXPECT_NEAR(Price(Day(2026, 12, 7), Time(10, 0), Day(2026, 12, 7), Time(10, 1, 59)).Cost, 0.0,
                1e-9);
}

TEST_F(DialupCostOneTariff, PerSecondWithAfterThreshold) {
    AddTariffService(Number, {Tariff("Standard", "Everyday", Time(0, 0), Time(23, 59), 0.05, 0.01,
                                     "Per Second", 30)});
    // 100 s less 30 s: 70 x 0.01 + 0.05.
    EXPECT_NEAR(Price(Day(2026, 12, 7), Time(10, 0), Day(2026, 12, 7), Time(10, 1, 40)).Cost, 0.75,
                1e-9);
}

TEST_F(DialupCostOneTariff, PerUnitRoundsUpAndIgnoresTheThreshold) {
    AddTariffService(Number, {Tariff("Units", "Everyday", Time(0, 0), Time(23, 59), 0, 0.25,
                                     "Per Unit", 600, 1, 30)});
    // 100 s in units of 90 s: 2 units.
    DUVAnalyse::Connections[1].Notes = "";
    const auto price = Price(Day(2026, 12, 7), Time(10, 0), Day(2026, 12, 7), Time(10, 1, 40), 1);
    EXPECT_NEAR(price.Cost, 0.50, 1e-9);
    EXPECT_EQ(DUVAnalyse::Connections[1].Notes, " - Units - 2U x 1Min 30Sec");
}

TEST_F(DialupCostOneTariff, UnitOfZeroLengthCountsEverySecond) {
    AddTariffService(Number, {Tariff("Units", "Everyday", Time(0, 0), Time(23, 59), 0, 0.01,
                                     "Per Unit", 0, 0, 0)});
    EXPECT_NEAR(Price(Day(2026, 12, 7), Time(10, 0), Day(2026, 12, 7), Time(10, 1, 40)).Cost, 1.0,
                1e-9);
}

TEST_F(DialupCostOneTariff, WholeMinutesUnitsKeepTheSecondsOutOfTheNote) {
    AddTariffService(Number, {Tariff("Units", "Everyday", Time(0, 0), Time(23, 59), 0, 0.1,
                                     "Per Unit", 0, 5, 0)});
    // 11 minutes in 5-minute units: 3 units.
    const auto price = Price(Day(2026, 12, 7), Time(10, 0), Day(2026, 12, 7), Time(10, 11), 2);
    EXPECT_NEAR(price.Cost, 0.3, 1e-9);
    EXPECT_EQ(DUVAnalyse::Connections[2].Notes, " - Units - 3U x 5Min");
}

using DialupCostBoundaries = CostingTest;

TEST_F(DialupCostBoundaries, TwoTariffsMeetingAtSixLeaveTheSecondBetweenThemUncharged) {
    AddTariffService(
        Number,
        {Tariff("Day Rate", "Everyday", Time(8, 0), Time(18, 0), 0.05, 0.01, "Per Second"),
         Tariff("Evening", "Everyday", Time(18, 0), Time(23, 59), 0.03, 0.002, "Per Second")});
    // 17:50:00-18:00:59 is 659 s at 0.01; 18:01:00-18:10:00 is 540 s at 0.002; the charge
    // per call of the tariff that covers the start.
    const auto price = Price(Day(2026, 12, 7), Time(17, 50), Day(2026, 12, 7), Time(18, 10), 3);
    EXPECT_TRUE(price.Covered);
    EXPECT_NEAR(price.Cost, 0.05 + 6.59 + 1.08, 1e-9);
    EXPECT_EQ(DUVAnalyse::Connections[3].Notes, " - Day Rate - Evening");
}

TEST_F(DialupCostBoundaries, AfterThresholdAppliesOnlyToTheFirstSegment) {
    AddTariffService(
        Number,
        {Tariff("Day Rate", "Everyday", Time(8, 0), Time(18, 0), 0, 0.01, "Per Second", 60),
         Tariff("Evening", "Everyday", Time(18, 0), Time(23, 59), 0, 0.002, "Per Second", 60)});
    // (659 - 60) x 0.01 + 540 x 0.002.
    EXPECT_NEAR(Price(Day(2026, 12, 7), Time(17, 50), Day(2026, 12, 7), Time(18, 10)).Cost,
                5.99 + 1.08, 1e-9);
}

TEST_F(DialupCostBoundaries, ChargePerCallComesFromTheTariffThatCoversTheStart) {
    AddTariffService(
        Number,
        {Tariff("Day Rate", "Mon-Fri", Time(8, 0), Time(18, 0), 0.05, 0.10, "Per Minute"),
         Tariff("Evening", "Everyday", Time(18, 0), Time(23, 59), 0.03, 0.02, "Per Minute")});
    // Monday 19:00-19:30: the day tariff starts earlier but ends before the session.
    EXPECT_NEAR(Price(Day(2026, 12, 7), Time(19, 0), Day(2026, 12, 7), Time(19, 30)).Cost,
                0.03 + 30 * 0.02, 1e-9);
}

TEST_F(DialupCostBoundaries, AcrossMidnightIntoAHoliday) {
    AddHoliday(Day(2026, 12, 25));
    AddTariffService(
        Number, {Tariff("Holiday", "Holidays", Time(0, 0), Time(23, 59), 0.2, 0.1, "Per Minute"),
                 Tariff("Thursday", "Thursday", Time(0, 0), Time(23, 59), 0.5, 1.0, "Per Minute")});
    // Thursday 24th 23:50:00-23:59:59 is 599 s at 1.0 a minute; Friday 25th (a holiday)
    // 00:00:00-00:10:00 is 600 s at 0.1; the charge per call of Thursday's tariff.
    const auto price = Price(Day(2026, 12, 24), Time(23, 50), Day(2026, 12, 25), Time(0, 10), 4);
    EXPECT_TRUE(price.Covered);
    EXPECT_NEAR(price.Cost, 0.5 + 599 / 60.0 + 1.0, 1e-9);
    EXPECT_EQ(DUVAnalyse::Connections[4].Notes, " - Thursday - Holiday");
}

TEST_F(DialupCostBoundaries, SameTariffIsTestedAgainAfterMidnightBeforeAnEarlierOne) {
    AddHoliday(Day(2026, 12, 25));
    AddTariffService(
        Number, {Tariff("Holiday", "Holidays", Time(0, 0), Time(23, 59), 0.2, 0.1, "Per Minute"),
                 Tariff("Standard", "Everyday", Time(0, 0), Time(23, 59), 0.5, 1.0, "Per Minute")});
    // After midnight the everyday tariff is tried first again and covers the holiday too.
    const auto price = Price(Day(2026, 12, 24), Time(23, 50), Day(2026, 12, 25), Time(0, 10));
    EXPECT_TRUE(price.Covered);
    EXPECT_NEAR(price.Cost, 0.5 + 599 / 60.0 + 600 / 60.0, 1e-9);
}

TEST_F(DialupCostBoundaries, MissCounterStartsAgainAfterEveryAdvance) {
    AddTariffService(
        Number, {Tariff("Saturday", "Saturday", Time(0, 0), Time(23, 59), 0, 0.2, "Per Minute"),
                 Tariff("Friday", "Friday", Time(0, 0), Time(23, 59), 0.1, 0.6, "Per Minute"),
                 Tariff("Sunday", "Sunday", Time(12, 0), Time(23, 59), 0, 9.0, "Per Minute")});
    // Friday 11th 23:00:00-23:59:59 at 0.6, then Saturday 00:00:00-01:00:00 at 0.2, found
    // in a new pass after two misses.
    const auto price = Price(Day(2026, 12, 11), Time(23, 0), Day(2026, 12, 12), Time(1, 0));
    EXPECT_TRUE(price.Covered);
    EXPECT_NEAR(price.Cost, 0.1 + 3599 / 60.0 * 0.6 + 60 * 0.2, 1e-9);
}

TEST_F(DialupCostBoundaries, SaturdayTariffDoesNotCoverSundayMorning) {
    AddTariffService(
        Number, {Tariff("Saturday", "Saturday", Time(0, 0), Time(23, 59), 0, 0.6, "Per Minute")});
    // Saturday 23:00:00-23:59:59 is charged (3599 s); Sunday has no tariff.
    const auto price = Price(Day(2026, 12, 5), Time(23, 0), Day(2026, 12, 6), Time(1, 0));
    EXPECT_FALSE(price.Covered);
    EXPECT_NEAR(price.Cost, 3599 / 60.0 * 0.6, 1e-9);
    EXPECT_NEAR(
        GetDialupCost(Number, Day(2026, 12, 5), Time(23, 0), Day(2026, 12, 6), Time(1, 0), 0),
        -3599 / 60.0 * 0.6, 1e-9);
}

TEST_F(DialupCostBoundaries, UnitCountStartsAfreshInEverySegment) {
    AddTariffService(
        Number,
        {Tariff("Morning", "Everyday", Time(0, 0), Time(11, 59), 0.05, 0.1, "Per Unit", 0, 5, 0),
         Tariff("Afternoon", "Everyday", Time(12, 0), Time(23, 59), 0, 0.02, "Per Minute")});
    // Monday 11:00:00-11:59:59 (3599 s, 12 units), Monday 12:00:00-23:59:59 (43199 s per
    // minute), Tuesday 00:00:00-11:30:00 (41400 s, 138 units).
    const auto price = Price(Day(2026, 12, 7), Time(11, 0), Day(2026, 12, 8), Time(11, 30), 5);
    EXPECT_TRUE(price.Covered);
    EXPECT_NEAR(price.Cost, 0.05 + 12 * 0.1 + 43199 / 60.0 * 0.02 + 138 * 0.1, 1e-9);
    EXPECT_EQ(DUVAnalyse::Connections[5].Notes,
              " - Morning - 12U x 5Min - Afternoon - 138U x 5Min");
}

TEST_F(DialupCostBoundaries, SegmentEndingAtATariffEndOnTheSameDayNotesUnitsTwiceDashed) {
    AddTariffService(
        Number, {Tariff("Peak", "Everyday", Time(8, 0), Time(18, 0), 0, 0.1, "Per Unit", 0, 5, 0),
                 Tariff("Evening", "Everyday", Time(18, 0), Time(23, 59), 0, 0.02, "Per Minute")});
    // 17:50:00-18:00:59 is 659 s: 3 units of 5 minutes; then 540 s per minute.
    const auto price = Price(Day(2026, 12, 7), Time(17, 50), Day(2026, 12, 7), Time(18, 10), 6);
    EXPECT_NEAR(price.Cost, 0.3 + 9 * 0.02, 1e-9);
    EXPECT_EQ(DUVAnalyse::Connections[6].Notes, " - Peak -  - 3U x 5Min - Evening");
}

TEST_F(DialupCostBoundaries, LastSegmentAddsOnlyNotesNotAlreadyThere) {
    AddTariffService(Number, {Tariff("Units", "Everyday", Time(0, 0), Time(23, 59), 0, 0.1,
                                     "Per Unit", 0, 5, 0)});
    // Monday 23:55:00-23:59:59 (299 s, 1 unit), Tuesday 00:00:00-00:05:00 (300 s, 1 unit).
    DUVAnalyse::Connections[7].Notes = " Time prior to midnight";
    const auto price = Price(Day(2026, 12, 7), Time(23, 55), Day(2026, 12, 8), Time(0, 5), 7);
    EXPECT_NEAR(price.Cost, 0.2, 1e-9);
    EXPECT_EQ(DUVAnalyse::Connections[7].Notes, " Time prior to midnight - Units - 1U x 5Min");
}

TEST_F(DialupCostBoundaries, RunIndexZeroWritesNoNotes) {
    AddTariffService(Number, {Tariff("Units", "Everyday", Time(0, 0), Time(23, 59), 0, 0.1,
                                     "Per Unit", 0, 5, 0)});
    DUVAnalyse::Connections[0].Notes = "";
    Price(Day(2026, 12, 7), Time(10, 0), Day(2026, 12, 7), Time(10, 11), 0);
    EXPECT_EQ(DUVAnalyse::Connections[0].Notes, "");
}

using DialupCostCoverage = CostingTest;

TEST_F(DialupCostCoverage, SessionRunningPastTheLastTariffIsPartlyCovered) {
    AddTariffService(Number, {Tariff("Day Rate", "Everyday", Time(8, 0), Time(18, 0), 0.05, 0.01,
                                     "Per Second")});
    // 17:30:00-18:00:59 is 1859 s; nothing covers 18:01 onwards.
    const double cost =
        GetDialupCost(Number, Day(2026, 12, 7), Time(17, 30), Day(2026, 12, 7), Time(18, 30), 0);
    EXPECT_NEAR(cost, -(0.05 + 18.59), 1e-9);
}

TEST_F(DialupCostCoverage, SessionNoTariffCoversIsNotCoveredEvenAtNoCost) {
    AddTariffService(Number, {Tariff("Day Rate", "Everyday", Time(8, 0), Time(18, 0), 0.05, 0.01,
                                     "Per Second")});
    const auto price = Price(Day(2026, 12, 7), Time(6, 0), Day(2026, 12, 7), Time(7, 0));
    EXPECT_FALSE(price.Covered);
    EXPECT_DOUBLE_EQ(price.Cost, 0.0);
    const double cost =
        GetDialupCost(Number, Day(2026, 12, 7), Time(6, 0), Day(2026, 12, 7), Time(7, 0), 0);
    EXPECT_EQ(cost, 0.0);
    EXPECT_TRUE(std::signbit(cost));
}

TEST_F(DialupCostCoverage, SessionStartingBeforeTheReportStartIsChargedFromMidnight) {
    AddTariffService(Number, {Tariff("Standard", "Everyday", Time(0, 0), Time(23, 59), 0.5, 1.0,
                                     "Per Minute", 600)});
    // 30 November 23:00 to 1 December 01:00: only 00:00:00-01:00:00 is charged, without
    // the charge per call and without the after-threshold.
    const auto price = Price(Day(2026, 11, 30), Time(23, 0), Day(2026, 12, 1), Time(1, 0));
    EXPECT_TRUE(price.Covered);
    EXPECT_NEAR(price.Cost, 60.0, 1e-9);
}

TEST_F(DialupCostCoverage, SessionEndingAfterTheReportEndIsChargedToMidnight) {
    AddTariffService(
        Number, {Tariff("Standard", "Everyday", Time(0, 0), Time(23, 59), 0.5, 1.0, "Per Minute")});
    // 31 December 23:00:00-23:59:59 is charged; the next day has a tariff: covered.
    const auto price = Price(Day(2026, 12, 31), Time(23, 0), Day(2027, 1, 1), Time(1, 0));
    EXPECT_TRUE(price.Covered);
    EXPECT_NEAR(price.Cost, 0.5 + 3599 / 60.0, 1e-9);
}

TEST_F(DialupCostCoverage, SessionEndingAfterTheReportEndWithNoTariffTheNextDay) {
    // 31 December 2026 is a Thursday, 1 January 2027 a Friday.
    AddTariffService(
        Number, {Tariff("Thursday", "Thursday", Time(0, 0), Time(23, 59), 0.5, 1.0, "Per Minute")});
    const auto price = Price(Day(2026, 12, 31), Time(23, 0), Day(2027, 1, 1), Time(1, 0));
    EXPECT_FALSE(price.Covered);
    EXPECT_NEAR(price.Cost, 0.5 + 3599 / 60.0, 1e-9);
}

TEST_F(DialupCostCoverage, SessionWhollyBeforeTheReportStartCostsNothing) {
    AddTariffService(
        Number, {Tariff("Standard", "Everyday", Time(0, 0), Time(23, 59), 0.5, 1.0, "Per Minute")});
    const auto price = Price(Day(2026, 11, 29), Time(10, 0), Day(2026, 11, 29), Time(12, 0));
    EXPECT_TRUE(price.Covered);
    EXPECT_DOUBLE_EQ(price.Cost, 0.0);
}

using TariffDays = CostingTest;

TEST_F(TariffDays, RangesMatchWithOrWithoutBlanksAroundTheDash) {
    // 7 December 2026 is a Monday.
    for (int offset = 0; offset < 7; ++offset) {
        const DUVMain::Date date = Day(2026, 12, 7) + offset;
        const bool weekday = offset < 5;
        EXPECT_EQ(DUVAnalyse::TariffDayMatches(date, "Mon-Fri"), weekday) << offset;
        EXPECT_EQ(DUVAnalyse::TariffDayMatches(date, "Mon - Fri"), weekday) << offset;
        EXPECT_EQ(DUVAnalyse::TariffDayMatches(date, "Sat - Sun"), !weekday) << offset;
        EXPECT_FALSE(DUVAnalyse::TariffDayMatches(date, "Fri-Mon")) << offset;
        EXPECT_FALSE(DUVAnalyse::TariffDayMatches(date, "Mon-Xyz")) << offset;
        EXPECT_TRUE(DUVAnalyse::TariffDayMatches(date, "Everyday")) << offset;
        EXPECT_EQ(DUVAnalyse::TariffDayMatches(date, "Wednesday"), offset == 2) << offset;
        EXPECT_EQ(DUVAnalyse::TariffDayMatches(date, "Monday - Friday"), weekday) << offset;
        EXPECT_FALSE(DUVAnalyse::TariffDayMatches(date, "Weekdays")) << offset;
    }
}

TEST_F(TariffDays, RegionalAbbreviationsOfAnyLength) {
    const char* german[] = {"Mo", "Di", "Mi", "Do", "Fr", "Sa", "So"};
    for (int i = 1; i <= 7; ++i) {
        DUVMain::DayAbbrevs[i] = german[i - 1];
    }
    EXPECT_TRUE(DUVAnalyse::TariffDayMatches(Day(2026, 12, 9), "Mo - Fr"));    // Wednesday
    EXPECT_FALSE(DUVAnalyse::TariffDayMatches(Day(2026, 12, 12), "Mo - Fr"));  // Saturday
    EXPECT_EQ(DUVAnalyse::WeekdayIndex("So"), 7);
    EXPECT_EQ(DUVAnalyse::WeekdayIndex("Mon"), 8);
}

TEST_F(TariffDays, HolidaysMatchOnlyTheDatesInUse) {
    AddHoliday(Day(2026, 12, 25));
    DUVMain::Holidays[2] = Day(2026, 12, 26);  // beyond UsedHolidays
    EXPECT_TRUE(DUVAnalyse::IsHoliday(Day(2026, 12, 25)));
    EXPECT_FALSE(DUVAnalyse::IsHoliday(Day(2026, 12, 26)));
    EXPECT_TRUE(DUVAnalyse::TariffDayMatches(Day(2026, 12, 25), "Holidays"));
    EXPECT_FALSE(DUVAnalyse::TariffDayMatches(Day(2026, 12, 24), "Holidays"));
}

TEST_F(TariffDays, WeekdayIndexIsExactAndCaseSensitive) {
    EXPECT_EQ(DUVAnalyse::WeekdayIndex("Mon"), 1);
    EXPECT_EQ(DUVAnalyse::WeekdayIndex("Sun"), 7);
    EXPECT_EQ(DUVAnalyse::WeekdayIndex("mon"), 8);
    EXPECT_EQ(DUVAnalyse::WeekdayIndex(""), 8);
}

}  // namespace
}  // namespace costing_test
