// The options window opened from the main window: its tabs and keys, Cancel and OK against
// the registry, the services page, and settings made in it reaching the next report.
#include "tests/ui/UiFixture.h"

#include <functional>
#include <vector>

#include "analysis/DUVAnalyse.h"
#include "tests/support/Seams.h"
#include "ui/logs/frmReport.h"
#include "ui/options/frmSetup.h"

using namespace uitest;

namespace {

// Every value under SOFTWARE\DUV as "key|name|type|bytes", for comparing before and after.
void DumpKey(const std::string& path, std::vector<std::string>& lines) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return;
    char name[256];
    BYTE data[1024];
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof(name), dataSize = sizeof(data), type = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) !=
            ERROR_SUCCESS)
            break;
        lines.push_back(path + "|" + name + "|" + std::to_string(type) + "|" +
                        std::string(reinterpret_cast<char*>(data), dataSize));
    }
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof(name);
        if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        DumpKey(path + "\\" + name, lines);
    }
    RegCloseKey(key);
}

std::vector<std::string> Registry() {
    std::vector<std::string> lines;
    DumpKey("SOFTWARE\\DUV", lines);
    return lines;
}

long long RegNumber(const std::string& sub, const char* name) {
    DWORD value = 0, size = sizeof(value);
    if (RegGetValueA(HKEY_LOCAL_MACHINE, ("SOFTWARE\\DUV\\" + sub).c_str(), name, RRF_RT_REG_DWORD,
                     nullptr, &value, &size) != ERROR_SUCCESS) {
        return -1;
    }
    return static_cast<std::int32_t>(value);
}

void PutValue(const std::string& sub, const std::string& name, const std::string& text) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, ("SOFTWARE\\DUV\\" + sub).c_str(), 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
    RegCloseKey(key);
}

void PutValue(const std::string& sub, const std::string& name, DWORD value) {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_LOCAL_MACHINE, ("SOFTWARE\\DUV\\" + sub).c_str(), 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExA(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof(value));
    RegCloseKey(key);
}

// Types into a box and leaves it, as the user does by tabbing on.
void Enter(forms::TextBox& box, const std::string& text, forms::Control& next) {
    box.SetFocus();
    Settle(1);
    box.SetText(text);
    next.SetFocus();
    Settle();
}

// A click on a check box or option button.
void Tick(forms::Control& box) {
    SendMessageA(box.hwnd(), BM_CLICK, 0, 0);
    Settle();
}

void PressKey(forms::Control& control, WPARAM key, bool ctrl) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_CONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
    PostMessageA(control.hwnd(), WM_KEYDOWN, key, 0);
    Settle();
    keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
}

std::string SessionLog() {
    return LogLine(11, 2, 2026, 9, 0, 0, "Recv: ATDT0123456<cr>") + "\r\n" +
           LogLine(11, 2, 2026, 9, 0, 20, "Connection established at 28800bps.") + "\r\n" +
           LogLine(11, 2, 2026, 9, 30, 0, "Hanging up the modem.") + "\r\n" +
           LogLine(11, 2, 2026, 9, 40, 0, "Recv: ATDT0999<cr>") + "\r\n";
}

