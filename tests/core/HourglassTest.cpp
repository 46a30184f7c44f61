// The hourglass for a scope: on while it runs, the normal pointer at its end (also when an
// error leaves it), left on when the caller keeps it.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "core/UserFeedback.h"
#include "tests/support/Seams.h"

namespace {

class HourglassScope : public ::testing::Test {
protected:
    std::vector<std::string> shown;
    test_support::ScopedSeam<UserFeedback> feedback_{SetUserFeedback, Recording()};

private:
    UserFeedback Recording() {
        UserFeedback feedback;
        feedback.ShowBusy = [this](bool busy) { shown.push_back(busy ? "hourglass" : "normal"); };
        return feedback;
    }
};

TEST_F(HourglassScope, OnWhileTheScopeRunsAndNormalAtItsEndAlsoWhenAnErrorLeavesIt) {
    {
        Hourglass hourglass;
        EXPECT_EQ(shown, (std::vector<std::string>{"hourglass"}));
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"hourglass", "normal"}));

    shown.clear();
    EXPECT_THROW(
        {
            Hourglass hourglass;
            throw std::runtime_error("failed");
        },
        std::runtime_error);
    EXPECT_EQ(shown, (std::vector<std::string>{"hourglass", "normal"}));
}

TEST_F(HourglassScope, KeptOnAtTheEndWhenTheCallerTurnsItOffLater) {
    { Hourglass hourglass(/*keepAtEnd=*/true); }
    EXPECT_EQ(shown, (std::vector<std::string>{"hourglass"}));
}

}  // namespace
