#include "ui/main/frmMain.h"

#include <vector>

#include "core/AppInfo.h"
#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/ErrorHandler.h"
#include "core/LogFile.h"
#include "core/UserFeedback.h"
#include "core/Warnings.h"
#include "ui/forms/Gdi.h"
#include "ui/logs/DUVOptimize.h"
#include "ui/main/Pictures.h"
#include "core/win32/PlatformHelpers.h"

using MainWindowModel::MainControl;
using MainWindowModel::StatusId;
using MainWindowModel::Switch;

namespace {

enum ControlId {
    idToolbar = 100,
    idAnim,
    idStatus,
    idProgress,
    idInputFrame,
    idDummyFrame,
    idViewLog,
    idImgMain,
    idVersion,
    idNotice,
    idHeading,
    idHeading2,
    idCaptionFirst = 120,  // seven caption labels
    idValueFirst = 130,    // seven value labels
    idStart = 140,
    idEnd,
    idLabelStarting,
    idLabelEnding,
    idStartArrow,
    idEndArrow,
    idUpDown1,
    idUpDown2,
    idUpDown3,
    idUpDown4,
    idCalendar,
    idDateTitle,
    idProcess,
    idExit,
};

forms::Form::Style MainStyle() {
    forms::Form::Style style;
    style.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    style.exStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
    style.widthTwips = 7800;
    style.heightTwips = 5700;
    return style;
}

// The toolbar's buttons by position; separators have no key.
std::vector<forms::Toolbar::ButtonSpec> ToolbarButtons() {
    using Pictures::ToolbarImage;
    return {
        {"", "", -1},
        {"Open Archive", "Open Modem Log or Archive", Pictures::ImageOpen},
        {"Setup", "DUV Options", Pictures::ImageSetup},
        {"Exit", "Close Program", Pictures::ImageExit},
        {"", "", -1},
        {"View Modem Log", "View Current Modem Log or Archive", Pictures::ImageView},
        {"Clear Modem Log", "Clear Default Modem Log", Pictures::ImageClear},
        {"Optimize Modem Log", "Optimize Current Modem Log or Archive", Pictures::ImageOptimize},
        {"Repair Modem Log", "Repair Modem Log", Pictures::ImageRepair},
        {"", "", -1},
        {"Today", "Today's Date", Pictures::ImageToday},
        {"First Entry", "Date of First Entry in Log", Pictures::ImageFirst},
        {"Last Entry", "Date of Last Entry in Log", Pictures::ImageLast},
        {"", "", -1},
        {"Help", "Help", Pictures::ImageHelp},
        {"Search Help", "Search For Help", Pictures::ImageSearch},
        {"About DUV", "About DUV", Pictures::ImageAbout},
    };
}

// Toolbar positions other windows address.
enum ToolbarPosition {
    posOpenArchive = 2,
    posViewLog = 6,
    posClearLog = 7,
    posOptimize = 8,
    posRepair = 9,
    posToday = 11,
    posFirstEntry = 12,
    posLastEntry = 13,
};

}  // namespace

frmMain::frmMain() : SingleForm("frmMain", MainStyle()) {
    statusMessages_ = MainWindowModel::StatusMessages();
    DefineCommands();
}

