// Records of the settings store: services with their tariffs, recent files, report views.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Raises run-time error 9 (subscript out of range).
[[noreturn]] void RaiseSubscriptOutOfRange();

// A fixed table indexed First..Last, as the records and settings number their entries
// (tariffs 1 to 10, holidays 1 to 100, recent files 1 to 5, columns 1 to 7).
// operator[] trusts the index; at() raises error 9 outside First..Last.
template <typename T, int First, int Last>
class FixedArray {
public:
    static constexpr int LBound() { return First; }
    static constexpr int UBound() { return Last; }
    static constexpr bool InRange(int i) { return i >= First && i <= Last; }

    T& operator[](int i) { return items_[static_cast<std::size_t>(i - First)]; }
    const T& operator[](int i) const { return items_[static_cast<std::size_t>(i - First)]; }
    T& at(int i) {
        if (!InRange(i))
            RaiseSubscriptOutOfRange();
        return (*this)[i];
    }
    const T& at(int i) const {
        if (!InRange(i))
            RaiseSubscriptOutOfRange();
        return (*this)[i];
    }
    void fill(const T& value) { items_.fill(value); }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }
    bool operator==(const FixedArray&) const = default;

private:
    std::array<T, static_cast<std::size_t>(Last - First + 1)> items_{};
};

// A table indexed 0..UBound() whose size is set at run time (ReDim).
template <typename T>
class ResizableArray {
public:
    // Discards the contents: entries 0..upper, all empty. A negative upper leaves no entry.
    void ReDim(int upper) {
        items_.assign(upper < 0 ? 0 : static_cast<std::size_t>(upper) + 1, T{});
    }
    // Keeps the contents (ReDim Preserve): entries 0..upper, the added ones empty.
    void ReDimPreserve(int upper) {
        items_.resize(upper < 0 ? 0 : static_cast<std::size_t>(upper) + 1);
    }
    int UBound() const { return static_cast<int>(items_.size()) - 1; }
    bool InRange(int i) const { return i >= 0 && i <= UBound(); }
    T& operator[](int i) { return items_[static_cast<std::size_t>(i)]; }
    const T& operator[](int i) const { return items_[static_cast<std::size_t>(i)]; }
    T& at(int i) {
        if (!InRange(i))
            RaiseSubscriptOutOfRange();
        return (*this)[i];
    }
    const T& at(int i) const {
        if (!InRange(i))
            RaiseSubscriptOutOfRange();
        return (*this)[i];
    }
    auto begin() { return items_.begin(); }
    auto end() { return items_.end(); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

private:
    std::vector<T> items_;
};

// One time-of-day tariff of a service.
struct TariffRecord {
    std::string Description;
    std::string AppliesDays;      // "Everyday", "Holidays", a weekday or a range of two
    double AppliesTimeStart = 0;  // date value, time of day only
    double AppliesTimeEnd = 0;
    double DialRate = 0;       // money, per call
    double PerMinuteRate = 0;  // money, per unit
    std::int32_t After = 0;    // seconds
    std::string Unit;
    std::int16_t UnitMins = 0;
    std::int16_t UnitSecs = 0;

    bool operator==(const TariffRecord&) const = default;
};

constexpr int kMaxTariffs = 10;
using TariffTable = FixedArray<TariffRecord, 1, kMaxTariffs>;

// One dialled service.
struct ServiceRecord {
    std::string ServiceName;
    std::string ServiceNumber;
    std::string ServiceAltNumber;
    std::int16_t DialOption = 0;     // 1 fixed amount per call, 2 dial-time tariffs
    double DialFixedTariff = 0;      // money
    TariffTable Tariffs;             // 1 to 10
    std::int16_t UsedTariffs = 0;    // 0 to 10
    std::int16_t ServiceOption = 0;  // 1 flat rate per hour, 2 allowance
    double ServiceRate = 0;          // money
    double FlexRate = 0;             // money
    std::int16_t UpToHours = 0;
    std::string PenaltyPeriod;
    double FlexRate2 = 0;  // money
    double PerMeg = 0;     // money
    double AfterMeg = 0;   // megabytes
    std::string MegPeriod;
    std::int16_t Block = 0;  // minutes
    bool FreePeriod = false;
    double FreeStart = 0;  // date value, time of day only
    double FreeEnd = 0;
    bool ShowWarnings = false;
    std::int16_t WarningOption = 0;
    std::int16_t WarningHours = 0;
    std::int16_t WarningMinutes = 0;
    double WarningDialup = 0;      // money
    double WarningService = 0;     // money
    std::int32_t WarningData = 0;  // KB
    bool WarningDisplay = false;
    bool WarningSound = false;

    bool operator==(const ServiceRecord&) const = default;
};

// One entry of the recent-files list.
struct RecentFileRecord {
    std::string RecentFileName;
    std::string RecentFilePath;  // folder
    std::string RecentFileType;  // "A" archive, "R" saved report

    bool operator==(const RecentFileRecord&) const = default;
};

constexpr int kRecentFileCount = 5;
constexpr int kMaxHolidays = 100;

// Window and column settings of one report view (twips).
struct ReportViewSettings {
    std::int32_t WinHeight = 0;
    std::int32_t WinWidth = 0;
    std::int32_t WinLeft = 0;
    std::int32_t WinTop = 0;
    float FontSize = 0;
    FixedArray<std::int32_t, 1, 7> Column;

    bool operator==(const ReportViewSettings&) const = default;
};

// One modem found by the start-up modem check.
struct ModemRecord {
    std::string DriverDesc;
    std::string AttachedTo;
    std::string ModemKey;
    std::string LoggingPath;
    std::string UserInit;
    bool Logging = false;
    bool HasEcho = false;

    bool operator==(const ModemRecord&) const = default;
};
