// The system's regional settings read through GetLocaleInfoA, under the default locale and,
// in a child process of this program, under LC_ALL=de_DE.UTF-8.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "core/Locale.h"
#include "core/Runtime.h"
#include "tests/support/Seams.h"

namespace {

// Set in the child: the locale it must find.
const char* ExpectedLcidText() { return std::getenv("DUV_EXPECT_LCID"); }

class SystemLocale : public ::testing::Test {
protected:
    test_support::ScopedSeam<std::shared_ptr<const regional::LocaleSource>> locale_{
        regional::Install, regional::SystemLocaleSource()};
};

// In the child: writes "passed" or "failed" to the file named by DUV_CHILD_RESULT when the
// tests have run.
class ChildResult : public ::testing::EmptyTestEventListener {
    void OnTestProgramEnd(const ::testing::UnitTest& unit) override {
        const char* path = std::getenv("DUV_CHILD_RESULT");
        if (path == nullptr)
            return;
        if (FILE* f = std::fopen(path, "w")) {
            std::fputs(unit.Passed() ? "passed" : "failed", f);
            std::fclose(f);
        }
    }
};

const bool kChildResultInstalled = [] {
    if (std::getenv("DUV_CHILD_RESULT") != nullptr) {
        ::testing::UnitTest::GetInstance()->listeners().Append(new ChildResult);
    }
    return true;
}();

// Runs the given tests of this program again under Wine with a Unix locale of its own: the
// locale is taken from the Unix environment when Wine starts, so the child is started as a
// Unix command. Returns what the child wrote, "" when it did not finish in time.
std::string RunUnderUnixLocale(const std::string& unixLocale, const std::string& expectedLcid,
                               const std::string& filter) {
    char loader[MAX_PATH];
    const DWORD loaderLength = GetEnvironmentVariableA("WINELOADER", loader, MAX_PATH);
    char self[MAX_PATH];
    const DWORD selfLength = GetModuleFileNameA(nullptr, self, MAX_PATH);
    char folder[MAX_PATH];
    char result[MAX_PATH];
    if (loaderLength == 0 || loaderLength >= MAX_PATH || selfLength == 0 ||
        selfLength >= MAX_PATH || GetTempPathA(MAX_PATH, folder) == 0 ||
        GetTempFileNameA(folder, "loc", 0, result) == 0) {
        return "not started";
    }
    DeleteFileA(result);
    std::string command = std::string("/usr/bin/env LC_ALL=") + unixLocale +
                          " DUV_EXPECT_LCID=" + expectedLcid + " DUV_CHILD_RESULT=\"" + result +
                          "\" " + loader + " \"" + self + "\" --gtest_filter=" + filter;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return "not started";
    }
    if (process.hThread)
        CloseHandle(process.hThread);
    if (process.hProcess)
        CloseHandle(process.hProcess);
    // A Unix child gives no process handle to wait on: wait for its result file.
    std::string text;
    for (int i = 0; i < 1200 && text.empty(); ++i) {
        Sleep(100);
        if (FILE* f = std::fopen(result, "r")) {
            char buffer[16] = {};
            if (std::fgets(buffer, sizeof buffer, f))
                text = buffer;
            std::fclose(f);
        }
    }
    DeleteFileA(result);
    return text;
}

}  // namespace

TEST_F(SystemLocale, AgreesWithTheFixedTableOfItsLocale) {
    const regional::LCID lcid = regional::SystemDefaultLCID();
    if (const char* expected = ExpectedLcidText()) {
        ASSERT_EQ(lcid, std::strtoul(expected, nullptr, 16));
    } else {
        ASSERT_EQ(lcid, regional::kLcidEnUs);  // Wine's default
    }
    const auto table = regional::MakeFixedLocale(lcid);
    const auto system = regional::SystemLocaleSource();
    const regional::LCTYPE types[] = {
        regional::kSCountry,        regional::kSCurrency,       regional::kIPosSymPrecedes,
        regional::kIPosSepBySpace,  regional::kICurrDigits,     regional::kSDate,
        regional::kSMonDecimalSep,  regional::kSMonThousandSep, regional::kSTime,
        regional::kSThousand,       regional::kSDecimal,        regional::kSShortDate,
        regional::kSLongDate,       regional::kSTimeFormat,     regional::kS1159,
        regional::kS2359,           regional::kICurrency,       regional::kINegCurr,
        regional::kIFirstDayOfWeek, regional::kSLanguage};
    for (regional::LCTYPE type : types) {
        EXPECT_EQ(system->Info(lcid, type), table->Info(lcid, type)) << "LCTYPE " << type;
    }
    for (regional::LCTYPE i = 0; i < 7; ++i) {
        EXPECT_EQ(system->Info(lcid, regional::kSDayName1 + i),
                  table->Info(lcid, regional::kSDayName1 + i));
        EXPECT_EQ(system->Info(lcid, regional::kSAbbrevDayName1 + i),
                  table->Info(lcid, regional::kSAbbrevDayName1 + i));
    }
    for (regional::LCTYPE i = 0; i < 12; ++i) {
        EXPECT_EQ(system->Info(lcid, regional::kSMonthName1 + i),
                  table->Info(lcid, regional::kSMonthName1 + i));
        EXPECT_EQ(system->Info(lcid, regional::kSAbbrevMonthName1 + i),
                  table->Info(lcid, regional::kSAbbrevMonthName1 + i));
    }
}

TEST_F(SystemLocale, ReadsLongValuesWhole) {
    // Longer than the 20-character fields some callers cut to.
    const std::string language = regional::GetInfo(regional::kSLanguage);
    const std::string expected = regional::SystemDefaultLCID() == regional::kLcidDeDe
                                     ? "German (Germany)"
                                     : "English (United States)";
    EXPECT_EQ(language, expected);
    EXPECT_EQ(regional::Current().Info(regional::SystemDefaultLCID(), 0x7FFFFFF0), std::nullopt);
}

TEST_F(SystemLocale, NamedFormatsUseTheSystemPictures) {
    const runtime::Date d = runtime::DateSerial(1999, 1, 3) + runtime::TimeSerial(19, 4, 5);
    if (regional::SystemDefaultLCID() == regional::kLcidDeDe) {
        EXPECT_EQ(runtime::Format(d, "Short Date"), "3.1.1999");
        EXPECT_EQ(runtime::Format(d, "Long Date"), "Sonntag, 3. Januar 1999");
        EXPECT_EQ(runtime::Format(d, "Long Time"), "19:04:05");
        EXPECT_EQ(runtime::Format(1234.5, "#,##0.00"), "1.234,50");
        EXPECT_EQ(runtime::Format(1234.5, "Currency"), "1.234,50 \x80");
    } else {
        EXPECT_EQ(runtime::Format(d, "Short Date"), "1/3/1999");
        EXPECT_EQ(runtime::Format(d, "Long Date"), "Sunday, January 3, 1999");
        EXPECT_EQ(runtime::Format(d, "Long Time"), "7:04:05 PM");
        EXPECT_EQ(runtime::Format(1234.5, "#,##0.00"), "1,234.50");
        EXPECT_EQ(runtime::Format(1234.5, "Currency"), "$1,234.50");
    }
}

TEST(SystemLocaleGerman, ChildUnderGermanLocaleReadsGermanSettings) {
    if (ExpectedLcidText() != nullptr)
        GTEST_SKIP() << "already the child";
    if (std::getenv("WINELOADER") == nullptr)
        GTEST_SKIP() << "needs Wine to start a Unix command";
    EXPECT_EQ(RunUnderUnixLocale("de_DE.UTF-8", "0407", "SystemLocale.*"), "passed");
}
