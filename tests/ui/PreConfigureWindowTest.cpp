// The modem set-up wizard at start-up: the modem driver's keys put into the registry, the
// version the gate tests set, the wizard driven by its buttons while it is shown modally.
#include "tests/ui/UiFixture.h"

#include <cstdlib>
#include <functional>

#include "core/LogFile.h"
#include "core/PreConfigure.h"
#include "tests/support/Seams.h"
#include "tests/support/win32/ModemKeys.h"
#include "ui/options/frmPreConfigure.h"

using namespace uitest;
using test_support::ModemValue;

namespace {

OSVersion::PlatformVersion Windows95() { return {1, 950}; }
OSVersion::PlatformVersion WindowsNt4() { return {2, 1381}; }

class PreConfigureWindow : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, test_support::kModemClassKey);
    }
    void TearDown() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, test_support::kModemClassKey);
        ProgramTest::TearDown();
    }

    static void PutModem() { ASSERT_TRUE(test_support::PutModemNeedingChange()); }

    // Runs `drive` on the wizard once the start-up shows it modally; other modal windows (the
    // tip of the day) are closed.
    void StartWithWizard(std::function<void(frmPreConfigure&)> drive) {
        test_support::ScopedSeam modal(forms::SetModalHook, [&](forms::Form& form) {
            frmPreConfigure* wizard = frmPreConfigure::IfLoaded();
            if (&form != wizard) {
                form.Unload();
                return;
            }
            ++wizardsShown;
            drive(*wizard);
        });
        StartProgram();
    }

    int wizardsShown = 0;
};

// Windows 95 and a modem needing change: the wizard opens at start-up, Finish switches logging
// and echo on and creates the log, and DUV reaches its main window on that log.
TEST_F(PreConfigureWindow, StartupWizardThroughFinishToTheMainWindow) {
    test_support::ScopedSeam version(OSVersion::SetVersionQuery, &Windows95);
    PutModem();
    StartWithWizard([&](frmPreConfigure& w) {
        EXPECT_EQ(WindowText(w.hwnd()), " DUV Configuration Wizard");
        EXPECT_TRUE(w.fraCheck[0].Visible());
        EXPECT_EQ(WindowText(w.btnNext.hwnd()), "&Next >");
        EXPECT_EQ(WindowText(w.btnCancel.hwnd()), "&Cancel");
        EXPECT_EQ(w.Check1.Value(), 1);
        PressButton(w.btnNext);
        EXPECT_TRUE(w.fraCheck[1].Visible() && !w.fraCheck[0].Visible());
        EXPECT_EQ(w.lstModems.List(0), "Standard Modem on COM2");
        EXPECT_EQ(WindowText(w.btnCancel.hwnd()), "< &Back");
        PressButton(w.btnNext);
        EXPECT_EQ(WindowText(w.lblSelModem.hwnd()), "Standard Modem");
        EXPECT_EQ(WindowText(w.lblCurrentLogging.hwnd()), "OFF");
        EXPECT_EQ(WindowText(w.lblCurrentEcho.hwnd()), "OFF");
        EXPECT_EQ(WindowText(w.btnNext.hwnd()), "&Finish");
        EXPECT_TRUE(w.Timer1.Enabled());
        w.Timer1.Fire();  // the recommendation blinks
        EXPECT_TRUE(w.Model().RecLoggingBold);
        PressButton(w.btnNext);
        EXPECT_TRUE(w.fraCheck[3].Visible());
        EXPECT_FALSE(w.btnCancel.Visible());
        EXPECT_FALSE(w.Timer1.Enabled());
        EXPECT_EQ(WindowText(w.btnNext.hwnd()), "&OK");
        EXPECT_NE(
            WindowText(w.RichTextBox3.hwnd()).find("A new empty modem log file has been created"),
            std::string::npos);
        PressButton(w.btnNext);
    });
    EXPECT_EQ(wizardsShown, 1);
    EXPECT_EQ(frmPreConfigure::IfLoaded(), nullptr);
    EXPECT_EQ(ModemValue("Logging"), std::make_pair(DWORD{REG_BINARY}, std::string("\x01", 1)));
    EXPECT_EQ(ModemValue("UserInit"), std::make_pair(DWORD{REG_SZ}, std::string("ATM0E1", 7)));
    EXPECT_EQ(ModemValue("LoggingPath").second, LogPath() + std::string(1, '\0'));
    std::ifstream log(LogPath(), std::ios::binary);
    std::string contents((std::istreambuf_iterator<char>(log)), {});
    EXPECT_EQ(contents, DUVMain::NewModemLogLine(now_) + "\r\n");
    // The log exists, so the start-up goes on to the main window on it.
    ASSERT_NE(frmMain::IfLoaded(), nullptr);
    EXPECT_EQ(DUVMain::LogFilePath, LogPath());
    EXPECT_EQ(frmSplash::IfLoaded(), nullptr);
}

// Under an NT version the check never runs, modem keys or not.
TEST_F(PreConfigureWindow, NoCheckUnderNt) {
    test_support::ScopedSeam version(OSVersion::SetVersionQuery, &WindowsNt4);
    PutModem();
    StartWithWizard([](frmPreConfigure& w) { w.btnCancel_Click(); });
    EXPECT_EQ(wizardsShown, 0);
    EXPECT_EQ(ModemValue("Logging"), std::make_pair(DWORD{REG_BINARY}, std::string("\0", 1)));
}

// Back walks down to the first page; Cancel there closes without a change.
TEST_F(PreConfigureWindow, BackAndCancel) {
    test_support::ScopedSeam version(OSVersion::SetVersionQuery, &Windows95);
    PutModem();
    StartWithWizard([](frmPreConfigure& w) {
        PressButton(w.btnNext);
        PressButton(w.btnNext);
        PressButton(w.btnCancel);
        EXPECT_TRUE(w.fraCheck[1].Visible());
        EXPECT_EQ(WindowText(w.btnNext.hwnd()), "&Finish");  // kept from step 2
        PressButton(w.btnCancel);
        EXPECT_TRUE(w.fraCheck[0].Visible());
        EXPECT_EQ(WindowText(w.btnCancel.hwnd()), "&Cancel");
        PressButton(w.btnCancel);
    });
    EXPECT_EQ(wizardsShown, 1);
    EXPECT_EQ(frmPreConfigure::IfLoaded(), nullptr);
    EXPECT_EQ(ModemValue("UserInit").second, std::string("ATM0", 5));
    EXPECT_EQ(ModemValue("LoggingPath").first, 0u);
}

}  // namespace
