// Format: numeric masks, date masks, the named formats and Windows date pictures.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/Runtime.h"
#include "core/RuntimeDetail.h"
#include "core/RuntimeError.h"

namespace runtime {
namespace {

using detail::CurrentRegional;
using detail::Regional;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && Lower(a[i]) != Lower(b[i]))
            return false;
    }
    return true;
}

bool StartsNoCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualNoCase(text.substr(0, prefix.size()), prefix);
}

void AppendTwoDigits(std::string& out, int v) {
    const char digits[2] = {static_cast<char>('0' + v / 10 % 10), static_cast<char>('0' + v % 10)};
    out.append(digits, 2);
}

void AppendNumber(std::string& out, long long v) {
    if (v >= 0 && v < 10) {
        out.push_back(static_cast<char>('0' + v));
        return;
    }
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, v).ptr;
    out.append(digits, static_cast<std::size_t>(end - digits));
}

// ---- numbers ----------------------------------------------------------------------------

// Splits a mask into its sections at ";" outside quotes and escapes.
int SplitSections(std::string_view mask, std::string_view sections[4]) {
    int count = 0;
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const char c = mask[i];
        if (c == '"')
            quoted = !quoted;
        else if (c == '\\' && !quoted)
            ++i;
        else if (c == ';' && !quoted && count < 3) {
            sections[count++] = mask.substr(start, i - start);
            start = i + 1;
        }
    }
    sections[count++] = mask.substr(start);
    return count;
}

// One element of a numeric section.
struct NumToken {
    enum Kind { Literal, Whole, Fraction, Point, Percent } kind;
    std::string text;  // for literals
};

struct NumSection {
    std::vector<NumToken> tokens;
    std::string places;  // "0" or "#" for each place after the point
    int minWholeDigits = 0;
    bool grouping = false;
    bool percent = false;
    int decimals() const { return static_cast<int>(places.size()); }
};

NumSection ParseNumSection(std::string_view s) {
    NumSection out;
    bool afterPoint = false;
    bool wholeWritten = false;
    int wholeSlots = 0;
    int firstZero = -1;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '"') {
            const std::size_t end = s.find('"', i + 1);
            const std::size_t stop = end == std::string_view::npos ? s.size() : end;
            out.tokens.push_back({NumToken::Literal, std::string(s.substr(i + 1, stop - i - 1))});
            i = stop;
        } else if (c == '\\') {
            if (i + 1 < s.size())
                out.tokens.push_back({NumToken::Literal, std::string(1, s[++i])});
        } else if ((c == '0' || c == '#') && afterPoint) {
            out.places.push_back(c);
            out.tokens.push_back({NumToken::Fraction, {}});
        } else if (c == '0' || c == '#') {
            if (c == '0' && firstZero < 0)
                firstZero = wholeSlots;
            ++wholeSlots;
            // All whole digits are written at the first whole placeholder.
            if (!wholeWritten)
                out.tokens.push_back({NumToken::Whole, {}});
            wholeWritten = true;
        } else if (c == '.' && !afterPoint) {
            if (!wholeWritten)
                out.tokens.push_back({NumToken::Whole, {}});
            wholeWritten = true;
            out.tokens.push_back({NumToken::Point, {}});
            afterPoint = true;
        } else if (c == ',' && !afterPoint && wholeSlots > 0) {
            out.grouping = true;
        } else if (c == '%') {
            out.tokens.push_back({NumToken::Percent, {}});
            out.percent = true;
        } else {
            out.tokens.push_back({NumToken::Literal, std::string(1, c)});
        }
    }
    if (firstZero >= 0)
        out.minWholeDigits = wholeSlots - firstZero;
    return out;
}

// A numeric mask split into its sections, kept for the next call with the same mask.
struct NumMask {
    std::string text;
    int count = 0;
    NumSection sections[3];
};

const NumMask& ParseNumMask(std::string_view mask) {
    thread_local NumMask cache[8];
    thread_local std::size_t next = 0;
    for (const NumMask& m : cache) {
        if (m.count > 0 && m.text == mask)
            return m;
    }
    NumMask& m = cache[next];
    next = (next + 1) % 8;
    m.text.assign(mask);
    std::string_view parts[4];
    m.count = std::min(SplitSections(m.text, parts), 3);
    for (int i = 0; i < m.count; ++i)
        m.sections[i] = ParseNumSection(parts[i]);
    return m;
}

