// The options window's settings pages: General, Modem, Costs, Format, Errors, Holidays and
// Report. Each control writes its setting as it is left or clicked; refused input beeps.
#include <string>
#include <string_view>

#include "core/Clock.h"
#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/Runtime.h"
#include "core/Warnings.h"
#include "ui/forms/Declare.h"
#include "ui/forms/Dialogs.h"
#include "ui/forms/Pictures.h"
#include "ui/options/frmSetup.h"

using namespace OptionsModel;

namespace {

void Beep() { MessageBeep(MB_OK); }

Date Today() { return runtime::DateOnly(clock_seam::Now()); }

constexpr unsigned long kFileMustExist = 0x1000;  // OFN_FILEMUSTEXIST

constexpr const char* kNoDisconnect =
    "If the 'Disconnect' log entry is missing for a dialled connection, then set the "
    "duration of that connection to:";

}  // namespace

void frmSetup::DeclarePages() {
    using F = frmSetup;
    forms::Control* general = &Settings[0];
    forms::Control* modem = &Settings[1];
    forms::Control* services = &Settings[2];
    forms::Control* costs = &Settings[3];
    forms::Control* format = &Settings[4];
    forms::Control* errors = &Settings[5];
    forms::Control* holidays = &Settings[6];
    forms::Control* report = &Settings[7];
    const KeywordBox* keyword = KeywordBoxes().data();
    // clang-format off
    forms::Declare<frmSetup>(*this, {
        // control            caption                                                left  top  width height   tool tip                                                parent      look                         events
        // General
        {lblMaxServices,      "Max Services:",                                       {240, 420, 1950, 285},    {},                                                     general},
        {txtMaxServices,      "",                                                    {2280, 390, 960, 315},    "Maximum number of dialled services",                   general,    {},                          {.lostFocus = &F::txtMaxServices_LostFocus}},
        {lblMaxConnections,   "Max Connections:",                                    {240, 840, 1950, 285},    {},                                                     general},
        {txtMaxConnections,   "",                                                    {2280, 810, 960, 315},    "Maximum number of connections when processing report", general,    {},                          {.lostFocus = &F::txtMaxConnections_LostFocus}},
        {lblMaxConnectDays,   "Max Connect Time:",                                   {240, 1260, 1950, 285},   {},                                                     general},
        {txtMaxConnectDays,   "",                                                    {2280, 1230, 960, 315},   "Maximum duration of connection (days)",                general,    {},                          {.lostFocus = &F::txtMaxConnectDays_LostFocus}},
        {lblDays,             "(Days)",                                              {3330, 1260, 900, 285},   {},                                                     general},
        {lblMaxLogSize,       "Max Safe Log Size:",                                  {240, 1680, 1950, 285},   {},                                                     general},
        {txtMaxLogSize,       "",                                                    {2280, 1650, 960, 315},   "Log file size threshold for warning",                  general,    {},                          {.lostFocus = &F::txtMaxLogSize_LostFocus}},
        {lblKB,               "(KB)",                                                {3330, 1680, 900, 285},   {},                                                     general},
        {optShowToolbars,     "Show Toolbars",                                       {4440, 390, 2300, 285},   {},                                                     general,    {},                          {.click = &F::optShowToolbars_Click}},
        {optFlatToolBars,     "Flat",                                                {4700, 690, 2000, 285},   "Show Toolbars ",                                       general,    {},                          {.click = &F::optFlatToolBars_Click}},
        {optEditLog,          "Allow editing of log",                                {4440, 990, 2300, 285},   "Allow editing of modem log files",                     general,    {},                          {.click = &F::optEditLog_Click}},
        {optShowGraphic,      "Show DUV Graphics",                                   {4440, 1290, 2300, 285},  "Show graphics on forms",                               general,    {},                          {.click = &F::optShowGraphic_Click}},
        {optAutoOpt,          "Auto Optimize",                                       {4440, 1590, 2300, 285},  "Prompt for optimize when DUV starts",                  general,    {},                          {.click = &F::optAutoOpt_Click}},
        {optTips,             "Show Tip of the Day",                                 {4440, 1890, 2300, 285},  "Show 'Tip of the Day' at start",                       general,    {},                          {.click = &F::optTips_Click}},
        {optModemCheck,       "Check Modem at Startup",                              {4440, 2190, 2300, 285},  "Perform modem and dial-up networking check at start.", general,    {},                          {.click = &F::optModemCheck_Click}},
        {lblLogName,          "Default Log File:",                                   {240, 2700, 3000, 285},   {},                                                     general},
        {txtLogName,          "",                                                    {240, 3000, 5900, 315},   "Default Modem Log File",                               general,    {},                          {.lostFocus = &F::txtLogName_LostFocus}},
        {cmdBrowse,           "...",                                                 {6200, 3000, 420, 315},   "Click Here to Browse for Modem Log File",              general,    {},                          {.click = &F::cmdBrowse_Click}},
        // Modem
        {lblTextOpt[0],       keyword[0].Label,                                      {240, 450, 1950, 285},    {},                                                     modem},
        {TextOpt[0],          "",                                                    {2280, 420, 3000, 315},   keyword[0].ToolTip,                                     modem},
        {lblTextOpt[1],       keyword[1].Label,                                      {240, 870, 1950, 285},    {},                                                     modem},
        {TextOpt[1],          "",                                                    {2280, 840, 3000, 315},   keyword[1].ToolTip,                                     modem},
        {lblTextOpt[2],       keyword[2].Label,                                      {240, 1290, 1950, 285},   {},                                                     modem},
        {TextOpt[2],          "",                                                    {2280, 1260, 3000, 315},  keyword[2].ToolTip,                                     modem},
        {lblTextOpt[3],       keyword[3].Label,                                      {240, 1710, 1950, 285},   {},                                                     modem},
        {TextOpt[3],          "",                                                    {2280, 1680, 3000, 315},  keyword[3].ToolTip,                                     modem},
        {lblTextOpt[4],       keyword[4].Label,                                      {240, 2130, 1950, 285},   {},                                                     modem},
        {TextOpt[4],          "",                                                    {2280, 2100, 3000, 315},  keyword[4].ToolTip,                                     modem},
        {lblTextOpt[5],       keyword[5].Label,                                      {240, 2550, 1950, 285},   {},                                                     modem},
        {TextOpt[5],          "",                                                    {2280, 2520, 1380, 315},  keyword[5].ToolTip,                                     modem},
        {lblTextOpt[6],       keyword[6].Label,                                      {3730, 2550, 150, 285},   {},                                                     modem},
        {TextOpt[6],          "",                                                    {3900, 2520, 1380, 315},  keyword[6].ToolTip,                                     modem},
        {Icon[2],             "",                                                    {5700, 420, 480, 480},    "Click Here to Review Your Modem(s)",                   modem},
        // Services
        {lstServices,         "",                                                    {240, 360, 4900, 3000},   "User Defined Services",                                services,   {},                          {.dblClick = &F::lstServices_DblClick}},
        {btnScan,             "Scan",                                                {5340, 360, 1260, 375},   "Scan Modem Log for Dialled Services",                  services,   {},                          {.click = &F::btnScan_Click}},
        {btnNew,              "New",                                                 {5340, 900, 1260, 375},   "Add a New Dialled Service",                            services,   {},                          {.click = &F::btnNew_Click}},
        {btnEdit,             "Edit",                                                {5340, 1320, 1260, 375},  "Edit Selected Service",                                services,   {},                          {.click = &F::btnEdit_Click}},
        {btnDelete,           "Delete",                                              {5340, 1740, 1260, 375},  "Delete Selected Service",                              services,   {},                          {.click = &F::btnDelete_Click}},
        {lblServices1,        "",                                                    {5340, 2400, 1260, 285},  {},                                                     services},
        {lblServices2,        "",                                                    {5340, 2700, 1260, 285},  {},                                                     services},
        {ProgressBar1,        "",                                                    {240, 3480, 4900, 240},   {},                                                     services,   {.hidden = true}},
        // Costs
        {optCalcCosts,        "Calculate Costs",                                     {240, 390, 3000, 285},    {},                                                     costs,      {},                          {.click = &F::optCalcCosts_Click}},
        {lblDialCost,         "Default Dial-up Cost:",                               {240, 900, 3300, 285},    {},                                                     costs},
        {txtDialCost,         "",                                                    {3600, 870, 1200, 315},   "Default Dialup Cost Per Call",                         costs,      {},                          {.lostFocus = &F::txtDialCost_LostFocus}},
        {lblCostPerHour,      "Default Service Cost Per Hour:",                      {240, 1320, 3300, 285},   {},                                                     costs},
        {txtCostPerHour,      "",                                                    {3600, 1290, 1200, 315},  {},                                                     costs,      {},                          {.lostFocus = &F::txtCostPerHour_LostFocus}},
        {lblCostPerMeg,       "Default Service Cost Per Megabyte:",                  {240, 1740, 3300, 285},   {},                                                     costs},
        {txtCostPerMeg,       "",                                                    {3600, 1710, 1200, 315},  "Default Service Cost Per Megabyte of Downloaded Data", costs,      {},                          {.lostFocus = &F::txtCostPerMeg_LostFocus}},
        {lblCostNotice,       kCostNotice,                                           {240, 2400, 6300, 900},   {},                                                     costs},
        // Format
        {lblCountry,          "",                                                    {240, 390, 5300, 285},    {},                                                     format},
        {Icon[1],             "",                                                    {5900, 360, 480, 480},    "Click Here to Review Your Regional Settings",          format},
        {lblRegionalSettings, "",                                                    {240, 780, 5500, 600},    {},                                                     format},
        {lblPreview,          "",                                                    {480, 1500, 5000, 285},   {},                                                     format},
        {lblShortDate,        "",                                                    {480, 1860, 5000, 285},   {},                                                     format},
        {lblLongDate,         "",                                                    {480, 2220, 5000, 285},   {},                                                     format},
        {lblDateFormat,       "",                                                    {240, 2700, 6300, 600},   {},                                                     format},
        // Errors
        {optShowErrors,       "Show errors in reports",                              {240, 390, 3000, 285},    {},                                                     errors,     {},                          {.click = &F::optShowErrors_Click}},
        {lblNoDiscon1,        kNoDisconnect,                                         {240, 840, 6300, 500},    {},                                                     errors},
        {mskNoDisconDuration, "##:##:##",                                            {240, 1440, 1100, 315},   {},                                                     errors,     {},                          {.change = &F::mskNoDisconDuration_Change, .lostFocus = &F::mskNoDisconDuration_LostFocus}},
        {Label8,              "",                                                    {1440, 1470, 1200, 285},  {},                                                     errors},
        {lblNoDiscon2,        "and set the amount of data read by the modem to:",    {240, 1980, 6300, 285},   {},                                                     errors},
        {mskNoDisconData,     "",                                                    {240, 2340, 1100, 315},   {},                                                     errors,     {},                          {.lostFocus = &F::mskNoDisconData_LostFocus}},
        {lblKBs,              "(KBs)",                                               {1440, 2370, 800, 285},   {},                                                     errors},
        // Holidays
        {CalHolidays,         "",                                                    {240, 360, 3100, 2600},   "Double click to Add a New Holiday",                    holidays,   {},                          {.dblClick = &F::CalHolidays_DblClick}},
        {btnAdd,              ">",                                                   {3540, 1000, 500, 375},   "Add Date to Holiday List",                             holidays,   {},                          {.click = &F::btnAdd_Click}},
        {btnRemove,           "<",                                                   {3540, 1500, 500, 375},   "Remove Date From Holiday List",                        holidays,   {},                          {.click = &F::btnRemove_Click}},
        {lstHolidays,         "",                                                    {4240, 360, 2400, 2600},  "Double click to Remove a Holiday",                     holidays,   {},                          {.click = &F::lstHolidays_Click, .dblClick = &F::lstHolidays_DblClick}},
        {lblUsedHolidays,     "",                                                    {4240, 3060, 2400, 285},  {},                                                     holidays},
        // Report
        {chkAMPM,             "Display Connection Times in 12 Hour (AM/PM) Format.", {240, 390, 6300, 285},    {},                                                     report,     {},                          {.click = &F::chkAMPM_Click}},
        {fraFormat,           "",                                                    {240, 780, 2800, 1100},   {},                                                     report},
        {optFormat[0],        "Summary Report",                                      {150, 260, 2400, 285},    "Default Report Format",                                &fraFormat, {.style = WS_GROUP}},
        {optFormat[1],        "Detail Report",                                       {150, 620, 2400, 285},    "Default Report Format",                                &fraFormat},
        {lblStartDate,        "Default Report Starting Date:",                       {3300, 840, 3300, 285},   {},                                                     report},
        {lstStartDate,        "",                                                    {3300, 1140, 3000, 1800}, "Report Starting Date Preference",                      report,     {.style = CBS_DROPDOWNLIST}, {.click = &F::lstStartDate_Click}},
        {lblStartOfWeek,      "Start of Week:",                                      {240, 2160, 2000, 285},   {},                                                     report},
        {lstWeekStart,        "",                                                    {240, 2460, 2000, 1800},  "Start of Week Preference",                             report,     {.style = CBS_DROPDOWNLIST}, {.click = &F::lstWeekStart_Click}},
        {lblStartOfMonth,     "Start of Month:",                                     {2400, 2160, 2000, 285},  {},                                                     report},
        {lstMonthStart,       "",                                                    {2400, 2460, 2000, 1800}, "Start of Month Preference",                            report,     {.style = CBS_DROPDOWNLIST}, {.click = &F::lstMonthStart_Click}},
        {lblUserDefined,      "User Defined Date:",                                  {4560, 2160, 2000, 285},  {},                                                     report},
        {mskUserDate,         "##/##/####",                                          {4560, 2460, 1500, 315},  "User Defined Report Start Date",                       report,     {},                          {.lostFocus = &F::mskUserDate_LostFocus}},
    });
    // clang-format on
    for (int i = 0; i < 7; ++i)
        TextOpt[static_cast<std::size_t>(i)].LostFocus = [this, i] { TextOpt_LostFocus(i); };
    for (int i = 1; i <= 2; ++i)
        Icon[static_cast<std::size_t>(i)].Click = [this, i] { Icon_Click(i); };
    for (int i = 0; i <= 1; ++i)
        optFormat[static_cast<std::size_t>(i)].Click = [this, i] { optFormat_Click(i); };
    Icon[1].SetBitmap(Pictures::RegionalPicture());
    Icon[2].SetBitmap(Pictures::ModemPicture());
    // The page's lists are fixed.
    for (const char* rule : kStartRules)
        lstStartDate.AddItem(rule);
}

