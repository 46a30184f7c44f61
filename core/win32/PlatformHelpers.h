// Small helpers on common controls: the flat toolbar look and whole-row selection.
#pragma once

#include <windows.h>

#include <cstdint>

namespace FlatToolBar {

// Gives the toolbar the flat look (style 2: flat with text beside the pictures). toolbar is
// the toolbar window itself or a window holding one. Calling it again changes nothing.
void MakeToolbarFlat(HWND toolbar, std::int32_t style);

}  // namespace FlatToolBar

namespace LV_WholeRow {

// Turns selection of whole rows in a list view on or off.
void SetWholeRowSelect(HWND listView, bool enable);

}  // namespace LV_WholeRow
