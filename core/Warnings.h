#pragma once
// The standard warnings about the modem log and the analysis limits. Each builds its text into
// DUVMain::MessageText, shows one box and stores the button code in DUVMain::MessageAnswer.

#include <functional>

namespace DUVMain {

void WarnNoModemLog();  // when the log was not found, once per run
void WarnLogCorrupt();  // when LogCorrupt
void WarnInvalidLog();  // when LogInvalid
void WarnLogTooBig();   // when LogTooBig
void WarnLogNotInWinDir();
void WarnMaxServices();
void WarnMaxConnections();
void WarnTariffsIncomplete();

// What the warnings change in the main window; the main window installs it.
struct MainWindowControls {
    // Enables the "Repair Modem Log" menu item and toolbar button 9.
    std::function<void()> EnableRepair;
};
MainWindowControls SetMainWindowControls(MainWindowControls controls);  // returns the previous

}  // namespace DUVMain
