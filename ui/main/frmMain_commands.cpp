// The main window's commands: toolbar dispatch, the file being analysed (modem log or archive),
// saved reports, the recent list, clearing the log, help, read-me and exit.
#include "ui/main/frmMain.h"

#include <array>
#include <utility>

#include "analysis/Report.h"
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
#include "ui/forms/Pictures.h"
#include "ui/forms/Shell.h"
#include "ui/logs/frmFileRepair.h"
#include "ui/logs/frmPurge.h"
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

void frmMain::DeclareCommands() {
    using C = MainCommand;
    using F = frmMain;
    using P = Pictures::ToolbarImage;
    using forms::kGap;
    auto recent = [](int index) { return [index](frmMain& form) { form.mnuRecent_Click(index); }; };
    // clang-format off
    commands_.Declare(*this, {
        // level  menu item     caption                   command         name             procedure (none: served)  toolbar button: key, tool tip, picture, gap before
        {0, &mnuFile,              "&File"},
        {1, &mnuOpenLog,           "&Open Default Modem Log", C::OpenLog,        "OpenLog",        &F::mnuOpenLog_Click},
        {1, &mnuOpenArchive,       "Open &Archive or Log",    C::OpenArchive,    "OpenArchive",    &F::mnuOpenArchive_Click,  {"Open Archive", "Open Modem Log or Archive", P::ImageOpen, kGap}},
        {1, &mnuOpenReport,        "Open &Report (View)",     C::OpenReport,     "OpenReport",     &F::mnuOpenReport_Click},
        {1, &mnuFileSeperator1,    "-"},
        {1, &mnuSetup,             "&DUV Options",            C::Setup,          "Setup",          &F::mnuSetup_Click,        {"Setup", "DUV Options", P::ImageSetup}},
        {1, &mnuFileSeperator2,    "-"},
        {1, &mnuRecent[1],         "1.  ",                    C::Recent1,        "Recent1",        recent(1)},
        {1, &mnuRecent[2],         "2.  ",                    C::Recent2,        "Recent2",        recent(2)},
        {1, &mnuRecent[3],         "3.  ",                    C::Recent3,        "Recent3",        recent(3)},
        {1, &mnuRecent[4],         "4.  ",                    C::Recent4,        "Recent4",        recent(4)},
        {1, &mnuFileSeparator3,    "-"},
        {1, &mnuExit,              "&Exit",                   C::Exit,           "Exit",           &F::mnuExit_Click,         {"Exit", "Close Program", P::ImageExit}},
        {0, &mnuTools,             "&Tools"},
        {1, &mnuViewLog,           "&View Modem Log",         C::ViewLog,        "ViewLog",        {},                        {"View Modem Log", "View Current Modem Log or Archive", P::ImageView, kGap}},
        {1, &mnuClearLog,          "&Clear Modem Log",        C::ClearLog,       "ClearLog",       &F::mnuClearLog_Click,     {"Clear Modem Log", "Clear Default Modem Log", P::ImageClear}},
        {1, &mnuPurgeLog,          "&Purge Modem Log",        C::PurgeLog,       "PurgeLog"},
        {1, &mnuOptimize,          "&Optimize Modem Log",     C::Optimize,       "Optimize",       &F::mnuOptimize_Click,     {"Optimize Modem Log", "Optimize Current Modem Log or Archive", P::ImageOptimize}},
        {1, &mnuToolsSeperator1,   "-"},
        {1, &mnuRepairLog,         "&Repair Modem Log",       C::RepairLog,      "RepairLog",      {},                        {"Repair Modem Log", "Repair Modem Log", P::ImageRepair}},
        {0, &mnuQuickDate,         "&Date"},
        {1, &mnuToday,             "ToDay",                   C::Today,          "Today",          &F::mnuToday_Click,        {"Today", "Today's Date", P::ImageToday, kGap}},
        {1, &mnuDateSeparators[0], "-"},
        {1, &mnuPlusWeek,          "One Week +",              C::PlusWeek,       "PlusWeek",       &F::mnuPlusWeek_Click},
        {1, &mnuMinusWeek,         "One Week -",              C::MinusWeek,      "MinusWeek",      &F::mnuMinusWeek_Click},
        {1, &mnuDateSeparators[1], "-"},
        {1, &mnuPlusMonth,         "One Month +",             C::PlusMonth,      "PlusMonth",      &F::mnuPlusMonth_Click},
        {1, &mnuMinusMonth,        "One Month -",             C::MinusMonth,     "MinusMonth",     &F::mnuMinusMonth_Click},
        {1, &mnuDateSeparators[2], "-"},
        {1, &mnuLogStart,          "First Entry",             C::LogStart,       "LogStart",       &F::mnuLogStart_Click,     {"First Entry", "Date of First Entry in Log", P::ImageFirst}},
        {1, &mnuLogEnd,            "Last Entry",              C::LogEnd,         "LogEnd",         &F::mnuLogEnd_Click,       {"Last Entry", "Date of Last Entry in Log", P::ImageLast}},
        {1, &mnuDateSeparators[3], "-"},
        {1, &mnuDefaultDate,       "Set Default Start Date",  C::DefaultDate,    "DefaultDate",    &F::mnuDefaultDate_Click},
        {0, &mnuHelp,              "&Help"},
        {1, &mnuTopics,            "&Topics",                 C::Topics,         "Topics",         &F::mnuTopics_Click,       {"Help", "Help", P::ImageHelp, kGap}},
        {1, &mnuReadme,            "Read&Me",                 C::Readme,         "Readme",         &F::mnuReadme_Click},
        {1, &mnsSearchHelp,        "&Search for Help",        C::SearchHelp,     "SearchHelp",     &F::mnsSearchHelp_Click,   {"Search Help", "Search For Help", P::ImageSearch}},
        {1, &mnuHowToHelp,         "&Using Help",             C::HowToHelp,      "HowToHelp",      &F::mnuHowToHelp_Click},
        {1, &mnuHelpSeparator,     "-"},
        {1, &mnuAbout,             "&About DUV",              C::About,          "About",          {},                        {"About DUV", "About DUV", P::ImageAbout}},
        // Run by the code, served by other windows.
        {1, nullptr,               "",                        C::Tip,            "Tip"},
        {1, nullptr,               "",                        C::ShowReport,     "ShowReport"},
        {1, nullptr,               "",                        C::ViewReportFile, "ViewReportFile"},
    }, [](MainCommand command) { return &Served()[static_cast<size_t>(command)]; });
    // clang-format on
}

