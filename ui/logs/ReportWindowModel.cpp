#include "ui/logs/ReportWindowModel.h"

#include <algorithm>
#include <cmath>

#include "core/Runtime.h"

namespace ReportWindowModel {

int LinesPerPage(int printableHeight, int lineHeight) {
    if (lineHeight <= 0)
        return 1;
    return std::max(1, printableHeight / lineHeight);
}

PrintLayout LayOutPages(const std::string& text, int linesPerPage) {
    PrintLayout layout;
    layout.LinesPerPage = std::max(1, linesPerPage);
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty() || lines.empty())
        lines.push_back(line);
    for (size_t first = 0; first < lines.size();
         first += static_cast<size_t>(layout.LinesPerPage)) {
        size_t last = std::min(lines.size(), first + static_cast<size_t>(layout.LinesPerPage));
        layout.Pages.emplace_back(lines.begin() + static_cast<std::ptrdiff_t>(first),
                                  lines.begin() + static_cast<std::ptrdiff_t>(last));
    }
    return layout;
}

std::string DefaultSaveName(bool details, double startDate, double endDate) {
    return std::string(details ? "Detail" : "Summary") + " " +
           runtime::Format(startDate, "ddmmmyy") + " - " + runtime::Format(endDate, "ddmmmyy");
}

std::string ReportFileContents(const std::string& reportText) { return reportText + "\r\n"; }

StatusTexts StatusFor(bool listFormat, bool autoArrange, double fontSize) {
    if (!listFormat)
        return {" Standard Format", "", ""};
    return {" List View Format", autoArrange ? " Auto Arrange On" : " Auto Arrange Off",
            " Font Size " + runtime::Str(fontSize)};
}

namespace {
// Four decimal places, as the font size is kept.
double FourPlaces(double value) { return std::nearbyint(value * 10000.0) / 10000.0; }
}  // namespace

double FontSizeIncreased(double size) { return FourPlaces(FourPlaces(size) + 1); }

double FontSizeDecreased(double size) {
    double kept = FourPlaces(size);
    if (kept < 1)
        return kept;
    return FourPlaces(kept - 1);
}

std::optional<double> ArrangedColumnWidth(const std::string& header, int windowWidth,
                                          int columnCount) {
    if (header == " Notes")
        return 6000.0;
    if (columnCount < 2)
        return std::nullopt;
    double width = (windowWidth - 2200.0) / (columnCount - 1);
    if (width > 100)
        return width;
    return std::nullopt;
}

int WarningFrameLeft(int headerWidth, int warningWidth, int repEndLeft, int repEndWidth) {
    int x = runtime::CLng(static_cast<double>(headerWidth) - warningWidth - 120);
    return std::max(x, repEndLeft + repEndWidth + 100);
}

void StoreView(ReportViewSettings& record, const WindowState& window) {
    if (window.Normal) {
        record.WinHeight = runtime::CLng(window.Height);
        record.WinWidth = runtime::CLng(window.Width);
        record.WinLeft = runtime::CLng(window.Left);
        record.WinTop = runtime::CLng(window.Top);
    }
    record.FontSize = static_cast<float>(window.FontSize);
    for (size_t i = 1; i < window.ColumnWidths.size(); ++i) {
        record.Column.at(static_cast<int>(i)) = runtime::CLng(window.ColumnWidths[i]);
    }
}

ViewApplication ApplyView(const ReportViewSettings& record, bool details, bool listFormat,
                          bool normalState, int columnCount) {
    ViewApplication result;
    if (normalState) {
        if (record.WinHeight != 0)
            result.Height = record.WinHeight;
        if (record.WinWidth != 0)
            result.Width = record.WinWidth;
        if (record.WinTop != 0)
            result.Top = record.WinTop;
        if (record.WinLeft != 0)
            result.Left = record.WinLeft;
    }
    if (listFormat) {
        if (record.FontSize != 0)
            result.FontSize = record.FontSize;
        int last = details ? 6 : columnCount - 1;
        for (int i = 1; i <= last; ++i) {
            if (record.Column.at(i) != 0)
                result.Columns.emplace_back(i + 1, record.Column.at(i));
        }
    }
    return result;
}

}  // namespace ReportWindowModel
