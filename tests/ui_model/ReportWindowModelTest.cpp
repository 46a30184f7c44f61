// The report window's portable parts: print pages, saved reports, status texts, font steps,
// column arrangement and the per-view settings.
#include <gtest/gtest.h>

#include "core/Runtime.h"
#include "core/RuntimeError.h"
#include "ui/logs/ReportWindowModel.h"

using namespace ReportWindowModel;

namespace {

std::string NumberedLines(int count, bool finalLineEnd) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        text += "Line " + std::to_string(i);
        if (i < count || finalLineEnd)
            text += "\r\n";
    }
    return text;
}

TEST(ReportPrintLayout, LongReportBreaksIntoFullPagesAndARest) {
    // A page of 10 inches printable at 1/600 inch, Courier 10 pt lines of 100 device units.
    int perPage = LinesPerPage(6000, 100);
    EXPECT_EQ(perPage, 60);
    PrintLayout layout = LayOutPages(NumberedLines(130, true), perPage);
    ASSERT_EQ(layout.Pages.size(), 3u);
    EXPECT_EQ(layout.Pages[0].size(), 60u);
    EXPECT_EQ(layout.Pages[1].size(), 60u);
    EXPECT_EQ(layout.Pages[2].size(), 10u) << "no empty line after the last line end";
    EXPECT_EQ(layout.Pages[0].front(), "Line 1");
    EXPECT_EQ(layout.Pages[1].front(), "Line 61");
    EXPECT_EQ(layout.Pages[2].back(), "Line 130");
}

TEST(ReportPrintLayout, ExactPagesEmptyLinesAndOddSizes) {
    PrintLayout exact = LayOutPages(NumberedLines(120, false), 60);
    EXPECT_EQ(exact.Pages.size(), 2u) << "a summary ends without a line end";
    EXPECT_EQ(exact.Pages[1].back(), "Line 120");

    // The details text ends with an empty line: it is printed.
    PrintLayout details = LayOutPages("A\r\n\r\nB\r\n\r\n", 60);
    ASSERT_EQ(details.Pages.size(), 1u);
    EXPECT_EQ(details.Pages[0], (std::vector<std::string>{"A", "", "B", ""}));

    EXPECT_EQ(LayOutPages("", 60).Pages.size(), 1u);
    EXPECT_EQ(LayOutPages("x\ny\rz", 2).Pages.size(), 2u);
    EXPECT_EQ(LinesPerPage(50, 100), 1) << "a line taller than the page still prints";
    EXPECT_EQ(LinesPerPage(6000, 0), 1);
}

TEST(SavedReport, DefaultNameAndContents) {
    double start = runtime::DateSerial(1999, 3, 1);
    double end = runtime::DateSerial(1999, 3, 31);
    EXPECT_EQ(DefaultSaveName(false, start, end), "Summary 01Mar99 - 31Mar99");
    EXPECT_EQ(
        DefaultSaveName(true, runtime::DateSerial(2026, 11, 2), runtime::DateSerial(2026, 12, 9)),
        "Detail 02Nov26 - 09Dec26");
    EXPECT_EQ(ReportFileContents("Title\r\nTotals"), "Title\r\nTotals\r\n");
    EXPECT_EQ(ReportFileContents("Title\r\n"), "Title\r\n\r\n");
}

TEST(ReportStatusPanels, ListAndStandardFormat) {
    StatusTexts list = StatusFor(true, true, 9);
    EXPECT_EQ(list.Panel1, " List View Format");
    EXPECT_EQ(list.Panel2, " Auto Arrange On");
    EXPECT_EQ(list.Panel3, " Font Size  9");
    EXPECT_EQ(StatusFor(true, false, 8.5).Panel3, " Font Size  8.5");
    EXPECT_EQ(StatusFor(true, false, 0.5).Panel2, " Auto Arrange Off");
    EXPECT_EQ(StatusFor(true, false, 0.5).Panel3, " Font Size  .5");
    StatusTexts standard = StatusFor(false, true, 9);
    EXPECT_EQ(standard.Panel1, " Standard Format");
    EXPECT_EQ(standard.Panel2, "");
    EXPECT_EQ(standard.Panel3, "");
}

