#include "core/CurrencyFormat.h"

#include <algorithm>

#include "core/ErrorContext.h"
#include "core/Locale.h"
#include "core/Runtime.h"

namespace DUVMain {

std::string CountryName;
std::string CurrencySymbol;
std::int16_t CurrencySymbolPrecedes = 0;
std::int16_t CurrencySymbolSpaced = 0;
std::int16_t CurrencyDigits = 0;
std::string DateSeparator;
std::string MonetaryDecimalSeparator;
std::string MonetaryThousandSeparator;
std::string TimeSeparator;
std::string ThousandSeparator;
std::string DecimalSeparator;
std::string ShortDateFormat;
std::string DateMask;

void ResetRegionalValues() {
    for (std::string* text : {&CountryName, &CurrencySymbol, &DateSeparator,
                              &MonetaryDecimalSeparator, &MonetaryThousandSeparator, &TimeSeparator,
                              &ThousandSeparator, &DecimalSeparator, &ShortDateFormat, &DateMask})
        text->clear();
    CurrencySymbolPrecedes = 0;
    CurrencySymbolSpaced = 0;
    CurrencyDigits = 0;
}

}  // namespace DUVMain

namespace CurrencyFormat {

namespace {

std::string UpToNul(std::string text) {
    std::size_t nul = text.find('\0');
    if (nul != std::string::npos)
        text.erase(nul);
    return text;
}

}  // namespace

std::string GetLocaleString(std::int32_t lcType) {
    runtime::SetStep("LocalInfo: " + std::to_string(lcType));
    std::string value;
    runtime::Guard([&] {
        // The whole value first; only then is it cut to the width kept.
        value = regional::GetInfo(static_cast<regional::LCTYPE>(lcType));
        if (value.size() > kLocaleValueWidth)
            value.resize(kLocaleValueWidth);
    });
    return value;
}

void GetCurrencySymbolInfo() {
    using namespace DUVMain;
    runtime::SetContext("CurrencyFormat", "GetCurrencySymbolInfo");
    auto text = [](std::string& target, std::int32_t code) {
        std::string value = GetLocaleString(code);
        runtime::Guard([&] { target = UpToNul(value); });
    };
    auto number = [](std::int16_t& target, std::int32_t code) {
        std::string value = GetLocaleString(code);
        runtime::Guard([&] { target = runtime::CInt(runtime::Val(UpToNul(value))); });
    };
    text(CountryName, kLocaleCountry);
    text(CurrencySymbol, kLocaleCurrency);
    number(CurrencySymbolPrecedes, kLocaleSymbolPrecedes);
    number(CurrencySymbolSpaced, kLocaleSymbolSpaced);
    number(CurrencyDigits, kLocaleCurrencyDigits);
    text(DateSeparator, kLocaleDateSeparator);
    text(MonetaryDecimalSeparator, kLocaleMonDecimal);
    text(MonetaryThousandSeparator, kLocaleMonThousand);
    text(TimeSeparator, kLocaleTimeSeparator);
    text(ThousandSeparator, kLocaleThousand);
    text(DecimalSeparator, kLocaleDecimal);
    text(ShortDateFormat, kLocaleShortDate);
}

std::string MoneyMask(std::int16_t digits, std::int16_t maxPlaces) {
    if (digits < 0)
        return "";
    std::string mask = "#,##0";
    if (digits > 0 || maxPlaces > 0)
        mask.push_back('.');
    mask.append(static_cast<std::size_t>(digits), '0');
    if (maxPlaces > digits)
        mask.append(static_cast<std::size_t>(maxPlaces - digits), '#');
    return mask;
}

std::string FormatCurrency(double amount, const std::string& symbol, std::int16_t symbolPrecedes,
                           std::int16_t symbolSpaces, std::int16_t digits, std::int16_t maxPlaces) {
    runtime::SetContext("CurrencyFormat", "FormatCurrency");
    std::string text;
    runtime::Guard([&] { text = runtime::Format(amount, MoneyMask(digits, maxPlaces)); });
    const std::size_t blanks = static_cast<std::size_t>(std::max<std::int16_t>(symbolSpaces, 0));
    if (symbolPrecedes == 0) {
        text.append(blanks, ' ');
        text += symbol;
    } else if (symbolPrecedes == 1) {
        text.insert(0, blanks, ' ');
        text.insert(0, symbol);
    }
    // Blanks at either end are left out (a symbol of blanks, or none).
    const std::size_t last = text.find_last_not_of(' ');
    if (last == std::string::npos)
        return {};
    text.erase(last + 1);
    text.erase(0, text.find_first_not_of(' '));
    return text;
}

}  // namespace CurrencyFormat
