#include "ui/logs/frmReport.h"

#include <algorithm>

#include "analysis/DUVAnalyse.h"
#include "analysis/Report.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/ErrorHandler.h"
#include "core/win32/PlatformHelpers.h"
#include "ui/forms/Pictures.h"
#include "ui/main/frmMain.h"

namespace {

enum {
    idToolbar = 10,
    idProgress,
    idStatus,
    idList,
    idHeader,
    idTitle,
    idBegin,
    idEnd,
    idPeriod,
    idLabel0,
    idLabel1,
    idLabel2,
    idNoConn,
    idWarning,
    idNoConnText,
    idWarn1,
    idWarn2,
    idWarn3,
    idText
};

constexpr int kTextFontSize = 10;
constexpr int kTitleFontSize = 14;
constexpr int kDefaultColumnWidth = 1440;

forms::Form::Style ReportStyle() {
    forms::Form::Style style;
    style.widthTwips = 10200;
    style.heightTwips = 6600;
    return style;
}

std::vector<forms::Toolbar::ButtonSpec> ReportButtons() {
    using P = Pictures::ToolbarImage;
    return {
        {"", "", -1, false, false},
        {"Save", "Save Report", P::ImageSave, false, false},
        {"Print", "Print Report", P::ImagePrint, false, false},
        {"", "", -1, false, false},
        {"Exit", "Close Report", P::ImageExit, false, false},
        {"", "", -1, false, false},
        {"Summary", "Summary Report", P::ImageSummary, true, true},
        {"Detail", "Detail Report", P::ImageDetails, true, true},
        {"", "", -1, false, false},
        {"Standard", "Standard View", P::ImageText, true, true},
        {"List View", "List View", P::ImageList, true, true},
        {"", "", -1, false, false},
        {"Bigger", "Increase Text Size", P::ImageFontUp, false, false},
        {"Smaller", "Decrease Text Size", P::ImageFontDown, false, false},
        {"", "", -1, false, false},
        {"ShowNums", "Display Numbered Connections", P::ImageView, true, false},
    };
}

}  // namespace

frmReport::frmReport() : SingleForm("frmReport", ReportStyle()) { DefineCommands(); }

void frmReport::DefineCommands() {
    using C = Command;
    auto call = [this](void (frmReport::*procedure)()) {
        return [this, procedure] { (this->*procedure)(); };
    };
    // command, menu item, toolbar key, procedure, shortcut
    commands_.Define({
        {C::SaveAs, "SaveAs", &mnuSaveAS, "Save", call(&frmReport::mnuSaveAs_Click)},
        {C::Print, "Print", &mnuPrint, "Print", call(&frmReport::mnuPrint_Click), FCONTROL, 'P'},
        {C::Exit, "Exit", &mnuExit, "Exit", call(&frmReport::mnuExit_Click), FCONTROL, 'X'},
        {C::Summary, "Summary", &mnuSummary, "Summary", call(&frmReport::mnuSummary_Click), 0,
         VK_F2},
        {C::Details, "Details", &mnuDetails, "Detail", call(&frmReport::mnuDetails_Click), 0,
         VK_F3},
        {C::FormatStd, "FormatStd", &mnuFormatStd, "Standard", call(&frmReport::mnuFormatStd_Click),
         0, VK_F4},
        {C::ListView, "ListView", &mnuListView, "List View", call(&frmReport::mnuListView_Click), 0,
         VK_F5},
        {C::NumConnections, "NumConnections", &mnuNumConnections, "ShowNums",
         call(&frmReport::mnuNumConnections_Click), FCONTROL, 'N'},
        {C::AutoArrange, "AutoArrange", &mnuAutoArrange, nullptr,
         call(&frmReport::mnuAutoArrange_Click), 0, VK_F6},
        {C::FontIncrease, "FontIncrease", &mnuFontIncrease, "Bigger",
         call(&frmReport::mnuFontIncrease_Click), FCONTROL, 'I'},
        {C::FontDecrease, "FontDecrease", &mnuFontDecrease, "Smaller",
         call(&frmReport::mnuFontDecrease_Click), FCONTROL, 'D'},
        {C::SaveSettings, "SaveSettings", &mnuSaveSettings, nullptr,
         call(&frmReport::mnuSaveSettings_Click)},
    });
}

