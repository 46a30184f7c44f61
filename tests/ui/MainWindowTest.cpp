// DUV's splash and main windows, started as the program starts and driven by messages.
#include "tests/ui/UiFixture.h"

#include <functional>

#include "analysis/DUVAnalyse.h"

using MainWindowModel::MainControl;
using namespace uitest;

namespace {

const char kCorruptText[] =
    "Corruption Detected in Modem Log File!\n\n"
    "Your Modem Log File is either corrupt or not a valid\n"
    "Modem Log!  If you are sure it is a valid Modem Log then \n"
    "please select the 'Repair Modem Log' option from the\n"
    "TOOLS menu. Reports will not be available until corruption\n"
    "has been repaired or a valid log file is set up!";

class MainWindowStartup : public ProgramTest {};

TEST_F(MainWindowStartup, NoLogWaitsForAClickThenShowsTheNoLogState) {
    StartProgram();
    frmSplash* splash = frmSplash::IfLoaded();
    ASSERT_NE(splash, nullptr);
    EXPECT_TRUE(DUVMain::SplashWaitForClick);
    EXPECT_EQ(splash->SplashLabel1.Text(), "Click to continue...");
    EXPECT_TRUE(splash->SplashTimer1.Enabled());
    EXPECT_EQ(splash->LabelVersion.Text(), "Version 1.0");
    EXPECT_EQ(frmMain::IfLoaded(), nullptr) << "the main window waits for the click";

    bool visible = splash->SplashLabel1.Visible();
    splash->SplashTimer1.Fire();
    EXPECT_NE(splash->SplashLabel1.Visible(), visible) << "the label blinks";
    splash->SplashTimer1.Fire();
    EXPECT_EQ(splash->SplashLabel1.Visible(), visible);

    Click(splash->Picture1);
    ASSERT_NE(frmMain::IfLoaded(), nullptr);
    EXPECT_EQ(frmSplash::IfLoaded(), nullptr);
    frmMain& main = frmMain::Get();
    Settle();
    EXPECT_TRUE(main.Enabled());
    EXPECT_EQ(main.LabelLogName2.Text(), "Log Not Found");
    EXPECT_EQ(main.LabelLogLength2.Text(), "N/A");
    EXPECT_EQ(main.Caption(), "DUVELO");
    EXPECT_EQ(BoxesTitled("No Modem Log Detected!"), 1);
    EXPECT_EQ(main.StatusBarMain.SimpleText(), "No Modem Log Found!");

    EXPECT_FALSE(main.btnProcess.Enabled());
    EXPECT_FALSE(main.btnViewLog.Enabled());
    EXPECT_FALSE(main.inputStarting.Enabled());
    EXPECT_FALSE(main.ControlEnabled(MainControl::mnuQuickDate));
    EXPECT_FALSE(main.ControlEnabled(MainControl::mnuTools));
    EXPECT_FALSE(main.ControlEnabled(MainControl::ButtonClearLog));
    EXPECT_FALSE(main.ControlEnabled(MainControl::ButtonOptimize));
    EXPECT_FALSE(main.ControlEnabled(MainControl::ButtonRepair));
    EXPECT_TRUE(main.ControlEnabled(MainControl::mnuOpenArchive));
    EXPECT_TRUE(main.ControlEnabled(MainControl::ButtonOpenArchive));

    // A second activation does not show the no-log box again.
    main.Activate();
    EXPECT_EQ(BoxesTitled("No Modem Log Detected!"), 1);
}

TEST_F(MainWindowStartup, CleanLogShowsItsStatisticsAndProposesTheRange) {
    std::string log = TwoSessionLog();
    WriteLog(log);
    StartProgram();
    ASSERT_NE(frmMain::IfLoaded(), nullptr) << "no click needed with a log";
    EXPECT_EQ(frmSplash::IfLoaded(), nullptr);
    frmMain& main = frmMain::Get();
    Settle();
    EXPECT_EQ(main.LabelHeading.Text(), "Modem Log Stats");
    EXPECT_EQ(main.LabelLogName2.Text(), "ModemLog.txt");
    // The long temporary folder is cut to fit, its full text in the tool tip.
    std::string path = main.LabelLogPath2.Text();
    ASSERT_GT(path.size(), 3u);
    EXPECT_EQ(path.substr(path.size() - 3), "...");
    EXPECT_EQ((windows_ + "\\").rfind(path.substr(0, path.size() - 3), 0), 0u);
    EXPECT_EQ(main.LabelLogLength2.Text(), std::to_string(log.size()) + " Bytes (0KB)");
    EXPECT_EQ(main.LabelLogEntries2.Text(), "6");
    EXPECT_EQ(main.LabelLogFirst2.Text(), "11/2/2026");
    EXPECT_EQ(main.LabelLogLast2.Text(), "11/3/2026");
    EXPECT_EQ(main.LabelLogSpan2.Text(), "2 Days");
    EXPECT_TRUE(main.btnProcess.Enabled());
    EXPECT_TRUE(main.inputStarting.Enabled());
    EXPECT_FALSE(main.ControlEnabled(MainControl::ButtonRepair));
    EXPECT_EQ(messages_->Calls().size(), 0u) << "no warning for a clean log";

    // The default start rule "Last Log Entry": start and end on the last entry.
    EXPECT_EQ(main.inputStarting.Text(), "11/03/2026");
    EXPECT_EQ(main.inputEnding.Text(), "11/03/2026");
    EXPECT_EQ(main.Caption(), "DUVELO - Report for 1 day");

    DUVMain::UserStartPref = "First Log Entry";
    main.Refresh();
    EXPECT_EQ(main.inputStarting.Text(), "11/02/2026");
    EXPECT_EQ(main.Caption(), "DUVELO - Report for 2 days");
    EXPECT_EQ(main.diff, 2);

    // Today (9 December 2026, a Wednesday) lies after the log: the start is clamped to the
    // end, silently while the window loads.
    DUVMain::UserStartPref = "Start of Week";
    DUVMain::UserStartOfWeek = 0;
    main.Refresh();
    EXPECT_EQ(main.inputStarting.Text(), "11/03/2026");
    EXPECT_EQ(main.inputEnding.Text(), "11/03/2026");
}

namespace {

// The texts the splash label is given, in order, while the program starts.
std::vector<std::string> g_splashTexts;

LRESULT CALLBACK RecordSplashText(int code, WPARAM wp, LPARAM lp) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lp);
    frmSplash* splash = frmSplash::IfLoaded();
    if (code == HC_ACTION && call->message == WM_SETTEXT && splash &&
        call->hwnd == splash->SplashLabel1.hwnd())
        g_splashTexts.push_back(reinterpret_cast<const char*>(call->lParam));
    return CallNextHookEx(nullptr, code, wp, lp);
}

}  // namespace

