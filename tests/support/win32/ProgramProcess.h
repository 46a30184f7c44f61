// Runs a program as its own process and watches its windows from outside: start it, wait for
// a window of it by class and caption, read and press its controls by messages, close it and
// wait for its end. Only the process started here is ever ended, through its own handle.
#pragma once

#include <windows.h>

#include <cctype>
#include <chrono>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace test_support {

// A window's text through WM_GETTEXT, which crosses process boundaries.
inline std::string ControlText(HWND hwnd) {
    char text[1024] = {};
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text),
                        SMTO_ABORTIFHUNG, 5000, &copied);
    return text;
}

inline std::string ClassName(HWND hwnd) {
    char name[256] = {};
    GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

// The first visible child (at any depth) whose text is `text`; null when there is none.
inline HWND FindControl(HWND parent, const std::string& text) {
    struct Search {
        const std::string& text;
        HWND found;
    } search{text, nullptr};
    EnumChildWindows(
        parent,
        [](HWND child, LPARAM data) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(data);
            if (IsWindowVisible(child) && ControlText(child) == s.text) {
                s.found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

class ProgramProcess {
public:
    using CaptionTest = std::function<bool(const std::string&)>;

    ProgramProcess() = default;
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;
    // A process still running at the end of a test is ended through its own handle.
    ~ProgramProcess() {
        if (process_.hProcess) {
            if (WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT) {
                TerminateProcess(process_.hProcess, 1);
                WaitForSingleObject(process_.hProcess, 10000);
            }
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
    }

    // Starts `exe` in its own folder with this process's environment, `variables` replacing
    // or adding entries (names compared without case). Empty on success, else the reason.
    std::string Start(const std::string& exe, const std::map<std::string, std::string>& variables) {
        std::vector<char> environment = Environment(variables);
        const std::string folder = exe.substr(0, exe.find_last_of("\\/") + 1);
        std::string commandLine = "\"" + exe + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                            environment.data(), folder.empty() ? nullptr : folder.c_str(), &startup,
                            &process_))
            return "cannot start " + exe + " (error " + std::to_string(GetLastError()) + ")";
        return {};
    }

    // The first visible top-level window of the process with the class whose caption passes
    // `caption`, waited for up to `timeout`; null when none came or the process ended.
    HWND WaitForWindow(const std::string& windowClass, const CaptionTest& caption,
                       std::chrono::milliseconds timeout = std::chrono::seconds(30)) const {
        HWND found = nullptr;
        Until([&] { return (found = FindWindowOf(windowClass, caption)) != nullptr; }, timeout);
        return found;
    }

    // Waits for `condition` while the process runs; false when it did not hold in time.
    bool Until(const std::function<bool()>& condition,
               std::chrono::milliseconds timeout = std::chrono::seconds(30)) const {
        const auto end = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            if (condition())
                return true;
            if (std::chrono::steady_clock::now() > end || !Running())
                return false;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    HWND FindWindowOf(const std::string& windowClass, const CaptionTest& caption) const {
        for (HWND window : TopLevelWindows()) {
            if (IsWindowVisible(window) && ClassName(window) == windowClass &&
                caption(ControlText(window)))
                return window;
        }
        return nullptr;
    }

    // What the process shows: each visible top-level window's caption in brackets, a message
    // box followed by its texts. Empty when nothing shows.
    std::string Shown() const {
        std::string shown;
        for (HWND window : TopLevelWindows()) {
            if (!IsWindowVisible(window))
                continue;
            shown += (shown.empty() ? "[" : " [") + ControlText(window) + "]";
            if (ClassName(window) != "#32770")
                continue;
            for (HWND child = GetWindow(window, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                if (ClassName(child) == "Static")
                    shown += " " + ControlText(child);
            }
        }
        return shown;
    }

    // Presses a push button the way a click reports it to the button's parent.
    static void Press(HWND button) {
        PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                     reinterpret_cast<LPARAM>(button));
    }

    // Asks the window to close and waits for the process to end and gives its exit code;
    // false when it did not end in time.
    bool CloseAndWait(HWND window, DWORD& exitCode,
                      std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
        PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) !=
            WAIT_OBJECT_0)
            return false;
        GetExitCodeProcess(process_.hProcess, &exitCode);
        return true;
    }

    bool Running() const {
        return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
    }

private:
    std::vector<HWND> TopLevelWindows() const {
        struct Search {
            DWORD process;
            std::vector<HWND> windows;
        } search{process_.dwProcessId, {}};
        EnumWindows(
            [](HWND window, LPARAM data) -> BOOL {
                auto& s = *reinterpret_cast<Search*>(data);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == s.process)
                    s.windows.push_back(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.windows;
    }

    static std::string Upper(std::string text) {
        for (char& c : text)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        return text;
    }

    static std::vector<char> Environment(const std::map<std::string, std::string>& variables) {
        std::vector<char> block;
        auto add = [&](const std::string& entry) {
            block.insert(block.end(), entry.begin(), entry.end());
            block.push_back('\0');
        };
        char* strings = GetEnvironmentStringsA();
        for (const char* entry = strings; *entry; entry += std::strlen(entry) + 1) {
            const std::string text = entry;
            bool replaced = false;
            for (const auto& [name, value] : variables)
                replaced = replaced || Upper(text.substr(0, name.size() + 1)) == Upper(name + "=");
            if (!replaced)
                add(text);
        }
        FreeEnvironmentStringsA(strings);
        for (const auto& [name, value] : variables)
            add(name + "=" + value);
        block.push_back('\0');
        return block;
    }

    PROCESS_INFORMATION process_ = {};
};

}  // namespace test_support
