// The report window after an analysis run: reports and formats, list settings, status
// panels, saving, printing and the settings kept per report.
#include "tests/ui/UiFixture.h"

#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

#include "analysis/DUVAnalyse.h"
#include "analysis/Report.h"
#include "tests/support/Seams.h"
#include "ui/forms/Dialogs.h"
#include "ui/forms/Printing.h"
#include "ui/logs/frmReport.h"
#include "ui/logs/frmViewLog.h"

using namespace uitest;
using C = frmReport::Command;

namespace {

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

size_t FilesIn(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    size_t count = 0;
    if (search == INVALID_HANDLE_VALUE)
        return 0;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            ++count;
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return count;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// A value as text: a text as it is, a REG_DWORD as its decimal number.
std::string RegText(const std::string& key, const char* name) {
    char data[256] = {};
    DWORD size = sizeof(data);
    DWORD type = 0;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_ANY, &type, data, &size) !=
        ERROR_SUCCESS) {
        return "(none)";
    }
    if (type == REG_DWORD) {
        DWORD value = 0;
        memcpy(&value, data, sizeof(value));
        return std::to_string(value);
    }
    return data;
}

long long RegNumber(const std::string& key, const char* name) {
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (RegGetValueA(HKEY_LOCAL_MACHINE, key.c_str(), name, RRF_RT_REG_DWORD, nullptr, &value,
                     &size) != ERROR_SUCCESS) {
        return -1;
    }
    return value;
}

void ClickHeader(frmReport& report, int column) {
    NMLISTVIEW click = {};
    click.hdr.hwndFrom = report.ListView1.hwnd();
    click.hdr.idFrom = static_cast<UINT_PTR>(report.ListView1.id());
    click.hdr.code = LVN_COLUMNCLICK;
    click.iItem = -1;
    click.iSubItem = column - 1;
    SendMessageA(report.hwnd(), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    Settle();
}

// The GDI objects the process holds. Wine does not count them (it answers 0): there the live
// entries of its handle table are counted, a handle's low word being its place in the table.
int GdiObjects() {
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS))
        return static_cast<int>(count);
    int count = 0;
    for (ULONG_PTR index = 1; index <= 0xFFFF; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0)
            ++count;
    }
    return count;
}

int FindColumn(const forms::ListView& list, const std::string& title) {
    for (int i = 1; i <= list.ColumnCount(); ++i) {
        if (list.ColumnText(i) == title)
            return i;
    }
    return 0;
}

class ReportWindow : public ProgramTest {
protected:
    // Starts DUV on the clean log and runs the analysis over the whole log.
    frmReport& Analyse() {
        WriteLog(TwoSessionLog());
        StartProgram();
        frmMain& main = frmMain::Get();
        Settle();
        DUVMain::UserStartPref = "First Log Entry";
        main.Refresh();
        Settle();
        EXPECT_TRUE(main.btnProcess.Enabled());
        PressButton(main.btnProcess);
        Settle();
        frmReport* report = frmReport::IfLoaded();
        EXPECT_NE(report, nullptr) << "the analysis shows the report window";
        return frmReport::Get();
    }

    // The list as rows of texts, for comparing with what the builder made.
    static std::vector<std::string> ListRow(const frmReport& report, int row) {
        std::vector<std::string> texts;
        for (int c = 1; c <= report.ListView1.ColumnCount(); ++c) {
            texts.push_back(report.ListView1.RowText(row, c));
        }
        return texts;
    }

    static std::vector<std::string> BuiltRow(int row) {
        const DUVAnalyse::ReportRow& built = DUVAnalyse::Report.Rows[static_cast<size_t>(row)];
        std::vector<std::string> texts{built.Text};
        for (size_t c = 1; c < DUVAnalyse::Report.Columns.size() + 1; ++c)
            texts.emplace_back(built.Get(c));
        return texts;
    }

