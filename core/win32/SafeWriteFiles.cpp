#include <windows.h>

#include "core/SafeWrite.h"
#include "core/win32/SystemSeams.h"

namespace {

class SystemOutput : public safe_write::FileSystem::Output {
public:
    explicit SystemOutput(HANDLE file) : file_(file) {}
    ~SystemOutput() override { Close(); }
    bool Write(const char* data, std::size_t size) override {
        while (size > 0) {
            DWORD chunk = size < (1u << 30) ? static_cast<DWORD>(size) : (1u << 30);
            DWORD wrote = 0;
            if (!WriteFile(file_, data, chunk, &wrote, nullptr) || wrote == 0)
                return false;
            data += wrote;
            size -= wrote;
        }
        return true;
    }
    bool Flush() override { return FlushFileBuffers(file_) != 0; }
    bool Close() override {
        if (file_ == INVALID_HANDLE_VALUE)
            return true;
        HANDLE file = file_;
        file_ = INVALID_HANDLE_VALUE;
        return CloseHandle(file) != 0;
    }

private:
    HANDLE file_;
};

class SystemFiles : public safe_write::FileSystem {
public:
    std::unique_ptr<Output> CreateNew(const std::string& path, bool& nameTaken) override {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD error = GetLastError();
        nameTaken = file == INVALID_HANDLE_VALUE &&
                    (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS);
        if (file == INVALID_HANDLE_VALUE)
            return nullptr;
        return std::make_unique<SystemOutput>(file);
    }
    std::int64_t Length(const std::string& path) override {
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
            (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return -1;
        return (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
    // A backup in another folder may lie on another volume: the move then copies the file
    // whole before it removes the original.
    bool Move(const std::string& from, const std::string& to) override {
        return MoveFileExA(
                   from.c_str(), to.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH | MOVEFILE_COPY_ALLOWED) != 0;
    }
    bool Remove(const std::string& path) override { return DeleteFileA(path.c_str()) != 0; }
};

}  // namespace

safe_write::FileSystem* InstallSystemSafeWriteFiles() {
    static SystemFiles files;
    return safe_write::SetFileSystem(&files);
}
