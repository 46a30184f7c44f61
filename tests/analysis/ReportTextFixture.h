// A log written as text, run through the whole analysis with the real pricing, then the
// reports built from its tables. English (United States) regional settings unless a test
// switches to German; costs on; errors shown.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "analysis/Costing.h"
#include "analysis/DUVAnalyse.h"
#include "analysis/Report.h"
#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/GeneralFunctions.h"
#include "core/Locale.h"
#include "core/Records.h"
#include "core/Runtime.h"
#include "tests/core/ScratchFolder.h"
#include "tests/support/Dates.h"
#include "tests/support/ProgramState.h"
#include "tests/support/ScopedLocale.h"
#include "tests/support/Seams.h"

namespace report_test {

using test_support::Day;
using test_support::Time;

inline TariffRecord Tariff(const std::string& description, const std::string& days,
                           DUVMain::Date start, DUVMain::Date end, double dialRate, double rate,
                           const std::string& unit) {
    TariffRecord t;
    t.Description = description;
    t.AppliesDays = days;
    t.AppliesTimeStart = start;
    t.AppliesTimeEnd = end;
    t.DialRate = dialRate;
    t.PerMinuteRate = rate;
    t.Unit = unit;
    return t;
}

// The report text split at CR LF; a text ending with CR LF gives an empty last line.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (;;) {
        std::size_t at = text.find("\r\n", from);
        if (at == std::string::npos) {
            lines.push_back(text.substr(from));
            return lines;
        }
        lines.push_back(text.substr(from, at - from));
        from = at + 2;
    }
}

// Lines joined by CR LF, without one after the last.
inline std::string Join(std::initializer_list<std::string> lines) {
    std::string text;
    bool first = true;
    for (const std::string& line : lines) {
        if (!first)
            text += "\r\n";
        text += line;
        first = false;
    }
    return text;
}

inline std::string Dashes(std::size_t n) { return std::string(n, '-'); }
inline std::string Blanks(std::size_t n) { return std::string(n, ' '); }

struct Totals {
    std::string time;
    std::string cost;
};

// The summary's totals line: the time under the time column, the cost last.
inline Totals SummaryTotals() {
    const std::vector<std::string> lines = Lines(DUVAnalyse::ReportText);
    const std::string& line = lines.back();
    EXPECT_EQ(line.rfind(" TOTALS:", 0), 0u) << line;
    return {runtime::Trim(line.substr(17, 15)), line.substr(line.find_last_of(' ') + 1)};
}

// The details' totals line: "TOTALS: " and the time, then the cost.
inline Totals DetailTotals() {
    const std::vector<std::string> lines = Lines(DUVAnalyse::ReportText);
    EXPECT_GE(lines.size(), 3u);
    const std::string line = runtime::Trim(lines[lines.size() - 3]);
    EXPECT_EQ(line.rfind("TOTALS: ", 0), 0u) << line;
    return {line.substr(8, 8), runtime::Trim(line.substr(16))};
}

// Builds both reports; their time and cost totals, as text and as list rows, agree.
inline void ExpectTotalsAgree() {
    DUVAnalyse::DisplaySummaryReport();
    const Totals summary = SummaryTotals();
    const std::vector<std::string> summaryItem = DUVAnalyse::Report.Rows.back().SubItems();
    DUVAnalyse::DisplayDetailReport();
    const Totals details = DetailTotals();
    EXPECT_EQ(summary.time, details.time);
    EXPECT_EQ(summary.cost, details.cost);
    EXPECT_EQ(summaryItem.at(1), DUVAnalyse::Report.Rows.back().Get(5));
    EXPECT_EQ(summaryItem.at(6), DUVAnalyse::Report.Rows.back().Get(6));
}

