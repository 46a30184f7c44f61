// The summary report: one entry per dialled number of the last run, then the totals.
#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/DUVAnalyse.h"
#include "analysis/Report.h"
#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/GeneralFunctions.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"

namespace DUVAnalyse {

int32_t ReportDays = 0;
ReportView Report;
ReportWindow ReportWindowCalls;

int32_t CostWidth() {
    return static_cast<int32_t>(DUVMain::CurrencySymbol.size()) + 8 +
           DUVMain::CurrencySymbolSpaced + DUVMain::CurrencyDigits;
}

std::string FormatMoney(double amount) {
    return CurrencyFormat::FormatCurrency(
        amount, DUVMain::CurrencySymbol, DUVMain::CurrencySymbolPrecedes,
        DUVMain::CurrencySymbolSpaced, DUVMain::CurrencyDigits, 0);
}

std::string DaysText() { return std::to_string(ReportDays) + (ReportDays > 1 ? " days" : " day"); }

std::string PadRight(const std::string& text, std::size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

std::string PadLeft(const std::string& text, std::size_t width) {
    std::string padded;
    AppendPadLeft(padded, text, width);
    return padded;
}

void AppendPadLeft(std::string& out, std::string_view text, std::size_t width) {
    if (text.size() < width)
        out.append(width - text.size(), ' ');
    out += text;
}

void Append(std::string& out, std::initializer_list<std::string_view> parts) {
    for (std::string_view part : parts)
        out += part;
}

namespace {

constexpr std::string_view kProc = "DisplaySummaryReport";
constexpr std::string_view kTitle = "DUVELO - Summary Report";
constexpr const char* kCrLf = "\r\n";
constexpr std::size_t kDots = 100;

struct SummaryColumn {
    std::string title;
    std::size_t width;
    std::string code;
};

std::vector<SummaryColumn> SummaryColumns(bool withCost) {
    std::vector<SummaryColumn> columns{
        {"Service", 16, "0"},
        {"Duvelo", 15, "2"},
        {"Sessions", 11, "2"},
        {"AvSession", 13, "2"},
        {"AvDay", 8, "2"},
        ShowBlocks ? SummaryColumn{"* Blocks", 14, "1"} : SummaryColumn{"* Data Read", 12, "1"},
    };
    if (withCost)
        columns.push_back(
            {"Cost", static_cast<std::size_t>(std::max<int32_t>(CostWidth(), 0)), "1"});
    return columns;
}

// Time texts take their seconds in single precision.
std::string TimeText(double seconds, bool noSeconds = false) {
    return runtime::Trim(GeneralFunctions::FormatTime(static_cast<float>(seconds), noSeconds));
}

// Sessions or days to divide by; none raises the division-by-zero error.
double Divisor(int64_t count) {
    if (count == 0)
        runtime::Raise(runtime::kErrDivisionByZero);
    return static_cast<double>(count);
}

std::string LongDate(Date date) { return runtime::Format(date, "Long Date"); }

// Blocks and the time they stand for: "3 (01:30)".
std::string BlocksCell(int64_t blocks, int64_t minutes) {
    return std::to_string(blocks) + " (" +
           GeneralFunctions::FormatTime(static_cast<double>(minutes * 60), true) + ")";
}

struct SummaryTotals {
    double seconds = 0;
    int64_t sessions = 0;
    int64_t blocks = 0;
    int64_t blockMinutes = 0;
    double kilobytes = 0;
    double cost = 0;
};

// Sets a cell of the row, when there is a row.
void SetCell(ReportRow* row, std::size_t n, std::string_view text) {
    if (row)
        row->Set(n, text);
}

// What a usage row adds to the cost total: answered calls cost nothing.
double RowCost(const ServiceUsageRecord& usage) {
    return usage.Number.find("Answer") != std::string::npos ? 0.0 : usage.TotalCost;
}

// The line and the list item of one usage row (the line starts with its blank); adds the
// row to the totals. A row without seconds ends after its sessions cell, and its cost (a
// charge per call) still counts in the total. costWidth 0: no cost column; row null: no list
// item.
void AddUsageRow(const ServiceUsageRecord& usage, std::size_t costWidth, SummaryTotals& totals,
                 std::string& line, ReportRow* row) {
    ReportStatement(kProc, [&] {
        const std::string name = GetServiceName(usage.Number);
        const std::string trimmed = runtime::Trim(name);
        line += trimmed.size() < 16 ? PadRight(trimmed, 16) : trimmed.substr(0, 12) + "... ";
        SetCell(row, 1, name);
    });
    ReportStatement(kProc, [&] {
        const std::string t = TimeText(usage.Seconds);
        SetCell(row, 2, t);
        totals.seconds += usage.Seconds;
        line += PadRight(t, 15);
    });
    ReportStatement(kProc, [&] {
        const std::string s = std::to_string(usage.Sessions);
        SetCell(row, 3, s);
        totals.sessions += usage.Sessions;
        line += PadRight(s, 11);
    });
    if (usage.Seconds <= 0) {
        if (costWidth > 0)
            totals.cost += RowCost(usage);
        return;
    }
    ReportStatement(kProc, [&] {
        const std::string a = TimeText(usage.Seconds / Divisor(usage.Sessions));
        SetCell(row, 4, a);
        line += PadRight(a, 13);
    });
    ReportStatement(kProc, [&] {
        const std::string d = TimeText(usage.Seconds / Divisor(ReportDays));
        SetCell(row, 5, d);
        line += PadRight(d, 8);
    });
    if (ShowBlocks) {
        ReportStatement(kProc, [&] {
            const int64_t m = static_cast<int64_t>(GetBlockMinutes(usage.Number)) * usage.Blocks;
            const std::string cell = BlocksCell(usage.Blocks, m);
            SetCell(row, 6, cell);
            totals.blocks += usage.Blocks;
            totals.blockMinutes += m;
            line += PadLeft(cell, 14);
        });
    } else {
        ReportStatement(kProc, [&] {
            const std::string k = runtime::Trim(
                runtime::Format(static_cast<double>(usage.BytesRead) / 1024.0, "#,##0"));
            SetCell(row, 6, k + "K");
            totals.kilobytes += runtime::CDbl(k);
            line += PadLeft(k + "K", 12);
        });
    }
    if (costWidth > 0) {
        ReportStatement(kProc, [&] {
            const double cost = RowCost(usage);
            totals.cost += cost;
            const std::string c = FormatMoney(cost);
            SetCell(row, 7, c);
            line += PadLeft(c, costWidth);
        });
    }
}

}  // namespace

void DisplaySummaryReport() {
    runtime::SetContext("DUVAnalyse", kProc);
    ShowBusy(true);

    const bool withCost = DUVMain::CalcCosts;
    const bool warn = ErrorsFound && DUVMain::ShowErrors;
    std::vector<SummaryColumn> columns = SummaryColumns(withCost);
    const std::size_t costWidth = withCost ? columns.back().width : 0;
    const std::size_t sixthWidth = columns[5].width;
    std::size_t lineWidth = 0;
    for (const SummaryColumn& c : columns)
        lineWidth += c.width;

    ReportView view;
    ReportText.clear();
    for (const SummaryColumn& c : columns)
        view.Columns.push_back({c.title, c.code, 0});

    // Heading.
    std::string startDate, endDate;
    ReportStatement(kProc, [&] { startDate = LongDate(DUVMain::ReportStartDate); });
    ReportStatement(kProc, [&] { endDate = LongDate(DUVMain::ReportEndDate); });
    const std::string days = DaysText();
    std::string text;
    text += std::string(" ") + std::string(kTitle) + kCrLf;
    text += kCrLf;
    text +=
        " Beginning: " + startDate + (warn ? "        WARNING: Errors found in log!" : "") + kCrLf;
    text +=
        " Ending:    " + endDate + (warn ? "                 Check details report." : "") + kCrLf;
    text += " Period:    " + days + kCrLf;

    // Column heading block.
    const std::string dashes = " " + std::string(lineWidth, '-') + kCrLf;
    text += std::string(" ") + kCrLf;
    text += dashes;
    text += " ";
    for (const SummaryColumn& c : columns)
        text += c.code == "1" ? PadLeft(c.title, c.width) : PadRight(c.title, c.width);
    text += kCrLf;
    text += dashes;

    view.Title = std::string(kTitle);
    view.Begin = startDate;
    view.End = endDate;
    view.Period = days;
    view.ShowWarning = warn;
    const bool listRows = ReportWindowCalls.ListRows;
    if (listRows)
        view.Rows.push_back({});

    SummaryTotals totals;
    std::string rowsText;
    const bool found = (!ServiceUsage.empty() && !ServiceUsage[0].Number.empty()) || UsageCount > 0;
    if (found) {
        const int32_t first = !ServiceUsage.empty() && ServiceUsage[0].Seconds > 0 ? 0 : 1;
        // Row 0 is listed only with seconds; its charges per call count all the same.
        if (first == 1 && !ServiceUsage.empty() && costWidth > 0)
            totals.cost += RowCost(ServiceUsage[0]);
        const int32_t last =
            std::min<int32_t>(UsageCount, static_cast<int32_t>(ServiceUsage.size()) - 1);
        for (int32_t i = first; i <= last; ++i) {
            std::string line = " ";
            ReportRow row;
            AddUsageRow(ServiceUsage[static_cast<std::size_t>(i)], costWidth, totals, line,
                        listRows ? &row : nullptr);
            if (listRows)
                view.Rows.push_back(std::move(row));
            rowsText += line + kCrLf;
        }
    } else {
        rowsText = std::string(kCrLf) + " No Connections Made During his Period." + kCrLf;
    }

    // Totals.
    std::string sixthTotal, costTotal;
    if (found) {
        ReportStatement(kProc, [&] {
            sixthTotal = ShowBlocks
                             ? BlocksCell(totals.blocks, totals.blockMinutes)
                             : runtime::Trim(runtime::Format(totals.kilobytes, "#,##0")) + "K";
        });
        ReportStatement(kProc, [&] { costTotal = FormatMoney(totals.cost); });
    }
    std::string totalTime;
    ReportStatement(kProc, [&] { totalTime = TimeText(totals.seconds); });
    const std::string sessionsTotal = std::to_string(totals.sessions);

    if (listRows && found) {
        ReportRow dots;
        for (std::size_t n = 1; n <= columns.size(); ++n)
            dots.Set(n, std::string(kDots, '.'));
        view.Rows.push_back(std::move(dots));
        ReportRow item;
        item.Set(1, "TOTALS:");
        item.Set(2, totalTime);
        item.Set(3, sessionsTotal);
        item.Set(6, sixthTotal);
        if (withCost)
            item.Set(7, costTotal);
        view.Rows.push_back(std::move(item));
    }
    view.ShowNoConnections = !found;

    text += rowsText;
    text += dashes;
    text += " TOTALS:" + std::string(9, ' ') + PadRight(totalTime, 15) +
            PadRight(sessionsTotal, 11) + std::string(13 + 8, ' ') +
            PadLeft(sixthTotal, sixthWidth);
    if (withCost)
        text += PadLeft(costTotal, costWidth);

    view.SelectedRow = static_cast<int32_t>(view.Rows.size()) - 1;
    view.TitleStart = 1;
    view.TitleLength = static_cast<int32_t>(kTitle.size());
    ReportText = std::move(text);
    Report = std::move(view);

    if (ReportWindowCalls.Show)
        ReportWindowCalls.Show();
    DUVMain::SummaryReportBuilt = true;
    ShowBusy(false);
}

}  // namespace DUVAnalyse
