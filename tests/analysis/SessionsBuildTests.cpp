// Session building on small hand-written logs, checked field by field in the tables.
#include "tests/analysis/SessionsFixture.h"

#include <cctype>
#include <cstdio>

namespace sessions_test {
namespace {

using DUVAnalyse::ConnIndex;
using DUVAnalyse::UsageCount;

TEST_F(SessionsTest, NormalDialledSessionFillsRecordAndUsageRow) {
    Run({"12-01-2026 10:00:00.00 - Dialing.", "12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established at 46666bps.",
         "12-01-2026 10:10:30.00 - Hanging up the modem.",
         "12-01-2026 10:10:35.00 -                Reads : 2048000 bytes",
         "12-01-2026 10:10:35.00 -                Writes: 10240 bytes"});
    ASSERT_EQ(ConnIndex, 1);
    ASSERT_EQ(UsageCount, 1);
    const auto& r = Rec(1);
    EXPECT_EQ(r.ConnectDate, Day(2026, 12, 1));
    EXPECT_EQ(Seconds(r.ConnectTime), Seconds(Time(10, 0, 30)));
    EXPECT_EQ(r.DisconnectDate, Day(2026, 12, 1));
    EXPECT_EQ(Seconds(r.DisconnectTime), Seconds(Time(10, 10, 30)));
    EXPECT_EQ(r.Service, "0123456");
    EXPECT_EQ(r.Notes, " R:2,000K - W:10K");
    EXPECT_FALSE(r.Answered);
    EXPECT_EQ(r.BytesRead, 2048000);
    EXPECT_EQ(r.BytesWritten, 10240);
    EXPECT_EQ(r.FreeSeconds, 0);

    const auto& u = Row(1);
    EXPECT_EQ(u.Number, "0123456");
    EXPECT_EQ(u.AltNumber, "");
    EXPECT_EQ(u.Seconds, 600);
    EXPECT_EQ(u.Sessions, 1);
    EXPECT_DOUBLE_EQ(u.DialCost, 0.5);
    EXPECT_DOUBLE_EQ(u.ServiceCost, 0.6);
    EXPECT_DOUBLE_EQ(u.TotalCost, 0.5 + 0.6 + 2048000 / 1048576.0);
    EXPECT_EQ(u.BytesRead, 2048000);
    EXPECT_EQ(u.Blocks, 0);
    EXPECT_EQ(Row(0).Number, "");

    ASSERT_EQ(dialCalls.size(), 1u);
    EXPECT_EQ(dialCalls[0].number, "0123456");
    EXPECT_EQ(dialCalls[0].connIndex, 0);
    ASSERT_EQ(serviceCalls.size(), 1u);
    EXPECT_EQ(serviceCalls[0].seconds, 600);
    ASSERT_EQ(dataCalls.size(), 1u);
    EXPECT_EQ(dataCalls[0].bytes, 2048000);
    EXPECT_EQ(dataCalls[0].date, Day(2026, 12, 1));
    EXPECT_FALSE(DUVAnalyse::ErrorsFound);
    EXPECT_TRUE(errors.empty());
}

TEST_F(SessionsTest, BusyCallGivesTheRecordBackAndKeepsAnEmptyUsageRow) {
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:20.00 - Recv: <cr><lf>BUSY<cr><lf>",
         "12-01-2026 10:00:20.00 - Hanging up the modem."});
    EXPECT_EQ(ConnIndex, 0);
    ASSERT_EQ(UsageCount, 1);
    EXPECT_EQ(Row(1).Number, "0123456");
    EXPECT_EQ(Row(1).Sessions, 0);
    EXPECT_TRUE(dialCalls.empty());
}

TEST_F(SessionsTest, AnsweredCallWithCostsOn) {
    Run({"12-01-2026 11:00:00.00 - Answering the call.",
         "12-01-2026 11:00:10.00 - Connection established at 33600bps.",
         "12-01-2026 11:05:10.00 - Remote modem hung up."});
    ASSERT_EQ(ConnIndex, 1);
    EXPECT_EQ(Rec(1).Service, "Answered Call");
    EXPECT_TRUE(Rec(1).Answered);
    EXPECT_EQ(Rec(1).Notes, " No Cost");
    EXPECT_EQ(Row(1).Number, "Answered Calls");
    EXPECT_EQ(Row(1).Seconds, 300);
    EXPECT_EQ(Row(1).Sessions, 1);
    EXPECT_FALSE(DUVAnalyse::Answered);
}

