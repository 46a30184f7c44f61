#include "ui/forms/Shell.h"

#include <windows.h>
#include <shellapi.h>

#include <utility>

#include "ui/forms/Form.h"

namespace forms {
namespace {
ShellOpenFunction g_shellOpen;
}  // namespace

bool ShellOpen(const std::string& target) {
    if (g_shellOpen) {
        return g_shellOpen(target);
    }
    if (target.empty()) {
        return false;
    }
    HWND owner = Form::ActiveForm() ? Form::ActiveForm()->hwnd() : nullptr;
    HINSTANCE result =
        ShellExecuteA(owner, "open", target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

ShellOpenFunction SetShellOpenFunction(ShellOpenFunction function) {
    return std::exchange(g_shellOpen, std::move(function));
}

}  // namespace forms
