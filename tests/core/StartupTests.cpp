// The start-up sequence run headless: splash texts, message boxes and the hand-over are
// recorded through the seams.
#include "core/Startup.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/MessageBox.h"
#include "core/Runtime.h"
#include "core/UserFeedback.h"
#include "tests/core/ScratchFolder.h"
#include "tests/core/SettingsFixture.h"

namespace {

OSVersion::PlatformVersion Windows98() { return {1, 1998}; }
OSVersion::PlatformVersion WindowsNt4() { return {2, 1381}; }

const std::string ConflictText =
    "Modem Log Path Conflict!\n\n"
    "DUV has detected that your Window's active log file\n"
    "is different to the one that DUV has been set to read.\n\n"
    "For DUV to operate correctly it must read your system's\n"
    "currently active log file.\n\n"
    "Do you want DUV to fix this for you?";

const std::string CreatedText =
    "Modem Log Created!\n\n"
    "DUV has created a new empty modem log file\n"
    "to match your system settings.\n\n"
    "Reports will not be available until after you \n"
    "disconnect from your next dial-up networking.\n"
    "session?";

class StartupSequence : public settings_test::SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        std::filesystem::create_directories(winDir);
        std::filesystem::create_directories(otherDir);
    }
    void TearDown() override {
        for (const std::string& path : created)
            std::remove(path.c_str());
        SettingsTest::TearDown();
    }

    // The start-up, with a configured modem whose driver writes detectedDir & detectedFile
    // when that is set.
    void Main() {
        if (!detectedFile.empty()) {
            registry::RegKey key = 0;
            ASSERT_EQ(reg.CreateKey(registry::kLocalMachine,
                                    "System\\CurrentControlSet\\Services\\Class\\Modem\\0000",
                                    registry::kKeyAllAccess, key),
                      registry::kSuccess);
            const std::string path = detectedDir + detectedFile;
            const unsigned char on = 1;
            reg.SetValue(key, "DriverDesc", registry::kRegSz,
                         reinterpret_cast<const unsigned char*>("Standard Modem"), 15);
            reg.SetValue(key, "LoggingPath", registry::kRegSz,
                         reinterpret_cast<const unsigned char*>(path.c_str()),
                         static_cast<std::uint32_t>(path.size() + 1));
            reg.SetValue(key, "Logging", registry::kRegBinary, &on, 1);
            reg.SetValue(key, "UserInit", registry::kRegSz,
                         reinterpret_cast<const unsigned char*>("E1"), 3);
            reg.CloseKey(key);
        }
        DUVMain::Main();
    }

    // A file at a folder text ending in a backslash, as the program joins them.
    void WriteFile(const std::string& folder, const std::string& name, const std::string& bytes) {
        std::string path = folder + "\\" + name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
        created.push_back(path);
    }

    std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    void ConfigureLog(const std::string& folder, const std::string& name) {
        PutSz("General", "ModemLogFile", name);
        PutSz("General", "ModemLogDir", folder + "\\");
    }

    ScratchFolder scratch_{"duv_startup"};
    std::string winDir = scratch_ / "windows";
    std::string otherDir = scratch_ / "other";
    std::string detectedFile, detectedDir;
    std::vector<std::string> events;
    std::vector<std::string> created;
    int yields = 0;
    int progressLabels = 0;

    test_support::ScopedSeam<OSVersion::VersionQuery> version_{OSVersion::SetVersionQuery,
                                                               &Windows98};
    test_support::ScopedSeam<UserFeedback> feedback_{
        SetUserFeedback, UserFeedback{[](bool) {}, [this] { ++yields; },
                                      [this](const std::string& text) {
                                          if (text.rfind("Please Wait .....Loading", 0) == 0)
                                              ++progressLabels;
                                          else
                                              events.push_back(text);
                                      }}};
    test_support::ScopedSeam<DUVMain::StartupEnvironment> environment_{
        DUVMain::SetStartupEnvironment,
        DUVMain::StartupEnvironment{
            [] { return std::string("C:\\Program Files\\DUV"); },
            [this](const std::string& name) { return name == "WinDir" ? winDir : std::string(); },
            [this] { events.push_back("blink"); }, [this] { events.push_back("show frmMain"); },
            [this] { events.push_back("unload frmSplash"); }}};
};

