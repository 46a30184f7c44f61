#include "ui/main/MainWindowModel.h"

#include <cmath>
#include <initializer_list>

#include "core/DUVMain.h"
#include "core/GeneralFunctions.h"

namespace MainWindowModel {

StatusTable StatusMessages() {
    StatusTable table;
    auto set = [&](StatusId id, const char* text, bool timed) {
        table[static_cast<size_t>(id)] = StatusEntry{text, timed, timed};
    };
    set(StatusId::None, "", false);
    set(StatusId::EnterStart,
        "Enter the starting date for the report by clicking on the calendar or typing.", false);
    set(StatusId::EnterEnd,
        "Enter the ending date for the report by clicking on the calendar or typing.", false);
    set(StatusId::Exit, "Exit Duvelo.", false);
    set(StatusId::Process, "Process your report.", false);
    set(StatusId::ViewLog, "View the Modem Log File.", false);
    set(StatusId::Calendar, "Click on the calendar to enter a date without typing.", false);
    set(StatusId::NoLog, "No Modem Log Found!", true);
    set(StatusId::LogCorrupt, "Corruption Detected in Modem Log File!", true);
    set(StatusId::InvalidDate, "Invalid date entry!", true);
    set(StatusId::StartBeforeFirst,
        "The start date cannot be less than the first entry in modem log!", true);
    set(StatusId::EndBeforeStart, "The end date cannot be less than the start date!", true);
    set(StatusId::EndAfterLast, "The end date cannot be greater than the last entry in modem log!",
        true);
    set(StatusId::StartAfterEnd, "The start date cannot be greater than the end date!", true);
    return table;
}

bool StatusLine::Show(const StatusTable& table) {
    if (TimedMessageShowing) {
        return false;
    }
    const StatusEntry& entry = Entry(table, StatusIndex);
    Text = entry.Text;
    Bold = entry.Bold;
    TimedMessageShowing = entry.Timed;
    TimerOn = entry.Timed;
    return true;
}

bool StatusLine::TimerEnded(const StatusTable& table) {
    TimedMessageShowing = false;
    TimerOn = false;
    return Show(table);
}

LogState DecideLogState(const LogFlags& f) {
    if ((!f.LogFound || f.LogInvalid) && !f.ArchiveOpen) {
        return LogState::NoUsableLog;
    }
    if (f.LogCorrupt) {
        return LogState::Damaged;
    }
    return LogState::Ready;
}

EnabledTable EnabledStates(const LogFlags& f) {
    using C = MainControl;
    constexpr Switch Off = Switch::Off, On = Switch::On, Keep = Switch::Keep;
    EnabledTable t;
    auto set = [&](C control, Switch value) { t[static_cast<size_t>(control)] = value; };
    auto row = [&](std::initializer_list<C> controls, Switch noLog, Switch damaged, Switch ready) {
        LogState state = DecideLogState(f);
        Switch value = state == LogState::NoUsableLog ? noLog
                       : state == LogState::Damaged   ? damaged
                                                      : ready;
        for (C control : controls)
            set(control, value);
    };

    row({C::btnViewLog, C::ButtonViewModemLog}, Off, Off, On);
    row({C::mnuViewLog}, Keep, Off, On);
    if (f.ViewingTextFile && DecideLogState(f) == LogState::Ready) {
        set(C::btnViewLog, Keep);
        set(C::ButtonViewModemLog, Keep);
        set(C::mnuViewLog, Keep);
    }
    row({C::btnProcess}, Off, Off, On);
    row({C::mnuOpenArchive}, On, Off, On);
    row({C::ButtonOpenArchive}, On, On, On);
    Switch openLogReady = !f.ArchiveOpen ? Off : (f.LogFound && !f.LogInvalid ? On : Keep);
    row({C::mnuOpenLog}, Off, Off, openLogReady);
    row({C::mnuQuickDate, C::ButtonToday, C::ButtonFirstEntry, C::ButtonLastEntry}, Off, Off, On);
    row({C::mnuTools}, Off, Keep, On);
    row({C::mnuPurgeLog}, Keep, Off, f.ArchiveOpen ? Off : (f.LogEmpty ? Off : On));
    row({C::mnuOptimize}, Keep, Off, On);
    row({C::ButtonOptimize}, Off, Off, On);
    // Clearing works on the modem log only: never while an archive is the file analysed.
    row({C::mnuClearLog}, Keep, Keep, f.ArchiveOpen ? Off : On);
    row({C::ButtonClearLog}, Off, Off, f.ArchiveOpen ? Off : On);
    row({C::DateInputs}, Off, Off, On);
    row({C::btnExit}, Keep, On, On);
    row({C::mnuRepairLog, C::ButtonRepair}, Off, On, Off);

    if (f.ViewingLog) {
        // The log viewer's opening disabled these; its closing gives them back.
        for (C control : {C::mnuClearLog, C::ButtonClearLog, C::mnuPurgeLog, C::mnuOpenArchive,
                          C::ButtonOpenArchive, C::mnuOptimize, C::ButtonOptimize}) {
            set(control, Keep);
        }
    }
    // Not the log's: the viewer switches them.
    set(C::mnuOpenReport, Keep);
    set(C::mnuRecent, Keep);
    return t;
}

ViewerStates ViewerSwitches(ViewLogModel::Mode mode, bool open, const LogFlags& f) {
    using C = MainControl;
    using ViewLogModel::Mode;
    ViewerStates s;
    s.Enabled.fill(Switch::Keep);
    auto set = [&](std::initializer_list<C> controls, Switch value) {
        for (C control : controls)
            s.Enabled[static_cast<size_t>(control)] = value;
    };
    const Switch shut = open ? Switch::Off : Switch::On;
    set({C::mnuOpenReport, C::mnuRecent}, shut);
    if (mode == Mode::TextFile) {
        // The view command waits for the text file to close.
        set({C::btnViewLog, C::mnuViewLog, C::ButtonViewModemLog}, shut);
        return s;
    }
    const bool archive = mode == Mode::Archive;
    if (open) {
        s.ViewCaption = ViewLogModel::MainViewCaptionWhileOpen(archive);
        set({C::mnuClearLog, C::ButtonClearLog, C::mnuPurgeLog, C::mnuOpenArchive,
             C::ButtonOpenArchive, C::mnuOpenLog, C::mnuOptimize, C::ButtonOptimize},
            Switch::Off);
        return s;
    }
    s.ViewCaption = ViewLogModel::MainViewCaptionAfterClose(archive);
    s.OptimizeCaption = ViewLogModel::MainOptimizeCaptionAfterClose(archive);
    set({C::mnuOptimize, C::ButtonOptimize, C::mnuOpenArchive, C::ButtonOpenArchive}, Switch::On);
    // The default log can be opened again where an archive is shown.
    set({C::mnuOpenLog}, archive && f.LogFound ? Switch::On : Switch::Off);
    if (!archive)
        set({C::mnuClearLog, C::ButtonClearLog, C::mnuPurgeLog}, Switch::On);
    return s;
}

std::string LengthText(std::int32_t bytes) {
    return runtime::Format(bytes, "0") + " Bytes (" +
           runtime::Format(runtime::CLng(bytes / 1024.0), "0") + "KB)";
}

StatisticsTexts StatisticsFor(const LogStatistics& s) {
    StatisticsTexts t;
    const LogFlags& f = s.Flags;
    if (!LogAtHand(f)) {
        t.NameOnly = true;
        t.Name = "Log Not Found";
        return t;
    }
    t.Heading = f.ArchiveOpen ? "Archive/Log Stats" : "Modem Log Stats";
    t.Name = s.LogFileTitle;
    t.Path = s.LogFileDir;
    const std::string na = "N/A";
    if (f.LogCorrupt || f.LogInvalid) {
        t.Length = t.Entries = t.First = t.Last = t.Span = na;
        return t;
    }
    t.Length = LengthText(s.LogLength);
    t.Entries = runtime::Format(s.LogLineCount, "0");
    if (f.LogEmpty) {
        t.First = t.Last = t.Span = na;
    } else {
        t.First = runtime::Format(s.FirstEntryDate, "Short Date");
        t.Last = runtime::Format(s.LastEntryDate, "Short Date");
        std::int64_t days = runtime::DateDiff("d", s.FirstEntryDate, s.LastEntryDate) + 1;
        t.Span = std::to_string(days) + " Days";
    }
    return t;
}

LogStatistics CurrentLog() {
    LogStatistics s;
    s.Flags.LogFound = DUVMain::LogFound;
    s.Flags.LogInvalid = DUVMain::LogInvalid;
    s.Flags.LogCorrupt = DUVMain::LogCorrupt;
    s.Flags.LogEmpty = DUVMain::LogEmpty;
    s.Flags.LogTooBig = DUVMain::LogTooBig;
    s.Flags.ArchiveOpen = DUVMain::ArchiveOpen;
    s.Flags.ViewingTextFile = DUVMain::ViewingTextFile;
    s.Flags.ViewingLog = DUVMain::ViewingLog;
    s.LogLength = DUVMain::LogLength;
    s.LogLineCount = DUVMain::LogLineCount;
    s.FirstEntryDate = DUVMain::FirstEntryDate;
    s.LastEntryDate = DUVMain::LastEntryDate;
    s.LogFileTitle = DUVMain::LogFileTitle;
    s.LogFileDir = DUVMain::LogFileDir;
    return s;
}

std::string FitCaption(const std::string& text, int labelLeft, int labelWidth, int clientWidth,
                       bool& cut) {
    cut = false;
    if (text.empty() || labelLeft + labelWidth <= clientWidth) {
        return text;
    }
    cut = true;
    int average = runtime::CInt(static_cast<double>(labelWidth) / static_cast<double>(text.size()));
    if (average < 1) {
        average = 1;
    }
    int room = clientWidth - labelLeft;
    int keep = room / average - 3;
    if (keep < 1) {
        return "...";
    }
    return text.substr(0, static_cast<size_t>(keep)) + "...";
}

int Animation::Tick() {
    if (AnimFrame == 1) {
        if (AnimPause < 50) {
            ++AnimPause;
            return 0;
        }
        AnimForward = !AnimForward;
    }
    if (AnimForward) {
        AnimFrame = AnimFrame >= 19 ? 1 : AnimFrame + 1;
    } else {
        AnimFrame = AnimFrame < 2 ? 19 : AnimFrame - 1;
    }
    AnimPause = 0;
    return AnimFrame;
}

void ClampMainWindowSize(int& width, int& height) {
    if (height < 5100)
        height = 5100;
    if (width < 7200)
        width = 7200;
    if (height > 6100)
        height = 6100;
    if (width > 8200)
        width = 8200;
}

bool UsableForDefaultStart(const LogFlags& f) {
    return f.LogFound && !f.LogInvalid && !f.LogCorrupt && !f.LogEmpty && !f.ArchiveOpen;
}

Date DefaultStart(const DefaultStartInputs& in, Date current) {
    if (!in.Usable) {
        return in.Today;
    }
    const std::string& rule = in.UserStartPref;
    if (rule == "First Log Entry") {
        return in.FirstEntryDate == 0 ? in.Today : in.FirstEntryDate;
    }
    if (rule == "Last Log Entry") {
        return in.LastEntryDate == 0 ? in.Today : in.LastEntryDate;
    }
    if (rule == "Start of Week") {
        int w = in.TodayWeekday;
        int s = in.UserStartOfWeek + 1;
        if (w == s)
            return in.Today;
        if (s < w)
            return in.Today - (w - s);
        return in.Today - (w - s + 7);
    }
    if (rule == "Start of Month") {
        Date first = runtime::DateSerial(runtime::Year(in.Today), runtime::Month(in.Today), 1);
        int m = in.UserStartOfMonth;
        if (m == 0)
            return first;
        if (m >= 1 && m <= 7) {
            int d = in.FirstOfMonthWeekday;
            return d <= m ? first + (m - d) : first + (7 - d + m);
        }
        return current;
    }
    if (rule == "User Defined") {
        return in.UserStartDate;
    }
    return current;
}

DateCorrection ClampStart(Date start, const LogStatistics& log, int activeDateBox) {
    const LogFlags& f = log.Flags;
    if (!GeneralFunctions::DateBefore(start, log.FirstEntryDate) || !LogAtHand(f) || f.LogInvalid ||
        f.LogCorrupt) {
        return {};
    }
    return {true, log.FirstEntryDate,
            activeDateBox == 1 ? StatusId::StartBeforeFirst : StatusId::EndBeforeStart};
}

DateCorrection ClampEnd(Date end, const LogStatistics& log, int activeDateBox) {
    const LogFlags& f = log.Flags;
    if (!GeneralFunctions::DateBefore(log.LastEntryDate, end) || !LogAtHand(f) || f.LogInvalid ||
        f.LogCorrupt || f.LogEmpty) {
        return {};
    }
    return {true, log.LastEntryDate,
            activeDateBox == 2 ? StatusId::EndAfterLast : StatusId::StartAfterEnd};
}

std::int32_t DaysInRange(Date start, Date end) {
    return static_cast<std::int32_t>(runtime::DateDiff("d", start, end) + 1);
}

std::string RangeCaption(bool enabled, std::int32_t days) {
    if (!enabled) {
        return "DUVELO";
    }
    return "DUVELO - Report for" + runtime::Str(days) + (days < 2 ? " day" : " days");
}

std::string RecentCaption(int index, const std::string& fileName) {
    std::string name = fileName.size() >= 36 ? fileName.substr(0, 32) + "..." : fileName;
    return std::to_string(index) + ".  " + name;
}

}  // namespace MainWindowModel