TEST_F(SessionsTest, AnsweredCallWithCostsOffHasNoNote) {
    DUVMain::CalcCosts = false;
    Run({"12-01-2026 11:00:00.00 - Answering the call.",
         "12-01-2026 11:00:10.00 - Connection established at 33600bps.",
         "12-01-2026 11:05:10.00 - Remote modem hung up."});
    ASSERT_EQ(ConnIndex, 1);
    EXPECT_EQ(Rec(1).Notes, "");
    EXPECT_TRUE(Rec(1).Answered);
}

TEST_F(SessionsTest, ConnectWithoutDialLineIsAnUnknownServiceInRowZero) {
    Run({"12-01-2026 12:00:00.00 - Connection established at 46666bps.",
         "12-01-2026 12:02:00.00 - Hanging up the modem."});
    ASSERT_EQ(ConnIndex, 1);
    EXPECT_EQ(UsageCount, 0);
    EXPECT_EQ(Rec(1).Service, "Unknown Service");
    EXPECT_EQ(Rec(1).Notes, " Unable to get dialled number -");
    EXPECT_EQ(Row(0).Number, "Unknown");
    EXPECT_EQ(Row(0).Seconds, 120);
    EXPECT_EQ(Row(0).Sessions, 1);
    ASSERT_EQ(dialCalls.size(), 1u);
    EXPECT_EQ(dialCalls[0].number, "Unknown");
}

TEST_F(SessionsTest, TwoConnectsInARowCloseTheFirstWithAssumedValues) {
    DUVMain::NoDisconData = 100;
    Run({"12-01-2026 10:00:00.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established at 46666bps.",
         "12-01-2026 12:00:00.00 - Connection established at 46666bps.",
         "12-01-2026 12:10:00.00 - Hanging up the modem."});
    ASSERT_EQ(ConnIndex, 2);
    const auto& first = Rec(1);
    EXPECT_EQ(first.Notes, " ERROR - No Disconnect Entry - R:100K");
    EXPECT_EQ(first.BytesRead, 102400);
    EXPECT_EQ(first.DisconnectDate, Day(2026, 12, 1));
    EXPECT_EQ(Seconds(first.DisconnectTime), Seconds(Time(10, 15, 30)));
    EXPECT_EQ(Row(1).Sessions, 1);
    EXPECT_EQ(Row(1).Seconds, 900);
    EXPECT_EQ(Row(1).BytesRead, 102400);
    EXPECT_DOUBLE_EQ(Row(1).TotalCost, 0.5 + 0.9 + 102400 / 1048576.0);
    EXPECT_TRUE(DUVAnalyse::ErrorsFound);

    EXPECT_EQ(Rec(2).Service, "Unknown Service");
    EXPECT_EQ(Row(0).Number, "Unknown");
    EXPECT_EQ(Row(0).Seconds, 600);
    ASSERT_EQ(dataCalls.size(), 1u);
    EXPECT_EQ(dataCalls[0].bytes, 102400);
}

TEST_F(SessionsTest, TwoConnectsInARowWithErrorsHiddenAssumeNothing) {
    DUVMain::ShowErrors = false;
    DUVMain::NoDisconData = 100;
    Run({"12-01-2026 10:00:00.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established at 46666bps.",
         "12-01-2026 12:00:00.00 - Connection established at 46666bps.",
         "12-01-2026 12:10:00.00 - Hanging up the modem."});
    ASSERT_EQ(ConnIndex, 2);
    const auto& first = Rec(1);
    EXPECT_EQ(first.Notes, " ERROR - No Disconnect Entry -");
    EXPECT_EQ(first.BytesRead, 0);
    EXPECT_EQ(Seconds(first.DisconnectTime), Seconds(Time(10, 0, 30)));
    EXPECT_EQ(Row(1).Sessions, 1);
    EXPECT_EQ(Row(1).Seconds, 0);
    EXPECT_EQ(Row(1).BytesRead, 0);
    EXPECT_DOUBLE_EQ(Row(1).TotalCost, 0.0);
    EXPECT_TRUE(DUVAnalyse::ErrorsFound);
    // The assumed data is not booked to a data allowance either.
    EXPECT_TRUE(dataCalls.empty());
}

