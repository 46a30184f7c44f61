// Date serials: building them with carried fields, taking them apart, arithmetic, and
// reading dates written in the regional order.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/Runtime.h"
#include "core/RuntimeDetail.h"
#include "core/RuntimeError.h"

namespace runtime {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kUnixEpochSerial = 25569;  // 1 January 1970
constexpr double kFirstSerial = -657434.0;        // 1 January 100
constexpr double kLastSerial = 2958465.0;         // 31 December 9999

struct Civil {
    std::int64_t year;
    int month;
    int day;
};

// Days since 1 January 1970 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, int m, int d) {
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yoe = y - era * 400;
    const std::int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

Civil CivilFromDays(std::int64_t z) {
    z += 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return Civil{yoe + era * 400 + (m <= 2), m, d};
}

// A date as its day number (the whole part) and the whole seconds of its time of day.
struct Split {
    std::int64_t day;
    int seconds;
};

Split SplitDate(Date date) {
    if (!(date >= kFirstSerial - 1 && date <= kLastSerial + 1))
        Raise(kErrOverflow);
    const double whole = std::trunc(date);
    std::int64_t day = static_cast<std::int64_t>(whole);
    std::int64_t seconds = std::llround(std::fabs(date - whole) * kSecondsPerDay);
    if (seconds >= kSecondsPerDay) {
        seconds = 0;
        ++day;
    }
    return Split{day, static_cast<int>(seconds)};
}

Date Join(std::int64_t day, std::int64_t seconds) {
    const double fraction = static_cast<double>(seconds) / kSecondsPerDay;
    const double date =
        day < 0 ? static_cast<double>(day) - fraction : static_cast<double>(day) + fraction;
    if (date < kFirstSerial || date >= kLastSerial + 1)
        Raise(kErrInvalidCall);
    return date;
}

// Seconds on a continuous time line (day 0 at midnight is 0).
std::int64_t Moment(Date date) {
    const Split s = SplitDate(date);
    return s.day * kSecondsPerDay + s.seconds;
}

Date FromMoment(std::int64_t moment) {
    std::int64_t day = moment / kSecondsPerDay;
    std::int64_t seconds = moment % kSecondsPerDay;
    if (seconds < 0) {
        seconds += kSecondsPerDay;
        --day;
    }
    return Join(day, seconds);
}

Civil CivilOf(Date date) { return CivilFromDays(SplitDate(date).day - kUnixEpochSerial); }

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// 0 Sunday ... 6 Saturday.
int WeekdayIndex(std::int64_t day) { return static_cast<int>(((day - 1) % 7 + 7) % 7); }

Date AddMonths(Date date, std::int64_t months) {
    const Split s = SplitDate(date);
    const Civil c = CivilFromDays(s.day - kUnixEpochSerial);
    const std::int64_t total = c.year * 12 + (c.month - 1) + months;
    const std::int64_t year = FloorDiv(total, 12);
    const int month = static_cast<int>(total - year * 12) + 1;
    if (year < 100 || year > 9999)
        Raise(kErrInvalidCall);
    const int day = std::min(c.day, DaysInMonth(static_cast<int>(year), month));
    return Join(DaysFromCivil(year, month, day) + kUnixEpochSerial, s.seconds);
}

bool Is(std::string_view interval, std::string_view name) {
    if (interval.size() != name.size())
        return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char c = interval[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
        if (c != name[i])
            return false;
    }
    return true;
}

}  // namespace

namespace detail {

DateFields Decompose(double date) {
    const Split s = SplitDate(date);
    // Day 0, where a time of day alone stands, is Saturday 30 December 1899.
    const Civil c = s.day == 0 ? Civil{1899, 12, 30} : CivilFromDays(s.day - kUnixEpochSerial);
    const int weekday = s.day == 0 ? 7 : WeekdayIndex(s.day) + 1;
    return DateFields{
        static_cast<int>(c.year), c.month,        c.day,      weekday,       s.seconds / 3600,
        s.seconds / 60 % 60,      s.seconds % 60, s.day != 0, s.seconds != 0};
}

}  // namespace detail