void frmReport::CreateMenus() {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    HMENU view = CreatePopupMenu();
    HMENU options = CreatePopupMenu();
    HMENU font = CreatePopupMenu();
    mnuFile.CreatePopup(bar, file, "&File");
    mnuSaveAS.Create(*this, file, "Save &As");
    mnuPrint.Create(*this, file, "&Print\tCtrl+P");
    mnuFileSeparator.CreateSeparator(file);
    mnuExit.Create(*this, file, "&Close\tCtrl+X");
    mnuView.CreatePopup(bar, view, "&View");
    mnuSummary.Create(*this, view, "&Summary Report\tF2");
    mnuDetails.Create(*this, view, "&Details Report\tF3");
    mnuOptions.CreatePopup(bar, options, "&Options");
    mnuFormatStd.Create(*this, options, "&Standard Format\tF4");
    mnuListView.Create(*this, options, "&List View Format\tF5");
    mnuOptionsSeparator1.CreateSeparator(options);
    mnuNumConnections.Create(*this, options, "&Numbered Connections\tCtrl+N");
    mnuAutoArrange.Create(*this, options, "&Auto Arrange\tF6");
    mnuFont.CreatePopup(options, font, "&Font Size");
    mnuFontIncrease.Create(*this, font, "&Increase\tCtrl+I");
    mnuFontDecrease.Create(*this, font, "&Decrease\tCtrl+D");
    mnuOptionsSeparator2.CreateSeparator(options);
    mnuSaveSettings.Create(*this, options, "&Save Settings on Exit");
    SetMenu(hwnd(), bar);

    // As designed: the summary and the list format checked.
    mnuSummary.SetChecked(true);
    mnuListView.SetChecked(true);

    SetAccelerators(commands_.Accelerators());
}

void frmReport::CreateHeader() {
    fraReportHeader.Create(*this, idHeader, "");
    HWND header = fraReportHeader.hwnd();
    RepTitle.Create(*this, idTitle, "", SS_LEFT, header);
    RepTitle.SetFont("Arial", 12, true);
    Label1[0].Create(*this, idLabel0, "Beginning:", SS_LEFT, header);
    Label1[1].Create(*this, idLabel1, "Ending:", SS_LEFT, header);
    Label1[2].Create(*this, idLabel2, "Period:", SS_LEFT, header);
    RepBegin.Create(*this, idBegin, "", SS_LEFT, header);
    RepEnd.Create(*this, idEnd, "", SS_LEFT, header);
    RepPeriod.Create(*this, idPeriod, "", SS_LEFT, header);
    fraNoConn.Create(*this, idNoConn, "", header);
    RepWarnNoCon1.Create(*this, idNoConnText, "No connections made during this period.", SS_LEFT,
                         fraNoConn.hwnd());
    fraWarning.Create(*this, idWarning, "", header);
    HWND warning = fraWarning.hwnd();
    RepWarn1.Create(*this, idWarn1, "Warning:", SS_LEFT, warning);
    RepWarn1.SetFont("Arial", 8, true);
    RepWarn2.Create(*this, idWarn2, "Errors found in log!", SS_LEFT, warning);
    RepWarn3.Create(*this, idWarn3, "Check detail report.", SS_LEFT, warning);

    fraReportHeader.Move(0, 0, 9000, 1380);
    RepTitle.Move(120, 80, 5000, 340);
    Label1[0].Move(120, 480, 1000, 240);
    Label1[1].Move(120, 740, 1000, 240);
    Label1[2].Move(120, 1000, 1000, 240);
    RepBegin.Move(1140, 480, 3400, 240);
    RepEnd.Move(1140, 740, 3400, 240);
    RepPeriod.Move(1140, 1000, 3400, 240);
    fraNoConn.Move(5400, 420, 3200, 420);
    RepWarnNoCon1.Move(80, 100, 3000, 240);
    fraWarning.Move(5400, 420, 3200, 900);
    RepWarn1.Move(80, 80, 3000, 240);
    RepWarn2.Move(80, 330, 3000, 240);
    RepWarn3.Move(80, 580, 3000, 240);
    fraNoConn.SetVisible(false);
    fraWarning.SetVisible(false);
}

