// Repair, purge and optimize as the windows run them: what the main window's status line,
// progress bar and message boxes show, and what stays as it was after a failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <vector>

#include "core/DUVMain.h"
#include "core/LogMaintenance.h"
#include "core/MessageBox.h"
#include "core/RuntimeError.h"
#include "tests/core/ScratchFolder.h"
#include "tests/support/Seams.h"
#include "ui/logs/DUVOptimize.h"
#include "ui/logs/PurgeModel.h"

namespace {

using namespace LogMaintenance;

class MaintenanceRun : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = {DUVMain::AppPath, DUVMain::LogFilePath};
        DUVMain::AppPath = folder_.Path();
        DUVMain::LogFilePath = folder_ / "ModemLog.txt";
        DUVMain::ArchiveOpen = false;
        DUVMain::LogCorrupt = true;
        DUVMain::ModemDial = "ATDT";
        DUVMain::ModemConnect = "CONNECT";
    }
    void TearDown() override {
        DUVMain::AppPath = saved_[0];
        DUVMain::LogFilePath = saved_[1];
        DUVMain::ArchiveOpen = false;
    }

    ScratchFolder folder_{"duv-maintrun"};
    std::vector<std::string> seen_;
    std::vector<std::string> saved_;
    test_support::ScopedSeam<MainWindowProgress> progress_{SetMainWindowProgress, SeenProgress()};
    test_support::ScopedSeam<std::function<void()>> disable_{
        DUVOptimize::SetDisableControls, [this] { seen_.push_back("controls off"); }};

private:
    // The main window's progress bar and status line, as entries of seen_.
    MainWindowProgress SeenProgress() {
        MainWindowProgress main;
        main.Bar.Show = [this](bool visible) { seen_.push_back(visible ? "bar on" : "bar off"); };
        main.Bar.Set = [this](int percent) { seen_.push_back("bar " + std::to_string(percent)); };
        main.SetStatusText = [this](const std::string& text) { seen_.push_back(text); };
        return main;
    }
};

const std::string kLog =
    "03-01-2026 10:00:00.00 - Recv: ATDT555<cr>\r\n"
    "03-01-2026 10:00:20.00 - Connect 33600\r\n";

}  // namespace

TEST_F(MaintenanceRun, OptimizeAnsweredNoChangesNothingAndYesReportsInTheMainWindow) {
    ScratchFolder::Write(DUVMain::LogFilePath, kLog);
    DUVMain::LogLineCount = 2;
    {
        ScriptedMessages messages({msg::No});
        DUVOptimize::OptimizeLog();
        ASSERT_EQ(messages.Calls().size(), 1u);
        EXPECT_EQ(messages.Calls()[0].title, "OPTIMIZE MODEM LOG");
        EXPECT_EQ(messages.Calls()[0].flags, msg::YesNo | msg::IconQuestion);
    }
    EXPECT_TRUE(seen_.empty()) << "the controls stay enabled";
    EXPECT_TRUE(DUVMain::OptimizePrompted);
    EXPECT_EQ(DUVMain::MessageAnswer, std::to_string(msg::No));
    EXPECT_EQ(ScratchFolder::Read(DUVMain::LogFilePath), kLog);

    // An open archive keeps its previous contents as ModemLogArchive.old.
    DUVMain::ArchiveOpen = true;
    ScriptedMessages messages({msg::Yes});
    DUVOptimize::OptimizeLog();
    EXPECT_EQ(seen_,
              (std::vector<std::string>{
                  "bar on", "controls off", "Please Wait .....Optimizing  50%", "bar 50",
                  "Please Wait .....Optimizing  100%", "bar 100", "bar off", kOptimizedText}));
    EXPECT_EQ(ScratchFolder::Read(folder_ / kArchiveBackup), kLog);
    EXPECT_EQ(ScratchFolder::Read(folder_ / kLogBackup), "<missing>");
    EXPECT_EQ(messages.Calls().size(), 1u);
}