    void ExpectListShowsTheBuiltReport(const frmReport& report) {
        ASSERT_EQ(report.ListView1.ColumnCount(),
                  static_cast<int>(DUVAnalyse::Report.Columns.size()) + 1);
        for (size_t c = 0; c < DUVAnalyse::Report.Columns.size(); ++c) {
            EXPECT_EQ(report.ListView1.ColumnText(static_cast<int>(c) + 2),
                      DUVAnalyse::Report.Columns[c].Title);
        }
        ASSERT_EQ(report.ListView1.RowCount(), static_cast<int>(DUVAnalyse::Report.Rows.size()));
        for (int r = 0; r < report.ListView1.RowCount(); ++r) {
            EXPECT_EQ(ListRow(report, r), BuiltRow(r)) << "row " << r;
        }
        EXPECT_EQ(report.RepTitle.Text(), DUVAnalyse::Report.Title);
        EXPECT_EQ(report.RepBegin.Text(), DUVAnalyse::Report.Begin);
        EXPECT_EQ(report.RepEnd.Text(), DUVAnalyse::Report.End);
        EXPECT_EQ(report.RepPeriod.Text(), DUVAnalyse::Report.Period);
        EXPECT_EQ(report.ReportTextBox.PlainText(), DUVAnalyse::ReportText);
    }
};

TEST_F(ReportWindow, OpensOnTheSummaryAndSwitchesReportsAndFormats) {
    frmReport& report = Analyse();
    EXPECT_EQ(report.Caption(), "DUV Report - (ModemLog.txt)");
    EXPECT_TRUE(report.Visible());
    EXPECT_TRUE(report.mnuSummary.Checked());
    EXPECT_FALSE(report.mnuDetails.Checked());
    EXPECT_TRUE(report.mnuListView.Checked());
    EXPECT_TRUE(report.Toolbar1.ButtonChecked(report.ToolbarPosition(C::Summary)));
    EXPECT_FALSE(report.Toolbar1.ButtonChecked(report.ToolbarPosition(C::Details)));
    EXPECT_TRUE(report.Toolbar1.ButtonChecked(report.ToolbarPosition(C::ListView)));
    EXPECT_TRUE(DUVMain::SummaryReportBuilt);
    EXPECT_FALSE(DUVMain::DetailReportBuilt);
    EXPECT_EQ(DUVAnalyse::Report.Title, "DUVELO - Summary Report");
    ExpectListShowsTheBuiltReport(report);
    EXPECT_TRUE(report.ListView1.Visible());
    EXPECT_TRUE(report.fraReportHeader.Visible());
    EXPECT_FALSE(report.ReportTextBox.Visible());
    EXPECT_EQ(report.ReportTextBox.PointSizeAt(1), 14) << "the title in 14 points";
    EXPECT_TRUE(report.ReportTextBox.BoldAt(1));
    EXPECT_EQ(report.ReportTextBox.PointSizeAt(40), 10);
    EXPECT_EQ(report.StatusBar1.PanelText(0), " List View Format");
    EXPECT_EQ(report.StatusBar1.PanelText(1), " Auto Arrange Off");
    EXPECT_EQ(report.ListView1.FontSize(), 9) << "the summary's stored font size";
    EXPECT_EQ(report.StatusBar1.PanelText(2), " Font Size  9");
    EXPECT_EQ(report.RepWarn3.Text(), "Check details report.");

    // Activating again builds nothing.
    DUVAnalyse::ReportText = "unchanged";
    frmMain::Get().Show();
    Settle();
    report.Show();
    Settle();
    EXPECT_EQ(DUVAnalyse::ReportText, "unchanged");

    Menu(report, report.mnuDetails);
    EXPECT_TRUE(report.mnuDetails.Checked());
    EXPECT_FALSE(report.mnuSummary.Checked());
    EXPECT_TRUE(report.Toolbar1.ButtonChecked(report.ToolbarPosition(C::Details)));
    EXPECT_FALSE(report.Toolbar1.ButtonChecked(report.ToolbarPosition(C::Summary)));
    EXPECT_EQ(DUVAnalyse::Report.Title, "DUVELO - Details Report");
    ExpectListShowsTheBuiltReport(report);
    EXPECT_EQ(report.RepWarn3.Text(), "Report may be inaccurate.");
    EXPECT_TRUE(report.mnuNumConnections.Enabled());
    EXPECT_TRUE(report.Toolbar1.ButtonEnabled(report.ToolbarPosition(C::NumConnections)));

    Menu(report, report.mnuFormatStd);
    EXPECT_TRUE(report.mnuFormatStd.Checked());
    EXPECT_FALSE(report.mnuListView.Checked());
    EXPECT_FALSE(DUVMain::ReportListViewFormat);
    EXPECT_TRUE(report.ReportTextBox.Visible());
    EXPECT_FALSE(report.ListView1.Visible());
    EXPECT_FALSE(report.fraReportHeader.Visible());
    EXPECT_EQ(report.ReportTextBox.PlainText(), DUVAnalyse::ReportText);
    EXPECT_FALSE(report.mnuFont.Enabled());
    EXPECT_FALSE(report.mnuAutoArrange.Enabled());
    EXPECT_FALSE(report.Toolbar1.ButtonEnabled(report.ToolbarPosition(C::FontIncrease)));
    EXPECT_FALSE(report.Toolbar1.ButtonEnabled(report.ToolbarPosition(C::FontDecrease)));
    EXPECT_FALSE(report.mnuNumConnections.Enabled());
    EXPECT_TRUE(report.Toolbar1.ButtonChecked(report.ToolbarPosition(C::FormatStd)));
    EXPECT_EQ(report.StatusBar1.PanelText(0), " Standard Format");
    EXPECT_EQ(report.StatusBar1.PanelText(1), "");
    EXPECT_EQ(report.StatusBar1.PanelText(2), "");

    // The toolbar keys run the same commands.
    report.Toolbar1.PerformClick(report.ToolbarPosition(C::Summary));
    Settle();
    EXPECT_TRUE(report.mnuSummary.Checked());
    EXPECT_EQ(report.ReportTextBox.PlainText(), DUVAnalyse::ReportText);
    EXPECT_EQ(DUVAnalyse::Report.Title, "DUVELO - Summary Report");
    report.Toolbar1.PerformClick(report.ToolbarPosition(C::ListView));
    Settle();
    EXPECT_TRUE(report.mnuListView.Checked());
    EXPECT_TRUE(report.mnuFont.Enabled());
    EXPECT_TRUE(report.Toolbar1.ButtonEnabled(report.ToolbarPosition(C::FontIncrease)));
}