void frmReport::CreateControls() {
    SetCaption("DUV Report");
    CreateMenus();
    images_ = Pictures::ToolbarImages();
    ProgressBar1.Create(*this, idProgress);
    ProgressBar1.SetMax(100);
    ProgressBar1.SetVisible(false);
    Toolbar1.Create(*this, idToolbar, images_, ReportButtons());
    Toolbar1.ButtonClick = [this](const std::string& key) { Toolbar1_ButtonClick(key); };
    StatusBar1.Create(*this, idStatus);
    StatusBar1.SetPanels({2400, 4800, -1});
    CreateHeader();
    ListView1.Create(*this, idList);
    ListView1.ColumnClick = [this](int column) { ListView1_ColumnClick(column); };
    ReportTextBox.Create(*this, idText);
}

bool frmReport::NormalState() const { return hwnd() && !IsIconic(hwnd()) && !IsZoomed(hwnd()); }

void frmReport::SetReportKeys(bool details) {
    Toolbar1.SetButtonChecked(KeySummary, !details);
    Toolbar1.SetButtonChecked(KeyDetail, details);
}

void frmReport::SetFormatKeys(bool list) {
    Toolbar1.SetButtonChecked(KeyStandard, !list);
    Toolbar1.SetButtonChecked(KeyListView, list);
}

void frmReport::Form_Load() {
    runtime::SetContext("frmReport", "Form_Load");
    runtime::Step("Flat", [this] {
        if (DUVMain::FlatToolbars)
            FlatToolBar::MakeToolbarFlat(Toolbar1.hwnd(), 1);
    });
    DUVMain::DetailReportBuilt = false;
    DUVMain::SummaryReportBuilt = false;
    runtime::Step("SaveSettings",
                  [] { frmReport::Get().mnuSaveSettings.SetChecked(DUVMain::ReportSaveSettings); });
    runtime::Step("Format", [this] {
        if (DUVMain::ReportListViewFormat) {
            mnuListView.SetChecked(true);
            SetFormatKeys(true);
            mnuFormatStd.SetChecked(false);
        } else {
            mnuListView.SetChecked(false);
            mnuFormatStd.SetChecked(true);
            SetFormatKeys(false);
        }
    });
    runtime::Step("Apply Format", [this] {
        if (mnuListView.Checked()) {
            mnuListView_Click();
        } else {
            mnuFormatStd_Click();
        }
    });
    runtime::Step("AutoArrange", [this] {
        mnuAutoArrange.SetChecked(DUVMain::ReportAutoArrange);
        DUVMain::AutoArrangeOn = DUVMain::ReportAutoArrange;
    });
    runtime::Step("Report", [this] {
        if (DUVMain::UserReportPref == 0)
            mnuSummary.SetChecked(true);
        if (DUVMain::UserReportPref == 1)
            mnuDetails.SetChecked(true);
    });
}

void frmReport::Form_Activate() {
    runtime::SetContext("frmReport", "Form_Activate");
    runtime::Guard([this] {
        Toolbar1.SetEnabled(DUVMain::ShowToolbars);
        Toolbar1.SetVisible(DUVMain::ShowToolbars);
        Form_Resize();
        SetCaption("DUV Report - (" + DUVMain::LogFileTitle + ")");
        if (!mnuDetails.Checked()) {
            if (mnuSummary.Checked() && !DUVMain::SummaryReportBuilt) {
                SetReportKeys(false);
                mnuSummary_Click();
            }
        } else if (!DUVMain::DetailReportBuilt) {
            SetReportKeys(true);
            mnuDetails_Click();
        }
    });
}

