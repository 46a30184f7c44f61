// What the options window decides without the system: the snapshot of the settings and its
// restoring on cancel, OK and closing, the checks of every settings box, the holiday table,
// the report start rules, the services list and the scan of the log for dialled numbers.
// Every handler works on the settings of DUVMain in place, as the window does; the window
// only shows what these return and beeps where they refuse.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Records.h"
#include "core/UserFeedback.h"

namespace OptionsModel {

using Date = double;

// ---- Tabs --------------------------------------------------------------------------------

struct TabInfo {
    const char* Caption;  // also the tab's key
    const char* ToolTip;
    const char* FrameCaption;
    int HelpContext;
};

inline constexpr std::array<TabInfo, 8> kTabs{{
    {"General", "General Operating Parameters", "General Settings", 51},
    {"Modem", "Modem Response Settings", "Response Codes", 33},
    {"Services", "Service Descriptions, Numbers and Costs", "Dialled Services Details", 36},
    {"Costs", "Default Connection Costs and Currency Format", "Default Costs", 46},
    {"Format", "Date & Currency Format", "Currency and Date Formats", 47},
    {"Errors", "Error Correction", "Error Correction/Adjustment", 48},
    {"Holidays", "User Defined Holidays", "User Defined Holidays", 54},
    {"Report", "Default Report Settings", "Default Report Settings", 59},
}};

inline constexpr int kModemTab = 2;     // 1-based: the tab that shows "Restore Defaults"
inline constexpr int kServicesTab = 3;  // the tab on which Delete deletes a service

// Ctrl+Tab: the tab after k (1-based), the first after the last.
int NextTab(int k);

// Form_KeyDown: Ctrl+Tab (key 9 with exactly the Ctrl shift state 2) moves to the next tab;
// Delete (key 46, any shift state) on the services tab deletes the selected service.
enum class KeyAction { None, NextTab, DeleteService };
KeyAction KeyDownAction(int key, int shift, int tab);

// ---- Snapshot, OK and closing --------------------------------------------------------------

// Every setting the window edits in place, as it was when the window loaded.
struct Snapshot {
    std::string OldModemLogFile, OldModemLogDir;
    std::int16_t OldMaxServices = 0, OldUsedServices = 0;
    std::vector<ServiceRecord> OldServices;  // the used entries, whole records
    std::int16_t OldMaxConnections = 0, OldMaxConnectDays = 0;
    std::int32_t OldMaxLogSize = 0;
    bool OldEditLog = false, OldShowErrors = false, OldShowToolbars = false,
         OldFlatToolbars = false, OldShowGraphic = false, OldAutoOptimize = false, OldTips = false,
         OldModemCheck = false;
    std::string OldModemDial, OldModemAnswer, OldModemConnect, OldModemUserDisconnect,
        OldModemHostDisconnect, OldModemReads, OldModemWrites;
    std::int32_t OldNoDisconDuration = 0, OldNoDisconData = 0;
    bool OldCalcCosts = false;
    double OldDialCost = 0, OldCostPerHour = 0, OldCostPerMeg = 0;
    std::string OldUserStartPref;
    Date OldUserStartDate = 0;
    std::int16_t OldUserStartOfWeek = 0, OldUserStartOfMonth = 0, OldUserReportPref = 0;
    std::string OldWarningSoundFile;
    bool OldForceAMPM = false;
};

Snapshot TakeSnapshot();
// frmSetup.restoreOldValues: every setting and the used service records put back.
void RestoreOldValues(const Snapshot& old);

inline constexpr const char* kRegionalNoticeTitle = "Windows Regional Settings";
inline constexpr const char* kRegionalNotice =
    "DUV has detected that you opened the \nWindows Regional Settings Dialog.\n\n"
    "If you have made any adjustments to your\nSystems Regional Settings then you\n"
    "MUST exit and re-start DUV.";

// ---- Holidays ------------------------------------------------------------------------------

// The window's working copy of the holidays, ascending, at most 100; lines are 0-based.
class HolidayList {
public:
    enum class Outcome { Added, Past, Listed, Full };
    struct AddResult {
        Outcome outcome = Outcome::Added;
        int line = -1;        // the line to select (the listed one when Listed)
        bool refill = false;  // inserted before the end: the list is filled anew
    };

