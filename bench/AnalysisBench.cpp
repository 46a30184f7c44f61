// Speed of the start-up checks, the analysis run, the report builders and a whole duvreport run
// on large generated logs, each as a ratio to "wc -l" over the same file.
//
//   duv_bench [--lines N[,N...]] [--repeat N] [--seed N]
//   duv_bench --services N [--repeat N] [--program DUVREPORT ...]
//
// With --services it times duvreport (this build's unless programs are named: builds before
// and after a change, alternating) on an export of N services of ten tariffs each.
//
// For every log size a fresh temporary folder gets the log and a settings export; both are
// removed at the end. Every operation runs in a child process of its own (fork), alternating
// with a run of "wc -l", so that both sides meet the same machine load; the table shows the
// medians of wall-clock and of processor time (user and system), their ratios to those of
// "wc -l", and the child's peak resident memory.
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/DUVAnalyse.h"
#include "analysis/Report.h"
#include "bench/ServicesExport.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/LineReader.h"
#include "core/LogFile.h"
#include "core/MessageBox.h"
#include "core/RegistryStore.h"
#include "core/Runtime.h"
#include "tools/duvreport/RegFile.h"
#include "tools/duvreport/Tables.h"
#include "tools/loggen/LogGenerator.h"

extern char** environ;

namespace {

struct Sample {
    double seconds = 0;     // wall-clock time
    double cpuSeconds = 0;  // user and system time
    long maxRssKb = 0;
};

double CpuSeconds(const struct rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double OwnCpuSeconds() {
    struct rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return CpuSeconds(usage);
}

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Runs a program (no shell) with its output thrown away; the time from start to exit and its
// peak memory.
Sample RunProgram(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const double t0 = Now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) {
        std::perror(argv[0]);
        std::exit(1);
    }
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    Sample s{Now() - t0, CpuSeconds(usage), usage.ru_maxrss};
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::cerr << argv[0] << " failed\n";
        std::exit(1);
    }
    return s;
}

// Runs prepare and then f once in a child process; the time of f and the child's peak memory.
Sample RunInChild(const std::function<void()>& prepare, const std::function<void()>& f) {
    int fds[2];
    if (pipe(fds) != 0)
        std::exit(1);
    pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        prepare();
        const double c0 = OwnCpuSeconds();
        const double t0 = Now();
        f();
        const double seconds[2] = {Now() - t0, OwnCpuSeconds() - c0};
        ssize_t written = write(fds[1], seconds, sizeof seconds);
        _exit(written == sizeof seconds ? 0 : 1);
    }
    close(fds[1]);
    double seconds[2] = {0, 0};
    ssize_t got = read(fds[0], seconds, sizeof seconds);
    close(fds[0]);
    int status = 0;
    struct rusage usage {};
    wait4(pid, &status, 0, &usage);
    if (got != sizeof seconds || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::cerr << "a benchmark child failed\n";
        std::exit(1);
    }
    return {seconds[0], seconds[1], usage.ru_maxrss};
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Row {
    std::string name;
    Sample wc;  // medians
    Sample op;
};

// repeat pairs of (wc -l, operation), in turn; the medians and the highest peak memory.
Row Measure(const std::string& name, int repeat, const std::string& log,
            const std::function<Sample()>& op) {
    std::vector<double> wc, wcCpu, times, cpu;
    Row row{name, {}, {}};
    for (int i = 0; i < repeat; ++i) {
        Sample w = RunProgram({"wc", "-l", log});
        wc.push_back(w.seconds);
        wcCpu.push_back(w.cpuSeconds);
        Sample s = op();
        times.push_back(s.seconds);
        cpu.push_back(s.cpuSeconds);
        row.op.maxRssKb = std::max(row.op.maxRssKb, s.maxRssKb);
    }
    row.wc.seconds = Median(wc);
    row.wc.cpuSeconds = Median(wcCpu);
    row.op.seconds = Median(times);
    row.op.cpuSeconds = Median(cpu);
    return row;
}

// The files of the folder in use, removed also when the bench is interrupted (unlink and
// rmdir are safe in a signal handler).
char interruptedFiles[3][4096];