void frmReport::Form_Resize() {
    runtime::SetContext("frmReport", "Form_Resize");
    if (!hwnd() || IsIconic(hwnd()))
        return;
    runtime::Guard([this] {
        SendMessageA(Toolbar1.hwnd(), TB_AUTOSIZE, 0, 0);
        StatusBar1.Reposition();
        int toolbar = DUVMain::ShowToolbars ? Toolbar1.Height() : 0;
        int width = ScaleWidth();
        int height = ScaleHeight();
        int status = StatusBar1.Height();
        if (mnuListView.Checked()) {
            int headerHeight = fraReportHeader.Height();
            fraReportHeader.Move(0, toolbar - 75, width, headerHeight);
            ListView1.Move(0, headerHeight + toolbar - 75, width,
                           std::max(0, height - headerHeight - status - toolbar + 100));
            int x = ReportWindowModel::WarningFrameLeft(fraReportHeader.Width(), fraWarning.Width(),
                                                        RepEnd.Left(), RepEnd.Width());
            fraWarning.Move(x, fraWarning.Top(), fraWarning.Width(), fraWarning.Height());
            fraNoConn.Move(x, fraNoConn.Top(), fraNoConn.Width(), fraNoConn.Height());
            if (DUVMain::AutoArrangeOn) {
                int columns = ListView1.ColumnCount();
                for (int i = 2; i <= columns; ++i) {
                    auto arranged = ReportWindowModel::ArrangedColumnWidth(ListView1.ColumnText(i),
                                                                           Width(), columns);
                    if (arranged)
                        ListView1.SetColumnWidth(i, static_cast<int>(*arranged));
                }
            }
        } else {
            ReportTextBox.Move(0, toolbar, width, std::max(0, height - status - toolbar));
        }
        int barHeight = ProgressBar1.Height();
        ProgressBar1.Move(0, height - barHeight, width, std::max(0, status - 25));
    });
}

void frmReport::Toolbar1_ButtonClick(const std::string& key) { commands_.RunKey(key); }

void frmReport::ShowBuiltReport() {
    const DUVAnalyse::ReportView& view = DUVAnalyse::Report;
    ListView1.ClearRows();
    ListView1.ClearColumns();
    ListView1.AddColumn("#", 1, 0);
    for (const DUVAnalyse::ReportColumn& column : view.Columns) {
        int alignment = column.Alignment == "1" ? 1 : column.Alignment == "2" ? 2 : 0;
        ListView1.AddColumn(column.Title, alignment,
                            column.Width > 0 ? column.Width : kDefaultColumnWidth);
    }
    for (const DUVAnalyse::ReportRow& row : view.Rows) {
        std::vector<std::string> texts{row.Text};
        const std::vector<std::string> items = row.SubItems();
        texts.insert(texts.end(), items.begin(), items.end());
        ListView1.AddRow(texts);
    }
    ListView1.SelectRow(view.SelectedRow);
    RepTitle.SetText(view.Title);
    RepBegin.SetText(view.Begin);
    RepEnd.SetText(view.End);
    RepPeriod.SetText(view.Period);
    fraWarning.SetVisible(view.ShowWarning);
    fraNoConn.SetVisible(view.ShowNoConnections);
    ReportTextBox.SetPlainText(DUVAnalyse::ReportText, "Courier New", kTextFontSize);
    ReportTextBox.MarkTitle(view.TitleStart, view.TitleLength, kTitleFontSize);
}