void AppendGrouped(std::string& out, std::string_view digits, const std::string& separator) {
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += separator;
        out.push_back(digits[i]);
    }
}

// A magnitude rounded to the section's places.
detail::Decimal RoundedFor(double magnitude, const NumSection& section) {
    detail::Decimal d = detail::ToDecimal(section.percent ? magnitude * 100 : magnitude);
    detail::RoundDecimal(d, section.decimals());
    return d;
}

// Writes a rounded magnitude by one section; the sign is the caller's.
std::string FormatMagnitude(const detail::Decimal& d, const NumSection& section,
                            const std::string& decimal, const std::string& thousand) {
    // Whole digits ("" for zero), padded to the mask's zeros, and the fraction digits.
    std::string whole;
    std::string fraction(section.places.size(), '0');
    const int n = static_cast<int>(d.digits.size());
    for (int i = 0; i < n; ++i) {
        const int place = d.pointPos - 1 - i;  // power of ten of this digit
        if (place >= 0) {
            whole.push_back(d.digits[static_cast<std::size_t>(i)]);
        } else if (-place - 1 < section.decimals()) {
            fraction[static_cast<std::size_t>(-place - 1)] = d.digits[static_cast<std::size_t>(i)];
        }
    }
    if (!whole.empty() && d.pointPos > n)
        whole.append(static_cast<std::size_t>(d.pointPos - n), '0');
    const std::size_t minimum = static_cast<std::size_t>(section.minWholeDigits);
    if (whole.size() < minimum)
        whole.insert(0, minimum - whole.size(), '0');

    // Trailing optional places that hold zeros are left out, and with them a point that
    // would end the number.
    std::size_t shown = fraction.size();
    while (shown > 0 && section.places[shown - 1] == '#' && fraction[shown - 1] == '0')
        --shown;

    std::string out;
    out.reserve(whole.size() + whole.size() / 3 + shown + 4);
    std::size_t fractionIndex = 0;
    for (const NumToken& t : section.tokens) {
        switch (t.kind) {
        case NumToken::Literal:
            out += t.text;
            break;
        case NumToken::Percent:
            out.push_back('%');
            break;
        case NumToken::Whole:
            if (section.grouping)
                AppendGrouped(out, whole, thousand);
            else
                out += whole;
            break;
        case NumToken::Point:
            if (shown > 0)
                out += decimal;
            break;
        case NumToken::Fraction:
            if (fractionIndex < shown)
                out.push_back(fraction[fractionIndex]);
            ++fractionIndex;
            break;
        }
    }
    return out;
}

std::string FormatNumber(double value, std::string_view maskText) {
    const Regional& r = CurrentRegional();
    const NumMask& mask = ParseNumMask(maskText);
    const double magnitude = std::fabs(value);
    if (value < 0 && mask.count >= 2 && !mask.sections[1].tokens.empty()) {
        const NumSection& negative = mask.sections[1];
        return FormatMagnitude(RoundedFor(magnitude, negative), negative, r.decimal, r.thousand);
    }
    const NumSection& main = mask.sections[0];
    const detail::Decimal d = RoundedFor(magnitude, main);
    if (d.digits.empty() && mask.count >= 3 && !mask.sections[2].tokens.empty()) {
        return FormatMagnitude(d, mask.sections[2], r.decimal, r.thousand);
    }
    std::string text = FormatMagnitude(d, main, r.decimal, r.thousand);
    // A negative amount that rounds to zero is written without its sign.
    if (value < 0 && !d.digits.empty())
        text.insert(0, 1, '-');
    return text;
}

