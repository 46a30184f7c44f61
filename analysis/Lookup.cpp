// Service lookup, byte counts, charge blocks, free seconds and notes of the analysis.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "analysis/Costing.h"
#include "analysis/DUVAnalyse.h"
#include "core/DUVMain.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"

namespace DUVAnalyse {
namespace {

constexpr int32_t kDaySeconds = 86400;

// The rare case of FindService: a service number typed with blanks around it.
[[gnu::noinline]] bool PaddedEquals(std::string_view text, std::string_view number) {
    return runtime::TrimmedView(text) == number;
}

// True when text without its outer blanks is `number` (no outer blanks). A text of the
// same length must match as it stands, a shorter one never can, a longer one only by its
// outer blanks. Inlined: FindService runs it for every service on every lookup.
[[gnu::always_inline]] inline bool TrimmedEquals(std::string_view text, std::string_view number) {
    if (text.size() == number.size())
        return text.empty() || (text.back() == number.back() && text == number);
    return text.size() > number.size() && (text.front() == ' ' || text.back() == ' ') &&
           PaddedEquals(text, number);
}

int32_t ServicesInUse() {
    return std::min<int32_t>(DUVMain::UsedServices, DUVMain::Services.UBound() + 1);
}

// Whole seconds of a time of day.
int32_t TimeSeconds(Date time) { return static_cast<int32_t>(RoundHalfAway(time * kDaySeconds)); }

// The count after a keyword of a reads or writes line (0 when none or when the digits end
// the line).
int32_t ByteCountAfter(std::string_view line, std::string_view keyword) {
    std::size_t at = line.find(keyword);
    if (at == std::string_view::npos)
        return 0;
    std::string_view rest = line.substr(at + keyword.size());
    auto digitOf = [](char c) {
        return static_cast<unsigned>(static_cast<unsigned char>(c) - '0');
    };
    std::size_t first = 0;
    while (first < rest.size() && digitOf(rest[first]) > 9)
        ++first;
    // Up to nine digits always fit; longer runs take the general conversion and its overflow.
    std::size_t last = first;
    int32_t value = 0;
    for (; last < rest.size() && digitOf(rest[last]) <= 9; ++last) {
        if (last - first < 9)
            value = value * 10 + static_cast<int32_t>(digitOf(rest[last]));
    }
    if (first == rest.size() || last == rest.size())
        return 0;
    if (last - first <= 9)
        return value;
    return runtime::CLng(runtime::Val(rest.substr(first, last - first)));
}

int32_t SearchServices(std::string_view number) {
    // A trimmed number never starts or ends with a blank, so such a number matches none.
    if (number.empty() || number.front() == ' ' || number.back() == ' ')
        return -1;
    const int32_t used = ServicesInUse();
    for (int32_t i = 0; i < used; ++i) {
        const ServiceRecord& s = DUVMain::Services[i];
        if (TrimmedEquals(s.ServiceNumber, number) || TrimmedEquals(s.ServiceAltNumber, number))
            return i;
    }
    return -1;
}

// The number of the innermost ServiceLookupScope and, once looked up, its service.
ServiceLookupScope::State remembered;

}  // namespace

ServiceLookupScope::ServiceLookupScope(const std::string& number)
    : outer_(std::exchange(remembered, State{&number, false, -1})) {}

ServiceLookupScope::~ServiceLookupScope() { remembered = outer_; }

int32_t FindService(const std::string& number) {
    if (&number != remembered.number)
        return SearchServices(number);
    if (!remembered.known) {
        remembered.index = SearchServices(number);
        remembered.known = true;
    }
    return remembered.index;
}

int32_t FindUsageRow(std::string_view number, int32_t last) {
    last = std::min<int32_t>(last, static_cast<int32_t>(ServiceUsage.size()) - 1);
    for (int32_t i = 1; i <= last; ++i) {
        const ServiceUsageRecord& row = ServiceUsage[static_cast<std::size_t>(i)];
        if (TrimmedEquals(row.Number, number) ||
            (!number.empty() && TrimmedEquals(row.AltNumber, number)))
            return i;
    }
    return 0;
}

std::string GetAltNumber(const std::string& number) {
    if (number.empty())
        return {};
    const int32_t used = ServicesInUse();
    for (int32_t i = 0; i < used; ++i) {
        if (DUVMain::Services[i].ServiceNumber == number)
            return DUVMain::Services[i].ServiceAltNumber;
    }
    for (int32_t i = 0; i < used; ++i) {
        if (DUVMain::Services[i].ServiceAltNumber == number)
            return DUVMain::Services[i].ServiceNumber;
    }
    return {};
}

std::string GetServiceName(const std::string& number) {
    int32_t i = FindService(number);
    if (i < 0)
        return number;
    return std::string(runtime::TrimmedView(DUVMain::Services[i].ServiceName));
}

bool IsDialNumber(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return (c >= '0' && c <= '9') || c == ','; });
}

void AppendKiloBytes(std::string& out, int32_t bytes) {
    // bytes / 1024 is exact; its halves round away from zero, and a negative count that
    // rounds to 0 has no sign.
    const int64_t magnitude = std::abs(static_cast<int64_t>(bytes));
    const auto kilo = static_cast<int32_t>((magnitude + 512) >> 10);
    runtime::AppendGroupedWhole(out, bytes < 0 ? -kilo : kilo);
}

int32_t GetBytesRead(std::string_view line) { return ByteCountAfter(line, DUVMain::ModemReads); }

