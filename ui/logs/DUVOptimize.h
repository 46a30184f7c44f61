// The optimize operation's confirmation and its run. The rewrite of the log itself is
// installed by the log maintenance (SetOptimizeWork); without it a confirmed run changes
// nothing.
#pragma once

#include <functional>

namespace DUVOptimize {

// Asks "About to optimize Current Modem Log File!"; stores the answer and OptimizePrompted.
// True for Yes.
bool ConfirmOptimize();

// The confirmation, then the installed work.
void OptimizeLog();

void SetOptimizeWork(std::function<void()> work);

}  // namespace DUVOptimize