void frmMain::CreateMenus() {
    HMENU bar = CreateMenu();
    HMENU file = CreatePopupMenu();
    HMENU tools = CreatePopupMenu();
    HMENU date = CreatePopupMenu();
    HMENU help = CreatePopupMenu();
    mnuFile.CreatePopup(bar, file, "&File");
    mnuOpenLog.Create(*this, file, "&Open Default Modem Log");
    mnuOpenArchive.Create(*this, file, "Open &Archive or Log");
    mnuOpenReport.Create(*this, file, "Open &Report (View)");
    mnuFileSeperator1.CreateSeparator(file);
    mnuSetup.Create(*this, file, "&DUV Options");
    mnuFileSeperator2.CreateSeparator(file);
    for (int i = 1; i <= 4; ++i) {
        mnuRecent[i].Create(*this, file, std::to_string(i) + ".  ");
    }
    mnuFileSeparator3.CreateSeparator(file);
    mnuExit.Create(*this, file, "&Exit");

    mnuTools.CreatePopup(bar, tools, "&Tools");
    mnuViewLog.Create(*this, tools, "&View Modem Log");
    mnuClearLog.Create(*this, tools, "&Clear Modem Log");
    mnuPurgeLog.Create(*this, tools, "&Purge Modem Log");
    mnuOptimize.Create(*this, tools, "&Optimize Modem Log");
    mnuToolsSeperator1.CreateSeparator(tools);
    mnuRepairLog.Create(*this, tools, "&Repair Modem Log");

    mnuQuickDate.CreatePopup(bar, date, "&Date");
    mnuToday.Create(*this, date, "ToDay");
    mnuDateSeparators[0].CreateSeparator(date);
    mnuPlusWeek.Create(*this, date, "One Week +");
    mnuMinusWeek.Create(*this, date, "One Week -");
    mnuDateSeparators[1].CreateSeparator(date);
    mnuPlusMonth.Create(*this, date, "One Month +");
    mnuMinusMonth.Create(*this, date, "One Month -");
    mnuDateSeparators[2].CreateSeparator(date);
    mnuLogStart.Create(*this, date, "First Entry");
    mnuLogEnd.Create(*this, date, "Last Entry");
    mnuDateSeparators[3].CreateSeparator(date);
    mnuDefaultDate.Create(*this, date, "Set Default Start Date");

    mnuHelp.CreatePopup(bar, help, "&Help");
    mnuTopics.Create(*this, help, "&Topics");
    mnuReadme.Create(*this, help, "Read&Me");
    mnsSearchHelp.Create(*this, help, "&Search for Help");
    mnuHowToHelp.Create(*this, help, "&Using Help");
    mnuHelpSeparator.CreateSeparator(help);
    mnuAbout.Create(*this, help, "&About DUV");
    SetMenu(hwnd(), bar);
}