// Each toolbar button's tip, asked of the toolbar's own tool tip as a hover does. The buttons
// are found by their commands, so a command added to a table moves none of them.
TEST_F(ReportWindow, EveryButtonOfTheMainAndReportToolbarsShowsItsTip) {
    frmReport& report = Analyse();
    frmMain& main = frmMain::Get();
    using M = MainCommand;
    const std::pair<MainCommand, const char*> mainTips[] = {
        {M::OpenArchive, "Open Modem Log or Archive"},
        {M::Setup, "DUV Options"},
        {M::Exit, "Close Program"},
        {M::ViewLog, "View Current Modem Log or Archive"},
        {M::ClearLog, "Clear Default Modem Log"},
        {M::Optimize, "Optimize Current Modem Log or Archive"},
        {M::RepairLog, "Repair Modem Log"},
        {M::Today, "Today's Date"},
        {M::LogStart, "Date of First Entry in Log"},
        {M::LogEnd, "Date of Last Entry in Log"},
        {M::Topics, "Help"},
        {M::SearchHelp, "Search For Help"},
        {M::About, "About DUV"}};
    const std::pair<C, const char*> reportTips[] = {
        {C::SaveAs, "Save Report"},
        {C::Print, "Print Report"},
        {C::Exit, "Close Report"},
        {C::Summary, "Summary Report"},
        {C::Details, "Detail Report"},
        {C::FormatStd, "Standard View"},
        {C::ListView, "List View"},
        {C::FontIncrease, "Increase Text Size"},
        {C::FontDecrease, "Decrease Text Size"},
        {C::NumConnections, "Display Numbered Connections"}};
    auto expectTips = [](const forms::Toolbar& toolbar, const auto& positionOf, const auto& tips) {
        for (const auto& [command, tip] : tips) {
            const int position = positionOf(command);
            ASSERT_GT(position, 0) << tip;
            EXPECT_EQ(toolbar.ShownToolTip(position), tip) << "toolbar button " << position;
        }
    };
    expectTips(
        main.ToolbarMain, [&](M command) { return main.ToolbarPosition(command); }, mainTips);
    expectTips(
        report.Toolbar1, [&](C command) { return report.ToolbarPosition(command); }, reportTips);
    // Every other button shows a tip too; separators show none.
    for (forms::Toolbar* toolbar : {&main.ToolbarMain, &report.Toolbar1}) {
        for (int position = 1; position <= toolbar->ButtonCount(); ++position) {
            EXPECT_EQ(toolbar->ShownToolTip(position).empty(), toolbar->ButtonKey(position).empty())
                << "toolbar button " << position;
        }
    }
}

