#include "ui/logs/frmViewLog.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <utility>

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/ErrorHandler.h"
#include "core/MessageBox.h"
#include "core/Runtime.h"
#include "core/RuntimeError.h"
#include "core/SafeWrite.h"
#include "core/win32/PlatformHelpers.h"
#include "ui/forms/Declare.h"
#include "ui/forms/Dialogs.h"
#include "ui/forms/Pictures.h"
#include "ui/logs/frmFind.h"

namespace {

constexpr unsigned long kSaveFlags = 0x2 | 0x4;  // prompt before overwriting, hide read-only
constexpr int kTextFileFontSize = 8;

forms::Form::Style ViewLogStyle() {
    forms::Form::Style style;
    style.widthTwips = 6000;
    style.heightTwips = 4300;
    return style;
}

frmViewLog::MainWindowLink& Link() {
    static frmViewLog::MainWindowLink link;
    return link;
}

// The viewer as the search sees it.
class ViewerSearch : public ViewLogModel::SearchTarget {
public:
    explicit ViewerSearch(frmViewLog& viewer)
        : viewer_(viewer), text_(viewer.TextViewLog.ControlText()) {}
    std::string_view Text() override { return text_; }
    std::int64_t SelStart() override { return viewer_.TextViewLog.SelStart(); }
    void Select(std::int64_t start, std::int64_t length) override {
        viewer_.TextViewLog.SetSel(start, length);
    }
    void CloseFindWindow() override {
        if (frmFind* find = frmFind::IfLoaded())
            find->Unload();
    }

private:
    frmViewLog& viewer_;
    std::string text_;
};

}  // namespace

namespace DUVMain {
void FindLogText() {
    if (frmViewLog* viewer = frmViewLog::IfLoaded()) {
        ViewerSearch target(*viewer);
        ViewLogModel::FindLogText(target);
    }
}
}  // namespace DUVMain

frmViewLog::frmViewLog() : SingleForm("frmViewLog", ViewLogStyle()) { DeclareCommands(); }

frmViewLog::MainWindowLink frmViewLog::SetMainWindowLink(MainWindowLink link) {
    return std::exchange(Link(), std::move(link));
}

void frmViewLog::TellMainWindow(bool open) const {
    if (Link())
        Link()(mode_, open);
}

void frmViewLog::DeclareCommands() {
    using C = Command;
    using F = frmViewLog;
    using P = Pictures::ToolbarImage;
    using forms::kGap;
    // clang-format off
    commands_.Declare(*this, {
        // level  menu item   caption                      command          name            procedure                     toolbar button: key, tool tip, picture, gap before   shortcut
        {0, &mnuFile,              "&File"},
        {1, &mnuSave,              "&Save\tCtrl+S",             C::Save,         "Save",         &F::mnuSave_Click,            {"Save", "Save", P::ImageSave, kGap},        FCONTROL, 'S'},
        {1, &mnuSaveArchive,       "Save as Archive",           C::SaveArchive,  "SaveArchive",  &F::mnuSaveArchive_Click},
        {1, &mnuFileSeparator,     "-"},
        {1, &mnuExit,              "&Close\tCtrl+X",            C::Exit,         "Exit",         &F::mnuExit_Click,            {"Exit", "Close", P::ImageExit},             FCONTROL, 'X'},
        {0, &mnuEdit,              "&Edit"},
        {1, &mnuCut,               "&Cut\tCtrl+T",              C::Cut,          "Cut",          &F::mnuCut_Click,             {},                                          FCONTROL, 'T'},
        {1, &mnuCopy,              "&Copy\tCtrl+C",             C::Copy,         "Copy",         &F::mnuCopy_Click,            {},                                          FCONTROL, 'C'},
        {1, &mnuPaste,             "&Paste\tCtrl+V",            C::Paste,        "Paste",        &F::mnuPaste_Click,           {},                                          FCONTROL, 'V'},
        {1, &mnuEditSeparator,     "-"},
        {1, &mnuSelectAll,         "Select All\tCtrl+A",        C::SelectAll,    "SelectAll",    &F::mnuSelectAll_Click,       {},                                          FCONTROL, 'A'},
        {0, &mnuSearch,            "&Search"},
        {1, &mnuSearchFind,        "&Find\tF2",                 C::Find,         "Find",         &F::mnuSearchFind_Click,      {"Search", "Search", P::ImageSearch, kGap},  0,        VK_F2},
        {1, &mnuSearchFindNext,    "Find &Next\tF3",            C::FindNext,     "FindNext",     &F::mnuSearchFindNext_Click,  {},                                          0,        VK_F3},
        {1, &mnuSearchSeparator,   "-"},
        {1, &mnuTop,               "&Top",                      C::Top,          "Top",          &F::mnuTop_Click},
        {1, &mnuBottom,            "&Bottom",                   C::Bottom,       "Bottom",       &F::mnuBottom_Click},
        {0, &mnuSettings,          "S&ettings"},
        {1, &mnuFont,              "&Font\tCtrl+F",             C::Font,         "Font",         &F::mnuFont_Click,            {},                                          FCONTROL, 'F'},
        {1, &mnuSettingsSeparator, "-"},
        {1, &mnuSaveSettings,      "&Save on Exit",             C::SaveSettings, "SaveSettings", &F::mnuSaveSettings_Click},
        {1, &mnuRestore,           "&Restore Defaults\tCtrl+D", C::Restore,      "Restore",      &F::mnuRestore_Click,         {},                                          FCONTROL, 'D'},
    });
    // clang-format on
}

