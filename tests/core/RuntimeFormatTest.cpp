#include <gtest/gtest.h>

#include <memory>

#include "core/Locale.h"
#include "core/Runtime.h"
#include "tests/support/Seams.h"

using namespace runtime;

namespace {

class GermanFormat : public ::testing::Test {
protected:
    test_support::ScopedSeam<std::shared_ptr<const regional::LocaleSource>> german_{
        regional::Install, regional::MakeFixedLocale(regional::kLcidDeDe)};
};

const Date kNewYearsEve = DateSerial(1999, 12, 31) + TimeSerial(23, 5, 9);
const Date kMorning = DateSerial(1999, 1, 3) + TimeSerial(7, 4, 5);

}  // namespace

TEST(RuntimeFormatHalves, RoundAwayFromZeroOnTheDecimalForm) {
    EXPECT_EQ(Format(0.575, "0.00"), "0.58");  // 0.57499999... in binary
    EXPECT_EQ(Format(0.125, "0.00"), "0.13");
    EXPECT_EQ(Format(1.005, "0.00"), "1.01");
    EXPECT_EQ(Format(2.5, "#0"), "3");
    EXPECT_EQ(Format(3.5, "#0"), "4");
    EXPECT_EQ(Format(-2.5, "#0"), "-3");
    EXPECT_EQ(Format(0.5, "#"), "1");
    EXPECT_EQ(Format(0.12345, "#,##0.00##"), "0.1235");
    EXPECT_EQ(Format(9.995, "0.00"), "10.00");
    EXPECT_EQ(Format(999.5, "#,##0"), "1,000");
}

TEST(RuntimeFormatNumbers, GroupThousandsWithTheRegionalSeparator) {
    EXPECT_EQ(Format(0, "#,##0"), "0");
    EXPECT_EQ(Format(999, "#,##0"), "999");
    EXPECT_EQ(Format(1234, "#,##0"), "1,234");
    EXPECT_EQ(Format(1234567.891, "#,##0"), "1,234,568");
    EXPECT_EQ(Format(1234.5, "#,##0.00"), "1,234.50");
    EXPECT_EQ(Format(123456789012.0, "#,##0"), "123,456,789,012");
    EXPECT_EQ(Format(1e20, "#,##0"), "100,000,000,000,000,000,000");
}

TEST(RuntimeFormatNumbers, ShowOptionalPlacesOnlyWhenNeeded) {
    EXPECT_EQ(Format(1234.5, "#,##0.00##"), "1,234.50");
    EXPECT_EQ(Format(0.1, "#,##0.00##"), "0.10");
    EXPECT_EQ(Format(0.123, "#,##0.00##"), "0.123");
    EXPECT_EQ(Format(3, "#,##0.####"), "3");  // no point left dangling
    EXPECT_EQ(Format(3.25, "#,##0.####"), "3.25");
    EXPECT_EQ(Format(0.5, "#.00"), ".50");
    EXPECT_EQ(Format(0, "#"), "");
}

TEST(RuntimeFormatNumbers, PadWithZeroPlaceholders) {
    EXPECT_EQ(Format(5, "00"), "05");
    EXPECT_EQ(Format(123, "00"), "123");
    EXPECT_EQ(Format(3, "0000"), "0003");
    EXPECT_EQ(Format(0, "#0"), "0");
    EXPECT_EQ(Format(17, "###0"), "17");
    EXPECT_EQ(Format(12345, "###0"), "12345");
}

TEST(RuntimeFormatNumbers, WriteNegativesWithASignOrTheirOwnSection) {
    EXPECT_EQ(Format(-2, "#,##0.00"), "-2.00");
    EXPECT_EQ(Format(-1234.5, "#,##0"), "-1,235");
    EXPECT_EQ(Format(-0.001, "0.00"), "0.00");  // rounds to zero: no sign
    EXPECT_EQ(Format(-5, "0;(0)"), "(5)");
    EXPECT_EQ(Format(0, "0;(0);\"zero\""), "zero");
    EXPECT_EQ(Format(0.25, "0%"), "25%");
    EXPECT_EQ(Format(7, "\"K\"0 \\x"), "K7 x");
}

TEST(RuntimeFormatNumbers, NamedNumberFormats) {
    EXPECT_EQ(Format(1234.5, "Standard"), "1,234.50");
    EXPECT_EQ(Format(0.5, "Fixed"), "0.50");
    EXPECT_EQ(Format(0.125, "Percent"), "12.50%");
    EXPECT_EQ(Format(1234.5, "Currency"), "$1,234.50");
    EXPECT_EQ(Format(-2, "Currency"), "($2.00)");
    EXPECT_EQ(Format(2.5, "General Number"), "2.5");
    EXPECT_EQ(Format(2.5), "2.5");
    EXPECT_EQ(Format(0.5, ""), "0.5");
}

