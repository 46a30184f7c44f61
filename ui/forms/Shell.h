// Opening documents, web and mail addresses and programs through the shell, behind one
// function so that window tests can answer it.
#pragma once

#include <functional>
#include <string>

namespace forms {

// Opens target (a file, a program, "http://..." or "mailto:...") as the shell would when the
// user double-clicks it, in a normal window; false when the shell could not open it.
bool ShellOpen(const std::string& target);

using ShellOpenFunction = std::function<bool(const std::string&)>;
// Replaces the shell (tests); an empty function restores the system's. Returns the previous.
ShellOpenFunction SetShellOpenFunction(ShellOpenFunction function);

}  // namespace forms
