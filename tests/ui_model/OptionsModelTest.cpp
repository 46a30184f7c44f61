#include "ui/options/OptionsModel.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/CurrencyFormat.h"
#include "core/GeneralFunctions.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"
#include "core/MessageBox.h"
#include "tests/core/SettingsFixture.h"
#include "tests/support/Seams.h"

using namespace OptionsModel;
using runtime::DateSerial;

namespace {

const Date kToday = DateSerial(2027, 1, 15);

class OptionsTest : public settings_test::SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        UseLocale(regional::kLcidEnUs);
        DUVMain::MaxServices = 10;
        DUVMain::Services.ReDim(10);
        DUVMain::ShowErrors = true;
        DUVMain::NoDisconDuration = 900;
        DUVMain::UserStartPref = "Start of Week";
        DUVMain::UserStartDate = DateSerial(2026, 12, 1);
    }
    void TearDown() override {
        GeneralFunctions::InstallFileProbe({});
        SettingsTest::TearDown();
    }
    static void UseLocale(regional::LCID lcid) {
        regional::Install(regional::MakeFixedLocale(lcid));
        CurrencyFormat::GetCurrencySymbolInfo();
        GeneralFunctions::GetDateFormatMask();
        DUVMain::GetDayNames();
    }
    static ServiceRecord Service(const std::string& name, const std::string& number,
                                 int tariffs = 0) {
        ServiceRecord s;
        s.ServiceName = name;
        s.ServiceNumber = number;
        s.UsedTariffs = static_cast<std::int16_t>(tariffs);
        for (int j = 1; j <= tariffs; ++j)
            s.Tariffs[j].Description = name + " tariff " + std::to_string(j);
        s.WarningData = static_cast<std::int32_t>(number.size());
        return s;
    }
    static void Define(const std::vector<ServiceRecord>& services) {
        for (std::size_t i = 0; i < services.size(); ++i)
            DUVMain::Services[static_cast<int>(i)] = services[i];
        DUVMain::UsedServices = static_cast<std::int16_t>(services.size());
    }
    ScriptedMessages messages;
    Session session;
};

TEST_F(OptionsTest, CancelPutsBackEverySettingAndServiceIncludingWhatLoadingChanged) {
    Define({Service("A", "1", 2), Service("B", "2", 3)});
    DUVMain::ShowErrors = false;  // loading then sets the assumed data to 0
    DUVMain::NoDisconData = 1234;
    DUVMain::UserStartPref.clear();
    DUVMain::UserStartDate = 0;
    DUVMain::UserStartOfWeek = 9;
    DUVMain::LastEntryDate = DateSerial(2027, 1, 10);
    DUVMain::UsedHolidays = 1;
    DUVMain::Holidays[1] = DateSerial(2027, 3, 1);
    const auto before = Dump();

    session.Load(kToday);
    EXPECT_EQ(DUVMain::NoDisconData, 0);
    EXPECT_EQ(DUVMain::UserStartPref, "Last Log Entry");
    EXPECT_EQ(DUVMain::UserStartDate, DateSerial(2027, 1, 10));
    EXPECT_EQ(DUVMain::UserStartOfWeek, 0) << "an index beyond the list counts as 0";

    EXPECT_EQ(AcceptMaxServices("20"), MaxServicesCheck::Accepted);
    DUVMain::MaxConnections = *LimitValue16("77");
    AcceptKeyword(KeywordBoxes()[0], "dial");
    ASSERT_TRUE(DeleteSelectedService(1));
    DUVMain::Services[0].ServiceName = "edited";
    DUVMain::FlatToolbars = true;
    DUVMain::WarningSoundFile = "other.wav";
    session.Holidays.Add(DateSerial(2027, 2, 1), kToday);
    session.Unload();

    EXPECT_EQ(DUVMain::MaxServices, 10);
    EXPECT_EQ(DUVMain::MaxConnections, 0);
    EXPECT_EQ(DUVMain::ModemDial, "");
    EXPECT_EQ(DUVMain::NoDisconData, 1234);
    EXPECT_EQ(DUVMain::UserStartPref, "");
    EXPECT_EQ(DUVMain::UserStartDate, 0);
    EXPECT_EQ(DUVMain::UserStartOfWeek, 9);
    EXPECT_FALSE(DUVMain::FlatToolbars);
    EXPECT_EQ(DUVMain::WarningSoundFile, "");
    ASSERT_EQ(DUVMain::UsedServices, 2);
    EXPECT_EQ(DUVMain::Services[0], Service("A", "1", 2));
    EXPECT_EQ(DUVMain::Services[1], Service("B", "2", 3));
    EXPECT_EQ(DUVMain::UsedHolidays, 1);
    EXPECT_FALSE(DUVMain::DisplaySettingsChanged);
    EXPECT_EQ(DUVMain::TimeFormat, "Long Time");
    EXPECT_EQ(Dump(), before) << "cancel writes nothing";
    EXPECT_TRUE(messages.Calls().empty());
}

