#include "core/Clipboard.h"

#include <utility>

namespace {

ClipboardFunction& Installed() {
    static ClipboardFunction setText;
    return setText;
}

}  // namespace

ClipboardFunction SetClipboardFunction(ClipboardFunction setText) {
    return std::exchange(Installed(), std::move(setText));
}

void SetClipboardText(const std::string& text) {
    ClipboardFunction setText = Installed();
    if (setText)
        setText(text);
}
