#include "core/PreConfigure.h"

#include <utility>

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/GeneralFunctions.h"
#include "core/Registry_Functions.h"
#include "core/Runtime.h"
#include "core/UserFeedback.h"

namespace DUVPreConfigure {
namespace {

using Registry_Functions::Variant;

ShowWizardFunction& WizardWindow() {
    static ShowWizardFunction show;
    return show;
}

Variant ModemValue(const std::string& subKey, const std::string& name) {
    return Registry_Functions::QueryValue(DUVMain::ModemClassRoot, DUVMain::ModemClassKey + subKey,
                                          name);
}

// A value as text: a number read from a binary or double-word value gives its digits.
std::string TextOf(const Variant& value) {
    return value.IsLong() ? std::to_string(value.LongValue()) : value.Text();
}

// A value that only a text can give: a number where a path or commands belong is unreadable.
std::string TextOnly(const Variant& value) { return value.IsString() ? value.Text() : ""; }

// A value as a switch: a number that is not 0, or a text whose leading number is not 0.
bool IsOn(const Variant& value) {
    return value.IsString() ? runtime::Val(value.Text()) != 0 : value.Number() != 0;
}

// Adds the entries of one branch ("\Modem\" or "\Ports\") until the first missing name or
// until the list is full.
void SearchBranch(const std::string& branch, bool portsOnly) {
    for (int i = 0; DUVMain::ModemCount < kMaxModems; ++i) {
        const std::string subKey = branch + runtime::Format(i, "0000");
        const std::string name = TextOf(ModemValue(subKey, "DriverDesc"));
        if (name.empty())
            return;
        if (name.find("2 PCs") != std::string::npos)
            continue;
        if (portsOnly &&
            TextOf(ModemValue(subKey, "ConfigDialog")).find("modem") == std::string::npos)
            continue;
        ++DUVMain::ModemCount;
        ModemRecord& modem = DUVMain::Modems[DUVMain::ModemCount];
        modem = ModemRecord{};
        modem.DriverDesc = name;
        modem.ModemKey = subKey;
        if (!portsOnly)
            modem.AttachedTo = TextOf(ModemValue(subKey, "AttachedTo"));
    }
}

bool InList(std::int16_t n) { return n >= 1 && n <= DUVMain::ModemCount; }

std::string GeneralKey() { return DUVMain::RegistryBaseKey + "\\General"; }

void WriteGeneral(const std::string& name, const Variant& value, std::int32_t type) {
    Registry_Functions::CreatNewKey(GeneralKey(), DUVMain::RegistryRoot);
    Registry_Functions::SetKeyValue(DUVMain::RegistryRoot, GeneralKey(), name, value, type);
}

}  // namespace

ShowWizardFunction SetWizardWindow(ShowWizardFunction show) {
    return std::exchange(WizardWindow(), std::move(show));
}

std::string ModemKeyPath(std::int16_t n) {
    return DUVMain::ModemClassKey + DUVMain::Modems.at(n).ModemKey;
}

void FindModems() {
    DUVMain::ModemCount = 0;
    SearchBranch("\\Modem\\", false);
    SearchBranch("\\Ports\\", true);
}

std::int16_t ValidPreferredModem() {
    return InList(DUVMain::PreferredModem) ? DUVMain::PreferredModem : std::int16_t{0};
}

void ReadModemValues(std::int16_t n) {
    ModemRecord& modem = DUVMain::Modems.at(n);
    DUVMain::ModemSubKey = modem.ModemKey;
    modem.LoggingPath = TextOnly(ModemValue(modem.ModemKey, "LoggingPath"));
    modem.Logging = IsOn(ModemValue(modem.ModemKey, "Logging"));
    modem.UserInit = runtime::UCase(TextOnly(ModemValue(modem.ModemKey, "UserInit")));
    modem.HasEcho = modem.UserInit.find("E1") != std::string::npos;
}

bool HoldsUnreadableValue(std::int16_t n, const std::string& name, bool text) {
    const std::string& subKey = DUVMain::Modems.at(n).ModemKey;
    const Variant value = ModemValue(subKey, name);
    if (value.IsString() || (value.IsLong() && !text))
        return false;
    return Registry_Functions::ValueExists(DUVMain::ModemClassRoot, DUVMain::ModemClassKey + subKey,
                                           name);
}

void CheckModem(std::int16_t n) {
    ReadModemValues(n);
    const ModemRecord& modem = DUVMain::Modems.at(n);
    if (modem.LoggingPath.empty() || !modem.Logging || !modem.HasEcho)
        DUVMain::ModemConfigOK = false;
}

void PreConfigure() {
    using runtime::Guard;
    runtime::SetContext("DUVPreConfigure", "PreConfigure");
    DUVMain::ModemConfigOK = false;
    ShowOnSplash("Checking Modem Configuration");

    Guard([] { FindModems(); });
    if (DUVMain::ModemCount == 0)
        return;
    DUVMain::ModemConfigOK = true;

    std::int16_t configured = 0;
    if (const std::int16_t preferred = ValidPreferredModem()) {
        Guard([&] { CheckModem(preferred); });
        configured = preferred;
    } else {
        for (std::int16_t i = 1; i <= DUVMain::ModemCount; ++i)
            Guard([&] { CheckModem(i); });
        configured = 1;
    }

    if (DUVMain::ModemConfigOK) {
        Guard([&] {
            const std::string& path = DUVMain::Modems.at(configured).LoggingPath;
            DUVMain::DetectedLogFile = GeneralFunctions::FileNameOfPath(path);
            DUVMain::DetectedLogDir =
                GeneralFunctions::TextBeforeSeparator(path, DUVMain::DetectedLogFile);
        });
        return;
    }
    // The wizard shows and may change any listed modem: read them all first.
    for (std::int16_t i = 1; i <= DUVMain::ModemCount; ++i)
        Guard([&] { ReadModemValues(i); });
    if (WizardWindow())
        WizardWindow()();
}

void WriteGeneralValue(const std::string& name, bool value) {
    WriteGeneral(name, Variant(value), Registry_Functions::REG_TYPE_SZ);
}

void WriteGeneralValue(const std::string& name, std::int32_t value) {
    WriteGeneral(name, Variant(value), Registry_Functions::REG_TYPE_DWORD);
}

}  // namespace DUVPreConfigure
