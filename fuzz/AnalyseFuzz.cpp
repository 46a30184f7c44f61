// Arbitrary bytes as a modem log through the damaged-byte check, the statistics and the
// analysis run: no crash, no undefined behaviour, the tables never overrun. The first byte
// picks the settings; the rest is the log. Logs of odd and even length take the two keyword
// searches.
#include <cstdint>
#include <cstdlib>

#include "core/LogFile.h"
#include "fuzz/FuzzCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = (fuzz::Setup(), true);
    (void)ready;
    if (size == 0)
        return 0;
    fuzz::Settings(data[0]);
    DUVAnalyse::WideKeywordScan = size % 2 == 0;  // both keyword searches, by the log's length
    fuzz::LogFile().Write(data + 1, size - 1);
    DUVMain::LogFilePath = fuzz::LogFile().Path();
    DUVMain::LogCorrupt = DUVMain::CheckCorruption(false);
    runtime::Guard([] { DUVMain::GetLogStats(false); });  // as the program calls it
    if (DUVMain::LogLineCount < 0)
        std::abort();
    DUVMain::LogCorrupt = false;
    fuzz::Analyse(data + 1, size - 1);
    fuzz::CheckTables();
    return 0;
}
