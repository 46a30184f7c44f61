// Service lookup, dialled numbers, byte counts, charge blocks, free seconds and notes.
#include "tests/analysis/SessionsFixture.h"

#include "core/Locale.h"
#include "tests/support/Seams.h"

namespace sessions_test {
namespace {

using namespace DUVAnalyse;

class LookupTest : public SessionsTest {
protected:
    void SetUp() override {
        SessionsTest::SetUp();
        AddService(" Home Net ", " 0123456 ", "0999999");
        AddService("Work", "0777", "");
        AddService("Night", "0888", "");
        ServiceRecord& night = DUVMain::Services[2];
        night.FreePeriod = true;
        night.FreeStart = Time(18, 0);
        night.FreeEnd = Time(8, 0);
        ServiceRecord& day = DUVMain::Services[1];
        day.FreePeriod = true;
        day.FreeStart = Time(9, 0);
        day.FreeEnd = Time(17, 0);
        day.Block = 10;
    }
};

TEST_F(LookupTest, FindServiceComparesTrimmedNumbersExactly) {
    EXPECT_EQ(FindService("0123456"), 0);
    EXPECT_EQ(FindService("0999999"), 0);
    EXPECT_EQ(FindService("0777"), 1);
    EXPECT_EQ(FindService("777"), -1);
    EXPECT_EQ(FindService(" 0777"), -1);
    // An empty number never matches an empty other number.
    EXPECT_EQ(FindService(""), -1);
}

TEST_F(LookupTest, FindServiceTellsNumbersOfOneLengthAndOneSidedBlanksApart) {
    DUVMain::Services[1].ServiceNumber = "0778";        // as long as "0777", last digit apart
    DUVMain::Services[1].ServiceAltNumber = "   0555";  // blanks before only
    DUVMain::Services[2].ServiceNumber = "0666  ";      // blanks after only
    DUVMain::Services[2].ServiceAltNumber = "0777";
    EXPECT_EQ(FindService("0777"), 2);
    EXPECT_EQ(FindService("0778"), 1);
    EXPECT_EQ(FindService("0555"), 1);
    EXPECT_EQ(FindService("0666"), 2);
    EXPECT_EQ(FindService("0123456 "), -1);  // a blank the trimmed numbers never end with
    EXPECT_EQ(FindService("05"), -1);        // inside "   0555", not all of it
    DUVMain::Services[1].ServiceAltNumber = "       ";
    EXPECT_EQ(FindService("0555"), -1);  // a changed table is searched as it now stands
}

TEST_F(LookupTest, AScopeLooksItsOwnNumberUpOnceAndOthersAsEver) {
    const std::string number = "0777";
    {
        const ServiceLookupScope scope(number);
        EXPECT_EQ(FindService(number), 1);
        DUVMain::Services[1].ServiceNumber = "0666";  // not seen while the scope lives
        EXPECT_EQ(FindService(number), 1);
        EXPECT_EQ(FindService(std::string("0777")), -1);  // another string: looked up
        EXPECT_EQ(FindService("0888"), 2);
    }
    EXPECT_EQ(FindService(number), -1);
}

TEST_F(LookupTest, UsageRowsMatchTrimmedNumbersAndNonEmptyOtherNumbers) {
    ServiceUsage.assign(5, ServiceUsageRecord{});
    ServiceUsage[1].Number = "  ";
    ServiceUsage[2].Number = " 0123 ";
    ServiceUsage[3].Number = "0456";
    ServiceUsage[3].AltNumber = " 0789";
    ServiceUsage[4].Number = "0789";
    EXPECT_EQ(FindUsageRow("0123", 4), 2);
    EXPECT_EQ(FindUsageRow("0789", 4), 3);
    EXPECT_EQ(FindUsageRow("0789", 2), 0);
    EXPECT_EQ(FindUsageRow("", 4), 1);
    EXPECT_EQ(FindUsageRow("0456", 99), 3);
    EXPECT_EQ(FindUsageRow("045", 4), 0);
}

TEST_F(LookupTest, ServicesBeyondTheUsedCountAreNotSearched) {
    DUVMain::UsedServices = 1;
    EXPECT_EQ(FindService("0777"), -1);
}

TEST_F(LookupTest, AltNumberWorksBothWaysUntrimmed) {
    EXPECT_EQ(GetAltNumber(" 0123456 "), "0999999");
    EXPECT_EQ(GetAltNumber("0999999"), " 0123456 ");
    EXPECT_EQ(GetAltNumber("0123456"), "");
    EXPECT_EQ(GetAltNumber(""), "");
}

TEST_F(LookupTest, ServiceNameIsTrimmedOrTheNumberItself) {
    EXPECT_EQ(GetServiceName("0999999"), "Home Net");
    EXPECT_EQ(GetServiceName("0555"), "0555");
    EXPECT_EQ(GetServiceName("Answered Calls"), "Answered Calls");
}

TEST(DialNumbers, DigitsAndCommasOnly) {
    EXPECT_TRUE(IsDialNumber("0123456"));
    EXPECT_TRUE(IsDialNumber("9,,0845,123"));
    EXPECT_TRUE(IsDialNumber(""));
    EXPECT_FALSE(IsDialNumber("0123 456"));
    EXPECT_FALSE(IsDialNumber("0123456P"));
    EXPECT_FALSE(IsDialNumber("*70"));
}

TEST(DialNumbers, ExtractedAfterTheDialModeLetter) {
    const std::string kw = "RECV: ATD";
    EXPECT_EQ(DialledNumber("12-01-2026 10:00:01.00 - RECV: ATDT0123456<CR>", kw), "0123456");
    EXPECT_EQ(DialledNumber("12-01-2026 10:00:01.00 - RECV: ATDP9,0845<CR>", kw), "9,0845");
    EXPECT_EQ(DialledNumber("12-01-2026 10:00:01.00 - RECV: ATD0123456<CR>", kw), "123456");
    // No "<": the text stays whole, less the line's last character.
    EXPECT_EQ(DialledNumber("12-01-2026 10:00:01.00 - RECV: ATDT0123456X", kw), "0123456");
    EXPECT_EQ(DialledNumber("12-01-2026 10:00:01.00 - RECV: ATDT<CR>", kw), "");
    EXPECT_EQ(DialledNumber("12-01-2026 10:00:01.00 - RECV: ATD", kw), "");
    EXPECT_EQ(DialledNumber("12-01-2026 10:00:01.00 - RECV: ATDT", kw), "");
    EXPECT_EQ(DialledNumber("12-01-2026 10:00:01.00 - SEND: ATDT0123<CR>", kw), "");
}

TEST_F(LookupTest, ByteCountsNeedACharacterAfterTheDigits) {
    EXPECT_EQ(GetBytesRead("12-01-2026 10:10:35.00 -    READS : 3402353 BYTES"), 3402353);
    EXPECT_EQ(GetBytesWritten("12-01-2026 10:10:35.00 -    WRITES: 251155 BYTES"), 251155);
    EXPECT_EQ(GetBytesRead("12-01-2026 10:10:35.00 -    READS : 3402353"), 0);
    EXPECT_EQ(GetBytesRead("12-01-2026 10:10:35.00 -    READS : NONE"), 0);
    // Digits before the keyword do not count.
    EXPECT_EQ(GetBytesRead("12-01-2026 10:10:35.00 -    READS : X 12 BYTES"), 12);
}

TEST_F(LookupTest, ByteCountsOfEveryLengthAgreeWithTheGeneralConversion) {
    for (const char* digits : {"0", "7", "000000042", "999999999", "0000000001", "1000000000",
                               "2147483647", "00000000000002147483647"}) {
        const std::string line = std::string("12-01-2026 - READS : ") + digits + " BYTES";
        EXPECT_EQ(GetBytesRead(line), runtime::CLng(runtime::Val(digits))) << digits;
    }
    for (const char* digits : {"2147483648", "0000000000099999999999"}) {
        EXPECT_THROW(GetBytesWritten(std::string("WRITES: ") + digits + " BYTES"),
                     runtime::RuntimeError)
            << digits;
    }
}

TEST_F(LookupTest, ByteCountBeyondThirtyTwoBitsIsAnOverflow) {
    try {
        GetBytesRead("12-01-2026 10:10:35.00 - READS : 99999999999 BYTES");
        FAIL() << "no error";
    } catch (const runtime::RuntimeError& e) {
        EXPECT_EQ(e.number, 6);
    }
}

TEST_F(LookupTest, BlockMinutesAndCounts) {
    EXPECT_EQ(GetBlockMinutes("0777"), 10);
    EXPECT_EQ(GetBlockMinutes("0555"), 0);
    EXPECT_EQ(GetBlockCount(10, 601), 2);
    EXPECT_EQ(GetBlockCount(10, 600), 1);
    EXPECT_EQ(GetBlockCount(10, 1), 1);
    EXPECT_EQ(GetBlockCount(10, 0), 0);
    EXPECT_EQ(GetBlockCount(0, 12345), 0);
    EXPECT_EQ(GetBlockCount(1, 36000), 600);
}

TEST_F(LookupTest, FreeSecondsWithAWindowAcrossMidnight) {
    EXPECT_EQ(GetFreeSeconds("0888", Time(7, 0), Time(9, 0)), 3600);
    EXPECT_EQ(GetFreeSeconds("0888", Time(22, 0), Time(1, 0)), 10800);
    EXPECT_EQ(GetFreeSeconds("0888", Time(9, 0), Time(17, 0)), 0);
    EXPECT_EQ(GetFreeSeconds("0888", Time(17, 0), Time(19, 0)), 3600);
    // Equal times count as crossing midnight.
    EXPECT_EQ(GetFreeSeconds("0888", Time(12, 0), Time(12, 0)), (24 - 18 + 8) * 3600);
}

TEST_F(LookupTest, FreeSecondsWithAWindowWithinADay) {
    EXPECT_EQ(GetFreeSeconds("0777", Time(8, 0), Time(10, 0)), 3600);
    EXPECT_EQ(GetFreeSeconds("0777", Time(10, 0), Time(11, 30)), 5400);
    EXPECT_EQ(GetFreeSeconds("0777", Time(17, 0), Time(18, 0)), 0);
    EXPECT_EQ(GetFreeSeconds("0777", Time(8, 0), Time(1, 0)), 28800);
    EXPECT_EQ(GetFreeSeconds("0777", Time(16, 0), Time(10, 0)), 7200);
    EXPECT_EQ(GetFreeSeconds("0777", Time(18, 0), Time(8, 0)), 0);
}

TEST_F(LookupTest, NoFreeSecondsWithoutAFreePeriod) {
    EXPECT_EQ(GetFreeSeconds("0123456", Time(8, 0), Time(10, 0)), 0);
    EXPECT_EQ(GetFreeSeconds("0555", Time(8, 0), Time(10, 0)), 0);
}

TEST_F(LookupTest, StoredSessionSecondsAcrossMidnight) {
    Connections.assign(3, ConnectionRecord{});
    ConnectionRecord& r = Connections[1];
    r.ConnectDate = Day(2026, 12, 1);
    r.ConnectTime = Time(23, 50);
    r.DisconnectDate = Day(2026, 12, 2);
    r.DisconnectTime = Time(0, 10);
    r.Notes = " old";
    EXPECT_FLOAT_EQ(GetSessionSeconds(1), 1200.0f);
    EXPECT_EQ(r.Notes, "");

    DUVMain::ReportStartDate = Day(2026, 12, 2);
    EXPECT_FLOAT_EQ(GetSessionSeconds(1), 600.0f);
    EXPECT_EQ(r.Notes, " Time from midnight");

    DUVMain::ReportStartDate = Day(2026, 12, 1);
    DUVMain::ReportEndDate = Day(2026, 12, 1);
    EXPECT_FLOAT_EQ(GetSessionSeconds(1), 600.0f);
    EXPECT_EQ(r.Notes, " Time prior to midnight");

    ConnectionRecord& same = Connections[2];
    same.ConnectDate = same.DisconnectDate = Day(2026, 12, 5);
    same.ConnectTime = Time(10, 0);
    same.DisconnectTime = Time(10, 30);
    same.Notes = " kept";
    EXPECT_FLOAT_EQ(GetSessionSeconds(2), 1800.0f);
    EXPECT_EQ(same.Notes, " kept");
}

TEST(Notes, KiloBytesAsTheGroupedMaskWritesThem) {
    std::vector<int32_t> counts = {
        0,       1,       511,     512,     513,        1023,      1535,      1536,
        1022975, 1022976, 1024000, 1048063, 1023999488, INT32_MAX, INT32_MIN, INT32_MIN + 1,
        -1,      -511,    -512,    -513,    -1536,      -1048064};
    for (int32_t bytes = -4099; bytes < 5000000; bytes += 997)
        counts.push_back(bytes);
    for (const regional::LCID lcid : {regional::kLcidEnUs, regional::kLcidDeDe}) {
        test_support::ScopedSeam<std::shared_ptr<const regional::LocaleSource>> locale(
            regional::Install, regional::MakeFixedLocale(lcid));
        for (const int32_t bytes : counts) {
            std::string note = " R:";
            AppendKiloBytes(note, bytes);
            EXPECT_EQ(note, " R:" + runtime::Format(bytes / 1024.0, "#,##0")) << bytes;
        }
    }
}

TEST(Notes, TidiedForDisplay) {
    EXPECT_EQ(TidyNotes(" ERROR - No Disconnect Entry -"), " ERROR - No Disconnect Entry");
    EXPECT_EQ(TidyNotes(" - Free:00:05:30 - 2B x 10Min -"), "  Free:00:05:30 - 2B x 10Min");
    EXPECT_EQ(TidyNotes(" R:4K - - W:1K - - X"), " R:4K - W:1K - - X");
    EXPECT_EQ(TidyNotes("-"), " ");
    EXPECT_EQ(TidyNotes(""), " ");
    // The dash left after a leading one went is not a trailing " -".
    EXPECT_EQ(TidyNotes(" --  "), " -");
}

}  // namespace
}  // namespace sessions_test
