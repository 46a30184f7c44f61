// A Windows path as the host sees it, for tests that reach past wine to the host's files.
#pragma once

#include <windows.h>

#include <string>

namespace test_support {

// Through wine's own conversion; "" outside wine or for a path it cannot convert.
inline std::string HostPath(const wchar_t* path) {
    using ToUnix = char*(__cdecl*)(const wchar_t*);
    auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (toUnix == nullptr)
        return "";
    char* host = toUnix(path);
    if (host == nullptr)
        return "";
    std::string result = host;
    HeapFree(GetProcessHeap(), 0, host);
    return result;
}

inline std::string HostPath(const std::string& path) {
    wchar_t wide[MAX_PATH];
    if (!MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH))
        return "";
    return HostPath(wide);
}

}  // namespace test_support