void RemoveOnSignal(int) {
    for (const char* path : interruptedFiles) {
        if (path[0])
            unlink(path);
    }
    if (interruptedFiles[0][0]) {
        char folder[4096];
        std::strcpy(folder, interruptedFiles[0]);
        if (char* slash = std::strrchr(folder, '/'))
            *slash = '\0';
        rmdir(folder);
    }
    _exit(1);
}

// A unique folder of its own under the system's temporary folder; removed with its files,
// also on Ctrl+C or a termination request.
class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "duv_bench_XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::exit(1);
        }
        path_ = pattern;
        int i = 0;
        for (const char* name : {"modem.log", "settings.reg"})
            std::snprintf(interruptedFiles[i++], sizeof interruptedFiles[0], "%s",
                          File(name).c_str());
        std::signal(SIGINT, RemoveOnSignal);
        std::signal(SIGTERM, RemoveOnSignal);
    }
    ~TempFolder() {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGTERM, SIG_DFL);
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    // A file of the folder; the bench writes only "modem.log" and "settings.reg".
    std::string File(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void ReplaceValue(std::string& reg, const std::string& name, const std::string& value) {
    const std::string key = "\"" + name + "\"=";
    const std::size_t at = reg.find(key);
    if (at == std::string::npos) {
        std::cerr << "no " << name << " in " << DUV_BENCH_SETTINGS << "\n";
        std::exit(1);
    }
    reg.replace(at + key.size(), reg.find('\n', at) - at - key.size(), value);
}

// The end-to-end settings, with the connection table as large as a setting can make it and
// the third service's data counted per session (its default, one period for the whole range,
// passes 2 GiB in a log of many years).
std::string BenchSettings() {
    std::string reg = ReadText(DUV_BENCH_SETTINGS);
    ReplaceValue(reg, "MaxConnections", "dword:00007fff");
    ReplaceValue(reg, "ServiceRate3", "dword:00000000\n\"MegPeriod3\"=\"Session\"");
    return reg;
}

std::string IsoDate(double date) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", runtime::Year(date), runtime::Month(date),
                  runtime::Day(date));
    return text;
}

void PrintTable(const std::string& title, const std::vector<Row>& rows) {
    std::printf("\n%s\n", title.c_str());
    std::printf("| %-27s | %8s | %8s | %6s | %8s | %8s | %6s | %8s |\n", "operation", "wall ms",
                "wc -l ms", "ratio", "CPU ms", "wc -l", "ratio", "max RSS");
    std::printf(
        "|%s|%s|%s|%s|%s|%s|%s|%s|\n", std::string(29, '-').c_str(), std::string(10, '-').c_str(),
        std::string(10, '-').c_str(), std::string(8, '-').c_str(), std::string(10, '-').c_str(),
        std::string(10, '-').c_str(), std::string(8, '-').c_str(), std::string(10, '-').c_str());
    for (const Row& r : rows)
        std::printf("| %-27s | %8.1f | %8.1f | %5.2fx | %8.1f | %8.1f | %5.2fx | %5.1f MB |\n",
                    r.name.c_str(), r.op.seconds * 1e3, r.wc.seconds * 1e3,
                    r.op.seconds / r.wc.seconds, r.op.cpuSeconds * 1e3, r.wc.cpuSeconds * 1e3,
                    r.wc.cpuSeconds > 0 ? r.op.cpuSeconds / r.wc.cpuSeconds : 0.0,
                    r.op.maxRssKb / 1024.0);
    std::fflush(stdout);
}

