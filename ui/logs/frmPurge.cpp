#include "ui/logs/frmPurge.h"

#include <vector>

#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/MessageBox.h"
#include "ui/forms/DateBox.h"
#include "ui/forms/Declare.h"

using PurgeModel::Bound;
using runtime::Date;

frmPurge::frmPurge() : SingleForm("frmPurge", forms::Form::Style::Dialog(6600, 2900)) {}

void frmPurge::CreateControls() {
    SetCaption("Purge Modem Log");
    const forms::Look group{.style = WS_GROUP};
    // clang-format off
    forms::Declare<frmPurge>(*this, {
        // control      caption                                        left  top  width height  tool tip  parent        look                         events
        {optPurge[1],   "",                                            {180, 250, 280, 300},    {},       nullptr,      group},
        {optPurge[2],   "",                                            {180, 850, 280, 300}},
        {optPurge[3],   "",                                            {180, 1450, 280, 300}},
        {FraPurge[1],   "",                                            {480, 100, 5900, 560}},
        {lbl1[0],       "Purge from first entry up to and including ", {120, 200, 3700, 260},   {},       &FraPurge[1]},
        {MaskEdBox1[0], "##/##/####",                                  {3850, 160, 1300, 300},  {},       &FraPurge[1], {},                          {.change = &frmPurge::MaskEdBox1_Change}},
        {FraPurge[2],   "",                                            {480, 700, 5900, 560}},
        {lbl2[0],       "Purge from",                                  {120, 200, 1000, 260},   {},       &FraPurge[2]},
        {MaskEdBox2[0], "##/##/####",                                  {1150, 160, 1300, 300},  {},       &FraPurge[2]},
        {lbl2[1],       "to",                                          {2550, 200, 300, 260},   {},       &FraPurge[2]},
        {MaskEdBox2[1], "##/##/####",                                  {2900, 160, 1300, 300},  {},       &FraPurge[2]},
        {lbl2[2],       "inclusive.",                                  {4300, 200, 1000, 260},  {},       &FraPurge[2]},
        {FraPurge[3],   "",                                            {480, 1300, 5900, 560}},
        {lbl3[0],       "Purge from",                                  {120, 200, 1000, 260},   {},       &FraPurge[3]},
        {MaskEdBox3[0], "##/##/####",                                  {1150, 160, 1300, 300},  {},       &FraPurge[3], {},                          {.change = &frmPurge::MaskEdBox3_Change}},
        {lbl3[1],       "to last entry.",                              {2550, 200, 1500, 260},  {},       &FraPurge[3]},
        {btnOK,         "&OK",                                         {3600, 2000, 1200, 380}, {},       nullptr,      {.style = BS_DEFPUSHBUTTON}, {.click = &frmPurge::btnOK_Click}},
        {btnCancel,     "&Cancel",                                     {5000, 2000, 1200, 380}, {},       nullptr,      {.cancel = true},            {.click = &frmPurge::btnCancel_Click}},
    });
    // clang-format on
    for (int i = 1; i <= 3; ++i)
        optPurge[i].Click = [this, i] { optPurge_Click(i); };
    for (int i = 0; i <= 1; ++i)
        MaskEdBox2[i].Change = [this, i] { MaskEdBox2_Change(i); };
}

void frmPurge::Form_Load() {
    runtime::SetContext("frmPurge", "FormLoad");
    DUVMain::LogPurged = false;
    range_ = {};
    activated_ = false;
    writing_ = true;
    for (forms::MaskedEdit* box : {&MaskEdBox1[0], &MaskEdBox2[0], &MaskEdBox2[1], &MaskEdBox3[0]})
        box->SetMask(DUVMain::DateMask);
    writing_ = false;
}

// The first activation starts in mode 1, with its option button set to show it.
void frmPurge::Form_Activate() {
    if (activated_)
        return;
    activated_ = true;
    if (optPurge[1].Value())
        optPurge_Click(1);
    else
        optPurge[1].SetValue(true);
}

