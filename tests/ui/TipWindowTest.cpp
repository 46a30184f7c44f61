// The tip-of-the-day window over a tips file in the program's folder.
#include "tests/ui/UiFixture.h"

#include <functional>
#include <optional>
#include <vector>

#include "tests/support/Seams.h"
#include "ui/forms/Dialogs.h"
#include "ui/forms/Shell.h"
#include "ui/main/frmTip.h"

using namespace uitest;

namespace {

// Modal windows a test does not answer itself are closed as soon as they show, as a message
// box without a scripted answer gets its first button; their names are kept here.
std::vector<std::string> g_modalShown;

class CloseModalWindows : public ::testing::Environment {
public:
    void SetUp() override {
        hook_.emplace(forms::SetModalHook, [](forms::Form& form) {
            g_modalShown.push_back(form.Name());
            form.Unload();
        });
    }
    void TearDown() override { hook_.reset(); }

private:
    std::optional<test_support::ScopedSeam<std::function<void(forms::Form&)>>> hook_;
};

const auto* const g_closeModal = ::testing::AddGlobalTestEnvironment(new CloseModalWindows);

const char kGeneralKey[] = "SOFTWARE\\DUV\\General";

class TipWindow : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        DUVMain::AppPath = folder_;
        DUVMain::TipShown = false;
    }

    void WriteTips(const std::string& contents) {
        std::ofstream(folder_ + "\\DuvTips.txt", std::ios::binary) << contents;
    }

    void SetLastTip(DWORD value) {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kGeneralKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, "LastTip", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof(value));
        RegCloseKey(key);
    }

    // LastTip as stored, or -1 when absent.
    long long LastTip() const {
        DWORD value = 0;
        DWORD size = sizeof(value);
        DWORD type = 0;
        if (RegGetValueA(HKEY_LOCAL_MACHINE, kGeneralKey, "LastTip", RRF_RT_ANY, &type, &value,
                         &size) != ERROR_SUCCESS ||
            type != REG_DWORD) {
            return -1;
        }
        return value;
    }

    std::string TipsValue() const {
        char text[64] = {};
        DWORD size = sizeof(text);
        if (RegGetValueA(HKEY_LOCAL_MACHINE, kGeneralKey, "Tips", RRF_RT_REG_SZ, nullptr, text,
                         &size) != ERROR_SUCCESS) {
            return "(none)";
        }
        return text;
    }

    frmTip& Open() {
        frmTip& tip = frmTip::Get();
        tip.Show();
        Settle();
        return tip;
    }
};

TEST_F(TipWindow, StepsAndWrapsOverTheTipsAndRemembersTheLastOne) {
    WriteTips("First tip.\r\n\r\nThird tip.\r\n");
    frmTip& tip = Open();
    EXPECT_EQ(tip.Caption(), "  DUV - Tip of the Day");
    EXPECT_EQ(tip.Label1.Text(), "Did you know...");
    EXPECT_EQ(tip.chkLoadTipsAtStartup.Value(), 1);
    ASSERT_EQ(tip.Tips().size(), 3u) << "an empty line is a tip, no tip after the last line end";
    EXPECT_EQ(tip.lblTipText.Text(), "First tip.");
    PressButton(tip.cmdNextTip);
    EXPECT_EQ(tip.lblTipText.Text(), "");
    PressButton(tip.cmdNextTip);
    EXPECT_EQ(tip.lblTipText.Text(), "Third tip.");
    PressButton(tip.cmdNextTip);
    EXPECT_EQ(tip.lblTipText.Text(), "First tip.");
    PressButton(tip.btnPrevious);
    EXPECT_EQ(tip.lblTipText.Text(), "Third tip.");
    PressButton(tip.btnPrevious);
    PressButton(tip.cmdOK);
    EXPECT_EQ(frmTip::IfLoaded(), nullptr);
    EXPECT_EQ(LastTip(), 2);
    EXPECT_TRUE(DUVMain::TipShown);

    // The next start shows the tip after the last one.
    frmTip& again = Open();
    EXPECT_EQ(again.lblTipText.Text(), "Third tip.");
    again.Unload();
    EXPECT_EQ(LastTip(), 3);
    frmTip& third = Open();
    EXPECT_EQ(third.lblTipText.Text(), "First tip.") << "after the last tip the first";
}

