// The log viewer opened from the main window: its modes, editing and saving, settings on
// closing, archives, large logs, and the Find window.
#include "tests/ui/UiFixture.h"

#include <commctrl.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

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

// The status bar's panels as the control itself holds them, left to right.
std::vector<std::string> ShownPanels(const frmViewLog& viewer) {
    HWND bar = viewer.StatusBar1.hwnd();
    const int parts = static_cast<int>(SendMessageA(bar, SB_GETPARTS, 0, 0));
    std::vector<std::string> texts;
    for (int part = 0; part < parts; ++part) {
        char text[256] = {};
        SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
        texts.emplace_back(text);
    }
    return texts;
}

// Undo as the user asks for it: Ctrl+Z in the text box, then the undo message itself.
void Undo(frmViewLog& viewer) {
    HWND box = viewer.TextViewLog.hwnd();
    SetFocus(box);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(box, WM_KEYDOWN, 'Z', 0);
    Settle();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    SendMessageA(box, WM_UNDO, 0, 0);
    Settle();
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
    // Another program holds the log open, sharing only reading: it cannot be replaced.
    HANDLE LockLog() {
        HANDLE lock = CreateFileA(LogPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(lock, INVALID_HANDLE_VALUE);
        return lock;
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
    // The panels from the left: font, edit state, CAPS, NUM, INS, SCRL, and the rest.
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CAPITAL] = 1;
    keys[VK_NUMLOCK] = keys[VK_INSERT] = 0;
    keys[VK_SCROLL] = 1;
    SetKeyboardState(keys);
    viewer.StatusUpdate();
    keys[VK_CAPITAL] = keys[VK_SCROLL] = 0;
    SetKeyboardState(keys);
    EXPECT_EQ(ShownPanels(viewer), (std::vector<std::string>{"MS Sans Serif 8", "Edit Allowed",
                                                             "CAPS", "", "INS", "SCRL", ""}));

    viewer.mnuBottom.Click();
    TypeChar(viewer, 'X');
    EXPECT_TRUE(viewer.mnuSave.Enabled());
    EXPECT_TRUE(viewer.Toolbar1.ButtonEnabled(viewer.ToolbarPosition(frmViewLog::Command::Save)));
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

TEST_F(ViewLogWindow, TheMainWindowsToolbarAndRecentFilesFollowTheViewerInEachMode) {
    WriteLog(Log());
    std::ofstream(folder_ + "\\November.duv", std::ios::binary) << Log();
    std::ofstream(folder_ + "\\Summary.txt", std::ios::binary) << "Report line\r\n";
    StartProgram();
    frmMain& main = frmMain::Get();
    auto button = [&](MainCommand command) {
        return main.ToolbarMain.ButtonEnabled(main.ToolbarPosition(command));
    };
    // The buttons the viewer switches sit where the toolbar always had them.
    EXPECT_EQ(main.ToolbarPosition(MainCommand::OpenArchive), 2);
    EXPECT_EQ(main.ToolbarPosition(MainCommand::ViewLog), 6);
    EXPECT_EQ(main.ToolbarPosition(MainCommand::ClearLog), 7);
    EXPECT_EQ(main.ToolbarPosition(MainCommand::Optimize), 8);

    frmViewLog& viewer = OpenViewer();
    for (MainCommand command :
         {MainCommand::OpenArchive, MainCommand::ClearLog, MainCommand::Optimize})
        EXPECT_FALSE(button(command)) << static_cast<int>(command);
    EXPECT_TRUE(button(MainCommand::ViewLog));
    EXPECT_FALSE(main.mnuRecent[1].Enabled());
    EXPECT_FALSE(main.mnuPurgeLog.Enabled());
    viewer.Unload();
    for (MainCommand command : {MainCommand::OpenArchive, MainCommand::ClearLog,
                                MainCommand::Optimize, MainCommand::ViewLog})
        EXPECT_TRUE(button(command)) << static_cast<int>(command);
    EXPECT_TRUE(main.mnuRecent[1].Enabled());
    EXPECT_TRUE(main.mnuPurgeLog.Enabled());
    EXPECT_FALSE(main.mnuOpenLog.Enabled());

    main.OpenArchive(folder_ + "\\", "November.duv");
    frmViewLog& archive = OpenViewer();
    EXPECT_EQ(main.mnuViewLog.Caption(), "&Close Archive");
    EXPECT_FALSE(main.mnuOpenLog.Enabled());
    archive.Unload();
    EXPECT_EQ(main.mnuViewLog.Caption(), "&View Archive");
    EXPECT_EQ(main.mnuOptimize.Caption(), "&Optimize Archive");
    EXPECT_TRUE(main.mnuOpenLog.Enabled()) << "the default log opens again";
    EXPECT_FALSE(button(MainCommand::ClearLog)) << "an archive is never cleared";
    EXPECT_FALSE(main.mnuPurgeLog.Enabled());

    main.DoOpenReport(folder_ + "\\", "Summary.txt");
    ASSERT_NE(frmViewLog::IfLoaded(), nullptr);
    EXPECT_FALSE(button(MainCommand::ViewLog));
    EXPECT_FALSE(main.btnViewLog.Enabled());
    EXPECT_FALSE(main.mnuRecent[1].Enabled());
    EXPECT_TRUE(button(MainCommand::Optimize)) << "a text file leaves the log's commands";
    frmViewLog::IfLoaded()->Unload();
    EXPECT_TRUE(button(MainCommand::ViewLog));
    EXPECT_TRUE(main.btnViewLog.Enabled());
    EXPECT_TRUE(main.mnuRecent[1].Enabled());
}

TEST_F(ViewLogWindow, LockedWithoutEditLogOrWithNulBytesAndSaveOnExitKeepsTheFont) {
    // A log with NUL bytes is refused as corrupt at start-up: it changes while the program runs.
    WriteLog(Log());
    StartProgram();
    WriteLog(Log() + std::string("damaged\0byte\r\n", 14));
    frmViewLog& viewer = OpenViewer();
    EXPECT_TRUE(viewer.TextViewLog.Locked()) << "a file with NUL bytes opens locked";
    EXPECT_EQ(ShownPanels(viewer).at(1), "Locked");
    EXPECT_FALSE(viewer.mnuPaste.Enabled());
    EXPECT_TRUE(viewer.mnuCopy.Enabled());
    EXPECT_NE(viewer.TextViewLog.PlainText().find("damaged byte"), std::string::npos);
    test_support::ScopedSeam font(forms::SetFontDialogFunction, [](const forms::FontChoice&) {
        return forms::FontChoice{"Arial", 12, true, false};
    });
    viewer.mnuFont.Click();
    EXPECT_EQ(ShownPanels(viewer).at(0), "Arial 12 Bold");
    viewer.mnuSaveSettings.Click();
    viewer.Unload();
    EXPECT_EQ(StoredDword("FontSize"), 12u);
    EXPECT_EQ(StoredDword("FontBold"), 0xFFFFFFFFu);
    EXPECT_EQ(ReadAll(LogPath()).size(), Log().size() + 14) << "never written back";

    DUVMain::EditLog = false;
    frmViewLog& again = OpenViewer();
    WriteLog(Log());
    again.mnuRestore.Click();
    EXPECT_EQ(ShownPanels(again).at(0), "MS Sans Serif 8");
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

TEST_F(ViewLogWindow, EscClosesFindAsCancelDoes) {
    WriteLog(Log());
    StartProgram();
    frmViewLog& viewer = OpenViewer();
    bool closed = false;
    test_support::ScopedSeam modal(forms::SetModalHook, [&](forms::Form& form) {
        auto& find = static_cast<frmFind&>(form);
        find.Text1.SetText("hanging");
        PressKey(find.Text1, VK_ESCAPE);
        closed = frmFind::IfLoaded() == nullptr;
        if (!closed)
            PressButton(find.cmdcancel);
    });
    viewer.mnuSearchFind.Click();
    EXPECT_TRUE(closed) << "Esc left the Find window open";
    EXPECT_EQ(DUVMain::SearchText, "hanging") << "kept for Find Next, as Cancel keeps it";
    DUVMain::SearchText.clear();
}

TEST_F(ViewLogWindow, UndoRightAfterOpeningLeavesTheTextAndSaveAsTheyWereInEveryMode) {
    WriteLog(Log());
    const std::string archiveText = Log() + Log();
    std::ofstream(folder_ + "\\November.duv", std::ios::binary) << archiveText;
    std::ofstream(folder_ + "\\Summary.txt", std::ios::binary) << "Report line\r\n";
    StartProgram();
    frmMain& main = frmMain::Get();
    auto undoneNothing = [](frmViewLog& viewer, const std::string& text) {
        Undo(viewer);
        EXPECT_EQ(viewer.TextViewLog.PlainText(), text);
        EXPECT_FALSE(viewer.mnuSave.Enabled());
        EXPECT_FALSE(
            viewer.Toolbar1.ButtonEnabled(viewer.ToolbarPosition(frmViewLog::Command::Save)));
        viewer.Unload();
    };
    undoneNothing(OpenViewer(), Log());  // the modem log, editable
    DUVMain::EditLog = false;
    undoneNothing(OpenViewer(), Log());  // locked
    DUVMain::EditLog = true;
    main.OpenArchive(folder_ + "\\", "November.duv");
    ASSERT_TRUE(DUVMain::ArchiveOpen);
    undoneNothing(OpenViewer(), archiveText);
    main.DoOpenReport(folder_ + "\\", "Summary.txt");
    ASSERT_NE(frmViewLog::IfLoaded(), nullptr);
    undoneNothing(*frmViewLog::IfLoaded(), "Report line\r\n");
    EXPECT_TRUE(messages_->Calls().empty()) << "no save question at any close";
    EXPECT_EQ(ReadAll(LogPath()), Log());
    EXPECT_EQ(ReadAll(folder_ + "\\November.duv"), archiveText);

    // Undo still takes back what the user typed.
    frmViewLog& viewer = OpenViewer();
    viewer.mnuBottom.Click();
    TypeChar(viewer, 'X');
    ASSERT_NE(viewer.TextViewLog.PlainText(), archiveText);
    Undo(viewer);
    EXPECT_EQ(viewer.TextViewLog.PlainText(), archiveText);
    messages_->Answer(msg::No);
    viewer.Unload();
}

TEST_F(ViewLogWindow, AFailedSaveAtClosingKeepsTheViewerOpenWithTheEdits) {
    WriteLog(Log());
    StartProgram();
    frmMain& main = frmMain::Get();
    frmViewLog& viewer = OpenViewer();
    viewer.mnuBottom.Click();
    TypeChar(viewer, 'X');
    const std::string edited = viewer.TextViewLog.PlainText();
    ASSERT_NE(edited, Log());
    HANDLE lock = LockLog();
    for (int attempt = 0; attempt < 2; ++attempt) {
        messages_->Answer(msg::Yes);
        messages_->Answer(msg::Ok);
        if (attempt == 0)
            EXPECT_FALSE(viewer.Unload());
        else
            Menu(main, main.mnuViewLog);  // the main window's close command
        ASSERT_EQ(frmViewLog::IfLoaded(), &viewer) << "the viewer stays open";
        ASSERT_EQ(messages_->Calls().size(), 2u * (attempt + 1));
        EXPECT_EQ(messages_->Calls().back().text,
                  "The file " + LogPath() + " could not be written; it is left as it was.");
        EXPECT_EQ(viewer.TextViewLog.PlainText(), edited);
        EXPECT_TRUE(viewer.mnuSave.Enabled());
        EXPECT_TRUE(DUVMain::ViewingLog);
        EXPECT_EQ(main.btnViewLog.Text(), "&Close Modem Log");
        EXPECT_EQ(ReadAll(LogPath()), Log());
    }
    // Once the file can be written, the same close saves the edits and closes.
    CloseHandle(lock);
    messages_->Answer(msg::Yes);
    EXPECT_TRUE(viewer.Unload());
    EXPECT_EQ(frmViewLog::IfLoaded(), nullptr);
    EXPECT_EQ(ReadAll(LogPath()), edited + "\r\n");
    EXPECT_EQ(main.btnViewLog.Text(), "&View Modem Log");
}

TEST_F(ViewLogWindow, ExitAndTheMainWindowsCloseAfterAFailedSaveKeepBothWindowsAndTheEdits) {
    WriteLog(Log());
    StartProgram();
    frmMain& main = frmMain::Get();
    frmViewLog& viewer = OpenViewer();
    viewer.mnuBottom.Click();
    TypeChar(viewer, 'X');
    const std::string edited = viewer.TextViewLog.PlainText();
    int ended = 0;
    test_support::ScopedSeam end(DUVMain::SetProcessEnd, [&] { ++ended; });
    HANDLE lock = LockLog();
    const std::function<void()> closes[] = {
        [&] { Menu(main, main.mnuExit); },
        [&] {
            SendMessageA(main.hwnd(), WM_SYSCOMMAND, SC_CLOSE, 0);  // the close box
            Settle();
        },
    };
    size_t asked = 0;
    for (const auto& close : closes) {
        messages_->Answer(msg::Yes);
        messages_->Answer(msg::Ok);
        close();
        ASSERT_EQ(frmMain::IfLoaded(), &main);
        ASSERT_EQ(frmViewLog::IfLoaded(), &viewer);
        EXPECT_EQ(ended, 0);
        ASSERT_EQ(messages_->Calls().size(), asked + 2) << "the question once, then the failure";
        EXPECT_EQ(messages_->Calls()[asked].text, "Save Changes to Modem Log File?");
        asked += 2;
        EXPECT_EQ(viewer.TextViewLog.PlainText(), edited);
        EXPECT_TRUE(viewer.mnuSave.Enabled());
        EXPECT_TRUE(IsWindowVisible(main.hwnd()));
        EXPECT_EQ(main.btnViewLog.Text(), "&Close Modem Log");
        EXPECT_EQ(ReadAll(LogPath()), Log());
    }
    // Once the file can be written, Exit saves the edits and ends.
    CloseHandle(lock);
    messages_->Answer(msg::Yes);
    Menu(main, main.mnuExit);
    EXPECT_EQ(messages_->Calls().size(), asked + 1);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(frmViewLog::IfLoaded(), nullptr);
    EXPECT_EQ(frmMain::IfLoaded(), nullptr);
    EXPECT_EQ(ReadAll(LogPath()), edited + "\r\n");
}

TEST_F(ViewLogWindow, TheEndOnAnErrorAsksOnceAndEndsEvenWhenTheSaveFails) {
    WriteLog(Log());
    StartProgram();
    frmViewLog& viewer = OpenViewer();
    viewer.mnuBottom.Click();
    TypeChar(viewer, 'X');
    int ended = 0;
    test_support::ScopedSeam end(DUVMain::SetProcessEnd, [&] { ++ended; });
    HANDLE lock = LockLog();
    messages_->Answer(msg::Yes);
    messages_->Answer(msg::Ok);
    DUVMain::EndProgram();
    CloseHandle(lock);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(messages_->Calls().size(), 2u) << "the question once, then the failure";
    EXPECT_EQ(frmViewLog::IfLoaded(), nullptr);
    EXPECT_EQ(frmMain::IfLoaded(), nullptr);
    EXPECT_EQ(ReadAll(LogPath()), Log());
}

TEST_F(ViewLogWindow, FlatToolbarsAndTheStoredWindowStateApplyAtOpening) {
    WriteLog(Log());
    StartProgram();
    auto flat = [](frmViewLog& viewer) {
        return (SendMessageA(viewer.Toolbar1.hwnd(), TB_GETSTYLE, 0, 0) & TBSTYLE_FLAT) != 0;
    };
    DUVMain::FlatToolbars = false;
    frmViewLog& plain = OpenViewer();
    EXPECT_FALSE(flat(plain));
    EXPECT_FALSE(IsIconic(plain.hwnd()) || IsZoomed(plain.hwnd()));
    plain.Unload();

    DUVMain::FlatToolbars = true;
    DUVMain::ViewLogWinState = 1;
    frmViewLog& minimized = OpenViewer();
    EXPECT_TRUE(flat(minimized));
    EXPECT_TRUE(IsIconic(minimized.hwnd()));
    minimized.Unload();

    DUVMain::ViewLogWinState = 2;
    frmViewLog& maximized = OpenViewer();
    EXPECT_TRUE(IsZoomed(maximized.hwnd()));
    maximized.Unload();
}

}  // namespace
