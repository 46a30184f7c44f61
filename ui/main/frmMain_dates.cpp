// The report date range of the main window: the two date boxes, the calendar, the up-down
// buttons, the Date menu, and the OK button that runs the analysis.
#include "ui/main/frmMain.h"

#include "analysis/DUVAnalyse.h"
#include "analysis/Report.h"
#include "core/Clock.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/GeneralFunctions.h"
#include "core/MessageBox.h"
#include "core/Warnings.h"
#include "ui/forms/DateBox.h"

using forms::ReadDateBox;
using forms::WriteDateBox;
using MainWindowModel::StatusId;
using runtime::Date;

namespace {

// The two change handlers call each other; a log whose last entry lies before its first
// would make them correct each other for ever. Past this depth they stop correcting.
constexpr int kMaxChangeDepth = 8;

Date Today() { return runtime::DateOnly(clock_seam::Now()); }

struct DepthGuard {
    explicit DepthGuard(int& depth) : depth_(depth) { ++depth_; }
    ~DepthGuard() { --depth_; }
    int& depth_;
};

}  // namespace

void frmMain::DateStatus(StatusId index) {
    status_.StatusIndex = index;
    if (!loading_) {
        MessageBeep(MB_OK);
        ShowStatus();
    }
}

void frmMain::setLogExtents() {
    runtime::SetContext("frmMain", "setLogExtents");
    MainWindowModel::DefaultStartInputs in;
    const MainWindowModel::LogStatistics log = MainWindowModel::CurrentLog();
    in.Usable = MainWindowModel::UsableForDefaultStart(log.Flags);
    in.UserStartPref = DUVMain::UserStartPref;
    in.UserStartOfWeek = DUVMain::UserStartOfWeek;
    in.UserStartOfMonth = DUVMain::UserStartOfMonth;
    in.UserStartDate = DUVMain::UserStartDate;
    in.FirstEntryDate = log.FirstEntryDate;
    in.LastEntryDate = log.LastEntryDate;
    in.Today = Today();
    in.TodayWeekday = GeneralFunctions::DayNameIndex(runtime::Format(in.Today, "dddd"));
    Date first = runtime::DateSerial(runtime::Year(in.Today), runtime::Month(in.Today), 1);
    in.FirstOfMonthWeekday = GeneralFunctions::DayNameIndex(runtime::Format(first, "dddd"));
    Date current = Calendar1.Value();
    if (current == 0) {
        current = in.Today;
    }
    Calendar1.SetValue(MainWindowModel::DefaultStart(in, current));
    DUVMain::ReportStartDate = Calendar1.Value();
    DUVMain::ReportEndDate = DUVMain::LastEntryDate;
    WriteDateBox(inputStarting, DUVMain::ReportStartDate);
    WriteDateBox(inputEnding, DUVMain::ReportEndDate);
}

void frmMain::inputStarting_Change() {
    runtime::SetContext("frmMain", "inputStarting_Change");
    DepthGuard depth(changeDepth_);
    Date start = 0;
    DUVMain::StartDateValid = ReadDateBox(inputStarting, start);
    if (DUVMain::StartDateValid) {
        DUVMain::ReportStartDate = start;
        const MainWindowModel::DateCorrection correction =
            MainWindowModel::ClampStart(start, MainWindowModel::CurrentLog(), activeDateBox_);
        if (changeDepth_ <= kMaxChangeDepth && correction.Corrected) {
            DUVMain::ReportStartDate = correction.Value;
            WriteDateBox(inputStarting, DUVMain::ReportStartDate);
            DateStatus(correction.Status);
        }
        Calendar1.SetValue(DUVMain::ReportStartDate);
        if (changeDepth_ <= kMaxChangeDepth &&
            GeneralFunctions::DateBefore(DUVMain::ReportEndDate, DUVMain::ReportStartDate)) {
            inputEnding.SetText(inputStarting.Text());
        }
    }
    checkProcess();
    CalTitle();
}

void frmMain::inputEnding_Change() {
    runtime::SetContext("frmMain", "inputEnding_Change");
    DepthGuard depth(changeDepth_);
    Date end = 0;
    DUVMain::EndDateValid = ReadDateBox(inputEnding, end);
    if (DUVMain::EndDateValid) {
        DUVMain::ReportEndDate = end;
        const MainWindowModel::DateCorrection correction =
            MainWindowModel::ClampEnd(end, MainWindowModel::CurrentLog(), activeDateBox_);
        if (changeDepth_ <= kMaxChangeDepth && correction.Corrected) {
            DUVMain::ReportEndDate = correction.Value;
            WriteDateBox(inputEnding, DUVMain::ReportEndDate);
            DateStatus(correction.Status);
        }
        Calendar1.SetValue(DUVMain::ReportEndDate);
        if (changeDepth_ <= kMaxChangeDepth &&
            GeneralFunctions::DateBefore(DUVMain::ReportEndDate, DUVMain::ReportStartDate)) {
            inputStarting.SetText(inputEnding.Text());
        }
    }
    checkProcess();
    CalTitle();
}

void frmMain::inputStarting_GotFocus() {
    activeDateBox_ = 1;
    SetStatus(StatusId::EnterStart);
    imgStartArrow.SetVisible(true);
    imgEndArrow.SetVisible(false);
    Calendar1.SetValue(DUVMain::ReportStartDate);
    CalTitle();
}

void frmMain::inputEnding_GotFocus() {
    activeDateBox_ = 2;
    SetStatus(StatusId::EnterEnd);
    imgStartArrow.SetVisible(false);
    imgEndArrow.SetVisible(true);
    Calendar1.SetValue(DUVMain::ReportEndDate);
    CalTitle();
}

