// loggen: writes a realistic modem log, the same for the same options on every platform.
//   loggen [--seed N] [--start YYYY-MM-DD] [--days N] [--lines N] [--damage PER_MILLE] [--out FILE]
#include "tools/loggen/LogGenerator.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace {

int Usage(const std::string& problem) {
    std::cerr << "loggen: " << problem << "\n"
              << "usage: loggen [--seed N] [--start YYYY-MM-DD] [--days N] [--lines N]"
                 " [--damage PER_MILLE] [--out FILE]\n";
    return 2;
}

bool ParseNumber(const std::string& text, unsigned long long& value) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    value = std::strtoull(text.c_str(), nullptr, 10);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    loggen::Options options;
    std::string outPath;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (i + 1 >= argc)
            return Usage("missing value after " + arg);
        std::string value = argv[++i];
        unsigned long long n = 0;
        if (arg == "--out") {
            outPath = value;
        } else if (arg == "--start") {
            int y = 0, m = 0, d = 0;
            char tail = 0;
            if (std::sscanf(value.c_str(), "%4d-%2d-%2d%c", &y, &m, &d, &tail) != 3 || m < 1 ||
                m > 12 || d < 1 || d > 28 + 3 || y < 1900 || y > 9999)
                return Usage("bad date " + value);
            options.year = y, options.month = m, options.day = d;
        } else if (!ParseNumber(value, n)) {
            return Usage("bad number " + value + " for " + arg);
        } else if (arg == "--seed") {
            options.seed = n;
        } else if (arg == "--days") {
            options.days = static_cast<int>(n);
        } else if (arg == "--lines") {
            options.minLines = n;
        } else if (arg == "--damage") {
            if (n > 1000)
                return Usage("--damage is per mille (0 to 1000)");
            options.damagePerMille = static_cast<int>(n);
        } else {
            return Usage("unknown option " + arg);
        }
    }
    if (outPath.empty()) {
#ifdef _WIN32
        _setmode(_fileno(stdout), _O_BINARY);  // the log's own CR LF, not a translated one
#endif
        std::ios::sync_with_stdio(false);
        loggen::Generate(options, std::cout);
        return std::cout.good() ? 0 : 1;
    }
    std::ofstream out(outPath, std::ios::binary);
    if (!out)
        return Usage("cannot write " + outPath);
    loggen::Generate(options, out);
    out.close();
    if (!out) {
        std::cerr << "loggen: write failed: " << outPath << "\n";
        return 1;
    }
    return 0;
}
