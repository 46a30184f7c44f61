// How long DUV itself takes, started as a user starts it: from the start of the program until
// its main window shows, and from OK until the report window shows, with a small log and with
// a log of a million lines. Runs under wine, in a prefix the test harness made (it rewrites
// HKLM\SOFTWARE\DUV there); bench/duv-timing makes one, runs this and removes it.
//
//   duv_timing.exe [--runs N] [--lines N] [--program PATH\DUV.exe ...]
//
// The program is the DUV.exe of this build unless others are named (copies of two builds,
// to compare: their runs alternate too).
// Both logs are generated into a temporary folder of its own, removed at the end. The runs of
// the two logs alternate, so that both meet the same machine load; the tables show medians.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/RegistryStore.h"
#include "tools/duvreport/RegFile.h"
#include "tools/loggen/LogGenerator.h"

namespace {

const char kFormClass[] = "DuveloForm";
const DWORD kWaitLimitMs = 120000;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER counter;
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The program being timed: ended when the measurement fails.
HANDLE g_program = nullptr;

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "duv_timing: %s\n", what.c_str());
    if (g_program) {
        TerminateProcess(g_program, 1);
        WaitForSingleObject(g_program, 5000);
    }
    std::exit(1);
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        Fail("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string WindowText(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window) {
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

BOOL CALLBACK Collect(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// The child windows of a window, or the top-level windows when parent is null.
std::vector<HWND> WindowsUnder(HWND parent) {
    std::vector<HWND> found;
    if (parent)
        EnumChildWindows(parent, &Collect, reinterpret_cast<LPARAM>(&found));
    else
        EnumWindows(&Collect, reinterpret_cast<LPARAM>(&found));
    return found;
}

// The texts of a window's static controls (what a message box says).
std::string StaticTexts(HWND window) {
    std::string texts;
    for (HWND child : WindowsUnder(window)) {
        if (ClassOf(child) == "Static")
            texts += WindowText(child) + " ";
    }
    return texts;
}

// The visible top-level windows of a process.
std::vector<HWND> WindowsOf(DWORD process) {
    std::vector<HWND> found;
    for (HWND window : WindowsUnder(nullptr)) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process && IsWindowVisible(window))
            found.push_back(window);
    }
    return found;
}

// The program's OK button: a push button captioned "&OK" inside the main window.
HWND OkButton(HWND main) {
    for (HWND child : WindowsUnder(main)) {
        if (ClassOf(child) == "Button" && WindowText(child) == "&OK")
            return child;
    }
    return nullptr;
}

// Waits until a visible window of the process is what is wanted; a message box on the way
// ends the measurement, since it would have to be answered by a user.
template <class Wanted>
HWND WaitForWindow(const PROCESS_INFORMATION& program, const char* what, Wanted wanted) {
    const DWORD start = GetTickCount();
    for (;;) {
        for (HWND window : WindowsOf(program.dwProcessId)) {
            if (ClassOf(window) == "#32770")
                Fail(std::string("a message box \"") + WindowText(window) + "\" (" +
                     StaticTexts(window) + ") showed waiting for " + what);
            if (ClassOf(window) == kFormClass && wanted(window))
                return window;
        }
        if (WaitForSingleObject(program.hProcess, 0) == WAIT_OBJECT_0)
            Fail(std::string("DUV ended waiting for ") + what);
        if (GetTickCount() - start > kWaitLimitMs)
            Fail(std::string("no ") + what + " after two minutes");
        Sleep(1);
    }
}

struct Timing {
    double start = 0;     // seconds from CreateProcess to the main window shown
    double okReport = 0;  // seconds from OK to the report window shown
};

Timing TimeOneRun(const std::string& program) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::string command = "\"" + program + "\"";
    std::string folder = std::filesystem::path(program).parent_path().string();
    Timing timing;
    const double started = Now();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &startup, &process))
        Fail("cannot start " + program);
    g_program = process.hProcess;
    // The main window is the one with a menu; the splash has none.
    HWND main = WaitForWindow(process, "the main window",
                              [](HWND window) { return GetMenu(window) != nullptr; });
    timing.start = Now() - started;

    HWND ok = OkButton(main);
    if (!ok)
        Fail("the main window has no OK button");
    for (DWORD waited = 0; !IsWindowEnabled(ok); waited += 10) {
        if (waited > kWaitLimitMs)
            Fail("OK stays disabled");
        Sleep(10);
    }
    const double pressed = Now();
    PostMessageA(GetParent(ok), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(ok), BN_CLICKED),
                 reinterpret_cast<LPARAM>(ok));
    HWND report = WaitForWindow(process, "the report window", [](HWND window) {
        return WindowText(window).rfind("DUV Report", 0) == 0;
    });
    timing.okReport = Now() - pressed;

    PostMessageA(report, WM_CLOSE, 0, 0);
    PostMessageA(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 30000) != WAIT_OBJECT_0) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, 5000);
        Fail("DUV did not end after its windows were closed");
    }
    g_program = nullptr;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return timing;
}

