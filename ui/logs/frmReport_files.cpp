// The report window's print and save commands, and its connection to the report builders.
#include "ui/logs/frmReport.h"

#include "analysis/DUVAnalyse.h"
#include "analysis/Report.h"
#include "core/DUVMain.h"
#include "core/MessageBox.h"
#include "core/SafeWrite.h"
#include "ui/forms/Dialogs.h"
#include "ui/forms/Printing.h"

namespace {

constexpr unsigned long kSaveFlags = 0x2 | 0x4;  // prompt before overwriting, hide read-only

}  // namespace

void frmReport::mnuPrint_Click() {
    forms::OwnedDC printerDC(forms::ShowPrintDialog());
    HDC printer = printerDC.Get();
    if (!printer) {
        return;  // cancelled
    }
    forms::PrintMetrics metrics = forms::MeasurePrinter(printer, ReportWindowModel::kPrintFontName,
                                                        ReportWindowModel::kPrintFontSize);
    lastPrint_ = ReportWindowModel::LayOutPages(
        DUVAnalyse::ReportText,
        ReportWindowModel::LinesPerPage(metrics.printableHeight, metrics.lineHeight));
    forms::BusyCursor busy;
    bool printed = forms::PrintPages(printer, Caption(), ReportWindowModel::kPrintFontName,
                                     ReportWindowModel::kPrintFontSize,
                                     ReportWindowModel::kPrintLeftOffsetTwips, lastPrint_.Pages);
    if (!printed) {
        ShowMessage("The report could not be printed.", msg::OkOnly | msg::IconExclamation);
    }
}

void frmReport::mnuSaveAs_Click() {
    forms::FileDialogRequest request;
    request.save = true;
    request.flags = kSaveFlags;
    request.initialDir = DUVMain::AppPath;
    request.filter = ReportWindowModel::kSaveFilter;
    request.defaultExtension = ReportWindowModel::kSaveExtension;
    request.fileName = ReportWindowModel::DefaultSaveName(
        mnuDetails.Checked(), DUVMain::ReportStartDate, DUVMain::ReportEndDate);
    auto chosen = forms::ShowFileDialog(request);
    if (!chosen) {
        return;  // cancelled
    }
    if (!safe_write::WriteFile(chosen->fileName,
                               ReportWindowModel::ReportFileContents(DUVAnalyse::ReportText))) {
        ShowMessage("The report could not be saved as " + chosen->fileName + ".",
                    msg::OkOnly | msg::IconExclamation);
    }
}

void RegisterReportWindow() {
    DUVAnalyse::ReportWindow calls;
    calls.Progress.Show = [](bool visible) {
        if (frmReport* report = frmReport::IfLoaded()) {
            report->ProgressBar1.SetValue(0);
            report->ProgressBar1.SetVisible(visible);
        }
    };
    calls.Progress.Set = [](int percent) {
        if (frmReport* report = frmReport::IfLoaded())
            report->ProgressBar1.SetValue(percent);
    };
    DUVAnalyse::ReportWindowCalls = calls;
}