TEST(ReportFontSize, StepsKeepTheFractionAndStopBelowOne) {
    EXPECT_EQ(FontSizeIncreased(9), 10);
    EXPECT_EQ(FontSizeIncreased(72), 73) << "no upper bound";
    EXPECT_DOUBLE_EQ(FontSizeIncreased(8.25), 9.25);
    EXPECT_EQ(FontSizeDecreased(1), 0);
    EXPECT_DOUBLE_EQ(FontSizeDecreased(0.5), 0.5);
    EXPECT_EQ(FontSizeDecreased(0), 0);
    EXPECT_DOUBLE_EQ(FontSizeDecreased(8.25), 7.25);
    EXPECT_DOUBLE_EQ(FontSizeDecreased(1.00004), 0) << "four places";
}

TEST(ReportColumns, AutoArrangeWidths) {
    EXPECT_EQ(ArrangedColumnWidth(" Notes", 2300, 3), 6000.0);
    EXPECT_FALSE(ArrangedColumnWidth("Service", 2300, 3)) << "50 is not above 100";
    EXPECT_EQ(ArrangedColumnWidth("Service", 9400, 9), 900.0);
    EXPECT_DOUBLE_EQ(*ArrangedColumnWidth("Cost", 9401, 9), 900.125);
    EXPECT_FALSE(ArrangedColumnWidth("Cost", 2400, 3)) << "exactly 100 is not above";
    EXPECT_EQ(WarningFrameLeft(9000, 3000, 2000, 1500), 5880);
    EXPECT_EQ(WarningFrameLeft(5000, 3000, 2000, 1500), 3600) << "not over the end date";
}

TEST(ReportViewRecords, StoreRoundsHalfToEvenAndSkipsSizeOutsideTheNormalState) {
    ReportViewSettings record;
    WindowState window;
    window.Height = 6000.5;
    window.Width = 9001.5;
    window.Left = 120.4;
    window.Top = 240.6;
    window.FontSize = 8.25;
    window.ColumnWidths = {0, 1500.5, 2500.5, 1000};
    StoreView(record, window);
    EXPECT_EQ(record.WinHeight, 6000);
    EXPECT_EQ(record.WinWidth, 9002);
    EXPECT_EQ(record.WinLeft, 120);
    EXPECT_EQ(record.WinTop, 241);
    EXPECT_FLOAT_EQ(record.FontSize, 8.25f);
    EXPECT_EQ(record.Column[1], 1500);
    EXPECT_EQ(record.Column[2], 2500);
    EXPECT_EQ(record.Column[3], 1000);
    EXPECT_EQ(record.Column[4], 0);

    window.Normal = false;
    window.Height = 100;
    StoreView(record, window);
    EXPECT_EQ(record.WinHeight, 6000) << "a minimized or maximized window keeps the stored size";

    window.ColumnWidths.assign(9, 800);
    try {
        StoreView(record, window);
        FAIL() << "nine columns do not fit the record";
    } catch (const runtime::RuntimeError& error) {
        EXPECT_EQ(error.number, 9);
    }
}

TEST(ReportViewRecords, ApplyTakesOnlyStoredValues) {
    ReportViewSettings record;
    record.WinHeight = 5000;
    record.WinLeft = 300;
    record.FontSize = 10;
    record.Column[1] = 1800;
    record.Column[3] = 900;
    record.Column[7] = 700;
    ViewApplication summary = ApplyView(record, false, true, true, 8);
    EXPECT_EQ(summary.Height, 5000);
    EXPECT_FALSE(summary.Width);
    EXPECT_FALSE(summary.Top);
    EXPECT_EQ(summary.Left, 300);
    EXPECT_EQ(summary.FontSize, 10.0);
    EXPECT_EQ(summary.Columns, (std::vector<std::pair<int, int>>{{2, 1800}, {4, 900}, {8, 700}}));

    ViewApplication details = ApplyView(record, true, true, true, 8);
    EXPECT_EQ(details.Columns, (std::vector<std::pair<int, int>>{{2, 1800}, {4, 900}}))
        << "the details apply columns 1 to 6";

    ViewApplication standard = ApplyView(record, false, false, false, 8);
    EXPECT_FALSE(standard.Height);
    EXPECT_FALSE(standard.FontSize);
    EXPECT_TRUE(standard.Columns.empty());
}

}  // namespace
