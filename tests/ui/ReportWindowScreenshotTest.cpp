// Screenshots of the report window in both formats and of the About and tip windows, for
// the documentation. Runs only when DUV_SCREENSHOT_DIR names the folder for the pictures.
#include "tests/ui/UiFixture.h"

#include <cstdlib>
#include <vector>

#include "ui/logs/frmReport.h"
#include "ui/main/frmAbout.h"
#include "ui/main/frmTip.h"

using namespace uitest;
using test_support::SaveWindowBitmap;

namespace {

class WindowScreenshots : public ProgramTest {
protected:
    void SetUp() override {
        const char* dir = std::getenv("DUV_SCREENSHOT_DIR");
        if (!dir || !*dir)
            GTEST_SKIP() << "DUV_SCREENSHOT_DIR not set";
        shots_ = dir;
        ProgramTest::SetUp();
    }
    std::string Shot(const std::string& name) const { return shots_ + "\\" + name; }
    std::string shots_;
};

TEST_F(WindowScreenshots, ReportWindowAboutAndTip) {
    std::string log;
    for (int day = 2; day <= 20; day += 3) {
        log += LogLine(11, day, 2026, 9, 0, 0, "Recv: ATDT0123456<cr>") + "\r\n";
        log += LogLine(11, day, 2026, 9, 0, 20, "Connection established at 28800bps.") + "\r\n";
        log += LogLine(11, day, 2026, 9, 41, 0, "Hanging up the modem.") + "\r\n";
        log += LogLine(11, day, 2026, 20, 0, 0, "Recv: ATDT0987654<cr>") + "\r\n";
        log += LogLine(11, day, 2026, 20, 0, 25, "Connection established at 33600bps.") + "\r\n";
        log += LogLine(11, day, 2026, 21, 12, 0, "Hanging up the modem.") + "\r\n";
    }
    WriteLog(log);
    StartProgram();
    frmMain& main = frmMain::Get();
    Settle();
    DUVMain::UserStartPref = "First Log Entry";
    main.Refresh();
    PressButton(main.btnProcess);
    Settle();
    ASSERT_NE(frmReport::IfLoaded(), nullptr);
    frmReport& report = frmReport::Get();
    report.Move(200, 200, 10500, 6500);
    Menu(report, report.mnuDetails);
    EXPECT_TRUE(SaveWindowBitmap(report.hwnd(), Shot("report-details-list.bmp")));
    Menu(report, report.mnuSummary);
    Menu(report, report.mnuFormatStd);
    EXPECT_TRUE(SaveWindowBitmap(report.hwnd(), Shot("report-summary-text.bmp")));
    Menu(report, report.mnuListView);
    EXPECT_TRUE(SaveWindowBitmap(report.hwnd(), Shot("report-summary-list.bmp")));

    DUVMain::OSVersionText = "Windows NT 10.0";
    frmAbout::Get().Show();
    EXPECT_TRUE(SaveWindowBitmap(frmAbout::Get().hwnd(), Shot("about.bmp")));
    frmAbout::Get().Unload();

    std::ofstream(DUVMain::AppPath + "\\DuvTips.txt", std::ios::binary)
        << "Choose the report period with the Starting Date and Ending Date boxes, then press "
           "OK to analyse your modem log.\r\n";
    frmTip::Get().Show();
    EXPECT_TRUE(SaveWindowBitmap(frmTip::Get().hwnd(), Shot("tip.bmp")));
    frmTip::Get().Unload();
}

}  // namespace
