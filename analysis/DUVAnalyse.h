// DUVAnalyse: the analysis run, its tables and the lookups shared with pricing and reports.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/UserFeedback.h"

namespace DUVAnalyse {

// A date as a day count since 30 December 1899 in a double (the fraction is the time of day).
using Date = double;

// One session of the last run (rows 1 to ConnIndex of Connections; row 0 is never a session).
struct ConnectionRecord {
    Date ConnectDate = 0;
    Date ConnectTime = 0;
    Date DisconnectDate = 0;
    Date DisconnectTime = 0;
    std::string Service;
    std::string Notes;
    bool Answered = false;
    int32_t BytesRead = 0;
    int32_t BytesWritten = 0;
    int32_t FreeSeconds = 0;
};

// Totals of one dialled number (row 0: sessions without a dialled number).
struct ServiceUsageRecord {
    std::string Number;
    std::string AltNumber;
    int32_t Seconds = 0;
    int32_t Sessions = 0;
    double TotalCost = 0;
    double DialCost = 0;
    double ServiceCost = 0;
    int64_t BytesRead = 0;  // the sum over a long log passes 2 GB
    int32_t Blocks = 0;
    int32_t FreeSeconds = 0;
};

// One cell of the period usage table. 64-bit: one period can hold more than 2 GB read.
struct PenaltyRecord {
    int64_t Seconds = 0;
    int64_t Bytes = 0;
};

// The period usage table: period number (0 upwards) by service index (0 to MaxServices).
// Created with periods 0 to 100; a later period gets its own cells when first touched. Each
// service keeps its own column of periods, made as far as the service was booked, so that
// services never booked take no memory.
class PenaltyTable {
public:
    static constexpr int32_t InitialPeriods = 101;

    // Re-creates the table empty: periods 0 to 100 by services 0 to maxService, each column
    // with room for the periods expected once it is booked, so that it grows in place up to
    // them.
    void Create(int32_t maxService, int32_t expectedPeriods = 0);
    // The cell of (period, service). A period above the last one grows the table; a
    // negative period or a service outside 0 to maxService raises error 9.
    PenaltyRecord& operator()(int32_t period, int32_t service);
    const PenaltyRecord& At(int32_t period, int32_t service) const;
    int32_t Periods() const { return periods_; }
    int32_t ServiceCount() const { return static_cast<int32_t>(columns_.size()); }

private:
    int32_t periods_ = 0;
    int32_t expectedPeriods_ = 0;
    std::vector<std::vector<PenaltyRecord>> columns_;
};

// ---- tables (filled by a run, kept for the report builders until the next run) ----
// Records 0 to the highest one the last run reached (at most MaxConnections).
extern std::vector<ConnectionRecord> Connections;
extern std::vector<ServiceUsageRecord> ServiceUsage;  // 0 to MaxServices
extern PenaltyTable Penalties;

// ---- module state of a run ----
extern bool ContinueRun;
extern int32_t EntryCount;
extern int32_t ProgressChunk;
extern std::string CurrentLine;  // upper-cased; set for each line that holds a keyword
extern Date LineDate;
extern Date LineTime;
extern Date SessionConnectDate;
extern Date SessionConnectTime;
extern Date SessionDisconnectDate;
extern Date SessionDisconnectTime;
extern bool Connected;
extern bool Answered;
extern bool Dialled;
extern int32_t CurrentUsageRow;
extern int32_t LastUsageRow;
extern int32_t UsageCount;
extern int32_t ConnIndex;
extern bool ServicesOverflow;
extern bool ConnectionsOverflow;
extern bool ErrorsFound;
extern bool TariffIncomplete;
extern bool ShowBlocks;
extern int32_t SessionSeconds;
extern double SessionDialCost;
extern double SessionServiceCost;
extern double SessionDataCost;
extern int32_t BlockMinutes;
extern int32_t BlockCount;

// Whether the keyword search may take 32 bytes at a time where the processor has AVX2 (on by
// default; tests turn it off to run the sixteen-byte search).
extern bool WideKeywordScan;

// The text of the last report built (summary or details), lines ended by CR LF.
extern std::string ReportText;

// ---- what the run asks of the windows ----
// Every member may be empty (nothing happens). The program's main window fills it in.
// The hourglass and letting events run are the program's user feedback (core/UserFeedback.h).
struct RunWindow {
    ProgressDisplay Progress;
    std::function<void(const std::string& text)> SetStatusText;
    std::function<void()> WarnMaxServices;
    std::function<void()> WarnMaxConnections;
    std::function<void()> WarnTariffsIncomplete;
    std::function<void()> ShowReport;
};
extern RunWindow Window;
// A RunWindow whose three warnings are the standard warning messages and the rest empty.
RunWindow DefaultRunWindow();

// ---- pricing called by the run ----
// Defaults are the costing functions; tests of session building may put their own in.
struct PricingCalls {
    // Dial-up cost of a session; negative when its tariffs do not cover it.
    std::function<double(const std::string& number, Date connectDate, Date connectTime,
                         Date disconnectDate, Date disconnectTime, int32_t connIndex)>
        GetDialupCost;
    std::function<double(const std::string& number, int32_t seconds, Date date)> GetServiceCost;
    std::function<double(const std::string& number, double bytes, Date date)> GetDataCost;
    std::function<void()> CheckUserWarnings;
};
extern PricingCalls Pricing;
PricingCalls DefaultPricing();

// ---- the run ----
// The tables, the run's values, the report and the warnings as at program start.
void ResetState();
void Analyse();
// Reads and handles the next line; false when no line could be read (the end of the file).
bool Process();
void StartSession();
void GetLineTime();
void ClearSessionVars();
void ClearAnalysisArrays();

// ---- lookups, counts and notes ----
int32_t FindService(const std::string& number);
// While a scope lives, FindService looks the scope's number up once: that very string,
// which must not change meanwhile, nor the services.
class ServiceLookupScope {
public:
    explicit ServiceLookupScope(const std::string& number);
    ~ServiceLookupScope();
    ServiceLookupScope(const ServiceLookupScope&) = delete;
    ServiceLookupScope& operator=(const ServiceLookupScope&) = delete;

