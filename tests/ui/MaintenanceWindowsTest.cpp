// Repair, purge and optimize from the main window's menus on a real log: the windows, their
// texts and what the log and its backup hold afterwards.
#include "tests/ui/UiFixture.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "core/Clipboard.h"
#include "core/RuntimeError.h"
#include "core/UserFeedback.h"
#include "core/win32/SystemSeams.h"
#include "tests/support/Seams.h"
#include "ui/logs/frmFileRepair.h"
#include "ui/logs/frmPurge.h"
#include "ui/logs/frmReport.h"

using namespace uitest;
using test_support::SaveWindowBitmap;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "<missing>";
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Sessions on the 2nd to the 5th of November.
std::string FourDays() {
    std::string log;
    for (int day = 2; day <= 5; ++day) {
        log += LogLine(11, day, 2026, 9, 0, 0, "Recv: ATDT0123456<cr>") + "\r\n";
        log += LogLine(11, day, 2026, 9, 0, 20, "Connection established at 28800bps.") + "\r\n";
        log += LogLine(11, day, 2026, 9, 30, 0, "Hanging up the modem.") + "\r\n";
    }
    return log;
}

// Runs act once ready() holds, from a timer: the repair lets events run while it works, so a
// check made too early tries again at the next tick.
class WhenReady {
public:
    WhenReady(std::function<bool()> ready, std::function<void()> act)
        : ready_(std::move(ready)), act_(std::move(act)) {
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 30, &WhenReady::Tick);
    }
    ~WhenReady() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        WhenReady* self = current_;
        if (!self || self->done_ || !self->ready_())
            return;
        self->done_ = true;
        self->act_();
    }
    static inline WhenReady* current_ = nullptr;
    std::function<bool()> ready_;
    std::function<void()> act_;
    UINT_PTR timer_ = 0;
    bool done_ = false;
};

// The texts the repair window's label shows each time the repair lets events run (when it
// paints), and a run-time error raised from there once the label begins with failAt.
class RepairLabels {
public:
    explicit RepairLabels(std::string failAt = {}) : failAt_(std::move(failAt)) {
        UserFeedback feedback = SetUserFeedback({});
        SetUserFeedback(feedback);
        auto letEventsRun = feedback.LetEventsRun;
        feedback.LetEventsRun = [this, letEventsRun] {
            if (frmFileRepair* repair = frmFileRepair::IfLoaded()) {
                std::string text = WindowText(repair->lblFileRepair.hwnd());
                if (shown.empty() || shown.back() != text)
                    shown.push_back(text);
                highestBar = std::max(
                    highestBar,
                    static_cast<int>(SendMessageA(repair->ProgressBar.hwnd(), PBM_GETPOS, 0, 0)));
                if (!failAt_.empty() && text.rfind(failAt_, 0) == 0) {
                    failAt_.clear();
                    throw runtime::RuntimeError(6, "Overflow");
                }
            }
            letEventsRun();
        };
        previous_ = SetUserFeedback(feedback);
    }
    ~RepairLabels() { SetUserFeedback(previous_); }
    int Runs() const {
        return static_cast<int>(
            std::count(shown.begin(), shown.end(), "Please Wait.... Reading Modem Log"));
    }

    std::vector<std::string> shown;
    int highestBar = 0;

private:
    std::string failAt_;
    UserFeedback previous_;
};

class MaintenanceWindows : public ProgramTest {
protected:
    frmMain& Start(const std::string& log) {
        WriteLog(log);
        StartProgram();
        Settle();
        return frmMain::Get();
    }
    std::string Backup() const { return folder_ + "\\ModemLog.old"; }
    // Runs the repair from the menu; the label it shows once OK is enabled, then OK.
    static std::string RepairFromMenu(frmMain& main) {
        std::string label;
        frmFileRepair& repair = frmFileRepair::Get();
        test_support::ScopedSeam modal(forms::SetModalHook, [](forms::Form&) {});
        WhenReady done([&] { return repair.IsLoaded() && repair.btnOK.Enabled(); },
                       [&] {
                           label = repair.lblFileRepair.Text();
                           PressButton(repair.btnOK);
                       });
        Menu(main, main.mnuRepairLog);
        return label;
    }
    // A picture for the documentation when DUV_SCREENSHOT_DIR names a folder.
    static void Picture(forms::Form& form, const char* name) {
        const char* dir = std::getenv("DUV_SCREENSHOT_DIR");
        if (dir && *dir) {
            EXPECT_TRUE(SaveWindowBitmap(form.hwnd(), std::string(dir) + "\\" + name));
        }
    }
};

}  // namespace

