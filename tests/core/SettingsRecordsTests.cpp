// Services, tariffs, holidays, report views and recent files through the registry, value by
// value, and counts that do not fit their tables.
#include "tests/core/SettingsFixture.h"

#include <algorithm>
#include <cmath>

#include "core/Runtime.h"
#include "core/RuntimeError.h"
#include "core/SettingsValues.h"
#include "tests/support/Seams.h"

using namespace settings_test;

namespace {

TariffRecord MakeTariff(int k) {
    TariffRecord t;
    t.Description = "Tariff " + std::to_string(k);
    t.AppliesDays = k == 1 ? "Everyday" : "Mon - Fri";
    t.AppliesTimeStart = runtime::TimeSerial(6 + k, 30, 0);
    t.AppliesTimeEnd = runtime::TimeSerial(18 + k % 5, 15, 0);
    t.DialRate = (5.0 * k) / 100;
    t.PerMinuteRate = (125.0 * k) / 10000;
    t.After = 60 * k;
    t.Unit = "Per Minute";
    t.UnitMins = static_cast<std::int16_t>(k);
    t.UnitSecs = static_cast<std::int16_t>(10 * k);
    return t;
}

ServiceRecord MakeService(int k, int tariffs) {
    ServiceRecord s;
    s.ServiceName = "Service " + std::to_string(k);
    s.ServiceNumber = "0800 55" + std::to_string(k);
    s.ServiceAltNumber = k == 2 ? "" : "0191 22";
    s.DialOption = static_cast<std::int16_t>(k);
    s.DialFixedTariff = 0.25;
    for (int j = 1; j <= tariffs; ++j)
        s.Tariffs[j] = MakeTariff(j + k);
    s.UsedTariffs = static_cast<std::int16_t>(tariffs);
    s.ServiceOption = 2;
    s.ServiceRate = 1.5;
    s.FlexRate = 12.99;
    s.UpToHours = 20;
    s.PenaltyPeriod = "Month";
    s.FlexRate2 = 0.75;
    s.PerMeg = 0.0001;
    s.AfterMeg = 300;
    s.MegPeriod = "Week";
    s.Block = 15;
    s.FreePeriod = true;
    s.FreeStart = runtime::TimeSerial(23, 0, 0);
    s.FreeEnd = runtime::TimeSerial(7, 59, 59);
    s.ShowWarnings = k == 1;
    s.WarningOption = 3;
    s.WarningHours = 12;
    s.WarningMinutes = 45;
    s.WarningDialup = 10;
    s.WarningService = 214748.3647;
    s.WarningData = 2000000 + k;
    s.WarningDisplay = true;
    s.WarningSound = false;
    return s;
}

class SettingsRoundTrip : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        StartUp();
        using namespace DUVMain;
        Services[0] = MakeService(1, 1);
        Services[1] = MakeService(2, 3);
        UsedServices = 2;
        WarningSoundFile = "C:\\DUV\\exceeded.wav";
        UsedHolidays = 2;
        Holidays[1] = runtime::DateSerial(2026, 12, 25);
        Holidays[2] = runtime::DateSerial(2026, 12, 26);
        SummaryViewSettings.WinHeight = 6000;
        SummaryViewSettings.FontSize = 11;
        SummaryViewSettings.Column[5] = 1234;
        DetailViewSettings.WinLeft = 250;
        DetailViewSettings.Column[6] = 4321;
        ForceAMPM = true;
        ViewLogSaveSettings = true;
        ViewLogFontName = "Courier New";
        ViewLogFontBold = true;
        ViewLogWinHeight = 40000;
        NoDisconData = 1;
        CostPerMeg = 0.01;
        WriteUserParameters();
        AddRecentFile("Archive.duv", "C:\\Logs\\", "A");
        AddRecentFile("Report.txt", "C:\\Reports\\", "R");
    }
};