void frmReport::mnuSummary_Click() {
    runtime::SetContext("frmReport", "mnuSummary_Click");
    StoreSettings();
    mnuSummary.SetChecked(true);
    mnuDetails.SetChecked(false);
    SetReportKeys(false);
    mnuNumConnections.SetEnabled(false);
    Toolbar1.SetButtonEnabled(KeyShowNums, false);
    SetNumberColumn();
    DUVAnalyse::DisplaySummaryReport();
    ShowBuiltReport();
    DoSummarySettings();
    Form_Resize();
    SetNumberColumn();
    StatusUpdate();
}

void frmReport::mnuDetails_Click() {
    runtime::SetContext("frmReport", "mnuDetails_Click");
    StoreSettings();
    mnuSummary.SetChecked(false);
    mnuDetails.SetChecked(true);
    SetReportKeys(true);
    bool list = mnuListView.Checked();
    mnuNumConnections.SetEnabled(list);
    Toolbar1.SetButtonEnabled(KeyShowNums, list);
    SetNumberColumn();
    DUVAnalyse::DisplayDetailReport();
    ShowBuiltReport();
    DoDetailSettings();
    Form_Resize();
    SetNumberColumn();
    StatusUpdate();
}

void frmReport::mnuFormatStd_Click() {
    DUVMain::ReportListViewFormat = false;
    mnuFont.SetEnabled(false);
    mnuAutoArrange.SetEnabled(false);
    Toolbar1.SetButtonEnabled(KeyBigger, false);
    Toolbar1.SetButtonEnabled(KeySmaller, false);
    ReportTextBox.SetVisible(true);
    ListView1.SetVisible(false);
    fraReportHeader.SetVisible(false);
    mnuFormatStd.SetChecked(true);
    mnuListView.SetChecked(false);
    SetFormatKeys(false);
    mnuNumConnections.SetEnabled(false);
    Toolbar1.SetButtonEnabled(KeyShowNums, false);
    if (mnuSummary.Checked()) {
        DoSummarySettings();
    } else {
        DoDetailSettings();
    }
    Form_Resize();
    SetNumberColumn();
    StatusUpdate();
}

void frmReport::mnuListView_Click() {
    DUVMain::ReportListViewFormat = true;
    mnuFont.SetEnabled(true);
    mnuAutoArrange.SetEnabled(true);
    Toolbar1.SetButtonEnabled(KeyBigger, true);
    Toolbar1.SetButtonEnabled(KeySmaller, true);
    ReportTextBox.SetVisible(false);
    ListView1.SetVisible(true);
    fraReportHeader.SetVisible(true);
    mnuFormatStd.SetChecked(false);
    mnuListView.SetChecked(true);
    SetFormatKeys(true);
    if (mnuSummary.Checked()) {
        mnuNumConnections.SetEnabled(false);
        Toolbar1.SetButtonEnabled(KeyShowNums, false);
        DoSummarySettings();
    } else {
        mnuNumConnections.SetEnabled(true);
        Toolbar1.SetButtonEnabled(KeyShowNums, true);
        DoDetailSettings();
    }
    Form_Resize();
    SetNumberColumn();
    StatusUpdate();
}

void frmReport::mnuNumConnections_Click() {
    if (!mnuNumConnections.Enabled())
        return;
    bool checked = !mnuNumConnections.Checked();
    mnuNumConnections.SetChecked(checked);
    Toolbar1.SetButtonChecked(KeyShowNums, checked);
    SetNumberColumn();
}

void frmReport::SetNumberColumn() {
    if (ListView1.ColumnCount() < 1)
        return;
    bool shown = mnuNumConnections.Enabled() && mnuNumConnections.Checked();
    ListView1.SetColumnWidth(1, shown ? 100 : 0);
}

void frmReport::mnuAutoArrange_Click() {
    DUVMain::AutoArrangeOn = !DUVMain::AutoArrangeOn;
    StatusUpdate();
    mnuAutoArrange.SetChecked(DUVMain::AutoArrangeOn);
    Form_Resize();
}

