#include "core/LogMaintenance.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <vector>

#include "core/DUVMain.h"
#include "core/Runtime.h"
#include "tests/core/ScratchFolder.h"

namespace {

using namespace LogMaintenance;

// The program folder and, beside it, the log's own folder.
class LogMaintenanceTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedAppPath_ = DUVMain::AppPath;
        DUVMain::AppPath = folder_.Path();
        std::filesystem::create_directories(folder_ / "WINDOWS");
        log_ = folder_ / "WINDOWS" + "/ModemLog.txt";
    }
    void TearDown() override { DUVMain::AppPath = savedAppPath_; }

    std::string Backup(const char* name = kLogBackup) const { return InProgramFolder(name); }

    ScratchFolder folder_{"duv-logmaint"};
    std::string log_;
    std::vector<int> percents_;
    Progress record_ = [this](int percent) { percents_.push_back(percent); };

private:
    std::string savedAppPath_;
};

std::string Line(int day, const std::string& text) {
    return "03-" + runtime::Format(day, "00") + "-2026 10:00:00.00 - " + text;
}

}  // namespace

TEST_F(LogMaintenanceTest, RepairKeepsPrintableBytesThenTheDatedLines) {
    // Damaged bytes inside lines, every kind of line end, blank and undated lines, and a last
    // line without its end.
    const std::string log = Line(1,
                                 "RECV: ATDT\t0123\x01"
                                 "456") +
                            "\r\n" + "  \r\n" +
                            Line(2,
                                 "CONNECT\xe9"
                                 "ION ESTABLISHED") +
                            "\r" + "no date\n" + Line(3, "HANGING UP\x7f") + "\n\n" +
                            "13-01-1999 00:00:00.00 - carried into 2000\r\n" +
                            "00-01-1999 00:00:00.00 - no date\r\n" + Line(4, "la");
    ScratchFolder::Write(log_, log);
    const std::string fx1 = InProgramFolder(kRepairBytesFile);
    ScratchFolder::Write(fx1, "the previous repair's work");

    RewriteResult bytes = FilterDamagedBytes(log_, fx1, record_);
    ASSERT_TRUE(bytes);
    std::string printable;
    for (char c : log)
        if ((c >= 32 && c <= 126) || c == '\r' || c == '\n')
            printable += c;
    EXPECT_EQ(ScratchFolder::Read(fx1), printable);
    // 250 bytes: a step of 2 (2.5 rounds to even), 125 progress steps.
    ASSERT_EQ(log.size(), 250u);
    EXPECT_EQ(percents_.size(), 125u);
    EXPECT_EQ(percents_.front(), 1);
    EXPECT_EQ(percents_.back(), 100);

    percents_.clear();
    RewriteResult lines =
        KeepDatedLines(fx1, log_, Backup(), static_cast<std::int64_t>(log.size()), record_);
    ASSERT_TRUE(lines);
    EXPECT_EQ(ScratchFolder::Read(log_),
              Line(1, "RECV: ATDT0123456") + "\r\n" + Line(2, "CONNECTION ESTABLISHED") + "\r\n" +
                  Line(3, "HANGING UP") + "\r\n" +
                  "13-01-1999 00:00:00.00 - carried into 2000\r\n" + Line(4, "la") + "\r\n");
    EXPECT_EQ(ScratchFolder::Read(Backup()), log);
    EXPECT_EQ(lines.LinesRead, 9u);
    EXPECT_EQ(lines.LinesKept, 5u);
    EXPECT_EQ(percents_.back(), 101);  // lines ended by a lone CR or LF count two bytes

    // A second repair keeps the log as it was before it.
    const std::string repaired = ScratchFolder::Read(log_);
    ASSERT_TRUE(FilterDamagedBytes(log_, fx1, nullptr));
    ASSERT_TRUE(KeepDatedLines(fx1, log_, Backup(), 1, nullptr));
    EXPECT_EQ(ScratchFolder::Read(Backup()), repaired);
    EXPECT_EQ(ScratchFolder::Read(log_), repaired);
}

