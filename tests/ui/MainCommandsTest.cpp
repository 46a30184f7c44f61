// The main window's file commands: archives, saved reports, the recent list, clearing the
// log, help, read-me and exit.
#include "tests/ui/UiFixture.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "tests/support/Seams.h"
#include "ui/forms/Dialogs.h"
#include "ui/forms/Shell.h"

using MainWindowModel::MainControl;
using namespace uitest;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::string RecentValue(const std::string& name) {
    char text[512] = {};
    DWORD size = sizeof(text);
    if (RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\DUV\\RecentFiles", name.c_str(), RRF_RT_REG_SZ,
                     nullptr, text, &size) != ERROR_SUCCESS) {
        return "(none)";
    }
    return text;
}

class MainCommands : public ProgramTest {
protected:
    frmMain& Start() {
        WriteLog(OneSessionLog());
        StartProgram();
        Settle();
        return frmMain::Get();
    }

    // A file in a folder of its own under the test folder; returns its full path.
    std::string MakeFile(const std::string& subfolder, const std::string& name,
                         const std::string& contents) {
        std::string dir = folder_ + "\\" + subfolder;
        CreateDirectoryA(dir.c_str(), nullptr);
        std::string path = dir + "\\" + name;
        std::ofstream(path, std::ios::binary) << contents;
        return path;
    }

    std::vector<forms::FileDialogRequest> requests_;
    std::string chosen_;
    std::vector<std::string> opened_;
    bool shellWorks_ = true;
    std::vector<unsigned> helpCommands_;

private:
    test_support::ScopedSeam<forms::FileDialogFunction> dialog_{
        forms::SetFileDialogFunction,
        [this](const forms::FileDialogRequest& request) -> std::optional<forms::FileDialogResult> {
            requests_.push_back(request);
            if (chosen_.empty())
                return std::nullopt;
            size_t slash = chosen_.find_last_of('\\');
            return forms::FileDialogResult{chosen_, chosen_.substr(slash + 1)};
        }};
    test_support::ScopedSeam<forms::ShellOpenFunction> shell_{forms::SetShellOpenFunction,
                                                              [this](const std::string& target) {
                                                                  opened_.push_back(target);
                                                                  return shellWorks_;
                                                              }};
    test_support::ScopedSeam<forms::HelpFunction> help_{
        forms::SetHelpFunction,
        [this](const std::string&, unsigned command) { helpCommands_.push_back(command); }};
};

