// The user-defined threshold warnings shown after a run: one sound, then one box.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "analysis/Costing.h"
#include "analysis/DUVAnalyse.h"
#include "analysis/Sound.h"
#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/MessageBox.h"
#include "core/Records.h"
#include "core/Runtime.h"
#include "core/UserFeedback.h"

namespace DUVAnalyse {

std::vector<WarningLineRecord> WarningLines;

namespace {

std::string Money(double amount) {
    return CurrencyFormat::FormatCurrency(
        amount, DUVMain::CurrencySymbol, DUVMain::CurrencySymbolPrecedes,
        DUVMain::CurrencySymbolSpaced, DUVMain::CurrencyDigits, 0);
}

// The message of a service whose threshold the usage row reached; false when not reached.
bool ThresholdReached(const ServiceRecord& service, const ServiceUsageRecord& row,
                      std::string& message) {
    switch (service.WarningOption) {
    case 0: {
        const double minutes = std::floor(row.Seconds / 60.0);
        if (minutes < service.WarningHours * 60.0 + service.WarningMinutes) {
            return false;
        }
        message = "Time on-line exceeded " + runtime::Str(service.WarningHours) + "Hrs " +
                  std::to_string(service.WarningMinutes) + "Mins";
        return true;
    }
    case 1:
        if (row.DialCost < service.WarningDialup) {
            return false;
        }
        message = "Dial-up costs exceeded " + Money(service.WarningDialup);
        return true;
    case 2:
        if (row.ServiceCost < service.WarningService) {
            return false;
        }
        message = "Service costs exceeded " + Money(service.WarningService);
        return true;
    case 3: {
        const double kilobytes = std::floor(row.BytesRead / 1024.0);
        if (kilobytes < service.WarningData) {
            return false;
        }
        message =
            "Data downloaded exceeded " + runtime::Format(service.WarningData, "#,##0") + "KB";
        return true;
    }
    default:
        return false;
    }
}

}  // namespace

void CheckUserWarnings() {
    DUVMain::ErrProcName = "CheckUserWarnings";
    WarningLines.assign(1, WarningLineRecord{});
    bool soundWanted = false;
    bool boxWanted = false;

    // A row whose test fails with a run-time error is left out when the handler skips it.
    const int32_t lastRow =
        std::min<int32_t>(UsageCount, static_cast<int32_t>(ServiceUsage.size()) - 1);
    for (int32_t i = 1; i <= lastRow; ++i) {
        runtime::Guard([&] {
            const ServiceUsageRecord& row = ServiceUsage[static_cast<size_t>(i)];
            const int32_t s = FindService(row.Number);
            if (s == -1) {
                return;
            }
            const ServiceRecord& service = DUVMain::Services.at(s);
            std::string message;
            if (!service.ShowWarnings || !ThresholdReached(service, row, message)) {
                return;
            }
            WarningLines.push_back(WarningLineRecord{service.ServiceName, message});
            soundWanted = soundWanted || service.WarningSound;
            boxWanted = boxWanted || service.WarningDisplay;
        });
    }

    if (soundWanted) {
        sound::PlaySoundFile(DUVMain::WarningSoundFile);
        ::LetEventsRun();
    }
    if (boxWanted) {
        std::string text =
            "One or more dialled service(s) have exceeded a user\n"
            "defined threshold for this reporting period.\n\n";
        for (size_t i = 1; i < WarningLines.size(); ++i) {
            text += WarningLines[i].ServiceName + " - " + WarningLines[i].Message + "\n";
        }
        ShowMessage(text, msg::IconInformation | msg::OkOnly, "User Defined Warnings");
    }
}

}  // namespace DUVAnalyse
