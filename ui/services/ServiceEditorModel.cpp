#include "ui/services/ServiceEditorModel.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "analysis/DUVAnalyse.h"
#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/GeneralFunctions.h"
#include "core/MessageBox.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"
#include "core/UserFeedback.h"

namespace ServiceEditorModel {

using namespace ControlTableModel;

const std::array<TabInfo, kTabCount> kTabs = {{
    {"Service Details", "Dialed Service Description and Number"},
    {"Dial-up Cost", "Dial-up Tariffs and Charges"},
    {"Service Cost ", "On-Line Charges For This Service"},
    {"Warnings", "User Defined Alerts/Warnings for this Service"},
}};

namespace {

constexpr const char* kUserDefinedTariffs = "User Defined Tariffs";
constexpr const char* kIncorrectTitle = "WARNING - Incorrect Parameters";
constexpr const char* kIncorrectText =
    "Not All Of The Options You Have Selected Have Been Entered Correctly!\n\n"
    "Please review your options for this service. The information you have\n"
    "entered is either incomplete or inappropriate.";

Control Make(const char* name, Kind kind, int page, const char* text = "", const char* tip = "",
             std::vector<std::string> items = {}) {
    Control c;
    c.Name = name;
    c.Type = kind;
    c.Page = page;
    c.Text = text;
    c.ToolTip = tip;
    c.Items = std::move(items);
    if (kind == Kind::Label || kind == Kind::Frame || kind == Kind::CheckBox ||
        kind == Kind::OptionButton || kind == Kind::Button)
        c.BackColor = kButtonFace;
    return c;
}

// Every control of the window in its control order.
std::vector<Control> DesignControls() {
    const Kind F = Kind::Frame, L = Kind::Label, T = Kind::TextBox, D = Kind::DropDownList,
               C = Kind::CheckBox, O = Kind::OptionButton, B = Kind::Button;
    std::vector<Control> c = {
        Make("TabStrip1", Kind::TabStrip, -1),
        Make("btnOK", B, -1, "&OK"),
        Make("btnCancel", B, -1, "&Cancel"),
        // Service Details
        Make("fraService(0)", F, 0),
        Make("lblDescription", L, 0, "Dialled Service Description:"),
        Make("txtDescription", T, 0),
        Make("lblNumber", L, 0, "Dialled Number:"),
        Make("txtNumber", T, 0),
        Make("lblAltNumber", L, 0, "Alternate Number:"),
        Make("txtAltNumber", T, 0),
        Make("lblNotice(0)", L, 0,
             "This is where you define a specific dialled service in detail. DUV will look for "
             "the 'Dialled Number' in your modem log and if found match this with the 'Service "
             "Description' you provide above for presentation on reports."),
        Make("lblNotice(1)", L, 0,
             "You can also define complicated rates or tariffs specific to this service by "
             "clicking on the appropriate tabs above. If you do not define costs for this "
             "service here then the 'Default Costs' will be used as defined in the 'Default "
             "Costs' option window."),
        Make("imgService", Kind::Picture, 0),
        // Dial-up Cost
        Make("fraService(1)", F, 1),
        Make("optDialCost(0)", O, 1),
        Make("optDialCost(1)", O, 1),
        Make("fraFixedTariff", F, 1, "Per Call Tariff"),
        Make("lbDialFixedTariff(0)", L, 1, "To Dial This Service Costs"),
        Make("txtDialFixedTariff", T, 1, "", "Cost Per Call"),
        Make("lblDialFixedTariff(1)", L, 1, "Per Call "),
        Make("fraTimeTariff", F, 1, "Time Segmented Tariffs"),
        Make("lstDialTimeTariff", Kind::ListView, 1, "", kUserDefinedTariffs),
        Make("btnDialTimeTariffNew", B, 1, "&New"),
        Make("btnDialTimeTariffEdit", B, 1, "&Edit"),
        Make("btnDialTimeTariffDelete", B, 1, "&Delete"),
        Make("lblDialTimeTariff9", L, 1),
        // Service Cost
        Make("fraService(2)", F, 2),
        Make("optServiceCost(0)", O, 2),
        Make("fraFlatRate", F, 2, "Flat Hourly Rate"),
        Make("lblServiceFixedRate1", L, 2, "This Service Costs"),
        Make("txtServiceFixedRate", T, 2, "", "Cost Per Hour"),
        Make("lblServiceFixedRate2", L, 2, "Per Hour"),
        Make("optServiceCost(1)", O, 2),
        Make("fraFlexiRate", F, 2, "Flexi Rate"),
        Make("lblServiceFlexRate1", L, 2, "This Service Costs"),
        Make("txtServiceFlexRate", T, 2, "", "Cost Per Hour"),
        Make("lblServiceFlexRate2", L, 2, "Per Hour up to"),
        Make("txtServiceFlexHours", T, 2, "", "Threshold Hours"),
        Make("lblServiceFlexRate3", L, 2, "Hours Per"),
        Make("lstServiceFlexPeriod", D, 2, "", "Threshold Period", {"Day", "Week", "Month"}),
        Make("lblServiceFlexRate4", L, 2, "Time in Excess of this is Charged at "),
        Make("txtServiceFlexRate2", T, 2, "", "Penalty or Excess Rate"),
        Make("lblServiceFlexRate5", L, 2, "Per Hour"),
        Make("fraPerMeg", F, 2, "Data Download Rate"),
        Make("lblPerMeg1", L, 2, "Costs"),
        Make("txtPerMeg", T, 2, "", "Cost Per Megabyte"),
        Make("lblPerMeg2", L, 2, "Per Megabyte After"),
        Make("txtAfterMeg", T, 2, "", "Threshold (Megabytes)"),
        Make("lblPerMeg4", L, 2, "Megabytes Per"),
        Make("lstMegPeriod", D, 2, "", "Threshold Period", {"Day", "Week", "Month", "Session"}),
        Make("fraFreePeriod", F, 2, "Cost Free Period"),
        Make("chkFreePeriod", C, 2, "", "Show Cost/Connection Warnings"),
        Make("lblFreePeriod1", L, 2, "This Service is Free Between"),
        Make("lstFreePeriodStart", D, 2, "", "Start of Cost Free Period"),
        Make("lblFreePeriod2", L, 2, "and"),
        Make("lstFreePeriodEnd", D, 2, "", "End of Cost Free Period"),
        Make("fraBlock", F, 2, "Block Size"),
        Make("txtServiceBlock", T, 2, "", "Blocking Factor"),
        Make("lblServiceBlock1", L, 2, "Minutes"),
        Make("lblServiceBlock2", L, 2, "(0 = None)"),
        // Warnings
        Make("fraService(3)", F, 3),
        Make("chkWarnings", C, 3, "Enable Warnings", "Show Cost/Connection Warnings"),
        Make("optWarning(0)", O, 3, "When total time connected to this service exceeds:"),
        Make("txtWarningHours", T, 3, "", "Cost Per Hour"),
        Make("lblWarnHours", L, 3, "Hrs"),
        Make("txtWarningMinutes", T, 3, "", "Cost Per Hour"),
        Make("lblWarnMinutes", L, 3, "Mins"),
        Make("optWarning(1)", O, 3, "When total dial-up costs for this service exceed:"),
        Make("txtWarndialupCost", T, 3, "", "Dial-up Cost Threshold"),
        Make("lblCurrencySymbol(0)", L, 3),
        Make("optWarning(2)", O, 3, "When total service costs for this service exceed:"),
        Make("txtWarnServiceCost", T, 3, "", "Service Cost Threshold"),
        Make("lblCurrencySymbol(1)", L, 3),
        Make("optWarning(3)", O, 3, "When total data read for this service exceeds:"),
        Make("txtWarnData", T, 3, "", "Service Cost Threshold"),
        Make("lblKB", L, 3, "(KB)"),
        Make("chkWarnDisplay", C, 3, "Display Warning", "Display visible warnings"),
        Make("chkWarnSound", C, 3, "Sound Warning", "Sound audible warnings."),
        Make("txtWarningSound", T, 3),
        Make("btnWarnBrowse", B, 3, "?", "Browse"),
        Make("btnWarnPlay", B, 3, "4", "Test Sound"),
        Make("lblWarnNotes", L, 3,
             "DUV will display and/or sound a warning message when generating a report if the "
             "threshold you have defined has been equalled or exceeded. Note that the "
             "calculations are based on the defined reporting period."),
    };
    for (Control& control : c)
        if (control.Name == "chkWarnDisplay")
            control.Value = 1;
    return c;
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Disable_All_Controls leaves the controls whose upper-case names hold any of these.
bool KeptByName(const std::string& upperName) {
    static const char* const kKeep[] = {
        "DESCRIPTION", "NUMBER", "NOTICE", "BTNCANCEL", "SHAPE",   "IMAGE", "OPT",   "TABSTRIP",
        "FRA",         "MEG",    "BLOCK",  "CHKFREE",   "CHKWARN", "NOTES", "DIALOG"};
    return std::any_of(std::begin(kKeep), std::end(kKeep),
                       [&](const char* k) { return Contains(upperName, k); });
}

// The part of the control names each cost option (1 or 2) enables.
const char* DialCostPart(int option) { return option == 1 ? "DialFixedTariff" : "DialTimeTariff"; }
const char* ServiceCostPart(int option) { return option == 1 ? "ServiceFixed" : "ServiceFlex"; }

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

}  // namespace

std::vector<std::string> QuarterHours(bool endOfQuarter) {
    static constexpr int kStarts[] = {0, 15, 30, 45};
    std::vector<std::string> items;
    for (int h = 0; h < 24; ++h)
        for (int m : kStarts)
            items.push_back(TwoDigits(h) + DUVMain::TimeSeparator +
                            TwoDigits(endOfQuarter ? m + 14 : m));
    return items;
}

std::string HourMinuteText(double time) {
    const int seconds = runtime::SecondsOfDay(time);
    return TwoDigits(seconds / 3600) + DUVMain::TimeSeparator + TwoDigits(seconds % 3600 / 60);
}

// ---- the editor ---------------------------------------------------------------------------

struct ServiceEditor::Handlers {
    std::function<void(ServiceEditor&)> Change, Click, GotFocus, LostFocus;
};

const ServiceEditor::Handlers* ServiceEditor::HandlersOf(const std::string& control) {
    using E = ServiceEditor;
    static const std::unordered_map<std::string, Handlers> table = [] {
        std::unordered_map<std::string, Handlers> t;
        auto refresh = [](E& e) { e.RefreshOKState(); };
        t["txtDescription"].Change = refresh;
        for (const char* box : {"txtNumber", "txtAltNumber"}) {
            t[box].Change = refresh;
            t[box].LostFocus = [box](E& e) { e.Number_LostFocus(box); };
        }
        t["txtDialFixedTariff"].Change = [](E& e) {
            e.RefuseMoneyOutOfRange("txtDialFixedTariff");
        };
        t["txtDialFixedTariff"].LostFocus = [](E& e) {
            e.FixedMoney_LostFocus("txtDialFixedTariff", true);
        };
        for (const char* box : {"txtServiceFixedRate", "txtPerMeg"}) {
            t[box].Change = [box](E& e) {
                if (!e.RefuseMoneyOutOfRange(box))
                    e.RefreshOKState();
            };
            t[box].LostFocus = [box](E& e) { e.FixedMoney_LostFocus(box, false); };
        }
        for (const char* box : {"txtServiceFlexRate", "txtServiceFlexRate2"}) {
            t[box].Change = [box](E& e) { e.FlexRate_Change(box); };
            t[box].LostFocus = [box](E& e) { e.FlexRate_LostFocus(box); };
        }
        t["txtServiceFlexHours"] = {[](E& e) { e.txtServiceFlexHours_Change(); },
                                    {},
                                    {},
                                    [](E& e) { e.txtServiceFlexHours_LostFocus(); }};
        t["txtAfterMeg"] = {
            [](E& e) { e.txtAfterMeg_Change(); }, {}, {}, [](E& e) { e.txtAfterMeg_LostFocus(); }};
        t["txtServiceBlock"] = {[](E& e) { e.txtServiceBlock_Change(); },
                                {},
                                {},
                                [](E& e) { e.txtServiceBlock_LostFocus(); }};
        for (const char* list : {"lstMegPeriod", "lstServiceFlexPeriod"})
            t[list] = {refresh, refresh, {}, refresh};
        for (int i = 0; i < 2; ++i) {
            t["optDialCost(" + std::to_string(i) + ")"].Click = [i](E& e) {
                e.optDialCost_Click(i);
            };
            t["optServiceCost(" + std::to_string(i) + ")"].Click = [i](E& e) {
                e.optServiceCost_Click(i);
            };
        }
        for (int i = 0; i < 4; ++i)
            t["optWarning(" + std::to_string(i) + ")"].Click = [i](E& e) { e.optWarning_Click(i); };
        t["chkFreePeriod"].Click = [](E& e) { e.chkFreePeriod_Click(); };
        t["chkWarnings"].Click = [](E& e) { e.chkWarnings_Click(); };
        t["chkWarnSound"].Click = [](E& e) { e.chkWarnSound_Click(); };
        t["chkWarnDisplay"].Click = [](E& e) { e.chkWarnDisplay_Click(); };
        t["btnOK"].Click = [](E& e) { e.btnOK_Click(); };
        t["btnCancel"].Click = [](E& e) { e.btnCancel_Click(); };
        t["btnDialTimeTariffNew"].Click = [](E& e) { e.btnDialTimeTariffNew_Click(); };
        t["btnDialTimeTariffEdit"].Click = [](E& e) { e.btnDialTimeTariffEdit_Click(); };
        t["btnDialTimeTariffDelete"].Click = [](E& e) { e.btnDialTimeTariffDelete_Click(); };
        t["btnWarnBrowse"].Click = [](E& e) { e.btnWarnBrowse_Click(); };
        t["btnWarnPlay"].Click = [](E& e) { e.btnWarnPlay_Click(); };
        t["txtWarningHours"] = {
            [](E& e) { e.WholeThreshold_Change("txtWarningHours", e.HoursValid); },
            {},
            {},
            [](E& e) { e.WholeThreshold_LostFocus("txtWarningHours", e.HoursValid, "###0"); }};
        t["txtWarningMinutes"] = {
            [](E& e) { e.WholeThreshold_Change("txtWarningMinutes", e.MinutesValid); },
            {},
            {},
            [](E& e) { e.WholeThreshold_LostFocus("txtWarningMinutes", e.MinutesValid, "#0"); }};
        t["txtWarndialupCost"] = {
            [](E& e) { e.MoneyThreshold_Change("txtWarndialupCost", e.DialupCostValid); },
            {},
            {},
            [](E& e) { e.MoneyThreshold_LostFocus("txtWarndialupCost", e.DialupCostValid); }};
        t["txtWarnServiceCost"] = {
            [](E& e) { e.MoneyThreshold_Change("txtWarnServiceCost", e.ServiceCostValid); },
            {},
            {},
            [](E& e) { e.MoneyThreshold_LostFocus("txtWarnServiceCost", e.ServiceCostValid); }};
        t["txtWarnData"] = {[](E& e) { e.WholeThreshold_Change("txtWarnData", e.DataValid); },
                            {},
                            {},
                            [](E& e) { e.txtWarnData_LostFocus(); }};
        t["txtWarningSound"] = {refresh,
                                {},
                                [](E& e) { e.PreviousSoundFile = DUVMain::WarningSoundFile; },
                                [](E& e) { e.txtWarningSound_LostFocus(); }};
        return t;
    }();
    auto it = table.find(control);
    return it == table.end() ? nullptr : &it->second;
}

ServiceEditor::ServiceEditor() : Controls(DesignControls()) {}

// ---- small helpers ----

void ServiceEditor::Beep() {
    if (window.Beep)
        window.Beep();
}

bool ServiceEditor::IsVisible(const std::string& control) const {
    const Control& c = Controls[control];
    return Shown && c.Visible && (c.Page < 0 || c.Page == CurrentTab);
}

void ServiceEditor::Focus(const std::string& control) {
    if (IsVisible(control) && Controls[control].Enabled && window.SetFocus)
        window.SetFocus(control);
}

void ServiceEditor::Refuse(const std::string& control) {
    Beep();
    Focus(control);
}

const std::string& ServiceEditor::Text(const std::string& control) const {
    return Controls[control].Text;
}
int ServiceEditor::Value(const std::string& control) const { return Controls[control].Value; }
void ServiceEditor::Enable(const std::string& control, bool enabled) {
    Controls[control].Enabled = enabled;
}

void ServiceEditor::SetBox(const std::string& control, bool enabled) {
    Control& c = Controls[control];
    c.Enabled = enabled;
    c.BackColor = enabled ? kWindowBackground : kGreyBackground;
}

void ServiceEditor::SelectOption(const std::string& group, int index) {
    SetValue(group + "(" + std::to_string(index) + ")", 1);
}

// ---- events of the window ----

void ServiceEditor::SetText(const std::string& control, const std::string& text) {
    Control& c = Controls[control];
    if (c.Text == text)
        return;
    previousText_ = c.Text;
    c.Text = text;
    if (const Handlers* h = HandlersOf(control); h && h->Change)
        h->Change(*this);
}

void ServiceEditor::SetValue(const std::string& control, int value) {
    Control& c = Controls[control];
    if (c.Value == value)
        return;
    if (c.Type == Kind::OptionButton && value != 0) {
        const std::string group = c.Name.substr(0, c.Name.find('('));
        for (Control& other : Controls.All())
            if (other.Type == Kind::OptionButton &&
                other.Name.compare(0, group.size() + 1, group + "(") == 0)
                other.Value = 0;
    }
    Controls[control].Value = value;
    if (c.Type == Kind::OptionButton && value == 0)
        return;
    if (const Handlers* h = HandlersOf(control); h && h->Click)
        h->Click(*this);
}

void ServiceEditor::Click(const std::string& control) {
    if (!Controls[control].Enabled)
        return;
    if (const Handlers* h = HandlersOf(control); h && h->Click)
        h->Click(*this);
}

void ServiceEditor::DblClick(const std::string& control) {
    if (control == "lstDialTimeTariff")
        btnDialTimeTariffEdit_Click();
}

void ServiceEditor::GotFocus(const std::string& control) {
    if (const Handlers* h = HandlersOf(control); h && h->GotFocus)
        h->GotFocus(*this);
}

void ServiceEditor::LostFocus(const std::string& control) {
    if (const Handlers* h = HandlersOf(control); h && h->LostFocus)
        h->LostFocus(*this);
    RememberAccepted(control);
}

void ServiceEditor::SelectTariffRow(int row) {
    if (row < 1 || row > static_cast<int>(TariffRows.size()))
        return;
    TariffListRow = row;
    SelectedTariff = static_cast<std::int16_t>(row);
    ShowTariffTip();
}

void ServiceEditor::SelectTab(int tab) {
    if (tab < 0 || tab >= kTabCount)
        return;
    CurrentTab = static_cast<std::int16_t>(tab);
    TabStrip1_Click();
}

bool ServiceEditor::Form_KeyDown(int key, int shift) {
    if (key != 9 || shift != 2)
        return false;
    SelectTab((CurrentTab + 1) % kTabCount);
    return true;
}

// ---- loading ----

void ServiceEditor::FillComboBoxes() {
    runtime::SetContext("frmService", "FillComboBoxes");
    const std::vector<std::string> quarters = QuarterHours();
    Controls["lstFreePeriodStart"].Items = quarters;
    Controls["lstFreePeriodEnd"].Items = quarters;
}

void ServiceEditor::SetListText(const std::string& list, const std::string& text) {
    const Control& c = Controls[list];
    const int i = Table::FindItem(c, text);
    if (i < 0)
        runtime::Raise(runtime::kErrInvalidPropertyValue);
    SetText(list, c.Items[static_cast<std::size_t>(i)]);
}

void ServiceEditor::Form_Load() {
    using namespace DUVMain;
    runtime::SetContext("frmService", "Form_Load");
    // Every showing starts from the designed controls on the first tab; only OK after a
    // successful check writes the service.
    Controls = Table(DesignControls());
    Caption = kDesignCaption;
    TariffRows.clear();
    TariffListRow = 0;
    Shown = false;
    closedByOK_ = false;
    SelectDescriptionText = false;
    CurrentTab = 0;
    SelectedTariff = 1;
    WarningOption = 0;
    ServiceEditCancelled = true;
    lastAccepted_.clear();

    if (!ShowGraphic)
        Controls["imgService"].Visible = false;
    if (WarningSoundFile.empty())
        WarningSoundFile = AppPath + "\\exceeded.wav";
    FillComboBoxes();
    runtime::SetContext("frmService", "Form_Load");

    if (ServiceIsNew) {
        ServiceIndex = UsedServices;
        LoadNewService();
    } else {
        const int row = window.SelectedServiceRow ? window.SelectedServiceRow() : 0;
        ServiceIndex = static_cast<std::int16_t>(row - 1);
        LoadStoredService(Services.at(ServiceIndex));
    }

    SetText("txtWarningSound", WarningSoundFile);
    Controls["lblCurrencySymbol(0)"].Text = "(" + CurrencySymbol + ")";
    Controls["lblCurrencySymbol(1)"].Text = "(" + CurrencySymbol + ")";
    DisplayTariffs();
    ShowTariffCount();
    ShowTariffTip();
    SetNewButton();
    SetEditButton();
    SetDeleteButton();
    for (const Control& c : Controls.All())
        RememberAccepted(c.Name);
    PutBackUnreachable();
    RefreshOKState();
}

void ServiceEditor::LoadNewService() {
    using namespace DUVMain;
    const std::string zero = MoneyText("0");
    auto moneyOrZero = [&](double amount) {
        const std::string text = MoneyText(NumberText(amount));
        return text.empty() ? zero : text;
    };
    SetText("txtDescription", "New Service");
    SetText("txtNumber", "");
    SetText("txtAltNumber", "");
    DialOption = 1;
    SelectOption("optDialCost", 0);
    WorkTariffCount = 1;
    SetText("txtDialFixedTariff", moneyOrZero(DialCost));

    TariffRecord& t = WorkTariffs[1];
    t = TariffRecord{};
    t.Description = "Default Tariff";
    t.AppliesDays = "Everyday";
    t.AppliesTimeStart = 0;
    t.AppliesTimeEnd = runtime::TimeSerial(23, 59, 0);
    t.DialRate = RegionalValue(MoneyText(NumberText(DialCost)));
    t.PerMinuteRate = RegionalValue(zero);
    t.Unit = "Per Minute";
    t.After = 0;
    t.UnitMins = 15;
    t.UnitSecs = 0;

    ServiceOption = 1;
    SelectOption("optServiceCost", 0);
    SetText("txtServiceFixedRate", moneyOrZero(CostPerHour));
    SetText("txtServiceFlexRate", zero);
    SetText("txtServiceFlexHours", "0");
    SetText("txtServiceFlexRate2", zero);
    SetListText("lstServiceFlexPeriod", "Month");
    SetText("txtPerMeg", zero);
    SetText("txtAfterMeg", "0");
    SetListText("lstMegPeriod", "Month");
    SelectDescriptionText = true;
    SetText("txtServiceBlock", "0");
    SetText("lstFreePeriodStart", Controls["lstFreePeriodStart"].Items.front());
    SetText("lstFreePeriodEnd", Controls["lstFreePeriodEnd"].Items.front());

    SelectOption("optWarning", 0);
    SetValue("chkWarnings", 0);
    SetText("txtWarningHours", "0");
    SetText("txtWarningMinutes", "0");
    SetText("txtWarndialupCost", zero);
    SetText("txtWarnServiceCost", zero);
    SetText("txtWarnData", "0");
    SetText("txtWarningSound", WarningSoundFile);
}

void ServiceEditor::LoadStoredService(const ServiceRecord& stored) {
    using namespace DUVMain;
    const ServiceRecord r = stored;
    // A list text that is none of the list's items is reported; the list stays unchosen.
    auto list = [&](const char* name, const std::string& text) {
        runtime::Guard([&] { SetListText(name, text); });
    };
    SetText("txtDescription", r.ServiceName);
    SetText("txtNumber", r.ServiceNumber);
    SetText("txtAltNumber", r.ServiceAltNumber);

    DialOption = std::max<std::int16_t>(r.DialOption, 1);
    if (DialOption <= 2)
        SelectOption("optDialCost", DialOption - 1);
    WorkTariffCount = std::clamp<std::int16_t>(r.UsedTariffs, 0, kMaxTariffs);
    const std::string fixed = MoneyText(NumberText(r.DialFixedTariff));
    SetText("txtDialFixedTariff", fixed.empty() ? MoneyText("0") : fixed);
    for (int i = 1; i <= WorkTariffCount; ++i) {
        WorkTariffs[i] = r.Tariffs[i];
        if (WorkTariffs[i].Unit.empty())
            WorkTariffs[i].Unit = "Per Minute";
    }
    SelectedTariff = 1;
    DisplayTariffs();
    ShowTariffTip();

    ServiceOption = std::max<std::int16_t>(r.ServiceOption, 1);
    if (ServiceOption <= 2)
        SelectOption("optServiceCost", ServiceOption - 1);
    SetText("txtServiceFixedRate", MoneyText(NumberText(r.ServiceRate)));
    SetText("txtServiceBlock", NumberText(r.Block));
    SetText("txtAfterMeg", runtime::Format(r.AfterMeg, "#,##0"));
    SetText("txtPerMeg", MoneyText(NumberText(r.PerMeg)));
    list("lstMegPeriod", r.MegPeriod.empty() ? "Month" : r.MegPeriod);
    SetText("txtServiceFlexRate", MoneyText(NumberText(r.FlexRate)));
    if (!r.PenaltyPeriod.empty())
        list("lstServiceFlexPeriod", r.PenaltyPeriod);
    SetText("txtServiceFlexRate2", MoneyText(NumberText(r.FlexRate2)));
    SetText("txtServiceFlexHours", NumberText(r.UpToHours));

    SetValue("chkFreePeriod", r.FreePeriod ? 1 : 0);
    const std::vector<std::string>& quarters = Controls["lstFreePeriodStart"].Items;
    list("lstFreePeriodStart", r.FreeStart != 0 ? HourMinuteText(r.FreeStart) : quarters.front());
    list("lstFreePeriodEnd", r.FreeEnd != 0 ? HourMinuteText(r.FreeEnd) : quarters.front());

    WarningOption = r.WarningOption;
    SetValue("chkWarnings", r.ShowWarnings ? 1 : 0);
    if (WarningOption >= 0 && WarningOption <= 3)
        SelectOption("optWarning", WarningOption);
    SetText("txtWarningHours", NumberText(r.WarningHours));
    SetText("txtWarningMinutes", NumberText(r.WarningMinutes));
    SetText("txtWarndialupCost", MoneyText(NumberText(r.WarningDialup)));
    SetText("txtWarnServiceCost", MoneyText(NumberText(r.WarningService)));
    SetText("txtWarnData", runtime::Format(static_cast<double>(r.WarningData), "#,##0"));
    SetValue("chkWarnDisplay", r.WarningDisplay ? 1 : 0);
    SetValue("chkWarnSound", r.WarningSound ? 1 : 0);
}

void ServiceEditor::Form_Activate() {
    Shown = true;
    ShowBusy(false);
    TabStrip1_Click();
    if (IsVisible("txtDescription") && Controls["txtDescription"].Enabled && DUVMain::ServiceIsNew)
        Focus("txtDescription");
}

void ServiceEditor::Form_QueryUnload() {
    if (!closedByOK_)
        DUVMain::ServiceEditCancelled = true;
}

void ServiceEditor::TabStrip1_Click() {
    runtime::SetContext("frmService", "TabStrip1_Click");
    for (int i = 0; i < kTabCount; ++i)
        Controls["fraService(" + std::to_string(i) + ")"].Enabled = i == CurrentTab;
    switch (CurrentTab) {
    case 0:
        Focus("txtDescription");
        break;
    case 1:
        if (DialOption == 1 || DialOption == 2)
            optDialCost_Click(DialOption - 1);
        break;
    case 2:
        if (ServiceOption == 1 || ServiceOption == 2)
            optServiceCost_Click(ServiceOption - 1);
        chkFreePeriod_Click();
        break;
    default:
        chkWarnings_Click();
        break;
    }
    RefreshOKState();
}

// ---- the whole form ----

bool ServiceEditor::FieldsValid() const {
    auto filled = [&](const char* c) { return !Text(c).empty(); };
    auto number = [&](const char* c) { return filled(c) && runtime::IsNumeric(Text(c)); };

    if (!filled("txtDescription") || !filled("txtNumber"))
        return false;  // 1
    if (!DUVAnalyse::IsDialNumber(Text("txtNumber")))
        return false;  // 2
    if (!DUVAnalyse::IsDialNumber(Text("txtAltNumber")))
        return false;  // 3
    if (DialOption == 1 && !number("txtDialFixedTariff"))
        return false;  // 4
    if (DialOption == 2 && DUVMain::WorkTariffCount < 1)
        return false;
    if (ServiceOption == 1 && !number("txtServiceFixedRate"))
        return false;  // 5
    if (ServiceOption == 2) {
        if (!number("txtServiceFlexRate") || !number("txtServiceFlexHours") ||
            !filled("lstServiceFlexPeriod") || !number("txtServiceFlexRate2"))
            return false;
        if (RegionalValue(Text("txtServiceFlexRate")) +
                RegionalValue(Text("txtServiceFlexRate2")) <=
            0)
            return false;
    }
    if (!number("txtPerMeg") || !number("txtAfterMeg"))
        return false;  // 6
    if (RegionalValue(Text("txtPerMeg")) > 0 && !filled("lstMegPeriod"))
        return false;  // 7
    if (!runtime::IsNumeric(Text("txtServiceBlock")))
        return false;  // 8
    {
        const double hundredfold =
            LeadingNumber(runtime::Str(runtime::CDbl(Text("txtServiceBlock")) * 100));
        if (!(std::fabs(hundredfold) < 2147483647.0))
            return false;
        if (runtime::CLng(hundredfold) % 100 != 0)
            return false;
    }
    if (!RecordToStore())
        return false;  // a value the record or the store cannot hold
    if (Value("chkWarnings") != 1)
        return true;                                                            // 9
    auto nonZero = [&](const char* c) { return RegionalValue(Text(c)) != 0; };  // 10
    switch (WarningOption) {
    case 0:
        if (!MinutesValid || !HoursValid ||
            LeadingNumber(Text("txtWarningHours")) + LeadingNumber(Text("txtWarningMinutes")) == 0)
            return false;
        break;
    case 1:
        if (!DialupCostValid || !nonZero("txtWarndialupCost"))
            return false;
        break;
    case 2:
        if (!ServiceCostValid || !nonZero("txtWarnServiceCost"))
            return false;
        break;
    case 3:
        if (!DataValid || !nonZero("txtWarnData"))
            return false;
        break;
    default:
        break;
    }
    if ((Value("chkWarnDisplay") | Value("chkWarnSound")) != 1)
        return false;                                                                          // 11
    if (Value("chkWarnSound") == 1 && !GeneralFunctions::FileExists(Text("txtWarningSound")))  // 12
        return false;
    return true;  // 13
}

void ServiceEditor::RefreshOKState() {
    Controls["btnOK"].Enabled = FieldsValid();
    Caption = "D U V - Edit Service (" + Text("txtDescription") + ")";
}

void ServiceEditor::Disable_All_Controls() {
    runtime::SetContext("frmService", "Disable_All_Controls");
    for (Control& c : Controls.All()) {
        const std::string name = runtime::UCase(c.Name);
        if (KeptByName(name))
            continue;
        c.Enabled = false;
        if (Contains(name, "TXT"))
            c.BackColor = kGreyBackground;
        if (Contains(name, "LST")) {
            c.BackColor = kGreyBackground;
            c.ForeColor = kGreyText;
        }
    }
}

bool ServiceEditor::Reachable(const std::string& box) const {
    const Control& c = Controls[box];
    if (c.Page == 3)
        return IsChosenThreshold(box);
    const std::string name = runtime::UCase(box);
    if (KeptByName(name))
        return true;
    if (c.Page == 1)
        return (DialOption == 1 || DialOption == 2) &&
               Contains(name, runtime::UCase(DialCostPart(DialOption)));
    if (c.Page == 2)
        return (ServiceOption == 1 || ServiceOption == 2) &&
               Contains(name, runtime::UCase(ServiceCostPart(ServiceOption)));
    return true;
}

void ServiceEditor::EnableControls(const std::string& namePart) {
    const std::string part = runtime::UCase(namePart);
    for (Control& c : Controls.All()) {
        const std::string name = runtime::UCase(c.Name);
        if (!Contains(name, part))
            continue;
        c.Enabled = true;
        if (Contains(name, "TXT"))
            c.BackColor = kWindowBackground;
        if (Contains(name, "LST")) {
            c.BackColor = kWindowBackground;
            c.ForeColor = kBlack;
        }
        if (Contains(name, "LBL"))
            c.ForeColor = kBlack;
    }
}

// ---- cost options ----

void ServiceEditor::optDialCost_Click(int index) {
    runtime::SetContext("frmService", "optDialCost_Click");
    Disable_All_Controls();
    DialOption = static_cast<std::int16_t>(index + 1);
    EnableControls(DialCostPart(DialOption));
    if (index == 0) {
        Focus("txtDialFixedTariff");
    } else {
        if (!TariffRows.empty()) {
            Focus("lstDialTimeTariff");
            if (SelectedTariff == 0)
                SelectedTariff = 1;
            if (SelectedTariff >= 1 && SelectedTariff <= static_cast<int>(TariffRows.size()))
                TariffListRow = SelectedTariff;
        } else {
            Focus("btnDialTimeTariffNew");
        }
        SetNewButton();
        SetDeleteButton();
        SetEditButton();
    }
    PutBackUnreachable();
    RefreshOKState();
    ShowTariffTip();
}

void ServiceEditor::optServiceCost_Click(int index) {
    runtime::SetContext("frmService", "optServiceCost_Click");
    Disable_All_Controls();
    ServiceOption = static_cast<std::int16_t>(index + 1);
    EnableControls(ServiceCostPart(ServiceOption));
    Focus(index == 0 ? "txtServiceFixedRate" : "txtServiceFlexRate");
    chkFreePeriod_Click();
    PutBackUnreachable();
    RefreshOKState();
}

void ServiceEditor::chkFreePeriod_Click() {
    if (Value("chkFreePeriod") == 1) {
        EnableControls("FreePeriod");
        return;
    }
    for (const char* label : {"lblFreePeriod1", "lblFreePeriod2"})
        Controls[label].ForeColor = kGreyText;
    for (const char* list : {"lstFreePeriodStart", "lstFreePeriodEnd"}) {
        Control& c = Controls[list];
        c.BackColor = kGreyBackground;
        c.ForeColor = kGreyText;
        c.Enabled = false;
    }
}

// ---- OK and Cancel ----

std::optional<ServiceRecord> ServiceEditor::RecordToStore() const {
    using namespace DUVMain;
    if (ServiceIndex < 0 || ServiceIndex > Services.UBound())
        return std::nullopt;
    if (!EveryBoxAccepts())
        return std::nullopt;
    // Tariffs above the count stay as they were.
    ServiceRecord r = Services[ServiceIndex];
    auto money = [&](const char* box) { return RegionalValue(Text(box)); };
    try {
        r.ServiceName = Text("txtDescription");
        r.ServiceNumber = Text("txtNumber");
        r.ServiceAltNumber = Text("txtAltNumber");
        r.DialOption = DialOption;
        r.DialFixedTariff = money("txtDialFixedTariff");
        r.UsedTariffs = WorkTariffCount;
        for (int i = 1; i <= std::min<int>(WorkTariffCount, kMaxTariffs); ++i)
            r.Tariffs[i] = WorkTariffs[i];
        r.Block = runtime::CInt(LeadingNumber(Text("txtServiceBlock")));
        r.FreePeriod = Value("chkFreePeriod") == 1;
        // A list left without a choice (a stored time off the quarter hours) keeps the stored
        // time.
        if (!Text("lstFreePeriodStart").empty())
            r.FreeStart = runtime::CDate(Text("lstFreePeriodStart"));
        if (!Text("lstFreePeriodEnd").empty())
            r.FreeEnd = runtime::CDate(Text("lstFreePeriodEnd"));
        // Read as the box shows it ("1,500" is 1500), and stored rounded to 32 bits.
        r.AfterMeg = RegionalValue(Text("txtAfterMeg"));
        GeneralFunctions::CheckLongRange(r.AfterMeg);
        r.PerMeg = money("txtPerMeg");
        r.MegPeriod = Text("lstMegPeriod");
        r.ServiceOption = ServiceOption;
        r.ServiceRate = money("txtServiceFixedRate");
        r.FlexRate = money("txtServiceFlexRate");
        r.PenaltyPeriod = Text("lstServiceFlexPeriod");
        r.FlexRate2 = money("txtServiceFlexRate2");
        r.UpToHours = runtime::CInt(LeadingNumber(Text("txtServiceFlexHours")));
        r.ShowWarnings = Value("chkWarnings") == 1;
        r.WarningOption = WarningOption;
        r.WarningHours = runtime::CInt(LeadingNumber(Text("txtWarningHours")));
        r.WarningMinutes = runtime::CInt(LeadingNumber(Text("txtWarningMinutes")));
        r.WarningDialup = money("txtWarndialupCost");
        r.WarningService = money("txtWarnServiceCost");
        r.WarningData = runtime::CLng(RegionalValue(Text("txtWarnData")));
        r.WarningDisplay = Value("chkWarnDisplay") == 1;
        r.WarningSound = Value("chkWarnSound") == 1;
    } catch (const runtime::RuntimeError&) {
        return std::nullopt;
    }
    return r;
}

void ServiceEditor::btnOK_Click() {
    using namespace DUVMain;
    runtime::SetContext("frmService", "btnOK_Click");
    if (!FieldsValid()) {
        Enable("btnOK", false);
        ShowMessage(kIncorrectText, msg::IconExclamation, kIncorrectTitle);
        return;
    }
    const std::optional<ServiceRecord> record = RecordToStore();
    if (!record)
        return;
    ShowBusy(true);
    Services.at(ServiceIndex) = *record;
    ServiceEditCancelled = false;
    closedByOK_ = true;
    ShowBusy(false);
    if (window.Unload)
        window.Unload();
}

void ServiceEditor::btnCancel_Click() {
    DUVMain::ServiceEditCancelled = true;
    if (window.Unload)
        window.Unload();
}

}  // namespace ServiceEditorModel
