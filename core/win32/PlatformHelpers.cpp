// The platform's version, flat toolbars and whole-row list views.
#include "core/win32/PlatformHelpers.h"

#include <commctrl.h>

#include <cstring>

#include "core/DUVMain.h"

namespace OSVersion {

PlatformVersion QueryWindowsVersion() {
    OSVERSIONINFOA info;
    std::memset(&info, 0, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
    PlatformVersion version;
    if (GetVersionExA(&info)) {
        version.PlatformId = info.dwPlatformId;
        version.BuildNumber = info.dwBuildNumber;
    }
    return version;
}

}  // namespace OSVersion

namespace FlatToolBar {

namespace {

bool IsToolbarWindow(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return lstrcmpiA(name, TOOLBARCLASSNAMEA) == 0;
}

}  // namespace

void MakeToolbarFlat(HWND toolbar, std::int32_t style) {
    HWND inner = IsToolbarWindow(toolbar)
                     ? toolbar
                     : FindWindowExA(toolbar, nullptr, TOOLBARCLASSNAMEA, nullptr);
    const LRESULT current = SendMessageA(inner, TB_GETSTYLE, 0, 0);
    const LPARAM flat = style == 2 ? (TBSTYLE_FLAT | TBSTYLE_LIST) : TBSTYLE_FLAT;
    SendMessageA(inner, TB_SETSTYLE, 0, static_cast<LPARAM>(current) | flat);
    InvalidateRect(toolbar, nullptr, TRUE);
}

}  // namespace FlatToolBar

namespace LV_WholeRow {

void SetWholeRowSelect(HWND listView, bool enable) {
    SendMessageA(listView, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                 enable ? LVS_EX_FULLROWSELECT : 0);
}

}  // namespace LV_WholeRow
