// duvreport: runs one analysis headless and prints its tables or its report text.
//   duvreport --settings FILE.reg --log LOG --from YYYY-MM-DD --to YYYY-MM-DD
//             [--report summary|details|tables]
//   duvreport --help
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>
#include <iostream>
#include <string>

#include "analysis/DUVAnalyse.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/LineReader.h"
#include "core/LogFile.h"
#include "core/MessageBox.h"
#include "core/Locale.h"
#include "core/RegistryStore.h"
#include "core/Runtime.h"
#include "tools/duvreport/RegFile.h"
#include "tools/duvreport/Tables.h"

#if __has_include("analysis/Report.h")
#include "analysis/Report.h"
#define DUVREPORT_HAS_REPORTS 1
#endif

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

constexpr int kBadInput = 2;

int Fail(const std::string& message) {
    std::cerr << "duvreport: " << message << "\n";
    return kBadInput;
}

// After "cannot write the <what> ".
constexpr char kOutputLost[] = "to the standard output (disk full or output closed)\n";

constexpr char kNoReport[] = "no report: the log holds a damaged byte or an undated line";

constexpr char kUsage[] =
    "usage: duvreport --settings FILE.reg --log LOG --from YYYY-MM-DD --to YYYY-MM-DD"
    " [--report summary|details|tables]\n"
    "       duvreport --help\n";

int Usage(const std::string& problem) {
    std::cerr << "duvreport: " << problem << "\n" << kUsage;
    return kBadInput;
}

// The bytes of the settings file read to check its first line before it is read whole.
constexpr std::size_t kHeaderProbe = 4096;

// A log's length is a 32-bit number of bytes in the program.
constexpr std::int64_t kLargestLog = 2147483647;

// What the tool is reading, for the message when memory runs out.
std::string g_reading = "its arguments";

// A device, a pipe or a folder would block or make no sense as input: only files are read.
bool IsRegularFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(std::filesystem::path(path), error);
}

bool IsFolder(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_directory(std::filesystem::path(path), error);
}

// The first bytes of a file (fewer when it is shorter).
std::string FirstBytes(const std::string& path, std::size_t count) {
    std::ifstream in(path, std::ios::binary);
    std::string bytes(count, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(count));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return bytes;
}

// "YYYY-MM-DD" of a real calendar day.
bool ParseDate(const std::string& text, runtime::Date& date) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        if (text[i] < '0' || text[i] > '9')
            return false;
    int y = std::stoi(text.substr(0, 4)), m = std::stoi(text.substr(5, 2)),
        d = std::stoi(text.substr(8, 2));
    if (y < 100 || m < 1 || m > 12 || d < 1 || d > runtime::DaysInMonth(y, m))
        return false;
    date = runtime::DateSerial(y, m, d);
    return true;
}

int Run(int argc, char** argv) {
    std::string settingsPath, logPath, from, to, report = "tables";
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--help") {
            std::cout << kUsage;
            std::cout.flush();
            if (std::cout.good())
                return 0;
            std::cerr << "duvreport: cannot write the usage " << kOutputLost;
            return 1;
        }
        if (i + 1 >= argc)
            return Usage("missing value after " + arg);
        std::string value = argv[++i];
        if (arg == "--settings")
            settingsPath = value;
        else if (arg == "--log")
            logPath = value;
        else if (arg == "--from")
            from = value;
        else if (arg == "--to")
            to = value;
        else if (arg == "--report")
            report = value;
        else
            return Usage("unknown option " + arg);
    }
    if (settingsPath.empty() || logPath.empty() || from.empty() || to.empty())
        return Usage("--settings, --log, --from and --to are required");
    if (report != "tables" && report != "summary" && report != "details")
        return Usage("--report must be summary, details or tables");
    runtime::Date start = 0, end = 0;
    if (!ParseDate(from, start))
        return Fail("--from: not a date of the form YYYY-MM-DD: " + from);
    if (!ParseDate(to, end))
        return Fail("--to: not a date of the form YYYY-MM-DD: " + to);
    if (start > end)
        return Fail("--from " + from + " is after --to " + to);

    if (IsFolder(settingsPath))
        return Fail("the settings file " + settingsPath + " is a folder, not a file");
    const std::int64_t settingsLength = FileLengthOf(settingsPath);
    if (settingsLength >= 0 && !IsRegularFile(settingsPath))
        return Fail("the settings file " + settingsPath + " is not a regular file");
    if (settingsLength > static_cast<std::int64_t>(kHeaderProbe)) {
        const regfile::LoadResult start =
            regfile::CheckStart(FirstBytes(settingsPath, kHeaderProbe));
        if (!start.ok)
            return Fail(settingsPath + ":" + std::to_string(start.line) + ": " + start.message);
    }
    // Read as it is loaded, below: checked line by line, never held whole.
    std::ifstream settingsIn(settingsPath, std::ios::binary);
    if (!settingsIn)
        return Fail("cannot read the settings file " + settingsPath);
    if (IsFolder(logPath))
        return Fail("the log " + logPath + " is a folder, not a file");
    const std::int64_t logLength = FileLengthOf(logPath);
    if (logLength < 0)
        return Fail("cannot find the log " + logPath);
    if (!IsRegularFile(logPath))
        return Fail("the log " + logPath + " is not a regular file");
    if (logLength > kLargestLog)
        return Fail("the log " + logPath + " is 2 GB or larger (" + std::to_string(logLength) +
                    " bytes); logs of up to " + std::to_string(kLargestLog) + " bytes can be read");
    {
        std::ifstream probe(logPath, std::ios::binary);
        if (!probe)
            return Fail("cannot read the log " + logPath);
    }

