// Shared set-up of the settings-store tests: an in-memory registry, a recording error
// handler and the program's state as at start-up.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/Locale.h"
#include "core/RegistryStore.h"
#include "tests/support/ProgramState.h"
#include "tests/support/Seams.h"

namespace settings_test {

struct ReportedError {
    int number;
    std::string step;
    bool operator==(const ReportedError&) const = default;
};

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override { test_support::ResetCoreState(); }

    void TearDown() override { test_support::ResetCoreState(); }

    // Put back in this order when the test ends: the error handler, the locale, the registry.
    registry::MemoryRegistry reg;
    test_support::ScopedSeam<registry::RegistryStore*> registry_{registry::InstallRegistry, &reg};
    test_support::ScopedSeam<std::shared_ptr<const regional::LocaleSource>> locale_{
        regional::Install, nullptr};
    test_support::ScopedSeam<runtime::ErrorHandlerFn> handler_{
        runtime::SetErrorHandler, [this] {
            errors.push_back({runtime::Err().number, DUVMain::ErrStepName});
            return answer;
        }};

    // The steps of a start-up that concern the settings: defaults, read, fill-in, and the
    // write-back when a default was filled in. The log path is settled as on a machine
    // without a detected log.
    bool StartUp() {
        DUVMain::SetDefaultSettings();
        DUVMain::SettingsChanged = false;
        DUVMain::ReadUserParameters();
        DUVMain::FillInDefaults();
        if (DUVMain::ModemLogFile.empty()) {
            DUVMain::ModemLogFile = "ModemLog.txt";
            DUVMain::ModemLogDir = "C:\\windows\\";
            DUVMain::SettingsChanged = true;
        }
        const bool wrote = DUVMain::SettingsChanged;
        if (wrote)
            DUVMain::WriteBackUserParameters();
        DUVMain::SettingsChanged = false;
        return wrote;
    }

    static std::string Key(const std::string& sub) { return "SOFTWARE\\DUV\\" + sub; }

    std::optional<std::pair<std::uint32_t, std::vector<unsigned char>>> Raw(
        const std::string& sub, const std::string& name) {
        registry::RegKey key = 0;
        if (reg.OpenKey(registry::kLocalMachine, Key(sub), registry::kKeyAllAccess, key) !=
            registry::kSuccess) {
            return std::nullopt;
        }
        std::uint32_t type = 0, size = 0;
        std::optional<std::pair<std::uint32_t, std::vector<unsigned char>>> result;
        if (reg.QueryValue(key, name, &type, nullptr, &size) == registry::kSuccess) {
            std::vector<unsigned char> data(size);
            reg.QueryValue(key, name, &type, data.data(), &size);
            data.resize(size);
            result.emplace(type, std::move(data));
        }
        reg.CloseKey(key);
        return result;
    }

    // A REG_SZ value without its terminating NUL; nothing when missing or of another type.
    std::optional<std::string> Sz(const std::string& sub, const std::string& name) {
        auto raw = Raw(sub, name);
        if (!raw || raw->first != registry::kRegSz)
            return std::nullopt;
        std::string text(raw->second.begin(), raw->second.end());
        if (text.empty() || text.back() != '\0')
            return std::nullopt;
        text.pop_back();
        return text;
    }

    std::optional<std::int32_t> Dw(const std::string& sub, const std::string& name) {
        auto raw = Raw(sub, name);
        if (!raw || raw->first != registry::kRegDword || raw->second.size() != 4)
            return std::nullopt;
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i)
            v = (v << 8) | raw->second[static_cast<std::size_t>(i)];
        return static_cast<std::int32_t>(v);
    }

    void PutSz(const std::string& sub, const std::string& name, const std::string& text) {
        Put(sub, name, registry::kRegSz,
            std::vector<unsigned char>(text.c_str(), text.c_str() + text.size() + 1));
    }

    void PutDw(const std::string& sub, const std::string& name, std::int32_t value) {
        const auto v = static_cast<std::uint32_t>(value);
        Put(sub, name, registry::kRegDword,
            {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
             static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)});
    }

    void Put(const std::string& sub, const std::string& name, std::uint32_t type,
             const std::vector<unsigned char>& data) {
        registry::RegKey key = 0;
        ASSERT_EQ(reg.CreateKey(registry::kLocalMachine, Key(sub), registry::kKeyAllAccess, key),
                  registry::kSuccess);
        reg.SetValue(key, name, type, data.data(), static_cast<std::uint32_t>(data.size()));
        reg.CloseKey(key);
    }

    // Every key and value under SOFTWARE\DUV, for comparing the registry before and after.
    std::vector<std::string> Dump(const std::string& path = "SOFTWARE\\DUV") {
        std::vector<std::string> lines;
        const std::string sub = path.size() > 13 ? path.substr(13) : "";
        for (const std::string& name : reg.ValueNames(registry::kLocalMachine, path)) {
            auto raw = Raw(sub, name);
            std::string line = path + "|" + name + "|" + std::to_string(raw ? raw->first : 0) + "|";
            if (raw)
                line.append(raw->second.begin(), raw->second.end());
            lines.push_back(line);
        }
        for (const std::string& child : reg.SubKeyNames(registry::kLocalMachine, path)) {
            auto more = Dump(path + "\\" + child);
            lines.insert(lines.end(), more.begin(), more.end());
        }
        return lines;
    }

    std::vector<std::string> Names(const std::string& sub) {
        return reg.ValueNames(registry::kLocalMachine, Key(sub));
    }

    std::vector<ReportedError> errors;
    int answer = runtime::kActionSkip;
};

}  // namespace settings_test