// ---- Filling at load ---------------------------------------------------------------------------

void frmSetup::FillGeneralPage() {
    using namespace DUVMain;
    txtMaxServices.SetText(std::to_string(MaxServices));
    txtMaxConnections.SetText(std::to_string(MaxConnections));
    txtMaxConnectDays.SetText(std::to_string(MaxConnectDays));
    txtMaxLogSize.SetText(std::to_string(MaxLogSize));
    txtLogName.SetText(LogNameText(ModemLogDir, ModemLogFile));
    txtLogName.SetToolTip(LogNameToolTip(ModemLogDir, ModemLogFile));
    optShowToolbars.SetValue(ShowToolbars ? 1 : 0);
    optFlatToolBars.SetValue(FlatToolbars ? 1 : 0);
    optEditLog.SetValue(EditLog ? 1 : 0);
    optShowGraphic.SetValue(ShowGraphic ? 1 : 0);
    optAutoOpt.SetValue(AutoOptimize ? 1 : 0);
    optTips.SetValue(Tips ? 1 : 0);
    optModemCheck.SetValue(ModemCheck ? 1 : 0);
    chkAMPM.SetValue(ForceAMPM ? 1 : 0);
}

void frmSetup::FillModemAndCostsPages() {
    for (std::size_t i = 0; i < TextOpt.size(); ++i)
        TextOpt[i].SetText(*KeywordBoxes()[i].Setting);
    optShowErrors.SetValue(DUVMain::ShowErrors ? 1 : 0);
    optShowErrors_Click();
    optCalcCosts.SetValue(DUVMain::CalcCosts ? 1 : 0);
    txtDialCost.SetText(CostText(DUVMain::DialCost));
    txtCostPerHour.SetText(CostText(DUVMain::CostPerHour));
    txtCostPerMeg.SetText(CostText(DUVMain::CostPerMeg));
    optCalcCosts_Click();
    mskNoDisconData_LostFocus();
}

