#include "ui/services/frmService.h"

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "ui/forms/Declare.h"
#include "ui/forms/Dialogs.h"
#include "ui/forms/Gdi.h"
#include "ui/forms/Pictures.h"
#include "ui/services/frmTariff.h"

namespace {

// The test button's play symbol, drawn once for the program's run. It is an icon: its mask
// gives the symbol its shape, so that the disabled button draws a greyed triangle rather than
// a grey square.
HICON PlaySymbol() {
    struct Symbol {
        HICON icon = nullptr;
        Symbol() {
            constexpr int kSize = 11;
            // Black where the symbol is, everywhere else the screen shows through.
            forms::OwnedBitmap colour(forms::DrawBitmap(
                kSize, kSize, [](HDC dc) { PatBlt(dc, 0, 0, kSize, kSize, BLACKNESS); }));
            forms::OwnedBitmap mask(forms::DrawBitmap(
                kSize, kSize, forms::BitmapCanvas::Format::Monochrome, [](HDC dc) {
                    PatBlt(dc, 0, 0, kSize, kSize, WHITENESS);
                    forms::Selection brush(dc, GetStockObject(BLACK_BRUSH));
                    forms::Selection pen(dc, GetStockObject(BLACK_PEN));
                    const POINT triangle[] = {{2, 0}, {2, kSize - 1}, {kSize - 2, kSize / 2}};
                    Polygon(dc, triangle, 3);
                }));
            ICONINFO info = {TRUE, 0, 0, mask.Get(), colour.Get()};
            icon = CreateIconIndirect(&info);  // copies both bitmaps
        }
        ~Symbol() { DestroyIcon(icon); }
    };
    static Symbol symbol;
    return symbol.icon;
}

// Where the description and number sit when the picture is not shown.
constexpr int kLeftWithoutPicture = 192;

}  // namespace

frmService::frmService()
    : SingleForm("frmService", forms::Form::Style::Dialog(8880, 6480)), binding_(Model.Controls) {
    keyPreview_ = true;
    Model.window.Beep = [] { MessageBeep(MB_OK); };
    Model.window.SetFocus = [this](const std::string& control) { binding_.FocusLater(control); };
    Model.window.ShowTariffEditor = [] { frmTariff::Get().ShowModal(); };
    Model.window.PickSoundFile = [](const std::string& fileName, const std::string& folder) {
        forms::FileDialogRequest request;
        request.filter = "SoundWave Files (*.wav)|*.wav";
        request.fileName = fileName;
        request.initialDir = folder;
        request.flags = 0x1000;  // the file must exist
        std::optional<std::string> picked;
        if (auto result = forms::ShowFileDialog(request))
            picked = result->fileName;
        return picked;
    };
    Model.window.SelectedServiceRow = [this] { return selectedRow_ ? selectedRow_() : 0; };
    Model.window.Unload = [this] { Unload(); };
}

void frmService::ShowEditor(std::function<int()> selectedRow) {
    frmService& form = Get();
    form.selectedRow_ = std::move(selectedRow);
    form.ShowModal();
}