TEST_F(LogMaintenanceTest, RepairOfSmallEmptyAndMissingLogs) {
    // Up to 50 bytes the byte filter shows no step; an empty log gives an empty log.
    const std::string fx1 = InProgramFolder(kRepairBytesFile);
    ScratchFolder::Write(log_, Line(1, "x"));
    ASSERT_TRUE(FilterDamagedBytes(log_, fx1, record_));
    EXPECT_TRUE(percents_.empty());
    ScratchFolder::Write(log_, "");
    ASSERT_TRUE(FilterDamagedBytes(log_, fx1, record_));
    ASSERT_TRUE(KeepDatedLines(fx1, log_, Backup(), 0, record_));
    EXPECT_EQ(ScratchFolder::Read(log_), "");

    RewriteResult missing = FilterDamagedBytes(folder_ / "none.txt", fx1, record_);
    EXPECT_TRUE(missing.ReadFailed);
    EXPECT_FALSE(missing);
}

TEST_F(LogMaintenanceTest, PurgeDropsTheRangeAndUndatedLinesWithAProgressPastAHundred) {
    const std::string log = Line(1, "a") + "\r\n\r\n" + Line(2, "b") + "\r" + "no date\r\n" +
                            Line(3, "c") + "\n" + Line(4, "d") + "\r\n" + Line(5, "e");
    ScratchFolder::Write(log_, log);
    ScratchFolder::Write(Backup(), "older backup");
    const double from = runtime::DateSerial(2026, 3, 2), to = runtime::DateSerial(2026, 3, 4);
    // Five dated lines and one undated: LogLineCount 6, while the reader meets 7 lines.
    RewriteResult result = PurgeLines(log_, Backup(), from, to, 6, record_);
    ASSERT_TRUE(result);
    EXPECT_EQ(ScratchFolder::Read(log_), Line(1, "a") + "\r\n" + Line(5, "e") + "\r\n");
    EXPECT_EQ(ScratchFolder::Read(Backup()), log);
    EXPECT_EQ(percents_, (std::vector<int>{16, 33, 50, 66, 83, 100, 116}));
    EXPECT_EQ(PurgingText(116), "Please Wait .....Purging  116%");

    // A log of blank lines only counts no line: no division by zero.
    percents_.clear();
    ScratchFolder::Write(log_, "\r\n\r\n");
    ASSERT_TRUE(PurgeLines(log_, Backup(), from, to, 0, record_));
    EXPECT_EQ(percents_, (std::vector<int>{100}));
}

TEST_F(LogMaintenanceTest, CountersGoPastSixteenBits) {
    std::string log;
    for (int i = 0; i < 40000; ++i)
        log += Line(1 + i % 28, "line") + "\r\n";
    ScratchFolder::Write(log_, log);
    RewriteResult result = PurgeLines(log_, Backup(), runtime::DateSerial(2026, 3, 2),
                                      runtime::DateSerial(2026, 3, 28), 40000, record_);
    ASSERT_TRUE(result);
    EXPECT_EQ(result.LinesRead, 40000u);
    EXPECT_EQ(result.LinesKept, 1429u);  // every 28th line, the 1st of March
    EXPECT_EQ(percents_.back(), 100);
}

