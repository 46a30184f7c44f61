// The analysis run: reads the log line by line, cuts it into sessions and fills the tables.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "analysis/Costing.h"
#include "analysis/DUVAnalyse.h"
#include "analysis/KeywordFinder.h"
#include "analysis/Report.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/GeneralFunctions.h"
#include "core/LineReader.h"
#include "core/LogFile.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"
#include "core/Warnings.h"

namespace DUVAnalyse {

// ---- tables and module state ----
std::vector<ConnectionRecord> Connections;
std::vector<ServiceUsageRecord> ServiceUsage;
PenaltyTable Penalties;

bool ContinueRun = false;
int32_t EntryCount = 0;
int32_t ProgressChunk = 0;
std::string CurrentLine;
Date LineDate = 0;
Date LineTime = 0;
Date SessionConnectDate = 0;
Date SessionConnectTime = 0;
Date SessionDisconnectDate = 0;
Date SessionDisconnectTime = 0;
bool Connected = false;
bool Answered = false;
bool Dialled = false;
int32_t CurrentUsageRow = 0;
int32_t LastUsageRow = 0;
int32_t UsageCount = 0;
int32_t ConnIndex = 0;
bool ServicesOverflow = false;
bool ConnectionsOverflow = false;
bool ErrorsFound = false;
bool TariffIncomplete = false;
bool ShowBlocks = false;
int32_t SessionSeconds = 0;
double SessionDialCost = 0;
double SessionServiceCost = 0;
double SessionDataCost = 0;
int32_t BlockMinutes = 0;
int32_t BlockCount = 0;
std::string ReportText;
bool WideKeywordScan = true;

// Every table and value of a run back to its state at program start, with the report and the
// warnings built from them; the seams (Window, Pricing, ReportWindowCalls) stay installed.
void ResetState() {
    Connections = {};
    ServiceUsage = {};
    Penalties = {};
    ContinueRun = {};
    EntryCount = {};
    ProgressChunk = {};
    CurrentLine = {};
    LineDate = {};
    LineTime = {};
    SessionConnectDate = {};
    SessionConnectTime = {};
    SessionDisconnectDate = {};
    SessionDisconnectTime = {};
    Connected = {};
    Answered = {};
    Dialled = {};
    CurrentUsageRow = {};
    LastUsageRow = {};
    UsageCount = {};
    ConnIndex = {};
    ServicesOverflow = {};
    ConnectionsOverflow = {};
    ErrorsFound = {};
    TariffIncomplete = {};
    ShowBlocks = {};
    SessionSeconds = {};
    SessionDialCost = {};
    SessionServiceCost = {};
    SessionDataCost = {};
    BlockMinutes = {};
    BlockCount = {};
    ReportText = {};
    ReportDays = 0;
    Report = {};
    WarningLines.clear();
}

// ---- the period usage table ----
void PenaltyTable::Create(int32_t maxService, int32_t expectedPeriods) {
    periods_ = InitialPeriods;
    expectedPeriods_ = expectedPeriods;
    // Columns kept from before keep their room.
    columns_.resize(static_cast<std::size_t>(std::max<int32_t>(maxService, 0)) + 1);
    for (std::vector<PenaltyRecord>& column : columns_)
        column.clear();
}

PenaltyRecord& PenaltyTable::operator()(int32_t period, int32_t service) {
    if (period < 0 || service < 0 || service >= ServiceCount())
        runtime::Raise(runtime::kErrSubscript);
    periods_ = std::max(periods_, period + 1);
    std::vector<PenaltyRecord>& column = columns_[static_cast<std::size_t>(service)];
    const auto row = static_cast<std::size_t>(period);
    if (row >= column.size()) {
        // Room for the periods expected, up to 65,536 (1 MB).
        if (column.capacity() == 0)
            column.reserve(static_cast<std::size_t>(
                std::clamp(expectedPeriods_, InitialPeriods, int32_t{1} << 16)));
        column.resize(row + 1);
    }
    return column[row];
}

const PenaltyRecord& PenaltyTable::At(int32_t period, int32_t service) const {
    static const PenaltyRecord empty{};
    if (period < 0 || service < 0 || service >= ServiceCount())
        runtime::Raise(runtime::kErrSubscript);
    const std::vector<PenaltyRecord>& column = columns_[static_cast<std::size_t>(service)];
    const auto row = static_cast<std::size_t>(period);
    return row < column.size() ? column[row] : empty;
}

// ---- seams ----
RunWindow DefaultRunWindow() {
    RunWindow w;
    w.WarnMaxServices = [] { DUVMain::WarnMaxServices(); };
    w.WarnMaxConnections = [] { DUVMain::WarnMaxConnections(); };
    w.WarnTariffsIncomplete = [] { DUVMain::WarnTariffsIncomplete(); };
    return w;
}
RunWindow Window = DefaultRunWindow();

PricingCalls DefaultPricing() {
    PricingCalls p;
    p.GetDialupCost = [](const std::string& number, Date cd, Date ct, Date dd, Date dt,
                         int32_t connIndex) {
        return GetDialupCost(number, cd, ct, dd, dt, connIndex);
    };
    p.GetServiceCost = [](const std::string& number, int32_t seconds, Date date) {
        return GetServiceCost(number, seconds, date);
    };
    p.GetDataCost = [](const std::string& number, double bytes, Date date) {
        return GetDataCost(number, bytes, date);
    };
    p.CheckUserWarnings = [] { CheckUserWarnings(); };
    return p;
}
PricingCalls Pricing = DefaultPricing();

namespace {

constexpr int32_t kDaySeconds = 86400;
constexpr int32_t kReadsWindowSeconds = 20;

// What a run keeps apart from the module state: the open log, the keywords as they were
// when the run began, the entry at which progress shows next and the last date read.
struct RunContext {
    LineReader* reader = nullptr;
    KeywordFinder keywords;
    std::string_view line;        // the line being processed, as read
    std::uint64_t lineStart = 0;  // its offset in the file
    int64_t nextProgress = 0;
    char dateKey[DUVMain::LogLineDateLength] = {};
    bool dateKnown = false;
    Date dateValue = 0;
};
RunContext run;

constexpr std::string_view kLogEntryStep = "Log Entry:";

void CaptureRunSettings() {
    run.keywords.Set({DUVMain::ModemConnect, DUVMain::ModemAnswer, DUVMain::ModemUserDisconnect,
                      DUVMain::ModemHostDisconnect, DUVMain::ModemDial, DUVMain::ModemReads,
                      DUVMain::ModemWrites});
    run.dateKnown = false;
    run.nextProgress = ProgressChunk;
}

// The date of a line whose stamp is not the one read last.
[[gnu::noinline]] Date NewDateOfLine(std::string_view line) {
    constexpr std::size_t n = DUVMain::LogLineDateLength;
    Date d = DUVMain::GetLogLineDate(line);
    run.dateKnown = line.size() >= n;
    if (run.dateKnown) {
        std::memcpy(run.dateKey, line.data(), n);
        run.dateValue = d;
    }
    return d;
}

// Whether the line starts with the date stamp read last. Consecutive lines of one day share
// their date stamp, which is read once.
bool SameStamp(std::string_view line) {
    constexpr std::size_t n = DUVMain::LogLineDateLength;
    static_assert(n == 10);
    if (line.size() < n || !run.dateKnown)
        return false;
    // The stamp compared as eight bytes and two.
    std::uint64_t a = 0, b = 0;
    std::uint16_t c = 0, d = 0;
    std::memcpy(&a, run.dateKey, 8);
    std::memcpy(&b, line.data(), 8);
    std::memcpy(&c, run.dateKey + 8, 2);
    std::memcpy(&d, line.data() + 8, 2);
    return a == b && c == d;
}

// Runs one statement of the per-line work under the central error handler; the step name
// is the log entry being processed.
template <class F>
void Statement(F&& f) {
    try {
        f();
        return;
    } catch (const runtime::RuntimeError& e) {
        runtime::SetContext("DUVAnalyse", "Process");
        runtime::SetCountedStep(kLogEntryStep, EntryCount);
        if (!runtime::HandleGuardedError(e))
            return;
    }
    runtime::Guard(f);
}

// One statement of the session start: a failure skips it without a message.
template <class F>
void Quietly(F&& f) {
    try {
        f();
    } catch (const runtime::RuntimeError&) {
    }
}

// The table holds the records up to the highest one a run reached; a record above it is
// made, empty, when first reached, up to MaxConnections.
ConnectionRecord& Conn(int32_t i) {
    if (i < 0 || i > std::max<int32_t>(DUVMain::MaxConnections, 0))
        runtime::Raise(runtime::kErrSubscript);
    const auto index = static_cast<std::size_t>(i);
    if (index == Connections.size())
        Connections.emplace_back();
    else if (index > Connections.size())
        Connections.resize(index + 1);
    return Connections[index];
}

ServiceUsageRecord& Usage(int32_t i) {
    if (i < 0 || static_cast<std::size_t>(i) >= ServiceUsage.size())
        runtime::Raise(runtime::kErrSubscript);
    return ServiceUsage[static_cast<std::size_t>(i)];
}

int32_t TimeSeconds(Date time) { return static_cast<int32_t>(RoundHalfAway(time * kDaySeconds)); }

// A 32-bit sum; beyond the range it is the overflow error.
int32_t Add32(int32_t a, int64_t b) {
    const int64_t sum = static_cast<int64_t>(a) + b;
    if (sum < INT32_MIN || sum > INT32_MAX)
        runtime::Raise(runtime::kErrOverflow);
    return static_cast<int32_t>(sum);
}

// Room in a session's notes for `more` characters. Beyond the inline buffer the notes take
// the length needed, to the heap's 16-byte step less its 8-byte header, not twice their room.
void RoomInNotes(std::string& notes, std::size_t more) {
    const std::size_t need = notes.size() + more;
    if (need <= notes.capacity())
        return;
    std::string grown(((need + 8) | 15) - 8, '\0');
    grown.assign(notes);
    notes = std::move(grown);
}

// Appends the parts of a note to a session's notes.
void AppendNote(std::string& notes, std::initializer_list<std::string_view> parts) {
    std::size_t more = 0;
    for (std::string_view part : parts)
        more += part.size();
    RoomInNotes(notes, more);
    Append(notes, parts);
}

// Appends a note of a byte count: the prefix, the count in whole kilobytes and "K".
void AppendKiloBytesNote(std::string& notes, std::string_view prefix, int32_t bytes) {
    std::string kilo;
    AppendKiloBytes(kilo, bytes);
    AppendNote(notes, {prefix, kilo, "K"});
}

void RestoreProcessContext() { runtime::SetContext("DUVAnalyse", "Process"); }

// Discards everything gathered so far: the sessions before this point lie wholly before
// the report range.
void ResetTables() {
    ConnIndex = 0;
    ClearSessionVars();
    ClearAnalysisArrays();
    UsageCount = 0;
    ErrorsFound = false;
    LastUsageRow = 0;
    Penalties.Create(DUVMain::MaxServices);
}

// The periods a service can count in the report range, at the shortest period any service
// counts by (sessions still open at its end included); a hint only, 0 when a date of the
// range cannot be counted.
int32_t PeriodsOfTheRange() {
    int32_t periods = 0;
    const Date last = DUVMain::ReportEndDate + std::max<int32_t>(DUVMain::MaxConnectDays, 0);
    try {
        for (int32_t i = 0; i <= DUVMain::Services.UBound() && i < DUVMain::UsedServices; ++i) {
            const ServiceRecord& service = DUVMain::Services[i];
            for (const std::string* kind : {&service.PenaltyPeriod, &service.MegPeriod})
                periods = std::max(periods, GetPeriodIndex(last, *kind) + 1);
        }
    } catch (const runtime::RuntimeError&) {
        return 0;
    }
    return periods;
}

// The seconds of the closing session inside the report range.
int32_t SecondsInRange(Date cd, Date ct, Date dd, Date dt) {
    if (DisconnectBeforeConnect(cd, ct, dd, dt))
        return 0;
    if (cd == dd)
        return TimeSeconds(dt) - TimeSeconds(ct);
    int64_t seconds = static_cast<int64_t>(WholeDaysInRange(cd, dd)) * kDaySeconds;
    if (cd >= DUVMain::ReportStartDate)
        seconds += kDaySeconds - TimeSeconds(ct);
    if (dd <= DUVMain::ReportEndDate)
        seconds += TimeSeconds(dt);
    if (seconds < INT32_MIN || seconds > INT32_MAX)
        runtime::Raise(runtime::kErrOverflow);
    return static_cast<int32_t>(seconds);
}

// Steps shared by both closes: charge blocks, the usage row's counts and the block seconds.
void CountBlocks(ConnectionRecord& rec, ServiceUsageRecord& row, const std::string& number) {
    Statement([&] { BlockMinutes = GetBlockMinutes(number); });
    Statement([&] { BlockCount = GetBlockCount(BlockMinutes, SessionSeconds); });
    Statement([&] {
        if (BlockCount > 0) {
            ShowBlocks = true;
            AppendNote(rec.Notes, {" - ", std::to_string(BlockCount), "B x ",
                                   std::to_string(BlockMinutes), "Min -"});
        }
    });
    Statement([&] {
        row.Sessions = Add32(row.Sessions, 1);
        row.Seconds = Add32(row.Seconds, SessionSeconds);
        row.Blocks = Add32(row.Blocks, BlockCount);
    });
    Statement([&] {
        if (BlockMinutes > 0) {
            const int64_t seconds = static_cast<int64_t>(BlockMinutes) * 60 * BlockCount;
            SessionSeconds = Add32(0, seconds);
        }
    });
}

// Chargeable seconds never go below 0 (free seconds come from the times of day, the
// session's seconds from the part inside the report range).
int32_t ChargeableSeconds(const ConnectionRecord& rec) {
    return std::max<int32_t>(SessionSeconds - rec.FreeSeconds, 0);
}

// The open session's connection record and usage row; when the tables cannot give them the
// session is dropped.
bool OpenSessionRecords(ConnectionRecord*& rec, ServiceUsageRecord*& row) {
    Statement([&] {
        rec = &Conn(ConnIndex);
        row = &Usage(CurrentUsageRow);
    });
    if (!rec || !row) {
        ClearSessionVars();
        return false;
    }
    return true;
}

// A disconnect line while connected.
void NormalClose() {
    Statement([&] { GetLineTime(); });
    SessionDisconnectDate = LineDate;
    SessionDisconnectTime = LineTime;
    if (SessionDisconnectDate < DUVMain::ReportStartDate) {
        ResetTables();
        return;
    }
    ConnectionRecord* recp = nullptr;
    ServiceUsageRecord* rowp = nullptr;
    if (!OpenSessionRecords(recp, rowp)) {
        return;
    }
    ConnectionRecord& rec = *recp;
    ServiceUsageRecord& row = *rowp;
    const std::string number = row.Number;
    const ServiceLookupScope lookup(number);  // the session's service, looked up once
    rec.DisconnectDate = SessionDisconnectDate;
    rec.DisconnectTime = SessionDisconnectTime;
    Statement([&] {
        SessionSeconds = SecondsInRange(rec.ConnectDate, rec.ConnectTime, rec.DisconnectDate,
                                        rec.DisconnectTime);
    });
    // A session stamped backwards has no length, so no free time either.
    Statement([&] {
        rec.FreeSeconds = DisconnectBeforeConnect(rec.ConnectDate, rec.ConnectTime,
                                                  rec.DisconnectDate, rec.DisconnectTime)
                              ? 0
                              : GetFreeSeconds(number, rec.ConnectTime, rec.DisconnectTime);
        if (rec.FreeSeconds > 0)
            AppendNote(rec.Notes,
                       {" - Free:", GeneralFunctions::FormatTime(rec.FreeSeconds, false)});
        row.FreeSeconds = Add32(row.FreeSeconds, rec.FreeSeconds);
    });
    Statement([&] {
        const double cost = Pricing.GetDialupCost
                                ? Pricing.GetDialupCost(number, rec.ConnectDate, rec.ConnectTime,
                                                        rec.DisconnectDate, rec.DisconnectTime, 0)
                                : 0.0;
        RestoreProcessContext();
        SessionDialCost = std::fabs(cost);
        if (std::signbit(cost)) {
            TariffIncomplete = true;
            rec.Notes = " ERROR - Incomplete Tariff -";
        }
    });
    CountBlocks(rec, row, number);
    Statement([&] {
        SessionServiceCost =
            Pricing.GetServiceCost
                ? Pricing.GetServiceCost(number, ChargeableSeconds(rec), rec.ConnectDate)
                : 0.0;
        RestoreProcessContext();
    });
    row.TotalCost += SessionDialCost + SessionServiceCost;
    row.DialCost += SessionDialCost;
    row.ServiceCost += SessionServiceCost;
    ClearSessionVars();
}

// A session that got no disconnect entry: closed with the assumed duration and data, each
// multiplied by 1 when errors are shown and by 0 when not. Returns true when the line form
// found the session before the report start and reset the tables.
void ErrorClose(bool lineForm) {
    const double f = DUVMain::ShowErrors ? 1.0 : 0.0;
    ConnectionRecord* recp = nullptr;
    ServiceUsageRecord* rowp = nullptr;
    if (!OpenSessionRecords(recp, rowp)) {
        return;
    }
    ConnectionRecord& rec = *recp;
    ServiceUsageRecord& row = *rowp;
    const std::string number = row.Number;
    const ServiceLookupScope lookup(number);  // the session's service, looked up once
    Statement([&] {
        rec.Notes = " ERROR - No Disconnect Entry -";
        rec.BytesRead = runtime::CLng(DUVMain::NoDisconData * f * 1024);
        if (rec.BytesRead > 0)
            AppendKiloBytesNote(rec.Notes, " R:", rec.BytesRead);
    });
    Statement([&] {
        const int32_t c = TimeSeconds(rec.ConnectTime);
        const double r = kDaySeconds - c;
        const double assumed = DUVMain::NoDisconDuration * f;
        if (r > assumed) {
            rec.DisconnectDate = rec.ConnectDate;
            rec.DisconnectTime = (c + assumed) / kDaySeconds;
        } else {
            // Past midnight, whole days carried into the date.
            const double end = c + DUVMain::NoDisconDuration;
            const double days = std::floor(end / kDaySeconds);
            rec.DisconnectDate = rec.ConnectDate + days;
            rec.DisconnectTime = (end - days * kDaySeconds) / kDaySeconds;
        }
        SessionDisconnectDate = rec.DisconnectDate;
        SessionDisconnectTime = rec.DisconnectTime;
    });
    ErrorsFound = true;
    Statement([&] { SessionSeconds = runtime::CLng(DUVMain::NoDisconDuration * f); });
    // With the assumed values off the session has no length, so no free time either.
    Statement([&] {
        rec.FreeSeconds = f > 0 ? GetFreeSeconds(number, rec.ConnectTime, rec.DisconnectTime) : 0;
        if (rec.FreeSeconds > 0)
            AppendNote(rec.Notes,
                       {" - Free:", GeneralFunctions::FormatTime(rec.FreeSeconds, false)});
        row.FreeSeconds = Add32(row.FreeSeconds, rec.FreeSeconds);
    });
    Statement([&] { row.BytesRead += runtime::CLng(DUVMain::NoDisconData * 1024 * f); });
    // With the assumed values off the session is neither priced nor flagged.
    Statement([&] {
        SessionDialCost = 0;
        if (f == 0 || !Pricing.GetDialupCost)
            return;
        const double cost = Pricing.GetDialupCost(number, rec.ConnectDate, rec.ConnectTime,
                                                  rec.DisconnectDate, rec.DisconnectTime, 0);
        RestoreProcessContext();
        SessionDialCost = std::fabs(cost) * f;
        if (std::signbit(cost))
            TariffIncomplete = true;
    });
    CountBlocks(rec, row, number);
    Statement([&] {
        SessionServiceCost =
            f > 0 && Pricing.GetServiceCost
                ? Pricing.GetServiceCost(number, ChargeableSeconds(rec), rec.ConnectDate) * f
                : 0.0;
        RestoreProcessContext();
    });
    // Assumed data is booked to the data allowance only when the assumed values apply.
    Statement([&] {
        SessionDataCost =
            f > 0 && Pricing.GetDataCost
                ? Pricing.GetDataCost(number, DUVMain::NoDisconData * 1024, rec.ConnectDate) * f
                : 0.0;
        RestoreProcessContext();
    });
    row.TotalCost += SessionDialCost + SessionServiceCost + SessionDataCost;
    row.DialCost += SessionDialCost;
    row.ServiceCost += SessionServiceCost;
    ClearSessionVars();
    if (lineForm && rec.ConnectDate < DUVMain::ReportStartDate)
        ResetTables();
}

// A connect line while no session waits: an "Unknown Service" session in the usage row of
// this line (row 0 unless the line also started a session).
void OpenUnknownSession(bool startedOnThisLine) {
    Statement([&] { GetLineTime(); });
    SessionConnectDate = LineDate;
    SessionConnectTime = LineTime;
    // A session started on this same line never reaches its connect: give its record back.
    if (startedOnThisLine && ConnIndex > 0)
        --ConnIndex;
    ++ConnIndex;
    if (ConnIndex >= DUVMain::MaxConnections && !ConnectionsOverflow) {
        ConnectionsOverflow = true;
        if (Window.WarnMaxConnections)
            Window.WarnMaxConnections();
    }
    Statement([&] {
        ConnectionRecord& rec = Conn(ConnIndex);
        rec = ConnectionRecord{};
        rec.ConnectDate = SessionConnectDate;
        rec.ConnectTime = SessionConnectTime;
        rec.Service = "Unknown Service";
        rec.Notes = " Unable to get dialled number -";
    });
    Statement([&] { Usage(CurrentUsageRow).Number = "Unknown"; });
    LastUsageRow = CurrentUsageRow;
}

// The connection limit stopped the run on the connect line of a session without a dial line:
// that session could not be recorded and is dropped, as a dialled one at the limit is.
void DropSessionAtLimit() {
    if (ConnIndex > 0 && static_cast<std::size_t>(ConnIndex) < Connections.size())
        Connections[static_cast<std::size_t>(ConnIndex)] = ConnectionRecord{};
    if (ConnIndex > 0)
        --ConnIndex;
    if (CurrentUsageRow == 0 && !ServiceUsage.empty() && ServiceUsage[0].Sessions == 0)
        ServiceUsage[0].Number.clear();
    ClearSessionVars();
}

// Whole seconds from the last session's disconnect to the current line.
int64_t SecondsSinceLastDisconnect(const ConnectionRecord& rec) {
    return static_cast<int64_t>(
               RoundHalfAway((LineDate - std::floor(rec.DisconnectDate)) * kDaySeconds)) +
           TimeSeconds(LineTime) - TimeSeconds(rec.DisconnectTime);
}

void BookReads() {
    Statement([&] { GetLineTime(); });
    if (ConnIndex == 0)
        return;
    Statement([&] {
        ConnectionRecord& rec = Conn(ConnIndex);
        if (SecondsSinceLastDisconnect(rec) >= kReadsWindowSeconds)
            return;
        ServiceUsageRecord& row = Usage(LastUsageRow);
        rec.BytesRead = GetBytesRead(CurrentLine);
        row.BytesRead += rec.BytesRead;
        AppendKiloBytesNote(rec.Notes, " R:", rec.BytesRead);
        SessionDataCost = Pricing.GetDataCost
                              ? Pricing.GetDataCost(row.Number, rec.BytesRead, rec.ConnectDate)
                              : 0.0;
        RestoreProcessContext();
        row.TotalCost += SessionDataCost;
    });
}

void BookWrites() {
    Statement([&] { GetLineTime(); });
    if (ConnIndex == 0)
        return;
    Statement([&] {
        ConnectionRecord& rec = Conn(ConnIndex);
        if (SecondsSinceLastDisconnect(rec) >= kReadsWindowSeconds)
            return;
        rec.BytesWritten = GetBytesWritten(CurrentLine);
        AppendKiloBytesNote(rec.Notes, " - W:", rec.BytesWritten);
    });
}

// The connect line of a session that a dial or answer line started.
void ConnectWaitingSession() {
    Statement([&] { GetLineTime(); });
    SessionConnectDate = LineDate;
    SessionConnectTime = LineTime;
    Statement([&] {
        ConnectionRecord& rec = Conn(ConnIndex);
        rec.ConnectDate = SessionConnectDate;
        rec.ConnectTime = SessionConnectTime;
        rec.Notes.clear();
        if (Answered) {
            if (DUVMain::CalcCosts)
                rec.Notes = " No Cost";
            Answered = false;
        }
    });
}

// Whether the line's date lets the run look at the line; past the report's end with no
// session open the run ends.
bool InRunRange() {
    if (LineDate > DUVMain::ReportEndDate && !Connected) {
        ContinueRun = false;
        return false;
    }
    return DUVMain::ReportStartDate - DUVMain::MaxConnectDays <= LineDate;
}

// Steps 5 to 8 of a dated line that holds a keyword.
[[gnu::noinline]] void HandleKeywords(unsigned holds) {
    // Only the procedures of a line that holds a keyword read the line.
    run.keywords.UpperCase(run.line, CurrentLine);
    for (;;) {
        if (Connected) {
            if (holds & (kConnect | kDial | kAnswer)) {
                ErrorClose(true);
                // The same line again, now not connected.
                if (!InRunRange())
                    return;
                continue;
            }
            if (holds & kDisconnect)
                NormalClose();
            return;
        }
        if (holds & kDisconnect) {
            if (CurrentUsageRow > 0)
                --ConnIndex;  // a busy call: the record is given back, the usage row stays
            CurrentUsageRow = 0;
        }
        if (CurrentUsageRow == 0) {
            Dialled = holds & kDial;
            Answered = holds & kAnswer;
            bool started = false;
            if (Dialled || Answered) {
                StartSession();
                started = CurrentUsageRow > 0;
                Connected = false;
            }
            Connected = holds & kConnect;
            if (Connected)
                OpenUnknownSession(started);
            if (holds & kReads)
                BookReads();
            if (holds & kWrites)
                BookWrites();
        } else {
            Connected = holds & kConnect;
            if (Connected)
                ConnectWaitingSession();
        }
        return;
    }
}

// Steps 5 to 8 of a dated line. A line without a keyword only ends a wait for a session.
void HandleLine() {
    if (!InRunRange())
        return;
    const unsigned holds = run.keywords.Find(run.line, run.lineStart);
    if (holds != 0)
        HandleKeywords(holds);
    else if (!Connected && CurrentUsageRow == 0)
        Dialled = Answered = false;
}

bool IsBlank(std::string_view line) {
    return line.empty() ||
           (line[0] == ' ' && line.find_first_not_of(' ') == std::string_view::npos);
}

// Progress at every ProgressChunk-th entry (called at the entry progress is due).
[[gnu::noinline]] void ShowProgress() {
    if (ProgressChunk <= 0)
        return;
    run.nextProgress += ProgressChunk;
    if (DUVMain::LogLineCount > 0) {
        const double pct = std::floor(static_cast<double>(EntryCount) /
                                      static_cast<double>(DUVMain::LogLineCount) * 100.0);
        if (pct <= 100) {
            const int percent = static_cast<int>(pct);
            if (Window.SetStatusText)
                Window.SetStatusText("Please Wait .....Processing  " + std::to_string(percent) +
                                     "%");
            Window.Progress.Percent(percent);
        }
    }
    ::LetEventsRun();
    // Whatever ran meanwhile named its own procedure and step.
    RestoreProcessContext();
    runtime::SetCountedStep(kLogEntryStep, EntryCount);
}

}  // namespace

void ClearSessionVars() {
    Connected = false;
    CurrentUsageRow = 0;
    SessionConnectDate = 0;
    SessionConnectTime = 0;
    SessionDisconnectDate = 0;
    SessionDisconnectTime = 0;
    SessionSeconds = 0;
    BlockCount = 0;
    BlockMinutes = 0;
}

// Record 0 stays; the others are made again, empty, when a run reaches them.
void ClearAnalysisArrays() {
    for (ServiceUsageRecord& row : ServiceUsage)
        row = ServiceUsageRecord{};
    Connections.resize(std::min<std::size_t>(Connections.size(), 1));
}

// The first blank of a line: where the date stamp has its usual ten characters, looked for
// in them at once.
std::size_t FirstBlank(std::string_view line) {
    constexpr std::size_t kStamp = DUVMain::LogLineDateLength;
    if (line.size() > kStamp && line[kStamp] == ' ' && line[8] != ' ' && line[9] != ' ') {
        std::uint64_t eight = 0;
        std::memcpy(&eight, line.data(), 8);
        // A byte of eight ^ blanks is zero where the byte is a blank.
        const std::uint64_t x = eight ^ 0x2020202020202020ull;
        if (((x - 0x0101010101010101ull) & ~x & 0x8080808080808080ull) == 0)
            return kStamp;
    }
    return line.find(' ');
}

void GetLineTime() {
    std::string_view line(CurrentLine);
    std::size_t blank = FirstBlank(line);
    std::size_t start = blank == std::string_view::npos ? 0 : blank + 1;
    // The usual stamp, "hh:mm:ss." right after the blank, read in place.
    if (blank != std::string_view::npos && line.size() >= start + 9) {
        const auto* p = reinterpret_cast<const unsigned char*>(line.data() + start);
        auto digit = [&](std::size_t at) { return static_cast<unsigned>(p[at] - '0') <= 9; };
        if (p[2] == ':' && p[5] == ':' && p[8] == '.' && digit(0) && digit(1) && digit(3) &&
            digit(4) && digit(6) && digit(7)) {
            auto two = [&](std::size_t at) { return (p[at] - '0') * 10 + (p[at + 1] - '0'); };
            const int h = two(0), m = two(3), s = two(6);
            if (h <= 23 && m <= 59 && s <= 59)
                LineTime = (h * 3600 + m * 60 + s) / static_cast<double>(kDaySeconds);
            return;
        }
    }
    std::size_t dot = line.find('.', start);
    if (dot == std::string_view::npos)
        return;
    std::string_view text = line.substr(start, dot - start);
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    // "h:n:s" or "h:n", each part one or two digits.
    int parts[3] = {0, 0, 0};
    int count = 0;
    std::size_t i = 0;
    while (count < 3) {
        std::size_t digits = 0;
        int value = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9' && digits < 2) {
            value = value * 10 + (text[i] - '0');
            ++i;
            ++digits;
        }
        if (digits == 0)
            return;
        parts[count++] = value;
        if (i == text.size())
            break;
        if (text[i] != ':')
            return;
        ++i;
    }
    if (i != text.size() || count < 2)
        return;
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59)
        return;
    LineTime = (parts[0] * 3600 + parts[1] * 60 + parts[2]) / static_cast<double>(kDaySeconds);
}