const std::string DatedLog =
    "01-02-1999 10:00:00.00 - RECV: ATDT1\r\n"
    "01-02-1999 10:00:05.00 - CONNECTION ESTABLISHED\r\n"
    "01-09-1999 10:20:00.00 - HANGING UP THE MODEM\r\n";

}  // namespace

TEST_F(StartupSequence, NoLogWaitsForAClick) {
    created.push_back(winDir + "\\ModemLog.txt");
    std::remove(created.back().c_str());
    ScriptedMessages boxes;
    Main();

    EXPECT_EQ(events, (std::vector<std::string>{
                          "Reading Regional Settings", "Reading User Configuration",
                          "Checking Modem Configuration", "Please Wait . . . Checking Modem Log",
                          "blink", "Click to continue..."}));
    EXPECT_TRUE(DUVMain::SplashWaitForClick);
    EXPECT_FALSE(DUVMain::LogFound);
    EXPECT_EQ(progressLabels, 0);
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_TRUE(errors.empty());

    EXPECT_EQ(DUVMain::AppPath, "C:\\Program Files\\DUV");
    EXPECT_EQ(DUVMain::HelpFilePath, "C:\\Program Files\\DUV\\DUV.HLP");
    EXPECT_EQ(DUVMain::CrLf, "\r\n");
    EXPECT_EQ(DUVMain::OSVersionText, "WIN 98");
    EXPECT_EQ(DUVMain::SystemLogDir, winDir + "\\");
    EXPECT_EQ(DUVMain::LogFilePath, winDir + "\\ModemLog.txt");
    EXPECT_EQ(DUVMain::TimeFormat, "Long Time");
    // The first start stored the settled path once and cleared the mark.
    EXPECT_EQ(Sz("General", "ModemLogFile"), "ModemLog.txt");
    EXPECT_EQ(Sz("General", "ModemLogDir"), winDir + "\\");
    EXPECT_FALSE(DUVMain::SettingsChanged);
    EXPECT_TRUE(DUVMain::Tips);
    EXPECT_TRUE(DUVMain::ModemCheck);
}

TEST_F(StartupSequence, CleanLogOpensTheMainWindowWithStatistics) {
    WriteFile(winDir, "ModemLog.txt", DatedLog);
    ScriptedMessages boxes;
    Main();

    EXPECT_EQ(events, (std::vector<std::string>{
                          "Reading Regional Settings", "Reading User Configuration",
                          "Checking Modem Configuration", "Please Wait . . . Checking Modem Log",
                          "show frmMain", "unload frmSplash"}));
    EXPECT_FALSE(DUVMain::SplashWaitForClick);
    EXPECT_TRUE(DUVMain::LogFound);
    EXPECT_FALSE(DUVMain::LogCorrupt);
    EXPECT_GT(progressLabels, 1);
    EXPECT_EQ(DUVMain::LogLineCount, 3.0f);
    EXPECT_EQ(DUVMain::FirstEntryDate, runtime::DateSerial(1999, 1, 2));
    EXPECT_EQ(DUVMain::LastEntryDate, runtime::DateSerial(1999, 1, 9));
    EXPECT_EQ(DUVMain::LogLength, static_cast<std::int32_t>(DatedLog.size()));
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_TRUE(errors.empty());
}

