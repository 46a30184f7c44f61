// The log viewer opened from the main window: its modes, editing and saving, settings on
// closing, archives, large logs, and the Find window.
#include "tests/ui/UiFixture.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

#include "core/GeneralFunctions.h"
#include "tests/support/Seams.h"
#include "ui/forms/Dialogs.h"
#include "ui/logs/frmFind.h"
#include "ui/logs/frmViewLog.h"

using namespace uitest;

namespace {

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string Log() {
    std::string log;
    log += LogLine(11, 2, 2026, 9, 0, 0, "Recv: ATDT0123456<cr>") + "\r\n";
    log += LogLine(11, 2, 2026, 9, 0, 20, "Connection established at 28800bps.") + "\r\n";
    log += LogLine(11, 3, 2026, 9, 30, 0, "CONNECTION ESTABLISHED at 33600bps.") + "\r\n";
    return log;
}

DWORD StoredDword(const char* name) {
    DWORD value = 0xFFFF, size = sizeof(value);
    RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\DUV\\ViewLog", name, RRF_RT_REG_DWORD, nullptr,
                 &value, &size);
    return value;
}

class ViewLogWindow : public ProgramTest {
protected:
    frmViewLog& OpenViewer() {
        Menu(frmMain::Get(), frmMain::Get().mnuViewLog);
        frmViewLog* viewer = frmViewLog::IfLoaded();
        if (!viewer)
            throw std::runtime_error("the viewer did not open");
        return *viewer;
    }
    void TypeChar(frmViewLog& viewer, char c) {
        viewer.TextViewLog.SetFocus();
        SendMessageA(viewer.TextViewLog.hwnd(), WM_CHAR, static_cast<unsigned char>(c), 0);
        Settle();
    }
};

TEST_F(ViewLogWindow, ModemLogOpensFromTheMainWindowIsEditedSavedAndGivesTheMainWindowBack) {
    WriteLog(Log());
    StartProgram();
    frmMain& main = frmMain::Get();
    frmViewLog& viewer = OpenViewer();
    EXPECT_EQ(viewer.Caption(), "DUV - View Modem Log");
    EXPECT_EQ(main.btnViewLog.Text(), "&Close Modem Log");
    for (forms::MenuItem* item : {&main.mnuOpenReport, &main.mnuClearLog, &main.mnuOpenArchive,
                                  &main.mnuOpenLog, &main.mnuOptimize})
        EXPECT_FALSE(item->Enabled());
    EXPECT_EQ(viewer.TextViewLog.PlainText(), Log());
    EXPECT_FALSE(viewer.mnuSave.Enabled());
    EXPECT_EQ(viewer.StatusBar1.PanelText(1), "MS Sans Serif 8");
    EXPECT_EQ(viewer.StatusBar1.PanelText(2), "Edit Allowed");

    viewer.mnuBottom.Click();
    TypeChar(viewer, 'X');
    EXPECT_TRUE(viewer.mnuSave.Enabled());
    EXPECT_TRUE(viewer.Toolbar1.ButtonEnabled(frmViewLog::KeySave));
    // The main window now analyses something else: the save still goes to the file shown.
    const std::string shown = LogPath();
    DUVMain::LogFilePath = folder_ + "\\elsewhere.txt";
    messages_->Answer(msg::Yes);
    Menu(main, main.mnuViewLog);  // closes the viewer
    EXPECT_EQ(frmViewLog::IfLoaded(), nullptr);
    ASSERT_GE(messages_->Calls().size(), 1u);
    EXPECT_EQ(messages_->Calls().back().text, "Save Changes to Modem Log File?");
    std::string expected = Log();
    expected.insert(expected.size() - 2, "X");  // the caret was at the end of the last line
    EXPECT_EQ(ReadAll(shown), expected + "\r\n");
    EXPECT_FALSE(GeneralFunctions::FileExists(DUVMain::LogFilePath));
    EXPECT_EQ(main.btnViewLog.Text(), "&View Modem Log");
    EXPECT_TRUE(main.mnuOpenReport.Enabled());
    EXPECT_TRUE(main.mnuClearLog.Enabled());
    EXPECT_EQ(StoredDword("SaveSettings"), 0u) << "Save on Exit is off by default";
}