void frmMain::CreateControls() {
    // A new window starts with its form variables at zero.
    status_ = {};
    anim_ = {};
    AnimOn = true;
    activeDateBox_ = 0;
    changeDepth_ = 0;
    diff = 0;
    CreateMenus();
    animFrames_ = Pictures::AnimationFrames();
    toolbarImages_ = Pictures::ToolbarImages();

    // Created top of the z-order first: these lie over the toolbar, status bar and frames.
    PicAnimDuv.Create(*this, idAnim);
    PicAnimDuv.SetToolTip("[Single Click=Stop/Start] [Double Click=Hide/Show]");
    PicAnimDuv.Click = [this] { PicAnimDuv_Click(); };
    PicAnimDuv.DblClick = [this] { PicAnimDuv_DblClick(); };
    ProgressBar1.Create(*this, idProgress);
    ProgressBar1.SetVisible(false);
    btnViewLog.Create(*this, idViewLog, "&View Modem Log");
    btnViewLog.SetToolTip("Click here to see the modem log");
    btnViewLog.Click = [this] { RunCommand(MainCommand::ViewLog); };
    btnViewLog.GotFocus = [this] { SetStatus(StatusId::ViewLog); };
    LabelMainNotice.Create(*this, idNotice, "Dial-up time and cost ", SS_RIGHT);
    imgMain.Create(*this, idImgMain);
    imgMain.SetBitmap(Pictures::MainPicture());
    LabelMainVersion.Create(*this, idVersion, "");

    ToolbarMain.Create(*this, idToolbar, toolbarImages_, ToolbarButtons());
    ToolbarMain.ButtonClick = [this](const std::string& key) { ToolbarMain_ButtonClick(key); };
    StatusBarMain.Create(*this, idStatus);

    inputFrame.Create(*this, idInputFrame, "");
    HWND frame = inputFrame.hwnd();
    LabelStarting.Create(*this, idLabelStarting, "Starting Date: ", SS_LEFT, frame);
    LabelEnding.Create(*this, idLabelEnding, "Ending Date: ", SS_LEFT, frame);
    inputStarting.Create(*this, idStart, DUVMain::DateMask, frame);
    inputEnding.Create(*this, idEnd, DUVMain::DateMask, frame);
    UpDown1.Create(*this, idUpDown1, frame);
    UpDown2.Create(*this, idUpDown2, frame);
    imgStartArrow.Create(*this, idStartArrow, frame);
    imgEndArrow.Create(*this, idEndArrow, frame);
    imgStartArrow.SetBitmap(Pictures::ArrowPicture());
    imgEndArrow.SetBitmap(Pictures::ArrowPicture());
    imgStartArrow.SetVisible(false);
    imgEndArrow.SetVisible(false);
    btnProcess.Create(*this, idProcess, "&OK", true, frame);
    btnExit.Create(*this, idExit, "E&xit", false, frame);
    lblDateTitle.Create(*this, idDateTitle, "", SS_LEFT, frame);
    Calendar1.Create(*this, idCalendar, frame);
    UpDown3.Create(*this, idUpDown3, frame);
    UpDown4.Create(*this, idUpDown4, frame);

    inputStarting.SetToolTip("Enter the starting date.");
    inputEnding.SetToolTip("Enter the ending date.");
    LabelStarting.SetToolTip("Double click here to reset to current date");
    LabelEnding.SetToolTip("Double click here to reset to current date");
    UpDown1.SetToolTip("Increments/de-increments starting date by one day");
    UpDown2.SetToolTip("Increments/de-increments ending date by one day");
    UpDown3.SetToolTip("Increments/de-increments date by one week");
    UpDown4.SetToolTip("Increments/de-increments date by one month");
    Calendar1.SetToolTip("Click on the calendar to insert a date");
    btnProcess.SetToolTip("Click here to process your report ");
    btnExit.SetToolTip("Close and exit Duvelo");

    inputStarting.Change = [this] { inputStarting_Change(); };
    inputEnding.Change = [this] { inputEnding_Change(); };
    inputStarting.GotFocus = [this] { inputStarting_GotFocus(); };
    inputEnding.GotFocus = [this] { inputEnding_GotFocus(); };
    inputStarting.LostFocus = [this] { inputStarting_LostFocus(); };
    inputEnding.LostFocus = [this] { inputEnding_LostFocus(); };
    LabelStarting.Click = [this] { LabelStarting_Click(); };
    LabelEnding.Click = [this] { LabelEnding_Click(); };
    LabelStarting.DblClick = [this] { LabelStarting_DblClick(); };
    LabelEnding.DblClick = [this] { LabelEnding_DblClick(); };
    UpDown1.Spin = [this](int d) { UpDown1_Spin(d); };
    UpDown2.Spin = [this](int d) { UpDown2_Spin(d); };
    UpDown3.Spin = [this](int d) { UpDown3_Spin(d); };
    UpDown4.Spin = [this](int d) { UpDown4_Spin(d); };
    Calendar1.Click = [this] { Calendar1_Click(); };
    Calendar1.GotFocus = [this] { SetStatus(StatusId::Calendar); };
    btnProcess.Click = [this] { btnProcess_Click(); };
    btnProcess.GotFocus = [this] { SetStatus(StatusId::Process); };
    btnExit.Click = [this] { btnExit_Click(); };
    btnExit.GotFocus = [this] { SetStatus(StatusId::Exit); };
    btnExit.LostFocus = [this] { SetStatus(StatusId::None); };

    DummyFrame.Create(*this, idDummyFrame, "");
    frame = DummyFrame.hwnd();
    LabelHeading.Create(*this, idHeading, "Modem Log Stats", SS_LEFT, frame);
    LabelHeading2.Create(*this, idHeading2, "Modem Log Stats", SS_LEFT, frame);
    LabelHeading.SetFont("Arial", 10, true);
    LabelHeading2.SetFont("Arial", 10, true);
    LabelHeading2.SetVisible(false);
    forms::Label* captions[] = {&LabelLogName,  &LabelLogPath, &LabelLogLength, &LabelLogEntries,
                                &LabelLogFirst, &LabelLogLast, &LabelLogSpan};
    forms::Label* values[] = {&LabelLogName2,  &LabelLogPath2, &LabelLogLength2, &LabelLogEntries2,
                              &LabelLogFirst2, &LabelLogLast2, &LabelLogSpan2};
    const char* captionTexts[] = {
        "Filename:", "Path: ", "Length: ", "Entries: ", "First Entry: ", "Last Entry: ", "Span: "};
    for (int i = 0; i < 7; ++i) {
        captions[i]->Create(*this, idCaptionFirst + i, captionTexts[i], SS_LEFT, frame);
        values[i]->Create(*this, idValueFirst + i, "N/A", SS_LEFT, frame);
    }

    TimerAnim.Create(*this, 100, true);
    TimerAnim.Tick = [this] { TimerAnim_Timer(); };
    Timer1.Create(*this, 5000, false);
    Timer1.Tick = [this] { Timer1_Timer(); };

    DUVMain::SetMainWindowControls({[this] {
        mnuRepairLog.SetEnabled(true);
        ToolbarMain.SetButtonEnabled(posRepair, true);
    }});
    DUVMain::SetRecentMenuSwitch([this](bool enabled) {
        for (int i = 1; i <= 4; ++i)
            mnuRecent[i].SetEnabled(enabled);
    });
    LayoutDateControls();
    BindStateControls();
}

