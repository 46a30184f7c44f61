// Taking the projector's window out of the task bar and back.
#include "plugin/WindowMethods.h"

namespace OZKPELLMOR {

HostResult OzkHideFromTaskBar(ScriptObject& object, MethodContext& call) {
    if (object.authoring)
        return ResultSuccess;
    HostSymbol hide = 0;
    if (!call.ReadSymbol(1, hide))
        return ResultSuccess;
    const bool toHide = hide == object.Symbol(Sym::True);
    if (!toHide && hide != object.Symbol(Sym::False))
        return ResultSuccess;

    HWND window = nullptr;
    if (!GetTargetWindow(call, WindowKindMain, window))
        return call.Fail(ResultFailure, ErrNoFunction);
    const LONG style = GetWindowLongA(window, GWL_EXSTYLE);
    LONG changed = style;
    if (toHide) {
        changed = (style & ~WS_EX_APPWINDOW) | WS_EX_TOOLWINDOW;
    } else {
        if (!(style & WS_EX_TOOLWINDOW))
            return ResultSuccess;
        changed = style & ~WS_EX_TOOLWINDOW;
    }
    ShowWindow(window, SW_HIDE);
    SetWindowLongA(window, GWL_EXSTYLE, changed);
    ShowWindow(window, SW_SHOW);
    return ResultSuccess;
}

}  // namespace OZKPELLMOR
