// Where the program is (module, procedure, step) for the central error handler, and the
// per-statement guard that asks the handler and then retries, skips or ends.
#pragma once

#include <cstdint>
#include <functional>
#include <new>
#include <string>
#include <string_view>
#include <utility>

#include "core/RuntimeError.h"

namespace DUVMain {

extern std::string ErrModuleName;
extern std::string ErrProcName;
extern std::string ErrStepName;
// The handler's answer: 0 retry, 1 skip, anything else end the program.
extern int ErrorAction;

// Empties the context and the pending error (part of ResetState).
void ResetErrorContext();

}  // namespace DUVMain

namespace runtime {

inline constexpr int kActionRetry = 0;
inline constexpr int kActionSkip = 1;

// On entry to a procedure: records its module and name (the step name stays as it is).
void SetContext(std::string_view module, std::string_view proc);
// Records the procedure's name; the module stays as it is.
void SetProc(std::string_view proc);
void SetStep(std::string_view step);

// A step named by a text and a counter, "Log Entry: 12" for the prefix "Log Entry:": the name
// is built only when an error is reported, from the counter's value at that moment, so that a
// loop can name every round at no cost. Any SetStep ends it. The prefix and the counter must
// outlive the step (a literal and a module variable).
struct CountedStep {
    std::string_view prefix;
    const std::int32_t* counter = nullptr;
};
extern CountedStep ActiveCountedStep;
inline void SetCountedStep(std::string_view prefix, const std::int32_t& counter) {
    ActiveCountedStep = CountedStep{prefix, &counter};
}

// The pending run-time error the handler reads (number 0 when there is none).
const RuntimeError& Err();
void SetErr(const RuntimeError& error);
void ClearErr();

// The central handler: reads Err() and the context, returns the answer.
using ErrorHandlerFn = std::function<int()>;
// Ends the program; expected not to return.
using EndProgramFn = std::function<void()>;

// Installs a handler / end hook and returns the one it replaces; an empty function restores
// the default (no handler: every error ends the program; no hook: ProgramEnded is thrown).
ErrorHandlerFn SetErrorHandler(ErrorHandlerFn handler);
EndProgramFn SetEndProgram(EndProgramFn endProgram);

// Thrown when the program is to end and the installed end hook returned (or none is set).
// Guards never catch it.
struct ProgramEnded {
    int number = 0;  // the error that ended it
};

// Hands a caught error to the handler: stores Err() and DUVMain::ErrorAction; a counted step
// is written out to DUVMain::ErrStepName first.
// Returns true to retry, false to skip; ends the program on any other answer.
bool HandleGuardedError(const RuntimeError& error);

// Runs f under the central error handler: retries it while the answer is retry; returns
// true when it completed, false when it was skipped (whatever it was to assign keeps its
// old value). Out-of-memory is handled as error 7.
template <class F>
bool Guard(F&& f) {
    for (;;) {
        try {
            f();
            return true;
        } catch (const RuntimeError& e) {
            if (!HandleGuardedError(e))
                return false;
        } catch (const std::bad_alloc&) {
            if (!HandleGuardedError(
                    RuntimeError(kErrOutOfMemory, ErrorDescription(kErrOutOfMemory)))) {
                return false;
            }
        }
    }
}

// Sets the step name, then runs f under Guard.
template <class F>
bool Step(std::string_view stepName, F&& f) {
    SetStep(stepName);
    return Guard(std::forward<F>(f));
}

}  // namespace runtime