TEST(RuntimeFormatNumbers, FormatNumericText) {
    EXPECT_EQ(Format(std::string("1234.5"), "#,##0.00"), "1,234.50");
    EXPECT_EQ(Format("0.12345", "#,##0.00##"), "0.1235");
    EXPECT_EQ(Format("abc", "#,##0"), "abc");
    EXPECT_EQ(Format("5/3/1999", "Short Date"), "5/3/1999");
    EXPECT_EQ(Format("5/3/1999", "dd/mm/yy"), "03/05/99");
}

TEST_F(GermanFormat, NumbersUseTheGermanSeparators) {
    EXPECT_EQ(Format(1234567.5, "#,##0.00"), "1.234.567,50");
    EXPECT_EQ(Format(0.575, "#,##0.00##"), "0,575");
    EXPECT_EQ(Format(3, "#,##0.00"), "3,00");
    EXPECT_EQ(Format(1234.5, "Currency"), "1.234,50 \x80");
    EXPECT_EQ(Format(-2, "Currency"), "-2,00 \x80");
    EXPECT_EQ(Format("1.234,5", "#,##0.00"), "1.234,50");
}

TEST(RuntimeFormatDates, WriteTheLogLineFields) {
    EXPECT_EQ(Format(kMorning, "mm-dd-yyyy"), "01-03-1999");
    EXPECT_EQ(Format(kMorning, "hh:nn:ss"), "07:04:05");
    EXPECT_EQ(Format(kNewYearsEve, "hh:nn:ss"), "23:05:09");
    EXPECT_EQ(Format(kMorning, "hh:mm"), "07:04");  // minutes after an hour
    EXPECT_EQ(Format(kMorning, "m/d/yy"), "1/3/99");
    EXPECT_EQ(Format(kMorning, "h:m:s"), "7:4:5");
}

TEST(RuntimeFormatDates, WriteNamesOfDaysAndMonths) {
    EXPECT_EQ(Format(kMorning, "ddmmmyy"), "03Jan99");
    EXPECT_EQ(Format(DateSerial(1999, 2, 28), "ddmmmyy"), "28Feb99");
    EXPECT_EQ(Format(kMorning, "ddd"), "Sun");
    EXPECT_EQ(Format(kMorning, "dddd"), "Sunday");
    EXPECT_EQ(Format(kMorning, "mmmm d, yyyy"), "January 3, 1999");
    EXPECT_EQ(Format(DateSerial(1998, 10, 5), "dddd"), "Monday");
    EXPECT_EQ(Format(kMorning, "q w y"), "1 1 3");
}

TEST(RuntimeFormatDates, WriteTwelveHourTimes) {
    EXPECT_EQ(Format(kNewYearsEve, "h:mm:ss AMPM"), "11:05:09 PM");
    EXPECT_EQ(Format(kMorning, "h:mm:ss AMPM"), "7:04:05 AM");
    EXPECT_EQ(Format(TimeSerial(0, 30, 0), "h:mmAM/PM"), "12:30AM");
    EXPECT_EQ(Format(TimeSerial(12, 0, 0), "h:mmAM/PM"), "12:00PM");
    EXPECT_EQ(Format(TimeSerial(13, 15, 0), "h:mm am/pm"), "1:15 pm");
    EXPECT_EQ(Format(TimeSerial(13, 15, 0), "hh A/P"), "01 P");
}

TEST(RuntimeFormatDates, ATimeOfDayAloneStandsOnDayZero) {
    const char* mask = "dddd d mmmm yyyy w hh:nn:ss";
    EXPECT_EQ(Format(TimeSerial(13, 4, 5), mask), "Saturday 30 December 1899 7 13:04:05");
    EXPECT_EQ(Format(-TimeSerial(6, 0, 0), mask), "Saturday 30 December 1899 7 06:00:00");
    EXPECT_EQ(Format(0.0, mask), "Saturday 30 December 1899 7 00:00:00");
    EXPECT_EQ(Format(1 - 0.4 / 86400, mask), "Sunday 31 December 1899 1 00:00:00");
    EXPECT_EQ(Format(1 + TimeSerial(13, 4, 5), mask), "Sunday 31 December 1899 1 13:04:05");
    EXPECT_EQ(Format(-1 - TimeSerial(6, 0, 0), mask), "Friday 29 December 1899 6 06:00:00");
    EXPECT_EQ(Format(TimeSerial(13, 4, 5), "LONG TIME"), "1:04:05 PM");
}