TEST_F(StartupSequence, DamagedLogOpensTheMainWindowWithoutStatistics) {
    WriteFile(winDir, "ModemLog.txt", "01-02-1999 10:00:00.00 - RECV: \x01\x02\r\n");
    DUVMain::LogLineCount = 42;
    ScriptedMessages boxes;
    Main();

    EXPECT_TRUE(DUVMain::LogFound);
    EXPECT_TRUE(DUVMain::LogCorrupt);
    EXPECT_EQ(DUVMain::LogLineCount, 42.0f);
    EXPECT_EQ(DUVMain::LogLength, 35);
    EXPECT_EQ(events.back(), "unload frmSplash");
    EXPECT_EQ(events[events.size() - 2], "show frmMain");
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(StartupSequence, PathConflictAnsweredYesAdoptsAndCreatesTheDetectedLog) {
    ConfigureLog(winDir, "ModemLog.txt");
    WriteFile(winDir, "ModemLog.txt", DatedLog);
    detectedFile = "Modemlog_Standard Modem.txt";
    detectedDir = otherDir + "\\";
    created.push_back(detectedDir + detectedFile);
    std::remove(created.back().c_str());

    ScriptedMessages boxes({msg::Yes, msg::Ok});
    Main();

    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[0].text, ConflictText);
    EXPECT_EQ(boxes.Calls()[0].title, "WARNING");
    EXPECT_EQ(boxes.Calls()[0].flags, msg::YesNo | msg::IconExclamation);
    EXPECT_EQ(boxes.Calls()[1].text, CreatedText);
    EXPECT_EQ(boxes.Calls()[1].title, "Modem Log");
    EXPECT_EQ(boxes.Calls()[1].flags, msg::OkOnly | msg::IconInformation);
    EXPECT_EQ(DUVMain::MessageText, CreatedText);
    EXPECT_EQ(DUVMain::MessageAnswer, "1");

    EXPECT_EQ(DUVMain::ModemLogFile, detectedFile);
    EXPECT_EQ(DUVMain::ModemLogDir, detectedDir);
    EXPECT_EQ(Sz("General", "ModemLogFile"), detectedFile);
    EXPECT_EQ(Sz("General", "ModemLogDir"), detectedDir);
    std::string made = ReadFile(detectedDir + detectedFile);
    EXPECT_EQ(made.size(), 74u);
    EXPECT_EQ(made.substr(10), " " + made.substr(11, 8) +
                                   ".00 - New modem log file created by DUV (Duvelo) v1.0\r\n");
    // The new log is the one checked: one dated line.
    EXPECT_TRUE(DUVMain::LogFound);
    EXPECT_FALSE(DUVMain::LogCorrupt);
    EXPECT_EQ(DUVMain::LogLineCount, 1.0f);
    EXPECT_FALSE(DUVMain::LogInvalid);
    EXPECT_EQ(events.back(), "unload frmSplash");
}

TEST_F(StartupSequence, ALogThatCouldNotBeCreatedIsNotAnnounced) {
    ConfigureLog(winDir, "ModemLog.txt");
    WriteFile(winDir, "ModemLog.txt", DatedLog);
    detectedFile = "ModemLog.txt";
    detectedDir = otherDir + "/no such folder/";

    ScriptedMessages boxes({msg::Yes, msg::Ok});
    Main();

    ASSERT_EQ(boxes.Calls().size(), 1u) << "the conflict box only";
    EXPECT_EQ(boxes.Calls()[0].text, ConflictText);
    EXPECT_EQ(errors.size(), 1u) << "the failed create goes to the error handler";
    EXPECT_FALSE(DUVMain::LogFound);
    EXPECT_TRUE(DUVMain::SplashWaitForClick) << "the splash waits, as for any missing log";
}

TEST_F(StartupSequence, PathConflictAnsweredYesKeepsAnExistingDetectedLog) {
    ConfigureLog(winDir, "ModemLog.txt");
    detectedFile = "Other.txt";
    detectedDir = winDir + "\\";
    WriteFile(winDir, "Other.txt", DatedLog);
    ScriptedMessages boxes({msg::Yes});
    Main();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(DUVMain::MessageAnswer, "6");
    EXPECT_EQ(ReadFile(winDir + "\\Other.txt"), DatedLog);
    EXPECT_EQ(DUVMain::LogLineCount, 3.0f);
}

