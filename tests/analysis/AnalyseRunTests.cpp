// The run as a whole: its window texts, stop rules, table limits and the given-back records.
#include "tests/analysis/SessionsFixture.h"

#include "core/UserFeedback.h"

#include <filesystem>
#include <fstream>

namespace sessions_test {
namespace {

using DUVAnalyse::ConnIndex;
using DUVAnalyse::UsageCount;

TEST_F(SessionsTest, RunShowsProgressFinishTextAndReportInOrder) {
    Run({"12-01-2026 10:00:00.00 - a", "12-01-2026 10:00:01.00 - b", "",
         "12-01-2026 10:00:02.00 - c", "12-01-2026 10:00:03.00 - d", "12-01-2026 10:00:04.00 - e",
         "12-01-2026 10:00:05.00 - f", "12-01-2026 10:00:06.00 - g", "   ",
         "12-01-2026 10:00:07.00 - h", "12-01-2026 10:00:08.00 - i", "12-01-2026 10:00:09.00 - j",
         "12-01-2026 10:00:10.00 - k", "12-01-2026 10:00:11.00 - l", "12-01-2026 10:00:12.00 - m",
         "12-01-2026 10:00:13.00 - n", "12-01-2026 10:00:14.00 - o", "12-01-2026 10:00:15.00 - p",
         "12-01-2026 10:00:16.00 - q", "12-01-2026 10:00:17.00 - r", "12-01-2026 10:00:18.00 - s",
         "12-01-2026 10:00:19.00 - t"});
    EXPECT_EQ(DUVAnalyse::EntryCount, 20);
    EXPECT_EQ(DUVAnalyse::ProgressChunk, 2);
    ASSERT_EQ(progress.size(), 10u);
    EXPECT_EQ(progress.front(), 10);
    EXPECT_EQ(progress.back(), 100);
    EXPECT_EQ(eventPumps, 10);
    ASSERT_GE(status.size(), 2u);
    EXPECT_EQ(status.front(), "Please Wait .....Processing  10%");
    EXPECT_EQ(status.back(), " F I N I S H E D !  -  (20 entries processed)");
    std::vector<std::string> expected{"ProgressBar on",    "Hourglass",  "ProgressBar off",
                                      "CheckUserWarnings", "ShowReport", "Default pointer"};
    EXPECT_EQ(events, expected);
    EXPECT_FALSE(DUVMain::SummaryReportBuilt);
    EXPECT_FALSE(DUVMain::DetailReportBuilt);
}

TEST_F(SessionsTest, FewerThanTenLinesShowNoProgress) {
    Run({"12-01-2026 10:00:00.00 - a", "12-01-2026 10:00:01.00 - b"});
    EXPECT_EQ(DUVAnalyse::ProgressChunk, 0);
    EXPECT_TRUE(progress.empty());
    EXPECT_EQ(eventPumps, 0);
}

TEST_F(SessionsTest, UndatedLineStopsTheRunAndSuppressesTheReport) {
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem.", "garbage without a date",
         "12-01-2026 11:00:01.00 - Recv: ATDT0777<cr>"});
    EXPECT_TRUE(DUVMain::LogCorrupt);
    EXPECT_EQ(DUVAnalyse::EntryCount, 3);
    EXPECT_EQ(UsageCount, 1);
    EXPECT_EQ(Count("ShowReport"), 0);
    EXPECT_EQ(Count("CheckUserWarnings"), 1);
    EXPECT_EQ(status.back(), " F I N I S H E D !  -  (3 entries processed)");
}

TEST_F(SessionsTest, LogFoundDamagedBeforeTheRunShowsNoReport) {
    DUVMain::LogCorrupt = true;
    Run({"12-01-2026 10:00:01.00 - Hello"});
    EXPECT_EQ(Count("ShowReport"), 0);
}