TEST_F(MainCommands, ArchiveModeAndBackToTheModemLog) {
    frmMain& main = Start();
    std::string archive = MakeFile("arch", "november.duv", OneSessionLog() + OneSessionLog());

    chosen_.clear();
    Menu(main, main.mnuOpenArchive);
    ASSERT_EQ(requests_.size(), 1u);
    EXPECT_FALSE(requests_[0].save);
    EXPECT_EQ(requests_[0].filter,
              "Duvelo Modem Log Archive (*.duv)|*.duv|Modem Log File (*.log, *.txt)|*.log;*.txt| "
              "All Files (*.*)|*.*");
    EXPECT_EQ(requests_[0].flags, 4096u);
    EXPECT_EQ(requests_[0].initialDir, DUVMain::AppPath);
    EXPECT_EQ(requests_[0].fileName, "");
    EXPECT_FALSE(DUVMain::ArchiveOpen) << "cancel changes nothing";
    EXPECT_EQ(DUVMain::LogFileTitle, "ModemLog.txt");
    EXPECT_EQ(DUVMain::RecentFiles[1].RecentFileName, "");

    chosen_ = archive;
    main.ToolbarMain.PerformClick(2);
    Settle();
    EXPECT_TRUE(DUVMain::ArchiveOpen);
    EXPECT_EQ(DUVMain::LogFileTitle, "november.duv");
    EXPECT_EQ(DUVMain::LogFileDir, folder_ + "\\arch\\");
    EXPECT_EQ(DUVMain::LogFilePath, archive);
    EXPECT_EQ(main.LabelLogEntries2.Text(), "6");
    EXPECT_EQ(main.mnuViewLog.Caption(), "&View Archive");
    EXPECT_EQ(main.btnViewLog.Text(), "&View Archive");
    EXPECT_EQ(main.mnuOptimize.Caption(), "&Optimize Archive");
    EXPECT_TRUE(main.mnuOptimize.Enabled());
    EXPECT_TRUE(main.ToolbarMain.ButtonEnabled(8));
    EXPECT_FALSE(main.mnuClearLog.Enabled());
    EXPECT_FALSE(main.ToolbarMain.ButtonEnabled(7));
    EXPECT_FALSE(main.mnuPurgeLog.Enabled());
    EXPECT_TRUE(main.ControlEnabled(MainControl::mnuOpenLog));
    EXPECT_EQ(main.mnuRecent[1].Caption(), "1.  november.duv");
    EXPECT_TRUE(main.mnuRecent[1].Visible());
    EXPECT_FALSE(main.mnuRecent[2].Visible());
    EXPECT_TRUE(main.mnuFileSeperator2.Visible());
    EXPECT_EQ(RecentValue("RecentFileType1"), "A");

    // A later refresh and activation leave Clear Modem Log off: the file is the archive.
    main.Refresh();
    main.Activate();
    Settle();
    EXPECT_FALSE(main.mnuClearLog.Enabled());
    EXPECT_FALSE(main.ToolbarMain.ButtonEnabled(7));
    std::string archiveBefore = ReadFile(archive);
    main.mnuClearLog_Click();
    EXPECT_EQ(ReadFile(archive), archiveBefore);
    EXPECT_EQ(BoxesTitled("Delete Modem Log"), 0);

    // A second archive keeps the modem log to return to.
    std::string second = MakeFile("arch2", "december.duv", OneSessionLog());
    chosen_ = second;
    Menu(main, main.mnuOpenArchive);
    EXPECT_EQ(DUVMain::LogFileTitle, "december.duv");
    EXPECT_EQ(main.OldModemLogFile, "ModemLog.txt");
    EXPECT_EQ(main.mnuRecent[1].Caption(), "1.  december.duv");
    EXPECT_EQ(main.mnuRecent[2].Caption(), "2.  november.duv");

    Menu(main, main.mnuOpenLog);
    EXPECT_FALSE(DUVMain::ArchiveOpen);
    EXPECT_EQ(DUVMain::LogFileTitle, "ModemLog.txt");
    EXPECT_EQ(DUVMain::LogFilePath, LogPath());
    EXPECT_EQ(main.LabelLogEntries2.Text(), "3");
    EXPECT_EQ(main.mnuViewLog.Caption(), "&View Modem Log");
    EXPECT_EQ(main.btnViewLog.Text(), "&View Modem Log");
    EXPECT_EQ(main.mnuOptimize.Caption(), "&Optimize Modem Log");
    EXPECT_TRUE(main.mnuClearLog.Enabled());
    EXPECT_TRUE(main.ToolbarMain.ButtonEnabled(7));
}