void frmMain::LayoutDateControls() {
    LabelStarting.Move(120, 330, 1200, 255);
    inputStarting.Move(1350, 285, 1250, 315);
    UpDown1.Move(2610, 285, 255, 315);
    imgStartArrow.Move(2910, 345, 180, 180);
    btnProcess.Move(3180, 270, 900, 345);
    LabelEnding.Move(120, 750, 1200, 255);
    inputEnding.Move(1350, 705, 1250, 315);
    UpDown2.Move(2610, 705, 255, 315);
    imgEndArrow.Move(2910, 765, 180, 180);
    btnExit.Move(3180, 690, 900, 345);
    lblDateTitle.Move(120, 1140, 3960, 255);
    Calendar1.Move(120, 1410, 3360, 2400);
    UpDown3.Move(3600, 1500, 255, 600);
    UpDown4.Move(3600, 2250, 255, 600);
}

void frmMain::SetStatus(StatusId index) {
    status_.StatusIndex = index;
    ShowStatus();
}

void frmMain::ShowStatus() {
    if (status_.Show(statusMessages_)) {
        ApplyStatus();
    }
}

void frmMain::Timer1_Timer() {
    // The timer goes off first; the entry shown next switches it on again when it is timed.
    Timer1.SetEnabled(false);
    status_.TimerEnded(statusMessages_);
    ApplyStatus();
}

void frmMain::ApplyStatus() {
    StatusBarMain.SetBold(status_.Bold);
    StatusBarMain.SetSimpleText(status_.Text);
    Timer1.SetEnabled(status_.TimerOn);
}

void frmMain::ShowAnimFrame(int frame) {
    if (frame < 1 || frame > 20 || !animFrames_) {
        return;
    }
    HBITMAP bitmap = nullptr;
    IMAGEINFO info = {};
    if (ImageList_GetImageInfo(animFrames_, frame - 1, &info)) {
        bitmap = forms::DrawBitmap(Pictures::kAnimWidth, Pictures::kAnimHeight, [&](HDC dc) {
            ImageList_Draw(animFrames_, frame - 1, dc, 0, 0, ILD_NORMAL);
        });
    }
    PicAnimDuv.SetBitmap(bitmap);
}

void frmMain::TimerAnim_Timer() {
    int frame = anim_.Tick();
    if (frame > 0) {
        ShowAnimFrame(frame);
    }
}

void frmMain::PicAnimDuv_Click() {
    if (PicAnimDuv.Enabled()) {
        TimerAnim.SetEnabled(!TimerAnim.Enabled());
    }
}

void frmMain::PicAnimDuv_DblClick() {
    AnimOn = !AnimOn;
    TimerAnim.SetEnabled(AnimOn);
    ShowAnimFrame(AnimOn ? anim_.AnimFrame : MainWindowModel::kStillPicture);
}

