// The window methods of a script object: shapes, title bar, tool tips and task bar, and the
// window choice they share. Each method has the dispatcher's signature; the dispatcher has
// checked the method's minimum argument count.
#pragma once

#include <windows.h>

#include <cstdint>

#include "plugin/HostInterfaces.h"
#include "plugin/MethodContext.h"
#include "plugin/ScriptObject.h"

namespace OZKPELLMOR {

// Shapes.
HostResult OzkBuildShape(ScriptObject& object, MethodContext& call);
HostResult OzkSetWindowShape(ScriptObject& object, MethodContext& call);
HostResult OzkClearWindow(ScriptObject& object, MethodContext& call);

// Title bar.
HostResult OzkSetTitleBar(ScriptObject& object, MethodContext& call);
HostResult OzkClearTitleBar(ScriptObject& object, MethodContext& call);

// Tool tips.
HostResult OzkAddToolTip(ScriptObject& object, MethodContext& call);
HostResult OzkChangeToolTipText(ScriptObject& object, MethodContext& call);
HostResult OzkMoveToolTip(ScriptObject& object, MethodContext& call);
HostResult OzkSetToolTipProp(ScriptObject& object, MethodContext& call);
HostResult OzkRemoveToolTip(ScriptObject& object, MethodContext& call);

// Task bar.
HostResult OzkHideFromTaskBar(ScriptObject& object, MethodContext& call);

// Window kinds of the window choice.
enum WindowKind : int32_t {
    WindowKindDefault = 0,
    WindowKindMovie = 1,
    WindowKindFrame = 2,
    WindowKindMain = 3,
};

// The window a method works on, by kind, for this host (authoring environment or projector,
// and its major version). False, with last error 2, when the host cannot give the movie's
// window or the chosen window does not exist.
bool GetTargetWindow(MethodContext& call, int32_t kind, HWND& window);

// Frees all title-bar slots; called once per process, when the first object is created.
void ResetTitleBarSlots();
// Removes the object's title-bar hook and frees its slot (OzkClearTitleBar without a call),
// for the object's destruction.
void ClearTitleBarSlot(ScriptObject& object);

}  // namespace OZKPELLMOR

// The title-bar message hook (exported by name).
extern "C" LRESULT CALLBACK OZKMProc(int code, WPARAM wParam, LPARAM lParam);
