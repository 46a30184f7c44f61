// The numbered tables of the records: their bounds and the range error outside them.
#include <gtest/gtest.h>

#include "core/Records.h"
#include "core/RuntimeError.h"

namespace {

int ErrorNumberOf(void (*f)()) {
    try {
        f();
    } catch (const runtime::RuntimeError& e) {
        return e.number;
    }
    return 0;
}

TEST(RecordTables, FixedTablesAreIndexedFromTheirFirstNumber) {
    FixedArray<int, 1, 5> table;
    for (int i = 1; i <= 5; ++i)
        table[i] = i * 10;
    EXPECT_EQ(table.at(1), 10);
    EXPECT_EQ(table.at(5), 50);
    EXPECT_EQ(*table.begin(), 10);
    EXPECT_EQ(ErrorNumberOf([] {
                  FixedArray<int, 1, 5> t;
                  t.at(0);
              }),
              9);
    EXPECT_EQ(ErrorNumberOf([] {
                  FixedArray<int, 1, 5> t;
                  t.at(6);
              }),
              9);
    EXPECT_EQ(ErrorNumberOf([] {
                  TariffTable t;
                  t.at(11) = TariffRecord{};
              }),
              9);
}

TEST(RecordTables, ReDimEmptiesEveryEntry) {
    ResizableArray<ServiceRecord> services;
    EXPECT_EQ(services.UBound(), -1);
    services.ReDim(10);
    EXPECT_EQ(services.UBound(), 10);
    services[10].ServiceName = "Last";
    services[10].Tariffs[3].Description = "Night";
    services.ReDim(10);
    EXPECT_EQ(services[10], ServiceRecord{});
    services.ReDim(-5);
    EXPECT_EQ(services.UBound(), -1);
    EXPECT_EQ(ErrorNumberOf([] {
                  ResizableArray<ServiceRecord> s;
                  s.ReDim(2);
                  s.at(3);
              }),
              9);
    EXPECT_EQ(ErrorNumberOf([] {
                  ResizableArray<ServiceRecord> s;
                  s.ReDim(2);
                  s.at(-1);
              }),
              9);
}

TEST(RecordTables, RecordsCompareFieldByField) {
    ServiceRecord a, b;
    b.Tariffs[10].UnitSecs = 1;
    EXPECT_NE(a, b);
    ReportViewSettings v, w;
    w.Column[7] = 1000;
    EXPECT_NE(v, w);
    EXPECT_EQ(RecentFileRecord{}, (RecentFileRecord{"", "", ""}));
}

}  // namespace