void frmSetup::FillReportPage() {
    using namespace DUVMain;
    lstWeekStart.Clear();
    for (const std::string& day : WeekStartItems())
        lstWeekStart.AddItem(day);
    lstMonthStart.Clear();
    for (const std::string& item : MonthStartItems())
        lstMonthStart.AddItem(item);
    int rule = -1;
    for (std::size_t i = 0; i < kStartRules.size(); ++i) {
        if (UserStartPref == kStartRules[i])
            rule = static_cast<int>(i);
    }
    lstStartDate.SetListIndex(rule);
    lstWeekStart.SetListIndex(WeekStartIndex());
    lstMonthStart.SetListIndex(MonthStartIndex());
    mskUserDate.SetMask(DateMask);
    mskUserDate.SetText(UserDateText());
    optFormat[static_cast<std::size_t>(UserReportPref == 1 ? 1 : 0)].SetValue(true);
}

void frmSetup::FillHolidayList() {
    lstHolidays.Clear();
    for (Date d : session_.Holidays.Dates())
        lstHolidays.AddItem(HolidayList::LineText(d));
    if (session_.Holidays.Count() > 0)
        lstHolidays.SetListIndex(0);
}

// ---- General -----------------------------------------------------------------------------------

void frmSetup::Limit16_LostFocus(forms::TextBox& box, std::int16_t& setting) {
    if (auto value = LimitValue16(box.Text())) {
        setting = *value;
    } else {
        Beep();
    }
    box.SetText(std::to_string(setting));
}

