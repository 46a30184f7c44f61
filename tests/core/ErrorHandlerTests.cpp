#include "core/ErrorHandler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "core/Clipboard.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/MessageBox.h"
#include "core/OpenFiles.h"
#include "tests/core/ScratchFolder.h"
#include "tests/support/ProgramState.h"
#include "tests/support/Seams.h"

namespace {

class CentralErrorHandler : public ::testing::Test {
protected:
    void SetUp() override {
        runtime::SetContext("frmMain", "btnProcess_Click");
        runtime::SetStep("Read Log");
        DUVMain::OSVersionText = "WIN 98";
    }
    void TearDown() override { test_support::ResetCoreState(); }

    int Handle(int number, const std::string& description = "Some error",
               const std::string& source = "DUV", std::uint32_t lastDllError = 0) {
        runtime::SetErr(runtime::RuntimeError(number, description, source, lastDllError));
        return ErrorHandler::HandleError();
    }

    std::vector<std::string> clipboard;
    test_support::ScopedSeam<ClipboardFunction> clipboard_{
        SetClipboardFunction, [this](const std::string& text) { clipboard.push_back(text); }};
};

struct Row {
    int number;
    std::string text;
    int flags;
    std::string title;
    int button;
    int answer;
};

}  // namespace

TEST_F(CentralErrorHandler, ErrorTenIsSkippedWithoutABox) {
    ScriptedMessages boxes;
    EXPECT_EQ(Handle(10), ErrorHandler::Skip);
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_TRUE(clipboard.empty());
}

TEST_F(CentralErrorHandler, DiskErrorRowsShowTheirBoxAndMapTheButton) {
    const int exclamation = msg::IconExclamation;
    const std::vector<Row> rows = {
        {52, "That filename is illegal.", msg::AbortRetryIgnore | exclamation, "Disk Error",
         msg::Abort, 2},
        {64, "That filename is illegal.", msg::AbortRetryIgnore | exclamation, "Disk Error",
         msg::Retry, 0},
        {54, "Can't open your file for that type of access.", exclamation, "Disk Error", msg::Ok,
         0},
        {55, "This file is already open.\n", exclamation, "Disk Error", msg::Ok, 0},
        {57, "Internal disk error.", exclamation, "Disk Error", msg::Ok, 0},
        {61, "Disk is full. Continue?", msg::AbortRetryIgnore | exclamation, "Disk Error",
         msg::Ignore, 1},
        {68, "That device appears unavailable.", msg::OkCancel | exclamation, "Disk Error",
         msg::Cancel, 1},
        {68, "That device appears unavailable.", msg::OkCancel | exclamation, "Disk Error", msg::Ok,
         0},
        {71, "Insert a disk in the drive and close the door.", msg::OkCancel | exclamation,
         "Disk Error", msg::Cancel, 1},
        {76, "That path doesn't exist.", msg::AbortRetryIgnore | exclamation, "Disk Error",
         msg::Retry, 0},
    };
    for (const Row& row : rows) {
        ScriptedMessages boxes({row.button});
        EXPECT_EQ(Handle(row.number), row.answer) << "error " << row.number;
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].text, row.text) << "error " << row.number;
        EXPECT_EQ(boxes.Calls()[0].flags, row.flags) << "error " << row.number;
        EXPECT_EQ(boxes.Calls()[0].title, row.title) << "error " << row.number;
        EXPECT_EQ(runtime::Err().number, 0) << "the pending error is cleared";
    }
    EXPECT_TRUE(clipboard.empty());
}

TEST_F(CentralErrorHandler, PastEndOfFileShowsTheContextReport) {
    ScriptedMessages boxes({msg::Ignore});
    EXPECT_EQ(Handle(62), ErrorHandler::Skip);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text,
              "Module: frmMain\nSub: btnProcess_Click\nRef: Read Log\nVerion: 1.0.0\nOS: WIN 98\n"
              "This file has a nonstandard end-of-file marker, or an attempt was made to read "
              "beyond the end-of-file marker.\n");
    EXPECT_EQ(boxes.Calls()[0].title, "Disk Error");
    EXPECT_EQ(boxes.Calls()[0].flags, msg::AbortRetryIgnore | msg::IconExclamation);
}

