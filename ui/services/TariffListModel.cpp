// The service editor's tariff list: its order, its row and tip texts, New, Edit and Delete.
#include "ui/services/ServiceEditorModel.h"

#include <algorithm>

#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/Runtime.h"
#include "core/UserFeedback.h"

namespace ServiceEditorModel {

using namespace ControlTableModel;

namespace {

std::string Money(double amount, std::int16_t maxPlaces) {
    using namespace DUVMain;
    return CurrencyFormat::FormatCurrency(amount, CurrencySymbol, CurrencySymbolPrecedes,
                                          CurrencySymbolSpaced, CurrencyDigits, maxPlaces);
}

std::string TwelveHour(double time) { return runtime::Format(time, "h:mmAM/PM"); }

bool ByMinuteOrSecond(const TariffRecord& t) {
    return t.Unit == "Per Minute" || t.Unit == "Per Second";
}

// Minutes and seconds of the threshold: "2 Mins 5 Secs".
std::string AfterText(std::int32_t after) {
    const std::int32_t m = after / 60;
    return std::to_string(m) + " Mins " + std::to_string(after - m * 60) + " Secs";
}

std::string UnitText(const TariffRecord& t) {
    return std::to_string(t.UnitMins) + "Mins " + std::to_string(t.UnitSecs) + "Secs";
}
}  // namespace

std::array<TariffColumn, 6> TariffColumns() {
    const std::string& symbol = DUVMain::CurrencySymbol;
    return {{{"Description", 1764},
             {"Days", 1235},
             {"Hours", 2469},
             {symbol + "/Call", 882},
             {symbol + "/M/S/U", 1235},
             {"After (Unit Size)", 2469}}};
}

std::array<std::string, 6> TariffRowTexts(const TariffRecord& t) {
    return {t.Description,
            t.AppliesDays,
            TwelveHour(t.AppliesTimeStart) + " - " + TwelveHour(t.AppliesTimeEnd),
            Money(t.DialRate, 4),
            Money(t.PerMinuteRate, 4),
            ByMinuteOrSecond(t) ? AfterText(t.After) : "Unit=" + UnitText(t)};
}

std::string TariffTipText(int count, int selected, const TariffTable& tariffs) {
    if (count <= 0 || selected < 1 || selected > std::min(count, kMaxTariffs))
        return kUserDefinedTariffs;
    const TariffRecord& t = tariffs[selected];
    std::string tip = t.Description + " - " + t.AppliesDays + " " + TwelveHour(t.AppliesTimeStart) +
                      " - " + TwelveHour(t.AppliesTimeEnd) + " - " + Money(t.DialRate, 0) +
                      " /Call + " + Money(t.PerMinuteRate, 0);
    if (t.Unit == "Per Minute")
        return tip + " /Min after " + AfterText(t.After) + ".";
    if (t.Unit == "Per Second")
        return tip + " /Sec after " + AfterText(t.After) + ".";
    return tip + " /Unit (Unit=" + UnitText(t) + ")";
}

std::string TariffCountText(int count) {
    return std::to_string(count) + " Tariffs (Max " + std::to_string(kMaxTariffs) + ")";
}

void SortTariffs(TariffTable& tariffs, int count, std::int16_t& selected) {
    runtime::SetContext("frmService", "SortTariffs");
    count = std::min(count, kMaxTariffs);
    if (count < 2)
        return;
    auto swap = [&](int a, int b) {
        std::swap(tariffs.at(a), tariffs.at(b));
        if (selected == a)
            selected = static_cast<std::int16_t>(b);
        else if (selected == b)
            selected = static_cast<std::int16_t>(a);
    };
    bool finished = false;
    while (!finished) {
        finished = true;
        for (int i = 1; i < count; ++i) {
            // Each rule sees the pair as the rules before it left it.
            const auto rules = {
                +[](const TariffRecord& a, const TariffRecord& b) {
                    return a.AppliesDays != "Holidays" && b.AppliesDays == "Holidays";
                },
                +[](const TariffRecord& a, const TariffRecord& b) {
                    return a.AppliesDays.find('-') != std::string::npos &&
                           b.AppliesDays.find('-') == std::string::npos &&
                           b.AppliesDays != "Everyday";
                },
                +[](const TariffRecord& a, const TariffRecord& b) {
                    return a.AppliesDays == "Everyday" && b.AppliesDays != "Everyday";
                },
                +[](const TariffRecord& a, const TariffRecord& b) {
                    return a.AppliesTimeStart > b.AppliesTimeStart &&
                           a.AppliesDays == b.AppliesDays;
                },
            };
            for (auto rule : rules) {
                if (rule(tariffs[i], tariffs[i + 1])) {
                    swap(i, i + 1);
                    finished = false;
                }
            }
        }
    }
}

// ---- tariff list ----

int ServiceEditor::SelectedTariffRow() const {
    const int count = std::min<int>(DUVMain::WorkTariffCount, static_cast<int>(TariffRows.size()));
    return TariffListRow >= 1 && TariffListRow <= count ? TariffListRow : 0;
}

void ServiceEditor::btnDialTimeTariffNew_Click() {
    runtime::SetContext("frmService", "btnDialTimeTariffNew_Click");
    using namespace DUVMain;
    if (WorkTariffCount >= kMaxTariffs) {
        Beep();
        return;
    }
    TariffDialogMode = true;
    ShowBusy(true);
    if (window.ShowTariffEditor)
        window.ShowTariffEditor();
    if (TariffDialogMode)
        SelectedTariff = WorkTariffCount;
    SortTariffs();
    DisplayTariffs();
    ShowTariffCount();
    ShowTariffTip();
    SetNewButton();
    SetEditButton();
    SetDeleteButton();
    RefreshOKState();
    Focus("lstDialTimeTariff");
}

void ServiceEditor::btnDialTimeTariffEdit_Click() {
    runtime::SetContext("frmService", "btnDialTimeTariffEdit_Click");
    if (!Controls["btnDialTimeTariffEdit"].Enabled)
        return;
    const int row = SelectedTariffRow();
    if (row == 0) {
        Beep();
        return;
    }
    SelectedTariff = static_cast<std::int16_t>(row);
    DUVMain::TariffDialogMode = false;
    ShowBusy(true);
    if (window.ShowTariffEditor)
        window.ShowTariffEditor();
    SortTariffs();
    DisplayTariffs();
    ShowTariffTip();
}

void ServiceEditor::btnDialTimeTariffDelete_Click() {
    runtime::SetContext("frmService", "btnDialTimeTariffDelete_Click");
    using namespace DUVMain;
    if (WorkTariffCount <= 0)
        return;
    const int s = SelectedTariffRow();
    if (s == 0) {
        Beep();
        return;
    }
    SelectedTariff = static_cast<std::int16_t>(s);
    ShowTariffTip();
    for (int i = s; i < WorkTariffCount; ++i)
        WorkTariffs.at(i) = WorkTariffs.at(i + 1);
    --WorkTariffCount;
    if (s > WorkTariffCount && WorkTariffCount > 0)
        SelectedTariff = WorkTariffCount;
    DisplayTariffs();
    ShowTariffCount();
    ShowTariffTip();
    SetDeleteButton();
    SetEditButton();
    SetNewButton();
    RefreshOKState();
    Focus("lstDialTimeTariff");
}

void ServiceEditor::SortTariffs() {
    ServiceEditorModel::SortTariffs(DUVMain::WorkTariffs, DUVMain::WorkTariffCount, SelectedTariff);
}

void ServiceEditor::DisplayTariffs() {
    runtime::SetContext("frmService", "DisplayTariffs");
    TariffRows.clear();
    TariffListRow = 0;
    const int count = std::min<int>(DUVMain::WorkTariffCount, kMaxTariffs);
    for (int i = 1; i <= count; ++i)
        TariffRows.push_back(TariffRowTexts(DUVMain::WorkTariffs[i]));
    if (IsVisible("lstDialTimeTariff") && Controls["lstDialTimeTariff"].Enabled &&
        SelectedTariff >= 1 && SelectedTariff <= count)
        TariffListRow = SelectedTariff;
}

void ServiceEditor::ShowTariffCount() {
    Control& label = Controls["lblDialTimeTariff9"];
    label.Text = TariffCountText(DUVMain::WorkTariffCount);
    label.ForeColor = DUVMain::WorkTariffCount < kMaxTariffs ? kBlack : kRed;
    if (DUVMain::WorkTariffCount >= kMaxTariffs)
        Beep();
}

void ServiceEditor::ShowTariffTip() {
    Controls["lstDialTimeTariff"].ToolTip =
        TariffTipText(DUVMain::WorkTariffCount, SelectedTariff, DUVMain::WorkTariffs);
}

void ServiceEditor::SetNewButton() {
    Enable("btnDialTimeTariffNew", DUVMain::WorkTariffCount < kMaxTariffs);
}
void ServiceEditor::SetEditButton() {
    Enable("btnDialTimeTariffEdit", DUVMain::WorkTariffCount != 0);
}
void ServiceEditor::SetDeleteButton() {
    if (DialOption == 2)
        Enable("btnDialTimeTariffDelete", DUVMain::WorkTariffCount >= 1);
}

}  // namespace ServiceEditorModel
