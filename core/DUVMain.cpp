// Program-wide state of DUV. The initial values are set in one place, SetInitialValues, which
// runs once before the program starts and again from ResetState.
#include "core/DUVMain.h"

#include "core/CurrencyFormat.h"
#include "core/ErrorContext.h"

namespace DUVMain {

// ---- Environment (set by Main) ----
std::string AppPath;
std::string CrLf;
std::string HelpFilePath;
std::uint32_t RegistryRoot;
std::string RegistryBaseKey;
std::string SystemLogDir;
std::string SystemLogName;
std::string OSVersionText;
std::string TimeFormat;
std::string DetectedLogFile;
std::string DetectedLogDir;

// ---- Run flags ----
bool SplashWaitForClick;
bool StartDateValid;
bool EndDateValid;
bool ArchiveOpen;
bool OptimizePrompted;
bool TipShown;
bool DisplaySettingsChanged;
bool SettingsChanged;
bool LogFileChanged;
bool LogPurged;
bool ServiceIsNew;
bool ServiceEditCancelled;
bool TariffDialogMode;
bool SummaryReportBuilt;
bool DetailReportBuilt;
bool ViewingLog;
bool ViewingTextFile;
bool AutoArrangeOn;

// ---- Message boxes ----
std::string MessageText;
std::string MessageAnswer;
bool NoLogWarningShown;

// ---- Report range and hand-over of a saved report ----
Date ReportStartDate;
Date ReportEndDate;
std::string TextFileTitle;
std::string TextFileDir;

// ---- Text search of the log viewer ----
std::string SearchText;
std::int16_t SearchMatchCase;
std::int16_t SearchDirection;
std::int64_t SearchStart;
bool SearchIsNew;

// ---- Log statistics of the file being analysed ----
std::string LogFileTitle;
std::string LogFileDir;
std::string LogFilePath;
bool LogFound;
std::int32_t LogLength;
bool LogEmpty;
bool LogTooBig;
float LogLineCount;
Date FirstEntryDate;
Date LastEntryDate;
bool LogInvalid;
bool LogCorrupt;

// ---- Weekday names in the user's language, 1 Monday to 7 Sunday ----
FixedArray<std::string, 1, 7> DayAbbrevs;
FixedArray<std::string, 1, 7> DayNames;

// ---- Settings: General ----
std::string ModemLogFile;
std::string ModemLogDir;
std::int16_t MaxServices;
std::int16_t UsedServices;
std::int16_t MaxConnections;
std::int16_t MaxConnectDays;
double NoDisconDuration;
double NoDisconData;
std::int32_t MaxLogSize;
std::int16_t PreferredModem;
std::string UserStartPref;
Date UserStartDate;
std::int16_t UserStartOfWeek;
std::int16_t UserStartOfMonth;
std::int16_t UserReportPref;
std::int32_t MainWinWidth;
std::int32_t MainWinHeight;
bool EditLog;
bool ShowErrors;
bool ShowToolbars;
bool FlatToolbars;
bool ShowGraphic;
bool AutoOptimize;
bool ModemCheck;
bool Tips;

// ---- Settings: Modem keywords (stored upper-case) ----
std::string ModemDial;
std::string ModemAnswer;
std::string ModemConnect;
std::string ModemUserDisconnect;
std::string ModemHostDisconnect;
std::string ModemReads;
std::string ModemWrites;

// ---- Settings: Costs ----
bool CalcCosts;
double DialCost;
double CostPerHour;
double CostPerMeg;

// ---- Settings: log viewer ----
bool ViewLogSaveSettings;
std::string ViewLogFontName;
std::int16_t ViewLogFontSize;
bool ViewLogFontBold;
bool ViewLogFontItalic;
std::int32_t ViewLogWinHeight;
std::int32_t ViewLogWinWidth;
std::int16_t ViewLogWinState;

// ---- Settings: report window ----
bool ReportSaveSettings;
bool ReportListViewFormat;
bool ReportAutoArrange;
bool ForceAMPM;
ReportViewSettings SummaryViewSettings;
ReportViewSettings DetailViewSettings;

// ---- Services, tariffs, holidays, recent files ----
ResizableArray<ServiceRecord> Services;
TariffTable WorkTariffs;
std::int16_t WorkTariffCount;
FixedArray<Date, 1, kMaxHolidays> Holidays;
std::int16_t UsedHolidays;
FixedArray<RecentFileRecord, 1, kRecentFileCount> RecentFiles;
std::string WarningSoundFile;

// ---- Modem check ----
FixedArray<ModemRecord, 1, 10> Modems;
std::int16_t ModemCount;
std::string ModemSubKey;
bool ModemConfigOK;
std::string ModemClassKey;
std::uint32_t ModemClassRoot;

// ---- Defaults held for the whole run ----
std::int16_t DefaultMaxServices;
std::int16_t DefaultMaxConnections;
std::int16_t DefaultMaxConnectDays;
std::int32_t DefaultMaxLogSize;
bool DefaultShowToolbars;
bool DefaultShowGraphic;
bool DefaultEditLog;
bool DefaultAutoOptimize;
std::string DefaultModemDial;
std::string DefaultModemAnswer;
std::string DefaultModemConnect;
std::string DefaultModemUserDisconnect;
std::string DefaultModemHostDisconnect;
std::string DefaultModemReads;
std::string DefaultModemWrites;
bool DefaultShowErrors;
double DefaultNoDisconDuration;
double DefaultDialCost;
double DefaultCostPerHour;
bool DefaultViewLogSaveSettings;
std::string DefaultViewLogFontName;
std::int16_t DefaultViewLogFontSize;
bool DefaultViewLogFontBold;
bool DefaultViewLogFontItalic;
std::int32_t DefaultViewLogWinHeight;
std::int32_t DefaultViewLogWinWidth;
std::int16_t DefaultViewLogWinState;

namespace {

void SetInitialValues() {
    // ---- Environment (set by Main) ----
    AppPath = {};
    CrLf = "\r\n";
    HelpFilePath = {};
    RegistryRoot = 0x80000002u;
    RegistryBaseKey = "SOFTWARE\\DUV";
    SystemLogDir = {};
    SystemLogName = "ModemLog.txt";
    OSVersionText = {};
    TimeFormat = {};
    DetectedLogFile = {};
    DetectedLogDir = {};
    // ---- Run flags ----
    SplashWaitForClick = false;
    StartDateValid = false;
    EndDateValid = false;
    ArchiveOpen = false;
    OptimizePrompted = false;
    TipShown = false;
    DisplaySettingsChanged = false;
    SettingsChanged = false;
    LogFileChanged = false;
    LogPurged = false;
    ServiceIsNew = false;
    ServiceEditCancelled = false;
    TariffDialogMode = false;
    SummaryReportBuilt = false;
    DetailReportBuilt = false;
    ViewingLog = false;
    ViewingTextFile = false;
    AutoArrangeOn = false;
    // ---- Message boxes ----
    MessageText = {};
    MessageAnswer = {};
    NoLogWarningShown = false;
    // ---- Report range and hand-over of a saved report ----
    ReportStartDate = 0;
    ReportEndDate = 0;
    TextFileTitle = {};
    TextFileDir = {};
    // ---- Text search of the log viewer ----
    SearchText = {};
    SearchMatchCase = 0;
    SearchDirection = 0;
    SearchStart = 0;
    SearchIsNew = false;
    // ---- Log statistics of the file being analysed ----
    LogFileTitle = {};
    LogFileDir = {};
    LogFilePath = {};
    LogFound = false;
    LogLength = 0;
    LogEmpty = false;
    LogTooBig = false;
    LogLineCount = 0;
    FirstEntryDate = 0;
    LastEntryDate = 0;
    LogInvalid = false;
    LogCorrupt = false;
    // ---- Weekday names in the user's language, 1 Monday to 7 Sunday ----
    DayAbbrevs = {};
    DayNames = {};
    // ---- Settings: General ----
    ModemLogFile = {};
    ModemLogDir = {};
    MaxServices = 0;
    UsedServices = 0;
    MaxConnections = 0;
    MaxConnectDays = 0;
    NoDisconDuration = 0;
    NoDisconData = 0;
    MaxLogSize = 0;
    PreferredModem = 0;
    UserStartPref = {};
    UserStartDate = 0;
    UserStartOfWeek = 0;
    UserStartOfMonth = 0;
    UserReportPref = 0;
    MainWinWidth = 0;
    MainWinHeight = 0;
    EditLog = false;
    ShowErrors = false;
    ShowToolbars = false;
    FlatToolbars = false;
    ShowGraphic = false;
    AutoOptimize = false;
    ModemCheck = false;
    Tips = false;
    // ---- Settings: Modem keywords (stored upper-case) ----
    ModemDial = {};
    ModemAnswer = {};
    ModemConnect = {};
    ModemUserDisconnect = {};
    ModemHostDisconnect = {};
    ModemReads = {};
    ModemWrites = {};
    // ---- Settings: Costs ----
    CalcCosts = false;
    DialCost = 0;
    CostPerHour = 0;
    CostPerMeg = 0;
    // ---- Settings: log viewer ----
    ViewLogSaveSettings = false;
    ViewLogFontName = {};
    ViewLogFontSize = 0;
    ViewLogFontBold = false;
    ViewLogFontItalic = false;
    ViewLogWinHeight = 0;
    ViewLogWinWidth = 0;
    ViewLogWinState = 0;
    // ---- Settings: report window ----
    ReportSaveSettings = false;
    ReportListViewFormat = false;
    ReportAutoArrange = false;
    ForceAMPM = false;
    SummaryViewSettings = {};
    DetailViewSettings = {};
    // ---- Services, tariffs, holidays, recent files ----
    Services = {};
    WorkTariffs = {};
    WorkTariffCount = 0;
    Holidays = {};
    UsedHolidays = 0;
    RecentFiles = {};
    WarningSoundFile = {};
    // ---- Modem check ----
    Modems = {};
    ModemCount = 0;
    ModemSubKey = {};
    ModemConfigOK = false;
    ModemClassKey = "System\\CurrentControlSet\\Services\\Class";
    ModemClassRoot = 0x80000002u;
    // ---- Defaults held for the whole run ----
    DefaultMaxServices = 10;
    DefaultMaxConnections = 200;
    DefaultMaxConnectDays = 2;
    DefaultMaxLogSize = 150;
    DefaultShowToolbars = true;
    DefaultShowGraphic = true;
    DefaultEditLog = true;
    DefaultAutoOptimize = false;
    DefaultModemDial = "RECV: ATD";
    DefaultModemAnswer = "ANSWERING";
    DefaultModemConnect = "CONNECTION ESTABLISHED";
    DefaultModemUserDisconnect = "HANGING UP THE MODEM";
    DefaultModemHostDisconnect = "REMOTE MODEM HUNG UP";
    DefaultModemReads = "READS";
    DefaultModemWrites = "WRITES";
    DefaultShowErrors = true;
    DefaultNoDisconDuration = 900;
    DefaultDialCost = 0.2;
    DefaultCostPerHour = 1.5;
    DefaultViewLogSaveSettings = false;
    DefaultViewLogFontName = "MS Sans Serif";
    DefaultViewLogFontSize = 8;
    DefaultViewLogFontBold = false;
    DefaultViewLogFontItalic = false;
    DefaultViewLogWinHeight = 4300;
    DefaultViewLogWinWidth = 6000;
    DefaultViewLogWinState = 0;
}

// Before any code of the program runs.
[[maybe_unused]] const bool initialised = (SetInitialValues(), true);

}  // namespace

void ResetState() {
    SetInitialValues();
    ResetRegionalValues();
    ResetErrorContext();
}

}  // namespace DUVMain
