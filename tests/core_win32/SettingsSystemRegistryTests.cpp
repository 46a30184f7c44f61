// The settings store against the platform's registry, and the common-control helpers on
// real controls.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/RegistryStore.h"
#include "core/win32/PlatformHelpers.h"
#include "tests/support/Seams.h"

namespace {

const char kBase[] = "SOFTWARE\\DUV";

struct Value {
    DWORD type = 0;
    std::string text;  // REG_SZ without its NUL
    std::int32_t number = 0;
    DWORD size = 0;
};

std::optional<Value> Read(const std::string& sub, const std::string& name) {
    HKEY key = nullptr;
    const std::string path = std::string(kBase) + "\\" + sub;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    Value v;
    BYTE data[512] = {};
    v.size = sizeof data;
    const LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &v.type, data, &v.size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS)
        return std::nullopt;
    if (v.type == REG_SZ)
        v.text.assign(reinterpret_cast<char*>(data), v.size ? v.size - 1 : 0);
    if (v.type == REG_DWORD)
        std::memcpy(&v.number, data, 4);
    return v;
}

std::vector<std::string> ValueNames(const std::string& sub) {
    std::vector<std::string> names;
    HKEY key = nullptr;
    const std::string path = std::string(kBase) + "\\" + sub;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return names;
    }
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumValueA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        names.emplace_back(name, length);
    }
    RegCloseKey(key);
    return names;
}

class SystemRegistrySettings : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kBase);
        installed_.emplace(registry::InstallRegistry, &registry::SystemRegistry());
        handler_.emplace(runtime::SetErrorHandler, [this] {
            ++errors;
            return runtime::kActionSkip;
        });
    }
    void TearDown() override {
        installed_.reset();
        handler_.reset();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kBase);
    }
    std::optional<test_support::ScopedSeam<registry::RegistryStore*>> installed_;
    std::optional<test_support::ScopedSeam<runtime::ErrorHandlerFn>> handler_;

    // The settings steps of a start-up on a machine without a detected log.
    bool StartUp() {
        using namespace DUVMain;
        SetDefaultSettings();
        SettingsChanged = false;
        ReadUserParameters();
        FillInDefaults();
        if (ModemLogFile.empty()) {
            ModemLogFile = "ModemLog.txt";
            ModemLogDir = "C:\\windows\\";
            SettingsChanged = true;
        }
        const bool wrote = SettingsChanged;
        if (wrote)
            WriteUserParameters();
        SettingsChanged = false;
        return wrote;
    }

    int errors = 0;
};

void ExpectSz(const std::string& sub, const std::string& name, const std::string& text) {
    const auto v = Read(sub, name);
    ASSERT_TRUE(v) << sub << "\\" << name;
    EXPECT_EQ(v->type, static_cast<DWORD>(REG_SZ)) << name;
    EXPECT_EQ(v->size, text.size() + 1) << name;
    EXPECT_EQ(v->text, text) << name;
}

void ExpectDw(const std::string& sub, const std::string& name, std::int32_t n) {
    const auto v = Read(sub, name);
    ASSERT_TRUE(v) << sub << "\\" << name;
    EXPECT_EQ(v->type, static_cast<DWORD>(REG_DWORD)) << name;
    EXPECT_EQ(v->number, n) << name;
}

TEST_F(SystemRegistrySettings, FirstStartStoresTheDefaults) {
    EXPECT_TRUE(StartUp());
    EXPECT_EQ(errors, 0);
    ExpectSz("General", "ModemLogFile", "ModemLog.txt");
    ExpectSz("General", "ModemLogDir", "C:\\windows\\");
    ExpectDw("General", "MaxServices", 10);
    ExpectDw("General", "UsedServices", 0);
    ExpectDw("General", "MaxConnections", 200);
    ExpectDw("General", "MaxConnectDays", 2);
    ExpectDw("General", "NoDisconDuration", 900);
    ExpectDw("General", "NoDisconData", 0);
    ExpectDw("General", "MaxLogSize", 150);
    for (const char* name : {"EditLog", "ShowErrors", "ShowToolbars", "FlatToolbars", "ShowGraphic",
                             "Tips", "ModemCheck"}) {
        ExpectSz("General", name, "True");
    }
    ExpectSz("General", "AutoOptimize", "False");
    ExpectSz("General", "UserStartPref", "Last Log Entry");
    ExpectDw("General", "UserStartDate", 0);
    ExpectDw("General", "UserReportPref", 0);
    EXPECT_EQ(ValueNames("General").size(), 22u);
    ExpectSz("Modem", "ModemDial", "RECV: ATD");
    ExpectSz("Modem", "ModemWrites", "WRITES");
    EXPECT_EQ(ValueNames("Modem").size(), 7u);
    ExpectSz("Services", "WarningSoundFile1", "");
    ExpectSz("Costs", "CalcCosts", "True");
    ExpectDw("Costs", "DialCost", 2000);
    ExpectDw("Costs", "CostPerHour", 15000);
    ExpectDw("Costs", "CostPerMeg", 0);
    EXPECT_TRUE(ValueNames("ViewLog").empty());
    ExpectSz("ViewReport", "SaveSettings", "True");
    ExpectSz("ViewReport", "ListView", "True");
    ExpectSz("ViewReport", "AutoArrange", "False");
    ExpectDw("ViewReport\\SummaryReport", "Column3", 700);
    EXPECT_FALSE(Read("ViewReport\\SummaryReport", "Column6"));
    ExpectDw("ViewReport\\DetailReport", "Column6", 2000);
    ExpectDw("ViewReport\\DetailReport", "ForceAMPM", 0);
    EXPECT_EQ(ValueNames("ViewReport\\SummaryReport").size(), 10u);
    EXPECT_EQ(ValueNames("ViewReport\\DetailReport").size(), 12u);
    ExpectDw("Holidays", "UsedHolidays", 0);
    EXPECT_TRUE(ValueNames("RecentFiles").empty());
}

