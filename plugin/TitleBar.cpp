// The stored shape as a title bar: a message hook starts the system's caption drag when the
// left button goes down inside the shape.
#include "plugin/WindowMethods.h"

#include <cstddef>

namespace OZKPELLMOR {

namespace {

struct TitleBarSlot {
    HWND match;   // presses on this window are watched
    HWND drag;    // this window is dragged
    HRGN region;  // owned by the slot
    HHOOK hook;   // none while the slot is free
};

constexpr size_t kTitleBarSlots = 15;

// Module-wide: title bars of all script objects of the process.
TitleBarSlot g_slots[kTitleBarSlots];
HHOOK g_lastHook = nullptr;

// The last press the hook looked at. With one hook per title bar on the thread the hook runs
// several times for the same message; it acts on the first of them only.
struct PressSeen {
    HWND window;
    DWORD time;
    POINT pt;
    LPARAM lParam;
};
PressSeen g_lastPress{};

bool SamePress(const MSG& msg) {
    return msg.hwnd == g_lastPress.window && msg.time == g_lastPress.time &&
           msg.pt.x == g_lastPress.pt.x && msg.pt.y == g_lastPress.pt.y &&
           msg.lParam == g_lastPress.lParam;
}

TitleBarSlot* SlotForWindow(HWND window) {
    for (TitleBarSlot& slot : g_slots)
        if (slot.hook && slot.match == window)
            return &slot;
    return nullptr;
}

}  // namespace

void ResetTitleBarSlots() {
    for (TitleBarSlot& slot : g_slots)
        slot = {};
    g_lastHook = nullptr;
    g_lastPress = {};
}

void ClearTitleBarSlot(ScriptObject& object) {
    if (!object.titleBarHook)
        return;
    for (TitleBarSlot& slot : g_slots) {
        if (slot.hook != object.titleBarHook)
            continue;
        UnhookWindowsHookEx(slot.hook);
        if (slot.region)
            DeleteObject(slot.region);
        slot = {};
        break;
    }
    object.titleBarHook = nullptr;
    g_lastHook = nullptr;
}

HostResult OzkSetTitleBar(ScriptObject& object, MethodContext& call) {
    if (!object.storedShape)
        return call.Fail(ResultFailure, ErrNoShape);
    if (object.titleBarHook)
        ClearTitleBarSlot(object);

    TitleBarSlot* slot = nullptr;
    for (TitleBarSlot& candidate : g_slots)
        if (!candidate.hook) {
            slot = &candidate;
            break;
        }
    if (!slot)
        return call.Fail(ResultFailure, ErrTableFull);

    HWND match = nullptr, drag = nullptr;
    if (!GetTargetWindow(call, WindowKindMovie, match) ||
        !GetTargetWindow(call, WindowKindMain, drag))
        return call.Fail(ResultFailure, ErrNoFunction);

    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, OZKMProc, nullptr, GetCurrentThreadId());
    if (!hook) {
        *slot = {};
        return call.Fail(ResultFailure, ErrTitleBarFailed);
    }
    *slot = {match, drag, object.storedShape, hook};
    object.titleBarHook = hook;
    g_lastHook = hook;
    object.storedShape = nullptr;
    return call.SucceedClearingError();
}

HostResult OzkClearTitleBar(ScriptObject& object, MethodContext&) {
    ClearTitleBarSlot(object);
    return ResultSuccess;
}

}  // namespace OZKPELLMOR

using namespace OZKPELLMOR;

extern "C" LRESULT CALLBACK OZKMProc(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (!msg)
        return CallNextHookEx(g_lastHook, code, wParam, lParam);
    TitleBarSlot* slot = SlotForWindow(msg->hwnd);
    HHOOK next = slot ? slot->hook : g_lastHook;
    // Only a press taken off the queue counts, once, however many hooks run for it.
    if (code >= 0 && slot && msg->message == WM_LBUTTONDOWN && wParam == PM_REMOVE &&
        !SamePress(*msg)) {
        g_lastPress = {msg->hwnd, msg->time, msg->pt, msg->lParam};
        const DWORD position = static_cast<DWORD>(msg->lParam);
        const int x = LOWORD(position);
        const int y = HIWORD(position);
        if (PtInRegion(slot->region, x, y)) {
            ReleaseCapture();
            SendMessageA(slot->drag, WM_NCLBUTTONDOWN, HTCAPTION, 0);
        }
    }
    return CallNextHookEx(next, code, wParam, lParam);
}
