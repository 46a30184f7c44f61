// The tariff editor without the system: its lists, the start and end coupling, the checks of
// its number boxes, which fields a unit kind enables, when OK may be pressed and what OK
// writes into the service editor's working tariffs.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/Records.h"
#include "ui/services/ControlTableModel.h"

namespace TariffEditorModel {

inline constexpr const char* kCaption = "DUV - Dial-up Tariff Definition";

// The day choices: "Everyday", "Holidays", five ranges of regional day abbreviations, then
// the seven day names Monday to Sunday.
std::vector<std::string> DayChoices();

// The index of the first of the count working tariffs named exactly name (1-based), else 0.
int TariffExists(const std::string& name, int count);

// What the editor asks of its window. Every member may be empty.
struct Window {
    std::function<void()> Beep;
    std::function<void(const std::string& control)> SetFocus;
    // 1-based selected row of the service editor's tariff list (0: none).
    std::function<int()> SelectedTariffRow;
    std::function<void()> Unload;
};

// The number boxes in the order of FieldValid.
enum Box { AfterMins, AfterSecs, DialRate, MinuteRate, UnitMins, UnitSecs, kBoxCount };

class TariffEditor {
public:
    TariffEditor();

    Window window;
    ControlTableModel::Table Controls;

    std::array<bool, kBoxCount> FieldValid{};
    std::int16_t EditIndex = 0;
    double AssistTime = 0;
    bool Shown = false;

    void Form_Load();
    void Form_Activate();
    // Closing by the close box: counts as Cancel.
    void Form_QueryUnload();
    void SetText(const std::string& control, const std::string& text);
    void Click(const std::string& control);
    void GotFocus(const std::string& control);
    void LostFocus(const std::string& control);
    // True when the control's whole text is selected as it gets the focus (new tariffs only).
    bool SelectsAllOnFocus(const std::string& control) const;

    void CheckOKBtn();
    void SetFieldStates();
    // The tariff OK writes, built from the window without changing anything; nothing while a
    // number box shows a text its own check refuses, or a value cannot be stored.
    std::optional<TariffRecord> RecordToStore() const;

private:
    void FillComboBoxes();
    void SetListText(const std::string& list, const std::string& text);
    void GuardedListText(const std::string& list, const std::string& text);
    void Refuse(const std::string& control, bool onlyWhenShown);
    void Focus(const std::string& control);
    const std::string& Text(const std::string& control) const;
    void SetBox(const std::string& control, bool enabled, std::uint32_t back);
    void NumberBox_Change(Box box);
    void NumberBox_LostFocus(Box box);
    void AfterBox(Box box);
    void StartEnd_Change(bool start);
    void StartEnd_GotFocus(bool start);
    void StartEnd_LostFocus();
    void ShowAssist(const std::string& timeText);
    void btnOK_Click();
    void btnCancel_Click();

    bool closedByOK_ = false;
    std::string previousText_;  // a box's text before the change being handled
    std::array<std::string, kBoxCount> lastAccepted_;  // each box's text when last left
};

}  // namespace TariffEditorModel
