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
#include "ui/forms/Declare.h"
#include "ui/forms/Gdi.h"
#include "ui/forms/Pictures.h"
#include "ui/logs/DUVOptimize.h"
#include "core/win32/PlatformHelpers.h"

using MainWindowModel::MainControl;
using MainWindowModel::StatusId;
using MainWindowModel::Switch;

namespace {

forms::Form::Style MainStyle() {
    forms::Form::Style style;
    style.style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    style.exStyle = WS_EX_CONTROLPARENT | WS_EX_APPWINDOW;
    style.widthTwips = 7800;
    style.heightTwips = 5700;
    return style;
}

}  // namespace

frmMain::frmMain() : SingleForm("frmMain", MainStyle()) {
    statusMessages_ = MainWindowModel::StatusMessages();
    DeclareCommands();
}

void frmMain::CreateControls() {
    // A new window starts with its form variables at zero.
    status_ = {};
    anim_ = {};
    AnimOn = true;
    activeDateBox_ = 0;
    changeDepth_ = 0;
    diff = 0;
    commands_.CreateMenuBar(*this);
    animFrames_ = Pictures::AnimationFrames();
    ToolbarMain.SetButtons(Pictures::ToolbarImages(), commands_.ToolbarButtons());

    using F = frmMain;
    // Rows first in the table lie over later ones: the animation, progress bar, button, notice
    // and pictures over the toolbar, status bar and frames. The window's own rows get their
    // places in Form_Resize; the date controls keep theirs.
    // clang-format off
    forms::Declare<frmMain>(*this, {
        // control          caption                   left  top  width height  tool tip                                               parent        look                                    events
        {PicAnimDuv,        "",                       {},                      "[Single Click=Stop/Start] [Double Click=Hide/Show]", nullptr,      {},                                     {.click = &F::PicAnimDuv_Click, .dblClick = &F::PicAnimDuv_DblClick}},
        {ProgressBar1,      "",                       {},                      {},                                                   nullptr,      {.hidden = true}},
        {btnViewLog,        "&View Modem Log",        {},                      "Click here to see the modem log",                    nullptr,      {},                                     {.click = &F::btnViewLog_Click, .gotFocus = &F::btnViewLog_GotFocus}},
        {LabelMainNotice,   "Dial-up time and cost ", {},                      {},                                                   nullptr,      {.style = SS_RIGHT}},
        {imgMain,           "",                       {},                      {},                                                   nullptr},
        {LabelMainVersion,  "",                       {},                      {},                                                   nullptr},
        {ToolbarMain,       "",                       {},                      {},                                                   nullptr},
        {StatusBarMain,     "",                       {},                      {},                                                   nullptr},
        {inputFrame,        "",                       {},                      {},                                                   nullptr},
        {LabelStarting,     "Starting Date: ",        {120, 330, 1200, 255},   "Double click here to reset to current date",         &inputFrame,  {},                                     {.click = &F::LabelStarting_Click, .dblClick = &F::LabelStarting_DblClick}},
        {LabelEnding,       "Ending Date: ",          {120, 750, 1200, 255},   "Double click here to reset to current date",         &inputFrame,  {},                                     {.click = &F::LabelEnding_Click, .dblClick = &F::LabelEnding_DblClick}},
        {inputStarting,     DUVMain::DateMask,        {1350, 285, 1250, 315},  "Enter the starting date.",                           &inputFrame,  {},                                     {.change = &F::inputStarting_Change, .gotFocus = &F::inputStarting_GotFocus, .lostFocus = &F::inputStarting_LostFocus}},
        {inputEnding,       DUVMain::DateMask,        {1350, 705, 1250, 315},  "Enter the ending date.",                             &inputFrame,  {},                                     {.change = &F::inputEnding_Change, .gotFocus = &F::inputEnding_GotFocus, .lostFocus = &F::inputEnding_LostFocus}},
        {UpDown1,           "",                       {2610, 285, 255, 315},   "Increments/de-increments starting date by one day",  &inputFrame},
        {UpDown2,           "",                       {2610, 705, 255, 315},   "Increments/de-increments ending date by one day",    &inputFrame},
        {imgStartArrow,     "",                       {2910, 345, 180, 180},   {},                                                   &inputFrame,  {.hidden = true}},
        {imgEndArrow,       "",                       {2910, 765, 180, 180},   {},                                                   &inputFrame,  {.hidden = true}},
        {btnProcess,        "&OK",                    {3180, 270, 900, 345},   "Click here to process your report ",                 &inputFrame,  {.style = BS_DEFPUSHBUTTON},            {.click = &F::btnProcess_Click, .gotFocus = &F::btnProcess_GotFocus}},
        {btnExit,           "E&xit",                  {3180, 690, 900, 345},   "Close and exit Duvelo",                              &inputFrame,  {},                                     {.click = &F::btnExit_Click, .gotFocus = &F::btnExit_GotFocus, .lostFocus = &F::btnExit_LostFocus}},
        {lblDateTitle,      "",                       {120, 1140, 3960, 255},  {},                                                   &inputFrame},
        {Calendar1,         "",                       {120, 1410, 3360, 2400}, "Click on the calendar to insert a date",             &inputFrame,  {},                                     {.click = &F::Calendar1_Click, .gotFocus = &F::Calendar1_GotFocus}},
        {UpDown3,           "",                       {3600, 1500, 255, 600},  "Increments/de-increments date by one week",          &inputFrame},
        {UpDown4,           "",                       {3600, 2250, 255, 600},  "Increments/de-increments date by one month",         &inputFrame},
        {DummyFrame,        "",                       {},                      {},                                                   nullptr},
        {LabelHeading,      "Modem Log Stats",        {},                      {},                                                   &DummyFrame,  {.font = "Arial", .points = 10, .bold = true}},
        {LabelHeading2,     "Modem Log Stats",        {},                      {},                                                   &DummyFrame,  {.font = "Arial", .points = 10, .bold = true, .hidden = true}},
        {LabelLogName,      "Filename:",              {},                      {},                                                   &DummyFrame},
        {LabelLogName2,     "N/A",                    {},                      {},                                                   &DummyFrame},
        {LabelLogPath,      "Path: ",                 {},                      {},                                                   &DummyFrame},
        {LabelLogPath2,     "N/A",                    {},                      {},                                                   &DummyFrame},
        {LabelLogLength,    "Length: ",               {},                      {},                                                   &DummyFrame},
        {LabelLogLength2,   "N/A",                    {},                      {},                                                   &DummyFrame},
        {LabelLogEntries,   "Entries: ",              {},                      {},                                                   &DummyFrame},
        {LabelLogEntries2,  "N/A",                    {},                      {},                                                   &DummyFrame},
        {LabelLogFirst,     "First Entry: ",          {},                      {},                                                   &DummyFrame},
        {LabelLogFirst2,    "N/A",                    {},                      {},                                                   &DummyFrame},
        {LabelLogLast,      "Last Entry: ",           {},                      {},                                                   &DummyFrame},
        {LabelLogLast2,     "N/A",                    {},                      {},                                                   &DummyFrame},
        {LabelLogSpan,      "Span: ",                 {},                      {},                                                   &DummyFrame},
        {LabelLogSpan2,     "N/A",                    {},                      {},                                                   &DummyFrame},
    });
    // clang-format on
    imgMain.SetBitmap(Pictures::MainPicture());
    imgStartArrow.SetBitmap(Pictures::ArrowPicture());
    imgEndArrow.SetBitmap(Pictures::ArrowPicture());
    ToolbarMain.ButtonClick = [this](const std::string& key) { ToolbarMain_ButtonClick(key); };
    UpDown1.Spin = [this](int d) { UpDown1_Spin(d); };
    UpDown2.Spin = [this](int d) { UpDown2_Spin(d); };
    UpDown3.Spin = [this](int d) { UpDown3_Spin(d); };
    UpDown4.Spin = [this](int d) { UpDown4_Spin(d); };
    TimerAnim.Create(*this, 100, true);
    TimerAnim.Tick = [this] { TimerAnim_Timer(); };
    Timer1.Create(*this, 5000, false);
    Timer1.Tick = [this] { Timer1_Timer(); };

    DUVMain::SetMainWindowControls({[this] {
        mnuRepairLog.SetEnabled(true);
        ToolbarMain.SetButtonEnabled(ToolbarPosition(MainCommand::RepairLog), true);
    }});
    BindStateControls();
}

