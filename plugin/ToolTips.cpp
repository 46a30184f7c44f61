// Tool tips over rectangles of the movie's window. A tool tip is known to scripts by the
// handle of its own tip window.
#include "plugin/WindowMethods.h"

#include <commctrl.h>

namespace OZKPELLMOR {

namespace {

// Marks the tip windows this plug-in made; only those are messaged or destroyed.
constexpr char kTipMark[] = "OzkPellmorToolTip";
constexpr char kTipClass[] = "tooltips_class32";
constexpr int kTextSize = 512;

bool g_commonControlsReady = false;  // module-wide, once per process

static_assert(sizeof(INITCOMMONCONTROLSEX) == 8);

void InitToolTipClass() {
    if (g_commonControlsReady)
        return;
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
    g_commonControlsReady = true;
}

// The tip window of a tool-tip number, when it is one of ours.
bool OwnTipWindow(int32_t number, HWND& tip) {
    tip = nullptr;
    if (number == 0)
        return false;
    HWND window = static_cast<HWND>(LongToHandle(number));
    if (!IsWindow(window) || !GetPropA(window, kTipMark))
        return false;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char className[sizeof kTipClass + 1] = {};
    if (process != GetCurrentProcessId() || !GetClassNameA(window, className, sizeof className) ||
        lstrcmpiA(className, kTipClass) != 0)
        return false;
    tip = window;
    return true;
}

// Reads the tool-tip number of argument 1; error 6 when it is not one of our tips.
HostResult TipArgument(MethodContext& call, HWND& tip) {
    int32_t number = 0;
    call.ReadInteger(1, number);
    if (!OwnTipWindow(number, tip))
        return call.Fail(ResultBadArgument, ErrWrongType);
    return ResultSuccess;
}

// The tool record of a tip: owned by the movie's window, identified by the tip window.
bool ToolRecord(MethodContext& call, HWND tip, TTTOOLINFOA& tool) {
    tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    HINSTANCE instance = nullptr;
    HWND main = nullptr;
    if (!call.MovieWindow(tool.hwnd) || !call.HostHandles(instance, main))
        return false;
    tool.uId = reinterpret_cast<UINT_PTR>(tip);
    tool.hinst = instance;
    return true;
}

RECT ToRect(const HostRect& area) { return {area.left, area.top, area.right, area.bottom}; }

}  // namespace

HostResult OzkAddToolTip(ScriptObject& object, MethodContext& call) {
    HostRect area{};
    if (!call.ReadRect(1, area))
        return call.Fail(ResultBadArgument, ErrWrongType);
    char text[kTextSize];
    call.ReadString(2, text, sizeof text);
    int32_t centerTip = 0, lineLength = 0;
    call.ReadInteger(3, centerTip);
    call.ReadInteger(4, lineLength);

    InitToolTipClass();
    HWND movie = nullptr, main = nullptr;
    HINSTANCE instance = nullptr;
    if (!call.MovieWindow(movie) || !call.HostHandles(instance, main))
        return call.Fail(ResultFailure, ErrNoFunction);

    DWORD style = TTS_ALWAYSTIP;
    if (object.noPrefix)
        style |= TTS_NOPREFIX;
    HWND tip = CreateWindowExA(0, kTipClass, nullptr, style, 0, 0, 0, 0, movie, nullptr, instance,
                               nullptr);
    if (!tip) {
        call.SetIntegerResult(0);
        return ResultSuccess;
    }
    SetPropA(tip, kTipMark, tip);

    TTTOOLINFOA tool{};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    if (centerTip)
        tool.uFlags |= TTF_CENTERTIP;
    if (object.rightToLeft)
        tool.uFlags |= TTF_RTLREADING;
    tool.hwnd = movie;
    tool.uId = reinterpret_cast<UINT_PTR>(tip);
    tool.rect = ToRect(area);
    tool.hinst = instance;
    tool.lpszText = text;
    SendMessageA(tip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(tip, TTM_SETMAXTIPWIDTH, 0, lineLength == 0 ? -1 : lineLength);
    call.SetIntegerResult(HandleToLong(tip));
    return ResultSuccess;
}

HostResult OzkChangeToolTipText(ScriptObject&, MethodContext& call) {
    HWND tip = nullptr;
    if (HostResult result = TipArgument(call, tip); result != ResultSuccess)
        return result;
    char text[kTextSize];
    call.ReadString(2, text, sizeof text);
    if (text[0] == '\0')
        return ResultSuccess;
    TTTOOLINFOA tool;
    if (!ToolRecord(call, tip, tool))
        return call.Fail(ResultFailure, ErrNoFunction);
    tool.lpszText = text;
    SendMessageA(tip, TTM_UPDATETIPTEXTA, 0, reinterpret_cast<LPARAM>(&tool));
    return ResultSuccess;
}

HostResult OzkMoveToolTip(ScriptObject&, MethodContext& call) {
    HWND tip = nullptr;
    if (HostResult result = TipArgument(call, tip); result != ResultSuccess)
        return result;
    HostRect area{};
    if (!call.ReadRect(2, area))
        return call.Fail(ResultBadArgument, ErrWrongType);
    const RECT rect = ToRect(area);
    if (IsRectEmpty(&rect))
        return call.Fail(ResultFailure, ErrUnusableValue);
    TTTOOLINFOA tool;
    if (!ToolRecord(call, tip, tool))
        return call.Fail(ResultFailure, ErrNoFunction);
    tool.rect = rect;
    SendMessageA(tip, TTM_NEWTOOLRECTA, 0, reinterpret_cast<LPARAM>(&tool));
    return ResultSuccess;
}

HostResult OzkSetToolTipProp(ScriptObject&, MethodContext& call) {
    HWND tip = nullptr;
    if (HostResult result = TipArgument(call, tip); result != ResultSuccess)
        return result;
    int32_t value[8] = {};
    for (int32_t i = 0; i < 8; ++i)
        call.ReadInteger(i + 2, value[i]);

    // A colour is sent only when none of its components is -1; each is taken as a byte.
    const auto sendColour = [&](const int32_t* rgb, UINT message) {
        if (rgb[0] == -1 || rgb[1] == -1 || rgb[2] == -1)
            return;
        const COLORREF colour = RGB(rgb[0] & 0xFF, rgb[1] & 0xFF, rgb[2] & 0xFF);
        SendMessageA(tip, message, colour, 0);
    };
    sendColour(value, TTM_SETTIPTEXTCOLOR);
    sendColour(value + 3, TTM_SETTIPBKCOLOR);

    // Delays in milliseconds: negative leaves the delay alone, below 25 becomes 25.
    const auto sendDelay = [&](int32_t delay, WPARAM which) {
        if (delay < 0)
            return;
        if (delay < 25)
            delay = 25;
        SendMessageA(tip, TTM_SETDELAYTIME, which, delay & 0xFFFF);
    };
    sendDelay(value[6], TTDT_AUTOPOP);
    sendDelay(value[7], TTDT_INITIAL);
    return ResultSuccess;
}

HostResult OzkRemoveToolTip(ScriptObject&, MethodContext& call) {
    HWND tip = nullptr;
    if (HostResult result = TipArgument(call, tip); result != ResultSuccess)
        return result;
    TTTOOLINFOA tool;
    if (ToolRecord(call, tip, tool))
        SendMessageA(tip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    RemovePropA(tip, kTipMark);
    DestroyWindow(tip);
    return ResultSuccess;
}

}  // namespace OZKPELLMOR