TEST_F(MaintenanceWindows, RepairEndToEndThenAReportOnTheRepairedLog) {
    const std::string damaged = FourDays() + "\x01garbage\tline\r\n" +
                                LogLine(11, 5, 2026, 23, 0, 0,
                                        "Recv: ATDT01\x9f"
                                        "23<cr>") +
                                "\r\n";
    frmMain& main = Start(damaged);
    ASSERT_TRUE(DUVMain::LogCorrupt);
    ASSERT_TRUE(main.mnuRepairLog.Enabled());
    ASSERT_FALSE(main.btnProcess.Enabled());
    std::string label;
    bool okEnabled = false;
    bool activatedAgain = false;
    frmFileRepair& repair = frmFileRepair::Get();
    RepairLabels labels;
    test_support::ScopedSeam modal(forms::SetModalHook, [](forms::Form&) {});
    WhenReady done([&] { return repair.IsLoaded() && repair.btnOK.Enabled(); },
                   [&] {
                       // The user goes to the main window and back: the window is activated
                       // again, and the repair does not run again.
                       SendMessageA(main.hwnd(), WM_ACTIVATE, WA_CLICKACTIVE, 0);
                       SendMessageA(repair.hwnd(), WM_ACTIVATE, WA_CLICKACTIVE, 0);
                       Settle();
                       activatedAgain = forms::Form::ActiveForm() == &repair;
                       label = repair.lblFileRepair.Text();
                       okEnabled = repair.btnOK.Enabled();
                       Picture(repair, "repair.bmp");
                       PressButton(repair.btnOK);
                   });
    Menu(main, main.mnuRepairLog);
    EXPECT_TRUE(activatedAgain);
    EXPECT_EQ(labels.Runs(), 1);
    EXPECT_EQ(label, "Modem File Successfully Repaired!");
    EXPECT_TRUE(okEnabled);
    EXPECT_EQ(frmFileRepair::IfLoaded(), nullptr);
    EXPECT_EQ(ReadFile(LogPath()),
              FourDays() + LogLine(11, 5, 2026, 23, 0, 0, "Recv: ATDT0123<cr>") + "\r\n");
    EXPECT_EQ(ReadFile(Backup()), damaged);
    EXPECT_FALSE(DUVMain::LogCorrupt);

    // The main window is refreshed: the log can be reported on.
    EXPECT_TRUE(main.btnProcess.Enabled());
    DUVMain::UserStartPref = "First Log Entry";
    main.Refresh();
    PressButton(main.btnProcess);
    ASSERT_NE(frmReport::IfLoaded(), nullptr);
    EXPECT_NE(DUVAnalyse::ReportText.find("0123456"), std::string::npos);
}

TEST_F(MaintenanceWindows, RepairThatCannotWriteSaysSoAndKeepsTheLog) {
    const std::string damaged = FourDays() + "\x01\r\n";
    frmMain& main = Start(damaged);
    // The byte filter's work file cannot be made: a folder holds its name.
    CreateDirectoryA((folder_ + "\\ModemLog.fx1").c_str(), nullptr);
    EXPECT_EQ(RepairFromMenu(main), "Modem File Was Not Repaired!");
    EXPECT_EQ(BoxesTitled("Repair Failed"), 1);
    EXPECT_EQ(ReadFile(LogPath()), damaged);
    EXPECT_TRUE(DUVMain::LogCorrupt);
    EXPECT_FALSE(main.btnProcess.Enabled());
}

TEST_F(MaintenanceWindows, RepairShowsTheCheckedPercentPastAHundredAndDropsAStampNoNumberHolds) {
    // Lines ended by a lone LF count two bytes each against the log's length; the last line's
    // year is no number the date reader can hold.
    const std::string damaged = FourDays() + "\x01\n\n\n\n\n\n" + "03-01-9e99 20:00:01.00 - \r\n";
    frmMain& main = Start(damaged);
    ASSERT_TRUE(DUVMain::LogCorrupt);
    RepairLabels labels;
    EXPECT_EQ(RepairFromMenu(main), "Modem File Successfully Repaired!");
    EXPECT_EQ(ReadFile(LogPath()), FourDays());
    ASSERT_GE(labels.shown.size(), 2u);
    EXPECT_EQ(labels.shown.back(), "Checking Entries.........  101%");
    EXPECT_EQ(labels.highestBar, 100);
}