void frmSetup::txtMaxServices_LostFocus() {
    runtime::SetContext("frmSetup", "txtMaxServices_LostFocus");
    const MaxServicesCheck check = AcceptMaxServices(txtMaxServices.Text());
    if (check == MaxServicesCheck::NotNumber)
        Beep();
    txtMaxServices.SetText(std::to_string(DUVMain::MaxServices));
    if (check == MaxServicesCheck::Accepted)
        ShowServiceCounts();
}

void frmSetup::txtMaxConnections_LostFocus() {
    runtime::SetContext("frmSetup", "txtMaxConnections_LostFocus");
    Limit16_LostFocus(txtMaxConnections, DUVMain::MaxConnections);
}
void frmSetup::txtMaxConnectDays_LostFocus() {
    runtime::SetContext("frmSetup", "txtMaxConnectDays_LostFocus");
    Limit16_LostFocus(txtMaxConnectDays, DUVMain::MaxConnectDays);
}

void frmSetup::txtMaxLogSize_LostFocus() {
    runtime::SetContext("frmSetup", "txtMaxLogSize_LostFocus");
    if (auto value = LimitValue32(txtMaxLogSize.Text())) {
        DUVMain::MaxLogSize = *value;
    } else {
        Beep();
    }
    txtMaxLogSize.SetText(std::to_string(DUVMain::MaxLogSize));
}

