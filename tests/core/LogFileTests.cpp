#include "core/LogFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/ErrorHandler.h"
#include "core/MessageBox.h"
#include "core/Runtime.h"
#include "core/UserFeedback.h"
#include "tests/core/ScratchFolder.h"
#include "tests/support/ProgramState.h"
#include "tests/support/Seams.h"

namespace {

using runtime::DateSerial;

class ModemLogFile : public test_support::CoreStateTest {
protected:
    void SetUp() override {
        CoreStateTest::SetUp();
        dir_ = scratch_.Path();
        std::filesystem::create_directories(dir_);
        DUVMain::LogFilePath = (dir_ / "ModemLog.txt").string();
        std::filesystem::remove(DUVMain::LogFilePath);
        DUVMain::MaxLogSize = 150;
    }
    void TearDown() override {
        std::filesystem::remove_all(dir_);
        CoreStateTest::TearDown();
    }

    void WriteLog(const std::string& bytes) {
        std::ofstream out(DUVMain::LogFilePath, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }

    std::string ReadLog() {
        std::ifstream in(DUVMain::LogFilePath, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::vector<std::string> pointer;
    std::vector<std::string> labels;
    int yields = 0;
    ScratchFolder scratch_{"duv-logfile"};
    std::filesystem::path dir_;

    test_support::ScopedSeam<UserFeedback> feedback_{
        SetUserFeedback,
        UserFeedback{[this](bool busy) { pointer.push_back(busy ? "busy" : "normal"); },
                     [this] { ++yields; },
                     [this](const std::string& text) { labels.push_back(text); }}};
    test_support::ScopedSeam<runtime::ErrorHandlerFn> handler_{
        runtime::SetErrorHandler, [] { return ErrorHandler::HandleError(); }};
    test_support::ScopedSeam<runtime::EndProgramFn> endHook_{runtime::SetEndProgram,
                                                             [] { DUVMain::EndProgram(); }};
    test_support::ScopedSeam<std::function<void()>> processEnd_{DUVMain::SetProcessEnd, [] {}};
};

}  // namespace

TEST(LogLineDate, ReadsTheStampedDate) {
    EXPECT_EQ(DUVMain::GetLogLineDate("01-02-1999 10:11:12.00 - RECV: ATDT555"),
              DateSerial(1999, 1, 2));
    EXPECT_EQ(DUVMain::GetLogLineDate("12-31-2001"), DateSerial(2001, 12, 31));
    // Short fields read their leading number.
    EXPECT_EQ(DUVMain::GetLogLineDate("3/-4/-2000 x"), DateSerial(2000, 3, 4));
}

TEST(LogLineDate, CarriesMonthsAndDays) {
    EXPECT_EQ(DUVMain::GetLogLineDate("13-01-1999 00:00:00.00 - X"), DateSerial(2000, 1, 1));
    EXPECT_EQ(DUVMain::GetLogLineDate("01-32-1999 00:00:00.00 - X"), DateSerial(1999, 2, 1));
    EXPECT_EQ(DUVMain::GetLogLineDate("02-30-2001 00:00:00.00 - X"), DateSerial(2001, 3, 2));
}

TEST(LogLineDate, UndatedLinesGiveZero) {
    EXPECT_EQ(DUVMain::GetLogLineDate("00-01-1999 10:00:00.00 - X"), 0);
    EXPECT_EQ(DUVMain::GetLogLineDate("01-00-1999 10:00:00.00 - X"), 0);
    EXPECT_EQ(DUVMain::GetLogLineDate("01-01-0000 10:00:00.00 - X"), 0);
    EXPECT_EQ(DUVMain::GetLogLineDate("-1-01-1999"), 0);
    EXPECT_EQ(DUVMain::GetLogLineDate("Modem type: Standard Modem"), 0);
    EXPECT_EQ(DUVMain::GetLogLineDate(""), 0);
    EXPECT_EQ(DUVMain::GetLogLineDate("12"), 0);
    // A stamp carried beyond the calendar is undated, not an error.
    EXPECT_EQ(DUVMain::GetLogLineDate("99-99-9999 10:00:00.00 - X"), 0);
}

// Every all-digit stamp reads as its fields read one by one: leading number, whole, then
// the calendar (carrying, or undated where it cannot).
TEST(LogLineDate, DigitStampsReadAsTheirFields) {
    auto field = [](const std::string& text) {
        return static_cast<int>(runtime::CLng(runtime::Val(text)));
    };
    const char* years[] = {"0000", "0001", "0029", "0030", "0099", "0100", "1899",
                           "1900", "1999", "2000", "2029", "9998", "9999"};
    for (const char* year : years) {
        for (int month = 0; month < 100; ++month) {
            for (int day : {0, 1, 9, 10, 28, 29, 30, 31, 32, 59, 60, 99}) {
                char stamp[32];
                std::snprintf(stamp, sizeof stamp, "%02d%c%02d-%s 10:00:00.00", month,
                              day % 3 ? '-' : '/', day, year);
                const int m = field(std::string(stamp, 2)), d = field(std::string(stamp + 3, 2));
                const int y = field(std::string(stamp + 6, 4));
                double expected = 0;
                if (m * d * y >= 1) {
                    try {
                        expected = DateSerial(y, m, d);
                    } catch (const runtime::RuntimeError&) {
                    }
                }
                ASSERT_EQ(DUVMain::GetLogLineDate(stamp), expected) << stamp;
                ASSERT_EQ(DUVMain::GetLogLineDate(std::string_view(stamp, 10)), expected);
            }
        }
    }
    // A field that is not all digits is read by its leading number.
    EXPECT_EQ(DUVMain::GetLogLineDate("1 -02-2000 x"), DateSerial(2000, 1, 2));
    EXPECT_EQ(DUVMain::GetLogLineDate("01-02-2 00 x"), DateSerial(200, 1, 2));
    EXPECT_EQ(DUVMain::GetLogLineDate("01-02-200"), DateSerial(200, 1, 2));
    EXPECT_EQ(DUVMain::GetLogLineDate("01-2.-1999"), DateSerial(1999, 1, 2));
    EXPECT_EQ(DUVMain::GetLogLineDate("01-02-1e03"), DateSerial(1000, 1, 2));
}

TEST_F(ModemLogFile, CleanLogShowsProgressAtEveryStep) {
    // 250 bytes: the step is 2 (2.5 rounded to even), so 125 progress labels, then 100%.
    std::string text(248, 'a');
    WriteLog(text + "\r\n");
    ScriptedMessages boxes;
    EXPECT_FALSE(DUVMain::CheckCorruption(true));
    EXPECT_EQ(DUVMain::LogLength, 250);
    EXPECT_FALSE(DUVMain::LogEmpty);
    ASSERT_EQ(labels.size(), 126u);
    EXPECT_EQ(labels[0], "Please Wait .....Loading  1%");  // 2 of 250 bytes: 0.8 rounds to 1
    EXPECT_EQ(labels[1], "Please Wait .....Loading  2%");  // 4 of 250 bytes: 1.6
    EXPECT_EQ(labels[4], "Please Wait .....Loading  4%");  // 10 of 250 bytes
    EXPECT_EQ(labels[124], "Please Wait .....Loading  100%");
    EXPECT_EQ(labels[125], "Please Wait .....Loading 100%");
    EXPECT_EQ(pointer, (std::vector<std::string>{"busy", "normal"}));
    EXPECT_GE(yields, 127);
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(ModemLogFile, SmallLogShowsOnlyTheFinalProgress) {
    WriteLog(std::string(50, 'x'));  // 0.5 rounds to a step of 0
    EXPECT_FALSE(DUVMain::CheckCorruption(true));
    EXPECT_EQ(labels, (std::vector<std::string>{"Please Wait .....Loading 100%"}));
    labels.clear();
    EXPECT_FALSE(DUVMain::CheckCorruption(false));
    EXPECT_TRUE(labels.empty());
}

TEST_F(ModemLogFile, DamagedBytesAnywhereAreFound) {
    const std::string clean = std::string(99, 'a') + "\t\n\r ~";
    ASSERT_EQ(clean.size(), 104u);
    WriteLog(clean);
    EXPECT_FALSE(DUVMain::CheckCorruption(false));

    for (unsigned char bad : {0, 8, 11, 12, 27, 31, 127, 128, 0xE9, 255}) {
        for (std::size_t at : {std::size_t{0}, clean.size() / 2, clean.size() - 1}) {
            std::string text = clean;
            text[at] = static_cast<char>(bad);
            WriteLog(text);
            labels.clear();
            EXPECT_TRUE(DUVMain::CheckCorruption(true)) << "byte " << int(bad) << " at " << at;
            // Progress stops before the damaged byte's own position.
            EXPECT_EQ(labels.size(), at) << "byte " << int(bad) << " at " << at;
        }
    }
    EXPECT_EQ(pointer.back(), "normal");
}

TEST_F(ModemLogFile, EveryByteValueIsJudgedAloneAtEveryScanWidth) {
    // 104 bytes: the first 64 are looked at together, the next 32 sixteen at a time, the rest
    // one at a time.
    const std::string clean = std::string(99, 'a') + "\t\n\r ~";
    for (int value = 0; value < 256; ++value) {
        const bool good = value == 9 || value == 10 || value == 13 || (value >= 32 && value <= 126);
        for (std::size_t at :
             {std::size_t{5}, std::size_t{63}, std::size_t{70}, std::size_t{100}}) {
            std::string text = clean;
            text[at] = static_cast<char>(value);
            WriteLog(text);
            EXPECT_EQ(DUVMain::CheckCorruption(false), !good) << "byte " << value << " at " << at;
        }
    }
}

TEST_F(ModemLogFile, EmptyLogIsNotCorruptAndIsEmpty) {
    WriteLog("");
    DUVMain::LogEmpty = false;
    EXPECT_FALSE(DUVMain::CheckCorruption(true));
    EXPECT_TRUE(DUVMain::LogEmpty);
    EXPECT_TRUE(labels.empty());
    // LogEmpty is set again on every call.
    WriteLog("\x01");
    EXPECT_TRUE(DUVMain::CheckCorruption(false));
    EXPECT_FALSE(DUVMain::LogEmpty);
}

TEST_F(ModemLogFile, LargeLogIsCheckedWithoutAnErrorBox) {
    // 3,276,750 bytes and more overflowed a 16-bit progress step.
    std::string line = "01-02-1999 10:11:12.00 - RECV: ATDT5550123 and some more text\r\n";
    std::string text;
    while (text.size() < 3400000)
        text += line;
    WriteLog(text);
    ScriptedMessages boxes;
    EXPECT_FALSE(DUVMain::CheckCorruption(true));
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_EQ(DUVMain::LogLength, static_cast<std::int32_t>(text.size()));
    ASSERT_GE(labels.size(), 100u);
    EXPECT_EQ(labels.back(), "Please Wait .....Loading 100%");
}

TEST_F(ModemLogFile, MissingLogGoesToTheErrorHandler) {
    // Skipping the length keeps the old one; opening the file then fails the same way.
    ScriptedMessages boxes({msg::Ignore, msg::Ignore});
    DUVMain::LogLength = 77;
    runtime::SetStep("QueryValueEx");  // left by an earlier procedure
    EXPECT_FALSE(DUVMain::CheckCorruption(false));
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(DUVMain::LogLength, 77);
    EXPECT_NE(boxes.Calls()[0].text.find("Error code:  53\r\n"), std::string::npos);
    EXPECT_NE(boxes.Calls()[0].text.find("Sub: CheckCorruption\r\n"), std::string::npos);
    // Each failing step names itself.
    EXPECT_NE(boxes.Calls()[0].text.find("Ref: Log Length\r\n"), std::string::npos);
    EXPECT_NE(boxes.Calls()[1].text.find("Ref: Open Log\r\n"), std::string::npos);
    EXPECT_EQ(pointer.back(), "normal");
}

TEST_F(ModemLogFile, StatisticsOfADatedLog) {
    WriteLog(
        "01-02-1999 10:00:00.00 - RECV: ATDT1\r\n"
        "\r\n"
        "01-03-1999 11:00:00.00 - CONNECTION ESTABLISHED\r\n"
        "02-28-1999 12:00:00.00 - HANGING UP THE MODEM\r\n"
        "\r\n");
    ScriptedMessages boxes;
    DUVMain::GetLogStats(false);
    EXPECT_EQ(DUVMain::LogLineCount, 3.0f);
    EXPECT_EQ(DUVMain::FirstEntryDate, DateSerial(1999, 1, 2));
    EXPECT_EQ(DUVMain::LastEntryDate, DateSerial(1999, 2, 28));
    EXPECT_FALSE(DUVMain::LogInvalid);
    EXPECT_FALSE(DUVMain::LogEmpty);
    EXPECT_FALSE(DUVMain::LogTooBig);
    EXPECT_EQ(pointer, (std::vector<std::string>{"busy", "normal"}));
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(ModemLogFile, StatisticsWithUndatedFirstAndLastLines) {
    WriteLog("Modem log started\r\n01-05-2000 10:00:00.00 - X\r\n01-06-2000 10:00:00.00 - Y\r\n");
    DUVMain::GetLogStats(false);
    EXPECT_EQ(DUVMain::FirstEntryDate, DateSerial(2000, 1, 5));
    EXPECT_EQ(DUVMain::LastEntryDate, DateSerial(2000, 1, 6));
    EXPECT_EQ(DUVMain::LogLineCount, 3.0f);
    EXPECT_FALSE(DUVMain::LogInvalid);

    WriteLog("01-05-2000 10:00:00.00 - X\r\ntrailing text\r\n\r\n");
    DUVMain::GetLogStats(false);
    EXPECT_EQ(DUVMain::FirstEntryDate, DateSerial(2000, 1, 5));
    EXPECT_EQ(DUVMain::LastEntryDate, 0);
    EXPECT_TRUE(DUVMain::LogInvalid);

    WriteLog("no dates here\r\n   \r\n");
    DUVMain::GetLogStats(false);
    EXPECT_EQ(DUVMain::FirstEntryDate, 0);
    EXPECT_EQ(DUVMain::LogLineCount, 2.0f);  // a line of blanks is not empty
    EXPECT_TRUE(DUVMain::LogInvalid);
}

TEST_F(ModemLogFile, StatisticsSplitAtEveryLineEnding) {
    WriteLog("01-05-2000 10:00:00.00 - X\r01-07-2000 10:00:00.00 - Y\r");
    DUVMain::GetLogStats(false);
    EXPECT_EQ(DUVMain::LogLineCount, 2.0f);
    EXPECT_EQ(DUVMain::LastEntryDate, DateSerial(2000, 1, 7));

    // A log whose lines end in a lone line feed, with a stray one after a CR LF.
    WriteLog(
        "01-05-2000 10:00:00.00 - X\n01-06-2000 10:00:00.00 - Y\r\n\n01-07-2000 10:00:00.00 - Z\n");
    DUVMain::GetLogStats(true);
    EXPECT_EQ(DUVMain::LogLineCount, 3.0f);
    EXPECT_EQ(DUVMain::FirstEntryDate, DateSerial(2000, 1, 5));
    EXPECT_EQ(DUVMain::LastEntryDate, DateSerial(2000, 1, 7));
    // The hourglass is kept for the caller.
    EXPECT_EQ(pointer.back(), "busy");
}

TEST_F(ModemLogFile, TooBigAtExactlyTheLimit) {
    DUVMain::MaxLogSize = 1;
    WriteLog(std::string(1022, 'a') + "\r");
    DUVMain::GetLogStats(false);
    EXPECT_FALSE(DUVMain::LogTooBig);
    WriteLog(std::string(1023, 'a') + "\r");
    DUVMain::GetLogStats(false);
    EXPECT_TRUE(DUVMain::LogTooBig);
}

TEST_F(ModemLogFile, EmptyLogStatisticsAreNotStale) {
    DUVMain::MaxLogSize = 1;
    WriteLog(std::string(2000, 'a'));
    DUVMain::GetLogStats(false);
    EXPECT_TRUE(DUVMain::LogTooBig);
    EXPECT_TRUE(DUVMain::LogInvalid);

    WriteLog("");
    DUVMain::GetLogStats(false);
    EXPECT_TRUE(DUVMain::LogEmpty);
    EXPECT_FALSE(DUVMain::LogTooBig);
    EXPECT_FALSE(DUVMain::LogInvalid);
    EXPECT_EQ(DUVMain::LogLineCount, 0.0f);
    EXPECT_EQ(DUVMain::FirstEntryDate, 0);
    EXPECT_EQ(DUVMain::LastEntryDate, 0);
}

TEST_F(ModemLogFile, NewLogHoldsOneDatedLine) {
    double now = DateSerial(2026, 3, 7) + runtime::TimeSerial(9, 5, 3);
    test_support::ScopedSeam clock(clock_seam::SetNow, [now] { return now; });
    WriteLog("old contents that must go\r\n");
    EXPECT_TRUE(DUVMain::CreateModemLog(DUVMain::LogFilePath));

    EXPECT_EQ(ReadLog(),
              "03-07-2026 09:05:03.00 - New modem log file created by DUV (Duvelo) v1.0\r\n");
    EXPECT_FALSE(DUVMain::CheckCorruption(false));
    DUVMain::GetLogStats(false);
    EXPECT_EQ(DUVMain::LogLineCount, 1.0f);
    EXPECT_EQ(DUVMain::FirstEntryDate, DateSerial(2026, 3, 7));
    EXPECT_EQ(DUVMain::LastEntryDate, DateSerial(2026, 3, 7));
    EXPECT_FALSE(DUVMain::LogEmpty);
    EXPECT_FALSE(DUVMain::LogInvalid);
}

TEST_F(ModemLogFile, StatisticsAfterTheCheckFollowTheFileAsItIsNow) {
    const std::string day1 = "01-05-2000 10:00:00.00 - X\r\n";
    const std::string day2 = "01-06-2000 10:00:00.00 - Y\r\n";
    WriteLog(day1 + day2);
    EXPECT_FALSE(DUVMain::CheckCorruption(false));
    DUVMain::GetLogStats(false);
    EXPECT_EQ(DUVMain::LogLineCount, 2.0f);
    EXPECT_EQ(DUVMain::LastEntryDate, DateSerial(2000, 1, 6));

    // Lines added after the check.
    EXPECT_FALSE(DUVMain::CheckCorruption(false));
    WriteLog(day1 + day2 + "01-09-2000 10:00:00.00 - Z\r\n");
    DUVMain::GetLogStats(false);
    EXPECT_EQ(DUVMain::LogLineCount, 3.0f);
    EXPECT_EQ(DUVMain::LastEntryDate, DateSerial(2000, 1, 9));

    // Rewritten to the same length, at a later time.
    EXPECT_FALSE(DUVMain::CheckCorruption(false));
    WriteLog("02-05-2000 10:00:00.00 - X\r\n02-06-2000 10:00:00.00 - Y\r\n" + std::string(26, ' ') +
             "\r\n");
    const auto path = std::filesystem::path(DUVMain::LogFilePath);
    std::filesystem::last_write_time(
        path, std::filesystem::last_write_time(path) + std::chrono::hours(1));
    DUVMain::GetLogStats(false);
    EXPECT_EQ(DUVMain::LogLineCount, 3.0f);
    EXPECT_EQ(DUVMain::FirstEntryDate, DateSerial(2000, 2, 5));
    EXPECT_TRUE(DUVMain::LogInvalid);  // the last line holds no date

    // A damaged log leaves nothing to take: the statistics read the log.
    WriteLog(day1 + "01-06-2000 10:00:00.00 - \x01\r\n");
    EXPECT_TRUE(DUVMain::CheckCorruption(false));
    DUVMain::GetLogStats(false);
    EXPECT_EQ(DUVMain::LogLineCount, 2.0f);
    EXPECT_EQ(DUVMain::LastEntryDate, DateSerial(2000, 1, 6));
    EXPECT_EQ(labels, std::vector<std::string>{});

    // A year no whole number holds is no date: the check passes and the statistics find the
    // line undated, as the analysis and the repair do.
    WriteLog("12-02-2d20 10:00:00.00 - X\r\n");
    EXPECT_FALSE(DUVMain::CheckCorruption(false));
    DUVMain::GetLogStats(false);
    EXPECT_EQ(DUVMain::LastEntryDate, 0);
    EXPECT_TRUE(DUVMain::LogInvalid);
    EXPECT_EQ(DUVMain::GetLogLineDate("03-01-9e99 20:00:01.00 - X"), 0);
    EXPECT_EQ(DUVMain::GetLogLineDate("03-01-1e5 20:00:01.00 - X"), 0);  // past the calendar
    // The check still reads on to a damaged byte after such a stamp.
    WriteLog("12-02-2d20 10:00:00.00 - X\r\n" + std::string(300000, 'a') + "\x01\r\n");
    EXPECT_TRUE(DUVMain::CheckCorruption(false));
}

TEST(NewLogLine, PadsEveryField) {
    EXPECT_EQ(DUVMain::NewModemLogLine(DateSerial(1999, 12, 31) + runtime::TimeSerial(23, 59, 59)),
              "12-31-1999 23:59:59.00 - New modem log file created by DUV (Duvelo) v1.0");
}