TEST_F(MaintenanceWindows, ARunTimeErrorEndsTheRepairWithItsFailureAndOkCloses) {
    const std::string damaged = FourDays() + "\x01\r\n";
    frmMain& main = Start(damaged);
    int errors = 0;
    runtime::SetErrorHandler([&] {
        ++errors;
        return runtime::kActionSkip;
    });
    frmFileRepair& repair = frmFileRepair::Get();
    RepairLabels labels("Checking Entries");
    std::string label;
    bool okEnabled = false;
    test_support::ScopedSeam modal(forms::SetModalHook, [](forms::Form&) {});
    // Without a way out the window would stay: it is then closed from here, and the test fails.
    WhenReady done([&] { return repair.IsLoaded() && (repair.btnOK.Enabled() || errors > 0); },
                   [&] {
                       label = repair.lblFileRepair.Text();
                       okEnabled = repair.btnOK.Enabled();
                       if (okEnabled)
                           PressButton(repair.btnOK);
                       else
                           repair.Unload();
                   });
    Menu(main, main.mnuRepairLog);
    EXPECT_EQ(errors, 0) << "no error box: the repair reports its own failure";
    EXPECT_TRUE(okEnabled);
    EXPECT_EQ(label, "Modem File Was Not Repaired!");
    ASSERT_EQ(BoxesTitled("Repair Failed"), 1);
    auto box = std::find_if(messages_->Calls().begin(), messages_->Calls().end(),
                            [](const MessageCall& call) { return call.title == "Repair Failed"; });
    EXPECT_EQ(box->text.substr(0, 83),
              "DUV was unable to repair your modem log file!\n\nYour modem log has not been "
              "changed.");
    EXPECT_EQ(frmFileRepair::IfLoaded(), nullptr);
    EXPECT_EQ(ReadFile(LogPath()), damaged);
    EXPECT_EQ(ReadFile(Backup()), "<missing>");
    EXPECT_TRUE(DUVMain::LogCorrupt);
    EXPECT_TRUE(main.Enabled()) << "the main window is usable again";
}

