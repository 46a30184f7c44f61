#include "core/MessageBox.h"

#include <utility>

namespace {

MessageBoxFunction& Installed() {
    static MessageBoxFunction show;
    return show;
}

}  // namespace

MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction show) {
    return std::exchange(Installed(), std::move(show));
}

int FirstButton(int flags) {
    switch (flags & 7) {
    case msg::AbortRetryIgnore:
        return msg::Abort;
    case msg::YesNoCancel:
    case msg::YesNo:
        return msg::Yes;
    case msg::RetryCancel:
        return msg::Retry;
    default:
        return msg::Ok;
    }
}

int ShowMessage(const std::string& text, int flags, const std::string& title,
                const std::string& helpFile, int helpContext) {
    MessageCall call{text, flags, title.empty() ? std::string(ProgramTitle) : title, helpFile,
                     helpContext};
    // Copy: the box may run code that installs another function.
    MessageBoxFunction show = Installed();
    return show ? show(call) : FirstButton(flags);
}

ScriptedMessages::ScriptedMessages() : ScriptedMessages(std::vector<int>{}) {}

ScriptedMessages::ScriptedMessages(std::vector<int> answers)
    : answers_(answers.begin(), answers.end()) {
    previous_ = SetMessageBoxFunction([this](const MessageCall& call) {
        calls_.push_back(call);
        if (answers_.empty())
            return FirstButton(call.flags);
        int code = answers_.front();
        answers_.pop_front();
        return code;
    });
}

ScriptedMessages::~ScriptedMessages() { SetMessageBoxFunction(std::move(previous_)); }
