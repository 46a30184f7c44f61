#pragma once
// Installs the Win32 sides of the core's seams. The program calls each once at start-up.

// Message boxes through MessageBoxIndirectA; the Help button opens the help file with WinHelpA.
void InstallSystemMessageBox();

// The clipboard through OpenClipboard / EmptyClipboard / SetClipboardData (CF_TEXT).
void InstallSystemClipboard();
