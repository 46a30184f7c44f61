// The summary and details reports of the last analysis run: the report text and what the
// report window shows beside it (list columns and rows, header labels, notice frames).
// Built by portable code; the report window only shows it.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "analysis/DUVAnalyse.h"
#include "core/ErrorContext.h"
#include "core/RuntimeError.h"

namespace DUVAnalyse {

// Days of the report range, the start and the end day both counted. The main window sets it
// with its own day count whenever both dates are valid; tools that build reports set it too.
extern int32_t ReportDays;

// A list column after the first (the connection number column belongs to the window).
struct ReportColumn {
    std::string Title;
    std::string Alignment;  // "0" left, "1" right, "2" centre
    int32_t Width = 0;      // twips; 0 leaves the list's width
};

// One list row: its text and its sub-items (1 upwards). Sub-items past the last one set are
// not there at all.
class ReportRow {
public:
    std::string Text;

    // Sets sub-item n (1 upwards); the ones before it that are not there yet become "".
    void Set(std::size_t n, std::string_view text);
    // Sub-item n, "" when it is not there.
    std::string_view Get(std::size_t n) const;
    // The sub-items there, sub-item 1 first.
    std::vector<std::string> SubItems() const;
    // No sub-items; the storage is kept for the next row.
    void ClearSubItems() {
        cells_.clear();
        count_ = 0;
    }

private:
    friend class ReportRows;
    // The sub-items one after the other, each as its length (seven bits a byte, the high bit
    // set on all but the last byte) and its text.
    std::string cells_;
    std::size_t count_ = 0;  // sub-items there
};

// The list rows of a report, kept one after the other in one string, so that the rows of
// a large report take a few allocations and little more memory than their texts. A row
// read back is a copy.
class ReportRows {
public:
    void push_back(const ReportRow& row);
    // Room for a number of rows and their texts, sub-items and lengths together.
    void reserve(std::size_t rows, std::size_t bytes);
    std::size_t size() const { return starts_.size(); }
    bool empty() const { return starts_.empty(); }
    ReportRow operator[](std::size_t i) const;
    ReportRow at(std::size_t i) const;  // std::out_of_range past the last row
    ReportRow back() const { return (*this)[size() - 1]; }

    class const_iterator {
    public:
        const_iterator(const ReportRows& rows, std::size_t i) : rows_(&rows), i_(i) {}
        ReportRow operator*() const { return (*rows_)[i_]; }
        const_iterator& operator++() {
            ++i_;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return i_ == other.i_; }

    private:
        const ReportRows* rows_;
        std::size_t i_;
    };
    const_iterator begin() const { return {*this, 0}; }
    const_iterator end() const { return {*this, size()}; }

private:
    // Row i: the length of its text, its text and its sub-items as ReportRow keeps them,
    // from starts_[i] to the next row. The rows start within the first 4 GB.
    std::string data_;
    std::vector<std::uint32_t> starts_;
};

// Everything of one report the window shows apart from the report text.
struct ReportView {
    std::string Title;                  // RepTitle
    std::string Begin;                  // RepBegin
    std::string End;                    // RepEnd
    std::string Period;                 // RepPeriod
    bool ShowWarning = false;           // fraWarning visible
    bool ShowNoConnections = false;     // fraNoConn visible
    std::vector<ReportColumn> Columns;  // list column headers 2, 3, ...
    ReportRows Rows;
    int32_t SelectedRow = -1;  // row selected once shown (index into Rows), -1 none
    // The title in the text: from this character position (0 first) this many characters
    // are shown at 14 points, bold and italic.
    int32_t TitleStart = 1;
    int32_t TitleLength = 0;
};

// The view of the last report built (summary or details), beside ReportText.
extern ReportView Report;

// What the report builders ask of the report window. Every member may be empty.
// The hourglass is the program's user feedback (core/UserFeedback.h).
struct ReportWindow {
    ProgressDisplay Progress;
    // Shows the report window (modeless) with ReportText and Report.
    std::function<void()> Show;
    // Whether the builders make the list rows (Report.Rows); a caller that shows only the
    // text turns them off. The text is the same either way.
    bool ListRows = true;
};
extern ReportWindow ReportWindowCalls;

// Builds the summary report: one entry per dialled number with time, sessions, averages,
// charge blocks or data read and cost, then the totals. Sets DUVMain::SummaryReportBuilt.
void DisplaySummaryReport();

// Builds the details report: one block per session with its connect and disconnect, notes,
// duration and cost, re-pricing every shown session, then the totals. Sets
// DUVMain::DetailReportBuilt.
void DisplayDetailReport();

// ---- shared by both builders ----

// Width of the money column: symbol, 8, the blank between symbol and amount, the digits.
int32_t CostWidth();
// An amount in the regional money format.
std::string FormatMoney(double amount);
// "N days", or "1 day" (with the day count's own text).
std::string DaysText();
// text followed by blanks up to width / preceded by blanks up to width (no blanks when the
// text is as long or longer).
std::string PadRight(const std::string& text, std::size_t width);
std::string PadLeft(const std::string& text, std::size_t width);
// PadLeft(text, width) added to the end of out.
void AppendPadLeft(std::string& out, std::string_view text, std::size_t width);
// The parts, one after the other, added to the end of out.
void Append(std::string& out, std::initializer_list<std::string_view> parts);

// Runs one statement of a builder under the central error handler, which sees the builder
// as the procedure (the helpers it calls set their own names): retry, skip or end.
template <class F>
void ReportStatement(std::string_view proc, F&& f) {
    for (;;) {
        try {
            f();
            return;
        } catch (const runtime::RuntimeError& e) {
            runtime::SetContext("DUVAnalyse", proc);
            if (!runtime::HandleGuardedError(e))
                return;
        }
    }
}

}  // namespace DUVAnalyse
