#include "ui/options/frmPreConfigure.h"

#include "core/ErrorContext.h"
#include "core/PreConfigure.h"
#include "ui/forms/Declare.h"
#include "ui/forms/Gdi.h"

namespace {

// The page texts are joined by LF; the label shows them as CR LF.
std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += '\r';
        out += c;
    }
    return out;
}

// The two pictures of the image list: 1 a green tick for a setting that is on, 2 a red cross
// for one that is off (16 x 16 pixels).
HBITMAP MarkPicture(bool on) {
    return forms::DrawBitmap(16, 16, [on](HDC dc) {
        RECT all = {0, 0, 16, 16};
        FillRect(dc, &all, GetSysColorBrush(COLOR_BTNFACE));
        forms::OwnedPen pen(CreatePen(PS_SOLID, 3, on ? RGB(0, 150, 0) : RGB(200, 0, 0)));
        forms::Selection usePen(dc, pen.Get());
        if (on) {
            MoveToEx(dc, 2, 8, nullptr);
            LineTo(dc, 6, 12);
            LineTo(dc, 13, 3);
        } else {
            MoveToEx(dc, 3, 3, nullptr);
            LineTo(dc, 12, 12);
            MoveToEx(dc, 12, 3, nullptr);
            LineTo(dc, 3, 12);
        }
    });
}

}  // namespace

frmPreConfigure::frmPreConfigure()
    : SingleForm("frmPreConfigure", forms::Form::Style::Dialog(6600, 5100)) {}

void frmPreConfigure::CreateControls() {
    using namespace PreConfigureModel;
    SetCaption(kCaption);
    const DWORD textStyle = SS_LEFT;
    const forms::Look bold{.bold = true};
    const forms::Look page{.hidden = true};
    // clang-format off
    forms::Declare<frmPreConfigure>(*this, {
        // control               caption         left  top  width height  tool tip  parent        look                         events
        {fraCheck[0],            "",             {120, 60, 6240, 3660}},
        {RichTextBox1,           "",             {120, 240, 6000, 2400},  {},       &fraCheck[0], {.style = textStyle}},
        {Label2,                 kNote,          {120, 2820, 6000, 600},  {},       &fraCheck[0]},
        {fraCheck[1],            kModemsTitle,   {120, 60, 6240, 3660},   {},       nullptr,      page},
        {Label1,                 kModemsText,    {120, 300, 6000, 720},   {},       &fraCheck[1]},
        {lstModems,              "",             {120, 1080, 6000, 2340}, {},       &fraCheck[1]},
        {fraCheck[2],            "",             {120, 60, 6240, 3660},   {},       nullptr,      page},
        {lblSelModem,            "",             {120, 240, 6000, 300},   {},       &fraCheck[2], bold},
        {fraCurrent,             "Current ",     {120, 600, 2940, 1020},  {},       &fraCheck[2]},
        {lblCurrentLoggingTitle, "Logging:",     {120, 300, 900, 260},    {},       &fraCurrent},
        {lblCurrentLogging,      "",             {1080, 300, 700, 260},   {},       &fraCurrent},
        {ImgCurrentLogging,      "",             {1900, 270, 300, 300},   {},       &fraCurrent},
        {lblCurrentEchoTitle,    "Echo:",        {120, 640, 900, 260},    {},       &fraCurrent},
        {lblCurrentEcho,         "",             {1080, 640, 700, 260},   {},       &fraCurrent},
        {imgCurrentEcho,         "",             {1900, 610, 300, 300},   {},       &fraCurrent},
        {fraRecommended,         "Recommended",  {3180, 600, 2940, 1020}, {},       &fraCheck[2]},
        {lblRecLoggingTitle,     "Logging:",     {120, 300, 900, 260},    {},       &fraRecommended},
        {lblRecLogging,          "ON",           {1080, 300, 700, 260},   {},       &fraRecommended},
        {imgRecLogging,          "",             {1900, 270, 300, 300},   {},       &fraRecommended},
        {lblRecEchoTitle,        "Echo:",        {120, 640, 900, 260},    {},       &fraRecommended},
        {lblRecEcho,             "ON",           {1080, 640, 700, 260},   {},       &fraRecommended},
        {imgRecEcho,             "",             {1900, 610, 300, 300},   {},       &fraRecommended},
        {RichTextBox2,           "",             {120, 1740, 6000, 1740}, {},       &fraCheck[2], {.style = textStyle}},
        {fraCheck[3],            kFinishedTitle, {120, 60, 6240, 3660},   {},       nullptr,      page},
        {RichTextBox3,           "",             {120, 300, 6000, 3180},  {},       &fraCheck[3], {.style = textStyle}},
        {Check1,                 kCheckCaption,  {120, 3840, 3300, 300},  {},       nullptr,      {},                          {.click = &frmPreConfigure::Check1_Click}},
        {btnCancel,              kCancel,        {3600, 4260, 1300, 360}, {},       nullptr,      {},                          {.click = &frmPreConfigure::btnCancel_Click}},
        {btnNext,                kNext,          {5040, 4260, 1300, 360}, {},       nullptr,      {.style = BS_DEFPUSHBUTTON}, {.click = &frmPreConfigure::btnNext_Click}},
    });
    // clang-format on
    Timer1.Create(*this, kTimerMilliseconds, false);
    Timer1.Tick = [this] { Timer1_Timer(); };
    imgRecLogging.SetBitmap(MarkPicture(true));
    imgRecEcho.SetBitmap(MarkPicture(true));
}

