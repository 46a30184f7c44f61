#include "core/GeneralFunctions.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/Locale.h"
#include "core/RuntimeError.h"
#include "tests/support/ScopedLocale.h"

using namespace GeneralFunctions;

namespace {

void UseLocale(regional::LCID lcid) {
    regional::Install(regional::MakeFixedLocale(lcid));
    test_support::ReadRegionalValues();
}

// Regional values of a locale for the test's duration; en-US again afterwards.
class EnUs : public ::testing::Test {
protected:
    void SetUp() override { UseLocale(regional::kLcidEnUs); }
    void TearDown() override { runtime::SetErrorHandler({}); }
    test_support::ScopedLocale locale_;
};

class DeDe : public EnUs {
protected:
    void SetUp() override { UseLocale(regional::kLcidDeDe); }
};

int RaisedNumber(const std::function<void()>& f) {
    try {
        f();
    } catch (const runtime::RuntimeError& e) {
        return e.number;
    }
    return 0;
}

// Answers every error with the given action and records what it saw.
struct RecordingHandler {
    std::vector<int> numbers;
    std::vector<std::string> steps;
    void Install(int answer) {
        runtime::SetErrorHandler([this, answer] {
            numbers.push_back(runtime::Err().number);
            steps.push_back(DUVMain::ErrStepName);
            return answer;
        });
    }
};

}  // namespace

TEST(PadString, TrimsThenFillsOnTheLeft) {
    EXPECT_EQ(PadString(" 7", "0", 2), "07");
    EXPECT_EQ(PadString("123", "0", 2), "123");
    EXPECT_EQ(PadString("", "0", 2), "00");
    EXPECT_EQ(PadString(" ab ", "*", 5), "***ab");
    EXPECT_EQ(PadString("7", "0", 0), "7");
    EXPECT_EQ(RaisedNumber([] { PadString("7", "", 3); }), 5);
}

TEST_F(EnUs, FormatDateKeepsFourDigitYearsWhereTheMaskHasThem) {
    ASSERT_EQ(DUVMain::DateMask, "##/##/####");
    EXPECT_EQ(format_date("5/3/1999"), "05/03/1999");
    EXPECT_EQ(format_date("12/9/2026", "/"), "12/09/2026");
    EXPECT_EQ(format_date(" 1 / 2 / 2031 "), "01/02/2031");
    EXPECT_EQ(DUVMain::ErrModuleName, "GeneralFunctions");
    EXPECT_EQ(DUVMain::ErrProcName, "format_date");
    EXPECT_EQ(DUVMain::ErrStepName, "OK");
}

TEST_F(EnUs, FormatDateCutsTheYearToTwoDigitsForATwoDigitMask) {
    DUVMain::DateMask = "##/##/##";
    EXPECT_EQ(format_date("5/3/1999"), "05/03/99");
    EXPECT_EQ(format_date("5/3/99"), "05/03/99");
    DUVMain::DateMask = "";  // not derived yet: every field two characters
    EXPECT_EQ(format_date("5/3/1999"), "05/03/99");
    // A separator the mask does not use: every field two characters.
    DUVMain::DateMask = "##/##/####";
    EXPECT_EQ(format_date("5-3-1999", "-"), "05-03-99");
}

TEST_F(DeDe, FormatDateInGermanOrder) {
    ASSERT_EQ(DUVMain::DateMask, "##.##.####");
    EXPECT_EQ(format_date("9.12.2026"), "09.12.2026");
    EXPECT_EQ(format_date("1.1.2030"), "01.01.2030");
}

TEST_F(EnUs, FormatDateOfYearFirstOrder) {
    DUVMain::DateSeparator = "-";
    DUVMain::DateMask = "####-##-##";
    EXPECT_EQ(format_date("2026-1-5"), "2026-01-05");
}

TEST_F(EnUs, FormatDateWithTooFewSeparatorsGoesToTheHandler) {
    RecordingHandler handler;
    handler.Install(runtime::kActionSkip);
    const std::string result = format_date("5/3");
    ASSERT_FALSE(handler.numbers.empty());
    EXPECT_EQ(handler.numbers.front(), 5);
    EXPECT_EQ(handler.steps.front(), "5/3 (Sep = /)");
    // The skipped statement leaves its fields empty.
    EXPECT_EQ(result, "00/00/0000");
}

TEST_F(EnUs, FormatDateWithoutAnySeparatorUsesTheShortDate) {
    DUVMain::DateSeparator = "";
    EXPECT_EQ(format_date("12/9/2026"), "12/9/2026");
    EXPECT_EQ(DUVMain::ErrStepName, "12/9/2026 (Sep = )");
}

class FileExistsTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir =
            std::filesystem::temp_directory_path() /
            ("duv-fileexists-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(dir / "folder");
        std::ofstream(dir / "ModemLog.txt") << "x";
    }
    void TearDown() override {
        InstallFileProbe({});
        std::filesystem::remove_all(dir);
    }
    std::string P(const std::string& name) { return (dir / name).string(); }
    std::filesystem::path dir;
};

