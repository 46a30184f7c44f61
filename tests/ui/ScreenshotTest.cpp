// Pictures of the windows for the documentation: written only when DUV_SCREENSHOT_DIR names a
// folder (tools/screenshots sets it and turns the bitmaps into PNG files).
#include "tests/ui/UiFixture.h"

#include <cstdlib>
#include <vector>

#include "tools/loggen/LogGenerator.h"

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

}  // namespace