TEST_F(SessionsTest, LookBackWindowAndStopAtALineAfterTheRange) {
    DUVMain::ReportStartDate = Day(2026, 12, 10);
    DUVMain::ReportEndDate = Day(2026, 12, 20);
    Run({// before the look-back window: counted, otherwise ignored
         "12-05-2026 10:00:01.00 - Recv: ATDT0111<cr>",
         "12-05-2026 10:00:30.00 - Connection established",
         // inside the look-back window but ending before the range: discarded
         "12-08-2026 10:00:01.00 - Recv: ATDT0222<cr>",
         "12-08-2026 10:00:30.00 - Connection established",
         "12-08-2026 10:10:30.00 - Hanging up the modem.",
         // started before the range, ends inside it
         "12-09-2026 23:49:50.00 - Recv: ATDT0333<cr>",
         "12-09-2026 23:50:00.00 - Connection established",
         "12-10-2026 00:10:00.00 - Hanging up the modem.",
         "12-15-2026 10:00:01.00 - Recv: ATDT0444<cr>",
         "12-15-2026 10:00:30.00 - Connection established",
         "12-15-2026 10:01:30.00 - Hanging up the modem.",
         "12-21-2026 09:00:00.00 - after the range",
         "12-22-2026 10:00:01.00 - Recv: ATDT0555<cr>"});
    EXPECT_EQ(DUVAnalyse::EntryCount, 12);
    ASSERT_EQ(ConnIndex, 2);
    ASSERT_EQ(UsageCount, 2);
    EXPECT_EQ(Row(1).Number, "0333");
    EXPECT_EQ(Row(1).Seconds, 600);
    EXPECT_EQ(Row(2).Number, "0444");
    EXPECT_EQ(Row(2).Seconds, 60);
    EXPECT_EQ(Count("ShowReport"), 1);
}

TEST_F(SessionsTest, ConnectionTableLimitWarnsStopsAndReports) {
    DUVMain::MaxConnections = 3;
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem.",
         "12-01-2026 11:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 11:00:30.00 - Connection established",
         "12-01-2026 11:10:30.00 - Hanging up the modem.",
         "12-01-2026 12:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 12:00:30.00 - Connection established",
         "12-01-2026 12:10:30.00 - Hanging up the modem."});
    EXPECT_EQ(Count("WarnMaxConnections"), 1);
    EXPECT_TRUE(DUVAnalyse::ConnectionsOverflow);
    EXPECT_EQ(DUVAnalyse::EntryCount, 7);
    // The third session never connected before the stop: its record is given back.
    EXPECT_EQ(ConnIndex, 2);
    EXPECT_EQ(Row(1).Sessions, 2);
    EXPECT_EQ(Count("ShowReport"), 1);
}

TEST_F(SessionsTest, UsageTableLimitWarnsStopsAndStillReports) {
    DUVMain::MaxServices = 2;
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0111<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem.",
         "12-01-2026 11:00:01.00 - Recv: ATDT0222<cr>",
         "12-01-2026 11:00:30.00 - Connection established",
         "12-01-2026 11:10:30.00 - Hanging up the modem."});
    EXPECT_EQ(Count("WarnMaxServices"), 1);
    EXPECT_TRUE(DUVAnalyse::ServicesOverflow);
    EXPECT_EQ(UsageCount, 2);
    EXPECT_EQ(ConnIndex, 1);
    EXPECT_EQ(DUVAnalyse::EntryCount, 4);
    EXPECT_EQ(Count("ShowReport"), 1);
}

TEST_F(SessionsTest, UnknownConnectChecksTheConnectionLimit) {
    DUVMain::MaxConnections = 2;
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem.",
         "12-01-2026 11:00:30.00 - Connection established",
         "12-01-2026 11:10:30.00 - Hanging up the modem.",
         "12-01-2026 12:00:30.00 - Connection established"});
    EXPECT_EQ(Count("WarnMaxConnections"), 1);
    EXPECT_EQ(DUVAnalyse::EntryCount, 4);
    // Stopped while connected: the session the limit refused is dropped, not made up as one
    // without a disconnect entry.
    ASSERT_EQ(ConnIndex, 1);
    EXPECT_FALSE(DUVAnalyse::ErrorsFound);
    EXPECT_EQ(Row(0).Number, "");
    EXPECT_TRUE(errors.empty());
}

TEST_F(SessionsTest, LogEndingWhileADialWaitsGivesTheRecordBack) {
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem.",
         "12-01-2026 11:00:01.00 - Recv: ATDT0777<cr>"});
    EXPECT_EQ(ConnIndex, 1);
    EXPECT_EQ(UsageCount, 2);
    EXPECT_EQ(Row(2).Sessions, 0);
    EXPECT_EQ(dialCalls.size(), 1u);
}

TEST_F(SessionsTest, LineAfterTheRangeWhileAnAnswerWaitsGivesTheRecordBack) {
    Run({"12-31-2026 23:59:50.00 - Answering the call.",
         "01-01-2027 00:00:05.00 - Connection established"});
    EXPECT_EQ(ConnIndex, 0);
    EXPECT_EQ(UsageCount, 1);
    EXPECT_EQ(DUVAnalyse::EntryCount, 2);
    EXPECT_TRUE(dialCalls.empty());
}