void frmPreConfigure::Form_Load() {
    runtime::SetContext("frmPreConfigure", "Form_Load");
    model_ = PreConfigureModel::Wizard{};
    runtime::Guard([this] { model_.Load(); });
    lstModems.Clear();
    for (const std::string& line : model_.ModemLines)
        lstModems.AddItem(line);
    if (lstModems.ListCount() > 0)
        lstModems.SetListIndex(0);
    Check1.SetValue(model_.AlwaysCheck ? 1 : 0);
    ShowState();
}

void frmPreConfigure::ShowState() {
    for (int k = 0; k <= PreConfigureModel::kLastStep; ++k) {
        fraCheck[k].SetEnabled(k == model_.Step);
        fraCheck[k].SetVisible(k == model_.Step);
    }
    if (model_.Step >= 0 && model_.Step <= PreConfigureModel::kLastStep)
        SetWindowPos(fraCheck[model_.Step].hwnd(), HWND_TOP, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    btnCancel.SetText(model_.CancelCaption);
    btnCancel.SetVisible(model_.CancelVisible);
    btnNext.SetText(model_.NextCaption);
    RichTextBox1.SetText(WithCrLf(model_.IntroText));
    if (model_.Step == 2) {
        lblSelModem.SetText(model_.SelModem);
        lblCurrentLogging.SetText(PreConfigureModel::Wizard::OnOff(model_.CurrentLogging));
        lblCurrentEcho.SetText(PreConfigureModel::Wizard::OnOff(model_.CurrentEcho));
        ImgCurrentLogging.SetBitmap(MarkPicture(model_.CurrentLogging));
        imgCurrentEcho.SetBitmap(MarkPicture(model_.CurrentEcho));
        RichTextBox2.SetText(WithCrLf(model_.ChangeText));
    }
    RichTextBox3.SetText(WithCrLf(model_.FinishText));
    lblRecLogging.SetBold(model_.RecLoggingBold);
    lblRecEcho.SetBold(model_.RecEchoBold);
    Timer1.SetEnabled(model_.TimerEnabled);
}

void frmPreConfigure::btnNext_Click() {
    model_.SelectedLine = lstModems.ListIndex() < 0 ? 0 : lstModems.ListIndex();
    bool close = false;
    runtime::Guard([&] { close = model_.NextClicked(); });
    if (close) {
        Timer1.SetEnabled(false);
        Unload();
        return;
    }
    ShowState();
}

void frmPreConfigure::btnCancel_Click() {
    bool close = false;
    runtime::Guard([&] { close = model_.CancelClicked(); });
    if (close) {
        Unload();
        return;
    }
    ShowState();
}

void frmPreConfigure::Check1_Click() {
    runtime::Guard([this] { model_.CheckClicked(Check1.Value() == 1); });
}

void frmPreConfigure::Timer1_Timer() {
    runtime::Guard([this] { model_.TimerTick(); });
    lblRecLogging.SetBold(model_.RecLoggingBold);
    lblRecEcho.SetBold(model_.RecEchoBold);
}

void RegisterPreConfigureWindow() {
    DUVPreConfigure::SetWizardWindow([] { frmPreConfigure::Get().ShowModal(); });
}
