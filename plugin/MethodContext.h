// One script method call as a method sees it: its arguments (read through the host's value
// and list interfaces), its result value, the object's last error, and the host services a
// method may need (the active movie, the movie's window, the host's window handles).
//
// A method has the signature
//     HostResult Method(ScriptObject& object, MethodContext& call);
// The dispatcher has already checked the minimum argument count and that the object has a
// value interface. Argument 0 is "me"; the method's first declared argument is 1.
//
// The shape, window, tool-tip and task-bar methods are declared in plugin/WindowMethods.h,
// each named as in the method table (OzkBuildShape, OzkClearWindow, OzkSetWindowShape,
// OzkAddToolTip, OzkChangeToolTipText, OzkMoveToolTip, OzkSetToolTipProp, OzkRemoveToolTip,
// OzkSetTitleBar, OzkClearTitleBar, OzkHideFromTaskBar) in namespace OZKPELLMOR, together with
//     void ClearTitleBarSlots();                   // first object of the process
//     void ReleaseTitleBar(ScriptObject& object);  // object destroyed: its hook and slot
// and the exported hook procedure
//     extern "C" LRESULT CALLBACK OZKMProc(int code, WPARAM wParam, LPARAM lParam);
#pragma once

#include <windows.h>

#include <cstdint>

#include "plugin/HostInterfaces.h"
#include "plugin/ScriptObject.h"

namespace OZKPELLMOR {

// Result codes answered to the host.
inline constexpr HostResult ResultSuccess = 0;
inline constexpr HostResult ResultTooFewArguments = static_cast<HostResult>(0x800407E5);
inline constexpr HostResult ResultBadArgument = static_cast<HostResult>(0x800407EF);
inline constexpr HostResult ResultFailure = static_cast<HostResult>(0x800407D2);

// Last-error numbers kept per object (texts in ErrorText).
enum LastError : int32_t {
    ErrNone = 0,
    ErrNoFunction = 2,  // the host cannot give the movie's window (or a host service)
    ErrNoMemory = 3,
    ErrParameterCount = 4,  // too few arguments, unknown type, too few points
    ErrWrongType = 6,
    ErrNoRegion = 7,
    ErrNoShape = 8,
    ErrTableFull = 9,
    ErrTitleBarFailed = 10,
    ErrUnusableValue = 11,
};

// The text for a last-error number; any unknown number gives the "valid error code" text.
const char* ErrorText(int32_t code);

class MethodContext {
public:
    MethodContext(ScriptObject& object, HostCallRecord& call);
    ~MethodContext();  // releases the active movie if one was fetched
    MethodContext(const MethodContext&) = delete;
    MethodContext& operator=(const MethodContext&) = delete;

    ScriptObject& Object() { return object_; }
    int32_t ArgCount() const { return call_.argCount; }
    bool HasArg(int32_t index) const { return index >= 1 && index < call_.argCount; }
    const HostValue* Arg(int32_t index) const;  // null when not present

    // Host type of an argument (HostTypeInteger, HostTypeSymbol, ...); HostTypeVoid when the
    // argument is missing.
    int32_t ArgType(int32_t index) const;
    bool ArgIs(int32_t index, HostValueType type) const { return ArgType(index) == type; }

    // Conversions. Integers are converted without a type test; the others test the type
    // first. Each answers false (output zeroed) when the argument is missing, of another
    // type, or the host cannot convert it.
    bool ReadInteger(int32_t index, int32_t& out) const;
    bool ReadSymbol(int32_t index, HostSymbol& out) const;
    // Reads into buffer[size], at most size - 1 characters, always zero-terminated.
    bool ReadString(int32_t index, char* buffer, int32_t size) const;
    bool ReadPoint(int32_t index, HostPoint& out) const;
    bool ReadRect(int32_t index, HostRect& out) const;
    // A list argument: its item count, and a point item (1-based; the item copy is released).
    bool ReadListCount(int32_t index, int32_t& count) const;
    bool ListItemType(int32_t index, int32_t item, int32_t& type) const;
    bool ReadListPoint(int32_t index, int32_t item, HostPoint& out) const;

    // The result value of the call.
    void SetIntegerResult(int32_t number);
    void SetSymbolResult(HostSymbol symbol);
    void SetStringResult(const char* text);

    // Sets the object's last error and answers `result`, e.g.
    //     return call.Fail(ResultBadArgument, ErrWrongType);
    HostResult Fail(HostResult result, int32_t lastError);
    // Sets the last error to 0 and answers ResultSuccess.
    HostResult SucceedClearingError();
    void SetLastError(int32_t lastError) { object_.lastError = lastError; }

    // The active movie, fetched through the player once per call and kept in the object's
    // transient slot until the call ends; null when the host cannot give it.
    IHostMovie* ActiveMovie();
    // The movie's window (the stage window object's handle of kind 1). False when any host
    // step fails; the caller then sets ErrNoFunction.
    bool MovieWindow(HWND& window);
    // The host's instance handle and main window. False when the host cannot give them.
    bool HostHandles(HINSTANCE& instance, HWND& mainWindow);

private:
    ScriptObject& object_;
    HostCallRecord& call_;
    bool movieFetched_ = false;
};

}  // namespace OZKPELLMOR
