#include "bench/ServicesExport.h"

#include <cstdio>
#include <string>

#include "core/SettingsValues.h"

namespace bench {
namespace {

std::string Dword(long long value) {
    char text[32];
    std::snprintf(text, sizeof text, "dword:%08x", static_cast<unsigned>(value));
    return text;
}

void Put(std::string& out, const std::string& name, const std::string& data) {
    out += "\"" + name + "\"=" + data + "\n";
}

void PutText(std::string& out, const std::string& name, const std::string& text) {
    Put(out, name, "\"" + text + "\"");
}

// Sets or adds one value line of the key that starts at keyLine.
void SetValue(std::string& reg, const std::string& keyLine, const std::string& name,
              const std::string& data) {
    const std::size_t key = reg.find(keyLine);
    const std::size_t keyEnd = key == std::string::npos ? std::string::npos : reg.find("\n[", key);
    const std::size_t at = reg.find("\"" + name + "\"=", key);
    if (key != std::string::npos && at != std::string::npos && at < keyEnd) {
        reg.replace(at, reg.find('\n', at) - at, "\"" + name + "\"=" + data);
    } else if (key != std::string::npos) {
        reg.insert(reg.find('\n', key) + 1, "\"" + name + "\"=" + data + "\n");
    } else {
        reg += "\n" + keyLine + "\n\"" + name + "\"=" + data + "\n";
    }
}

}  // namespace

std::string ServicesExport(const std::string& base, int services) {
    static const char kServicesKey[] = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\DUV\\Services]";
    static const char kGeneralKey[] = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\DUV\\General]";
    // The base without its own services key.
    std::string reg = base;
    const std::size_t at = reg.find(kServicesKey);
    if (at != std::string::npos) {
        std::size_t end = reg.find("\n[", at);
        reg.erase(at, end == std::string::npos ? std::string::npos : end + 1 - at);
    }
    SetValue(reg, kGeneralKey, "MaxServices", Dword(services));
    SetValue(reg, kGeneralKey, "UsedServices", Dword(services));

    std::string out = "\n";
    out += kServicesKey;
    out += "\n";
    static const char* const kDays[] = {"Everyday", "Mon-Fri", "Sat-Sun", "Holidays", "Monday"};
    for (int i = 1; i <= services; ++i) {
        const std::string n = std::to_string(i);
        PutText(out, "ServiceName" + n, "Service " + n);
        PutText(out, "ServiceNumber" + n, std::to_string(7000000 + i));
        PutText(out, "ServiceAltNumber" + n, std::to_string(8000000 + i));
        Put(out, "DialOption" + n, Dword(2));
        Put(out, "DialFixedTariff" + n, Dword(1000));
        Put(out, "UsedTariffs" + n, Dword(10));
        for (int j = 1; j <= 10; ++j) {
            const std::string p = "Tariff" + n + "-" + std::to_string(j);
            Put(out, p + "After", Dword(60 * j));
            PutText(out, p + "AppliesDays", kDays[j % 5]);
            PutText(out, p + "AppliesTimeEnd", std::to_string(j) + ":59:00 PM");
            PutText(out, p + "AppliesTimeStart", std::to_string(j) + ":00:00 AM");
            PutText(out, p + "Description", "Tariff " + std::to_string(j));
            Put(out, p + "DialRate", Dword(100 * j));
            Put(out, p + "PerMinuteRate", Dword(50 * j));
            PutText(out, p + "Unit", "Per Minute");
            Put(out, p + "UnitMins", Dword(0));
            Put(out, p + "UnitSecs", Dword(0));
        }
        Put(out, "ServiceRate" + n, Dword(15000));
        Put(out, "ServiceOption" + n, Dword(1));
        Put(out, "AfterMeg" + n, Dword(100));
        Put(out, "PerMeg" + n, Dword(500));
        PutText(out, "MegPeriod" + n, "Month");
        Put(out, "Block" + n, Dword(1));
        Put(out, settings_values::FlexRateName(i), Dword(0));
        Put(out, "FlexRate2" + n, Dword(0));
        PutText(out, "PenaltyPeriod" + n, "Month");
        Put(out, "UpToHours" + n, Dword(0));
        Put(out, "FreePeriod" + n, Dword(0));
        PutText(out, "FreeStart" + n, "12:00:00 AM");
        PutText(out, "FreeEnd" + n, "12:00:00 AM");
        Put(out, "ShowWarnings" + n, Dword(0));
        Put(out, "WarningOption" + n, Dword(0));
        Put(out, "WarningHours" + n, Dword(0));
        Put(out, "WarningMinutes" + n, Dword(0));
        Put(out, "WarningDialup" + n, Dword(0));
        Put(out, "WarningService" + n, Dword(0));
        Put(out, "Warningdata" + n, Dword(0));
        Put(out, "WarningDisplay" + n, Dword(0));
        Put(out, "WarningSound" + n, Dword(0));
    }
    PutText(out, "WarningSoundFile" + std::to_string(services + 1), "");
    return reg + out;
}

}  // namespace bench
