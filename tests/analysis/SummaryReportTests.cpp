// The summary report of small logs, character for character, and its list rows.
#include "tests/analysis/ReportTextFixture.h"

namespace report_test {
namespace {

using DUVAnalyse::Report;
using DUVAnalyse::ReportText;

using SummaryReport = ReportTest;

TEST_F(SummaryReport, PlainDayWithBusyAnsweredAndUnknownSessions) {
    RunPlainDay();
    DUVAnalyse::DisplaySummaryReport();
    const std::string dashes = " " + Dashes(86);
    const std::string expected = Join({
        " DUVELO - Summary Report",
        "",
        " Beginning: Tuesday, December 1, 2026",
        " Ending:    Tuesday, December 1, 2026",
        " Period:    1 day",
        " ",
        dashes,
        " Service         Duvelo         Sessions   AvSession    AvDay    * Data Read       Cost",
        dashes,
        // Row 0 (no dialled number) comes first because it has seconds.
        " Unknown         00:05:00       1          00:05:00     00:05:00          0K      $0.10",
        " Zelno           00:30:00       1          00:30:00     00:30:00      3,072K      $1.70",
        // The busy call: a row without seconds ends after its sessions cell.
        " 0171999         00:00:00       0          ",
        // Answered calls cost nothing in the report whatever their row holds.
        " Answered Calls  00:10:00       1          00:10:00     00:10:00          0K      $0.00",
        dashes,
        " TOTALS:         00:45:00       3                                     3,072K      $1.80",
    });
    EXPECT_EQ(ReportText, expected);
    EXPECT_TRUE(DUVMain::SummaryReportBuilt);
    std::vector<std::string> order{"Hourglass", "Show", "Default pointer"};
    EXPECT_EQ(events, order);
}

TEST_F(SummaryReport, PlainDayListAndLabels) {
    RunPlainDay();
    DUVAnalyse::DisplaySummaryReport();
    EXPECT_EQ(Report.Title, "DUVELO - Summary Report");
    EXPECT_EQ(Report.Begin, "Tuesday, December 1, 2026");
    EXPECT_EQ(Report.End, "Tuesday, December 1, 2026");
    EXPECT_EQ(Report.Period, "1 day");
    EXPECT_FALSE(Report.ShowWarning);
    EXPECT_FALSE(Report.ShowNoConnections);
    ASSERT_EQ(Report.Columns.size(), 7u);  // with the number column: 8 headers
    EXPECT_EQ(Report.Columns[0].Title, "Service");
    EXPECT_EQ(Report.Columns[0].Alignment, "0");
    EXPECT_EQ(Report.Columns[1].Title, "Duvelo");
    EXPECT_EQ(Report.Columns[1].Alignment, "2");
    EXPECT_EQ(Report.Columns[5].Title, "* Data Read");
    EXPECT_EQ(Report.Columns[5].Alignment, "1");
    EXPECT_EQ(Report.Columns[6].Title, "Cost");
    EXPECT_EQ(Report.Columns[6].Alignment, "1");

    // An empty first item, four usage rows, the dotted row and the totals.
    ASSERT_EQ(Report.Rows.size(), 7u);
    EXPECT_TRUE(Row(0).SubItems().empty());
    std::vector<std::string> zelno{"Zelno",    "00:30:00", "1",    "00:30:00",
                                   "00:30:00", "3,072K",   "$1.70"};
    EXPECT_EQ(Row(2).SubItems(), zelno);
    std::vector<std::string> busy{"0171999", "00:00:00", "0"};
    EXPECT_EQ(Row(3).SubItems(), busy);
    EXPECT_EQ(Row(5).SubItems(), std::vector<std::string>(7, std::string(100, '.')));
    std::vector<std::string> totals{"TOTALS:", "00:45:00", "3", "", "", "3,072K", "$1.80"};
    EXPECT_EQ(Row(6).SubItems(), totals);
    EXPECT_EQ(Report.SelectedRow, 6);
    EXPECT_EQ(Report.TitleStart, 1);
    EXPECT_EQ(Report.TitleLength, 23);
}

TEST_F(SummaryReport, ChargeBlocksColumnAndItsSwitchToDataRead) {
    AddZelno();
    ServiceRecord blocky;
    blocky.ServiceName = "Blocky Internet Ltd";  // 19 characters: cut to 12 and "... "
    blocky.ServiceNumber = "0990";
    blocky.DialOption = 1;
    blocky.ServiceOption = 1;
    blocky.ServiceRate = 2.0;
    blocky.Block = 30;
    AddService(blocky);
    Run({"12-01-2026 09:00:00.00 - Recv: ATDT0990<cr>",
         "12-01-2026 09:00:10.00 - Connection established",
         "12-01-2026 09:45:10.00 - Hanging up the modem.",  // 45 minutes: 2 blocks
         "12-01-2026 10:00:00.00 - Recv: ATDT0845123<cr>",
         "12-01-2026 10:00:10.00 - Connection established",
         "12-01-2026 10:10:10.00 - Hanging up the modem.",
         "12-01-2026 11:00:00.00 - Recv: ATDT0990<cr>",
         "12-01-2026 11:00:10.00 - Connection established",
         "12-01-2026 11:10:10.00 - Hanging up the modem."});  // 10 minutes: 1 block
    ASSERT_TRUE(DUVAnalyse::ShowBlocks);
    DUVAnalyse::DisplaySummaryReport();
    const std::string dashes = " " + Dashes(88);
    // Blocky: 3 blocks of 30 minutes charged at 2.00 an hour; Zelno: 0.10 + 10 minutes at 1.20.
    EXPECT_EQ(ReportText, Join({
                              " DUVELO - Summary Report",
                              "",
                              " Beginning: Tuesday, December 1, 2026",
                              " Ending:    Tuesday, December 1, 2026",
                              " Period:    1 day",
                              " ",
                              dashes,
                              " Service         Duvelo         Sessions   AvSession    AvDay       "
                              "  * Blocks       Cost",
                              dashes,
                              " Blocky Inter... 00:55:00       2          00:27:30     00:55:00    "
                              " 3 (01:30)      $3.00",
                              " Zelno           00:10:00       1          00:10:00     00:10:00    "
                              " 0 (00:00)      $0.30",
                              dashes,
                              " TOTALS:         01:05:00       3                                   "
                              " 3 (01:30)      $3.30",
                          }));
    EXPECT_EQ(Report.Rows.at(1).Get(6), "3 (01:30)");
    EXPECT_EQ(Report.Columns.at(5).Title, "* Blocks");

    // The report window's header click shows the data read instead.
    DUVAnalyse::ShowBlocks = false;
    DUVAnalyse::DisplaySummaryReport();
    std::vector<std::string> lines = Lines(ReportText);
    ASSERT_EQ(lines.size(), 13u);
    EXPECT_EQ(
        lines[7],
        " Service         Duvelo         Sessions   AvSession    AvDay    * Data Read       Cost");
    EXPECT_EQ(
        lines[9],
        " Blocky Inter... 00:55:00       2          00:27:30     00:55:00          0K      $3.00");
    EXPECT_EQ(
        lines[12],
        " TOTALS:         01:05:00       3                                         0K      $3.30");
}

TEST_F(SummaryReport, NoConnectionsMade) {
    Run({"12-01-2026 10:00:00.00 - Modem initialised", "12-01-2026 10:00:01.00 - AT&F"});
    DUVAnalyse::DisplaySummaryReport();
    const std::string dashes = " " + Dashes(86);
    EXPECT_EQ(ReportText, Join({
                              " DUVELO - Summary Report",
                              "",
                              " Beginning: Tuesday, December 1, 2026",
                              " Ending:    Tuesday, December 1, 2026",
                              " Period:    1 day",
                              " ",
                              dashes,
                              " Service         Duvelo         Sessions   AvSession    AvDay    * "
                              "Data Read       Cost",
                              dashes,
                              "",
                              " No Connections Made During his Period.",
                              dashes,
                              " TOTALS:         00:00:00       0          " + Blanks(21 + 12 + 11),
                          }));
    EXPECT_TRUE(Report.ShowNoConnections);
    ASSERT_EQ(Report.Rows.size(), 1u);  // only the first empty item
    EXPECT_EQ(Report.SelectedRow, 0);
}

TEST_F(SummaryReport, CostsOffAndARangeOfTwoDays) {
    DUVMain::CalcCosts = false;
    SetRange(Day(2026, 12, 1), Day(2026, 12, 2));
    AddZelno();
    Run({"12-02-2026 10:00:00.00 - Recv: ATDT0845123<cr>",
         "12-02-2026 10:00:05.00 - Connection established",
         "12-02-2026 11:00:05.00 - Hanging up the modem.",
         "12-02-2026 11:00:07.00 - Reads : 1600 bytes"});
    DUVAnalyse::DisplaySummaryReport();
    std::vector<std::string> lines = Lines(ReportText);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[3], " Ending:    Wednesday, December 2, 2026");
    EXPECT_EQ(lines[4], " Period:    2 days");
    EXPECT_EQ(lines[6], " " + Dashes(75));
    EXPECT_EQ(lines[7],
              " Service         Duvelo         Sessions   AvSession    AvDay    * Data Read");
    // 1,600 bytes are 1.5625 KB, shown as 2K; the average per day is half the time.
    EXPECT_EQ(lines[9],
              " Zelno           01:00:00       1          01:00:00     00:30:00          2K");
    EXPECT_EQ(lines[11],
              " TOTALS:         01:00:00       1                                         2K");
    EXPECT_EQ(Report.Columns.size(), 6u);
    EXPECT_EQ(Report.Period, "2 days");
    EXPECT_EQ(Report.Rows.back().SubItems().size(), 6u);
}

TEST_F(SummaryReport, ErrorsFoundWarnInTheHeadingOnlyWhenShown) {
    AddZelno();
    std::initializer_list<std::string> log{"12-01-2026 09:00:00.00 - Recv: ATDT0845123<cr>",
                                           "12-01-2026 09:00:05.00 - Connection established"};
    Run(log);
    DUVAnalyse::DisplaySummaryReport();
    std::vector<std::string> lines = Lines(ReportText);
    EXPECT_EQ(lines[2],
              " Beginning: Tuesday, December 1, 2026        WARNING: Errors found in log!");
    EXPECT_EQ(lines[3],
              " Ending:    Tuesday, December 1, 2026                 Check details report.");
    EXPECT_TRUE(Report.ShowWarning);

    DUVMain::ShowErrors = false;
    DUVAnalyse::DisplaySummaryReport();
    lines = Lines(ReportText);
    EXPECT_EQ(lines[2], " Beginning: Tuesday, December 1, 2026");
    EXPECT_FALSE(Report.ShowWarning);
}

TEST_F(SummaryReport, ARowWithTimeButNoSessionsGoesToTheErrorHandler) {
    RunPlainDay();
    DUVAnalyse::ServiceUsage[1].Sessions = 0;
    DUVAnalyse::DisplaySummaryReport();
    ASSERT_EQ(errors, std::vector<int>{runtime::kErrDivisionByZero});
    EXPECT_EQ(errorPlaces, std::vector<std::string>{"DUVAnalyse.DisplaySummaryReport"});
    errors.clear();
    // The failing cell is left out; the rest of the report is built.
    std::vector<std::string> lines = Lines(ReportText);
    EXPECT_EQ(lines[10],
              " Zelno           00:30:00       0          00:30:00      3,072K      $1.70");
    EXPECT_TRUE(DUVMain::SummaryReportBuilt);
}

TEST_F(SummaryReport, ServiceNamesOfFifteenAndSixteenCharacters) {
    ServiceRecord a;
    a.ServiceName = "Fifteen Letters";
    a.ServiceNumber = "0101";
    AddService(a);
    ServiceRecord b;
    b.ServiceName = "Sixteen Letters!";
    b.ServiceNumber = "0202";
    AddService(b);
    Run({"12-01-2026 09:00:00.00 - Recv: ATDT0101<cr>",
         "12-01-2026 09:00:05.00 - Connection established",
         "12-01-2026 09:01:05.00 - Hanging up the modem.",
         "12-01-2026 10:00:00.00 - Recv: ATDT0202<cr>",
         "12-01-2026 10:00:05.00 - Connection established",
         "12-01-2026 10:01:05.00 - Hanging up the modem."});
    DUVAnalyse::DisplaySummaryReport();
    std::vector<std::string> lines = Lines(ReportText);
    EXPECT_EQ(lines[9].substr(0, 18), " Fifteen Letters 0");
    EXPECT_EQ(lines[10].substr(0, 18), " Sixteen Lett... 0");
    EXPECT_EQ(Report.Rows.at(2).Get(1), "Sixteen Letters!");
}

}  // namespace
}  // namespace report_test
