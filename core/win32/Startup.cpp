#include <windows.h>

#include <vector>

#include "core/win32/SystemSeams.h"

std::string SystemProgramFolder() {
    std::vector<char> path(MAX_PATH);
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0)
            return ".";
        if (length < path.size())
            break;
        path.resize(path.size() * 2);
    }
    std::string folder(path.data());
    std::string::size_type slash = folder.find_last_of('\\');
    if (slash == std::string::npos)
        return ".";
    // A root folder keeps its backslash ("C:\").
    return folder.substr(0, slash == 2 && folder[1] == ':' ? 3 : slash);
}

std::string SystemEnvironmentVariable(const std::string& name) {
    DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (size == 0)
        return "";
    std::vector<char> value(size);
    DWORD length = GetEnvironmentVariableA(name.c_str(), value.data(), size);
    if (length == 0 || length >= size)
        return "";
    return std::string(value.data(), length);
}
