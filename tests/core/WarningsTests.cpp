#include "core/Warnings.h"

#include <gtest/gtest.h>

#include "core/DUVMain.h"
#include "core/MessageBox.h"
#include "tests/support/ProgramState.h"
#include "tests/support/Seams.h"

namespace {

class StandardWarnings : public test_support::CoreStateTest {
protected:
    void SetUp() override {
        CoreStateTest::SetUp();
        DUVMain::LogFound = true;
        DUVMain::HelpFilePath = "C:\\Program Files\\DUV\\DUV.HLP";
        DUVMain::SystemLogDir = "C:\\WINDOWS\\";
    }

    int repairEnabled = 0;
    test_support::ScopedSeam<DUVMain::MainWindowControls> controls_{
        DUVMain::SetMainWindowControls, DUVMain::MainWindowControls{[this] { ++repairEnabled; }}};
};

}  // namespace

TEST_F(StandardWarnings, NoModemLogIsShownOnceWithHelp) {
    ScriptedMessages boxes;
    DUVMain::LogFound = false;
    DUVMain::WarnNoModemLog();
    DUVMain::WarnNoModemLog();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    const MessageCall& box = boxes.Calls()[0];
    EXPECT_EQ(box.text,
              "Duvelo Cannot Locate Your Modem Log File!\n\n"
              "If you have configured your dial-up connections to use a modem log\n"
              "then you should re-check your DUV options as they are INCORRECT.\n\n"
              "If NOT, then you will need to configure your Dial-up Networking \n"
              "connections to use a modem log file before Duvelo is fully\n"
              "functional.\n\n"
              "Click on the Help button below for information on how to do this.\n\n"
              "NOTE: If you are sure that your settings are correct but have not yet\n"
              "made any dial-up networking connections (such as the Internet)\n"
              "then please exit DUV now and try again after you have disconnected\n"
              "from your next dial-up networking session.\n\n");
    EXPECT_EQ(box.title, "No Modem Log Detected!");
    EXPECT_EQ(box.flags, msg::OkOnly | msg::IconExclamation | msg::HelpButton);
    EXPECT_EQ(box.helpFile, "C:\\Program Files\\DUV\\DUV.HLP");
    EXPECT_EQ(box.helpContext, 6);
    EXPECT_EQ(DUVMain::MessageText, box.text);
    EXPECT_EQ(DUVMain::MessageAnswer, "1");
    EXPECT_TRUE(DUVMain::NoLogWarningShown);

    // Found and lost again: still not shown a second time.
    DUVMain::LogFound = true;
    DUVMain::WarnNoModemLog();
    DUVMain::LogFound = false;
    DUVMain::WarnNoModemLog();
    EXPECT_EQ(boxes.Calls().size(), 1u);
}

TEST_F(StandardWarnings, NoModemLogNotShownWhenLogFound) {
    ScriptedMessages boxes;
    DUVMain::WarnNoModemLog();
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_FALSE(DUVMain::NoLogWarningShown);
}

TEST_F(StandardWarnings, LogCorruptShowsStopBoxThenEnablesRepair) {
    ScriptedMessages boxes;
    DUVMain::WarnLogCorrupt();
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_EQ(repairEnabled, 0);

    DUVMain::LogCorrupt = true;
    DUVMain::WarnLogCorrupt();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text,
              "Corruption Detected in Modem Log File!\n\n"
              "Your Modem Log File is either corrupt or not a valid\n"
              "Modem Log!  If you are sure it is a valid Modem Log then \n"
              "please select the 'Repair Modem Log' option from the\n"
              "TOOLS menu. Reports will not be available until corruption\n"
              "has been repaired or a valid log file is set up!");
    EXPECT_EQ(boxes.Calls()[0].title, "WARNING");
    EXPECT_EQ(boxes.Calls()[0].flags, msg::IconStop);
    EXPECT_EQ(repairEnabled, 1);
}