std::function<void()> frmMain::SetCommand(MainCommand command, std::function<void()> procedure) {
    return std::exchange(Served()[static_cast<size_t>(command)], std::move(procedure));
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
        ToolbarMain.SetButtonEnabled(ToolbarPosition(MainCommand::ClearLog), false);
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
    ToolbarMain.SetButtonEnabled(ToolbarPosition(MainCommand::ClearLog), false);
    mnuPurgeLog.SetEnabled(false);
    mnuOptimize.SetCaption("&Optimize Archive");
    mnuOptimize.SetEnabled(true);
    ToolbarMain.SetButtonEnabled(ToolbarPosition(MainCommand::Optimize), true);
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

void frmMain::mnuExit_Click() { DUVMain::ExitProgram(); }

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
    frmMain::SetCommand(MainCommand::ShowReport, [] {
        if (frmMain* main = frmMain::IfLoaded())
            DUVAnalyse::ReportDays = main->diff;
        frmReport::Get().Show();
    });
    RegisterReportWindow();
    frmMain::SetCommand(MainCommand::Setup, [] { frmSetup::Get().ShowModal(); });
    frmMain::SetCommand(MainCommand::RepairLog, [] {
        frmFileRepair::Get().ShowModal();
        runtime::Guard([] { DUVMain::GetLogStats(false); });
        frmMain::Get().Refresh();
    });
    frmMain::SetCommand(MainCommand::PurgeLog, [] {
        frmPurge::Get().ShowModal();
        if (DUVMain::LogPurged) {
            runtime::Guard([] { DUVMain::GetLogStats(false); });
            frmMain::Get().Refresh();
        }
    });
    // The view command opens the viewer on the file analysed, or closes it.
    frmMain::SetCommand(MainCommand::ViewLog, [] {
        if (DUVMain::ViewingLog) {
            if (frmViewLog* viewer = frmViewLog::IfLoaded())
                viewer->Unload();
        } else {
            frmViewLog::Get().Show();
        }
    });
    frmMain::SetCommand(MainCommand::ViewReportFile, [] {
        if (frmViewLog* viewer = frmViewLog::IfLoaded())
            viewer->Unload();
        frmViewLog::Get().Show();
    });
    frmViewLog::SetMainWindowLink([](ViewLogModel::Mode mode, bool open) {
        if (frmMain* main = frmMain::IfLoaded())
            main->ViewerChanged(mode, open);
    });
}
