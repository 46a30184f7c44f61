// The log viewer's portable parts: modes and captions, archive name and contents, status
// texts, files with NUL bytes, and the text search.
#include <gtest/gtest.h>

#include "core/DUVMain.h"
#include "core/MessageBox.h"
#include "core/RegistryStore.h"
#include "core/Registry_Functions.h"
#include "core/Runtime.h"
#include "tests/support/Seams.h"
#include "ui/logs/ViewLogModel.h"

using namespace ViewLogModel;

namespace {

TEST(ViewLogModes, CaptionsOfTheThreeModesAndOfTheMainWindow) {
    EXPECT_EQ(ModeFor("C:\\Reports\\", true), Mode::TextFile);
    EXPECT_EQ(ModeFor("", true), Mode::Archive);
    EXPECT_EQ(ModeFor("", false), Mode::ModemLog);
    EXPECT_EQ(Caption(Mode::ModemLog, "ModemLog.txt"), "DUV - View Modem Log");
    EXPECT_EQ(Caption(Mode::Archive, "03Jan99 - 28Feb99.duv"),
              "DUV - View Archive (03Jan99 - 28Feb99.duv)");
    EXPECT_EQ(Caption(Mode::TextFile, "Summary.txt"), "DUV - View Text File (Summary.txt)");
    EXPECT_EQ(MainViewCaptionWhileOpen(false), "&Close Modem Log");
    EXPECT_EQ(MainViewCaptionWhileOpen(true), "&Close Archive");
    EXPECT_EQ(MainViewCaptionAfterClose(true), "&View Archive");
    EXPECT_EQ(MainOptimizeCaptionAfterClose(false), "&Optimize Modem Log");
}

TEST(ViewLogFiles, ArchiveNameFromTheLogsDatesAndContentsWithOneLineEnd) {
    EXPECT_EQ(DefaultArchiveName(runtime::DateSerial(1999, 1, 3) + 0.75,
                                 runtime::DateSerial(1999, 2, 28)),
              "03Jan99 - 28Feb99");
    EXPECT_EQ(FileContents("a\r\nb"), "a\r\nb\r\n");
    EXPECT_EQ(FileContents(""), "\r\n");
    std::string damaged("ab\0cd", 5);
    EXPECT_TRUE(HasNulBytes(damaged));
    EXPECT_FALSE(HasNulBytes("abcd"));
    EXPECT_EQ(ShownText(damaged), "ab cd") << "shown whole, same length";
}

TEST(ViewLogStatus, FontAndEditPanels) {
    EXPECT_EQ(FontPanel("Courier New", 10, false, false), "Courier New 10");
    EXPECT_EQ(FontPanel("Arial", 12, true, true), "Arial 12 Bold Italic");
    EXPECT_EQ(FontPanel("Arial", 8, false, true), "Arial 8 Italic");
    EXPECT_EQ(EditPanel(true), "Edit Allowed");
    EXPECT_EQ(EditPanel(false), "Locked");
    EXPECT_EQ(KeyPanel("CAPS", true), "CAPS");
    EXPECT_EQ(KeyPanel("NUM", false), "");
}

class ViewLogClose : public ::testing::Test {
protected:
    void SetUp() override { DUVMain::SetViewLogDefaults(); }
    Registry_Functions::Variant Stored(const char* name) {
        return Registry_Functions::QueryValue(registry::kLocalMachine, "SOFTWARE\\DUV\\ViewLog",
                                              name);
    }
    registry::MemoryRegistry reg;
    test_support::ScopedSeam<registry::RegistryStore*> installed_{registry::InstallRegistry, &reg};
};

TEST_F(ViewLogClose, SaveOnExitKeepsFontAndStateButNotTheSizeOfAMaximizedWindow) {
    DUVMain::ViewLogSaveSettings = true;
    StoreOnClose({"Arial", 10.5, true, false, 2, 9000, 9999});
    EXPECT_EQ(Stored("FontName"), Registry_Functions::Variant("Arial"));
    EXPECT_EQ(Stored("FontSize").Number(), 10) << "halves to even";
    EXPECT_EQ(Stored("WinState").Number(), 2);
    EXPECT_EQ(Stored("WinHeight").Number(), 4300);
    StoreOnClose({"Arial", 11.5, false, true, 0, 5000.5, 7001.5});
    EXPECT_EQ(Stored("FontSize").Number(), 12);
    EXPECT_EQ(Stored("WinHeight").Number(), 5000);
    EXPECT_EQ(Stored("WinWidth").Number(), 7002);
}

TEST_F(ViewLogClose, WithoutSaveOnExitOnlySaveSettingsZeroIsWritten) {
    DUVMain::ViewLogSaveSettings = false;
    StoreOnClose({"Arial", 12, true, true, 0, 1, 1});
    EXPECT_EQ(reg.ValueNames(registry::kLocalMachine, "SOFTWARE\\DUV\\ViewLog"),
              std::vector<std::string>{"SaveSettings"});
    EXPECT_EQ(Stored("SaveSettings"), Registry_Functions::Variant(0LL));
    EXPECT_EQ(DUVMain::ViewLogFontName, "MS Sans Serif");
}

const std::string kLog =
    "01-02-2026 10:00:00.00 - CONNECTION ESTABLISHED\r\n"
    "01-02-2026 10:30:00.00 - connection lost\r\n"
    "01-02-2026 11:00:00.00 - Connection ESTABLISHED\r\n";

SearchState Search(const std::string& text, int direction, int matchCase = 0) {
    SearchState s;
    s.Text = text;
    s.Direction = direction;
    s.MatchCase = matchCase;
    s.IsNew = true;
    return s;
}

TEST(ViewLogSearch, DownFindsAtTheCaretThenEachFollowingMatchAndStopsAtTheEnd) {
    SearchState s = Search("connect", 1);
    std::int64_t first = FindText(kLog, 0, s);
    EXPECT_EQ(first, 25) << "without match case, connect finds CONNECTION";
    EXPECT_EQ(FindText(kLog, first, s), first) << "a new search finds the match at the caret";
    s.Start = first;
    s.IsNew = false;
    std::int64_t second = FindText(kLog, first, s);
    EXPECT_EQ(kLog.substr(static_cast<size_t>(second), 15), "connection lost");
    s.Start = second;
    std::int64_t third = FindText(kLog, second, s);
    EXPECT_EQ(kLog.substr(static_cast<size_t>(third), 10), "Connection");
    s.Start = third;
    EXPECT_EQ(FindText(kLog, third, s), -1) << "no wrapping";

    SearchState exact = Search("Connection", 1, 1);
    EXPECT_EQ(FindText(kLog, 0, exact), third);
    EXPECT_EQ(FindText(kLog, 0, Search("", 1)), -1);
}

TEST(ViewLogSearch, UpFindsTheMatchRightBeforeTheCaretAndExcludesTheCurrentOne) {
    EXPECT_EQ(FindText(kLog, 0, Search("connect", 0)), -1) << "nothing before the start";
    // A new search with the caret just after the C of the last CONNECTION: that match
    // begins right before the caret and reaches past it.
    auto last = static_cast<std::int64_t>(kLog.rfind("Connection"));
    SearchState s = Search("connection", 0);
    EXPECT_EQ(FindText(kLog, last + 1, s), last);
    // Repeated from that match: the one before it.
    s.Start = last;
    s.IsNew = false;
    auto middle = static_cast<std::int64_t>(kLog.find("connection lost"));
    EXPECT_EQ(FindText(kLog, last, s), middle);
    EXPECT_EQ(FindText(kLog, last, Search("CONNECTION", 0, 1)), 25);
}

TEST(ViewLogSearch, PositionsBeyondSixteenMillionStayExact) {
    std::string big(17'000'000, 'x');
    big.replace(16'777'217, 4, "DIAL");
    big.replace(16'777'301, 4, "DIAL");
    SearchState s = Search("dial", 1);
    std::int64_t first = FindText(big, 0, s);
    ASSERT_EQ(first, 16'777'217);
    s.Start = first;
    s.IsNew = false;
    EXPECT_EQ(FindText(big, first, s), 16'777'301);
}

TEST(ViewLogSearch, CannotFindQuotesTheTextAsTyped) {
    EXPECT_EQ(CannotFindMessage("Hang Up"), "Cannot find \"Hang Up\"");
}

// The viewer as the search sees it: a text, a selection and whether the Find window is open.
struct Viewer : SearchTarget {
    std::string text;
    std::int64_t start = 0, length = 0;
    bool findOpen = true;
    std::string_view Text() override { return text; }
    std::int64_t SelStart() override { return start; }
    void Select(std::int64_t s, std::int64_t l) override {
        start = s;
        length = l;
    }
    void CloseFindWindow() override { findOpen = false; }
};

TEST(ViewLogSearch, FindLogTextSelectsEachMatchThenSaysCannotFindAndKeepsTheSelection) {
    ScriptedMessages boxes;
    Viewer viewer;
    viewer.text = kLog;
    DUVMain::SearchText = "Established";
    DUVMain::SearchMatchCase = 0;
    DUVMain::SearchDirection = 1;
    DUVMain::SearchIsNew = true;
    FindLogText(viewer);
    EXPECT_EQ(viewer.text.substr(static_cast<size_t>(viewer.start), 11), "ESTABLISHED");
    EXPECT_EQ(viewer.length, 11);
    EXPECT_FALSE(viewer.findOpen);
    EXPECT_EQ(DUVMain::SearchStart, viewer.start);
    EXPECT_FALSE(DUVMain::SearchIsNew);
    const std::int64_t first = viewer.start;
    FindLogText(viewer);  // Find Next
    EXPECT_GT(viewer.start, first);
    const std::int64_t second = viewer.start;
    viewer.findOpen = true;
    FindLogText(viewer);
    EXPECT_EQ(viewer.start, second) << "a failed search leaves the selection";
    EXPECT_TRUE(viewer.findOpen) << "and the Find window open";
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, "Cannot find \"Established\"");
    DUVMain::SearchText.clear();
}

}  // namespace
