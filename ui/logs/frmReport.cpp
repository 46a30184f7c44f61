#include "ui/logs/frmReport.h"

#include <algorithm>

#include "analysis/DUVAnalyse.h"
#include "analysis/Report.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/ErrorHandler.h"
#include "core/win32/PlatformHelpers.h"
#include "ui/forms/Declare.h"
#include "ui/forms/Pictures.h"

namespace {

constexpr int kTextFontSize = 10;
constexpr int kTitleFontSize = 14;
constexpr int kDefaultColumnWidth = 1440;

forms::Form::Style ReportStyle() {
    forms::Form::Style style;
    style.widthTwips = 10200;
    style.heightTwips = 6600;
    return style;
}

}  // namespace

frmReport::frmReport() : SingleForm("frmReport", ReportStyle()) { DeclareCommands(); }

void frmReport::DeclareCommands() {
    using C = Command;
    using F = frmReport;
    using P = Pictures::ToolbarImage;
    using B = forms::ButtonKind;
    using forms::kAtEnd;
    using forms::kGap;
    using forms::kNoGap;
    // clang-format off
    commands_.Declare(*this, {
        // level menu item         caption                            command            name              procedure                    toolbar button: key, tool tip, picture, gap before, kind, at the end                shortcut
        {0, &mnuFile,              "&File"},
        {1, &mnuSaveAS,            "Save &As",                        C::SaveAs,         "SaveAs",         &F::mnuSaveAs_Click,         {"Save", "Save Report", P::ImageSave, kGap}},
        {1, &mnuPrint,             "&Print\tCtrl+P",                  C::Print,          "Print",          &F::mnuPrint_Click,          {"Print", "Print Report", P::ImagePrint},                                           FCONTROL, 'P'},
        {1, &mnuFileSeparator,     "-"},
        {1, &mnuExit,              "&Close\tCtrl+X",                  C::Exit,           "Exit",           &F::mnuExit_Click,           {"Exit", "Close Report", P::ImageExit, kGap},                                       FCONTROL, 'X'},
        {0, &mnuView,              "&View"},
        {1, &mnuSummary,           "&Summary Report\tF2",             C::Summary,        "Summary",        &F::mnuSummary_Click,        {"Summary", "Summary Report", P::ImageSummary, kGap, B::GroupCheck},                0,        VK_F2},
        {1, &mnuDetails,           "&Details Report\tF3",             C::Details,        "Details",        &F::mnuDetails_Click,        {"Detail", "Detail Report", P::ImageDetails, kNoGap, B::GroupCheck},                0,        VK_F3},
        {0, &mnuOptions,           "&Options"},
        {1, &mnuFormatStd,         "&Standard Format\tF4",            C::FormatStd,      "FormatStd",      &F::mnuFormatStd_Click,      {"Standard", "Standard View", P::ImageText, kGap, B::GroupCheck},                   0,        VK_F4},
        {1, &mnuListView,          "&List View Format\tF5",           C::ListView,       "ListView",       &F::mnuListView_Click,       {"List View", "List View", P::ImageList, kNoGap, B::GroupCheck},                    0,        VK_F5},
        {1, &mnuOptionsSeparator1, "-"},
        {1, &mnuNumConnections,    "&Numbered Connections\tCtrl+N",   C::NumConnections, "NumConnections", &F::mnuNumConnections_Click, {"ShowNums", "Display Numbered Connections", P::ImageView, kGap, B::Check, kAtEnd}, FCONTROL, 'N'},
        {1, &mnuAutoArrange,       "&Auto Arrange\tF6",               C::AutoArrange,    "AutoArrange",    &F::mnuAutoArrange_Click,    {},                                                                                 0,        VK_F6},
        {1, &mnuFont,              "&Font Size"},
        {2, &mnuFontIncrease,      "&Increase\tCtrl+I",               C::FontIncrease,   "FontIncrease",   &F::mnuFontIncrease_Click,   {"Bigger", "Increase Text Size", P::ImageFontUp, kGap},                             FCONTROL, 'I'},
        {2, &mnuFontDecrease,      "&Decrease\tCtrl+D",               C::FontDecrease,   "FontDecrease",   &F::mnuFontDecrease_Click,   {"Smaller", "Decrease Text Size", P::ImageFontDown},                                FCONTROL, 'D'},
        {1, &mnuOptionsSeparator2, "-"},
        {1, &mnuSaveSettings,      "&Save Settings on Exit",          C::SaveSettings,   "SaveSettings",   &F::mnuSaveSettings_Click},
    });
    // clang-format on
}

