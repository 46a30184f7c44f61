#include "ui/logs/frmFind.h"

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "ui/forms/Declare.h"
#include "ui/logs/frmViewLog.h"

frmFind::frmFind() : SingleForm("frmFind", forms::Form::Style::Dialog(5900, 2200)) {}

void frmFind::CreateControls() {
    SetCaption("Find");
    // clang-format off
    forms::Declare<frmFind>(*this, {
        // control        caption        left  top  width height  tool tip                           parent   look                         events
        {Label1,          "Fi&nd What:", {120, 180, 1000, 260}},
        {Text1,           "",            {1140, 140, 3000, 300},  "Text to Find",                    nullptr, {},                          {.change = &frmFind::Text1_Change}},
        {Frame1,          "Direction",   {1140, 600, 1900, 900}},
        {optDirection[1], "&Down",       {120, 240, 1600, 260},   "Search to End of Document",       &Frame1, {.style = WS_GROUP}},
        {optDirection[0], "&Up",         {120, 540, 1600, 260},   "Search to Beginning of Document", &Frame1},
        {chkCase,         "Match &Case", {3240, 900, 1500, 300},  "Case Sensitivity",                nullptr, {},                          {.click = &frmFind::chkCase_Click}},
        {cmdFind,         "&Find",       {4380, 120, 1200, 360},  "Start Search",                    nullptr, {.style = BS_DEFPUSHBUTTON}, {.click = &frmFind::cmdFind_Click}},
        {cmdcancel,       "Cancel",      {4380, 560, 1200, 360},  "Return to Notepad",               nullptr, {.cancel = true},            {.click = &frmFind::cmdCancel_Click}},
    });
    // clang-format on
    optDirection[0].Click = [this] { optDirection_Click(0); };
    optDirection[1].Click = [this] { optDirection_Click(1); };
}

void frmFind::Form_Load() {
    runtime::SetContext("frmFind", "Form_Load");
    runtime::Guard([this] {
        cmdFind.SetEnabled(false);
        optDirection[1].SetValue(true);
        DUVMain::SearchDirection = 1;
    });
}

void frmFind::Text1_Change() {
    DUVMain::SearchIsNew = true;
    cmdFind.SetEnabled(!Text1.Text().empty());
}

void frmFind::chkCase_Click() {
    DUVMain::SearchMatchCase = static_cast<std::int16_t>(chkCase.Value());
}

void frmFind::optDirection_Click(int index) {
    DUVMain::SearchDirection = static_cast<std::int16_t>(index);
}

void frmFind::cmdFind_Click() {
    DUVMain::SearchText = Text1.Text();
    DUVMain::FindLogText();
}

void frmFind::cmdCancel_Click() {
    DUVMain::SearchText = Text1.Text();
    DUVMain::SearchMatchCase = static_cast<std::int16_t>(chkCase.Value());
    Unload();
}
