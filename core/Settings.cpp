// The settings store: every setting of DUVMain read from and written to the registry under
// RegistryBaseKey, with its value name, type and encoding, and the start-up fill-in of the
// settings the registry left empty.
#include <vector>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/Registry_Functions.h"
#include "core/Runtime.h"
#include "core/SettingsValues.h"
#include "core/UserFeedback.h"

using Registry_Functions::Variant;

[[noreturn]] void RaiseSubscriptOutOfRange() { runtime::Raise(runtime::kErrSubscript); }

namespace DUVMain {

namespace {

using namespace settings_values;

// Booleans held as read until FillInDefaults converts them.
struct HeldBooleans {
    Variant EditLog, ShowErrors, ShowToolbars, FlatToolbars, ShowGraphic, AutoOptimize, ModemCheck,
        Tips, CalcCosts;
};
HeldBooleans held;

std::string SubKey(std::string_view name) { return RegistryBaseKey + "\\" + std::string(name); }

void CreateKey(const std::string& key) {
    runtime::Guard([&] { Registry_Functions::CreatNewKey(key, RegistryRoot); });
}

// A subkey is opened once for all the values read from it or written into it.
using Registry_Functions::KeyReader;
using Registry_Functions::KeyWriter;

// A setting's value, under its former name when missing under its own.
Variant Query(const KeyReader& key, const Setting& s, Registry_Functions::StoredValue& stored) {
    Variant value = key.Query(s.name, stored);
    if (value.IsEmpty() && !s.formerName.empty())
        value = key.Query(s.formerName);
    return value;
}

// Reads each value under the central error handler; a failing one leaves its setting as
// it was.
void ReadAll(const KeyReader& key, const std::vector<Setting>& list) {
    for (const Setting& s : list) {
        Registry_Functions::StoredValue stored;
        runtime::Guard([&] { Assign(s, Query(key, s, stored)); });
    }
}

void WriteAll(const KeyWriter& key, const std::vector<Setting>& list) {
    for (const Setting& s : list) {
        runtime::Guard([&] {
            const Encoded e = Encode(s);
            key.Set(s.name, e.value, e.type);
        });
    }
}

// Positions (array index) of the services whose values the last ReadUserParameters found
// each stored exactly as writing it back stores it, read from the key written into.
std::vector<bool> servicesAsStored;
// Set while WriteBackUserParameters writes: those services are left as they are.
bool skipServicesAsStored = false;

// Whether writing the setting back would store exactly what was read; never raises (a value
// that cannot be encoded is written, and fails there, as before).
bool WritesAsStored(const Setting& s, const Registry_Functions::StoredValue& stored) {
    try {
        const Encoded e = Encode(s);
        return Registry_Functions::StoresAs(stored, e.value, e.type);
    } catch (...) {
        return false;
    }
}

// ReadAll that also tells whether every value read is stored as writing it back stores it
// (a value read under its former name is not: writing it back stores it under its own).
bool ReadAllAsStored(const KeyReader& key, const std::vector<Setting>& list) {
    bool asStored = true;
    for (const Setting& s : list) {
        Registry_Functions::StoredValue stored;
        const bool done = runtime::Guard([&] { Assign(s, Query(key, s, stored)); });
        asStored = asStored && done && WritesAsStored(s, stored);
    }
    return asStored;
}

void ReadAll(const std::string& key, const std::vector<Setting>& list) {
    ReadAll(KeyReader(RegistryRoot, key), list);
}

void WriteAll(const std::string& key, const std::vector<Setting>& list) {
    WriteAll(KeyWriter(RegistryRoot, key), list);
}

void ReadHeld(const std::string& key, const char* name, Variant& target) {
    runtime::Guard([&] { target = KeyReader(RegistryRoot, key).Query(name); });
}

// A count outside first..last is put to the nearest limit and reported once as error 9
// with the step name; a retry finds it in range.
void ClampCount(std::string_view stepName, std::int16_t& count, int first, int last) {
    if (count >= first && count <= last)
        return;
    runtime::Step(stepName, [&] {
        if (count < first)
            count = static_cast<std::int16_t>(first);
        else if (count > last)
            count = static_cast<std::int16_t>(last);
        else
            return;
        runtime::Raise(runtime::kErrSubscript);
    });
}

std::vector<Setting> GeneralValues() {
    return {
        Text("ModemLogFile", ModemLogFile),
        Text("ModemLogDir", ModemLogDir),
        Number("MaxServices", MaxServices),
        Number("UsedServices", UsedServices),
        Number("MaxConnections", MaxConnections),
        Number("MaxConnectDays", MaxConnectDays),
        Number("NoDisconDuration", NoDisconDuration),
        Number("NoDisconData", NoDisconData),
        Number("MaxLogSize", MaxLogSize),
        Number("PreferredModem", PreferredModem),
        Text("UserStartPref", UserStartPref),
        DayCount("UserStartDate", UserStartDate),
        Number("UserStartOfWeek", UserStartOfWeek),
        Number("UserStartOfMonth", UserStartOfMonth),
        Number("UserReportPref", UserReportPref),
        Number("MainWinWidth", MainWinWidth),
        Number("MainWinHeight", MainWinHeight),
    };
}

std::vector<Setting> ModemValues() {
    return {
        Text("ModemDial", ModemDial),
        Text("ModemAnswer", ModemAnswer),
        Text("ModemConnect", ModemConnect),
        Text("ModemUserDisconnect", ModemUserDisconnect),
        Text("ModemHostDisconnect", ModemHostDisconnect),
        Text("ModemReads", ModemReads),
        Text("ModemWrites", ModemWrites),
    };
}

std::vector<Setting> ViewLogValues() {
    return {
        BoolText("SaveSettings", ViewLogSaveSettings), Text("FontName", ViewLogFontName),
        Number("FontSize", ViewLogFontSize),           BoolNumber("FontBold", ViewLogFontBold),
        BoolNumber("FontItalic", ViewLogFontItalic),   Number("WinHeight", ViewLogWinHeight),
        Number("WinWidth", ViewLogWinWidth),           Number("WinState", ViewLogWinState),
    };
}

std::vector<Setting> ReportWindowValues() {
    return {
        BoolText("SaveSettings", ReportSaveSettings),
        BoolText("ListView", ReportListViewFormat),
        BoolText("AutoArrange", ReportAutoArrange),
    };
}

std::vector<Setting> ReportViewValues(ReportViewSettings& view, int columns) {
    std::vector<Setting> list = {
        Number("WinHeight", view.WinHeight), Number("WinWidth", view.WinWidth),
        Number("WinLeft", view.WinLeft),     Number("WinTop", view.WinTop),
        Number("FontSize", view.FontSize),
    };
    for (int i = 1; i <= columns; ++i)
        list.push_back(Number("Column" + Digits(i), view.Column[i]));
    return list;
}

constexpr int kSummaryColumns = 5;
constexpr int kDetailColumns = 6;

// Services: the values of position n (array index + 1), in the stored order.
std::vector<Setting> ServiceNameValues(ServiceRecord& s, const std::string& n) {
    return {
        Text("ServiceName" + n, s.ServiceName),
        Text("ServiceNumber" + n, s.ServiceNumber),
        Text("ServiceAltNumber" + n, s.ServiceAltNumber),
    };
}

std::vector<Setting> DialCostValues(ServiceRecord& s, const std::string& n) {
    return {
        Number("DialOption" + n, s.DialOption),
        Money("DialFixedTariff" + n, s.DialFixedTariff),
        Number("UsedTariffs" + n, s.UsedTariffs),
    };
}

std::vector<Setting> TariffValues(TariffRecord& t, const std::string& n, int j) {
    const std::string p = "Tariff" + n + "-" + Digits(j);
    return {
        Number(p + "After", t.After),
        Text(p + "AppliesDays", t.AppliesDays),
        TimeOfDay(p + "AppliesTimeEnd", t.AppliesTimeEnd),
        TimeOfDay(p + "AppliesTimeStart", t.AppliesTimeStart),
        Text(p + "Description", t.Description),
        Money(p + "DialRate", t.DialRate),
        Money(p + "PerMinuteRate", t.PerMinuteRate),
        Text(p + "Unit", t.Unit),
        Number(p + "UnitMins", t.UnitMins),
        Number(p + "UnitSecs", t.UnitSecs),
    };
}

// The data threshold is written as "Warningdata" and read as "WarningData" (the registry
// compares value names without regard to case).
std::vector<Setting> ServiceCostValues(ServiceRecord& s, int service, const char* warningDataName) {
    const std::string n = Digits(service);
    Setting flexRate = Money(FlexRateName(service), s.FlexRate);
    flexRate.formerName = FormerFlexRateName(service);
    return {
        Money("ServiceRate" + n, s.ServiceRate),
        Number("ServiceOption" + n, s.ServiceOption),
        Number("AfterMeg" + n, s.AfterMeg),
        Money("PerMeg" + n, s.PerMeg),
        Text("MegPeriod" + n, s.MegPeriod),
        Number("Block" + n, s.Block),
        std::move(flexRate),
        Money("FlexRate2" + n, s.FlexRate2),
        Text("PenaltyPeriod" + n, s.PenaltyPeriod),
        Number("UpToHours" + n, s.UpToHours),
        BoolNumber("FreePeriod" + n, s.FreePeriod),
        TimeOfDay("FreeStart" + n, s.FreeStart),
        TimeOfDay("FreeEnd" + n, s.FreeEnd),
        BoolNumber("ShowWarnings" + n, s.ShowWarnings),
        Number("WarningOption" + n, s.WarningOption),
        Number("WarningHours" + n, s.WarningHours),
        Number("WarningMinutes" + n, s.WarningMinutes),
        Money("WarningDialup" + n, s.WarningDialup),
        Money("WarningService" + n, s.WarningService),
        Number(warningDataName + n, s.WarningData),
        BoolNumber("WarningDisplay" + n, s.WarningDisplay),
        BoolNumber("WarningSound" + n, s.WarningSound),
    };
}

std::string WarningSoundFileName() { return "WarningSoundFile" + Digits(UsedServices + 1); }

void ReadServices() {
    runtime::SetStep("Read Services");
    CreateKey(SubKey("Services"));
    const KeyReader key(RegistryRoot, SubKey("Services"));
    ClampCount("Read Services", UsedServices, 0, Services.UBound() + 1);
    servicesAsStored.assign(UsedServices > 0 ? UsedServices : 0, false);
    for (int i = 0; i < UsedServices; ++i) {
        ServiceRecord& s = Services[i];
        const std::string n = Digits(i + 1);
        runtime::SetStep("Read Services");
        bool asStored = ReadAllAsStored(key, ServiceNameValues(s, n));
        runtime::SetStep("Read Dial Costs");
        asStored = ReadAllAsStored(key, DialCostValues(s, n)) && asStored;
        runtime::SetStep("Read Tariffs");
        const std::int16_t tariffsStored = s.UsedTariffs;
        ClampCount("Read Tariffs", s.UsedTariffs, 0, kMaxTariffs);
        asStored = asStored && s.UsedTariffs == tariffsStored;
        for (int j = 1; j <= s.UsedTariffs; ++j)
            asStored = ReadAllAsStored(key, TariffValues(s.Tariffs[j], n, j)) && asStored;
        runtime::SetStep("ReadService Costs");
        asStored = ReadAllAsStored(key, ServiceCostValues(s, i + 1, "WarningData")) && asStored;
        servicesAsStored[i] = asStored;
        // Thousands of services take a while: the splash window paints and answers meanwhile.
        LetEventsRunBetweenSteps();
    }
    ReadAll(key, {Text(WarningSoundFileName(), WarningSoundFile)});
}

void WriteServices() {
    runtime::SetStep("Write Services");
    CreateKey(SubKey("Services"));
    const KeyWriter key(RegistryRoot, SubKey("Services"));
    ClampCount("Write Services", UsedServices, 0, Services.UBound() + 1);
    for (int i = 0; i < UsedServices; ++i) {
        if (skipServicesAsStored && i < static_cast<int>(servicesAsStored.size()) &&
            servicesAsStored[i])
            continue;
        ServiceRecord& s = Services[i];
        const std::string n = Digits(i + 1);
        runtime::SetStep("Write Services");
        WriteAll(key, ServiceNameValues(s, n));
        runtime::SetStep("Write Dial Costs");
        ClampCount("Write Dial Costs", s.UsedTariffs, 0, kMaxTariffs);
        WriteAll(key, DialCostValues(s, n));
        runtime::SetStep("Write Tariffs");
        for (int j = 1; j <= s.UsedTariffs; ++j)
            WriteAll(key, TariffValues(s.Tariffs[j], n, j));
        runtime::SetStep("Write Service Costs");
        WriteAll(key, ServiceCostValues(s, i + 1, "Warningdata"));
        if (skipServicesAsStored)
            LetEventsRunBetweenSteps();
    }
    WriteAll(key, {Text(WarningSoundFileName(), WarningSoundFile)});
}

std::vector<Setting> HolidayValues() {
    std::vector<Setting> list;
    for (int i = 1; i <= UsedHolidays; ++i)
        list.push_back(DayCount(runtime::Str(i), Holidays[i]));
    return list;
}

std::vector<Setting> RecentFileValues() {
    std::vector<Setting> list;
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const std::string n = Digits(i);
        list.push_back(Text("RecentFileName" + n, RecentFiles[i].RecentFileName));
        list.push_back(Text("RecentFilePath" + n, RecentFiles[i].RecentFilePath));
        list.push_back(Text("RecentFileType" + n, RecentFiles[i].RecentFileType));
    }
    return list;
}

// Converts a held Boolean; a missing one gets its default. A failing conversion that the
// handler skips also gets the default. Returns whether the default was put in.
bool FillBoolean(const Variant& raw, bool& target, bool defaultValue) {
    bool filled = false;
    const bool done = runtime::Guard([&] {
        if (raw.IsEmpty()) {
            target = defaultValue;
            filled = true;
        } else {
            target = ToBoolean(raw);
        }
    });
    if (!done) {
        target = defaultValue;
        filled = true;
    }
    return filled;
}

// A fill-in of a number or text: when empty, put in the default. A failing statement that
// the handler skips still puts in the default.
template <typename Empty, typename Apply>
bool FillIfEmpty(Empty isEmpty, Apply apply) {
    bool filled = false;
    const bool done = runtime::Guard([&] {
        if (isEmpty()) {
            apply();
            filled = true;
        }
    });
    if (!done) {
        apply();
        filled = true;
    }
    return filled;
}

template <typename T, typename D>
bool FillZero(T& target, const D& defaultValue) {
    return FillIfEmpty([&] { return target == 0; }, [&] { target = static_cast<T>(defaultValue); });
}

bool FillEmptyText(std::string& target, const std::string& defaultValue) {
    return FillIfEmpty([&] { return target.empty(); }, [&] { target = defaultValue; });
}

}  // namespace