class ReportTest : public ::testing::Test {
protected:
    test_support::ScopedLocale locale_;  // first made, last undone
    void SetUp() override {
        test_support::ResetToDefaultSettings();
        UseLocale(regional::kLcidEnUs);
        DUVMain::TimeFormat = "Long Time";
        DUVMain::MaxConnections = 50;
        DUVMain::Services.ReDim(DUVMain::MaxServices);
        DUVMain::CalcCosts = true;
        DUVMain::NoDisconData = 100;
        DUVMain::DialCost = 0.05;
        DUVMain::CostPerHour = 0.6;
        DUVMain::CostPerMeg = 0.25;
        SetRange(Day(2026, 12, 1), Day(2026, 12, 1));
    }

    void TearDown() override {
        EXPECT_TRUE(errors.empty()) << "run-time error " << (errors.empty() ? 0 : errors.front());
        std::remove(path.c_str());
    }

    DUVAnalyse::ReportWindow RecordingReportWindow() {
        DUVAnalyse::ReportWindow w;
        w.Progress.Show = [this](bool on) {
            events.push_back(on ? "ProgressBar on" : "ProgressBar off");
        };
        w.Progress.Set = [this](int percent) { progress.push_back(percent); };
        w.Show = [this] { events.push_back("Show"); };
        return w;
    }

    UserFeedback RecordingFeedback() {
        UserFeedback feedback;
        feedback.ShowBusy = [this](bool busy) {
            events.push_back(busy ? "Hourglass" : "Default pointer");
        };
        return feedback;
    }

    // The regional settings of a fixed locale until the test ends.
    static void UseLocale(regional::LCID lcid) {
        regional::Install(regional::MakeFixedLocale(lcid));
        test_support::ReadRegionalValues();
    }

    static void SetRange(DUVMain::Date start, DUVMain::Date end) {
        DUVMain::ReportStartDate = start;
        DUVMain::ReportEndDate = end;
        DUVAnalyse::ReportDays = static_cast<int32_t>(end - start) + 1;
    }

    // Writes the lines with CR LF endings and runs one analysis over them.
    void Run(std::initializer_list<std::string> lines) {
        std::ofstream out(path, std::ios::binary);
        float count = 0;
        for (const std::string& line : lines) {
            out << line << "\r\n";
            ++count;
        }
        out.close();
        DUVMain::LogFilePath = path;
        DUVMain::LogLineCount = count;
        DUVAnalyse::Analyse();
        events.clear();  // the run's own hourglass; the tests look at the report's
    }

    int AddService(const ServiceRecord& service) {
        const int index = DUVMain::UsedServices;
        DUVMain::Services[index] = service;
        DUVMain::UsedServices = static_cast<std::int16_t>(index + 1);
        return index;
    }

    // "Zelno", 0845123: 0.10 a call, 1.20 an hour, the first megabyte of a session free and
    // 0.50 a megabyte after it.
    void AddZelno() {
        ServiceRecord s;
        s.ServiceName = "Zelno";
        s.ServiceNumber = "0845123";
        s.DialOption = 1;
        s.DialFixedTariff = 0.10;
        s.ServiceOption = 1;
        s.ServiceRate = 1.20;
        s.AfterMeg = 1;
        s.PerMeg = 0.50;
        s.MegPeriod = "Session";
        AddService(s);
    }

    // Tuesday 1 December 2026: a dialled session with 3 MB read, a busy call, an answered
    // call and a connect without a dial line.
    void RunPlainDay() {
        AddZelno();
        Run({"12-01-2026 10:00:00.00 - Recv: ATDT0845123<cr>",
             "12-01-2026 10:00:05.00 - Connection established at 46666bps.",
             "12-01-2026 10:30:05.00 - Hanging up the modem.",
             "12-01-2026 10:30:07.00 - Reads : 3145728 bytes",
             "12-01-2026 11:00:00.00 - Recv: ATDT0171999<cr>",
             "12-01-2026 11:00:20.00 - Remote modem hung up.",
             "12-01-2026 12:00:00.00 - Answering the call",
             "12-01-2026 12:00:02.00 - Connection established at 28800bps.",
             "12-01-2026 12:10:02.00 - Hanging up the modem.",
             "12-01-2026 13:00:00.00 - Connection established at 33600bps.",
             "12-01-2026 13:05:00.00 - Remote modem hung up."});
    }