class OptionsWindow : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        now_ = runtime::DateSerial(2026, 11, 2) + runtime::TimeSerial(15, 0, 0);
        WriteLog(SessionLog());
    }

    // Opens the options window from the main window's menu (or its toolbar button) and runs
    // `inside` while it is shown; the window must be closed by then.
    void WithOptions(const std::function<void(frmSetup&)>& inside, bool toolbar = false) {
        bool shown = false;
        test_support::ScopedSeam hook(forms::SetModalHook, [&](forms::Form& form) {
            if (&form != frmSetup::IfLoaded())
                return;
            shown = true;
            Settle();
            inside(frmSetup::Get());
            if (frmSetup::IfLoaded()) {
                ADD_FAILURE() << "the options window was left open";
                frmSetup::Get().btnCancel.PerformClick();
            }
        });
        frmMain& main = frmMain::Get();
        if (toolbar) {
            main.ToolbarMain.PerformClick(3);
            Settle();
        } else {
            Menu(main, main.mnuSetup);
        }
        EXPECT_TRUE(shown);
    }

    // One service with a holiday tariff before an everyday one, each a charge per call.
    static void PutTariffService() {
        PutValue("General", "UsedServices", 1);
        PutValue("Services", "ServiceName1", "Provider");
        PutValue("Services", "ServiceNumber1", "0123456");
        PutValue("Services", "DialOption1", 2);
        PutValue("Services", "UsedTariffs1", 2);
        const char* names[] = {"Holiday", "Standard"};
        const char* days[] = {"Holidays", "Everyday"};
        const DWORD rates[] = {20000, 5000};
        for (int j = 1; j <= 2; ++j) {
            const std::string t = "Tariff1-" + std::to_string(j);
            PutValue("Services", t + "Description", names[j - 1]);
            PutValue("Services", t + "AppliesDays", days[j - 1]);
            PutValue("Services", t + "AppliesTimeStart", "00:00:00");
            PutValue("Services", t + "AppliesTimeEnd", "23:59:00");
            PutValue("Services", t + "DialRate", rates[j - 1]);
            PutValue("Services", t + "Unit", "Per Minute");
            PutValue("Services", t + "UnitMins", 1);
        }
    }

    void RunReport() {
        frmMain& main = frmMain::Get();
        ASSERT_TRUE(main.btnProcess.Enabled());
        PressButton(main.btnProcess);
        Settle();
        ASSERT_NE(frmReport::IfLoaded(), nullptr);
    }
};

TEST_F(OptionsWindow, OpensWithItsTabsAndCancelLeavesSettingsAndRegistryAsTheyWere) {
    StartProgram();
    const std::vector<std::string> before = Registry();
    const auto flat = DUVMain::FlatToolbars;
    WithOptions([&](frmSetup& w) {
        EXPECT_EQ(WindowText(w.hwnd()), "DUV - Options");
        ASSERT_EQ(w.TabStrip1.TabCount(), 8);
        for (int k = 1; k <= 8; ++k) {
            EXPECT_EQ(w.TabStrip1.Caption(k), OptionsModel::kTabs[k - 1].Caption);
            EXPECT_EQ(w.TabStrip1.ToolTipText(k), OptionsModel::kTabs[k - 1].ToolTip);
        }
        EXPECT_FALSE(w.btnDefaults.Visible());
        // Ctrl+Tab walks the tabs and wraps; the defaults button lives on the modem tab only.
        PressKey(w.TabStrip1, VK_TAB, true);
        EXPECT_EQ(w.TabStrip1.SelectedIndex(), 2);
        EXPECT_TRUE(w.btnDefaults.Visible());
        EXPECT_EQ(w.TabStrip1.HelpContext(), 33);
        for (int k = 3; k <= 8; ++k)
            PressKey(w.TabStrip1, VK_TAB, true);
        EXPECT_EQ(w.TabStrip1.SelectedIndex(), 8);
        PressKey(w.TabStrip1, VK_TAB, true);
        EXPECT_EQ(w.TabStrip1.SelectedIndex(), 1);
        EXPECT_FALSE(w.btnDefaults.Visible());

        Enter(w.txtMaxConnections, "abc", w.txtMaxLogSize);
        EXPECT_EQ(w.txtMaxConnections.Text(), "200") << "refused: the setting is shown again";
        Enter(w.txtMaxConnections, "350.5", w.txtMaxLogSize);
        EXPECT_EQ(DUVMain::MaxConnections, 350);
        Tick(w.optFlatToolBars);
        w.TabStrip1.Select(7);
        w.btnAdd.PerformClick();
        EXPECT_EQ(w.lblUsedHolidays.Text(), "1 Holidays (Max 100)");
        w.btnCancel.PerformClick();
    });
    EXPECT_EQ(DUVMain::MaxConnections, 200);
    EXPECT_EQ(DUVMain::FlatToolbars, flat);
    EXPECT_EQ(DUVMain::UsedHolidays, 0);
    EXPECT_EQ(Registry(), before);
    EXPECT_EQ(BoxesTitled("DUV Options"), 0) << "nothing changed that needs a restart";

    WithOptions([](frmSetup& w) { w.btnCancel.PerformClick(); }, true);
}

