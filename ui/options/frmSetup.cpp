// The options window's frame: its control table, loading, the tabs, the keys, OK and Cancel.
// The pages' handlers are in frmSetup_pages.cpp, the services page in frmSetup_services.cpp.
#include "ui/options/frmSetup.h"

#include "core/Clock.h"
#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/Runtime.h"
#include "ui/forms/Declare.h"

using namespace OptionsModel;

namespace {

// Where every page sits: over the tab strip's display area.
constexpr forms::Twips kPage{240, 480, 6900, 3960};

}  // namespace

frmSetup::frmSetup() : SingleForm("frmSetup", forms::Form::Style::Dialog(7500, 5700)) {
    keyPreview_ = true;
}

void frmSetup::CreateControls() {
    SetCaption("DUV - Options");
    // clang-format off
    forms::Declare<frmSetup>(*this, {
        // control    caption                left  top  width height  tool tip                          parent   look                         events
        {TabStrip1,   "",                    {120, 120, 7140, 4440},  {},                               nullptr, {},                          {.click = &frmSetup::TabStrip1_Click}},
        {Settings[0], kTabs[0].FrameCaption, kPage},
        {Settings[1], kTabs[1].FrameCaption, kPage},
        {Settings[2], kTabs[2].FrameCaption, kPage},
        {Settings[3], kTabs[3].FrameCaption, kPage},
        {Settings[4], kTabs[4].FrameCaption, kPage},
        {Settings[5], kTabs[5].FrameCaption, kPage},
        {Settings[6], kTabs[6].FrameCaption, kPage},
        {Settings[7], kTabs[7].FrameCaption, kPage},
        {btnDefaults, "&Restore Defaults",   {120, 4700, 1900, 375},  "Restore Default Modem Settings", nullptr, {.hidden = true},            {.click = &frmSetup::btnDefaults_Click}},
        {btnSave,     "&OK",                 {4740, 4700, 1200, 375}, "Save Settings & Exit",           nullptr, {.style = BS_DEFPUSHBUTTON}, {.click = &frmSetup::btnSave_Click}},
        {btnCancel,   "&Cancel",             {6060, 4700, 1200, 375}, "Close Without Saving",           nullptr, {.cancel = true},            {.click = &frmSetup::btnCancel_Click}},
    });
    // clang-format on
    DeclarePages();
    std::vector<forms::TabStrip::Tab> tabs;
    std::vector<forms::Control*> pages;
    for (std::size_t k = 0; k < kTabs.size(); ++k) {
        tabs.push_back({kTabs[k].Caption, kTabs[k].ToolTip});
        pages.push_back(&Settings[k]);
    }
    TabStrip1.SetTabs(tabs, pages);
}

void frmSetup::Form_Load() {
    runtime::SetContext("frmSetup", "Form_Load");
    const Date today = runtime::DateOnly(clock_seam::Now());
    const FormatTexts format = FormatPage(today);
    lblCountry.SetText(format.Country);
    lblRegionalSettings.SetText(format.RegionalSettings);
    lblPreview.SetText(format.Preview);
    lblDateFormat.SetText(format.DateFormat);
    lblShortDate.SetText(format.ShortDate);
    lblLongDate.SetText(format.LongDate);
    mskNoDisconDuration.SetMask(DurationMask());
    Label8.SetText(DurationLabel());

    session_.Load(today);

    FillGeneralPage();
    FillModemAndCostsPages();
    FillReportPage();
    FillHolidayList();
    CalHolidays.SetValue(session_.Holidays.Count() > 0 ? session_.Holidays.At(0) : today);
    FillServicesList();
    btnDefaults.SetVisible(false);
    btnDefaults.SetEnabled(false);
    ShowServiceCounts();
    ShowHolidayCount();
    EnableServiceButtons();
}

void frmSetup::Form_Activate() {
    runtime::SetContext("frmSetup", "Form_Activate");
    TabStrip1_Click();
    EnableStartDateControls();
    ShowServiceCounts();
    // The log box takes the focus only where it can be seen.
    if (TabStrip1.SelectedIndex() == 1 && txtLogName.Enabled())
        txtLogName.SetFocus();
    forms::SetHourglass(false);
}

void frmSetup::TabStrip1_Click() {
    runtime::SetContext("frmSetup", "TabStrip1_Click");
    const int k = TabStrip1.SelectedIndex();
    for (std::size_t i = 0; i < Settings.size(); ++i)
        Settings[i].SetEnabled(static_cast<int>(i) == k - 1);
    btnDefaults.SetEnabled(k == kModemTab);
    btnDefaults.SetVisible(k == kModemTab);
    if (k == kServicesTab && lstServices.Enabled() && DUVMain::UsedServices > 0) {
        lstServices.SetFocus();
    } else if (k != kServicesTab || !lstServices.Enabled()) {
        TabStrip1.SetFocus();
    }
    SetTabHelpContext();
}

void frmSetup::SetTabHelpContext() {
    runtime::SetContext("frmSetup", "SetTabHelpContext");
    const int k = TabStrip1.SelectedIndex();
    if (k >= 1 && k <= static_cast<int>(kTabs.size()))
        TabStrip1.SetHelpContext(kTabs[k - 1].HelpContext);
}

void frmSetup::Form_KeyDown(int key, int shift) {
    runtime::SetContext("frmSetup", "Form_KeyDown");
    if (session_.Scanning)
        return;  // the tabs and the list are held while the scan reads
    switch (KeyDownAction(key, shift, TabStrip1.SelectedIndex())) {
    case KeyAction::NextTab:
        TabStrip1.SelectNext();
        break;
    case KeyAction::DeleteService:
        DeleteSelectedService();
        ShowServiceCounts();
        break;
    case KeyAction::None:
        break;
    }
}

void frmSetup::btnSave_Click() {
    runtime::SetContext("frmSetup", "btnSave_Click");
    // A box left by Enter runs its leave check first, as a click on OK would; a refused text
    // keeps the window.
    if (!LeaveFocusedBox(btnSave))
        return;
    session_.Save();
    Unload();
}

void frmSetup::btnCancel_Click() {
    runtime::SetContext("frmSetup", "btnCancel_Click");
    Unload();
}

void frmSetup::Form_Unload(bool& cancel) {
    if (!session_.CanClose()) {
        MessageBeep(MB_OK);
        cancel = true;
        return;
    }
    runtime::SetContext("frmSetup", "Form_Unload");
    session_.Unload();
}