void frmPurge::optPurge_Click(int index) {
    runtime::SetContext("frmPurge", "optPurge_Click");
    runtime::Guard([&] {
        range_.Mode = index;
        const std::vector<std::vector<forms::Control*>> groups = {
            {},
            {&lbl1[0], &MaskEdBox1[0]},
            {&lbl2[0], &MaskEdBox2[0], &lbl2[1], &MaskEdBox2[1], &lbl2[2]},
            {&lbl3[0], &MaskEdBox3[0], &lbl3[1]},
        };
        for (int mode = 1; mode <= 3; ++mode) {
            FraPurge[mode].SetEnabled(mode == index);
            for (forms::Control* control : groups[static_cast<size_t>(mode)])
                control->SetEnabled(mode == index);
        }
        for (int i = 1; i <= 3; ++i)
            optPurge[i].SetEnabled(true);
        switch (index) {
        case 1:
            range_.PurgeFrom = DUVMain::FirstEntryDate;
            range_.FromValid = true;
            range_.ToValid = ReadClamped(MaskEdBox1[0], Bound::To, range_.PurgeTo, false);
            MaskEdBox1[0].SetFocus();
            break;
        case 2:
            range_.FromValid = ReadClamped(MaskEdBox2[0], Bound::From, range_.PurgeFrom, false);
            range_.ToValid = ReadClamped(MaskEdBox2[1], Bound::To, range_.PurgeTo, false);
            MaskEdBox2[0].SetFocus();
            break;
        default:
            range_.PurgeTo = DUVMain::LastEntryDate;
            range_.ToValid = true;
            range_.FromValid = ReadClamped(MaskEdBox3[0], Bound::From, range_.PurgeFrom, false);
            MaskEdBox3[0].SetFocus();
            break;
        }
        btnCancel.SetEnabled(true);
        CheckOK();
    });
}

bool frmPurge::ReadClamped(forms::MaskedEdit& box, Bound bound, Date& date, bool rewrite) {
    Date typed = 0;
    if (!forms::ReadDateBox(box, typed))
        return false;
    int beeps = 0;
    date = PurgeModel::adjustDate(typed, bound, DUVMain::FirstEntryDate, DUVMain::LastEntryDate,
                                  beeps);
    for (int i = 0; i < beeps; ++i)
        MessageBeep(MB_OK);
    if (rewrite) {
        writing_ = true;
        forms::WriteDateBox(box, date);
        writing_ = false;
    }
    return true;
}

void frmPurge::MaskEdBox1_Change() {
    if (writing_)
        return;
    range_.ToValid = ReadClamped(MaskEdBox1[0], Bound::To, range_.PurgeTo, true);
    CheckOK();
}

void frmPurge::MaskEdBox2_Change(int index) {
    if (writing_)
        return;
    if (index == 0)
        range_.FromValid = ReadClamped(MaskEdBox2[0], Bound::From, range_.PurgeFrom, true);
    else
        range_.ToValid = ReadClamped(MaskEdBox2[1], Bound::To, range_.PurgeTo, true);
    CheckOK();
}

void frmPurge::MaskEdBox3_Change() {
    if (writing_)
        return;
    range_.FromValid = ReadClamped(MaskEdBox3[0], Bound::From, range_.PurgeFrom, true);
    CheckOK();
}

void frmPurge::CheckOK() { btnOK.SetEnabled(PurgeModel::CheckOK(range_)); }

bool frmPurge::ProceedWithPurge() {
    DUVMain::MessageText = PurgeModel::ConfirmationText(range_.PurgeFrom, range_.PurgeTo);
    int answer = ShowMessage(DUVMain::MessageText, msg::YesNo | msg::IconQuestion,
                             PurgeModel::kConfirmationTitle);
    DUVMain::MessageAnswer = std::to_string(answer);
    return answer == msg::Yes;
}

void frmPurge::DoPurge() { PurgeModel::DoPurge(range_.PurgeFrom, range_.PurgeTo); }

void frmPurge::btnOK_Click() {
    Hide();
    if (ProceedWithPurge()) {
        DoPurge();
        DUVMain::LogPurged = true;
    }
    Unload();
}

void frmPurge::btnCancel_Click() { Unload(); }
