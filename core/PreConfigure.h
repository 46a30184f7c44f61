// The start-up modem check: finds the installed modems in the modem driver's registry keys,
// checks their logging switch, log path and echo, and reports the log the driver writes or
// opens the set-up wizard.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace DUVPreConfigure {

// The most modems listed, over the "\Modem\" and "\Ports\" branches together.
inline constexpr int kMaxModems = 10;

// Finds the modems, checks them and either sets DUVMain::DetectedLogFile and DetectedLogDir
// or shows the wizard. Every listed modem's values are read before the wizard shows.
void PreConfigure();

// Reads the three values of modem n (1 to ModemCount) into DUVMain::Modems(n) and clears
// DUVMain::ModemConfigOK when one of them is not in order.
void CheckModem(std::int16_t n);

// Reads the values of modem n without judging them.
void ReadModemValues(std::int16_t n);

// Lists the modems of both branches into DUVMain::Modems and DUVMain::ModemCount.
void FindModems();

// Whether modem n holds the value name in a form the program cannot read: stored, but read
// as nothing, or (for a text such as "UserInit" or "LoggingPath") read as a number. The wizard
// leaves such a value as it is rather than replace what it could not see.
bool HoldsUnreadableValue(std::int16_t n, const std::string& name, bool text);

// The preferred modem when it is one of the listed modems, else 0.
std::int16_t ValidPreferredModem();

// The registry key of modem n under DUVMain::ModemClassRoot.
std::string ModemKeyPath(std::int16_t n);

// Writes one of the program's own values under SOFTWARE\DUV\General, creating the key when it
// is missing.
void WriteGeneralValue(const std::string& name, bool value);
void WriteGeneralValue(const std::string& name, std::int32_t value);

// The wizard window, shown modally; the program installs it. Returns the previous one.
using ShowWizardFunction = std::function<void()>;
ShowWizardFunction SetWizardWindow(ShowWizardFunction show);

}  // namespace DUVPreConfigure
