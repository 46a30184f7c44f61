// The service editor's field rules: how each box is checked while typed and formatted when
// left, and the warnings page with its thresholds and sound file.
#include "ui/services/ServiceEditorModel.h"

#include <algorithm>
#include <cmath>

#include "analysis/DUVAnalyse.h"
#include "analysis/Sound.h"
#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/GeneralFunctions.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"
#include "core/UserFeedback.h"

namespace ServiceEditorModel {

using namespace ControlTableModel;

namespace {

// The threshold box and labels of each warning kind.
struct WarningKind {
    std::vector<const char*> Boxes;
    std::vector<const char*> Labels;
};
const std::array<WarningKind, 4> kWarningKinds = {{
    {{"txtWarningHours", "txtWarningMinutes"}, {"lblWarnHours", "lblWarnMinutes"}},
    {{"txtWarndialupCost"}, {"lblCurrencySymbol(0)"}},
    {{"txtWarnServiceCost"}, {"lblCurrencySymbol(1)"}},
    {{"txtWarnData"}, {"lblKB"}},
}};

// A number still being typed: the text ends with the regional decimal separator.
bool EndsWithSeparator(const std::string& text) {
    const std::string& separator = DUVMain::MonetaryDecimalSeparator;
    return !separator.empty() && text.ends_with(separator);
}

// A non-negative regional whole-number text within the 32-bit range and up to maximum.
bool WholeInRange(const std::string& text, double maximum) {
    if (!IsLongText(text))
        return false;
    const double v = RegionalValue(text);
    return v >= 0 && v <= maximum;
}

template <int Maximum>
bool WholeUpTo(const std::string& text) {
    return WholeInRange(text, Maximum);
}

bool DialNumber(const std::string& text) { return DUVAnalyse::IsDialNumber(text); }

bool Money(const std::string& text) { return runtime::IsNumeric(text) && !MoneyOutOfRange(text); }

// What each box keeps as its value: its change and leave procedures refuse (or replace) any
// other text, and OK stores nothing while a box shows one.
struct BoxRule {
    const char* Name;
    bool (*Accepts)(const std::string& text);
};
constexpr BoxRule kBoxRules[] = {
    {"txtNumber", DialNumber},
    {"txtAltNumber", DialNumber},
    {"txtDialFixedTariff", Money},
    {"txtServiceFixedRate", Money},
    {"txtServiceFlexRate", Money},
    {"txtServiceFlexHours", WholeUpTo<999>},
    {"txtServiceFlexRate2", Money},
    {"txtPerMeg", Money},
    {"txtAfterMeg", WholeUpTo<999>},
    {"txtServiceBlock", WholeUpTo<99>},
    {"txtWarningHours", WholeUpTo<32767>},
    {"txtWarningMinutes", WholeUpTo<59>},
    {"txtWarndialupCost", Money},
    {"txtWarnServiceCost", Money},
    {"txtWarnData", WholeUpTo<2147483647>},
};

const BoxRule* RuleOf(const std::string& box) {
    for (const BoxRule& rule : kBoxRules)
        if (box == rule.Name)
            return &rule;
    return nullptr;
}

}  // namespace

double LeadingNumber(const std::string& text) {
    try {
        return runtime::Val(text);
    } catch (const runtime::RuntimeError&) {
        return HUGE_VAL;
    }
}

std::string NumberText(double value) { return runtime::CStr(value); }

double RegionalValue(const std::string& text) {
    if (runtime::IsNumeric(text))
        return runtime::CDbl(text);
    return LeadingNumber(GeneralFunctions::XValText(text));
}

std::string MoneyText(const std::string& text) { return GeneralFunctions::Format_Dplaces(text, 4); }

bool IsLongText(const std::string& text) {
    if (!runtime::IsNumeric(text))
        return false;
    const double v = runtime::CDbl(text);
    return v >= -2147483648.5 && v < 2147483647.5;
}

bool MoneyOutOfRange(const std::string& text) {
    return runtime::IsNumeric(text) && !GeneralFunctions::MoneyInRange(runtime::CDbl(text));
}

// ---- field rules ----

bool ServiceEditor::Accepts(const std::string& box) const {
    const BoxRule* rule = RuleOf(box);
    return !rule || rule->Accepts(Text(box));
}

bool ServiceEditor::EveryBoxAccepts() const {
    return std::all_of(std::begin(kBoxRules), std::end(kBoxRules),
                       [&](const BoxRule& rule) { return Accepts(rule.Name); });
}

void ServiceEditor::RememberAccepted(const std::string& box) {
    if (RuleOf(box) && Accepts(box))
        lastAccepted_[box] = Text(box);
}

bool ServiceEditor::IsChosenThreshold(const std::string& box) const {
    if (Value("chkWarnings") != 1 || WarningOption < 0 || WarningOption > 3)
        return false;
    const std::vector<const char*>& boxes = kWarningKinds[WarningOption].Boxes;
    return std::any_of(boxes.begin(), boxes.end(), [&](const char* b) { return box == b; });
}

void ServiceEditor::PutBackUnreachable() {
    for (const BoxRule& rule : kBoxRules) {
        if (Reachable(rule.Name) || Accepts(rule.Name))
            continue;
        const auto last = lastAccepted_.find(rule.Name);
        SetText(rule.Name, last != lastAccepted_.end() ? last->second : std::string("0"));
    }
}

bool ServiceEditor::RefuseMoneyOutOfRange(const std::string& box) {
    const std::string before = previousText_;
    if (!MoneyOutOfRange(Text(box)))
        return false;
    Beep();
    SetText(box, MoneyOutOfRange(before) ? std::string() : before);
    Focus(box);
    return true;
}

void ServiceEditor::Number_LostFocus(const std::string& box) {
    if (!Accepts(box))
        Refuse(box);
}

void ServiceEditor::FixedMoney_LostFocus(const std::string& box, bool refresh) {
    if (!Accepts(box))
        Refuse(box);
    else
        SetText(box, MoneyText(Text(box)));
    if (refresh)
        RefreshOKState();
}

void ServiceEditor::FlexRate_Change(const std::string& box) {
    if (RefuseMoneyOutOfRange(box))
        return;
    const std::string& t = Text(box);
    if (!t.empty() && !Accepts(box) && !EndsWithSeparator(t))
        Refuse(box);
    RefreshOKState();
}

void ServiceEditor::FlexRate_LostFocus(const std::string& box) {
    if (!Accepts(box))
        SetText(box, "0");
    SetText(box, MoneyText(Text(box)));
}

void ServiceEditor::txtServiceFlexHours_Change() {
    const std::string box = "txtServiceFlexHours";
    const std::string t = Text(box);
    if (!t.empty() && !Accepts(box)) {
        SetText(box, runtime::IsNumeric(t) && RegionalValue(t) > 999 ? "999" : "");
        Refuse(box);
    }
    RefreshOKState();
}

void ServiceEditor::txtServiceFlexHours_LostFocus() {
    const std::string box = "txtServiceFlexHours";
    if (Text(box).empty())
        SetText(box, "0");
    SetText(box, runtime::Format(std::string_view(Text(box)), "#0"));
}

void ServiceEditor::txtAfterMeg_Change() {
    if (!Text("txtAfterMeg").empty() && !Accepts("txtAfterMeg"))
        Refuse("txtAfterMeg");
    RefreshOKState();
}

void ServiceEditor::txtAfterMeg_LostFocus() {
    const std::string box = "txtAfterMeg";
    if (Text(box).empty())
        SetText(box, "0");
    else if (!Accepts(box))
        Refuse(box);
    SetText(box, runtime::Format(std::string_view(Text(box)), "#0"));
}

void ServiceEditor::txtServiceBlock_Change() {
    const std::string box = "txtServiceBlock";
    const std::string t = Text(box);
    const double lead = LeadingNumber(t);
    if (lead > 99) {
        SetText(box, NumberText(LeadingNumber(t.substr(0, 2))));
        Beep();
    } else if (lead < 0) {
        SetText(box, "");
        Refuse(box);
    }
    RefreshOKState();
}

void ServiceEditor::txtServiceBlock_LostFocus() {
    const std::string box = "txtServiceBlock";
    if (Text(box).empty())
        SetText(box, "0");
    if (!Accepts(box))
        Refuse(box);
    else
        SetText(box, NumberText(runtime::Int(runtime::CDbl(Text(box)))));
}

// ---- warnings ----

void ServiceEditor::optWarning_Click(int index) {
    WarningOption = static_cast<std::int16_t>(index);
    chkWarnings_Click();
}

void ServiceEditor::chkWarnings_Click() {
    const int v = Value("chkWarnings");
    if (v == 0) {
        for (int i = 0; i < 4; ++i)
            Enable("optWarning(" + std::to_string(i) + ")", false);
        for (const WarningKind& kind : kWarningKinds) {
            for (const char* box : kind.Boxes)
                SetBox(box, false);
            for (const char* label : kind.Labels)
                Enable(label, false);
        }
        SetBox("txtWarningSound", false);
        for (const char* c : {"btnWarnBrowse", "btnWarnPlay", "chkWarnDisplay", "chkWarnSound"})
            Enable(c, false);
    } else if (v == 1) {
        for (int i = 0; i < 4; ++i)
            Enable("optWarning(" + std::to_string(i) + ")", true);
        Enable("chkWarnDisplay", true);
        Enable("chkWarnSound", true);
        chkWarnSound_Click();
        if (WarningOption >= 0 && WarningOption <= 3) {
            for (int k = 0; k < 4; ++k) {
                for (const char* box : kWarningKinds[k].Boxes)
                    SetBox(box, k == WarningOption);
                for (const char* label : kWarningKinds[k].Labels)
                    Enable(label, k == WarningOption);
            }
            if (IsVisible("fraService(3)"))
                Focus(kWarningKinds[WarningOption].Boxes.front());
        }
    }
    PutBackUnreachable();
    RefreshOKState();
}

void ServiceEditor::chkWarnSound_Click() {
    const int sound = Value("chkWarnSound");
    if (sound == 0 || sound == 1) {
        SetBox("txtWarningSound", sound == 1);
        Enable("btnWarnBrowse", sound == 1);
        Enable("btnWarnPlay", sound == 1);
    }
    if ((Value("chkWarnSound") | Value("chkWarnDisplay")) != 1)
        SetValue("chkWarnDisplay", 1);
    RefreshOKState();
}

void ServiceEditor::chkWarnDisplay_Click() {
    if (IsVisible("fraService(3)") && (Value("chkWarnSound") | Value("chkWarnDisplay")) != 1)
        SetValue("chkWarnDisplay", 1);
    RefreshOKState();
}

void ServiceEditor::WholeThreshold_Change(const std::string& box, bool& flag) {
    if (!Text(box).empty()) {
        flag = Accepts(box);
        if (!flag)
            Refuse(box);
    }
    RefreshOKState();
}

void ServiceEditor::WholeThreshold_LostFocus(const std::string& box, bool& flag, const char* mask) {
    if (Text(box).empty()) {
        SetText(box, "0");
        flag = true;
    }
    if (flag)
        SetText(box, runtime::Format(std::string_view(Text(box)), mask));
    RefreshOKState();
}

void ServiceEditor::MoneyThreshold_Change(const std::string& box, bool& flag) {
    if (RefuseMoneyOutOfRange(box))
        return;
    const std::string& t = Text(box);
    if (!t.empty()) {
        flag = Accepts(box) || EndsWithSeparator(t);
        if (!flag)
            Refuse(box);
    }
    RefreshOKState();
}

void ServiceEditor::MoneyThreshold_LostFocus(const std::string& box, bool& flag) {
    if (!Accepts(box)) {
        SetText(box, "0");
        flag = true;
    }
    if (flag)
        SetText(box, MoneyText(Text(box)));
    RefreshOKState();
}

void ServiceEditor::txtWarnData_LostFocus() {
    const std::string box = "txtWarnData";
    if (Text(box).empty())
        SetText(box, "0");
    DataValid = Accepts(box);
    if (!DataValid)
        Refuse(box);
    SetText(box, runtime::Format(std::string_view(Text(box)), "#,##0"));
}

void ServiceEditor::txtWarningSound_LostFocus() {
    const std::string box = "txtWarningSound";
    if (GeneralFunctions::FileExists(Text(box))) {
        DUVMain::WarningSoundFile = Text(box);
    } else {
        DUVMain::WarningSoundFile = PreviousSoundFile;
        SetText(box, PreviousSoundFile);
        Beep();
    }
    RefreshOKState();
}

void ServiceEditor::btnWarnBrowse_Click() {
    const std::string current = DUVMain::WarningSoundFile;
    std::string name, folder;
    if (!current.empty()) {
        name = GeneralFunctions::FileNameOfPath(current);
        try {
            folder = GeneralFunctions::TextBeforeSeparator(current, name);
        } catch (const runtime::RuntimeError&) {
            folder.clear();
        }
    }
    std::optional<std::string> picked;
    if (window.PickSoundFile)
        picked = window.PickSoundFile(name, folder);
    if (!picked) {
        Focus("txtWarningSound");
        return;
    }
    DUVMain::WarningSoundFile = *picked;
    SetText("txtWarningSound", *picked);
}

void ServiceEditor::btnWarnPlay_Click() {
    if (!Controls["btnWarnPlay"].Enabled)
        return;
    Enable("btnWarnPlay", false);
    try {
        sound::PlaySoundFile(DUVMain::WarningSoundFile);
        LetEventsRun();
    } catch (const runtime::RuntimeError&) {
    }
    Enable("btnWarnPlay", true);
}

}  // namespace ServiceEditorModel
