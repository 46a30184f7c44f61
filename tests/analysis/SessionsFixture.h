// Settings, a log written to a file and recording stand-ins for the pricing calls and the
// window, so that the session building is checked on its own.
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include "analysis/DUVAnalyse.h"
#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/Runtime.h"
#include "tests/core/ScratchFolder.h"
#include "tests/support/Dates.h"
#include "tests/support/ProgramState.h"
#include "tests/support/Seams.h"

namespace sessions_test {

using test_support::Day;
using test_support::Time;
inline long long Seconds(double time) { return std::llround(time * 86400.0); }

struct DialCall {
    std::string number;
    double connectDate, connectTime, disconnectDate, disconnectTime;
    int connIndex;
};
struct ServiceCall {
    std::string number;
    int seconds;
    double date;
};
struct DataCall {
    std::string number;
    double bytes;
    double date;
};

class SessionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        test_support::ResetToDefaultSettings();
        DUVMain::Services.ReDim(DUVMain::MaxServices);
        DUVMain::CalcCosts = true;
        DUVMain::ReportStartDate = Day(2026, 12, 1);
        DUVMain::ReportEndDate = Day(2026, 12, 31);
        CurrencyFormat::GetCurrencySymbolInfo();
    }

    void TearDown() override { std::remove(path.c_str()); }

    DUVAnalyse::PricingCalls RecordingPricing() {
        DUVAnalyse::PricingCalls p;
        p.GetDialupCost = [this](const std::string& number, double cd, double ct, double dd,
                                 double dt, int32_t connIndex) {
            dialCalls.push_back({number, cd, ct, dd, dt, connIndex});
            return number == uncovered ? -0.25 : 0.5;
        };
        p.GetServiceCost = [this](const std::string& number, int32_t seconds, double date) {
            serviceCalls.push_back({number, seconds, date});
            return seconds * 0.001;
        };
        p.GetDataCost = [this](const std::string& number, double bytes, double date) {
            dataCalls.push_back({number, bytes, date});
            return bytes / 1048576.0;
        };
        p.CheckUserWarnings = [this] { events.push_back("CheckUserWarnings"); };
        return p;
    }

    UserFeedback RecordingFeedback() {
        UserFeedback feedback;
        feedback.ShowBusy = [this](bool b) {
            events.push_back(b ? "Hourglass" : "Default pointer");
        };
        feedback.LetEventsRun = [this] { ++eventPumps; };
        return feedback;
    }

    DUVAnalyse::RunWindow RecordingWindow() {
        DUVAnalyse::RunWindow w;
        w.Progress.Show = [this](bool v) {
            events.push_back(v ? "ProgressBar on" : "ProgressBar off");
        };
        w.Progress.Set = [this](int pct) { progress.push_back(pct); };
        w.SetStatusText = [this](const std::string& t) { status.push_back(t); };
        w.WarnMaxServices = [this] { events.push_back("WarnMaxServices"); };
        w.WarnMaxConnections = [this] { events.push_back("WarnMaxConnections"); };
        w.WarnTariffsIncomplete = [this] { events.push_back("WarnTariffsIncomplete"); };
        w.ShowReport = [this] { events.push_back("ShowReport"); };
        return w;
    }

    // Writes the lines with CR LF endings and runs one analysis over them.
    void Run(const std::vector<std::string>& lines) {
        std::ofstream out(path, std::ios::binary);
        float count = 0;
        for (const std::string& line : lines) {
            out << line << "\r\n";
            if (line.find_first_not_of(' ') != std::string::npos)
                ++count;
        }
        out.close();
        DUVMain::LogFilePath = path;
        DUVMain::LogLineCount = count;
        DUVAnalyse::Analyse();
    }

    int Count(const std::string& event) const {
        int n = 0;
        for (const std::string& e : events)
            n += e == event;
        return n;
    }

    void AddService(const std::string& name, const std::string& number, const std::string& alt) {
        ServiceRecord& s = DUVMain::Services[DUVMain::UsedServices];
        s.ServiceName = name;
        s.ServiceNumber = number;
        s.ServiceAltNumber = alt;
        ++DUVMain::UsedServices;
    }

    const DUVAnalyse::ConnectionRecord& Rec(int i) const {
        return DUVAnalyse::Connections.at(static_cast<std::size_t>(i));
    }
    const DUVAnalyse::ServiceUsageRecord& Row(int i) const {
        return DUVAnalyse::ServiceUsage.at(static_cast<std::size_t>(i));
    }

    ScratchFolder scratch_{"duv-sessions"};
    std::string path = scratch_ / "sessions.log";
    std::string uncovered = "none";
    std::vector<DialCall> dialCalls;
    std::vector<ServiceCall> serviceCalls;
    std::vector<DataCall> dataCalls;
    std::vector<std::string> events;
    std::vector<std::string> status;
    std::vector<int> progress;
    std::vector<int> errors;
    int eventPumps = 0;

    test_support::ScopedSeam<runtime::ErrorHandlerFn> handler_{
        runtime::SetErrorHandler, [this] {
            errors.push_back(runtime::Err().number);
            return runtime::kActionSkip;
        }};
    test_support::ScopedValue<DUVAnalyse::PricingCalls> pricing_{DUVAnalyse::Pricing,
                                                                 RecordingPricing()};
    test_support::ScopedValue<DUVAnalyse::RunWindow> window_{DUVAnalyse::Window, RecordingWindow()};
    test_support::ScopedSeam<UserFeedback> feedback_{SetUserFeedback, RecordingFeedback()};
};

}  // namespace sessions_test
