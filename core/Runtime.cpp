#include "core/Runtime.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "core/Locale.h"
#include "core/RuntimeDetail.h"
#include "core/RuntimeError.h"

namespace runtime {
namespace detail {
namespace {

int ToInt(const std::string& text, int fallback) {
    if (text.empty())
        return fallback;
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    return end == text.c_str() ? fallback : static_cast<int>(v);
}

void ReadOrder(const std::string& picture, char order[3]) {
    int n = 0;
    bool quoted = false;
    for (char c : picture) {
        if (c == '\'')
            quoted = !quoted;
        if (quoted || n == 3)
            continue;
        const char field = c == 'd' ? 'd' : c == 'M' ? 'M' : c == 'y' ? 'y' : 0;
        if (field == 0)
            continue;
        bool seen = false;
        for (int i = 0; i < n; ++i)
            seen = seen || order[i] == field;
        if (!seen)
            order[n++] = field;
    }
    if (n != 3) {
        order[0] = 'M';
        order[1] = 'd';
        order[2] = 'y';
    }
}

void Load(Regional& r) {
    using namespace regional;
    r.decimal = GetInfo(kSDecimal);
    r.thousand = GetInfo(kSThousand);
    r.dateSep = GetInfo(kSDate);
    r.timeSep = GetInfo(kSTime);
    r.shortDate = GetInfo(kSShortDate);
    r.longDate = GetInfo(kSLongDate);
    r.longTime = GetInfo(kSTimeFormat);
    r.am = GetInfo(kS1159);
    r.pm = GetInfo(kS2359);
    r.currency = GetInfo(kSCurrency);
    r.monDecimal = GetInfo(kSMonDecimalSep);
    r.monThousand = GetInfo(kSMonThousandSep);
    r.currDigits = ToInt(GetInfo(kICurrDigits), 2);
    r.currPositive = ToInt(GetInfo(kICurrency), 0);
    r.currNegative = ToInt(GetInfo(kINegCurr), 0);
    // The locale counts 0 Monday ... 6 Sunday.
    r.firstDayOfWeek = (ToInt(GetInfo(kIFirstDayOfWeek), 6) + 1) % 7 + 1;
    for (int i = 0; i < 7; ++i) {
        // Locale codes start at Monday; our tables at Sunday.
        const LCTYPE offset = static_cast<LCTYPE>((i + 6) % 7);
        r.dayNames[i] = GetInfo(kSDayName1 + offset);
        r.dayAbbrevs[i] = GetInfo(kSAbbrevDayName1 + offset);
    }
    for (int i = 0; i < 12; ++i) {
        r.monthNames[i] = GetInfo(kSMonthName1 + static_cast<LCTYPE>(i));
        r.monthAbbrevs[i] = GetInfo(kSAbbrevMonthName1 + static_cast<LCTYPE>(i));
    }
    if (r.decimal.empty())
        r.decimal = ".";
    ReadOrder(r.shortDate, r.dateOrder);
}

}  // namespace

const Regional& CurrentRegional() {
    thread_local Regional cached;
    thread_local std::uint64_t loadedGeneration = 0;
    const std::uint64_t generation = regional::Generation();
    if (generation != loadedGeneration) {
        Load(cached);
        loadedGeneration = generation;
    }
    return cached;
}

Decimal ToDecimal(double magnitude) {
    Decimal d;
    if (!(magnitude > 0) || !std::isfinite(magnitude))
        return d;
    // 15 significant digits, correctly rounded as printf's "%.14e" gives them:
    // "d.dddddddddddddde+XX".
    char buf[40];
    const std::to_chars_result written =
        std::to_chars(buf, buf + sizeof buf - 1, magnitude, std::chars_format::scientific, 14);
    *written.ptr = '\0';
    char digits[16];
    std::size_t n = 0;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p) {
        if (*p != '.' && n < sizeof digits)
            digits[n++] = *p;
    }
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    d.pointPos = exponent + 1;
    while (n > 0 && digits[n - 1] == '0')
        --n;
    d.digits.assign(digits, n);
    return d;
}

void RoundDecimal(Decimal& d, int places) {
    const int keep = d.pointPos + places;
    if (keep >= static_cast<int>(d.digits.size()))
        return;
    if (keep < 0) {
        d.digits.clear();
        d.pointPos = 0;
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(keep)] >= '5';
    d.digits.resize(static_cast<std::size_t>(keep));
    if (up) {
        int i = keep - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            d.digits.pop_back();
            --i;
        }
        if (i < 0) {
            d.digits = "1";
            d.pointPos += 1;
        } else {
            d.digits[static_cast<std::size_t>(i)] += 1;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0')
        d.digits.pop_back();
    if (d.digits.empty())
        d.pointPos = 0;
}

}  // namespace detail

namespace {

bool IsValBlank(char c) { return c == ' ' || c == '\t' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Digits, point and exponent of a number as 15 significant digits, "." as the point, no
// sign. leadingZero puts "0" before a point that starts the text.
std::string PlainNumber(double magnitude, std::string_view point, bool leadingZero) {
    const detail::Decimal d = detail::ToDecimal(magnitude);
    if (d.digits.empty())
        return "0";
    const int n = static_cast<int>(d.digits.size());
    const int exponent = d.pointPos - 1;
    std::string out;
    if (exponent >= 15 || exponent < -4) {
        out.push_back(d.digits[0]);
        if (n > 1) {
            out.append(point);
            out.append(d.digits, 1);
        }
        char buf[16];
        std::snprintf(buf, sizeof buf, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        out += buf;
        return out;
    }
    if (d.pointPos <= 0) {
        if (leadingZero)
            out.push_back('0');
        out.append(point);
        out.append(static_cast<std::size_t>(-d.pointPos), '0');
        out += d.digits;
        return out;
    }
    if (d.pointPos >= n) {
        out = d.digits;
        out.append(static_cast<std::size_t>(d.pointPos - n), '0');
        return out;
    }
    out.assign(d.digits, 0, static_cast<std::size_t>(d.pointPos));
    out.append(point);
    out.append(d.digits, static_cast<std::size_t>(d.pointPos));
    return out;
}

double CheckedRound(double value, double low, double high) {
    if (std::isnan(value))
        Raise(kErrOverflow);
    const double r = std::nearbyint(value);  // default rounding: half to even
    if (r < low || r > high)
        Raise(kErrOverflow);
    return r;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return !prefix.empty() && text.substr(0, prefix.size()) == prefix;
}
bool EndsWith(std::string_view text, std::string_view suffix) {
    return !suffix.empty() && text.size() >= suffix.size() &&
           text.substr(text.size() - suffix.size()) == suffix;
}

std::string_view TrimBlanks(std::string_view t) {
    while (!t.empty() && (t.front() == ' ' || t.front() == '\t'))
        t.remove_prefix(1);
    while (!t.empty() && (t.back() == ' ' || t.back() == '\t'))
        t.remove_suffix(1);
    return t;
}

enum class Parsed { Number, NotNumber, TooLarge };

// The regional number conversion: the value of a number, or why there is none (a number
// beyond the double range is TooLarge).
Parsed ParseRegional(std::string_view text, double& result) {
    const detail::Regional& r = detail::CurrentRegional();
    std::string_view t = TrimBlanks(text);
    bool negative = false;
    bool signSeen = false;
    bool symbolSeen = false;
    auto takeSign = [&](bool atStart) {
        if (signSeen || t.empty())
            return;
        const char c = atStart ? t.front() : t.back();
        if (c != '-' && c != '+')
            return;
        signSeen = true;
        negative = c == '-';
        if (atStart)
            t.remove_prefix(1);
        else
            t.remove_suffix(1);
        t = TrimBlanks(t);
    };
    auto takeSymbol = [&](bool atStart) {
        if (symbolSeen)
            return;
        if (atStart ? StartsWith(t, r.currency) : EndsWith(t, r.currency)) {
            symbolSeen = true;
            if (atStart)
                t.remove_prefix(r.currency.size());
            else
                t.remove_suffix(r.currency.size());
            t = TrimBlanks(t);
        }
    };
    takeSign(true);
    takeSymbol(true);
    takeSign(true);
    takeSign(false);
    takeSymbol(false);
    takeSign(false);

    std::string plain;
    plain.reserve(t.size());
    bool digits = false;
    bool point = false;
    std::size_t i = 0;
    const bool groupsAllowed = !r.thousand.empty() && r.thousand != r.decimal;
    while (i < t.size()) {
        const std::string_view rest = t.substr(i);
        if (IsDigit(t[i])) {
            plain.push_back(t[i]);
            digits = true;
            ++i;
        } else if (StartsWith(rest, r.decimal)) {
            if (point)
                return Parsed::NotNumber;
            point = true;
            plain.push_back('.');
            i += r.decimal.size();
        } else if (groupsAllowed && !point && digits && StartsWith(rest, r.thousand)) {
            i += r.thousand.size();
        } else {
            break;
        }
    }
    if (!digits)
        return Parsed::NotNumber;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < t.size() && (t[j] == '+' || t[j] == '-'))
            exponent.push_back(t[j++]);
        const std::size_t first = j;
        while (j < t.size() && IsDigit(t[j]))
            exponent.push_back(t[j++]);
        if (j == first)
            return Parsed::NotNumber;
        plain += exponent;
        i = j;
    }
    if (i != t.size())
        return Parsed::NotNumber;
    const double v = std::strtod(plain.c_str(), nullptr);
    if (!std::isfinite(v))
        return Parsed::TooLarge;
    result = negative ? -v : v;
    return Parsed::Number;
}

}  // namespace

double Val(std::string_view text) {
    std::string plain;
    plain.reserve(text.size());
    std::size_t i = 0;
    auto skip = [&] {
        while (i < text.size() && IsValBlank(text[i]))
            ++i;
    };
    skip();
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        plain.push_back(text[i++]);
    bool digits = false;
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (IsValBlank(c))
            continue;
        if (IsDigit(c)) {
            plain.push_back(c);
            digits = true;
        } else if (c == '.' && !point) {
            plain.push_back(c);
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0;
    skip();
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E' || text[i] == 'd' || text[i] == 'D')) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        while (j < text.size() && IsValBlank(text[j]))
            ++j;
        if (j < text.size() && (text[j] == '-' || text[j] == '+'))
            exponent.push_back(text[j++]);
        bool expDigits = false;
        for (; j < text.size(); ++j) {
            if (IsValBlank(text[j]))
                continue;
            if (!IsDigit(text[j]))
                break;
            exponent.push_back(text[j]);
            expDigits = true;
        }
        if (expDigits)
            plain += exponent;
    }
    const double v = std::strtod(plain.c_str(), nullptr);
    if (!std::isfinite(v))
        Raise(kErrOverflow);
    return v;
}

std::string Str(double value) {
    std::string out(1, value < 0 ? '-' : ' ');
    out += PlainNumber(std::fabs(value), ".", false);
    return out;
}

std::string CStr(double value) {
    std::string out = value < 0 ? "-" : "";
    out += PlainNumber(std::fabs(value), detail::CurrentRegional().decimal, true);
    return out == "-0" ? "0" : out;
}

std::int16_t CInt(double value) {
    return static_cast<std::int16_t>(CheckedRound(value, -32768.0, 32767.0));
}

std::int32_t CLng(double value) {
    return static_cast<std::int32_t>(CheckedRound(value, -2147483648.0, 2147483647.0));
}

std::int16_t CInt(std::string_view text) { return CInt(CDbl(text)); }
std::int32_t CLng(std::string_view text) { return CLng(CDbl(text)); }

double Int(double x) { return std::floor(x); }
double Fix(double x) { return std::trunc(x); }

bool IsNumeric(std::string_view text) {
    double ignored = 0;
    return ParseRegional(text, ignored) == Parsed::Number;
}

double CDbl(std::string_view text) {
    double v = 0;
    switch (ParseRegional(text, v)) {
    case Parsed::NotNumber:
        Raise(kErrTypeMismatch);
    case Parsed::TooLarge:
        Raise(kErrOverflow);
    case Parsed::Number:
        break;
    }
    return v;
}

// ---- text -------------------------------------------------------------------------------

std::string LTrim(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

std::string RTrim(std::string_view text) {
    const std::size_t last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string() : std::string(text.substr(0, last + 1));
}

std::string_view TrimmedView(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::string Trim(std::string_view text) { return std::string(TrimmedView(text)); }

namespace {

unsigned char UpperCp1252(unsigned char c) {
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned char>(c - 32);
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return static_cast<unsigned char>(c - 32);
    switch (c) {
    case 0x9A:
        return 0x8A;
    case 0x9C:
        return 0x8C;
    case 0x9E:
        return 0x8E;
    case 0xFF:
        return 0x9F;
    default:
        return c;
    }
}

unsigned char LowerCp1252(unsigned char c) {
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return static_cast<unsigned char>(c + 32);
    switch (c) {
    case 0x8A:
        return 0x9A;
    case 0x8C:
        return 0x9C;
    case 0x8E:
        return 0x9E;
    case 0x9F:
        return 0xFF;
    default:
        return c;
    }
}

}  // namespace

std::string UCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(UpperCp1252(static_cast<unsigned char>(c)));
    return out;
}

std::string LCase(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(LowerCp1252(static_cast<unsigned char>(c)));
    return out;
}

std::size_t InStr(std::string_view text, std::string_view find, std::size_t start) {
    if (start == 0)
        Raise(kErrInvalidCall);
    if (start > text.size() + 1)
        return 0;
    if (find.empty())
        return start;
    const std::size_t at = text.find(find, start - 1);
    return at == std::string_view::npos ? 0 : at + 1;
}

std::string Mid(std::string_view text, std::size_t start, std::size_t length) {
    if (start == 0)
        Raise(kErrInvalidCall);
    if (start > text.size())
        return std::string();
    return std::string(text.substr(start - 1, length));
}

std::string Left(std::string_view text, std::size_t length) {
    return std::string(text.substr(0, length));
}

std::string Right(std::string_view text, std::size_t length) {
    return length >= text.size() ? std::string(text)
                                 : std::string(text.substr(text.size() - length));
}

}  // namespace runtime