TEST_F(MainWindowStartup, EveryLoadingPercentReachesTheSplashLabelInOrder) {
    // 1000 bytes: a progress step every 10 bytes, 1% each.
    std::string log;
    for (int i = 0; i < 20; ++i)
        log += LogLine(11, 2, 2026, 9, 0, i, "Recv: ATZ<cr>          ") + "\r\n";
    ASSERT_EQ(log.size(), 1000u);
    WriteLog(log);
    g_splashTexts.clear();
    HHOOK hook =
        SetWindowsHookExA(WH_CALLWNDPROC, &RecordSplashText, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    StartProgram();
    UnhookWindowsHookEx(hook);

    std::vector<std::string> expected = {"Reading Regional Settings", "Reading User Configuration",
                                         "Please Wait . . . Checking Modem Log"};
    for (int percent = 1; percent <= 100; ++percent)
        expected.push_back("Please Wait .....Loading  " + std::to_string(percent) + "%");
    expected.push_back("Please Wait .....Loading 100%");
    EXPECT_EQ(g_splashTexts, expected);
    EXPECT_NE(frmMain::IfLoaded(), nullptr);
    EXPECT_EQ(frmSplash::IfLoaded(), nullptr);
}

TEST_F(MainWindowStartup, DamagedLogWarnsAndOffersRepairOnly) {
    std::string log = TwoSessionLog();
    log[40] = '\x01';
    WriteLog(log);
    StartProgram();
    ASSERT_NE(frmMain::IfLoaded(), nullptr);
    frmMain& main = frmMain::Get();
    Settle();
    ASSERT_GE(BoxesTitled("WARNING"), 1);
    bool found = false;
    for (const MessageCall& call : messages_->Calls()) {
        if (call.title == "WARNING" && call.text == kCorruptText)
            found = true;
    }
    EXPECT_TRUE(found) << "the corrupt warning's exact text";
    EXPECT_EQ(main.StatusBarMain.SimpleText(), "Corruption Detected in Modem Log File!");
    EXPECT_EQ(main.LabelLogLength2.Text(), "N/A");
    EXPECT_TRUE(main.ControlEnabled(MainControl::mnuRepairLog));
    EXPECT_TRUE(main.ControlEnabled(MainControl::ButtonRepair));
    EXPECT_FALSE(main.btnProcess.Enabled());
    EXPECT_FALSE(main.btnViewLog.Enabled());
    EXPECT_FALSE(main.inputStarting.Enabled());
    EXPECT_FALSE(main.ControlEnabled(MainControl::ButtonClearLog));
    EXPECT_FALSE(main.ControlEnabled(MainControl::mnuOptimize));
    EXPECT_FALSE(main.ControlEnabled(MainControl::mnuPurgeLog));
    EXPECT_TRUE(main.btnExit.Enabled());
}

TEST_F(MainWindowStartup, AutoOptimizeIsOfferedOncePerRun) {
    WriteLog(TwoSessionLog());
    PutSetting("General", "AutoOptimize", "True");
    messages_->Answer(msg::No);
    StartProgram();
    frmMain& main = frmMain::Get();
    Settle();
    ASSERT_EQ(BoxesTitled("OPTIMIZE MODEM LOG"), 1);
    EXPECT_EQ(messages_->Calls().back().text,
              "About to optimize Current Modem Log File!\n\nAre You Sure?");
    EXPECT_EQ(messages_->Calls().back().flags, msg::YesNo | msg::IconQuestion);
    EXPECT_TRUE(DUVMain::OptimizePrompted);
    EXPECT_EQ(DUVMain::MessageAnswer, "7");
    EXPECT_TRUE(main.btnProcess.Enabled()) << "No leaves the controls as they were";
    main.Activate();
    Settle();
    EXPECT_EQ(BoxesTitled("OPTIMIZE MODEM LOG"), 1) << "offered once per run";
}

// Where a child window lies in the main window's client area, in pixels.
RECT PlaceInMain(const frmMain& main, HWND child) {
    RECT rect = {};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, main.hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

bool Overlap(const RECT& a, const RECT& b) {
    RECT common = {};
    return IntersectRect(&common, &a, &b) != FALSE;
}

TEST_F(MainWindowStartup, WithTheGraphicOffTheStillPictureStandsWhereTheAnimationDoes) {
    WriteLog(TwoSessionLog());
    PutSetting("General", "ShowGraphic", "False");
    StartProgram();
    frmMain& main = frmMain::Get();
    Settle();
    EXPECT_FALSE(main.imgMain.Visible());
    EXPECT_FALSE(main.PicAnimDuv.Enabled());
    RECT still = PlaceInMain(main, main.PicAnimDuv.hwnd());
    for (int i = 0; i < main.ToolbarMain.ButtonCount(); ++i) {
        RECT button = {};
        SendMessageA(main.ToolbarMain.hwnd(), TB_GETITEMRECT, static_cast<WPARAM>(i),
                     reinterpret_cast<LPARAM>(&button));
        MapWindowPoints(main.ToolbarMain.hwnd(), main.hwnd(), reinterpret_cast<POINT*>(&button), 2);
        EXPECT_FALSE(Overlap(still, button)) << "toolbar button at position " << i + 1;
    }

    DUVMain::ShowGraphic = true;
    main.Activate();
    Settle();
    RECT animation = PlaceInMain(main, main.PicAnimDuv.hwnd());
    EXPECT_TRUE(EqualRect(&still, &animation));

    // Without toolbars the frames move up; the picture stays clear of the date labels.
    DUVMain::ShowGraphic = false;
    DUVMain::ShowToolbars = false;
    main.Activate();
    Settle();
    EXPECT_FALSE(Overlap(PlaceInMain(main, main.PicAnimDuv.hwnd()),
                         PlaceInMain(main, main.LabelStarting.hwnd())));
}

TEST_F(MainWindowStartup, AnEditedLogEndingBeforeItStartsDoesNotHang) {
    // The last line is dated before the first: the two date boxes would correct each other
    // for ever; they give up after a few rounds.
    std::string log = LogLine(11, 10, 2026, 9, 0, 0, "Recv: ATDT0123456<cr>") + "\r\n" +
                      LogLine(11, 2, 2026, 9, 0, 0, "Hanging up the modem.") + "\r\n";
    WriteLog(log);
    StartProgram();
    ASSERT_NE(frmMain::IfLoaded(), nullptr);
    frmMain& main = frmMain::Get();
    Settle();
    EXPECT_EQ(main.LabelLogFirst2.Text(), "11/10/2026");
    EXPECT_EQ(main.LabelLogLast2.Text(), "11/2/2026");
    EXPECT_FALSE(main.inputStarting.Text().empty());
    Type(main.inputStarting, "11052026");
    EXPECT_FALSE(main.inputEnding.Text().empty());
}

TEST_F(MainWindowStartup, TheNormalSizeIsStoredEvenWhenMinimized) {
    WriteLog(TwoSessionLog());
    StartProgram();
    frmMain& main = frmMain::Get();
    Settle();
    main.SetSize(7800, 5700);
    Settle();
    int width = main.Width();
    int height = main.Height();
    ShowWindow(main.hwnd(), SW_MINIMIZE);
    Settle();
    main.Unload();
    Settle();
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\DUV\\General", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD value = 0, size = sizeof(value), type = 0;
    RegQueryValueExA(key, "MainWinWidth", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    EXPECT_EQ(static_cast<int>(value), width);
    RegQueryValueExA(key, "MainWinHeight", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    EXPECT_EQ(static_cast<int>(value), height);
    RegCloseKey(key);
}

class MainWindowDateRange : public ProgramTest {
protected:
    frmMain& Start() {
        WriteLog(TwoSessionLog());
        StartProgram();
        frmMain& main = frmMain::Get();
        Settle();
        return main;
    }
};

TEST_F(MainWindowDateRange, TypedDatesAreClampedToTheLogWithTimedHints) {
    frmMain& main = Start();
    SetFocus(main.inputStarting.hwnd());
    Settle();
    EXPECT_EQ(main.ActiveDateBox(), 1);
    EXPECT_EQ(main.StatusBarMain.SimpleText(),
              "Enter the starting date for the report by clicking on the calendar or typing.");

    Type(main.inputStarting, "10012026");
    EXPECT_EQ(main.inputStarting.Text(), "11/02/2026") << "clamped to the first entry";
    EXPECT_EQ(main.StatusBarMain.SimpleText(),
              "The start date cannot be less than the first entry in modem log!");
    EXPECT_TRUE(main.Status().TimedMessageShowing);
    EXPECT_EQ(main.Caption(), "DUVELO - Report for 2 days");

    // A later hint waits for the timed one to end.
    SetFocus(main.inputEnding.hwnd());
    Settle();
    EXPECT_EQ(main.StatusBarMain.SimpleText(),
              "The start date cannot be less than the first entry in modem log!");
    main.Timer1.Fire();
    EXPECT_EQ(main.StatusBarMain.SimpleText(),
              "Enter the ending date for the report by clicking on the calendar or typing.");

    Type(main.inputEnding, "12252026");
    EXPECT_EQ(main.inputEnding.Text(), "11/03/2026") << "clamped to the last entry";
    EXPECT_EQ(main.StatusBarMain.SimpleText(),
              "The end date cannot be greater than the last entry in modem log!");

    // An end before the start moves the start with it.
    main.Timer1.Fire();
    Type(main.inputEnding, "11022026");
    EXPECT_EQ(main.inputStarting.Text(), "11/02/2026");
    EXPECT_EQ(main.Caption(), "DUVELO - Report for 1 day");

    // A timed entry left selected shows again when its time ends; moving between the boxes
    // selects the plain hints again.
    main.Timer1.Fire();
    EXPECT_TRUE(main.Status().TimedMessageShowing);
    SetFocus(main.inputStarting.hwnd());
    SetFocus(main.inputEnding.hwnd());
    Settle();
    main.Timer1.Fire();
    EXPECT_FALSE(main.Status().TimedMessageShowing);

    // A half-typed date is invalid: OK goes off, and leaving the box beeps, says so and keeps
    // the focus there.
    Type(main.inputEnding, "1102");
    EXPECT_FALSE(DUVMain::EndDateValid);
    EXPECT_FALSE(main.btnProcess.Enabled());
    EXPECT_EQ(main.Caption(), "DUVELO");
    SetFocus(main.inputStarting.hwnd());
    Settle();
    EXPECT_EQ(GetFocus(), main.inputEnding.hwnd());
    EXPECT_EQ(main.StatusBarMain.SimpleText(), "Invalid date entry!");
}

// Lets the window's timers run as the message loop would, for the time given or until done.
void RunTimers(int milliseconds, const std::function<bool()>& done = {}) {
    const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
    while (GetTickCount() < end && !(done && done()))
        Settle(1);
}

TEST_F(MainWindowDateRange, TheStatusTimerRunsExactlyWhileATimedMessageShows) {
    frmMain& main = Start();
    main.Timer1.SetInterval(40);  // the five seconds, shortened
    SetFocus(main.inputStarting.hwnd());
    Settle();
    EXPECT_FALSE(main.Timer1.Enabled());

    Type(main.inputStarting, "10012026");
    const std::string clamped = "The start date cannot be less than the first entry in modem log!";
    EXPECT_EQ(main.StatusBarMain.SimpleText(), clamped);
    EXPECT_TRUE(main.Timer1.Enabled());

    // The entry stays selected: each time its time ends it shows again, timed again.
    RunTimers(300);
    EXPECT_EQ(main.StatusBarMain.SimpleText(), clamped);
    EXPECT_TRUE(main.Status().TimedMessageShowing);
    EXPECT_TRUE(main.Timer1.Enabled());

    // A hint asked for meanwhile shows when the time ends, and the timer stops.
    SetFocus(main.inputEnding.hwnd());
    Settle();
    const std::string endHint =
        "Enter the ending date for the report by clicking on the calendar or typing.";
    RunTimers(3000, [&] { return main.StatusBarMain.SimpleText() == endHint; });
    EXPECT_EQ(main.StatusBarMain.SimpleText(), endHint);
    EXPECT_FALSE(main.Status().TimedMessageShowing);
    EXPECT_FALSE(main.Timer1.Enabled());

    // Later hints show at once.
    SetFocus(main.btnProcess.hwnd());
    Settle();
    EXPECT_EQ(main.StatusBarMain.SimpleText(), "Process your report.");
}

TEST_F(MainWindowDateRange, ButtonsCalendarAndDateMenuWriteTheActiveBox) {
    frmMain& main = Start();
    DUVMain::UserStartPref = "First Log Entry";
    main.Refresh();
    Settle();
    // No box had the focus yet: the Date menu does nothing.
    main.Timer1.Fire();
    SetFocus(main.btnExit.hwnd());
    Settle();

    SetFocus(main.inputEnding.hwnd());
    Settle();
    Spin(main, main.UpDown2, -1);
    EXPECT_EQ(main.inputEnding.Text(), "11/02/2026");
    Spin(main, main.UpDown2, 1);
    EXPECT_EQ(main.inputEnding.Text(), "11/03/2026");

    Menu(main, main.mnuLogStart);
    EXPECT_EQ(main.inputEnding.Text(), "11/02/2026");
    Menu(main, main.mnuLogEnd);
    EXPECT_EQ(main.inputEnding.Text(), "11/03/2026");
    main.Timer1.Fire();
    Menu(main, main.mnuMinusWeek);
    EXPECT_EQ(main.inputEnding.Text(), "11/02/2026") << "a week back, moved to the first entry";

    SetFocus(main.inputStarting.hwnd());
    Settle();
    main.Calendar1.SetValue(runtime::DateSerial(2026, 11, 3));
    NMSELCHANGE select = {};
    select.nmhdr.hwndFrom = main.Calendar1.hwnd();
    select.nmhdr.idFrom = static_cast<UINT_PTR>(main.Calendar1.id());
    select.nmhdr.code = MCN_SELECT;
    SendMessageA(main.hwnd(), WM_NOTIFY, select.nmhdr.idFrom, reinterpret_cast<LPARAM>(&select));
    Settle();
    EXPECT_EQ(main.inputStarting.Text(), "11/03/2026");
    EXPECT_EQ(main.inputEnding.Text(), "11/03/2026") << "the end follows a later start";
    EXPECT_EQ(main.lblDateTitle.Text(), "Tuesday, November 3, 2026");

    main.Timer1.Fire();
    Menu(main, main.mnuToday);
    EXPECT_EQ(main.inputStarting.Text(), "11/03/2026") << "today lies after the log";

    // Set Default Start Date: Cancel writes nothing, OK stores the rule.
    messages_->Answer(msg::Cancel);
    Menu(main, main.mnuDefaultDate);
    EXPECT_EQ(DUVMain::UserStartPref, "First Log Entry");
    Menu(main, main.mnuDefaultDate);
    EXPECT_EQ(DUVMain::UserStartPref, "User Defined");
    EXPECT_EQ(DUVMain::UserStartDate, runtime::DateSerial(2026, 11, 3));
    EXPECT_EQ(messages_->Calls().back().title, "Default Report Start Date");
    EXPECT_EQ(messages_->Calls().back().text,
              "Are you sure you want to set the default report\nstart date to 11/3/2026?");
}

TEST_F(MainWindowDateRange, OkRunsTheAnalysisOverTheRange) {
    frmMain& main = Start();
    DUVMain::UserStartPref = "First Log Entry";
    main.Refresh();
    Settle();
    ASSERT_TRUE(main.btnProcess.Enabled());
    PressButton(main.btnProcess);
    EXPECT_EQ(main.StatusBarMain.SimpleText(), " F I N I S H E D !  -  (6 entries processed)");
    EXPECT_FALSE(main.ProgressBar1.Visible());
    EXPECT_EQ(DUVAnalyse::ConnIndex, 2);
    EXPECT_TRUE(main.btnProcess.Enabled());
}

}  // namespace