void SetDefaultSettings() {
    MaxServices = DefaultMaxServices;
    MaxConnections = DefaultMaxConnections;
    MaxConnectDays = DefaultMaxConnectDays;
    MaxLogSize = DefaultMaxLogSize;
    ShowToolbars = DefaultShowToolbars;
    ShowGraphic = DefaultShowGraphic;
    EditLog = DefaultEditLog;
    AutoOptimize = DefaultAutoOptimize;
    DisplaySettingsChanged = false;
    ModemDial = DefaultModemDial;
    ModemAnswer = DefaultModemAnswer;
    ModemConnect = DefaultModemConnect;
    ModemUserDisconnect = DefaultModemUserDisconnect;
    ModemHostDisconnect = DefaultModemHostDisconnect;
    ModemReads = DefaultModemReads;
    ModemWrites = DefaultModemWrites;
    ShowErrors = DefaultShowErrors;
    NoDisconDuration = DefaultNoDisconDuration;
    DialCost = DefaultDialCost;
    CostPerHour = DefaultCostPerHour;
    ViewLogSaveSettings = DefaultViewLogSaveSettings;
    ViewLogFontName = DefaultViewLogFontName;
    ViewLogFontSize = DefaultViewLogFontSize;
    ViewLogFontBold = DefaultViewLogFontBold;
    ViewLogFontItalic = DefaultViewLogFontItalic;
    ViewLogWinHeight = DefaultViewLogWinHeight;
    ViewLogWinWidth = DefaultViewLogWinWidth;
    ViewLogWinState = DefaultViewLogWinState;
}

