#pragma once
// The rewrites of the modem log (or the open archive): repair, purge and optimize. Each reads
// the file with the program's line reader, writes the lines it keeps (each ended by CR LF)
// through the safe write, and keeps the previous file as the backup in the program folder.
// The windows only show the progress these report and the result.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/SafeWrite.h"
#include "core/UserFeedback.h"

namespace LogMaintenance {

// Work files and backups in the program folder (the work files of the rewrites are made in
// the log's own folder, so that the swap is a rename within one folder).
inline constexpr const char* kRepairBytesFile = "ModemLog.fx1";
inline constexpr const char* kRepairWorkFile = "ModemLog.fx2";
inline constexpr const char* kPurgeWorkFile = "ModemLog.pge";
inline constexpr const char* kOptimizeWorkFile = "ModemLog.opt";
inline constexpr const char* kLogBackup = "ModemLog.old";
inline constexpr const char* kArchiveBackup = "ModemLogArchive.old";

// Program folder & "\" & name.
std::string InProgramFolder(const char* name);
// The program folder's record of the work file of that name while it is being written.
std::string WorkJournal(const std::string& workName);

// Called with the percent whenever it changes (and at every progress step of the byte
// filter); may exceed 100.
using Progress = std::function<void(int percent)>;

struct RewriteResult {
    bool ReadFailed = false;   // the source could not be opened or read to its end
    safe_write::Result Write;  // where the write or the swap failed
    int RunTimeError = 0;      // the number of a run-time error that stopped it
    std::uint64_t LinesRead = 0;
    std::uint64_t LinesKept = 0;
    explicit operator bool() const {
        return !ReadFailed && RunTimeError == 0 && static_cast<bool>(Write);
    }
};

// What a line filter does with a line: drop it, write it as read, or write the text it left
// in its out argument.
enum class Keep { Drop, AsRead, Changed };
using LineFilter = std::function<Keep(std::string_view line, std::string& out)>;
// Called after each line with the lines read so far and the line's length.
using LineCounter = std::function<void(std::uint64_t lines, std::size_t lineLength)>;

// The one rewrite: every line of source through the filter into target (through a work file
// of the given name beside it), the old target moving to backup when one is named. A work file
// of that name that an earlier run left behind is removed first (its record is kept in the
// program folder, see WorkJournal).
RewriteResult RewriteLines(const std::string& source, const std::string& target,
                           const std::string& backup, const std::string& workName,
                           const LineFilter& filter, const LineCounter& counter);

// ---- Repair -------------------------------------------------------------------------------

// Keeps the bytes 32 to 126, 10 and 13 of the log and writes them to workFile. Progress at
// every step-th byte, step = length / 100 rounded half to even.
RewriteResult FilterDamagedBytes(const std::string& log, const std::string& workFile,
                                 const Progress& progress);
// Writes the non-blank dated lines of workFile over the log as it was read, with the
// percent of logLength counted as each line's length plus 2.
RewriteResult KeepDatedLines(const std::string& workFile, const std::string& log,
                             const std::string& backup, std::int64_t logLength,
                             const Progress& progress);

// What the repair window shows: its label and its progress bar.
struct RepairView {
    std::function<void(const std::string& text)> SetLabel;
    std::function<void(int percent)> SetProgress;
};
// Both steps on the file at LogFilePath, the label and the bar (only up to 100) following
// them, events let run at each change; LogCorrupt cleared when the log was repaired. A
// failure at any step, a run-time error included, leaves the log and LogCorrupt as they were.
RewriteResult RepairLog(const RepairView& view);

// ---- Purge and optimize -------------------------------------------------------------------

// Drops every undated line and every line dated from `from` to `to` (whole days) inclusive.
RewriteResult PurgeLines(const std::string& log, const std::string& backup, double from, double to,
                         double lineCount, const Progress& progress);

// The seven modem keywords (upper case).
struct Keywords {
    std::string Dial, Answer, Connect, UserDisconnect, HostDisconnect, Reads, Writes;
};
Keywords CurrentKeywords();  // from the settings

// Whether an upper-cased line stays in an optimized log: a dial line only with a digit from
// its 26th character on, any other line when it holds one of the other keywords.
bool KeepOptimized(std::string_view upperLine, const Keywords& keywords);

// Writes the lines that hold a keyword, in upper case.
RewriteResult OptimizeLines(const std::string& log, const std::string& backup,
                            const Keywords& keywords, double lineCount, const Progress& progress);

// ---- Progress in the main window ----------------------------------------------------------

// The main window's progress bar and status text, which purge and optimize write (the ones
// the analysis run writes). The main window installs them; empty members do nothing. The
// installer returns what it replaces.
struct MainWindowProgress {
    ProgressDisplay Bar;
    std::function<void(const std::string& text)> SetStatusText;
};
MainWindowProgress SetMainWindowProgress(MainWindowProgress progress);

// Runs a purge or an optimize: the progress bar shown, text(percent) in the status line
// (the bar only up to 100), events let run at each change; then the bar hidden and the
// finished text shown. A failure (a run-time error included) shows its box, OK only and no
// icon, leaves the box's title in the status line instead of the finished text, and resets
// the pointer. True when the log was rewritten.
bool RunInMainWindow(const std::function<RewriteResult(const Progress&)>& rewrite,
                     std::string (*text)(int percent), const std::string& finishedText,
                     const std::string& failedTitle, const std::string& failedText);

// ---- Texts ----------------------------------------------------------------------------------

// Percent rounded half to even, and its integer part; 100 when there is nothing to count.
int RoundedPercent(double part, double whole);
int WholePercent(double part, double whole);

std::string RepairingText(int percent);   // "Repairing Modem Log.........  50%"
std::string CheckingText(int percent);    // "Checking Entries.........  50%"
std::string PurgingText(int percent);     // "Please Wait .....Purging  50%"
std::string OptimizingText(int percent);  // "Please Wait .....Optimizing  50%"

inline constexpr const char* kReadingLogText = "Please Wait.... Reading Modem Log";
inline constexpr const char* kRepairedText = "Modem File Successfully Repaired!";
inline constexpr const char* kPurgedText = "Finished Purging Records!";
inline constexpr const char* kOptimizedText = "Finished Optimizing Modem Log File!";

// The failure boxes of the three operations: title and text.
inline constexpr const char* kRepairFailedTitle = "Repair Failed";
inline constexpr const char* kPurgeFailedTitle = "Purge Failed";
inline constexpr const char* kOptimizeFailedTitle = "Optimization Failed";
inline constexpr const char* kNotRepairedText = "Modem File Was Not Repaired!";
// The repair's box says whether the log stayed as it was.
std::string RepairFailedText(const RewriteResult& result);
std::string PurgeFailedText();
std::string OptimizeFailedText();

}  // namespace LogMaintenance