    // The holidays of the settings that are today or later.
    void Load(Date today);
    // frmSetup.AddHoliday.
    AddResult Add(Date date, Date today);
    // Removes a line: the line to select afterwards (-1 when the list is left empty), nothing
    // when there is no such line.
    std::optional<int> Remove(int line);
    // btnSave_Click: the table becomes the settings' holidays.
    void Commit() const;

    int Count() const { return static_cast<int>(dates_.size()); }
    Date At(int line) const { return dates_[static_cast<std::size_t>(line)]; }
    const std::vector<Date>& Dates() const { return dates_; }
    // "n Holidays (Max 100)".
    std::string CountText() const;
    static std::string LineText(Date date);  // "Short Date"

private:
    std::vector<Date> dates_;
};

// ---- The window's state --------------------------------------------------------------------

struct ScanWindow;
struct ScanResult;

class Session {
public:
    static constexpr double PreviewAmount = 1234567.89;

    // Form_Load: the snapshot, then what filling the pages changes in the settings (the cost
    // boxes' formatting, the assumed data under the errors option, the report defaults, out
    // of range list indices, the holidays before today dropped).
    void Load(Date today);
    // btnSave_Click before the window unloads: the log-changed flag, the holidays, and every
    // setting written to the registry.
    void Save();
    // The window may close: not while the scan is reading.
    bool CanClose() const { return !Scanning; }
    // Reads the log at path for dialled numbers (one scan at a time; see ScanWindow).
    ScanResult Scan(const std::string& path, const ScanWindow& window);
    // Form_Unload: the snapshot put back unless saved, the flags for the main window, the
    // regional-settings notice, the time format.
    void Unload();

