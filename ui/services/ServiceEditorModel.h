// The service editor without the system: what frmService puts into its controls when it
// loads, every field's check and formatting, the enable-by-name passes, the tariff list and
// its order, the warnings page and what OK stores. The window creates its controls from
// Controls, forwards the user's events here and shows the state this leaves behind.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/Records.h"
#include "ui/services/ControlTableModel.h"

namespace ServiceEditorModel {

inline constexpr const char* kDesignCaption = "DUV - Edit Service";
inline constexpr int kTabCount = 4;
inline constexpr const char* kUserDefinedTariffs = "User Defined Tariffs";

struct TabInfo {
    const char* Caption;
    const char* ToolTip;
};
extern const std::array<TabInfo, kTabCount> kTabs;

// Column headers and widths (twips) of the tariff list.
struct TariffColumn {
    std::string Header;
    int Width = 0;
};
std::array<TariffColumn, 6> TariffColumns();

// The 96 quarter hours "00:00" to "23:45" with the regional time separator; with
// endOfQuarter the last minute of each quarter ("00:14" to "23:59").
std::vector<std::string> QuarterHours(bool endOfQuarter = false);
// A time of day as "hh" separator "mm".
std::string HourMinuteText(double time);

// ---- numbers as the editors read them ----

// The text of a number in the regional format (regional decimal separator, no thousands
// separator, no leading blank).
std::string NumberText(double value);
// The value of a number text by the full regional conversion (every thousands separator
// removed); a text that is not a regional number gives its leading number, and one whose
// number is beyond the double range ("1e999") infinity, without an error.
double RegionalValue(const std::string& text);
// The leading number of a text (full stop as decimal point); beyond the double range,
// infinity.
double LeadingNumber(const std::string& text);
// A money text with up to four places; "" when the text is not a number.
std::string MoneyText(const std::string& text);
// True when the text is a regional number whose value rounds into the 32-bit range.
bool IsLongText(const std::string& text);
// True when the text is a regional number that is too large (or too far below zero) for a
// stored amount of money.
bool MoneyOutOfRange(const std::string& text);

// ---- tariff list texts ----

// One row of the tariff list: description, days, hours, per call, per unit, after.
std::array<std::string, 6> TariffRowTexts(const TariffRecord& t);
// The list's tool tip for the selected tariff (0 or out of range: "User Defined Tariffs").
std::string TariffTipText(int count, int selected, const TariffTable& tariffs);
// "3 Tariffs (Max 10)".
std::string TariffCountText(int count);

// Puts the first count working tariffs in the list's order, swapping selected along with its
// tariff: repeated passes over neighbouring pairs until one pass swaps nothing.
void SortTariffs(TariffTable& tariffs, int count, std::int16_t& selected);

// What the editor asks of its window. Every member may be empty.
struct Window {
    std::function<void()> Beep;
    // Moves the focus (the editor asks only for controls that can take it).
    std::function<void(const std::string& control)> SetFocus;
    // Shows the tariff editor modally and returns when it is closed.
    std::function<void()> ShowTariffEditor;
    // The open dialog for a wave file, starting at the given name and folder; nothing when
    // the user cancels.
    std::function<std::optional<std::string>(const std::string& fileName,
                                             const std::string& folder)>
        PickSoundFile;
    // 1-based selected row of the options window's service list (0: none).
    std::function<int()> SelectedServiceRow;
    // Closes the window.
    std::function<void()> Unload;
};

class ServiceEditor {
public:
    ServiceEditor();

    Window window;
    ControlTableModel::Table Controls;

    // ---- form-level variables (they live as long as the editor) ----
    std::int16_t ServiceIndex = 0;
    std::int16_t DialOption = 0;
    std::int16_t ServiceOption = 0;
    std::int16_t WarningOption = 0;
    std::int16_t SelectedTariff = 0;
    std::int16_t CurrentTab = 0;
    bool MinutesValid = false;
    bool HoursValid = false;
    bool DialupCostValid = false;
    bool ServiceCostValid = false;
    bool DataValid = false;
    std::string PreviousSoundFile;

    // ---- what the window shows besides the controls ----
    std::string Caption = kDesignCaption;
    std::vector<std::array<std::string, 6>> TariffRows;
    int TariffListRow = 0;               // selected row of the tariff list, 1-based, 0 none
    bool SelectDescriptionText = false;  // the new service's description is selected in full
    bool Shown = false;                  // the window is on the screen

