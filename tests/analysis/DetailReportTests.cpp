// The details report of small logs, character for character, and its list rows.
#include "tests/analysis/ReportTextFixture.h"

namespace report_test {
namespace {

using DUVAnalyse::Report;
using DUVAnalyse::ReportText;

using DetailReport = ReportTest;

// Duration right-justified in 49 and the cost in 11 ("$" before, 2 digits).
std::string DurationLine(const std::string& duration, const std::string& cost) {
    return "    " + Blanks(49 - duration.size()) + duration + Blanks(11 - cost.size()) + cost;
}

const std::string kSessionDashes = "    " + Dashes(60);

TEST_F(DetailReport, PlainDayWithBusyAnsweredAndUnknownSessions) {
    RunPlainDay();
    DUVAnalyse::DisplayDetailReport();
    EXPECT_EQ(ReportText, Join({
                              " DUVELO - Details Report",
                              "",
                              " Beginning: 12/1/2026",
                              " Ending:    12/1/2026",
                              " Period:    1 day",
                              "",
                              " " + Dashes(63),
                              "",
                              " Zelno",
                              "    Connect:    12/1/2026 10:00:05 AM",
                              "    Disconnect: 12/1/2026 10:30:05 AM",
                              "    R:3,072K",
                              kSessionDashes,
                              DurationLine("00:30:00", "$1.70"),
                              "",
                              // The busy call gave its record back to the answered call.
                              " Answered Call",
                              "    Connect:    12/1/2026 12:00:02 PM",
                              "    Disconnect: 12/1/2026 12:10:02 PM",
                              "    No Cost",
                              kSessionDashes,
                              DurationLine("00:10:00", "$0.00"),
                              "",
                              " Unknown Service",
                              "    Connect:    12/1/2026 1:00:00 PM",
                              "    Disconnect: 12/1/2026 1:05:00 PM",
                              "    Unable to get dialled number",
                              kSessionDashes,
                              DurationLine("00:05:00", "$0.10"),
                              "",
                              Blanks(37) + "TOTALS: 00:45:00      $1.80",
                              "",
                              "",
                          }));
    EXPECT_TRUE(DUVMain::DetailReportBuilt);
    std::vector<std::string> order{"Hourglass", "ProgressBar on", "ProgressBar off", "Show",
                                   "Default pointer"};
    EXPECT_EQ(events, order);
    std::vector<int> percents{33, 66, 100};
    EXPECT_EQ(progress, percents);
}

TEST_F(DetailReport, PlainDayListAndLabels) {
    RunPlainDay();
    DUVAnalyse::DisplayDetailReport();
    EXPECT_EQ(Report.Title, "DUVELO - Details Report");
    EXPECT_EQ(Report.Begin, "Tuesday, December 1, 2026");
    EXPECT_EQ(Report.Period, "1 day");
    EXPECT_FALSE(Report.ShowNoConnections);
    ASSERT_EQ(Report.Columns.size(), 7u);
    EXPECT_EQ(Report.Columns[1].Title, "Status");
    EXPECT_EQ(Report.Columns[1].Alignment, "2");
    EXPECT_EQ(Report.Columns[5].Title, "Cost ");
    EXPECT_EQ(Report.Columns[5].Alignment, "1");
    EXPECT_EQ(Report.Columns[6].Title, " Notes");
    EXPECT_EQ(Report.Columns[6].Width, 6000);

    // Per session an empty item, the connect item and the disconnect item; then the dots
    // and the totals.
    ASSERT_EQ(Report.Rows.size(), 11u);
    EXPECT_EQ(Row(0).Text, "");
    EXPECT_TRUE(Row(0).SubItems().empty());
    EXPECT_EQ(Row(1).Text, " 1");
    std::vector<std::string> connect{"Zelno", "Connect", "12/1/2026", "10:00:05 AM",
                                     "",      "",        " R:3,072K"};
    EXPECT_EQ(Row(1).SubItems(), connect);
    std::vector<std::string> disconnect{"",
                                        "Disconnect",
                                        "12/1/2026",
                                        "10:30:05 AM",
                                        "00:30:00",
                                        "$1.70",
                                        " Dialup: $0.10 - Service: $0.60 - Data: $1.00"};
    EXPECT_EQ(Row(2).SubItems(), disconnect);
    EXPECT_EQ(Row(4).Text, " 2");
    EXPECT_EQ(Row(5).Get(7), " Dialup: $0.00 - Service: $0.00 - Data: $0.00");
    EXPECT_EQ(Row(9).SubItems(), std::vector<std::string>(7, std::string(100, '.')));
    std::vector<std::string> totals{"TOTALS:",
                                    "",
                                    "",
                                    "",
                                    "00:45:00",
                                    "$1.80",
                                    " Dialup: $0.15 - Service: $0.65 - Data: $1.00"};
    EXPECT_EQ(Row(10).SubItems(), totals);
}

TEST_F(DetailReport, TariffsHolidayAndMidnightAtTheRangeEdges) {
    RunHolidayEdges();
    DUVAnalyse::DisplayDetailReport();
    EXPECT_EQ(ReportText, Join({
                              " DUVELO - Details Report",
                              "",
                              " Beginning: 12/24/2026",
                              " Ending:    12/25/2026",
                              " Period:    2 days",
                              "",
                              " " + Dashes(63),
                              "",
                              // From the day before the range: only the time after midnight
                              // counts, at the night rate, without the charge per call.
                              " Tele",
                              "    Connect:    12/23/2026 11:50:00 PM",
                              "    Disconnect: 12/24/2026 12:10:00 AM",
                              "    Time from midnight - Night",
                              kSessionDashes,
                              DurationLine("00:10:00", "$0.20"),
                              "",
                              // 0.10 a call and 20 minutes at 0.06.
                              " Tele",
                              "    Connect:    12/24/2026 10:00:00 AM",
                              "    Disconnect: 12/24/2026 10:20:00 AM",
                              "     Daytime",
                              kSessionDashes,
                              DurationLine("00:20:00", "$1.30"),
                              "",
                              // Into the day after the range: 299 seconds at the holiday rate.
                              " Tele",
                              "    Connect:    12/25/2026 11:55:00 PM",
                              "    Disconnect: 12/26/2026 12:05:00 AM",
                              "    Time prior to midnight - Holiday",
                              kSessionDashes,
                              DurationLine("00:05:00", "$0.06"),
                              "",
                              Blanks(37) + "TOTALS: 00:35:00      $1.56",
                              "",
                              "",
                          }));
    EXPECT_EQ(Row(1).Get(7), " Time from midnight - Night");
    EXPECT_EQ(Row(2).Get(7), " Dialup: $0.20 - Service: $0.00 - Data: $0.00");
    EXPECT_EQ(Row(4).Get(7), "  Daytime");  // the blank after the dropped dash stays
    EXPECT_EQ(Row(7).Get(7), " Time prior to midnight - Holiday");
    EXPECT_EQ(Row(8).Get(6), "$0.06");
}

// A session without a disconnect entry (the next dial line comes while connected), then a
// normal one.
class DetailErrors : public ReportTest {
protected:
    void RunTwoSessions() {
        AddZelno();
        Run({"12-01-2026 09:00:00.00 - Recv: ATDT0845123<cr>",
             "12-01-2026 09:00:05.00 - Connection established",
             "12-01-2026 09:30:00.00 - Recv: ATDT0845123<cr>",
             "12-01-2026 09:30:05.00 - Connection established",
             "12-01-2026 09:40:05.00 - Hanging up the modem."});
    }
};

TEST_F(DetailErrors, ShownWithTheAssumedDurationAndData) {
    RunTwoSessions();
    DUVAnalyse::DisplayDetailReport();
    // 900 assumed seconds: 0.10 a call and a quarter hour at 1.20; the 100 KB assumed are
    // inside the free megabyte.
    EXPECT_EQ(ReportText, Join({
                              " DUVELO - Details Report",
                              "",
                              " Beginning: 12/1/2026    WARNING: Errors found in log.",
                              " Ending:    12/1/2026      Report may not be accurate.",
                              " Period:    1 day",
                              "",
                              " " + Dashes(63),
                              "",
                              " Zelno",
                              Blanks(16) + "12/1/2026 9:00:05 AM",
                              "    ERROR - No Disconnect Entry - R:100K",
                              kSessionDashes,
                              DurationLine("00:15:00", "$0.40"),
                              "",
                              " Zelno",
                              "    Connect:    12/1/2026 9:30:05 AM",
                              "    Disconnect: 12/1/2026 9:40:05 AM",
                              kSessionDashes,
                              DurationLine("00:10:00", "$0.30"),
                              "",
                              Blanks(37) + "TOTALS: 00:25:00      $0.70",
                              "",
                              "",
                          }));
    EXPECT_TRUE(Report.ShowWarning);
    std::vector<std::string> connect{
        "Zelno", "E R R O R", "12/1/2026", "9:00:05 AM", "", "", " No Disconnect Entry - R:100K"};
    EXPECT_EQ(Row(1).SubItems(), connect);
    std::vector<std::string> disconnect{"",
                                        "",
                                        "12/1/2026",
                                        "9:15:05 AM",
                                        "00:15:00",
                                        "$0.40",
                                        " Dialup: $0.10 - Service: $0.30 - Data: $0.00"};
    EXPECT_EQ(Row(2).SubItems(), disconnect);
}

TEST_F(DetailErrors, HiddenWhenErrorsAreNotShown) {
    DUVMain::ShowErrors = false;
    RunTwoSessions();
    DUVAnalyse::DisplayDetailReport();
    EXPECT_EQ(ReportText, Join({
                              " DUVELO - Details Report",
                              "",
                              " Beginning: 12/1/2026",
                              " Ending:    12/1/2026",
                              " Period:    1 day",
                              "",
                              " " + Dashes(63),
                              "",
                              " Zelno",
                              "    Connect:    12/1/2026 9:30:05 AM",
                              "    Disconnect: 12/1/2026 9:40:05 AM",
                              kSessionDashes,
                              DurationLine("00:10:00", "$0.30"),
                              "",
                              Blanks(37) + "TOTALS: 00:10:00      $0.30",
                              "",
                              "",
                          }));
    EXPECT_FALSE(Report.ShowWarning);
    // The shown session keeps its own number; the list holds no trace of the other.
    ASSERT_EQ(Report.Rows.size(), 5u);
    EXPECT_EQ(Row(1).Text, " 2");
    EXPECT_EQ(Row(4).Get(6), "$0.30");
}

TEST_F(DetailErrors, ErrorRemarkLeavesNotesRewrittenAtMidnightWhole) {
    // The log ends while connected, five minutes before the end of the range's only day.
    AddZelno();
    Run({"12-01-2026 23:54:55.00 - Recv: ATDT0845123<cr>",
         "12-01-2026 23:55:00.00 - Connection established"});
    const std::string stored = DUVAnalyse::Connections[1].Notes;
    ASSERT_EQ(stored, " ERROR - No Disconnect Entry - R:100K");
    DUVAnalyse::DisplayDetailReport();
    std::vector<std::string> lines = Lines(ReportText);
    ASSERT_GE(lines.size(), 13u);
    EXPECT_EQ(lines[9], Blanks(16) + "12/1/2026 11:55:00 PM");
    EXPECT_EQ(lines[10], "    Time prior to midnight - ERROR - No Disconnect Entry - R:100K");
    EXPECT_EQ(lines[12], DurationLine("00:05:00", "$0.20"));
    EXPECT_EQ(Row(1).Get(7), " Time prior to midnight - No Disconnect Entry - R:100K");
    EXPECT_EQ(DUVAnalyse::Connections[1].Notes, stored);
}

TEST_F(DetailReport, FreeTimeBeyondTheRangePartChargesNothingRatherThanLess) {
    // A free window from 23:00 to 01:00 holds all 20 minutes of a session that started
    // before the range; only its 10 minutes after midnight are in the range.
    ServiceRecord s;
    s.ServiceName = "Nightly";
    s.ServiceNumber = "0777";
    s.ServiceOption = 1;
    s.ServiceRate = 1.20;
    s.FreePeriod = true;
    s.FreeStart = Time(23, 0);
    s.FreeEnd = Time(1, 0);
    AddService(s);
    Run({"11-30-2026 23:49:55.00 - Recv: ATDT0777<cr>",
         "11-30-2026 23:50:00.00 - Connection established",
         "12-01-2026 00:10:00.00 - Hanging up the modem."});
    ASSERT_EQ(DUVAnalyse::Connections[1].FreeSeconds, 1200);
    DUVAnalyse::DisplayDetailReport();
    std::vector<std::string> lines = Lines(ReportText);
    ASSERT_EQ(lines.size(), 18u);
    EXPECT_EQ(lines[11], "    Time from midnight - Free:00:20:00");
    EXPECT_EQ(lines[13], DurationLine("00:10:00", "$0.00"));
    EXPECT_EQ(Row(2).Get(7), " Dialup: $0.00 - Service: $0.00 - Data: $0.00");
}

TEST_F(DetailReport, NoConnectionsMade) {
    Run({"12-01-2026 10:00:00.00 - Modem initialised"});
    DUVAnalyse::DisplayDetailReport();
    EXPECT_EQ(ReportText, Join({
                              " DUVELO - Details Report",
                              "",
                              " Beginning: 12/1/2026",
                              " Ending:    12/1/2026",
                              " Period:    1 day",
                              "",
                              " " + Dashes(63),
                              "",
                              Blanks(37) + "TOTALS: 00:00:00      $0.00",
                              "",
                              "",
                          }));
    EXPECT_TRUE(Report.ShowNoConnections);
    EXPECT_TRUE(Report.Rows.empty());
    EXPECT_TRUE(progress.empty());
}

TEST_F(DetailReport, CostsOff) {
    DUVMain::CalcCosts = false;
    RunPlainDay();
    DUVAnalyse::DisplayDetailReport();
    std::vector<std::string> lines = Lines(ReportText);
    ASSERT_EQ(lines.size(), 31u);
    EXPECT_EQ(lines[6], " " + Dashes(52));
    EXPECT_EQ(lines[12], "    " + Dashes(49));
    EXPECT_EQ(lines[13], "    " + Blanks(41) + "00:30:00");
    // Without costs an answered call has no notes.
    EXPECT_EQ(lines[18], "    " + Dashes(49));
    EXPECT_EQ(lines[28], Blanks(37) + "TOTALS: 00:45:00");
    ASSERT_EQ(Report.Columns.size(), 6u);
    EXPECT_EQ(Report.Columns[5].Title, " Notes");
    EXPECT_EQ(Row(1).Get(6), " R:3,072K");
    EXPECT_EQ(Row(2).SubItems().size(), 5u);
    std::vector<std::string> totals{
        "TOTALS:", "", "", "", "00:45:00", " Dialup: $0.00 - Service: $0.00 - Data: $0.00"};
    EXPECT_EQ(Report.Rows.back().SubItems(), totals);
}

}  // namespace
}  // namespace report_test