void frmMain::ShowStatLabels(bool visible) {
    for (forms::Label* label :
         {&LabelHeading, &LabelLogName, &LabelLogPath, &LabelLogLength, &LabelLogEntries,
          &LabelLogFirst, &LabelLogLast, &LabelLogSpan, &LabelLogName2, &LabelLogPath2,
          &LabelLogLength2, &LabelLogEntries2, &LabelLogFirst2, &LabelLogLast2, &LabelLogSpan2}) {
        label->SetVisible(visible);
    }
}

void frmMain::HideStatDisplay() { ShowStatLabels(false); }

void frmMain::DisplayStats() { ShowStatLabels(true); }

void frmMain::SetStatDisplay() {
    runtime::SetContext("frmMain", "SetStatDisplay");
    const MainWindowModel::LogStatistics stats = MainWindowModel::CurrentLog();
    MainWindowModel::StatisticsTexts texts;
    runtime::Guard([&] { texts = MainWindowModel::StatisticsFor(stats); });
    LabelLogName2.SetText(texts.Name);
    if (texts.NameOnly) {
        return;
    }
    LabelHeading.SetText(texts.Heading);
    LabelHeading2.SetText(texts.Heading);
    FitLabelCaption(LabelLogName2);
    LabelLogPath2.SetText(texts.Path);
    FitLabelCaption(LabelLogPath2);
    LabelLogLength2.SetText(texts.Length);
    LabelLogEntries2.SetText(texts.Entries);
    LabelLogFirst2.SetText(texts.First);
    LabelLogLast2.SetText(texts.Last);
    LabelLogSpan2.SetText(texts.Span);
}

void frmMain::FitLabelCaption(forms::Label& label) {
    // The label's natural width for its full text (its AutoSize).
    std::string full = label.Text();
    SIZE size = {};
    {
        forms::WindowDC dc(label.hwnd());
        forms::Selection font(
            dc.Get(), reinterpret_cast<HFONT>(SendMessageA(label.hwnd(), WM_GETFONT, 0, 0)));
        GetTextExtentPoint32A(dc.Get(), full.c_str(), static_cast<int>(full.size()), &size);
    }
    int width = forms::PixelsToTwipsX(size.cx + 2);
    // Left and room in the form's coordinates.
    POINT origin = {0, 0};
    MapWindowPoints(label.hwnd(), hwnd(), &origin, 1);
    int left = forms::PixelsToTwipsX(origin.x);
    bool cut = false;
    std::string shown = MainWindowModel::FitCaption(full, left, width, ScaleWidth(), cut);
    label.SetText(shown);
    label.Move(label.Left(), label.Top(), cut ? ScaleWidth() - left : width, label.Height());
    label.SetToolTip(cut ? full : "");
}

void frmMain::StoreWindowSize() {
    if (!Minimized() && !IsZoomed(hwnd())) {
        normalWidth_ = Width();
        normalHeight_ = Height();
    }
    if (normalWidth_ > 0) {
        DUVMain::MainWinWidth = normalWidth_;
        DUVMain::MainWinHeight = normalHeight_;
    }
}

bool frmMain::OnMessage(UINT msg, WPARAM, LPARAM, LRESULT&) {
    if (msg == WM_SIZE && hwnd() && !Minimized() && !IsZoomed(hwnd())) {
        // The normal size is recorded on every change, so a refresh or a minimized exit
        // stores the size the user sees.
        normalWidth_ = Width();
        normalHeight_ = Height();
    }
    return false;
}

