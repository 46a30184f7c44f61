// Program-wide state of DUV with its initial values.
#include "core/DUVMain.h"

namespace DUVMain {

// ---- Environment (set by Main) ----
std::string AppPath;
std::string CrLf = "\r\n";
std::string HelpFilePath;
std::uint32_t RegistryRoot = 0x80000002u;
std::string RegistryBaseKey = "SOFTWARE\\DUV";
std::string SystemLogDir;
std::string SystemLogName = "ModemLog.txt";
std::string OSVersionText;
std::string TimeFormat;
std::string DetectedLogFile;
std::string DetectedLogDir;

// ---- Run flags ----
bool SplashWaitForClick = false;
bool StartDateValid = false;
bool EndDateValid = false;
bool ArchiveOpen = false;
bool OptimizePrompted = false;
bool TipShown = false;
bool DisplaySettingsChanged = false;
bool SettingsChanged = false;
bool LogFileChanged = false;
bool LogPurged = false;
bool ServiceIsNew = false;
bool ServiceEditCancelled = false;
bool TariffDialogMode = false;
bool SummaryReportBuilt = false;
bool DetailReportBuilt = false;
bool ViewingLog = false;
bool ViewingTextFile = false;
bool AutoArrangeOn = false;

// ---- Message boxes ----
std::string MessageText;
std::string MessageAnswer;
bool NoLogWarningShown = false;

// ---- Report range and hand-over of a saved report ----
Date ReportStartDate = 0;
Date ReportEndDate = 0;
std::string TextFileTitle;
std::string TextFileDir;

// ---- Text search of the log viewer ----
std::string SearchText;
std::int16_t SearchMatchCase = 0;
std::int16_t SearchDirection = 0;
std::int64_t SearchStart = 0;
bool SearchIsNew = false;

// ---- Log statistics of the file being analysed ----
std::string LogFileTitle;
std::string LogFileDir;
std::string LogFilePath;
bool LogFound = false;
std::int32_t LogLength = 0;
bool LogEmpty = false;
bool LogTooBig = false;
float LogLineCount = 0;
Date FirstEntryDate = 0;
Date LastEntryDate = 0;
bool LogInvalid = false;
bool LogCorrupt = false;

// ---- Weekday names in the user's language, 1 Monday to 7 Sunday ----
FixedArray<std::string, 1, 7> DayAbbrevs;
FixedArray<std::string, 1, 7> DayNames;

// ---- Settings: General ----
std::string ModemLogFile;
std::string ModemLogDir;
std::int16_t MaxServices = 0;
std::int16_t UsedServices = 0;
std::int16_t MaxConnections = 0;
std::int16_t MaxConnectDays = 0;
double NoDisconDuration = 0;
double NoDisconData = 0;
std::int32_t MaxLogSize = 0;
std::int16_t PreferredModem = 0;
std::string UserStartPref;
Date UserStartDate = 0;
std::int16_t UserStartOfWeek = 0;
std::int16_t UserStartOfMonth = 0;
std::int16_t UserReportPref = 0;
std::int32_t MainWinWidth = 0;
std::int32_t MainWinHeight = 0;
bool EditLog = false;
bool ShowErrors = false;
bool ShowToolbars = false;
bool FlatToolbars = false;
bool ShowGraphic = false;
bool AutoOptimize = false;
bool ModemCheck = false;
bool Tips = false;

// ---- Settings: Modem keywords (stored upper-case) ----
std::string ModemDial;
std::string ModemAnswer;
std::string ModemConnect;
std::string ModemUserDisconnect;
std::string ModemHostDisconnect;
std::string ModemReads;
std::string ModemWrites;

// ---- Settings: Costs ----
bool CalcCosts = false;
double DialCost = 0;
double CostPerHour = 0;
double CostPerMeg = 0;

// ---- Settings: log viewer ----
bool ViewLogSaveSettings = false;
std::string ViewLogFontName;
std::int16_t ViewLogFontSize = 0;
bool ViewLogFontBold = false;
bool ViewLogFontItalic = false;
std::int32_t ViewLogWinHeight = 0;
std::int32_t ViewLogWinWidth = 0;
std::int16_t ViewLogWinState = 0;

// ---- Settings: report window ----
bool ReportSaveSettings = false;
bool ReportListViewFormat = false;
bool ReportAutoArrange = false;
bool ForceAMPM = false;
ReportViewSettings SummaryViewSettings;
ReportViewSettings DetailViewSettings;

// ---- Services, tariffs, holidays, recent files ----
ResizableArray<ServiceRecord> Services;
TariffTable WorkTariffs;
std::int16_t WorkTariffCount = 0;
FixedArray<Date, 1, kMaxHolidays> Holidays;
std::int16_t UsedHolidays = 0;
FixedArray<RecentFileRecord, 1, kRecentFileCount> RecentFiles;
std::string WarningSoundFile;

// ---- Modem check ----
FixedArray<ModemRecord, 1, 10> Modems;
std::int16_t ModemCount = 0;
std::string ModemSubKey;
bool ModemConfigOK = false;
std::string ModemClassKey = "System\\CurrentControlSet\\Services\\Class";
std::uint32_t ModemClassRoot = 0x80000002u;

// ---- Defaults held for the whole run ----
std::int16_t DefaultMaxServices = 10;
std::int16_t DefaultMaxConnections = 200;
std::int16_t DefaultMaxConnectDays = 2;
std::int32_t DefaultMaxLogSize = 150;
bool DefaultShowToolbars = true;
bool DefaultShowGraphic = true;
bool DefaultEditLog = true;
bool DefaultAutoOptimize = false;
std::string DefaultModemDial = "RECV: ATD";
std::string DefaultModemAnswer = "ANSWERING";
std::string DefaultModemConnect = "CONNECTION ESTABLISHED";
std::string DefaultModemUserDisconnect = "HANGING UP THE MODEM";
std::string DefaultModemHostDisconnect = "REMOTE MODEM HUNG UP";
std::string DefaultModemReads = "READS";
std::string DefaultModemWrites = "WRITES";
bool DefaultShowErrors = true;
double DefaultNoDisconDuration = 900;
double DefaultDialCost = 0.2;
double DefaultCostPerHour = 1.5;
bool DefaultViewLogSaveSettings = false;
std::string DefaultViewLogFontName = "MS Sans Serif";
std::int16_t DefaultViewLogFontSize = 8;
bool DefaultViewLogFontBold = false;
bool DefaultViewLogFontItalic = false;
std::int32_t DefaultViewLogWinHeight = 4300;
std::int32_t DefaultViewLogWinWidth = 6000;
std::int16_t DefaultViewLogWinState = 0;

}  // namespace DUVMain
