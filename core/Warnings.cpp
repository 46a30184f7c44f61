#include "core/Warnings.h"

#include <initializer_list>
#include <string>
#include <utility>

#include "core/DUVMain.h"
#include "core/MessageBox.h"

namespace DUVMain {
namespace {

MainWindowControls& Controls() {
    static MainWindowControls controls;
    return controls;
}

// Lines joined by the separator; an empty line stands for a blank line.
std::string JoinLines(std::initializer_list<std::string> lines, const char* separator = "\n") {
    std::string text;
    bool first = true;
    for (const std::string& line : lines) {
        if (!first)
            text += separator;
        text += line;
        first = false;
    }
    return text;
}

void Show(std::string text, int flags, const std::string& title = "",
          const std::string& helpFile = "", int helpContext = 0) {
    MessageText = std::move(text);
    MessageAnswer = std::to_string(ShowMessage(MessageText, flags, title, helpFile, helpContext));
}

}  // namespace

MainWindowControls SetMainWindowControls(MainWindowControls controls) {
    return std::exchange(Controls(), std::move(controls));
}

void WarnNoModemLog() {
    if (LogFound || NoLogWarningShown)
        return;
    Show(JoinLines({"Duvelo Cannot Locate Your Modem Log File!", "",
                    "If you have configured your dial-up connections to use a modem log",
                    "then you should re-check your DUV options as they are INCORRECT.", "",
                    "If NOT, then you will need to configure your Dial-up Networking ",
                    "connections to use a modem log file before Duvelo is fully", "functional.", "",
                    "Click on the Help button below for information on how to do this.", "",
                    "NOTE: If you are sure that your settings are correct but have not yet",
                    "made any dial-up networking connections (such as the Internet)",
                    "then please exit DUV now and try again after you have disconnected",
                    "from your next dial-up networking session.", "", ""}),
         msg::OkOnly | msg::IconExclamation | msg::HelpButton, "No Modem Log Detected!",
         HelpFilePath, 6);
    NoLogWarningShown = true;
}

void WarnLogCorrupt() {
    if (!LogCorrupt)
        return;
    Show(JoinLines({"Corruption Detected in Modem Log File!", "",
                    "Your Modem Log File is either corrupt or not a valid",
                    "Modem Log!  If you are sure it is a valid Modem Log then ",
                    "please select the 'Repair Modem Log' option from the",
                    "TOOLS menu. Reports will not be available until corruption",
                    "has been repaired or a valid log file is set up!"}),
         msg::OkOnly | msg::IconStop, "WARNING");
    if (Controls().EnableRepair)
        Controls().EnableRepair();
}

void WarnInvalidLog() {
    if (!LogInvalid)
        return;
    Show(JoinLines({"INVALID MODEM LOG FILE!", "", "The current file is NOT a Modem Log File.",
                    "Please review your configuration by clicking ",
                    "on 'DUV Options' in the 'File' menu."}),
         msg::OkOnly | msg::IconStop, "WARNING");
}

void WarnLogTooBig() {
    if (!LogTooBig)
        return;
    Show(JoinLines({"Your Modem Log is Too Big!", "",
                    "Your modem log can become unreliable and prone to",
                    "corruption if it is allowed to become too large. Select",
                    "one of the options in the TOOLS menu or ARCHIVE",
                    "this log to prevent it from growing any larger."}),
         msg::OkOnly | msg::IconExclamation, "WARNING");
}

void WarnLogNotInWinDir() {
    Show(JoinLines({"Your system's active modem log file is normally located",
                    "in the '" + SystemLogDir + "' directory.", "",
                    "The file you have selected is located in a different directory",
                    "and may not be your system's active modem log file!", "",
                    "Please make sure that the file you select here is your",
                    "system's currently active modem log."}),
         msg::OkOnly | msg::IconExclamation, "WARNING");
}

void WarnMaxServices() {
    Show(JoinLines({"Cannot Continue.... Exceeded Maximum Number of Services.",
                    "Please increase the 'Max Services' parameter in the DUV Options window.",
                    "The following report is incomplete!"},
                   "\r"),
         msg::OkOnly | msg::IconStop);
}

void WarnMaxConnections() {
    Show(JoinLines({"Cannot Continue.... Exceeded Maximum Number of Connections.",
                    "Please increase the 'Max Connections' parameter in the DUV Options window.",
                    "The following report is incomplete!"},
                   "\r"),
         msg::OkOnly | msg::IconStop);
}

void WarnTariffsIncomplete() {
    Show(JoinLines({"Your Dialup Tariff Definitions Are Incomplete!", "",
                    "Please review your dial-up costs/tariff definitions",
                    "as they appear to be incomplete. Make sure all time",
                    "segments are defined properly. Reported costs will be",
                    "inaccurate until this is done."}),
         msg::OkOnly | msg::IconExclamation, "WARNING");
}

}  // namespace DUVMain