// Cancel closes whatever a box holds, by a click right after the box refused its text or by
// Esc, and stores nothing; Enter stores nothing while the focused box refuses its text.
TEST_F(OptionsWindow, CancelAndEscCloseWhateverABoxHoldsAndEnterKeepsARefusedText) {
    StartProgram();
    const std::vector<std::string> before = Registry();
    const double dialCost = DUVMain::DialCost, perHour = DUVMain::CostPerHour;
    WithOptions([](frmSetup& w) {
        w.TabStrip1.Select(4);
        ASSERT_TRUE(w.txtDialCost.Enabled());
        Enter(w.txtDialCost, "abc", w.txtCostPerHour);
        EXPECT_EQ(GetFocus(), w.txtDialCost.hwnd()) << "refused: the focus comes back";
        // Pressed on Cancel and released off it: no click, and the box's check waits until
        // the focus goes on to another control.
        SendMessageA(w.btnCancel.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        Settle();
        EXPECT_EQ(GetFocus(), w.btnCancel.hwnd());
        SendMessageA(w.btnCancel.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(-40, -40));
        Settle();
        ASSERT_EQ(frmSetup::IfLoaded(), &w);
        w.txtCostPerMeg.SetFocus();
        Settle();
        EXPECT_EQ(GetFocus(), w.txtDialCost.hwnd()) << "the check waited and refused";
        MouseClick(w.btnCancel);
        EXPECT_EQ(frmSetup::IfLoaded(), nullptr) << "the click on Cancel was lost";
    });
    WithOptions([&](frmSetup& w) {
        w.TabStrip1.Select(4);
        Enter(w.txtDialCost, "0.25", w.txtCostPerHour);
        EXPECT_EQ(DUVMain::DialCost, 0.25);
        w.txtCostPerHour.SetText("abc");
        uitest::PressKey(w.txtCostPerHour, VK_RETURN);
        ASSERT_EQ(frmSetup::IfLoaded(), &w) << "Enter stored a refused text";
        EXPECT_EQ(GetFocus(), w.txtCostPerHour.hwnd());
        EXPECT_EQ(Registry(), before);
        w.txtCostPerHour.SetText("0.5");  // not left yet
        uitest::PressKey(w.txtCostPerHour, VK_ESCAPE);
        EXPECT_EQ(frmSetup::IfLoaded(), nullptr) << "Esc left the window open";
    });
    EXPECT_EQ(DUVMain::DialCost, dialCost);
    EXPECT_EQ(DUVMain::CostPerHour, perHour);
    EXPECT_EQ(Registry(), before);
}

TEST_F(OptionsWindow, OkStoresTheSettingsAndTellsWhatWaitsForARestart) {
    StartProgram();
    WithOptions([](frmSetup& w) {
        Enter(w.txtMaxServices, "25", w.txtMaxConnections);
        EXPECT_EQ(w.lblServices1.Text(), "0 Used");
        EXPECT_EQ(w.lblServices2.Text(), "(Max 25)");
        w.TabStrip1.Select(2);
        Enter(w.TextOpt[0], "recv: atd", w.TextOpt[1]);
        EXPECT_EQ(w.TextOpt[0].Text(), "RECV: ATD");
        Enter(w.TextOpt[1], "", w.TextOpt[0]);
        EXPECT_EQ(w.TextOpt[1].Text(), "ANSWERING") << "refused: the setting is shown again";
        w.TabStrip1.Select(6);
        Enter(w.mskNoDisconDuration, "01:30:00", w.mskNoDisconData);
        Enter(w.mskNoDisconData, "1234567", w.mskNoDisconDuration);
        EXPECT_EQ(w.mskNoDisconData.Text(), "1,234,567");
        w.TabStrip1.Select(1);
        Tick(w.optFlatToolBars);
        w.btnSave.PerformClick();
    });
    EXPECT_EQ(RegNumber("General", "MaxServices"), 25);
    EXPECT_EQ(RegNumber("General", "NoDisconDuration"), 5400);
    EXPECT_EQ(RegNumber("General", "NoDisconData"), 1234567);
    EXPECT_GE(DUVMain::Services.UBound(), 25);
    ASSERT_EQ(BoxesTitled("DUV Options"), 1);
    EXPECT_EQ(messages_->Calls().back().text,
              "Some changed options will NOT take\neffect until the program is re-started.");
    EXPECT_FALSE(DUVMain::DisplaySettingsChanged);
}

TEST_F(OptionsWindow, ScanAddsTheDialledNumbersAndDeleteNeedsARow) {
    StartProgram();
    WithOptions([this](frmSetup& w) {
        w.TabStrip1.Select(3);
        PostMessageA(w.hwnd(), WM_CLOSE, 0, 0);  // arrives while the scan reads
        w.btnScan.PerformClick();
        EXPECT_EQ(frmSetup::IfLoaded(), &w) << "the window stays open under the scan";
        ASSERT_EQ(w.lstServices.RowCount(), 2);
        EXPECT_EQ(w.lstServices.RowText(0, 1), "  Dialled Service # 1");
        EXPECT_EQ(w.lstServices.RowText(0, 2), "0123456");
        EXPECT_EQ(w.lstServices.RowText(1, 1), "  Dialled Service # 2");
        EXPECT_EQ(w.lblServices1.Text(), "2 Used");
        EXPECT_FALSE(w.ProgressBar1.Visible());
        EXPECT_EQ(messages_->Calls().back().title, "Scan for Dialled Services");
        EXPECT_EQ(messages_->Calls().back().text.substr(0, 44),
                  "2 new dialled service(s) found in modem log!");

        // The Delete key on this tab deletes the selected row and moves the rest up.
        w.lstServices.SelectRow(0);
        PressKey(w.lstServices, VK_DELETE, false);
        ASSERT_EQ(w.lstServices.RowCount(), 1);
        EXPECT_EQ(DUVMain::Services[0].ServiceNumber, "0999");
        ListView_SetItemState(w.lstServices.hwnd(), -1, 0, LVIS_SELECTED);
        w.btnDelete.PerformClick();  // no row selected: nothing goes, no editor opens
        w.btnEdit.PerformClick();
        EXPECT_EQ(DUVMain::UsedServices, 1);
        w.btnCancel.PerformClick();
    });
    EXPECT_EQ(DUVMain::UsedServices, 0) << "cancel drops the scanned services";
}

// What a message posted before Scan finds when the scan lets it run: whether each control
// took input then, and whether the progress bar showed.
struct ScanProbe {
    std::vector<HWND> controls;
    std::vector<bool> enabled;
    HWND progress = nullptr;
    bool progressShown = false;

    static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg != WM_APP)
            return DefWindowProcA(hwnd, msg, wp, lp);
        auto* probe = reinterpret_cast<ScanProbe*>(lp);
        probe->enabled.clear();
        for (HWND control : probe->controls)
            probe->enabled.push_back(IsWindowEnabled(control) != FALSE);
        probe->progressShown = IsWindowVisible(probe->progress) != FALSE;
        return 0;
    }
};