TEST_F(LogMaintenanceTest, OptimizeKeepsKeywordLinesInUpperCase) {
    Keywords k{"ATDT", "RING", "CONNECT", "HANGING UP", "NO CARRIER", "READS", "WRITES"};
    const std::string log =
        Line(1, "New modem log file created by DUV (Duvelo) v1.0") + "\r\n" +
        Line(1, "Recv: ATDT0123456<cr>") + "\r\n" +  // dial with a number
        Line(1, "Send: ATDT<cr>") + "\r\n" +         // dial without one
        Line(1, "ATDT connect") + "\r\n" +           // dial wins: dropped
        Line(1, "Connection established") + "\r" + Line(1, "Initializing modem.") + "\n" + "\r\n" +
        Line(1, "Hanging up the modem.") + "\r\n" + Line(1, "5000 reads, 400 writes");
    ScratchFolder::Write(log_, log);
    RewriteResult result = OptimizeLines(log_, Backup(), k, 8, record_);
    ASSERT_TRUE(result);
    EXPECT_EQ(ScratchFolder::Read(log_), Line(1, "RECV: ATDT0123456<CR>") + "\r\n" +
                                             Line(1, "CONNECTION ESTABLISHED") + "\r\n" +
                                             Line(1, "HANGING UP THE MODEM.") + "\r\n" +
                                             Line(1, "5000 READS, 400 WRITES") + "\r\n");
    EXPECT_EQ(ScratchFolder::Read(Backup()), log);
    EXPECT_EQ(percents_.back(), 112);
    EXPECT_EQ(OptimizingText(12), "Please Wait .....Optimizing  12%");

    // The digit test starts at the message; an empty keyword is in every line.
    EXPECT_FALSE(KeepOptimized("01-01-2026 10:00:00.00 - ATDT", k));
    k.Dial = "";
    EXPECT_TRUE(KeepOptimized("01-01-2026 10:00:00.00 - X1", k));
    EXPECT_FALSE(KeepOptimized("", k));
    k.Dial = "ATDT";
    k.Writes = "";
    EXPECT_TRUE(KeepOptimized("anything", k));
}

TEST_F(LogMaintenanceTest, AFailedRewriteLeavesTheLogAndTheBackup) {
    const std::string log = Line(1, "a") + "\r\n";
    ScratchFolder::Write(log_, log);
    ScratchFolder::Write(Backup(), "older backup");
    // The work file's name is taken by a folder: nothing can be written.
    for (int n = 1; n <= 100; ++n)
        std::filesystem::create_directories(
            n == 1 ? folder_ / "WINDOWS/ModemLog.pge"
                   : folder_ / ("WINDOWS/ModemLog~" + std::to_string(n) + ".pge"));
    RewriteResult result = PurgeLines(log_, Backup(), 0, 0, 1, nullptr);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.Write.failed, safe_write::Step::Create);
    EXPECT_EQ(ScratchFolder::Read(log_), log);
    EXPECT_EQ(ScratchFolder::Read(Backup()), "older backup");

    RewriteResult missing = OptimizeLines(folder_ / "none.txt", Backup(), {}, 1, nullptr);
    EXPECT_TRUE(missing.ReadFailed);
    EXPECT_EQ(ScratchFolder::Read(Backup()), "older backup");
}

namespace {

// The portable file operations, with a run that ends at its first write to a work file: from
// then on nothing more reaches the disk, as when the program is ended in the middle of it.
class EndedRun : public safe_write::FileSystem {
public:
    bool ended = false;

    std::unique_ptr<Output> CreateNew(const std::string& path, bool& nameTaken) override {
        nameTaken = false;
        if (ended)
            return nullptr;
        auto real = real_.CreateNew(path, nameTaken);
        if (real && path.find(".wrk") == std::string::npos)
            return std::make_unique<Ending>(*this, std::move(real));
        return real;
    }
    std::int64_t Length(const std::string& path) override { return real_.Length(path); }
    bool Move(const std::string& from, const std::string& to) override {
        return !ended && real_.Move(from, to);
    }
    bool Remove(const std::string& path) override { return !ended && real_.Remove(path); }

private:
    class Ending : public Output {
    public:
        Ending(EndedRun& run, std::unique_ptr<Output> real) : run_(run), real_(std::move(real)) {}
        bool Write(const char* data, std::size_t size) override {
            if (!run_.ended)
                real_->Write(data, size / 2);
            run_.ended = true;
            return false;
        }
        bool Flush() override { return false; }
        bool Close() override {
            real_->Close();
            return false;
        }

