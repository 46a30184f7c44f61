#include "core/UserFeedback.h"

#include <utility>

namespace {

UserFeedback& Installed() {
    static UserFeedback feedback;
    return feedback;
}

}  // namespace

UserFeedback SetUserFeedback(UserFeedback feedback) {
    return std::exchange(Installed(), std::move(feedback));
}

void ShowBusy(bool busy) {
    if (Installed().ShowBusy)
        Installed().ShowBusy(busy);
}

void LetEventsRun() {
    if (Installed().LetEventsRun)
        Installed().LetEventsRun();
}

void ShowOnSplash(const std::string& text) {
    SetSplashLabel(text);
    LetEventsRun();
}

void LetEventsRunBetweenSteps() {
    if (Installed().LetEventsRunBetweenSteps)
        Installed().LetEventsRunBetweenSteps();
    else
        LetEventsRun();
}

void ShowStepOnSplash(const std::string& text) {
    SetSplashLabel(text);
    LetEventsRunBetweenSteps();
}

void SetSplashLabel(const std::string& text) {
    if (Installed().SetSplashLabel)
        Installed().SetSplashLabel(text);
}