// While the scan reads, the list is held with the buttons: a double click on a service that
// arrives then opens no editor; when the scan ends every control takes input again.
TEST_F(OptionsWindow, ScanHoldsTheListAndGivesEveryControlBack) {
    PutTariffService();
    StartProgram();
    WNDCLASSA probeClass = {};
    probeClass.lpfnWndProc = &ScanProbe::Proc;
    probeClass.hInstance = GetModuleHandleA(nullptr);
    probeClass.lpszClassName = "DuvScanProbe";
    RegisterClassA(&probeClass);
    HWND probeWindow = CreateWindowExA(0, "DuvScanProbe", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       probeClass.hInstance, nullptr);
    ASSERT_NE(probeWindow, nullptr);
    ScanProbe probe;
    int editorShown = 0;
    bool shown = false;
    {
        test_support::ScopedSeam hook(forms::SetModalHook, [&](forms::Form& form) {
            if (&form != frmSetup::IfLoaded()) {
                ++editorShown;  // the service editor: closed again at once
                form.Unload();
                return;
            }
            shown = true;
            Settle();
            frmSetup& w = frmSetup::Get();
            w.TabStrip1.Select(3);
            Settle();
            ASSERT_EQ(w.lstServices.RowCount(), 1);
            w.lstServices.SelectRow(0);
            const std::vector<forms::Control*> controls{&w.lstServices, &w.btnScan,   &w.btnNew,
                                                        &w.btnEdit,     &w.btnDelete, &w.btnSave,
                                                        &w.btnCancel,   &w.TabStrip1};
            for (forms::Control* c : controls)
                probe.controls.push_back(c->hwnd());
            probe.progress = w.ProgressBar1.hwnd();
            RECT row = {LVIR_BOUNDS, 0, 0, 0};
            SendMessageA(w.lstServices.hwnd(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&row));
            const LPARAM at = MAKELPARAM(row.left + 20, (row.top + row.bottom) / 2);
            PostMessageA(w.lstServices.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
            PostMessageA(w.lstServices.hwnd(), WM_LBUTTONUP, 0, at);
            PostMessageA(w.lstServices.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
            PostMessageA(w.lstServices.hwnd(), WM_LBUTTONUP, 0, at);
            PostMessageA(probeWindow, WM_APP, 0, reinterpret_cast<LPARAM>(&probe));
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            keys[VK_CONTROL] = 0x80;
            SetKeyboardState(keys);
            PostMessageA(w.lstServices.hwnd(), WM_KEYDOWN, VK_TAB, 0);  // Ctrl+Tab: the next tab
            w.btnScan.PerformClick();
            keys[VK_CONTROL] = 0;
            SetKeyboardState(keys);
            Settle();
            EXPECT_EQ(w.TabStrip1.SelectedIndex(), 3) << "the tabs are held too";
            EXPECT_EQ(w.lstServices.RowCount(), 2);
            for (forms::Control* c : controls)
                EXPECT_TRUE(c->Enabled()) << "given back after the scan";
            EXPECT_FALSE(w.ProgressBar1.Visible());
            w.btnCancel.PerformClick();
        });
        Menu(frmMain::Get(), frmMain::Get().mnuSetup);
    }
    DestroyWindow(probeWindow);
    EXPECT_TRUE(shown);
    EXPECT_EQ(editorShown, 0) << "a double click during the scan opened the service editor";
    EXPECT_EQ(probe.enabled, std::vector<bool>(8, false)) << "held while the scan read";
    EXPECT_TRUE(probe.progressShown);
}

TEST_F(OptionsWindow, AHolidayAndTheReportDefaultsSetHereChangeTheNextReport) {
    PutTariffService();
    StartProgram();
    RunReport();
    EXPECT_EQ(DUVAnalyse::ServiceUsage[1].DialCost, 0.5) << "an ordinary day: the everyday tariff";
    EXPECT_TRUE(DUVMain::SummaryReportBuilt);
    frmReport::Get().Unload();
    Settle();

    WithOptions([](frmSetup& w) {
        w.TabStrip1.Select(7);
        w.CalHolidays.SetValue(runtime::DateSerial(2026, 11, 2));
        w.btnAdd.PerformClick();
        w.TabStrip1.Select(8);
        Tick(w.optFormat[1]);
        Tick(w.chkAMPM);
        w.btnSave.PerformClick();
    });
    EXPECT_EQ(RegNumber("Holidays", "UsedHolidays"), 1);
    EXPECT_EQ(RegNumber("Holidays", " 1"),
              static_cast<long long>(runtime::DateSerial(2026, 11, 2)));
    EXPECT_EQ(RegNumber("General", "UserReportPref"), 1);
    EXPECT_EQ(RegNumber("ViewReport\\DetailReport", "ForceAMPM"), -1);

    RunReport();
    EXPECT_EQ(DUVAnalyse::ServiceUsage[1].DialCost, 2.0) << "the holiday tariff";
    EXPECT_TRUE(DUVMain::DetailReportBuilt) << "the details report comes first now";
    EXPECT_FALSE(DUVMain::SummaryReportBuilt);
    EXPECT_EQ(DUVMain::TimeFormat, "h:mm:ss AMPM");
    EXPECT_NE(DUVAnalyse::ReportText.find("Connect:    11/2/2026 9:00:20 AM"), std::string::npos)
        << DUVAnalyse::ReportText;
    EXPECT_NE(DUVAnalyse::ReportText.find("Holiday"), std::string::npos);
}

}  // namespace