    Snapshot Old;
    HolidayList Holidays;
    bool Saved = false;
    bool RegionalDialogOpened = false;
    bool DurationTextValid = false;
    bool Scanning = false;
    std::string BrowseDir, BrowseFile;
};

// The time format of the reports: "h:mm:ss AMPM" with the regional separator, or "Long Time".
std::string TimeFormatFor(bool forceAMPM);

// ---- General page --------------------------------------------------------------------------

// A limit box left: the whole number the text rounds to (halves to even), or nothing when the
// text is not a number, is below 1 or does not fit the setting.
std::optional<std::int16_t> LimitValue16(const std::string& text);
std::optional<std::int32_t> LimitValue32(const std::string& text);

enum class MaxServicesCheck { Accepted, NotNumber, BelowUsed };
// txtMaxServices left (0 and up). Below the services in use shows the message box; accepted,
// the service table grows to the new maximum keeping every entry.
MaxServicesCheck AcceptMaxServices(const std::string& text);
inline constexpr const char* kMaxServicesBelowUsed =
    "You are currently using more services than this.\n"
    "Please reduce the number of defined services and try again!";

// Grows DUVMain::Services to 0..MaxServices, keeping its entries.
void EnsureServiceTable();

// txtLogName left: an existing file becomes the configured log (folder up to the last
// backslash, name after it); false when the text names no file.
bool AcceptLogName(const std::string& text);
// The log box's text and tool tip for a folder and name.
std::string LogNameText(const std::string& dir, const std::string& file);
std::string LogNameToolTip(const std::string& dir, const std::string& file);
inline constexpr const char* kLogFilter = "Modem Log Files (*.txt;*.log)|*.txt;*.log";

// ---- Modem page ----------------------------------------------------------------------------

struct KeywordBox {
    const char* Name;
    const char* Label;
    const char* ToolTip;
    std::string* Setting;
    const std::string* Default;
};
// The seven keyword boxes in the order Dial, Answer, Connect, User Disconnect, Remote
// Disconnect, Reads, Writes.
const std::array<KeywordBox, 7>& KeywordBoxes();
// A keyword box left: the setting takes the text upper-cased, which the box then shows; false
// (the setting kept) for an empty text.
bool AcceptKeyword(const KeywordBox& box, const std::string& text);
// btnDefaults_Click: the seven keywords back to their defaults.
void RestoreDefaultKeywords();

// ---- Costs page ----------------------------------------------------------------------------

// A cost box left: the text shown (four places at most), or nothing when the text is not a
// number (the setting keeps its value and the box the focus). An amount the store cannot
// hold is refused too: the box shows the setting's amount again and keeps the focus.
struct CostEntry {
    std::optional<std::string> Shown;
    bool Refused = false;  // out of range: Shown is the setting's own text
};
CostEntry AcceptCost(const std::string& text, double& setting);
// The cost box text for an amount.
std::string CostText(double amount);
inline constexpr const char* kCostNotice =
    "Use the 'Services' tab to define dial-up tariffs and service provider rates for a  "
    "specific dialled service.";

// ---- Format page ---------------------------------------------------------------------------

struct FormatTexts {
    std::string Country, RegionalSettings, Preview, DateFormat, ShortDate, LongDate;
};
FormatTexts FormatPage(Date today);

// ---- Errors page ---------------------------------------------------------------------------

// "##:##:##" with the regional time separator, and its label "hh:mm:ss".
std::string DurationMask();
std::string DurationLabel();
// What optShowErrors_Click shows: the duration text (at most 99:59:59) and the data text.
struct ErrorBoxes {
    bool Enabled = false;
    std::string Duration, Data;
};
ErrorBoxes ShowErrorsBoxes();
// mskNoDisconDuration_Change: eight characters, each a digit or the time separator.
bool DurationTextValid(const std::string& text);
// mskNoDisconDuration left: the seconds of a valid text up to 99:59:59, nothing otherwise.
std::optional<std::int32_t> DurationSeconds(const std::string& text);
inline constexpr std::int32_t kMaxDurationSeconds = 99 * 3600 + 59 * 60 + 59;
// mskNoDisconData left: the text shown ("#,##0"; "0" and refused when not a number, negative
// or so large that the analysis could not count it in bytes); NoDisconData takes its value
// with every group separator removed.
struct DataEntry {
    std::string Shown;
    bool Refused = false;
};
DataEntry AcceptNoDisconData(const std::string& text);

// ---- Report page ---------------------------------------------------------------------------

inline constexpr std::array<const char*, 5> kStartRules{
    "First Log Entry", "Last Log Entry", "Start of Week", "Start of Month", "User Defined"};
inline constexpr const char* kFirstDay = "First Day";

std::vector<std::string> WeekStartItems();   // the seven day names, Monday first
std::vector<std::string> MonthStartItems();  // "First Day", then the seven day names
// The list indices the settings select (0-based).
int WeekStartIndex();
int MonthStartIndex();
void SetWeekStart(const std::string& dayName);
void SetMonthStart(const std::string& item);
// mskUserDate: the text shown for the user date, and the date box left (false: refused).
std::string UserDateText();
bool AcceptUserDate(const std::string& text);

struct StartDateControls {
    bool WeekStart = false, MonthStart = false, UserDate = false;
};
// frmSetup.EnableStartDateControls for a start rule.
StartDateControls EnableStartDateControls(const std::string& rule);

// ---- Services page -------------------------------------------------------------------------

std::string ServicesUsedText();  // "n Used"
std::string ServicesMaxText();   // "(Max n)"
bool ServiceTableFull();         // both labels red
// A list row's first column: two blanks and the name.
std::string ServiceRowText(const ServiceRecord& service);
// A 1-based row that names a used service.
bool IsServiceRow(int row);

// frmSetup.DeleteSelectedService for a 1-based row: the later records move up whole. Returns
// the row to select afterwards (0 when none is left), nothing when the row names no service.
std::optional<int> DeleteSelectedService(int row);
bool ServiceNumberExists(const std::string& number);
std::string MakeUniqueServiceName(const std::string& prefix);
inline constexpr const char* kScannedServicePrefix = "Dialled Service #";

// btnScan_Click's reading (Session::Scan): every dialled number of the log that no service
// has becomes a new service, until the table is full. Events are let run after every line
// (core/UserFeedback.h). What the scan asks of the window: its progress bar, shown before the
// first line, filled in percent and hidden however the scan ends; a service added (its index);
// and holding the controls that could change the list or close the window: Hold(true) before
// the reading, Hold(false) however the scan ends, also when it stops on an error. Every member
// may be empty.
struct ScanWindow {
    ProgressDisplay Progress;
    std::function<void(int index)> ServiceAdded;
    std::function<void(bool held)> Hold;
};
struct ScanResult {
    bool Started = false;  // false: a scan was already running
    bool Opened = false;
    int Added = 0;
};
// The file the scan reads: the configured modem log.
std::string ScanPath();
// The closing message (through DUVMain::MessageText and MessageAnswer).
void ShowScanMessage(const ScanResult& result, const std::string& path);
inline constexpr const char* kScanTitle = "Scan for Dialled Services";

}  // namespace OptionsModel
