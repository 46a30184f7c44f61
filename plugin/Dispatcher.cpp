// The script method dispatcher, "new", and the error and property methods.
#include "plugin/Dispatcher.h"

#include <windows.h>

#include <cstdio>
#include <new>

#include "plugin/MethodContext.h"
#include "plugin/WindowMethods.h"

namespace OZKPELLMOR {

namespace {

const char MethodTable[] =
    "xtra OZKPELLMOR -- Window Utility Xtra.\n"
    "new object me\n"
    "OzkBuildShape object me,symbol WindowShape,symbol CombineOP,* -- Setup Window Shape\n"
    "OzkClearWindow object me -- Set the WindowShape to normal\n"
    "OzkSetWindowShape object me,integer Redraw,symbol WhichWin -- Set the Shape\n"
    "OzkAddToolTip object me,rect HotArea,string ToolTip,integer CenterTip,integer LineLength -- "
    "Add ToolTip\n"
    "OzkChangeToolTipText object me,integer ToolTipID,string NewText -- Alter Caption\n"
    "OzkMoveToolTip object me,integer ToolTipID,rect HotArea\n"
    "OzkSetToolTipProp object me,integer ToolTipID,integer FRed,integer FGreen,"
    "\tinteger FBlue,integer BRed,integer BGreen,integer BBlue,"
    "\tinteger ShowDelay,integer StartDelay -- Changes ToolTip Properties\n"
    "OzkRemoveToolTip object me,integer hToolTip -- Remove ToolTip\n"
    "OzkSetTitleBar object me -- Set TitleBar\n"
    "OzkClearTitleBar object me -- Clear TitleBar\n"
    "OzkHideFromTaskBar object me,symbol Hide -- Remove Icon from TaskBar\n"
    "OzkGetErrorString object me,integer code -- Retrieves a String for Given Error Code\n"
    "OzkGetLastError object me-- Gets Last Error Code\n"
    "OzkGetProp object me,symbol Property -- Gets a system property\n"
    "OzkSetProp object me,symbol Property,* -- Sets a property\n";

using MethodProc = HostResult (*)(ScriptObject& object, MethodContext& call);

HostResult New(ScriptObject& object, MethodContext& call);
HostResult OzkGetErrorString(ScriptObject& object, MethodContext& call);
HostResult OzkGetLastError(ScriptObject& object, MethodContext& call);
HostResult OzkGetProp(ScriptObject& object, MethodContext& call);
HostResult OzkSetProp(ScriptObject& object, MethodContext& call);

struct Method {
    const char* name;
    int32_t minArgs;  // including "me"
    MethodProc run;
};

// In method table order.
const Method Methods[] = {
    {"new", 1, New},
    {"OzkBuildShape", 3, OzkBuildShape},
    {"OzkClearWindow", 1, OzkClearWindow},
    {"OzkSetWindowShape", 1, OzkSetWindowShape},
    {"OzkAddToolTip", 5, OzkAddToolTip},
    {"OzkChangeToolTipText", 3, OzkChangeToolTipText},
    {"OzkMoveToolTip", 3, OzkMoveToolTip},
    {"OzkSetToolTipProp", 10, OzkSetToolTipProp},
    {"OzkRemoveToolTip", 2, OzkRemoveToolTip},
    {"OzkSetTitleBar", 1, OzkSetTitleBar},
    {"OzkClearTitleBar", 1, OzkClearTitleBar},
    {"OzkHideFromTaskBar", 2, OzkHideFromTaskBar},
    {"OzkGetErrorString", 1, OzkGetErrorString},
    {"OzkGetLastError", 1, OzkGetLastError},
    {"OzkGetProp", 2, OzkGetProp},
    {"OzkSetProp", 2, OzkSetProp},
};
constexpr int32_t MethodCount = static_cast<int32_t>(sizeof(Methods) / sizeof(Methods[0]));

// Reads one string property of the host application; false when the host cannot give it.
bool AppInfoString(ScriptObject& object, int32_t index, char* buffer, int32_t size) {
    buffer[0] = '\0';
    IHostCallback* callback = object.header.callback;
    void* found = nullptr;
    if (!callback || callback->QueryInterface(&IID_HostAppInfo, &found) != HostOk || !found)
        return false;
    IHostAppInfo* appInfo = static_cast<IHostAppInfo*>(found);
    const bool ok = appInfo->GetStringProp(index, buffer, size) == HostOk;
    appInfo->Release();
    buffer[size - 1] = '\0';
    if (!ok)
        buffer[0] = '\0';
    return ok;
}

HostResult New(ScriptObject& object, MethodContext& call) {
    char version[64];
    object.hostMajorVersion = 0;
    if (AppInfoString(object, HostAppVersion, version, sizeof(version))) {
        if (version[0] == '6')
            object.hostMajorVersion = 6;
        else if (version[0] == '7')
            object.hostMajorVersion = 7;
    }
    char name[16];
    object.authoring =
        AppInfoString(object, HostAppName, name, sizeof(name)) && _strnicmp(name, "Author", 6) == 0;
    return call.SucceedClearingError();
}

HostResult OzkGetErrorString(ScriptObject&, MethodContext& call) {
    int32_t code = -1;
    if (call.ArgCount() != 2 || !call.ReadInteger(1, code))
        code = -1;
    call.SetStringResult(ErrorText(code));
    return ResultSuccess;
}

HostResult OzkGetLastError(ScriptObject& object, MethodContext& call) {
    call.SetIntegerResult(object.lastError);
    return ResultSuccess;
}

// The common-controls library's version record (record size, major, minor, build, platform).
struct CommonControlsVersion {
    uint32_t size;
    uint32_t major;
    uint32_t minor;
    uint32_t build;
    uint32_t platform;
};
static_assert(sizeof(CommonControlsVersion) == 20);

// "major.minor" of comctl32.dll into text; false when it cannot be told.
bool CommonControlsVersionText(char* text, size_t size) {
    HMODULE library = LoadLibraryA("comctl32.dll");
    if (!library)
        return false;
    using GetVersionProc = HRESULT(CALLBACK*)(CommonControlsVersion*);
    auto getVersion = reinterpret_cast<GetVersionProc>(
        reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
    bool ok = true;
    if (!getVersion) {
        std::snprintf(text, size, "%u.%u", 4u, 0u);
    } else {
        CommonControlsVersion version{sizeof(CommonControlsVersion), 0, 0, 0, 0};
        ok = SUCCEEDED(getVersion(&version));
        if (ok)
            std::snprintf(text, size, "%u.%u", static_cast<unsigned>(version.major),
                          static_cast<unsigned>(version.minor));
    }
    FreeLibrary(library);
    return ok;
}

HostResult OzkGetProp(ScriptObject& object, MethodContext& call) {
    HostSymbol property = 0;
    if (!call.ReadSymbol(1, property))
        return ResultSuccess;
    if (property == object.Symbol(Sym::PellmorVersion)) {
        char text[16];
        std::snprintf(text, sizeof(text), "%u.%u%u", 1u, 0u, 0u);
        call.SetStringResult(text);
    } else if (property == object.Symbol(Sym::PolyFillMode)) {
        call.SetSymbolResult(
            object.Symbol(object.polyFillMode == FillAlternate ? Sym::Alternate : Sym::Winding));
    } else if (property == object.Symbol(Sym::NoPrefix)) {
        call.SetIntegerResult(object.noPrefix ? 1 : 0);
    } else if (property == object.Symbol(Sym::Rtl)) {
        call.SetIntegerResult(object.rightToLeft ? 1 : 0);
    } else if (property == object.Symbol(Sym::CommCtrlVersion)) {
        char text[32];
        if (CommonControlsVersionText(text, sizeof(text)))
            call.SetStringResult(text);
    }
    return ResultSuccess;
}

HostResult SetFlag(int32_t& flag, MethodContext& call) {
    int32_t value = 0;
    if (!call.ArgIs(2, HostTypeInteger) || !call.ReadInteger(2, value))
        return call.Fail(ResultBadArgument, ErrWrongType);
    flag = value != 0 ? 1 : 0;
    call.SetIntegerResult(flag);
    return ResultSuccess;
}

HostResult OzkSetProp(ScriptObject& object, MethodContext& call) {
    HostSymbol property = 0;
    if (!call.ReadSymbol(1, property))
        return ResultSuccess;
    const bool fillMode = property == object.Symbol(Sym::PolyFillMode);
    const bool noPrefix = property == object.Symbol(Sym::NoPrefix);
    const bool rtl = property == object.Symbol(Sym::Rtl);
    if (!fillMode && !noPrefix && !rtl)
        return ResultSuccess;
    if (call.ArgCount() < 3)
        return call.Fail(ResultTooFewArguments, ErrParameterCount);
    if (noPrefix)
        return SetFlag(object.noPrefix, call);
    if (rtl)
        return SetFlag(object.rightToLeft, call);

    HostSymbol mode = 0;
    if (!call.ReadSymbol(2, mode))
        return call.Fail(ResultBadArgument, ErrWrongType);
    int32_t changed = 1;
    if (mode == object.Symbol(Sym::Alternate))
        object.polyFillMode = FillAlternate;
    else if (mode == object.Symbol(Sym::Winding))
        object.polyFillMode = FillWinding;
    else
        changed = 0;
    call.SetIntegerResult(changed);
    return ResultSuccess;
}

}  // namespace

const char* MethodTableText() { return MethodTable; }

const char* ErrorText(int32_t code) {
    switch (code) {
    case ErrNone:
        return "No error";
    case ErrNoFunction:
        return "Could not access the needed function";
    case ErrNoMemory:
        return "Could not allocate needed memory";
    case ErrParameterCount:
        return "Unknown type or too many or few parameters";
    case ErrWrongType:
        return "A parameter's data type was incorrect";
    case ErrNoRegion:
        return "The specied window was unable to be created";
    case ErrNoShape:
        return "No shape has been defined yet";
    case ErrTableFull:
        return "Internal Table is Filled";
    case ErrTitleBarFailed:
        return "Could not set the titlebar, system failure";
    case ErrUnusableValue:
        return "Value of variable can not be used";
    default:
        return "Need to specify a valid error code";
    }
}

HostResult CallHandler(ScriptObject& object, HostCallRecord* call) noexcept {
    if (!call || call->methodNumber < 0 || call->methodNumber >= MethodCount)
        return ResultBadArgument;
    const Method& method = Methods[call->methodNumber];
    if (call->argCount < method.minArgs) {
        object.lastError = ErrParameterCount;
        return ResultTooFewArguments;
    }
    // Every method but "new" reads or answers values through the host.
    if (method.run != New && !object.values) {
        object.lastError = ErrNoFunction;
        return ResultFailure;
    }
    try {
        MethodContext context(object, *call);
        return method.run(object, context);
    } catch (const std::bad_alloc&) {
        object.lastError = ErrNoMemory;
        return ResultFailure;
    } catch (...) {
        return ResultFailure;
    }
}

}  // namespace OZKPELLMOR