    private:
        EndedRun& run_;
        std::unique_ptr<Output> real_;
    };
    safe_write::FileSystem& real_ = safe_write::PortableFileSystem();
};

}  // namespace

TEST_F(LogMaintenanceTest, AWorkFileLeftByAnEndedRunIsRemovedByTheNextRunOfItsOperation) {
    const std::string log = Line(1, "a") + "\r\n" + Line(2, "b") + "\r\n";
    ScratchFolder::Write(log_, log);
    // A file of the user's that bears the work file's name, and an optimize's own work file.
    ScratchFolder::Write(folder_ / "WINDOWS/ModemLog~7.pge", "a user's file");
    ScratchFolder::Write(folder_ / "WINDOWS/ModemLog.opt", "not the purge's");
    const double day2 = runtime::DateSerial(2026, 3, 2);
    // More ended purges than there are work file names.
    for (int run = 1; run <= 120; ++run) {
        EndedRun ended;
        safe_write::FileSystem* previous = safe_write::SetFileSystem(&ended);
        RewriteResult result = PurgeLines(log_, Backup(), day2, day2, 2, nullptr);
        safe_write::SetFileSystem(previous);
        ASSERT_FALSE(result);
        ASSERT_TRUE(ended.ended) << "run " << run;
        ASSERT_EQ(ScratchFolder::Read(log_), log);
    }
    std::set<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder_ / "WINDOWS"))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"ModemLog.txt", "ModemLog.pge", "ModemLog~7.pge",
                                            "ModemLog.opt"}))
        << "one work file left over, not one per run";
    // The next purge removes it and runs; the user's file and the optimize's stay.
    RewriteResult result = PurgeLines(log_, Backup(), day2, day2, 2, nullptr);
    ASSERT_TRUE(result);
    EXPECT_EQ(ScratchFolder::Read(log_), Line(1, "a") + "\r\n");
    names.clear();
    for (const auto& entry : std::filesystem::directory_iterator(folder_ / "WINDOWS"))
        names.insert(entry.path().filename().string());
    EXPECT_EQ(names, (std::set<std::string>{"ModemLog.txt", "ModemLog~7.pge", "ModemLog.opt"}));
    EXPECT_EQ(ScratchFolder::Read(folder_ / "WINDOWS/ModemLog~7.pge"), "a user's file");
    EXPECT_EQ(ScratchFolder::Read(WorkJournal(kPurgeWorkFile)), "<missing>");

    // A record that names a file of another name is dropped without touching the file.
    for (const std::string& other : {log_, folder_ / "WINDOWS/ModemLog.opt"}) {
        ScratchFolder::Write(WorkJournal(kPurgeWorkFile), other);
        ASSERT_TRUE(PurgeLines(log_, Backup(), day2, day2, 2, nullptr));
    }
    EXPECT_EQ(ScratchFolder::Read(log_), Line(1, "a") + "\r\n");
    EXPECT_EQ(ScratchFolder::Read(folder_ / "WINDOWS/ModemLog.opt"), "not the purge's");
}

TEST(LogMaintenanceTexts, LabelsAndFailureBoxes) {
    EXPECT_EQ(RepairingText(50), "Repairing Modem Log.........  50%");
    EXPECT_EQ(CheckingText(7), "Checking Entries.........  7%");
    EXPECT_EQ(RoundedPercent(1, 8), 12);  // 12.5 to even
    EXPECT_EQ(RoundedPercent(3, 8), 38);  // 37.5 to even
    EXPECT_EQ(WholePercent(199, 100), 199);
    EXPECT_EQ(PurgeFailedText(),
              "DUV was unable to purge your modem log file!\n\nPlease try again later after "
              "shutting down and\nre-starting your computer.\n\nNote that if you are currently "
              "connected and\non-line then you should NOT be using DUV now.");
    EXPECT_EQ(OptimizeFailedText().substr(0, 50),
              "DUV was unable to optimize your modem log file!\n\nP");
}
