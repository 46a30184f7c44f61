#include "core/SafeWrite.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

#include "tests/core/ScratchFolder.h"
#include "tests/support/Seams.h"

namespace {

using safe_write::FileSystem;
using safe_write::Step;

// The portable file system with chosen operations failing (counted from 1 in call order) and
// a check run after every operation.
class FaultyFiles : public FileSystem {
public:
    std::set<int> failing;
    std::set<std::string> held;  // files that cannot be removed (open elsewhere)
    int calls = 0;
    std::function<void()> afterEach = [] {};

    bool Fails() { return failing.count(++calls) > 0; }

    std::unique_ptr<Output> CreateNew(const std::string& path, bool& nameTaken) override {
        nameTaken = false;
        if (Fails())
            return nullptr;
        auto real = real_.CreateNew(path, nameTaken);
        afterEach();
        return real ? std::make_unique<FaultyOutput>(*this, std::move(real)) : nullptr;
    }
    std::int64_t Length(const std::string& path) override {
        return Fails() ? -1 : real_.Length(path);
    }
    bool Move(const std::string& from, const std::string& to) override {
        if (Fails())
            return false;
        bool moved = real_.Move(from, to);
        afterEach();
        return moved;
    }
    bool Remove(const std::string& path) override {
        if (Fails() || held.count(path))
            return false;
        bool removed = real_.Remove(path);
        afterEach();
        return removed;
    }

private:
    class FaultyOutput : public Output {
    public:
        FaultyOutput(FaultyFiles& files, std::unique_ptr<Output> real)
            : files_(files), real_(std::move(real)) {}
        bool Write(const char* data, std::size_t size) override {
            // A failing write gets half of its bytes out, as on a full disk.
            bool fails = files_.Fails();
            bool wrote = real_->Write(data, fails ? size / 2 : size);
            files_.afterEach();
            return wrote && !fails;
        }
        bool Flush() override { return !files_.Fails() && real_->Flush(); }
        bool Close() override {
            bool fails = files_.Fails();
            return real_->Close() && !fails;
        }

    private:
        FaultyFiles& files_;
        std::unique_ptr<Output> real_;
    };

    FileSystem& real_ = safe_write::PortableFileSystem();
};

const std::string kOld = "01-02-2026 10:00:00.00 - the log as it was\r\n";
const std::string kNew = "01-02-2026 10:00:00.00 - THE LOG REWRITTEN\r\n";

struct Outcome {
    safe_write::Result result;
    int calls = 0;
    bool alwaysWhole = true;
};

// Replaces ModemLog.txt, beside a user's file of the work file's name, with the given
// operations failing, and checks after every operation that the log is whole under its own
// name or its backup name.
Outcome Replace(const ScratchFolder& folder, bool withBackup, std::set<int> failing) {
    const std::string target = folder / "ModemLog.txt";
    const std::string backup = withBackup ? folder / "ModemLog.old" : std::string();
    ScratchFolder::Write(target, kOld);
    if (withBackup)
        ScratchFolder::Write(backup, "an older backup");
    ScratchFolder::Write(folder / "~ModemLog.txt.tmp", "a file of the user's");
    FaultyFiles files;
    test_support::ScopedSeam<FileSystem*> installed(safe_write::SetFileSystem, &files);
    files.failing = std::move(failing);
    Outcome outcome;
    files.afterEach = [&] {
        outcome.alwaysWhole =
            outcome.alwaysWhole &&
            (ScratchFolder::Read(target) == kOld || ScratchFolder::Read(target) == kNew ||
             (withBackup && ScratchFolder::Read(backup) == kOld));
    };
    outcome.result = safe_write::WriteFile(target, kNew, backup);
    outcome.calls = files.calls;
    return outcome;
}

void ReplaceWithEveryFault(bool withBackup) {
    int operations = 0;
    {
        ScratchFolder folder("duv-safewrite");
        Outcome clean = Replace(folder, withBackup, {});
        ASSERT_TRUE(clean.result);
        operations = clean.calls;
    }
    std::vector<std::set<int>> faults;
    for (int at = 1; at <= operations; ++at)
        faults.push_back({at});
    if (withBackup)
        faults.push_back({operations, operations + 1});  // the swap and its undo
    std::set<Step> failedSteps;
    for (const std::set<int>& failing : faults) {
        ScratchFolder folder("duv-safewrite");
        const std::string target = folder / "ModemLog.txt";
        Outcome outcome = Replace(folder, withBackup, failing);
        SCOPED_TRACE("failing operation " + std::to_string(*failing.begin()));
        const safe_write::Result& result = outcome.result;
        EXPECT_TRUE(outcome.alwaysWhole);
        ASSERT_FALSE(result);
        failedSteps.insert(result.failed);
        EXPECT_EQ(ScratchFolder::Read(target), result.originalInPlace ? kOld : "<missing>");
        if (withBackup) {
            EXPECT_EQ(ScratchFolder::Read(folder / "ModemLog.old"),
                      result.failed == Step::Swap ? (result.originalInPlace ? "<missing>" : kOld)
                                                  : "an older backup");
        }
        EXPECT_EQ(result.originalInPlace, failing.size() == 1);
        EXPECT_EQ(ScratchFolder::Read(folder / "~ModemLog.txt.tmp"), "a file of the user's");
        std::set<std::string> expected = {"ModemLog.txt", "~ModemLog.txt.tmp"};
        if (!result.originalInPlace)
            expected = {"ModemLog.old", "~ModemLog.txt.tmp"};
        else if (withBackup && result.failed != Step::Swap)
            expected.insert("ModemLog.old");
        EXPECT_EQ(folder.Names(), expected) << "no work file stays behind";
    }
    std::set<Step> expected = {Step::Create, Step::Write, Step::Flush,
                               Step::Close,  Step::Check, Step::Swap};
    if (withBackup)
        expected.insert(Step::Backup);
    EXPECT_EQ(failedSteps, expected);
}

}  // namespace

