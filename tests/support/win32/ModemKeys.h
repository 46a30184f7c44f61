// The modem driver's keys as the start-up's modem check reads them, put into the real registry
// of the test prefix, and read back.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

namespace test_support {

constexpr const char* kModemClassKey = "System\\CurrentControlSet\\Services\\Class\\Modem";
constexpr const char* kFirstModemKey = "System\\CurrentControlSet\\Services\\Class\\Modem\\0000";

inline void SetText(HKEY key, const char* name, const std::string& text) {
    RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>(text.size() + 1));
}

// One modem "Standard Modem" on COM2 with logging off, the initialisation string "ATM0" and
// no log path; false when its key cannot be created.
inline bool PutModemNeedingChange() {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, kFirstModemKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS)
        return false;
    const BYTE off = 0;
    SetText(key, "DriverDesc", "Standard Modem");
    SetText(key, "AttachedTo", "COM2");
    SetText(key, "UserInit", "ATM0");
    RegSetValueExA(key, "Logging", 0, REG_BINARY, &off, 1);
    RegCloseKey(key);
    return true;
}

// A value's type and bytes (type 0 when missing).
inline std::pair<DWORD, std::string> RegistryValue(HKEY root, const std::string& key,
                                                   const char* name) {
    char data[512] = {};
    DWORD type = 0, size = sizeof(data);
    if (RegGetValueA(root, key.c_str(), name, RRF_RT_ANY, &type, data, &size) != ERROR_SUCCESS)
        return {0, {}};
    return {type, std::string(data, size)};
}

inline std::pair<DWORD, std::string> ModemValue(const char* name) {
    return RegistryValue(HKEY_LOCAL_MACHINE, kFirstModemKey, name);
}

}  // namespace test_support
