// Pictures of the windows for the documentation: written only when DUV_SCREENSHOT_DIR names a
// folder (tools/screenshots sets it and turns the bitmaps into PNG files).
#include "tests/ui/UiFixture.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <vector>

#include "core/PreConfigure.h"
#include "tests/support/Seams.h"
#include "tools/loggen/LogGenerator.h"
#include "ui/logs/frmFind.h"
#include "ui/logs/frmViewLog.h"
#include "ui/options/frmPreConfigure.h"
#include "ui/options/frmSetup.h"
#include "ui/services/frmService.h"
#include "ui/services/frmTariff.h"

using namespace uitest;
using test_support::SaveWindowBitmap;

namespace {

class Screenshots : public ProgramTest {
protected:
    void SetUp() override {
        const char* dir = std::getenv("DUV_SCREENSHOT_DIR");
        if (!dir || !*dir) {
            GTEST_SKIP() << "DUV_SCREENSHOT_DIR is not set";
        }
        dir_ = dir;
        ProgramTest::SetUp();
        // The pictures show ordinary folders, not test folders: the program in C:\DUV, the
        // log where the modem driver keeps it.
        folder_ = "C:\\DUV";
        windows_ = "C:\\WINDOWS";
        RemoveOrdinaryFiles();
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override {
        ProgramTest::TearDown();
        if (!dir_.empty())
            RemoveOrdinaryFiles();
    }
    void RemoveOrdinaryFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        DeleteFileA(LogPath().c_str());
    }
    void Save(forms::Form& form, const char* name) {
        SetForegroundWindow(form.hwnd());
        EXPECT_TRUE(SaveWindowBitmap(form.hwnd(), dir_ + "\\" + name));
    }
    void GeneratedLog(int damagePerMille) {
        loggen::Options options;
        options.seed = 7;
        options.year = 2026;
        options.month = 11;
        options.day = 1;
        options.days = 30;
        options.damagePerMille = damagePerMille;
        std::ofstream out(LogPath(), std::ios::binary);
        loggen::Generate(options, out);
    }
    std::string dir_;
};

// Title bar buttons, scroll arrows and menu check marks are drawn with Marlett: the prefix
// the windows are tested and pictured in has it (tools/wine-env puts it there).
TEST(PicturePrefix, HasTheCaptionButtonFont) {
    EXPECT_TRUE(test_support::CaptionButtonFontInstalled());
}

TEST_F(Screenshots, SplashAndMainWindowStates) {
    StartProgram();
    ASSERT_NE(frmSplash::IfLoaded(), nullptr);
    Save(frmSplash::Get(), "splash.bmp");
    Click(frmSplash::Get().Picture1);
    Save(frmMain::Get(), "main-no-log.bmp");
    frmMain::Get().Unload();
    Settle();

    GeneratedLog(0);
    StartProgram();
    frmMain& main = frmMain::Get();
    DUVMain::UserStartPref = "First Log Entry";
    main.Refresh();
    Settle();
    Save(main, "main-ready.bmp");
    main.Unload();
    Settle();

    GeneratedLog(2);
    StartProgram();
    Save(frmMain::Get(), "main-damaged.bmp");
}

TEST_F(Screenshots, ServiceEditorTabsAndTariffEditor) {
    GeneratedLog(0);
    StartProgram();
    ServiceRecord r;
    r.ServiceName = "Ferndial Anytime";
    r.ServiceNumber = "08450800123";
    r.ServiceAltNumber = "08450800124";
    r.DialOption = 2;
    const char* names[] = {"Weekend", "Peak", "Evening"};
    const char* days[] = {"Sat - Sun", "Mon - Fri", "Mon - Fri"};
    const int hours[][2] = {{0, 23}, {8, 17}, {18, 23}};
    for (int i = 0; i < 3; ++i) {
        TariffRecord& t = r.Tariffs[i + 1];
        t.Description = names[i];
        t.AppliesDays = days[i];
        t.AppliesTimeStart = runtime::TimeSerial(hours[i][0], 0, 0);
        t.AppliesTimeEnd = runtime::TimeSerial(hours[i][1], 59, 0);
        t.DialRate = 0.05;
        t.PerMinuteRate = 0.01 * (i + 1);
        t.Unit = "Per Minute";
        t.After = 60;
        t.UnitMins = 15;
    }
    r.UsedTariffs = 3;
    r.ServiceOption = 2;
    r.FlexRate = 9.99;
    r.UpToHours = 20;
    r.PenaltyPeriod = "Month";
    r.FlexRate2 = 1.2;
    r.PerMeg = 0.1;
    r.AfterMeg = 200;
    r.MegPeriod = "Month";
    r.FreePeriod = true;
    r.FreeEnd = runtime::TimeSerial(6, 0, 0);
    r.ShowWarnings = true;
    r.WarningOption = 1;
    r.WarningDialup = 25;
    r.WarningDisplay = true;
    r.WarningSound = true;
    DUVMain::Services[0] = r;
    DUVMain::UsedServices = 1;
    DUVMain::ServiceIsNew = false;
    std::ofstream(folder_ + "\\exceeded.wav").put('\0');
    test_support::ScopedSeam hook(forms::SetModalHook, [this](forms::Form& form) {
        if (&form == &frmTariff::Get()) {
            Save(form, "tariff-editor.bmp");
            form.Unload();
            return;
        }
        frmService& s = frmService::Get();
        const char* shots[] = {"service-details.bmp", "service-dialup.bmp", "service-cost.bmp",
                               "service-warnings.bmp"};
        for (int tab = 1; tab <= 4; ++tab) {
            s.TabStrip1.Select(tab);
            Settle();
            Save(s, shots[tab - 1]);
        }
        s.TabStrip1.Select(2);
        Settle();
        s.lstDialTimeTariff.SelectRow(1);
        SendMessageA(s.btnDialTimeTariffEdit.hwnd(), BM_CLICK, 0, 0);
        Settle();
        s.Unload();
    });
    frmService::ShowEditor([] { return 1; });
}

TEST_F(Screenshots, OptionsWindowTabs) {
    GeneratedLog(0);
    StartProgram();
    test_support::ScopedSeam hook(forms::SetModalHook, [this](forms::Form& form) {
        frmSetup* setup = frmSetup::IfLoaded();
        if (&form != setup)
            return;
        Settle();
        for (int k = 1; k <= 8; ++k) {
            setup->TabStrip1.Select(k);
            if (k == OptionsModel::kServicesTab)
                setup->btnScan.PerformClick();
            if (k == 7) {
                setup->CalHolidays.SetValue(runtime::DateSerial(2026, 12, 25));
                setup->btnAdd.PerformClick();
                setup->btnAdd.PerformClick();
            }
            Settle();
            std::string name = OptionsModel::kTabs[static_cast<size_t>(k - 1)].Caption;
            for (char& c : name)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            Save(*setup, ("options-" + name + ".bmp").c_str());
        }
        setup->btnCancel.PerformClick();
    });
    Menu(frmMain::Get(), frmMain::Get().mnuSetup);
}

// The log viewer in its three modes (the modem log, an archive, a saved report) and the Find
// window over the log.
TEST_F(Screenshots, LogViewerModesAndFind) {
    GeneratedLog(0);
    StartProgram();
    frmMain& main = frmMain::Get();
    auto viewer = [&](const char* name) {
        frmViewLog* shown = frmViewLog::IfLoaded();
        ASSERT_NE(shown, nullptr) << name;
        shown->Move(300, 300, 9600, 6000);
        Settle();
        Save(*shown, name);
    };
    {
        test_support::ScopedSeam hook(forms::SetModalHook, [this](forms::Form& form) {
            auto& find = static_cast<frmFind&>(form);
            find.Text1.SetText("Connection established");
            Settle();
            Save(find, "find.bmp");
            PressButton(find.cmdFind);
            if (frmFind::IfLoaded())
                PressButton(find.cmdcancel);
        });
        Menu(main, main.mnuViewLog);
        frmViewLog::Get().mnuSearchFind.Click();
        viewer("viewlog-modem-log.bmp");
        frmViewLog::Get().Unload();
    }

    CopyFileA(LogPath().c_str(), (folder_ + "\\01Nov26 - 30Nov26.duv").c_str(), FALSE);
    main.OpenArchive(folder_ + "\\", "01Nov26 - 30Nov26.duv");
    Menu(main, main.mnuViewLog);
    viewer("viewlog-archive.bmp");
    frmViewLog::Get().Unload();

    std::ofstream(folder_ + "\\Summary.txt", std::ios::binary)
        << "DUV Summary Report\r\n\r\nReport Period:  01/11/2026 - 30/11/2026\r\n"
           "Sessions:       42\r\nOnline Time:    31:05:12\r\nTotal Cost:     12.48\r\n";
    main.DoOpenReport(folder_ + "\\", "Summary.txt");
    viewer("viewlog-text-file.bmp");
    frmViewLog::Get().Unload();
}

// The four pages of the modem set-up wizard, for one modem that needs changes.
TEST_F(Screenshots, ModemWizardPages) {
    const char* modems = "System\\CurrentControlSet\\Services\\Class\\Modem";
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, (std::string(modems) + "\\0000").c_str(), 0,
                              nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const char name[] = "Standard 56000 bps Modem";
    const char port[] = "COM2";
    const BYTE off = 0;
    RegSetValueExA(key, "DriverDesc", 0, REG_SZ, reinterpret_cast<const BYTE*>(name), sizeof name);
    RegSetValueExA(key, "AttachedTo", 0, REG_SZ, reinterpret_cast<const BYTE*>(port), sizeof port);
    RegSetValueExA(key, "Logging", 0, REG_BINARY, &off, 1);
    RegCloseKey(key);
    DUVMain::ModemCheck = true;
    DUVMain::OSVersionText = "WIN 95";
    DUVMain::SystemLogDir = windows_ + "\\";
    DUVPreConfigure::FindModems();
    DUVPreConfigure::ReadModemValues(1);
    frmPreConfigure& wizard = frmPreConfigure::Get();
    wizard.Show();
    Settle();
    const char* pages[] = {"wizard-1-welcome.bmp", "wizard-2-modems.bmp", "wizard-3-settings.bmp",
                           "wizard-4-finished.bmp"};
    for (const char* page : pages) {
        Save(wizard, page);
        if (wizard.IsLoaded())
            wizard.btnNext_Click();
        Settle();
    }
    wizard.Unload();
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, modems);
}

}  // namespace