TEST_F(MaintenanceWindows, PurgeClampsItsDatesAndAsksBeforeItPurges) {
    const std::string log = FourDays();
    frmMain& main = Start(log);
    ASSERT_TRUE(main.mnuPurgeLog.Enabled());
    std::vector<std::string> seen;
    std::function<void(frmPurge&)> drive;
    test_support::ScopedSeam modal(forms::SetModalHook, [&](forms::Form& form) {
        if (&form != frmPurge::IfLoaded()) {
            form.Unload();
            return;
        }
        Settle();
        drive(frmPurge::Get());
    });

    // Mode 1 starts with its option set; a date before the first entry becomes the first.
    drive = [&](frmPurge& purge) {
        EXPECT_TRUE(purge.optPurge[1].Value());
        EXPECT_FALSE(purge.btnOK.Enabled());
        EXPECT_FALSE(purge.MaskEdBox2[0].Enabled());
        Type(purge.MaskEdBox1[0], "10012026");
        seen.push_back(purge.MaskEdBox1[0].Text());
        EXPECT_TRUE(purge.btnOK.Enabled());
        Type(purge.MaskEdBox1[0], "12312026");
        seen.push_back(purge.MaskEdBox1[0].Text());
        // Mode 2 with From after To cannot go on; in order it can.
        Click(purge.optPurge[2]);
        EXPECT_FALSE(purge.MaskEdBox1[0].Enabled());
        EXPECT_FALSE(purge.btnOK.Enabled());
        Type(purge.MaskEdBox2[0], "11042026");
        Type(purge.MaskEdBox2[1], "11032026");
        EXPECT_FALSE(purge.btnOK.Enabled());
        Type(purge.MaskEdBox2[1], "11302026");
        seen.push_back(purge.MaskEdBox2[1].Text());
        EXPECT_TRUE(purge.btnOK.Enabled());
        Picture(purge, "purge.bmp");
        messages_->Answer(msg::No);
        PressButton(purge.btnOK);
    };
    Menu(main, main.mnuPurgeLog);
    EXPECT_EQ(seen, (std::vector<std::string>{"11/02/2026", "11/05/2026", "11/05/2026"}));
    ASSERT_EQ(BoxesTitled("PURGE ENTRIES"), 1);
    EXPECT_EQ(messages_->Calls().back().text,
              "About to purge all entries in Modem\nLog File between 11/4/2026 and 11/5/2026.\n\n"
              "Are You Sure?");
    EXPECT_EQ(frmPurge::IfLoaded(), nullptr);
    EXPECT_EQ(ReadFile(LogPath()), log) << "No changes nothing";
    EXPECT_FALSE(DUVMain::LogPurged);

    // Mode 3 from the 4th: the 2nd and 3rd stay, the old log is the backup.
    drive = [&](frmPurge& purge) {
        Click(purge.optPurge[3]);
        Type(purge.MaskEdBox3[0], "11042026");
        messages_->Answer(msg::Yes);
        PressButton(purge.btnOK);
    };
    Menu(main, main.mnuPurgeLog);
    EXPECT_TRUE(DUVMain::LogPurged);
    EXPECT_EQ(ReadFile(LogPath()), log.substr(0, log.size() / 2));
    EXPECT_EQ(ReadFile(Backup()), log);
    EXPECT_EQ(DUVMain::LastEntryDate, runtime::DateSerial(2026, 11, 3)) << "statistics refreshed";

    // Esc is Cancel: the window closes and nothing is purged.
    drive = [&](frmPurge& purge) {
        Click(purge.optPurge[3]);
        Type(purge.MaskEdBox3[0], "11022026");
        PressKey(purge.MaskEdBox3[0], VK_ESCAPE);
        EXPECT_EQ(frmPurge::IfLoaded(), nullptr) << "Esc left the purge window open";
        if (frmPurge::IfLoaded())
            purge.btnCancel.PerformClick();
    };
    Menu(main, main.mnuPurgeLog);
    EXPECT_EQ(ReadFile(LogPath()), log.substr(0, log.size() / 2));
}

