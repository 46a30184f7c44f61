#include "core/CurrencyFormat.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "core/ErrorContext.h"
#include "core/GeneralFunctions.h"
#include "core/Locale.h"
#include "tests/support/ScopedLocale.h"

namespace {

// A locale of our own making: en-US with some values replaced.
class EditedLocale : public regional::LocaleSource {
public:
    explicit EditedLocale(std::map<regional::LCTYPE, std::string> changes)
        : base_(regional::MakeFixedLocale(regional::kLcidEnUs)), changes_(std::move(changes)) {}
    regional::LCID SystemDefaultLCID() const override { return 0x0409; }
    std::optional<std::string> Info(regional::LCID lcid, regional::LCTYPE type) const override {
        auto it = changes_.find(type);
        if (it != changes_.end())
            return it->second;
        return base_->Info(lcid, type);
    }

private:
    std::unique_ptr<regional::LocaleSource> base_;
    std::map<regional::LCTYPE, std::string> changes_;
};

// Installs a locale and reads the regional values from it, as start-up does.
void UseLocale(std::shared_ptr<const regional::LocaleSource> source) {
    regional::Install(std::move(source));
    test_support::ReadRegionalValues();
}

class RegionalValues : public ::testing::Test {
protected:
    test_support::ScopedLocale locale_;
};

}  // namespace

TEST_F(RegionalValues, EnglishUnitedStates) {
    UseLocale(regional::MakeFixedLocale(regional::kLcidEnUs));
    using namespace DUVMain;
    EXPECT_EQ(CountryName, "United States");
    EXPECT_EQ(CurrencySymbol, "$");
    EXPECT_EQ(CurrencySymbolPrecedes, 1);
    EXPECT_EQ(CurrencySymbolSpaced, 0);
    EXPECT_EQ(CurrencyDigits, 2);
    EXPECT_EQ(DateSeparator, "/");
    EXPECT_EQ(MonetaryDecimalSeparator, ".");
    EXPECT_EQ(MonetaryThousandSeparator, ",");
    EXPECT_EQ(TimeSeparator, ":");
    EXPECT_EQ(ThousandSeparator, ",");
    EXPECT_EQ(DecimalSeparator, ".");
    EXPECT_EQ(ShortDateFormat, "M/d/yyyy");
    EXPECT_EQ(DateMask, "##/##/####");
}

TEST_F(RegionalValues, GermanWithDecimalComma) {
    UseLocale(regional::MakeFixedLocale(regional::kLcidDeDe));
    using namespace DUVMain;
    EXPECT_EQ(CountryName, "Germany");
    EXPECT_EQ(CurrencySymbol, "\x80");  // the euro sign in code page 1252
    EXPECT_EQ(CurrencySymbolPrecedes, 0);
    EXPECT_EQ(CurrencySymbolSpaced, 1);
    EXPECT_EQ(CurrencyDigits, 2);
    EXPECT_EQ(DateSeparator, ".");
    EXPECT_EQ(MonetaryDecimalSeparator, ",");
    EXPECT_EQ(MonetaryThousandSeparator, ".");
    EXPECT_EQ(ThousandSeparator, ".");
    EXPECT_EQ(DecimalSeparator, ",");
    EXPECT_EQ(DateMask, "##.##.####");
}

TEST_F(RegionalValues, ReadingRecordsItsContextAndLastCode) {
    UseLocale(regional::MakeFixedLocale(regional::kLcidEnUs));
    EXPECT_EQ(DUVMain::ErrModuleName, "CurrencyFormat");
    EXPECT_EQ(DUVMain::ErrProcName, "GetCurrencySymbolInfo");
    EXPECT_EQ(DUVMain::ErrStepName, "LocalInfo: 31");
}