// The masks "#,##0" and "0", each with up to four zero places, for a value whose rounding
// needs no decimal form: a whole number of at most 15 digits, or, scaled to its places, a
// smaller one whose fraction stands clear of the half (the 15-digit form and the scaling
// move it by less than 1e-4 there). False: the general path decides.
bool FormatPlainFast(double value, std::string_view mask, std::string& out) {
    const bool grouped = mask.substr(0, 5) == "#,##0";
    std::string_view rest = mask.substr(grouped ? 5 : (mask.substr(0, 1) == "0" ? 1 : 0));
    if (rest.size() == mask.size())
        return false;
    int places = 0;
    if (!rest.empty()) {
        if (rest.size() < 2 || rest.size() > 5 || rest[0] != '.' ||
            rest.find_first_not_of('0', 1) != std::string_view::npos)
            return false;
        places = static_cast<int>(rest.size()) - 1;
    }
    static constexpr double kScale[] = {1, 10, 100, 1000, 10000};
    const double magnitude = std::fabs(value);
    if (!(magnitude < 1e15))
        return false;
    double scaled = std::floor(magnitude);
    if (magnitude != scaled || places > 0) {
        const double exact = magnitude * kScale[places];
        scaled = std::floor(exact);
        const double fraction = exact - scaled;
        if (exact >= 1e11 || std::fabs(fraction - 0.5) <= 1e-3)
            return false;
        if (fraction > 0.5)
            scaled += 1;
    }
    const auto n = static_cast<unsigned long long>(scaled);
    const auto unit = static_cast<unsigned long long>(kScale[places]);
    char digits[24];
    const char* end = std::to_chars(digits, digits + sizeof digits, n / unit).ptr;
    const std::string_view whole(digits, static_cast<std::size_t>(end - digits));
    // A negative amount that rounds to zero is written without its sign.
    if (value < 0 && n > 0)
        out.push_back('-');
    const Regional& r = CurrentRegional();
    if (grouped)
        AppendGrouped(out, whole, r.thousand);
    else
        out += whole;
    if (places > 0) {
        out += r.decimal;
        unsigned long long fraction = n % unit;
        char tail[4];
        for (int i = places - 1; i >= 0; --i, fraction /= 10)
            tail[i] = static_cast<char>('0' + fraction % 10);
        out.append(tail, static_cast<std::size_t>(places));
    }
    return true;
}

std::string FormatCurrencyNamed(double value) {
    const Regional& r = CurrentRegional();
    std::string mask = "#,##0";
    if (r.currDigits > 0)
        mask += "." + std::string(static_cast<std::size_t>(r.currDigits), '0');
    const NumSection& section = ParseNumMask(mask).sections[0];
    const detail::Decimal d = RoundedFor(std::fabs(value), section);
    const bool negative = value < 0 && !d.digits.empty();
    const std::string n =
        FormatMagnitude(d, section, r.monDecimal.empty() ? r.decimal : r.monDecimal, r.monThousand);
    const std::string& s = r.currency;
    if (!negative) {
        switch (r.currPositive) {
        case 1:
            return n + s;
        case 2:
            return s + " " + n;
        case 3:
            return n + " " + s;
        default:
            return s + n;
        }
    }
    switch (r.currNegative) {
    case 1:
        return "-" + s + n;
    case 2:
        return s + "-" + n;
    case 3:
        return s + n + "-";
    case 4:
        return "(" + n + s + ")";
    case 5:
        return "-" + n + s;
    case 6:
        return n + "-" + s;
    case 7:
        return n + s + "-";
    case 8:
        return "-" + n + " " + s;
    case 9:
        return "-" + s + " " + n;
    case 10:
        return n + " " + s + "-";
    case 11:
        return s + " " + n + "-";
    case 12:
        return s + " -" + n;
    case 13:
        return n + "- " + s;
    case 14:
        return "(" + s + " " + n + ")";
    case 15:
        return "(" + n + " " + s + ")";
    default:
        return "(" + s + n + ")";
    }
}

// ---- dates ------------------------------------------------------------------------------

using DateParts = detail::DateFields;

DateParts PartsOf(Date date) { return detail::Decompose(date); }

// A Windows picture cut into its runs: a field letter and how often it stands, or a literal
// text (field 0).
struct PictureRun {
    char field;
    std::size_t run;
    std::string literal;
};

bool IsPictureField(char c) {
    switch (c) {
    case 'd':
    case 'M':
    case 'y':
    case 'g':
    case 'h':
    case 'H':
    case 'm':
    case 's':
    case 't':
        return true;
    default:
        return false;
    }
}

