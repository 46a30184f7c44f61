#include "ui/options/OptionsModel.h"

#include <algorithm>
#include <cmath>

#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/GeneralFunctions.h"
#include "core/MessageBox.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"

namespace OptionsModel {

int NextTab(int k) { return k >= static_cast<int>(kTabs.size()) ? 1 : k + 1; }

KeyAction KeyDownAction(int key, int shift, int tab) {
    constexpr int kKeyTab = 9, kKeyDelete = 46, kShiftCtrl = 2;
    if (key == kKeyTab && shift == kShiftCtrl)
        return KeyAction::NextTab;
    if (key == kKeyDelete && tab == kServicesTab)
        return KeyAction::DeleteService;
    return KeyAction::None;
}

// ---- Snapshot, OK and closing --------------------------------------------------------------

Snapshot TakeSnapshot() {
    using namespace DUVMain;
    Snapshot s;
    s.OldModemLogFile = ModemLogFile;
    s.OldModemLogDir = ModemLogDir;
    s.OldMaxServices = MaxServices;
    s.OldUsedServices = UsedServices;
    for (int i = 0; i < UsedServices && Services.InRange(i); ++i)
        s.OldServices.push_back(Services[i]);
    s.OldMaxConnections = MaxConnections;
    s.OldMaxConnectDays = MaxConnectDays;
    s.OldMaxLogSize = MaxLogSize;
    s.OldEditLog = EditLog;
    s.OldShowErrors = ShowErrors;
    s.OldShowToolbars = ShowToolbars;
    s.OldFlatToolbars = FlatToolbars;
    s.OldShowGraphic = ShowGraphic;
    s.OldAutoOptimize = AutoOptimize;
    s.OldTips = Tips;
    s.OldModemCheck = ModemCheck;
    s.OldModemDial = ModemDial;
    s.OldModemAnswer = ModemAnswer;
    s.OldModemConnect = ModemConnect;
    s.OldModemUserDisconnect = ModemUserDisconnect;
    s.OldModemHostDisconnect = ModemHostDisconnect;
    s.OldModemReads = ModemReads;
    s.OldModemWrites = ModemWrites;
    s.OldNoDisconDuration = runtime::CLng(NoDisconDuration);
    s.OldNoDisconData = runtime::CLng(NoDisconData);
    s.OldCalcCosts = CalcCosts;
    s.OldDialCost = DialCost;
    s.OldCostPerHour = CostPerHour;
    s.OldCostPerMeg = CostPerMeg;
    s.OldUserStartPref = UserStartPref;
    s.OldUserStartDate = UserStartDate;
    s.OldUserStartOfWeek = UserStartOfWeek;
    s.OldUserStartOfMonth = UserStartOfMonth;
    s.OldUserReportPref = UserReportPref;
    s.OldWarningSoundFile = WarningSoundFile;
    s.OldForceAMPM = ForceAMPM;
    return s;
}

void RestoreOldValues(const Snapshot& s) {
    using namespace DUVMain;
    ModemLogFile = s.OldModemLogFile;
    ModemLogDir = s.OldModemLogDir;
    MaxServices = s.OldMaxServices;
    UsedServices = s.OldUsedServices;
    MaxConnections = s.OldMaxConnections;
    MaxConnectDays = s.OldMaxConnectDays;
    MaxLogSize = s.OldMaxLogSize;
    EditLog = s.OldEditLog;
    ShowErrors = s.OldShowErrors;
    ShowToolbars = s.OldShowToolbars;
    FlatToolbars = s.OldFlatToolbars;
    ShowGraphic = s.OldShowGraphic;
    AutoOptimize = s.OldAutoOptimize;
    ModemDial = s.OldModemDial;
    ModemAnswer = s.OldModemAnswer;
    ModemConnect = s.OldModemConnect;
    ModemUserDisconnect = s.OldModemUserDisconnect;
    ModemHostDisconnect = s.OldModemHostDisconnect;
    ModemReads = s.OldModemReads;
    ModemWrites = s.OldModemWrites;
    NoDisconDuration = s.OldNoDisconDuration;
    NoDisconData = s.OldNoDisconData;
    CalcCosts = s.OldCalcCosts;
    DialCost = s.OldDialCost;
    CostPerHour = s.OldCostPerHour;
    CostPerMeg = s.OldCostPerMeg;
    Tips = s.OldTips;
    ModemCheck = s.OldModemCheck;
    UserStartPref = s.OldUserStartPref;
    UserStartDate = s.OldUserStartDate;
    UserStartOfWeek = s.OldUserStartOfWeek;
    UserStartOfMonth = s.OldUserStartOfMonth;
    UserReportPref = s.OldUserReportPref;
    WarningSoundFile = s.OldWarningSoundFile;
    ForceAMPM = s.OldForceAMPM;
    EnsureServiceTable();
    for (std::size_t i = 0; i < s.OldServices.size(); ++i)
        Services.at(static_cast<int>(i)) = s.OldServices[i];
}

std::string TimeFormatFor(bool forceAMPM) {
    const std::string& sep = DUVMain::TimeSeparator;
    return forceAMPM ? "h" + sep + "mm" + sep + "ss AMPM" : "Long Time";
}

void Session::Load(Date today) {
    using namespace DUVMain;
    runtime::SetContext("frmSetup", "Form_Load");
    RegionalDialogOpened = false;
    Old = TakeSnapshot();
    EnsureServiceTable();

    // What filling the pages runs: the cost boxes' leave handlers, the errors option and the
    // data box's leave handler.
    for (double* cost : {&DialCost, &CostPerHour, &CostPerMeg})
        AcceptCost(runtime::CStr(*cost), *cost);
    const ErrorBoxes boxes = ShowErrorsBoxes();
    DurationTextValid = OptionsModel::DurationTextValid(boxes.Duration);
    AcceptNoDisconData(boxes.Data);

    // The report page: its defaults, and list indices a damaged registry put out of range.
    if (UserStartPref.empty())
        UserStartPref = "Last Log Entry";
    if (UserStartOfWeek < 0 || UserStartOfWeek > 6)
        UserStartOfWeek = 0;
    if (UserStartOfMonth < 0 || UserStartOfMonth > 7)
        UserStartOfMonth = 0;
    if (UserReportPref < 0 || UserReportPref > 1)
        UserReportPref = 0;
    if (UserStartDate == 0)
        UserStartDate = LastEntryDate != 0 ? LastEntryDate : runtime::DateOnly(today);

    Holidays.Load(today);
    LogFileChanged = false;
    Saved = false;
}

void Session::Save() {
    using namespace DUVMain;
    if (Old.OldModemLogDir != ModemLogDir || Old.OldModemLogFile != ModemLogFile)
        LogFileChanged = true;
    Saved = true;
    Holidays.Commit();
    WriteUserParameters();
}

void Session::Unload() {
    using namespace DUVMain;
    if (!Saved)
        RestoreOldValues(Old);
    Old.OldServices.clear();
    if (LogFileChanged) {
        LogInvalid = false;
        LogCorrupt = false;
    }
    if (RegionalDialogOpened)
        ShowMessage(kRegionalNotice, msg::OkOnly, kRegionalNoticeTitle);
    if (FlatToolbars != Old.OldFlatToolbars || UserStartPref != Old.OldUserStartPref ||
        UserStartDate != Old.OldUserStartDate || UserStartOfWeek != Old.OldUserStartOfWeek ||
        UserStartOfMonth != Old.OldUserStartOfMonth) {
        DisplaySettingsChanged = true;
    }
    TimeFormat = TimeFormatFor(ForceAMPM);
}

// ---- Holidays ------------------------------------------------------------------------------

void HolidayList::Load(Date today) {
    dates_.clear();
    const Date first = runtime::DateOnly(today);
    const int used = std::clamp<int>(DUVMain::UsedHolidays, 0, kMaxHolidays);
    for (int i = 1; i <= used; ++i) {
        const Date d = runtime::DateOnly(DUVMain::Holidays[i]);
        if (d >= first)
            dates_.push_back(d);
    }
    std::stable_sort(dates_.begin(), dates_.end());
}

HolidayList::AddResult HolidayList::Add(Date date, Date today) {
    const Date d = runtime::DateOnly(date);
    if (d < runtime::DateOnly(today))
        return {Outcome::Past};
    const auto found = std::find(dates_.begin(), dates_.end(), d);
    if (found != dates_.end())
        return {Outcome::Listed, static_cast<int>(found - dates_.begin())};
    if (Count() >= kMaxHolidays)
        return {Outcome::Full};
    if (dates_.empty() || d > dates_.back()) {
        dates_.push_back(d);
        return {Outcome::Added, Count() - 1, false};
    }
    const auto at = std::lower_bound(dates_.begin(), dates_.end(), d);
    const int line = static_cast<int>(at - dates_.begin());
    dates_.insert(at, d);
    return {Outcome::Added, line, true};
}

std::optional<int> HolidayList::Remove(int line) {
    if (line < 0 || line >= Count())
        return std::nullopt;
    dates_.erase(dates_.begin() + line);
    if (line < Count())
        return line;
    return Count() - 1;
}

void HolidayList::Commit() const {
    DUVMain::UsedHolidays = static_cast<std::int16_t>(Count());
    for (int i = 1; i <= Count(); ++i)
        DUVMain::Holidays[i] = dates_[static_cast<std::size_t>(i - 1)];
}

std::string HolidayList::CountText() const {
    return std::to_string(Count()) + " Holidays (Max " + std::to_string(kMaxHolidays) + ")";
}

std::string HolidayList::LineText(Date date) { return runtime::Format(date, "Short Date"); }

// ---- General page --------------------------------------------------------------------------

namespace {

// The whole number a box's text rounds to, when it is a number that fits lo..hi.
std::optional<double> WholeNumberIn(const std::string& text, double lo, double hi) {
    if (!runtime::IsNumeric(text))
        return std::nullopt;
    double value = 0;
    try {
        value = runtime::CDbl(text);
    } catch (const runtime::RuntimeError&) {
        return std::nullopt;
    }
    const double rounded = std::nearbyint(value);  // halves to even
    if (!(rounded >= lo && rounded <= hi))
        return std::nullopt;
    return rounded;
}

}  // namespace

// A limit of 0 is none the program can use: the settings store counts it as missing.
std::optional<std::int16_t> LimitValue16(const std::string& text) {
    auto v = WholeNumberIn(text, 1, 32767);
    if (!v)
        return std::nullopt;
    return static_cast<std::int16_t>(*v);
}

std::optional<std::int32_t> LimitValue32(const std::string& text) {
    auto v = WholeNumberIn(text, 1, 2147483647.0);
    if (!v)
        return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

void EnsureServiceTable() {
    if (DUVMain::Services.UBound() < DUVMain::MaxServices)
        DUVMain::Services.ReDimPreserve(DUVMain::MaxServices);
}

MaxServicesCheck AcceptMaxServices(const std::string& text) {
    const auto value = WholeNumberIn(text, 0, 32767);
    if (!value)
        return MaxServicesCheck::NotNumber;
    if (*value < DUVMain::UsedServices) {
        ShowMessage(kMaxServicesBelowUsed, msg::OkOnly);
        return MaxServicesCheck::BelowUsed;
    }
    DUVMain::MaxServices = static_cast<std::int16_t>(*value);
    EnsureServiceTable();
    return MaxServicesCheck::Accepted;
}

bool AcceptLogName(const std::string& text) {
    if (!GeneralFunctions::FileExists(text))
        return false;
    const std::string file = GeneralFunctions::FileNameOfPath(text);
    DUVMain::ModemLogFile = file;
    DUVMain::ModemLogDir = GeneralFunctions::TextBeforeSeparator(text, file);
    return true;
}

std::string LogNameText(const std::string& dir, const std::string& file) { return dir + file; }

std::string LogNameToolTip(const std::string& dir, const std::string& file) {
    return " " + dir + file + " ";
}

// ---- Modem page ----------------------------------------------------------------------------

const std::array<KeywordBox, 7>& KeywordBoxes() {
    using namespace DUVMain;
    static const std::array<KeywordBox, 7> boxes{{
        {"TextOptDial", "Dial:", "Dialling", &ModemDial, &DefaultModemDial},
        {"TextOptAnswer", "Answer:", "Answering", &ModemAnswer, &DefaultModemAnswer},
        {"TextOptConnect", "Connect:", "Connecting", &ModemConnect, &DefaultModemConnect},
        {"TextOptUsrDisconnect", "User Disconnect:", "Disconnect By User", &ModemUserDisconnect,
         &DefaultModemUserDisconnect},
        {"TextOptRemDisconnect", "Remote Disconnect:", "Disconnect By Host", &ModemHostDisconnect,
         &DefaultModemHostDisconnect},
        {"TextOptReads", "Reads - Writes:", "Data Downloaded During Session", &ModemReads,
         &DefaultModemReads},
        {"TextOptWrites", "-", "Data Uploaded During Session", &ModemWrites, &DefaultModemWrites},
    }};
    return boxes;
}

bool AcceptKeyword(const KeywordBox& box, const std::string& text) {
    // An empty keyword would match every line of the log (the settings store counts it as
    // missing), and one of blanks alone nearly every line.
    if (text.find_first_not_of(" \t") == std::string::npos)
        return false;
    *box.Setting = runtime::UCase(text);
    return true;
}

void RestoreDefaultKeywords() {
    for (const KeywordBox& box : KeywordBoxes())
        *box.Setting = *box.Default;
}

// ---- Costs page ----------------------------------------------------------------------------

CostEntry AcceptCost(const std::string& text, double& setting) {
    if (!runtime::IsNumeric(text))
        return {};
    const double value = runtime::CDbl(text);
    if (!GeneralFunctions::MoneyInRange(value))
        return {CostText(setting), true};
    setting = value;
    return {CostText(value), false};
}

std::string CostText(double amount) {
    return GeneralFunctions::Format_Dplaces(runtime::CStr(amount), 4);
}

// ---- Format page ---------------------------------------------------------------------------

FormatTexts FormatPage(Date today) {
    using namespace DUVMain;
    FormatTexts t;
    t.Country = CountryName;
    t.RegionalSettings =
        "The Country setting for this computer is " + CountryName +
        ". Below are examples of your Currency format and 'Short' and 'Long' Date formats.";
    t.Preview = CurrencyFormat::FormatCurrency(Session::PreviewAmount, CurrencySymbol,
                                               CurrencySymbolPrecedes, CurrencySymbolSpaced,
                                               CurrencyDigits, 0);
    t.DateFormat =
        "You can alter these formats via the 'Regional Settings' icon in the Windows Control Panel "
        "or by "
        "clicking on the icon above.";
    t.ShortDate = runtime::Format(today, "Short Date");
    t.LongDate = runtime::Format(today, "Long Date");
    return t;
}

// ---- Errors page ---------------------------------------------------------------------------

std::string DurationMask() {
    const std::string& sep = DUVMain::TimeSeparator;
    return "##" + sep + "##" + sep + "##";
}

std::string DurationLabel() {
    const std::string& sep = DUVMain::TimeSeparator;
    return "hh" + sep + "mm" + sep + "ss";
}

ErrorBoxes ShowErrorsBoxes() {
    const std::string& sep = DUVMain::TimeSeparator;
    if (!DUVMain::ShowErrors)
        return {false, "00" + sep + "00" + sep + "00", "0"};
    // A stored duration beyond what the box can hold shows as its largest value, never cut.
    const double seconds = std::min<double>(DUVMain::NoDisconDuration, kMaxDurationSeconds);
    return {true, GeneralFunctions::FormatTime(seconds), runtime::CStr(DUVMain::NoDisconData)};
}

bool DurationTextValid(const std::string& text) {
    if (text.size() != 8)
        return false;
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || DUVMain::TimeSeparator.find(c) != std::string::npos;
    });
}