void frmSetup::Option_Click(std::string_view procedure, const forms::CheckBox& box, bool& setting) {
    runtime::SetContext("frmSetup", procedure);
    setting = box.Value() == 1;
}

void frmSetup::optShowToolbars_Click() {
    Option_Click("optShowToolbars_Click", optShowToolbars, DUVMain::ShowToolbars);
}
void frmSetup::optFlatToolBars_Click() {
    Option_Click("optFlatToolBars_Click", optFlatToolBars, DUVMain::FlatToolbars);
}
void frmSetup::optEditLog_Click() {
    Option_Click("optEditLog_Click", optEditLog, DUVMain::EditLog);
}
void frmSetup::optShowGraphic_Click() {
    Option_Click("optShowGraphic_Click", optShowGraphic, DUVMain::ShowGraphic);
}
void frmSetup::optAutoOpt_Click() {
    Option_Click("optAutoOpt_Click", optAutoOpt, DUVMain::AutoOptimize);
}
void frmSetup::optTips_Click() { Option_Click("optTips_Click", optTips, DUVMain::Tips); }
void frmSetup::optModemCheck_Click() {
    Option_Click("optModemCheck_Click", optModemCheck, DUVMain::ModemCheck);
}

void frmSetup::txtLogName_LostFocus() {
    runtime::SetContext("frmSetup", "txtLogName_LostFocus");
    if (!AcceptLogName(txtLogName.Text())) {
        const Snapshot& old = session_.Old;
        txtLogName.SetText(LogNameText(old.OldModemLogDir, old.OldModemLogFile));
    }
    txtLogName.SetToolTip(" " + txtLogName.Text() + " ");
}

