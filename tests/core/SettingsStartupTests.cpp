// The settings at start-up: the values a first run stores, a complete registry left alone,
// and the stored values that are filled in again.
#include "tests/core/SettingsFixture.h"

#include "core/Registry_Functions.h"

using namespace settings_test;

namespace {

struct Expected {
    const char* name;
    std::uint32_t type;
    std::string text;     // REG_SZ
    std::int32_t number;  // REG_DWORD
};

Expected S(const char* name, std::string text) {
    return {name, registry::kRegSz, std::move(text), 0};
}
Expected D(const char* name, std::int32_t n) { return {name, registry::kRegDword, {}, n}; }

class FirstStart : public SettingsTest {
protected:
    void ExpectKey(const std::string& sub, const std::vector<Expected>& values) {
        std::vector<std::string> names;
        for (const Expected& e : values) {
            names.push_back(e.name);
            if (e.type == registry::kRegSz) {
                EXPECT_EQ(Sz(sub, e.name), e.text) << sub << "\\" << e.name;
            } else {
                EXPECT_EQ(Dw(sub, e.name), e.number) << sub << "\\" << e.name;
            }
        }
        EXPECT_EQ(Names(sub), names) << sub;
    }
};

TEST_F(FirstStart, StoresEveryDefaultWithItsNameAndType) {
    EXPECT_TRUE(StartUp());
    EXPECT_TRUE(errors.empty());

    ExpectKey("General", {
                             S("ModemLogFile", "ModemLog.txt"),
                             S("ModemLogDir", "C:\\windows\\"),
                             D("MaxServices", 10),
                             D("UsedServices", 0),
                             D("MaxConnections", 200),
                             D("MaxConnectDays", 2),
                             D("NoDisconDuration", 900),
                             D("NoDisconData", 0),
                             D("MaxLogSize", 150),
                             S("EditLog", "True"),
                             S("ShowErrors", "True"),
                             S("ShowToolbars", "True"),
                             S("FlatToolbars", "True"),
                             S("ShowGraphic", "True"),
                             S("AutoOptimize", "False"),
                             S("Tips", "True"),
                             S("ModemCheck", "True"),
                             S("UserStartPref", "Last Log Entry"),
                             D("UserStartDate", 0),
                             D("UserStartOfWeek", 0),
                             D("UserStartOfMonth", 0),
                             D("UserReportPref", 0),
                         });
    ExpectKey("Modem", {
                           S("ModemDial", "RECV: ATD"),
                           S("ModemAnswer", "ANSWERING"),
                           S("ModemConnect", "CONNECTION ESTABLISHED"),
                           S("ModemUserDisconnect", "HANGING UP THE MODEM"),
                           S("ModemHostDisconnect", "REMOTE MODEM HUNG UP"),
                           S("ModemReads", "READS"),
                           S("ModemWrites", "WRITES"),
                       });
    ExpectKey("Services", {S("WarningSoundFile1", "")});
    ExpectKey("Costs", {
                           S("CalcCosts", "True"),
                           D("DialCost", 2000),
                           D("CostPerHour", 15000),
                           D("CostPerMeg", 0),
                       });
    ExpectKey("ViewLog", {});
    ExpectKey("ViewReport",
              {S("SaveSettings", "True"), S("ListView", "True"), S("AutoArrange", "False")});
    ExpectKey("ViewReport\\SummaryReport", {
                                               D("WinHeight", 5100),
                                               D("WinWidth", 6900),
                                               D("WinLeft", 100),
                                               D("WinTop", 100),
                                               D("FontSize", 9),
                                               D("Column1", 1000),
                                               D("Column2", 1000),
                                               D("Column3", 700),
                                               D("Column4", 1000),
                                               D("Column5", 1000),
                                           });
    ExpectKey("ViewReport\\DetailReport", {
                                              D("WinHeight", 5100),
                                              D("WinWidth", 6900),
                                              D("WinLeft", 100),
                                              D("WinTop", 100),
                                              D("FontSize", 9),
                                              D("Column1", 1000),
                                              D("Column2", 1000),
                                              D("Column3", 700),
                                              D("Column4", 1000),
                                              D("Column5", 1000),
                                              D("Column6", 2000),
                                              D("ForceAMPM", 0),
                                          });
    ExpectKey("Holidays", {D("UsedHolidays", 0)});
    ExpectKey("RecentFiles", {});
    EXPECT_EQ(reg.SubKeyNames(registry::kLocalMachine, "SOFTWARE\\DUV"),
              (std::vector<std::string>{"General", "Modem", "Costs", "Services", "ViewLog",
                                        "ViewReport", "Holidays", "RecentFiles"}));
}

TEST_F(FirstStart, LeavesTheSettingsAtTheirDefaults) {
    StartUp();
    using namespace DUVMain;
    EXPECT_EQ(MaxServices, 10);
    EXPECT_EQ(Services.UBound(), 10);
    EXPECT_EQ(MaxConnections, 200);
    EXPECT_TRUE(Tips);
    EXPECT_TRUE(ModemCheck);
    EXPECT_TRUE(FlatToolbars);
    EXPECT_FALSE(AutoOptimize);
    EXPECT_TRUE(CalcCosts);
    EXPECT_DOUBLE_EQ(DialCost, 0.2);
    EXPECT_DOUBLE_EQ(CostPerHour, 1.5);
    EXPECT_EQ(ViewLogFontName, "MS Sans Serif");
    EXPECT_EQ(ViewLogWinHeight, 4300);
    EXPECT_EQ(ViewLogWinWidth, 6000);
    EXPECT_EQ(SummaryViewSettings.Column[7], 0);
    EXPECT_EQ(DetailViewSettings.Column[7], 1000);
    EXPECT_EQ(UserStartPref, "Last Log Entry");
}

// A registry that holds every value, with nothing the start-up counts as empty.
class CompleteRegistry : public SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        StartUp();
        DUVMain::NoDisconData = 20;
        DUVMain::CostPerMeg = 0.05;
        DUVMain::ViewLogSaveSettings = true;
        DUVMain::WriteUserParameters();
        test_support::ResetCoreState();
    }
};