void frmService::CreateControls() {
    using F = frmService;
    services_ui::ModelBinding& b = binding_;
    forms::Frame* p0 = &fraService[0];
    forms::Frame* p1 = &fraService[1];
    forms::Frame* p2 = &fraService[2];
    forms::Frame* p3 = &fraService[3];
    const forms::Look first = {.style = WS_GROUP};
    // clang-format off
    forms::Declare<F>(*this, {
        // control  caption  left  top  width height  tool tip  parent   look  events
        {TabStrip1, "",      {120, 120, 8520, 5220},  {},       nullptr, {},   {.click = &F::TabStrip1_Click}},
        // name                             member                   left  top  width height  parent   look
        b.Row<F>("fraService(0)",           fraService[0],           {240, 480, 8280, 4740}),
        b.Row<F>("fraService(1)",           fraService[1],           {240, 480, 8280, 4740}),
        b.Row<F>("fraService(2)",           fraService[2],           {240, 480, 8280, 4740}),
        b.Row<F>("fraService(3)",           fraService[3],           {240, 480, 8280, 4740}),
        // Service Details
        b.Row<F>("imgService",              imgService,              {180, 240, 1440, 1440},  p0),
        b.Row<F>("lblDescription",          lblDescription,          {1800, 240, 3000, 255},  p0),
        b.Row<F>("txtDescription",          txtDescription,          {1800, 510, 6240, 315},  p0),
        b.Row<F>("lblNumber",               lblNumber,               {1800, 960, 2600, 255},  p0),
        b.Row<F>("txtNumber",               txtNumber,               {1800, 1230, 2900, 315}, p0),
        b.Row<F>("lblAltNumber",            lblAltNumber,            {4920, 960, 2600, 255},  p0),
        b.Row<F>("txtAltNumber",            txtAltNumber,            {4920, 1230, 3120, 315}, p0),
        b.Row<F>("lblNotice(0)",            lblNotice[0],            {180, 1920, 7860, 1000}, p0),
        b.Row<F>("lblNotice(1)",            lblNotice[1],            {180, 3000, 7860, 1000}, p0),
        // Dial-up Cost
        b.Row<F>("optDialCost(0)",          optDialCost[0],          {180, 420, 255, 255},    p1,      first),
        b.Row<F>("fraFixedTariff",          fraFixedTariff,          {540, 180, 7560, 780},   p1),
        b.Row<F>("lbDialFixedTariff(0)",    lbDialFixedTariff0,      {180, 340, 2300, 255},   &fraFixedTariff),
        b.Row<F>("txtDialFixedTariff",      txtDialFixedTariff,      {2520, 300, 1200, 315},  &fraFixedTariff),
        b.Row<F>("lblDialFixedTariff(1)",   lblDialFixedTariff1,     {3840, 340, 1200, 255},  &fraFixedTariff),
        b.Row<F>("optDialCost(1)",          optDialCost[1],          {180, 1320, 255, 255},   p1),
        b.Row<F>("fraTimeTariff",           fraTimeTariff,           {540, 1080, 7560, 3540}, p1),
        b.Row<F>("lstDialTimeTariff",       lstDialTimeTariff,       {180, 300, 7200, 2580},  &fraTimeTariff),
        b.Row<F>("btnDialTimeTariffNew",    btnDialTimeTariffNew,    {180, 3000, 1000, 375},  &fraTimeTariff),
        b.Row<F>("btnDialTimeTariffEdit",   btnDialTimeTariffEdit,   {1300, 3000, 1000, 375}, &fraTimeTariff),
        b.Row<F>("btnDialTimeTariffDelete", btnDialTimeTariffDelete, {2420, 3000, 1000, 375}, &fraTimeTariff),
        b.Row<F>("lblDialTimeTariff9",      lblDialTimeTariff9,      {3600, 3060, 3700, 255}, &fraTimeTariff),
        // Service Cost
        b.Row<F>("optServiceCost(0)",       optServiceCost[0],       {180, 360, 255, 255},    p2,      first),
        b.Row<F>("fraFlatRate",             fraFlatRate,             {540, 180, 7560, 660},   p2),
        b.Row<F>("lblServiceFixedRate1",    lblServiceFixedRate1,    {180, 310, 1500, 255},   &fraFlatRate),
        b.Row<F>("txtServiceFixedRate",     txtServiceFixedRate,     {1700, 270, 1000, 315},  &fraFlatRate),
        b.Row<F>("lblServiceFixedRate2",    lblServiceFixedRate2,    {2800, 310, 1000, 255},  &fraFlatRate),
        b.Row<F>("optServiceCost(1)",       optServiceCost[1],       {180, 1080, 255, 255},   p2),
        b.Row<F>("fraFlexiRate",            fraFlexiRate,            {540, 900, 7560, 1040},  p2),
        b.Row<F>("lblServiceFlexRate1",     lblServiceFlexRate1,     {180, 310, 1500, 255},   &fraFlexiRate),
        b.Row<F>("txtServiceFlexRate",      txtServiceFlexRate,      {1700, 270, 1000, 315},  &fraFlexiRate),
        b.Row<F>("lblServiceFlexRate2",     lblServiceFlexRate2,     {2800, 310, 1250, 255},  &fraFlexiRate),
        b.Row<F>("txtServiceFlexHours",     txtServiceFlexHours,     {4080, 270, 600, 315},   &fraFlexiRate),
        b.Row<F>("lblServiceFlexRate3",     lblServiceFlexRate3,     {4760, 310, 900, 255},   &fraFlexiRate),
        b.Row<F>("lstServiceFlexPeriod",    lstServiceFlexPeriod,    {5700, 270, 1300, 1500}, &fraFlexiRate),
        b.Row<F>("lblServiceFlexRate4",     lblServiceFlexRate4,     {180, 690, 2900, 255},   &fraFlexiRate),
        b.Row<F>("txtServiceFlexRate2",     txtServiceFlexRate2,     {3100, 650, 1000, 315},  &fraFlexiRate),
        b.Row<F>("lblServiceFlexRate5",     lblServiceFlexRate5,     {4200, 690, 1000, 255},  &fraFlexiRate),
        b.Row<F>("fraPerMeg",               fraPerMeg,               {180, 2040, 7920, 660},  p2),
        b.Row<F>("lblPerMeg1",              lblPerMeg1,              {180, 310, 600, 255},    &fraPerMeg),
        b.Row<F>("txtPerMeg",               txtPerMeg,               {780, 270, 1000, 315},   &fraPerMeg),
        b.Row<F>("lblPerMeg2",              lblPerMeg2,              {1860, 310, 1800, 255},  &fraPerMeg),
        b.Row<F>("txtAfterMeg",             txtAfterMeg,             {3680, 270, 700, 315},   &fraPerMeg),
        b.Row<F>("lblPerMeg4",              lblPerMeg4,              {4460, 310, 1300, 255},  &fraPerMeg),
        b.Row<F>("lstMegPeriod",            lstMegPeriod,            {5800, 270, 1300, 1500}, &fraPerMeg),
        b.Row<F>("fraFreePeriod",           fraFreePeriod,           {180, 2820, 5400, 660},  p2),
        b.Row<F>("chkFreePeriod",           chkFreePeriod,           {180, 310, 255, 255},    &fraFreePeriod),
        b.Row<F>("lblFreePeriod1",          lblFreePeriod1,          {480, 310, 2300, 255},   &fraFreePeriod),
        b.Row<F>("lstFreePeriodStart",      lstFreePeriodStart,      {2800, 270, 1000, 2400}, &fraFreePeriod),
        b.Row<F>("lblFreePeriod2",          lblFreePeriod2,          {3880, 310, 400, 255},   &fraFreePeriod),
        b.Row<F>("lstFreePeriodEnd",        lstFreePeriodEnd,        {4300, 270, 1000, 2400}, &fraFreePeriod),
        b.Row<F>("fraBlock",                fraBlock,                {5700, 2820, 2400, 660}, p2),
        b.Row<F>("txtServiceBlock",         txtServiceBlock,         {180, 270, 500, 315},    &fraBlock),
        b.Row<F>("lblServiceBlock1",        lblServiceBlock1,        {760, 310, 700, 255},    &fraBlock),
        b.Row<F>("lblServiceBlock2",        lblServiceBlock2,        {1460, 310, 900, 255},   &fraBlock),
        // Warnings
        b.Row<F>("chkWarnings",             chkWarnings,             {180, 240, 2400, 300},   p3),
        b.Row<F>("optWarning(0)",           optWarning[0],           {180, 660, 4800, 300},   p3,      first),
        b.Row<F>("txtWarningHours",         txtWarningHours,         {5040, 650, 700, 315},   p3),
        b.Row<F>("lblWarnHours",            lblWarnHours,            {5800, 690, 400, 255},   p3),
        b.Row<F>("txtWarningMinutes",       txtWarningMinutes,       {6260, 650, 600, 315},   p3),
        b.Row<F>("lblWarnMinutes",          lblWarnMinutes,          {6920, 690, 500, 255},   p3),
        b.Row<F>("optWarning(1)",           optWarning[1],           {180, 1080, 4800, 300},  p3),
        b.Row<F>("txtWarndialupCost",       txtWarndialupCost,       {5040, 1070, 1200, 315}, p3),
        b.Row<F>("lblCurrencySymbol(0)",    lblCurrencySymbol[0],    {6300, 1110, 700, 255},  p3),
        b.Row<F>("optWarning(2)",           optWarning[2],           {180, 1500, 4800, 300},  p3),
        b.Row<F>("txtWarnServiceCost",      txtWarnServiceCost,      {5040, 1490, 1200, 315}, p3),
        b.Row<F>("lblCurrencySymbol(1)",    lblCurrencySymbol[1],    {6300, 1530, 700, 255},  p3),
        b.Row<F>("optWarning(3)",           optWarning[3],           {180, 1920, 4800, 300},  p3),
        b.Row<F>("txtWarnData",             txtWarnData,             {5040, 1910, 1200, 315}, p3),
        b.Row<F>("lblKB",                   lblKB,                   {6300, 1950, 700, 255},  p3),
        b.Row<F>("chkWarnDisplay",          chkWarnDisplay,          {180, 2400, 2200, 300},  p3),
        b.Row<F>("chkWarnSound",            chkWarnSound,            {2520, 2400, 2200, 300}, p3),
        b.Row<F>("txtWarningSound",         txtWarningSound,         {180, 2820, 6900, 315},  p3),
        b.Row<F>("btnWarnBrowse",           btnWarnBrowse,           {7140, 2800, 420, 355},  p3),
        b.Row<F>("btnWarnPlay",             btnWarnPlay,             {7620, 2800, 420, 355},  p3),
        b.Row<F>("lblWarnNotes",            lblWarnNotes,            {180, 3300, 7860, 900},  p3),
        b.Row<F>("btnOK",                   btnOK,                   {6060, 5490, 1200, 375}, nullptr, {.style = BS_DEFPUSHBUTTON}),
        b.Row<F>("btnCancel",               btnCancel,               {7440, 5490, 1200, 375}, nullptr, {.cancel = true}),
    });
    // clang-format on
    std::vector<forms::TabStrip::Tab> tabs;
    for (const ServiceEditorModel::TabInfo& tab : ServiceEditorModel::kTabs)
        tabs.push_back({tab.Caption, tab.ToolTip});
    TabStrip1.SetTabs(tabs, {&fraService[0], &fraService[1], &fraService[2], &fraService[3]});
    imgService.SetBitmap(Pictures::MainPicture());
    SetWindowLongPtrA(btnWarnPlay.hwnd(), GWL_STYLE,
                      GetWindowLongPtrA(btnWarnPlay.hwnd(), GWL_STYLE) | BS_ICON);
    SendMessageA(btnWarnPlay.hwnd(), BM_SETIMAGE, IMAGE_ICON,
                 reinterpret_cast<LPARAM>(PlaySymbol()));
    lstDialTimeTariff.Click = [this] { lstDialTimeTariff_Click(); };
    lstDialTimeTariff.DblClick = [this] { lstDialTimeTariff_DblClick(); };
    binding_.Bind(
        {.Module = "frmService",
         .Text = [this](const std::string& c, const std::string& t) { Model.SetText(c, t); },
         .Value = [this](const std::string& c, int v) { Model.SetValue(c, v); },
         .Click =
             [this](const std::string& c) {
                 // OK by Enter leaves the focused box first; a refused text keeps the window.
                 if (c == "btnOK" && !LeaveFocusedBox(btnOK))
                     return;
                 Model.Click(c);
             },
         .GotFocus = [this](const std::string& c) { Model.GotFocus(c); },
         .LostFocus = [this](const std::string& c) { Model.LostFocus(c); }},
        [this] { ShowState(); });
}

