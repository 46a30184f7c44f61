// The About window: its texts, the hover marking of the two links, the links and the
// system-information button.
#include "tests/ui/UiFixture.h"

#include <vector>

#include "core/GeneralFunctions.h"
#include "tests/support/Seams.h"
#include "ui/forms/Shell.h"
#include "ui/main/frmAbout.h"

using namespace uitest;

namespace {

const char kMsInfoKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const char kLocationKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";

void SetMachineText(const char* key, const char* name, const std::string& value) {
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &handle, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>(value.size() + 1));
    RegCloseKey(handle);
}

void DeleteMachineValue(const char* key, const char* name) {
    HKEY handle = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_ALL_ACCESS, &handle) == ERROR_SUCCESS) {
        RegDeleteValueA(handle, name);
        RegCloseKey(handle);
    }
}

void MoveOver(HWND hwnd) {
    SendMessageA(hwnd, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    Settle(1);
}

class AboutWindow : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        DeleteMachineValue(kMsInfoKey, "PATH");
        DeleteMachineValue(kLocationKey, "MSINFO");
    }
    void TearDown() override {
        DeleteMachineValue(kMsInfoKey, "PATH");
        DeleteMachineValue(kLocationKey, "MSINFO");
        ProgramTest::TearDown();
    }

    std::vector<std::string> opened_;
    bool shellWorks_ = true;
    test_support::ScopedSeam<forms::ShellOpenFunction> shell_{forms::SetShellOpenFunction,
                                                              [this](const std::string& target) {
                                                                  opened_.push_back(target);
                                                                  return shellWorks_;
                                                              }};
};

TEST_F(AboutWindow, ShowsTitleVersionAndSystem) {
    DUVMain::OSVersionText = "Windows NT 10.0 (Build 19043)";
    frmAbout& about = frmAbout::Get();
    about.Load();
    EXPECT_EQ(about.Caption(), "About Duvelo");
    EXPECT_EQ(about.lblVersion.Text(), "Version 1.0.0");
    for (forms::Label& title : about.lblTitle)
        EXPECT_EQ(title.Text(), "Duvelo");
    EXPECT_EQ(about.lblOS.Text(), "Windows NT 10.0 (Build 19043)");
    EXPECT_EQ(about.cmdSysInfo.Text(), "&System Info...");
    EXPECT_EQ(about.cmdOK.Text(), "OK");
    EXPECT_EQ(about.lblWWW.Text(), frmAbout::WebAddress);
    EXPECT_EQ(about.lblEmail.Text(), frmAbout::EmailAddress);
    PressButton(about.cmdOK);
    EXPECT_EQ(frmAbout::IfLoaded(), nullptr);
}

TEST_F(AboutWindow, PointerMarksOneLinkAtATime) {
    frmAbout& about = frmAbout::Get();
    about.Show();
    Settle();
    EXPECT_FALSE(about.LinkMarked(about.lblWWW));
    EXPECT_FALSE(about.LinkMarked(about.lblEmail));
    MoveOver(about.lblWWW.hwnd());
    EXPECT_TRUE(about.LinkMarked(about.lblWWW));
    EXPECT_FALSE(about.LinkMarked(about.lblEmail));
    MoveOver(about.lblEmail.hwnd());
    EXPECT_FALSE(about.LinkMarked(about.lblWWW));
    EXPECT_TRUE(about.LinkMarked(about.lblEmail));
    MoveOver(about.hwnd());
    EXPECT_FALSE(about.LinkMarked(about.lblWWW));
    EXPECT_FALSE(about.LinkMarked(about.lblEmail));
    MoveOver(about.lblWWW.hwnd());
    MoveOver(about.lblTitle[0].hwnd());
    EXPECT_FALSE(about.LinkMarked(about.lblWWW));
    MoveOver(about.lblEmail.hwnd());
    MoveOver(about.lblRights.hwnd());
    EXPECT_FALSE(about.LinkMarked(about.lblEmail));
}