TEST_F(MainCommands, RecentListKeepsFiveEntriesByNameAndShortensCaptions) {
    frmMain& main = Start();
    const std::string longName = "a-very-long-archive-name-of-forty-c.duv";  // 39 characters
    std::vector<std::string> files = {
        MakeFile("one", "first.duv", OneSessionLog()),
        MakeFile("two", "second.duv", OneSessionLog()),
        MakeFile("three", longName, OneSessionLog()),
        MakeFile("four", "exactly-thirty-five-characters1.duv", OneSessionLog()),
        MakeFile("five", "fifth.duv", OneSessionLog()),
        MakeFile("six", "first.duv", OneSessionLog()),  // the same name in another folder
    };
    for (const std::string& file : files) {
        chosen_ = file;
        Menu(main, main.mnuOpenArchive);
    }
    EXPECT_EQ(DUVMain::RecentFiles[1].RecentFileName, "first.duv");
    EXPECT_EQ(DUVMain::RecentFiles[1].RecentFilePath, folder_ + "\\six\\");
    EXPECT_EQ(DUVMain::RecentFiles[2].RecentFileName, "fifth.duv");
    EXPECT_EQ(DUVMain::RecentFiles[3].RecentFileName, "exactly-thirty-five-characters1.duv");
    EXPECT_EQ(DUVMain::RecentFiles[4].RecentFileName, longName);
    EXPECT_EQ(DUVMain::RecentFiles[5].RecentFileName, "second.duv") << "the older first.duv went";
    EXPECT_EQ(RecentValue("RecentFileName5"), "second.duv");
    EXPECT_EQ(RecentValue("RecentFilePath1"), folder_ + "\\six\\");
    EXPECT_EQ(main.mnuRecent[3].Caption(), "3.  exactly-thirty-five-characters1.duv");
    EXPECT_EQ(main.mnuRecent[4].Caption(), "4.  " + longName.substr(0, 32) + "...");

    // A recent entry opens its file; one whose file has gone changes nothing.
    Menu(main, main.mnuRecent[4]);
    EXPECT_EQ(DUVMain::LogFileTitle, longName);
    EXPECT_EQ(main.mnuRecent[1].Caption(), "1.  " + longName.substr(0, 32) + "...");
    DeleteFileA(files[4].c_str());
    Menu(main, main.mnuRecent[3]);  // fifth.duv
    EXPECT_EQ(DUVMain::LogFileTitle, longName);
    EXPECT_EQ(DUVMain::RecentFiles[3].RecentFileName, "fifth.duv");
    ASSERT_FALSE(messages_->Calls().empty());
    EXPECT_NE(messages_->Calls().back().text.find("fifth.duv"), std::string::npos);
}

TEST_F(MainCommands, SavedReportOpensInTheViewerAndJoinsTheRecentList) {
    frmMain& main = Start();
    std::string report = MakeFile("reports", "Summary 02Nov26 - 02Nov26", "report\r\n");
    std::vector<std::pair<std::string, std::string>> viewed;
    test_support::ScopedSeam viewer(
        [](std::function<void()> view) {
            return frmMain::SetCommand(MainCommand::ViewReportFile, std::move(view));
        },
        std::function<void()>(
            [&] { viewed.emplace_back(DUVMain::TextFileTitle, DUVMain::TextFileDir); }));
    chosen_.clear();
    Menu(main, main.mnuOpenReport);
    ASSERT_EQ(requests_.size(), 1u);
    EXPECT_EQ(requests_[0].filter, "Duvelo Report (*.txt)|*.txt");
    EXPECT_EQ(requests_[0].flags, 4096u);
    EXPECT_TRUE(viewed.empty());
    EXPECT_EQ(DUVMain::TextFileTitle, "");

    chosen_ = report;
    Menu(main, main.mnuOpenReport);
    ASSERT_EQ(viewed.size(), 1u);
    EXPECT_EQ(viewed[0].first, "Summary 02Nov26 - 02Nov26");
    EXPECT_EQ(viewed[0].second, folder_ + "\\reports\\");
    EXPECT_EQ(DUVMain::TextFileTitle, "") << "the hand-over names are emptied";
    EXPECT_EQ(DUVMain::TextFileDir, "");
    EXPECT_EQ(DUVMain::RecentFiles[1].RecentFileType, "R");
    EXPECT_FALSE(DUVMain::ArchiveOpen);

    main.Activate();
    Settle();
    Menu(main, main.mnuRecent[1]);
    EXPECT_EQ(viewed.size(), 2u);
    EXPECT_EQ(viewed[1].first, "Summary 02Nov26 - 02Nov26");
}

