#include "core/GeneralFunctions.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"

namespace GeneralFunctions {

namespace {

bool RegularFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(std::filesystem::path(path), ec);
}

FileProbe& Probe() {
    static FileProbe probe;
    return probe;
}

// The three fields of a text cut at the first two occurrences of separator.
struct Fields {
    std::string first, second, third;
};

std::optional<Fields> Split(const std::string& text, const std::string& separator) {
    const std::size_t one = separator.empty() ? std::string::npos : text.find(separator);
    const std::size_t two =
        one == std::string::npos ? std::string::npos : text.find(separator, one + separator.size());
    if (two == std::string::npos)
        return std::nullopt;
    return Fields{text.substr(0, one),
                  text.substr(one + separator.size(), two - one - separator.size()),
                  text.substr(two + separator.size())};
}

// As Split; fewer than two separators raise the invalid-argument error.
Fields SplitAtTwo(const std::string& text, const std::string& separator) {
    std::optional<Fields> fields = Split(text, separator);
    if (!fields)
        runtime::Raise(runtime::kErrInvalidCall);
    return *fields;
}

// The width of a field of the date mask when it is all digits ("##", "####"), else 2.
std::size_t DigitFieldWidth(const std::string& maskField) {
    if (maskField.empty() || maskField.find_first_not_of('#') != std::string::npos)
        return 2;
    return maskField.size();
}

// A whole number that is not negative, with a "0" before a single digit.
void AppendTimeField(std::string& out, double n) {
    if (n < 100) {
        const int v = static_cast<int>(n);
        const char two[2] = {static_cast<char>('0' + v / 10), static_cast<char>('0' + v % 10)};
        out.append(two, 2);
        return;
    }
    char digits[400];  // the largest double has 309 digits
    const char* end =
        n < 1.8e19
            ? std::to_chars(digits, digits + sizeof digits, static_cast<std::uint64_t>(n)).ptr
            : digits + std::snprintf(digits, sizeof digits, "%.0f", n);
    if (end - digits < 2)
        out.push_back('0');
    out.append(digits, static_cast<std::size_t>(end - digits));
}

}  // namespace

std::string PadString(const std::string& text, const std::string& fill, std::int16_t width) {
    std::string result = runtime::Trim(text);
    if (static_cast<int>(result.size()) < width) {
        if (fill.empty())
            runtime::Raise(runtime::kErrInvalidCall);
        result.insert(0, static_cast<std::size_t>(width) - result.size(), fill[0]);
    }
    return result;
}

std::string format_date(const std::string& dateText, std::string separator) {
    runtime::SetContext("GeneralFunctions", "format_date");
    if (separator.empty())
        separator = DUVMain::DateSeparator;
    runtime::SetStep(dateText + " (Sep = " + separator + ")");
    std::string result;
    if (separator.empty()) {
        runtime::Guard([&] { result = runtime::Format(std::string_view(dateText), "Short Date"); });
        return result;
    }

    // Field widths from the date boxes' mask, so that the text fits them; without a mask of
    // three fields every field is two characters.
    std::size_t widths[3] = {2, 2, 2};
    if (std::optional<Fields> mask = Split(DUVMain::DateMask, separator)) {
        widths[0] = DigitFieldWidth(mask->first);
        widths[1] = DigitFieldWidth(mask->second);
        widths[2] = DigitFieldWidth(mask->third);
    }

    std::string first, second, third;
    runtime::Guard([&] {
        Fields f = SplitAtTwo(dateText, separator);
        first = runtime::Trim(f.first);
        second = runtime::Trim(f.second);
        third = runtime::Trim(f.third);
        if (third.size() > widths[2])
            third = third.substr(third.size() - widths[2]);
    });
    runtime::Guard([&] {
        result = PadString(first, "0", static_cast<std::int16_t>(widths[0])) + separator +
                 PadString(second, "0", static_cast<std::int16_t>(widths[1])) + separator +
                 PadString(third, "0", static_cast<std::int16_t>(widths[2]));
    });
    runtime::SetStep("OK");
    return result;
}

bool FileExists(const std::string& path) {
    if (path.empty())
        return false;
    if (path.find_first_of("*?") != std::string::npos)
        return false;
    const FileProbe& probe = Probe();
    return probe ? probe(path) : RegularFile(path);
}

