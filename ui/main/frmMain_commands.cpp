// The main window's commands: toolbar dispatch, the file being analysed (modem log or archive),
// saved reports, the recent list, clearing the log, help, read-me and exit.
#include "ui/main/frmMain.h"

#include <array>

#include "core/Clock.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/ErrorHandler.h"
#include "core/GeneralFunctions.h"
#include "core/LogFile.h"
#include "core/MessageBox.h"
#include "core/SafeWrite.h"
#include "core/RuntimeError.h"
#include "core/UserFeedback.h"
#include "ui/forms/Dialogs.h"
#include "ui/forms/Shell.h"
#include "ui/logs/frmReport.h"
#include "ui/logs/frmViewLog.h"
#include "ui/main/frmAbout.h"
#include "ui/main/frmTip.h"
#include "ui/options/frmSetup.h"

namespace {

// What other windows hand over for the commands they serve.
std::array<std::function<void()>, static_cast<size_t>(MainCommand::Count)>& Served() {
    static std::array<std::function<void()>, static_cast<size_t>(MainCommand::Count)> served;
    return served;
}

constexpr unsigned long kFileMustExist = 0x1000;  // OFN_FILEMUSTEXIST
constexpr unsigned kHelpContents = 3;
constexpr unsigned kHelpOnHelp = 4;
constexpr unsigned kHelpFinder = 11;

}  // namespace

void frmMain::DefineCommands() {
    using C = MainCommand;
    auto call = [this](void (frmMain::*procedure)()) {
        return [this, procedure] { (this->*procedure)(); };
    };
    auto recent = [this](int index) { return [this, index] { mnuRecent_Click(index); }; };
    // command, menu item, toolbar key, procedure (none: served by another window)
    commands_.Define(
        {
            {C::OpenLog, "OpenLog", &mnuOpenLog, nullptr, call(&frmMain::mnuOpenLog_Click)},
            {C::OpenArchive, "OpenArchive", &mnuOpenArchive, "Open Archive",
             call(&frmMain::mnuOpenArchive_Click)},
            {C::OpenReport, "OpenReport", &mnuOpenReport, nullptr,
             call(&frmMain::mnuOpenReport_Click)},
            {C::Setup, "Setup", &mnuSetup, "Setup", call(&frmMain::mnuSetup_Click)},
            {C::Recent1, "Recent1", &mnuRecent[1], nullptr, recent(1)},
            {C::Recent2, "Recent2", &mnuRecent[2], nullptr, recent(2)},
            {C::Recent3, "Recent3", &mnuRecent[3], nullptr, recent(3)},
            {C::Recent4, "Recent4", &mnuRecent[4], nullptr, recent(4)},
            {C::Exit, "Exit", &mnuExit, "Exit", call(&frmMain::mnuExit_Click)},
            {C::ViewLog, "ViewLog", &mnuViewLog, "View Modem Log"},
            {C::ClearLog, "ClearLog", &mnuClearLog, "Clear Modem Log",
             call(&frmMain::mnuClearLog_Click)},
            {C::PurgeLog, "PurgeLog", &mnuPurgeLog, nullptr},
            {C::Optimize, "Optimize", &mnuOptimize, "Optimize Modem Log",
             call(&frmMain::mnuOptimize_Click)},
            {C::RepairLog, "RepairLog", &mnuRepairLog, "Repair Modem Log"},
            {C::Today, "Today", &mnuToday, "Today", call(&frmMain::mnuToday_Click)},
            {C::PlusWeek, "PlusWeek", &mnuPlusWeek, nullptr, call(&frmMain::mnuPlusWeek_Click)},
            {C::MinusWeek, "MinusWeek", &mnuMinusWeek, nullptr, call(&frmMain::mnuMinusWeek_Click)},
            {C::PlusMonth, "PlusMonth", &mnuPlusMonth, nullptr, call(&frmMain::mnuPlusMonth_Click)},
            {C::MinusMonth, "MinusMonth", &mnuMinusMonth, nullptr,
             call(&frmMain::mnuMinusMonth_Click)},
            {C::LogStart, "LogStart", &mnuLogStart, "First Entry",
             call(&frmMain::mnuLogStart_Click)},
            {C::LogEnd, "LogEnd", &mnuLogEnd, "Last Entry", call(&frmMain::mnuLogEnd_Click)},
            {C::DefaultDate, "DefaultDate", &mnuDefaultDate, nullptr,
             call(&frmMain::mnuDefaultDate_Click)},
            {C::Topics, "Topics", &mnuTopics, "Help", call(&frmMain::mnuTopics_Click)},
            {C::Readme, "Readme", &mnuReadme, nullptr, call(&frmMain::mnuReadme_Click)},
            {C::SearchHelp, "SearchHelp", &mnsSearchHelp, "Search Help",
             call(&frmMain::mnsSearchHelp_Click)},
            {C::HowToHelp, "HowToHelp", &mnuHowToHelp, nullptr, call(&frmMain::mnuHowToHelp_Click)},
            {C::About, "About", &mnuAbout, "About DUV"},
            {C::Tip, "Tip"},
            {C::ShowReport, "ShowReport"},
            {C::ViewReportFile, "ViewReportFile"},
        },
        [](MainCommand command) { return &Served()[static_cast<size_t>(command)]; });
}