// One setting the window edits in place, and the value a user gives it while the window is
// open.
struct Edit {
    const char* name;
    std::function<void()> change;
    std::function<std::string()> value;
};

template <class T, class V>
Edit Set(const char* name, T& setting, V newValue) {
    return {name, [&setting, newValue] { setting = static_cast<T>(newValue); },
            [&setting] { return ::testing::PrintToString(setting); }};
}

// Every setting of the snapshot changed while the window is open: Cancel puts back each one.
TEST_F(OptionsTest, CancelPutsBackEachSettingTheWindowEdits) {
    using namespace DUVMain;
    Define({Service("A", "1", 2), Service("B", "2", 3)});
    ModemLogDir = "C:\\windows\\";
    ModemLogFile = "ModemLog.txt";
    const std::vector<Edit> edits = {
        Set("ModemLogFile", ModemLogFile, "Other.txt"),
        Set("ModemLogDir", ModemLogDir, "D:\\logs\\"),
        Set("MaxServices", MaxServices, 20),
        Set("UsedServices", UsedServices, 1),
        Set("MaxConnections", MaxConnections, 77),
        Set("MaxConnectDays", MaxConnectDays, 9),
        Set("MaxLogSize", MaxLogSize, 4096),
        Set("EditLog", EditLog, !EditLog),
        Set("ShowErrors", ShowErrors, !ShowErrors),
        Set("ShowToolbars", ShowToolbars, !ShowToolbars),
        Set("FlatToolbars", FlatToolbars, !FlatToolbars),
        Set("ShowGraphic", ShowGraphic, !ShowGraphic),
        Set("AutoOptimize", AutoOptimize, !AutoOptimize),
        Set("Tips", Tips, !Tips),
        Set("ModemCheck", ModemCheck, !ModemCheck),
        Set("ModemDial", ModemDial, "DIAL"),
        Set("ModemAnswer", ModemAnswer, "ANSWER"),
        Set("ModemConnect", ModemConnect, "CONNECT"),
        Set("ModemUserDisconnect", ModemUserDisconnect, "USER"),
        Set("ModemHostDisconnect", ModemHostDisconnect, "HOST"),
        Set("ModemReads", ModemReads, "IN"),
        Set("ModemWrites", ModemWrites, "OUT"),
        Set("NoDisconDuration", NoDisconDuration, 5400),
        Set("NoDisconData", NoDisconData, 2048),
        Set("CalcCosts", CalcCosts, !CalcCosts),
        Set("DialCost", DialCost, 0.25),
        Set("CostPerHour", CostPerHour, 1.5),
        Set("CostPerMeg", CostPerMeg, 0.75),
        Set("UserStartPref", UserStartPref, "User Defined"),
        Set("UserStartDate", UserStartDate, DateSerial(2027, 2, 2)),
        Set("UserStartOfWeek", UserStartOfWeek, 3),
        Set("UserStartOfMonth", UserStartOfMonth, 4),
        Set("UserReportPref", UserReportPref, 1),
        Set("WarningSoundFile", WarningSoundFile, "C:\\alarm.wav"),
        Set("ForceAMPM", ForceAMPM, !ForceAMPM),
    };
    std::vector<std::string> before;
    for (const Edit& e : edits)
        before.push_back(e.value());

    session.Load(kToday);
    for (std::size_t i = 0; i < edits.size(); ++i) {
        edits[i].change();
        ASSERT_NE(edits[i].value(), before[i]) << edits[i].name << ": the edit changes nothing";
    }
    session.Unload();

    for (std::size_t i = 0; i < edits.size(); ++i)
        EXPECT_EQ(edits[i].value(), before[i]) << edits[i].name << " is not put back";
    ASSERT_EQ(UsedServices, 2);
    EXPECT_EQ(Services[1], Service("B", "2", 3));
}

