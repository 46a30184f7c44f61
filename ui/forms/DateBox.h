// A date box: a masked box with the date mask, shared by the windows that take a date (the
// main window's report range, purge).
#pragma once

#include "core/Runtime.h"
#include "ui/forms/Controls.h"

namespace forms {

// Writes the date in the regional short-date form.
void WriteDateBox(MaskedEdit& box, runtime::Date date);
// Reads the box: false unless it holds a whole valid date.
bool ReadDateBox(const MaskedEdit& box, runtime::Date& date);

}  // namespace forms
