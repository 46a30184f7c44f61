#include "core/RegistryStore.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace registry;

namespace {

std::vector<unsigned char> Bytes(const std::string& s) { return {s.begin(), s.end()}; }

}  // namespace

TEST(MemoryRegistryKeys, CreateMakesEveryLevelAndOpenFindsItWithoutRegardToCase) {
    MemoryRegistry reg;
    RegKey key = 0;
    ASSERT_EQ(reg.CreateKey(kLocalMachine, "SOFTWARE\\DUV\\General", kKeyAllAccess, key), kSuccess);
    EXPECT_NE(key, 0u);
    EXPECT_EQ(reg.CloseKey(key), kSuccess);

    EXPECT_TRUE(reg.KeyExists(kLocalMachine, "SOFTWARE\\DUV"));
    EXPECT_TRUE(reg.KeyExists(kLocalMachine, "software\\duv\\GENERAL"));
    EXPECT_FALSE(reg.KeyExists(kCurrentUser, "SOFTWARE\\DUV"));

    RegKey opened = 0;
    EXPECT_EQ(reg.OpenKey(kLocalMachine, "Software\\Duv\\general\\", kKeyAllAccess, opened),
              kSuccess);
    EXPECT_EQ(reg.CloseKey(opened), kSuccess);
    EXPECT_EQ(reg.OpenHandleCount(), 0u);
}

TEST(MemoryRegistryKeys, MissingKeysAndBadHandlesFail) {
    MemoryRegistry reg;
    RegKey key = 77;
    EXPECT_EQ(reg.OpenKey(kLocalMachine, "SOFTWARE\\Nowhere", kKeyAllAccess, key), kFileNotFound);
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(reg.OpenKey(0x1234, "x", kKeyAllAccess, key), kInvalidHandle);
    unsigned char b = 1;
    EXPECT_EQ(reg.SetValue(0, "v", kRegBinary, &b, 1), kInvalidHandle);
    EXPECT_EQ(reg.CloseKey(0x5678), kInvalidHandle);
}

TEST(MemoryRegistryKeys, SignExtendedRootIsTheSameRoot) {
    MemoryRegistry reg;
    RegKey key = 0;
    const RegKey extended =
        static_cast<RegKey>(static_cast<std::intptr_t>(std::int32_t(0x80000002u)));
    EXPECT_EQ(PredefinedRoot(extended), 0x80000002u);
    ASSERT_EQ(reg.CreateKey(extended, "SOFTWARE\\DUV", kKeyAllAccess, key), kSuccess);
    reg.CloseKey(key);
    EXPECT_TRUE(reg.KeyExists(kLocalMachine, "SOFTWARE\\DUV"));
    EXPECT_EQ(PredefinedRoot(0x1000), 0u);
}

TEST(MemoryRegistryValues, ReadFollowsTheSizeProtocol) {
    MemoryRegistry reg;
    RegKey key = 0;
    reg.CreateKey(kLocalMachine, "SOFTWARE\\DUV", kKeyAllAccess, key);
    auto text = Bytes(std::string("hello\0", 6));
    ASSERT_EQ(reg.SetValue(key, "Name", kRegSz, text.data(), 6), kSuccess);

    std::uint32_t type = 0, size = 0;
    ASSERT_EQ(reg.QueryValue(key, "NAME", &type, nullptr, &size), kSuccess);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(size, 6u);

    unsigned char small[3] = {};
    size = 3;
    EXPECT_EQ(reg.QueryValue(key, "Name", &type, small, &size), kMoreData);
    EXPECT_EQ(size, 6u);

    unsigned char big[16] = {};
    size = sizeof big;
    ASSERT_EQ(reg.QueryValue(key, "Name", &type, big, &size), kSuccess);
    EXPECT_EQ(size, 6u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(big), 5), "hello");

    EXPECT_EQ(reg.QueryValue(key, "Other", &type, nullptr, &size), kFileNotFound);
    reg.CloseKey(key);
}

TEST(MemoryRegistryValues, RewriteKeepsOrderAndChangesType) {
    MemoryRegistry reg;
    RegKey key = 0;
    reg.CreateKey(kLocalMachine, "SOFTWARE\\DUV\\Services", kKeyAllAccess, key);
    unsigned char one = 1;
    unsigned char four[4] = {1, 0, 0, 0};
    reg.SetValue(key, "ServiceName1", kRegBinary, &one, 1);
    reg.SetValue(key, "ServiceName2", kRegBinary, &one, 1);
    reg.SetValue(key, "servicename1", kRegDword, four, 4);
    EXPECT_EQ(reg.ValueNames(kLocalMachine, "SOFTWARE\\DUV\\Services"),
              (std::vector<std::string>{"ServiceName1", "ServiceName2"}));
    std::uint32_t type = 0, size = 0;
    reg.QueryValue(key, "ServiceName1", &type, nullptr, &size);
    EXPECT_EQ(type, kRegDword);
    EXPECT_EQ(size, 4u);
    reg.CloseKey(key);
    EXPECT_EQ(reg.SubKeyNames(kLocalMachine, "SOFTWARE\\DUV"),
              std::vector<std::string>{"Services"});
}

TEST(MemoryRegistryValues, ReadOnlyRefusesChangesButReads) {
    MemoryRegistry reg;
    RegKey key = 0;
    reg.CreateKey(kLocalMachine, "SOFTWARE\\DUV", kKeyAllAccess, key);
    unsigned char one = 1;
    reg.SetValue(key, "A", kRegBinary, &one, 1);
    reg.SetReadOnly(true);
    EXPECT_EQ(reg.SetValue(key, "B", kRegBinary, &one, 1), kAccessDenied);
    RegKey other = 0;
    EXPECT_EQ(reg.CreateKey(kLocalMachine, "SOFTWARE\\New", kKeyAllAccess, other), kAccessDenied);
    RegKey existing = 0;
    EXPECT_EQ(reg.CreateKey(kLocalMachine, "SOFTWARE\\DUV", kKeyAllAccess, existing), kSuccess);
    reg.CloseKey(existing);
    std::uint32_t size = 0;
    EXPECT_EQ(reg.QueryValue(key, "A", nullptr, nullptr, &size), kSuccess);
    EXPECT_EQ(reg.QueryValue(key, "B", nullptr, nullptr, &size), kFileNotFound);
    reg.CloseKey(key);
}

TEST(CurrentRegistryStore, DefaultsToTheProcessMemoryStoreAndCanBeReplaced) {
    EXPECT_EQ(&CurrentRegistry(), static_cast<RegistryStore*>(&DefaultMemoryRegistry()));
    MemoryRegistry mine;
    InstallRegistry(&mine);
    EXPECT_EQ(&CurrentRegistry(), static_cast<RegistryStore*>(&mine));
    InstallRegistry(nullptr);
    EXPECT_EQ(&CurrentRegistry(), static_cast<RegistryStore*>(&DefaultMemoryRegistry()));
}