void ReadUserParameters() {
    runtime::SetContext("DUVMain", "ReadUserParameters");
    ShowBusy(true);

    const std::string general = SubKey("General");
    runtime::SetStep("Read General");
    CreateKey(general);
    ReadAll(general, GeneralValues());

    runtime::SetStep("Read Boolean");
    ReadHeld(general, "EditLog", held.EditLog);
    ReadHeld(general, "ShowErrors", held.ShowErrors);
    ReadHeld(general, "ShowToolbars", held.ShowToolbars);
    ReadHeld(general, "FlatToolbars", held.FlatToolbars);
    ReadHeld(general, "ShowGraphic", held.ShowGraphic);
    ReadHeld(general, "AutoOptimize", held.AutoOptimize);
    ReadHeld(general, "ModemCheck", held.ModemCheck);
    ReadHeld(general, "Tips", held.Tips);

    // A negative size is reported and then treated as missing.
    ClampCount("Read General", MaxServices, 0, INT16_MAX);
    ClampCount("Read General", MaxConnections, 0, INT16_MAX);
    if (MaxServices == 0) {
        MaxServices = DefaultMaxServices;
        SettingsChanged = true;
    }
    runtime::Guard([&] { Services.ReDim(MaxServices); });

    const std::string modem = SubKey("Modem");
    runtime::SetStep("Read Modem");
    CreateKey(modem);
    ReadAll(modem, ModemValues());

    const std::string costs = SubKey("Costs");
    runtime::SetStep("Read Default Costs");
    CreateKey(costs);
    ReadHeld(costs, "CalcCosts", held.CalcCosts);
    ReadAll(costs, {Money("DialCost", DialCost), Money("CostPerHour", CostPerHour),
                    Money("CostPerMeg", CostPerMeg)});

    ReadServices();

    const std::string viewLog = SubKey("ViewLog");
    runtime::SetStep("View Log Settings");
    CreateKey(viewLog);
    ReadAll(viewLog, ViewLogValues());

    const std::string viewReport = SubKey("ViewReport");
    runtime::SetStep("View Report Settings");
    CreateKey(viewReport);
    ReadAll(viewReport, ReportWindowValues());
    const std::string summary = SubKey("ViewReport\\SummaryReport");
    runtime::SetStep("View Report Settings-Summary");
    CreateKey(summary);
    ReadAll(summary, ReportViewValues(SummaryViewSettings, kSummaryColumns));
    const std::string detail = SubKey("ViewReport\\DetailReport");
    runtime::SetStep("View Report Settings-Detail");
    CreateKey(detail);
    ReadAll(detail, ReportViewValues(DetailViewSettings, kDetailColumns));
    ReadAll(detail, {BoolNumber("ForceAMPM", ForceAMPM)});

    const std::string holidays = SubKey("Holidays");
    runtime::SetStep("Read Holidays");
    CreateKey(holidays);
    ReadAll(holidays, {Number("UsedHolidays", UsedHolidays)});
    ClampCount("Read Holidays", UsedHolidays, 0, kMaxHolidays);
    if (UsedHolidays > 0)
        ReadAll(holidays, HolidayValues());

    const std::string recent = SubKey("RecentFiles");
    runtime::SetStep("Read Recent Files");
    CreateKey(recent);
    ReadAll(recent, RecentFileValues());
    ShowBusy(false);
}