Date DateSerial(int year, int month, int day) {
    std::int64_t y = year;
    if (y >= 0 && y <= 29)
        y += 2000;
    else if (y >= 30 && y <= 99)
        y += 1900;
    const std::int64_t total = y * 12 + (static_cast<std::int64_t>(month) - 1);
    const std::int64_t carriedYear = FloorDiv(total, 12);
    const int carriedMonth = static_cast<int>(total - carriedYear * 12) + 1;
    const std::int64_t days =
        DaysFromCivil(carriedYear, carriedMonth, 1) + (static_cast<std::int64_t>(day) - 1);
    const std::int64_t serial = days + kUnixEpochSerial;
    if (serial < kFirstSerial || serial > kLastSerial)
        Raise(kErrInvalidCall);
    return static_cast<Date>(serial);
}

Date TimeSerial(int hour, int minute, int second) {
    const std::int64_t total =
        static_cast<std::int64_t>(hour) * 3600 + static_cast<std::int64_t>(minute) * 60 + second;
    return static_cast<double>(total) / kSecondsPerDay;
}

int Year(Date date) { return static_cast<int>(CivilOf(date).year); }
int Month(Date date) { return CivilOf(date).month; }
int Day(Date date) { return CivilOf(date).day; }
int Hour(Date date) { return SplitDate(date).seconds / 3600; }
int Minute(Date date) { return SplitDate(date).seconds / 60 % 60; }
int Second(Date date) { return SplitDate(date).seconds % 60; }
int SecondsOfDay(Date date) { return SplitDate(date).seconds; }

int Weekday(Date date, int firstDayOfWeek) {
    if (firstDayOfWeek < 0 || firstDayOfWeek > 7)
        Raise(kErrInvalidCall);
    if (firstDayOfWeek == 0)
        firstDayOfWeek = detail::CurrentRegional().firstDayOfWeek;
    const int sundayBased = WeekdayIndex(SplitDate(date).day);  // 0 Sunday
    return (sundayBased - (firstDayOfWeek - 1) + 7) % 7 + 1;
}

Date DateOnly(Date date) { return static_cast<double>(SplitDate(date).day); }

