// The main window: log statistics, status line, animation, the report date range, and the
// menus and toolbar that start everything else.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "ui/forms/Commands.h"
#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"
#include "ui/main/MainWindowModel.h"

// The main window's commands (menu items, toolbar buttons and the hand-over from other
// windows), in the order of the command table in frmMain_commands.cpp. A command names its
// toolbar button too: ToolbarPosition gives the button's position.
enum class MainCommand {
    OpenLog,
    OpenArchive,
    OpenReport,
    Setup,
    Recent1,
    Recent2,
    Recent3,
    Recent4,
    Exit,
    ViewLog,
    ClearLog,
    PurgeLog,
    Optimize,
    RepairLog,
    Today,
    PlusWeek,
    MinusWeek,
    PlusMonth,
    MinusMonth,
    LogStart,
    LogEnd,
    DefaultDate,
    Topics,
    Readme,
    SearchHelp,
    HowToHelp,
    About,
    Tip,
    ShowReport,
    ViewReportFile,
    Count
};

class frmMain : public forms::SingleForm<frmMain> {
public:
    frmMain();

    // Re-applies size, statuses, the proposed range, statistics and enabled states.
    void Refresh() {
        Load();
        Form_Load();
    }
    void Activate() { Form_Activate(); }

    // ---- status line, animation, statistics ----
    void ShowStatus();
    void Timer1_Timer();
    void TimerAnim_Timer();
    void PicAnimDuv_Click();
    void PicAnimDuv_DblClick();
    void btnViewLog_Click();
    void btnViewLog_GotFocus();
    void HideStatDisplay();
    void SetStatDisplay();
    void DisplayStats();
    void FitLabelCaption(forms::Label& label);

    // ---- date range ----
    void setLogExtents();
    void checkProcess();
    void CalTitle();
    void inputStarting_Change();
    void inputEnding_Change();
    void inputStarting_GotFocus();
    void inputEnding_GotFocus();
    void inputStarting_LostFocus();
    void inputEnding_LostFocus();
    void LabelStarting_Click();
    void LabelEnding_Click();
    void LabelStarting_DblClick();
    void LabelEnding_DblClick();
    void UpDown1_Spin(int delta);
    void UpDown2_Spin(int delta);
    void UpDown3_Spin(int delta);
    void UpDown4_Spin(int delta);
    void Calendar1_Click();
    void Calendar1_GotFocus();
    void Calendar1_AfterUpdate();
    void btnProcess_Click();
    void btnProcess_GotFocus();
    void mnuToday_Click();
    void mnuPlusWeek_Click();
    void mnuMinusWeek_Click();
    void mnuPlusMonth_Click();
    void mnuMinusMonth_Click();
    void mnuLogStart_Click();
    void mnuLogEnd_Click();
    void mnuDefaultDate_Click();

    // ---- commands ----
    void ToolbarMain_ButtonClick(const std::string& key);
    void BuildRecentMenu();
    void OpenArchive(const std::string& folder = "", const std::string& fileName = "");
    void DoOpenReport(const std::string& folder = "", const std::string& fileName = "");
    void mnuOpenLog_Click();
    void mnuOptimize_Click();
    // DUVOptimize.DisableControls: the 17 controls the optimize switches off, in its order.
    void DisableOptimizeControls();

    void mnuOpenArchive_Click() { OpenArchive(); }
    void mnuOpenReport_Click() { DoOpenReport(); }
    void mnuRecent_Click(int index);
    void mnuClearLog_Click();
    // The options window (served by it), then what its closing asks of this window.
    void mnuSetup_Click();
    void mnuExit_Click();
    void btnExit_Click() { mnuExit_Click(); }
    void btnExit_GotFocus();
    void btnExit_LostFocus();
    void mnuTopics_Click();
    void mnsSearchHelp_Click();
    void mnuHowToHelp_Click();
    void mnuReadme_Click();
    // Runs a command of the table. Commands served by other windows (the log viewer, the
    // options window, the maintenance windows, About, the tip and report windows) run what
    // the serving window handed over with SetCommand; one that nobody serves goes to
    // forms::ReportUnservedCommand.
    void RunCommand(MainCommand command);
    static std::function<void()> SetCommand(MainCommand command, std::function<void()> procedure);
    // The toolbar position of a command's button (0: it has none), for ToolbarMain's
    // positional calls.
    int ToolbarPosition(MainCommand command) const { return commands_.ToolbarPosition(command); }