TEST_F(TipWindow, EscapeClosesAndRemembersTheTip) {
    WriteTips("First tip.\r\nSecond tip.\r\n");
    frmTip& tip = Open();
    PressButton(tip.cmdNextTip);
    PressKey(tip.cmdNextTip, VK_ESCAPE);
    EXPECT_EQ(frmTip::IfLoaded(), nullptr);
    EXPECT_EQ(LastTip(), 2);
}

TEST_F(TipWindow, AnyStoredNumberLeadsToATipOfTheFile) {
    WriteTips("One\r\nTwo\r\nThree");
    for (DWORD stored : {3u, 99u, 0xFFFFFFF9u /* -7 */, 0x7FFFFFFFu}) {
        SetLastTip(stored);
        frmTip& tip = Open();
        EXPECT_EQ(tip.lblTipText.Text(), "One") << stored;
        EXPECT_EQ(tip.CurrentTip(), 1);
        PressButton(tip.btnPrevious);
        EXPECT_EQ(tip.lblTipText.Text(), "Three") << "a last line without its end is a tip";
        tip.Unload();
        EXPECT_EQ(LastTip(), 3);
    }
    SetLastTip(1);
    frmTip& tip = Open();
    EXPECT_EQ(tip.lblTipText.Text(), "Two");
}

TEST_F(TipWindow, MissingFileShowsHowToMakeOne) {
    SetLastTip(0xFFFFFFFFu);
    frmTip& tip = Open();
    const std::string expected =
        "That the DuvTips.txt file was not found? \r\n\r\nCreate a text file named DuvTips.txt "
        "using NotePad with 1 tip per line. Then place it in the same directory as the "
        "application. ";
    EXPECT_EQ(tip.lblTipText.Text(), expected);
    PressButton(tip.cmdNextTip);
    PressButton(tip.btnPrevious);
    EXPECT_EQ(tip.lblTipText.Text(), expected);
    tip.Unload();
    EXPECT_EQ(LastTip(), 0) << "no tip number outside the tips is kept";
}

TEST_F(TipWindow, CheckBoxWritesTheStartupSettingAtOnce) {
    WriteTips("Tip\r\n");
    frmTip& tip = Open();
    EXPECT_EQ(TipsValue(), "True");
    Click(tip.chkLoadTipsAtStartup);
    EXPECT_EQ(tip.chkLoadTipsAtStartup.Value(), 0);
    EXPECT_FALSE(DUVMain::Tips);
    EXPECT_EQ(TipsValue(), "False");
    Click(tip.chkLoadTipsAtStartup);
    EXPECT_TRUE(DUVMain::Tips);
    EXPECT_EQ(TipsValue(), "True");
}

TEST_F(TipWindow, ReadmeAndHelpButtons) {
    WriteTips("Tip\r\n");
    std::vector<std::string> opened;
    bool works = true;
    test_support::ScopedSeam shell(forms::SetShellOpenFunction, [&](const std::string& target) {
        opened.push_back(target);
        return works;
    });
    std::vector<unsigned> helpCommands;
    test_support::ScopedSeam help(
        forms::SetHelpFunction,
        [&](const std::string&, unsigned command) { helpCommands.push_back(command); });
    frmTip& tip = Open();
    PressButton(tip.btnReadme);
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], folder_ + "\\readme.htm");
    works = false;
    PressButton(tip.btnReadme);
    ASSERT_EQ(messages_->Calls().size(), 1u);
    EXPECT_EQ(messages_->Calls()[0].text, "Unable to open your 'Readme' file");
    PressButton(tip.Command1);
    EXPECT_EQ(helpCommands, std::vector<unsigned>{11});
}

}  // namespace

namespace {

// The main window shows the tip once per run, on its first activation with a usable log.
TEST_F(TipWindow, MainWindowShowsTheTipOnceAtStart) {
    WriteLog(OneSessionLog());
    g_modalShown.clear();
    StartProgram();
    ASSERT_NE(frmMain::IfLoaded(), nullptr);
    Settle();
    EXPECT_EQ(g_modalShown, std::vector<std::string>{"frmTip"});
    EXPECT_EQ(frmTip::IfLoaded(), nullptr);
    EXPECT_TRUE(DUVMain::TipShown);
    frmMain::Get().Activate();
    EXPECT_EQ(g_modalShown.size(), 1u);
}

}  // namespace
