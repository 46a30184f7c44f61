#include "core/OpenFiles.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <map>

#include "core/RuntimeError.h"

namespace {

struct OpenFile {
    std::FILE* stream;
    unsigned long long id;  // tells a reopened number from the file an object opened
};

std::map<int, OpenFile>& Table() {
    static std::map<int, OpenFile> table;
    return table;
}

unsigned long long nextId = 1;

// The platform's code of the last failure (0 where the C library does not keep it).
std::uint32_t SystemErrorCode() {
#ifdef _WIN32
    return static_cast<std::uint32_t>(_doserrno);
#else
    return 0;
#endif
}

}  // namespace

int FileErrorNumber(int cErrno) {
#ifdef _WIN32
    // The C library keeps the system's own code beside errno.
    if (_doserrno != 0)
        return runtime::ErrorNumberForSystemError(static_cast<std::uint32_t>(_doserrno));
#endif
    switch (cErrno) {
    case ENOENT:
        return runtime::kErrFileNotFound;
    case ENOTDIR:
        return runtime::kErrPathNotFound;
    case EACCES:
    case EPERM:
    case EISDIR:
        return runtime::kErrPathFileAccess;
    case ENAMETOOLONG:
    case EINVAL:
        return runtime::kErrBadFileName;
    case ENOSPC:
        return runtime::kErrDiskFull;
    default:
        return runtime::kErrDeviceIO;
    }
}

NumberedFile::NumberedFile(int number, const std::string& path, Mode mode) : number_(number) {
    if (FileNumberInUse(number))
        runtime::Raise(runtime::kErrFileAlreadyOpen);
    const char* how = mode == Mode::Read ? "rb" : mode == Mode::Write ? "wb" : "ab";
    errno = 0;
#ifdef _WIN32
    _doserrno = 0;
#endif
    std::FILE* f = path.empty() ? nullptr : std::fopen(path.c_str(), how);
    if (!f)
        runtime::Raise(path.empty() ? runtime::kErrBadFileName : FileErrorNumber(errno),
                       SystemErrorCode());
    id_ = nextId++;
    Table()[number] = OpenFile{f, id_};
}

NumberedFile::~NumberedFile() {
    auto it = Table().find(number_);
    if (it != Table().end() && it->second.id == id_) {
        std::fclose(it->second.stream);
        Table().erase(it);
    }
}

std::FILE* NumberedFile::Stream() const {
    auto it = Table().find(number_);
    return it == Table().end() || it->second.id != id_ ? nullptr : it->second.stream;
}

void NumberedFile::Write(const std::string& bytes) {
    std::FILE* f = Stream();
    if (!f)
        runtime::Raise(runtime::kErrBadFileMode);
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
        runtime::Raise(errno == ENOSPC ? runtime::kErrDiskFull : runtime::kErrDeviceIO);
}

void NumberedFile::Close() {
    auto it = Table().find(number_);
    if (it == Table().end() || it->second.id != id_)
        return;
    std::FILE* f = it->second.stream;
    Table().erase(it);
    errno = 0;
    if (std::fclose(f) != 0)
        runtime::Raise(errno == ENOSPC ? runtime::kErrDiskFull : runtime::kErrDeviceIO);
}

void CloseAllFiles() {
    for (auto& [number, file] : Table())
        std::fclose(file.stream);
    Table().clear();
}

int OpenFileCount() { return static_cast<int>(Table().size()); }

bool FileNumberInUse(int number) { return Table().count(number) != 0; }
