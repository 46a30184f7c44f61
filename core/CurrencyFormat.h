// Regional settings read once at start-up, and the money format every amount is shown with.
#pragma once

#include <cstdint>
#include <string>

namespace DUVMain {

// Filled by CurrencyFormat::GetCurrencySymbolInfo from the system default locale.
extern std::string CountryName;
extern std::string CurrencySymbol;
extern std::int16_t CurrencySymbolPrecedes;  // 1 before the amount, 0 after it
extern std::int16_t CurrencySymbolSpaced;    // 1 when a blank separates symbol and amount
extern std::int16_t CurrencyDigits;          // decimal places of money
extern std::string DateSeparator;
extern std::string MonetaryDecimalSeparator;
extern std::string MonetaryThousandSeparator;
extern std::string TimeSeparator;
extern std::string ThousandSeparator;
extern std::string DecimalSeparator;
extern std::string ShortDateFormat;  // the short-date picture, e.g. "M/d/yyyy"
// Input mask of the date boxes, derived by GeneralFunctions::GetDateFormatMask ("##/##/####").
extern std::string DateMask;

// Empties the values above (part of ResetState).
void ResetRegionalValues();

}  // namespace DUVMain

namespace CurrencyFormat {

// Locale-information codes of the regional values.
constexpr std::int32_t kLocaleCountry = 0x6;
constexpr std::int32_t kLocaleCurrency = 0x14;
constexpr std::int32_t kLocaleSymbolPrecedes = 0x54;
constexpr std::int32_t kLocaleSymbolSpaced = 0x55;
constexpr std::int32_t kLocaleCurrencyDigits = 0x19;
constexpr std::int32_t kLocaleDateSeparator = 0x1D;
constexpr std::int32_t kLocaleMonDecimal = 0x16;
constexpr std::int32_t kLocaleMonThousand = 0x17;
constexpr std::int32_t kLocaleTimeSeparator = 0x1E;
constexpr std::int32_t kLocaleThousand = 0xF;
constexpr std::int32_t kLocaleDecimal = 0xE;
constexpr std::int32_t kLocaleShortDate = 0x1F;

// Longest value kept of one locale setting.
constexpr std::size_t kLocaleValueWidth = 20;

// Reads the regional values of DUVMain from the system default locale.
void GetCurrencySymbolInfo();

// One setting of the system default locale, at most 20 characters of it.
std::string GetLocaleString(std::int32_t lcType);

// An amount with its currency symbol: symbolPrecedes 1 puts the symbol first, 0 last, other
// values leave it out; symbolSpaces blanks between them; digits decimal places (negative: no
// mask) and up to maxPlaces places when there are more.
std::string FormatCurrency(double amount, const std::string& symbol, std::int16_t symbolPrecedes,
                           std::int16_t symbolSpaces, std::int16_t digits, std::int16_t maxPlaces);

// The number mask for money with digits decimal places and up to maxPlaces; "" when digits is
// negative.
std::string MoneyMask(std::int16_t digits, std::int16_t maxPlaces);

}  // namespace CurrencyFormat
