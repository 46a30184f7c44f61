// List rows of the reports: sub-items set in any order and read back, alone and from the
// store all rows of a report share.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "analysis/Report.h"

namespace {

using DUVAnalyse::ReportRow;
using DUVAnalyse::ReportRows;
using Items = std::vector<std::string>;

TEST(ReportRow, SubItemsSetInAnyOrderAndReplaced) {
    const std::string notes(200, 'n');     // a length of two bytes
    const std::string long1(20000, 'x');  // and of three
    ReportRow row;
    row.Set(3, "12/3/2026");
    row.Set(1, "WorkDial");
    row.Set(7, notes);
    row.Set(2, "Connect");
    row.Set(0, "ignored");
    EXPECT_EQ(row.SubItems(), (Items{"WorkDial", "Connect", "12/3/2026", "", "", "", notes}));
    row.Set(3, long1);
    row.Set(7, "");
    row.Set(1, "W");
    EXPECT_EQ(row.SubItems(), (Items{"W", "Connect", long1, "", "", "", ""}));
    EXPECT_EQ(row.Get(3), long1);
    EXPECT_EQ(row.Get(0), "");
    EXPECT_EQ(row.Get(8), "");
    row.ClearSubItems();
    row.Set(2, "Disconnect");
    EXPECT_EQ(row.SubItems(), (Items{"", "Disconnect"}));
}

TEST(ReportRows, GiveBackEachRowAsItWasAdded) {
    ReportRows rows;
    EXPECT_TRUE(rows.empty());
    ReportRow first;
    first.Text = " 1";
    first.Set(1, std::string(130, 'a'));
    first.Set(4, "4:05:23 AM");
    const std::string longText(300, 't');
    ReportRow second;
    second.Text = longText;
    rows.reserve(4, 100);
    rows.push_back(first);
    rows.push_back({});
    rows.push_back(second);
    first.Set(2, "later");  // the stored copy stays as it was
    rows.push_back(first);

    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0].Text, " 1");
    EXPECT_EQ(rows[0].SubItems(), (Items{std::string(130, 'a'), "", "", "4:05:23 AM"}));
    EXPECT_EQ(rows[1].Text, "");
    EXPECT_TRUE(rows[1].SubItems().empty());
    EXPECT_EQ(rows[2].Text, longText);
    EXPECT_TRUE(rows[2].SubItems().empty());
    EXPECT_EQ(rows.back().Get(2), "later");
    // A row read back goes on as a row of its own.
    ReportRow copy = rows.at(0);
    copy.Set(5, "00:00:44");
    EXPECT_EQ(copy.Get(5), "00:00:44");
    EXPECT_EQ(rows[0].Get(5), "");
    EXPECT_THROW(rows.at(4), std::out_of_range);

    std::vector<std::string> texts;
    for (const ReportRow& row : rows)
        texts.push_back(row.Text);
    EXPECT_EQ(texts, (Items{" 1", "", longText, " 1"}));
}

}  // namespace
