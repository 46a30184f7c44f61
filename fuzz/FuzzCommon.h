// What the fuzz targets share: a temporary file of their own and the settings of a run.
#pragma once

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

namespace fuzz {

// A file made for this process alone (in TMPDIR, else /tmp) and removed when it ends.
class TempFile {
public:
    explicit TempFile(const char* suffix) {
        const char* dir = std::getenv("TMPDIR");
        std::string pattern = std::string(dir && *dir ? dir : "/tmp") + "/duv_fuzz_XXXXXX" + suffix;
        const int fd =
            mkstemps(pattern.data(), static_cast<int>(std::char_traits<char>::length(suffix)));
        if (fd < 0)
            std::abort();
        close(fd);
        path_ = pattern;
    }
    ~TempFile() { std::remove(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& Path() const { return path_; }

    // Replaces the file's contents.
    void Write(const std::uint8_t* data, std::size_t size) const {
        std::FILE* f = std::fopen(path_.c_str(), "wb");
        if (!f)
            std::abort();
        if (size > 0)
            std::fwrite(data, 1, size, f);
        std::fclose(f);
    }

private:
    std::string path_;
};

// One run's log: its own file, removed at exit also when libFuzzer ends the process by exit().
inline const TempFile& LogFile() {
    static const TempFile file(".log");
    return file;
}

// English regional names, every run-time error skipped, no windows.
inline void Setup() {
    runtime::SetErrorHandler([] { return runtime::kActionSkip; });
    CurrencyFormat::GetCurrencySymbolInfo();
    DUVMain::SetDefaultSettings();
    const char* abbrevs[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    const char* names[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                           "Friday", "Saturday", "Sunday"};
    for (int i = 1; i <= 7; ++i) {
        DUVMain::DayAbbrevs[i] = abbrevs[i - 1];
        DUVMain::DayNames[i] = names[i - 1];
    }
    DUVAnalyse::Window = DUVAnalyse::RunWindow{};
}

// The settings of one run, picked by one byte: table limits, errors shown, costs, look-back,
// assumed duration and data; two services, one priced by tariffs, allowances and blocks.
inline void Settings(std::uint8_t pick) {
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

// The log as the run reads it: written to the run's file, its line count estimated from
// its line ends, then one analysis run.
inline void Analyse(const std::uint8_t* log, std::size_t size) {
    LogFile().Write(log, size);
    float lines = 0;
    for (std::size_t i = 0; i < size; ++i)
        lines += log[i] == '\r';
    DUVMain::LogFilePath = LogFile().Path();
    DUVMain::LogLineCount = lines + 1;
    DUVAnalyse::Analyse();
}

// The tables of the last run stay inside their limits.
inline void CheckTables() {
    if (DUVAnalyse::ConnIndex < 0 || DUVAnalyse::ConnIndex > DUVMain::MaxConnections ||
        DUVAnalyse::UsageCount < 0 || DUVAnalyse::UsageCount > DUVMain::MaxServices ||
        DUVAnalyse::Connections.size() > static_cast<std::size_t>(DUVMain::MaxConnections) + 1 ||
        DUVAnalyse::Connections.size() <= static_cast<std::size_t>(DUVAnalyse::ConnIndex) ||
        DUVAnalyse::ServiceUsage.size() != static_cast<std::size_t>(DUVMain::MaxServices) + 1)
        std::abort();
    for (int i = 1; i <= DUVAnalyse::ConnIndex; ++i) {
        // No session without its connect line reaches the tables.
        const DUVAnalyse::ConnectionRecord& r =
            DUVAnalyse::Connections[static_cast<std::size_t>(i)];
        if (r.ConnectDate == 0 && !r.Service.empty())
            std::abort();
    }
    for (int i = 0; i <= DUVAnalyse::UsageCount; ++i)
        if (DUVAnalyse::ServiceUsage[static_cast<std::size_t>(i)].Seconds < 0)
            std::abort();  // no session takes time off a total
}

}  // namespace fuzz