TEST_F(AboutWindow, LinksOpenThroughTheShellAndReportFailure) {
    frmAbout& about = frmAbout::Get();
    about.Show();
    Click(about.lblWWW);
    Click(about.lblEmail);
    ASSERT_EQ(opened_.size(), 2u);
    EXPECT_EQ(opened_[0], "http://www.duvelo.example/");
    EXPECT_EQ(opened_[1], "mailto:duvelo@duvelo.example");
    EXPECT_TRUE(messages_->Calls().empty());

    shellWorks_ = false;
    Click(about.lblWWW);
    Click(about.lblEmail);
    ASSERT_EQ(messages_->Calls().size(), 2u);
    EXPECT_EQ(messages_->Calls()[0].text, "Unable to open your Web Browser");
    EXPECT_EQ(messages_->Calls()[0].title, "DUV");
    EXPECT_EQ(messages_->Calls()[1].text, "Unable to open your Email program");
}

TEST_F(AboutWindow, SystemInfoWithoutRegistryValuesIsUnavailable) {
    frmAbout& about = frmAbout::Get();
    about.Show();
    PressButton(about.cmdSysInfo);
    ASSERT_EQ(messages_->Calls().size(), 1u);
    EXPECT_EQ(messages_->Calls()[0].text, "System Information Is Unavailable At This Time");
    EXPECT_EQ(messages_->Calls()[0].flags, msg::OkOnly);
    EXPECT_TRUE(opened_.empty());
}

TEST_F(AboutWindow, SystemInfoFromAFileOrFromAFolderOfTheSecondValue) {
    std::string program = folder_ + "\\msinfo.exe";
    std::ofstream(program) << "x";
    SetMachineText(kMsInfoKey, "PATH", program);
    frmAbout& about = frmAbout::Get();
    about.Show();
    PressButton(about.cmdSysInfo);
    ASSERT_EQ(opened_.size(), 1u);
    EXPECT_EQ(opened_[0], program);

    // The first value names nothing: the second names a folder holding MSINFO32.EXE.
    DeleteMachineValue(kMsInfoKey, "PATH");
    std::ofstream(folder_ + "\\MSINFO32.EXE") << "x";
    SetMachineText(kLocationKey, "MSINFO", folder_);
    PressButton(about.cmdSysInfo);
    ASSERT_EQ(opened_.size(), 2u);
    EXPECT_EQ(opened_[1], folder_ + "\\MSINFO32.EXE");

    // A folder without the program.
    DeleteFileA((folder_ + "\\MSINFO32.EXE").c_str());
    PressButton(about.cmdSysInfo);
    EXPECT_EQ(opened_.size(), 2u);
    ASSERT_EQ(messages_->Calls().size(), 1u);
    EXPECT_EQ(messages_->Calls()[0].text, "System Information Is Unavailable At This Time");
}

TEST_F(AboutWindow, EscapeCloses) {
    frmAbout& about = frmAbout::Get();
    about.Show();
    Settle();
    PressKey(about.cmdSysInfo, VK_ESCAPE);
    EXPECT_EQ(frmAbout::IfLoaded(), nullptr);
    EXPECT_TRUE(messages_->Calls().empty()) << "the focused System Info button is not run";
}

// The main window's About command shows the window modally and returns when it closes.
TEST_F(AboutWindow, MainWindowCommandShowsItModally) {
    StartProgram();
    Click(frmSplash::Get().Picture1);
    frmMain& main = frmMain::Get();
    Settle();
    bool wasModal = false;
    bool mainDisabled = false;
    test_support::ScopedSeam modal(forms::SetModalHook, [&](forms::Form& form) {
        wasModal = form.IsModal() && &form == frmAbout::IfLoaded();
        mainDisabled = !IsWindowEnabled(frmMain::Get().hwnd());
        frmAbout::Get().cmdOK_Click();
    });
    main.ToolbarMain_ButtonClick("About DUV");
    EXPECT_TRUE(wasModal);
    EXPECT_TRUE(mainDisabled);
    EXPECT_EQ(frmAbout::IfLoaded(), nullptr);
    EXPECT_TRUE(IsWindowEnabled(main.hwnd()));
}

}  // namespace
