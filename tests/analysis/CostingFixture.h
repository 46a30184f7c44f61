// Settings, services and tables for the pricing tests: the program's state at start-up with
// its default settings, a December 2026 report range, English day names, no services until a
// test adds them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "analysis/Costing.h"
#include "analysis/DUVAnalyse.h"
#include "core/DUVMain.h"
#include "core/Records.h"
#include "core/Runtime.h"
#include "tests/support/Dates.h"
#include "tests/support/ProgramState.h"
#include "tests/support/Seams.h"

namespace costing_test {

using test_support::Day;
using test_support::Time;

inline TariffRecord Tariff(const std::string& description, const std::string& days,
                           DUVMain::Date start, DUVMain::Date end, double dialRate, double rate,
                           const std::string& unit, int after = 0, int unitMins = 0,
                           int unitSecs = 0) {
    TariffRecord t;
    t.Description = description;
    t.AppliesDays = days;
    t.AppliesTimeStart = start;
    t.AppliesTimeEnd = end;
    t.DialRate = dialRate;
    t.PerMinuteRate = rate;
    t.Unit = unit;
    t.After = after;
    t.UnitMins = static_cast<std::int16_t>(unitMins);
    t.UnitSecs = static_cast<std::int16_t>(unitSecs);
    return t;
}

class CostingTest : public ::testing::Test {
protected:
    void SetUp() override {
        test_support::ResetToDefaultSettings();
        DUVMain::MaxConnections = 20;
        DUVMain::Services.ReDim(DUVMain::MaxServices);
        const char* abbrevs[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
        const char* names[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                               "Friday", "Saturday", "Sunday"};
        for (int i = 1; i <= 7; ++i) {
            DUVMain::DayAbbrevs[i] = abbrevs[i - 1];
            DUVMain::DayNames[i] = names[i - 1];
        }
        DUVMain::DialCost = 0.2;
        DUVMain::CostPerHour = 1.5;
        DUVMain::CostPerMeg = 0.25;
        DUVMain::ReportStartDate = Day(2026, 12, 1);
        DUVMain::ReportEndDate = Day(2026, 12, 31);
        DUVAnalyse::Penalties.Create(DUVMain::MaxServices);
        DUVAnalyse::Connections.assign(static_cast<size_t>(DUVMain::MaxConnections) + 1, {});
        DUVAnalyse::ServiceUsage.assign(static_cast<size_t>(DUVMain::MaxServices) + 1, {});
    }

    // Adds a service with the number and returns its index.
    int AddService(ServiceRecord service) {
        const int index = DUVMain::UsedServices;
        DUVMain::Services[index] = std::move(service);
        DUVMain::UsedServices = static_cast<std::int16_t>(index + 1);
        return index;
    }

    // A service priced by the tariffs given.
    int AddTariffService(const std::string& number, std::initializer_list<TariffRecord> tariffs) {
        ServiceRecord s;
        s.ServiceName = "Tariffed";
        s.ServiceNumber = number;
        s.DialOption = 2;
        int j = 0;
        for (const TariffRecord& t : tariffs) {
            s.Tariffs[++j] = t;
        }
        s.UsedTariffs = static_cast<std::int16_t>(j);
        return AddService(s);
    }

    void AddHoliday(DUVMain::Date date) {
        DUVMain::UsedHolidays = static_cast<std::int16_t>(DUVMain::UsedHolidays + 1);
        DUVMain::Holidays[DUVMain::UsedHolidays] = date;
    }
};

}  // namespace costing_test
