// Default window settings, weekday names, the main window's size and the version text.
#include "tests/core/SettingsFixture.h"

#include "core/Runtime.h"
#include "tests/support/Seams.h"

using namespace settings_test;

namespace {

TEST_F(SettingsTest, ViewLogDefaults) {
    DUVMain::SetDefaultSettings();
    DUVMain::ViewLogSaveSettings = true;
    DUVMain::ViewLogFontName = "Arial";
    DUVMain::ViewLogFontItalic = true;
    DUVMain::ViewLogWinState = 2;
    DUVMain::SetViewLogDefaults();
    EXPECT_FALSE(DUVMain::ViewLogSaveSettings);
    EXPECT_EQ(DUVMain::ViewLogFontName, "MS Sans Serif");
    EXPECT_EQ(DUVMain::ViewLogFontSize, 8);
    EXPECT_FALSE(DUVMain::ViewLogFontBold);
    EXPECT_FALSE(DUVMain::ViewLogFontItalic);
    EXPECT_EQ(DUVMain::ViewLogWinHeight, 4300);
    EXPECT_EQ(DUVMain::ViewLogWinWidth, 6000);
    EXPECT_EQ(DUVMain::ViewLogWinState, 0);
}

TEST_F(SettingsTest, ReportViewDefaultsKeepSummaryColumnSeven) {
    DUVMain::SummaryViewSettings.Column[7] = 555;
    DUVMain::DetailViewSettings.Column[7] = 555;
    DUVMain::SetViewReportDefaults();
    const std::vector<std::int32_t> summary(DUVMain::SummaryViewSettings.Column.begin(),
                                            DUVMain::SummaryViewSettings.Column.end());
    const std::vector<std::int32_t> detail(DUVMain::DetailViewSettings.Column.begin(),
                                           DUVMain::DetailViewSettings.Column.end());
    EXPECT_EQ(summary, (std::vector<std::int32_t>{1000, 1000, 700, 1000, 1000, 1000, 555}));
    EXPECT_EQ(detail, (std::vector<std::int32_t>{1000, 1000, 700, 1000, 1000, 2000, 1000}));
    for (const ReportViewSettings* v :
         {&DUVMain::SummaryViewSettings, &DUVMain::DetailViewSettings}) {
        EXPECT_EQ(v->WinHeight, 5100);
        EXPECT_EQ(v->WinWidth, 6900);
        EXPECT_EQ(v->WinLeft, 100);
        EXPECT_EQ(v->WinTop, 100);
        EXPECT_FLOAT_EQ(v->FontSize, 9.0f);
    }
    EXPECT_TRUE(DUVMain::ReportSaveSettings);
    EXPECT_TRUE(DUVMain::ReportListViewFormat);
    EXPECT_FALSE(DUVMain::ReportAutoArrange);
}

TEST_F(SettingsTest, DayNamesStartOnMondayInTheUsersLanguage) {
    DUVMain::GetDayNames();
    EXPECT_EQ(DUVMain::DayAbbrevs[1], "Mon");
    EXPECT_EQ(DUVMain::DayAbbrevs[7], "Sun");
    EXPECT_EQ(DUVMain::DayNames[3], "Wednesday");
    regional::Install(regional::MakeFixedLocale(regional::kLcidDeDe));
    DUVMain::GetDayNames();
    EXPECT_EQ(DUVMain::DayNames[1], "Montag");
    EXPECT_EQ(DUVMain::DayNames[7], "Sonntag");
}

TEST_F(SettingsTest, MainWindowSizeIsStoredInWholeTwips) {
    DUVMain::SaveMainWinSettings(9000.5, 6001.5);
    EXPECT_EQ(DUVMain::MainWinWidth, 9000);
    EXPECT_EQ(DUVMain::MainWinHeight, 6002);
    EXPECT_EQ(Dw("General", "MainWinWidth"), 9000);
    EXPECT_EQ(Dw("General", "MainWinHeight"), 6002);
    EXPECT_EQ(DUVMain::ErrProcName, "SaveMainWinSettings");
}

TEST_F(SettingsTest, MainWindowSizeIsNotWrittenByTheSettingsStore) {
    DUVMain::MainWinWidth = 7000;
    DUVMain::PreferredModem = 2;
    DUVMain::WriteUserParameters();
    EXPECT_FALSE(Raw("General", "MainWinWidth"));
    EXPECT_FALSE(Raw("General", "PreferredModem"));
    PutDw("General", "PreferredModem", 3);
    PutDw("General", "MainWinHeight", 8000);
    DUVMain::ReadUserParameters();
    EXPECT_EQ(DUVMain::PreferredModem, 3);
    EXPECT_EQ(DUVMain::MainWinHeight, 8000);
}

TEST(OSVersionText, PrefixByPlatformSuffixByBuild) {
    using OSVersion::VersionText;
    EXPECT_EQ(VersionText({1, 950}), "WIN 95");
    EXPECT_EQ(VersionText({1, 951}), "WIN S1");
    EXPECT_EQ(VersionText({1, 1111}), "WIN O2");
    EXPECT_EQ(VersionText({2, 1381}), "NT 40");
    EXPECT_EQ(VersionText({2, 1998}), "NT 98");
    EXPECT_EQ(VersionText({1, 2222}), "WIN XX");
    EXPECT_EQ(VersionText({2, 7601}), "NT XX");
    EXPECT_EQ(VersionText({0, 950}), " 95");
    // Windows 95 reports the version in the high word of the build number.
    EXPECT_EQ(VersionText({1, 0x040003B6u}), "WIN 95");
}

TEST(OSVersionText, AsksTheInstalledQuery) {
    {
        test_support::ScopedSeam<OSVersion::VersionQuery> version(OSVersion::SetVersionQuery, [] {
            return OSVersion::PlatformVersion{1, 1998};
        });
        EXPECT_EQ(OSVersion::GetOSVersion(), "WIN 98");
    }
    EXPECT_EQ(OSVersion::GetOSVersion(), " XX");
}

}  // namespace
