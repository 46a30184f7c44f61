// A month of sessions through the whole run with the real pricing: the totals of every
// usage row equal the per-session figures worked out here on their own.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "core/MessageBox.h"
#include "tests/core/ScratchFolder.h"
#include "tests/analysis/CostingFixture.h"

namespace costing_test {
namespace {

constexpr double Megabyte = 1048576.0;

// A small fixed generator, the same on every platform.
class Numbers {
public:
    // 0 to range - 1.
    uint32_t Next(uint32_t range) {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>((state_ >> 33) % range);
    }

private:
    uint64_t state_ = 20261201;
};

struct Expected {
    int32_t seconds = 0;
    int32_t sessions = 0;
    double dialCost = 0;
    double serviceCost = 0;
    double dataCost = 0;
    int64_t bytes = 0;
};

class PeriodCostEndToEnd : public CostingTest {
protected:
    void SetUp() override {
        CostingTest::SetUp();
        DUVMain::MaxConnections = 400;
        DUVMain::CalcCosts = true;
    }

    void TearDown() override { std::remove(path.c_str()); }

    test_support::ScopedValue<DUVAnalyse::PricingCalls> pricing_{DUVAnalyse::Pricing,
                                                                 DUVAnalyse::DefaultPricing()};
    test_support::ScopedValue<DUVAnalyse::RunWindow> window_{DUVAnalyse::Window, {}};

    static std::string Stamp(int day, int32_t second) {
        char text[64];
        std::snprintf(text, sizeof text, "12-%02d-2026 %02d:%02d:%02d.00 - ", day, second / 3600,
                      second / 60 % 60, second % 60);
        return text;
    }

    // One dialled session of `seconds` seconds from `start` (seconds of the day).
    void Session(const std::string& number, int day, int32_t start, int32_t seconds,
                 int64_t bytes) {
        lines.push_back(Stamp(day, start - 5) + "Recv: ATDT" + number + "<cr>");
        lines.push_back(Stamp(day, start) + "Connection established at 46666bps.");
        lines.push_back(Stamp(day, start + seconds) + "Hanging up the modem.");
        lines.push_back(Stamp(day, start + seconds + 5) +
                        "               Reads : " + std::to_string(bytes) + " bytes");
        Expected& e = expected[number];
        e.seconds += seconds;
        e.sessions += 1;
        e.bytes += bytes;
    }

    void RunLog() {
        std::ofstream out(path, std::ios::binary);
        for (const std::string& line : lines) {
            out << line << "\r\n";
        }
        out.close();
        DUVMain::LogFilePath = path;
        DUVMain::LogLineCount = static_cast<float>(lines.size());
        DUVAnalyse::Analyse();
    }

    const DUVAnalyse::ServiceUsageRecord& RowOf(const std::string& number) const {
        for (int32_t i = 1; i <= DUVAnalyse::UsageCount; ++i) {
            if (DUVAnalyse::ServiceUsage[static_cast<size_t>(i)].Number == number) {
                return DUVAnalyse::ServiceUsage[static_cast<size_t>(i)];
            }
        }
        ADD_FAILURE() << "no usage row for " << number;
        return DUVAnalyse::ServiceUsage[0];
    }