std::vector<PictureRun> CutPicture(std::string_view pic) {
    std::vector<PictureRun> runs;
    const auto literal = [&runs]() -> std::string& {
        if (runs.empty() || runs.back().field != 0)
            runs.push_back({0, 0, {}});
        return runs.back().literal;
    };
    for (std::size_t i = 0; i < pic.size();) {
        const char c = pic[i];
        if (c == '\'') {
            std::size_t j = i + 1;
            for (; j < pic.size(); ++j) {
                if (pic[j] == '\'') {
                    if (j + 1 < pic.size() && pic[j + 1] == '\'') {
                        literal().push_back('\'');
                        ++j;
                        continue;
                    }
                    break;
                }
                literal().push_back(pic[j]);
            }
            i = j + 1;
            continue;
        }
        std::size_t run = 1;
        while (i + run < pic.size() && pic[i + run] == c)
            ++run;
        if (IsPictureField(c))
            runs.push_back({c, run, {}});
        else
            literal().append(run, c);
        i += run;
    }
    return runs;
}

// The runs of a picture, cut once and kept for the next calls with the same picture.
const std::vector<PictureRun>& PictureRuns(std::string_view pic) {
    struct Entry {
        bool used = false;
        std::string picture;
        std::vector<PictureRun> runs;
    };
    thread_local Entry cache[4];
    thread_local std::size_t next = 0;
    for (const Entry& e : cache) {
        if (e.used && e.picture == pic)
            return e.runs;
    }
    Entry& e = cache[next];
    next = (next + 1) % 4;
    e.picture.assign(pic);
    e.runs = CutPicture(pic);
    e.used = true;
    return e.runs;
}

// Text put together in a buffer and added to a string in one piece.
class PictureText {
public:
    explicit PictureText(std::string& out) : out_(out) {}
    ~PictureText() { Flush(); }
    PictureText(const PictureText&) = delete;
    PictureText& operator=(const PictureText&) = delete;

    void Put(std::string_view text) {
        if (text.size() > sizeof buffer_) {
            Flush();
            out_ += text;
            return;
        }
        char* at = Room(text.size());
        for (const char c : text)
            *at++ = c;
        size_ += text.size();
    }
    void Number(int v) {
        if (v >= 0 && v < 100) {
            if (v < 10)
                *Room(1) = static_cast<char>('0' + v);
            else
                WriteTwoDigits(v);
            size_ += v < 10 ? 1 : 2;
            return;
        }
        char digits[16];
        const char* end = std::to_chars(digits, digits + sizeof digits, v).ptr;
        Put({digits, static_cast<std::size_t>(end - digits)});
    }
    void TwoDigits(int v) {
        WriteTwoDigits(v);
        size_ += 2;
    }

private:
    // Where n more characters go, the buffer emptied into the string first when they would
    // not fit (n is never more than the buffer holds).
    char* Room(std::size_t n) {
        if (n > sizeof buffer_ - size_)
            Flush();
        return buffer_ + size_;
    }
    void Flush() {
        out_.append(buffer_, size_);
        size_ = 0;
    }
    void WriteTwoDigits(int v) {
        char* at = Room(2);
        at[0] = static_cast<char>('0' + v / 10 % 10);
        at[1] = static_cast<char>('0' + v % 10);
    }

    std::string& out_;
    char buffer_[64];
    std::size_t size_ = 0;
};

