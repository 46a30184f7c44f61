#include "ui/logs/frmFileRepair.h"

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/LogFile.h"
#include "core/LogMaintenance.h"
#include "core/MessageBox.h"
#include "ui/forms/Declare.h"

namespace {

forms::Form::Style RepairStyle() {
    forms::Form::Style style;
    style.style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
    style.exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    style.widthTwips = 4800;
    style.heightTwips = 2100;
    return style;
}

}  // namespace

frmFileRepair::frmFileRepair() : SingleForm("frmFileRepair", RepairStyle()) {}

void frmFileRepair::CreateControls() {
    SetCaption("File Repair");
    // clang-format off
    forms::Declare<frmFileRepair>(*this, {
        // control      caption  left  top  width height  tool tip  parent   look                        events
        {lblFileRepair, "",      {240, 200, 4200, 300},   {},       nullptr},
        {ProgressBar,   "",      {240, 620, 4200, 300},   {},       nullptr},
        {btnOK,         "&OK",   {1800, 1120, 1200, 380}, {},       nullptr, {.style = BS_DEFPUSHBUTTON}, {.click = &frmFileRepair::btnOK_Click}},
    });
    // clang-format on
    ProgressBar.SetMax(100);
}

void frmFileRepair::Form_Load() {
    runtime::SetContext("frmFileRepair", "Form_Load");
    repairRun_ = false;
    btnOK.SetEnabled(false);
}

void frmFileRepair::Form_Activate() {
    if (repairRun_)
        return;
    repairRun_ = true;
    runtime::SetContext("frmFileRepair", "Form_Activate");
    forms::PumpMessages();
    LogMaintenance::RewriteResult result =
        LogMaintenance::RepairLog([this](const std::string& text) { lblFileRepair.SetText(text); },
                                  {.Set = [this](int percent) { ProgressBar.SetValue(percent); }});
    if (result) {
        MessageBeep(MB_OK);
        lblFileRepair.SetText(LogMaintenance::kRepairedText);
    } else {
        lblFileRepair.SetText(LogMaintenance::kNotRepairedText);
        ShowMessage(LogMaintenance::RepairFailedText(result), msg::OkOnly,
                    LogMaintenance::kRepairFailedTitle);
    }
    btnOK.SetEnabled(true);
    btnOK.SetFocus();
}

void frmFileRepair::btnOK_Click() { Unload(); }
