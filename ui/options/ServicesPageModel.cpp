// The services page of the options window: the list's texts, deleting a service, the
// number and name rules, and the scan of the log for dialled numbers.
#include <algorithm>
#include <string_view>

#include "analysis/DUVAnalyse.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/LineReader.h"
#include "core/MessageBox.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"
#include "core/UserFeedback.h"
#include "ui/options/OptionsModel.h"

namespace OptionsModel {

std::string ServicesUsedText() { return std::to_string(DUVMain::UsedServices) + " Used"; }

std::string ServicesMaxText() { return "(Max " + std::to_string(DUVMain::MaxServices) + ")"; }

bool ServiceTableFull() { return DUVMain::UsedServices == DUVMain::MaxServices; }

std::string ServiceRowText(const ServiceRecord& service) { return "  " + service.ServiceName; }

bool IsServiceRow(int row) {
    return row >= 1 && row <= DUVMain::UsedServices && DUVMain::Services.InRange(row - 1);
}

std::optional<int> DeleteSelectedService(int row) {
    using namespace DUVMain;
    if (UsedServices < 1 || !IsServiceRow(row))
        return std::nullopt;
    for (int i = row - 1; i <= UsedServices - 2; ++i)
        Services[i] = Services[i + 1];
    --UsedServices;
    if (row == 1)
        return UsedServices > 0 ? 1 : 0;
    return row - 1;
}

bool ServiceNumberExists(const std::string& number) {
    for (int i = 0; i < DUVMain::UsedServices && DUVMain::Services.InRange(i); ++i) {
        const ServiceRecord& s = DUVMain::Services[i];
        if (runtime::Trim(s.ServiceNumber) == number || runtime::Trim(s.ServiceAltNumber) == number)
            return true;
    }
    return false;
}

std::string MakeUniqueServiceName(const std::string& prefix) {
    int highest = 0;
    for (int i = 0; i < DUVMain::UsedServices && DUVMain::Services.InRange(i); ++i) {
        const std::string& name = DUVMain::Services[i].ServiceName;
        if (name.find(prefix) == std::string::npos)
            continue;
        try {
            // The number at the start of the name's last len(name) - len(prefix) characters.
            const double value = runtime::Val(runtime::Right(name, name.size() - prefix.size()));
            highest = std::max<int>(highest, runtime::CInt(value));
        } catch (const runtime::RuntimeError&) {
            // A number beyond 16 bits is no number of ours.
        }
    }
    return prefix + runtime::Str(highest + 1);
}

std::string ScanPath() { return DUVMain::ModemLogDir + DUVMain::ModemLogFile; }

namespace {

// Puts a scanned number into the next free entry, which starts empty.
int AddScannedService(const std::string& number) {
    using namespace DUVMain;
    EnsureServiceTable();
    const int index = UsedServices;
    Services.at(index) = ServiceRecord{};
    ++UsedServices;
    Services[index].ServiceName = MakeUniqueServiceName(kScannedServicePrefix);
    Services[index].ServiceNumber = number;
    return index;
}

}  // namespace

ScanResult Session::Scan(const std::string& path, const ScanWindow& window) {
    ScanResult result;
    if (Scanning)
        return result;
    runtime::SetContext("frmSetup", "btnScan_Click");
    result.Started = true;
    Scanning = true;
    if (window.Hold)
        window.Hold(true);
    window.Progress.Visible(true);
    struct Done {
        bool& flag;
        const ScanWindow& window;
        ~Done() {
            flag = false;
            window.Progress.Visible(false);
            if (window.Hold)
                window.Hold(false);
        }
    } done{Scanning, window};

    LineReader reader;
    if (!reader.Open(path))
        return result;
    result.Opened = true;
    const double size = static_cast<double>(reader.Length());
    double consumed = 0;
    int shown = -1;
    std::string_view line;
    std::string upper;
    while (DUVMain::UsedServices < DUVMain::MaxServices && reader.Next(line)) {
        consumed += static_cast<double>(line.size()) + 2;
        if (size > 0) {
            const int percent = runtime::CLng(consumed / size * 100);
            if (percent <= 100 && percent != shown)
                window.Progress.Percent(shown = percent);
        }
        LetEventsRun();
        if (DUVMain::ModemDial.empty())
            continue;
        upper = runtime::UCase(line);
        const std::string number = DUVAnalyse::DialledNumber(upper, DUVMain::ModemDial);
        if (number.empty() || !DUVAnalyse::IsDialNumber(number) || ServiceNumberExists(number))
            continue;
        const int index = AddScannedService(number);
        ++result.Added;
        if (window.ServiceAdded)
            window.ServiceAdded(index);
    }
    window.Progress.Percent(100);
    return result;
}

void ShowScanMessage(const ScanResult& result, const std::string& path) {
    const std::string lf = "\n";
    int icon = msg::IconInformation;
    if (!result.Opened) {
        DUVMain::MessageText = "The modem log could not be opened:" + lf + path;
        icon = msg::IconExclamation;
    } else if (result.Added == 0) {
        DUVMain::MessageText = "No new dialled services found in modem log!";
    } else {
        DUVMain::MessageText = std::to_string(result.Added) +
                               " new dialled service(s) found in modem log!" + lf + lf +
                               "Please review these new service(s) by" + lf +
                               "selecting and then clicking the 'Edit' button.";
    }
    DUVMain::MessageAnswer =
        std::to_string(ShowMessage(DUVMain::MessageText, msg::OkOnly | icon, kScanTitle));
}

}  // namespace OptionsModel
