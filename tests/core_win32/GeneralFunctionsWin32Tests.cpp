// FileExists with the Windows probe: normal files only.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "core/GeneralFunctions.h"

using GeneralFunctions::FileExists;

namespace {

class SystemFileExists : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir = std::string(temp) + "duv-fileexists-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir.c_str(), nullptr);
        CreateDirectoryA((dir + "\\folder").c_str(), nullptr);
        for (const char* name : {"ModemLog.txt", "Hidden.txt", "System.txt", "ReadOnly.txt"}) {
            HANDLE h = CreateFileA((dir + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                   CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            CloseHandle(h);
        }
        SetFileAttributesA((dir + "\\Hidden.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesA((dir + "\\System.txt").c_str(), FILE_ATTRIBUTE_SYSTEM);
        SetFileAttributesA((dir + "\\ReadOnly.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        GeneralFunctions::InstallFileProbe(GeneralFunctions::SystemFileProbe());
    }
    void TearDown() override {
        GeneralFunctions::InstallFileProbe({});
        for (const char* name : {"ModemLog.txt", "Hidden.txt", "System.txt", "ReadOnly.txt"}) {
            SetFileAttributesA((dir + "\\" + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((dir + "\\" + name).c_str());
        }
        RemoveDirectoryA((dir + "\\folder").c_str());
        RemoveDirectoryA(dir.c_str());
    }
    std::string dir;
};

}  // namespace

TEST_F(SystemFileExists, NormalAndReadOnlyFilesCount) {
    EXPECT_TRUE(FileExists(dir + "\\ModemLog.txt"));
    EXPECT_TRUE(FileExists(dir + "\\modemlog.TXT"));
    EXPECT_TRUE(FileExists(dir + "\\ReadOnly.txt"));
}

TEST_F(SystemFileExists, FoldersHiddenAndSystemFilesDoNot) {
    EXPECT_FALSE(FileExists(dir + "\\folder"));
    EXPECT_FALSE(FileExists(dir));
    EXPECT_FALSE(FileExists(dir + "\\Hidden.txt"));
    EXPECT_FALSE(FileExists(dir + "\\System.txt"));
    EXPECT_FALSE(FileExists(dir + "\\Missing.txt"));
}

TEST_F(SystemFileExists, WildcardsDoNotMatchAnything) {
    EXPECT_FALSE(FileExists(dir + "\\*.txt"));
    EXPECT_FALSE(FileExists(dir + "\\ModemLog.tx?"));
    EXPECT_FALSE(FileExists("C:\\windows\\*.ini"));
}
