// The purge window's rules as plain data: the clamping of its dates into the log's range, when
// OK may be pressed, and the confirmation's text.
#pragma once

#include <string>

#include "core/Runtime.h"

namespace PurgeModel {

using runtime::Date;

// The form-level values of frmPurge.
struct PurgeRange {
    int Mode = 1;  // 1 first entry to a date, 2 between two dates, 3 a date to the last entry
    Date PurgeFrom = 0;
    Date PurgeTo = 0;
    bool FromValid = false;
    bool ToValid = false;
};

enum class Bound { From, To };

// frmPurge.adjustDate: a To date is clamped to the last entry, then to the first; a From
// date to the first, then to the last. beeps counts the clamps made (one beep each).
Date adjustDate(Date date, Bound bound, Date firstEntry, Date lastEntry, int& beeps);

// frmPurge.CheckOK: both dates valid and From not after To.
bool CheckOK(const PurgeRange& range);

// The question of "PURGE ENTRIES", the dates in the regional short-date form.
std::string ConfirmationText(Date from, Date to);
inline constexpr const char* kConfirmationTitle = "PURGE ENTRIES";

// frmPurge.DoPurge: rewrites the file at LogFilePath without the entries from `from` to `to`
// and its undated lines, keeping the previous file as ModemLog.old in the program folder;
// progress and the result in the main window, "Purge Failed" on a failure. True when the log
// was rewritten.
bool DoPurge(Date from, Date to);

}  // namespace PurgeModel
