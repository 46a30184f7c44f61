#include "ui/logs/PurgeModel.h"

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/LogMaintenance.h"

namespace PurgeModel {

Date adjustDate(Date date, Bound bound, Date firstEntry, Date lastEntry, int& beeps) {
    auto clampBelow = [&] {
        if (date > lastEntry) {
            date = lastEntry;
            ++beeps;
        }
    };
    auto clampAbove = [&] {
        if (date < firstEntry) {
            date = firstEntry;
            ++beeps;
        }
    };
    if (bound == Bound::To) {
        clampBelow();
        clampAbove();
    } else {
        clampAbove();
        clampBelow();
    }
    return date;
}

bool CheckOK(const PurgeRange& range) {
    return range.FromValid && range.ToValid && !(range.PurgeFrom > range.PurgeTo);
}

std::string ConfirmationText(Date from, Date to) {
    return "About to purge all entries in Modem\nLog File between " +
           runtime::Format(from, "Short Date") + " and " + runtime::Format(to, "Short Date") +
           ".\n\nAre You Sure?";
}

bool DoPurge(Date from, Date to) {
    runtime::SetContext("frmPurge", "DoPurge");
    using namespace LogMaintenance;
    return RunInMainWindow(
        [&](const Progress& progress) {
            return PurgeLines(DUVMain::LogFilePath, InProgramFolder(kLogBackup), from, to,
                              DUVMain::LogLineCount, progress);
        },
        &PurgingText, kPurgedText, kPurgeFailedTitle, PurgeFailedText());
}

}  // namespace PurgeModel
