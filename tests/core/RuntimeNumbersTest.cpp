#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "core/Locale.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"
#include "tests/support/Seams.h"

using namespace runtime;

namespace {

int ErrorNumberOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const RuntimeError& e) {
        return e.number;
    }
    return 0;
}

class GermanLocale : public ::testing::Test {
protected:
    test_support::ScopedSeam<std::shared_ptr<const regional::LocaleSource>> german_{
        regional::Install, regional::MakeFixedLocale(regional::kLcidDeDe)};
};

}  // namespace

TEST(RuntimeVal, ReadsTheLeadingNumberOfOddText) {
    EXPECT_EQ(Val("  12abc"), 12);
    EXPECT_EQ(Val("1.5e2"), 150);
    EXPECT_EQ(Val("1.5E-1x"), 0.15);
    EXPECT_EQ(Val(""), 0);
    EXPECT_EQ(Val("abc"), 0);
    EXPECT_EQ(Val("-.5"), -0.5);
    EXPECT_EQ(Val("+7"), 7);
    EXPECT_EQ(Val("1 2 3"), 123);  // blanks inside are ignored
    EXPECT_EQ(Val("\t 4\n5"), 45);
    EXPECT_EQ(Val("1.2.3"), 1.2);  // one point only
    EXPECT_EQ(Val("1,234"), 1);    // no regional separators
    EXPECT_EQ(Val("--5"), 0);
    EXPECT_EQ(Val("7e"), 7);  // an exponent without digits is ignored
    EXPECT_EQ(Val("2d3"), 2000);
}

TEST(RuntimeVal, OverflowsBeyondTheDoubleRange) {
    EXPECT_EQ(ErrorNumberOf([] { Val("1e400"); }), kErrOverflow);
}

TEST(RuntimeStr, PutsABlankBeforeNonNegativeNumbers) {
    EXPECT_EQ(Str(0), " 0");
    EXPECT_EQ(Str(42), " 42");
    EXPECT_EQ(Str(-42), "-42");
    EXPECT_EQ(Str(1234567), " 1234567");
}

TEST(RuntimeStr, WritesFractionsWithoutALeadingZero) {
    EXPECT_EQ(Str(0.5), " .5");
    EXPECT_EQ(Str(-0.5), "-.5");
    EXPECT_EQ(Str(2.25), " 2.25");
    EXPECT_EQ(Str(0.1 + 0.2), " .3");  // 15 significant digits
    EXPECT_EQ(Str(1.0 / 3), " .333333333333333");
    EXPECT_EQ(Str(0.0001), " .0001");
}

TEST(RuntimeStr, UsesScientificFormForVeryLargeAndSmallValues) {
    EXPECT_EQ(Str(999999999999999.0), " 999999999999999");
    EXPECT_EQ(Str(1e15), " 1E+15");
    EXPECT_EQ(Str(-1.5e20), "-1.5E+20");
    EXPECT_EQ(Str(0.00001), " 1E-05");
}

TEST(RuntimeCInt, RoundsHalvesToTheEvenNeighbour) {
    EXPECT_EQ(CInt(0.5), 0);
    EXPECT_EQ(CInt(1.5), 2);
    EXPECT_EQ(CInt(2.5), 2);
    EXPECT_EQ(CInt(-2.5), -2);
    EXPECT_EQ(CInt(-3.5), -4);
    EXPECT_EQ(CInt(2.5000001), 3);
    EXPECT_EQ(CLng(2147483646.5), 2147483646);
    EXPECT_EQ(CLng(-0.5), 0);
}