TEST_F(CompleteRegistry, StartWritesNothing) {
    const auto before = Dump();
    EXPECT_FALSE(StartUp());
    EXPECT_EQ(Dump(), before);
    EXPECT_TRUE(errors.empty());
    EXPECT_DOUBLE_EQ(DUVMain::NoDisconData, 20);
    EXPECT_DOUBLE_EQ(DUVMain::CostPerMeg, 0.05);
    EXPECT_TRUE(DUVMain::ViewLogSaveSettings);
}

TEST_F(CompleteRegistry, StoredFalseBooleansStayFalse) {
    PutSz("General", "EditLog", "False");
    PutSz("General", "Tips", "False");
    PutSz("Costs", "CalcCosts", "False");
    PutDw("Costs", "DialCost", 5000);
    EXPECT_FALSE(StartUp());
    EXPECT_FALSE(DUVMain::EditLog);
    EXPECT_FALSE(DUVMain::Tips);
    EXPECT_FALSE(DUVMain::CalcCosts);
    EXPECT_DOUBLE_EQ(DUVMain::DialCost, 0.5);
}

TEST_F(CompleteRegistry, BooleansStoredAsNumbersAreRead) {
    PutDw("General", "ShowGraphic", 0);
    PutDw("General", "ModemCheck", -1);
    PutSz("General", "AutoOptimize", "true");
    EXPECT_FALSE(StartUp());
    EXPECT_FALSE(DUVMain::ShowGraphic);
    EXPECT_TRUE(DUVMain::ModemCheck);
    EXPECT_TRUE(DUVMain::AutoOptimize);
}

struct StoredEmpty {
    const char* label;
    void (*store)(SettingsTest*);
    bool marks;
    bool (*filled)();
};

class StoredEmptyValue : public CompleteRegistry,
                         public ::testing::WithParamInterface<StoredEmpty> {
public:
    using SettingsTest::PutDw;
    using SettingsTest::PutSz;
    using SettingsTest::reg;
};

#define STORE(body)                                   \
    [](SettingsTest* t_) {                            \
        auto* t = static_cast<StoredEmptyValue*>(t_); \
        body;                                         \
    }
#define CHECK(expr)              \
    []() -> bool {               \
        using namespace DUVMain; \
        return expr;             \
    }

const StoredEmpty kStoredEmpty[] = {
    {"NoDisconDataZero", STORE(t->PutDw("General", "NoDisconData", 0)), true,
     CHECK(NoDisconData == 0)},
    {"NoDisconDataBeyondBytes", STORE(t->PutDw("General", "NoDisconData", 2097152)), true,
     CHECK(NoDisconData == 0)},
    {"NoDisconDataNegative", STORE(t->PutDw("General", "NoDisconData", -3)), true,
     CHECK(NoDisconData == 0)},
    {"CostPerMegZero", STORE(t->PutDw("Costs", "CostPerMeg", 0)), true, CHECK(CostPerMeg == 0)},
    {"MaxConnectionsZero", STORE(t->PutDw("General", "MaxConnections", 0)), true,
     CHECK(MaxConnections == 200)},
    {"MaxConnectDaysZero", STORE(t->PutDw("General", "MaxConnectDays", 0)), true,
     CHECK(MaxConnectDays == 2)},
    {"MaxLogSizeZero", STORE(t->PutDw("General", "MaxLogSize", 0)), true, CHECK(MaxLogSize == 150)},
    {"MaxLogSizeNegative", STORE(t->PutDw("General", "MaxLogSize", -5)), true,
     CHECK(MaxLogSize == 150)},
    {"NoDisconDurationZero", STORE(t->PutDw("General", "NoDisconDuration", 0)), true,
     CHECK(NoDisconDuration == 900)},
    {"MaxServicesZero", STORE(t->PutDw("General", "MaxServices", 0)), true,
     CHECK(MaxServices == 10 && Services.UBound() == 10)},
    {"KeywordEmpty", STORE(t->PutSz("Modem", "ModemHostDisconnect", "")), true,
     CHECK(ModemHostDisconnect == "REMOTE MODEM HUNG UP")},
    {"EditLogUnreadable", STORE(t->PutSz("General", "EditLog", "x")), true, CHECK(EditLog)},
    {"CalcCostsMissingResetsRates",
     STORE(t->PutDw("Costs", "DialCost", 7000); t->PutSz("Costs", "CalcCosts", "nonsense")), true,
     CHECK(CalcCosts&& DialCost == 0.2 && CostPerHour == 1.5)},
    {"FontNameEmpty",
     STORE(t->PutSz("ViewLog", "FontName", ""); t->PutDw("ViewLog", "FontSize", 20)), true,
     CHECK(ViewLogFontName == "MS Sans Serif" && ViewLogFontSize == 8 && !ViewLogSaveSettings)},
    {"SummaryHeightZero",
     STORE(t->PutDw("ViewReport\\SummaryReport", "WinHeight", 0);
           t->PutSz("ViewReport", "AutoArrange", "True")),
     true, CHECK(SummaryViewSettings.WinHeight == 5100 && !ReportAutoArrange)},
    {"TipsUnreadable", STORE(t->PutSz("General", "Tips", "maybe")), false, CHECK(Tips)},
    {"UserStartPrefEmpty", STORE(t->PutSz("General", "UserStartPref", "")), false,
     CHECK(UserStartPref == "Last Log Entry")},
};

