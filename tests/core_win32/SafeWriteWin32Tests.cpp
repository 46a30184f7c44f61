// The safe write through the system's file operations, with faults the file system really
// makes: a target another program holds open, and a folder that refuses every change.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/SafeWrite.h"
#include "core/win32/SystemSeams.h"
#include "tests/support/Seams.h"
#include "tests/support/win32/HostPath.h"

namespace {

using safe_write::Step;
using test_support::HostPath;

const std::string kOld = "01-02-2026 10:00:00.00 - the log as it was\r\n";
const std::string kNew = "01-02-2026 10:00:00.00 - THE LOG REWRITTEN\r\n";

// The file's bytes, read while another handle may hold it open for reading.
std::string Read(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return "<missing>";
    std::string bytes(4096, '\0');
    DWORD got = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
    CloseHandle(file);
    bytes.resize(got);
    return bytes;
}

void Write(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD wrote = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &wrote, nullptr);
    CloseHandle(file);
}

// Runs a host shell command, away from this program's output; wine does not wait for host
// processes, so the command ends by making a file, whose appearing is the sign that it has
// finished.
bool RunOnHost(const std::string& command, const std::string& doneFile) {
    DeleteFileA(doneFile.c_str());
    if (!test_support::StartOnHost("/bin/sh -c \"exec </dev/null >/dev/null 2>&1; " + command +
                                   "; : > '" + HostPath(doneFile) + "'\""))
        return false;
    for (int wait = 0; wait < 1000; ++wait) {
        if (GetFileAttributesA(doneFile.c_str()) != INVALID_FILE_ATTRIBUTES) {
            DeleteFileA(doneFile.c_str());
            return true;
        }
        Sleep(10);
    }
    return false;
}

class SystemSafeWrite : public ::testing::Test {
protected:
    // The system's file operations while a test runs, then whatever was installed before.
    test_support::ScopedSeam<safe_write::FileSystem*> files_{safe_write::SetFileSystem, nullptr};
    void SetUp() override {
        InstallSystemSafeWriteFiles();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        static int counter = 0;
        base_ = std::string(temp) + "duv-safewrite-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(++counter);
        folder_ = base_ + "\\WINDOWS";
        CreateDirectoryA(base_.c_str(), nullptr);
        CreateDirectoryA(folder_.c_str(), nullptr);
        target_ = folder_ + "\\ModemLog.txt";
        Write(target_, kOld);
    }
    void TearDown() override {
        if (locked_)
            Unlock();
        for (const std::string& folder : {folder_, base_}) {
            for (const std::string& name : Names(folder))
                DeleteFileA((folder + "\\" + name).c_str());
        }
        RemoveDirectoryA(folder_.c_str());
        RemoveDirectoryA(base_.c_str());
    }

    static std::set<std::string> Names(const std::string& folder) {
        std::set<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.insert(found.cFileName);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        return names;
    }

    bool CanCreateIn(const std::string& folder) {
        const std::string probe = folder + "\\probe.tmp";
        HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(file);
        DeleteFileA(probe.c_str());
        return true;
    }

    // Makes the log's folder refuse every change on the host: no write permission, and where
    // that does not hold the owner back (the super-user), the file system's immutable flag.
    bool Lock() {
        const std::string host = HostPath(folder_);
        if (host.empty())
            return false;
        locked_ = true;
        return RunOnHost("chmod a-w '" + host + "'; chattr +i '" + host + "' 2>/dev/null",
                         base_ + "\\done") &&
               !CanCreateIn(folder_);
    }
    void Unlock() {
        const std::string host = HostPath(folder_);
        RunOnHost("chattr -i '" + host + "' 2>/dev/null; chmod u+w '" + host + "'",
                  base_ + "\\done");
        locked_ = false;
    }

    std::string base_, folder_, target_;
    bool locked_ = false;
};

}  // namespace

TEST_F(SystemSafeWrite, ATargetHeldOpenWithoutSharingStaysWholeAndTheFailureIsReported) {
    const std::string backup = base_ + "\\ModemLog.old";
    Write(backup, "an older backup");
    // Another program reads the log and shares it for reading only.
    HANDLE held = CreateFileA(target_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);

    safe_write::Result withBackup = safe_write::WriteFile(target_, kNew, backup);
    EXPECT_EQ(withBackup.failed, Step::Backup);
    EXPECT_TRUE(withBackup.originalInPlace);
    safe_write::Result replace = safe_write::WriteFile(target_, kNew);
    EXPECT_EQ(replace.failed, Step::Swap);
    EXPECT_TRUE(replace.originalInPlace);

    EXPECT_EQ(Read(target_), kOld);
    EXPECT_EQ(Read(backup), "an older backup");
    EXPECT_EQ(Names(folder_), std::set<std::string>{"ModemLog.txt"}) << "no work file left";

    // Once the other program lets go, the same write goes through.
    CloseHandle(held);
    EXPECT_TRUE(safe_write::WriteFile(target_, kNew, backup));
    EXPECT_EQ(Read(target_), kNew);
    EXPECT_EQ(Read(backup), kOld);
}

TEST_F(SystemSafeWrite, AFolderThatRefusesChangesKeepsTheFileWholeAndTheFailureIsReported) {
    const std::string backup = base_ + "\\ModemLog.old";
    // Refused from the start: no work file can be made beside the log.
    if (!Lock())
        GTEST_SKIP() << "this file system lets the user change any folder";
    safe_write::Result refused = safe_write::WriteFile(target_, kNew, backup);
    EXPECT_EQ(refused.failed, Step::Create);
    EXPECT_EQ(Read(target_), kOld);
    EXPECT_EQ(Read(backup), "<missing>");
    Unlock();

    // Refused after the work file was written: the log cannot move to its backup, nor the
    // work file take its name.
    for (const std::string& keep : {backup, std::string()}) {
        safe_write::Writer writer(target_, keep);
        ASSERT_TRUE(writer.Write(kNew));
        ASSERT_TRUE(Lock());
        safe_write::Result result = writer.Commit();
        Unlock();
        EXPECT_EQ(result.failed, keep.empty() ? Step::Swap : Step::Backup);
        EXPECT_TRUE(result.originalInPlace);
        EXPECT_EQ(Read(target_), kOld);
        EXPECT_EQ(Read(backup), "<missing>");
        DeleteFileA(writer.WorkPath().c_str());  // the folder kept it from being removed
    }
    EXPECT_EQ(Names(folder_), std::set<std::string>{"ModemLog.txt"});
}