void StartSession() {
    std::string number;
    CurrentUsageRow = 0;
    ServicesOverflow = false;
    ConnectionsOverflow = false;
    if (Answered) {
        number = "Answered Calls";
    } else {
        Quietly([&] { number = DialledNumber(CurrentLine, run.keywords.Word(kDial)); });
        if (!IsDialNumber(number)) {
            Connected = false;
            CurrentUsageRow = 0;
            return;
        }
    }
    ++ConnIndex;
    if (ConnIndex >= DUVMain::MaxConnections) {
        ConnectionsOverflow = true;
        if (Window.WarnMaxConnections)
            Window.WarnMaxConnections();
    }
    // A record given back by a busy call is reused from empty; a new one is made empty.
    Quietly([&] {
        const bool reused =
            ConnIndex >= 0 && static_cast<std::size_t>(ConnIndex) < Connections.size();
        ConnectionRecord& rec = Conn(ConnIndex);
        if (reused)
            rec = ConnectionRecord{};
        if (Answered) {
            rec.Service = "Answered Call";
            rec.Answered = true;
        } else {
            rec.Service = number;
        }
    });
    // The rows in use; an empty number matches no row by an empty other number.
    Quietly([&] { CurrentUsageRow = FindUsageRow(number, UsageCount); });
    if (CurrentUsageRow == 0) {
        CurrentUsageRow = UsageCount + 1;
        Quietly([&] {
            ServiceUsageRecord& row = Usage(CurrentUsageRow);
            row.Number = number;
            row.AltNumber = GetAltNumber(number);
            row.Blocks = 0;
            UsageCount = CurrentUsageRow;
        });
    }
    if (UsageCount >= DUVMain::MaxServices) {
        if (Window.WarnMaxServices)
            Window.WarnMaxServices();
        ServicesOverflow = true;
    }
    LastUsageRow = CurrentUsageRow;
}