void frmViewLog::CreateControls() {
    SetCaption("DUV - View Modem Log");
    commands_.CreateMenuBar(*this);
    Toolbar1.SetButtons(Pictures::ToolbarImages(), commands_.ToolbarButtons());
    using F = frmViewLog;
    // The toolbar and status bar dock; the text box is laid out in Form_Resize.
    // clang-format off
    forms::Declare<frmViewLog>(*this, {
        // control    caption  place  tool tip  parent   look  events
        {Toolbar1,    "",      {},    {},       nullptr},
        {StatusBar1,  "",      {},    {},       nullptr},
        {TextViewLog, "",      {},    {},       nullptr, {},   {.change = &F::TextViewLog_Change, .gotFocus = &F::SetEditMode}},
    });
    // clang-format on
    Toolbar1.ButtonClick = [this](const std::string& key) { Toolbar1_ButtonClick(key); };
    StatusBar1.SetPanels({2600, 4400, 5600, 6200, 6800, 7400, -1});
}

// A text file is shown read-only by a flag of the viewer's own: the EditLog option stays.
bool frmViewLog::Editable() const {
    return mode_ != ViewLogModel::Mode::TextFile && DUVMain::EditLog && !hasNul_;
}

void frmViewLog::SetSaveEnabled(bool enabled) {
    mnuSave.SetEnabled(enabled);
    Toolbar1.SetButtonEnabled(ToolbarPosition(Command::Save), enabled);
}

void frmViewLog::ApplyFont(const std::string& name, int points, bool bold, bool italic) {
    fontName_ = name;
    fontSize_ = points;
    fontBold_ = bold;
    fontItalic_ = italic;
    TextViewLog.SetTextFont(name, points, bold, italic);
}

void frmViewLog::Form_Load() {
    runtime::SetContext("frmViewLog", "Form_Load");
    runtime::Step("Flat", [this] {
        if (DUVMain::FlatToolbars)
            FlatToolBar::MakeToolbarFlat(Toolbar1.hwnd(), 1);
    });
    mode_ = ViewLogModel::ModeFor(DUVMain::TextFileDir, DUVMain::ArchiveOpen);
    if (mode_ == ViewLogModel::Mode::TextFile) {
        SetCaption(ViewLogModel::Caption(mode_, DUVMain::TextFileTitle));
        TellMainWindow(true);
        for (forms::MenuItem* item : {&mnuSave, &mnuSaveArchive, &mnuRestore, &mnuSaveSettings})
            item->SetEnabled(false);
        SetSaveEnabled(false);
        ApplyFont("courier new", kTextFileFontSize, false, false);
        runtime::Step("OpenLogFile",
                      [this] { OpenLogFile(DUVMain::TextFileDir + DUVMain::TextFileTitle); });
        SetEditMode();
        StatusUpdate();
        DUVMain::ViewingTextFile = true;
        DUVMain::TextFileDir.clear();
        DUVMain::TextFileTitle.clear();
        return;
    }
    DUVMain::ViewingLog = true;
    mnuSaveSettings.SetChecked(DUVMain::ViewLogSaveSettings);
    SetCaption(ViewLogModel::Caption(mode_, DUVMain::LogFileTitle));
    TellMainWindow(true);
    ApplyFont(DUVMain::ViewLogFontName, DUVMain::ViewLogFontSize, DUVMain::ViewLogFontBold,
              DUVMain::ViewLogFontItalic);
    SetSize(DUVMain::ViewLogWinWidth, DUVMain::ViewLogWinHeight);
    if (DUVMain::ViewLogWinState == 1)
        ShowWindow(hwnd(), SW_MINIMIZE);
    else if (DUVMain::ViewLogWinState == 2)
        ShowWindow(hwnd(), SW_MAXIMIZE);
    runtime::Step("OpenLogFile", [this] { OpenLogFile(DUVMain::LogFilePath); });
    SetEditMode();
    SetSaveEnabled(false);
    StatusUpdate();
}