TEST_F(SessionsTest, LogEndingWhileConnectedClosesAtTheEnd) {
    Run({"12-01-2026 23:50:00.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 23:50:00.00 - Connection established at 46666bps."});
    ASSERT_EQ(ConnIndex, 1);
    EXPECT_EQ(Rec(1).Notes, " ERROR - No Disconnect Entry -");
    // 600 s to midnight, 300 s into the next day.
    EXPECT_EQ(Rec(1).DisconnectDate, Day(2026, 12, 2));
    EXPECT_EQ(Seconds(Rec(1).DisconnectTime), 300);
    EXPECT_EQ(Row(1).Seconds, 900);
    EXPECT_TRUE(DUVAnalyse::ErrorsFound);
    EXPECT_EQ(Count("ShowReport"), 1);
}

TEST_F(SessionsTest, SessionAcrossMidnightWithBothDaysInRange) {
    Run({"12-01-2026 23:49:50.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 23:50:00.00 - Connection established at 46666bps.",
         "12-02-2026 00:10:00.00 - Hanging up the modem."});
    ASSERT_EQ(ConnIndex, 1);
    EXPECT_EQ(Row(1).Seconds, 1200);
    EXPECT_EQ(Rec(1).DisconnectDate, Day(2026, 12, 2));
}

TEST_F(SessionsTest, SessionAcrossMidnightWithOnlyTheSecondDayInRange) {
    DUVMain::ReportStartDate = Day(2026, 12, 2);
    Run({"12-01-2026 23:49:50.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 23:50:00.00 - Connection established at 46666bps.",
         "12-02-2026 00:10:00.00 - Hanging up the modem."});
    ASSERT_EQ(ConnIndex, 1);
    EXPECT_EQ(Row(1).Seconds, 600);
    EXPECT_EQ(Rec(1).ConnectDate, Day(2026, 12, 1));
}

TEST_F(SessionsTest, ReadsLineNineteenSecondsAfterTheDisconnectCounts) {
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem.",
         "12-01-2026 10:10:49.00 - Reads : 4096 bytes"});
    EXPECT_EQ(Rec(1).BytesRead, 4096);
    EXPECT_EQ(Rec(1).Notes, " R:4K");
    EXPECT_EQ(Row(1).BytesRead, 4096);
}

TEST_F(SessionsTest, ReadsLineTwentySecondsAfterTheDisconnectIsIgnored) {
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem.",
         "12-01-2026 10:10:50.00 - Reads : 4096 bytes"});
    EXPECT_EQ(Rec(1).BytesRead, 0);
    EXPECT_EQ(Rec(1).Notes, "");
    EXPECT_EQ(Row(1).BytesRead, 0);
    EXPECT_TRUE(dataCalls.empty());
}

TEST_F(SessionsTest, ReadsLineStampedBeforeTheDisconnectCounts) {
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem.",
         "12-01-2026 10:10:20.00 - Reads : 4096 bytes"});
    EXPECT_EQ(Rec(1).BytesRead, 4096);
}

TEST_F(SessionsTest, DialLineWithoutDialModeLetterLosesTheFirstDigit) {
    Run({"12-01-2026 10:00:01.00 - Recv: ATD0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem."});
    EXPECT_EQ(Row(1).Number, "123456");
    EXPECT_EQ(Rec(1).Service, "123456");
}

TEST_F(SessionsTest, DialLineWithANumberOfOtherCharactersStartsNoSession) {
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT 0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem."});
    EXPECT_EQ(UsageCount, 0);
    ASSERT_EQ(ConnIndex, 1);
    EXPECT_EQ(Rec(1).Service, "Unknown Service");
}