TEST_F(OptionsTest, OkWritesTheSettingsTheHolidaysAndTheFlagsForTheMainWindow) {
    DUVMain::ModemLogDir = "C:\\windows\\";
    DUVMain::ModemLogFile = "ModemLog.txt";
    DUVMain::UserStartDate = 0;
    DUVMain::UsedHolidays = 2;
    DUVMain::Holidays[1] = DateSerial(2026, 12, 25);  // before today: dropped
    DUVMain::Holidays[2] = DateSerial(2027, 4, 2);
    session.Load(kToday);
    DUVMain::MaxConnections = *LimitValue16("350");
    DUVMain::ModemLogFile = "Other.txt";
    DUVMain::ForceAMPM = true;
    session.Holidays.Add(DateSerial(2027, 3, 17), kToday);
    session.RegionalDialogOpened = true;
    DUVMain::LogCorrupt = DUVMain::LogInvalid = true;
    session.Save();
    session.Unload();

    EXPECT_EQ(Dw("General", "MaxConnections"), 350);
    EXPECT_EQ(Sz("General", "ModemLogFile"), "Other.txt");
    EXPECT_EQ(Dw("General", "UserStartDate"), static_cast<std::int32_t>(kToday));
    EXPECT_EQ(Dw("Holidays", "UsedHolidays"), 2);
    EXPECT_EQ(Dw("Holidays", " 1"), static_cast<std::int32_t>(DateSerial(2027, 3, 17)));
    EXPECT_EQ(Dw("Holidays", " 2"), static_cast<std::int32_t>(DateSerial(2027, 4, 2)));
    EXPECT_TRUE(DUVMain::LogFileChanged);
    EXPECT_FALSE(DUVMain::LogCorrupt || DUVMain::LogInvalid) << "the new log is checked afresh";
    EXPECT_TRUE(DUVMain::DisplaySettingsChanged) << "the filled-in start date counts";
    EXPECT_EQ(DUVMain::TimeFormat, "h:mm:ss AMPM");
    ASSERT_EQ(messages.Calls().size(), 1u);
    EXPECT_EQ(messages.Calls()[0].title, "Windows Regional Settings");
    EXPECT_EQ(
        messages.Calls()[0].text,
        "DUV has detected that you opened the \nWindows Regional Settings Dialog.\n\nIf you have "
        "made any "
        "adjustments to your\nSystems Regional Settings then you\nMUST exit and re-start DUV.");
}

TEST_F(OptionsTest, LimitBoxesRoundHalvesToEvenAndRefuseWhatIsNoCount) {
    EXPECT_EQ(LimitValue16("2.5"), 2);
    EXPECT_EQ(LimitValue16("3.5"), 4);
    EXPECT_EQ(LimitValue16("1,000"), 1000);
    EXPECT_EQ(LimitValue16("abc"), std::nullopt);
    EXPECT_EQ(LimitValue16("-5"), std::nullopt);
    EXPECT_EQ(LimitValue16("40000"), std::nullopt);
    EXPECT_EQ(LimitValue32("40000"), 40000);
    EXPECT_EQ(LimitValue32("3000000000"), std::nullopt);

    Define({Service("A", "1"), Service("B", "2"), Service("C", "3")});
    EXPECT_EQ(AcceptMaxServices("2"), MaxServicesCheck::BelowUsed);
    ASSERT_EQ(messages.Calls().size(), 1u);
    EXPECT_EQ(messages.Calls()[0].text,
              "You are currently using more services than this.\nPlease reduce the number of "
              "defined services and "
              "try again!");
    EXPECT_EQ(DUVMain::MaxServices, 10);
    // Raising the maximum grows the table and keeps what it holds.
    EXPECT_EQ(AcceptMaxServices("40"), MaxServicesCheck::Accepted);
    EXPECT_EQ(DUVMain::Services.UBound(), 40);
    EXPECT_EQ(DUVMain::Services[2], Service("C", "3"));
}

