// The optimize operation: the confirmation, the main window's controls switched off, and the
// rewrite of the log (or the open archive) to the lines that hold a modem keyword.
#pragma once

#include <functional>

namespace DUVOptimize {

// Asks "About to optimize Current Modem Log File!"; stores the answer and OptimizePrompted.
// True for Yes.
bool ConfirmOptimize();

// Switches off the main window's 17 controls through the function the main window installs.
void DisableControls();
// Installs that function; returns the one it replaces.
std::function<void()> SetDisableControls(std::function<void()> disable);

// Rewrites the file being analysed, keeping the previous one as ModemLog.old (or
// ModemLogArchive.old for an archive) in the program folder; progress and the result in the
// main window. True when the log was rewritten.
bool DoOptimize();

// The confirmation, then DisableControls and DoOptimize; a failure shows "Optimization
// Failed".
void OptimizeLog();

}  // namespace DUVOptimize