    // A range of Thursday 24 and Friday 25 December 2026, the 25th a holiday, and "Tele"
    // priced per minute by four tariffs: a session from the day before the range into it, one
    // on the Thursday morning and one from the holiday evening into the day after the range.
    void RunHolidayEdges() {
        SetRange(Day(2026, 12, 24), Day(2026, 12, 25));
        AddHoliday(Day(2026, 12, 25));
        ServiceRecord s;
        s.ServiceName = "Tele";
        s.ServiceNumber = "0800555";
        s.DialOption = 2;
        s.Tariffs[1] =
            Tariff("Holiday", "Holidays", Time(0, 0), Time(23, 59), 0.0, 0.012, "Per Minute");
        s.Tariffs[2] =
            Tariff("Daytime", "Mon-Fri", Time(8, 0), Time(17, 59), 0.10, 0.06, "Per Minute");
        s.Tariffs[3] =
            Tariff("Evening", "Everyday", Time(18, 0), Time(23, 59), 0.05, 0.03, "Per Minute");
        s.Tariffs[4] =
            Tariff("Night", "Everyday", Time(0, 0), Time(7, 59), 0.05, 0.02, "Per Minute");
        s.UsedTariffs = 4;
        AddService(s);
        Run({"12-23-2026 23:49:55.00 - Recv: ATDT0800555<cr>",
             "12-23-2026 23:50:00.00 - Connection established",
             "12-24-2026 00:10:00.00 - Hanging up the modem.",
             "12-24-2026 09:59:55.00 - Recv: ATDT0800555<cr>",
             "12-24-2026 10:00:00.00 - Connection established",
             "12-24-2026 10:20:00.00 - Hanging up the modem.",
             "12-25-2026 23:54:55.00 - Recv: ATDT0800555<cr>",
             "12-25-2026 23:55:00.00 - Connection established",
             "12-26-2026 00:05:00.00 - Hanging up the modem.",
             "12-26-2026 00:05:02.00 - Reads : 2000000 bytes"});
    }

    void AddHoliday(DUVMain::Date date) {
        DUVMain::UsedHolidays = static_cast<std::int16_t>(DUVMain::UsedHolidays + 1);
        DUVMain::Holidays[DUVMain::UsedHolidays] = date;
    }

    DUVAnalyse::ReportRow Row(std::size_t i) const { return DUVAnalyse::Report.Rows.at(i); }

    ScratchFolder scratch_{"duv-report-text"};
    std::string path = scratch_ / "report.log";
    std::vector<int> errors;
    std::vector<std::string> errorPlaces;  // module.procedure of each error
    std::vector<std::string> events;
    std::vector<int> progress;

    test_support::ScopedSeam<runtime::ErrorHandlerFn> handler_{
        runtime::SetErrorHandler, [this] {
            errors.push_back(runtime::Err().number);
            errorPlaces.push_back(DUVMain::ErrModuleName + "." + DUVMain::ErrProcName);
            return runtime::kActionSkip;
        }};
    test_support::ScopedValue<DUVAnalyse::PricingCalls> pricing_{DUVAnalyse::Pricing,
                                                                 DUVAnalyse::DefaultPricing()};
    test_support::ScopedValue<DUVAnalyse::RunWindow> window_{DUVAnalyse::Window, {}};
    test_support::ScopedValue<DUVAnalyse::ReportWindow> reportWindow_{DUVAnalyse::ReportWindowCalls,
                                                                      RecordingReportWindow()};
    test_support::ScopedSeam<UserFeedback> feedback_{SetUserFeedback, RecordingFeedback()};
};

}  // namespace report_test