TEST_F(ViewLogWindow, LockedWithoutEditLogOrWithNulBytesAndSaveOnExitKeepsTheFont) {
    // A log with NUL bytes is refused as corrupt at start-up: it changes while the program runs.
    WriteLog(Log());
    StartProgram();
    WriteLog(Log() + std::string("damaged\0byte\r\n", 14));
    frmViewLog& viewer = OpenViewer();
    EXPECT_TRUE(viewer.TextViewLog.Locked()) << "a file with NUL bytes opens locked";
    EXPECT_EQ(viewer.StatusBar1.PanelText(2), "Locked");
    EXPECT_FALSE(viewer.mnuPaste.Enabled());
    EXPECT_TRUE(viewer.mnuCopy.Enabled());
    EXPECT_NE(viewer.TextViewLog.PlainText().find("damaged byte"), std::string::npos);
    test_support::ScopedSeam font(forms::SetFontDialogFunction, [](const forms::FontChoice&) {
        return forms::FontChoice{"Arial", 12, true, false};
    });
    viewer.mnuFont.Click();
    EXPECT_EQ(viewer.StatusBar1.PanelText(1), "Arial 12 Bold");
    viewer.mnuSaveSettings.Click();
    viewer.Unload();
    EXPECT_EQ(StoredDword("FontSize"), 12u);
    EXPECT_EQ(StoredDword("FontBold"), 0xFFFFFFFFu);
    EXPECT_EQ(ReadAll(LogPath()).size(), Log().size() + 14) << "never written back";

    DUVMain::EditLog = false;
    frmViewLog& again = OpenViewer();
    WriteLog(Log());
    again.mnuRestore.Click();
    EXPECT_EQ(again.StatusBar1.PanelText(1), "MS Sans Serif 8");
    EXPECT_FALSE(again.mnuSaveSettings.Checked());
    EXPECT_FALSE(again.mnuCut.Enabled());
}

TEST_F(ViewLogWindow, SavedReportOpensReadOnlyWithoutChangingTheEditOption) {
    WriteLog(Log());
    StartProgram();
    std::ofstream(folder_ + "\\Summary.txt", std::ios::binary) << "Report line\r\n";
    frmMain& main = frmMain::Get();
    main.DoOpenReport(folder_ + "\\", "Summary.txt");
    frmViewLog* viewer = frmViewLog::IfLoaded();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->Caption(), "DUV - View Text File (Summary.txt)");
    EXPECT_TRUE(viewer->TextViewLog.Locked());
    EXPECT_FALSE(viewer->mnuSaveArchive.Enabled());
    EXPECT_FALSE(main.mnuViewLog.Enabled());
    EXPECT_TRUE(DUVMain::EditLog);
    viewer->Unload();
    EXPECT_TRUE(main.mnuViewLog.Enabled());
    EXPECT_TRUE(main.mnuOpenReport.Enabled());
}

TEST_F(ViewLogWindow, ArchiveTakesTheLogsDatesAsItsNameAndALargeLogOpensWhole) {
    std::string big;
    while (big.size() < 6 * 1024 * 1024)
        big += Log();
    WriteLog(big);
    StartProgram();
    frmViewLog& viewer = OpenViewer();
    EXPECT_EQ(viewer.TextViewLog.PlainText().size(), big.size());
    forms::FileDialogRequest asked;
    const std::string archive = folder_ + "\\02Nov26 - 03Nov26.duv";
    test_support::ScopedSeam dialog(
        forms::SetFileDialogFunction, [&](const forms::FileDialogRequest& request) {
            asked = request;
            return std::optional<forms::FileDialogResult>(
                forms::FileDialogResult{archive, "02Nov26 - 03Nov26.duv"});
        });
    viewer.mnuSaveArchive.Click();
    EXPECT_EQ(asked.fileName, "02Nov26 - 03Nov26");
    EXPECT_EQ(asked.filter, "Duvelo Modem Log Archive (*.duv)|*.duv");
    EXPECT_EQ(ReadAll(archive), big + "\r\n");
}

TEST_F(ViewLogWindow, FindDownUpWithAndWithoutCaseThenCannotFind) {
    WriteLog(Log());
    StartProgram();
    frmViewLog& viewer = OpenViewer();
    const std::string text = viewer.TextViewLog.ControlText();
    int round = 0;
    test_support::ScopedSeam modal(forms::SetModalHook, [&](forms::Form& form) {
        auto& find = static_cast<frmFind&>(form);
        if (round++ == 0) {
            EXPECT_FALSE(find.cmdFind.Enabled());
            find.Text1.SetText("connection established");
            EXPECT_TRUE(find.cmdFind.Enabled());
        }
        PressButton(find.cmdFind);
        if (frmFind::IfLoaded())
            PressButton(find.cmdcancel);
    });
    viewer.mnuSearchFind.Click();
    const long long first = viewer.TextViewLog.SelStart();
    EXPECT_EQ(first, static_cast<long long>(text.find("Connection established")));
    viewer.mnuSearchFindNext.Click();
    EXPECT_EQ(viewer.TextViewLog.SelStart(), static_cast<long long>(text.find("CONNECTION")));
    viewer.mnuSearchFindNext.Click();
    ASSERT_EQ(messages_->Calls().size(), 1u);
    EXPECT_EQ(messages_->Calls()[0].text, "Cannot find \"connection established\"");

    DUVMain::SearchDirection = 0;  // up, from the second match: the first
    viewer.mnuSearchFindNext.Click();
    EXPECT_EQ(viewer.TextViewLog.SelStart(), first);
    DUVMain::SearchMatchCase = 1;
    DUVMain::SearchDirection = 1;
    viewer.TextViewLog.SetSel(0, 0);
    DUVMain::SearchText = "CONNECTION";
    DUVMain::SearchIsNew = true;
    viewer.mnuSearchFindNext.Click();
    EXPECT_EQ(viewer.TextViewLog.SelStart(), static_cast<long long>(text.find("CONNECTION")));
    DUVMain::SearchMatchCase = 0;
    DUVMain::SearchText.clear();
}

}  // namespace
