// The common file dialogs and the shell, behind one function each so that window tests can
// answer them.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace forms {

struct FileDialogRequest {
    bool save = false;
    std::string title;
    std::string filter;  // "Text (*.txt)|*.txt|All (*.*)|*.*"
    std::string initialDir;
    std::string fileName;          // proposed name
    std::string defaultExtension;  // added to a typed name without one ("txt")
    unsigned long flags = 0;       // OFN_* flags
};

struct FileDialogResult {
    std::string fileName;   // full path
    std::string fileTitle;  // name without the folder
};

// Shows the dialog; no value when the user cancelled.
std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest& request);

using FileDialogFunction = std::function<std::optional<FileDialogResult>(const FileDialogRequest&)>;
// Replaces the dialog (tests); an empty function restores the system's. Returns the previous.
FileDialogFunction SetFileDialogFunction(FileDialogFunction function);

// A font as the font dialog shows and returns it.
struct FontChoice {
    std::string name;
    int points = 0;
    bool bold = false;
    bool italic = false;
};
// Shows the font dialog preset with a font (screen fonts, ANSI character sets, the font must
// exist); gives the chosen font, or the preset when the user cancelled.
FontChoice ShowFontDialog(const FontChoice& preset);
using FontDialogFunction = std::function<FontChoice(const FontChoice&)>;
// Replaces the dialog (tests); an empty function restores the system's. Returns the previous.
FontDialogFunction SetFontDialogFunction(FontDialogFunction function);

// Runs a command line with a hidden window / a normal window that takes the focus, without
// waiting for it; false when it could not be started.
bool RunHidden(const std::string& commandLine);
bool RunShown(const std::string& commandLine);
using RunFunction = std::function<bool(const std::string&)>;
RunFunction SetRunFunction(RunFunction function);

// Opens the help file with a help command (3 contents, 4 help on help, 11 finder).
void ShowHelp(const std::string& helpFile, unsigned command);
using HelpFunction = std::function<void(const std::string&, unsigned)>;
HelpFunction SetHelpFunction(HelpFunction function);

}  // namespace forms
