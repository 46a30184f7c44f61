#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "core/ErrorContext.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"
#include "tests/support/Seams.h"

using namespace runtime;

namespace {

// Installs a handler that answers from a script and records what it saw.
class GuardTest : public ::testing::Test {
protected:
    std::vector<int> answers;
    std::vector<int> seen;
    std::vector<std::string> steps;
    int ended = 0;

private:
    int Answer() {
        seen.push_back(Err().number);
        steps.push_back(DUVMain::ErrStepName);
        const int answer = answers.empty() ? 2 : answers.front();
        if (!answers.empty())
            answers.erase(answers.begin());
        ClearErr();
        return answer;
    }

    test_support::ScopedSeam<ErrorHandlerFn> handler_{SetErrorHandler, [this] { return Answer(); }};
    test_support::ScopedSeam<EndProgramFn> end_{SetEndProgram, [this] { ++ended; }};
};

}  // namespace

TEST(RuntimeErrorNumbers, CarryTheStandardDescriptions) {
    EXPECT_EQ(ErrorDescription(5), "Invalid procedure call or argument");
    EXPECT_EQ(ErrorDescription(6), "Overflow");
    EXPECT_EQ(ErrorDescription(9), "Subscript out of range");
    EXPECT_EQ(ErrorDescription(13), "Type mismatch");
    EXPECT_EQ(ErrorDescription(53), "File not found");
    EXPECT_EQ(ErrorDescription(62), "Input past end of file");
    EXPECT_EQ(ErrorDescription(70), "Permission denied");
    EXPECT_EQ(ErrorDescription(75), "Path/File access error");
    EXPECT_EQ(ErrorDescription(76), "Path not found");
    EXPECT_EQ(ErrorDescription(12345), "Application-defined or object-defined error");
    try {
        Raise(61, 32);
    } catch (const RuntimeError& e) {
        EXPECT_EQ(e.number, 61);
        EXPECT_EQ(e.description, "Disk full");
        EXPECT_EQ(e.source, "DUV");
        EXPECT_EQ(e.lastDllError, 32u);
    }
}

TEST(RuntimeErrorNumbers, MapPlatformFailuresToTheClassifiedNumbers) {
    EXPECT_EQ(ErrorNumberForSystemError(32), 70);  // sharing violation: the lock box
    EXPECT_EQ(ErrorNumberForSystemError(33), 70);
    EXPECT_EQ(ErrorNumberForSystemError(5), 75);  // access denied
    EXPECT_EQ(ErrorNumberForSystemError(3), 76);
    EXPECT_EQ(ErrorNumberForSystemError(2), 53);
    EXPECT_EQ(ErrorNumberForSystemError(112), 61);
    EXPECT_EQ(ErrorNumberForSystemError(21), 71);
    EXPECT_EQ(ErrorNumberForSystemError(123), 52);
    EXPECT_EQ(ErrorNumberForSystemError(38), 62);
    EXPECT_EQ(ErrorNumberForSystemError(99999), 75);
}

TEST(RuntimeErrorContext, KeepsTheInnermostProcedure) {
    SetContext("DUVMain", "Main");
    SetStep("Read General");
    SetContext("GeneralFunctions", "format_date");
    EXPECT_EQ(DUVMain::ErrModuleName, "GeneralFunctions");
    EXPECT_EQ(DUVMain::ErrProcName, "format_date");
    EXPECT_EQ(DUVMain::ErrStepName, "Read General");  // a new procedure keeps the step
}

TEST_F(GuardTest, RetriesTheStatementWhileTheAnswerIsRetry) {
    answers = {0, 0};
    int tries = 0;
    int target = 0;
    EXPECT_TRUE(Step("Service Arrays", [&] {
        if (++tries < 3)
            Raise(kErrDiskNotReady);
        target = 7;
    }));
    EXPECT_EQ(tries, 3);
    EXPECT_EQ(target, 7);
    EXPECT_EQ(seen, (std::vector<int>{71, 71}));
    EXPECT_EQ(steps.front(), "Service Arrays");
    EXPECT_EQ(DUVMain::ErrorAction, 0);
}

TEST_F(GuardTest, SkipLeavesTheTargetUnchanged) {
    answers = {1};
    int target = 5;
    EXPECT_FALSE(Guard([&] { target = CLng(3e9); }));
    EXPECT_EQ(target, 5);
    EXPECT_EQ(seen, (std::vector<int>{kErrOverflow}));
    EXPECT_EQ(DUVMain::ErrorAction, 1);
    EXPECT_EQ(ended, 0);
}

TEST_F(GuardTest, OtherAnswersEndTheProgramThroughTheHook) {
    answers = {2};
    int after = 0;
    EXPECT_THROW(Guard([&] { Raise(kErrPathNotFound); }), ProgramEnded);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(after, 0);
    answers = {3};
    try {
        Guard([] { Raise(kErrPermissionDenied); });
        ADD_FAILURE() << "the guard went on";
    } catch (const ProgramEnded& e) {
        EXPECT_EQ(e.number, kErrPermissionDenied);
    }
    EXPECT_EQ(DUVMain::ErrorAction, 3);
}

TEST_F(GuardTest, InnerGuardsHandleTheirOwnStatements) {
    answers = {1};
    int outerRuns = 0;
    int innerTarget = 1;
    EXPECT_TRUE(Guard([&] {
        ++outerRuns;
        Guard([&] { innerTarget = (Raise(kErrSubscript), 2); });
    }));
    EXPECT_EQ(outerRuns, 1);
    EXPECT_EQ(innerTarget, 1);
}

TEST_F(GuardTest, HandlesOutOfMemoryAsError7) {
    answers = {1};
    EXPECT_FALSE(Guard([] { throw std::bad_alloc(); }));
    EXPECT_EQ(seen, (std::vector<int>{kErrOutOfMemory}));
}

TEST(RuntimeGuard, WithoutHandlerEveryErrorEnds) {
    EXPECT_THROW(Guard([] { Raise(kErrFileNotFound); }), ProgramEnded);
    EXPECT_EQ(DUVMain::ErrorAction, 2);
    EXPECT_EQ(Err().number, kErrFileNotFound);
    ClearErr();
    EXPECT_EQ(Err().number, 0);
}