void frmMain::BindStateControls() {
    auto bind = [this](MainControl control, std::initializer_list<forms::Control*> controls) {
        std::vector<forms::Control*> list(controls);
        bindings_[static_cast<size_t>(control)] = {[list](bool on) {
                                                       for (forms::Control* c : list)
                                                           c->SetEnabled(on);
                                                   },
                                                   [list] { return list.front()->Enabled(); }};
    };
    auto bindMenu = [this](MainControl control, forms::MenuItem& item) {
        bindings_[static_cast<size_t>(control)] = {[&item](bool on) { item.SetEnabled(on); },
                                                   [&item] { return item.Enabled(); }};
    };
    auto bindButton = [this](MainControl control, int position) {
        bindings_[static_cast<size_t>(control)] = {
            [this, position](bool on) { ToolbarMain.SetButtonEnabled(position, on); },
            [this, position] { return ToolbarMain.ButtonEnabled(position); }};
    };
    bind(MainControl::btnViewLog, {&btnViewLog});
    bindButton(MainControl::ButtonViewModemLog, posViewLog);
    bindMenu(MainControl::mnuViewLog, mnuViewLog);
    bind(MainControl::btnProcess, {&btnProcess});
    bindMenu(MainControl::mnuOpenArchive, mnuOpenArchive);
    bindButton(MainControl::ButtonOpenArchive, posOpenArchive);
    bindMenu(MainControl::mnuOpenLog, mnuOpenLog);
    bindMenu(MainControl::mnuQuickDate, mnuQuickDate);
    bindButton(MainControl::ButtonToday, posToday);
    bindButton(MainControl::ButtonFirstEntry, posFirstEntry);
    bindButton(MainControl::ButtonLastEntry, posLastEntry);
    bindMenu(MainControl::mnuTools, mnuTools);
    bindMenu(MainControl::mnuPurgeLog, mnuPurgeLog);
    bindMenu(MainControl::mnuOptimize, mnuOptimize);
    bindButton(MainControl::ButtonOptimize, posOptimize);
    bindMenu(MainControl::mnuClearLog, mnuClearLog);
    bindButton(MainControl::ButtonClearLog, posClearLog);
    bind(MainControl::DateInputs, {&inputStarting, &inputEnding, &UpDown1, &UpDown2, &UpDown3,
                                   &UpDown4, &LabelStarting, &LabelEnding});
    bind(MainControl::btnExit, {&btnExit});
    bindMenu(MainControl::mnuRepairLog, mnuRepairLog);
    bindButton(MainControl::ButtonRepair, posRepair);
}

void frmMain::SetControlEnabled(MainControl control, bool on) {
    const StateBinding& binding = bindings_[static_cast<size_t>(control)];
    if (binding.set)
        binding.set(on);
}

bool frmMain::ControlEnabled(MainControl control) const {
    const StateBinding& binding = bindings_[static_cast<size_t>(control)];
    return binding.get && binding.get();
}

void frmMain::ApplyEnabledStates() {
    const MainWindowModel::LogFlags flags = MainWindowModel::CurrentLog().Flags;
    MainWindowModel::EnabledTable table = MainWindowModel::EnabledStates(flags);
    for (int i = 0; i < MainWindowModel::kMainControlCount; ++i) {
        Switch value = table[static_cast<size_t>(i)];
        if (value != Switch::Keep) {
            SetControlEnabled(static_cast<MainControl>(i), value == Switch::On);
        }
    }
}

void frmMain::Form_Load() {
    loading_ = true;
    runtime::SetContext("frmMain", "Form_Load");
    runtime::Guard([&] {
        if (DUVMain::MainWinWidth >= 1)
            SetSize(DUVMain::MainWinWidth, Height());
        if (DUVMain::MainWinHeight >= 1)
            SetSize(Width(), DUVMain::MainWinHeight);
    });
    if (DUVMain::FlatToolbars) {
        runtime::Guard([&] { FlatToolBar::MakeToolbarFlat(ToolbarMain.hwnd(), 1); });
    }
    PicAnimDuv.Move(PicAnimDuv.Left(), PicAnimDuv.Top(),
                    forms::PixelsToTwipsX(Pictures::kAnimWidth),
                    forms::PixelsToTwipsY(Pictures::kAnimHeight));
    inputStarting.SetMask(DUVMain::DateMask);
    inputEnding.SetMask(DUVMain::DateMask);
    btnProcess.SetEnabled(false);
    DUVMain::LogFileChanged = false;
    LabelMainVersion.SetText(" Version " + std::to_string(AppInfo::Major) + "." +
                             std::to_string(AppInfo::Minor));
    statusMessages_ = MainWindowModel::StatusMessages();
    runtime::Guard([&] { setLogExtents(); });
    HideStatDisplay();
    runtime::Guard([&] { SetStatDisplay(); });
    DisplayStats();
    status_.StatusIndex = StatusId::EnterStart;
    ApplyEnabledStates();
    loading_ = false;
}

