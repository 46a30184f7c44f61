#include "ui/forms/Printing.h"

#include <commdlg.h>

#include <utility>

#include "ui/forms/Form.h"
#include "ui/forms/Gdi.h"

namespace forms {
namespace {

PrintDialogFunction g_printDialog;

HDC SystemPrintDialog() {
    PRINTDLGA dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = Form::ActiveForm() ? Form::ActiveForm()->hwnd() : nullptr;
    dialog.Flags = PD_RETURNDC | PD_NOSELECTION | PD_NOPAGENUMS | PD_USEDEVMODECOPIESANDCOLLATE;
    if (!PrintDlgA(&dialog)) {
        return nullptr;
    }
    if (dialog.hDevMode)
        GlobalFree(dialog.hDevMode);
    if (dialog.hDevNames)
        GlobalFree(dialog.hDevNames);
    return dialog.hDC;
}

// A font selected into a device context for as long as it lives.
class SelectedFont {
public:
    SelectedFont(HDC dc, const std::string& face, int points)
        : font_(CreateFontA(-MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72), 0, 0, 0, FW_NORMAL,
                            FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN,
                            face.c_str())),
          selected_(dc, font_.Get()) {}

private:
    OwnedFont font_;
    Selection selected_;
};

}  // namespace

HDC ShowPrintDialog() { return g_printDialog ? g_printDialog() : SystemPrintDialog(); }

PrintDialogFunction SetPrintDialogFunction(PrintDialogFunction function) {
    return std::exchange(g_printDialog, std::move(function));
}

PrintMetrics MeasurePrinter(HDC dc, const std::string& face, int points) {
    SelectedFont font(dc, face, points);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    PrintMetrics result;
    result.printableHeight = GetDeviceCaps(dc, VERTRES);
    result.lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    return result;
}

bool PrintPages(HDC dc, const std::string& documentName, const std::string& face, int points,
                int leftOffsetTwips, const std::vector<std::vector<std::string>>& pages) {
    DOCINFOA document = {};
    document.cbSize = sizeof(document);
    document.lpszDocName = documentName.c_str();
    if (StartDocA(dc, &document) <= 0) {
        return false;
    }
    SelectedFont font(dc, face, points);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    int lineHeight = metrics.tmHeight + metrics.tmExternalLeading;
    int left = MulDiv(leftOffsetTwips, GetDeviceCaps(dc, LOGPIXELSX), 1440);
    bool ok = true;
    for (const std::vector<std::string>& page : pages) {
        if (StartPage(dc) <= 0) {
            ok = false;
            break;
        }
        int y = 0;
        for (const std::string& line : page) {
            TextOutA(dc, left, y, line.c_str(), static_cast<int>(line.size()));
            y += lineHeight;
        }
        if (EndPage(dc) <= 0) {
            ok = false;
            break;
        }
    }
    if (ok) {
        EndDoc(dc);
    } else {
        AbortDoc(dc);
    }
    return ok;
}

}  // namespace forms