// Enter in a date box runs OK, the default button; the default look follows the focus and
// comes back to OK when the focus leaves the Exit button, also after OK was switched off and
// on again.
TEST_F(ReportWindow, EnterInADateBoxRunsOkAndOkKeepsTheDefaultLook) {
    WriteLog(TwoSessionLog());
    StartProgram();
    frmMain& main = frmMain::Get();
    Settle();
    DUVMain::UserStartPref = "First Log Entry";
    main.Refresh();
    Settle();
    ASSERT_TRUE(main.btnProcess.Enabled());
    auto looksDefault = [](const forms::Button& button) {
        return (GetWindowLongPtrA(button.hwnd(), GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
    };
    PressKey(main.btnProcess, VK_TAB);
    ASSERT_EQ(GetFocus(), main.btnExit.hwnd());
    EXPECT_TRUE(looksDefault(main.btnExit));
    EXPECT_FALSE(looksDefault(main.btnProcess));
    main.btnProcess.SetEnabled(false);
    main.btnProcess.SetEnabled(true);
    PressKey(main.inputEnding, VK_END);
    EXPECT_FALSE(looksDefault(main.btnExit));
    EXPECT_TRUE(looksDefault(main.btnProcess));

    EXPECT_EQ(frmReport::IfLoaded(), nullptr);
    PressKey(main.inputEnding, VK_RETURN);
    EXPECT_NE(frmReport::IfLoaded(), nullptr) << "Enter ran the analysis";
    EXPECT_NE(frmMain::IfLoaded(), nullptr) << "and did not end the program";
}

// After the window is resized, the status bar shows its panels again without waiting for
// another repaint.
TEST_F(ReportWindow, StatusPanelsArePaintedAfterAResize) {
    frmReport& report = Analyse();
    Settle();
    ASSERT_FALSE(report.StatusBar1.PanelText(0).empty());
    ValidateRect(report.StatusBar1.hwnd(), nullptr);
    RECT before = {};
    GetWindowRect(report.hwnd(), &before);
    SetWindowPos(report.hwnd(), nullptr, 0, 0, before.right - before.left + 40,
                 before.bottom - before.top + 30, SWP_NOMOVE | SWP_NOZORDER);
    RECT pending = {};
    EXPECT_TRUE(GetUpdateRect(report.StatusBar1.hwnd(), &pending, FALSE))
        << "the bar is to be repainted";
    RECT panel = {};
    SendMessageA(report.StatusBar1.hwnd(), SB_GETRECT, 0, reinterpret_cast<LPARAM>(&panel));
    RECT overlap = {};
    EXPECT_TRUE(IntersectRect(&overlap, &pending, &panel)) << "with its first panel";
}

TEST_F(ReportWindow, DetailsPreferenceOpensOnTheDetailsInStandardFormat) {
    WriteLog(TwoSessionLog());
    StartProgram();
    frmMain& main = frmMain::Get();
    Settle();
    DUVMain::UserReportPref = 1;
    DUVMain::ReportListViewFormat = false;
    DUVMain::UserStartPref = "First Log Entry";
    main.Refresh();
    PressButton(main.btnProcess);
    Settle();
    ASSERT_NE(frmReport::IfLoaded(), nullptr);
    frmReport& report = frmReport::Get();
    EXPECT_TRUE(report.mnuDetails.Checked());
    EXPECT_FALSE(report.mnuSummary.Checked());
    EXPECT_TRUE(DUVMain::DetailReportBuilt);
    EXPECT_FALSE(DUVMain::SummaryReportBuilt);
    EXPECT_TRUE(report.mnuFormatStd.Checked());
    EXPECT_TRUE(report.ReportTextBox.Visible());
    EXPECT_EQ(report.ReportTextBox.PlainText(), DUVAnalyse::ReportText);
    EXPECT_EQ(report.StatusBar1.PanelText(0), " Standard Format");

    // A new run while the window is open builds the checked report again at activation.
    main.Show();
    Settle();
    PressButton(main.btnProcess);
    Settle();
    EXPECT_TRUE(DUVMain::DetailReportBuilt);
    EXPECT_EQ(report.ReportTextBox.PlainText(), DUVAnalyse::ReportText);
}

TEST_F(ReportWindow, NumberedConnectionsOnlyInTheDetailsList) {
    frmReport& report = Analyse();
    EXPECT_FALSE(report.mnuNumConnections.Enabled()) << "summary";
    Menu(report, report.mnuNumConnections);
    EXPECT_FALSE(report.mnuNumConnections.Checked());
    EXPECT_EQ(report.ListView1.ColumnWidth(1), 0);

    Menu(report, report.mnuDetails);
    EXPECT_EQ(report.ListView1.ColumnWidth(1), 0);
    Menu(report, report.mnuNumConnections);
    EXPECT_TRUE(report.mnuNumConnections.Checked());
    EXPECT_TRUE(report.Toolbar1.ButtonChecked(report.ToolbarPosition(C::NumConnections)));
    EXPECT_GT(report.ListView1.ColumnWidth(1), 0);
    EXPECT_EQ(report.ListView1.RowText(0, 1), DUVAnalyse::Report.Rows[0].Text);

    Menu(report, report.mnuSummary);
    EXPECT_EQ(report.ListView1.ColumnWidth(1), 0) << "the check stays, the column hides";
    EXPECT_TRUE(report.mnuNumConnections.Checked());
    Menu(report, report.mnuDetails);
    EXPECT_GT(report.ListView1.ColumnWidth(1), 0);
    Menu(report, report.mnuFormatStd);
    Menu(report, report.mnuListView);
    EXPECT_GT(report.ListView1.ColumnWidth(1), 0);
    report.Toolbar1.PerformClick(report.ToolbarPosition(C::NumConnections));
    EXPECT_FALSE(report.mnuNumConnections.Checked());
    EXPECT_EQ(report.ListView1.ColumnWidth(1), 0);
}

TEST_F(ReportWindow, FontSizeAutoArrangeAndTheSixthSummaryColumn) {
    frmReport& report = Analyse();
    ASSERT_EQ(report.ListView1.FontSize(), 9);
    Menu(report, report.mnuFontIncrease);
    EXPECT_EQ(report.ListView1.FontSize(), 10);
    EXPECT_EQ(report.StatusBar1.PanelText(2), " Font Size  10");
    for (int i = 0; i < 12; ++i)
        Menu(report, report.mnuFontDecrease);
    EXPECT_EQ(report.ListView1.FontSize(), 0) << "one below 1 goes to 0, then nothing";
    EXPECT_EQ(report.StatusBar1.PanelText(2), " Font Size  0");
    report.Toolbar1.PerformClick(report.ToolbarPosition(C::FontIncrease));
    EXPECT_EQ(report.ListView1.FontSize(), 1);

    Menu(report, report.mnuAutoArrange);
    EXPECT_TRUE(DUVMain::AutoArrangeOn);
    EXPECT_TRUE(report.mnuAutoArrange.Checked());
    EXPECT_EQ(report.StatusBar1.PanelText(1), " Auto Arrange On");
    int columns = report.ListView1.ColumnCount();
    double expected = (report.Width() - 2200.0) / (columns - 1);
    for (int c = 2; c <= columns; ++c) {
        EXPECT_NEAR(report.ListView1.ColumnWidth(c), expected, 16) << c;
    }
    Menu(report, report.mnuDetails);
    int notes = FindColumn(report.ListView1, " Notes");
    ASSERT_GT(notes, 0);
    EXPECT_NEAR(report.ListView1.ColumnWidth(notes), 6000, 16);
    Menu(report, report.mnuAutoArrange);
    EXPECT_EQ(report.StatusBar1.PanelText(1), " Auto Arrange Off");

    // The sixth summary column switches by a click on its header; details headers do nothing.
    Menu(report, report.mnuSummary);
    int blocks = FindColumn(report.ListView1, DUVAnalyse::ShowBlocks ? "* Blocks" : "* Data Read");
    ASSERT_GT(blocks, 0);
    bool before = DUVAnalyse::ShowBlocks;
    ClickHeader(report, blocks);
    EXPECT_NE(DUVAnalyse::ShowBlocks, before);
    EXPECT_EQ(report.ListView1.ColumnText(blocks),
              DUVAnalyse::ShowBlocks ? "* Blocks" : "* Data Read");
    ClickHeader(report, blocks);
    EXPECT_EQ(DUVAnalyse::ShowBlocks, before);
    ClickHeader(report, 2);
    EXPECT_EQ(DUVAnalyse::ShowBlocks, before);
    Menu(report, report.mnuDetails);
    std::string details = DUVAnalyse::ReportText;
    ClickHeader(report, 2);
    EXPECT_TRUE(report.mnuDetails.Checked());
    EXPECT_EQ(DUVAnalyse::ReportText, details);
}

TEST_F(ReportWindow, SaveWritesTheReportTextWithALineEnd) {
    frmReport& report = Analyse();
    std::vector<forms::FileDialogRequest> requests;
    std::string target = folder_ + "\\Summary 02Nov26 - 03Nov26";
    bool cancel = false;
    test_support::ScopedSeam dialog(
        forms::SetFileDialogFunction,
        [&](const forms::FileDialogRequest& request) -> std::optional<forms::FileDialogResult> {
            requests.push_back(request);
            if (cancel)
                return std::nullopt;
            return forms::FileDialogResult{target, target.substr(folder_.size() + 1)};
        });
    Menu(report, report.mnuSaveAS);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_TRUE(requests[0].save);
    EXPECT_EQ(requests[0].fileName, "Summary 02Nov26 - 03Nov26");
    EXPECT_EQ(requests[0].filter, "Text (*.txt)|*.txt");
    EXPECT_EQ(requests[0].flags, 6u);
    EXPECT_EQ(requests[0].defaultExtension, "txt");
    EXPECT_EQ(requests[0].initialDir, DUVMain::AppPath);
    EXPECT_EQ(ReadFile(target), DUVAnalyse::ReportText + "\r\n");
    EXPECT_TRUE(messages_->Calls().empty());

    Menu(report, report.mnuDetails);
    report.Toolbar1.PerformClick(report.ToolbarPosition(C::SaveAs));
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].fileName, "Detail 02Nov26 - 03Nov26");
    EXPECT_EQ(ReadFile(target), DUVAnalyse::ReportText + "\r\n") << "replaced whole";

    // A file that cannot be replaced stays as it was, and the user is told.
    std::string kept = ReadFile(target);
    HANDLE held = CreateFileA(target.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    Menu(report, report.mnuSummary);
    Menu(report, report.mnuSaveAS);
    CloseHandle(held);
    EXPECT_EQ(ReadFile(target), kept);
    ASSERT_EQ(messages_->Calls().size(), 1u);
    EXPECT_EQ(messages_->Calls()[0].text, "The report could not be saved as " + target + ".");

    cancel = true;
    Menu(report, report.mnuSaveAS);
    EXPECT_EQ(messages_->Calls().size(), 1u) << "a cancelled save is silent";
}

// Answers the system's save dialog as a user would: types a name (none keeps the proposed
// one) and presses Save. Runs from a timer while the dialog's own message loop waits.
class SaveDialogUser {
public:
    explicit SaveDialogUser(std::string typed) : typed_(std::move(typed)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 50, &SaveDialogUser::Tick);
    }
    ~SaveDialogUser() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    bool answered = false;

private:
    static BOOL CALLBACK FindDialog(HWND hwnd, LPARAM found) {
        char cls[16] = {};
        GetClassNameA(hwnd, cls, sizeof(cls));
        if (std::string(cls) == "#32770" && IsWindowVisible(hwnd)) {
            *reinterpret_cast<HWND*>(found) = hwnd;
            return FALSE;
        }
        return TRUE;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        SaveDialogUser* user = current_;
        HWND dialog = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
        if (!user || user->answered || !dialog)
            return;
        user->answered = true;
        if (!user->typed_.empty()) {
            for (int id : {0x47c, 0x480}) {  // the file-name box (combo box or edit)
                if (GetDlgItem(dialog, id))
                    SetDlgItemTextA(dialog, id, user->typed_.c_str());
            }
        }
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    }

    static inline SaveDialogUser* current_ = nullptr;
    std::string typed_;
    UINT_PTR timer_ = 0;
};