TEST_F(SettingsRoundTrip, StoresServicesUnderTheirNumberedNames) {
    EXPECT_EQ(Sz("Services", "ServiceName1"), "Service 1");
    EXPECT_EQ(Sz("Services", "ServiceName2"), "Service 2");
    EXPECT_EQ(Sz("Services", "ServiceAltNumber2"), "");
    EXPECT_EQ(Dw("Services", "DialOption2"), 2);
    EXPECT_EQ(Dw("Services", "DialFixedTariff1"), 2500);
    EXPECT_EQ(Dw("Services", "UsedTariffs2"), 3);
    EXPECT_EQ(Dw("Services", "Tariff2-1After"), 180);
    EXPECT_EQ(Sz("Services", "Tariff2-3Description"), "Tariff 5");
    EXPECT_EQ(Sz("Services", "Tariff2-1AppliesTimeStart"), "9:30:00 AM");
    EXPECT_EQ(Sz("Services", "Tariff2-1AppliesTimeEnd"), "9:15:00 PM");
    EXPECT_EQ(Dw("Services", "Tariff2-2DialRate"), 2000);
    EXPECT_EQ(Dw("Services", "Tariff2-3PerMinuteRate"), 625);
    EXPECT_EQ(Dw("Services", "Tariff2-3UnitSecs"), 50);
    EXPECT_FALSE(Raw("Services", "Tariff2-4After"));
    EXPECT_FALSE(Raw("Services", "Tariff1-2After"));
    EXPECT_EQ(Dw("Services", "AfterMeg1"), 300);
    EXPECT_EQ(Dw("Services", "PerMeg1"), 1);
    EXPECT_EQ(Dw("Services", "ServiceRate2"), 15000);
    EXPECT_EQ(Dw("Services", "FreePeriod1"), -1);
    EXPECT_EQ(Sz("Services", "FreeStart1"), "11:00:00 PM");
    EXPECT_EQ(Sz("Services", "FreeEnd1"), "7:59:59 AM");
    EXPECT_EQ(Dw("Services", "ShowWarnings2"), 0);
    EXPECT_EQ(Dw("Services", "WarningService1"), 2147483647);
    EXPECT_EQ(Dw("Services", "WarningData2"), 2000002);
    EXPECT_EQ(Sz("Services", "WarningSoundFile3"), "C:\\DUV\\exceeded.wav");

    // The data threshold keeps its written spelling.
    const auto names = Names("Services");
    EXPECT_NE(std::find(names.begin(), names.end(), "Warningdata1"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "WarningData1"), names.end());
}

TEST_F(SettingsRoundTrip, WritesOneServiceInTheStoredOrder) {
    auto names = Names("Services");
    // The first start wrote WarningSoundFile1; the service values follow it.
    ASSERT_GE(names.size(), 2u);
    const std::vector<std::string> first(names.begin() + 1, names.begin() + 1 + 6 + 10 + 22);
    EXPECT_EQ(first, (std::vector<std::string>{"ServiceName1",
                                               "ServiceNumber1",
                                               "ServiceAltNumber1",
                                               "DialOption1",
                                               "DialFixedTariff1",
                                               "UsedTariffs1",
                                               "Tariff1-1After",
                                               "Tariff1-1AppliesDays",
                                               "Tariff1-1AppliesTimeEnd",
                                               "Tariff1-1AppliesTimeStart",
                                               "Tariff1-1Description",
                                               "Tariff1-1DialRate",
                                               "Tariff1-1PerMinuteRate",
                                               "Tariff1-1Unit",
                                               "Tariff1-1UnitMins",
                                               "Tariff1-1UnitSecs",
                                               "ServiceRate1",
                                               "ServiceOption1",
                                               "AfterMeg1",
                                               "PerMeg1",
                                               "MegPeriod1",
                                               "Block1",
                                               "FlexRate1",
                                               "FlexRate21",
                                               "PenaltyPeriod1",
                                               "UpToHours1",
                                               "FreePeriod1",
                                               "FreeStart1",
                                               "FreeEnd1",
                                               "ShowWarnings1",
                                               "WarningOption1",
                                               "WarningHours1",
                                               "WarningMinutes1",
                                               "WarningDialup1",
                                               "WarningService1",
                                               "Warningdata1",
                                               "WarningDisplay1",
                                               "WarningSound1"}));
}

