// Pictures of the windows for the documentation: written only when DUV_SCREENSHOT_DIR names a
// folder (tools/screenshots sets it and turns the bitmaps into PNG files).
#include "tests/ui/UiFixture.h"

#include <cctype>
#include <cstdlib>
#include <vector>

#include "tools/loggen/LogGenerator.h"
#include "ui/options/frmSetup.h"

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

TEST_F(Screenshots, OptionsWindowTabs) {
    GeneratedLog(0);
    StartProgram();
    auto previous = forms::SetModalHook([this](forms::Form& form) {
        frmSetup* setup = frmSetup::IfLoaded();
        if (&form != setup) return;
        Settle();
        for (int k = 1; k <= 8; ++k) {
            setup->TabStrip1.Select(k);
            if (k == OptionsModel::kServicesTab) setup->btnScan.PerformClick();
            if (k == 7) {
                setup->CalHolidays.SetValue(runtime::DateSerial(2026, 12, 25));
                setup->btnAdd.PerformClick();
                setup->btnAdd.PerformClick();
            }
            Settle();
            std::string name = OptionsModel::kTabs[static_cast<size_t>(k - 1)].Caption;
            for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            Save(*setup, ("options-" + name + ".bmp").c_str());
        }
        setup->btnCancel.PerformClick();
    });
    Menu(frmMain::Get(), frmMain::Get().mnuSetup);
    forms::SetModalHook(previous);
}

}  // namespace