#ifdef _WIN32
    regional::Install(regional::SystemLocaleSource());
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    registry::MemoryRegistry store;
    g_reading = "the settings file " + settingsPath;
    regfile::LoadResult loaded = regfile::Load(settingsIn, store);
    if (settingsIn.bad())
        return Fail("cannot read the settings file " + settingsPath);
    if (!loaded.ok)
        return Fail(settingsPath + ":" + std::to_string(loaded.line) + ": " + loaded.message);
    registry::InstallRegistry(&store);

    // Any run-time error ends the tool with its number and where it happened.
    runtime::SetErrorHandler([] { return 2; });
    runtime::SetEndProgram([] {});
    // Message boxes (the threshold warnings) are written to standard error.
    SetMessageBoxFunction([](const MessageCall& box) {
        std::cerr << "message: " << box.title << ": " << box.text << "\n";
        return FirstButton(box.flags);
    });
    try {
        duvreport::LoadSettings();
        g_reading = "the log " + logPath;
        DUVMain::LogFilePath = logPath;
        // As the program starts: no statistics of a log the check found damaged. No report
        // can come of such a log either: it is refused before the run reads it.
        runtime::Guard([] { DUVMain::LogCorrupt = DUVMain::CheckCorruption(false); });
        if (DUVMain::LogCorrupt && report != "tables")
            return Fail(kNoReport);
        if (!DUVMain::LogCorrupt)
            runtime::Guard([] { DUVMain::GetLogStats(false); });
        DUVMain::ReportStartDate = start;
        DUVMain::ReportEndDate = end;
        bool reportShown = false;
        DUVAnalyse::Window = duvreport::HeadlessWindow(std::cerr, reportShown);
        DUVAnalyse::Analyse();
        if (report == "tables") {
            duvreport::PrintTables(std::cout);
        } else {
            if (!reportShown)
                return Fail(kNoReport);
#ifdef DUVREPORT_HAS_REPORTS
            DUVAnalyse::ReportDays = static_cast<int32_t>(end - start) + 1;
            DUVAnalyse::ReportWindowCalls.ListRows = false;  // only the text is printed
            if (report == "summary")
                DUVAnalyse::DisplaySummaryReport();
            else
                DUVAnalyse::DisplayDetailReport();
            std::cout << DUVAnalyse::ReportText;
#else
            return Fail("the " + report + " report is not part of this build");
#endif
        }
    } catch (const runtime::ProgramEnded& e) {
        const runtime::RuntimeError& err = runtime::Err();
        std::cerr << "duvreport: run-time error " << e.number << " (" << err.description << ") in "
                  << DUVMain::ErrModuleName << "." << DUVMain::ErrProcName << ", step \""
                  << DUVMain::ErrStepName << "\"\n";
        return 1;
    }
    registry::InstallRegistry(nullptr);
    std::cout.flush();
    if (!std::cout.good()) {
        std::cerr << "duvreport: cannot write the " << (report == "tables" ? "tables" : "report")
                  << " " << kOutputLost;
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc, argv);
    } catch (const std::bad_alloc&) {
        std::cerr << "duvreport: out of memory while reading " << g_reading << "\n";
        return 1;
    }
}