TEST(SafeWrite, EveryFailingStepLeavesTheFileWholeAndIsReported) { ReplaceWithEveryFault(false); }

TEST(SafeWrite, WithABackupTheFileIsWholeUnderOneOfItsNamesAtEveryStep) {
    ReplaceWithEveryFault(true);
}

TEST(SafeWrite, TheWorkFileTakesAFreeNameBesideTheTarget) {
    ScratchFolder folder("duv-safewrite");
    const std::string target = folder / "Summary 01Mar99 - 31Mar99.txt";
    ScratchFolder::Write(folder / "ModemLog.pge", "a user's file");
    ScratchFolder::Write(folder / "ModemLog~2.pge", "another");
    {
        safe_write::Writer writer(target, "", "ModemLog.pge");
        EXPECT_EQ(writer.WorkPath(), folder / "ModemLog~3.pge");
        // Larger than the writer's buffer, in pieces of every size.
        std::string big;
        for (int i = 0; big.size() < (3u << 20); ++i)
            big += std::string(i % 5000, 'a' + i % 26) + "\r\n";
        writer.Write(big.substr(0, 10));
        writer.Write(big.substr(10, 2u << 20));
        writer.Write(big.substr(10 + (2u << 20)));
        ASSERT_TRUE(writer.Commit());
        EXPECT_EQ(ScratchFolder::Read(target), big);
        EXPECT_EQ(writer.BytesWritten(), big.size());
    }
    EXPECT_EQ(ScratchFolder::Read(folder / "ModemLog.pge"), "a user's file");
    EXPECT_EQ(folder.Names().size(), 3u);

    // A writer dropped before its commit leaves nothing; a folder that is not there fails
    // at the start.
    {
        safe_write::Writer dropped(folder / "other.txt");
        dropped.Write("x");
    }
    EXPECT_EQ(folder.Names().size(), 3u);
    safe_write::Result missing = safe_write::WriteFile(folder / "no folder" + "/x.txt", "x");
    EXPECT_EQ(missing.failed, Step::Create);
    // A new file with a backup named: there is nothing to keep.
    ASSERT_TRUE(safe_write::WriteFile(folder / "new.txt", "", folder / "new.old"));
    EXPECT_EQ(ScratchFolder::Read(folder / "new.txt"), "");
    EXPECT_EQ(ScratchFolder::Read(folder / "new.old"), "<missing>");
}

// Work files that could not be removed (held open elsewhere) stay named in the journal, beside
// the one being written, until a later writer can remove them; a journal of one name, as
// earlier runs wrote it, is read as well.
TEST(SafeWrite, EveryWorkFileLeftBehindStaysInTheJournalUntilItIsRemoved) {
    ScratchFolder folder("duv-safewrite");
    ScratchFolder program("duv-safewrite-journal");
    const std::string target = folder / "ModemLog.txt";
    const std::string journal = program / "ModemLog.opt.wrk";
    ScratchFolder::Write(target, kOld);
    ScratchFolder::Write(folder / "ModemLog.opt", "left by an ended run");
    ScratchFolder::Write(journal, folder / "ModemLog.opt");
    FaultyFiles files;
    test_support::ScopedSeam<FileSystem*> installed(safe_write::SetFileSystem, &files);
    files.held = {folder / "ModemLog.opt"};
    {
        safe_write::Writer writer(target, "", "ModemLog.opt", journal);
        EXPECT_EQ(writer.WorkPath(), folder / "ModemLog~2.opt");
        writer.Write(kNew);
        ASSERT_TRUE(writer.Commit());
    }
    // A run that ends with its own work file held as well.
    files.held.insert(folder / "ModemLog~2.opt");
    {
        safe_write::Writer writer(target, "", "ModemLog.opt", journal);
        EXPECT_EQ(writer.WorkPath(), folder / "ModemLog~2.opt");
        writer.Write(kOld);
    }
    EXPECT_EQ(folder.Names(), (std::set<std::string>{"ModemLog.txt", "ModemLog.opt",
                                                     "ModemLog~2.opt"}));
    // Once they are released the next writer removes both and takes the first name.
    files.held.clear();
    {
        safe_write::Writer writer(target, "", "ModemLog.opt", journal);
        EXPECT_EQ(writer.WorkPath(), folder / "ModemLog.opt");
        writer.Write(kOld);
        ASSERT_TRUE(writer.Commit());
    }
    EXPECT_EQ(ScratchFolder::Read(target), kOld);
    EXPECT_EQ(folder.Names(), std::set<std::string>{"ModemLog.txt"});
    EXPECT_EQ(program.Names(), std::set<std::string>{});
}