TEST_F(SessionsTest, NumberAndOtherNumberOfOneServiceShareARow) {
    AddService("Net", "0123456", "0999999");
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem.",
         "12-01-2026 11:00:01.00 - Recv: ATDT0999999<cr>",
         "12-01-2026 11:00:30.00 - Connection established",
         "12-01-2026 11:05:30.00 - Hanging up the modem."});
    EXPECT_EQ(UsageCount, 1);
    EXPECT_EQ(Row(1).AltNumber, "0999999");
    EXPECT_EQ(Row(1).Sessions, 2);
    EXPECT_EQ(Row(1).Seconds, 900);
    EXPECT_EQ(Rec(2).Service, "0999999");
}

TEST_F(SessionsTest, FreeWindowAndChargeBlocksGoIntoNotesAndRow) {
    AddService("Net", "0123456", "");
    DUVMain::Services[0].FreePeriod = true;
    DUVMain::Services[0].FreeStart = Time(10, 5);
    DUVMain::Services[0].FreeEnd = Time(18, 0);
    DUVMain::Services[0].Block = 10;
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:00.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem."});
    EXPECT_EQ(Rec(1).FreeSeconds, 330);
    EXPECT_EQ(Rec(1).Notes, " - Free:00:05:30 - 2B x 10Min -");
    EXPECT_EQ(Row(1).FreeSeconds, 330);
    EXPECT_EQ(Row(1).Blocks, 2);
    EXPECT_EQ(Row(1).Seconds, 630);
    EXPECT_TRUE(DUVAnalyse::ShowBlocks);
    ASSERT_EQ(serviceCalls.size(), 1u);
    EXPECT_EQ(serviceCalls[0].seconds, 1200 - 330);
}

TEST_F(SessionsTest, UncoveredDialCostMarksTheSessionAndWarnsOnce) {
    uncovered = "0123456";
    Run({"12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 10:00:30.00 - Connection established",
         "12-01-2026 10:10:30.00 - Hanging up the modem.",
         "12-01-2026 11:00:01.00 - Recv: ATDT0123456<cr>",
         "12-01-2026 11:00:30.00 - Connection established",
         "12-01-2026 11:10:30.00 - Hanging up the modem."});
    EXPECT_EQ(Rec(1).Notes, " ERROR - Incomplete Tariff -");
    EXPECT_DOUBLE_EQ(Row(1).DialCost, 0.5);
    EXPECT_TRUE(DUVAnalyse::TariffIncomplete);
    EXPECT_EQ(Count("WarnTariffsIncomplete"), 1);
}

// The connect keyword anywhere in lines of many lengths (so at every place a sixteen- or
// thirty-two-byte step can leave it), in any case, and cut short at the line's end where it is
// no keyword; with and without the wide search.
TEST_F(SessionsTest, KeywordsAreFoundAtEveryPlaceInAnyCase) {
    const std::string keyword = "Connection established";
    std::vector<std::string> lines;
    int sessions = 0;
    for (std::size_t pad = 0; pad <= 33; ++pad) {
        for (std::size_t tail : {0, 1, 2, 9, 17}) {
            char stamp[32];
            std::snprintf(stamp, sizeof stamp, "12-01-2026 %02d:%02d:", 10 + sessions / 60,
                          sessions % 60);
            std::string word = keyword;
            for (std::size_t i = pad % 3; i < word.size(); i += 3)
                word[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(word[i])));
            const std::string before(pad, pad % 2 ? 'x' : 'E');
            lines.push_back(std::string(stamp) + "01.00 - Recv: ATDT0123456<cr>");
            lines.push_back(std::string(stamp) + "10.00 - " + before + word +
                            std::string(tail, 'c'));
            lines.push_back(std::string(stamp) + "20.00 - " + before +
                            word.substr(0, word.size() - 1));
            lines.push_back(std::string(stamp) + "50.00 - Hanging up the modem.");
            ++sessions;
        }
    }
    for (bool wide : {true, false}) {
        test_support::ScopedValue<bool> scan(DUVAnalyse::WideKeywordScan, wide);
        Run(lines);
        ASSERT_EQ(ConnIndex, sessions) << wide;
        for (int i = 1; i <= sessions; ++i) {
            EXPECT_EQ(Rec(i).Service, "0123456") << i;
            EXPECT_EQ(Seconds(Rec(i).ConnectTime) % 60, 10) << i;
            EXPECT_EQ(Seconds(Rec(i).DisconnectTime) % 60, 50) << i;
        }
        EXPECT_FALSE(DUVAnalyse::ErrorsFound);
    }
}