TEST(RuntimeCInt, RaisesOverflowOutsideTheRange) {
    EXPECT_EQ(CInt(32767.0), 32767);
    EXPECT_EQ(CInt(-32768.5), -32768);
    EXPECT_EQ(ErrorNumberOf([] { CInt(32767.5); }), kErrOverflow);
    EXPECT_EQ(ErrorNumberOf([] { CInt(-32769.0); }), kErrOverflow);
    EXPECT_EQ(CLng(2147483647.0), 2147483647);
    EXPECT_EQ(ErrorNumberOf([] { CLng(2147483647.5); }), kErrOverflow);
    EXPECT_EQ(ErrorNumberOf([] { CLng(-2147483649.0); }), kErrOverflow);
    EXPECT_EQ(ErrorNumberOf([] { CLng(1e300); }), kErrOverflow);
}

TEST(RuntimeCInt, ConvertsTextByTheRegionalRules) {
    EXPECT_EQ(CLng("1,234"), 1234);
    EXPECT_EQ(CInt(" 12.5 "), 12);
    EXPECT_EQ(ErrorNumberOf([] { CInt("12abc"); }), kErrTypeMismatch);
}

TEST(RuntimeIsNumeric, AcceptsRegionalNumbers) {
    EXPECT_TRUE(IsNumeric("1,234.50"));
    EXPECT_TRUE(IsNumeric("  -3 "));
    EXPECT_TRUE(IsNumeric("$12.5"));
    EXPECT_TRUE(IsNumeric("12.5$"));
    EXPECT_TRUE(IsNumeric(".5"));
    EXPECT_TRUE(IsNumeric("5."));
    EXPECT_TRUE(IsNumeric("1e3"));
    EXPECT_TRUE(IsNumeric("4-"));
    EXPECT_FALSE(IsNumeric(""));
    EXPECT_FALSE(IsNumeric("."));
    EXPECT_FALSE(IsNumeric("1.2.3"));
    EXPECT_FALSE(IsNumeric("12abc"));
    EXPECT_FALSE(IsNumeric("--1"));
    EXPECT_FALSE(IsNumeric("1e"));
    EXPECT_EQ(CDbl("$1,234.5"), 1234.5);
    EXPECT_EQ(CDbl("-$2"), -2);
}

TEST(RuntimeIsNumeric, ANumberBeyondTheDoubleRangeIsNoNumberAndCDblOverflows) {
    for (const char* text : {"1e999", "-1E400", "$1e309"}) {
        bool numeric = true;
        EXPECT_EQ(ErrorNumberOf([&] { numeric = IsNumeric(text); }), 0) << text;
        EXPECT_FALSE(numeric) << text;
        EXPECT_EQ(ErrorNumberOf([&] { CDbl(text); }), kErrOverflow) << text;
    }
    EXPECT_TRUE(IsNumeric("1e308"));
}

TEST_F(GermanLocale, NumbersUseTheCommaAsDecimalSeparator) {
    EXPECT_TRUE(IsNumeric("1.234,5"));
    EXPECT_EQ(CDbl("1.234,5"), 1234.5);
    EXPECT_EQ(CDbl("3,75 \x80"), 3.75);
    EXPECT_FALSE(IsNumeric("1,2,3"));
    EXPECT_EQ(CStr(2.5), "2,5");
    EXPECT_EQ(Str(2.5), " 2.5");  // Str is not regional
    EXPECT_EQ(Val("2,5"), 2);
}

TEST(RuntimeText, TrimsBlanksAndChangesCaseInTheCodePage) {
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(LTrim("  a "), "a ");
    EXPECT_EQ(RTrim("  a "), "  a");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(UCase("m\xE4rz connect"), "M\xC4RZ CONNECT");
    EXPECT_EQ(LCase("\xC4\xD7Z"), "\xE4\xD7z");
    EXPECT_EQ(InStr("abcabc", "c"), 3u);
    EXPECT_EQ(InStr("abcabc", "c", 4), 6u);
    EXPECT_EQ(InStr("abc", "x"), 0u);
    EXPECT_EQ(Mid("12-31-1999", 4, 2), "31");
    EXPECT_EQ(Mid("abc", 5), "");
    EXPECT_EQ(Left("abc", 5), "abc");
    EXPECT_EQ(Right("abcdef", 2), "ef");
}