void frmReport::CreateControls() {
    SetCaption("DUV Report");
    commands_.CreateMenuBar(*this);
    // As designed: the summary and the list format checked.
    mnuSummary.SetChecked(true);
    mnuListView.SetChecked(true);
    Toolbar1.SetButtons(Pictures::ToolbarImages(), commands_.ToolbarButtons());

    // The bars dock; the header frame, the list and the text box are laid out in Form_Resize,
    // the header's labels and warning frames keep their places.
    // clang-format off
    forms::Declare<frmReport>(*this, {
        // control        caption                                    left  top  width height  tool tip  parent            look
        {ProgressBar1,    "",                                        {},                      {},       nullptr,          {.hidden = true}},
        {Toolbar1,        "",                                        {},                      {},       nullptr},
        {StatusBar1,      "",                                        {},                      {},       nullptr},
        {fraReportHeader, "",                                        {0, 0, 9000, 1380},      {},       nullptr},
        {RepTitle,        "",                                        {120, 80, 5000, 340},    {},       &fraReportHeader, {.font = "Arial", .points = 12, .bold = true}},
        {Label1[0],       "Beginning:",                              {120, 480, 1000, 240},   {},       &fraReportHeader},
        {Label1[1],       "Ending:",                                 {120, 740, 1000, 240},   {},       &fraReportHeader},
        {Label1[2],       "Period:",                                 {120, 1000, 1000, 240},  {},       &fraReportHeader},
        {RepBegin,        "",                                        {1140, 480, 3400, 240},  {},       &fraReportHeader},
        {RepEnd,          "",                                        {1140, 740, 3400, 240},  {},       &fraReportHeader},
        {RepPeriod,       "",                                        {1140, 1000, 3400, 240}, {},       &fraReportHeader},
        {fraNoConn,       "",                                        {5400, 420, 3200, 420},  {},       &fraReportHeader, {.hidden = true}},
        {RepWarnNoCon1,   "No connections made during this period.", {80, 100, 3000, 240},    {},       &fraNoConn},
        {fraWarning,      "",                                        {5400, 420, 3200, 900},  {},       &fraReportHeader, {.hidden = true}},
        {RepWarn1,        "Warning:",                                {80, 80, 3000, 240},     {},       &fraWarning,      {.font = "Arial", .points = 8, .bold = true}},
        {RepWarn2,        "Errors found in log!",                    {80, 330, 3000, 240},    {},       &fraWarning},
        {RepWarn3,        "Check detail report.",                    {80, 580, 3000, 240},    {},       &fraWarning},
        {ListView1,       "",                                        {},                      {},       nullptr},
        {ReportTextBox,   "",                                        {},                      {},       nullptr},
    });
    // clang-format on
    ProgressBar1.SetMax(100);
    Toolbar1.ButtonClick = [this](const std::string& key) { Toolbar1_ButtonClick(key); };
    StatusBar1.SetPanels({2400, 4800, -1});
    ListView1.ColumnClick = [this](int column) { ListView1_ColumnClick(column); };
}

bool frmReport::NormalState() const { return hwnd() && !IsIconic(hwnd()) && !IsZoomed(hwnd()); }

void frmReport::SetReportKeys(bool details) {
    Toolbar1.SetButtonChecked(ToolbarPosition(Command::Summary), !details);
    Toolbar1.SetButtonChecked(ToolbarPosition(Command::Details), details);
}

void frmReport::SetFormatKeys(bool list) {
    Toolbar1.SetButtonChecked(ToolbarPosition(Command::FormatStd), !list);
    Toolbar1.SetButtonChecked(ToolbarPosition(Command::ListView), list);
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
    Toolbar1.SetButtonEnabled(ToolbarPosition(Command::NumConnections), false);
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
    Toolbar1.SetButtonEnabled(ToolbarPosition(Command::NumConnections), list);
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
    Toolbar1.SetButtonEnabled(ToolbarPosition(Command::FontIncrease), false);
    Toolbar1.SetButtonEnabled(ToolbarPosition(Command::FontDecrease), false);
    ReportTextBox.SetVisible(true);
    ListView1.SetVisible(false);
    fraReportHeader.SetVisible(false);
    mnuFormatStd.SetChecked(true);
    mnuListView.SetChecked(false);
    SetFormatKeys(false);
    mnuNumConnections.SetEnabled(false);
    Toolbar1.SetButtonEnabled(ToolbarPosition(Command::NumConnections), false);
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
    Toolbar1.SetButtonEnabled(ToolbarPosition(Command::FontIncrease), true);
    Toolbar1.SetButtonEnabled(ToolbarPosition(Command::FontDecrease), true);
    ReportTextBox.SetVisible(false);
    ListView1.SetVisible(true);
    fraReportHeader.SetVisible(true);
    mnuFormatStd.SetChecked(false);
    mnuListView.SetChecked(true);
    SetFormatKeys(true);
    if (mnuSummary.Checked()) {
        mnuNumConnections.SetEnabled(false);
        Toolbar1.SetButtonEnabled(ToolbarPosition(Command::NumConnections), false);
        DoSummarySettings();
    } else {
        mnuNumConnections.SetEnabled(true);
        Toolbar1.SetButtonEnabled(ToolbarPosition(Command::NumConnections), true);
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
    Toolbar1.SetButtonChecked(ToolbarPosition(Command::NumConnections), checked);
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
