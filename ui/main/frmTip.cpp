#include "ui/main/frmTip.h"

#include <fstream>
#include <iterator>
#include <limits>

#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/ErrorHandler.h"
#include "core/GeneralFunctions.h"
#include "core/MessageBox.h"
#include "core/Registry_Functions.h"
#include "core/RuntimeError.h"
#include "ui/forms/Dialogs.h"
#include "ui/forms/Shell.h"
#include "ui/main/Pictures.h"

namespace {

enum { idPicture = 10, idDidYouKnow, idTipText, idShowAtStartup, idNext, idPrevious, idReadme,
       idHelp, idOK };

constexpr unsigned kHelpFinder = 11;

forms::Form::Style TipStyle() {
    forms::Form::Style style;
    style.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    style.exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    style.widthTwips = 6600;
    style.heightTwips = 3700;
    return style;
}

frmTip* g_tip = nullptr;

std::string FolderFile(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() != '\\') return folder + "\\" + name;
    return folder + name;
}

}  // namespace

frmTip::frmTip() : Form("frmTip", TipStyle()) { g_tip = this; }

frmTip& frmTip::Get() { return forms::Instance<frmTip>(); }

frmTip* frmTip::IfLoaded() { return g_tip && g_tip->IsLoaded() ? g_tip : nullptr; }

void frmTip::CreateControls() {
    SetCaption("  DUV - Tip of the Day");
    tips_.clear();
    currentTip_ = 0;
    Picture1.Create(*this, idPicture);
    Picture1.SetBitmap(Pictures::MainPicture());
    Label1.Create(*this, idDidYouKnow, "Did you know...");
    Label1.SetFont("Arial", 12, true);
    lblTipText.Create(*this, idTipText, "");
    lblTipText.SetFont("Arial", 10);
    chkLoadTipsAtStartup.Create(*this, idShowAtStartup, "&Show Tips at Startup");
    cmdNextTip.Create(*this, idNext, "&Next Tip");
    btnPrevious.Create(*this, idPrevious, "&Previous");
    btnReadme.Create(*this, idReadme, "&Readme");
    Command1.Create(*this, idHelp, "&Help");
    cmdOK.Create(*this, idOK, "&OK", true);

    Picture1.Move(120, 120, 1700, 1300);
    Label1.Move(1980, 120, 3000, 360);
    lblTipText.Move(1980, 540, 3000, 1800);
    chkLoadTipsAtStartup.Move(120, 2820, 2600, 300);
    cmdNextTip.Move(5160, 120, 1250, 360);
    btnPrevious.Move(5160, 560, 1250, 360);
    btnReadme.Move(5160, 1000, 1250, 360);
    Command1.Move(5160, 1440, 1250, 360);
    cmdOK.Move(5160, 2780, 1250, 360);

    cmdNextTip.Click = [this] { cmdNextTip_Click(); };
    btnPrevious.Click = [this] { btnPrevious_Click(); };
    chkLoadTipsAtStartup.Click = [this] { chkLoadTipsAtStartup_Click(); };
    btnReadme.Click = [this] { btnReadme_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
}

void frmTip::Form_Load() {
    runtime::SetContext("frmTip", "Form_Load");
    runtime::Step("Check", [this] { chkLoadTipsAtStartup.SetValue(1); });
    keyPath_ = DUVMain::RegistryBaseKey + "\\General";
    runtime::Step("LastTip", [this] {
        Registry_Functions::Variant last =
            Registry_Functions::QueryValue(DUVMain::RegistryRoot, keyPath_, "LastTip");
        // A REG_DWORD reads as an unsigned number; keep its 32-bit value.
        currentTip_ = last.IsLong() ? static_cast<std::int32_t>(
                                          static_cast<std::uint32_t>(last.LongValue()))
                                    : 0;
    });
    std::string fileName = FolderFile(DUVMain::AppPath, kTipsFileName);
    bool loaded = false;
    runtime::Step("LoadTips", [&] { loaded = LoadTips(fileName); });
    if (!loaded) {
        lblTipText.SetText(std::string("That the ") + kTipsFileName + " file was not found? " +
                           "\r\n\r\n" + "Create a text file named " + kTipsFileName +
                           " using NotePad with 1 tip per line. " +
                           "Then place it in the same directory as the application. ");
    }
}

bool frmTip::LoadTips(const std::string& fileName) {
    runtime::SetContext("frmTip", "LoadTips");
    if (fileName.empty() || !GeneralFunctions::FileExists(fileName)) {
        return false;
    }
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        runtime::Raise(53);
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        runtime::Raise(57);
    }
    // A line ends with CR LF, CR or LF; a last line without its end is a tip too.
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            tips_.push_back(line);
            line.clear();
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty()) tips_.push_back(line);
    DoNextTip();
    return true;
}

void frmTip::DoNextTip() {
    std::int32_t count = static_cast<std::int32_t>(tips_.size());
    if (count == 0) {
        currentTip_ = 0;
        return;
    }
    // Whatever LastTip held, the number stays within 1 to the number of tips.
    if (currentTip_ < 1 || currentTip_ >= count) {
        currentTip_ = 1;
    } else {
        ++currentTip_;
    }
    DisplayCurrentTip();
}

void frmTip::DoPrevTip() {
    std::int32_t count = static_cast<std::int32_t>(tips_.size());
    if (count == 0) {
        currentTip_ = 0;
        return;
    }
    if (currentTip_ <= 1 || currentTip_ > count) {
        currentTip_ = count;
    } else {
        --currentTip_;
    }
    DisplayCurrentTip();
}

void frmTip::DisplayCurrentTip() {
    if (!tips_.empty() && currentTip_ >= 1 &&
        currentTip_ <= static_cast<std::int32_t>(tips_.size())) {
        lblTipText.SetText(tips_[static_cast<size_t>(currentTip_ - 1)]);
    }
}

void frmTip::chkLoadTipsAtStartup_Click() {
    DUVMain::Tips = chkLoadTipsAtStartup.Value() == 1;
    std::string key = DUVMain::RegistryBaseKey + "\\General";
    Registry_Functions::CreatNewKey(key, DUVMain::RegistryRoot);
    Registry_Functions::SetKeyValue(DUVMain::RegistryRoot, key, "Tips",
                                    DUVMain::Tips ? "True" : "False",
                                    Registry_Functions::REG_TYPE_SZ);
}

void frmTip::btnReadme_Click() {
    if (!forms::ShellOpen(FolderFile(DUVMain::AppPath, "readme.htm"))) {
        ShowMessage("Unable to open your 'Readme' file", msg::OkOnly);
    }
}

void frmTip::Command1_Click() { forms::ShowHelp(DUVMain::HelpFilePath, kHelpFinder); }

void frmTip::Form_Unload(bool&) {
    runtime::SetContext("frmTip", "Form_Unload");
    DUVMain::TipShown = true;
    keyPath_ = DUVMain::RegistryBaseKey + "\\General";
    if (currentTip_ < 0) currentTip_ = 0;
    runtime::Step("LastTip", [this] {
        Registry_Functions::CreatNewKey(keyPath_, DUVMain::RegistryRoot);
        Registry_Functions::SetKeyValue(DUVMain::RegistryRoot, keyPath_, "LastTip",
                                        static_cast<long long>(currentTip_),
                                        Registry_Functions::REG_TYPE_DWORD);
    });
}
