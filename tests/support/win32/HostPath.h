// For tests that reach past wine to the host: a Windows path as the host sees it, and a host
// program started.
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

// Starts a host program from its command line ("/bin/sh -c ..."); wine does not wait for it
// and answers with no handles of its own (what it leaves in them must not be closed, or a
// handle of this program goes). False when it could not be started.
inline bool StartOnHost(std::string commandLine) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
        return false;
    if (pi.dwProcessId != 0 && GetProcessId(pi.hProcess) == pi.dwProcessId) {
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    return true;
}

}  // namespace test_support