std::optional<std::int32_t> DurationSeconds(const std::string& text) {
    if (!DurationTextValid(text))
        return std::nullopt;
    const auto field = [&](std::size_t start) {
        return static_cast<std::int32_t>(runtime::Val(text.substr(start, 2)));
    };
    const std::int32_t seconds = field(0) * 3600 + field(3) * 60 + field(6);
    if (seconds > kMaxDurationSeconds)
        return std::nullopt;
    return seconds;
}

DataEntry AcceptNoDisconData(const std::string& text) {
    DataEntry entry;
    if (auto value = WholeNumberIn(text, 0, DUVMain::kMaxNoDisconData)) {
        entry.Shown = runtime::Format(runtime::CDbl(text), "#,##0");
    } else {
        entry.Shown = "0";
        entry.Refused = true;
    }
    DUVMain::NoDisconData = GeneralFunctions::XVal(entry.Shown);
    return entry;
}

// ---- Report page ---------------------------------------------------------------------------

std::vector<std::string> WeekStartItems() {
    return {DUVMain::DayNames.begin(), DUVMain::DayNames.end()};
}

std::vector<std::string> MonthStartItems() {
    std::vector<std::string> items{kFirstDay};
    items.insert(items.end(), DUVMain::DayNames.begin(), DUVMain::DayNames.end());
    return items;
}