TEST_F(SettingsRoundTrip, StoresHolidaysViewsAndRecentFiles) {
    EXPECT_EQ(Dw("Holidays", "UsedHolidays"), 2);
    EXPECT_EQ(Dw("Holidays", " 1"), 46381);
    EXPECT_EQ(Dw("Holidays", " 2"), 46382);
    EXPECT_EQ(Dw("ViewReport\\SummaryReport", "WinHeight"), 6000);
    EXPECT_EQ(Dw("ViewReport\\SummaryReport", "FontSize"), 11);
    EXPECT_EQ(Dw("ViewReport\\SummaryReport", "Column5"), 1234);
    EXPECT_FALSE(Raw("ViewReport\\SummaryReport", "Column6"));
    EXPECT_EQ(Dw("ViewReport\\DetailReport", "Column6"), 4321);
    EXPECT_FALSE(Raw("ViewReport\\DetailReport", "Column7"));
    EXPECT_EQ(Dw("ViewReport\\DetailReport", "ForceAMPM"), -1);
    EXPECT_EQ(Sz("ViewLog", "SaveSettings"), "True");
    EXPECT_EQ(Sz("ViewLog", "FontName"), "Courier New");
    EXPECT_EQ(Dw("ViewLog", "FontBold"), -1);
    EXPECT_EQ(Dw("ViewLog", "WinHeight"), 40000);
    EXPECT_EQ(Sz("RecentFiles", "RecentFileName1"), "Report.txt");
    EXPECT_EQ(Sz("RecentFiles", "RecentFilePath2"), "C:\\Logs\\");
    EXPECT_EQ(Sz("RecentFiles", "RecentFileType2"), "A");
    EXPECT_EQ(Sz("RecentFiles", "RecentFileName5"), "");
}

TEST_F(SettingsRoundTrip, ReadsBackEveryValue) {
    using namespace DUVMain;
    const ServiceRecord s1 = Services[0], s2 = Services[1];
    ReportViewSettings summary = SummaryViewSettings, detail = DetailViewSettings;
    // Summary column 6 and details column 7 are not stored.
    summary.Column[6] = 0;
    detail.Column[7] = 0;
    const auto holidays = Holidays;
    const auto recent = RecentFiles;
    test_support::ResetCoreState();
    EXPECT_FALSE(StartUp());
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(UsedServices, 2);
    EXPECT_EQ(Services[0], s1);
    EXPECT_EQ(Services[1], s2);
    EXPECT_EQ(Services[2], ServiceRecord{});
    EXPECT_EQ(WarningSoundFile, "C:\\DUV\\exceeded.wav");
    EXPECT_EQ(UsedHolidays, 2);
    EXPECT_EQ(Holidays, holidays);
    EXPECT_EQ(SummaryViewSettings, summary);
    EXPECT_EQ(DetailViewSettings, detail);
    EXPECT_TRUE(ForceAMPM);
    EXPECT_EQ(ViewLogFontName, "Courier New");
    EXPECT_TRUE(ViewLogFontBold);
    EXPECT_EQ(ViewLogWinHeight, 40000);
    EXPECT_EQ(RecentFiles, recent);
}

// Each key is opened once for all its values: a start with forty services opens no more keys
// than one with a single service (each value opened and closed its key: 130 a service).
TEST_F(SettingsTest, StartOpensEachKeyOnceHoweverManyServices) {
    auto startWith = [this](int services) {
        test_support::ResetCoreState();
        StartUp();
        DUVMain::MaxServices = 40;
        DUVMain::Services.ReDim(40);
        for (int i = 0; i < services; ++i)
            DUVMain::Services[i] = MakeService(i + 1, 10);
        DUVMain::UsedServices = static_cast<std::int16_t>(services);
        DUVMain::WriteUserParameters();
        test_support::ResetCoreState();
        const std::size_t before = reg.KeysOpened();
        EXPECT_TRUE(StartUp());  // a NoDisconData of 0 is written back at every start
        EXPECT_EQ(DUVMain::UsedServices, services);
        EXPECT_EQ(DUVMain::Services[services - 1].ServiceName,
                  "Service " + std::to_string(services));
        EXPECT_EQ(DUVMain::Services[services - 1].Tariffs[10].UnitSecs,
                  MakeTariff(10 + services).UnitSecs);
        return reg.KeysOpened() - before;
    };
    const std::size_t one = startWith(1);
    EXPECT_EQ(startWith(40), one);
    EXPECT_LT(one, 60u);
    EXPECT_EQ(reg.OpenHandleCount(), 0u);
    EXPECT_TRUE(errors.empty());
}