TEST_F(CentralErrorHandler, LockAndAccessErrorsAlwaysEnd) {
    {
        ScriptedMessages boxes({msg::Ok});
        EXPECT_EQ(Handle(70), ErrorHandler::End);
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].text,
                  "DUV cannot gain access to your modem log file!\n\n"
                  "Either another application or Windows process is using\n"
                  "or has locked this file.\n\n"
                  "If you are currently connected/on-line, then you should\n"
                  "NOT be using DUV now! Please read the DUV 'Readme'\n"
                  "file which explains how to use DUV.\n\n"
                  "If not then try closing the other application or shutting\n"
                  "down and re-starting your computer. DUV will now close.");
        EXPECT_EQ(boxes.Calls()[0].title, "DUV - Lock Error");
        EXPECT_EQ(boxes.Calls()[0].flags, msg::IconStop);
    }
    {
        ScriptedMessages boxes({msg::Cancel});
        EXPECT_EQ(Handle(75), ErrorHandler::End);
        ASSERT_EQ(boxes.Calls().size(), 1u);
        EXPECT_EQ(boxes.Calls()[0].text,
                  "DUV cannot gain access to a file!\n\n"
                  "Another application or Windows process is using\n"
                  "or has locked this file.\n\n"
                  "Try closing the other application or shutting down and\n"
                  "re-starting your computer. DUV will now close.");
        EXPECT_EQ(boxes.Calls()[0].title, "DUV - Access Error");
        EXPECT_EQ(boxes.Calls()[0].flags, msg::IconStop);
    }
}

TEST_F(CentralErrorHandler, UnknownErrorShowsTheGeneralReportAndCopiesIt) {
    const std::string report =
        "An Error has occurred during processing.\r\n"
        "If you receive this error often then please note the\r\n"
        "following details and report them to DUV Technical\r\n"
        "Support by emailing support@duvelo.example.\r\n"
        "\r\n"
        "Error code:  13\r\n"
        "Description: Type mismatch\r\n"
        "Last DLL Error:  0\r\n"
        "Module: frmMain\r\n"
        "Sub: btnProcess_Click\r\n"
        "Ref: Read Log\r\n"
        "Version: 1.0.0\r\n"
        "OS: WIN 98\r\n";
    const std::vector<std::pair<int, int>> buttons = {
        {msg::Abort, 2}, {msg::Retry, 0}, {msg::Ignore, 1}};
    for (auto [button, answer] : buttons) {
        clipboard.clear();
        ScriptedMessages boxes({button});
        runtime::RuntimeError error(13, "Type mismatch", "DUV");
        error.helpFile = "LANGUAGE.HLP";
        error.helpContext = 1000013;
        runtime::SetErr(error);
        EXPECT_EQ(ErrorHandler::HandleError(), answer);
        ASSERT_EQ(boxes.Calls().size(), 1u);
        ASSERT_EQ(clipboard.size(), 1u);
        EXPECT_EQ(clipboard[0], report);
        const MessageCall& box = boxes.Calls()[0];
        EXPECT_EQ(box.text, report +
                                "\r\nThe above information has been copied to the clipboard so\r\n"
                                "you can paste it into your email message. Please supply\r\n"
                                "any additional information which you think may help to\r\n"
                                "determine the problem.");
        EXPECT_EQ(box.title, "DUV - Error");
        EXPECT_EQ(box.flags, msg::AbortRetryIgnore | msg::IconExclamation);
        EXPECT_EQ(box.helpFile, "LANGUAGE.HLP");
        EXPECT_EQ(box.helpContext, 1000013);
    }
}