    // ---- events of the window ----
    void Form_Load();
    void Form_Activate();
    // Ctrl+Tab (key 9, shift 2) selects the next tab; returns true when it took the key.
    bool Form_KeyDown(int key, int shift);
    // Closing by the close box: counts as Cancel.
    void Form_QueryUnload();
    // The user picked a tab.
    void SelectTab(int tab);
    // Text typed into a box or chosen in a list (its change procedure runs when it differs).
    void SetText(const std::string& control, const std::string& text);
    // A check box's or option button's value (its click procedure runs when it changes; an
    // option button set to 1 always runs it).
    void SetValue(const std::string& control, int value);
    void Click(const std::string& control);
    void DblClick(const std::string& control);
    void GotFocus(const std::string& control);
    void LostFocus(const std::string& control);
    // The user selected a row of the tariff list (1-based).
    void SelectTariffRow(int row);

    // ---- procedures ----
    bool FieldsValid() const;
    // The service OK stores, built from the window without changing anything; nothing while a
    // box shows a text its own check refuses, or a value cannot be stored.
    std::optional<ServiceRecord> RecordToStore() const;
    void RefreshOKState();
    void Disable_All_Controls();
    void EnableControls(const std::string& namePart);
    void SortTariffs();
    void DisplayTariffs();
    void ShowTariffCount();
    void ShowTariffTip();
    void SetNewButton();
    void SetEditButton();
    void SetDeleteButton();

    // The selected row of the tariff list when it names a working tariff, else 0.
    int SelectedTariffRow() const;
    // True when the control is on the screen: the window is shown and the control is on the
    // current tab (or on none).
    bool IsVisible(const std::string& control) const;

private:
    struct Handlers;
    static const Handlers* HandlersOf(const std::string& control);

    void LoadNewService();
    void LoadStoredService(const ServiceRecord& r);
    void FillComboBoxes();
    void SetListText(const std::string& list, const std::string& text);
    void Beep();
    void Focus(const std::string& control);
    void Refuse(const std::string& control);
    // The box's own check of its text (a control without one accepts any text).
    bool Accepts(const std::string& box) const;
    bool EveryBoxAccepts() const;
    // True when the user can type into the box once its tab shows: the chosen options enable
    // it.
    bool Reachable(const std::string& box) const;
    // Keeps the box's text as its last accepted one when its check accepts it.
    void RememberAccepted(const std::string& box);
    // A box the chosen options put out of reach gets its last accepted text back ("0" when it
    // has none) when it shows one its check refuses.
    void PutBackUnreachable();
    bool IsChosenThreshold(const std::string& box) const;
    // Refuses a money amount the store cannot hold as it is typed: beep, the text before it
    // back, the focus back. True when it refused.
    bool RefuseMoneyOutOfRange(const std::string& box);
    const std::string& Text(const std::string& control) const;
    int Value(const std::string& control) const;
    void Enable(const std::string& control, bool enabled);
    void SetBox(const std::string& control, bool enabled);
    void SelectOption(const std::string& group, int index);

    void TabStrip1_Click();
    void optDialCost_Click(int index);
    void optServiceCost_Click(int index);
    void chkFreePeriod_Click();
    void optWarning_Click(int index);
    void chkWarnings_Click();
    void chkWarnSound_Click();
    void chkWarnDisplay_Click();
    void btnOK_Click();
    void btnCancel_Click();
    void btnDialTimeTariffNew_Click();
    void btnDialTimeTariffEdit_Click();
    void btnDialTimeTariffDelete_Click();
    void btnWarnBrowse_Click();
    void btnWarnPlay_Click();

    void Number_LostFocus(const std::string& box);
    void FixedMoney_LostFocus(const std::string& box, bool refresh);
    void FlexRate_Change(const std::string& box);
    void FlexRate_LostFocus(const std::string& box);
    void txtServiceFlexHours_Change();
    void txtServiceFlexHours_LostFocus();
    void txtAfterMeg_Change();
    void txtAfterMeg_LostFocus();
    void txtServiceBlock_Change();
    void txtServiceBlock_LostFocus();
    void WholeThreshold_Change(const std::string& box, bool& flag);
    void WholeThreshold_LostFocus(const std::string& box, bool& flag, const char* mask);
    void MoneyThreshold_Change(const std::string& box, bool& flag);
    void MoneyThreshold_LostFocus(const std::string& box, bool& flag);
    void txtWarnData_LostFocus();
    void txtWarningSound_LostFocus();

    bool closedByOK_ = false;
    std::string previousText_;  // a box's text before the change being handled
    std::unordered_map<std::string, std::string> lastAccepted_;  // by box
};

}  // namespace ServiceEditorModel
