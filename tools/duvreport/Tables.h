// The headless side of duvreport: settings start-up, a window seam that writes to a
// stream, and the table dump.
#pragma once

#include <ostream>

#include "analysis/DUVAnalyse.h"

namespace duvreport {

// Defaults, the registry's settings and the fill-in, as the program's start-up does them.
void LoadSettings();

// The run's window seam: warnings go to the stream, the report window is noted.
DUVAnalyse::RunWindow HeadlessWindow(std::ostream& messages, bool& reportShown);

// One line per usage row (0 to UsageCount) and per connection record (1 to ConnIndex), tab
// separated, every field; dates "yyyy-mm-dd", times "hh:nn:ss", money with 4 decimals.
void PrintTables(std::ostream& out);

}  // namespace duvreport
