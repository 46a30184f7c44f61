// The window and registry tests rewrite HKLM\SOFTWARE\DUV and use the desktop of the wine
// prefix they run in. They run only in a prefix the test harness made (tools/wine-exec,
// tools/test), which it marks with C:\duvelo-test-prefix: never in a user's own.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

namespace {

const bool g_harnessPrefix = [] {
    if (GetFileAttributesA("C:\\duvelo-test-prefix") != INVALID_FILE_ATTRIBUTES)
        return true;
    char prefix[1024] = "";
    if (GetEnvironmentVariableA("WINEPREFIX", prefix, sizeof prefix) >= sizeof prefix)
        prefix[0] = 0;
    std::fprintf(stderr,
                 "Refusing to run: these tests rewrite the program's settings "
                 "(HKLM\\SOFTWARE\\DUV) in the wine prefix they run in, and the prefix %s was "
                 "not made by the test harness (it has no C:\\duvelo-test-prefix).\n"
                 "Run them through ctest or tools/wine-exec with WINEPREFIX set to a folder "
                 "that does not exist yet: the harness creates that prefix and marks it.\n",
                 prefix[0] ? prefix : "(the default one)");
    std::fflush(stderr);
    std::exit(2);
}();

}  // namespace