TEST_F(ReportWindow, SaveAsGivesANameWithoutExtensionTxtAndKeepsEveryOtherFile) {
    frmReport& report = Analyse();
    // Files of the user's that an earlier save wrote over: "<chosen>.new" and the like.
    const std::string proposed = folder_ + "\\Summary 02Nov26 - 03Nov26.txt";
    WriteFileBytes(proposed + ".new", "the user's own file");
    WriteFileBytes(folder_ + "\\~Summary 02Nov26 - 03Nov26.txt.tmp", "another");
    const size_t filesBefore = FilesIn(folder_);
    {
        SaveDialogUser user("");  // the proposed name, accepted
        Menu(report, report.mnuSaveAS);
        EXPECT_TRUE(user.answered);
    }
    EXPECT_EQ(ReadFile(proposed), DUVAnalyse::ReportText + "\r\n");
    EXPECT_EQ(ReadFile(proposed + ".new"), "the user's own file");
    EXPECT_EQ(ReadFile(folder_ + "\\~Summary 02Nov26 - 03Nov26.txt.tmp"), "another");
    {
        SaveDialogUser user(folder_ + "\\mine");
        Menu(report, report.mnuSaveAS);
    }
    EXPECT_EQ(ReadFile(folder_ + "\\mine.txt"), DUVAnalyse::ReportText + "\r\n");
    {
        SaveDialogUser user(folder_ + "\\mine.csv");
        Menu(report, report.mnuSaveAS);
    }
    EXPECT_EQ(ReadFile(folder_ + "\\mine.csv"), DUVAnalyse::ReportText + "\r\n");
    EXPECT_EQ(FilesIn(folder_), filesBefore + 3) << "the three reports and nothing else";
    EXPECT_TRUE(messages_->Calls().empty());
}

