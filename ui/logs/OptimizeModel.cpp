#include "ui/logs/DUVOptimize.h"

#include <string>
#include <utility>

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/LogMaintenance.h"
#include "core/MessageBox.h"

namespace DUVOptimize {
namespace {

std::function<void()>& Disable() {
    static std::function<void()> disable;
    return disable;
}

}  // namespace

bool ConfirmOptimize() {
    DUVMain::MessageText = "About to optimize Current Modem Log File!\n\nAre You Sure?";
    int answer =
        ShowMessage(DUVMain::MessageText, msg::YesNo | msg::IconQuestion, "OPTIMIZE MODEM LOG");
    DUVMain::MessageAnswer = std::to_string(answer);
    DUVMain::OptimizePrompted = true;
    return answer == msg::Yes;
}

std::function<void()> SetDisableControls(std::function<void()> disable) {
    return std::exchange(Disable(), std::move(disable));
}

void DisableControls() {
    runtime::SetContext("DUVOptimize", "DisableControls");
    if (Disable())
        Disable()();
}

namespace {

// The rewrite with its progress and result in the main window; the controls switched off
// first when asked.
bool Optimize(bool disableFirst) {
    using namespace LogMaintenance;
    const std::string backup = InProgramFolder(DUVMain::ArchiveOpen ? kArchiveBackup : kLogBackup);
    return RunInMainWindow(
        [&](const Progress& progress) {
            if (disableFirst)
                DisableControls();
            runtime::SetContext("DUVOptimize", "DoOptimize");
            return OptimizeLines(DUVMain::LogFilePath, backup, CurrentKeywords(),
                                 DUVMain::LogLineCount, progress);
        },
        &OptimizingText, kOptimizedText, kOptimizeFailedTitle, OptimizeFailedText());
}

}  // namespace

bool DoOptimize() { return Optimize(false); }

void OptimizeLog() {
    runtime::SetContext("DUVOptimize", "OptimizeLog");
    if (ConfirmOptimize())
        Optimize(true);
}

}  // namespace DUVOptimize
