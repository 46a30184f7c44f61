// The report window: the summary or details report of the last analysis, as text (standard
// format) or as a list, with per-report window settings, printing and saving.
#pragma once

#include <string>

#include "ui/forms/Commands.h"
#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"
#include "ui/forms/ListView.h"
#include "ui/forms/RichText.h"
#include "ui/logs/ReportWindowModel.h"

class frmReport : public forms::SingleForm<frmReport> {
public:
    frmReport();

    // The window's commands, in the order of its command table (DeclareCommands): menu items,
    // toolbar buttons and shortcuts. ToolbarPosition gives a command's button position.
    enum class Command {
        SaveAs,
        Print,
        Exit,
        Summary,
        Details,
        FormatStd,
        ListView,
        NumConnections,
        AutoArrange,
        FontIncrease,
        FontDecrease,
        SaveSettings
    };

    // The toolbar position of a command's button (0: none), for the toolbar's calls.
    int ToolbarPosition(Command command) const { return commands_.ToolbarPosition(command); }

    void Toolbar1_ButtonClick(const std::string& key);
    void mnuSummary_Click();
    void mnuDetails_Click();
    void mnuFormatStd_Click();
    void mnuListView_Click();
    void mnuNumConnections_Click();
    void mnuAutoArrange_Click();
    void mnuFontIncrease_Click();
    void mnuFontDecrease_Click();
    void mnuSaveSettings_Click();
    void ListView1_ColumnClick(int column);
    void mnuPrint_Click();
    void mnuSaveAs_Click();
    void mnuExit_Click() { Unload(); }

    // What the last print command laid out (pages of lines), for tests and the job itself.
    const ReportWindowModel::PrintLayout& LastPrintLayout() const { return lastPrint_; }

    forms::Toolbar Toolbar1;
    forms::ProgressBar ProgressBar1;
    forms::StatusBar StatusBar1;
    forms::ListView ListView1;
    forms::Frame fraReportHeader;
    forms::Label RepTitle, RepBegin, RepEnd, RepPeriod;
    forms::Label Label1[3];
    forms::Frame fraNoConn, fraWarning;
    forms::Label RepWarnNoCon1, RepWarn1, RepWarn2, RepWarn3;
    forms::RichText ReportTextBox;

    forms::MenuItem mnuFile, mnuSaveAS, mnuPrint, mnuFileSeparator, mnuExit;
    forms::MenuItem mnuView, mnuSummary, mnuDetails;
    forms::MenuItem mnuOptions, mnuFormatStd, mnuListView, mnuOptionsSeparator1, mnuNumConnections,
        mnuAutoArrange, mnuFont, mnuFontIncrease, mnuFontDecrease, mnuOptionsSeparator2,
        mnuSaveSettings;

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Resize() override;
    void Form_Unload(bool& cancel) override;

private:
    void DeclareCommands();
    void StatusUpdate();
    void DoSummarySettings();
    void DoDetailSettings();
    void ApplySettings(const ReportViewSettings& record, bool details);
    void StoreSettings();
    void SetNumberColumn();
    void ShowBuiltReport();
    void SetReportKeys(bool details);
    void SetFormatKeys(bool list);
    bool NormalState() const;

    forms::CommandTable<Command> commands_;
    ReportWindowModel::PrintLayout lastPrint_;
};

// Connects the report builders to this window's progress bar.
void RegisterReportWindow();