TEST_F(SessionsTest, GivenBackRecordIsReusedFromEmpty) {
    Run({"12-01-2026 10:00:00.00 - Answering the call.",
         "12-01-2026 10:00:05.00 - Hanging up the modem.",
         "12-01-2026 11:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 11:00:30.00 - Connection established",
         "12-01-2026 11:10:30.00 - Hanging up the modem."});
    ASSERT_EQ(ConnIndex, 1);
    EXPECT_FALSE(Rec(1).Answered);
    EXPECT_EQ(Rec(1).Service, "0123456");
    EXPECT_EQ(Rec(1).Notes, "");
}

TEST_F(SessionsTest, BytesAfterAnUnknownSessionGoToRowZero) {
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem.",
         "12-01-2026 11:00:30.00 - Connection established",
         "12-01-2026 11:10:30.00 - Hanging up the modem.",
         "12-01-2026 11:10:35.00 - Reads : 8192 bytes"});
    EXPECT_EQ(Rec(2).BytesRead, 8192);
    EXPECT_EQ(Row(0).BytesRead, 8192);
    EXPECT_EQ(Row(1).BytesRead, 0);
    ASSERT_EQ(dataCalls.size(), 1u);
    EXPECT_EQ(dataCalls[0].number, "Unknown");
}

TEST_F(SessionsTest, ReadsLineDaysLaterAtAnEarlierClockTimeIsIgnored) {
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem.",
         "12-01-2026 10:10:35.00 - Reads : 4096 bytes",
         "12-03-2026 10:10:35.00 - Reads : 9999 bytes"});
    EXPECT_EQ(Rec(1).BytesRead, 4096);
    EXPECT_EQ(Row(1).BytesRead, 4096);
}

TEST_F(SessionsTest, ReadsLineAcrossMidnightAfterTheDisconnectCounts) {
    Run({"12-01-2026 23:50:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 23:50:30.00 - Connection established",
         "12-01-2026 23:59:55.00 - Hanging up the modem.",
         "12-02-2026 00:00:05.00 - Reads : 4096 bytes"});
    EXPECT_EQ(Rec(1).BytesRead, 4096);
}

TEST_F(SessionsTest, ReadsLineBeforeAnySessionDoesNothing) {
    Run({"12-01-2026 10:10:35.00 - Reads : 4096 bytes",
         "12-01-2026 10:10:35.00 - Writes: 4096 bytes"});
    EXPECT_EQ(ConnIndex, 0);
    EXPECT_TRUE(dataCalls.empty());
    EXPECT_TRUE(errors.empty());
}

TEST_F(SessionsTest, ResetBeforeTheRangeEmptiesPeriodTableAndLastRow) {
    DUVMain::ReportStartDate = Day(2026, 12, 10);
    DUVAnalyse::Pricing.GetServiceCost = [this](const std::string& number, int32_t seconds,
                                                double date) {
        serviceCalls.push_back({number, seconds, date});
        DUVAnalyse::Penalties(0, 1).Seconds += seconds;
        return 0.0;
    };
    Run({"12-08-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-08-2026 10:00:30.00 - Connection established",
         // no disconnect: closed with the assumed 900 s, which books to the period table
         "12-08-2026 11:00:00.00 - Connection established",
         "12-08-2026 11:10:00.00 - Hanging up the modem.",
         "12-08-2026 11:10:05.00 - Reads : 4096 bytes"});
    EXPECT_EQ(ConnIndex, 0);
    EXPECT_EQ(UsageCount, 0);
    EXPECT_EQ(DUVAnalyse::LastUsageRow, 0);
    EXPECT_EQ(DUVAnalyse::Penalties.At(0, 1).Seconds, 0);
    EXPECT_FALSE(DUVAnalyse::ErrorsFound);
    for (const DataCall& call : dataCalls)
        EXPECT_NE(call.bytes, 4096);
}

TEST_F(SessionsTest, EmptyDialledNumberMatchesNoServiceByAnEmptyOtherNumber) {
    AddService("Net", "0123456", "  ");
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem.",
         "12-01-2026 11:00:01.00 - Recv: ATDT<cr>",
         "12-01-2026 11:00:30.00 - Connection established",
         "12-01-2026 11:10:30.00 - Hanging up the modem.",
         "12-01-2026 12:00:01.00 - Recv: ATDT<cr>",
         "12-01-2026 12:00:30.00 - Connection established",
         "12-01-2026 12:10:30.00 - Hanging up the modem."});
    ASSERT_EQ(UsageCount, 2);
    EXPECT_EQ(Row(1).Number, "0123456");
    EXPECT_EQ(Row(1).AltNumber, "  ");
    EXPECT_EQ(Row(1).Sessions, 1);
    EXPECT_EQ(Row(2).Number, "");
    EXPECT_EQ(Row(2).AltNumber, "");
    EXPECT_EQ(Row(2).Sessions, 2);
}