void frmMain::Form_Activate() {
    runtime::SetContext("frmMain", "Form_Activate");
    BuildRecentMenu();
    ToolbarMain.SetEnabled(DUVMain::ShowToolbars);
    ToolbarMain.SetVisible(DUVMain::ShowToolbars);
    Form_Resize();
    bool tipWanted = true;
    SetCursor(LoadCursor(nullptr, IDC_ARROW));
    const MainWindowModel::LogFlags log = MainWindowModel::CurrentLog().Flags;
    if (log.LogInvalid && !log.ArchiveOpen) {
        runtime::Guard([] { DUVMain::WarnInvalidLog(); });
        status_.StatusIndex = StatusId::NoLog;
        tipWanted = false;
    }
    if (!log.LogFound && !log.ArchiveOpen) {
        runtime::Guard([] { DUVMain::WarnNoModemLog(); });
        status_.StatusIndex = StatusId::NoLog;
        tipWanted = false;
    }
    if (log.LogCorrupt) {
        runtime::Guard([] { DUVMain::WarnLogCorrupt(); });
        status_.StatusIndex = StatusId::LogCorrupt;
        tipWanted = false;
    }
    if (log.LogTooBig && !log.ArchiveOpen) {
        runtime::Guard([] { DUVMain::WarnLogTooBig(); });
        tipWanted = false;
    }
    ShowStatus();
    if (tipWanted && !DUVMain::TipShown && DUVMain::Tips) {
        RunCommand(MainCommand::Tip);
    }
    DUVMain::TipShown = true;
    forms::PumpMessages();
    if (!DUVMain::OptimizePrompted && mnuOptimize.Enabled() && DUVMain::AutoOptimize &&
        mnuTools.Enabled()) {
        RunCommand(MainCommand::Optimize);
    }
    if (inputStarting.Enabled() && IsLoaded()) {
        inputStarting.SetFocus();
    }
}

void frmMain::Form_Deactivate() { StoreWindowSize(); }

