#include "core/ErrorHandler.h"

#include <array>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <utility>

#include "core/AppInfo.h"
#include "core/Clipboard.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/MessageBox.h"
#include "core/OpenFiles.h"

namespace ErrorHandler {
namespace {

std::string Join(std::initializer_list<std::string> lines, const char* separator) {
    std::string text;
    bool first = true;
    for (const std::string& line : lines) {
        if (!first)
            text += separator;
        text += line;
        first = false;
    }
    return text;
}

// A number with a leading blank in place of the plus sign.
std::string SignedText(long long number) {
    return (number < 0 ? "" : " ") + std::to_string(number);
}

std::string VersionText() {
    return std::to_string(AppInfo::Major) + "." + std::to_string(AppInfo::Minor) + "." +
           std::to_string(AppInfo::Revision);
}

struct DiskErrorRow {
    int number;
    const char* text;
    int buttons;
};

// Errors answered by a short "Disk Error" box.
constexpr std::array<DiskErrorRow, 10> DiskErrors{{
    {52, "That filename is illegal.", msg::AbortRetryIgnore},
    {64, "That filename is illegal.", msg::AbortRetryIgnore},
    {54, "Can't open your file for that type of access.", msg::OkOnly},
    {55, "This file is already open.\n", msg::OkOnly},
    {57, "Internal disk error.", msg::OkOnly},
    {61, "Disk is full. Continue?", msg::AbortRetryIgnore},
    {68, "That device appears unavailable.", msg::OkCancel},
    {71, "Insert a disk in the drive and close the door.", msg::OkCancel},
    {76, "That path doesn't exist.", msg::AbortRetryIgnore},
    {62, nullptr, msg::AbortRetryIgnore},  // the context report
}};

std::string ContextReport() {
    return Join({"Module: " + DUVMain::ErrModuleName, "Sub: " + DUVMain::ErrProcName,
                 "Ref: " + DUVMain::ErrStepName, "Verion: " + VersionText(),
                 "OS: " + DUVMain::OSVersionText,
                 std::string("This file has a nonstandard end-of-file marker, ") +
                     "or an attempt was made to read beyond " + "the end-of-file marker.",
                 ""},
                "\n");
}

// The repeat count of OK-only errors (54, 55, 57) in one context.
struct Repeat {
    int number = 0;
    std::string module, proc, step;
    int count = 0;
};
Repeat lastRepeat;

bool IsOkOnlyRetry(int number) { return number == 54 || number == 55 || number == 57; }

}  // namespace

ErrorBox DescribeError(const runtime::RuntimeError& error) {
    ErrorBox box;
    box.flags = msg::IconExclamation;
    box.title = "Disk Error";
    const int number = error.number;
    if (number == 10) {
        box.shown = false;
        return box;
    }
    for (const DiskErrorRow& row : DiskErrors) {
        if (row.number == number) {
            box.text = row.text ? row.text : ContextReport();
            box.flags |= row.buttons;
            return box;
        }
    }
    if (number == 70) {
        box.text = Join(
            {"DUV cannot gain access to your modem log file!", "",
             "Either another application or Windows process is using", "or has locked this file.",
             "", "If you are currently connected/on-line, then you should",
             "NOT be using DUV now! Please read the DUV 'Readme'",
             "file which explains how to use DUV.", "",
             "If not then try closing the other application or shutting",
             "down and re-starting your computer. DUV will now close."},
            "\n");
        box.title = "DUV - Lock Error";
        box.flags = msg::OkOnly | msg::IconStop;
        box.alwaysEnd = true;
        return box;
    }
    if (number == 75) {
        box.text =
            Join({"DUV cannot gain access to a file!", "",
                  "Another application or Windows process is using", "or has locked this file.", "",
                  "Try closing the other application or shutting down and",
                  "re-starting your computer. DUV will now close."},
                 "\n");
        box.title = "DUV - Access Error";
        box.flags = msg::OkOnly | msg::IconStop;
        box.alwaysEnd = true;
        return box;
    }
    std::string report =
        Join({"An Error has occurred during processing.",
              "If you receive this error often then please note the",
              "following details and report them to DUV Technical",
              std::string("Support by emailing ") + AppInfo::SupportAddress + ".", "",
              "Error code: " + SignedText(number), "Description: " + error.description,
              "Last DLL Error: " + SignedText(static_cast<std::int32_t>(error.lastDllError)),
              "Module: " + DUVMain::ErrModuleName, "Sub: " + DUVMain::ErrProcName,
              "Ref: " + DUVMain::ErrStepName, "Version: " + VersionText(),
              "OS: " + DUVMain::OSVersionText, ""},
             "\r\n");
    box.clipboard = report;
    box.text =
        Join({report, "The above information has been copied to the clipboard so",
              "you can paste it into your email message. Please supply",
              "any additional information which you think may help to", "determine the problem."},
             "\r\n");
    box.title = error.source + " - Error";
    box.flags |= msg::AbortRetryIgnore;
    box.helpFile = error.helpFile;
    box.helpContext = error.helpContext;
    return box;
}

int AnswerForButton(int button, bool alwaysEnd) {
    if (alwaysEnd)
        return End;
    switch (button) {
    case msg::Ok:
        return Retry;
    case msg::Cancel:
        return Skip;
    case msg::Abort:
        return Abort;
    case msg::Retry:
        return Retry;
    case msg::Ignore:
        return Skip;
    default:
        return End;
    }
}

int HandleError() {
    const runtime::RuntimeError error = runtime::Err();
    ErrorBox box = DescribeError(error);
    runtime::ClearErr();
    if (!box.shown) {
        lastRepeat = Repeat{};
        return Skip;
    }
    if (!box.clipboard.empty())
        SetClipboardText(box.clipboard);
    int answer = AnswerForButton(
        ShowMessage(box.text, box.flags, box.title, box.helpFile, box.helpContext), box.alwaysEnd);

    Repeat now{error.number, DUVMain::ErrModuleName, DUVMain::ErrProcName, DUVMain::ErrStepName, 1};
    if (IsOkOnlyRetry(error.number) && lastRepeat.count > 0 && lastRepeat.number == now.number &&
        lastRepeat.module == now.module && lastRepeat.proc == now.proc &&
        lastRepeat.step == now.step)
        now.count = lastRepeat.count + 1;
    if (IsOkOnlyRetry(error.number) && answer == Retry && now.count >= 3) {
        answer = Skip;
        now = Repeat{};
    }
    lastRepeat = IsOkOnlyRetry(error.number) ? now : Repeat{};
    return answer;
}

void InstallErrorHandling() {
    runtime::SetErrorHandler([] { return HandleError(); });
    runtime::SetEndProgram([] { DUVMain::EndProgram(); });
}

void ResetState() { lastRepeat = Repeat{}; }

}  // namespace ErrorHandler

