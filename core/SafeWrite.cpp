#include "core/SafeWrite.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include "core/LineReader.h"

namespace safe_write {
namespace {

constexpr std::size_t kBufferSize = 1u << 20;
constexpr int kNameAttempts = 100;

#ifdef _WIN32
int OpenNew(const char* path) {
    return _open(path, _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
int WriteSome(int fd, const char* data, std::size_t size) {
    return _write(fd, data, static_cast<unsigned>(size));
}
int Sync(int fd) { return _commit(fd); }
int CloseFd(int fd) { return _close(fd); }
#else
int OpenNew(const char* path) { return open(path, O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666); }
long WriteSome(int fd, const char* data, std::size_t size) { return write(fd, data, size); }
int Sync(int fd) { return fsync(fd); }
int CloseFd(int fd) { return close(fd); }
#endif

class PortableOutput : public FileSystem::Output {
public:
    explicit PortableOutput(int fd) : fd_(fd) {}
    ~PortableOutput() override { Close(); }
    bool Write(const char* data, std::size_t size) override {
        while (size > 0) {
            std::size_t chunk = size < (1u << 30) ? size : (1u << 30);
            auto wrote = WriteSome(fd_, data, chunk);
            if (wrote < 0 && errno == EINTR)
                continue;
            if (wrote <= 0)
                return false;
            data += wrote;
            size -= static_cast<std::size_t>(wrote);
        }
        return true;
    }
    bool Flush() override { return Sync(fd_) == 0; }
    bool Close() override {
        if (fd_ < 0)
            return true;
        int fd = std::exchange(fd_, -1);
        return CloseFd(fd) == 0;
    }

private:
    int fd_;
};

class PortableFiles : public FileSystem {
public:
    std::unique_ptr<Output> CreateNew(const std::string& path, bool& nameTaken) override {
        int fd = OpenNew(path.c_str());
        nameTaken = fd < 0 && errno == EEXIST;
        if (fd < 0)
            return nullptr;
        return std::make_unique<PortableOutput>(fd);
    }
    std::int64_t Length(const std::string& path) override { return FileLengthOf(path); }
    bool Move(const std::string& from, const std::string& to) override {
        std::error_code error;
        std::filesystem::rename(from, to, error);
        return !error;
    }
    bool Remove(const std::string& path) override {
        std::error_code error;
        return std::filesystem::remove(path, error) && !error;
    }
};

FileSystem* g_installed = nullptr;

// "name.ext" with a number before the extension: "name~2.ext".
std::string NumberedName(const std::string& name, int number) {
    std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos || dot == 0)
        dot = name.size();
    return name.substr(0, dot) + "~" + std::to_string(number) + name.substr(dot);
}

}  // namespace

FileSystem& PortableFileSystem() {
    static PortableFiles files;
    return files;
}

FileSystem& Files() { return g_installed ? *g_installed : PortableFileSystem(); }

FileSystem* SetFileSystem(FileSystem* files) { return std::exchange(g_installed, files); }

std::string FolderOf(const std::string& path) {
    std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

Writer::Writer(std::string target, std::string backup, std::string workName, std::string journal)
    : target_(std::move(target)), backup_(std::move(backup)), journal_(std::move(journal)) {
    std::string folder = FolderOf(target_);
    if (workName.empty())
        workName = "~" + target_.substr(folder.size()) + ".tmp";
    RemoveStaleWorkFiles(workName);
    for (int attempt = 1; attempt <= kNameAttempts && !out_; ++attempt) {
        std::string candidate =
            folder + (attempt == 1 ? workName : NumberedName(workName, attempt));
        bool taken = false;
        out_ = Files().CreateNew(candidate, taken);
        if (out_)
            workPath_ = std::move(candidate);
        else if (!taken)
            break;
    }
    if (!out_) {
        result_.failed = Step::Create;
        finished_ = true;
        return;
    }
    RecordWorkFile();
    buffer_.reserve(kBufferSize);
}

// The journal holds one path a line: earlier work files that could not be removed, then the
// one being written (a journal of older runs holds that one alone). Only files the writers of
// this journal name as their work file are removed; other names are dropped and their files
// left alone. A file that cannot be removed (held open, perhaps by another run) keeps its name.
void Writer::RemoveStaleWorkFiles(const std::string& workName) {
    if (journal_.empty())
        return;
    std::vector<std::string> named;
    {
        std::ifstream in(journal_, std::ios::binary);
        if (!in)
            return;
        for (std::string line; std::getline(in, line);) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            named.push_back(std::move(line));
        }
    }
    const std::string folder = FolderOf(target_);
    FileSystem& files = Files();
    for (const std::string& stale : named) {
        bool ours = stale.size() > folder.size() && stale.compare(0, folder.size(), folder) == 0 &&
                    stale.substr(folder.size()) == workName;
        for (int number = 2; number <= kNameAttempts && !ours; ++number)
            ours = stale == folder + NumberedName(workName, number);
        if (ours && files.Length(stale) >= 0 && !files.Remove(stale) &&
            std::find(stale_.begin(), stale_.end(), stale) == stale_.end())
            stale_.push_back(stale);
    }
    if (stale_.empty())
        files.Remove(journal_);
}

// Writes the journal anew: the stale names, and the work file's while it is there.
bool Writer::WriteJournal(bool withWorkFile) {
    FileSystem& files = Files();
    files.Remove(journal_);
    std::string names;
    for (const std::string& stale : stale_)
        names += stale + "\r\n";
    if (withWorkFile)
        names += workPath_ + "\r\n";
    if (names.empty())
        return true;
    bool taken = false;
    std::unique_ptr<FileSystem::Output> out = files.CreateNew(journal_, taken);
    if (!out)
        return false;
    bool written = out->Write(names.data(), names.size()) && out->Flush();
    written = out->Close() && written;
    if (!written)
        files.Remove(journal_);
    return written;
}

void Writer::RecordWorkFile() {
    if (journal_.empty())
        return;
    // A stale name freed since it was read may be the one taken now.
    std::erase(stale_, workPath_);
    recorded_ = WriteJournal(true);  // without it the write goes on without a record
}

void Writer::ForgetWorkFile() {
    if (recorded_ && WriteJournal(false))
        recorded_ = false;
}

Writer::~Writer() {
    if (!finished_)
        Fail(Step::Write);
}

bool Writer::Write(std::string_view bytes) {
    if (!Good() || finished_)
        return false;
    if (buffer_.size() + bytes.size() > kBufferSize && !Drain())
        return false;
    if (bytes.size() >= kBufferSize) {
        if (!out_->Write(bytes.data(), bytes.size())) {
            Fail(Step::Write);
            return false;
        }
        written_ += bytes.size();
        return true;
    }
    buffer_.append(bytes);
    return true;
}

bool Writer::Drain() {
    if (buffer_.empty())
        return true;
    if (!out_->Write(buffer_.data(), buffer_.size())) {
        Fail(Step::Write);
        return false;
    }
    written_ += buffer_.size();
    buffer_.clear();
    return true;
}

// Gives up: closes and removes the work file; the target has not been touched.
void Writer::Fail(Step step) {
    if (result_.failed == Step::None)
        result_.failed = step;
    if (out_) {
        out_->Close();
        out_.reset();
    }
    if (!workPath_.empty() && Files().Remove(workPath_))
        ForgetWorkFile();
    finished_ = true;
}

Result Writer::Commit() {
    if (finished_)
        return result_;
    if (!Drain())
        return result_;
    if (!out_->Flush()) {
        Fail(Step::Flush);
        return result_;
    }
    bool closed = out_->Close();
    out_.reset();
    if (!closed) {
        Fail(Step::Close);
        return result_;
    }
    if (Files().Length(workPath_) != static_cast<std::int64_t>(written_)) {
        Fail(Step::Check);
        return result_;
    }
    FileSystem& files = Files();
    bool backedUp = false;
    if (!backup_.empty()) {
        backedUp = files.Move(target_, backup_);
        if (!backedUp && files.Length(target_) >= 0) {
            Fail(Step::Backup);  // the target stays as it was
            return result_;
        }
    }
    if (!files.Move(workPath_, target_)) {
        if (backedUp)
            result_.originalInPlace = files.Move(backup_, target_);
        Fail(Step::Swap);
        return result_;
    }
    ForgetWorkFile();
    finished_ = true;
    return result_;
}

Result WriteFile(const std::string& target, std::string_view contents, const std::string& backup) {
    Writer writer(target, backup);
    writer.Write(contents);
    return writer.Commit();
}

}  // namespace safe_write