TEST_F(CentralErrorHandler, GeneralReportShowsSourceAndNegativeDllError) {
    ScriptedMessages boxes({msg::Ignore});
    Handle(9, "Subscript out of range", "Registry", 0xFFFFFFFFu);
    ASSERT_EQ(clipboard.size(), 1u);
    EXPECT_NE(clipboard[0].find("\r\nError code:  9\r\n"), std::string::npos);
    EXPECT_NE(clipboard[0].find("\r\nLast DLL Error: -1\r\n"), std::string::npos);
    EXPECT_EQ(boxes.Calls()[0].title, "Registry - Error");
}

TEST_F(CentralErrorHandler, UnexpectedButtonEnds) {
    ScriptedMessages boxes({msg::Yes});
    EXPECT_EQ(Handle(61), ErrorHandler::End);
}

TEST_F(CentralErrorHandler, RepeatedOkOnlyErrorIsSkippedTheThirdTime) {
    ScriptedMessages boxes;
    EXPECT_EQ(Handle(57), ErrorHandler::Retry);
    EXPECT_EQ(Handle(57), ErrorHandler::Retry);
    EXPECT_EQ(Handle(57), ErrorHandler::Skip);
    EXPECT_EQ(boxes.Calls().size(), 3u);
    // The count starts again after the skip.
    EXPECT_EQ(Handle(57), ErrorHandler::Retry);
    // Another context, or another error between, breaks the row.
    runtime::SetStep("Other Step");
    EXPECT_EQ(Handle(57), ErrorHandler::Retry);
    EXPECT_EQ(Handle(55), ErrorHandler::Retry);
    EXPECT_EQ(Handle(57), ErrorHandler::Retry);
    EXPECT_EQ(Handle(57), ErrorHandler::Retry);
    EXPECT_EQ(Handle(57), ErrorHandler::Skip);
}

TEST_F(CentralErrorHandler, GuardRetriesSkipsAndEndsByTheAnswer) {
    ErrorHandler::InstallErrorHandling();
    test_support::OnScopeExit uninstall([] {
        runtime::SetErrorHandler({});
        runtime::SetEndProgram({});
    });
    int ended = 0;
    test_support::ScopedSeam end(DUVMain::SetProcessEnd, [&] { ++ended; });

    // Retried once, then succeeds.
    {
        ScriptedMessages boxes({msg::Retry});
        int attempts = 0;
        int target = 0;
        EXPECT_TRUE(runtime::Step("Write", [&] {
            if (++attempts == 1)
                runtime::Raise(61);
            target = 5;
        }));
        EXPECT_EQ(attempts, 2);
        EXPECT_EQ(target, 5);
    }
    // Skipped: the target keeps its value.
    {
        ScriptedMessages boxes({msg::Ignore});
        int target = 1;
        EXPECT_FALSE(runtime::Step("Write", [&] {
            runtime::Raise(61);
            target = 2;
        }));
        EXPECT_EQ(target, 1);
        EXPECT_EQ(DUVMain::ErrorAction, 1);
    }
    // A persistent OK-only error ends its retries on the third box.
    {
        ScriptedMessages boxes;
        EXPECT_FALSE(runtime::Step("Open", [] { runtime::Raise(54); }));
        EXPECT_EQ(boxes.Calls().size(), 3u);
    }
    // Abort ends the program.
    {
        ScriptedMessages boxes({msg::Abort});
        EXPECT_THROW(runtime::Step("Write", [] { runtime::Raise(61); }), runtime::ProgramEnded);
        EXPECT_EQ(ended, 1);
    }
}

