#pragma once
// The central error handler and the program's end.

#include <functional>
#include <string>
#include <vector>

#include "core/RuntimeError.h"

namespace ErrorHandler {

// Answers.
inline constexpr int Retry = 0;
inline constexpr int Skip = 1;
inline constexpr int Abort = 2;
inline constexpr int End = 3;

// What the handler shows for an error, built from the error and the error context.
struct ErrorBox {
    bool shown = true;  // false: no box, the answer is Skip at once
    std::string text;
    int flags = 0;
    std::string title;
    std::string helpFile;
    int helpContext = 0;
    std::string clipboard;   // the report placed on the clipboard; empty: clipboard untouched
    bool alwaysEnd = false;  // the program ends whatever button is pressed
};

ErrorBox DescribeError(const runtime::RuntimeError& error);

// The answer for the button pressed in an error box.
int AnswerForButton(int button, bool alwaysEnd);

// Reads the pending error (runtime::Err) and the error context, tells the user, clears the
// pending error and returns the answer. An error whose box offers only OK (54, 55, 57) is
// answered Skip on the third identical error in a row in the same context.
int HandleError();

// Installs HandleError as the handler of the statement guards and DUVMain::EndProgram as
// their end-program hook.
void InstallErrorHandling();

// Forgets the repeat count of OK-only errors.
void ResetState();

}  // namespace ErrorHandler

namespace DUVMain {

// Closes every file opened by number, unloads the loaded windows in the order of
// WindowUnloadOrder (frmAbout, frmSplash, frmViewLog, frmReport, frmMain last, the modal
// windows before them; each runs its unload handler), then ends the program. Called again while
// it runs (from an unload handler), it ends at once.
void EndProgram();

// The user's Exit: as EndProgram, except that a window that stays open when asked to close (the
// log viewer whose edits could not be saved) stops it there; the program then goes on with the
// windows not yet closed, and the answer is false.
bool ExitProgram();

// True while EndProgram runs: a window may not keep itself open then.
bool EndingOnError();

// Every window of the program by name, in the order EndProgram unloads them.
std::vector<std::string> WindowUnloadOrder();
bool IsProgramWindow(const std::string& formName);

// How EndProgram finds and unloads a window by its name (the window layer installs it).
struct WindowCloser {
    std::function<bool(const std::string& formName)> isLoaded;
    std::function<void(const std::string& formName)> unload;
};
// Returns the previous closer.
WindowCloser SetWindowCloser(WindowCloser closer);

// The last act of EndProgram; std::exit(0) unless another is installed (tests install one
// that returns). Returns the previous function.
std::function<void()> SetProcessEnd(std::function<void()> end);

}  // namespace DUVMain