void frmMain::SetCommand(MainCommand command, std::function<void()> procedure) {
    Served()[static_cast<size_t>(command)] = std::move(procedure);
}

void frmMain::RunCommand(MainCommand command) { commands_.Run(command); }

void frmMain::ToolbarMain_ButtonClick(const std::string& key) { commands_.RunKey(key); }

void frmMain::BuildRecentMenu() {
    bool anyShown = false;
    for (int i = 1; i <= 4; ++i) {
        const std::string& name = DUVMain::RecentFiles[i].RecentFileName;
        if (name.empty()) {
            mnuRecent[i].SetVisible(false);
        } else {
            mnuRecent[i].SetCaption(MainWindowModel::RecentCaption(i, name));
            mnuRecent[i].SetVisible(true);
            anyShown = true;
        }
    }
    mnuFileSeperator2.SetVisible(anyShown);
    // Runs at every activation: a refresh in archive mode must not leave Clear Modem Log on,
    // since the file being analysed is then the archive.
    if (DUVMain::ArchiveOpen) {
        mnuClearLog.SetEnabled(false);
        ToolbarMain.SetButtonEnabled(7, false);
    }
}

void frmMain::mnuRecent_Click(int index) {
    const RecentFileRecord& entry = DUVMain::RecentFiles[index];
    if (entry.RecentFileType == "A") {
        OpenArchive(entry.RecentFilePath, entry.RecentFileName);
    } else if (entry.RecentFileType == "R") {
        DoOpenReport(entry.RecentFilePath, entry.RecentFileName);
    }
}

void frmMain::mnuOpenLog_Click() {
    DUVMain::LogFileTitle = OldModemLogFile;
    DUVMain::LogFileDir = OldModemLogDir;
    DUVMain::LogFilePath = OldModemLogPath;
    runtime::Guard([] { DUVMain::GetLogStats(false); });
    DUVMain::ArchiveOpen = false;
    Refresh();
    mnuViewLog.SetCaption("&View Modem Log");
    btnViewLog.SetText("&View Modem Log");
    mnuOptimize.SetCaption("&Optimize Modem Log");
}

