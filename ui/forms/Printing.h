// The common print dialog and printing plain text pages with GDI, behind one function for
// the dialog so that window tests can answer it.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace forms {

// Shows the print dialog; the chosen printer's device context (the caller owns it: an
// OwnedDC), or null when the user cancelled or no printer could be opened.
HDC ShowPrintDialog();

using PrintDialogFunction = std::function<HDC()>;
// Replaces the dialog (tests); an empty function restores the system's. Returns the previous.
PrintDialogFunction SetPrintDialogFunction(PrintDialogFunction function);

// The size a text page offers on a device: printable height and the height of one line in
// the given font, in device units.
struct PrintMetrics {
    int printableHeight = 0;
    int lineHeight = 0;
};
PrintMetrics MeasurePrinter(HDC dc, const std::string& face, int points);

// Prints pages of lines as one document: the font, a left offset in twips, one page after
// another. False when the printer refused the job or a page.
bool PrintPages(HDC dc, const std::string& documentName, const std::string& face, int points,
                int leftOffsetTwips, const std::vector<std::vector<std::string>>& pages);

}  // namespace forms