TEST_F(FileExistsTest, NormalFilesOnly) {
    EXPECT_TRUE(FileExists(P("ModemLog.txt")));
    EXPECT_FALSE(FileExists(P("folder")));
    EXPECT_FALSE(FileExists(P("Missing.txt")));
    EXPECT_FALSE(FileExists(""));
}

TEST_F(FileExistsTest, WildcardsNeverExist) {
    EXPECT_FALSE(FileExists(P("*.txt")));
    EXPECT_FALSE(FileExists(P("ModemLog.tx?")));
    EXPECT_FALSE(FileExists(P("*")));
}

TEST_F(FileExistsTest, AnInstalledProbeDecides) {
    std::vector<std::string> asked;
    InstallFileProbe([&](const std::string& path) {
        asked.push_back(path);
        return false;
    });
    EXPECT_FALSE(FileExists(P("ModemLog.txt")));
    EXPECT_FALSE(FileExists(P("*.txt")));
    EXPECT_EQ(asked, std::vector<std::string>{P("ModemLog.txt")});
}

TEST(DateBefore, ComparesDatesWithTheirTimes) {
    EXPECT_TRUE(DateBefore(36000.25, 36000.5));
    EXPECT_FALSE(DateBefore(36000.5, 36000.5));
    EXPECT_FALSE(DateBefore(36001, 36000.99));
}

TEST_F(EnUs, FormatTimeTruncatesAndKeepsLargeHours) {
    EXPECT_EQ(FormatTime(3725), "01:02:05");
    EXPECT_EQ(FormatTime(90000), "25:00:00");
    EXPECT_EQ(FormatTime(59.9), "00:00:59");
    EXPECT_EQ(FormatTime(59.9f), "00:00:59");
    EXPECT_EQ(FormatTime(3725, true), "01:02");
    EXPECT_EQ(FormatTime(0), "00:00:00");
    EXPECT_EQ(FormatTime(99 * 3600 + 59 * 60 + 59), "99:59:59");
    EXPECT_EQ(FormatTime(100 * 3600), "100:00:00");
    EXPECT_EQ(FormatTime(1e9), "277777:46:40");
    EXPECT_EQ(FormatTime(3599.999), "00:59:59");
    EXPECT_EQ(FormatTime(-5), "-00:00:05");
    EXPECT_EQ(FormatTime(-0.5), "00:00:00");
    EXPECT_EQ(FormatTime(3.6e21 + 3725), "1000000000000000000:00:00");  // beyond whole seconds
    EXPECT_EQ(FormatTime(3.6e18 + 3584), "1000000000000000:59:44");
    EXPECT_EQ(DUVMain::ErrProcName, "FormatTime");
}

TEST_F(EnUs, FormatTimeUsesTheRegionalSeparator) {
    DUVMain::TimeSeparator = ".";
    EXPECT_EQ(FormatTime(3725), "01.02.05");
}

TEST(CheckLongRange, ExactThirtyTwoBitRange) {
    EXPECT_TRUE(CheckLongRange(0));
    EXPECT_TRUE(CheckLongRange(2147483647.0));
    EXPECT_TRUE(CheckLongRange(-2147483648.0));
    EXPECT_TRUE(CheckLongRange(2147483647.4));
    EXPECT_EQ(RaisedNumber([] { CheckLongRange(2147483648.0); }), 6);
    EXPECT_EQ(RaisedNumber([] { CheckLongRange(2147483647.5); }), 6);  // rounds to even, up
    EXPECT_EQ(RaisedNumber([] { CheckLongRange(-2147483649.0); }), 6);
    EXPECT_EQ(RaisedNumber([] { CheckLongRange(1e20); }), 6);
}

TEST_F(EnUs, FormatDplacesWithTwoCurrencyDigits) {
    EXPECT_EQ(Format_Dplaces("1234.5", 4), "1,234.50");
    EXPECT_EQ(Format_Dplaces("0.12345", 4), "0.1235");
    EXPECT_EQ(Format_Dplaces("0.5", 0), "0.50");
    EXPECT_EQ(Format_Dplaces("1234567.891", 0), "1,234,567.89");
    EXPECT_EQ(Format_Dplaces("-3", 0), "-3.00");
    EXPECT_EQ(Format_Dplaces("abc", 4), "");
    EXPECT_EQ(Format_Dplaces("", 4), "");
    EXPECT_EQ(DUVMain::ErrProcName, "Format_Dplaces");
}

TEST_F(EnUs, FormatDplacesWithZeroAndNegativeCurrencyDigits) {
    DUVMain::CurrencyDigits = 0;
    EXPECT_EQ(Format_Dplaces("1234567.4", 0), "1,234,567");
    EXPECT_EQ(Format_Dplaces("2.5", 0), "3");
    EXPECT_EQ(Format_Dplaces("0.1234", 2), "0.12");
    DUVMain::CurrencyDigits = -1;
    EXPECT_EQ(Format_Dplaces("1234.5", 4), "1234.5");
}

