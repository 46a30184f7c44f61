#include "tools/duvreport/Tables.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "core/Startup.h"
#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/GeneralFunctions.h"
#include "core/Runtime.h"

namespace duvreport {
namespace {

std::string DateText(double date) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", runtime::Year(date), runtime::Month(date),
                  runtime::Day(date));
    return buf;
}

std::string TimeText(double time) {
    long long s = std::llround(time * 86400.0);
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    return buf;
}

std::string Money(double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.4f", value);
    return std::string(buf) == "-0.0000" ? "0.0000" : buf;
}

const char* Bool(bool b) { return b ? "True" : "False"; }

}  // namespace

void LoadSettings() {
    CurrencyFormat::GetCurrencySymbolInfo();
    GeneralFunctions::GetDateFormatMask();
    DUVMain::GetDayNames();
    DUVMain::SetDefaultSettings();
    DUVMain::ReadUserParameters();
    DUVMain::FillInDefaults();
    DUVMain::SetTimeFormat();
}

DUVAnalyse::RunWindow HeadlessWindow(std::ostream& messages, bool& reportShown) {
    DUVAnalyse::RunWindow w;
    w.WarnMaxServices = [&messages] {
        messages << "warning: Cannot Continue.... Exceeded Maximum Number of Services.\n";
    };
    w.WarnMaxConnections = [&messages] {
        messages << "warning: Cannot Continue.... Exceeded Maximum Number of Connections.\n";
    };
    w.WarnTariffsIncomplete = [&messages] {
        messages << "warning: Your Dialup Tariff Definitions Are Incomplete!\n";
    };
    w.ShowReport = [&reportShown] { reportShown = true; };
    return w;
}

void PrintTables(std::ostream& out) {
    using namespace DUVAnalyse;
    out << "run\tEntryCount=" << EntryCount << "\tUsageCount=" << UsageCount
        << "\tConnIndex=" << ConnIndex << "\tErrorsFound=" << Bool(ErrorsFound)
        << "\tTariffIncomplete=" << Bool(TariffIncomplete) << "\tShowBlocks=" << Bool(ShowBlocks)
        << "\tServicesOverflow=" << Bool(ServicesOverflow)
        << "\tConnectionsOverflow=" << Bool(ConnectionsOverflow)
        << "\tLogCorrupt=" << Bool(DUVMain::LogCorrupt) << "\n";
    out << "#usage\trow\tNumber\tAltNumber\tSeconds\tSessions\tTotalCost\tDialCost\tServiceCost"
           "\tBytesRead\tBlocks\tFreeSeconds\n";
    for (int32_t i = 0; i <= UsageCount && static_cast<std::size_t>(i) < ServiceUsage.size(); ++i) {
        const ServiceUsageRecord& r = ServiceUsage[static_cast<std::size_t>(i)];
        out << "usage\t" << i << '\t' << r.Number << '\t' << r.AltNumber << '\t' << r.Seconds
            << '\t' << r.Sessions << '\t' << Money(r.TotalCost) << '\t' << Money(r.DialCost) << '\t'
            << Money(r.ServiceCost) << '\t' << r.BytesRead << '\t' << r.Blocks << '\t'
            << r.FreeSeconds << '\n';
    }
    out << "#connection\tindex\tConnectDate\tConnectTime\tDisconnectDate\tDisconnectTime"
           "\tService\tNotes\tAnswered\tBytesRead\tBytesWritten\tFreeSeconds\n";
    for (int32_t i = 1; i <= ConnIndex && static_cast<std::size_t>(i) < Connections.size(); ++i) {
        const ConnectionRecord& r = Connections[static_cast<std::size_t>(i)];
        out << "connection\t" << i << '\t' << DateText(r.ConnectDate) << '\t'
            << TimeText(r.ConnectTime) << '\t' << DateText(r.DisconnectDate) << '\t'
            << TimeText(r.DisconnectTime) << '\t' << r.Service << '\t' << r.Notes << '\t'
            << Bool(r.Answered) << '\t' << r.BytesRead << '\t' << r.BytesWritten << '\t'
            << r.FreeSeconds << '\n';
    }
}

}  // namespace duvreport