TEST_F(OptionsTest, LimitsOfZeroAndEmptyKeywordsAreRefusedAsNoneTheProgramCanUse) {
    // The three limits: 0 (also as a rounded 0.4) is refused like a letter, 1 is the least.
    EXPECT_EQ(LimitValue16("0"), std::nullopt);
    EXPECT_EQ(LimitValue16("0.4"), std::nullopt);
    EXPECT_EQ(LimitValue16("1"), 1);
    EXPECT_EQ(LimitValue32("0"), std::nullopt);
    EXPECT_EQ(LimitValue32("1"), 1);
    // The service maximum takes 0 while no service is defined.
    EXPECT_EQ(AcceptMaxServices("0"), MaxServicesCheck::Accepted);
    EXPECT_EQ(DUVMain::MaxServices, 0);
    // Every keyword box refuses an empty or blank text and keeps its setting.
    for (const KeywordBox& box : KeywordBoxes()) {
        *box.Setting = "KEPT";
        EXPECT_FALSE(AcceptKeyword(box, "")) << box.Name;
        EXPECT_FALSE(AcceptKeyword(box, "  ")) << box.Name;
        EXPECT_EQ(*box.Setting, "KEPT") << box.Name;
    }
}

TEST_F(OptionsTest, LogBoxTakesAnExistingFileCutAtItsLastBackslash) {
    GeneralFunctions::InstallFileProbe(
        [](const std::string& p) { return p == "C:\\Modem\\Modem"; });
    DUVMain::ModemLogDir = "C:\\windows\\";
    DUVMain::ModemLogFile = "ModemLog.txt";
    EXPECT_FALSE(AcceptLogName("C:\\missing.txt"));
    EXPECT_EQ(DUVMain::ModemLogFile, "ModemLog.txt");
    EXPECT_TRUE(AcceptLogName("C:\\Modem\\Modem"));
    EXPECT_EQ(DUVMain::ModemLogDir, "C:\\Modem\\");
    EXPECT_EQ(DUVMain::ModemLogFile, "Modem");
    EXPECT_EQ(LogNameToolTip(DUVMain::ModemLogDir, DUVMain::ModemLogFile), " C:\\Modem\\Modem ");
}

TEST_F(OptionsTest, KeywordsAreUpperCasedAndRestoredFromTheProgramDefaults) {
    EXPECT_TRUE(AcceptKeyword(KeywordBoxes()[5], "reads"));
    EXPECT_EQ(DUVMain::ModemReads, "READS");
    for (const KeywordBox& box : KeywordBoxes())
        *box.Setting = "x";
    DUVMain::MaxConnections = 5;
    RestoreDefaultKeywords();
    EXPECT_EQ(DUVMain::ModemDial, "RECV: ATD");
    EXPECT_EQ(DUVMain::ModemAnswer, "ANSWERING");
    EXPECT_EQ(DUVMain::ModemConnect, "CONNECTION ESTABLISHED");
    EXPECT_EQ(DUVMain::ModemUserDisconnect, "HANGING UP THE MODEM");
    EXPECT_EQ(DUVMain::ModemHostDisconnect, "REMOTE MODEM HUNG UP");
    EXPECT_EQ(DUVMain::ModemReads, "READS");
    EXPECT_EQ(DUVMain::ModemWrites, "WRITES");
    EXPECT_EQ(DUVMain::MaxConnections, 5) << "nothing else is reset";
}