// The settings of the end-to-end tests, with room for every session of the big log, the log
// not "too big", the report range from the first entry, and nothing asked at start.
void WriteSettings(const std::string& settingsFile, const std::string& folder,
                   const std::string& logName) {
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\DUV");
    std::string reg = ReadText(settingsFile);
    auto replace = [&reg](const std::string& name, const std::string& value) {
        std::size_t at = reg.find("\"" + name + "\"=");
        if (at == std::string::npos)
            Fail("the settings lack " + name);
        std::size_t end = reg.find('\n', at);
        reg.replace(at, end - at, "\"" + name + "\"=" + value);
    };
    replace("MaxConnections", "dword:00007fff");
    // Every evening priced, so that no "incomplete tariffs" box stops the run.
    replace("Tariff1-3AppliesDays", "\"Everyday\"");
    auto text = [](const std::string& value) {
        std::string quoted = "\"";
        for (char c : value)
            quoted += c == '\\' ? std::string("\\\\") : std::string(1, c);
        return quoted + "\"";
    };
    reg +=
        "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\DUV\\General]\n"
        "\"ModemLogDir\"=" +
        text(folder + "\\") +
        "\n"
        "\"ModemLogFile\"=" +
        text(logName) +
        "\n"
        "\"MaxLogSize\"=dword:7fffffff\n"
        "\"UserStartPref\"=\"First Log Entry\"\n"
        "\"Tips\"=\"False\"\n"
        "\"ModemCheck\"=\"False\"\n"
        "\"AutoOptimize\"=\"False\"\n";
    regfile::LoadResult loaded = regfile::Load(reg, registry::SystemRegistry());
    if (!loaded.ok)
        Fail("settings line " + std::to_string(loaded.line) + ": " + loaded.message);
}

// A path of this machine as wine's drive Z: shows it.
std::string WinePath(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return "Z:" + path;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

std::string LoadAverage() {
    std::ifstream in("Z:\\proc\\loadavg");
    std::string one, five, fifteen;
    in >> one >> five >> fifteen;
    return in ? one + " " + five + " " + fifteen : "unknown";
}

// A folder of our own under the temporary folder, removed with what it holds.
struct TempFolder {
    std::string path;
    TempFolder() {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        path = std::string(temp) + "duv-timing-" + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(GetTickCount());
        if (!CreateDirectoryA(path.c_str(), nullptr))
            Fail("cannot create " + path);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

std::uint64_t WriteLog(const std::string& path, std::uint64_t minLines, int days) {
    loggen::Options options;
    options.seed = 1;
    options.year = 2020;
    options.days = days;
    options.minLines = minLines;
    std::ofstream out(path, std::ios::binary);
    std::uint64_t lines = loggen::Generate(options, out);
    if (!out.flush())
        Fail("cannot write " + path);
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 7;
    std::uint64_t bigLines = 1000000;
    std::vector<std::string> programs;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        if (option == "--runs")
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--lines")
            bigLines = std::strtoull(argv[i + 1], nullptr, 10);
        else if (option == "--program")
            programs.push_back(argv[i + 1]);
        else
            Fail("unknown option " + option);
    }
    if (programs.empty())
        programs.push_back(WinePath(DUV_TIMING_PROGRAM));
    if (GetFileAttributesA("C:\\duvelo-test-prefix") == INVALID_FILE_ATTRIBUTES)
        Fail(
            "refusing to run: this rewrites HKLM\\SOFTWARE\\DUV, and this wine prefix was not "
            "made by the test harness (no C:\\duvelo-test-prefix); run bench/duv-timing");

    TempFolder folder;
    const std::string logNames[2] = {"small.log", "big.log"};
    const std::uint64_t lines[2] = {WriteLog(folder.path + "\\" + logNames[0], 0, 21),
                                    WriteLog(folder.path + "\\" + logNames[1], bigLines, 1)};
    struct Samples {
        std::vector<double> start, okReport;
    };
    // [program][log]
    std::vector<std::vector<Samples>> samples(programs.size(), std::vector<Samples>(2));

    std::printf("load average before: %s\n", LoadAverage().c_str());
    for (int run = 0; run < runs; ++run) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            for (int log = 0; log < 2; ++log) {
                WriteSettings(WinePath(DUV_TIMING_SETTINGS), folder.path, logNames[log]);
                Timing timing = TimeOneRun(programs[p]);
                samples[p][log].start.push_back(timing.start);
                samples[p][log].okReport.push_back(timing.okReport);
                std::printf("run %d program %zu %-9s start %6.0f ms  OK to report %6.0f ms\n",
                            run + 1, p + 1, logNames[log].c_str(), timing.start * 1e3,
                            timing.okReport * 1e3);
                std::fflush(stdout);
            }
        }
    }
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\DUV");
    std::printf("load average after: %s\n", LoadAverage().c_str());

    for (std::size_t p = 0; p < programs.size(); ++p) {
        const std::vector<Samples>& s = samples[p];
        std::printf("\n%s\n", programs[p].c_str());
        std::printf("| log                   |  start to main window | OK to report window |\n");
        std::printf("|-----------------------|-----------------------|---------------------|\n");
        for (int log = 0; log < 2; ++log)
            std::printf("| %9llu lines       | %16.0f ms   | %14.0f ms   |\n",
                        static_cast<unsigned long long>(lines[log]), Median(s[log].start) * 1e3,
                        Median(s[log].okReport) * 1e3);
        std::printf("| difference            | %16.0f ms   | %14.0f ms   |\n",
                    (Median(s[1].start) - Median(s[0].start)) * 1e3,
                    (Median(s[1].okReport) - Median(s[0].okReport)) * 1e3);
    }
    std::printf("\n(medians of %d runs each, the logs and programs alternating)\n", runs);
    return 0;
}