void BenchOneSize(unsigned long long lines, unsigned long long seed, int repeat) {
    TempFolder folder;
    const std::string log = folder.File("modem.log");
    const std::string settings = folder.File("settings.reg");
    {
        loggen::Options o;
        o.seed = seed;
        o.year = 2000;
        o.minLines = lines;
        o.days = 1;
        std::ofstream out(log, std::ios::binary);
        loggen::Generate(o, out);
        std::ofstream(settings, std::ios::binary) << BenchSettings();
    }

    registry::MemoryRegistry store;
    regfile::LoadResult loaded = regfile::Load(ReadText(settings), store);
    if (!loaded.ok) {
        std::cerr << settings << ":" << loaded.line << ": " << loaded.message << "\n";
        std::exit(1);
    }
    registry::InstallRegistry(&store);
    runtime::SetErrorHandler([] { return 2; });
    SetMessageBoxFunction([](const MessageCall& box) { return FirstButton(box.flags); });
    duvreport::LoadSettings();
    DUVMain::LogFilePath = log;
    DUVMain::LogCorrupt = DUVMain::CheckCorruption(false);
    DUVMain::GetLogStats(false);
    // The range: the whole log up to a million lines; a larger log reports its last days, as
    // many as a million of its lines span (a run holds at most 32767 sessions).
    const double days = DUVMain::LastEntryDate - DUVMain::FirstEntryDate + 1;
    const double rangeDays =
        lines > 1000000 ? std::floor(days * 1e6 / DUVMain::LogLineCount) : days;
    DUVMain::ReportEndDate = DUVMain::LastEntryDate;
    DUVMain::ReportStartDate = DUVMain::LastEntryDate - rangeDays + 1;
    bool reportShown = false;
    std::ostringstream messages;
    DUVAnalyse::Window = duvreport::HeadlessWindow(messages, reportShown);
    DUVAnalyse::ReportDays =
        static_cast<int32_t>(DUVMain::ReportEndDate - DUVMain::ReportStartDate) + 1;
    const std::string from = IsoDate(DUVMain::ReportStartDate);
    const std::string to = IsoDate(DUVMain::ReportEndDate);

    // Each child builds the tables it needs, as the program does. The bench itself analyses the
    // log only after the measurements (for the title): a child forked from a process that had
    // run the analysis would pay for copying the memory that process freed, which the program
    // never does.
    auto inChild = [](
                       std::function<void()> f, std::function<void()> prepare = [] {}) {
        return [f, prepare] { return RunInChild(prepare, f); };
    };

    auto analyse = [] { DUVAnalyse::Analyse(); };
    std::vector<Row> rows;
    rows.push_back(Measure("wc -l", repeat, log, [&] { return RunProgram({"wc", "-l", log}); }));
    rows.push_back(
        Measure("CheckCorruption", repeat, log, inChild([] { DUVMain::CheckCorruption(false); })));
    rows.push_back(
        Measure("GetLogStats", repeat, log, inChild([] { DUVMain::GetLogStats(false); })));
    rows.push_back(Measure("CheckCorruption+GetLogStats", repeat, log, inChild([] {
                               DUVMain::CheckCorruption(false);
                               DUVMain::GetLogStats(false);
                           })));
    rows.push_back(Measure("Analyse", repeat, log, inChild(analyse)));
    rows.push_back(Measure("summary builder", repeat, log,
                           inChild([] { DUVAnalyse::DisplaySummaryReport(); }, analyse)));
    rows.push_back(Measure("details builder", repeat, log,
                           inChild([] { DUVAnalyse::DisplayDetailReport(); }, analyse)));
    for (const char* report : {"summary", "details"}) {
        rows.push_back(Measure(std::string("duvreport --report ") + report, repeat, log, [&] {
            return RunProgram({DUV_BENCH_DUVREPORT, "--settings", settings, "--log", log, "--from",
                               from, "--to", to, "--report", report});
        }));
    }
    rows.push_back(Measure("(the bench's own child)", repeat, log, inChild([] {})));

    DUVAnalyse::Analyse();
    char title[512];
    std::snprintf(title, sizeof title,
                  "%llu lines requested: %.0f lines, %.1f MB; range %s to %s: %d entries, %d "
                  "sessions in %d usage rows%s; median of %d runs",
                  lines, DUVMain::LogLineCount, static_cast<double>(FileLengthOf(log)) / 1048576.0,
                  from.c_str(), to.c_str(), DUVAnalyse::EntryCount, DUVAnalyse::ConnIndex,
                  DUVAnalyse::UsageCount,
                  DUVAnalyse::ConnectionsOverflow ? " (connection table FULL)" : "", repeat);
    if (!reportShown || DUVMain::LogCorrupt) {
        std::cerr << "the generated log gave no report\n";
        std::exit(1);
    }

    registry::InstallRegistry(nullptr);
    PrintTable(title, rows);
}

}  // namespace