void AppendWindowsPicture(std::string& out, const DateParts& p, std::string_view pic,
                          const Regional& r) {
    PictureText text(out);
    for (const PictureRun& run : PictureRuns(pic)) {
        const std::size_t n = run.run;
        switch (run.field) {
        case 0:
            text.Put(run.literal);
            break;
        case 'd':
            if (n == 1)
                text.Number(p.day);
            else if (n == 2)
                text.TwoDigits(p.day);
            else
                text.Put(n == 3 ? r.dayAbbrevs[p.weekday - 1] : r.dayNames[p.weekday - 1]);
            break;
        case 'M':
            if (n == 1)
                text.Number(p.month);
            else if (n == 2)
                text.TwoDigits(p.month);
            else
                text.Put(n == 3 ? r.monthAbbrevs[p.month - 1] : r.monthNames[p.month - 1]);
            break;
        case 'y':
            if (n == 1)
                text.Number(p.year % 100);
            else if (n == 2)
                text.TwoDigits(p.year % 100);
            else if (p.year >= 1000)
                text.Number(p.year);
            else {
                char buf[16];
                std::snprintf(buf, sizeof buf, "%04d", p.year);
                text.Put(buf);
            }
            break;
        case 'g':
            break;  // era: none in the Gregorian calendars used here
        case 'h':
        case 'H': {
            const int h = run.field == 'H' ? p.hour : (p.hour % 12 == 0 ? 12 : p.hour % 12);
            if (n == 1)
                text.Number(h);
            else
                text.TwoDigits(h);
            break;
        }
        case 'm':
            if (n == 1)
                text.Number(p.minute);
            else
                text.TwoDigits(p.minute);
            break;
        case 's':
            if (n == 1)
                text.Number(p.second);
            else
                text.TwoDigits(p.second);
            break;
        default: {  // 't'
            const std::string& designator = p.hour < 12 ? r.am : r.pm;
            text.Put(n == 1 ? std::string_view(designator).substr(0, 1)
                            : std::string_view(designator));
            break;
        }
        }
    }
}

// The date part in the short form and the time in the long form, each only when present.
void AppendGeneralDate(std::string& out, const DateParts& p, const Regional& r) {
    if (p.hasDate || !p.hasTime)
        AppendWindowsPicture(out, p, r.shortDate, r);
    if (p.hasTime) {
        if (p.hasDate)
            out.push_back(' ');
        AppendWindowsPicture(out, p, r.longTime, r);
    }
}

// A time in 12 hours with the regional separator and AM/PM texts ("Medium Time").
void AppendMediumTime(std::string& out, const DateParts& p, const Regional& r) {
    const int h = p.hour % 12 == 0 ? 12 : p.hour % 12;
    AppendTwoDigits(out, h);
    out += r.timeSep;
    AppendTwoDigits(out, p.minute);
    out.push_back(' ');
    out += p.hour < 12 ? r.am : r.pm;
}

// AM/PM tokens of a date mask: the length matched and the texts for morning and afternoon
// (nullptr: the regional texts).
struct AmPm {
    std::size_t length;
    const char* am;
    const char* pm;
};

AmPm MatchAmPm(std::string_view s) {
    if (StartsNoCase(s, "AMPM"))
        return {4, nullptr, nullptr};
    if (s.substr(0, 5) == "AM/PM")
        return {5, "AM", "PM"};
    if (s.substr(0, 5) == "am/pm")
        return {5, "am", "pm"};
    if (StartsNoCase(s, "AM/PM"))
        return {5, "AM", "PM"};
    if (s.substr(0, 3) == "A/P")
        return {3, "A", "P"};
    if (s.substr(0, 3) == "a/p")
        return {3, "a", "p"};
    return {0, nullptr, nullptr};
}

bool HasAmPm(std::string_view mask) {
    for (std::size_t i = 0; i < mask.size(); ++i) {
        if (mask[i] == '"') {
            const std::size_t end = mask.find('"', i + 1);
            if (end == std::string_view::npos)
                return false;
            i = end;
        } else if (mask[i] == '\\') {
            ++i;
        } else if (MatchAmPm(mask.substr(i)).length > 0) {
            return true;
        }
    }
    return false;
}

// Whether an "m" run at pos stands for minutes: it follows an hour or precedes seconds.
bool IsMinuteRun(std::string_view mask, std::size_t pos, std::size_t run, bool afterHour) {
    if (afterHour)
        return true;
    for (std::size_t j = pos + run; j < mask.size(); ++j) {
        const char c = Lower(mask[j]);
        if (c == 's')
            return true;
        if (c == 'd' || c == 'y' || c == 'h' || c == 'n' || c == 'm' || c == 'w' || c == 'q') {
            return false;
        }
    }
    return false;
}

