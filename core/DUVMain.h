// Program-wide state of DUV: settings with their defaults, the service and holiday tables,
// recent files, log statistics and the flags the windows share. The regional values live in
// core/CurrencyFormat.h, the error context in core/ErrorContext.h.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "core/Records.h"

namespace DUVMain {

using Date = double;  // days since 30 December 1899, fraction the time of day

// ---- Environment (set by Main) ----
extern std::string AppPath;
extern std::string CrLf;
extern std::string HelpFilePath;
extern std::uint32_t RegistryRoot;   // HKEY_LOCAL_MACHINE, 0x80000002
extern std::string RegistryBaseKey;  // "SOFTWARE\DUV"
extern std::string SystemLogDir;     // %WinDir% & "\"
extern std::string SystemLogName;    // "ModemLog.txt"
extern std::string OSVersionText;
extern std::string TimeFormat;
extern std::string DetectedLogFile;  // set by the modem check
extern std::string DetectedLogDir;

// ---- Run flags ----
extern bool SplashWaitForClick;
extern bool StartDateValid;
extern bool EndDateValid;
extern bool ArchiveOpen;
extern bool OptimizePrompted;
extern bool TipShown;
extern bool DisplaySettingsChanged;
extern bool SettingsChanged;  // a default was filled in: write the settings back
extern bool LogFileChanged;
extern bool LogPurged;
extern bool ServiceIsNew;
extern bool ServiceEditCancelled;
extern bool TariffDialogMode;  // True: the tariff editor adds a tariff
extern bool SummaryReportBuilt;
extern bool DetailReportBuilt;
extern bool ViewingLog;
extern bool ViewingTextFile;
extern bool AutoArrangeOn;

// ---- Message boxes ----
extern std::string MessageText;
extern std::string MessageAnswer;  // the button code as decimal text
extern bool NoLogWarningShown;

// ---- Report range and hand-over of a saved report ----
extern Date ReportStartDate;
extern Date ReportEndDate;
extern std::string TextFileTitle;
extern std::string TextFileDir;

// ---- Text search of the log viewer ----
extern std::string SearchText;
extern std::int16_t SearchMatchCase;  // 0 off, 1 on
extern std::int16_t SearchDirection;  // 1 down, 0 up
extern std::int64_t SearchStart;      // a text position: whole numbers, any file size
extern bool SearchIsNew;

// ---- Log statistics of the file being analysed ----
extern std::string LogFileTitle;
extern std::string LogFileDir;
extern std::string LogFilePath;
extern bool LogFound;
extern std::int32_t LogLength;
extern bool LogEmpty;
extern bool LogTooBig;
extern float LogLineCount;
extern Date FirstEntryDate;
extern Date LastEntryDate;
extern bool LogInvalid;
extern bool LogCorrupt;

// ---- Weekday names in the user's language, 1 Monday to 7 Sunday ----
extern FixedArray<std::string, 1, 7> DayAbbrevs;
extern FixedArray<std::string, 1, 7> DayNames;

// ---- Settings: General ----
extern std::string ModemLogFile;
extern std::string ModemLogDir;  // with trailing backslash
extern std::int16_t MaxServices;
extern std::int16_t UsedServices;
extern std::int16_t MaxConnections;
extern std::int16_t MaxConnectDays;
extern double NoDisconDuration;  // seconds
extern double NoDisconData;      // KB
// The most KB a session without a disconnect entry can be given: times 1024 still fits 32 bits.
inline constexpr double kMaxNoDisconData = 2097151;
extern std::int32_t MaxLogSize;      // KB
extern std::int16_t PreferredModem;  // 1-based, 0 none
extern std::string UserStartPref;
extern Date UserStartDate;
extern std::int16_t UserStartOfWeek;
extern std::int16_t UserStartOfMonth;
extern std::int16_t UserReportPref;  // 0 summary, 1 details
extern std::int32_t MainWinWidth;    // twips
extern std::int32_t MainWinHeight;
extern bool EditLog;
extern bool ShowErrors;
extern bool ShowToolbars;
extern bool FlatToolbars;
extern bool ShowGraphic;
extern bool AutoOptimize;
extern bool ModemCheck;
extern bool Tips;

// ---- Settings: Modem keywords (stored upper-case) ----
extern std::string ModemDial;
extern std::string ModemAnswer;
extern std::string ModemConnect;
extern std::string ModemUserDisconnect;
extern std::string ModemHostDisconnect;
extern std::string ModemReads;
extern std::string ModemWrites;

// ---- Settings: Costs ----
extern bool CalcCosts;
extern double DialCost;  // money
extern double CostPerHour;
extern double CostPerMeg;

// ---- Settings: log viewer ----
extern bool ViewLogSaveSettings;
extern std::string ViewLogFontName;
extern std::int16_t ViewLogFontSize;
extern bool ViewLogFontBold;
extern bool ViewLogFontItalic;
extern std::int32_t ViewLogWinHeight;  // twips (32-bit in memory: large windows fit)
extern std::int32_t ViewLogWinWidth;
extern std::int16_t ViewLogWinState;  // 0 normal, 1 minimized, 2 maximized

// ---- Settings: report window ----
extern bool ReportSaveSettings;
extern bool ReportListViewFormat;
extern bool ReportAutoArrange;
extern bool ForceAMPM;
extern ReportViewSettings SummaryViewSettings;
extern ReportViewSettings DetailViewSettings;

// ---- Services, tariffs, holidays, recent files ----
extern ResizableArray<ServiceRecord> Services;  // 0 to MaxServices; 0 to UsedServices - 1 in use
extern TariffTable WorkTariffs;                 // working copy of the edited service's tariffs
extern std::int16_t WorkTariffCount;
extern FixedArray<Date, 1, kMaxHolidays> Holidays;
extern std::int16_t UsedHolidays;
extern FixedArray<RecentFileRecord, 1, kRecentFileCount> RecentFiles;
extern std::string WarningSoundFile;

// ---- Modem check ----
extern FixedArray<ModemRecord, 1, 10> Modems;
extern std::int16_t ModemCount;
extern std::string ModemSubKey;
extern bool ModemConfigOK;
extern std::string ModemClassKey;     // "System\CurrentControlSet\Services\Class"
extern std::uint32_t ModemClassRoot;  // HKEY_LOCAL_MACHINE

// ---- Defaults held for the whole run ----
extern std::int16_t DefaultMaxServices;
extern std::int16_t DefaultMaxConnections;
extern std::int16_t DefaultMaxConnectDays;
extern std::int32_t DefaultMaxLogSize;
extern bool DefaultShowToolbars;
extern bool DefaultShowGraphic;
extern bool DefaultEditLog;
extern bool DefaultAutoOptimize;
extern std::string DefaultModemDial;
extern std::string DefaultModemAnswer;
extern std::string DefaultModemConnect;
extern std::string DefaultModemUserDisconnect;
extern std::string DefaultModemHostDisconnect;
extern std::string DefaultModemReads;
extern std::string DefaultModemWrites;
extern bool DefaultShowErrors;
extern double DefaultNoDisconDuration;
extern double DefaultDialCost;
extern double DefaultCostPerHour;
extern bool DefaultViewLogSaveSettings;
extern std::string DefaultViewLogFontName;
extern std::int16_t DefaultViewLogFontSize;
extern bool DefaultViewLogFontBold;
extern bool DefaultViewLogFontItalic;
extern std::int32_t DefaultViewLogWinHeight;
extern std::int32_t DefaultViewLogWinWidth;
extern std::int16_t DefaultViewLogWinState;

// ---- The module's state ----

// Puts every variable of DUVMain back to its value at program start: those above, the
// regional values (core/CurrencyFormat.h) and the error context (core/ErrorContext.h).
void ResetState();

// ---- Settings store (core/Settings.cpp) ----

// Start-up step 5: puts every setting that has a default to it, in the start-up order, and
// clears DisplaySettingsChanged.
void SetDefaultSettings();

// Loads every setting from the registry. Booleans and CalcCosts are held as read until
// FillInDefaults converts them. A MaxServices of 0 becomes 10 and sets SettingsChanged;
// counts beyond their tables are clamped with one error 9 reported.
void ReadUserParameters();

// Start-up step 7: converts the held Booleans and puts a default into every setting the
// registry left empty, setting SettingsChanged where the start-up asks for it.
// Runs statement by statement under the central error handler.
void FillInDefaults();

// Stores every setting (see WriteRecentFiles and SaveMainWinSettings for the rest).
void WriteUserParameters();

// Start-up step 11: WriteUserParameters right after ReadUserParameters, the services
// unchanged since. A service whose values ReadUserParameters found stored exactly as they
// would be written is left as it is: the registry ends as the whole write leaves it.
void WriteBackUserParameters();

// ---- Recent files and window settings (core/RecentFiles.cpp, core/WindowSettings.cpp) ----
void AddRecentFile(const std::string& fileTitle, const std::string& fileDir,
                   const std::string& fileType);
void ShiftRecentFiles(std::int16_t start);
void WriteRecentFiles();

// Stores the main window's size, given in twips by the main window.
void SaveMainWinSettings(double widthTwips, double heightTwips);

void SetViewLogDefaults();
// A window closed with "Save on Exit" off stores only that: SaveSettings = 0 (REG_DWORD) under
// the view's key ("ViewLog", "ViewReport"), created when missing.
void WriteSaveSettingsOff(const std::string& viewKey);
void SetViewReportDefaults();
void GetDayNames();

}  // namespace DUVMain

// The operating-system version text ("WIN 98", "NT 40", "NT XX", ...).
namespace OSVersion {

struct PlatformVersion {
    std::uint32_t PlatformId = 0;  // 1 Windows 95 family, 2 NT family
    std::uint32_t BuildNumber = 0;
};

// The text for a platform identifier and build number.
std::string VersionText(const PlatformVersion& version);

// Where GetOSVersion asks for the version. Windows builds install QueryWindowsVersion
// (core/win32); until one is installed the version is platform 0, build 0. Returns the query
// it replaces (nullptr for none).
using VersionQuery = PlatformVersion (*)();
VersionQuery SetVersionQuery(VersionQuery query);

std::string GetOSVersion();

// The platform's answer (GetVersionExA). Windows builds only.
PlatformVersion QueryWindowsVersion();

}  // namespace OSVersion