TEST_F(ReportWindow, PrintGoesThroughThePrintDialog) {
    frmReport& report = Analyse();
    int dialogs = 0;
    HDC device = nullptr;  // cancelled
    test_support::ScopedSeam dialog(forms::SetPrintDialogFunction, [&]() -> HDC {
        ++dialogs;
        return device;
    });
    Menu(report, report.mnuPrint);
    report.Toolbar1.PerformClick(report.ToolbarPosition(C::Print));
    EXPECT_EQ(dialogs, 2);
    EXPECT_TRUE(report.LastPrintLayout().Pages.empty()) << "cancel prints nothing";
    EXPECT_TRUE(messages_->Calls().empty());

    // A device that refuses the document: the pages are laid out, the failure is reported.
    device = CreateCompatibleDC(nullptr);
    Menu(report, report.mnuDetails);
    Menu(report, report.mnuPrint);
    EXPECT_EQ(dialogs, 3);
    const ReportWindowModel::PrintLayout& layout = report.LastPrintLayout();
    ASSERT_FALSE(layout.Pages.empty());
    EXPECT_GT(layout.LinesPerPage, 1);
    std::string printed;
    for (const auto& page : layout.Pages) {
        EXPECT_LE(static_cast<int>(page.size()), layout.LinesPerPage);
        for (const std::string& line : page)
            printed += line + "\r\n";
    }
    EXPECT_EQ(printed, DUVAnalyse::ReportText) << "the details text, which ends with a line end";
    ASSERT_EQ(messages_->Calls().size(), 1u);
    EXPECT_EQ(messages_->Calls()[0].text, "The report could not be printed.");

    HACCEL keys = report.Accelerators();
    ASSERT_NE(keys, nullptr);
    EXPECT_EQ(CopyAcceleratorTableA(keys, nullptr, 0), 10) << "Ctrl+P/X/N/I/D, F2 to F6";
}

