// Runs DUV's real windows inside the test program: the program's state as at start-up, a
// fresh program folder and Windows folder per test, an empty DUV registry key, a fixed clock,
// and scripted message boxes.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/Clock.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/ErrorHandler.h"
#include "core/MessageBox.h"
#include "core/Runtime.h"
#include "tests/support/ProgramState.h"
#include "tests/support/Seams.h"
#include "tests/support/win32/Windows.h"
#include "ui/forms/Commands.h"
#include "ui/forms/Form.h"
#include "ui/main/ProgramSetup.h"
#include "ui/main/frmMain.h"
#include "ui/main/frmSplash.h"

namespace uitest {

using test_support::Settle;
using test_support::WindowText;

// A click on a control as the system reports it to the form.
inline void Click(forms::Control& control) {
    SendMessageA(control.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    SendMessageA(control.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    Settle();
}

// A click on a button as the mouse gives it: what the press posted (a refused box taking the
// focus back) runs before the release, as the system queues posted messages before input.
inline void MouseClick(forms::Control& button) {
    SendMessageA(button.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    Settle();
    SendMessageA(button.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    Settle();
}

inline void PressButton(forms::Button& button) {
    SendMessageA(button.hwnd(), BM_CLICK, 0, 0);
    Settle();
}

// A key pressed while the control has the focus, through the program's message loop (where
// the dialog navigation takes Tab, Enter and Escape).
inline void PressKey(forms::Control& control, int key) {
    SetFocus(control.hwnd());
    PostMessageA(control.hwnd(), WM_KEYDOWN, static_cast<WPARAM>(key), 0);
    PostMessageA(control.hwnd(), WM_KEYUP, static_cast<WPARAM>(key), 0);
    forms::PumpMessages();
    Settle();
}

inline void Menu(forms::Form& form, const forms::MenuItem& item) {
    SendMessageA(form.hwnd(), WM_COMMAND, MAKEWPARAM(item.id(), 0), 0);
    Settle();
}

// Replaces the text of a masked box as typing would: select all, then type each character.
inline void Type(forms::MaskedEdit& box, const std::string& text) {
    SetFocus(box.hwnd());
    box.SetSelStart(0);
    SendMessageA(box.hwnd(), EM_SETSEL, 0, -1);
    SendMessageA(box.hwnd(), WM_CHAR, '\b', 0);
    box.SetSelStart(0);
    for (char c : text)
        SendMessageA(box.hwnd(), WM_CHAR, static_cast<unsigned char>(c), 0);
    Settle();
}

inline void Spin(forms::Form& form, forms::UpDown& upDown, int delta) {
    NMUPDOWN change = {};
    change.hdr.hwndFrom = upDown.hwnd();
    change.hdr.idFrom = static_cast<UINT_PTR>(upDown.id());
    change.hdr.code = UDN_DELTAPOS;
    change.iDelta = delta;
    SendMessageA(form.hwnd(), WM_NOTIFY, change.hdr.idFrom, reinterpret_cast<LPARAM>(&change));
    Settle();
}

// A log line as the modem driver writes it.
inline std::string LogLine(int month, int day, int year, int hour, int minute, int second,
                           const std::string& text) {
    char line[512];
    snprintf(line, sizeof(line), "%02d-%02d-%04d %02d:%02d:%02d.00 - %s", month, day, year, hour,
             minute, second, text.c_str());
    return line;
}

// A clean log of one session: dialled, connected and hung up on 2 November 2026 at 9:00.
inline std::string OneSessionLog() {
    return LogLine(11, 2, 2026, 9, 0, 0, "Recv: ATDT0123456<cr>") + "\r\n" +
           LogLine(11, 2, 2026, 9, 0, 20, "Connection established at 28800bps.") + "\r\n" +
           LogLine(11, 2, 2026, 9, 30, 0, "Hanging up the modem.") + "\r\n";
}

// That session and a second one, on 3 November 2026 at 20:00.
inline std::string TwoSessionLog() {
    return OneSessionLog() + LogLine(11, 3, 2026, 20, 0, 0, "Recv: ATDT0123456<cr>") + "\r\n" +
           LogLine(11, 3, 2026, 20, 0, 25, "Connection established at 33600bps.") + "\r\n" +
           LogLine(11, 3, 2026, 21, 0, 0, "Hanging up the modem.") + "\r\n";
}

class ProgramTest : public ::testing::Test {
protected:
    void SetUp() override {
        test_support::ResetProgramState();
        static bool installed = false;
        if (!installed) {
            InstallProgramSeams();
            installed = true;
        }
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\DUV");
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static int counter = 0;
        folder_ = std::string(temp) + "duv-ui-" + std::to_string(GetCurrentProcessId()) + "-" +
                  std::to_string(++counter);
        windows_ = folder_ + "\\WINDOWS";
        // Wine hands out process ids again: a folder an earlier run left is not this test's.
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
        CreateDirectoryA(folder_.c_str(), nullptr);
        CreateDirectoryA(windows_.c_str(), nullptr);
        DUVMain::StartupEnvironment environment = ProgramStartupEnvironment();
        environment.ProgramFolder = [this] { return folder_; };
        environment.EnvironmentVariable = [this](const std::string& name) {
            return name == "WinDir" || name == "windir" ? windows_ : std::string();
        };
        environment_.emplace(DUVMain::SetStartupEnvironment, environment);
        clock_.emplace(clock_seam::SetNow, [this] { return now_; });
        end_.emplace(DUVMain::SetProcessEnd, [] {});
        messages_ = std::make_unique<ScriptedMessages>();
        // A command that no window serves is a fault of the wiring.
        unserved_.emplace(forms::SetUnservedCommandHook, [](const std::string& command) {
            ADD_FAILURE() << "the command " << command << " is served by no window";
        });
        // An unexpected run-time error fails the test, names its context and is skipped.
        runtime::SetErrorHandler([] {
            ADD_FAILURE() << "run-time error " << runtime::Err().number << " ("
                          << runtime::Err().description << ") in " << DUVMain::ErrModuleName << "."
                          << DUVMain::ErrProcName << " step " << DUVMain::ErrStepName;
            return runtime::kActionSkip;
        });
    }

    void TearDown() override {
        for (forms::Form* form : std::vector<forms::Form*>(forms::Form::LoadedForms())) {
            EXPECT_TRUE(DUVMain::IsProgramWindow(form->Name()))
                << form->Name() << " is missing from the shutdown order";
            form->Unload();
        }
        unserved_.reset();
        Settle();
        messages_.reset();
        ErrorHandler::InstallErrorHandling();
        end_.reset();
        clock_.reset();
        environment_.reset();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\DUV");
        test_support::ResetProgramState();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    std::string LogPath() const { return windows_ + "\\ModemLog.txt"; }

    // A text setting under HKLM\SOFTWARE\DUV, as the settings store keeps it.
    static void PutSetting(const std::string& key, const std::string& name,
                           const std::string& text) {
        HKEY handle = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, ("SOFTWARE\\DUV\\" + key).c_str(), 0, nullptr,
                                  0, KEY_ALL_ACCESS, nullptr, &handle, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
        RegCloseKey(handle);
    }

    void WriteLog(const std::string& contents) {
        std::ofstream out(LogPath(), std::ios::binary);
        out << contents;
    }

    // Starts the program as DUV does: the splash window runs the start-up.
    void StartProgram() {
        frmSplash::Get().Load();
        Settle();
    }

    // The boxes shown so far with this title.
    int BoxesTitled(const std::string& title) const {
        int count = 0;
        for (const MessageCall& call : messages_->Calls()) {
            if (call.title == title)
                ++count;
        }
        return count;
    }

    std::string folder_;
    std::string windows_;
    double now_ = runtime::DateSerial(2026, 12, 9) + runtime::TimeSerial(12, 0, 0);
    std::unique_ptr<ScriptedMessages> messages_;

private:
    // Installed in SetUp and put back in TearDown, in the order the start-up needs them.
    template <class Previous>
    using Seam = std::optional<test_support::ScopedSeam<Previous>>;
    Seam<DUVMain::StartupEnvironment> environment_;
    Seam<clock_seam::NowFunction> clock_;
    Seam<std::function<void()>> end_;
    Seam<forms::UnservedCommandHook> unserved_;
};

}  // namespace uitest
