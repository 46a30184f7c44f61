#pragma once
// What long core operations show the user: the hourglass pointer, the splash window's status
// label, and "let events run" so that windows repaint. The window layer installs the real
// ones; without them these do nothing.

#include <functional>
#include <string>

struct UserFeedback {
    std::function<void(bool busy)> ShowBusy;                 // hourglass on / normal pointer
    std::function<void()> LetEventsRun;                      // one pass of the message loop
    std::function<void(const std::string&)> SetSplashLabel;  // frmSplash.SplashLabel1
};

// Installs the functions; returns the previous set.
UserFeedback SetUserFeedback(UserFeedback feedback);

void ShowBusy(bool busy);
void LetEventsRun();
// Sets the splash label, then lets events run once so that it paints.
void ShowOnSplash(const std::string& text);
// Sets the splash label without letting events run.
void SetSplashLabel(const std::string& text);
