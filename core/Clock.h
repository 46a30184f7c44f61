#pragma once
// The current local date and time as a day count (whole seconds). Tests install a fixed clock.

#include <functional>

namespace clock_seam {

using NowFunction = std::function<double()>;

// Installs the clock; an empty function restores the system's. Returns the previous.
NowFunction SetNow(NowFunction now);

double Now();

}  // namespace clock_seam