TEST_F(MainCommands, ClearLogAsksAndMakesANewLog) {
    frmMain& main = Start();
    std::string before = ReadFile(LogPath());
    messages_->Answer(msg::No);
    main.ToolbarMain.PerformClick(7);
    Settle();
    ASSERT_EQ(BoxesTitled("Delete Modem Log"), 1);
    const MessageCall& ask = messages_->Calls().back();
    EXPECT_EQ(ask.text,
              "You are about to delete your modem log. Before clearing this log, \n"
              "you should save it as an archive if you haven't done so already.\n\n"
              "A new blank modem log file will be created for you but reports\n"
              "will not be available until after your next dial-up networking session\n\n"
              "Are you sure you want to delete your modem log?");
    EXPECT_EQ(ask.flags, msg::YesNo | 256);
    EXPECT_EQ(DUVMain::MessageAnswer, "7");
    EXPECT_EQ(ReadFile(LogPath()), before);

    messages_->Answer(msg::Yes);
    Menu(main, main.mnuClearLog);
    EXPECT_EQ(DUVMain::MessageAnswer, "6");
    ASSERT_GE(messages_->Calls().size(), 3u);
    const MessageCall& told = messages_->Calls()[2];
    EXPECT_EQ(told.text,
              "Current modem log has been deleted.\nNew blank modem log has been created!");
    EXPECT_EQ(told.title, "DUV");
    EXPECT_EQ(told.flags, msg::OkOnly);
    std::string fresh = ReadFile(LogPath());
    EXPECT_NE(fresh, before);
    ASSERT_GE(fresh.size(), 2u);
    EXPECT_EQ(fresh.find("\r\n"), fresh.size() - 2) << "one line";
    EXPECT_EQ(main.LabelLogEntries2.Text(), "1");
}

TEST_F(MainCommands, ClearLogTellsOfANewLogOnlyWhenOneWasMade) {
    frmMain& main = Start();
    std::string before = ReadFile(LogPath());
    std::vector<int> errors;
    test_support::ScopedSeam handler(runtime::SetErrorHandler, [&errors] {
        errors.push_back(runtime::Err().number);
        return runtime::kActionSkip;
    });
    // Another program holds the log and lets nobody replace it: the clear says so and the log
    // stays whole, with no work file left beside it.
    HANDLE held = CreateFileA(LogPath().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    messages_->Answer(msg::Yes);
    Menu(main, main.mnuClearLog);
    CloseHandle(held);

    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(messages_->Calls().size(), 2u);
    EXPECT_EQ(messages_->Calls()[1].text,
              "The modem log " + LogPath() + " could not be cleared; it is left as it was.");
    EXPECT_EQ(ReadFile(LogPath()), before);
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((windows_ + "\\*.tmp").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "work file left: " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE)
        FindClose(search);
    EXPECT_EQ(main.LabelLogEntries2.Text(), "3") << "the statistics are those of the kept log";

    // A log that has gone is the delete's file-not-found error; skipped, the new log is made.
    DeleteFileA(LogPath().c_str());
    messages_->Answer(msg::Yes);
    Menu(main, main.mnuClearLog);
    EXPECT_EQ(errors, std::vector<int>{53});
    EXPECT_EQ(messages_->Calls().back().text,
              "Current modem log has been deleted.\nNew blank modem log has been created!");
    EXPECT_EQ(main.LabelLogEntries2.Text(), "1");
}

TEST_F(MainCommands, HelpReadmeToolbarAndExit) {
    frmMain& main = Start();
    main.ToolbarMain_ButtonClick("Help");
    main.ToolbarMain_ButtonClick("Search Help");
    Menu(main, main.mnuHowToHelp);
    Menu(main, main.mnuTopics);
    Menu(main, main.mnsSearchHelp);
    EXPECT_EQ(helpCommands_, (std::vector<unsigned>{3, 11, 4, 3, 11}));
    main.ToolbarMain_ButtonClick("help");  // keys compare exactly
    main.ToolbarMain_ButtonClick("Nothing");
    EXPECT_EQ(helpCommands_.size(), 5u);

    Menu(main, main.mnuReadme);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], DUVMain::AppPath + "\\readme.htm");
    shellWorks_ = false;
    Menu(main, main.mnuReadme);
    ASSERT_EQ(messages_->Calls().size(), 1u);
    EXPECT_EQ(messages_->Calls()[0].text, "Unable to open your 'Readme' file");

    main.ToolbarMain_ButtonClick("Exit");
    Settle();
    EXPECT_EQ(frmMain::IfLoaded(), nullptr) << "Exit ends the program without asking";
    EXPECT_EQ(messages_->Calls().size(), 1u);
}

}  // namespace
