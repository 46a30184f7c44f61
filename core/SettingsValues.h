// How one setting is stored: its value name, its registry encoding and the variable it
// belongs to. Reading converts a value read to the variable's type; writing encodes it.
#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "core/Registry_Functions.h"

namespace settings_values {

enum class Encoding {
    Text,        // REG_SZ
    Number,      // REG_DWORD, rounded half to even
    Money,       // REG_DWORD, ten-thousandths
    DayCount,    // REG_DWORD, whole days since 30 December 1899
    TimeOfDay,   // REG_SZ, the regional long time
    BoolText,    // REG_SZ "True" / "False"
    BoolNumber,  // REG_DWORD -1 / 0
};

using Target = std::variant<std::string*, std::int16_t*, std::int32_t*, double*, float*, bool*>;

struct Setting {
    std::string name;
    Encoding encoding;
    Target target;
    // Read instead when `name` is missing: the name the value was stored under before.
    std::string formerName = {};
};

inline Setting Text(std::string name, std::string& v) {
    return {std::move(name), Encoding::Text, &v};
}
inline Setting Number(std::string name, std::int16_t& v) {
    return {std::move(name), Encoding::Number, &v};
}
inline Setting Number(std::string name, std::int32_t& v) {
    return {std::move(name), Encoding::Number, &v};
}
inline Setting Number(std::string name, double& v) {
    return {std::move(name), Encoding::Number, &v};
}
inline Setting Number(std::string name, float& v) {
    return {std::move(name), Encoding::Number, &v};
}
inline Setting Money(std::string name, double& v) { return {std::move(name), Encoding::Money, &v}; }
inline Setting DayCount(std::string name, double& v) {
    return {std::move(name), Encoding::DayCount, &v};
}
inline Setting TimeOfDay(std::string name, double& v) {
    return {std::move(name), Encoding::TimeOfDay, &v};
}
inline Setting BoolText(std::string name, bool& v) {
    return {std::move(name), Encoding::BoolText, &v};
}
inline Setting BoolNumber(std::string name, bool& v) {
    return {std::move(name), Encoding::BoolNumber, &v};
}

// Converts a value read and assigns it to the setting's variable. Empty gives 0, "",
// False or the date 0. A value that does not convert raises error 13 (type mismatch), a
// number too large for the variable, or for the 32 bits a number or money amount is stored
// in, error 6, and the variable keeps its value.
void Assign(const Setting& setting, const Registry_Functions::Variant& value);

struct Encoded {
    Registry_Functions::Variant value;
    std::int32_t type;
};
Encoded Encode(const Setting& setting);

// The text-to-Boolean rule: "True" / "False" in any case, or a number (0 False, other True);
// Empty is False; any other text raises error 13.
bool ToBoolean(const Registry_Functions::Variant& value);

// A time of day written as regional text ("6:30:00 PM", "18:30:00", "18:30"); error 13
// when the text is no time.
double ParseTimeOfDay(const std::string& text);

// A number as plain decimal digits ("12", "-3").
std::string Digits(int n);

// The value name of service n's flexi rate. "FlexRate" & n is also "FlexRate2" & m, the excess
// rate of service m, when n's digits are a 2 followed by m's (21 and 1, 210 and 10): such a
// service keeps its flexi rate as "FlexiRate" & n, and reads the former name when that is
// missing (where it was stored last, over m's excess rate). The former name is "" for others.
std::string FlexRateName(int service);
std::string FormerFlexRateName(int service);

}  // namespace settings_values