// duvreport on an export of many services and a three-week log: each program in turn, the
// programs alternating; the medians, and each as a ratio to the first program's.
void BenchServices(int services, int repeat, const std::vector<std::string>& programs) {
    TempFolder folder;
    const std::string log = folder.File("modem.log");
    const std::string settings = folder.File("settings.reg");
    {
        loggen::Options o;
        o.seed = 1;
        o.year = 2020;
        o.days = 21;
        std::ofstream out(log, std::ios::binary);
        loggen::Generate(o, out);
        std::ofstream(settings, std::ios::binary)
            << bench::ServicesExport(ReadText(DUV_BENCH_SETTINGS), services);
    }
    std::printf("\n%d services (%.1f MB export), duvreport --report summary\n", services,
                static_cast<double>(std::filesystem::file_size(settings)) / 1e6);
    std::vector<std::vector<double>> times(programs.size());
    for (int run = 0; run < repeat; ++run) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            times[p].push_back(
                RunProgram({programs[p], "--settings", settings, "--log", log, "--from",
                            "2020-01-01", "--to", "2020-01-21", "--report", "summary"})
                    .seconds);
            std::printf("run %d program %zu: %.3f s\n", run + 1, p + 1, times[p].back());
            std::fflush(stdout);
        }
    }
    std::printf("\n| program | median s | ratio to the first |\n|---|---|---|\n");
    for (std::size_t p = 0; p < programs.size(); ++p)
        std::printf("| %s | %.3f | %.4fx |\n", programs[p].c_str(), Median(times[p]),
                    Median(times[p]) / Median(times[0]));
}

int main(int argc, char** argv) {
    std::vector<unsigned long long> sizes{1000000, 10000000};
    unsigned long long seed = 1;
    int repeat = 7;
    int services = 0;
    std::vector<std::string> programs;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--lines") {
            sizes.clear();
            std::stringstream list(next());
            for (std::string item; std::getline(list, item, ',');)
                sizes.push_back(std::strtoull(item.c_str(), nullptr, 10));
        } else if (a == "--seed") {
            seed = std::strtoull(next().c_str(), nullptr, 10);
        } else if (a == "--repeat") {
            repeat = std::max(1, std::atoi(next().c_str()));
        } else if (a == "--services") {
            services = std::max(1, std::atoi(next().c_str()));
        } else if (a == "--program") {
            programs.push_back(next());
        } else {
            std::cerr << "usage: duv_bench [--lines N[,N...]] [--repeat N] [--seed N]\n"
                         "       duv_bench --services N [--repeat N] [--program DUVREPORT ...]\n";
            return 2;
        }
    }
    const long cores = sysconf(_SC_NPROCESSORS_ONLN);
    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    char date[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
    std::printf("duv_bench: %s, %ld cores, load average %.1f %.1f %.1f at start\n", date, cores,
                load[0], load[1], load[2]);
    if (services > 0) {
        if (programs.empty())
            programs.push_back(DUV_BENCH_DUVREPORT);
        BenchServices(services, repeat, programs);
        getloadavg(load, 3);
        std::printf("\n(medians of %d runs; load average %.1f %.1f %.1f at the end)\n", repeat,
                    load[0], load[1], load[2]);
        return 0;
    }
    try {
        for (unsigned long long lines : sizes)
            BenchOneSize(lines, seed, repeat);
    } catch (const runtime::ProgramEnded& e) {
        std::cerr << "duv_bench: run-time error " << e.number << " in " << DUVMain::ErrModuleName
                  << "." << DUVMain::ErrProcName << ", step \"" << DUVMain::ErrStepName << "\"\n";
        return 1;
    }
    getloadavg(load, 3);
    std::printf("\nload average %.1f %.1f %.1f at the end\n", load[0], load[1], load[2]);
    return 0;
}