TEST_F(SessionsTest, LongBlockChargedSessionKeepsItsSecondsAndBlocks) {
    AddService("Net", "0123456", "");
    DUVMain::Services[0].Block = 1;
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:00.00 - Connection established",
         "12-01-2026 20:00:00.00 - Hanging up the modem."});
    EXPECT_EQ(Row(1).Blocks, 600);
    EXPECT_EQ(Row(1).Seconds, 36000);
    ASSERT_EQ(serviceCalls.size(), 1u);
    EXPECT_EQ(serviceCalls[0].seconds, 36000);
    EXPECT_EQ(Rec(1).Notes, " - 600B x 1Min -");
    EXPECT_TRUE(errors.empty());
}

TEST_F(SessionsTest, MissingLogIsReportedToTheErrorHandler) {
    DUVMain::LogFilePath = scratch_ / "no_such_duv_log.txt";
    DUVMain::LogLineCount = 0;
    DUVAnalyse::Analyse();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], 53);
    EXPECT_EQ(ConnIndex, 0);
}

TEST(PeriodTable, LaterPeriodsGetTheirOwnCells) {
    DUVAnalyse::PenaltyTable t;
    t.Create(3);
    EXPECT_EQ(t.Periods(), 101);
    EXPECT_EQ(t.ServiceCount(), 4);
    t(100, 3).Seconds = 7;
    t(250, 2).Bytes = 9;
    EXPECT_EQ(t.Periods(), 251);
    EXPECT_EQ(t(100, 3).Seconds, 7);
    EXPECT_EQ(t(250, 2).Bytes, 9);
    EXPECT_EQ(t(180, 2).Bytes, 0);
    EXPECT_EQ(t.At(400, 1).Seconds, 0);
    EXPECT_THROW(t(-1, 0), runtime::RuntimeError);
    EXPECT_THROW(t(0, 4), runtime::RuntimeError);
    t.Create(3);
    EXPECT_EQ(t.Periods(), 101);
    EXPECT_EQ(t(100, 3).Seconds, 0);
    EXPECT_EQ(t.At(250, 2).Bytes, 0);
    EXPECT_EQ(t.Periods(), 101);
    t.Create(1);
    EXPECT_EQ(t.ServiceCount(), 2);
    EXPECT_THROW(t.At(0, 2), runtime::RuntimeError);
}

TEST_F(SessionsTest, LineTimeKeepsItsValueForALineWithoutAValidTime) {
    DUVAnalyse::CurrentLine = "12-01-2026 20:13:45.12 - X";
    DUVAnalyse::GetLineTime();
    EXPECT_EQ(Seconds(DUVAnalyse::LineTime), Seconds(Time(20, 13, 45)));
    for (const char* bad : {"12-01-2026 2X:13:45.12 - X", "12-01-2026 20:13:45 - no point",
                            "12-01-2026 25:00:00.00 - X", "nothing"}) {
        DUVAnalyse::CurrentLine = bad;
        DUVAnalyse::GetLineTime();
        EXPECT_EQ(Seconds(DUVAnalyse::LineTime), Seconds(Time(20, 13, 45))) << bad;
    }
    // One-digit parts and blanks around the time are read too.
    DUVAnalyse::CurrentLine = "12-01-2026  9:5:07 .1 - X";
    DUVAnalyse::GetLineTime();
    EXPECT_EQ(Seconds(DUVAnalyse::LineTime), Seconds(Time(9, 5, 7)));
}

}  // namespace
}  // namespace sessions_test

