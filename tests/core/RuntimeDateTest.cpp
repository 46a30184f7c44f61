#include <gtest/gtest.h>

#include "core/Locale.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"
#include "tests/support/Seams.h"

using namespace runtime;

namespace {

int ErrorNumberOf(void (*f)()) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number;
    }
    return 0;
}

}  // namespace

TEST(RuntimeDateSerial, CountsDaysFromTheEndOf1899) {
    EXPECT_EQ(DateSerial(1899, 12, 30), 0);
    EXPECT_EQ(DateSerial(1899, 12, 31), 1);
    EXPECT_EQ(DateSerial(1900, 1, 1), 2);
    EXPECT_EQ(DateSerial(1900, 3, 1), 61);  // 1900 is not a leap year
    EXPECT_EQ(DateSerial(1999, 1, 1), 36161);
    EXPECT_EQ(DateSerial(2000, 2, 29), 36585);
    EXPECT_EQ(DateSerial(1899, 12, 29), -1);
    EXPECT_EQ(DateSerial(9999, 12, 31), 2958465);
}

TEST(RuntimeDateSerial, CarriesMonthsAndDays) {
    EXPECT_EQ(DateSerial(1998, 13, 1), DateSerial(1999, 1, 1));
    EXPECT_EQ(DateSerial(1999, 1, 32), DateSerial(1999, 2, 1));
    EXPECT_EQ(DateSerial(1999, 3, 0), DateSerial(1999, 2, 28));
    EXPECT_EQ(DateSerial(2000, 3, 0), DateSerial(2000, 2, 29));
    EXPECT_EQ(DateSerial(1999, 0, 15), DateSerial(1998, 12, 15));
    EXPECT_EQ(DateSerial(1999, -1, 1), DateSerial(1998, 11, 1));
    EXPECT_EQ(DateSerial(1999, 25, 1), DateSerial(2001, 1, 1));
    EXPECT_EQ(DateSerial(1999, 12, 32), DateSerial(2000, 1, 1));
    EXPECT_EQ(DateSerial(1999, 1, -30), DateSerial(1998, 12, 1));
    EXPECT_EQ(DateSerial(1999, 2, 29 + 365), DateSerial(2000, 2, 29));
}

TEST(RuntimeDateSerial, ReadsTwoDigitYearsInTheirWindow) {
    EXPECT_EQ(DateSerial(99, 1, 1), DateSerial(1999, 1, 1));
    EXPECT_EQ(DateSerial(29, 1, 1), DateSerial(2029, 1, 1));
    EXPECT_EQ(DateSerial(30, 1, 1), DateSerial(1930, 1, 1));
    EXPECT_EQ(DateSerial(0, 1, 1), DateSerial(2000, 1, 1));
}

TEST(RuntimeDateSerial, RefusesYearsOutsideTheRange) {
    EXPECT_EQ(ErrorNumberOf([] { DateSerial(10000, 1, 1); }), kErrInvalidCall);
    EXPECT_EQ(ErrorNumberOf([] { DateSerial(9999, 13, 1); }), kErrInvalidCall);
    EXPECT_EQ(ErrorNumberOf([] { DateSerial(100, 0, 1); }), kErrInvalidCall);
    EXPECT_EQ(DateSerial(100, 1, 1), -657434);
}

TEST(RuntimeTimeSerial, CarriesIntoHoursAndDays) {
    EXPECT_EQ(TimeSerial(12, 0, 0), 0.5);
    EXPECT_EQ(SecondsOfDay(TimeSerial(0, 90, 75)), 5475);
    EXPECT_EQ(TimeSerial(25, 0, 0), 1 + 1.0 / 24);
    EXPECT_EQ(SecondsOfDay(TimeSerial(23, 59, 60)), 0);
}

TEST(RuntimeDateParts, TakeApartDateAndTime) {
    const Date d = DateSerial(1999, 2, 28) + TimeSerial(13, 45, 30);
    EXPECT_EQ(Year(d), 1999);
    EXPECT_EQ(Month(d), 2);
    EXPECT_EQ(Day(d), 28);
    EXPECT_EQ(Hour(d), 13);
    EXPECT_EQ(Minute(d), 45);
    EXPECT_EQ(Second(d), 30);
    EXPECT_EQ(DateOnly(d), DateSerial(1999, 2, 28));
    EXPECT_EQ(SecondsOfDay(TimeOnly(d)), 13 * 3600 + 45 * 60 + 30);
}

TEST(RuntimeDateParts, RoundTimesToTheNearestSecond) {
    // 10:00:00 built from a sum of fractions that is not exact in binary.
    const Date almost = 0.1 + 0.2 + 0.1 / 24;
    EXPECT_EQ(Second(almost), 0);
    const Date justBeforeMidnight = DateSerial(1999, 12, 31) + 86399.6 / 86400;
    EXPECT_EQ(Day(justBeforeMidnight), 1);
    EXPECT_EQ(Year(justBeforeMidnight), 2000);
    EXPECT_EQ(Hour(justBeforeMidnight), 0);
}

TEST(RuntimeDateParts, ReadDatesBefore1900WithTheirForwardTime) {
    const Date d = -1.25;  // 29 December 1899, 06:00
    EXPECT_EQ(Day(d), 29);
    EXPECT_EQ(Month(d), 12);
    EXPECT_EQ(Year(d), 1899);
    EXPECT_EQ(Hour(d), 6);
    EXPECT_EQ(ErrorNumberOf([] { Year(1e12); }), kErrOverflow);
}

