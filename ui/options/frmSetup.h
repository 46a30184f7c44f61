// The options window: eight tabs of settings, the services list with the scan of the log, and
// OK / Cancel. Its decisions are in ui/options/OptionsModel.h; the window shows them.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"
#include "ui/forms/ListView.h"
#include "ui/forms/TabStrip.h"
#include "ui/options/OptionsModel.h"

class frmSetup : public forms::SingleForm<frmSetup> {
public:
    frmSetup();

    // The service editor the services page opens (the editor's window hands it over). Without
    // one, New and Edit report an unserved command. Returns the one it replaces.
    static std::function<void()> SetServiceEditor(std::function<void()> showModal);
    // The 1-based row selected in lstServices, 0 when none: the service an edit works on.
    int SelectedServiceRow() const;

    const OptionsModel::Session& Session() const { return session_; }

    // ---- frame ----
    void TabStrip1_Click();
    void btnSave_Click();
    void btnCancel_Click();
    // ---- General ----
    void txtMaxServices_LostFocus();
    void txtMaxConnections_LostFocus();
    void txtMaxConnectDays_LostFocus();
    void txtMaxLogSize_LostFocus();
    void optShowToolbars_Click();
    void optFlatToolBars_Click();
    void optEditLog_Click();
    void optShowGraphic_Click();
    void optAutoOpt_Click();
    void optTips_Click();
    void optModemCheck_Click();
    void txtLogName_LostFocus();
    void cmdBrowse_Click();
    // ---- Modem ----
    void TextOpt_LostFocus(int index);
    void btnDefaults_Click();
    void Icon_Click(int index);
    // ---- Costs ----
    void optCalcCosts_Click();
    void txtDialCost_LostFocus();
    void txtCostPerHour_LostFocus();
    void txtCostPerMeg_LostFocus();
    // ---- Errors ----
    void optShowErrors_Click();
    void mskNoDisconDuration_Change();
    void mskNoDisconDuration_LostFocus();
    void mskNoDisconData_LostFocus();
    // ---- Holidays ----
    void btnAdd_Click();
    void CalHolidays_DblClick();
    void btnRemove_Click();
    void lstHolidays_Click();
    void lstHolidays_DblClick();
    // ---- Report ----
    void chkAMPM_Click();
    void optFormat_Click(int index);
    void lstStartDate_Click();
    void lstWeekStart_Click();
    void lstMonthStart_Click();
    void mskUserDate_LostFocus();
    // ---- Services ----
    void btnNew_Click();
    void btnEdit_Click();
    void lstServices_DblClick();
    void btnDelete_Click();
    void btnScan_Click();

    forms::TabStrip TabStrip1;
    std::array<forms::Frame, 8> Settings;
    forms::Button btnSave, btnCancel, btnDefaults;

    // General
    forms::Label lblMaxServices, lblMaxConnections, lblMaxConnectDays, lblDays, lblMaxLogSize,
        lblKB, lblLogName;
    forms::TextBox txtMaxServices, txtMaxConnections, txtMaxConnectDays, txtMaxLogSize, txtLogName;
    forms::CheckBox optShowToolbars, optFlatToolBars, optEditLog, optShowGraphic, optAutoOpt,
        optTips, optModemCheck;
    forms::Button cmdBrowse;
    // Modem
    std::array<forms::Label, 7> lblTextOpt;
    std::array<forms::TextBox, 7> TextOpt;  // Dial, Answer, Connect, User, Remote, Reads, Writes
    std::array<forms::PictureBox, 3> Icon;  // 1 regional settings, 2 modems
    // Services
    forms::ListView lstServices;
    forms::Button btnScan, btnNew, btnEdit, btnDelete;
    forms::Label lblServices1, lblServices2;
    forms::ProgressBar ProgressBar1;
    // Costs
    forms::CheckBox optCalcCosts;
    forms::Label lblDialCost, lblCostPerHour, lblCostPerMeg, lblCostNotice;
    forms::TextBox txtDialCost, txtCostPerHour, txtCostPerMeg;
    // Format
    forms::Label lblCountry, lblRegionalSettings, lblPreview, lblDateFormat, lblShortDate,
        lblLongDate;
    // Errors
    forms::CheckBox optShowErrors;
    forms::Label lblNoDiscon1, Label8, lblNoDiscon2, lblKBs;
    forms::MaskedEdit mskNoDisconDuration;
    forms::TextBox mskNoDisconData;
    // Holidays
    forms::MonthCalendar CalHolidays;
    forms::ListBox lstHolidays;
    forms::Button btnAdd, btnRemove;
    forms::Label lblUsedHolidays;
    // Report
    forms::CheckBox chkAMPM;
    forms::Frame fraFormat;
    std::array<forms::OptionButton, 2> optFormat;
    forms::Label lblStartDate, lblStartOfWeek, lblStartOfMonth, lblUserDefined;
    forms::ComboBox lstStartDate, lstWeekStart, lstMonthStart;
    forms::MaskedEdit mskUserDate;

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_KeyDown(int key, int shift) override;
    void Form_Unload(bool& cancel) override;

private:
    static double& DialCostSetting();
    static double& CostPerHourSetting();
    static double& CostPerMegSetting();
    void DeclarePages();
    void FillGeneralPage();
    void FillModemAndCostsPages();
    void FillReportPage();
    void FillHolidayList();
    void FillServicesList();
    void CostBox_LostFocus(forms::TextBox& box, double& setting);
    void Limit16_LostFocus(forms::TextBox& box, std::int16_t& setting);
    // A General page check box clicked: its procedure recorded, its setting follows it.
    void Option_Click(std::string_view procedure, const forms::CheckBox& box, bool& setting);
    void AddHoliday();
    void ShowHolidayCount();
    void SetTabHelpContext();
    void EnableStartDateControls();
    void ShowServiceCounts();
    void EnableServiceButtons();
    void DeleteSelectedService();
    void AddServiceRow(int index);
    void OpenServiceEditor();
    static void SetBoxEnabled(forms::Control& box, bool enabled);

    OptionsModel::Session session_;
};