void frmSetup::cmdBrowse_Click() {
    runtime::SetContext("frmSetup", "cmdBrowse_Click");
    forms::FileDialogRequest request;
    request.fileName = txtLogName.Text();
    request.initialDir = DUVMain::LogFileDir;
    request.filter = kLogFilter;
    request.flags = kFileMustExist;
    const auto chosen = forms::ShowFileDialog(request);
    if (!chosen) {
        txtLogName.SetFocus();
        return;
    }
    session_.BrowseFile = chosen->fileTitle;
    const std::string& path = chosen->fileName;
    session_.BrowseDir = path.substr(
        0, path.size() >= chosen->fileTitle.size() ? path.size() - chosen->fileTitle.size() : 0);
    if (session_.BrowseDir != DUVMain::SystemLogDir && !DUVMain::ArchiveOpen)
        DUVMain::WarnLogNotInWinDir();
    txtLogName.SetText(session_.BrowseDir + session_.BrowseFile);
    txtLogName.SetToolTip(" " + session_.BrowseDir + session_.BrowseFile + " ");
    txtLogName.SetFocus();
}

// ---- Modem -------------------------------------------------------------------------------------

void frmSetup::TextOpt_LostFocus(int index) {
    const KeywordBox& keyword = KeywordBoxes()[static_cast<std::size_t>(index)];
    runtime::SetContext("frmSetup", std::string(keyword.Name) + "_LostFocus");
    forms::TextBox& box = TextOpt[static_cast<std::size_t>(index)];
    if (!AcceptKeyword(keyword, box.Text()))
        Beep();
    box.SetText(*keyword.Setting);
}

void frmSetup::btnDefaults_Click() {
    runtime::SetContext("frmSetup", "btnDefaults_Click");
    RestoreDefaultKeywords();
    for (std::size_t i = 0; i < TextOpt.size(); ++i)
        TextOpt[i].SetText(*KeywordBoxes()[i].Setting);
}

void frmSetup::Icon_Click(int index) {
    runtime::SetContext("frmSetup", "Icon_Click");
    if (index == 1) {
        forms::RunShown("rundll32.exe shell32.dll,Control_RunDLL intl.cpl,,0");
        session_.RegionalDialogOpened = true;
    } else if (index == 2) {
        forms::RunShown("rundll32.exe shell32.dll,Control_RunDLL modem.cpl");
    }
}

