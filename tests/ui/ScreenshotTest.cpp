// Pictures of the windows for the documentation: written only when DUV_SCREENSHOT_DIR names a
// folder (tools/screenshots sets it and turns the bitmaps into PNG files).
#include "tests/ui/UiFixture.h"

#include <cstdlib>
#include <vector>

#include "core/PreConfigure.h"
#include "tools/loggen/LogGenerator.h"
#include "ui/options/frmPreConfigure.h"

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
        if (wizard.IsLoaded()) wizard.btnNext_Click();
        Settle();
    }
    wizard.Unload();
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, modems);
}

}  // namespace
