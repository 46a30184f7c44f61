// The list of recently opened archives and saved reports, entry 1 the most recent.
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/Registry_Functions.h"
#include "core/RuntimeError.h"

namespace DUVMain {

void AddRecentFile(const std::string& fileTitle, const std::string& fileDir,
                   const std::string& fileType) {
    for (int i = kRecentFileCount; i > 1; --i)
        RecentFiles[i] = RecentFiles[i - 1];
    RecentFiles[1] = {fileTitle, fileDir, fileType};
    // The same name in another folder counts as the same file.
    for (int e = 2; e <= kRecentFileCount; ++e) {
        if (RecentFiles[e].RecentFileName == RecentFiles[1].RecentFileName) {
            ShiftRecentFiles(static_cast<std::int16_t>(e));
        }
    }
    WriteRecentFiles();
}

void ShiftRecentFiles(std::int16_t start) {
    for (int i = start; i < kRecentFileCount; ++i)
        RecentFiles.at(i) = RecentFiles.at(i + 1);
    RecentFiles[kRecentFileCount] = RecentFileRecord{};
}

void WriteRecentFiles() {
    using namespace Registry_Functions;
    const std::string key = RegistryBaseKey + "\\RecentFiles";
    // Errors are ignored: every statement runs.
    auto ignoringErrors = [](auto&& f) {
        try {
            f();
        } catch (const runtime::RuntimeError&) {
        }
    };
    for (int i = 1; i <= kRecentFileCount; ++i) {
        const std::string n = std::to_string(i);
        const RecentFileRecord& r = RecentFiles[i];
        ignoringErrors([&] { CreatNewKey(key, RegistryRoot); });
        ignoringErrors([&] {
            SetKeyValue(RegistryRoot, key, "RecentFileName" + n, r.RecentFileName, REG_TYPE_SZ);
        });
        ignoringErrors([&] {
            SetKeyValue(RegistryRoot, key, "RecentFilePath" + n, r.RecentFilePath, REG_TYPE_SZ);
        });
        ignoringErrors([&] {
            SetKeyValue(RegistryRoot, key, "RecentFileType" + n, r.RecentFileType, REG_TYPE_SZ);
        });
    }
}

}  // namespace DUVMain
