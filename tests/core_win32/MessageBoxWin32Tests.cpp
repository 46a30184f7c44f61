// The system message box, clipboard and file errors under Wine. A helper thread finds the
// box, reads what the user sees and presses its buttons.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "core/Clipboard.h"
#include "core/ErrorHandler.h"
#include "core/ErrorContext.h"
#include "core/MessageBox.h"
#include "core/OpenFiles.h"
#include "core/win32/SystemSeams.h"
#include "tests/support/Seams.h"

namespace {

// Waits for the box with this title (bounded, so a missing box fails instead of hanging).
HWND FindBox(const char* title) {
    for (int i = 0; i < 500; ++i) {
        if (HWND box = FindWindowA("#32770", title))
            return box;
        Sleep(20);
    }
    return nullptr;
}

std::string TextOf(HWND window) {
    char text[2048] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class SystemMessageBox : public ::testing::Test {
protected:
    void SetUp() override { InstallSystemMessageBox(); }
    // The system's box while a test runs, then whatever was installed before.
    test_support::ScopedSeam<MessageBoxFunction> box_{SetMessageBoxFunction, MessageBoxFunction{}};
};

}  // namespace

TEST_F(SystemMessageBox, ShowsTextAndTitleAndReturnsTheButtonPressed) {
    std::string seenText;
    std::thread user([&] {
        HWND box = FindBox("Disk Error");
        if (!box)
            return;
        seenText = TextOf(GetDlgItem(box, 0xFFFF));
        SendMessageA(GetDlgItem(box, IDIGNORE), BM_CLICK, 0, 0);
    });
    int result = ShowMessage("Disk is full. Continue?",
                             msg::AbortRetryIgnore | msg::IconExclamation, "Disk Error");
    user.join();
    EXPECT_EQ(result, msg::Ignore);
    EXPECT_EQ(seenText, "Disk is full. Continue?");
}

TEST_F(SystemMessageBox, HelpButtonOpensHelpAndLeavesTheBoxOpen) {
    std::vector<std::pair<std::string, int>> helpCalls;
    test_support::ScopedSeam help(SetHelpFunction, [&](const std::string& file, int context) {
        helpCalls.emplace_back(file, context);
    });
    std::atomic<bool> openAfterHelp{false};
    std::thread user([&] {
        HWND box = FindBox("No Modem Log Detected!");
        if (!box)
            return;
        EXPECT_NE(GetDlgItem(box, IDHELP), nullptr);
        // The Help button (and F1) reach the box as WM_HELP; Wine's button itself does not.
        HELPINFO info{};
        info.cbSize = sizeof info;
        info.iContextType = HELPINFO_WINDOW;
        info.hItemHandle = box;
        SendMessageA(box, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        Sleep(50);
        openAfterHelp = IsWindow(box) && IsWindowVisible(box);
        SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
    });
    int result = ShowMessage("Duvelo Cannot Locate Your Modem Log File!",
                             msg::OkOnly | msg::IconExclamation | msg::HelpButton,
                             "No Modem Log Detected!", "C:\\DUV\\DUV.HLP", 6);
    user.join();
    EXPECT_EQ(result, msg::Ok);
    EXPECT_TRUE(openAfterHelp);
    ASSERT_EQ(helpCalls.size(), 1u);
    EXPECT_EQ(helpCalls[0].first, "C:\\DUV\\DUV.HLP");
    EXPECT_EQ(helpCalls[0].second, 6);
}

TEST_F(SystemMessageBox, UnknownErrorPutsTheReportOnTheClipboard) {
    test_support::ScopedSeam clipboard(SetClipboardFunction, ClipboardFunction{});
    InstallSystemClipboard();
    runtime::SetContext("DUVMain", "Main");
    runtime::SetStep("GetLogStats");
    runtime::SetErr(runtime::RuntimeError(13, "Type mismatch", "DUV"));
    std::thread user([] {
        if (HWND box = FindBox("DUV - Error"))
            SendMessageA(GetDlgItem(box, IDABORT), BM_CLICK, 0, 0);
    });
    int answer = ErrorHandler::HandleError();
    user.join();
    EXPECT_EQ(answer, ErrorHandler::Abort);

    std::string pasted;
    ASSERT_TRUE(OpenClipboard(nullptr));
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const char* text = static_cast<const char*>(GlobalLock(data))) {
            pasted = text;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    EXPECT_EQ(pasted.rfind("An Error has occurred during processing.\r\n", 0), 0u);
    EXPECT_NE(pasted.find("\r\nError code:  13\r\nDescription: Type mismatch\r\n"),
              std::string::npos);
    EXPECT_NE(pasted.find("\r\nSub: Main\r\nRef: GetLogStats\r\n"), std::string::npos);
    EXPECT_EQ(pasted.find("The above information"), std::string::npos);
}

TEST(NumberedFilesOnWindows, PlatformFailuresMapToTheirErrorNumbers) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    std::string path = std::string(folder) + "duv_locked_log.txt";
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    auto numberOf = [](const std::string& p, NumberedFile::Mode mode) {
        try {
            NumberedFile file(1, p, mode);
        } catch (const runtime::RuntimeError& e) {
            return e.number;
        }
        return 0;
    };
    EXPECT_EQ(numberOf(path, NumberedFile::Mode::Read), 70);  // held by another without sharing
    CloseHandle(held);
    EXPECT_EQ(numberOf(path, NumberedFile::Mode::Read), 0);
    DeleteFileA(path.c_str());
    EXPECT_EQ(numberOf(path, NumberedFile::Mode::Read), 53);
    EXPECT_EQ(numberOf(std::string(folder) + "no_such_folder\\x.txt", NumberedFile::Mode::Read),
              76);
}

TEST(StartupOnWindows, ProgramFolderAndWindowsFolder) {
    std::string folder = SystemProgramFolder();
    char module[MAX_PATH];
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    EXPECT_EQ(std::string(module).rfind(folder + "\\", 0), 0u);
    EXPECT_NE(folder.back(), '\\');
    std::string windows = SystemEnvironmentVariable("WinDir");
    EXPECT_FALSE(windows.empty());
    EXPECT_EQ(GetFileAttributesA(windows.c_str()) & FILE_ATTRIBUTE_DIRECTORY,
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(SystemEnvironmentVariable("DUV_SURELY_NOT_SET"), "");
}
