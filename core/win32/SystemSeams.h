#pragma once
// Installs the Win32 sides of the core's seams. The program calls each once at start-up.

#include <functional>
#include <string>

#include "core/Clipboard.h"
#include "core/MessageBox.h"
#include "core/SafeWrite.h"

// Message boxes through MessageBoxIndirectA; the Help button opens the help file with WinHelpA.
// Each installer returns what it replaces.
MessageBoxFunction InstallSystemMessageBox();

// What the Help button of a box does; WinHelpA with HELP_CONTEXT unless another is installed.
// Returns the previous one (an empty function restores WinHelpA).
using HelpFunction = std::function<void(const std::string& helpFile, int helpContext)>;
HelpFunction SetHelpFunction(HelpFunction help);

// The clipboard through OpenClipboard / EmptyClipboard / SetClipboardData (CF_TEXT).
ClipboardFunction InstallSystemClipboard();

// The safe write's file operations through CreateFileA (CREATE_NEW), FlushFileBuffers and
// MoveFileExA (MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
safe_write::FileSystem* InstallSystemSafeWriteFiles();

// The folder of the running program, without a trailing backslash (GetModuleFileNameA).
std::string SystemProgramFolder();
// An environment variable's value, "" when it is not set (GetEnvironmentVariableA).
std::string SystemEnvironmentVariable(const std::string& name);
