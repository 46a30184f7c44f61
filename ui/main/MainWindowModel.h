// What the main window shows and enables, as plain data computed from the log's state: the
// status table, the enabled-state table, what the log viewer's opening and closing switch, the
// statistics texts, the animation's steps, the size limits, the default report start, the
// range caption and the recent-file captions.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "core/Runtime.h"
#include "ui/logs/ViewLogModel.h"

namespace MainWindowModel {

using runtime::Date;

// ---- Status line -------------------------------------------------------------------------

struct StatusEntry {
    std::string Text;
    bool Timed = false;
    bool Bold = false;
};

inline constexpr int kStatusCount = 16;
using StatusTable = std::array<StatusEntry, kStatusCount>;

// The entries of the status table; the last two stay empty.
enum class StatusId {
    None = 0,
    EnterStart = 1,
    EnterEnd = 2,
    Exit = 3,
    Process = 4,
    ViewLog = 5,
    Calendar = 6,
    NoLog = 7,  // timed from here on
    LogCorrupt = 8,
    InvalidDate = 9,
    StartBeforeFirst = 10,
    EndBeforeStart = 11,
    EndAfterLast = 12,
    StartAfterEnd = 13,
};

// The table as the window's load fills it.
StatusTable StatusMessages();

inline const StatusEntry& Entry(const StatusTable& table, StatusId id) {
    return table[static_cast<size_t>(id)];
}

// The status line's state machine: a timed entry stays for its full time, requests made
// meanwhile are not queued, and when the time ends the entry StatusIndex then names is shown.
struct StatusLine {
    StatusId StatusIndex = StatusId::None;
    bool TimedMessageShowing = false;
    bool TimerOn = false;
    std::string Text;
    bool Bold = false;

    // frmMain.ShowStatus; returns true when the line changed.
    bool Show(const StatusTable& table);
    // frmMain.Timer1_Timer.
    bool TimerEnded(const StatusTable& table);
};

// ---- Enabled states ----------------------------------------------------------------------

enum class LogState { NoUsableLog, Damaged, Ready };

struct LogFlags {
    bool LogFound = false;
    bool LogInvalid = false;
    bool LogCorrupt = false;
    bool LogEmpty = false;
    bool LogTooBig = false;
    bool ArchiveOpen = false;
    bool ViewingTextFile = false;
    bool ViewingLog = false;
};

LogState DecideLogState(const LogFlags& flags);

// A log or archive is at hand to report on.
inline bool LogAtHand(const LogFlags& f) { return f.LogFound || f.ArchiveOpen; }

enum class Switch { Off, On, Keep };

// The controls whose enabled state follows the log or the log viewer; toolbar buttons by their
// command.
enum class MainControl {
    btnViewLog,
    ButtonViewModemLog,
    mnuViewLog,
    btnProcess,
    mnuOpenArchive,
    ButtonOpenArchive,
    mnuOpenLog,
    mnuQuickDate,
    ButtonToday,
    ButtonFirstEntry,
    ButtonLastEntry,
    mnuTools,
    mnuPurgeLog,
    mnuOptimize,
    ButtonOptimize,
    mnuClearLog,
    ButtonClearLog,
    DateInputs,  // inputStarting, inputEnding, UpDown1 to UpDown4, LabelStarting, LabelEnding
    btnExit,
    mnuRepairLog,
    ButtonRepair,
    mnuOpenReport,
    mnuRecent,  // the recent-file entries 1 to 4
    Count
};

inline constexpr int kMainControlCount = static_cast<int>(MainControl::Count);
using EnabledTable = std::array<Switch, kMainControlCount>;

// The enabled state of every control for the log's state. While the log viewer has the log
// open, the commands its opening disabled stay as they are (ViewerSwitches gives them back).
EnabledTable EnabledStates(const LogFlags& flags);

inline Switch At(const EnabledTable& table, MainControl control) {
    return table[static_cast<size_t>(control)];
}

// What the main window switches when the log viewer opens or closes on a file in a mode (the
// viewer tells the main window, which applies this to its own controls): Keep leaves a control
// as it is, an empty caption leaves its caption. While the viewer is open nothing else is
// opened; on the log or an archive, nothing changes the file shown behind it.
struct ViewerStates {
    EnabledTable Enabled;
    std::string ViewCaption;      // btnViewLog and mnuViewLog
    std::string OptimizeCaption;  // mnuOptimize
};
ViewerStates ViewerSwitches(ViewLogModel::Mode mode, bool open, const LogFlags& flags);

// ---- Statistics --------------------------------------------------------------------------

struct LogStatistics {
    LogFlags Flags;
    std::int32_t LogLength = 0;
    double LogLineCount = 0;
    Date FirstEntryDate = 0;
    Date LastEntryDate = 0;
    std::string LogFileTitle;
    std::string LogFileDir;
};

// The values of the statistics panel. When the log is missing only the name changes
// (NameOnly), and the others keep what they showed.
struct StatisticsTexts {
    bool NameOnly = false;
    std::string Heading;
    std::string Name;
    std::string Path;
    std::string Length;
    std::string Entries;
    std::string First;
    std::string Last;
    std::string Span;
};

StatisticsTexts StatisticsFor(const LogStatistics& stats);

// The flags and statistics of the file being analysed, read from the program's state: the one
// place the window gathers what its decisions need.
LogStatistics CurrentLog();

// "1536 Bytes (2KB)": kilobytes rounded half to even.
std::string LengthText(std::int32_t bytes);

// ---- Labels that run past the window ------------------------------------------------------

// The caption shortened to fit: keep = room / average character width - 3 characters and
// "...". An empty text or no room never divides by zero; less than one character of room
// shows "...". Returns the caption to show; cut tells whether it was cut.
std::string FitCaption(const std::string& text, int labelLeft, int labelWidth, int clientWidth,
                       bool& cut);

// ---- Animation ----------------------------------------------------------------------------

struct Animation {
    int AnimFrame = 0;
    bool AnimForward = false;
    int AnimPause = 0;

