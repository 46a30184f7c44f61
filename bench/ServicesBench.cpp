// duvreport with a registry export of many services: writes the export (bench/ServicesExport)
// and a small log into a temporary folder of its own, then runs each program named (by default
// this build's duvreport) on them in turn, the programs alternating, and prints the medians.
//
//   duv_bench_services [--services N] [--runs N] [--program PATH ...]
//
// With two programs (a build before a change and one after) the last column is the ratio of
// each median to the first program's.
#include <sys/wait.h>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "bench/ServicesExport.h"
#include "tools/loggen/LogGenerator.h"

namespace {

double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Runs a program (no shell), its output thrown away; the seconds from start to exit.
double RunProgram(const std::vector<std::string>& args) {
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
    waitpid(pid, &status, 0);
    const double seconds = Now() - t0;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::cerr << argv[0] << " failed\n";
        std::exit(1);
    }
    return seconds;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

int main(int argc, char** argv) {
    int services = 10000;
    int runs = 5;
    std::vector<std::string> programs;
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const std::string value = i + 1 < argc ? argv[++i] : "";
        if (a == "--services") {
            services = std::max(0, std::atoi(value.c_str()));
        } else if (a == "--runs") {
            runs = std::max(1, std::atoi(value.c_str()));
        } else if (a == "--program") {
            programs.push_back(value);
        } else {
            std::cerr
                << "usage: duv_bench_services [--services N] [--runs N] [--program PATH ...]\n";
            return 2;
        }
    }
    if (programs.empty())
        programs.push_back(DUV_BENCH_DUVREPORT);

    std::string pattern = (std::filesystem::temp_directory_path() / "duv_bench_XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path folder = pattern;
    const std::string settings = (folder / "services.reg").string();
    const std::string log = (folder / "modem.log").string();
    {
        std::ofstream out(settings, std::ios::binary);
        out << bench::ServicesExport(ReadText(DUV_BENCH_SETTINGS), services);
        loggen::Options options;
        options.seed = 1;
        options.year = 2020;
        options.days = 21;
        std::ofstream logOut(log, std::ios::binary);
        loggen::Generate(options, logOut);
    }
    double load[3] = {0, 0, 0};
    getloadavg(load, 3);
    char date[32];
    const std::time_t now = std::time(nullptr);
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M UTC", std::gmtime(&now));
    std::printf(
        "duv_bench_services: %s, %d services (%.1f MB export), load average %.1f %.1f "
        "%.1f at start\n",
        date, services, static_cast<double>(std::filesystem::file_size(settings)) / 1e6, load[0],
        load[1], load[2]);

    std::vector<std::vector<double>> times(programs.size());
    for (int run = 0; run < runs; ++run) {
        for (std::size_t p = 0; p < programs.size(); ++p) {
            const double s =
                RunProgram({programs[p], "--settings", settings, "--log", log, "--from",
                            "2020-01-01", "--to", "2020-01-21", "--report", "summary"});
            times[p].push_back(s);
            std::printf("run %d program %zu: %.3f s\n", run + 1, p + 1, s);
            std::fflush(stdout);
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    getloadavg(load, 3);
    std::printf("\n| program | median s | ratio to the first |\n|---|---|---|\n");
    for (std::size_t p = 0; p < programs.size(); ++p)
        std::printf("| %s | %.3f | %.4fx |\n", programs[p].c_str(), Median(times[p]),
                    Median(times[p]) / Median(times[0]));
    std::printf(
        "\n(medians of %d runs, the programs alternating; load average %.1f %.1f %.1f at "
        "the end)\n",
        runs, load[0], load[1], load[2]);
    return 0;
}