Date TimeOnly(Date date) { return static_cast<double>(SplitDate(date).seconds) / kSecondsPerDay; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        Raise(kErrInvalidCall);
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

Date DateAdd(std::string_view interval, double number, Date date) {
    if (!std::isfinite(number) || std::fabs(number) > 1e9)
        Raise(kErrInvalidCall);
    const std::int64_t n = static_cast<std::int64_t>(std::trunc(number));
    if (Is(interval, "yyyy"))
        return AddMonths(date, n * 12);
    if (Is(interval, "q"))
        return AddMonths(date, n * 3);
    if (Is(interval, "m"))
        return AddMonths(date, n);
    std::int64_t step = 0;
    if (Is(interval, "d") || Is(interval, "y") || Is(interval, "w"))
        step = kSecondsPerDay;
    else if (Is(interval, "ww"))
        step = 7 * kSecondsPerDay;
    else if (Is(interval, "h"))
        step = 3600;
    else if (Is(interval, "n"))
        step = 60;
    else if (Is(interval, "s"))
        step = 1;
    else
        Raise(kErrInvalidCall);
    return FromMoment(Moment(date) + n * step);
}

std::int64_t DateDiff(std::string_view interval, Date a, Date b) {
    const Split sa = SplitDate(a);
    const Split sb = SplitDate(b);
    if (Is(interval, "d") || Is(interval, "y"))
        return sb.day - sa.day;
    if (Is(interval, "w"))
        return (sb.day - sa.day) / 7;
    if (Is(interval, "ww")) {
        return FloorDiv(sb.day - WeekdayIndex(sb.day) - (sa.day - WeekdayIndex(sa.day)), 7);
    }
    const Civil ca = CivilFromDays(sa.day - kUnixEpochSerial);
    const Civil cb = CivilFromDays(sb.day - kUnixEpochSerial);
    if (Is(interval, "yyyy"))
        return cb.year - ca.year;
    if (Is(interval, "m"))
        return (cb.year * 12 + cb.month) - (ca.year * 12 + ca.month);
    if (Is(interval, "q")) {
        return (cb.year * 4 + (cb.month - 1) / 3) - (ca.year * 4 + (ca.month - 1) / 3);
    }
    const std::int64_t ma = sa.day * kSecondsPerDay + sa.seconds;
    const std::int64_t mb = sb.day * kSecondsPerDay + sb.seconds;
    if (Is(interval, "h"))
        return FloorDiv(mb, 3600) - FloorDiv(ma, 3600);
    if (Is(interval, "n"))
        return FloorDiv(mb, 60) - FloorDiv(ma, 60);
    if (Is(interval, "s"))
        return mb - ma;
    Raise(kErrInvalidCall);
}

std::string MonthName(int month, bool abbreviate) {
    if (month < 1 || month > 12)
        Raise(kErrInvalidCall);
    const detail::Regional& r = detail::CurrentRegional();
    return abbreviate ? r.monthAbbrevs[month - 1] : r.monthNames[month - 1];
}

std::string WeekdayName(int weekday, bool abbreviate) {
    if (weekday < 1 || weekday > 7)
        Raise(kErrInvalidCall);
    const detail::Regional& r = detail::CurrentRegional();
    return abbreviate ? r.dayAbbrevs[weekday - 1] : r.dayNames[weekday - 1];
}

// ---- reading dates ----------------------------------------------------------------------
namespace {

struct Field {
    int number = 0;
    int month = 0;  // a month given by name
    bool named = false;
};

bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) {
    const unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u >= 0xC0 || u == 0x8A ||
           u == 0x8C || u == 0x8E || u == 0x9A || u == 0x9C || u == 0x9E || u == 0x9F;
}

int MonthByName(std::string_view word) {
    const detail::Regional& r = detail::CurrentRegional();
    const std::string w = UCase(word);
    for (int i = 0; i < 12; ++i) {
        if (w == UCase(r.monthNames[i]))
            return i + 1;
        std::string abbrev = UCase(r.monthAbbrevs[i]);
        if (!abbrev.empty() && abbrev.back() == '.')
            abbrev.pop_back();
        if (!abbrev.empty() && w == abbrev)
            return i + 1;
    }
    return 0;
}

// Time "h:m[:s] [AM|PM]" at the end of the text, as seconds; nothing when malformed.
std::optional<int> ParseTime(std::string_view t) {
    const detail::Regional& r = detail::CurrentRegional();
    int parts[3] = {0, 0, 0};
    int count = 0;
    std::size_t i = 0;
    while (i < t.size() && count < 3) {
        if (!IsAsciiDigit(t[i]))
            return std::nullopt;
        int v = 0;
        std::size_t digits = 0;
        while (i < t.size() && IsAsciiDigit(t[i]) && digits < 4)
            v = v * 10 + (t[i++] - '0'), ++digits;
        parts[count++] = v;
        if (i < t.size() && (t[i] == ':' || t.substr(i, r.timeSep.size()) == r.timeSep)) {
            i += t[i] == ':' ? 1 : r.timeSep.size();
        } else {
            break;
        }
    }
    if (count < 2)
        return std::nullopt;
    while (i < t.size() && t[i] == ' ')
        ++i;
    const std::string rest = UCase(t.substr(i));
    int hour = parts[0];
    if (!rest.empty()) {
        const bool am = rest == "AM" || rest == "A" || rest == UCase(r.am);
        const bool pm = rest == "PM" || rest == "P" || rest == UCase(r.pm);
        if (!am && !pm)
            return std::nullopt;
        if (hour < 1 || hour > 12)
            return std::nullopt;
        hour = hour % 12 + (pm ? 12 : 0);
    }
    if (hour > 23 || parts[1] > 59 || parts[2] > 59)
        return std::nullopt;
    return hour * 3600 + parts[1] * 60 + parts[2];
}

std::optional<Date> ParseDate(std::string_view text) {
    const detail::Regional& r = detail::CurrentRegional();
    std::string_view t = text;
    while (!t.empty() && t.front() == ' ')
        t.remove_prefix(1);
    while (!t.empty() && t.back() == ' ')
        t.remove_suffix(1);
    if (t.empty())
        return std::nullopt;

    // A time alone.
    if (t.find(':') != std::string_view::npos &&
        t.find_first_of("/-.,") == std::string_view::npos &&
        (r.dateSep.empty() || t.find(r.dateSep) == std::string_view::npos)) {
        const std::optional<int> seconds = ParseTime(t);
        if (!seconds)
            return std::nullopt;
        return static_cast<double>(*seconds) / kSecondsPerDay;
    }

    std::vector<Field> fields;
    std::size_t i = 0;
    while (i < t.size() && fields.size() < 3) {
        const char c = t[i];
        if (IsAsciiDigit(c)) {
            Field f;
            std::size_t digits = 0;
            while (i < t.size() && IsAsciiDigit(t[i])) {
                if (++digits > 4)
                    return std::nullopt;
                f.number = f.number * 10 + (t[i++] - '0');
            }
            fields.push_back(f);
        } else if (IsLetter(c)) {
            const std::size_t start = i;
            while (i < t.size() && IsLetter(t[i]))
                ++i;
            Field f;
            f.month = MonthByName(t.substr(start, i - start));
            if (f.month == 0)
                return std::nullopt;
            f.named = true;
            fields.push_back(f);
            if (i < t.size() && t[i] == '.')
                ++i;
        } else if (c == ' ' || c == '/' || c == '-' || c == '.' || c == ',' ||
                   (!r.dateSep.empty() && t.substr(i, r.dateSep.size()) == r.dateSep)) {
            i += (c == ' ' || c == '/' || c == '-' || c == '.' || c == ',') ? 1 : r.dateSep.size();
        } else {
            return std::nullopt;
        }
    }
    if (fields.size() != 3)
        return std::nullopt;
    // Days and months by the regional order; a month given by name takes its own place.
    int day = 0, month = 0, year = 0;
    std::size_t next = 0;
    std::vector<Field> numbers;
    for (const Field& f : fields) {
        if (f.named) {
            if (month != 0)
                return std::nullopt;
            month = f.month;
        } else {
            numbers.push_back(f);
        }
    }
    for (char field : r.dateOrder) {
        if (field == 'M' && month != 0 && fields.size() - numbers.size() == 1)
            continue;
        if (next >= numbers.size())
            return std::nullopt;
        const int v = numbers[next++].number;
        if (field == 'd')
            day = v;
        else if (field == 'M')
            month = v;
        else
            year = v;
    }
    if (month < 1 || month > 12 || year < 0 || year > 9999)
        return std::nullopt;
    if (year < 100)
        year += year < 30 ? 2000 : 1900;
    if (year < 100 || day < 1 || day > DaysInMonth(year, month))
        return std::nullopt;
    Date date = DateSerial(year, month, day);

    while (i < t.size() && t[i] == ' ')
        ++i;
    if (i < t.size()) {
        const std::optional<int> seconds = ParseTime(t.substr(i));
        if (!seconds)
            return std::nullopt;
        date += static_cast<double>(*seconds) / kSecondsPerDay;
    }
    return date;
}

}  // namespace

bool IsDate(std::string_view text) { return ParseDate(text).has_value(); }

Date CDate(std::string_view text) {
    const std::optional<Date> date = ParseDate(text);
    if (!date)
        Raise(kErrTypeMismatch);
    return *date;
}

}  // namespace runtime
