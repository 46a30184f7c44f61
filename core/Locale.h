// The regional settings as the system reports them: one value per locale-information code
// (LCTYPE) of a locale, and the system default locale. The Win32 source reads
// GetLocaleInfoA; tests and native builds use the fixed tables below.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace regional {

using LCID = std::uint32_t;
using LCTYPE = std::uint32_t;

inline constexpr LCID kLcidEnUs = 0x0409;
inline constexpr LCID kLcidDeDe = 0x0407;

// Locale-information codes (the platform's values).
inline constexpr LCTYPE kILanguage = 0x01;
inline constexpr LCTYPE kSLanguage = 0x02;
inline constexpr LCTYPE kSAbbrevLangName = 0x03;
inline constexpr LCTYPE kSNativeLangName = 0x04;
inline constexpr LCTYPE kICountry = 0x05;
inline constexpr LCTYPE kSCountry = 0x06;
inline constexpr LCTYPE kSAbbrevCtryName = 0x07;
inline constexpr LCTYPE kSNativeCtryName = 0x08;
inline constexpr LCTYPE kIDefaultLanguage = 0x09;
inline constexpr LCTYPE kIDefaultCountry = 0x0A;
inline constexpr LCTYPE kIDefaultCodePage = 0x0B;
inline constexpr LCTYPE kSList = 0x0C;
inline constexpr LCTYPE kIMeasure = 0x0D;
inline constexpr LCTYPE kSDecimal = 0x0E;
inline constexpr LCTYPE kSThousand = 0x0F;
inline constexpr LCTYPE kSGrouping = 0x10;
inline constexpr LCTYPE kIDigits = 0x11;
inline constexpr LCTYPE kILZero = 0x12;
inline constexpr LCTYPE kSNativeDigits = 0x13;
inline constexpr LCTYPE kSCurrency = 0x14;
inline constexpr LCTYPE kSIntlSymbol = 0x15;
inline constexpr LCTYPE kSMonDecimalSep = 0x16;
inline constexpr LCTYPE kSMonThousandSep = 0x17;
inline constexpr LCTYPE kSMonGrouping = 0x18;
inline constexpr LCTYPE kICurrDigits = 0x19;
inline constexpr LCTYPE kIIntlCurrDigits = 0x1A;
inline constexpr LCTYPE kICurrency = 0x1B;
inline constexpr LCTYPE kINegCurr = 0x1C;
inline constexpr LCTYPE kSDate = 0x1D;
inline constexpr LCTYPE kSTime = 0x1E;
inline constexpr LCTYPE kSShortDate = 0x1F;
inline constexpr LCTYPE kSLongDate = 0x20;
inline constexpr LCTYPE kIDate = 0x21;
inline constexpr LCTYPE kILDate = 0x22;
inline constexpr LCTYPE kITime = 0x23;
inline constexpr LCTYPE kICentury = 0x24;
inline constexpr LCTYPE kITLZero = 0x25;
inline constexpr LCTYPE kIDayLZero = 0x26;
inline constexpr LCTYPE kIMonLZero = 0x27;
inline constexpr LCTYPE kS1159 = 0x28;
inline constexpr LCTYPE kS2359 = 0x29;
inline constexpr LCTYPE kSDayName1 = 0x2A;        // Monday; +6 is Sunday
inline constexpr LCTYPE kSAbbrevDayName1 = 0x31;  // Mon; +6 is Sun
inline constexpr LCTYPE kSMonthName1 = 0x38;      // January; +11 is December
inline constexpr LCTYPE kSAbbrevMonthName1 = 0x44;
inline constexpr LCTYPE kSPositiveSign = 0x50;
inline constexpr LCTYPE kSNegativeSign = 0x51;
inline constexpr LCTYPE kIPosSignPosn = 0x52;
inline constexpr LCTYPE kINegSignPosn = 0x53;
inline constexpr LCTYPE kIPosSymPrecedes = 0x54;
inline constexpr LCTYPE kIPosSepBySpace = 0x55;
inline constexpr LCTYPE kINegSymPrecedes = 0x56;
inline constexpr LCTYPE kINegSepBySpace = 0x57;
inline constexpr LCTYPE kSEngLanguage = 0x1001;
inline constexpr LCTYPE kSEngCountry = 0x1002;
inline constexpr LCTYPE kSTimeFormat = 0x1003;
inline constexpr LCTYPE kIDefaultAnsiCodePage = 0x1004;
inline constexpr LCTYPE kIFirstDayOfWeek = 0x100C;
inline constexpr LCTYPE kIFirstWeekOfYear = 0x100D;
inline constexpr LCTYPE kINegNumber = 0x1010;

// Where regional values come from.
class LocaleSource {
public:
    virtual ~LocaleSource() = default;
    virtual LCID SystemDefaultLCID() const = 0;
    // The whole value of one code for a locale, in the ANSI code page; nothing when the
    // source does not know the locale or the code.
    virtual std::optional<std::string> Info(LCID lcid, LCTYPE type) const = 0;
};

// A fixed table: en-US or de-DE as Wine reports them (code page 1252); nullptr for other
// locales.
std::unique_ptr<LocaleSource> MakeFixedLocale(LCID lcid);

// The source in use: the en-US table until another is installed (the Windows program
// installs SystemLocaleSource() at start-up).
const LocaleSource& Current();
// Replaces the source (nullptr restores the default) and returns the one it replaces. Cached
// regional values are re-read.
std::shared_ptr<const LocaleSource> Install(std::shared_ptr<const LocaleSource> source);
// Increases with every Install, so that caches of regional values know when to re-read.
std::uint64_t Generation();

// One value of the system default locale, "" when the source has none.
std::string GetInfo(LCTYPE type);
LCID SystemDefaultLCID();

// The Win32 source on GetLocaleInfoA and GetSystemDefaultLCID (Windows builds only).
std::shared_ptr<const LocaleSource> SystemLocaleSource();

}  // namespace regional