    // frmMain.TimerAnim_Timer: returns the frame to show, or 0 while it waits at frame 1.
    int Tick();
};

inline constexpr int kStillPicture = 20;

// ---- Window size --------------------------------------------------------------------------

// The clamp of the resize: height 5100..6100, width 7200..8200 twips, applied in that order.
void ClampMainWindowSize(int& width, int& height);

// ---- Date range ---------------------------------------------------------------------------

// The log proposes a default start: found, not invalid, not damaged, not empty, no archive.
bool UsableForDefaultStart(const LogFlags& f);

struct DefaultStartInputs {
    bool Usable = false;  // UsableForDefaultStart
    std::string UserStartPref;
    int UserStartOfWeek = 0;   // 0 Monday .. 6 Sunday
    int UserStartOfMonth = 0;  // 0 the 1st, 1..7 the first Monday..Sunday
    Date UserStartDate = 0;
    Date FirstEntryDate = 0;
    Date LastEntryDate = 0;
    Date Today = 0;
    int TodayWeekday = 1;  // 1 Monday .. 7 Sunday (from the regional day names)
    int FirstOfMonthWeekday = 1;
};

// The calendar's proposed date; unchanged (returns current) where the rule says so.
Date DefaultStart(const DefaultStartInputs& in, Date current);

// A typed date outside the log, moved to its edge, and the timed hint that says so.
struct DateCorrection {
    bool Corrected = false;
    Date Value = 0;
    StatusId Status = StatusId::None;
};

// inputStarting_Change: a start before the first entry moves to it. The hint speaks of the
// start when the start box is the active one (activeDateBox 1), else of the end.
DateCorrection ClampStart(Date start, const LogStatistics& log, int activeDateBox);
// inputEnding_Change: an end after the last entry of a log that has entries moves to it.
DateCorrection ClampEnd(Date end, const LogStatistics& log, int activeDateBox);

// OK may run: both dates valid and a log or archive at hand.
inline bool CanProcess(bool startValid, bool endValid, const LogFlags& f) {
    return startValid && endValid && LogAtHand(f);
}

// frmMain.diff and the caption of frmMain.checkProcess.
std::int32_t DaysInRange(Date start, Date end);
std::string RangeCaption(bool enabled, std::int32_t days);

// ---- Recent files -------------------------------------------------------------------------

// "1.  name", names of 36 characters or more cut to 32 and "...".
std::string RecentCaption(int index, const std::string& fileName);

}  // namespace MainWindowModel
