#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "core/Locale.h"
#include "core/Runtime.h"

namespace {

// A locale that counts how often it is asked.
class CountingLocale : public regional::LocaleSource {
public:
    explicit CountingLocale(std::map<regional::LCTYPE, std::string> overrides)
        : base_(regional::MakeFixedLocale(regional::kLcidEnUs)), overrides_(std::move(overrides)) {}

    regional::LCID SystemDefaultLCID() const override { return 0x0809; }

    std::optional<std::string> Info(regional::LCID lcid, regional::LCTYPE type) const override {
        ++lookups;
        if (lcid != 0x0809)
            return std::nullopt;
        const auto it = overrides_.find(type);
        if (it != overrides_.end())
            return it->second;
        return base_->Info(regional::kLcidEnUs, type);
    }

    mutable int lookups = 0;

private:
    std::unique_ptr<regional::LocaleSource> base_;
    std::map<regional::LCTYPE, std::string> overrides_;
};

class LocaleSeam : public ::testing::Test {
protected:
    void TearDown() override { regional::Install(nullptr); }
};

}  // namespace

TEST_F(LocaleSeam, FixedTablesHoldWhatWineReports) {
    const auto us = regional::MakeFixedLocale(regional::kLcidEnUs);
    EXPECT_EQ(us->SystemDefaultLCID(), regional::kLcidEnUs);
    EXPECT_EQ(us->Info(regional::kLcidEnUs, regional::kSCurrency), "$");
    EXPECT_EQ(us->Info(regional::kLcidEnUs, regional::kSShortDate), "M/d/yyyy");
    EXPECT_EQ(us->Info(regional::kLcidEnUs, regional::kSLongDate), "dddd, MMMM d, yyyy");
    EXPECT_EQ(us->Info(regional::kLcidEnUs, regional::kSTimeFormat), "h:mm:ss tt");
    EXPECT_EQ(us->Info(regional::kLcidEnUs, regional::kICurrDigits), "2");
    EXPECT_EQ(us->Info(regional::kLcidEnUs, regional::kSDayName1), "Monday");
    EXPECT_EQ(us->Info(regional::kLcidEnUs, regional::kSAbbrevMonthName1 + 11), "Dec");
    EXPECT_EQ(us->Info(regional::kLcidDeDe, regional::kSCurrency), std::nullopt);

    const auto de = regional::MakeFixedLocale(regional::kLcidDeDe);
    EXPECT_EQ(de->Info(regional::kLcidDeDe, regional::kSCurrency), "\x80");
    EXPECT_EQ(de->Info(regional::kLcidDeDe, regional::kSShortDate), "d.M.yyyy");
    EXPECT_EQ(de->Info(regional::kLcidDeDe, regional::kSDate), ".");
    EXPECT_EQ(de->Info(regional::kLcidDeDe, regional::kSDecimal), ",");
    EXPECT_EQ(de->Info(regional::kLcidDeDe, regional::kSThousand), ".");
    EXPECT_EQ(de->Info(regional::kLcidDeDe, regional::kIPosSymPrecedes), "0");
    EXPECT_EQ(de->Info(regional::kLcidDeDe, regional::kIPosSepBySpace), "1");
    EXPECT_EQ(de->Info(regional::kLcidDeDe, regional::kSMonthName1 + 2), "M\xE4rz");

    EXPECT_EQ(regional::MakeFixedLocale(0x040C), nullptr);
}

TEST_F(LocaleSeam, TheDefaultSourceIsEnUsUntilAnotherIsInstalled) {
    EXPECT_EQ(regional::SystemDefaultLCID(), regional::kLcidEnUs);
    EXPECT_EQ(regional::GetInfo(regional::kSDate), "/");
    regional::Install(regional::MakeFixedLocale(regional::kLcidDeDe));
    EXPECT_EQ(regional::SystemDefaultLCID(), regional::kLcidDeDe);
    EXPECT_EQ(regional::GetInfo(regional::kSDate), ".");
    EXPECT_EQ(regional::GetInfo(0x7FFF), "");  // unknown codes read as empty
    regional::Install(nullptr);
    EXPECT_EQ(regional::GetInfo(regional::kSDate), "/");
}

TEST_F(LocaleSeam, RuntimeReadsTheLocaleOnceAndAgainAfterAReplacement) {
    auto first = std::make_shared<CountingLocale>(std::map<regional::LCTYPE, std::string>{
        {regional::kSShortDate, "dd/MM/yyyy"}, {regional::kSThousand, " "}});
    const std::uint64_t before = regional::Generation();
    regional::Install(first);
    EXPECT_GT(regional::Generation(), before);

    const runtime::Date d = runtime::DateSerial(2001, 2, 3);
    EXPECT_EQ(runtime::Format(d, "Short Date"), "03/02/2001");
    const int afterFirstUse = first->lookups;
    EXPECT_GT(afterFirstUse, 0);
    for (int i = 0; i < 100; ++i) {
        runtime::Format(d + i, "Short Date");
        runtime::Format(1234567.0 + i, "#,##0");
        runtime::Weekday(d + i, 0);
    }
    EXPECT_EQ(first->lookups, afterFirstUse) << "regional values are cached";
    EXPECT_EQ(runtime::Format(1234567.0, "#,##0"), "1 234 567");

    auto second = std::make_shared<CountingLocale>(
        std::map<regional::LCTYPE, std::string>{{regional::kSShortDate, "yyyy-MM-dd"}});
    regional::Install(second);
    EXPECT_EQ(runtime::Format(d, "Short Date"), "2001-02-03");
    EXPECT_EQ(runtime::Format(1234567.0, "#,##0"), "1,234,567");
    EXPECT_GT(second->lookups, 0);
}

TEST_F(LocaleSeam, ShortDateOrderDecidesHowDatesAreRead) {
    regional::Install(std::make_shared<CountingLocale>(
        std::map<regional::LCTYPE, std::string>{{regional::kSShortDate, "yyyy-MM-dd"}}));
    EXPECT_EQ(runtime::CDate("2001-02-03"), runtime::DateSerial(2001, 2, 3));
    regional::Install(std::make_shared<CountingLocale>(
        std::map<regional::LCTYPE, std::string>{{regional::kSShortDate, "dd/MM/yy"}}));
    EXPECT_EQ(runtime::CDate("03/02/01"), runtime::DateSerial(2001, 2, 3));
}
