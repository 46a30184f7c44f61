// DUV.exe run as its own process, its start-up's modem check gated by the Windows version wine
// reports to it: under the Windows 95 setting the set-up wizard opens before the main window
// and its Finish switches the modem's logging on and creates the log; under wine's default
// (an NT version) no wizard shows.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>

#include "tests/support/win32/ModemKeys.h"
#include "tests/support/win32/ProgramProcess.h"

namespace {

using test_support::ControlText;
using test_support::FindControl;
using test_support::ModemValue;
using test_support::ProgramProcess;

constexpr const char* kFormClass = "DuveloForm";
constexpr const char* kWizardCaption = " DUV Configuration Wizard";
constexpr const char* kTipCaption = "  DUV - Tip of the Day";
constexpr const char* kSettingsKey = "SOFTWARE\\DUV";
// Where wine looks for the settings of one program, by its file name.
constexpr const char* kWineProgramKey = "Software\\Wine\\AppDefaults\\DUV.exe";

std::string DuvExe() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string exe = path;
    exe = exe.substr(0, exe.find_last_of('\\') + 1) + DUV_EXE_FROM_TESTS;
    for (char& c : exe)
        c = c == '/' ? '\\' : c;
    return exe;
}

bool IsMainCaption(const std::string& caption) { return caption.rfind("DUVELO", 0) == 0; }

class StartupModemCheck : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveKeys();
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        windowsFolder_ =
            std::string(temp) + "duv-process-" + std::to_string(GetCurrentProcessId()) + "\\";
        ASSERT_TRUE(CreateDirectoryA(windowsFolder_.c_str(), nullptr)) << windowsFolder_;
        ASSERT_TRUE(test_support::PutModemNeedingChange());
    }
    void TearDown() override {
        RemoveKeys();
        DeleteFileA(LogPath().c_str());
        RemoveDirectoryA(windowsFolder_.c_str());
    }

    // Removes what the test puts into the registry and what DUV writes (the modem driver's
    // class key too when nothing else is left in it). Wine keeps its AppDefaults key itself.
    static void RemoveKeys() {
        RegDeleteTreeA(HKEY_CURRENT_USER, kWineProgramKey);
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, test_support::kModemClassKey);
        RegDeleteKeyA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Services\\Class");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSettingsKey);
    }

    // Wine reports this version ("win95", ...) to DUV.exe.
    static void SetWindowsVersion(const char* version) {
        ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kWineProgramKey, "Version", REG_SZ, version,
                                  static_cast<DWORD>(std::strlen(version) + 1)),
                  ERROR_SUCCESS);
    }

    // The log DUV uses when nothing is configured: in the Windows folder it is given.
    std::string LogPath() const { return windowsFolder_ + "ModemLog.txt"; }

    void StartDuv() {
        const std::string failure =
            duv_.Start(DuvExe(), {{"WinDir", windowsFolder_.substr(0, windowsFolder_.size() - 1)}});
        ASSERT_EQ(failure, "");
    }

    HWND WaitFor(const std::string& caption) {
        HWND window = duv_.WaitForWindow(kFormClass,
                                         [&](const std::string& text) { return text == caption; });
        EXPECT_NE(window, nullptr)
            << "no window \"" << caption << "\" came; DUV "
            << (duv_.Running() ? "runs" : "has ended") << "; it shows: " << duv_.Shown();
        return window;
    }

    // Presses the wizard's button `caption` and waits for a button `next` to show.
    void Press(HWND wizard, const std::string& caption, const std::string& next) {
        HWND button = FindControl(wizard, caption);
        ASSERT_NE(button, nullptr) << "the wizard shows no button " << caption;
        ProgramProcess::Press(button);
        ASSERT_TRUE(duv_.Until([&] { return FindControl(wizard, next) != nullptr; }))
            << "after " << caption << " no " << next << " came";
    }

    // Waits for the main window on the log and the tip of the day it shows, closes the tip,
    // then the main window, and sees DUV end.
    void ExpectMainWindowThenClose() {
        HWND main = duv_.WaitForWindow(kFormClass, IsMainCaption);
        ASSERT_NE(main, nullptr) << "no main window; DUV shows: " << duv_.Shown();
        EXPECT_EQ(duv_.FindWindowOf(kFormClass,
                                    [](const std::string& text) { return text == kWizardCaption; }),
                  nullptr);
        EXPECT_NE(FindControl(main, "ModemLog.txt"), nullptr) << "the main window names no log";
        HWND tip = WaitFor(kTipCaption);
        ASSERT_NE(tip, nullptr);
        PostMessageA(tip, WM_CLOSE, 0, 0);
        ASSERT_TRUE(duv_.Until([&] { return !IsWindow(tip) || !IsWindowVisible(tip); }));
        ASSERT_TRUE(duv_.Until([&] { return IsWindowEnabled(main) != FALSE; }));
        EXPECT_EQ(duv_.Shown(), "[" + ControlText(main) + "]");
        DWORD exitCode = 1;
        ASSERT_TRUE(duv_.CloseAndWait(main, exitCode)) << "DUV did not end after WM_CLOSE";
        EXPECT_EQ(exitCode, 0u);
    }

    std::string windowsFolder_;
    ProgramProcess duv_;
};

