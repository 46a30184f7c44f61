// The details report: one block per session of the last run, priced again in session order,
// then the totals.
#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "analysis/Costing.h"
#include "analysis/DUVAnalyse.h"
#include "analysis/Report.h"
#include "core/DUVMain.h"
#include "core/GeneralFunctions.h"
#include "core/Runtime.h"

namespace DUVAnalyse {
namespace {

constexpr std::string_view kProc = "DisplayDetailReport";
constexpr std::string_view kTitle = "DUVELO - Details Report";
constexpr const char* kCrLf = "\r\n";
constexpr std::size_t kDots = 100;
constexpr std::string_view kErrorRemark = " ERROR -";
constexpr std::string_view kSixteenBlanks = "                ";

// Puts a session's notes back as the run left them when the session's block is done, so
// that every build starts from the same notes. They are kept in store, whose storage serves
// one session after the other.
class KeepNotes {
public:
    KeepNotes(ConnectionRecord& record, std::string& store) : record_(record), notes_(store) {
        notes_ = record.Notes;
    }
    ~KeepNotes() { record_.Notes = notes_; }
    KeepNotes(const KeepNotes&) = delete;
    KeepNotes& operator=(const KeepNotes&) = delete;
    const std::string& Stored() const { return notes_; }

private:
    ConnectionRecord& record_;
    std::string& notes_;
};

// The record holds the given notes in place of its own while this lives; the two are
// swapped, not copied, both ways.
class LentNotes {
public:
    LentNotes(std::string& recordNotes, std::string& notes) : a_(recordNotes), b_(notes) {
        a_.swap(b_);
    }
    ~LentNotes() { a_.swap(b_); }
    LentNotes(const LentNotes&) = delete;
    LentNotes& operator=(const LentNotes&) = delete;

private:
    std::string& a_;
    std::string& b_;
};

// A service's name and charge block, looked up once per service of the report.
struct ServiceFacts {
    std::string name;
    int32_t blockMinutes = 0;
};

std::string DateText(Date date) { return runtime::Format(date, "Short Date"); }

// The short dates of the sessions, in order: a session mostly ends on the day it starts,
// and the next one often starts on the same day, so the last date's text is kept.
class SessionDates {
public:
    const std::string& Text(Date date) {
        if (!known_ || date != date_) {
            text_ = DateText(date);
            date_ = date;
            known_ = true;
        }
        return text_;
    }

private:
    bool known_ = false;
    Date date_ = 0;
    std::string text_;
};

std::string TimeOfDayText(Date time) {
    return runtime::Format(time, DUVMain::TimeFormat.empty()
                                     ? std::string_view("Long Time")
                                     : std::string_view(DUVMain::TimeFormat));
}

// The notes of an error session without its error remark, wherever the remark stands.
std::string WithoutErrorRemark(std::string notes) {
    const std::size_t at = notes.find(kErrorRemark);
    if (at != std::string::npos)
        notes.erase(at, kErrorRemark.size());
    return notes;
}

// The money texts of one report's last amounts, a few hundred of them by a hash of the
// amount: the sessions share a few prices, and most of their service and data amounts are
// nothing. A text stays valid until the next call.
class MoneyTexts {
public:
    std::string_view Text(double amount) {
        Entry& entry = entries_[Slot(amount)];
        if (!entry.used || !(entry.amount == amount)) {
            entry.text = FormatMoney(amount);
            entry.amount = amount;
            entry.used = true;
        }
        return entry.text;
    }

private:
    struct Entry {
        bool used = false;
        double amount = 0;
        std::string text;
    };
    static constexpr int kSlotBits = 8;
    std::array<Entry, std::size_t{1} << kSlotBits> entries_;