TEST_F(ReportWindow, SettingsPerReportAreStoredAndWritten) {
    frmReport& report = Analyse();
    report.Move(300, 200, 9000, 6000);
    Settle();
    int width = report.Width();
    int height = report.Height();
    report.ListView1.SetColumnWidth(2, 2000);
    Menu(report, report.mnuDetails);  // the summary's view is stored first
    EXPECT_EQ(DUVMain::SummaryViewSettings.WinWidth, width);
    EXPECT_EQ(DUVMain::SummaryViewSettings.WinHeight, height);
    EXPECT_NEAR(DUVMain::SummaryViewSettings.Column[1], 2000, 16);
    report.Move(400, 300, 8000, 5000);
    Settle();
    int detailWidth = report.Width();
    Menu(report, report.mnuFontIncrease);
    Menu(report, report.mnuSummary);
    EXPECT_EQ(DUVMain::DetailViewSettings.WinWidth, detailWidth);
    EXPECT_FLOAT_EQ(DUVMain::DetailViewSettings.FontSize, 10);
    EXPECT_EQ(report.Width(), width) << "the summary's size comes back";
    EXPECT_NEAR(report.ListView1.ColumnWidth(2), 2000, 16);

    ASSERT_TRUE(DUVMain::ReportSaveSettings);
    report.Unload();
    const std::string key = "SOFTWARE\\DUV\\ViewReport";
    EXPECT_EQ(RegText(key, "SaveSettings"), "True");
    EXPECT_EQ(RegText(key, "ListView"), "True");
    EXPECT_EQ(RegText(key + "\\SummaryReport", "WinWidth"), std::to_string(width));
    EXPECT_EQ(RegText(key + "\\DetailReport", "WinWidth"), std::to_string(detailWidth));
    EXPECT_EQ(RegText(key + "\\DetailReport", "FontSize"), "10");

    // Reopened, the window takes the stored summary view.
    frmMain::Get().RunCommand(MainCommand::ShowReport);
    Settle();
    frmReport& again = frmReport::Get();
    EXPECT_EQ(again.Width(), width);

    // Without "Save Settings on Exit" only that choice is written.
    Menu(again, again.mnuSaveSettings);
    EXPECT_FALSE(again.mnuSaveSettings.Checked());
    again.Move(100, 100, 7000, 5000);
    Settle();
    int unsaved = again.Width();
    again.Unload();
    EXPECT_EQ(RegNumber(key, "SaveSettings"), 0);
    EXPECT_EQ(RegText(key + "\\SummaryReport", "WinWidth"), std::to_string(width));
    EXPECT_EQ(DUVMain::SummaryViewSettings.WinWidth, unsaved) << "kept in memory for this run";
}