void frmMain::btnViewLog_Click() { RunCommand(MainCommand::ViewLog); }
void frmMain::btnViewLog_GotFocus() { SetStatus(StatusId::ViewLog); }
void frmMain::Calendar1_GotFocus() { SetStatus(StatusId::Calendar); }
void frmMain::btnProcess_GotFocus() { SetStatus(StatusId::Process); }
void frmMain::btnExit_GotFocus() { SetStatus(StatusId::Exit); }
void frmMain::btnExit_LostFocus() { SetStatus(StatusId::None); }

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
    if (ImageList_GetImageInfo(animFrames_.Get(), frame - 1, &info)) {
        bitmap = forms::DrawBitmap(Pictures::kAnimWidth, Pictures::kAnimHeight, [&](HDC dc) {
            ImageList_Draw(animFrames_.Get(), frame - 1, dc, 0, 0, ILD_NORMAL);
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
    auto bindButton = [this](MainControl control, MainCommand command) {
        const int position = ToolbarPosition(command);
        bindings_[static_cast<size_t>(control)] = {
            [this, position](bool on) { ToolbarMain.SetButtonEnabled(position, on); },
            [this, position] { return ToolbarMain.ButtonEnabled(position); }};
    };
    bind(MainControl::btnViewLog, {&btnViewLog});
    bindButton(MainControl::ButtonViewModemLog, MainCommand::ViewLog);
    bindMenu(MainControl::mnuViewLog, mnuViewLog);
    bind(MainControl::btnProcess, {&btnProcess});
    bindMenu(MainControl::mnuOpenArchive, mnuOpenArchive);
    bindButton(MainControl::ButtonOpenArchive, MainCommand::OpenArchive);
    bindMenu(MainControl::mnuOpenLog, mnuOpenLog);
    bindMenu(MainControl::mnuQuickDate, mnuQuickDate);
    bindButton(MainControl::ButtonToday, MainCommand::Today);
    bindButton(MainControl::ButtonFirstEntry, MainCommand::LogStart);
    bindButton(MainControl::ButtonLastEntry, MainCommand::LogEnd);
    bindMenu(MainControl::mnuTools, mnuTools);
    bindMenu(MainControl::mnuPurgeLog, mnuPurgeLog);
    bindMenu(MainControl::mnuOptimize, mnuOptimize);
    bindButton(MainControl::ButtonOptimize, MainCommand::Optimize);
    bindMenu(MainControl::mnuClearLog, mnuClearLog);
    bindButton(MainControl::ButtonClearLog, MainCommand::ClearLog);
    bind(MainControl::DateInputs, {&inputStarting, &inputEnding, &UpDown1, &UpDown2, &UpDown3,
                                   &UpDown4, &LabelStarting, &LabelEnding});
    bind(MainControl::btnExit, {&btnExit});
    bindMenu(MainControl::mnuRepairLog, mnuRepairLog);
    bindButton(MainControl::ButtonRepair, MainCommand::RepairLog);
    bindMenu(MainControl::mnuOpenReport, mnuOpenReport);
    bindings_[static_cast<size_t>(MainControl::mnuRecent)] = {
        [this](bool on) {
            for (int i = 1; i <= 4; ++i)
                mnuRecent[i].SetEnabled(on);
        },
        [this] { return mnuRecent[1].Enabled(); }};
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
    ApplySwitches(MainWindowModel::EnabledStates(flags));
}

void frmMain::ApplySwitches(const MainWindowModel::EnabledTable& table) {
    for (int i = 0; i < MainWindowModel::kMainControlCount; ++i) {
        Switch value = table[static_cast<size_t>(i)];
        if (value != Switch::Keep) {
            SetControlEnabled(static_cast<MainControl>(i), value == Switch::On);
        }
    }
}

void frmMain::ViewerChanged(ViewLogModel::Mode mode, bool open) {
    const MainWindowModel::ViewerStates states =
        MainWindowModel::ViewerSwitches(mode, open, MainWindowModel::CurrentLog().Flags);
    if (!states.ViewCaption.empty()) {
        btnViewLog.SetText(states.ViewCaption);
        mnuViewLog.SetCaption(states.ViewCaption);
    }
    if (!states.OptimizeCaption.empty())
        mnuOptimize.SetCaption(states.OptimizeCaption);
    ApplySwitches(states.Enabled);
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

void frmMain::Form_Unload(bool& cancel) {
    runtime::SetContext("frmMain", "Form_Unload");
    for (const char* name : {"frmSplash", "frmReport", "frmAbout", "frmViewLog"}) {
        forms::Form* form = forms::Form::FindLoaded(name);
        // The viewer stays open when its edits could not be saved; so does this window.
        if (form && !form->Unload()) {
            cancel = true;
            return;
        }
    }
    StoreWindowSize();
    runtime::Guard(
        [] { DUVMain::SaveMainWinSettings(DUVMain::MainWinWidth, DUVMain::MainWinHeight); });
    animFrames_.Reset();
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
