#include <windows.h>

#include <cstring>

#include "core/Clipboard.h"
#include "core/win32/SystemSeams.h"

namespace {

void SystemClipboard(const std::string& text) {
    if (!OpenClipboard(nullptr))
        return;
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (memory) {
        if (void* bytes = GlobalLock(memory)) {
            std::memcpy(bytes, text.c_str(), text.size() + 1);
            GlobalUnlock(memory);
            // The clipboard owns the memory once it took it.
            if (!SetClipboardData(CF_TEXT, memory))
                GlobalFree(memory);
        } else {
            GlobalFree(memory);
        }
    }
    CloseClipboard();
}

}  // namespace

ClipboardFunction InstallSystemClipboard() { return SetClipboardFunction(SystemClipboard); }