void FillInDefaults() {
    bool changed = false;
    changed |= FillZero(MaxConnections, DefaultMaxConnections);
    changed |= FillZero(MaxConnectDays, DefaultMaxConnectDays);
    // A negative size would make every log too big: it counts as missing, as zero does.
    changed |= FillIfEmpty([] { return MaxLogSize <= 0; }, [] { MaxLogSize = DefaultMaxLogSize; });
    changed |= FillEmptyText(ModemDial, DefaultModemDial);
    changed |= FillEmptyText(ModemAnswer, DefaultModemAnswer);
    changed |= FillEmptyText(ModemConnect, DefaultModemConnect);
    changed |= FillEmptyText(ModemUserDisconnect, DefaultModemUserDisconnect);
    changed |= FillEmptyText(ModemHostDisconnect, DefaultModemHostDisconnect);
    changed |= FillEmptyText(ModemReads, DefaultModemReads);
    changed |= FillEmptyText(ModemWrites, DefaultModemWrites);
    changed |= FillZero(NoDisconDuration, DefaultNoDisconDuration);
    changed |= FillZero(NoDisconData, 0);
    // More than the analysis can count in bytes (or less than nothing) counts as missing.
    changed |= FillIfEmpty([] { return NoDisconData < 0 || NoDisconData > kMaxNoDisconData; },
                           [] { NoDisconData = 0; });
    changed |= FillZero(CostPerMeg, 0);
    changed |= FillBoolean(held.EditLog, EditLog, DefaultEditLog);
    changed |= FillBoolean(held.ShowErrors, ShowErrors, DefaultShowErrors);
    changed |= FillBoolean(held.ShowToolbars, ShowToolbars, DefaultShowToolbars);
    changed |= FillBoolean(held.FlatToolbars, FlatToolbars, true);
    changed |= FillBoolean(held.ShowGraphic, ShowGraphic, DefaultShowGraphic);
    changed |= FillBoolean(held.AutoOptimize, AutoOptimize, DefaultAutoOptimize);
    FillBoolean(held.Tips, Tips, true);
    FillBoolean(held.ModemCheck, ModemCheck, true);
    if (FillBoolean(held.CalcCosts, CalcCosts, true)) {
        DialCost = DefaultDialCost;
        CostPerHour = DefaultCostPerHour;
        changed = true;
    }
    changed |= FillIfEmpty([] { return ViewLogFontName.empty(); }, [] { SetViewLogDefaults(); });
    changed |= FillIfEmpty([] { return SummaryViewSettings.WinHeight == 0; },
                           [] { SetViewReportDefaults(); });
    FillEmptyText(UserStartPref, "Last Log Entry");
    if (changed)
        SettingsChanged = true;
}