std::string FormatDateMask(Date date, std::string_view mask) {
    const Regional& r = CurrentRegional();
    const DateParts p = PartsOf(date);
    const bool twelveHour = HasAmPm(mask);
    std::string out;
    out.reserve(mask.size() + 16);
    bool afterHour = false;
    for (std::size_t i = 0; i < mask.size();) {
        const char raw = mask[i];
        const char c = Lower(raw);
        if (raw == '"') {
            const std::size_t end = mask.find('"', i + 1);
            const std::size_t stop = end == std::string_view::npos ? mask.size() : end;
            out.append(mask.substr(i + 1, stop - i - 1));
            i = stop + 1;
            continue;
        }
        if (raw == '\\') {
            if (i + 1 < mask.size())
                out.push_back(mask[i + 1]);
            i += 2;
            continue;
        }
        if (c == 'a') {
            const AmPm token = MatchAmPm(mask.substr(i));
            if (token.length > 0) {
                if (token.am == nullptr)
                    out += p.hour < 12 ? r.am : r.pm;
                else
                    out += p.hour < 12 ? token.am : token.pm;
                i += token.length;
                continue;
            }
        }
        std::size_t run = 1;
        while (i + run < mask.size() && Lower(mask[i + run]) == c)
            ++run;
        switch (c) {
        case 'd':
            if (run == 1)
                AppendNumber(out, p.day);
            else if (run == 2)
                AppendTwoDigits(out, p.day);
            else if (run == 3)
                out += r.dayAbbrevs[p.weekday - 1];
            else if (run == 4)
                out += r.dayNames[p.weekday - 1];
            else if (run == 5)
                AppendWindowsPicture(out, p, r.shortDate, r);
            else
                AppendWindowsPicture(out, p, r.longDate, r);
            afterHour = false;
            break;
        case 'w':
            if (run == 1)
                AppendNumber(out, p.weekday);
            else
                AppendNumber(out, DateDiff("ww", DateSerial(p.year, 1, 1), DateOnly(date)) + 1);
            afterHour = false;
            break;
        case 'm':
            if (run <= 2 && IsMinuteRun(mask, i, run, afterHour)) {
                if (run == 1)
                    AppendNumber(out, p.minute);
                else
                    AppendTwoDigits(out, p.minute);
            } else if (run == 1) {
                AppendNumber(out, p.month);
            } else if (run == 2) {
                AppendTwoDigits(out, p.month);
            } else if (run == 3) {
                out += r.monthAbbrevs[p.month - 1];
            } else {
                out += r.monthNames[p.month - 1];
            }
            afterHour = false;
            break;
        case 'q':
            AppendNumber(out, (p.month - 1) / 3 + 1);
            afterHour = false;
            break;
        case 'y':
            if (run == 1) {
                AppendNumber(out, DateDiff("d", DateSerial(p.year, 1, 1), DateOnly(date)) + 1);
            } else if (run == 2) {
                AppendTwoDigits(out, p.year % 100);
            } else {
                AppendNumber(out, p.year);
            }
            afterHour = false;
            break;
        case 'h': {
            const int h = twelveHour ? (p.hour % 12 == 0 ? 12 : p.hour % 12) : p.hour;
            if (run == 1)
                AppendNumber(out, h);
            else
                AppendTwoDigits(out, h);
            afterHour = true;
            break;
        }
        case 'n':
            if (run == 1)
                AppendNumber(out, p.minute);
            else
                AppendTwoDigits(out, p.minute);
            afterHour = false;
            break;
        case 's':
            if (run == 1)
                AppendNumber(out, p.second);
            else
                AppendTwoDigits(out, p.second);
            afterHour = false;
            break;
        case 'c':
            for (std::size_t k = 0; k < run; ++k)
                AppendGeneralDate(out, p, r);
            break;
        case 't':
            if (run == 5)
                AppendWindowsPicture(out, p, r.longTime, r);
            else
                out.append(mask.substr(i, run));
            break;
        case ':':
            for (std::size_t k = 0; k < run; ++k)
                out += r.timeSep;
            break;
        case '/':
            for (std::size_t k = 0; k < run; ++k)
                out += r.dateSep;
            break;
        default:
            out.append(mask.substr(i, run));
            break;
        }
        i += run;
    }
    return out;
}