TEST_F(OptionsTest, CostDurationAndDataBoxes) {
    double cost = 7;
    EXPECT_EQ(AcceptCost("1.5", cost).Shown, "1.50");
    EXPECT_EQ(cost, 1.5);
    EXPECT_EQ(AcceptCost("0.12345", cost).Shown, "0.1235");
    EXPECT_EQ(AcceptCost("x", cost).Shown, std::nullopt);
    EXPECT_EQ(cost, 0.12345);

    EXPECT_EQ(DurationMask(), "##:##:##");
    EXPECT_EQ(DurationSeconds("01:30:00"), 5400);
    EXPECT_EQ(DurationSeconds("00:15:00"), 900);
    EXPECT_EQ(DurationSeconds("99:59:59"), 359999);
    EXPECT_EQ(DurationSeconds("99:59:60"), std::nullopt);
    EXPECT_EQ(DurationSeconds("99:99:99"), std::nullopt);
    EXPECT_EQ(DurationSeconds("0a:00:00"), std::nullopt);
    EXPECT_FALSE(DurationTextValid("__:__:__"));
    DUVMain::NoDisconDuration = 362439;  // 99:99:99 put into the registry by hand
    EXPECT_EQ(ShowErrorsBoxes().Duration, "99:59:59");
    EXPECT_FALSE(DurationTextValid(""));

    // Every group separator goes, not only the first.
    EXPECT_EQ(AcceptNoDisconData("1,234,567").Shown, "1,234,567");
    EXPECT_EQ(DUVMain::NoDisconData, 1234567);
    const DataEntry bad = AcceptNoDisconData("lots");
    EXPECT_TRUE(bad.Refused);
    EXPECT_EQ(bad.Shown, "0");
    EXPECT_EQ(DUVMain::NoDisconData, 0);

    UseLocale(regional::kLcidDeDe);
    EXPECT_EQ(AcceptCost("1,5", cost).Shown, "1,50");
    EXPECT_EQ(AcceptNoDisconData("1.234.567").Shown, "1.234.567");
    EXPECT_EQ(DUVMain::NoDisconData, 1234567);
}

TEST_F(OptionsTest, CostAndDataBoxesRefuseWhatTheStoreCannotHold) {
    // Money is stored in 32-bit ten-thousandths; the analysis counts the assumed data in
    // bytes, 32 bits.
    double cost = 2.5;
    for (const char* text : {"214748.3648", "1e10", "-214748.3649"}) {
        const CostEntry e = AcceptCost(text, cost);
        EXPECT_TRUE(e.Refused) << text;
        EXPECT_EQ(e.Shown, "2.50") << text << ": the old amount back";
        EXPECT_EQ(cost, 2.5) << text;
    }
    for (const char* text : {"1e999", "", "abc"}) {
        EXPECT_EQ(AcceptCost(text, cost).Shown, std::nullopt) << text;
        EXPECT_EQ(cost, 2.5);
    }
    EXPECT_EQ(AcceptCost("214,748.3647", cost).Shown, "214,748.3647");
    EXPECT_EQ(AcceptCost("-214748.3648", cost).Shown, "-214,748.3648");
    EXPECT_EQ(AcceptCost("-5", cost).Shown, "-5.00");

    EXPECT_EQ(AcceptNoDisconData("2,097,151").Shown, "2,097,151");
    EXPECT_EQ(DUVMain::NoDisconData, 2097151);
    for (const char* text : {"2097152", "1e999", "-1", "5000000000"}) {
        const DataEntry e = AcceptNoDisconData(text);
        EXPECT_TRUE(e.Refused) << text;
        EXPECT_EQ(e.Shown, "0") << text;
    }
}