TEST_F(MaintenanceRun, FailuresShowTheirBoxAndLeaveTheLog) {
    // Purge and optimize of a log that cannot be read.
    DUVMain::LogFilePath = folder_ / "missing.txt";
    ScriptedMessages messages;
    EXPECT_FALSE(PurgeModel::DoPurge(1, 2));
    EXPECT_FALSE(DUVOptimize::DoOptimize());
    ASSERT_EQ(messages.Calls().size(), 2u);
    EXPECT_EQ(messages.Calls()[0].title, kPurgeFailedTitle);
    EXPECT_EQ(messages.Calls()[0].text, PurgeFailedText());
    EXPECT_EQ(messages.Calls()[0].flags, msg::OkOnly);
    EXPECT_EQ(messages.Calls()[1].title, kOptimizeFailedTitle);
    // The status line says that it failed, never that it finished.
    EXPECT_EQ(seen_, (std::vector<std::string>{"bar on", "bar off", kPurgeFailedTitle, "bar on",
                                               "bar off", kOptimizeFailedTitle}));

    // A repair that cannot write its work file leaves the log damaged and whole.
    DUVMain::LogFilePath = folder_ / "ModemLog.txt";
    const std::string damaged = kLog + "\x01";
    ScratchFolder::Write(DUVMain::LogFilePath, damaged);
    std::filesystem::create_directory(folder_ / kRepairBytesFile);
    std::vector<std::string> labels;
    RewriteResult repair =
        RepairLog({[&](const std::string& text) { labels.push_back(text); }, {}});
    EXPECT_FALSE(repair);
    EXPECT_TRUE(DUVMain::LogCorrupt);
    EXPECT_EQ(ScratchFolder::Read(DUVMain::LogFilePath), damaged);
    EXPECT_EQ(
        RepairFailedText(repair).substr(0, 83),
        "DUV was unable to repair your modem log file!\n\nYour modem log has not been changed.");
}

TEST_F(MaintenanceRun, RepairShowsEachStepAndClearsTheDamageFlag) {
    ScratchFolder::Write(DUVMain::LogFilePath, kLog + "\x01garbage\r\n");
    std::vector<std::string> labels;
    std::vector<int> bar;
    RewriteResult repair = RepairLog({[&](const std::string& text) { labels.push_back(text); },
                                      [&](int percent) { bar.push_back(percent); }});
    ASSERT_TRUE(repair);
    EXPECT_FALSE(DUVMain::LogCorrupt);
    EXPECT_EQ(ScratchFolder::Read(DUVMain::LogFilePath), kLog);
    EXPECT_EQ(ScratchFolder::Read(folder_ / kLogBackup), kLog + "\x01garbage\r\n");
    ASSERT_GE(labels.size(), 3u);
    EXPECT_EQ(labels[0], kReadingLogText);
    EXPECT_EQ(labels[1], RepairingText(1));
    EXPECT_EQ(labels.back(), CheckingText(99));  // 93 of the 94 bytes: the damaged byte is gone
    EXPECT_EQ(bar.back(), 100);

    // A lone LF ends a line that counts with two bytes: the label goes past 100, the bar not.
    // A stamp whose year no number holds is an undated line, dropped.
    DUVMain::LogCorrupt = true;
    ScratchFolder::Write(DUVMain::LogFilePath, kLog + "03-01-9e99 20:00:01.00 - \x01\r\n\n\n\n\n");
    labels.clear();
    bar.clear();
    ASSERT_TRUE(RepairLog({[&](const std::string& text) { labels.push_back(text); },
                           [&](int percent) { bar.push_back(percent); }}));
    EXPECT_FALSE(DUVMain::LogCorrupt);
    EXPECT_EQ(ScratchFolder::Read(DUVMain::LogFilePath), kLog);
    EXPECT_EQ(labels.back(), "Checking Entries.........  103%");
    EXPECT_EQ(*std::max_element(bar.begin(), bar.end()), 100);
}

TEST_F(MaintenanceRun, ARunTimeErrorInTheRepairFailsItAndLeavesTheLog) {
    const std::string damaged = kLog + "\x01garbage\r\n";
    ScratchFolder::Write(DUVMain::LogFilePath, damaged);
    auto namesBefore = folder_.Names();
    RewriteResult repair = RepairLog({[&](const std::string& text) {
                                          if (text.rfind("Checking", 0) == 0)
                                              throw runtime::RuntimeError(6, "Overflow");
                                      },
                                      {}});
    EXPECT_FALSE(repair);
    EXPECT_EQ(repair.RunTimeError, 6);
    EXPECT_TRUE(DUVMain::LogCorrupt);
    EXPECT_EQ(ScratchFolder::Read(DUVMain::LogFilePath), damaged);
    auto names = folder_.Names();
    names.erase(kRepairBytesFile);  // the first step's file stays, as after every repair
    EXPECT_EQ(names, namesBefore) << "no work file and no backup";
    EXPECT_EQ(RepairFailedText(repair).substr(0, 83),
              "DUV was unable to repair your modem log file!\n\nYour modem log has not been "
              "changed.");
}