// A pixel holds 15 twips at 96 DPI, so a stored width of 1000 is shown as 67 pixels; opening
// and closing the window without touching it must store 1000 again, not 1005. A column the
// user drags is stored at its new width.
TEST_F(ReportWindow, OpeningAndClosingKeepsTheStoredLayout) {
    const std::vector<std::pair<const char*, const char*>> summary = {
        {"WinHeight", "5000"}, {"WinWidth", "7000"}, {"WinLeft", "100"},  {"WinTop", "100"},
        {"FontSize", "9"},     {"Column1", "1000"},  {"Column2", "1001"}, {"Column3", "700"},
        {"Column4", "1000"},   {"Column5", "2000"},
    };
    const std::vector<std::pair<const char*, const char*>> details = {
        {"WinHeight", "5000"}, {"WinWidth", "7000"}, {"WinLeft", "100"},  {"WinTop", "100"},
        {"FontSize", "9"},     {"Column1", "1000"},  {"Column2", "1000"}, {"Column3", "700"},
        {"Column4", "1000"},   {"Column5", "1000"},  {"Column6", "2000"},
    };
    const std::string key = "SOFTWARE\\DUV\\ViewReport";
    PutSetting("ViewReport", "SaveSettings", "True");
    PutSetting("ViewReport", "ListView", "True");
    for (const auto& [name, value] : summary)
        PutSetting("ViewReport\\SummaryReport", name, value);
    for (const auto& [name, value] : details)
        PutSetting("ViewReport\\DetailReport", name, value);

    frmReport& report = Analyse();
    ASSERT_TRUE(report.mnuListView.Checked());
    Menu(report, report.mnuDetails);  // each view is shown, left and stored once
    Menu(report, report.mnuSummary);
    report.Unload();
    for (const auto& [name, value] : summary)
        EXPECT_EQ(RegText(key + "\\SummaryReport", name), value) << "summary " << name;
    for (const auto& [name, value] : details)
        EXPECT_EQ(RegText(key + "\\DetailReport", name), value) << "details " << name;

    // Opened again from what was stored, and a column dragged 10 pixels wider.
    frmMain::Get().RunCommand(MainCommand::ShowReport);
    Settle();
    frmReport& again = frmReport::Get();
    ASSERT_EQ(again.ListView1.ColumnWidth(2), 1000);
    HWND list = again.ListView1.hwnd();
    int pixels = ListView_GetColumnWidth(list, 1);
    ListView_SetColumnWidth(list, 1, pixels + 10);
    again.Unload();
    EXPECT_EQ(RegText(key + "\\SummaryReport", "Column1"),
              std::to_string(forms::PixelsToTwipsX(pixels + 10)));
    EXPECT_EQ(RegText(key + "\\SummaryReport", "Column2"), "1001");
    EXPECT_EQ(RegText(key + "\\SummaryReport", "WinLeft"), "100");
}

TEST_F(ReportWindow, OpeningAndClosingItAndTheViewerManyTimesLeavesNoGdiObjectsBehind) {
    Analyse().Unload();
    frmMain& main = frmMain::Get();
    auto openAndClose = [&main] {
        main.RunCommand(MainCommand::ShowReport);
        Settle();
        EXPECT_NE(frmReport::IfLoaded(), nullptr);
        frmReport::Get().Unload();
        Menu(main, main.mnuViewLog);
        EXPECT_NE(frmViewLog::IfLoaded(), nullptr);
        Menu(main, main.mnuViewLog);
        EXPECT_EQ(frmViewLog::IfLoaded(), nullptr);
    };
    openAndClose();  // what a first showing keeps for the program's run
    const int before = GdiObjects();
    for (int i = 0; i < 10; ++i)
        openAndClose();
    const int after = GdiObjects();
    EXPECT_LE(after - before, 4) << "GDI objects before " << before << ", after " << after;
}

}  // namespace