void frmViewLog::Form_Activate() {
    Toolbar1.SetEnabled(DUVMain::ShowToolbars);
    Toolbar1.SetVisible(DUVMain::ShowToolbars);
    Form_Resize();
}

void frmViewLog::Form_Resize() {
    if (!hwnd() || IsIconic(hwnd()))
        return;
    SendMessageA(Toolbar1.hwnd(), TB_AUTOSIZE, 0, 0);
    StatusBar1.Reposition();
    int toolbar = DUVMain::ShowToolbars ? Toolbar1.Height() : 0;
    TextViewLog.Move(0, toolbar + 50, ScaleWidth(),
                     std::max(0, ScaleHeight() - StatusBar1.Height() - toolbar - 50));
}

void frmViewLog::OpenLogFile(const std::string& path) {
    forms::BusyCursor busy;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        runtime::Raise(53);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad())
        runtime::Raise(57);
    hasNul_ = ViewLogModel::HasNulBytes(bytes);
    loading_ = true;
    TextViewLog.SetText(ViewLogModel::ShownText(std::move(bytes)));
    TextViewLog.SetTextFont(fontName_, fontSize_, fontBold_, fontItalic_);
    loading_ = false;
    loadedPath_ = path;
    if (hasNul_)
        mnuSaveArchive.SetEnabled(false);
}

bool frmViewLog::SaveLogFile(const std::string& path) {
    forms::BusyCursor busy;
    safe_write::Result result =
        safe_write::WriteFile(path, ViewLogModel::FileContents(TextViewLog.PlainText()));
    if (!result) {
        ShowMessage("The file " + path + " could not be written; it is left as it was.",
                    msg::OkOnly | msg::IconExclamation);
        return false;
    }
    SetSaveEnabled(false);
    return true;
}

void frmViewLog::SetEditMode() {
    const bool editable = Editable();
    TextViewLog.SetLocked(!editable);
    mnuPaste.SetEnabled(editable);
    mnuCut.SetEnabled(editable);
}

// The control counts its panels from 0: the font panel is the first.
void frmViewLog::StatusUpdate() {
    StatusBar1.SetPanelText(0,
                            ViewLogModel::FontPanel(fontName_, fontSize_, fontBold_, fontItalic_));
    StatusBar1.SetPanelText(1, ViewLogModel::EditPanel(Editable()));
    StatusBar1.SetPanelText(2, ViewLogModel::KeyPanel("CAPS", (GetKeyState(VK_CAPITAL) & 1) != 0));
    StatusBar1.SetPanelText(3, ViewLogModel::KeyPanel("NUM", (GetKeyState(VK_NUMLOCK) & 1) != 0));
    StatusBar1.SetPanelText(4, ViewLogModel::KeyPanel("INS", (GetKeyState(VK_INSERT) & 1) == 0));
    StatusBar1.SetPanelText(5, ViewLogModel::KeyPanel("SCRL", (GetKeyState(VK_SCROLL) & 1) != 0));
}

bool frmViewLog::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    // The key-state panels follow the keyboard.
    if (msg == WM_KEYUP || msg == WM_ACTIVATE)
        StatusUpdate();
    return Form::OnMessage(msg, wp, lp, result);
}

void frmViewLog::TextViewLog_Change() {
    if (!loading_ && mode_ != ViewLogModel::Mode::TextFile)
        SetSaveEnabled(true);
}