    ScratchFolder scratch_{"duv-period-cost"};
    std::string path = scratch_ / "periods.log";
    std::vector<std::string> lines;
    std::map<std::string, Expected> expected;
};

TEST_F(PeriodCostEndToEnd, RowTotalsAreTheSumsOfTheSessionPrices) {
    // On tariffs: night per 5-minute unit, day per minute, evening per second after 30 s;
    // service time at a flat 1.20 an hour.
    ServiceRecord tariffed;
    tariffed.ServiceName = "Tariffed";
    tariffed.ServiceNumber = "0800111";
    tariffed.DialOption = 2;
    tariffed.Tariffs[1] =
        Tariff("Night", "Everyday", Time(0, 0), Time(7, 59), 0.02, 0.10, "Per Unit", 0, 5, 0);
    tariffed.Tariffs[2] =
        Tariff("Day", "Everyday", Time(8, 0), Time(17, 59), 0.10, 0.06, "Per Minute");
    tariffed.Tariffs[3] =
        Tariff("Evening", "Everyday", Time(18, 0), Time(23, 59), 0.05, 0.0005, "Per Second", 30);
    tariffed.UsedTariffs = 3;
    tariffed.ServiceOption = 1;
    tariffed.ServiceRate = 1.2;
    AddService(tariffed);
    // 10 hours a week at 0.50 an hour, 2.00 an hour beyond.
    ServiceRecord weekly;
    weekly.ServiceName = "Weekly";
    weekly.ServiceNumber = "0800222";
    weekly.DialOption = 1;
    weekly.DialFixedTariff = 0.15;
    weekly.ServiceOption = 2;
    weekly.UpToHours = 10;
    weekly.PenaltyPeriod = "Week";
    weekly.FlexRate = 0.5;
    weekly.FlexRate2 = 2.0;
    AddService(weekly);
    // 5 MB a day free, then 0.30 a megabyte.
    ServiceRecord data;
    data.ServiceName = "Data";
    data.ServiceNumber = "0800333";
    data.DialOption = 1;
    data.ServiceOption = 1;
    data.AfterMeg = 5;
    data.MegPeriod = "Day";
    data.PerMeg = 0.3;
    AddService(data);

    Numbers random;
    std::map<int, int32_t> weeklyUsed;  // seconds by week from 1 December
    for (int day = 1; day <= 31; ++day) {
        // Tariffed: one session inside one tariff window.
        const int32_t length = 60 + static_cast<int32_t>(random.Next(7140));
        Expected& t = expected["0800111"];
        int32_t start = 0;
        switch (day % 3) {
        case 0:
            start = 2 * 3600 + static_cast<int32_t>(random.Next(3600));
            t.dialCost += 0.02 + std::ceil(length / 300.0) * 0.10;
            break;
        case 1:
            start = 8 * 3600 + 1800 + static_cast<int32_t>(random.Next(1800));
            t.dialCost += 0.10 + length / 60.0 * 0.06;
            break;
        default:
            start = 19 * 3600 + static_cast<int32_t>(random.Next(3600));
            t.dialCost += 0.05 + std::max(0, length - 30) * 0.0005;
            break;
        }
        t.serviceCost += length / 3600.0 * 1.2;
        Session("0800111", day, start, length, 0);

        // Weekly allowance.
        const int32_t weeklyLength = 600 + static_cast<int32_t>(random.Next(4 * 3600));
        int32_t& used = weeklyUsed[(day - 1) / 7];
        const int32_t inside = std::clamp(10 * 3600 - used, 0, weeklyLength);
        used += weeklyLength;
        Expected& w = expected["0800222"];
        w.dialCost += 0.15;
        w.serviceCost += inside / 3600.0 * 0.5 + (weeklyLength - inside) / 3600.0 * 2.0;
        Session("0800222", day, 12 * 3600 + 30 + static_cast<int32_t>(random.Next(1800)),
                weeklyLength, 0);

        // Two data sessions a day against the free 5 MB.
        double usedToday = 0;
        Expected& d = expected["0800333"];
        for (int32_t startOfSession : {17 * 3600, 23 * 3600}) {
            const int64_t bytes = 1 + random.Next(4 * 1048576);
            const double before = usedToday;
            usedToday += static_cast<double>(bytes);
            d.dataCost +=
                std::max(0.0, usedToday - std::max(before, 5 * Megabyte)) / Megabyte * 0.3;
            Session("0800333", day, startOfSession + static_cast<int32_t>(random.Next(600)),
                    300 + static_cast<int32_t>(random.Next(900)), bytes);
        }
    }

    ScriptedMessages boxes;
    RunLog();

    EXPECT_FALSE(DUVAnalyse::TariffIncomplete);
    EXPECT_TRUE(boxes.Calls().empty());
    ASSERT_EQ(DUVAnalyse::UsageCount, 3);
    for (const auto& [number, e] : expected) {
        SCOPED_TRACE(number);
        const DUVAnalyse::ServiceUsageRecord& row = RowOf(number);
        EXPECT_EQ(row.Sessions, e.sessions);
        EXPECT_EQ(row.Seconds, e.seconds);
        EXPECT_EQ(row.BytesRead, e.bytes);
        EXPECT_NEAR(row.DialCost, e.dialCost, 1e-6);
        EXPECT_NEAR(row.ServiceCost, e.serviceCost, 1e-4);
        EXPECT_NEAR(row.TotalCost, e.dialCost + e.serviceCost + e.dataCost, 1e-4);
    }
    // The data service went over its free amount on some days and not on others.
    EXPECT_GT(expected["0800333"].dataCost, 0.0);
    EXPECT_GT(expected["0800222"].serviceCost, 0.0);
}

}  // namespace
}  // namespace costing_test