void frmMain::OpenArchive(const std::string& folder, const std::string& fileName) {
    std::string title;
    std::string path;
    std::string dir;
    if (folder.empty()) {
        forms::FileDialogRequest request;
        request.initialDir = DUVMain::AppPath;
        request.filter =
            "Duvelo Modem Log Archive (*.duv)|*.duv|Modem Log File (*.log, *.txt)|*.log;*.txt| All "
            "Files (*.*)|*.*";
        request.flags = kFileMustExist;
        auto chosen = forms::ShowFileDialog(request);
        if (!chosen) {
            return;  // cancelled: nothing changes
        }
        title = chosen->fileTitle;
        path = chosen->fileName;
        dir = path.substr(0, path.size() >= title.size() ? path.size() - title.size() : 0);
    } else {
        title = fileName;
        dir = folder;
        path = folder + fileName;
        if (!GeneralFunctions::FileExists(path)) {
            // A recent entry whose file has gone: keep the file being analysed.
            ShowMessage("The file " + path + " could not be found.", msg::OkOnly);
            return;
        }
    }
    forms::BusyCursor busy;
    forms::PumpMessages();
    if (!DUVMain::ArchiveOpen) {
        OldModemLogFile = DUVMain::LogFileTitle;
        OldModemLogPath = DUVMain::LogFilePath;
        OldModemLogDir = DUVMain::LogFileDir;
    }
    DUVMain::LogFileTitle = title;
    DUVMain::LogFileDir = dir;
    DUVMain::LogFilePath = path;
    try {
        DUVMain::GetLogStats(true);
    } catch (const std::exception&) {
        // Errors here are passed over; the statistics show what could be read.
    }
    DUVMain::ArchiveOpen = true;
    Refresh();
    mnuViewLog.SetCaption("&View Archive");
    btnViewLog.SetText("&View Archive");
    mnuClearLog.SetEnabled(false);
    ToolbarMain.SetButtonEnabled(7, false);
    mnuPurgeLog.SetEnabled(false);
    mnuOptimize.SetCaption("&Optimize Archive");
    mnuOptimize.SetEnabled(true);
    ToolbarMain.SetButtonEnabled(8, true);
    try {
        DUVMain::AddRecentFile(title, dir, "A");
    } catch (const std::exception&) {
    }
    BuildRecentMenu();
}

void frmMain::DoOpenReport(const std::string& folder, const std::string& fileName) {
    std::string title;
    std::string dir;
    if (folder.empty()) {
        forms::FileDialogRequest request;
        request.initialDir = DUVMain::AppPath;
        request.filter = "Duvelo Report (*.txt)|*.txt";
        request.flags = kFileMustExist;
        auto chosen = forms::ShowFileDialog(request);
        if (!chosen) {
            DUVMain::TextFileTitle.clear();
            DUVMain::TextFileDir.clear();
            return;
        }
        title = chosen->fileTitle;
        std::string path = chosen->fileName;
        dir = path.substr(0, path.size() >= title.size() ? path.size() - title.size() : 0);
    } else {
        title = fileName;
        dir = folder;
        if (!GeneralFunctions::FileExists(folder + fileName)) {
            ShowMessage("The file " + folder + fileName + " could not be found.", msg::OkOnly);
            return;
        }
    }
    forms::BusyCursor busy;
    DUVMain::TextFileTitle = title;
    DUVMain::TextFileDir = dir;
    try {
        DUVMain::AddRecentFile(title, dir, "R");
    } catch (const std::exception&) {
    }
    RunCommand(MainCommand::ViewReportFile);
    DUVMain::TextFileTitle.clear();
    DUVMain::TextFileDir.clear();
}

void frmMain::mnuClearLog_Click() {
    runtime::SetContext("frmMain", "mnuClearLog_Click");
    if (DUVMain::ArchiveOpen) {
        return;  // the archive is not the modem log
    }
    StoreWindowSize();
    const std::string lf = "\n";
    DUVMain::MessageText =
        "You are about to delete your modem log. Before clearing this log, " + lf +
        "you should save it as an archive if you haven't done so already." + lf + lf +
        "A new blank modem log file will be created for you but reports" + lf +
        "will not be available until after your next dial-up networking session" + lf + lf +
        "Are you sure you want to delete your modem log?";
    int answer = ShowMessage(DUVMain::MessageText, msg::YesNo | 256, "Delete Modem Log");
    DUVMain::MessageAnswer = std::to_string(answer);
    if (answer != msg::Yes) {
        return;
    }
    // The new blank log replaces the old one in one swap: a log that cannot be replaced stays
    // whole. Clearing a log that is not there is the delete's file-not-found error.
    runtime::Step("Kill", [] {
        if (!GeneralFunctions::FileExists(DUVMain::LogFilePath))
            runtime::Raise(53);
    });
    bool created = false;
    runtime::Step("CreateModemLog", [&] {
        created = static_cast<bool>(safe_write::WriteFile(
            DUVMain::LogFilePath, DUVMain::NewModemLogLine(clock_seam::Now()) + "\r\n"));
    });
    if (created) {
        ShowMessage("Current modem log has been deleted.\nNew blank modem log has been created!",
                    msg::OkOnly);
    } else {
        ShowMessage("The modem log " + DUVMain::LogFilePath +
                        " could not be cleared; it is left as it was.",
                    msg::OkOnly | msg::IconExclamation);
    }
    forms::BusyCursor busy;
    runtime::Guard([] { DUVMain::GetLogStats(false); });
    Refresh();
    Form_Activate();
}

