// The window choice: which window a method works on.
#include "plugin/WindowMethods.h"

namespace OZKPELLMOR {

bool GetTargetWindow(MethodContext& call, int32_t kind, HWND& window) {
    window = nullptr;
    ScriptObject& object = call.Object();
    HWND movie = nullptr;
    if (!call.MovieWindow(movie)) {
        call.SetLastError(ErrNoFunction);
        return false;
    }

    HWND chosen = movie;
    if (kind != WindowKindMovie) {
        if (object.authoring) {
            if (object.hostMajorVersion == 7)
                chosen = GetParent(movie);
        } else {
            HINSTANCE instance = nullptr;
            HWND main = nullptr;
            if (!call.HostHandles(instance, main)) {
                call.SetLastError(ErrNoFunction);
                return false;
            }
            chosen = kind == WindowKindFrame ? GetParent(main) : main;
        }
    }
    if (chosen == nullptr || !IsWindow(chosen)) {
        call.SetLastError(ErrNoFunction);
        return false;
    }
    window = chosen;
    return true;
}

}  // namespace OZKPELLMOR
