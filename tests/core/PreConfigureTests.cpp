// The start-up modem check over the modem driver's keys in the in-memory registry.
#include "core/PreConfigure.h"

#include "tests/core/ModemFixture.h"

namespace modem_test {
namespace {

using PreConfigureCheck = ModemTest;

const Modem kConfigured{"Standard Modem", "COM2", "C:\\WINDOWS\\ModemLog_Standard Modem.txt", 1,
                        "atm0e1"};
const Modem kUnconfigured{"Fast Modem", "COM1", "", 0, "ATM0"};

TEST_F(PreConfigureCheck, ConfiguredModemGivesTheDetectedLogAndNoWizard) {
    PutModem("Modem", 0, kConfigured);
    DUVPreConfigure::PreConfigure();
    EXPECT_EQ(splash, (std::vector<std::string>{"Checking Modem Configuration"}));
    EXPECT_EQ(wizardShown, 0);
    EXPECT_TRUE(DUVMain::ModemConfigOK);
    EXPECT_EQ(DUVMain::DetectedLogFile, "ModemLog_Standard Modem.txt");
    EXPECT_EQ(DUVMain::DetectedLogDir, "C:\\WINDOWS\\");
    const ModemRecord& m = DUVMain::Modems[1];
    EXPECT_EQ(m.DriverDesc, "Standard Modem");
    EXPECT_EQ(m.AttachedTo, "COM2");
    EXPECT_EQ(m.ModemKey, "\\Modem\\0000");
    EXPECT_EQ(m.UserInit, "ATM0E1");  // upper-cased, so "e1" counts as echo
    EXPECT_TRUE(m.Logging);
    EXPECT_TRUE(m.HasEcho);
}

TEST_F(PreConfigureCheck, NoModemEndsSilently) {
    DUVPreConfigure::PreConfigure();
    EXPECT_EQ(DUVMain::ModemCount, 0);
    EXPECT_FALSE(DUVMain::ModemConfigOK);
    EXPECT_EQ(wizardShown, 0);
    EXPECT_EQ(DUVMain::DetectedLogFile, "");
}

// "2 PCs" entries are skipped, ports count only with a modem dialog, a missing name ends a
// branch, and at most ten modems are listed over both branches.
TEST_F(PreConfigureCheck, SearchRules) {
    PutModem("Modem", 0, {"Dial-Up Networking Serial Cable between 2 PCs", "COM1"});
    PutModem("Modem", 1, {"Modem A", "COM2"});
    PutModem("Modem", 3, {"After A Gap", "COM3"});
    PutModem("Ports", 0, {"Communications Port (COM1)"}, "serialui.dll");
    PutModem("Ports", 1, {"PCMCIA Modem"}, "modemui.dll");
    DUVPreConfigure::FindModems();
    ASSERT_EQ(DUVMain::ModemCount, 2);
    EXPECT_EQ(DUVMain::Modems[1].DriverDesc, "Modem A");
    EXPECT_EQ(DUVMain::Modems[2].DriverDesc, "PCMCIA Modem");
    EXPECT_EQ(DUVMain::Modems[2].ModemKey, "\\Ports\\0001");
    EXPECT_EQ(DUVMain::Modems[2].AttachedTo, "");

    for (int i = 0; i < 11; ++i)
        PutModem("Modem", i, {"Modem " + std::to_string(i), "COM1"});
    DUVPreConfigure::FindModems();
    EXPECT_EQ(DUVMain::ModemCount, 10);
    EXPECT_EQ(DUVMain::Modems[10].DriverDesc, "Modem 9");
}

// A preferred modem is checked alone; one outside the list counts as none.
TEST_F(PreConfigureCheck, PreferredModem) {
    PutModem("Modem", 0, kUnconfigured);
    PutModem("Modem", 1, kConfigured);
    DUVMain::PreferredModem = 2;
    DUVPreConfigure::PreConfigure();
    EXPECT_EQ(wizardShown, 0);
    EXPECT_EQ(DUVMain::DetectedLogFile, "ModemLog_Standard Modem.txt");

    DUVMain::DetectedLogFile.clear();
    DUVMain::PreferredModem = 7;
    DUVPreConfigure::PreConfigure();
    EXPECT_EQ(wizardShown, 1);  // both checked, the first is not configured
    EXPECT_FALSE(DUVMain::ModemConfigOK);
    EXPECT_EQ(DUVMain::DetectedLogFile, "");
}

// The wizard may change any listed modem: every modem's values are read before it shows,
// also when a preferred modem alone was checked.
TEST_F(PreConfigureCheck, EveryModemIsReadBeforeTheWizard) {
    PutModem("Modem", 0, kUnconfigured);
    PutModem("Modem", 1, {"Other Modem", "COM3", "", 0, "ATX3"});
    DUVMain::PreferredModem = 1;
    DUVPreConfigure::PreConfigure();
    EXPECT_EQ(wizardShown, 1);
    EXPECT_EQ(DUVMain::Modems[2].UserInit, "ATX3");
    EXPECT_FALSE(DUVMain::Modems[2].Logging);
}

}  // namespace
}  // namespace modem_test