// ---- Costs -------------------------------------------------------------------------------------

double& frmSetup::DialCostSetting() { return DUVMain::DialCost; }
double& frmSetup::CostPerHourSetting() { return DUVMain::CostPerHour; }
double& frmSetup::CostPerMegSetting() { return DUVMain::CostPerMeg; }

void frmSetup::optCalcCosts_Click() {
    runtime::SetContext("frmSetup", "optCalcCosts_Click");
    DUVMain::CalcCosts = optCalcCosts.Value() == 1;
    for (forms::Control* box :
         {static_cast<forms::Control*>(&txtDialCost), static_cast<forms::Control*>(&txtCostPerHour),
          static_cast<forms::Control*>(&txtCostPerMeg)}) {
        box->SetEnabled(DUVMain::CalcCosts);
    }
}

void frmSetup::txtDialCost_LostFocus() {
    runtime::SetContext("frmSetup", "txtDialCost_LostFocus");
    CostBox_LostFocus(txtDialCost, DialCostSetting());
}

void frmSetup::txtCostPerHour_LostFocus() {
    runtime::SetContext("frmSetup", "txtCostPerHour_LostFocus");
    CostBox_LostFocus(txtCostPerHour, CostPerHourSetting());
}

void frmSetup::txtCostPerMeg_LostFocus() {
    runtime::SetContext("frmSetup", "txtCostPerMeg_LostFocus");
    CostBox_LostFocus(txtCostPerMeg, CostPerMegSetting());
}

void frmSetup::CostBox_LostFocus(forms::TextBox& box, double& setting) {
    const CostEntry entry = AcceptCost(box.Text(), setting);
    if (entry.Shown)
        box.SetText(*entry.Shown);
    if (!entry.Shown || entry.Refused) {
        Beep();
        box.RefocusLater();
    }
}

// ---- Errors ------------------------------------------------------------------------------------

void frmSetup::optShowErrors_Click() {
    runtime::SetContext("frmSetup", "optShowErrors_Click");
    DUVMain::ShowErrors = optShowErrors.Value() == 1;
    const ErrorBoxes boxes = ShowErrorsBoxes();
    mskNoDisconDuration.SetEnabled(boxes.Enabled);
    mskNoDisconData.SetEnabled(boxes.Enabled);
    mskNoDisconDuration.SetText(boxes.Duration);
    mskNoDisconData.SetText(boxes.Data);
}

void frmSetup::mskNoDisconDuration_Change() {
    runtime::SetContext("frmSetup", "mskNoDisconDuration_Change");
    session_.DurationTextValid = DurationTextValid(mskNoDisconDuration.Text());
}

void frmSetup::mskNoDisconDuration_LostFocus() {
    runtime::SetContext("frmSetup", "mskNoDisconDuration_LostFocus");
    if (auto seconds = DurationSeconds(mskNoDisconDuration.Text())) {
        DUVMain::NoDisconDuration = *seconds;
    } else {
        Beep();
        mskNoDisconDuration.RefocusLater();
    }
}

void frmSetup::mskNoDisconData_LostFocus() {
    runtime::SetContext("frmSetup", "mskNoDisconData_LostFocus");
    const DataEntry entry = AcceptNoDisconData(mskNoDisconData.Text());
    if (entry.Refused)
        Beep();
    mskNoDisconData.SetText(entry.Shown);
}

// ---- Holidays ----------------------------------------------------------------------------------

void frmSetup::AddHoliday() {
    runtime::SetContext("frmSetup", "AddHoliday");
    const HolidayList::AddResult added = session_.Holidays.Add(CalHolidays.Value(), Today());
    switch (added.outcome) {
    case HolidayList::Outcome::Past:
    case HolidayList::Outcome::Full:
        Beep();
        return;
    case HolidayList::Outcome::Listed:
        Beep();
        lstHolidays.SetListIndex(added.line);
        return;
    case HolidayList::Outcome::Added:
        break;
    }
    if (added.refill) {
        FillHolidayList();
    } else {
        lstHolidays.AddItem(HolidayList::LineText(session_.Holidays.At(added.line)));
    }
    lstHolidays.SetListIndex(added.line);
    ShowHolidayCount();
}

