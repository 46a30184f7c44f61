#pragma once
// The program's one way to replace a file. The new contents go to a fresh work file in the
// target's own folder (created under a name no other file has), are flushed to the disk and
// checked, and only then is the work file renamed over the target. Where a backup is named,
// the old file is first renamed to the backup (replacing an older backup in one step); if the
// work file then cannot take the target's name, the old file is put back. At every moment the
// target exists whole, under its own name or under its backup name.
//
// The file operations go through the FileSystem seam: the portable set below is the default,
// Windows builds install the system's (InstallSystemSafeWriteFiles in core/win32), and tests
// wrap one to fail any step.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace safe_write {

class FileSystem {
public:
    class Output {
    public:
        virtual ~Output() = default;
        virtual bool Write(const char* data, std::size_t size) = 0;
        virtual bool Flush() = 0;  // to the disk
        virtual bool Close() = 0;
    };

    virtual ~FileSystem() = default;
    // Creates a file that must not exist yet. Null when it cannot be created; nameTaken then
    // tells whether a file of that name was there.
    virtual std::unique_ptr<Output> CreateNew(const std::string& path, bool& nameTaken) = 0;
    // Length in bytes, -1 when there is no such file.
    virtual std::int64_t Length(const std::string& path) = 0;
    // Renames from to to, replacing a file named to in one step, and makes it last.
    virtual bool Move(const std::string& from, const std::string& to) = 0;
    virtual bool Remove(const std::string& path) = 0;
};

// The set in use; the portable one unless another was installed.
FileSystem& Files();
// Installs a set (null restores the portable one); returns the previous one.
FileSystem* SetFileSystem(FileSystem* files);
// Standard C++ and POSIX-style calls; used natively and by the portable tests.
FileSystem& PortableFileSystem();

// The step at which a replace failed.
enum class Step { None, Create, Write, Flush, Close, Check, Backup, Swap };

struct Result {
    Step failed = Step::None;
    // After a failure: the old file is under its own name again (false only when it could not
    // be put back and stays under the backup name).
    bool originalInPlace = true;
    explicit operator bool() const { return failed == Step::None; }
};

// A replace in progress: the constructor creates the work file, Write adds bytes, Commit
// swaps it in. A writer destroyed without Commit removes its work file.
class Writer {
public:
    // workName: the work file's preferred name in the target's folder (a numbered variant is
    // taken when a file of that name exists); empty gives "~" + the target's name + ".tmp".
    // backup: full path the old file moves to; empty keeps no backup.
    // journal: full path of a small file of the program's own that names the work file while
    // the writer runs. A run that ended before it could remove its work file (the program
    // ended, the disk went away) leaves it named there, and the next writer given the same
    // journal removes it first, when it lies in the target's folder under workName or one of
    // its numbered variants. One it cannot remove yet (held open) stays named in the journal
    // beside the writer's own until a later writer removes it. Empty keeps no journal.
    explicit Writer(std::string target, std::string backup = {}, std::string workName = {},
                    std::string journal = {});
    ~Writer();
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    // False once anything failed; later writes are ignored.
    bool Write(std::string_view bytes);
    bool Good() const { return result_.failed == Step::None; }
    // Flushes, checks and swaps; the writer is finished afterwards.
    Result Commit();

    const std::string& WorkPath() const { return workPath_; }
    std::uint64_t BytesWritten() const { return written_; }

private:
    bool Drain();
    void Fail(Step step);
    void RemoveStaleWorkFiles(const std::string& workName);
    bool WriteJournal(bool withWorkFile);
    void RecordWorkFile();
    void ForgetWorkFile();

    std::string target_, backup_, workPath_, journal_;
    std::vector<std::string> stale_;  // earlier work files the journal still names
    bool recorded_ = false;
    std::unique_ptr<FileSystem::Output> out_;
    std::string buffer_;
    std::uint64_t written_ = 0;
    Result result_;
    bool finished_ = false;
};

// Replaces target with contents in one call.
Result WriteFile(const std::string& target, std::string_view contents,
                 const std::string& backup = {});

// The folder part of a path with its trailing separator ("" for a bare name).
std::string FolderOf(const std::string& path);

}  // namespace safe_write