TEST_F(StandardWarnings, InvalidAndTooBigOnlyWithTheirFlags) {
    ScriptedMessages boxes;
    DUVMain::WarnInvalidLog();
    DUVMain::WarnLogTooBig();
    EXPECT_TRUE(boxes.Calls().empty());

    DUVMain::LogInvalid = true;
    DUVMain::LogTooBig = true;
    DUVMain::WarnInvalidLog();
    DUVMain::WarnLogTooBig();
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[0].text,
              "INVALID MODEM LOG FILE!\n\n"
              "The current file is NOT a Modem Log File.\n"
              "Please review your configuration by clicking \n"
              "on 'DUV Options' in the 'File' menu.");
    EXPECT_EQ(boxes.Calls()[0].title, "WARNING");
    EXPECT_EQ(boxes.Calls()[0].flags, msg::IconStop);
    EXPECT_EQ(boxes.Calls()[1].text,
              "Your Modem Log is Too Big!\n\n"
              "Your modem log can become unreliable and prone to\n"
              "corruption if it is allowed to become too large. Select\n"
              "one of the options in the TOOLS menu or ARCHIVE\n"
              "this log to prevent it from growing any larger.");
    EXPECT_EQ(boxes.Calls()[1].title, "WARNING");
    EXPECT_EQ(boxes.Calls()[1].flags, msg::IconExclamation);
}

TEST_F(StandardWarnings, LogNotInWinDirNamesTheFolderWithItsBackslash) {
    ScriptedMessages boxes;
    DUVMain::WarnLogNotInWinDir();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text,
              "Your system's active modem log file is normally located\n"
              "in the 'C:\\WINDOWS\\' directory.\n\n"
              "The file you have selected is located in a different directory\n"
              "and may not be your system's active modem log file!\n\n"
              "Please make sure that the file you select here is your\n"
              "system's currently active modem log.");
    EXPECT_EQ(boxes.Calls()[0].title, "WARNING");
    EXPECT_EQ(boxes.Calls()[0].flags, msg::IconExclamation);
}

TEST_F(StandardWarnings, MaximumCountsUseCarriageReturnsAndTheProgramTitle) {
    ScriptedMessages boxes;
    DUVMain::WarnMaxServices();
    DUVMain::WarnMaxConnections();
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[0].text,
              "Cannot Continue.... Exceeded Maximum Number of Services.\r"
              "Please increase the 'Max Services' parameter in the DUV Options window.\r"
              "The following report is incomplete!");
    EXPECT_EQ(boxes.Calls()[1].text,
              "Cannot Continue.... Exceeded Maximum Number of Connections.\r"
              "Please increase the 'Max Connections' parameter in the DUV Options window.\r"
              "The following report is incomplete!");
    for (const MessageCall& box : boxes.Calls()) {
        EXPECT_EQ(box.title, ProgramTitle);
        EXPECT_EQ(box.flags, msg::IconStop);
    }
}

TEST_F(StandardWarnings, TariffsIncompleteAndTheAnswerText) {
    ScriptedMessages boxes({msg::Cancel});
    DUVMain::WarnTariffsIncomplete();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text,
              "Your Dialup Tariff Definitions Are Incomplete!\n\n"
              "Please review your dial-up costs/tariff definitions\n"
              "as they appear to be incomplete. Make sure all time\n"
              "segments are defined properly. Reported costs will be\n"
              "inaccurate until this is done.");
    EXPECT_EQ(boxes.Calls()[0].title, "WARNING");
    EXPECT_EQ(boxes.Calls()[0].flags, msg::IconExclamation);
    EXPECT_EQ(DUVMain::MessageText, boxes.Calls()[0].text);
    EXPECT_EQ(DUVMain::MessageAnswer, "2");
}

TEST(MessageBoxSeam, UnscriptedBoxesTakeTheirFirstButtonAndScriptsNest) {
    ScriptedMessages outer({msg::No});
    {
        ScriptedMessages inner;
        EXPECT_EQ(ShowMessage("a", msg::AbortRetryIgnore), msg::Abort);
        EXPECT_EQ(ShowMessage("b", msg::YesNo), msg::Yes);
        EXPECT_EQ(ShowMessage("c", msg::RetryCancel), msg::Retry);
        EXPECT_EQ(ShowMessage("d", msg::OkCancel | msg::IconStop), msg::Ok);
        EXPECT_EQ(inner.Calls().size(), 4u);
    }
    EXPECT_EQ(ShowMessage("e", msg::YesNo), msg::No);
    ASSERT_EQ(outer.Calls().size(), 1u);
    EXPECT_EQ(outer.Calls()[0].text, "e");
}
