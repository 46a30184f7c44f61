// Throughput of the analysis run, the damaged-byte check and the log statistics on a large
// generated log, each as a ratio to "wc -l" over the same file measured in the same run.
//   duv_bench [--lines N] [--seed N] [--repeat N] [--log FILE] [--keep]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iostream>
#include <string>

#include "analysis/DUVAnalyse.h"
#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/LineReader.h"
#include "core/LogFile.h"
#include "core/Runtime.h"
#include "tools/loggen/LogGenerator.h"

namespace {

double BestSeconds(int repeat, const std::function<void()>& f)
{
    double best = 1e300;
    for (int i = 0; i < repeat; ++i) {
        auto t0 = std::chrono::steady_clock::now();
        f();
        auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double>(t1 - t0).count());
    }
    return best;
}

void Report(const char* name, double seconds, double lines, double bytes, double baseline)
{
    std::printf("%-16s %8.1f ms  %7.2f M lines/s  %7.1f MB/s  %5.2fx wc -l\n", name,
                seconds * 1e3, lines / seconds / 1e6, bytes / seconds / 1048576.0,
                seconds / baseline);
}

}  // namespace

int main(int argc, char** argv)
{
    unsigned long long lines = 1000000, seed = 1;
    int repeat = 5;
    std::string log;
    bool keep = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (a == "--lines")
            lines = std::strtoull(next().c_str(), nullptr, 10);
        else if (a == "--seed")
            seed = std::strtoull(next().c_str(), nullptr, 10);
        else if (a == "--repeat")
            repeat = std::max(1, std::atoi(next().c_str()));
        else if (a == "--log")
            log = next();
        else if (a == "--keep")
            keep = true;
        else {
            std::cerr << "usage: duv_bench [--lines N] [--seed N] [--repeat N] [--log FILE] [--keep]\n";
            return 2;
        }
    }
    bool generated = false;
    if (log.empty()) {
        log = "/tmp/duv_bench_" + std::to_string(seed) + "_" + std::to_string(lines) + ".log";
        loggen::Options o;
        o.seed = seed;
        o.year = 2000;
        o.minLines = lines;
        o.days = 1;
        std::ofstream out(log, std::ios::binary);
        loggen::Generate(o, out);
        generated = true;
    }
    const double bytes = static_cast<double>(FileLengthOf(log));

    runtime::SetErrorHandler([] { return 2; });
    CurrencyFormat::GetCurrencySymbolInfo();
    DUVMain::SetDefaultSettings();
    DUVMain::MaxServices = 50;
    DUVMain::Services.ReDim(DUVMain::MaxServices);
    DUVMain::UsedServices = 0;
    DUVMain::CalcCosts = true;
    DUVMain::MaxConnections = 32767;
    DUVMain::LogFilePath = log;

    const std::string wc = "wc -l < '" + log + "' > /dev/null";
    double wcSeconds = BestSeconds(repeat, [&] {
        if (std::system(wc.c_str()) != 0)
            std::exit(1);
    });
    bool corrupt = false;
    double checkSeconds = BestSeconds(repeat, [&] { corrupt = DUVMain::CheckCorruption(false); });
    double statsSeconds = BestSeconds(repeat, [] { DUVMain::GetLogStats(false); });
    const double count = DUVMain::LogLineCount;
    DUVMain::LogCorrupt = corrupt;
    DUVMain::ReportStartDate = DUVMain::FirstEntryDate;
    DUVMain::ReportEndDate = DUVMain::LastEntryDate;
    double analyseSeconds = BestSeconds(repeat, [] { DUVAnalyse::Analyse(); });

    std::printf("log %s: %.0f lines, %.1f MB, %d sessions in %d usage rows (%s)\n", log.c_str(),
                count, bytes / 1048576.0, DUVAnalyse::ConnIndex, DUVAnalyse::UsageCount,
                DUVAnalyse::ConnectionsOverflow ? "connection table FULL" : "all sessions");
    std::printf("best of %d runs\n", repeat);
    Report("wc -l", wcSeconds, count, bytes, wcSeconds);
    Report("Analyse", analyseSeconds, count, bytes, wcSeconds);
    Report("CheckCorruption", checkSeconds, count, bytes, wcSeconds);
    Report("GetLogStats", statsSeconds, count, bytes, wcSeconds);
    if (generated && !keep)
        std::remove(log.c_str());
    return DUVAnalyse::EntryCount == static_cast<int>(count) ? 0 : 1;
}