TEST_F(SystemRegistrySettings, SecondStartReadsWhatTheFirstStored) {
    StartUp();
    DUVMain::NoDisconData = 5;
    DUVMain::CostPerMeg = 0.02;
    DUVMain::ViewLogSaveSettings = true;
    DUVMain::UsedHolidays = 1;
    DUVMain::Holidays[1] = 46381;
    DUVMain::WriteUserParameters();
    ExpectDw("Holidays", " 1", 46381);
    ExpectSz("ViewLog", "FontName", "MS Sans Serif");
    DUVMain::Holidays[1] = 0;
    EXPECT_FALSE(StartUp());
    EXPECT_EQ(DUVMain::Holidays[1], 46381);
    EXPECT_EQ(errors, 0);
}

TEST_F(SystemRegistrySettings, DataThresholdIsFoundUnderEitherSpelling) {
    StartUp();
    DUVMain::UsedServices = 1;
    DUVMain::Services[0].WarningData = 4096;
    DUVMain::WriteUserParameters();
    EXPECT_EQ(Read("Services", "WarningData1")->number, 4096);
    DUVMain::Services[0].WarningData = 0;
    DUVMain::ReadUserParameters();
    EXPECT_EQ(DUVMain::Services[0].WarningData, 4096);
}

TEST(PlatformVersion, WineReportsAnNtVersion) {
    const OSVersion::PlatformVersion v = OSVersion::QueryWindowsVersion();
    EXPECT_EQ(v.PlatformId, 2u);
    test_support::ScopedSeam version(OSVersion::SetVersionQuery, &OSVersion::QueryWindowsVersion);
    EXPECT_EQ(OSVersion::GetOSVersion().substr(0, 2), "NT");
}

class CommonControls : public ::testing::Test {
protected:
    void SetUp() override {
        INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_LISTVIEW_CLASSES};
        InitCommonControlsEx(&icc);
        parent = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(parent);
    }
    void TearDown() override { DestroyWindow(parent); }

    HWND Child(const char* cls, DWORD style) {
        return CreateWindowExA(0, cls, "", WS_CHILD | WS_VISIBLE | style, 0, 0, 200, 100, parent,
                               nullptr, GetModuleHandleA(nullptr), nullptr);
    }

    HWND parent = nullptr;
};

TEST_F(CommonControls, ToolbarStaysFlatWhenMadeFlatAgain) {
    HWND toolbar = Child(TOOLBARCLASSNAMEA, 0);
    ASSERT_TRUE(toolbar);
    const LRESULT before = SendMessageA(toolbar, TB_GETSTYLE, 0, 0);
    for (int i = 0; i < 3; ++i)
        FlatToolBar::MakeToolbarFlat(toolbar, 1);
    const LRESULT after = SendMessageA(toolbar, TB_GETSTYLE, 0, 0);
    EXPECT_EQ(after, before | TBSTYLE_FLAT);
    EXPECT_EQ(after & TBSTYLE_LIST, 0);
}

TEST_F(CommonControls, ToolbarInsideAHolderWindowIsFound) {
    HWND toolbar = Child(TOOLBARCLASSNAMEA, 0);
    const LRESULT before = SendMessageA(toolbar, TB_GETSTYLE, 0, 0);
    FlatToolBar::MakeToolbarFlat(parent, 2);
    EXPECT_EQ(SendMessageA(toolbar, TB_GETSTYLE, 0, 0), before | TBSTYLE_FLAT | TBSTYLE_LIST);
}

TEST_F(CommonControls, WholeRowSelectKeepsTheOtherExtendedStyles) {
    HWND list = Child(WC_LISTVIEWA, LVS_REPORT);
    ASSERT_TRUE(list);
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES);
    LV_WholeRow::SetWholeRowSelect(list, true);
    LV_WholeRow::SetWholeRowSelect(list, true);
    EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0),
              LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT);
    LV_WholeRow::SetWholeRowSelect(list, false);
    EXPECT_EQ(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0), LVS_EX_GRIDLINES);
}

}  // namespace