// The write-back at start leaves a service whose values are each stored exactly as they
// would be written, and writes the others; the registry ends as the whole write leaves it.
TEST_F(SettingsTest, WriteBackAtStartWritesOnlyServicesStoredOtherwise) {
    StartUp();
    DUVMain::Services.ReDim(10);
    for (int i = 0; i < 3; ++i)
        DUVMain::Services[i] = MakeService(i + 1, 2);
    DUVMain::UsedServices = 3;
    DUVMain::WriteUserParameters();
    PutSz("Services", "FreeStart2", "23:00");  // the same time, not as it is written
    PutSz("Services", "ServiceOption3", "2");  // the same number, as text
    test_support::ResetCoreState();

    const std::size_t before = reg.ValuesSet();
    EXPECT_TRUE(StartUp());  // a NoDisconData of 0 is written back at every start
    const std::size_t writtenBack = reg.ValuesSet() - before;
    const std::vector<std::string> stored = Dump();
    EXPECT_EQ(Sz("Services", "FreeStart2"), "11:00:00 PM");
    EXPECT_EQ(Dw("Services", "ServiceOption3"), 2);

    const std::size_t beforeWhole = reg.ValuesSet();
    DUVMain::WriteUserParameters();
    const std::size_t serviceValues = 3 + 3 + 2 * 10 + 22;
    EXPECT_EQ(writtenBack, reg.ValuesSet() - beforeWhole - serviceValues);
    EXPECT_EQ(Dump(), stored);
    EXPECT_TRUE(errors.empty());
}

// "FlexRate" & 21 is also "FlexRate2" & 1 (and 210 is 2 & 10): each service's two rates still
// have a value of their own, while twenty services store them under the names they always had.
TEST_F(SettingsTest, EveryServiceKeepsItsOwnRatesHoweverManyServices) {
    StartUp();
    // Money is stored in ten-thousandths.
    auto flexi = [](int n) { return 10000 * n + 2500; };
    auto excess = [](int n) { return 10000000 + 10000 * n + 5000; };
    auto writeServices = [&](int services) {
        DUVMain::MaxServices = static_cast<std::int16_t>(services);
        DUVMain::Services.ReDim(services);
        for (int n = 1; n <= services; ++n) {
            DUVMain::Services[n - 1] = MakeService(n, 0);
            DUVMain::Services[n - 1].FlexRate = flexi(n) / 10000.0;
            DUVMain::Services[n - 1].FlexRate2 = excess(n) / 10000.0;
        }
        DUVMain::UsedServices = static_cast<std::int16_t>(services);
        DUVMain::WriteUserParameters();
    };

    writeServices(20);
    for (int n = 1; n <= 20; ++n) {
        EXPECT_EQ(Dw("Services", "FlexRate" + std::to_string(n)), flexi(n)) << n;
        EXPECT_EQ(Dw("Services", "FlexRate2" + std::to_string(n)), excess(n)) << n;
    }
    const std::vector<std::string> twenty = Names("Services");
    EXPECT_EQ(twenty.size(), 1 + 20 * 28 + 1u);  // and the sound file of the first start
    EXPECT_TRUE(std::none_of(twenty.begin(), twenty.end(),
                             [](const std::string& name) { return name.find("Flexi") == 0; }));

    writeServices(220);
    EXPECT_EQ(Names("Services").size(), twenty.size() + 200 * 28 + 1);
    EXPECT_EQ(Dw("Services", "FlexRate21"), excess(1));
    EXPECT_EQ(Dw("Services", "FlexRate210"), excess(10));
    EXPECT_EQ(Dw("Services", "FlexRate20"), flexi(20));
    EXPECT_EQ(Dw("Services", "FlexRate201"), flexi(201));

    test_support::ResetCoreState();
    StartUp();
    ASSERT_EQ(DUVMain::UsedServices, 220);
    for (int n = 1; n <= 220; ++n) {
        EXPECT_DOUBLE_EQ(DUVMain::Services[n - 1].FlexRate, flexi(n) / 10000.0) << n;
        EXPECT_DOUBLE_EQ(DUVMain::Services[n - 1].FlexRate2, excess(n) / 10000.0) << n;
    }
    EXPECT_TRUE(errors.empty());
}