int32_t GetBytesWritten(std::string_view line) {
    return ByteCountAfter(line, DUVMain::ModemWrites);
}

int32_t GetBlockMinutes(const std::string& number) {
    int32_t i = FindService(number);
    return i < 0 ? 0 : DUVMain::Services[i].Block;
}

int32_t GetBlockCount(int32_t minutes, int32_t seconds) {
    if (minutes == 0)
        return 0;
    const float m = static_cast<float>(seconds) / 60.0f;
    const float n = std::floor(m / static_cast<float>(minutes));
    int32_t count = static_cast<int32_t>(n);
    if (m - n * static_cast<float>(minutes) > 0)
        ++count;
    return count;
}

int32_t GetFreeSeconds(const std::string& number, Date connectTime, Date disconnectTime) {
    int32_t i = FindService(number);
    if (i < 0 || !DUVMain::Services[i].FreePeriod)
        return 0;
    const int64_t fs = TimeSeconds(DUVMain::Services[i].FreeStart);
    const int64_t fe = TimeSeconds(DUVMain::Services[i].FreeEnd);
    const int64_t c = TimeSeconds(connectTime);
    const int64_t d = TimeSeconds(disconnectTime);
    const bool windowCrosses = fs >= fe;
    const bool sessionCrosses = d <= c;
    int64_t free = 0;
    if (!windowCrosses && !sessionCrosses) {
        if (d > fs && c < fe)
            free = std::min(d, fe) - std::max(c, fs);
    } else if (!windowCrosses) {
        if (d <= fs && c >= fe)
            free = 0;
        else if (c <= fs || d >= fe)
            free = fe - fs;
        else
            free = std::max<int64_t>(fe - c, 0) + std::max<int64_t>(d - fs, 0);
    } else if (sessionCrosses) {
        free = (kDaySeconds - std::max(c, fs)) + std::min(d, fe);
    } else if (!(d <= fs && c >= fe)) {
        if (d > fs)
            free += d - std::max(c, fs);
        if (c < fe)
            free += std::min(d, fe) - c;
    }
    return static_cast<int32_t>(std::clamp<int64_t>(free, 0, INT32_MAX));
}

float GetSessionSeconds(int32_t connIndex) {
    if (connIndex < 0 || static_cast<std::size_t>(connIndex) >= Connections.size())
        runtime::Raise(runtime::kErrSubscript);
    ConnectionRecord& r = Connections[static_cast<std::size_t>(connIndex)];
    const double c = TimeSeconds(r.ConnectTime);
    const double d = TimeSeconds(r.DisconnectTime);
    if (DisconnectBeforeConnect(r.ConnectDate, r.ConnectTime, r.DisconnectDate, r.DisconnectTime))
        return 0;
    if (r.ConnectDate == r.DisconnectDate)
        return static_cast<float>(d - c);
    double total =
        static_cast<double>(WholeDaysInRange(r.ConnectDate, r.DisconnectDate)) * kDaySeconds;
    if (r.ConnectDate >= DUVMain::ReportStartDate) {
        r.Notes = " Time prior to midnight";
        total += kDaySeconds - c;
    }
    if (r.DisconnectDate <= DUVMain::ReportEndDate) {
        r.Notes = total != 0 ? "" : " Time from midnight";
        total += d;
    }
    return static_cast<float>(total);
}

bool DisconnectBeforeConnect(Date connectDate, Date connectTime, Date disconnectDate,
                             Date disconnectTime) {
    if (connectDate == disconnectDate)  // the usual session within one day
        return TimeSeconds(disconnectTime) < TimeSeconds(connectTime);
    const double cd = std::floor(connectDate);
    const double dd = std::floor(disconnectDate);
    return dd < cd || (dd == cd && TimeSeconds(disconnectTime) < TimeSeconds(connectTime));
}

int32_t WholeDaysInRange(Date connectDate, Date disconnectDate) {
    const double first =
        std::max(std::floor(connectDate) + 1, std::floor(DUVMain::ReportStartDate));
    const double last =
        std::min(std::floor(disconnectDate) - 1, std::floor(DUVMain::ReportEndDate));
    return last < first ? 0 : static_cast<int32_t>(last - first + 1);
}

std::string TidyNotes(const std::string& notes) {
    // Built after the blank it starts with, in one allocation.
    const std::string_view trimmed = runtime::TrimmedView(notes);
    std::string text;
    text.reserve(trimmed.size() + 1);
    text.push_back(' ');
    text.append(trimmed);
    std::size_t at = text.find("- -", 1);
    if (at != std::string::npos)
        text.erase(at + 1, 2);
    if (text.size() > 1 && text[1] == '-')
        text.erase(1, 1);
    if (text.size() >= 3 && text.compare(text.size() - 2, 2, " -") == 0)
        text.erase(text.size() - 2);
    return text;
}

std::string DialledNumber(std::string_view line, std::string_view dialKeyword) {
    std::size_t at = line.find(dialKeyword);
    if (at == std::string_view::npos)
        return {};
    // Skip the dial-mode letter after the keyword; leave out the line's last character.
    std::size_t start = at + dialKeyword.size() + 1;
    if (start + 1 > line.size())
        return {};
    std::string_view number = line.substr(start, line.size() - start - 1);
    std::size_t cut = number.find('<');
    if (cut != std::string_view::npos)
        number = number.substr(0, cut);
    return std::string(number);
}

}  // namespace DUVAnalyse