FileProbe InstallFileProbe(FileProbe probe) { return std::exchange(Probe(), std::move(probe)); }

bool DateBefore(double a, double b) { return a < b; }

std::string FormatTime(double seconds, bool noSeconds) {
    runtime::SetContext("GeneralFunctions", "FormatTime");
    std::string result;
    runtime::Guard([&] {
        if (!std::isfinite(seconds))
            runtime::Raise(runtime::kErrOverflow);
        const double magnitude = std::floor(std::fabs(seconds));
        double hours, minutes, whole;
        if (magnitude < 1.8e19) {
            // Whole seconds first: the same fields, without rounding in the subtractions.
            const auto total = static_cast<std::uint64_t>(magnitude);
            hours = static_cast<double>(total / 3600);
            minutes = static_cast<double>(total % 3600 / 60);
            whole = static_cast<double>(total % 60);
        } else {
            hours = std::floor(magnitude / 3600);
            minutes = std::floor(std::fmod(magnitude, 3600) / 60);
            whole = std::fmod(magnitude, 60);
        }
        const std::string& sep = DUVMain::TimeSeparator;
        if (seconds <= -1)
            result.push_back('-');
        AppendTimeField(result, hours);
        result += sep;
        AppendTimeField(result, minutes);
        if (!noSeconds) {
            result += sep;
            AppendTimeField(result, whole);
        }
    });
    return result;
}

bool CheckLongRange(double x) {
    if (x != 0)
        runtime::CLng(x);
    return true;
}

std::string Format_Dplaces(const std::string& numberText, std::int16_t maxPlaces) {
    runtime::SetContext("GeneralFunctions", "Format_Dplaces");
    std::string result;
    runtime::Guard([&] {
        if (!runtime::IsNumeric(numberText))
            return;
        result = runtime::Format(std::string_view(numberText),
                                 CurrencyFormat::MoneyMask(DUVMain::CurrencyDigits, maxPlaces));
    });
    return result;
}

std::string XValText(const std::string& text) {
    const std::string& decimal = DUVMain::DecimalSeparator;
    std::string thousands = DUVMain::ThousandSeparator;
    if (thousands == decimal)
        thousands.clear();
    const std::size_t decimalPos = decimal.empty() ? std::string::npos : text.find(decimal);

    // The first decimal separator becomes "."; every thousands separator before it goes.
    std::string plain;
    plain.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        if (i == decimalPos) {
            plain += '.';
            i += decimal.size();
        } else if (!thousands.empty() && i < decimalPos &&
                   text.compare(i, thousands.size(), thousands) == 0) {
            i += thousands.size();
        } else {
            plain += text[i++];
        }
    }
    return plain;
}

double XVal(const std::string& text) {
    runtime::SetContext("GeneralFunctions", "XVal");
    const std::string plain = XValText(text);
    double result = 0;
    runtime::Guard([&] { result = runtime::Val(plain); });
    return result;
}

bool MoneyInRange(double amount) { return amount >= kMinMoney && amount <= kMaxMoney; }

int DayNameIndex(const std::string& dayName) {
    for (int i = 1; i <= 7; ++i)
        if (DUVMain::DayNames[i] == dayName)
            return i;
    return 0;
}

std::string FileNameOfPath(const std::string& path) {
    const std::size_t slash = path.rfind('\\');
    if (slash == std::string::npos || slash + 1 == path.size())
        return path;
    return path.substr(slash + 1);
}

std::string TextBeforeSeparator(const std::string& text, const std::string& separator) {
    if (text.empty() || separator.empty())
        return "";
    const std::size_t at = text.rfind(separator);
    if (at == std::string::npos)
        runtime::Raise(runtime::kErrInvalidCall);
    return text.substr(0, at);
}

std::string DateFormatToken(const std::string& token) {
    const std::string t = runtime::LCase(token);
    if (t == "d" || t == "dd" || t == "m" || t == "mm" || t == "yy")
        return "##";
    if (t == "ddd" || t == "mmm")
        return "AAA";
    if (t == "yyyy")
        return "####";
    return "";
}

void GetDateFormatMask() {
    using namespace DUVMain;
    Fields f = SplitAtTwo(ShortDateFormat, DateSeparator);
    DateMask = DateFormatToken(f.first) + DateSeparator + DateFormatToken(f.second) +
               DateSeparator + DateFormatToken(f.third);
}

}  // namespace GeneralFunctions