TEST_F(RegionalValues, LongValuesAreReadWholeThenCutToTwentyCharacters) {
    regional::Install(std::make_shared<EditedLocale>(std::map<regional::LCTYPE, std::string>{
        {0x14, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"}, {0x6, std::string("Land\0Rest", 9)}, {0x19, ""}}));
    EXPECT_EQ(CurrencyFormat::GetLocaleString(0x14), "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(CurrencyFormat::GetLocaleString(0x2), "English (United Stat");
    EXPECT_EQ(CurrencyFormat::GetLocaleString(0x9999), "");
    CurrencyFormat::GetCurrencySymbolInfo();
    EXPECT_EQ(DUVMain::CurrencySymbol, "ABCDEFGHIJKLMNOPQRST");
    EXPECT_EQ(DUVMain::CountryName, "Land");
    EXPECT_EQ(DUVMain::CurrencyDigits, 0);
}

TEST_F(RegionalValues, DateMasksOfOtherShortDateOrders) {
    regional::Install(std::make_shared<EditedLocale>(
        std::map<regional::LCTYPE, std::string>{{0x1F, "yyyy-MM-dd"}, {0x1D, "-"}}));
    CurrencyFormat::GetCurrencySymbolInfo();
    GeneralFunctions::GetDateFormatMask();
    EXPECT_EQ(DUVMain::DateMask, "####-##-##");

    regional::Install(std::make_shared<EditedLocale>(
        std::map<regional::LCTYPE, std::string>{{0x1F, "dd/MMM/yy"}}));
    CurrencyFormat::GetCurrencySymbolInfo();
    GeneralFunctions::GetDateFormatMask();
    EXPECT_EQ(DUVMain::DateMask, "##/AAA/##");
}

TEST(DateFormatToken, EachFieldOfTheShortDatePicture) {
    using GeneralFunctions::DateFormatToken;
    for (const char* t : {"d", "dd", "m", "mm", "M", "MM", "yy"})
        EXPECT_EQ(DateFormatToken(t), "##") << t;
    EXPECT_EQ(DateFormatToken("ddd"), "AAA");
    EXPECT_EQ(DateFormatToken("MMM"), "AAA");
    EXPECT_EQ(DateFormatToken("yyyy"), "####");
    EXPECT_EQ(DateFormatToken("YYYY"), "####");
    EXPECT_EQ(DateFormatToken("dddd"), "");
    EXPECT_EQ(DateFormatToken("y"), "");
    EXPECT_EQ(DateFormatToken(""), "");
}

TEST(GetDateFormatMask, NeedsTwoSeparators) {
    const std::string savedFormat = DUVMain::ShortDateFormat, savedSep = DUVMain::DateSeparator,
                      savedMask = DUVMain::DateMask;
    DUVMain::ShortDateFormat = "dd/MM/yyyy";
    DUVMain::DateSeparator = "/";
    GeneralFunctions::GetDateFormatMask();
    EXPECT_EQ(DUVMain::DateMask, "##/##/####");
    DUVMain::ShortDateFormat = "M/d/yy";
    GeneralFunctions::GetDateFormatMask();
    EXPECT_EQ(DUVMain::DateMask, "##/##/##");
    DUVMain::ShortDateFormat = "yyyyMMdd";
    try {
        GeneralFunctions::GetDateFormatMask();
        ADD_FAILURE() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.number, 5);
    }
    DUVMain::ShortDateFormat = savedFormat;
    DUVMain::DateSeparator = savedSep;
    DUVMain::DateMask = savedMask;
}

TEST(MoneyMask, DigitsAndExtraPlaces) {
    using CurrencyFormat::MoneyMask;
    EXPECT_EQ(MoneyMask(2, 0), "#,##0.00");
    EXPECT_EQ(MoneyMask(2, 4), "#,##0.00##");
    EXPECT_EQ(MoneyMask(2, 1), "#,##0.00");
    EXPECT_EQ(MoneyMask(0, 0), "#,##0");
    EXPECT_EQ(MoneyMask(0, 3), "#,##0.###");
    EXPECT_EQ(MoneyMask(3, 3), "#,##0.000");
    EXPECT_EQ(MoneyMask(-1, 4), "");
}

TEST_F(RegionalValues, FormatCurrencyInDollars) {
    UseLocale(regional::MakeFixedLocale(regional::kLcidEnUs));
    using CurrencyFormat::FormatCurrency;
    EXPECT_EQ(FormatCurrency(1234.5, "$", 1, 0, 2, 0), "$1,234.50");
    EXPECT_EQ(FormatCurrency(0.12345, "$", 1, 0, 2, 4), "$0.1235");
    EXPECT_EQ(FormatCurrency(0.5, "$", 1, 0, 2, 4), "$0.50");
    EXPECT_EQ(FormatCurrency(-2, "$", 1, 0, 2, 0), "$-2.00");
    EXPECT_EQ(FormatCurrency(1234567.891, "$", 1, 0, 2, 0), "$1,234,567.89");
    EXPECT_EQ(FormatCurrency(0.125, "$", 1, 0, 2, 0), "$0.13");  // decimal halves go up
    EXPECT_EQ(FormatCurrency(2.675, "$", 1, 0, 2, 0), "$2.68");
    EXPECT_EQ(FormatCurrency(0, "$", 1, 0, 2, 0), "$0.00");
    EXPECT_EQ(FormatCurrency(1234567.5, "$", 1, 0, 0, 0), "$1,234,568");
    EXPECT_EQ(FormatCurrency(3, "DM", 0, 1, 2, 0), "3.00 DM");
    EXPECT_EQ(FormatCurrency(1234.5, "$", 1, 1, 2, 0), "$ 1,234.50");
    EXPECT_EQ(FormatCurrency(1234.5, "$", 2, 1, 2, 0), "1,234.50");  // symbol left out
    EXPECT_EQ(FormatCurrency(1234.5, "", 0, 1, 2, 0), "1,234.50");   // trimmed
    EXPECT_EQ(FormatCurrency(1234.5, "$", 1, 0, -1, 0), "$1234.5");  // no mask
    EXPECT_EQ(DUVMain::ErrModuleName, "CurrencyFormat");
    EXPECT_EQ(DUVMain::ErrProcName, "FormatCurrency");
}

TEST_F(RegionalValues, FormatCurrencyInEurosWithDecimalComma) {
    UseLocale(regional::MakeFixedLocale(regional::kLcidDeDe));
    using namespace DUVMain;
    auto money = [](double amount, std::int16_t maxPlaces = 0) {
        return CurrencyFormat::FormatCurrency(amount, CurrencySymbol, CurrencySymbolPrecedes,
                                              CurrencySymbolSpaced, CurrencyDigits, maxPlaces);
    };
    EXPECT_EQ(money(1234.5), "1.234,50 \x80");
    EXPECT_EQ(money(1234567.891), "1.234.567,89 \x80");
    EXPECT_EQ(money(-2), "-2,00 \x80");
    EXPECT_EQ(money(0.12345, 4), "0,1235 \x80");
    EXPECT_EQ(money(3), "3,00 \x80");
}