bool IsDateMask(std::string_view mask) {
    for (std::size_t i = 0; i < mask.size(); ++i) {
        const char c = Lower(mask[i]);
        if (c == '"') {
            const std::size_t end = mask.find('"', i + 1);
            if (end == std::string_view::npos)
                return false;
            i = end;
        } else if (c == '\\') {
            ++i;
        } else if (c == 'd' || c == 'm' || c == 'y' || c == 'h' || c == 'n' || c == 's' ||
                   c == 'w' || c == 'q' || c == 'c' ||
                   (c == 't' && StartsNoCase(mask.substr(i), "ttttt")) ||
                   (c == 'a' && MatchAmPm(mask.substr(i)).length > 0)) {
            return true;
        }
    }
    return false;
}

// The named formats, each with what it writes.
struct NamedFormat {
    std::string_view name;
    void (*write)(double value, const Regional& r, std::string& out);
};

// The two that the reports write for every session come first.
constexpr NamedFormat kNamedFormats[] = {
    {"Long Time", [](double v, const Regional& r,
                     std::string& out) { AppendWindowsPicture(out, PartsOf(v), r.longTime, r); }},
    {"Short Date", [](double v, const Regional& r,
                      std::string& out) { AppendWindowsPicture(out, PartsOf(v), r.shortDate, r); }},
    {"General Number", [](double v, const Regional&, std::string& out) { out = CStr(v); }},
    {"Currency", [](double v, const Regional&, std::string& out) { out = FormatCurrencyNamed(v); }},
    {"Fixed", [](double v, const Regional&, std::string& out) { out = FormatNumber(v, "0.00"); }},
    {"Standard",
     [](double v, const Regional&, std::string& out) { out = FormatNumber(v, "#,##0.00"); }},
    {"Percent",
     [](double v, const Regional&, std::string& out) { out = FormatNumber(v, "0.00%"); }},
    {"General Date",
     [](double v, const Regional& r, std::string& out) { AppendGeneralDate(out, PartsOf(v), r); }},
    {"Long Date", [](double v, const Regional& r,
                     std::string& out) { AppendWindowsPicture(out, PartsOf(v), r.longDate, r); }},
    {"Medium Date",
     [](double v, const Regional&, std::string& out) { out = FormatDateMask(v, "dd-mmm-yy"); }},
    {"Medium Time",
     [](double v, const Regional& r, std::string& out) { AppendMediumTime(out, PartsOf(v), r); }},
    {"Short Time",
     [](double v, const Regional&, std::string& out) { out = FormatDateMask(v, "hh:nn"); }},
};

// Named formats, in any case; false when the mask names none. Only the names of the mask's
// length are compared.
bool FormatNamed(double value, std::string_view mask, std::string& out) {
    for (const NamedFormat& named : kNamedFormats) {
        if (named.name.size() == mask.size() && EqualNoCase(mask, named.name)) {
            named.write(value, CurrentRegional(), out);
            return true;
        }
    }
    return false;
}

}  // namespace

std::string Format(double value, std::string_view mask) {
    if (mask.empty())
        return CStr(value);
    std::string out;
    // The two the reports write for every session, as they stand, go straight to their writer.
    for (const NamedFormat& named : {kNamedFormats[0], kNamedFormats[1]}) {
        if (mask == named.name) {
            named.write(value, CurrentRegional(), out);
            return out;
        }
    }
    if (FormatPlainFast(value, mask, out))
        return out;
    if (FormatNamed(value, mask, out))
        return out;
    if (IsDateMask(mask))
        return FormatDateMask(value, mask);
    return FormatNumber(value, mask);
}

std::string Format(double value) { return CStr(value); }

void AppendGroupedWhole(std::string& out, std::int32_t value) {
    // A whole number of at most ten digits: the direct path always takes it.
    if (!FormatPlainFast(value, "#,##0", out))
        out += Format(value, "#,##0");
}

std::string Format(std::string_view text, std::string_view mask) {
    if (IsNumeric(text))
        return Format(CDbl(text), mask);
    if (IsDate(text))
        return Format(CDate(text), mask);
    return std::string(text);
}

std::string FormatWindowsPicture(Date date, std::string_view picture) {
    std::string out;
    AppendWindowsPicture(out, PartsOf(date), picture, CurrentRegional());
    return out;
}

}  // namespace runtime