#undef STORE
#undef CHECK

TEST_P(StoredEmptyValue, IsFilledInAndMarkedForOneWriteBack) {
    GetParam().store(this);
    DUVMain::SetDefaultSettings();
    DUVMain::ReadUserParameters();
    DUVMain::FillInDefaults();
    EXPECT_EQ(DUVMain::SettingsChanged, GetParam().marks);
    EXPECT_TRUE(GetParam().filled());
}

INSTANTIATE_TEST_SUITE_P(Settings, StoredEmptyValue, ::testing::ValuesIn(kStoredEmpty),
                         [](const auto& info) { return std::string(info.param.label); });

TEST_F(CompleteRegistry, ZeroNoDisconDataIsWrittenBackAtEveryStart) {
    PutDw("General", "NoDisconData", 0);
    EXPECT_TRUE(StartUp());
    EXPECT_TRUE(StartUp());
    EXPECT_EQ(Dw("General", "NoDisconData"), 0);
}

TEST_F(CompleteRegistry, UnreadableBooleanIsReportedAndGetsItsDefault) {
    PutSz("General", "ShowErrors", "Maybe");
    EXPECT_TRUE(StartUp());
    EXPECT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].number, 13);
    EXPECT_TRUE(DUVMain::ShowErrors);
    EXPECT_EQ(Sz("General", "ShowErrors"), "True");
}

}  // namespace

// A user without administrator rights may read the local machine's keys but not write them:
// the settings that user changes are kept under the current user and win over the machine's.
TEST_F(FirstStart, WithoutAdministratorRightsTheUsersCopyKeepsTheSettings) {
    reg.RefuseFullAccess(registry::kLocalMachine);
    EXPECT_TRUE(StartUp());
    EXPECT_FALSE(reg.KeyExists(registry::kLocalMachine, "SOFTWARE\\DUV"));
    EXPECT_EQ(reg.ValueNames(registry::kCurrentUser, Key("Costs")).size(), 4u);
    Registry_Functions::SetKeyValue(registry::kLocalMachine, Key("General"), "ModemLogDir",
                                    "D:\\Logs\\", Registry_Functions::REG_TYPE_SZ);
    test_support::ResetCoreState();
    StartUp();
    EXPECT_EQ(DUVMain::ModemLogDir, "D:\\Logs\\");
    EXPECT_TRUE(errors.empty());
}

TEST_F(CompleteRegistry, WithoutAdministratorRightsChangesGoToTheUserAndAreReadFirst) {
    PutSz("General", "Tips", "False");
    PutDw("Costs", "DialCost", 5000);
    const auto machine = Dump();
    reg.RefuseFullAccess(registry::kLocalMachine);
    EXPECT_FALSE(StartUp());
    EXPECT_FALSE(DUVMain::Tips);
    // As the tip window stores its check box.
    Registry_Functions::CreatNewKey(Key("General"), registry::kLocalMachine);
    Registry_Functions::SetKeyValue(registry::kLocalMachine, Key("General"), "Tips", "True",
                                    Registry_Functions::REG_TYPE_SZ);
    test_support::ResetCoreState();
    EXPECT_FALSE(StartUp());
    EXPECT_TRUE(DUVMain::Tips);                // the user's own value
    EXPECT_DOUBLE_EQ(DUVMain::DialCost, 0.5);  // the machine's, where the user wrote none
    reg.RefuseFullAccess(0);
    EXPECT_EQ(Dump(), machine);
    EXPECT_TRUE(errors.empty());
}
