// Arbitrary bytes as a modem log through the analysis run: no crash, no undefined behaviour,
// the tables never overrun. The first byte picks the settings; the rest is the log.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "analysis/DUVAnalyse.h"
#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/Runtime.h"

namespace {

std::string LogPath()
{
    const char* dir = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    return std::string(dir) + "/duv_fuzz_" + std::to_string(getpid()) + ".log";
}

void Setup()
{
    runtime::SetErrorHandler([] { return runtime::kActionSkip; });
    CurrencyFormat::GetCurrencySymbolInfo();
    DUVMain::SetDefaultSettings();
    const char* abbrevs[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const char* names[] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
    for (int i = 1; i <= 7; ++i) {
        DUVMain::DayAbbrevs[i] = abbrevs[i - 1];
        DUVMain::DayNames[i] = names[i - 1];
    }
    DUVAnalyse::Window = DUVAnalyse::RunWindow{};
}

void Settings(std::uint8_t pick)
{
    DUVMain::MaxServices = (pick & 1) ? 3 : 20;
    DUVMain::MaxConnections = (pick & 2) ? 4 : 500;
    DUVMain::ShowErrors = (pick & 4) != 0;
    DUVMain::CalcCosts = (pick & 8) != 0;
    DUVMain::MaxConnectDays = static_cast<std::int16_t>((pick >> 4) & 3);
    DUVMain::NoDisconDuration = (pick & 64) ? 90000 : 900;
    DUVMain::NoDisconData = (pick & 128) ? 3000 : 0;
    DUVMain::Services.ReDim(DUVMain::MaxServices);
    DUVMain::UsedServices = 2;
    ServiceRecord& a = DUVMain::Services[0];
    a.ServiceName = "Net";
    a.ServiceNumber = "0123456";
    a.ServiceAltNumber = "";
    a.DialOption = 2;
    a.UsedTariffs = 2;
    a.Tariffs[1].AppliesDays = "Everyday";
    a.Tariffs[1].AppliesTimeStart = runtime::TimeSerial(0, 0, 0);
    a.Tariffs[1].AppliesTimeEnd = runtime::TimeSerial(11, 59, 0);
    a.Tariffs[1].PerMinuteRate = 0.02;
    a.Tariffs[1].Unit = "Per Minute";
    a.Tariffs[2].AppliesDays = "Mon-Fri";
    a.Tariffs[2].AppliesTimeStart = runtime::TimeSerial(12, 0, 0);
    a.Tariffs[2].AppliesTimeEnd = runtime::TimeSerial(23, 59, 0);
    a.Tariffs[2].PerMinuteRate = 0.05;
    a.Tariffs[2].Unit = "Unit";
    a.Tariffs[2].UnitMins = 3;
    a.ServiceOption = 2;
    a.FlexRate = 1;
    a.UpToHours = 1;
    a.PenaltyPeriod = "Day";
    a.FlexRate2 = 2;
    a.PerMeg = 0.1;
    a.AfterMeg = 1;
    a.MegPeriod = "Week";
    a.Block = 5;
    a.FreePeriod = true;
    a.FreeStart = runtime::TimeSerial(22, 0, 0);
    a.FreeEnd = runtime::TimeSerial(6, 0, 0);
    ServiceRecord& b = DUVMain::Services[1];
    b.ServiceName = "Other";
    b.ServiceNumber = "0777";
    b.ServiceAltNumber = "0888";
    b.DialOption = 1;
    b.DialFixedTariff = 0.1;
    b.ServiceOption = 1;
    b.ServiceRate = 1.5;
    b.MegPeriod = "Session";
    DUVMain::ReportStartDate = runtime::DateSerial(2026, 12, 1);
    DUVMain::ReportEndDate = runtime::DateSerial(2026, 12, 31);
    DUVMain::LogCorrupt = false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = LogPath();
    static const bool ready = (Setup(), true);
    (void)ready;
    if (size == 0)
        return 0;
    Settings(data[0]);
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    std::fwrite(data + 1, 1, size - 1, f);
    std::fclose(f);
    float lines = 0;
    for (std::size_t i = 1; i < size; ++i)
        lines += data[i] == '\r';
    DUVMain::LogFilePath = path;
    DUVMain::LogLineCount = lines + 1;
    DUVAnalyse::Analyse();
    if (DUVAnalyse::ConnIndex < 0 || DUVAnalyse::ConnIndex > DUVMain::MaxConnections ||
        DUVAnalyse::UsageCount < 0 || DUVAnalyse::UsageCount > DUVMain::MaxServices ||
        DUVAnalyse::Connections.size() != static_cast<std::size_t>(DUVMain::MaxConnections) + 1 ||
        DUVAnalyse::ServiceUsage.size() != static_cast<std::size_t>(DUVMain::MaxServices) + 1)
        std::abort();
    for (int i = 1; i <= DUVAnalyse::ConnIndex; ++i) {
        // No session without its connect line reaches the tables.
        const DUVAnalyse::ConnectionRecord& r = DUVAnalyse::Connections[static_cast<std::size_t>(i)];
        if (r.ConnectDate == 0 && !r.Service.empty())
            std::abort();
    }
    return 0;
}
