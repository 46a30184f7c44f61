#include "ui/logs/DUVOptimize.h"

#include <string>
#include <utility>

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/MessageBox.h"

namespace DUVOptimize {
namespace {

std::function<void()>& Work() {
    static std::function<void()> work;
    return work;
}

}  // namespace

bool ConfirmOptimize() {
    DUVMain::MessageText = "About to optimize Current Modem Log File!\n\nAre You Sure?";
    int answer = ShowMessage(DUVMain::MessageText, msg::YesNo | msg::IconQuestion,
                             "OPTIMIZE MODEM LOG");
    DUVMain::MessageAnswer = std::to_string(answer);
    DUVMain::OptimizePrompted = true;
    return answer == msg::Yes;
}

void OptimizeLog() {
    runtime::SetContext("DUVOptimize", "OptimizeLog");
    if (ConfirmOptimize() && Work()) {
        Work()();
    }
}

void SetOptimizeWork(std::function<void()> work) { Work() = std::move(work); }

}  // namespace DUVOptimize