void frmSetup::btnAdd_Click() {
    runtime::SetContext("frmSetup", "btnAdd_Click");
    AddHoliday();
    CalHolidays.SetValue(CalHolidays.Value() + 1);
}

void frmSetup::CalHolidays_DblClick() {
    runtime::SetContext("frmSetup", "CalHolidays_DblClick");
    AddHoliday();
}

void frmSetup::btnRemove_Click() {
    runtime::SetContext("frmSetup", "btnRemove_Click");
    const int line = lstHolidays.ListIndex();
    const std::optional<int> select = session_.Holidays.Remove(line);
    if (!select)
        return;
    lstHolidays.RemoveItem(line);
    if (*select >= 0)
        lstHolidays.SetListIndex(*select);
    ShowHolidayCount();
}

void frmSetup::lstHolidays_Click() {
    runtime::SetContext("frmSetup", "lstHolidays_Click");
    const int line = lstHolidays.ListIndex();
    if (line >= 0 && line < session_.Holidays.Count())
        CalHolidays.SetValue(session_.Holidays.At(line));
}

void frmSetup::lstHolidays_DblClick() {
    runtime::SetContext("frmSetup", "lstHolidays_DblClick");
    btnRemove_Click();
}

void frmSetup::ShowHolidayCount() {
    runtime::SetContext("frmSetup", "ShowHolidayCount");
    lblUsedHolidays.SetText(session_.Holidays.CountText());
}

// ---- Report ------------------------------------------------------------------------------------

void frmSetup::chkAMPM_Click() {
    runtime::SetContext("frmSetup", "chkAMPM_Click");
    DUVMain::ForceAMPM = chkAMPM.Value() == 1;
}

void frmSetup::optFormat_Click(int index) {
    runtime::SetContext("frmSetup", "optFormat_Click");
    DUVMain::UserReportPref = static_cast<std::int16_t>(index);
}

void frmSetup::lstStartDate_Click() {
    runtime::SetContext("frmSetup", "lstStartDate_Click");
    const int i = lstStartDate.ListIndex();
    if (i >= 0)
        DUVMain::UserStartPref = lstStartDate.List(i);
    EnableStartDateControls();
}

void frmSetup::lstWeekStart_Click() {
    runtime::SetContext("frmSetup", "lstWeekStart_Click");
    const int i = lstWeekStart.ListIndex();
    if (i >= 0)
        SetWeekStart(lstWeekStart.List(i));
}

void frmSetup::lstMonthStart_Click() {
    runtime::SetContext("frmSetup", "lstMonthStart_Click");
    const int i = lstMonthStart.ListIndex();
    if (i >= 0)
        SetMonthStart(lstMonthStart.List(i));
}

void frmSetup::mskUserDate_LostFocus() {
    runtime::SetContext("frmSetup", "mskUserDate_LostFocus");
    if (!AcceptUserDate(mskUserDate.Text())) {
        Beep();
        mskUserDate.RefocusLater();
    }
}

void frmSetup::EnableStartDateControls() {
    runtime::SetContext("frmSetup", "EnableStartDateControls");
    const StartDateControls on = OptionsModel::EnableStartDateControls(DUVMain::UserStartPref);
    lstWeekStart.SetEnabled(on.WeekStart);
    lblStartOfWeek.SetEnabled(on.WeekStart);
    lstMonthStart.SetEnabled(on.MonthStart);
    lblStartOfMonth.SetEnabled(on.MonthStart);
    mskUserDate.SetEnabled(on.UserDate);
    lblUserDefined.SetEnabled(on.UserDate);
}
