// The modem driver's keys put into the in-memory registry, as a driver leaves them, for the
// start-up modem check and its wizard. The wizard window is a recording stand-in.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "core/DUVMain.h"
#include "core/PreConfigure.h"
#include "core/UserFeedback.h"
#include "tests/core/SettingsFixture.h"
#include "tests/support/Seams.h"

namespace modem_test {

inline const std::string kClassKey = "System\\CurrentControlSet\\Services\\Class";

struct Modem {
    Modem(std::string name_, std::string port_ = "", std::string loggingPath_ = "",
          int logging_ = -1, std::string userInit_ = "")
        : name(std::move(name_)),
          port(std::move(port_)),
          loggingPath(std::move(loggingPath_)),
          logging(logging_),
          userInit(std::move(userInit_)) {}
    std::string name;
    std::string port;         // AttachedTo
    std::string loggingPath;  // empty: no value
    int logging;              // one binary byte; -1: no value
    std::string userInit;     // empty: no value
};

class ModemTest : public settings_test::SettingsTest {
protected:
    void SetUp() override {
        SettingsTest::SetUp();
        DUVMain::ModemCheck = true;
        DUVMain::OSVersionText = "WIN 95";
    }

    // Modem entry `index` of a branch ("Modem" or "Ports").
    void PutModem(const std::string& branch, int index, const Modem& m,
                  const std::string& configDialog = "") {
        const std::string key = ModemKey(branch, index);
        PutClassValue(key, "DriverDesc", registry::kRegSz, SzBytes(m.name));
        if (!m.port.empty())
            PutClassValue(key, "AttachedTo", registry::kRegSz, SzBytes(m.port));
        if (!configDialog.empty())
            PutClassValue(key, "ConfigDialog", registry::kRegSz, SzBytes(configDialog));
        if (!m.loggingPath.empty())
            PutClassValue(key, "LoggingPath", registry::kRegSz, SzBytes(m.loggingPath));
        if (m.logging >= 0)
            PutClassValue(key, "Logging", registry::kRegBinary,
                          {static_cast<unsigned char>(m.logging)});
        if (!m.userInit.empty())
            PutClassValue(key, "UserInit", registry::kRegSz, SzBytes(m.userInit));
    }

    static std::string ModemKey(const std::string& branch, int index) {
        std::string digits = std::to_string(index);
        return kClassKey + "\\" + branch + "\\" + std::string(4 - digits.size(), '0') + digits;
    }

    // A value of a modem key: its type and bytes, or type 0 when missing.
    std::pair<std::uint32_t, std::vector<unsigned char>> ClassValue(const std::string& key,
                                                                    const std::string& name) {
        registry::RegKey handle = 0;
        std::pair<std::uint32_t, std::vector<unsigned char>> result{0, {}};
        if (reg.OpenKey(registry::kLocalMachine, key, registry::kKeyAllAccess, handle) !=
            registry::kSuccess)
            return result;
        std::uint32_t type = 0, size = 0;
        if (reg.QueryValue(handle, name, &type, nullptr, &size) == registry::kSuccess) {
            result.second.resize(size);
            reg.QueryValue(handle, name, &type, result.second.data(), &size);
            result.first = type;
        }
        reg.CloseKey(handle);
        return result;
    }

    static std::vector<unsigned char> SzBytes(const std::string& text) {
        return std::vector<unsigned char>(text.c_str(), text.c_str() + text.size() + 1);
    }

    int wizardShown = 0;
    std::vector<std::string> splash;
    test_support::ScopedSeam<DUVPreConfigure::ShowWizardFunction> wizard_{
        DUVPreConfigure::SetWizardWindow, [this] { ++wizardShown; }};
    test_support::ScopedSeam<UserFeedback> feedback_{
        SetUserFeedback,
        UserFeedback{{}, {}, [this](const std::string& text) { splash.push_back(text); }}};

    // One value of a modem key, of any type, as raw bytes.
    void PutClassValue(const std::string& key, const std::string& name, std::uint32_t type,
                       const std::vector<unsigned char>& data) {
        registry::RegKey handle = 0;
        ASSERT_EQ(reg.CreateKey(registry::kLocalMachine, key, registry::kKeyAllAccess, handle),
                  registry::kSuccess);
        reg.SetValue(handle, name, type, data.data(), static_cast<std::uint32_t>(data.size()));
        reg.CloseKey(handle);
    }
};

}  // namespace modem_test