TEST_F(OptionsTest, HolidaysStayInOrderWithinTheLimitAndFromTodayOn) {
    HolidayList& h = session.Holidays;
    h.Load(kToday);
    EXPECT_EQ(h.Add(kToday - 1, kToday).outcome, HolidayList::Outcome::Past);
    EXPECT_EQ(h.Add(kToday + 10, kToday).line, 0);
    EXPECT_EQ(h.Add(kToday + 30, kToday).line, 1);
    const auto between = h.Add(kToday + 20.75, kToday);  // the time of day does not count
    EXPECT_EQ(between.outcome, HolidayList::Outcome::Added);
    EXPECT_TRUE(between.refill);
    EXPECT_EQ(between.line, 1);
    const auto again = h.Add(kToday + 20, kToday);
    EXPECT_EQ(again.outcome, HolidayList::Outcome::Listed);
    EXPECT_EQ(again.line, 1);
    EXPECT_EQ(h.Dates(), (std::vector<Date>{kToday + 10, kToday + 20, kToday + 30}));
    EXPECT_EQ(h.CountText(), "3 Holidays (Max 100)");

    EXPECT_EQ(h.Remove(1), 1);
    EXPECT_EQ(h.Remove(1), 0) << "the last line removed selects the one before";
    EXPECT_EQ(h.Remove(0), -1);
    EXPECT_EQ(h.Remove(0), std::nullopt);

    for (int i = 0; i < 100; ++i)
        h.Add(kToday + i, kToday);
    EXPECT_EQ(h.Add(kToday + 200, kToday).outcome, HolidayList::Outcome::Full);
    EXPECT_EQ(h.CountText(), "100 Holidays (Max 100)");
}

TEST_F(OptionsTest, StartRulesEnableOnlyTheirOwnBox) {
    EXPECT_TRUE(EnableStartDateControls("Start of Month").MonthStart);
    EXPECT_FALSE(EnableStartDateControls("Start of Month").WeekStart);
    EXPECT_TRUE(EnableStartDateControls("User Defined").UserDate);
    EXPECT_FALSE(EnableStartDateControls("User Defined").MonthStart);
    const StartDateControls none = EnableStartDateControls("Last Log Entry");
    EXPECT_FALSE(none.WeekStart || none.MonthStart || none.UserDate);
    EXPECT_EQ(MonthStartItems().front(), "First Day");
    EXPECT_EQ(MonthStartItems()[7], "Sunday");
    SetMonthStart("Tuesday");
    EXPECT_EQ(DUVMain::UserStartOfMonth, 2);
    SetMonthStart("First Day");
    EXPECT_EQ(DUVMain::UserStartOfMonth, 0);
    SetWeekStart("Sunday");
    EXPECT_EQ(DUVMain::UserStartOfWeek, 6);
    EXPECT_FALSE(AcceptUserDate("13/45/2027"));
    EXPECT_TRUE(AcceptUserDate("02/03/2027"));
    EXPECT_EQ(DUVMain::UserStartDate, DateSerial(2027, 2, 3));
    EXPECT_EQ(UserDateText(), "02/03/2027");
}

TEST_F(OptionsTest, DeletingMovesWholeRecordsUpAndNeedsASelectedRow) {
    Define({Service("A", "1", 1), Service("B", "2", 2), Service("C", "3", 3), Service("D", "4", 4),
            Service("E", "5", 5)});
    EXPECT_EQ(DeleteSelectedService(0), std::nullopt);
    EXPECT_EQ(DeleteSelectedService(6), std::nullopt);
    EXPECT_EQ(DeleteSelectedService(3), 2);
    ASSERT_EQ(DUVMain::UsedServices, 4);
    EXPECT_EQ(DUVMain::Services[2], Service("D", "4", 4));
    EXPECT_EQ(DUVMain::Services[3], Service("E", "5", 5));
    EXPECT_EQ(DeleteSelectedService(1), 1);
    EXPECT_EQ(DUVMain::Services[0], Service("B", "2", 2));
    EXPECT_EQ(ServicesUsedText(), "3 Used");
    EXPECT_EQ(ServicesMaxText(), "(Max 10)");
    EXPECT_FALSE(ServiceTableFull());
    Define({});
    EXPECT_EQ(DeleteSelectedService(1), std::nullopt);
}