void frmMain::mnuSetup_Click() {
    runtime::SetContext("frmMain", "mnuSetup_Click");
    {
        forms::BusyCursor busy;
        DUVMain::DisplaySettingsChanged = false;
        forms::PumpMessages();
    }
    const std::function<void()>& showOptions = Served()[static_cast<size_t>(MainCommand::Setup)];
    if (!showOptions) {
        forms::ReportUnservedCommand("Setup");
        return;
    }
    showOptions();
    if (DUVMain::LogFileChanged) {
        const std::string path = DUVMain::ModemLogDir + DUVMain::ModemLogFile;
        if (DUVMain::ArchiveOpen) {
            // Only where "Open Default Modem Log" returns to changes.
            OldModemLogFile = DUVMain::ModemLogFile;
            OldModemLogDir = DUVMain::ModemLogDir;
            OldModemLogPath = path;
        } else {
            forms::BusyCursor busy;
            DUVMain::LogFileTitle = DUVMain::ModemLogFile;
            DUVMain::LogFileDir = DUVMain::ModemLogDir;
            DUVMain::LogFilePath = path;
            DUVMain::LogFound = GeneralFunctions::FileExists(path);
            runtime::Guard([] { DUVMain::LogCorrupt = DUVMain::CheckCorruption(false); });
            if (!DUVMain::LogCorrupt)
                runtime::Guard([] { DUVMain::GetLogStats(false); });
            Refresh();
            Form_Activate();
            mnuViewLog.SetCaption("&View Modem Log");
            btnViewLog.SetText("&View Modem Log");
            mnuOptimize.SetCaption("&Optimize Modem Log");
        }
    }
    if (DUVMain::DisplaySettingsChanged) {
        ShowMessage("Some changed options will NOT take\neffect until the program is re-started.",
                    msg::OkOnly, "DUV Options");
        DUVMain::DisplaySettingsChanged = false;
    }
}

void frmMain::mnuExit_Click() { DUVMain::EndProgram(); }

void frmMain::mnuTopics_Click() { forms::ShowHelp(DUVMain::HelpFilePath, kHelpContents); }
void frmMain::mnsSearchHelp_Click() { forms::ShowHelp(DUVMain::HelpFilePath, kHelpFinder); }
void frmMain::mnuHowToHelp_Click() { forms::ShowHelp(DUVMain::HelpFilePath, kHelpOnHelp); }

void frmMain::mnuReadme_Click() {
    std::string folder = DUVMain::AppPath;
    if (!folder.empty() && folder.back() != '\\') {
        folder += '\\';
    }
    if (!forms::ShellOpen(folder + "readme.htm")) {
        ShowMessage("Unable to open your 'Readme' file", msg::OkOnly);
    }
}

void RegisterCommandWindows() {
    frmMain::SetCommand(MainCommand::About, [] {
        Hourglass hourglass;
        frmAbout::Get().ShowModal();
    });
    frmMain::SetCommand(MainCommand::Tip, [] { frmTip::Get().ShowModal(); });
    RegisterReportWindow();
    RegisterOptionsWindow();
    RegisterViewLogWindow();
}
