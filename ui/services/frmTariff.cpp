#include "ui/services/frmTariff.h"

#include "core/ErrorContext.h"
#include "ui/forms/Declare.h"
#include "ui/services/frmService.h"

frmTariff::frmTariff()
    : SingleForm("frmTariff", forms::Form::Style::Dialog(7080, 3420)), binding_(Model.Controls) {
    Model.window.Beep = [] { MessageBeep(MB_OK); };
    Model.window.SetFocus = [this](const std::string& control) { binding_.FocusLater(control); };
    Model.window.SelectedTariffRow = [] { return frmService::Get().Model.SelectedTariffRow(); };
    Model.window.Unload = [this] { Unload(); };
}

void frmTariff::CreateControls() {
    using F = frmTariff;
    services_ui::ModelBinding& b = binding_;
    SetCaption(TariffEditorModel::kCaption);
    // clang-format off
    forms::Declare<F>(*this, {
        // name                                 member                       left  top  width height  parent   look
        b.Row<F>("lblDialTimeTariff10",         lblDialTimeTariff10,         {120, 180, 1000, 255}),
        b.Row<F>("lstDialTimeTariffDescrip",    lstDialTimeTariffDescrip,    {1200, 120, 3300, 2400}),
        b.Row<F>("lblDialTimeTariff1",          lblDialTimeTariff1,          {120, 600, 1000, 255}),
        b.Row<F>("lstDialTimeTariffDialDays",   lstDialTimeTariffDialDays,   {1200, 540, 1900, 3000}),
        b.Row<F>("lstDialTimeTariffDialStart",  lstDialTimeTariffDialStart,  {3200, 540, 900, 3000}),
        b.Row<F>("lblDialTimeTariff7",          lblDialTimeTariff7,          {4160, 600, 250, 255}),
        b.Row<F>("lstDialTimeTariffDialEnd",    lstDialTimeTariffDialEnd,    {4440, 540, 900, 3000}),
        b.Row<F>("lblAssist",                   lblAssist,                   {5460, 600, 1400, 255}),
        b.Row<F>("lblDialTimeTariff8",          lblDialTimeTariff8,          {120, 1020, 1000, 255}),
        b.Row<F>("txtDialTimeTariffDialRate",   txtDialTimeTariffDialRate,   {1200, 960, 900, 315}),
        b.Row<F>("lblDialTimeTariff3",          lblDialTimeTariff3,          {2160, 1020, 900, 255}),
        b.Row<F>("txtDialTimeTariffMinuteRate", txtDialTimeTariffMinuteRate, {3100, 960, 900, 315}),
        b.Row<F>("lstDialTimeTariffUnit",       lstDialTimeTariffUnit,       {4100, 960, 1400, 1500}),
        b.Row<F>("lblDialTimeTariff4",          lblDialTimeTariff4,          {1200, 1440, 650, 255}),
        b.Row<F>("txtDialTimeTariffAfterMins",  txtDialTimeTariffAfterMins,  {1900, 1380, 600, 315}),
        b.Row<F>("lblDialTimeTariff5",          lblDialTimeTariff5,          {2560, 1440, 600, 255}),
        b.Row<F>("txtDialTimeTariffAfterSecs",  txtDialTimeTariffAfterSecs,  {3200, 1380, 600, 315}),
        b.Row<F>("lblDialTimeTariff6",          lblDialTimeTariff6,          {3860, 1440, 600, 255}),
        b.Row<F>("lblDialTimeTariff9",          lblDialTimeTariff9,          {1200, 1860, 650, 255}),
        b.Row<F>("txtDialTimeTariffUnitMins",   txtDialTimeTariffUnitMins,   {1900, 1800, 600, 315}),
        b.Row<F>("lblDialTimeTariff11",         lblDialTimeTariff11,         {2560, 1860, 600, 255}),
        b.Row<F>("txtDialTimeTariffUnitSecs",   txtDialTimeTariffUnitSecs,   {3200, 1800, 600, 315}),
        b.Row<F>("lblDialTimeTariff12",         lblDialTimeTariff12,         {3860, 1860, 600, 255}),
        b.Row<F>("btnOK",                       btnOK,                       {4380, 2400, 1200, 375}, nullptr, {.style = BS_DEFPUSHBUTTON}),
        b.Row<F>("btnCancel",                   btnCancel,                   {5700, 2400, 1200, 375}, nullptr, {.cancel = true}),
    });
    // clang-format on
    binding_.Bind(
        {.Module = "frmTariff",
         .Text = [this](const std::string& c, const std::string& t) { Model.SetText(c, t); },
         .Value = {},
         .Click =
             [this](const std::string& c) {
                 // OK by Enter leaves the focused box first; a refused text keeps the window.
                 if (c == "btnOK" && !LeaveFocusedBox(btnOK))
                     return;
                 Model.Click(c);
             },
         .GotFocus =
             [this](const std::string& c) {
                 Model.GotFocus(c);
                 if (Model.SelectsAllOnFocus(c))
                     SendMessageA(binding_.Find(c)->hwnd(), EM_SETSEL, 0, -1);
             },
         .LostFocus = [this](const std::string& c) { Model.LostFocus(c); }},
        [this] { ShowState(); });
}

void frmTariff::Form_Load() {
    runtime::SetContext("frmTariff", "Form_Load");
    Model.Form_Load();
    binding_.FillLists();
    ShowState();
}

void frmTariff::Form_Activate() {
    runtime::SetContext("frmTariff", "Form_Activate");
    Model.Form_Activate();
    ShowState();
}

void frmTariff::Form_Unload(bool& cancel) {
    runtime::SetContext("frmTariff", "Form_Unload");
    (void)cancel;
    Model.Form_QueryUnload();
}

bool frmTariff::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    return binding_.AnswerColours(msg, wp, lp, result) ||
           SingleForm::OnMessage(msg, wp, lp, result);
}

void frmTariff::ShowState() {
    runtime::SetContext("frmTariff", "ShowState");
    if (IsLoaded())
        binding_.Show();
}
