#pragma once
// The one message-box function of the program. Windows builds install the system's message
// box (InstallSystemMessageBox in core/win32); tests install ScriptedMessages, which answers
// from a script and records every box.

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace msg {

// Buttons.
inline constexpr int OkOnly = 0;
inline constexpr int OkCancel = 1;
inline constexpr int AbortRetryIgnore = 2;
inline constexpr int YesNoCancel = 3;
inline constexpr int YesNo = 4;
inline constexpr int RetryCancel = 5;
// Icons.
inline constexpr int IconStop = 16;
inline constexpr int IconQuestion = 32;
inline constexpr int IconExclamation = 48;
inline constexpr int IconInformation = 64;
// A Help button that opens the help file at the help context and leaves the box open.
inline constexpr int HelpButton = 16384;

// Button codes returned.
inline constexpr int Ok = 1;
inline constexpr int Cancel = 2;
inline constexpr int Abort = 3;
inline constexpr int Retry = 4;
inline constexpr int Ignore = 5;
inline constexpr int Yes = 6;
inline constexpr int No = 7;

}  // namespace msg

// The title of boxes that name none.
inline constexpr const char* ProgramTitle = "DUV";

struct MessageCall {
    std::string text;
    int flags = 0;
    std::string title;  // as shown: ProgramTitle when the caller named none
    std::string helpFile;
    int helpContext = 0;
};

using MessageBoxFunction = std::function<int(const MessageCall&)>;

// Installs the function that shows the boxes; returns the one it replaces.
MessageBoxFunction SetMessageBoxFunction(MessageBoxFunction show);

// Shows a box and returns the code of the button pressed. With no function installed the box
// is answered with its first button.
int ShowMessage(const std::string& text, int flags = msg::OkOnly, const std::string& title = "",
                const std::string& helpFile = "", int helpContext = 0);

// The code of the first (default) button of a button set.
int FirstButton(int flags);

// Scripted answers for tests: installed while it lives. Each box takes the next scripted
// answer; when none is left it is answered with its first button. Every box is recorded.
class ScriptedMessages {
public:
    ScriptedMessages();
    explicit ScriptedMessages(std::vector<int> answers);
    ~ScriptedMessages();
    ScriptedMessages(const ScriptedMessages&) = delete;
    ScriptedMessages& operator=(const ScriptedMessages&) = delete;

    void Answer(int code) { answers_.push_back(code); }
    const std::vector<MessageCall>& Calls() const { return calls_; }
    std::size_t PendingAnswers() const { return answers_.size(); }

private:
    std::deque<int> answers_;
    std::vector<MessageCall> calls_;
    MessageBoxFunction previous_;
};