void WriteUserParameters() {
    runtime::SetContext("DUVMain", "WriteUserParameters");
    ShowBusy(true);

    const std::string general = SubKey("General");
    runtime::SetStep("Write General");
    CreateKey(general);
    WriteAll(general, {
                          Text("ModemLogFile", ModemLogFile),
                          Text("ModemLogDir", ModemLogDir),
                          Number("MaxServices", MaxServices),
                          Number("UsedServices", UsedServices),
                          Number("MaxConnections", MaxConnections),
                          Number("MaxConnectDays", MaxConnectDays),
                          Number("NoDisconDuration", NoDisconDuration),
                          Number("NoDisconData", NoDisconData),
                          Number("MaxLogSize", MaxLogSize),
                          BoolText("EditLog", EditLog),
                          BoolText("ShowErrors", ShowErrors),
                          BoolText("ShowToolbars", ShowToolbars),
                          BoolText("FlatToolbars", FlatToolbars),
                          BoolText("ShowGraphic", ShowGraphic),
                          BoolText("AutoOptimize", AutoOptimize),
                          BoolText("Tips", Tips),
                          BoolText("ModemCheck", ModemCheck),
                          Text("UserStartPref", UserStartPref),
                          DayCount("UserStartDate", UserStartDate),
                          Number("UserStartOfWeek", UserStartOfWeek),
                          Number("UserStartOfMonth", UserStartOfMonth),
                          Number("UserReportPref", UserReportPref),
                      });

    const std::string modem = SubKey("Modem");
    runtime::SetStep("Write Modem");
    CreateKey(modem);
    for (std::string* keyword : {&ModemDial, &ModemAnswer, &ModemConnect, &ModemUserDisconnect,
                                 &ModemHostDisconnect, &ModemReads, &ModemWrites}) {
        runtime::Guard([&] { *keyword = runtime::UCase(*keyword); });
    }
    WriteAll(modem, ModemValues());

    WriteServices();

    const std::string costs = SubKey("Costs");
    runtime::SetStep("Write Default Costs");
    CreateKey(costs);
    WriteAll(costs, {BoolText("CalcCosts", CalcCosts), Money("DialCost", DialCost),
                     Money("CostPerHour", CostPerHour), Money("CostPerMeg", CostPerMeg)});

    runtime::SetStep("Write View Log Settings");
    if (ViewLogSaveSettings) {
        const std::string viewLog = SubKey("ViewLog");
        CreateKey(viewLog);
        WriteAll(viewLog, ViewLogValues());
    }

    const std::string detail = SubKey("ViewReport\\DetailReport");
    runtime::SetStep("Write View Report Settings");
    if (ReportSaveSettings) {
        const std::string viewReport = SubKey("ViewReport");
        CreateKey(viewReport);
        WriteAll(viewReport, ReportWindowValues());
        const std::string summary = SubKey("ViewReport\\SummaryReport");
        runtime::SetStep("Write ViewReport Settings - Summary");
        CreateKey(summary);
        WriteAll(summary, ReportViewValues(SummaryViewSettings, kSummaryColumns));
        runtime::SetStep("Write ViewReport Settings - Detail");
        CreateKey(detail);
        WriteAll(detail, ReportViewValues(DetailViewSettings, kDetailColumns));
    }
    CreateKey(detail);
    WriteAll(detail, {BoolNumber("ForceAMPM", ForceAMPM)});

    const std::string holidays = SubKey("Holidays");
    runtime::SetStep("Write Holidays");
    CreateKey(holidays);
    ClampCount("Write Holidays", UsedHolidays, 0, kMaxHolidays);
    WriteAll(holidays, {Number("UsedHolidays", UsedHolidays)});
    WriteAll(holidays, HolidayValues());
    ShowBusy(false);
}

void WriteBackUserParameters() {
    skipServicesAsStored = true;
    struct Done {
        ~Done() {
            skipServicesAsStored = false;
            servicesAsStored.clear();
        }
    } done;
    WriteUserParameters();
}

}  // namespace DUVMain