TEST(RuntimeFormatDates, NamedFormatsFollowTheRegionalPictures) {
    EXPECT_EQ(Format(kMorning, "Short Date"), "1/3/1999");
    EXPECT_EQ(Format(kMorning, "short date"), "1/3/1999");
    EXPECT_EQ(Format(kMorning, "Long Date"), "Sunday, January 3, 1999");
    EXPECT_EQ(Format(kMorning, "long date"), "Sunday, January 3, 1999");
    EXPECT_EQ(Format(kMorning, "Long Time"), "7:04:05 AM");
    EXPECT_EQ(Format(kNewYearsEve, "Long Time"), "11:05:09 PM");
    EXPECT_EQ(Format(kNewYearsEve, "Medium Time"), "11:05 PM");
    EXPECT_EQ(Format(kNewYearsEve, "Short Time"), "23:05");
    EXPECT_EQ(Format(kMorning, "Medium Date"), "03-Jan-99");
    EXPECT_EQ(Format(kMorning, "General Date"), "1/3/1999 7:04:05 AM");
    EXPECT_EQ(Format(DateSerial(1999, 1, 3), "General Date"), "1/3/1999");
    EXPECT_EQ(Format(TimeSerial(7, 4, 5), "General Date"), "7:04:05 AM");
    EXPECT_EQ(Format(kMorning, "ddddd"), "1/3/1999");
    EXPECT_EQ(Format(kMorning, "dddddd"), "Sunday, January 3, 1999");
    EXPECT_EQ(Format(kMorning, "ttttt"), "7:04:05 AM");
}

TEST_F(GermanFormat, NamedFormatsAndNamesInGerman) {
    EXPECT_EQ(Format(kMorning, "Short Date"), "3.1.1999");
    EXPECT_EQ(Format(kMorning, "Long Date"), "Sonntag, 3. Januar 1999");
    EXPECT_EQ(Format(kMorning, "Long Time"), "07:04:05");
    EXPECT_EQ(Format(DateSerial(1999, 3, 1), "ddmmmyy"), "01M\xE4r99");
    EXPECT_EQ(Format(DateSerial(1998, 10, 5), "ddd dddd"), "Mo. Montag");
    EXPECT_EQ(Format(kMorning, "dd/mm/yyyy"), "03.01.1999");  // "/" is the date separator
    EXPECT_EQ(Format(kMorning, "h:mm:ss AMPM"), "7:04:05 AM");
}

TEST(RuntimeFormatDates, WindowsPicturesKeepQuotedText) {
    EXPECT_EQ(FormatWindowsPicture(kMorning, "dd.MM.yy"), "03.01.99");
    EXPECT_EQ(FormatWindowsPicture(kMorning, "d 'de' MMMM"), "3 de January");
    EXPECT_EQ(FormatWindowsPicture(kMorning, "'o''clock' H"), "o'clock 7");
    EXPECT_EQ(FormatWindowsPicture(kNewYearsEve, "hh:mm t"), "11:05 P");
    EXPECT_EQ(FormatWindowsPicture(kNewYearsEve, "HH:mm:ss tt"), "23:05:09 PM");
    EXPECT_EQ(FormatWindowsPicture(kMorning, "ddd, MMM d yyyy"), "Sun, Jan 3 1999");
}

TEST(RuntimeFormatDates, FourDigitYearsAndNumbersWrittenInPlace) {
    const Date year100 = DateSerial(100, 2, 3) - TimeSerial(9, 5, 7);  // before 1899: minus
    EXPECT_EQ(FormatWindowsPicture(year100, "yyyy-M-d h:m:s"), "0100-2-3 9:5:7");
    EXPECT_EQ(FormatWindowsPicture(DateSerial(999, 12, 31), "yyyy"), "0999");
    EXPECT_EQ(FormatWindowsPicture(DateSerial(1000, 1, 1), "yyyy"), "1000");
    EXPECT_EQ(FormatWindowsPicture(DateSerial(9999, 12, 31), "d/M/yyyy"), "31/12/9999");
    EXPECT_EQ(Format(year100, "Short Date"), "2/3/0100");
    EXPECT_EQ(Format(DateSerial(2026, 11, 22), "SHORT DATE"), "11/22/2026");  // any case
}

TEST(RuntimeNames, FollowTheLocaleAndItsReplacement) {
    EXPECT_EQ(MonthName(3), "March");
    EXPECT_EQ(MonthName(3, true), "Mar");
    EXPECT_EQ(WeekdayName(1), "Sunday");
    EXPECT_EQ(WeekdayName(2, true), "Mon");
    {
        test_support::ScopedSeam german(regional::Install,
                                        regional::MakeFixedLocale(regional::kLcidDeDe));
        EXPECT_EQ(MonthName(3), "M\xE4rz");
        EXPECT_EQ(WeekdayName(1), "Sonntag");
    }
    EXPECT_EQ(WeekdayName(1), "Sunday");
}
