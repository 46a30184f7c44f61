#include "ui/forms/Commands.h"

#include <utility>

namespace forms {
namespace {

UnservedCommandHook& Hook() {
    static UnservedCommandHook hook;
    return hook;
}

}  // namespace

UnservedCommandHook SetUnservedCommandHook(UnservedCommandHook hook) {
    return std::exchange(Hook(), std::move(hook));
}

void ReportUnservedCommand(const std::string& command) {
    if (Hook())
        Hook()(command);
}

}  // namespace forms
