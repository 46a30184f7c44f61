#include "core/ErrorContext.h"

#include "core/Runtime.h"

namespace DUVMain {

std::string ErrModuleName;
std::string ErrProcName;
std::string ErrStepName;
int ErrorAction = 0;

}  // namespace DUVMain

namespace runtime {
namespace {

RuntimeError& Pending() {
    static RuntimeError pending(0, std::string(), std::string());
    return pending;
}

ErrorHandlerFn& Handler() {
    static ErrorHandlerFn handler;
    return handler;
}

EndProgramFn& EndHook() {
    static EndProgramFn hook;
    return hook;
}

}  // namespace

void SetContext(std::string_view module, std::string_view proc) {
    // Mostly the names are already set: compared, they need no copy.
    if (DUVMain::ErrModuleName != module)
        DUVMain::ErrModuleName.assign(module);
    if (DUVMain::ErrProcName != proc)
        DUVMain::ErrProcName.assign(proc);
}

CountedStep ActiveCountedStep;

void SetStep(std::string_view step) {
    ActiveCountedStep = CountedStep{};
    DUVMain::ErrStepName.assign(step);
}

const RuntimeError& Err() { return Pending(); }

void SetErr(const RuntimeError& error) { Pending() = error; }

void ClearErr() { Pending() = RuntimeError(0, std::string(), std::string()); }

ErrorHandlerFn SetErrorHandler(ErrorHandlerFn handler) {
    return std::exchange(Handler(), std::move(handler));
}

EndProgramFn SetEndProgram(EndProgramFn endProgram) {
    return std::exchange(EndHook(), std::move(endProgram));
}

bool HandleGuardedError(const RuntimeError& error) {
    if (ActiveCountedStep.counter) {
        DUVMain::ErrStepName.assign(ActiveCountedStep.prefix);
        DUVMain::ErrStepName += Str(*ActiveCountedStep.counter);
    }
    SetErr(error);
    // Copy the handler: it may install another one while it runs.
    ErrorHandlerFn handler = Handler();
    const int answer = handler ? handler() : 2;
    DUVMain::ErrorAction = answer;
    if (answer == kActionRetry)
        return true;
    if (answer == kActionSkip)
        return false;
    EndProgramFn hook = EndHook();
    if (hook)
        hook();
    throw ProgramEnded{error.number};
}

}  // namespace runtime

namespace DUVMain {

void ResetErrorContext() {
    ErrModuleName.clear();
    ErrProcName.clear();
    runtime::SetStep("");
    ErrorAction = 0;
    runtime::ClearErr();
}

}  // namespace DUVMain