int WeekStartIndex() {
    const int i = DUVMain::UserStartOfWeek;
    return i >= 0 && i <= 6 ? i : 0;
}

int MonthStartIndex() {
    const int i = DUVMain::UserStartOfMonth;
    return i >= 0 && i <= 7 ? i : 0;
}

void SetWeekStart(const std::string& dayName) {
    DUVMain::UserStartOfWeek =
        static_cast<std::int16_t>(std::max(0, GeneralFunctions::DayNameIndex(dayName) - 1));
}

void SetMonthStart(const std::string& item) {
    DUVMain::UserStartOfMonth = static_cast<std::int16_t>(GeneralFunctions::DayNameIndex(item));
}

std::string UserDateText() {
    std::string text;
    runtime::Guard([&] {
        text = GeneralFunctions::format_date(runtime::Format(DUVMain::UserStartDate, "Short Date"));
    });
    return text;
}

bool AcceptUserDate(const std::string& text) {
    if (!runtime::IsDate(text))
        return false;
    DUVMain::UserStartDate = runtime::DateOnly(runtime::CDate(text));
    return true;
}

StartDateControls EnableStartDateControls(const std::string& rule) {
    StartDateControls c;
    c.WeekStart = rule == "Start of Week";
    c.MonthStart = rule == "Start of Month";
    c.UserDate = rule == "User Defined";
    return c;
}

}  // namespace OptionsModel
