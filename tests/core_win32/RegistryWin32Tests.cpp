// Registry_Functions on the real registry of the wine prefix (HKLM is writable there).
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/RegistryStore.h"
#include "core/Registry_Functions.h"
#include "tests/support/Seams.h"

using namespace Registry_Functions;

namespace {

const std::string kTestKey = "SOFTWARE\\DUV-RegistryTest";
const std::uint32_t kRoot = 0x80000002u;  // as the settings hold it

class SystemRegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestKey.c_str());
        installed_.emplace(registry::InstallRegistry, &registry::SystemRegistry());
    }
    void TearDown() override {
        installed_.reset();
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kTestKey.c_str());
    }
    std::optional<test_support::ScopedSeam<registry::RegistryStore*>> installed_;

    static std::vector<unsigned char> Raw(const std::string& key, const std::string& name,
                                          DWORD* type = nullptr) {
        HKEY h = nullptr;
        std::vector<unsigned char> bytes;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            return bytes;
        DWORD t = 0, size = 0;
        if (RegQueryValueExA(h, name.c_str(), nullptr, &t, nullptr, &size) == ERROR_SUCCESS) {
            bytes.resize(size);
            RegQueryValueExA(h, name.c_str(), nullptr, &t, bytes.data(), &size);
            bytes.resize(size);
        }
        RegCloseKey(h);
        if (type)
            *type = t;
        return bytes;
    }

    static void PutRaw(const std::string& name, DWORD type, const std::string& bytes) {
        HKEY h = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, kTestKey.c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &h, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(h, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                       static_cast<DWORD>(bytes.size()));
        RegCloseKey(h);
    }

    static bool KeyExists(const std::string& key) {
        HKEY h = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS)
            return false;
        RegCloseKey(h);
        return true;
    }
};

}  // namespace

TEST_F(SystemRegistryTest, CreatesKeysUnderTheLocalMachine) {
    CreatNewKey(kTestKey + "\\General", kRoot);
    EXPECT_TRUE(KeyExists(kTestKey + "\\General"));
    CreatNewKey(kTestKey + "\\General", kRoot);  // again: no harm
    EXPECT_TRUE(KeyExists(kTestKey + "\\General"));
}

TEST_F(SystemRegistryTest, WritesEachTypeAsThePlatformStoresIt) {
    CreatNewKey(kTestKey, kRoot);
    SetKeyValue(kRoot, kTestKey, "Text", Variant("ModemLog.txt"), REG_TYPE_SZ);
    SetKeyValue(kRoot, kTestKey, "Flag", Variant(true), REG_TYPE_DWORD);
    SetKeyValue(kRoot, kTestKey, "Byte", Variant(1), REG_TYPE_BINARY);
    SetKeyValue(kRoot, kTestKey, "Money", Variant(1.5 * 10000), REG_TYPE_DWORD);

    DWORD type = 0;
    std::vector<unsigned char> text = Raw(kTestKey, "Text", &type);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(std::string(text.begin(), text.end()), std::string("ModemLog.txt\0", 13));
    EXPECT_EQ(Raw(kTestKey, "Flag", &type), (std::vector<unsigned char>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(Raw(kTestKey, "Byte", &type), std::vector<unsigned char>{1});
    EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));

    EXPECT_EQ(QueryValue(kRoot, kTestKey, "Text"), Variant("ModemLog.txt"));
    EXPECT_EQ(QueryValue(kRoot, kTestKey, "Flag"), Variant(-1));
    EXPECT_EQ(QueryValue(kRoot, kTestKey, "Byte"), Variant(1));
    EXPECT_EQ(QueryValue(kRoot, kTestKey, "Money"), Variant(15000));
}

TEST_F(SystemRegistryTest, MissingKeysAndValuesReadEmptyAndWritesThereStoreNothing) {
    EXPECT_TRUE(QueryValue(kRoot, kTestKey, "Anything").IsEmpty());
    SetKeyValue(kRoot, kTestKey, "Anything", Variant(5), REG_TYPE_DWORD);
    EXPECT_FALSE(KeyExists(kTestKey));
    CreatNewKey(kTestKey, kRoot);
    EXPECT_TRUE(QueryValue(kRoot, kTestKey, "Anything").IsEmpty());
}

TEST_F(SystemRegistryTest, TextReadsWithAndWithoutTerminatingNul) {
    PutRaw("WithNul", REG_SZ, std::string("abc\0", 4));
    PutRaw("NoNul", REG_SZ, "abc");
    PutRaw("ZeroBytes", REG_SZ, "");
    EXPECT_EQ(QueryValue(kRoot, kTestKey, "WithNul"), Variant("abc"));
    EXPECT_EQ(QueryValue(kRoot, kTestKey, "NoNul"), Variant("abc"));
    EXPECT_EQ(QueryValue(kRoot, kTestKey, "ZeroBytes"), Variant(""));
}

TEST_F(SystemRegistryTest, NumbersLongerThanFourBytesAndOtherTypesReadEmptyButExist) {
    PutRaw("Long", REG_BINARY, std::string("\x01\x02\x03\x04\x05", 5));
    PutRaw("Expand", REG_EXPAND_SZ, std::string("%WinDir%\0", 9));
    PutRaw("Multi", REG_MULTI_SZ, std::string("AT&F\0&C1M0\0\0", 12));
    PutRaw("Short", REG_BINARY, std::string("\x34\x12", 2));
    EXPECT_TRUE(QueryValue(kRoot, kTestKey, "Long").IsEmpty());
    EXPECT_EQ(QueryValue(kRoot, kTestKey, "Expand"), Variant("%WinDir%")) << "as stored";
    EXPECT_TRUE(QueryValue(kRoot, kTestKey, "Multi").IsEmpty());
    EXPECT_EQ(QueryValue(kRoot, kTestKey, "Short"), Variant(0x1234));
    EXPECT_TRUE(ValueExists(kRoot, kTestKey, "Long"));
    EXPECT_TRUE(ValueExists(kRoot, kTestKey, "Multi"));
    EXPECT_FALSE(ValueExists(kRoot, kTestKey, "Missing"));
}

TEST_F(SystemRegistryTest, SignExtendedRootHandleWorksToo) {
    const registry::RegKey extended = reinterpret_cast<registry::RegKey>(HKEY_LOCAL_MACHINE);
    CreatNewKey(kTestKey, extended);
    SetKeyValue(extended, kTestKey, "V", Variant("x"), REG_TYPE_SZ);
    EXPECT_EQ(QueryValue(kRoot, kTestKey, "V"), Variant("x"));
}