void frmService::Form_Load() {
    runtime::SetContext("frmService", "Form_Load");
    Model.Form_Load();
    if (!DUVMain::ShowGraphic) {
        for (forms::Control* c :
             {static_cast<forms::Control*>(&lblDescription),
              static_cast<forms::Control*>(&txtDescription),
              static_cast<forms::Control*>(&lblNumber), static_cast<forms::Control*>(&txtNumber)})
            c->Move(kLeftWithoutPicture, c->Top(), c->Width(), c->Height());
    }
    lstDialTimeTariff.ClearColumns();
    for (const ServiceEditorModel::TariffColumn& column : ServiceEditorModel::TariffColumns())
        lstDialTimeTariff.AddColumn(column.Header, 0, column.Width);
    shownRows_.clear();
    binding_.FillLists();
    ShowState();
}

void frmService::Form_Activate() {
    runtime::SetContext("frmService", "Form_Activate");
    Model.Form_Activate();
    ShowState();
    if (Model.SelectDescriptionText && Model.CurrentTab == 0) {
        txtDescription.SetSelStart(0);
        txtDescription.SetSelLength(static_cast<int>(txtDescription.Text().size()));
    }
}

void frmService::Form_Unload(bool& cancel) {
    runtime::SetContext("frmService", "Form_Unload");
    (void)cancel;
    Model.Form_QueryUnload();
}