// Sessions across the 128 KB blocks the log is read in, the split falling at every byte of
// one session in turn: every keyword is found on either side of it.
TEST_F(SessionsTest, KeywordsSplitByTheReadBlocksAreFound) {
    DUVMain::MaxConnections = 4000;
    const std::vector<std::string> session = {
        "12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>",
        "12-01-2026 10:00:10.00 - Connection established at 28800bps.",
        "12-01-2026 10:00:50.00 - Hanging up the modem.",
        "12-01-2026 10:00:51.00 -                Reads : 2048 bytes"};
    std::size_t sessionBytes = 0;
    for (const std::string& line : session)
        sessionBytes += line.size() + 2;
    for (std::size_t shift = 0; shift < sessionBytes; ++shift) {
        std::vector<std::string> lines{"12-01-2026 09:00:00.00 - " + std::string(shift, 'x')};
        int sessions = 0;
        for (std::size_t bytes = lines[0].size(); bytes < (128u << 10) + sessionBytes;
             bytes += sessionBytes, ++sessions)
            lines.insert(lines.end(), session.begin(), session.end());
        Run(lines);
        ASSERT_EQ(ConnIndex, sessions) << shift;
        int whole = 0;
        for (int i = 1; i <= sessions; ++i)
            whole += Rec(i).Service == "0123456" && Seconds(Rec(i).ConnectTime) % 60 == 10 &&
                     Seconds(Rec(i).DisconnectTime) % 60 == 50 && Rec(i).BytesRead == 2048;
        EXPECT_EQ(whole, sessions) << shift;
        EXPECT_FALSE(DUVAnalyse::ErrorsFound) << shift;
    }
}

// The line a procedure reads is upper-cased whole: the reads keyword in lower case at every
// place of the line's last sixteen bytes, after ASCII only and after a non-ASCII byte.
TEST_F(SessionsTest, LinesAreUpperCasedToTheirLastByte) {
    std::vector<std::string> lines;
    int sessions = 0;
    for (const char* lead : {"", "\xE9"}) {
        for (std::size_t pad = 0; pad <= 17; ++pad, ++sessions) {
            char stamp[32];
            std::snprintf(stamp, sizeof stamp, "12-01-2026 %02d:%02d:", 10 + sessions / 60,
                          sessions % 60);
            lines.push_back(std::string(stamp) + "01.00 - Recv: ATDT0123456<cr>");
            lines.push_back(std::string(stamp) + "10.00 - Connection established");
            lines.push_back(std::string(stamp) + "50.00 - Hanging up the modem.");
            lines.push_back(std::string(stamp) + "51.00 - " + lead + std::string(pad, 'x') +
                            "reads 2048 b");
        }
    }
    Run(lines);
    ASSERT_EQ(ConnIndex, sessions);
    for (int i = 1; i <= sessions; ++i)
        EXPECT_EQ(Rec(i).BytesRead, 2048) << i;
}

// Short keywords next to lines that hold all of a keyword but one letter, first, inner or last.
TEST_F(SessionsTest, ShortKeywordsNeedEveryLetter) {
    DUVMain::ModemConnect = "EST";
    DUVMain::ModemUserDisconnect = "HU";
    std::vector<std::string> lines;
    for (const char* pad : {"", "x", "0123456789abcdefg"}) {
        const std::string p = pad;
        lines.push_back("12-01-2026 10:00:01.00 - Recv: ATDT0123456<cr>");
        lines.push_back("12-01-2026 10:00:05.00 - " + p + "ESX XST EXT es");
        lines.push_back("12-01-2026 10:00:10.00 - " + p + "abceSt");
        lines.push_back("12-01-2026 10:00:20.00 - " + p + "hx xU h");
        lines.push_back("12-01-2026 10:00:50.00 - " + p + "xxHu");
    }
    Run(lines);
    ASSERT_EQ(ConnIndex, 3);
    for (int i = 1; i <= 3; ++i) {
        EXPECT_EQ(Seconds(Rec(i).ConnectTime) % 60, 10) << i;
        EXPECT_EQ(Seconds(Rec(i).DisconnectTime) % 60, 50) << i;
    }
}

}  // namespace
}  // namespace sessions_test
