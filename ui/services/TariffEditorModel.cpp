#include "ui/services/TariffEditorModel.h"

#include <algorithm>

#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/GeneralFunctions.h"
#include "core/MessageBox.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"
#include "core/UserFeedback.h"
#include "ui/services/ServiceEditorModel.h"

namespace TariffEditorModel {

using namespace ControlTableModel;
using ServiceEditorModel::RegionalValue;

namespace {

constexpr const char* kDescription = "lstDialTimeTariffDescrip";
constexpr const char* kDays = "lstDialTimeTariffDialDays";
constexpr const char* kStart = "lstDialTimeTariffDialStart";
constexpr const char* kEnd = "lstDialTimeTariffDialEnd";
constexpr const char* kUnit = "lstDialTimeTariffUnit";
constexpr int kFourteenMinutes = 14 * 60;

// The number boxes: name, what an empty text becomes, the format of a valid text, the range
// of a whole number (rates: none) and what a rejected text may end with while typed.
struct BoxRule {
    const char* Name;
    const char* Empty;
    const char* Mask;  // nullptr: money with up to four places
    double Minimum;
    double Maximum;
    const char* TypingEnd;  // nullptr: the regional money decimal separator
};
constexpr std::array<BoxRule, kBoxCount> kBoxes = {{
    {"txtDialTimeTariffAfterMins", "0", "##0", 0, 999, ""},
    {"txtDialTimeTariffAfterSecs", "0", "#0", 0, 60, ""},
    {"txtDialTimeTariffDialRate", "0", nullptr, 0, 0, nullptr},
    {"txtDialTimeTariffMinuteRate", "0", nullptr, 0, 0, "."},
    {"txtDialTimeTariffUnitMins", "15", "##0", 1, 999, ""},
    {"txtDialTimeTariffUnitSecs", "0", "#0", 0, 60, ""},
}};

bool IsRate(Box b) { return b == DialRate || b == MinuteRate; }

// What the box keeps as its value: a rate the store can hold, or a whole number in the box's
// range. Its change and leave procedures refuse (or replace) any other text, and OK stores
// nothing while a box shows one.
bool Accepts(Box b, const std::string& text) {
    if (IsRate(b))
        return runtime::IsNumeric(text) && !ServiceEditorModel::MoneyOutOfRange(text);
    if (!ServiceEditorModel::IsLongText(text))
        return false;
    const double v = RegionalValue(text);
    return v >= kBoxes[b].Minimum && v <= kBoxes[b].Maximum;
}

std::string TypingEnd(const BoxRule& rule) {
    return rule.TypingEnd ? rule.TypingEnd : DUVMain::MonetaryDecimalSeparator;
}

Control Make(const char* name, Kind kind, const char* text = "", const char* tip = "",
             std::vector<std::string> items = {}) {
    Control c;
    c.Name = name;
    c.Type = kind;
    c.Text = text;
    c.ToolTip = tip;
    c.Items = std::move(items);
    c.ForeColor = kButtonText;
    if (kind == Kind::Label || kind == Kind::Button)
        c.BackColor = kButtonFace;
    return c;
}

std::vector<Control> DesignControls() {
    const Kind L = Kind::Label, T = Kind::TextBox, D = Kind::DropDownList;
    return {
        Make("lblDialTimeTariff10", L, "Description:"),
        Make(kDescription, Kind::DropDownCombo, "", "Tariff Description"),
        Make("lblDialTimeTariff1", L, "Applies:"),
        Make(kDays, D, "", "Which Days?"),
        Make(kStart, D, "", "Start Time (24 Hour Format)"),
        Make("lblDialTimeTariff7", L, "--"),
        Make(kEnd, D, "", "End Time (24 Hour Format)"),
        Make("lblDialTimeTariff8", L, "Costs:"),
        Make(kBoxes[DialRate].Name, T, "", "Minimum Call Charge"),
        Make("lblDialTimeTariff3", L, "Per Call +"),
        Make(kBoxes[MinuteRate].Name, T, "", "Cost Per Minute"),
        Make(kUnit, D, "", "Charge Interval", {"Per Minute", "Per Second", "Per Unit"}),
        Make("lblDialTimeTariff4", L, "After:"),
        Make(kBoxes[AfterMins].Name, T, "", "Threshold Minutes"),
        Make("lblDialTimeTariff5", L, "Min(s)"),
        Make(kBoxes[AfterSecs].Name, T, "", "Threshold Seconds"),
        Make("lblDialTimeTariff6", L, "Sec(s)"),
        Make("lblDialTimeTariff9", L, "Unit ="),
        Make(kBoxes[UnitMins].Name, T, "", "Minutes in a Unit"),
        Make("lblDialTimeTariff11", L, "Min(s)"),
        Make(kBoxes[UnitSecs].Name, T, "", "Minutes in a Unit"),
        Make("lblDialTimeTariff12", L, "Sec(s)"),
        Make("lblAssist", L),
        Make("btnOK", Kind::Button, "&OK"),
        Make("btnCancel", Kind::Button, "&Cancel"),
    };
}

// The time of an "hh:mm" list text moved by a number of seconds, as a list text.
std::string MovedTime(const std::string& text, int seconds) {
    const int at = runtime::SecondsOfDay(runtime::CDate(text)) + seconds;
    return ServiceEditorModel::HourMinuteText(static_cast<double>(std::clamp(at, 0, 86399)) /
                                              86400.0);
}

}  // namespace

std::vector<std::string> DayChoices() {
    const auto& a = DUVMain::DayAbbrevs;
    auto range = [&](int first, int last) { return a[first] + " - " + a[last]; };
    std::vector<std::string> days = {"Everyday",  "Holidays",  range(6, 7), range(1, 5),
                                     range(1, 4), range(5, 6), range(5, 7)};
    for (int i = 1; i <= 7; ++i)
        days.push_back(DUVMain::DayNames[i]);
    return days;
}

int TariffExists(const std::string& name, int count) {
    for (int i = 1; i <= std::min(count, kMaxTariffs); ++i)
        if (DUVMain::WorkTariffs[i].Description == name)
            return i;
    return 0;
}

TariffEditor::TariffEditor() : Controls(DesignControls()) {}

const std::string& TariffEditor::Text(const std::string& control) const {
    return Controls[control].Text;
}

void TariffEditor::Focus(const std::string& control) {
    if (Shown && Controls[control].Enabled && window.SetFocus)
        window.SetFocus(control);
}

void TariffEditor::Refuse(const std::string& control, bool onlyWhenShown) {
    if (window.Beep)
        window.Beep();
    if (!onlyWhenShown || Shown)
        Focus(control);
}

void TariffEditor::SetBox(const std::string& control, bool enabled, std::uint32_t back) {
    Control& c = Controls[control];
    c.Enabled = enabled;
    c.BackColor = back;
}

void TariffEditor::FillComboBoxes() {
    runtime::SetContext("frmTariff", "FillComboBoxes");
    Controls[kDescription].Items = {"Standard Tariff", "Economy Tariff", "Peak Period Tariff",
                                    "Holiday Tariff",  "Weekday Tariff", "Weekend Tariff"};
    Controls[kDays].Items = DayChoices();
    Controls[kStart].Items = ServiceEditorModel::QuarterHours(false);
    Controls[kEnd].Items = ServiceEditorModel::QuarterHours(true);
}

void TariffEditor::SetListText(const std::string& list, const std::string& text) {
    const Control& c = Controls[list];
    const int i = Table::FindItem(c, text);
    if (i < 0)
        runtime::Raise(runtime::kErrInvalidPropertyValue);
    SetText(list, c.Items[static_cast<std::size_t>(i)]);
}

void TariffEditor::GuardedListText(const std::string& list, const std::string& text) {
    runtime::Guard([&] { SetListText(list, text); });
}

void TariffEditor::Form_Load() {
    using namespace DUVMain;
    Controls = Table(DesignControls());
    FieldValid.fill(false);
    lastAccepted_.fill({});
    Shown = false;
    closedByOK_ = false;
    FillComboBoxes();
    runtime::SetContext("frmTariff", "Form_Load");
    if (TariffDialogMode) {
        SetText(kDescription, "New Tariff");
        SetListText(kDays, "EveryDay");
        SetListText(kStart, "00" + TimeSeparator + "00");
        SetListText(kUnit, "Per Minute");
        SetText(kBoxes[DialRate].Name, "0");
        SetText(kBoxes[MinuteRate].Name, "0");
        SetText(kBoxes[AfterMins].Name, "0");
        SetText(kBoxes[AfterSecs].Name, "0");
        SetText(kBoxes[UnitMins].Name, "15");
        SetText(kBoxes[UnitSecs].Name, "0");
        return;
    }
    const int row = window.SelectedTariffRow ? window.SelectedTariffRow() : 0;
    if (row < 1 || row > std::min<int>(WorkTariffCount, kMaxTariffs))
        runtime::Raise(runtime::kErrSubscript);
    EditIndex = static_cast<std::int16_t>(row);
    const TariffRecord t = WorkTariffs.at(EditIndex);
    SetText(kDescription, t.Description);
    GuardedListText(kDays, t.AppliesDays);
    GuardedListText(kStart, ServiceEditorModel::HourMinuteText(t.AppliesTimeStart));
    GuardedListText(kEnd, ServiceEditorModel::HourMinuteText(t.AppliesTimeEnd));
    if (!t.Unit.empty())
        GuardedListText(kUnit, t.Unit);
    if (Text(kUnit).empty())
        SetListText(kUnit, "Per Minute");
    SetText(kBoxes[DialRate].Name,
            ServiceEditorModel::MoneyText(ServiceEditorModel::NumberText(t.DialRate)));
    SetText(kBoxes[MinuteRate].Name,
            ServiceEditorModel::MoneyText(ServiceEditorModel::NumberText(t.PerMinuteRate)));
    const std::int32_t minutes = t.After / 60;
    SetText(kBoxes[AfterMins].Name, std::to_string(minutes));
    SetText(kBoxes[AfterSecs].Name, std::to_string(t.After - minutes * 60));
    if (t.UnitMins > 0)
        SetText(kBoxes[UnitMins].Name, std::to_string(t.UnitMins));
    if (RegionalValue(Text(kBoxes[UnitMins].Name)) == 0)
        SetText(kBoxes[UnitMins].Name, "15");
    if (t.UnitSecs >= 1)
        SetText(kBoxes[UnitSecs].Name, std::to_string(t.UnitSecs));
}

void TariffEditor::Form_Activate() {
    Shown = true;
    for (Box b : {AfterMins, AfterSecs, DialRate, MinuteRate, UnitMins, UnitSecs})
        NumberBox_LostFocus(b);
    LostFocus(kUnit);
    Control& assist = Controls["lblAssist"];
    assist.Visible = false;
    Focus(kDescription);
    ShowBusy(false);
}

void TariffEditor::Form_QueryUnload() {
    if (!closedByOK_)
        DUVMain::TariffDialogMode = false;
}

bool TariffEditor::SelectsAllOnFocus(const std::string& control) const {
    if (!DUVMain::TariffDialogMode)
        return false;
    return control == kDescription || control == kBoxes[DialRate].Name ||
           control == kBoxes[MinuteRate].Name || control == kBoxes[AfterMins].Name ||
           control == kBoxes[AfterSecs].Name;
}

// ---- events ----

void TariffEditor::SetText(const std::string& control, const std::string& text) {
    Control& c = Controls[control];
    if (c.Text == text)
        return;
    previousText_ = c.Text;
    c.Text = text;
    for (int b = 0; b < kBoxCount; ++b)
        if (control == kBoxes[b].Name)
            return NumberBox_Change(static_cast<Box>(b));
    if (control == kStart || control == kEnd)
        return StartEnd_Change(control == kStart);
    if (control == kUnit)
        return SetFieldStates();
    if (control == kDescription || control == kDays)
        CheckOKBtn();
}

void TariffEditor::Click(const std::string& control) {
    if (!Controls[control].Enabled)
        return;
    if (control == "btnOK")
        btnOK_Click();
    if (control == "btnCancel")
        btnCancel_Click();
}

void TariffEditor::GotFocus(const std::string& control) {
    if (control == kStart || control == kEnd)
        StartEnd_GotFocus(control == kStart);
}

void TariffEditor::LostFocus(const std::string& control) {
    for (int b = 0; b < kBoxCount; ++b)
        if (control == kBoxes[b].Name)
            return NumberBox_LostFocus(static_cast<Box>(b));
    if (control == kStart || control == kEnd)
        return StartEnd_LostFocus();
    if (control == kUnit)
        return SetFieldStates();
    if (control == kDescription || control == kDays)
        CheckOKBtn();
}

// ---- number boxes ----

void TariffEditor::AfterBox(Box box) {
    if (box == MinuteRate)
        SetFieldStates();
    CheckOKBtn();
}

void TariffEditor::NumberBox_Change(Box box) {
    const BoxRule& rule = kBoxes[box];
    // A rate the store cannot hold is refused as it is typed: the text before it comes back.
    if (IsRate(box) && ServiceEditorModel::MoneyOutOfRange(Text(rule.Name))) {
        const std::string before = previousText_;
        if (window.Beep)
            window.Beep();
        SetText(rule.Name, ServiceEditorModel::MoneyOutOfRange(before) ? std::string() : before);
        Focus(rule.Name);
        return;
    }
    const std::string& t = Text(rule.Name);
    if (!t.empty()) {
        // A rate still being typed may end with its decimal separator.
        const std::string end = TypingEnd(rule);
        const bool typing = IsRate(box) && !end.empty() && t.ends_with(end);
        const bool rejected = !Accepts(box, t) && !typing;
        FieldValid[box] = !rejected;
        if (rejected)
            Refuse(rule.Name, !IsRate(box));
    }
    AfterBox(box);
}

void TariffEditor::NumberBox_LostFocus(Box box) {
    const BoxRule& rule = kBoxes[box];
    const std::string t = Text(rule.Name);
    if (t.empty() || (IsRate(box) && !Accepts(box, t))) {
        SetText(rule.Name, rule.Empty);
        FieldValid[box] = true;
    }
    if (FieldValid[box]) {
        const std::string& now = Text(rule.Name);
        SetText(rule.Name, rule.Mask ? runtime::Format(std::string_view(now), rule.Mask)
                                     : ServiceEditorModel::MoneyText(now));
    }
    if (Accepts(box, Text(rule.Name)))
        lastAccepted_[box] = Text(rule.Name);
    AfterBox(box);
}

// ---- start and end ----

void TariffEditor::ShowAssist(const std::string& timeText) {
    if (timeText.empty())
        return;
    AssistTime = runtime::CDate(timeText);
    Controls["lblAssist"].Text = runtime::Format(AssistTime, "Medium Time");
}

void TariffEditor::StartEnd_Change(bool start) {
    const std::string list = start ? kStart : kEnd;
    ShowAssist(Text(list));
    const std::string& s = Text(kStart);
    const std::string& e = Text(kEnd);
    if (start && !s.empty() && s > e)
        SetListText(kEnd, MovedTime(s, kFourteenMinutes));
    else if (!start && !e.empty() && e < s)
        SetListText(kStart, MovedTime(e, -kFourteenMinutes));
    CheckOKBtn();
    if (Shown)
        Focus(list);
}

void TariffEditor::StartEnd_GotFocus(bool start) {
    if (start && Text(kStart).empty())
        SetListText(kStart, "00" + DUVMain::TimeSeparator + "00");
    Control& assist = Controls["lblAssist"];
    assist.Visible = true;
    assist.Enabled = true;
    ShowAssist(Text(start ? kStart : kEnd));
}

void TariffEditor::StartEnd_LostFocus() {
    Control& assist = Controls["lblAssist"];
    assist.Visible = false;
    assist.Enabled = false;
    CheckOKBtn();
}

// ---- field states and OK ----

void TariffEditor::SetFieldStates() {
    const bool byTime = Text(kUnit) == "Per Minute" || Text(kUnit) == "Per Second";
    const bool free = RegionalValue(Text(kBoxes[MinuteRate].Name)) == 0;
    const bool threshold = !free && byTime;
    const bool unit = !free && !byTime;
    if (!threshold) {
        SetText(kBoxes[AfterMins].Name, "0");
        SetText(kBoxes[AfterSecs].Name, "0");
    }
    // Unit boxes out of reach get their last accepted text back in place of a refused one.
    for (Box b : {UnitMins, UnitSecs}) {
        const std::string& name = kBoxes[b].Name;
        if (!unit && !Accepts(b, Text(name)))
            SetText(name, lastAccepted_[b].empty() ? kBoxes[b].Empty : lastAccepted_[b]);
    }
    SetBox(kBoxes[AfterMins].Name, threshold, threshold ? kWhite : kGreyBackground);
    SetBox(kBoxes[AfterSecs].Name, threshold, threshold ? kWhite : kGreyBackground);
    for (const char* label : {"lblDialTimeTariff4", "lblDialTimeTariff5", "lblDialTimeTariff6"})
        Controls[label].ForeColor = threshold ? kButtonText : kGreyText;
    SetBox(kBoxes[UnitMins].Name, unit, unit ? kWhite : kGreyBackground);
    SetBox(kBoxes[UnitSecs].Name, unit, unit ? kWhite : kGreyBackground);
    for (const char* label : {"lblDialTimeTariff9", "lblDialTimeTariff11"})
        Controls[label].ForeColor = unit ? kButtonText : kGreyText;
}

void TariffEditor::CheckOKBtn() {
    runtime::SetContext("frmTariff", "CheckOKBtn");
    auto allowed = [&] {
        for (const char* list : {kDescription, kDays, kStart, kEnd, kUnit})
            if (Text(list).empty())
                return false;
        if (!FieldValid[DialRate] || !FieldValid[MinuteRate])
            return false;
        const bool byTime = Text(kUnit) == "Per Minute" || Text(kUnit) == "Per Second";
        if (byTime ? !(FieldValid[AfterMins] && FieldValid[AfterSecs])
                   : !(FieldValid[UnitMins] && FieldValid[UnitSecs]))
            return false;
        if (RegionalValue(Text(kBoxes[DialRate].Name)) +
                RegionalValue(Text(kBoxes[MinuteRate].Name)) <=
            0)
            return false;
        if (GeneralFunctions::DateBefore(runtime::CDate(Text(kEnd)), runtime::CDate(Text(kStart))))
            return false;
        return RecordToStore().has_value();
    };
    Controls["btnOK"].Enabled = allowed();
}

std::optional<TariffRecord> TariffEditor::RecordToStore() const {
    for (int b = 0; b < kBoxCount; ++b)
        if (!Accepts(static_cast<Box>(b), Text(kBoxes[b].Name)))
            return std::nullopt;
    TariffRecord t;
    try {
        t.Description = Text(kDescription);
        t.AppliesDays = Text(kDays);
        t.AppliesTimeStart = runtime::CDate(Text(kStart));
        t.AppliesTimeEnd = runtime::CDate(Text(kEnd));
        t.DialRate = RegionalValue(Text(kBoxes[DialRate].Name));
        t.PerMinuteRate = RegionalValue(Text(kBoxes[MinuteRate].Name));
        t.Unit = Text(kUnit);
        t.After = runtime::CLng(RegionalValue(Text(kBoxes[AfterMins].Name)) * 60 +
                                RegionalValue(Text(kBoxes[AfterSecs].Name)));
        t.UnitMins = runtime::CInt(RegionalValue(Text(kBoxes[UnitMins].Name)));
        t.UnitSecs = runtime::CInt(RegionalValue(Text(kBoxes[UnitSecs].Name)));
    } catch (const runtime::RuntimeError&) {
        return std::nullopt;
    }
    return t;
}

void TariffEditor::btnOK_Click() {
    using namespace DUVMain;
    runtime::SetContext("frmTariff", "btnOK_Click");
    if (TariffExists(Text(kDescription), WorkTariffCount) != 0 && TariffDialogMode) {
        ShowMessage("A Tariff With This Name Already Exists!", msg::IconExclamation, "WARNING");
        Focus(kDescription);
        return;
    }
    const std::optional<TariffRecord> record = RecordToStore();
    if (!record) {
        if (window.Beep)
            window.Beep();
        return;
    }
    if (TariffDialogMode) {
        if (WorkTariffCount >= kMaxTariffs)
            runtime::Raise(runtime::kErrSubscript);
        ++WorkTariffCount;
        EditIndex = WorkTariffCount;
    }
    WorkTariffs.at(EditIndex) = *record;
    closedByOK_ = true;
    if (window.Unload)
        window.Unload();
}

void TariffEditor::btnCancel_Click() {
    DUVMain::TariffDialogMode = false;
    if (window.Unload)
        window.Unload();
}

}  // namespace TariffEditorModel