TEST_F(StartupSequence, PathConflictAnsweredNoKeepsTheConfiguredLog) {
    ConfigureLog(winDir, "ModemLog.txt");
    WriteFile(winDir, "ModemLog.txt", DatedLog);
    detectedFile = "ModemLog.txt";
    detectedDir = otherDir + "\\";  // same name, another folder
    created.push_back(detectedDir + detectedFile);
    std::remove(created.back().c_str());

    ScriptedMessages boxes({msg::No});
    Main();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, ConflictText);
    EXPECT_EQ(DUVMain::MessageText, ConflictText);
    EXPECT_EQ(DUVMain::MessageAnswer, "7");
    EXPECT_EQ(DUVMain::ModemLogDir, winDir + "\\");
    EXPECT_EQ(Sz("General", "ModemLogDir"), winDir + "\\");
    EXPECT_FALSE(std::filesystem::exists(detectedDir + detectedFile));
    EXPECT_EQ(DUVMain::LogFilePath, winDir + "\\ModemLog.txt");
    EXPECT_EQ(DUVMain::LogLineCount, 3.0f);
}

TEST_F(StartupSequence, NoBoxWhenNothingDetectedOrThePathsAgree) {
    ConfigureLog(winDir, "ModemLog.txt");
    WriteFile(winDir, "ModemLog.txt", DatedLog);
    {
        ScriptedMessages boxes;
        Main();  // nothing detected
        EXPECT_TRUE(boxes.Calls().empty());
        EXPECT_EQ(DUVMain::ModemLogFile, "ModemLog.txt");
    }
    detectedFile = "ModemLog.txt";
    detectedDir = winDir + "\\";
    {
        ScriptedMessages boxes;
        Main();
        EXPECT_TRUE(boxes.Calls().empty());
    }
}

TEST_F(StartupSequence, FirstStartAdoptsTheDetectedLogWithoutABox) {
    detectedFile = "Detected.txt";
    detectedDir = otherDir + "\\";
    ScriptedMessages boxes;
    Main();
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_EQ(Sz("General", "ModemLogFile"), "Detected.txt");
    EXPECT_EQ(Sz("General", "ModemLogDir"), otherDir + "\\");
    EXPECT_TRUE(DUVMain::SplashWaitForClick);
}

TEST_F(StartupSequence, ModemCheckOnlyWhenOnAndNotNt) {
    OSVersion::SetVersionQuery(&WindowsNt4);
    Main();
    EXPECT_EQ(DUVMain::OSVersionText, "NT 40");
    EXPECT_EQ(std::count(events.begin(), events.end(), "Checking Modem Configuration"), 0);

    events.clear();
    OSVersion::SetVersionQuery(&Windows98);
    PutSz("General", "ModemCheck", "False");
    Main();
    EXPECT_FALSE(DUVMain::ModemCheck);
    EXPECT_EQ(std::count(events.begin(), events.end(), "Checking Modem Configuration"), 0);

    DUVMain::ModemCheck = true;
    DUVMain::OSVersionText = "WIN 95";
    EXPECT_TRUE(DUVMain::ModemCheckDue());
    DUVMain::OSVersionText = "NT XX";
    EXPECT_FALSE(DUVMain::ModemCheckDue());
}

TEST_F(StartupSequence, TimeFormatFollowsForceAmPm) {
    PutDw("ViewReport\\DetailReport", "ForceAMPM", -1);
    Main();
    EXPECT_EQ(DUVMain::TimeSeparator, ":");
    EXPECT_EQ(DUVMain::TimeFormat, "h:mm:ss AMPM");
}

TEST_F(StartupSequence, CompleteSettingsAreNotWrittenBackExceptTheZeroValues) {
    Main();  // first start: stores everything
    const auto first = Dump();
    PutDw("General", "NoDisconData", 5);
    PutDw("Costs", "CostPerMeg", 10000);
    const auto complete = Dump();
    ScriptedMessages boxes;
    Main();
    EXPECT_EQ(Dump(), complete);
    EXPECT_NE(first, complete);
}