TEST_F(OptionsTest, NumbersMatchTrimmedAndNamesCountOnFromTheHighest) {
    ServiceRecord alt = Service("Dialled Service # 4", " 555 ");
    alt.ServiceAltNumber = "0800 ";
    Define({Service("Dialled Service # 1", "111"), alt, Service("Dialled Service #99999", "9")});
    EXPECT_TRUE(ServiceNumberExists("555"));
    EXPECT_TRUE(ServiceNumberExists("0800"));
    EXPECT_FALSE(ServiceNumberExists(" 111"));
    EXPECT_EQ(MakeUniqueServiceName("Dialled Service #"), "Dialled Service # 5");
    Define({});
    EXPECT_EQ(MakeUniqueServiceName("Dialled Service #"), "Dialled Service # 1");
}

TEST(OptionsKeys, CtrlTabCyclesTheTabsAndDeleteActsOnlyOnTheServicesTab) {
    EXPECT_EQ(NextTab(1), 2);
    EXPECT_EQ(NextTab(8), 1);
    EXPECT_EQ(KeyDownAction(9, 2, 8), KeyAction::NextTab);
    EXPECT_EQ(KeyDownAction(9, 3, 8), KeyAction::None) << "Ctrl+Shift+Tab";
    EXPECT_EQ(KeyDownAction(46, 1, 3), KeyAction::DeleteService);
    EXPECT_EQ(KeyDownAction(46, 0, 7), KeyAction::None);
}

class ScanTest : public OptionsTest {
protected:
    void SetUp() override {
        OptionsTest::SetUp();
        DUVMain::ModemDial = "RECV: ATD";
        dir_ = std::filesystem::temp_directory_path() /
               ("duv_scan_" + std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir_);
        OptionsTest::TearDown();
    }
    std::string Log(const std::string& text) {
        const auto path = (dir_ / "ModemLog.txt").string();
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static std::string Line(const std::string& message) {
        return "01-15-2027 10:00:00.00 - " + message + "\r\n";
    }

    std::filesystem::path dir_;
    std::vector<int> progress_;
    std::vector<int> added_;
    ScanWindow Callbacks() {
        ScanWindow window;
        window.Progress.Set = [this](int p) { progress_.push_back(p); };
        window.ServiceAdded = [this](int i) { added_.push_back(i); };
        return window;
    }
    // Lets events run during a scan by calling run.
    static test_support::ScopedSeam<UserFeedback> EventsRun(std::function<void()> run) {
        UserFeedback feedback;
        feedback.LetEventsRun = std::move(run);
        return {SetUserFeedback, std::move(feedback)};
    }
};

TEST_F(ScanTest, CollectsEachNewDialledNumberOnceIntoFreshRecords) {
    ServiceRecord known = Service("Known", " 0111 ");
    known.ServiceAltNumber = "0222";
    Define({known, Service("Stale", "999", 3)});
    DeleteSelectedService(2);  // leaves a stale record beyond the used one
    const std::string path =
        Log(Line("Recv: ATDT0123456789<cr>") + Line("RECV: ATDT0111<cr>") +
            Line("RECV: ATDT0222<cr>") + Line("RECV: ATDT01 23<cr>") + Line("RECV: ATDTabc<cr>") +
            Line("RECV: ATDT<cr>") + Line("RECV: ATDT") + Line("RECV: ATDP01234,567<cr>") +
            Line("RECV: ATDT0123456789<cr>") + Line("CONNECTION ESTABLISHED"));
    const ScanResult result = session.Scan(path, Callbacks());
    EXPECT_EQ(result.Added, 2);
    ASSERT_EQ(DUVMain::UsedServices, 3);
    ServiceRecord first;
    first.ServiceName = "Dialled Service # 1";
    first.ServiceNumber = "0123456789";
    EXPECT_EQ(DUVMain::Services[1], first) << "no field kept from the deleted record";
    EXPECT_EQ(DUVMain::Services[2].ServiceName, "Dialled Service # 2");
    EXPECT_EQ(DUVMain::Services[2].ServiceNumber, "01234,567");
    EXPECT_EQ(added_, (std::vector<int>{1, 2}));
    EXPECT_EQ(progress_.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress_.begin(), progress_.end()));

