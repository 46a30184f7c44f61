// How long DUV itself takes, started as a user starts it: from the start of the program until
// its main window shows, and from OK until the report window shows, with a small log and with
// a log of a million lines. Runs under wine, in a prefix the test harness made (it rewrites
// HKLM\SOFTWARE\DUV there); bench/duv-timing makes one, runs this and removes it.
//
//   duv_timing.exe [--runs N] [--lines N] [--services N] [--program PATH\DUV.exe ...]
//
// With --services N the registry holds N services of ten tariffs each (stored once, before the
// first run): only the small log is used and only the start to the main window is timed.
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

#include "bench/ServicesExport.h"
#include "core/RegistryStore.h"
#include "tests/support/win32/ProgramProcess.h"
#include "tools/duvreport/RegFile.h"
#include "tools/loggen/LogGenerator.h"

namespace {

const char kFormClass[] = "DuveloForm";
double waitLimitSeconds = 120;

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

// A measurement that cannot go on; the program being timed is ended on the way out.
struct Failure {
    std::string what;
};

[[noreturn]] void Fail(const std::string& what) { throw Failure{what}; }

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        Fail("cannot read " + path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Waits until a window of the program shows that `caption` accepts; a message box on the way
// ends the measurement, since it would have to be answered by a user.
HWND WaitForForm(const test_support::ProgramProcess& program, const char* what,
                 const test_support::ProgramProcess::CaptionTest& caption) {
    const auto any = [](const std::string&) { return true; };
    const double start = Now();
    for (;;) {
        if (program.FindWindowOf("#32770", any))
            Fail("a message box showed waiting for " + std::string(what) + ": " + program.Shown());
        if (HWND window = program.FindWindowOf(kFormClass, caption))
            return window;
        if (!program.Running())
            Fail("DUV ended waiting for " + std::string(what));
        if (Now() - start > waitLimitSeconds)
            Fail("no " + std::string(what) + " after " + std::to_string(int(waitLimitSeconds)) +
                 " seconds");
        Sleep(1);
    }
}

struct Timing {
    double start = 0;     // seconds from CreateProcess to the main window shown
    double okReport = 0;  // seconds from OK to the report window shown
};

Timing TimeOneRun(const std::string& exe, bool startOnly) {
    test_support::ProgramProcess program;
    Timing timing;
    const double started = Now();
    std::string failed = program.Start(exe, {});
    if (!failed.empty())
        Fail(failed);
    HWND main = WaitForForm(program, "the main window", [](const std::string& caption) {
        return caption.rfind("DUVELO", 0) == 0;
    });
    timing.start = Now() - started;
    DWORD exitCode = 0;
    if (startOnly) {
        if (!program.CloseAndWait(main, exitCode))
            Fail("DUV did not end after its main window was closed");
        return timing;
    }

    HWND ok = test_support::FindControl(main, "&OK");
    if (!ok)
        Fail("the main window has no OK button");
    if (!program.Until([ok] { return IsWindowEnabled(ok) != FALSE; }))
        Fail("OK stays disabled");
    const double pressed = Now();
    test_support::ProgramProcess::Press(ok);
    HWND report = WaitForForm(program, "the report window", [](const std::string& caption) {
        return caption.rfind("DUV Report", 0) == 0;
    });
    timing.okReport = Now() - pressed;

    PostMessageA(report, WM_CLOSE, 0, 0);
    if (!program.CloseAndWait(main, exitCode))
        Fail("DUV did not end after its windows were closed");
    return timing;
}

// The settings of the end-to-end tests, with room for every session of the big log, the log
// not "too big", the report range from the first entry, and nothing asked at start.
void WriteSettings(const std::string& settingsFile, const std::string& folder,
                   const std::string& logName, int services) {
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
    if (services > 0)
        reg = bench::ServicesExport(reg, services);
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

int Run(int argc, char** argv) {
    int runs = 7;
    int services = 0;
    std::uint64_t bigLines = 1000000;
    std::vector<std::string> programs;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string option = argv[i];
        if (option == "--runs")
            runs = std::max(1, std::atoi(argv[i + 1]));
        else if (option == "--lines")
            bigLines = std::strtoull(argv[i + 1], nullptr, 10);
        else if (option == "--services")
            services = std::max(0, std::atoi(argv[i + 1]));
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
    const int logCount = services > 0 ? 1 : 2;
    const std::uint64_t lines[2] = {
        WriteLog(folder.path + "\\" + logNames[0], 0, 21),
        logCount > 1 ? WriteLog(folder.path + "\\" + logNames[1], bigLines, 1) : 0};
    if (services > 0) {
        waitLimitSeconds = 3600;
        const double stored = Now();
        WriteSettings(WinePath(DUV_TIMING_SETTINGS), folder.path, logNames[0], services);
        std::printf("%d services stored in %.0f s\n", services, Now() - stored);
    }
    struct Samples {
        std::vector<double> start, okReport;
    };
    // [program][log]
    std::vector<std::vector<Samples>> samples(programs.size(), std::vector<Samples>(2));

    std::printf("load average before: %s\n", LoadAverage().c_str());
    for (int run = 0; run < runs; ++run) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            for (int log = 0; log < logCount; ++log) {
                if (services == 0)
                    WriteSettings(WinePath(DUV_TIMING_SETTINGS), folder.path, logNames[log], 0);
                Timing timing = TimeOneRun(programs[p], services > 0);
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

    if (services > 0) {
        std::printf("\n| program (%d services) | start to main window | ratio to the first |\n",
                    services);
        std::printf("|---|---|---|\n");
        for (std::size_t p = 0; p < programs.size(); ++p)
            std::printf("| %s | %.0f ms | %.4fx |\n", programs[p].c_str(),
                        Median(samples[p][0].start) * 1e3,
                        Median(samples[p][0].start) / Median(samples[0][0].start));
        std::printf("\n(medians of %d runs each, the programs alternating)\n", runs);
        return 0;
    }
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

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const Failure& failure) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "SOFTWARE\\DUV");
        std::fprintf(stderr, "duv_timing: %s\n", failure.what.c_str());
        return 1;
    }
}