void frmReport::mnuFontIncrease_Click() {
    ListView1.SetFontSize(ReportWindowModel::FontSizeIncreased(ListView1.FontSize()));
    StatusUpdate();
}

void frmReport::mnuFontDecrease_Click() {
    if (ListView1.FontSize() < 1)
        return;
    ListView1.SetFontSize(ReportWindowModel::FontSizeDecreased(ListView1.FontSize()));
    StatusUpdate();
}

void frmReport::mnuSaveSettings_Click() {
    DUVMain::ReportSaveSettings = !DUVMain::ReportSaveSettings;
    mnuSaveSettings.SetChecked(DUVMain::ReportSaveSettings);
}

void frmReport::ListView1_ColumnClick(int column) {
    if (mnuDetails.Checked())
        return;
    std::string header = ListView1.ColumnText(column);
    if (header == "* Blocks") {
        DUVAnalyse::ShowBlocks = false;
        mnuSummary_Click();
    } else if (header == "* Data Read") {
        DUVAnalyse::ShowBlocks = true;
        mnuSummary_Click();
    }
}

void frmReport::StatusUpdate() {
    ReportWindowModel::StatusTexts texts = ReportWindowModel::StatusFor(
        mnuListView.Checked(), DUVMain::AutoArrangeOn, ListView1.FontSize());
    StatusBar1.SetPanelText(0, texts.Panel1);
    StatusBar1.SetPanelText(1, texts.Panel2);
    StatusBar1.SetPanelText(2, texts.Panel3);
}

void frmReport::ApplySettings(const ReportViewSettings& record, bool details) {
    ReportWindowModel::ViewApplication apply = ReportWindowModel::ApplyView(
        record, details, mnuListView.Checked(), NormalState(), ListView1.ColumnCount());
    if (apply.Height)
        SetSize(Width(), *apply.Height);
    if (apply.Width)
        SetSize(*apply.Width, Height());
    if (apply.Top)
        Move(Left(), *apply.Top, Width(), Height());
    if (apply.Left)
        Move(*apply.Left, Top(), Width(), Height());
    if (apply.FontSize)
        ListView1.SetFontSize(*apply.FontSize);
    for (const auto& [column, width] : apply.Columns) {
        if (column <= ListView1.ColumnCount())
            ListView1.SetColumnWidth(column, width);
    }
}

void frmReport::DoSummarySettings() {
    ApplySettings(DUVMain::SummaryViewSettings, false);
    RepWarn3.SetText("Check details report.");
}

void frmReport::DoDetailSettings() {
    ApplySettings(DUVMain::DetailViewSettings, true);
    RepWarn3.SetText("Report may be inaccurate.");
}

void frmReport::StoreSettings() {
    ReportWindowModel::WindowState window;
    window.Normal = NormalState();
    window.Height = Height();
    window.Width = Width();
    window.Left = Left();
    window.Top = Top();
    window.FontSize = ListView1.FontSize();
    for (int i = 1; i <= ListView1.ColumnCount(); ++i) {
        window.ColumnWidths.push_back(ListView1.ColumnWidth(i));
    }
    if (mnuSummary.Checked())
        ReportWindowModel::StoreView(DUVMain::SummaryViewSettings, window);
    if (mnuDetails.Checked())
        ReportWindowModel::StoreView(DUVMain::DetailViewSettings, window);
}

void frmReport::Form_Unload(bool&) {
    runtime::SetContext("frmReport", "Form_Unload");
    runtime::Guard([this] { StoreSettings(); });
    DUVMain::ReportSaveSettings = mnuSaveSettings.Checked();
    DUVMain::ReportAutoArrange = mnuAutoArrange.Checked();
    DUVMain::ReportListViewFormat = mnuListView.Checked();
    if (DUVMain::ReportSaveSettings) {
        DUVMain::WriteUserParameters();
    } else {
        DUVMain::WriteSaveSettingsOff("ViewReport");
    }
}