// Under the Windows 95 setting the wizard opens at start-up; Finish switches logging and echo
// on, sets the log path, creates the log, and DUV goes on to its main window on that log.
TEST_F(StartupModemCheck, Windows95OpensTheWizardAndFinishCreatesTheLog) {
    SetWindowsVersion("win95");
    StartDuv();
    HWND wizard = WaitFor(kWizardCaption);
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(duv_.FindWindowOf(kFormClass, IsMainCaption), nullptr);
    Press(wizard, "&Next >", "< &Back");
    EXPECT_NE(FindControl(wizard, "Installed Modems"), nullptr);
    Press(wizard, "&Next >", "&Finish");
    EXPECT_NE(FindControl(wizard, "Standard Modem"), nullptr);
    Press(wizard, "&Finish", "&OK");
    EXPECT_EQ(ModemValue("Logging"), std::make_pair(DWORD{REG_BINARY}, std::string("\x01", 1)));
    EXPECT_EQ(ModemValue("UserInit"), std::make_pair(DWORD{REG_SZ}, std::string("ATM0E1", 7)));
    EXPECT_EQ(ModemValue("LoggingPath"),
              std::make_pair(DWORD{REG_SZ}, LogPath() + std::string(1, '\0')));
    EXPECT_EQ(
        test_support::RegistryValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\DUV\\General", "PreferredModem"),
        std::make_pair(DWORD{REG_DWORD}, std::string("\x01\0\0\0", 4)));
    std::ifstream log(LogPath(), std::ios::binary);
    std::string firstLine;
    EXPECT_TRUE(std::getline(log, firstLine)) << "no log at " << LogPath();
    EXPECT_EQ(firstLine.empty() ? '\0' : firstLine.back(), '\r');
    HWND ok = FindControl(wizard, "&OK");
    ASSERT_NE(ok, nullptr);
    ProgramProcess::Press(ok);
    ASSERT_TRUE(duv_.Until([&] { return !IsWindow(wizard) || !IsWindowVisible(wizard); }))
        << "the wizard stays after OK";
    ExpectMainWindowThenClose();
}

// Wine's default version is an NT one: no wizard, the modem keys stay as they are, and the
// main window opens on the log that is there.
TEST_F(StartupModemCheck, NoWizardUnderWineDefaultVersion) {
    std::ofstream(LogPath(), std::ios::binary)
        << "12-09-2026 10:00:00.00 - Standard Modem in use.\r\n";
    StartDuv();
    ExpectMainWindowThenClose();
    EXPECT_EQ(ModemValue("Logging"), std::make_pair(DWORD{REG_BINARY}, std::string("\0", 1)));
    EXPECT_EQ(ModemValue("UserInit"), std::make_pair(DWORD{REG_SZ}, std::string("ATM0", 5)));
    EXPECT_EQ(ModemValue("LoggingPath").first, 0u);
}

}  // namespace
