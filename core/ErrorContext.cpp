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

namespace {

// A name replaced in the room it has (names are short), which costs less than an assign.
void Rename(std::string& name, std::string_view text) {
    name.clear();
    name.append(text);
}

}  // namespace

void SetContext(std::string_view module, std::string_view proc) {
    // Mostly the module is already set: compared, it needs no copy.
    if (DUVMain::ErrModuleName != module)
        Rename(DUVMain::ErrModuleName, module);
    Rename(DUVMain::ErrProcName, proc);
}

void SetProc(std::string_view proc) { Rename(DUVMain::ErrProcName, proc); }

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