TEST_F(DeDe, FormatDplacesWithDecimalComma) {
    EXPECT_EQ(Format_Dplaces("1234,5", 4), "1.234,50");
    EXPECT_EQ(Format_Dplaces("0,12345", 4), "0,1235");
    EXPECT_EQ(Format_Dplaces("1234567,891", 0), "1.234.567,89");
}

TEST_F(EnUs, XValRemovesEveryThousandsSeparator) {
    EXPECT_DOUBLE_EQ(XVal("1,234,567.50"), 1234567.5);
    EXPECT_DOUBLE_EQ(XVal("1,234"), 1234);
    EXPECT_DOUBLE_EQ(XVal("0.1235"), 0.1235);
    EXPECT_DOUBLE_EQ(XVal("12.5abc"), 12.5);
    EXPECT_DOUBLE_EQ(XVal("-3.00"), -3);
    EXPECT_DOUBLE_EQ(XVal("1.5,3"), 1.5);  // grouping after the point is not a number
    EXPECT_DOUBLE_EQ(XVal(""), 0);
    EXPECT_DOUBLE_EQ(XVal("abc"), 0);
    EXPECT_EQ(DUVMain::ErrProcName, "XVal");
}

TEST_F(DeDe, XValReadsTheDecimalComma) {
    EXPECT_DOUBLE_EQ(XVal("1.234,5"), 1234.5);
    EXPECT_DOUBLE_EQ(XVal("1.234.567,5"), 1234567.5);
    EXPECT_DOUBLE_EQ(XVal("0,1235"), 0.1235);
    EXPECT_DOUBLE_EQ(XVal("12"), 12);
    EXPECT_DOUBLE_EQ(XVal("3,00 \x80"), 3);
}

TEST_F(EnUs, XValWithEqualSeparatorsOnlyReplacesTheDecimal) {
    DUVMain::DecimalSeparator = ",";
    DUVMain::ThousandSeparator = ",";
    EXPECT_DOUBLE_EQ(XVal("12,5"), 12.5);
    EXPECT_DOUBLE_EQ(XVal("1,234,5"), 1.234);
}

TEST_F(EnUs, MoneyTextReadsBackInBothLocales) {
    for (double amount : {0.0, 0.5, 1234.5, 1234567.89, 9876543.21}) {
        const std::string text = Format_Dplaces(std::to_string(amount), 4);
        EXPECT_DOUBLE_EQ(XVal(text), amount) << text;
    }
    UseLocale(regional::kLcidDeDe);
    for (double amount : {0.0, 0.5, 1234.5, 1234567.89, 9876543.21}) {
        std::string number = std::to_string(amount);
        number[number.find('.')] = ',';
        const std::string text = Format_Dplaces(number, 4);
        EXPECT_DOUBLE_EQ(XVal(text), amount) << text;
    }
}

TEST(DayNameIndex, ExactNamesOnly) {
    const auto saved = DUVMain::DayNames;
    const char* names[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                           "Friday", "Saturday", "Sunday"};
    for (int i = 1; i <= 7; ++i)
        DUVMain::DayNames[i] = names[i - 1];
    EXPECT_EQ(DayNameIndex("Monday"), 1);
    EXPECT_EQ(DayNameIndex("Sunday"), 7);
    EXPECT_EQ(DayNameIndex("monday"), 0);
    EXPECT_EQ(DayNameIndex(""), 0);
    EXPECT_EQ(DayNameIndex("Mon"), 0);
    DUVMain::DayNames = saved;
}

TEST(FileNameOfPath, PartAfterTheLastBackslash) {
    EXPECT_EQ(FileNameOfPath("C:\\WINDOWS\\ModemLog.txt"), "ModemLog.txt");
    EXPECT_EQ(FileNameOfPath("ModemLog.txt"), "ModemLog.txt");
    EXPECT_EQ(FileNameOfPath("C:\\WINDOWS\\"), "C:\\WINDOWS\\");
    EXPECT_EQ(FileNameOfPath(""), "");
}

TEST(TextBeforeSeparator, CutsAtTheLastOccurrence) {
    EXPECT_EQ(TextBeforeSeparator("C:\\catalog\\log", "log"), "C:\\catalog\\");
    EXPECT_EQ(TextBeforeSeparator("C:\\WINDOWS\\ModemLog.txt", "ModemLog.txt"), "C:\\WINDOWS\\");
    EXPECT_EQ(TextBeforeSeparator("", "x"), "");
    EXPECT_EQ(TextBeforeSeparator("abc", ""), "");
    EXPECT_EQ(RaisedNumber([] { TextBeforeSeparator("C:\\WINDOWS\\a.txt", "b.txt"); }), 5);
}