namespace DUVMain {
namespace {

// Every window of the program, in the order EndProgram unloads them: the modal windows that
// stand over the others first (an editor before the window that opened it), then frmAbout,
// frmSplash, frmViewLog, frmReport and frmMain.
constexpr std::array UnloadOrder{"frmTariff", "frmService",    "frmSetup",   "frmPreConfigure",
                                 "frmFind",   "frmFileRepair", "frmPurge",   "frmTip",
                                 "frmAbout",  "frmSplash",     "frmViewLog", "frmReport",
                                 "frmMain"};

WindowCloser& Closer() {
    static WindowCloser closer;
    return closer;
}

std::function<void()>& ProcessEnd() {
    static std::function<void()> end = [] { std::exit(0); };
    return end;
}

enum class Ending { None, Exit, Error };
Ending ending = Ending::None;

void EndNow() {
    std::function<void()> end = ProcessEnd();
    if (end)
        end();
}

// Closes every file opened by number, then the loaded windows in their order. With
// stopWhenKept, a window that stays open stops it: false.
bool CloseFilesAndWindows(bool stopWhenKept) {
    CloseAllFiles();
    // Copy: an unload handler may install another closer.
    WindowCloser closer = Closer();
    if (!closer.isLoaded || !closer.unload)
        return true;
    for (const char* name : UnloadOrder) {
        if (!closer.isLoaded(name))
            continue;
        closer.unload(name);
        if (stopWhenKept && closer.isLoaded(name))
            return false;
    }
    return true;
}

}  // namespace

std::vector<std::string> WindowUnloadOrder() { return {UnloadOrder.begin(), UnloadOrder.end()}; }

bool IsProgramWindow(const std::string& formName) {
    for (const char* name : UnloadOrder) {
        if (formName == name)
            return true;
    }
    return false;
}

WindowCloser SetWindowCloser(WindowCloser closer) {
    return std::exchange(Closer(), std::move(closer));
}

std::function<void()> SetProcessEnd(std::function<void()> end) {
    return std::exchange(ProcessEnd(), std::move(end));
}

void EndProgram() {
    if (ending != Ending::None) {
        EndNow();
        return;
    }
    ending = Ending::Error;
    CloseFilesAndWindows(false);
    EndNow();
    ending = Ending::None;  // only reached when the installed end returns (tests)
}

bool ExitProgram() {
    if (ending != Ending::None)
        return false;
    ending = Ending::Exit;
    if (!CloseFilesAndWindows(true)) {
        ending = Ending::None;
        return false;
    }
    EndNow();
    ending = Ending::None;  // only reached when the installed end returns (tests)
    return true;
}

bool EndingOnError() { return ending == Ending::Error; }

}  // namespace DUVMain