void frmService::Form_KeyDown(int key, int shift) {
    runtime::SetContext("frmService", "Form_KeyDown");
    if (Model.Form_KeyDown(key, shift))
        ShowState();
}

bool frmService::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    return binding_.AnswerColours(msg, wp, lp, result) ||
           SingleForm::OnMessage(msg, wp, lp, result);
}

void frmService::TabStrip1_Click() {
    runtime::SetContext("frmService", "TabStrip1_Click");
    if (binding_.Showing() || showingState_)
        return;
    Model.SelectTab(TabStrip1.SelectedIndex() - 1);
    ShowState();
}

void frmService::lstDialTimeTariff_Click() {
    runtime::SetContext("frmService", "lstDialTimeTariff_Click");
    if (binding_.Showing() || showingState_)
        return;
    Model.SelectTariffRow(lstDialTimeTariff.SelectedRow() + 1);
    ShowState();
}

void frmService::lstDialTimeTariff_DblClick() {
    runtime::SetContext("frmService", "lstDialTimeTariff_DblClick");
    if (binding_.Showing() || showingState_)
        return;
    Model.DblClick("lstDialTimeTariff");
    ShowState();
}

void frmService::ShowState() {
    runtime::SetContext("frmService", "ShowState");
    if (!IsLoaded() || showingState_)
        return;
    binding_.Show();
    if (Caption() != Model.Caption)
        SetCaption(Model.Caption);
    // The model has run the tab's procedures already: the strip and the list only follow.
    showingState_ = true;
    if (TabStrip1.SelectedIndex() != Model.CurrentTab + 1)
        TabStrip1.Select(Model.CurrentTab + 1);
    if (shownRows_ != Model.TariffRows) {
        lstDialTimeTariff.ClearRows();
        for (const auto& row : Model.TariffRows)
            lstDialTimeTariff.AddRow({row.begin(), row.end()});
        shownRows_ = Model.TariffRows;
    }
    if (lstDialTimeTariff.SelectedRow() != Model.TariffListRow - 1 && Model.TariffListRow > 0)
        lstDialTimeTariff.SelectRow(Model.TariffListRow - 1);
    showingState_ = false;
}
