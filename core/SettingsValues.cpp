// Encodings of the settings in the registry.
#include "core/SettingsValues.h"

#include <cctype>
#include <type_traits>
#include <vector>

#include "core/Locale.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"

namespace settings_values {

using Registry_Functions::Variant;

namespace {

std::string ToText(const Variant& v) {
    if (v.IsString())
        return v.Text();
    if (v.IsEmpty())
        return {};
    return runtime::CStr(v.Number());
}

double ToNumber(const Variant& v) {
    if (v.IsString())
        return runtime::CDbl(v.Text());
    return v.Number();
}

// A date value: a number is a day count, a text a regional date.
double ToDate(const Variant& v) {
    if (v.IsString()) {
        if (runtime::IsNumeric(v.Text()))
            return runtime::CDbl(v.Text());
        return runtime::CDate(v.Text());
    }
    return v.Number();
}

double ToTime(const Variant& v) {
    if (v.IsString())
        return ParseTimeOfDay(v.Text());
    return v.Number();
}

bool EqualsIgnoringCase(const std::string& a, const std::string& b) {
    return runtime::UCase(a) == runtime::UCase(b);
}

// Stores a number in the variable, converted as an assignment to its type converts.
struct NumberAssigner {
    double value;
    void operator()(std::int16_t* t) const { *t = runtime::CInt(value); }
    void operator()(std::int32_t* t) const { *t = runtime::CLng(value); }
    void operator()(double* t) const { *t = value; }
    void operator()(float* t) const { *t = static_cast<float>(value); }
    void operator()(bool* t) const { *t = value != 0; }
    void operator()(std::string* t) const { *t = runtime::CStr(value); }
};

double NumberOf(const Target& target) {
    return std::visit(
        [](auto* t) -> double {
            using T = std::remove_pointer_t<decltype(t)>;
            if constexpr (std::is_same_v<T, std::string>)
                return runtime::CDbl(*t);
            else if constexpr (std::is_same_v<T, bool>)
                return *t ? -1.0 : 0.0;
            else
                return static_cast<double>(*t);
        },
        target);
}

const std::string& TextOf(const Target& target) { return *std::get<std::string*>(target); }

bool BoolOf(const Target& target) { return *std::get<bool*>(target); }

// Reads "h", "h:mm" or "h:mm:ss" with the regional or the ":" separator, and an optional
// AM / PM designator before or after.
bool TryParseTime(const std::string& text, double& result) {
    const std::string am = runtime::UCase(regional::GetInfo(regional::kS1159));
    const std::string pm = runtime::UCase(regional::GetInfo(regional::kS2359));
    const std::string separator = regional::GetInfo(regional::kSTime);
    std::string rest = runtime::UCase(runtime::Trim(text));

    int half = 0;  // 1 morning, 2 afternoon
    auto takeDesignator = [&](const std::string& word, int which, bool atEnd) {
        if (half != 0 || word.empty() || rest.size() < word.size())
            return;
        if (atEnd && rest.compare(rest.size() - word.size(), word.size(), word) == 0) {
            rest = runtime::Trim(rest.substr(0, rest.size() - word.size()));
            half = which;
        } else if (!atEnd && rest.compare(0, word.size(), word) == 0) {
            rest = runtime::Trim(rest.substr(word.size()));
            half = which;
        }
    };
    for (bool atEnd : {true, false}) {
        takeDesignator(am, 1, atEnd);
        takeDesignator(pm, 2, atEnd);
        takeDesignator("AM", 1, atEnd);
        takeDesignator("PM", 2, atEnd);
    }

    std::vector<int> parts;
    std::size_t i = 0;
    while (true) {
        if (i >= rest.size() || !std::isdigit(static_cast<unsigned char>(rest[i])))
            return false;
        int n = 0;
        std::size_t digits = 0;
        while (i < rest.size() && std::isdigit(static_cast<unsigned char>(rest[i]))) {
            if (++digits > 2)
                return false;
            n = n * 10 + (rest[i] - '0');
            ++i;
        }
        parts.push_back(n);
        if (i == rest.size())
            break;
        if (parts.size() == 3)
            return false;
        if (!separator.empty() && rest.compare(i, separator.size(), separator) == 0) {
            i += separator.size();
        } else if (rest[i] == ':') {
            ++i;
        } else {
            return false;
        }
    }
    int hour = parts[0];
    const int minute = parts.size() > 1 ? parts[1] : 0;
    const int second = parts.size() > 2 ? parts[2] : 0;
    if (parts.size() == 1 && half == 0)
        return false;  // a bare number is no time
    if (minute > 59 || second > 59)
        return false;
    if (half != 0) {
        if (hour < 1 || hour > 12)
            return false;
        if (hour == 12)
            hour = 0;
        if (half == 2)
            hour += 12;
    } else if (hour > 23) {
        return false;
    }
    result = runtime::TimeSerial(hour, minute, second);
    return true;
}

}  // namespace

double ParseTimeOfDay(const std::string& text) {
    double result = 0;
    if (TryParseTime(text, result))
        return result;
    return runtime::CDate(text);
}

bool ToBoolean(const Variant& v) {
    if (v.IsEmpty())
        return false;
    if (!v.IsString())
        return v.Number() != 0;
    const std::string text = runtime::Trim(v.Text());
    if (EqualsIgnoringCase(text, "True"))
        return true;
    if (EqualsIgnoringCase(text, "False"))
        return false;
    if (runtime::IsNumeric(text))
        return runtime::CDbl(text) != 0;
    runtime::Raise(runtime::kErrTypeMismatch);
}

std::string Digits(int n) { return std::to_string(n); }

namespace {

// Whether "FlexRate" & n is also the excess-rate name of another service.
bool FlexRateNameTaken(int service) {
    const std::string n = Digits(service);
    return n.size() >= 2 && n[0] == '2' && n[1] != '0';
}

}  // namespace

std::string FlexRateName(int service) {
    return (FlexRateNameTaken(service) ? "FlexiRate" : "FlexRate") + Digits(service);
}

std::string FormerFlexRateName(int service) {
    return FlexRateNameTaken(service) ? "FlexRate" + Digits(service) : std::string();
}

void Assign(const Setting& s, const Variant& v) {
    switch (s.encoding) {
    case Encoding::Text:
        *std::get<std::string*>(s.target) = ToText(v);
        return;
    case Encoding::Number:
    case Encoding::Money: {
        // Both are stored as 32-bit whole numbers: a text beyond that range is refused as it
        // is read, so that no write of it can fail half-way.
        const double stored = v.IsEmpty() ? 0.0 : ToNumber(v);
        runtime::CLng(stored);
        std::visit(NumberAssigner{s.encoding == Encoding::Money ? stored / 10000.0 : stored},
                   s.target);
        return;
    }
    case Encoding::DayCount:
        std::visit(NumberAssigner{v.IsEmpty() ? 0.0 : ToDate(v)}, s.target);
        return;
    case Encoding::TimeOfDay:
        std::visit(NumberAssigner{v.IsEmpty() ? 0.0 : ToTime(v)}, s.target);
        return;
    case Encoding::BoolText:
    case Encoding::BoolNumber:
        *std::get<bool*>(s.target) = ToBoolean(v);
        return;
    }
}

Encoded Encode(const Setting& s) {
    using namespace Registry_Functions;
    switch (s.encoding) {
    case Encoding::Text:
        return {Variant(TextOf(s.target)), REG_TYPE_SZ};
    case Encoding::Number:
        return {Variant(NumberOf(s.target)), REG_TYPE_DWORD};
    case Encoding::Money:
        return {Variant(NumberOf(s.target) * 10000.0), REG_TYPE_DWORD};
    case Encoding::DayCount:
        return {Variant(NumberOf(s.target)), REG_TYPE_DWORD};
    case Encoding::TimeOfDay:
        return {Variant(runtime::Format(NumberOf(s.target), "Long Time")), REG_TYPE_SZ};
    case Encoding::BoolText:
        return {Variant(std::string(BoolOf(s.target) ? "True" : "False")), REG_TYPE_SZ};
    case Encoding::BoolNumber:
        return {Variant(BoolOf(s.target) ? -1 : 0), REG_TYPE_DWORD};
    }
    return {Variant(), 0};
}

}  // namespace settings_values