    struct State {
        const std::string* number = nullptr;
        bool known = false;
        int32_t index = -1;
    };

private:
    State outer_;
};
// The first usage row from 1 to last whose number, or whose other number, is `number`
// without outer blanks; 0 when none. An empty number matches no row by its other number.
int32_t FindUsageRow(std::string_view number, int32_t last);
std::string GetAltNumber(const std::string& number);
std::string GetServiceName(const std::string& number);
bool IsDialNumber(std::string_view text);
int32_t GetBytesRead(std::string_view line);
int32_t GetBytesWritten(std::string_view line);
int32_t GetBlockMinutes(const std::string& number);
int32_t GetBlockCount(int32_t minutes, int32_t seconds);
int32_t GetFreeSeconds(const std::string& number, Date connectTime, Date disconnectTime);
float GetSessionSeconds(int32_t connIndex);

// True when a session's disconnect is stamped before its connect (the clock was set back);
// such a session counts 0 seconds.
bool DisconnectBeforeConnect(Date connectDate, Date connectTime, Date disconnectDate,
                             Date disconnectTime);
// The whole days strictly between the connect and the disconnect date that lie inside the
// report range.
int32_t WholeDaysInRange(Date connectDate, Date disconnectDate);
std::string TidyNotes(const std::string& notes);
// Appends a byte count in whole kilobytes as Format(bytes / 1024, "#,##0") writes it.
void AppendKiloBytes(std::string& out, int32_t bytes);

// The number dialled on a dial line: the text after the dial keyword, skipping the one
// character after it (the dial-mode letter) and the line's last character, cut before
// the first "<". Empty when the keyword is not in the line.
std::string DialledNumber(std::string_view line, std::string_view dialKeyword);

}  // namespace DUVAnalyse