// Written before the two rates had a value each: service 21's flexi rate was stored last in
// "FlexRate21", over service 1's excess rate, which is lost. The store loads, each service
// reads what is stored under its names, and the next write gives service 21 a value of its own.
TEST_F(SettingsTest, StoreWithSharedRateValuesLoadsAndIsThenStoredApart) {
    PutDw("General", "MaxServices", 25);
    PutDw("General", "UsedServices", 25);
    for (int n = 1; n <= 25; ++n) {
        const std::string k = std::to_string(n);
        PutSz("Services", "ServiceName" + k, "Service " + k);
        PutDw("Services", "FlexRate" + k, 100 * n);
        PutDw("Services", "FlexRate2" + k, 100000 + n);
    }
    const std::vector<std::string> before = Dump();

    EXPECT_TRUE(StartUp());  // a NoDisconData of 0 is written back at every start
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(DUVMain::UsedServices, 25);
    for (int n = 1; n <= 25; ++n) {
        EXPECT_DOUBLE_EQ(DUVMain::Services[n - 1].FlexRate, n / 100.0) << n;
        const int storedExcess = n <= 5 ? 100 * (20 + n) : 100000 + n;
        EXPECT_DOUBLE_EQ(DUVMain::Services[n - 1].FlexRate2, storedExcess / 10000.0) << n;
    }
    for (int n = 21; n <= 25; ++n) {
        EXPECT_EQ(Dw("Services", "FlexRate" + std::to_string(n)), 100 * n);
        EXPECT_EQ(Dw("Services", "FlexiRate" + std::to_string(n)), 100 * n);
    }
    const std::vector<std::string> after = Dump();
    for (const std::string& line : before)
        EXPECT_NE(std::find(after.begin(), after.end(), line), after.end()) << line;

    std::vector<ServiceRecord> services;
    for (int i = 0; i < 25; ++i)
        services.push_back(DUVMain::Services[i]);
    test_support::ResetCoreState();
    StartUp();
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(DUVMain::Services[i], services[static_cast<std::size_t>(i)]) << i + 1;
    EXPECT_TRUE(errors.empty());
}

TEST_F(SettingsRoundTrip, TimesOfDayFollowTheRegionalFormat) {
    regional::Install(regional::MakeFixedLocale(regional::kLcidDeDe));
    DUVMain::WriteUserParameters();
    EXPECT_EQ(Sz("Services", "FreeStart1"), "23:00:00");
    EXPECT_EQ(Sz("Services", "Tariff2-1AppliesTimeEnd"), "21:15:00");
    DUVMain::Services[0].FreeStart = 0;
    DUVMain::ReadUserParameters();
    EXPECT_DOUBLE_EQ(DUVMain::Services[0].FreeStart, runtime::TimeSerial(23, 0, 0));
}

TEST_F(SettingsRoundTrip, TimeTextThatIsNoTimeIsReported) {
    PutSz("Services", "FreeEnd2", "late");
    DUVMain::ReadUserParameters();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].number, 13);
    EXPECT_EQ(DUVMain::Services[1].FreeEnd, 0);
    EXPECT_DOUBLE_EQ(DUVMain::Services[1].FreeStart, runtime::TimeSerial(23, 0, 0));
}

TEST_F(SettingsTest, MoneyIsStoredInTenThousandthsRoundedToEven) {
    StartUp();
    DUVMain::DialCost = 0.12345;
    DUVMain::CostPerHour = 1.5;
    DUVMain::WriteUserParameters();
    EXPECT_EQ(Dw("Costs", "DialCost"), 1234);
    EXPECT_EQ(Dw("Costs", "CostPerHour"), 15000);
    DUVMain::ReadUserParameters();
    EXPECT_DOUBLE_EQ(DUVMain::DialCost, 0.1234);
}

TEST_F(SettingsTest, WholeNumbersAreStoredRoundedToEven) {
    StartUp();
    DUVMain::Services[0].AfterMeg = 2.5;
    DUVMain::Services[0].UsedTariffs = 0;
    DUVMain::UsedServices = 1;
    DUVMain::NoDisconDuration = 3.5;
    DUVMain::UserStartDate = 46000.75;
    DUVMain::WriteUserParameters();
    EXPECT_EQ(Dw("Services", "AfterMeg1"), 2);
    EXPECT_EQ(Dw("General", "NoDisconDuration"), 4);
    EXPECT_EQ(Dw("General", "UserStartDate"), 46001);
}

TEST_F(SettingsTest, KeywordsAreStoredInUpperCaseAndChangedInMemory) {
    StartUp();
    DUVMain::ModemReads = "reads";
    DUVMain::ModemDial = "recv: atdt";
    DUVMain::WriteUserParameters();
    EXPECT_EQ(DUVMain::ModemReads, "READS");
    EXPECT_EQ(Sz("Modem", "ModemReads"), "READS");
    EXPECT_EQ(Sz("Modem", "ModemDial"), "RECV: ATDT");
}

