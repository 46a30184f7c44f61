#pragma once
// The clipboard: the error report is placed on it. Windows builds install the system's
// clipboard (InstallSystemClipboard in core/win32); tests install their own function.

#include <functional>
#include <string>

using ClipboardFunction = std::function<void(const std::string& text)>;

// Installs the function that clears the clipboard and sets it to a text; returns the previous.
ClipboardFunction SetClipboardFunction(ClipboardFunction setText);

// Clears the clipboard, then sets it to the text (nothing happens without a function).
void SetClipboardText(const std::string& text);
