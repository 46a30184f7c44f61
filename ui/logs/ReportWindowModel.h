// What the report window computes without the system: the printed page layout, the saved
// report's default name and contents, the status panel texts, font-size steps, column
// arrangement and the per-view settings records.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/Records.h"

namespace ReportWindowModel {

// ---- Printing ----------------------------------------------------------------------------

// The report text cut into printed pages. Lines end with CR LF (a bare LF or CR ends a line
// too); a text that ends with a line end has no empty line after it.
struct PrintLayout {
    int LinesPerPage = 0;
    std::vector<std::vector<std::string>> Pages;
};

// Lines that fit a page: the printable height over the line height (at least one line).
int LinesPerPage(int printableHeight, int lineHeight);

// Splits text into lines and lines into pages of linesPerPage lines (an empty text prints
// one empty page).
PrintLayout LayOutPages(const std::string& text, int linesPerPage);

// The printer's font and the left offset of the printed text, in twips.
inline constexpr const char* kPrintFontName = "Courier New";
inline constexpr int kPrintFontSize = 10;
inline constexpr int kPrintLeftOffsetTwips = 500;

// ---- Saving ------------------------------------------------------------------------------

// "Summary 01Mar99 - 31Mar99" or "Detail ..." for the report range.
std::string DefaultSaveName(bool details, double startDate, double endDate);
// The saved-report file: the report text as built, then one CR LF.
std::string ReportFileContents(const std::string& reportText);
inline constexpr const char* kSaveFilter = "Text (*.txt)|*.txt";
// Given to a typed name without an extension, so that Open Report lists the saved file.
inline constexpr const char* kSaveExtension = "txt";

// ---- Status panels -----------------------------------------------------------------------

struct StatusTexts {
    std::string Panel1, Panel2, Panel3;
};
StatusTexts StatusFor(bool listFormat, bool autoArrange, double fontSize);

// ---- Font size ----------------------------------------------------------------------------

// Sizes are decimals with four places, so a fraction stays as it is.
double FontSizeIncreased(double size);
// One point smaller; a size below 1 stays as it is.
double FontSizeDecreased(double size);

// ---- Layout ---------------------------------------------------------------------------------

// The auto-arranged width of a list column in twips: " Notes" gets 6000, any other column
// (windowWidth - 2200) / (columns - 1) when that is above 100; no value keeps its width.
std::optional<double> ArrangedColumnWidth(const std::string& header, int windowWidth,
                                          int columnCount);

// Left of the warning and no-connection frames in the list header.
int WarningFrameLeft(int headerWidth, int warningWidth, int repEndLeft, int repEndWidth);

// ---- View settings -------------------------------------------------------------------------

// The window as it is when the view is left.
struct WindowState {
    bool Normal = true;  // neither minimized nor maximized
    double Height = 0, Width = 0, Left = 0, Top = 0;
    double FontSize = 0;
    std::vector<double> ColumnWidths;  // all column headers, the number column first
};

// Stores the shown view into its record: the size only in the normal state, the font size,
// and column headers 2 onwards as Column(1), Column(2), ... rounded half to even. A list of
// more than eight columns raises error 9 (subscript out of range).
void StoreView(ReportViewSettings& record, const WindowState& window);

// What applying a record changes: each value that is not 0.
struct ViewApplication {
    std::optional<int> Height, Width, Top, Left;
    std::optional<double> FontSize;
    // Column header index (1 the number column) and its width.
    std::vector<std::pair<int, int>> Columns;
};
// The summary applies Column(1) to Column(columnCount - 1) (at most 7), the details
// Column(1) to Column(6). listFormat false applies the size only.
ViewApplication ApplyView(const ReportViewSettings& record, bool details, bool listFormat,
                          bool normalState, int columnCount);

}  // namespace ReportWindowModel