TEST(EndProgram, ClosesFilesAndUnloadsTheLoadedWindowsInTheTablesOrder) {
    std::vector<std::string> events;
    test_support::ScopedSeam end(DUVMain::SetProcessEnd, [&] { events.push_back("end"); });
    ScratchFolder scratch("duv-endprogram");
    std::string path = scratch / "duv_endprogram.txt";
    auto file1 = std::make_unique<NumberedFile>(1, path, NumberedFile::Mode::Write);
    auto file2 = std::make_unique<NumberedFile>(2, path + ".2", NumberedFile::Mode::Write);
    ASSERT_EQ(OpenFileCount(), 2);

    // frmReport and frmAbout are not loaded.
    std::vector<std::string> loaded{"frmMain", "frmViewLog", "frmSplash", "frmSetup", "frmTip"};
    test_support::ScopedSeam closer(
        DUVMain::SetWindowCloser,
        DUVMain::WindowCloser{
            [&](const std::string& name) {
                return std::find(loaded.begin(), loaded.end(), name) != loaded.end();
            },
            [&](const std::string& name) {
                events.push_back("unload " + name + " files " + std::to_string(OpenFileCount()));
            },
        });

    DUVMain::EndProgram();
    EXPECT_EQ(events,
              (std::vector<std::string>{"unload frmSetup files 0", "unload frmTip files 0",
                                        "unload frmSplash files 0", "unload frmViewLog files 0",
                                        "unload frmMain files 0", "end"}));
    EXPECT_EQ(OpenFileCount(), 0);
    EXPECT_EQ(file1->Stream(), nullptr);
    file1.reset();
    file2.reset();

    // The five windows every shutdown closes keep their order, last of all.
    std::vector<std::string> order = DUVMain::WindowUnloadOrder();
    ASSERT_GE(order.size(), 5u);
    EXPECT_EQ(
        std::vector<std::string>(order.end() - 5, order.end()),
        (std::vector<std::string>{"frmAbout", "frmSplash", "frmViewLog", "frmReport", "frmMain"}));
    EXPECT_TRUE(DUVMain::IsProgramWindow("frmService"));
    EXPECT_FALSE(DUVMain::IsProgramWindow("frmNothing"));
    std::remove(path.c_str());
    std::remove((path + ".2").c_str());
}

TEST(EndProgram, CalledAgainFromAnUnloadHandlerEndsAtOnce) {
    std::vector<std::string> events;
    test_support::ScopedSeam end(DUVMain::SetProcessEnd, [&] { events.push_back("end"); });
    test_support::ScopedSeam closer(
        DUVMain::SetWindowCloser,
        DUVMain::WindowCloser{
            [](const std::string& name) { return name == "frmViewLog" || name == "frmMain"; },
            [&](const std::string& name) {
                events.push_back("unload " + name);
                if (name == "frmViewLog")
                    DUVMain::EndProgram();
            },
        });
    DUVMain::EndProgram();
    // The real end never returns; here the nested end returned and the shutdown went on.
    EXPECT_EQ(events,
              (std::vector<std::string>{"unload frmViewLog", "end", "unload frmMain", "end"}));
}

TEST(NumberedFiles, NumbersAreTakenOnceAndReopenedNumbersAreNotClosedByOldOwners) {
    ScratchFolder scratch("duv-numbered");
    std::string path = scratch / "duv_numbered.txt";
    {
        NumberedFile first(1, path, NumberedFile::Mode::Write);
        first.Write("abc");
        try {
            NumberedFile again(1, path, NumberedFile::Mode::Read);
            ADD_FAILURE() << "file number 1 opened twice";
        } catch (const runtime::RuntimeError& e) {
            EXPECT_EQ(e.number, 55);
        }
        CloseAllFiles();
        EXPECT_EQ(first.Stream(), nullptr);
        // Number 1 reused while the first owner still lives: its end leaves the new file open.
        NumberedFile second(1, path, NumberedFile::Mode::Read);
        first.Close();
        EXPECT_NE(second.Stream(), nullptr);
        EXPECT_TRUE(FileNumberInUse(1));
    }
    EXPECT_EQ(OpenFileCount(), 0);
    std::remove(path.c_str());
    try {
        NumberedFile missing(2, path, NumberedFile::Mode::Read);
        ADD_FAILURE() << "a missing file opened";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.number, 53);
    }
    EXPECT_FALSE(FileNumberInUse(2));
}