    ShowScanMessage(result, path);
    ASSERT_EQ(messages.Calls().size(), 1u);
    EXPECT_EQ(messages.Calls()[0].text,
              "2 new dialled service(s) found in modem log!\n\nPlease review these new service(s) "
              "by\nselecting "
              "and then clicking the 'Edit' button.");
    EXPECT_EQ(messages.Calls()[0].flags, 64);
    EXPECT_EQ(messages.Calls()[0].title, "Scan for Dialled Services");
    EXPECT_EQ(DUVMain::MessageAnswer, "1");

    ShowScanMessage(session.Scan(path, Callbacks()), path);
    EXPECT_EQ(messages.Calls()[1].text, "No new dialled services found in modem log!");
}

// The window's controls are held from before the first line until the scan ends, however it
// ends: at the end of the log, on a log that cannot be opened, or on an error on the way.
TEST_F(ScanTest, HoldsTheControlsUntilItEndsAlsoOnAnError) {
    const std::string path = Log(Line("RECV: ATDT100<cr>") + Line("RECV: ATDT200<cr>"));
    std::vector<bool> holds;
    ScanWindow callbacks = Callbacks();
    callbacks.Hold = [&](bool held) { holds.push_back(held); };
    const auto events = EventsRun([&] { EXPECT_EQ(holds, std::vector<bool>{true}); });
    EXPECT_EQ(session.Scan(path, callbacks).Added, 2);
    EXPECT_EQ(holds, (std::vector<bool>{true, false}));

    holds.clear();
    session.Scan((dir_ / "none.txt").string(), callbacks);
    EXPECT_EQ(holds, (std::vector<bool>{true, false}));

    holds.clear();
    callbacks.ServiceAdded = [](int) { runtime::Raise(7); };
    EXPECT_THROW(session.Scan(Log(Line("RECV: ATDT300<cr>")), callbacks), runtime::RuntimeError);
    EXPECT_EQ(holds, (std::vector<bool>{true, false}));
    EXPECT_TRUE(session.CanClose());
}

// Events run through the program's feedback after every line read, while the progress bar
// shows between the controls held and given back.
TEST_F(ScanTest, LetsEventsRunAfterEveryLineWhileTheBarShows) {
    const std::string path =
        Log(Line("RECV: ATDT100<cr>") + Line("CONNECT 33600") + Line("RECV: ATDT200<cr>"));
    std::vector<std::string> seen;
    ScanWindow window = Callbacks();
    window.Progress.Show = [&](bool visible) { seen.push_back(visible ? "shown" : "hidden"); };
    window.Hold = [&](bool held) { seen.push_back(held ? "held" : "given back"); };
    const auto events = EventsRun([&] { seen.push_back("events"); });
    EXPECT_EQ(session.Scan(path, window).Added, 2);
    EXPECT_EQ(seen, (std::vector<std::string>{"held", "shown", "events", "events", "events",
                                              "hidden", "given back"}));
}

TEST_F(ScanTest, StopsAtAFullTableRunsOnceAndReportsAMissingLog) {
    DUVMain::MaxServices = 2;
    Define({Service("A", "1")});
    const std::string path = Log(Line("RECV: ATDT100<cr>") + Line("RECV: ATDT200<cr>"));
    ScanResult inner;
    ScanWindow callbacks = Callbacks();
    const auto events = EventsRun([&] {
        EXPECT_FALSE(session.CanClose());
        inner = session.Scan(path, {});
    });
    EXPECT_EQ(session.Scan(path, callbacks).Added, 1);
    EXPECT_FALSE(inner.Started) << "a second scan waits for the first";
    EXPECT_EQ(DUVMain::UsedServices, 2);
    EXPECT_TRUE(session.CanClose());

    const ScanResult missing = session.Scan((dir_ / "none.txt").string(), {});
    EXPECT_FALSE(missing.Opened);
    ShowScanMessage(missing, "C:\\none.txt");
    EXPECT_EQ(messages.Calls().back().text, "The modem log could not be opened:\nC:\\none.txt");
}

}  // namespace