TEST_F(SettingsTest, UnsavedViewSettingsAreLeftAloneButForceAmPmIsWritten) {
    StartUp();
    PutDw("ViewReport", "SaveSettings", 0);
    DUVMain::ReadUserParameters();
    EXPECT_FALSE(DUVMain::ReportSaveSettings);
    const auto summaryBefore = Names("ViewReport\\SummaryReport");
    DUVMain::SummaryViewSettings.WinHeight = 1;
    DUVMain::ViewLogFontName = "Arial";
    DUVMain::ForceAMPM = true;
    DUVMain::WriteUserParameters();
    EXPECT_EQ(Dw("ViewReport", "SaveSettings"), 0);
    EXPECT_EQ(Dw("ViewReport\\SummaryReport", "WinHeight"), 5100);
    EXPECT_EQ(Names("ViewLog"), std::vector<std::string>{});
    EXPECT_EQ(Dw("ViewReport\\DetailReport", "ForceAMPM"), -1);
}

TEST_F(SettingsTest, ExtraValuesBeyondTheCountsAreNeitherReadNorDeleted) {
    StartUp();
    PutSz("Services", "ServiceName1", "Old");
    PutDw("Holidays", " 1", 40000);
    StartUp();
    EXPECT_EQ(DUVMain::Services[0].ServiceName, "");
    EXPECT_EQ(DUVMain::Holidays[1], 0);
    DUVMain::WriteUserParameters();
    EXPECT_EQ(Sz("Services", "ServiceName1"), "Old");
}

// ---- counts that do not fit their tables ----

class OversizedCounts : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        StartUp();
        errors.clear();
    }
};

TEST_F(OversizedCounts, TooManyServicesAreClampedToTheTable) {
    PutDw("General", "MaxServices", 3);
    PutDw("General", "UsedServices", 50);
    PutSz("Services", "ServiceName4", "Fourth");
    DUVMain::ReadUserParameters();
    EXPECT_EQ(errors, (std::vector<ReportedError>{{9, "Read Services"}}));
    EXPECT_EQ(DUVMain::UsedServices, 4);
    EXPECT_EQ(DUVMain::Services.UBound(), 3);
    EXPECT_EQ(DUVMain::Services[3].ServiceName, "Fourth");
}

TEST_F(OversizedCounts, TooManyTariffsAreClampedToTen) {
    PutDw("General", "UsedServices", 1);
    PutDw("Services", "UsedTariffs1", 12);
    PutSz("Services", "Tariff1-10Description", "Tenth");
    PutSz("Services", "Tariff1-11Description", "Eleventh");
    DUVMain::ReadUserParameters();
    EXPECT_EQ(errors, (std::vector<ReportedError>{{9, "Read Tariffs"}}));
    EXPECT_EQ(DUVMain::Services[0].UsedTariffs, 10);
    EXPECT_EQ(DUVMain::Services[0].Tariffs[10].Description, "Tenth");
}

TEST_F(OversizedCounts, TooManyHolidaysAreClampedToAHundred) {
    PutDw("Holidays", "UsedHolidays", 150);
    PutDw("Holidays", " 100", 46000);
    answer = runtime::kActionRetry;  // the retry finds the count in range
    DUVMain::ReadUserParameters();
    EXPECT_EQ(errors, (std::vector<ReportedError>{{9, "Read Holidays"}}));
    EXPECT_EQ(DUVMain::UsedHolidays, 100);
    EXPECT_EQ(DUVMain::Holidays[100], 46000);
}

TEST_F(OversizedCounts, NegativeCountsBecomeZero) {
    PutDw("General", "UsedServices", -2);
    PutDw("Holidays", "UsedHolidays", -1);
    DUVMain::ReadUserParameters();
    EXPECT_EQ(errors, (std::vector<ReportedError>{{9, "Read Services"}, {9, "Read Holidays"}}));
    EXPECT_EQ(DUVMain::UsedServices, 0);
    EXPECT_EQ(DUVMain::UsedHolidays, 0);
}

