// The set-up wizard's steps without its window: captions, texts, the blinking
// recommendation and what Finish writes to the registry and the disk.
#include "ui/options/PreConfigureModel.h"

#include <cstdio>
#include <fstream>
#include <iterator>

#include "core/Clock.h"
#include "core/LogFile.h"
#include "core/Runtime.h"
#include "tests/core/ModemFixture.h"
#include "tests/core/ScratchFolder.h"

namespace modem_test {
namespace {

using PreConfigureModel::Wizard;

class WizardSteps : public ModemTest {
protected:
    void SetUp() override {
        ModemTest::SetUp();
        const std::string temp = ::testing::TempDir();
        folder = scratch_.Path() + temp.back();
        DUVMain::SystemLogDir = folder;
        DUVMain::SystemLogName = "ModemLog.txt";
    }
    void TearDown() override { ModemTest::TearDown(); }

    // The modems put into the registry, then the check that opens the wizard, then its load.
    void Open(const std::vector<Modem>& modems) {
        for (std::size_t i = 0; i < modems.size(); ++i)
            PutModem("Modem", static_cast<int>(i), modems[i]);
        DUVPreConfigure::PreConfigure();
        ASSERT_EQ(wizardShown, 1);
        wizard.Load();
    }

    static std::string Contents(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    Wizard wizard;
    ScratchFolder scratch_{"duv-wizard"};
    std::string folder;  // the Windows folder of the test, with its separator
    test_support::ScopedSeam<clock_seam::NowFunction> now_{
        clock_seam::SetNow,
        [] { return runtime::DateSerial(1999, 5, 3) + runtime::TimeSerial(21, 4, 5); }};
};

// Logging off, no echo and no log path: Finish switches logging and echo on, gives the modem
// the system's log path under the "98" rule, and creates the log.
TEST_F(WizardSteps, ModemNeedingChangeThroughToFinish) {
    DUVMain::OSVersionText = "WIN 98";
    Open({{"Standard Modem", "COM2", "", 0, "atm0"}, {"Second Modem", ""}});
    const std::string log = folder + "Standard Modem.log";

    EXPECT_EQ(wizard.IntroText, PreConfigureModel::IntroductionText());
    EXPECT_EQ(wizard.ModemLines,
              (std::vector<std::string>{"Standard Modem on COM2", "Second Modem"}));
    EXPECT_TRUE(wizard.AlwaysCheck);
    EXPECT_EQ(wizard.CancelCaption, "&Cancel");
    EXPECT_FALSE(wizard.NextClicked());
    EXPECT_EQ(wizard.Step, 1);
    EXPECT_EQ(wizard.CancelCaption, "< &Back");
    EXPECT_EQ(wizard.NextCaption, "&Next >");
    EXPECT_FALSE(wizard.NextClicked());

    EXPECT_EQ(wizard.Step, 2);
    EXPECT_EQ(wizard.SelModem, "Standard Modem");
    EXPECT_FALSE(wizard.CurrentLogging);
    EXPECT_FALSE(wizard.CurrentEcho);
    EXPECT_EQ(wizard.NextCaption, "&Finish");
    EXPECT_EQ(wizard.ChangeText,
              "The wizard needs to make some changes to your modem and dial-up networking "
              "settings in order for DUV to work as intended.\n\nClick the 'Finish' button to "
              "have the wizard make these changes for you.\n\n");
    EXPECT_TRUE(wizard.TimerEnabled);
    wizard.TimerTick();
    EXPECT_TRUE(wizard.RecLoggingBold && wizard.RecEchoBold);
    wizard.TimerTick();
    EXPECT_FALSE(wizard.RecLoggingBold || wizard.RecEchoBold);

    EXPECT_FALSE(wizard.NextClicked());
    EXPECT_EQ(wizard.Step, 3);
    EXPECT_FALSE(wizard.TimerEnabled);
    EXPECT_FALSE(wizard.CancelVisible);
    EXPECT_EQ(wizard.NextCaption, "&OK");
    const std::string key = ModemKey("Modem", 0);
    EXPECT_EQ(ClassValue(key, "Logging"),
              std::make_pair(registry::kRegBinary, std::vector<unsigned char>{1}));
    EXPECT_EQ(ClassValue(key, "UserInit"), std::make_pair(registry::kRegSz, SzBytes("ATM0E1")));
    EXPECT_EQ(ClassValue(key, "LoggingPath"), std::make_pair(registry::kRegSz, SzBytes(log)));
    // The program's key did not exist yet: it is made rather than the value lost.
    EXPECT_EQ(Dw("General", "PreferredModem"), 1);
    EXPECT_EQ(Contents(log), DUVMain::NewModemLogLine(clock_seam::Now()) + "\r\n");
    EXPECT_EQ(Contents(log).substr(0, 25), "05-03-1999 21:04:05.00 - ");
    EXPECT_EQ(DUVMain::SystemLogName, "Standard Modem.log");
    EXPECT_TRUE(wizard.LogCreated);
    EXPECT_EQ(wizard.FinishText,
              "C O N G R A T U L A T I O N S .\n\nYou have finished configuring your modem and "
              "dial-up networking system for use with DUV.\n\nA new empty modem log file has been "
              "created for you. Reports will not be available until after your next dial-up "
              "networking session.\n\nClick the 'OK' button to continue.\n\n");
    EXPECT_TRUE(wizard.NextClicked());
    // The other modem was not touched.
    EXPECT_EQ(ClassValue(ModemKey("Modem", 1), "UserInit").first, 0u);
}

// A modem already configured: OK at step 2, also after going back, closes without writing.
TEST_F(WizardSteps, ConfiguredModemClosesWithOK) {
    const std::string log = folder + "existing.log";
    std::ofstream(log) << "x";
    Open({{"Bad Modem", "COM1", "", 0, ""}, {"Good Modem", "COM2", log, 1, "ATE1"}});
    const std::vector<std::string> before = Dump();
    wizard.SelectedLine = 1;
    wizard.NextClicked();
    wizard.NextClicked();
    EXPECT_EQ(wizard.NextCaption, "&OK");
    EXPECT_TRUE(wizard.CurrentLogging && wizard.CurrentEcho);
    EXPECT_FALSE(wizard.TimerEnabled);
    EXPECT_EQ(wizard.ChangeText, PreConfigureModel::ConfiguredText());
    EXPECT_EQ(DUVMain::PreferredModem, 2);  // for this run only
    EXPECT_FALSE(wizard.CancelClicked());
    EXPECT_EQ(wizard.Step, 1);
    EXPECT_EQ(wizard.NextCaption, "&OK");
    EXPECT_TRUE(wizard.NextClicked());
    EXPECT_EQ(Dump(), before);
    EXPECT_EQ(Contents(log), "x");
}

// Commands stored as an expandable text are read and extended; values stored in a type the
// program cannot read (a multi-text, a long binary, a number where a text belongs) are kept
// byte for byte: Finish never writes over what it could not see.
TEST_F(WizardSteps, FinishExtendsExpandableCommandsAndKeepsWhatItCannotRead) {
    const auto bytes = [](const std::string& text) {
        return std::vector<unsigned char>(text.begin(), text.end());
    };
    const std::string log = folder + "kept.log";
    PutModem("Modem", 0, {"Expand Modem", "COM1", log, 1});
    PutModem("Modem", 1, {"Multi Modem", "COM2"});
    PutModem("Modem", 2, {"Number Modem", "COM3", log, 1});
    PutClassValue(ModemKey("Modem", 0), "UserInit", registry::kRegExpandSz, SzBytes("AT&F&C1M0"));
    const std::pair<std::uint32_t, std::vector<unsigned char>> kept[] = {
        {registry::kRegMultiSz, bytes(std::string("AT&F\0&C1M0\0\0", 12))},
        {registry::kRegBinary, bytes(std::string(8, '\x01'))},
        {registry::kRegMultiSz, bytes(std::string("C:\\x\\y.log\0\0", 12))},
        {registry::kRegBinary, bytes("ATM0")},
    };
    PutClassValue(ModemKey("Modem", 1), "UserInit", kept[0].first, kept[0].second);
    PutClassValue(ModemKey("Modem", 1), "Logging", kept[1].first, kept[1].second);
    PutClassValue(ModemKey("Modem", 1), "LoggingPath", kept[2].first, kept[2].second);
    PutClassValue(ModemKey("Modem", 2), "UserInit", kept[3].first, kept[3].second);
    DUVPreConfigure::PreConfigure();
    ASSERT_EQ(wizardShown, 1);
    EXPECT_EQ(DUVMain::Modems[1].UserInit, "AT&F&C1M0");
    EXPECT_EQ(DUVMain::Modems[1].LoggingPath, log);
    EXPECT_EQ(DUVMain::Modems[3].UserInit, "") << "a number is no text of commands";

    for (int line = 0; line < 3; ++line) {
        Wizard w;
        w.Load();
        w.SelectedLine = line;
        w.NextClicked();
        w.NextClicked();
        EXPECT_EQ(w.NextCaption, "&Finish");
        w.NextClicked();
        EXPECT_EQ(w.Step, 3);
    }
    EXPECT_EQ(ClassValue(ModemKey("Modem", 0), "UserInit"),
              std::make_pair(registry::kRegSz, SzBytes("AT&F&C1M0E1")));
    EXPECT_EQ(ClassValue(ModemKey("Modem", 1), "UserInit"), kept[0]);
    EXPECT_EQ(ClassValue(ModemKey("Modem", 1), "Logging"), kept[1]);
    EXPECT_EQ(ClassValue(ModemKey("Modem", 1), "LoggingPath"), kept[2]);
    EXPECT_EQ(ClassValue(ModemKey("Modem", 2), "UserInit"), kept[3]);
}

// Back walks down a step at a time; Cancel on the first page closes without a change.
TEST_F(WizardSteps, BackAndCancel) {
    Open({{"Standard Modem", "COM2", "", 0, ""}});
    wizard.NextClicked();
    wizard.NextClicked();
    EXPECT_FALSE(wizard.CancelClicked());
    EXPECT_EQ(wizard.Step, 1);
    EXPECT_EQ(wizard.CancelCaption, "< &Back");
    EXPECT_FALSE(wizard.CancelClicked());
    EXPECT_EQ(wizard.Step, 0);
    EXPECT_EQ(wizard.CancelCaption, "&Cancel");
    EXPECT_TRUE(wizard.CancelClicked());
    EXPECT_EQ(ClassValue(ModemKey("Modem", 0), "Logging"),
              std::make_pair(registry::kRegBinary, std::vector<unsigned char>{0}));
}

// Check1 writes "ModemCheck" at once, creating the program's key; a log path of the modem
// names the log, and without "98" in the version the system name stays.
TEST_F(WizardSteps, AlwaysCheckAndTheLogName) {
    const std::string log = folder + "named.log";
    Open({{"Standard Modem", "COM2", log, 0, "ATE1"}});
    wizard.CheckClicked(false);
    EXPECT_FALSE(DUVMain::ModemCheck);
    EXPECT_EQ(Sz("General", "ModemCheck"), "False");
    wizard.NextClicked();
    wizard.NextClicked();
    wizard.NextClicked();
    EXPECT_EQ(ClassValue(ModemKey("Modem", 0), "LoggingPath"),
              std::make_pair(registry::kRegSz, SzBytes(log)));
    EXPECT_EQ(DUVMain::SystemLogDir + DUVMain::SystemLogName, log);
    EXPECT_TRUE(wizard.LogCreated);
    EXPECT_EQ(ClassValue(ModemKey("Modem", 0), "UserInit").second, SzBytes("ATE1"));

    DUVMain::OSVersionText = "WIN 95";
    DUVMain::SystemLogDir = folder;
    DUVMain::SystemLogName = "ModemLog.txt";
    Wizard other;
    DUVMain::Modems[1].LoggingPath.clear();
    other.Load();
    other.NextClicked();
    other.NextClicked();
    other.CheckLogFile();
    EXPECT_EQ(DUVMain::SystemLogName, "ModemLog.txt");
}

}  // namespace
}  // namespace modem_test
