// The direct paths for the masks used per log line and report row must write exactly what
// the general path writes: "##,##0" and "#0" take the general path with the same meaning.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <memory>

#include "core/Locale.h"
#include "core/Runtime.h"
#include "tests/support/ScopedLocale.h"

using namespace runtime;

namespace {

class OverriddenLocale : public regional::LocaleSource {
public:
    explicit OverriddenLocale(std::map<regional::LCTYPE, std::string> overrides)
        : base_(regional::MakeFixedLocale(regional::kLcidEnUs)), overrides_(std::move(overrides)) {}
    regional::LCID SystemDefaultLCID() const override { return regional::kLcidEnUs; }
    std::optional<std::string> Info(regional::LCID lcid, regional::LCTYPE type) const override {
        const auto it = overrides_.find(type);
        return it != overrides_.end() ? it->second : base_->Info(lcid, type);
    }

private:
    std::unique_ptr<regional::LocaleSource> base_;
    std::map<regional::LCTYPE, std::string> overrides_;
};

class RuntimeFormatFast : public ::testing::Test {
protected:
    test_support::ScopedLocale locale_;
};

TEST_F(RuntimeFormatFast, PlainMasksMatchTheGeneralPath) {
    const double values[] = {0.0, -0.0, 1, -1, 999, 1000, -1000, 999999, 1000000, 1234567,
                             0.4, -0.4, 0.5, -0.5, 0.6, 1.4985, 1.5015, 2.5, -2.5, 999.5,
                             999999.5, 999999.4, 1e-300, 0.49999999999999994,
                             2.4999999999999996, 1e12 - 0.5, 1e12 + 0.5, 999999999999999.0,
                             -999999999999999.0, 1e15, 1e15 + 2, 4503599627370495.5, 1e20,
                             std::nextafter(1e12, 0.0), 123456.7890123, 52.0 / 1024.0,
                             1536.0 / 1024.0, 2559.0 / 1024.0, 0.575, 1.005, 0.125, 2.675,
                             -0.004, -0.005, 9.995, 0.00005, 12.3456, 99999999.995,
                             999999999.9949, 1e9 - 0.005, 1e11 / 100, 1234.5678};
    const std::map<regional::LCTYPE, std::string> locales[] = {
        {}, {{regional::kSThousand, "."}}, {{regional::kSThousand, ""}},
        {{regional::kSThousand, "' "}, {regional::kSDecimal, ","}}};
    // Each fast mask and a mask of the same meaning that takes the general path.
    const std::pair<const char*, const char*> masks[] = {
        {"#,##0", "##,##0"}, {"0", "#0"}, {"#,##0.00", "##,##0.00"}, {"0.0", "#0.0"},
        {"#,##0.000", "##,##0.000"}, {"0.0000", "#0.0000"}};
    for (const auto& overrides : locales) {
        regional::Install(std::make_shared<OverriddenLocale>(overrides));
        for (const double v : values) {
            for (const double x : {v, std::nextafter(v, 0.0), std::nextafter(v, 1e300)}) {
                SCOPED_TRACE(x);
                for (const auto& [fast, general] : masks)
                    EXPECT_EQ(Format(x, fast), Format(x, general)) << fast;
            }
        }
    }
    regional::Install(std::make_shared<OverriddenLocale>(
        std::map<regional::LCTYPE, std::string>{{regional::kSThousand, "' "}}));
    EXPECT_EQ(Format(-1234567.5, "#,##0"), "-1' 234' 568");
    EXPECT_EQ(Format(-0.4, "#,##0"), "0");
    EXPECT_EQ(Format(-1234.575, "#,##0.00"), "-1' 234.58");
}

TEST_F(RuntimeFormatFast, GroupedWholeNumbersMatchTheMask) {
    const std::int32_t values[] = {0,       1,        -1,         12,        999,
                                   1000,    -1000,    99999,      100000,    999999,
                                   1000000, -1234567, 1000000000, INT32_MAX, INT32_MIN};
    for (const char* separator : {",", ".", "", "' ", "<sep>"}) {
        regional::Install(std::make_shared<OverriddenLocale>(
            std::map<regional::LCTYPE, std::string>{{regional::kSThousand, separator}}));
        for (const std::int32_t v : values) {
            std::string text = "x";
            AppendGroupedWhole(text, v);
            EXPECT_EQ(text, "x" + Format(v, "#,##0")) << separator << " " << v;
        }
    }
}

TEST_F(RuntimeFormatFast, LongTimeMatchesTheRegionalPicture) {
    const double times[] = {0.0,
                            0.5,
                            TimeSerial(0, 0, 1),
                            TimeSerial(9, 5, 7),
                            TimeSerial(11, 59, 59),
                            TimeSerial(12, 0, 0),
                            TimeSerial(13, 4, 5),
                            TimeSerial(23, 59, 59) + 0.4 / 86400,
                            TimeSerial(23, 59, 59) + 0.6 / 86400,
                            DateSerial(1999, 12, 31) + TimeSerial(23, 5, 9),
                            DateSerial(1899, 12, 29) - TimeSerial(6, 30, 0)};
    const char* pictures[] = {"h:mm:ss tt", "HH:mm:ss", "H.m.s t", "hhh-mmm-sss ttt",
                              "HH 'h' mm", "dd HH:mm", "ss"};
    for (const char* picture : pictures) {
        regional::Install(std::make_shared<OverriddenLocale>(std::map<regional::LCTYPE, std::string>{
            {regional::kSTimeFormat, picture}, {regional::kS1159, "vorm."}}));
        for (const double t : times) {
            SCOPED_TRACE(std::string(picture) + " " + std::to_string(t));
            EXPECT_EQ(Format(t, "Long Time"), FormatWindowsPicture(t, picture));
        }
    }
    regional::Install(std::make_shared<OverriddenLocale>(std::map<regional::LCTYPE, std::string>{
        {regional::kSTimeFormat, "H.m.s t"}, {regional::kS1159, "vorm."}}));
    EXPECT_EQ(Format(TimeSerial(9, 5, 7), "Long Time"), "9.5.7 v");
}

TEST_F(RuntimeFormatFast, ShortDateAndPicturesWriteEveryField) {
    const double day = DateSerial(2026, 12, 1) + TimeSerial(13, 4, 5);
    const std::pair<std::string, std::string> pictures[] = {
        {"M/d/yyyy", "12/1/2026"},
        {"dd.MM.yy", "01.12.26"},
        {"ddd, MMMM dd yyyyy", "Tue, December 01 2026"},
        {"dddd d 'de' MMM ''yy g", "Tuesday 1 de Dec 26 "},
        {"'it''s' hh:m:s t tt 'open", "it's 01:4:5 P PM open"},
        {"yyyy-MM-dd '" + std::string(70, 'x') + "' dd",
         "2026-12-01 " + std::string(70, 'x') + " 01"}};
    for (const auto& [picture, text] : pictures) {
        SCOPED_TRACE(picture);
        regional::Install(std::make_shared<OverriddenLocale>(
            std::map<regional::LCTYPE, std::string>{{regional::kSShortDate, picture}}));
        EXPECT_EQ(FormatWindowsPicture(day, picture), text);
        EXPECT_EQ(Format(day, "Short Date"), text);
        EXPECT_EQ(Format(day, "short date"), text);
    }
    EXPECT_EQ(FormatWindowsPicture(DateSerial(999, 3, 4), "yyyy d"), "0999 4");
}

}  // namespace
