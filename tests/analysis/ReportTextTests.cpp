// Both reports together: building again gives the same text, their totals agree, and the
// regional money and date formats of a German system.
#include "tests/analysis/ReportTextFixture.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace report_test {
namespace {

using DUVAnalyse::Report;
using DUVAnalyse::ReportText;

using BothReports = ReportTest;

TEST_F(BothReports, BuildingAgainGivesTheSameText) {
    RunHolidayEdges();
    std::vector<std::string> notes;
    for (int32_t i = 1; i <= DUVAnalyse::ConnIndex; ++i)
        notes.push_back(DUVAnalyse::Connections[static_cast<std::size_t>(i)].Notes);

    DUVAnalyse::DisplayDetailReport();
    const std::string details = ReportText;
    const DUVAnalyse::ReportRows detailRows = Report.Rows;
    DUVAnalyse::DisplaySummaryReport();
    const std::string summary = ReportText;
    for (int round = 0; round < 2; ++round) {
        DUVAnalyse::DisplayDetailReport();
        EXPECT_EQ(ReportText, details);
        ASSERT_EQ(Report.Rows.size(), detailRows.size());
        for (std::size_t r = 0; r < detailRows.size(); ++r)
            EXPECT_EQ(Report.Rows[r].SubItems(), detailRows[r].SubItems()) << "row " << r;
        DUVAnalyse::DisplaySummaryReport();
        EXPECT_EQ(ReportText, summary);
    }
    for (int32_t i = 1; i <= DUVAnalyse::ConnIndex; ++i)
        EXPECT_EQ(DUVAnalyse::Connections[static_cast<std::size_t>(i)].Notes,
                  notes[static_cast<std::size_t>(i - 1)]);
}

TEST_F(BothReports, SummaryOfTheHolidayRangeAgreesWithItsDetails) {
    RunHolidayEdges();
    DUVAnalyse::DisplaySummaryReport();
    std::vector<std::string> lines = Lines(ReportText);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(lines[2], " Beginning: Thursday, December 24, 2026");
    EXPECT_EQ(lines[3], " Ending:    Friday, December 25, 2026");
    EXPECT_EQ(lines[4], " Period:    2 days");
    // 2100 seconds in 3 sessions over 2 days; the reads line after the range end is lost.
    EXPECT_EQ(
        lines[9],
        " Tele            00:35:00       3          00:11:40     00:17:30          0K      $1.56");
    ExpectTotalsAgree();
}

TEST_F(BothReports, TotalsAgreeForThePlainDay) {
    RunPlainDay();
    ExpectTotalsAgree();
}

TEST_F(BothReports, TotalsAgreeWithErrorsShown) {
    AddZelno();
    Run({"12-01-2026 09:00:00.00 - Recv: ATDT0845123<cr>",
         "12-01-2026 09:00:05.00 - Connection established",
         "12-01-2026 09:30:00.00 - Connection established",
         "12-01-2026 09:40:00.00 - Hanging up the modem.",
         "12-01-2026 09:40:03.00 - Reads : 5000000 bytes"});
    ExpectTotalsAgree();
    EXPECT_EQ(DetailTotals().time, "00:25:00");
}

// Without list rows the builders make the same texts and the rest of the view, and no rows.
TEST_F(BothReports, TextsWithoutListRowsAreTheSame) {
    AddZelno();
    Run({"12-01-2026 09:00:00.00 - Recv: ATDT0845123<cr>",
         "12-01-2026 09:00:05.00 - Connection established",
         "12-01-2026 09:30:00.00 - Connection established",
         "12-01-2026 09:40:00.00 - Hanging up the modem.",
         "12-01-2026 09:40:03.00 - Reads : 5000000 bytes",
         "12-01-2026 12:00:00.00 - Answering the call",
         "12-01-2026 12:00:02.00 - Connection established at 28800bps.",
         "12-01-2026 12:10:02.00 - Hanging up the modem."});
    for (auto build : {DUVAnalyse::DisplayDetailReport, DUVAnalyse::DisplaySummaryReport}) {
        DUVAnalyse::ReportWindowCalls.ListRows = true;
        build();
        const std::string text = ReportText;
        const std::size_t columns = Report.Columns.size();
        EXPECT_GT(Report.Rows.size(), 3u);
        DUVAnalyse::ReportWindowCalls.ListRows = false;
        build();
        EXPECT_EQ(ReportText, text);
        EXPECT_TRUE(Report.Rows.empty());
        EXPECT_EQ(Report.Columns.size(), columns);
        EXPECT_EQ(Report.Begin, "Tuesday, December 1, 2026");
    }
    EXPECT_NE(ReportText.find("TOTALS:"), std::string::npos);
}

// German regional settings: the euro sign after the amount with a blank, decimal comma,
// dates and times in the German forms.
class GermanReports : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        UseLocale(regional::kLcidDeDe);
    }
};

