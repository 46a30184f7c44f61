#include <windows.h>

#include <utility>

#include "core/MessageBox.h"
#include "core/win32/SystemSeams.h"

namespace {

// The help file of the box being shown (boxes are modal: one at a time per thread).
thread_local const MessageCall* currentBox = nullptr;

HelpFunction& InstalledHelp() {
    static HelpFunction help;
    return help;
}

// The box stays open: the Help button only calls back.
void CALLBACK OnHelpButton(LPHELPINFO) {
    if (!currentBox || currentBox->helpFile.empty())
        return;
    HelpFunction help = InstalledHelp();
    if (help) {
        help(currentBox->helpFile, currentBox->helpContext);
        return;
    }
    // A missing help file is the help system's business.
    WinHelpA(GetActiveWindow(), currentBox->helpFile.c_str(), HELP_CONTEXT,
             static_cast<ULONG_PTR>(currentBox->helpContext));
}

int SystemMessageBox(const MessageCall& call) {
    MSGBOXPARAMSA params{};
    params.cbSize = sizeof params;
    params.hwndOwner = GetActiveWindow();
    params.hInstance = GetModuleHandleA(nullptr);
    params.lpszText = call.text.c_str();
    params.lpszCaption = call.title.c_str();
    params.dwStyle = static_cast<DWORD>(call.flags);
    params.dwContextHelpId = static_cast<DWORD_PTR>(call.helpContext);
    if (call.flags & msg::HelpButton)
        params.lpfnMsgBoxCallback = OnHelpButton;
    const MessageCall* outer = currentBox;
    currentBox = &call;
    int result = MessageBoxIndirectA(&params);
    currentBox = outer;
    return result;
}

}  // namespace

MessageBoxFunction InstallSystemMessageBox() { return SetMessageBoxFunction(SystemMessageBox); }

HelpFunction SetHelpFunction(HelpFunction help) {
    return std::exchange(InstalledHelp(), std::move(help));
}

static_assert(msg::OkOnly == MB_OK && msg::OkCancel == MB_OKCANCEL &&
              msg::AbortRetryIgnore == MB_ABORTRETRYIGNORE && msg::YesNoCancel == MB_YESNOCANCEL &&
              msg::YesNo == MB_YESNO && msg::RetryCancel == MB_RETRYCANCEL);
static_assert(msg::IconStop == MB_ICONHAND && msg::IconQuestion == MB_ICONQUESTION &&
              msg::IconExclamation == MB_ICONEXCLAMATION &&
              msg::IconInformation == MB_ICONASTERISK && msg::HelpButton == MB_HELP);
static_assert(msg::Ok == IDOK && msg::Cancel == IDCANCEL && msg::Abort == IDABORT &&
              msg::Retry == IDRETRY && msg::Ignore == IDIGNORE && msg::Yes == IDYES &&
              msg::No == IDNO);