TEST_F(OversizedCounts, NegativeTableSizesGetTheirDefaultsAndAreWrittenBack) {
    PutDw("General", "MaxServices", -4);
    PutDw("General", "MaxConnections", -200);
    EXPECT_TRUE(StartUp());
    EXPECT_EQ(errors, (std::vector<ReportedError>{{9, "Read General"}, {9, "Read General"}}));
    EXPECT_EQ(DUVMain::MaxServices, 10);
    EXPECT_EQ(DUVMain::Services.UBound(), 10);
    EXPECT_EQ(DUVMain::MaxConnections, 200);
    EXPECT_EQ(Dw("General", "MaxServices"), 10);
    EXPECT_EQ(Dw("General", "MaxConnections"), 200);
}

TEST_F(OversizedCounts, WriterClampsCountsThatOutgrewTheirTables) {
    DUVMain::UsedServices = 1;
    DUVMain::Services[0].UsedTariffs = 11;
    DUVMain::UsedHolidays = 101;
    DUVMain::WriteUserParameters();
    EXPECT_EQ(errors, (std::vector<ReportedError>{{9, "Write Dial Costs"}, {9, "Write Holidays"}}));
    EXPECT_EQ(Dw("Services", "UsedTariffs1"), 10);
    EXPECT_EQ(Dw("Holidays", "UsedHolidays"), 100);
}

TEST_F(OversizedCounts, NumbersStoredAsTextBeyondThirtyTwoBitsAreRefusedWhenRead) {
    // Such a value would stop the next write half-way, after the values before it.
    const double dialCost = DUVMain::DialCost;
    PutSz("Costs", "DialCost", "99999999999");
    PutDw("General", "UsedServices", 1);
    PutSz("Services", "AfterMeg1", "1e12");
    PutSz("Services", "PerMeg1", "-3000000000");
    DUVMain::ReadUserParameters();
    EXPECT_EQ(errors.size(), 3u);
    for (const ReportedError& e : errors)
        EXPECT_EQ(e.number, 6);
    EXPECT_EQ(DUVMain::DialCost, dialCost);
    EXPECT_EQ(DUVMain::Services[0].AfterMeg, 0);
    EXPECT_EQ(DUVMain::Services[0].PerMeg, 0);
    errors.clear();
    DUVMain::WriteUserParameters();
    EXPECT_TRUE(errors.empty());
    EXPECT_EQ(Dw("Costs", "DialCost"), std::lround(dialCost * 10000));
}

TEST_F(OversizedCounts, CountTooLargeForSixteenBitsIsAnOverflow) {
    PutDw("Holidays", "UsedHolidays", 70000);
    DUVMain::UsedHolidays = 3;
    DUVMain::ReadUserParameters();
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].number, 6);
    EXPECT_EQ(DUVMain::UsedHolidays, 3);
}

}  // namespace

namespace {

int TimeError(const char* text) {
    try {
        settings_values::ParseTimeOfDay(text);
    } catch (const runtime::RuntimeError& e) {
        return e.number;
    }
    return 0;
}

TEST(StoredTimeText, ReadsTheFormsARegionalTimeTakes) {
    using settings_values::ParseTimeOfDay;
    EXPECT_DOUBLE_EQ(ParseTimeOfDay("12:00:00 AM"), 0);
    EXPECT_DOUBLE_EQ(ParseTimeOfDay("12:00:00 PM"), 0.5);
    EXPECT_DOUBLE_EQ(ParseTimeOfDay(" 6:30 pm "), runtime::TimeSerial(18, 30, 0));
    EXPECT_DOUBLE_EQ(ParseTimeOfDay("18:30"), runtime::TimeSerial(18, 30, 0));
    EXPECT_DOUBLE_EQ(ParseTimeOfDay("7:59:59"), runtime::TimeSerial(7, 59, 59));
    // Written under another regional format.
    test_support::ScopedSeam german(regional::Install,
                                    regional::MakeFixedLocale(regional::kLcidDeDe));
    EXPECT_DOUBLE_EQ(ParseTimeOfDay("11:00:00 PM"), runtime::TimeSerial(23, 0, 0));
}

TEST(StoredTimeText, TextThatIsNoTimeIsATypeMismatch) {
    EXPECT_EQ(TimeError("25:00"), 13);
    EXPECT_EQ(TimeError("13:00 PM"), 13);
    EXPECT_EQ(TimeError("6:61"), 13);
    EXPECT_EQ(TimeError(""), 13);
    EXPECT_EQ(TimeError("noon"), 13);
}

}  // namespace