TEST_F(GermanReports, SummaryWithTheSymbolAfterTheAmount) {
    RunPlainDay();
    DUVAnalyse::DisplaySummaryReport();
    const std::string dashes = " " + Dashes(87);  // the money column is 12 wide
    EXPECT_EQ(ReportText, Join({
                              " DUVELO - Summary Report",
                              "",
                              " Beginning: Dienstag, 1. Dezember 2026",
                              " Ending:    Dienstag, 1. Dezember 2026",
                              " Period:    1 day",
                              " ",
                              dashes,
                              " Service         Duvelo         Sessions   AvSession    AvDay    * "
                              "Data Read        Cost",
                              dashes,
                              " Unknown         00:05:00       1          00:05:00     00:05:00    "
                              "      0K      0,10 \x80",
                              " Zelno           00:30:00       1          00:30:00     00:30:00    "
                              "  3.072K      1,70 \x80",
                              " 0171999         00:00:00       0          ",
                              " Answered Calls  00:10:00       1          00:10:00     00:10:00    "
                              "      0K      0,00 \x80",
                              dashes,
                              " TOTALS:         00:45:00       3                                   "
                              "  3.072K      1,80 \x80",
                          }));
    EXPECT_EQ(Report.Rows.back().Get(7), "1,80 \x80");
}

TEST_F(GermanReports, DetailsWithTheSymbolAfterTheAmount) {
    RunPlainDay();
    DUVAnalyse::DisplayDetailReport();
    std::vector<std::string> lines = Lines(ReportText);
    ASSERT_EQ(lines.size(), 32u);
    EXPECT_EQ(lines[2], " Beginning: 1.12.2026");
    EXPECT_EQ(lines[6], " " + Dashes(64));
    EXPECT_EQ(lines[9], "    Connect:    1.12.2026 10:00:05");
    EXPECT_EQ(lines[10], "    Disconnect: 1.12.2026 10:30:05");
    EXPECT_EQ(lines[11], "    R:3.072K");
    EXPECT_EQ(lines[12], "    " + Dashes(61));
    EXPECT_EQ(lines[13], "    " + Blanks(41) + "00:30:00" + Blanks(6) + "1,70 \x80");
    EXPECT_EQ(lines[29], Blanks(37) + "TOTALS: 00:45:00      1,80 \x80");
    EXPECT_EQ(Report.Begin, "Dienstag, 1. Dezember 2026");
    EXPECT_EQ(Report.Rows.at(2).Get(7),
              " Dialup: 0,10 \x80 - Service: 0,60 \x80 - Data: 1,00 \x80");
}

#ifdef _WIN32
// The regional settings of the running system, read as the program reads them.
class SystemLocale : public regional::LocaleSource {
public:
    regional::LCID SystemDefaultLCID() const override { return GetSystemDefaultLCID(); }
    std::optional<std::string> Info(regional::LCID lcid, regional::LCTYPE type) const override {
        char value[256];
        const int n = GetLocaleInfoA(lcid, type, value, sizeof value);
        if (n <= 0)
            return std::nullopt;
        return std::string(value, static_cast<std::size_t>(n - 1));
    }
};

TEST_F(BothReports, SystemEnglishLocaleGivesTheSameTextAsTheFixedOne) {
    if (GetSystemDefaultLCID() != regional::kLcidEnUs)
        GTEST_SKIP() << "the system locale is not English (United States)";
    RunHolidayEdges();
    DUVAnalyse::DisplaySummaryReport();
    const std::string summary = ReportText;
    DUVAnalyse::DisplayDetailReport();
    const std::string details = ReportText;

    test_support::ScopedSeam system(regional::Install, std::make_shared<SystemLocale>());
    CurrencyFormat::GetCurrencySymbolInfo();
    GeneralFunctions::GetDateFormatMask();
    DUVMain::GetDayNames();
    DUVAnalyse::DisplaySummaryReport();
    EXPECT_EQ(ReportText, summary);
    DUVAnalyse::DisplayDetailReport();
    EXPECT_EQ(ReportText, details);
}
#endif

}  // namespace
}  // namespace report_test