TEST(RuntimeWeekday, CountsFromSundayAcrossYears) {
    EXPECT_EQ(Weekday(DateSerial(1899, 12, 30)), 7);  // Saturday
    EXPECT_EQ(Weekday(DateSerial(1998, 10, 4)), 1);   // Sunday
    EXPECT_EQ(Weekday(DateSerial(1999, 12, 31)), 6);  // Friday
    EXPECT_EQ(Weekday(DateSerial(2000, 1, 1)), 7);
    EXPECT_EQ(Weekday(DateSerial(2000, 2, 29)), 3);  // Tuesday
    EXPECT_EQ(Weekday(DateSerial(2026, 12, 9)), 4);  // Wednesday
    EXPECT_EQ(Weekday(DateSerial(1850, 1, 1)), 3);   // Tuesday, before the epoch
    EXPECT_EQ(Weekday(DateSerial(1999, 12, 31) + 0.99), 6);
}

TEST(RuntimeWeekday, CountsFromAnotherFirstDay) {
    const Date monday = DateSerial(1999, 3, 1);
    EXPECT_EQ(Weekday(monday, 2), 1);
    EXPECT_EQ(Weekday(monday, 7), 3);
    EXPECT_EQ(Weekday(monday, 0), 2);  // en-US weeks start on Sunday
    test_support::ScopedSeam german(regional::Install,
                                    regional::MakeFixedLocale(regional::kLcidDeDe));
    EXPECT_EQ(Weekday(monday, 0), 1);  // German weeks start on Monday
}

TEST(RuntimeDateAdd, KeepsTheDayOrTakesTheMonthsLast) {
    const Date jan31 = DateSerial(1999, 1, 31) + TimeSerial(8, 0, 0);
    EXPECT_EQ(DateAdd("m", 1, jan31), DateSerial(1999, 2, 28) + TimeSerial(8, 0, 0));
    EXPECT_EQ(DateAdd("m", 1, DateSerial(2000, 1, 31)), DateSerial(2000, 2, 29));
    EXPECT_EQ(DateAdd("m", -2, DateSerial(1999, 1, 15)), DateSerial(1998, 11, 15));
    EXPECT_EQ(DateAdd("yyyy", 1, DateSerial(2000, 2, 29)), DateSerial(2001, 2, 28));
    EXPECT_EQ(DateAdd("q", 1, DateSerial(1999, 11, 30)), DateSerial(2000, 2, 29));
    EXPECT_EQ(DateAdd("d", 1, DateSerial(1999, 12, 31)), DateSerial(2000, 1, 1));
    EXPECT_EQ(DateAdd("ww", 2, DateSerial(1999, 12, 31)), DateSerial(2000, 1, 14));
    EXPECT_EQ(DateAdd("h", 20, DateSerial(1999, 12, 31) + TimeSerial(6, 0, 0)),
              DateSerial(2000, 1, 1) + TimeSerial(2, 0, 0));
    EXPECT_EQ(SecondsOfDay(DateAdd("n", -1, DateSerial(2000, 1, 1))), 86340);
    EXPECT_EQ(DateAdd("s", 86400, -1.25), 0.25);
    EXPECT_EQ(ErrorNumberOf([] { DateAdd("x", 1, 0); }), kErrInvalidCall);
}

TEST(RuntimeDateDiff, CountsBoundariesCrossed) {
    const Date a = DateSerial(1999, 12, 31) + TimeSerial(23, 0, 0);
    const Date b = DateSerial(2000, 1, 1) + TimeSerial(1, 0, 0);
    EXPECT_EQ(DateDiff("d", a, b), 1);
    EXPECT_EQ(DateDiff("m", a, b), 1);
    EXPECT_EQ(DateDiff("yyyy", a, b), 1);
    EXPECT_EQ(DateDiff("h", a, b), 2);
    EXPECT_EQ(DateDiff("n", a, b), 120);
    EXPECT_EQ(DateDiff("s", b, a), -7200);
    EXPECT_EQ(DateDiff("d", DateSerial(1999, 1, 3), DateSerial(1999, 2, 28)), 56);
    EXPECT_EQ(DaysInMonth(1900, 2), 28);
    EXPECT_EQ(DaysInMonth(2000, 2), 29);
    EXPECT_EQ(DaysInMonth(1999, 4), 30);
}

TEST(RuntimeCDate, ReadsDatesInTheRegionalOrder) {
    EXPECT_EQ(CDate("5/3/1999"), DateSerial(1999, 5, 3));
    EXPECT_EQ(CDate(" 12/31/99 "), DateSerial(1999, 12, 31));
    EXPECT_EQ(CDate("3-Jan-1999"), DateSerial(1999, 1, 3));
    EXPECT_EQ(CDate("1/2/2000 13:30"), DateSerial(2000, 1, 2) + TimeSerial(13, 30, 0));
    EXPECT_EQ(CDate("1/2/2000 1:30:15 PM"), DateSerial(2000, 1, 2) + TimeSerial(13, 30, 15));
    EXPECT_EQ(CDate("10:15"), TimeSerial(10, 15, 0));
    EXPECT_FALSE(IsDate("2/30/1999"));
    EXPECT_FALSE(IsDate("13/1/1999"));
    EXPECT_FALSE(IsDate("abc"));
    EXPECT_FALSE(IsDate(""));
    EXPECT_FALSE(IsDate("1/2"));
    EXPECT_EQ(ErrorNumberOf([] { CDate("x"); }), kErrTypeMismatch);
    test_support::ScopedSeam german(regional::Install,
                                    regional::MakeFixedLocale(regional::kLcidDeDe));
    EXPECT_EQ(CDate("5.3.1999"), DateSerial(1999, 3, 5));
    EXPECT_EQ(CDate("1. M\xE4rz 1999"), DateSerial(1999, 3, 1));
}
