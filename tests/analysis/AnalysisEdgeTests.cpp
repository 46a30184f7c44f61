// The analysis at its edges: sessions longer than a day, a clock set back, more than 2 GiB in
// one data period, the connection limit, hidden error sessions, a row of 0 seconds and an
// assumed disconnect days later. Each case is the smallest log that shows it.
#include "tests/analysis/ReportTextFixture.h"

#include <cmath>

namespace report_test {
namespace {

using DUVAnalyse::Connections;
using DUVAnalyse::Report;
using DUVAnalyse::ReportText;
using DUVAnalyse::ServiceUsage;

using AnalysisEdges = ReportTest;

long long SecondsOf(double time) { return std::llround(time * 86400.0); }

// A details duration line without its leading blanks: the cost right-justified in 11.
std::string Duration(const std::string& duration, const std::string& cost) {
    return duration + Blanks(11 - cost.size()) + cost;
}

// The summary line of the usage row that holds `name`.
std::string SummaryLine(const std::string& name) {
    for (const std::string& line : Lines(ReportText))
        if (line.rfind(" " + name, 0) == 0)
            return line;
    return "no line for " + name;
}

// A session of more than a day counts only the days inside the range: 1 to 3 December
// gives its 10 hours of the 3rd, 4 to 7 December its 12 hours of the 4th.
TEST_F(AnalysisEdges, LongSessionsCountOnlyTheDaysInsideTheRange) {
    SetRange(Day(2026, 12, 3), Day(2026, 12, 4));
    AddZelno();
    Run({"12-01-2026 09:59:55.00 - Recv: ATDT0845123<cr>",
         "12-01-2026 10:00:00.00 - Connection established",
         "12-03-2026 10:00:00.00 - Hanging up the modem.",
         "12-04-2026 11:59:55.00 - Recv: ATDT0845123<cr>",
         "12-04-2026 12:00:00.00 - Connection established",
         "12-07-2026 12:00:00.00 - Hanging up the modem."});
    EXPECT_EQ(ServiceUsage[1].Seconds, 22 * 3600);
    // 22 hours at 1.20 and two charges per call.
    EXPECT_NEAR(ServiceUsage[1].TotalCost, 26.60, 1e-9);
    DUVAnalyse::DisplayDetailReport();
    const std::vector<std::string> lines = Lines(ReportText);
    EXPECT_EQ(runtime::Trim(lines[13]), Duration("10:00:00", "$12.10"));
    EXPECT_EQ(runtime::Trim(lines[20]), Duration("12:00:00", "$14.50"));
    EXPECT_EQ(lines[11], "    Time from midnight");
    EXPECT_EQ(lines[18], "    Time prior to midnight");
    ExpectTotalsAgree();
    EXPECT_EQ(DetailTotals().time, "22:00:00");
}

// The clock set back an hour while connected: the disconnect is stamped 40:20 before the
// connect. The session is listed with 0 seconds and no free time, and takes nothing off.
TEST_F(AnalysisEdges, DisconnectStampedBeforeItsConnectCountsNothing) {
    ServiceRecord s;
    s.ServiceName = "Night";
    s.ServiceNumber = "0845123";
    s.DialOption = 1;
    s.DialFixedTariff = 0.10;
    s.ServiceOption = 1;
    s.ServiceRate = 1.20;
    s.FreePeriod = true;
    s.FreeStart = Time(22, 0);
    s.FreeEnd = Time(6, 0);
    AddService(s);
    Run({"12-01-2026 01:00:00.00 - Recv: ATDT0845123<cr>",
         "12-01-2026 01:00:00.00 - Connection established",
         "12-01-2026 01:30:00.00 - Hanging up the modem.",
         "12-01-2026 02:50:15.00 - Recv: ATDT0845123<cr>",
         "12-01-2026 02:50:20.00 - Connection established",
         "12-01-2026 02:10:00.00 - Hanging up the modem."});
    EXPECT_EQ(ServiceUsage[1].Sessions, 2);
    EXPECT_EQ(ServiceUsage[1].Seconds, 1800);
    EXPECT_EQ(ServiceUsage[1].FreeSeconds, 1800);
    EXPECT_EQ(Connections[2].FreeSeconds, 0);
    EXPECT_EQ(Connections[2].Notes, "");
    DUVAnalyse::DisplaySummaryReport();
    EXPECT_EQ(
        SummaryLine("Night"),
        " Night           00:30:00       2          00:15:00     00:30:00          0K      $0.20");
    DUVAnalyse::DisplayDetailReport();
    const std::vector<std::string> lines = Lines(ReportText);
    EXPECT_EQ(lines[17], "    Disconnect: 12/1/2026 2:10:00 AM");
    EXPECT_EQ(runtime::Trim(lines[19]), Duration("00:00:00", "$0.10"));
    ExpectTotalsAgree();
}

// Two sessions of one day read 3,000,000,000 bytes between them, past the 32-bit range: the
// daily free megabyte is used by the first and every byte of the second is charged.
TEST_F(AnalysisEdges, MoreThanTwoGigabytesInOneDataPeriod) {
    ServiceRecord s;
    s.ServiceName = "Bulk";
    s.ServiceNumber = "0845123";
    s.DialOption = 1;
    s.AfterMeg = 1;
    s.PerMeg = 0.50;
    s.MegPeriod = "Day";
    AddService(s);
    Run({"12-01-2026 10:00:00.00 - Recv: ATDT0845123<cr>",
         "12-01-2026 10:00:05.00 - Connection established",
         "12-01-2026 11:00:05.00 - Hanging up the modem.",
         "12-01-2026 11:00:06.00 - Reads : 1500000000 bytes",
         "12-01-2026 12:00:00.00 - Recv: ATDT0845123<cr>",
         "12-01-2026 12:00:05.00 - Connection established",
         "12-01-2026 13:00:05.00 - Hanging up the modem.",
         "12-01-2026 13:00:06.00 - Reads : 1500000000 bytes"});
    const double megabytes = 3000000000.0 / 1048576.0;
    EXPECT_NEAR(ServiceUsage[1].TotalCost, (megabytes - 1) * 0.50, 1e-6);
    EXPECT_EQ(DUVAnalyse::Penalties.At(0, 0).Bytes, 3000000000LL);
    DUVAnalyse::DisplaySummaryReport();
    EXPECT_EQ(SummaryTotals().cost, "$1,430.01");
    ExpectTotalsAgree();
}

// The connection limit reached by a connect line without a dial line: that session is
// dropped, as a dialled one at the limit is, and no error session is made up for it.
TEST_F(AnalysisEdges, ConnectWithoutDialAtTheLimitIsDropped) {
    DUVMain::MaxConnections = 3;
    AddZelno();
    int limitWarnings = 0;
    DUVAnalyse::Window.WarnMaxConnections = [&] { ++limitWarnings; };
    Run({"12-01-2026 10:00:00.00 - Recv: ATDT0845123<cr>",
         "12-01-2026 10:00:05.00 - Connection established",
         "12-01-2026 10:10:05.00 - Hanging up the modem.",
         "12-01-2026 11:00:00.00 - Connection established",
         "12-01-2026 11:10:00.00 - Hanging up the modem.",
         "12-01-2026 12:00:00.00 - Connection established",
         "12-01-2026 12:10:00.00 - Hanging up the modem."});
    EXPECT_EQ(limitWarnings, 1);
    EXPECT_EQ(DUVAnalyse::ConnIndex, 2);
    EXPECT_FALSE(DUVAnalyse::ErrorsFound);
    EXPECT_EQ(ServiceUsage[0].Sessions, 1);
    EXPECT_EQ(ServiceUsage[0].Seconds, 600);
    DUVAnalyse::DisplaySummaryReport();
    EXPECT_EQ(Lines(ReportText)[2], " Beginning: Tuesday, December 1, 2026");
}

// With errors hidden an error session is neither priced nor flagged: a tariff that does not
// cover its start raises no incomplete-tariff warning.
TEST_F(AnalysisEdges, HiddenErrorSessionRaisesNoTariffWarning) {
    DUVMain::ShowErrors = false;
    ServiceRecord s;
    s.ServiceName = "Tele";
    s.ServiceNumber = "0800555";
    s.DialOption = 2;
    s.Tariffs[1] =
        Tariff("Daytime", "Everyday", Time(8, 0), Time(17, 59), 0.10, 0.06, "Per Minute");
    s.UsedTariffs = 1;
    AddService(s);
    int tariffWarnings = 0;
    DUVAnalyse::Window.WarnTariffsIncomplete = [&] { ++tariffWarnings; };
    Run({"12-01-2026 19:59:55.00 - Recv: ATDT0800555<cr>",
         "12-01-2026 20:00:00.00 - Connection established"});
    EXPECT_EQ(tariffWarnings, 0);
    EXPECT_FALSE(DUVAnalyse::TariffIncomplete);
    EXPECT_TRUE(DUVAnalyse::ErrorsFound);
    EXPECT_EQ(ServiceUsage[1].Sessions, 1);
    EXPECT_EQ(ServiceUsage[1].TotalCost, 0.0);
}

// A connect hung up at once pays its charge per call: the summary's total holds it although
// its row of 0 seconds shows no cost, so both reports total $0.75.
TEST_F(AnalysisEdges, RowOfZeroSecondsCountsInTheCostTotal) {
    AddZelno();
    Run({"12-01-2026 10:00:00.00 - Recv: ATDT0845123<cr>",
         "12-01-2026 10:00:05.00 - Connection established",
         "12-01-2026 10:30:05.00 - Hanging up the modem.",
         "12-01-2026 11:00:00.00 - Recv: ATDT0171999<cr>",
         "12-01-2026 11:00:05.00 - Connection established",
         "12-01-2026 11:00:05.00 - Remote modem hung up."});
    DUVAnalyse::DisplaySummaryReport();
    EXPECT_EQ(SummaryLine("0171999"), " 0171999         00:00:00       1          ");
    EXPECT_EQ(SummaryTotals().cost, "$0.75");
    ExpectTotalsAgree();
}

// An assumed disconnect two days on (48 hours from 22:00) lands at 22:00 of the 3rd, and the
// tariff walk charges those 48 hours.
TEST_F(AnalysisEdges, AssumedDisconnectCarriesWholeDaysIntoTheDate) {
    SetRange(Day(2026, 12, 1), Day(2026, 12, 31));
    DUVMain::NoDisconDuration = 48 * 3600;
    DUVMain::NoDisconData = 0;
    ServiceRecord s;
    s.ServiceName = "Tele";
    s.ServiceNumber = "0800555";
    s.DialOption = 2;
    s.Tariffs[1] = Tariff("Flat", "Everyday", Time(0, 0), Time(23, 59), 0.0, 0.01, "Per Second");
    s.UsedTariffs = 1;
    AddService(s);
    Run({"12-01-2026 21:59:55.00 - Recv: ATDT0800555<cr>",
         "12-01-2026 22:00:00.00 - Connection established"});
    EXPECT_EQ(Connections[1].DisconnectDate, Day(2026, 12, 3));
    EXPECT_EQ(SecondsOf(Connections[1].DisconnectTime), 22 * 3600);
    // Three segments, each ending a second short of the next: 48 hours less two seconds.
    EXPECT_NEAR(ServiceUsage[1].DialCost, (48 * 3600 - 2) * 0.01, 1e-6);
    DUVAnalyse::DisplayDetailReport();
    EXPECT_EQ(Report.Rows.at(2).Get(3), "12/3/2026");
    EXPECT_EQ(Report.Rows.at(2).Get(4), "10:00:00 PM");
    ExpectTotalsAgree();
    EXPECT_EQ(DetailTotals().time, "48:00:00");
}

}  // namespace
}  // namespace report_test
