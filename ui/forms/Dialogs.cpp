#include "ui/forms/Dialogs.h"

#include "ui/forms/Form.h"
#include "ui/forms/Gdi.h"

#include <commdlg.h>

#include <utility>
#include <vector>

namespace forms {
namespace {

FileDialogFunction g_fileDialog;
RunFunction g_run;
HelpFunction g_help;

std::optional<FileDialogResult> SystemFileDialog(const FileDialogRequest& request) {
    // "a|b|c|d" becomes "a\0b\0c\0d\0\0".
    std::string filter = request.filter;
    for (char& c : filter) {
        if (c == '|')
            c = '\0';
    }
    filter.push_back('\0');
    filter.push_back('\0');
    std::vector<char> file(MAX_PATH * 4, '\0');
    request.fileName.copy(file.data(), file.size() - 1);
    std::vector<char> title(MAX_PATH, '\0');
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = Form::ActiveForm() ? Form::ActiveForm()->hwnd() : nullptr;
    ofn.lpstrFilter = filter.c_str();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrFileTitle = title.data();
    ofn.nMaxFileTitle = static_cast<DWORD>(title.size());
    ofn.lpstrInitialDir = request.initialDir.empty() ? nullptr : request.initialDir.c_str();
    ofn.lpstrTitle = request.title.empty() ? nullptr : request.title.c_str();
    ofn.lpstrDefExt = request.defaultExtension.empty() ? nullptr : request.defaultExtension.c_str();
    ofn.Flags = request.flags | OFN_EXPLORER;
    BOOL ok = request.save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
    if (!ok) {
        return std::nullopt;
    }
    return FileDialogResult{file.data(), title.data()};
}

}  // namespace

std::optional<FileDialogResult> ShowFileDialog(const FileDialogRequest& request) {
    return g_fileDialog ? g_fileDialog(request) : SystemFileDialog(request);
}

FileDialogFunction SetFileDialogFunction(FileDialogFunction function) {
    return std::exchange(g_fileDialog, std::move(function));
}

namespace {
FontDialogFunction g_fontDialog;
}  // namespace

FontChoice ShowFontDialog(const FontChoice& preset) {
    if (g_fontDialog)
        return g_fontDialog(preset);
    LOGFONTA font = {};
    font.lfHeight = -MulDiv(preset.points, GetDeviceCaps(WindowDC(nullptr).Get(), LOGPIXELSY), 72);
    font.lfWeight = preset.bold ? FW_BOLD : FW_NORMAL;
    font.lfItalic = preset.italic ? TRUE : FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, preset.name.c_str(), LF_FACESIZE);
    CHOOSEFONTA choose = {};
    choose.lStructSize = sizeof(choose);
    choose.hwndOwner = GetActiveWindow();
    choose.lpLogFont = &font;
    choose.iPointSize = preset.points * 10;
    choose.Flags = CF_SCREENFONTS | CF_SCRIPTSONLY | CF_FORCEFONTEXIST | CF_INITTOLOGFONTSTRUCT;
    if (!ChooseFontA(&choose))
        return preset;
    return {font.lfFaceName, choose.iPointSize / 10, font.lfWeight >= FW_BOLD, font.lfItalic != 0};
}

FontDialogFunction SetFontDialogFunction(FontDialogFunction function) {
    return std::exchange(g_fontDialog, std::move(function));
}

namespace {

bool Run(const std::string& commandLine, WORD show) {
    if (g_run) {
        return g_run(commandLine);
    }
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    PROCESS_INFORMATION process = {};
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace

bool RunHidden(const std::string& commandLine) { return Run(commandLine, SW_HIDE); }
bool RunShown(const std::string& commandLine) { return Run(commandLine, SW_SHOWNORMAL); }

RunFunction SetRunFunction(RunFunction function) {
    return std::exchange(g_run, std::move(function));
}

void ShowHelp(const std::string& helpFile, unsigned command) {
    if (g_help) {
        g_help(helpFile, command);
        return;
    }
    HWND owner = Form::ActiveForm() ? Form::ActiveForm()->hwnd() : nullptr;
    WinHelpA(owner, helpFile.c_str(), command, 0);
}

HelpFunction SetHelpFunction(HelpFunction function) {
    return std::exchange(g_help, std::move(function));
}

}  // namespace forms