// A date stamp not read before, read as one statement of the line.
[[gnu::noinline]] Date ReadNewDate(std::string_view line) {
    Date date = 0;
    Statement([&] { date = NewDateOfLine(line); });
    return date;
}

bool Process() {
    std::string_view raw;
    if (!run.reader || !run.reader->Next(raw))
        return false;
    if (IsBlank(raw))
        return true;
    run.line = raw;
    run.lineStart = run.reader->LineStart();
    runtime::SetCountedStep(kLogEntryStep, EntryCount);
    Date date = 0;
    if (SameStamp(raw))
        date = run.dateValue;
    else
        date = ReadNewDate(raw);
    if (date == 0) {
        ContinueRun = false;
        DUVMain::LogCorrupt = true;
        return true;
    }
    LineDate = date;
    ++EntryCount;
    if (EntryCount == run.nextProgress)
        ShowProgress();
    HandleLine();
    return true;
}

void Analyse() {
    runtime::SetContext("DUVAnalyse", "Analyse");
    EntryCount = 0;
    ContinueRun = true;
    UsageCount = 0;
    ConnIndex = 0;
    LastUsageRow = 0;
    ErrorsFound = false;
    TariffIncomplete = false;
    DUVMain::DetailReportBuilt = false;
    DUVMain::SummaryReportBuilt = false;
    ShowBlocks = false;
    ServicesOverflow = false;
    ConnectionsOverflow = false;
    Answered = false;
    Dialled = false;
    LineTime = 0;

    runtime::Step("Service Arrays", [] {
        ServiceUsage.assign(
            static_cast<std::size_t>(std::max<int32_t>(DUVMain::MaxServices, 0)) + 1,
            ServiceUsageRecord{});
    });
    // Room for every record up to MaxConnections, each made when the run first reaches it.
    runtime::Step("Connection Arrays", [] {
        Connections.clear();
        Connections.reserve(
            static_cast<std::size_t>(std::max<int32_t>(DUVMain::MaxConnections, 0)) + 1);
        Connections.resize(1);
    });
    runtime::Step("Penalty Arrays",
                  [] { Penalties.Create(DUVMain::MaxServices, PeriodsOfTheRange()); });
    runtime::Step("Clr Analysis Vars", [] { ClearSessionVars(); });
    runtime::Step("Clr Analysis Arrays", [] { ClearAnalysisArrays(); });

    Window.Progress.Visible(true);
    runtime::Step("Progress Chunk", [] {
        ProgressChunk = static_cast<int32_t>(std::floor(DUVMain::LogLineCount / 10.0));
    });
    ShowBusy(true);

    CaptureRunSettings();
    // A small log is read in one block of its own size.
    const std::int64_t length = FileLengthOf(DUVMain::LogFilePath);
    LineReader reader(static_cast<std::size_t>(std::clamp<std::int64_t>(
        length + 1, 4096, static_cast<std::int64_t>(LineReader::DefaultBlockSize))));
    bool opened = false;
    // The keyword filter is tuned to the log's first block and, where it can, runs over
    // each block as it is read.
    reader.WatchBlocks([&reader, tuned = false](const char* block, std::size_t size,
                                                [[maybe_unused]] std::uint64_t at) mutable {
        if (!tuned)
            run.keywords.Tune(std::string_view(block, std::min<std::size_t>(size, 64u << 10)));
        tuned = true;
#ifdef DUV_WIDE_KEYWORD_SCAN
        if (run.keywords.ScansBlocks())
            run.keywords.ScanBlock(std::string_view(block, size), at, reader.Offset());
#endif
        return true;
    });
    runtime::Guard([&] {
        opened = reader.Open(DUVMain::LogFilePath);
        if (!opened)
            runtime::Raise(FileLengthOf(DUVMain::LogFilePath) < 0 ? runtime::kErrFileNotFound
                                                                  : runtime::kErrPathFileAccess);
    });
    if (opened) {
        run.reader = &reader;
        RestoreProcessContext();
        // The run reads the file as long as it was when the run began, and ends where no line
        // can be read (the file became shorter meanwhile).
        while (ContinueRun && reader.Offset() < reader.Length() && Process()) {
            if (ServicesOverflow || ConnectionsOverflow)
                ContinueRun = false;
        }
        run.reader = nullptr;
        reader.Close();
        runtime::SetContext("DUVAnalyse", "Analyse");
    }

    // A dial or answer line still waiting for its connect: the record is given back.
    if (!Connected && CurrentUsageRow > 0) {
        --ConnIndex;
        CurrentUsageRow = 0;
    }
    if (Connected && ConnectionsOverflow)
        DropSessionAtLimit();
    if (Connected) {
        ErrorClose(false);
        runtime::SetContext("DUVAnalyse", "Analyse");
    }

    runtime::Step("Finished Processing", [] {
        Window.Progress.Visible(false);
        if (Window.SetStatusText)
            Window.SetStatusText(" F I N I S H E D !  -  (" + std::to_string(EntryCount) +
                                 " entries processed)");
    });
    if (TariffIncomplete && Window.WarnTariffsIncomplete)
        Window.WarnTariffsIncomplete();
    if (Pricing.CheckUserWarnings)
        Pricing.CheckUserWarnings();
    if (!DUVMain::LogCorrupt && Window.ShowReport)
        Window.ShowReport();
    ShowBusy(false);
}

}  // namespace DUVAnalyse