void frmViewLog::mnuSave_Click() { AskToSave(); }

bool frmViewLog::AskToSave() {
    int answer = ShowMessage("Save Changes to Modem Log File?", msg::YesNo);
    DUVMain::MessageAnswer = std::to_string(answer);
    return answer != msg::Yes || SaveLogFile(loadedPath_);
}

void frmViewLog::mnuSaveArchive_Click() {
    forms::FileDialogRequest request;
    request.save = true;
    request.flags = kSaveFlags;
    request.initialDir = DUVMain::AppPath;
    request.filter = ViewLogModel::kArchiveFilter;
    request.fileName =
        ViewLogModel::DefaultArchiveName(DUVMain::FirstEntryDate, DUVMain::LastEntryDate);
    auto chosen = forms::ShowFileDialog(request);
    if (!chosen)
        return;
    forms::BusyCursor busy;
    if (!safe_write::WriteFile(chosen->fileName,
                               ViewLogModel::FileContents(TextViewLog.PlainText())))
        ShowMessage("The archive " + chosen->fileName + " could not be written.",
                    msg::OkOnly | msg::IconExclamation);
}

void frmViewLog::mnuSelectAll_Click() { TextViewLog.SetSel(0, -1); }

void frmViewLog::mnuBottom_Click() {
    long long length = static_cast<long long>(TextViewLog.ControlText().size());
    TextViewLog.SetSel(std::max(0LL, length - 1), 0);
}

void frmViewLog::mnuSearchFind_Click() {
    frmFind& find = frmFind::Get();
    find.Load();
    std::string selected =
        TextViewLog.SelLength() > 0 ? TextViewLog.SelText() : DUVMain::SearchText;
    find.Text1.SetText(selected);
    DUVMain::SearchIsNew = true;
    if (DUVMain::SearchMatchCase != 0)
        find.chkCase.SetValue(1);
    find.ShowModal();
}

void frmViewLog::mnuSearchFindNext_Click() {
    if (DUVMain::SearchText.empty()) {
        mnuSearchFind_Click();
    } else {
        DUVMain::FindLogText();
    }
}

void frmViewLog::mnuFont_Click() {
    forms::FontChoice chosen =
        forms::ShowFontDialog({fontName_, fontSize_, fontBold_, fontItalic_});
    ApplyFont(chosen.name, chosen.points, chosen.bold, chosen.italic);
    StatusUpdate();
}

void frmViewLog::mnuSaveSettings_Click() {
    DUVMain::ViewLogSaveSettings = !DUVMain::ViewLogSaveSettings;
    mnuSaveSettings.SetChecked(DUVMain::ViewLogSaveSettings);
}

void frmViewLog::mnuRestore_Click() {
    DUVMain::SetViewLogDefaults();
    ApplyFont(DUVMain::ViewLogFontName, DUVMain::ViewLogFontSize, DUVMain::ViewLogFontBold,
              DUVMain::ViewLogFontItalic);
    mnuSaveSettings.SetChecked(DUVMain::ViewLogSaveSettings);
    SetSize(DUVMain::ViewLogWinWidth, DUVMain::ViewLogWinHeight);
    StatusUpdate();
}

void frmViewLog::Form_Unload(bool& cancel) {
    runtime::SetContext("frmViewLog", "Form_Unload");
    if (frmFind* find = frmFind::IfLoaded())
        find->Unload();
    if (DUVMain::ViewingTextFile) {
        DUVMain::ViewingTextFile = false;
        RestoreMainWindow();
        return;
    }
    // A save that failed (and said so) keeps the window open with the text as it is; the
    // program's end on an error closes it all the same.
    if (mnuSave.Enabled() && !AskToSave() && !DUVMain::EndingOnError()) {
        cancel = true;
        return;
    }
    ViewLogModel::ShownWindow shown;
    shown.FontName = fontName_;
    shown.FontSize = fontSize_;
    shown.Bold = fontBold_;
    shown.Italic = fontItalic_;
    shown.State = IsZoomed(hwnd()) ? 2 : IsIconic(hwnd()) ? 1 : 0;
    shown.Height = Height();
    shown.Width = Width();
    ViewLogModel::StoreOnClose(shown);
    DUVMain::ViewingLog = false;
    RestoreMainWindow();
}