void frmMain::inputStarting_LostFocus() {
    if (!DUVMain::StartDateValid && !loading_) {
        MessageBeep(MB_OK);
        SetStatus(StatusId::InvalidDate);
        inputStarting.RefocusLater();
    }
    checkProcess();
}

void frmMain::inputEnding_LostFocus() {
    if (!DUVMain::EndDateValid && !loading_) {
        MessageBeep(MB_OK);
        SetStatus(StatusId::InvalidDate);
        inputEnding.RefocusLater();
    }
    checkProcess();
}

void frmMain::checkProcess() {
    bool ready = MainWindowModel::CanProcess(DUVMain::StartDateValid, DUVMain::EndDateValid,
                                             MainWindowModel::CurrentLog().Flags);
    btnProcess.SetEnabled(ready);
    if (ready) {
        diff = MainWindowModel::DaysInRange(DUVMain::ReportStartDate, DUVMain::ReportEndDate);
        DUVAnalyse::ReportDays = diff;
    }
    SetCaption(MainWindowModel::RangeCaption(ready, diff));
}

void frmMain::CalTitle() { lblDateTitle.SetText(runtime::Format(Calendar1.Value(), "Long Date")); }

void frmMain::Calendar1_AfterUpdate() { CalTitle(); }

void frmMain::WriteIntoActiveBox(Date date) {
    if (activeDateBox_ == 1) {
        WriteDateBox(inputStarting, date);
    } else if (activeDateBox_ == 2) {
        WriteDateBox(inputEnding, date);
    }
}

void frmMain::Calendar1_Click() {
    forms::MaskedEdit* box = activeDateBox_ == 1   ? &inputStarting
                             : activeDateBox_ == 2 ? &inputEnding
                                                   : nullptr;
    if (!box || !box->Enabled()) {
        return;
    }
    WriteIntoActiveBox(Calendar1.Value());
    box->SetFocus();
    CalTitle();
}

void frmMain::LabelStarting_Click() { inputStarting.SetFocus(); }
void frmMain::LabelEnding_Click() { inputEnding.SetFocus(); }

void frmMain::LabelStarting_DblClick() {
    inputStarting.SetFocus();
    WriteDateBox(inputStarting, Today());
}

void frmMain::LabelEnding_DblClick() {
    inputEnding.SetFocus();
    WriteDateBox(inputEnding, Today());
}

void frmMain::UpDown1_Spin(int delta) {
    if (!DUVMain::StartDateValid) {
        return;  // nothing to step from
    }
    Calendar1.SetValue(DUVMain::ReportStartDate + delta);
    WriteDateBox(inputStarting, Calendar1.Value());
    inputStarting.SetFocus();
    SetStatus(StatusId::EnterStart);
}

void frmMain::UpDown2_Spin(int delta) {
    if (!DUVMain::EndDateValid) {
        return;
    }
    Calendar1.SetValue(DUVMain::ReportEndDate + delta);
    WriteDateBox(inputEnding, Calendar1.Value());
    inputEnding.SetFocus();
    SetStatus(StatusId::EnterEnd);
}

void frmMain::UpDown3_Spin(int delta) {
    Calendar1.SetValue(Calendar1.Value() + 7 * delta);
    CalTitle();
}

void frmMain::UpDown4_Spin(int delta) {
    Calendar1.SetValue(runtime::DateAdd("m", delta, Calendar1.Value()));
    CalTitle();
}

void frmMain::mnuToday_Click() { WriteIntoActiveBox(Today()); }
void frmMain::mnuLogStart_Click() { WriteIntoActiveBox(DUVMain::FirstEntryDate); }
void frmMain::mnuLogEnd_Click() { WriteIntoActiveBox(DUVMain::LastEntryDate); }

void frmMain::mnuPlusWeek_Click() {
    if (activeDateBox_ == 1)
        WriteDateBox(inputStarting, DUVMain::ReportStartDate + 7);
    if (activeDateBox_ == 2)
        WriteDateBox(inputEnding, DUVMain::ReportEndDate + 7);
}

void frmMain::mnuMinusWeek_Click() {
    if (activeDateBox_ == 1)
        WriteDateBox(inputStarting, DUVMain::ReportStartDate - 7);
    if (activeDateBox_ == 2)
        WriteDateBox(inputEnding, DUVMain::ReportEndDate - 7);
}

void frmMain::mnuPlusMonth_Click() {
    if (activeDateBox_ == 0)
        return;
    Calendar1.SetValue(runtime::DateAdd("m", 1, Calendar1.Value()));
    WriteIntoActiveBox(Calendar1.Value());
}

void frmMain::mnuMinusMonth_Click() {
    if (activeDateBox_ == 0)
        return;
    Calendar1.SetValue(runtime::DateAdd("m", -1, Calendar1.Value()));
    WriteIntoActiveBox(Calendar1.Value());
}

void frmMain::mnuDefaultDate_Click() {
    DUVMain::MessageText = "Are you sure you want to set the default report\nstart date to " +
                           runtime::Format(DUVMain::ReportStartDate, "Short Date") + "?";
    int answer = ShowMessage(DUVMain::MessageText, msg::OkCancel, "Default Report Start Date");
    if (answer == msg::Cancel) {
        return;
    }
    DUVMain::UserStartPref = "User Defined";
    DUVMain::UserStartDate = DUVMain::ReportStartDate;
    runtime::Guard([] { DUVMain::WriteUserParameters(); });
}

void frmMain::btnProcess_Click() {
    btnProcess.SetEnabled(false);
    if (DUVMain::LogCorrupt) {
        DUVMain::WarnLogCorrupt();
    }
    {
        forms::BusyCursor busy;
        DUVAnalyse::Analyse();
    }
    btnProcess.SetEnabled(true);
}