void frmMain::Form_Resize() {
    if (!IsLoaded() || Minimized()) {
        return;
    }
    runtime::SetContext("frmMain", "Form_Resize");
    bool animRunning = TimerAnim.Enabled();
    TimerAnim.SetEnabled(false);
    int width = Width();
    int height = Height();
    int clampedWidth = width;
    int clampedHeight = height;
    MainWindowModel::ClampMainWindowSize(clampedWidth, clampedHeight);
    if (clampedWidth != width || clampedHeight != height) {
        SetSize(clampedWidth, clampedHeight);  // runs this again with the clamped size
        if (animRunning)
            TimerAnim.SetEnabled(true);
        return;
    }
    int clientWidth = ScaleWidth();
    int clientHeight = ScaleHeight();
    int statusTop = StatusBarMain.Top();
    int statusHeight = StatusBarMain.Height();

    const int labelHeight = 255;
    LabelMainNotice.Move(clientWidth - 3000, statusTop - labelHeight, 3000, labelHeight);
    LabelMainVersion.Move(0, LabelMainNotice.Top(), 2400, labelHeight);
    int barHeight = statusHeight * 2 / 3;
    ProgressBar1.Move(1200, statusTop + (statusHeight - barHeight) * 6 / 10,
                      std::max(300, clientWidth - 1200 - 250), barHeight);

    int toolbarHeight = DUVMain::ShowToolbars ? ToolbarMain.Height() : 0;
    // The animation, or the still picture that stands for it, at the right of the toolbar row.
    PicAnimDuv.Move(LabelMainNotice.Left() + LabelMainNotice.Width() - PicAnimDuv.Width() + 50 -
                        forms::PixelsToTwipsX(4),
                    0, PicAnimDuv.Width(), PicAnimDuv.Height());
    if (!DUVMain::ShowGraphic) {
        imgMain.SetVisible(false);
        AnimOn = false;
        PicAnimDuv.SetEnabled(false);
        ShowAnimFrame(MainWindowModel::kStillPicture);
        animRunning = false;
    } else {
        imgMain.SetVisible(true);
        int imgWidth = forms::PixelsToTwipsX(112);
        int imgHeight = forms::PixelsToTwipsY(84);
        imgMain.Move(clientWidth - imgWidth, LabelMainNotice.Top() - imgHeight + 100, imgWidth,
                     imgHeight);
        PicAnimDuv.SetEnabled(true);
    }

    int frameTop = std::max(0, toolbarHeight - 75);
    int frameHeight = clientHeight - frameTop - statusHeight - labelHeight - 100;
    inputFrame.Move(60, frameTop, 4200, std::max(1000, frameHeight));
    DummyFrame.Move(4320, frameTop, std::max(600, clientWidth - 4320), std::max(1000, frameHeight));
    Calendar1.Move(Calendar1.Left(), Calendar1.Top(), Calendar1.Width(),
                   std::max(600, inputFrame.Height() - Calendar1.Top() - 25));
    int buttonHeight = 375;
    btnViewLog.Move(4560, inputFrame.Top() + inputFrame.Height() - buttonHeight * 3 / 2, 2000,
                    buttonHeight);

    // Statistics rows inside DummyFrame.
    int t = toolbarHeight;
    int statWidth = DummyFrame.Width();
    LabelHeading.Move(120, 516 + 100 - t, statWidth - 240, 300);
    LabelHeading2.Move(120, 540 + 100 - t, statWidth - 240, 300);
    forms::Label* captions[] = {&LabelLogName,  &LabelLogPath, &LabelLogLength, &LabelLogEntries,
                                &LabelLogFirst, &LabelLogLast, &LabelLogSpan};
    forms::Label* values[] = {&LabelLogName2,  &LabelLogPath2, &LabelLogLength2, &LabelLogEntries2,
                              &LabelLogFirst2, &LabelLogLast2, &LabelLogSpan2};
    for (int i = 0; i < 7; ++i) {
        int top = 912 + 240 * i + 100 - t;
        captions[i]->Move(120, top, 1050, 240);
        values[i]->Move(1200, top, std::max(300, statWidth - 1320), 240);
    }
    SetStatDisplay();
    if (animRunning && DUVMain::ShowGraphic) {
        TimerAnim.SetEnabled(true);
    }
}

void frmMain::Form_Unload(bool&) {
    runtime::SetContext("frmMain", "Form_Unload");
    for (const char* name : {"frmSplash", "frmReport", "frmAbout", "frmViewLog"}) {
        if (forms::Form* form = forms::Form::FindLoaded(name)) {
            form->Unload();
        }
    }
    StoreWindowSize();
    runtime::Guard(
        [] { DUVMain::SaveMainWinSettings(DUVMain::MainWinWidth, DUVMain::MainWinHeight); });
    if (animFrames_) {
        ImageList_Destroy(animFrames_);
        animFrames_ = nullptr;
    }
    PostQuitMessage(0);
}

void frmMain::DisableOptimizeControls() {
    btnViewLog.SetEnabled(false);
    btnProcess.SetEnabled(false);
    mnuOpenArchive.SetEnabled(false);
    mnuQuickDate.SetEnabled(false);
    mnuViewLog.SetEnabled(false);
    mnuPurgeLog.SetEnabled(false);
    mnuOptimize.SetEnabled(false);
    inputStarting.SetEnabled(false);
    inputEnding.SetEnabled(false);
    for (forms::UpDown* upDown : {&UpDown1, &UpDown2, &UpDown3, &UpDown4})
        upDown->SetEnabled(false);
    LabelStarting.SetEnabled(false);
    LabelEnding.SetEnabled(false);
    btnExit.SetEnabled(false);
    ToolbarMain.SetEnabled(false);
}

void frmMain::mnuOptimize_Click() {
    runtime::SetContext("frmMain", "mnuOptimize_Click");
    Hourglass hourglass;
    StoreWindowSize();
    runtime::Guard([] { DUVOptimize::OptimizeLog(); });
    runtime::Guard([] { DUVMain::GetLogStats(false); });
    Refresh();
    Form_Activate();
}