    // The amount's bits mixed, the top ones taken; both zeros compare equal and share a slot.
    static std::size_t Slot(double amount) {
        const std::uint64_t bits = amount == 0 ? 0 : std::bit_cast<std::uint64_t>(amount);
        return static_cast<std::size_t>((bits * 0x9E3779B97F4A7C15ull) >> (64 - kSlotBits));
    }
};

void AppendCostSplit(std::string& out, MoneyTexts& money, double dial, double service,
                     double data) {
    out += " Dialup: ";
    out += money.Text(dial);
    out += " - Service: ";
    out += money.Text(service);
    out += " - Data: ";
    out += money.Text(data);
}

// Whether the notes hold "ERROR", in any case.
bool MentionsError(std::string_view notes) {
    constexpr std::string_view kError = "ERROR";
    for (std::size_t at = 0; at + kError.size() <= notes.size(); ++at) {
        if ((notes[at] & ~0x20) != kError[0])
            continue;
        std::size_t n = 1;
        while (n < kError.size() && (notes[at + n] & ~0x20) == kError[n])
            ++n;
        if (n == kError.size())
            return true;
    }
    return false;
}

struct SessionPrice {
    double dial = 0;
    double service = 0;
    double data = 0;
};

// Prices session i again. The dial-up pricing adds the tariffs it used to the notes, which
// stand in the record while it runs. Chargeable seconds never go below 0: the free seconds
// come from the times of day, the charged ones from the part inside the range.
SessionPrice PriceSession(ConnectionRecord& rec, int32_t i, int64_t charged, std::string& notes) {
    SessionPrice price;
    {
        const LentNotes lent(rec.Notes, notes);
        ReportStatement(kProc, [&] {
            price.dial = std::fabs(GetDialupCost(rec.Service, rec.ConnectDate, rec.ConnectTime,
                                                 rec.DisconnectDate, rec.DisconnectTime, i));
        });
    }
    ReportStatement(kProc, [&] {
        const int64_t chargeable =
            std::clamp<int64_t>(charged - rec.FreeSeconds, 0, std::numeric_limits<int32_t>::max());
        price.service =
            GetServiceCost(rec.Service, static_cast<int32_t>(chargeable), rec.ConnectDate);
    });
    ReportStatement(kProc,
                    [&] { price.data = GetDataCost(rec.Service, rec.BytesRead, rec.ConnectDate); });
    runtime::SetContext("DUVAnalyse", kProc);
    return price;
}

}  // namespace

void DisplayDetailReport() {
    runtime::SetContext("DUVAnalyse", kProc);
    ShowBusy(true);
    ReportStatement(kProc, [] { Penalties.Create(DUVMain::MaxServices); });

    const bool withCost = DUVMain::CalcCosts;
    const bool warn = ErrorsFound && DUVMain::ShowErrors;
    const std::size_t cw =
        withCost ? static_cast<std::size_t>(std::max<int32_t>(CostWidth(), 0)) : 0;
    const std::size_t notesColumn = withCost ? 7 : 6;

    ReportView view;
    ReportText.clear();
    view.Columns = {{"Service", "0", 0},
                    {"Status", "2", 0},
                    {"Date", "2", 0},
                    {"Time", "2", 0},
                    {"Duration", "2", 0}};
    if (withCost)
        view.Columns.push_back({"Cost ", "1", 0});
    view.Columns.push_back({" Notes", "0", 6000});

    // Heading.
    std::string startShort, endShort, startLong, endLong;
    ReportStatement(kProc, [&] { startShort = DateText(DUVMain::ReportStartDate); });
    ReportStatement(kProc, [&] { endShort = DateText(DUVMain::ReportEndDate); });
    ReportStatement(kProc,
                    [&] { startLong = runtime::Format(DUVMain::ReportStartDate, "Long Date"); });
    ReportStatement(kProc, [&] { endLong = runtime::Format(DUVMain::ReportEndDate, "Long Date"); });
    const std::string days = DaysText();
    // About four lines of text and three list rows a session: grown once, not by doubling.
    const std::size_t sessionCount = static_cast<std::size_t>(std::max<int32_t>(ConnIndex, 0));
    std::string text;
    text.reserve(1024 + sessionCount * (320 + 2 * cw));
    const bool listRows = ReportWindowCalls.ListRows;
    if (listRows)
        view.Rows.reserve(3 * sessionCount + 2, 1024 + sessionCount * (200 + 2 * cw));
    text += std::string(" ") + std::string(kTitle) + kCrLf;
    text += kCrLf;
    text += " Beginning: " + startShort + (warn ? "    WARNING: Errors found in log." : "") + kCrLf;
    text += " Ending:    " + endShort + (warn ? "      Report may not be accurate." : "") + kCrLf;
    text += " Period:    " + days + kCrLf;
    text += kCrLf;
    text += " " + std::string(52 + cw, '-') + kCrLf;
    text += kCrLf;

    view.ShowWarning = warn;
    view.ShowNoConnections = ConnIndex == 0;
    view.Title = std::string(kTitle);
    view.Begin = startLong;
    view.End = endLong;
    view.Period = days;

    double totalSeconds = 0;
    double totalDial = 0, totalService = 0, totalData = 0, totalCost = 0;
    const std::string sessionDashes = "    " + std::string(49 + cw, '-') + kCrLf;
    // The two list rows of a session are put together here and copied into the view, each
    // into an allocation of its own size.
    ReportRow connectRow, disconnectRow;
    SessionDates sessionDates;
    MoneyTexts moneyTexts;
    // The longer texts of a session, kept from one session to the next with their storage.
    std::string notes, storedNotes, split;
    std::unordered_map<std::string, ServiceFacts> services;

    ReportWindowCalls.Progress.Visible(true);
    const int32_t sessions =
        std::min<int32_t>(ConnIndex, static_cast<int32_t>(Connections.size()) - 1);
    for (int32_t i = 1; i <= sessions; ++i) {
        const double p = std::floor(static_cast<double>(i) / ConnIndex * 100.0);
        if (p <= 100)
            ReportWindowCalls.Progress.Percent(static_cast<int>(p));

        ConnectionRecord& rec = Connections[static_cast<std::size_t>(i)];
        const bool errorSession = MentionsError(rec.Notes);
        if (errorSession && !DUVMain::ShowErrors)
            continue;
        KeepNotes kept(rec, storedNotes);

        auto [known, added] = services.try_emplace(rec.Service);
        ServiceFacts& service = known->second;
        if (added) {
            ReportStatement(kProc, [&] { service.name = GetServiceName(rec.Service); });
            ReportStatement(kProc, [&] { service.blockMinutes = GetBlockMinutes(rec.Service); });
        }
        const std::string& name = service.name;
        Append(text, {" ", name, kCrLf});
        if (listRows)
            view.Rows.push_back({});

        // Time and notes.
        int32_t seconds = 0;
        int64_t charged = 0;
        std::string duration;
        ReportStatement(kProc, [&] { seconds = runtime::CLng(GetSessionSeconds(i)); });
        ReportStatement(kProc, [&] { duration = GeneralFunctions::FormatTime(seconds, false); });
        ReportStatement(kProc, [&] {
            const int32_t m = service.blockMinutes;
            charged = m < 1 ? seconds : static_cast<int64_t>(GetBlockCount(m, seconds)) * m * 60;
        });
        // The session's time may have put a remark of its own before the stored notes.
        if (rec.Notes.empty()) {
            notes = kept.Stored();
        } else if (rec.Notes == kept.Stored()) {
            notes = TidyNotes(rec.Notes);
        } else {
            notes = rec.Notes;
            Append(notes, {" -", kept.Stored()});
            notes = TidyNotes(notes);
        }

        // Costs.
        SessionPrice price;
        if (withCost && !rec.Answered)
            price = PriceSession(rec, i, charged, notes);
        const double sessionCost = price.dial + price.service + price.data;
        if (withCost) {
            SessionDialCost = price.dial;
            SessionServiceCost = price.service;
            SessionDataCost = price.data;
            totalDial += price.dial;
            totalService += price.service;
            totalData += price.data;
            totalCost += sessionCost;
        }

        std::string connectDate, connectTime, disconnectDate, disconnectTime;
        ReportStatement(kProc, [&] { connectDate = sessionDates.Text(rec.ConnectDate); });
        ReportStatement(kProc, [&] { connectTime = TimeOfDayText(rec.ConnectTime); });
        ReportStatement(kProc, [&] { disconnectDate = sessionDates.Text(rec.DisconnectDate); });
        ReportStatement(kProc, [&] { disconnectTime = TimeOfDayText(rec.DisconnectTime); });
        std::string money;
        if (withCost)
            money = moneyTexts.Text(sessionCost);

        const std::string tidyNotes = TidyNotes(notes);
        if (listRows) {
            if (withCost) {
                split.clear();
                AppendCostSplit(split, moneyTexts, price.dial, price.service, price.data);
            }
            connectRow.Text = " " + std::to_string(i);
            connectRow.ClearSubItems();
            connectRow.Set(1, name);
            connectRow.Set(2, errorSession ? "E R R O R" : "Connect");
            connectRow.Set(3, connectDate);
            connectRow.Set(4, connectTime);
            connectRow.Set(notesColumn,
                           errorSession ? TidyNotes(WithoutErrorRemark(notes)) : tidyNotes);
            disconnectRow.ClearSubItems();
            if (!errorSession)
                disconnectRow.Set(2, "Disconnect");
            disconnectRow.Set(3, disconnectDate);
            disconnectRow.Set(4, disconnectTime);
            disconnectRow.Set(5, duration);
            if (withCost) {
                disconnectRow.Set(6, money);
                disconnectRow.Set(7, split);
            }
            view.Rows.push_back(connectRow);
            view.Rows.push_back(disconnectRow);
        }

        if (errorSession) {
            Append(text, {std::string_view(kSixteenBlanks), connectDate, " ", connectTime, kCrLf});
            Append(text, {"   ", tidyNotes, kCrLf});
        } else {
            Append(text, {"    Connect:    ", connectDate, " ", connectTime, kCrLf});
            Append(text, {"    Disconnect: ", disconnectDate, " ", disconnectTime, kCrLf});
            if (!notes.empty())
                Append(text, {"   ", tidyNotes, kCrLf});
        }
        text += sessionDashes;
        text += "    ";
        AppendPadLeft(text, duration, 49);
        if (withCost)
            AppendPadLeft(text, money, cw);
        Append(text, {kCrLf, kCrLf});
        totalSeconds += seconds;
    }

    // Totals.
    std::string totalTime, totalMoney;
    ReportStatement(kProc, [&] { totalTime = GeneralFunctions::FormatTime(totalSeconds, false); });
    ReportStatement(kProc, [&] { totalMoney = FormatMoney(totalCost); });
    if (listRows && ConnIndex > 0) {
        ReportRow dots;
        for (std::size_t n = 1; n <= view.Columns.size(); ++n)
            dots.Set(n, std::string(kDots, '.'));
        view.Rows.push_back(std::move(dots));
        ReportRow totals;
        totals.Set(1, "TOTALS:");
        totals.Set(5, totalTime);
        if (withCost)
            totals.Set(6, totalMoney);
        split.clear();
        AppendCostSplit(split, moneyTexts, totalDial, totalService, totalData);
        totals.Set(notesColumn, split);
        view.Rows.push_back(std::move(totals));
    }
    const std::string t = "TOTALS: " + totalTime + (withCost ? PadLeft(totalMoney, cw) : "");
    text += PadLeft(t, 53 + cw) + kCrLf + kCrLf;

    view.TitleStart = 1;
    view.TitleLength = static_cast<int32_t>(kTitle.size());
    ReportText = std::move(text);
    Report = std::move(view);

    ReportWindowCalls.Progress.Visible(false);
    if (ReportWindowCalls.Show)
        ReportWindowCalls.Show();
    DUVMain::DetailReportBuilt = true;
    ShowBusy(false);
}

}  // namespace DUVAnalyse