// The system clipboard's text.
std::string SystemClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr))
        return text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(data))) {
            text = p;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

// A key pressed with Ctrl or Shift held, through the message loop (which turns Ctrl+V into
// its character).
void PressWith(forms::Control& control, int modifier, int key) {
    SetFocus(control.hwnd());
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[modifier] = 0x80;
    SetKeyboardState(keys);
    PostMessageA(control.hwnd(), WM_KEYDOWN, static_cast<WPARAM>(key), 0);
    PostMessageA(control.hwnd(), WM_KEYUP, static_cast<WPARAM>(key), 0);
    Settle();
    keys[modifier] = 0;
    SetKeyboardState(keys);
}

TEST_F(MaintenanceWindows, ADateIsPastedWholeOverTheSelectionAndCutOrCopiedToTheClipboardByEveryWay) {
    frmMain& main =
        Start(LogLine(3, 1, 2024, 9, 0, 0, "Recv: ATDT0123456<cr>") + "\r\n" + FourDays());
    test_support::ScopedSeam clipboard(SetClipboardFunction, ClipboardFunction{});
    InstallSystemClipboard();
    std::vector<std::string> seen;
    test_support::ScopedSeam modal(forms::SetModalHook, [&](forms::Form& form) {
        Settle();
        auto& purge = static_cast<frmPurge&>(form);
        forms::MaskedEdit& box = purge.MaskEdBox1[0];
        const std::vector<std::pair<std::string, std::function<void()>>> ways = {
            {"Ctrl+V", [&] { PressWith(box, VK_CONTROL, 'V'); }},
            {"Shift+Insert", [&] { PressWith(box, VK_SHIFT, VK_INSERT); }},
            {"Paste", [&] { SendMessageA(box.hwnd(), WM_PASTE, 0, 0); }},
        };
        // The window's change event, counted.
        int changes = 0;
        box.Change = [&changes, change = box.Change] {
            ++changes;
            change();
        };
        auto pasteOverAll = [&](const std::function<void()>& paste, const std::string& text) {
            SetClipboardText(text);
            SetFocus(box.hwnd());
            SendMessageA(box.hwnd(), EM_SETSEL, 0, -1);
            changes = 0;
            paste();
            Settle();
        };
        for (const auto& [way, paste] : ways) {
            for (const std::string text : {"03/12/2024", "03122024"}) {
                Type(box, "11022026");
                pasteOverAll(paste, text);
                seen.push_back(way + " " + text + ": " + box.Text() +
                               (purge.btnOK.Enabled() ? " OK" : "") + " changes " +
                               std::to_string(changes));
            }
        }
        // A text that does not fit the mask leaves the box as it was.
        pasteOverAll(ways[2].second, "3/12/2024");
        seen.push_back("refused: " + box.Text() + (changes ? " changed" : ""));
        // Copy and every way of cutting put the selection on the clipboard; a cut empties it.
        const std::vector<std::pair<std::string, std::function<void()>>> copies = {
            {"Ctrl+C", [&] { PressWith(box, VK_CONTROL, 'C'); }},
            {"Ctrl+X", [&] { PressWith(box, VK_CONTROL, 'X'); }},
            {"Shift+Delete", [&] { PressWith(box, VK_SHIFT, VK_DELETE); }},
            {"Cut", [&] { SendMessageA(box.hwnd(), WM_CUT, 0, 0); }},
        };
        for (const auto& [way, copy] : copies) {
            Type(box, "11022026");
            pasteOverAll(copy, "");
            seen.push_back(way + ": " + SystemClipboardText() + " leaves " + box.Text());
        }
        PressButton(purge.btnCancel);
    });
    Menu(main, main.mnuPurgeLog);
    EXPECT_EQ(seen, (std::vector<std::string>{"Ctrl+V 03/12/2024: 03/12/2024 OK changes 1",
                                              "Ctrl+V 03122024: 03/12/2024 OK changes 1",
                                              "Shift+Insert 03/12/2024: 03/12/2024 OK changes 1",
                                              "Shift+Insert 03122024: 03/12/2024 OK changes 1",
                                              "Paste 03/12/2024: 03/12/2024 OK changes 1",
                                              "Paste 03122024: 03/12/2024 OK changes 1",
                                              "refused: 03/12/2024",
                                              "Ctrl+C: 11/02/2026 leaves 11/02/2026",
                                              "Ctrl+X: 11/02/2026 leaves __/__/____",
                                              "Shift+Delete: 11/02/2026 leaves __/__/____",
                                              "Cut: 11/02/2026 leaves __/__/____"}));
}

TEST_F(MaintenanceWindows, OptimizeAnsweredNoLeavesAllSeventeenControlsEnabled) {
    const std::string log =
        LogLine(11, 2, 2026, 8, 0, 0, "Initializing modem.") + "\r\n" + FourDays();
    frmMain& main = Start(log);
    std::vector<forms::Control*> controls = {
        &main.btnViewLog,    &main.btnProcess,  &main.inputStarting, &main.inputEnding,
        &main.UpDown1,       &main.UpDown2,     &main.UpDown3,       &main.UpDown4,
        &main.LabelStarting, &main.LabelEnding, &main.btnExit,       &main.ToolbarMain};
    std::vector<forms::MenuItem*> menus = {&main.mnuOpenArchive, &main.mnuQuickDate,
                                           &main.mnuViewLog, &main.mnuPurgeLog, &main.mnuOptimize};
    auto enabledCount = [&] {
        int count = 0;
        for (auto* control : controls)
            count += control->Enabled();
        for (auto* menu : menus)
            count += menu->Enabled();
        return count;
    };
    ASSERT_EQ(enabledCount(), 17);
    messages_->Answer(msg::No);
    Menu(main, main.mnuOptimize);
    EXPECT_EQ(BoxesTitled("OPTIMIZE MODEM LOG"), 1);
    EXPECT_EQ(enabledCount(), 17);
    EXPECT_EQ(ReadFile(LogPath()), log);

    // DisableControls switches all of them off; Yes optimizes and the refresh enables them.
    main.DisableOptimizeControls();
    EXPECT_EQ(enabledCount(), 0);
    main.Refresh();
    messages_->Answer(msg::Yes);
    Menu(main, main.mnuOptimize);
    EXPECT_EQ(ReadFile(LogPath()), runtime::UCase(FourDays()));
    EXPECT_EQ(ReadFile(Backup()), log);
    EXPECT_EQ(enabledCount(), 17);
    EXPECT_EQ(BoxesTitled("Optimization Failed"), 0);
}
