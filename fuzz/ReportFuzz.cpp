// Arbitrary bytes as a modem log through the analysis run and then both report builders:
// no crash, no undefined behaviour, and each report's text ends as its layout says.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "analysis/Report.h"
#include "fuzz/FuzzCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = (fuzz::Setup(), DUVAnalyse::ReportWindowCalls = {}, true);
    (void)ready;
    if (size < 2)
        return 0;
    fuzz::Settings(data[0]);
    // The second byte: the report range, 1 to 64 days from its start.
    DUVMain::ReportEndDate = DUVMain::ReportStartDate + (data[1] & 63);
    DUVAnalyse::ReportDays =
        static_cast<std::int32_t>(DUVMain::ReportEndDate - DUVMain::ReportStartDate) + 1;
    DUVMain::TimeFormat = (data[1] & 64) ? "h:mm:ss AMPM" : "Long Time";
    fuzz::Analyse(data + 2, size - 2);
    fuzz::CheckTables();
    DUVAnalyse::DisplaySummaryReport();
    const std::string summary = DUVAnalyse::ReportText;
    if (summary.rfind(" DUVELO - Summary Report\r\n", 0) != 0 ||
        summary.find(" TOTALS:") == std::string::npos)
        std::abort();
    DUVAnalyse::DisplayDetailReport();
    const std::string& details = DUVAnalyse::ReportText;
    if (details.rfind(" DUVELO - Details Report\r\n", 0) != 0 || details.size() < 4 ||
        details.compare(details.size() - 4, 4, "\r\n\r\n") != 0)
        std::abort();
    // The summary is built from the tables alone: building it again gives the same text.
    DUVAnalyse::DisplaySummaryReport();
    if (DUVAnalyse::ReportText != summary)
        std::abort();
    return 0;
}