    // Sets the enabled state of a control named in the enabled-state table.
    void SetControlEnabled(MainWindowModel::MainControl control, bool enabled);
    bool ControlEnabled(MainWindowModel::MainControl control) const;
    // The log viewer opened or closed on a file in a mode: switches this window's menus and
    // buttons as the model says (MainWindowModel::ViewerSwitches).
    void ViewerChanged(ViewLogModel::Mode mode, bool open);

    // Public values of the window.
    std::int32_t diff = 0;
    std::string OldModemLogFile;
    std::string OldModemLogDir;
    std::string OldModemLogPath;

    // Controls, created by the table in CreateControls.
    forms::Toolbar ToolbarMain;
    forms::PictureBox PicAnimDuv;
    forms::Timer TimerAnim;
    forms::Timer Timer1;
    forms::StatusBar StatusBarMain;
    forms::ProgressBar ProgressBar1;
    forms::Frame inputFrame;
    forms::Frame DummyFrame;
    forms::Button btnViewLog;
    forms::PictureBox imgMain;
    forms::Label LabelMainVersion;
    forms::Label LabelMainNotice;
    forms::Label LabelHeading, LabelHeading2;
    forms::Label LabelLogName, LabelLogPath, LabelLogLength, LabelLogEntries, LabelLogFirst,
        LabelLogLast, LabelLogSpan;
    forms::Label LabelLogName2, LabelLogPath2, LabelLogLength2, LabelLogEntries2, LabelLogFirst2,
        LabelLogLast2, LabelLogSpan2;
    forms::MaskedEdit inputStarting, inputEnding;
    forms::Label LabelStarting, LabelEnding;
    forms::PictureBox imgStartArrow, imgEndArrow;
    forms::UpDown UpDown1, UpDown2, UpDown3, UpDown4;
    forms::MonthCalendar Calendar1;
    forms::Label lblDateTitle;
    forms::Button btnProcess;
    forms::Button btnExit;

    // Menus, created by the command table in frmMain_commands.cpp.
    forms::MenuItem mnuFile, mnuOpenLog, mnuOpenArchive, mnuOpenReport, mnuFileSeperator1, mnuSetup,
        mnuFileSeperator2, mnuFileSeparator3, mnuExit;
    forms::MenuItem mnuRecent[5];  // 1 to 4
    forms::MenuItem mnuTools, mnuViewLog, mnuClearLog, mnuPurgeLog, mnuOptimize, mnuToolsSeperator1,
        mnuRepairLog;
    forms::MenuItem mnuQuickDate, mnuToday, mnuPlusWeek, mnuMinusWeek, mnuPlusMonth, mnuMinusMonth,
        mnuLogStart, mnuLogEnd, mnuDefaultDate;
    forms::MenuItem mnuDateSeparators[4];
    forms::MenuItem mnuHelp, mnuTopics, mnuReadme, mnsSearchHelp, mnuHowToHelp, mnuHelpSeparator,
        mnuAbout;

    // State the tests read.
    const MainWindowModel::StatusLine& Status() const { return status_; }
    int ActiveDateBox() const { return activeDateBox_; }
    bool Loading() const { return loading_; }

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Deactivate() override;
    void Form_Resize() override;
    void Form_Unload(bool& cancel) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void DeclareCommands();
    void SetStatus(MainWindowModel::StatusId index);
    void ApplyStatus();
    void StoreWindowSize();
    void ShowAnimFrame(int frame);
    void WriteIntoActiveBox(runtime::Date date);
    void ApplyEnabledStates();
    void ApplySwitches(const MainWindowModel::EnabledTable& table);
    void BindStateControls();
    void ShowStatLabels(bool visible);
    void DateStatus(MainWindowModel::StatusId index);

    // How each control of the enabled-state table is switched and read.
    struct StateBinding {
        std::function<void(bool)> set;
        std::function<bool()> get;
    };
    std::array<StateBinding, MainWindowModel::kMainControlCount> bindings_;
    forms::CommandTable<MainCommand> commands_;
    MainWindowModel::StatusTable statusMessages_;
    MainWindowModel::StatusLine status_;
    MainWindowModel::Animation anim_;
    bool AnimOn = true;
    bool loading_ = false;
    int activeDateBox_ = 0;
    int changeDepth_ = 0;  // nesting of the two date boxes' change handlers
    forms::OwnedImageList animFrames_;
    int normalWidth_ = 0;  // the last size in the normal state, in twips
    int normalHeight_ = 0;
};

// Hands the main window the procedures of the commands other windows serve (About, the tip,
// the options, log viewer, repair and purge windows, and those the report window registers),
// and links the log viewer to the main window.
void RegisterCommandWindows();
