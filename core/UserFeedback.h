#pragma once
// What long operations show the user: the hourglass pointer, "let events run" so that windows
// repaint, the splash window's status label, and a window's progress bar. This is the one
// place for them: the start-up, the analysis run, the report builders, the log maintenance and
// the options window's log scan all use it. The window layer installs the real ones; without
// them these do nothing.

#include <functional>
#include <string>

struct UserFeedback {
    std::function<void(bool busy)> ShowBusy;                 // hourglass on / normal pointer
    std::function<void()> LetEventsRun;                      // one pass of the message loop
    std::function<void(const std::string&)> SetSplashLabel;  // frmSplash.SplashLabel1
    // Between the progress steps of a run: may let events run only when a short while has
    // passed since they last ran. Empty: LetEventsRun.
    std::function<void()> LetEventsRunBetweenSteps = {};
};

// A progress bar a long operation fills: the main window's during the analysis, the report
// window's while the details report is built, a maintenance window's while it rewrites the log,
// the options window's while the scan reads the log.
struct ProgressDisplay {
    std::function<void(bool visible)> Show = {};
    std::function<void(int percent)> Set = {};

    void Visible(bool visible) const {
        if (Show)
            Show(visible);
    }
    void Percent(int percent) const {
        if (Set)
            Set(percent);
    }
};

// Installs the functions; returns the previous set.
UserFeedback SetUserFeedback(UserFeedback feedback);

void ShowBusy(bool busy);

// The hourglass while a scope runs: on when made, the normal pointer again when the scope
// ends, also when an error leaves it early; with keepAtEnd the hourglass stays on (the caller
// turns it off later).
class Hourglass {
public:
    explicit Hourglass(bool keepAtEnd = false) : keepAtEnd_(keepAtEnd) { ShowBusy(true); }
    ~Hourglass() {
        if (!keepAtEnd_)
            ShowBusy(false);
    }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;

private:
    bool keepAtEnd_;
};

void LetEventsRun();
// Between the steps of a long run: lets events run when a short while has passed.
void LetEventsRunBetweenSteps();
// Sets the splash label, then lets events run once so that it paints.
void ShowOnSplash(const std::string& text);
// The same for a progress step of a run: the label is set at every step, the events may be
// let run less often (the run's last label goes through ShowOnSplash).
void ShowStepOnSplash(const std::string& text);
// Sets the splash label without letting events run.
void SetSplashLabel(const std::string& text);