namespace sessions_test {
namespace {

TEST_F(SessionsTest, RunTimeErrorOfALineNamesTheLogEntry) {
    std::string proc, step;
    test_support::ScopedSeam handler(runtime::SetErrorHandler, [&] {
        errors.push_back(runtime::Err().number);
        proc = DUVMain::ErrModuleName + "." + DUVMain::ErrProcName;
        step = DUVMain::ErrStepName;
        return runtime::kActionSkip;
    });
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem.",
         "12-01-2026 10:10:35.00 - Reads : 99999999999 bytes",
         "12-01-2026 11:00:01.00 - Recv: ATDT0777<cr>"});
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], 6);
    EXPECT_EQ(proc, "DUVAnalyse.Process");
    EXPECT_EQ(step, "Log Entry: 4");
    // The failing statement is skipped and the run goes on.
    EXPECT_EQ(Rec(1).BytesRead, 0);
    EXPECT_EQ(DUVAnalyse::EntryCount, 5);
    EXPECT_EQ(DUVAnalyse::UsageCount, 2);
}

TEST_F(SessionsTest, ErrorInsideAPricingCallNamesItsLogEntry) {
    std::vector<std::string> where;
    runtime::SetErrorHandler([&] {
        where.push_back(DUVMain::ErrProcName + " / " + DUVMain::ErrStepName);
        return runtime::kActionSkip;
    });
    // A pricing call that reports its own failure, as the data cost's period table does.
    DUVAnalyse::Pricing.GetDataCost = [](const std::string&, double, double) {
        DUVMain::ErrProcName = "GetDataCost";
        runtime::Guard([] { runtime::Raise(runtime::kErrOverflow); });
        return 0.0;
    };
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem.",
         "12-01-2026 10:10:35.00 - Reads : 2048 bytes",
         "12-01-2026 11:00:01.00 - Recv: ATDT0777<cr>",
         "12-01-2026 11:00:30.00 - Connection established",
         "12-01-2026 11:10:30.00 - Hanging up the modem.",
         "12-01-2026 11:10:35.00 - Reads : 4096 bytes"});
    EXPECT_EQ(where, (std::vector<std::string>{"GetDataCost / Log Entry: 4",
                                               "GetDataCost / Log Entry: 8"}));
}

TEST_F(SessionsTest, LogWithLoneLineFeedsIsCutIntoItsSessions) {
    std::ofstream(path, std::ios::binary) << "12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>\n"
                                             "12-01-2026 10:00:30.00 - Connection established\n"
                                             "12-01-2026 10:10:30.00 - Hanging up the modem.\r\n\n"
                                             "12-01-2026 10:20:01.00 - Recv: ATDT0777<cr>\n"
                                             "12-01-2026 10:20:30.00 - Connection established\n"
                                             "12-01-2026 10:25:30.00 - Hanging up the modem.\n";
    DUVMain::LogFilePath = path;
    DUVMain::LogLineCount = 6;
    DUVAnalyse::Analyse();
    EXPECT_EQ(DUVAnalyse::EntryCount, 6);
    ASSERT_EQ(ConnIndex, 2);
    EXPECT_EQ(Rec(1).Service, "0123456");
    EXPECT_EQ(Rec(2).Service, "0777");
    EXPECT_EQ(Row(1).Seconds, 600);
    EXPECT_EQ(Row(2).Seconds, 300);
    EXPECT_FALSE(DUVAnalyse::ErrorsFound);
}

TEST_F(SessionsTest, LogThatShrinksWhileReadEndsTheRunAsAtItsEnd) {
    // More than one read block, so that the file is read again after it has shrunk.
    const std::string line = "12-01-2026 10:00:00.00 - Send: AT<cr> and some words to fill\r\n";
    const std::size_t lines = (3u << 20) / line.size();
    {
        std::ofstream out(path, std::ios::binary);
        out << "12-01-2026 09:00:00.00 - Recv: ATDT0123456<cr>\r\n"
               "12-01-2026 09:00:30.00 - Connection established\r\n";
        for (std::size_t i = 0; i < lines; ++i)
            out << line;
    }
    DUVMain::LogFilePath = path;
    DUVMain::LogLineCount = static_cast<float>(lines + 2);
    int pumps = 0;
    test_support::ScopedSeam feedback(SetUserFeedback,
                                      UserFeedback{{},
                                                   [&] {
                                                       if (++pumps == 1)
                                                           std::filesystem::resize_file(path, 100);
                                                   },
                                                   {}});
    DUVAnalyse::Analyse();
    EXPECT_GE(pumps, 1);
    EXPECT_LT(DUVAnalyse::EntryCount, static_cast<int32_t>(lines));
    // The open session is closed as at the end of the file, and the report follows.
    ASSERT_EQ(ConnIndex, 1);
    EXPECT_EQ(Rec(1).Notes.substr(0, 30), " ERROR - No Disconnect Entry -");
    EXPECT_EQ(Count("ShowReport"), 1);
    EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace sessions_test
