#include "core/Startup.h"

#include <cstdlib>
#include <initializer_list>
#include <utility>

#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/GeneralFunctions.h"
#include "core/LogFile.h"
#include "core/MessageBox.h"
#include "core/PreConfigure.h"
#include "core/UserFeedback.h"

namespace DUVMain {
namespace {

StartupEnvironment& Environment() {
    static StartupEnvironment environment;
    return environment;
}

std::string ProgramFolder() {
    return Environment().ProgramFolder ? Environment().ProgramFolder() : std::string(".");
}

std::string EnvironmentVariable(const std::string& name) {
    if (Environment().EnvironmentVariable)
        return Environment().EnvironmentVariable(name);
    const char* value = std::getenv(name.c_str());
    return value ? value : "";
}

void Call(const std::function<void()>& f) {
    if (f)
        f();
}

std::string JoinLines(std::initializer_list<std::string> lines) {
    std::string text;
    bool first = true;
    for (const std::string& line : lines) {
        if (!first)
            text += "\n";
        text += line;
        first = false;
    }
    return text;
}

// Shows a box, keeping its text and answer in MessageText and MessageAnswer.
int Ask(std::string text, int flags, const std::string& title) {
    MessageText = std::move(text);
    int answer = ShowMessage(MessageText, flags, title);
    MessageAnswer = std::to_string(answer);
    return answer;
}

}  // namespace

StartupEnvironment SetStartupEnvironment(StartupEnvironment environment) {
    return std::exchange(Environment(), std::move(environment));
}

bool ModemCheckDue() { return ModemCheck && OSVersionText.find("NT") == std::string::npos; }

void SettleModemLogPath() {
    using runtime::Guard;
    if (ModemLogFile.empty()) {
        Guard([] {
            if (DetectedLogFile.empty()) {
                ModemLogFile = SystemLogName;
                ModemLogDir = SystemLogDir;
            } else {
                ModemLogFile = DetectedLogFile;
                ModemLogDir = DetectedLogDir;
            }
        });
        SettingsChanged = true;
        return;
    }
    // Nothing detected: the configured path stands.
    if (DetectedLogFile.empty() ||
        (DetectedLogFile == ModemLogFile && DetectedLogDir == ModemLogDir))
        return;
    int answer =
        Ask(JoinLines({"Modem Log Path Conflict!", "",
                       "DUV has detected that your Window's active log file",
                       "is different to the one that DUV has been set to read.", "",
                       "For DUV to operate correctly it must read your system's",
                       "currently active log file.", "", "Do you want DUV to fix this for you?"}),
            msg::YesNo | msg::IconExclamation, "WARNING");
    if (answer != msg::Yes)
        return;
    Guard([] { ModemLogFile = DetectedLogFile; });
    Guard([] { ModemLogDir = DetectedLogDir; });
    SettingsChanged = true;
    bool exists = true;
    Guard([&] { exists = GeneralFunctions::FileExists(ModemLogDir + ModemLogFile); });
    if (exists)
        return;
    // Told only when the log is there to read: a failed create has gone to the error handler.
    if (!CreateModemLog(ModemLogDir + ModemLogFile) ||
        !GeneralFunctions::FileExists(ModemLogDir + ModemLogFile))
        return;
    Ask(JoinLines({"Modem Log Created!", "", "DUV has created a new empty modem log file",
                   "to match your system settings.", "",
                   "Reports will not be available until after you ",
                   "disconnect from your next dial-up networking.", "session?"}),
        msg::OkOnly | msg::IconInformation, "Modem Log");
}

void SetTimeFormat() {
    TimeFormat = ForceAMPM ? "h" + TimeSeparator + "mm" + TimeSeparator + "ss AMPM"
                           : std::string("Long Time");
}

void Main() {
    using runtime::Guard;
    // 1.
    runtime::SetContext("DUVMain", "Main");

    // 2.
    SplashWaitForClick = false;
    StartDateValid = false;
    EndDateValid = false;
    Guard([] { AppPath = ProgramFolder(); });
    ArchiveOpen = false;
    OptimizePrompted = false;
    TipShown = false;
    CrLf = "\r\n";
    Guard([] { HelpFilePath = AppPath + "\\DUV.HLP"; });

    // 3.
    ShowOnSplash("Reading Regional Settings");
    Guard([] { CurrencyFormat::GetCurrencySymbolInfo(); });
    Guard([] { GeneralFunctions::GetDateFormatMask(); });
    Guard([] { GetDayNames(); });

    // 4.
    RegistryRoot = 0x80000002u;
    RegistryBaseKey = "SOFTWARE\\DUV";
    Guard([] { SystemLogDir = EnvironmentVariable("WinDir") + "\\"; });
    Guard([] { OSVersionText = OSVersion::GetOSVersion(); });
    SystemLogName = "ModemLog.txt";

    // 5.
    SetDefaultSettings();

    // 6.
    ShowOnSplash("Reading User Configuration");
    runtime::SetStep("ReadUserParameters");
    SettingsChanged = false;
    Guard([] { ReadUserParameters(); });

    // 7.
    FillInDefaults();

    // 8.
    Guard([] { SetTimeFormat(); });

    // 9.
    if (ModemCheckDue())
        Guard([] { DUVPreConfigure::PreConfigure(); });

    // 10.
    SettleModemLogPath();

    // 11.
    if (SettingsChanged) {
        runtime::SetStep("WriteUserParameters");
        Guard([] { WriteBackUserParameters(); });
        SettingsChanged = false;
    }

    // 12.
    ShowOnSplash("Please Wait . . . Checking Modem Log");
    LogFileTitle = ModemLogFile;
    LogFileDir = ModemLogDir;
    LogFilePath = LogFileDir + LogFileTitle;
    Guard([] { LogFound = GeneralFunctions::FileExists(LogFilePath); });

    // 13.
    if (LogFound) {
        Guard([] { LogCorrupt = CheckCorruption(true); });
        if (!LogCorrupt) {
            runtime::SetStep("GetLogStats");
            Guard([] { GetLogStats(false); });
        }
    } else {
        SplashWaitForClick = true;
    }

    // 14.
    if (SplashWaitForClick) {
        Guard([] { Call(Environment().StartSplashBlink); });
        SetSplashLabel("Click to continue...");
        return;
    }
    Guard([] { Call(Environment().ShowMainWindow); });
    Guard([] { Call(Environment().UnloadSplash); });
}

}  // namespace DUVMain
