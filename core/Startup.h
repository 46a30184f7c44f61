#pragma once
// The program's start-up procedure, run once from the splash window's load event.

#include <functional>
#include <string>

namespace DUVMain {

// What the start-up asks of the system and of the windows.
struct StartupEnvironment {
    std::function<std::string()> ProgramFolder;  // AppPath, no backslash
    std::function<std::string(const std::string&)> EnvironmentVariable;
    std::function<void()> StartSplashBlink;  // enables frmSplash.SplashTimer1
    std::function<void()> ShowMainWindow;    // frmMain shown modeless and given the focus
    std::function<void()> UnloadSplash;      // unloads frmSplash
};

// Installs the environment; returns the previous one.
StartupEnvironment SetStartupEnvironment(StartupEnvironment environment);

// Whether the start-up modem check runs: ModemCheck is on and the version text has no "NT".
bool ModemCheckDue();

// Settles the modem log's path against the one the modem check detected, asking the user
// when they differ (start-up step 10).
void SettleModemLogPath();

// The time format of the reports: "h:mm:ss AMPM" with the regional separator when ForceAMPM
// is on, else the regional "Long Time" (start-up step 8).
void SetTimeFormat();

// Steps 1 to 14: environment, defaults, settings, modem check, the log's path, its check and
// statistics, then the main window, or the splash window waiting for a click when no log
// exists.
void Main();

}  // namespace DUVMain
