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
#include "ui/forms/Declare.h"
#include "ui/forms/Dialogs.h"
#include "ui/forms/Pictures.h"
#include "ui/forms/Shell.h"

namespace {

constexpr unsigned kHelpFinder = 11;

std::string FolderFile(const std::string& folder, const std::string& name) {
    if (!folder.empty() && folder.back() != '\\')
        return folder + "\\" + name;
    return folder + name;
}

}  // namespace

frmTip::frmTip() : SingleForm("frmTip", forms::Form::Style::Dialog(6600, 3700)) {}

void frmTip::CreateControls() {
    SetCaption("  DUV - Tip of the Day");
    tips_.clear();
    currentTip_ = 0;
    using F = frmTip;
    // clang-format off
    forms::Declare<frmTip>(*this, {
        // control             caption                  left  top  width height  tip parent   look                                           events
        {Picture1,             "",                      {120, 120, 1700, 1300}},
        {Label1,               "Did you know...",       {1980, 120, 3000, 360},  {}, nullptr, {.font = "Arial", .points = 12, .bold = true}},
        {lblTipText,           "",                      {1980, 540, 3000, 1800}, {}, nullptr, {.font = "Arial", .points = 10}},
        {chkLoadTipsAtStartup, "&Show Tips at Startup", {120, 2820, 2600, 300},  {}, nullptr, {},                                            {.click = &F::chkLoadTipsAtStartup_Click}},
        {cmdNextTip,           "&Next Tip",             {5160, 120, 1250, 360},  {}, nullptr, {},                                            {.click = &F::cmdNextTip_Click}},
        {btnPrevious,          "&Previous",             {5160, 560, 1250, 360},  {}, nullptr, {},                                            {.click = &F::btnPrevious_Click}},
        {btnReadme,            "&Readme",               {5160, 1000, 1250, 360}, {}, nullptr, {},                                            {.click = &F::btnReadme_Click}},
        {Command1,             "&Help",                 {5160, 1440, 1250, 360}, {}, nullptr, {},                                            {.click = &F::Command1_Click}},
        {cmdOK,                "&OK",                   {5160, 2780, 1250, 360}, {}, nullptr, {.style = BS_DEFPUSHBUTTON, .cancel = true},   {.click = &F::cmdOK_Click}},
    });
    // clang-format on
    Picture1.SetBitmap(Pictures::MainPicture());
}

void frmTip::Form_Load() {
    runtime::SetContext("frmTip", "Form_Load");
    runtime::Step("Check", [this] { chkLoadTipsAtStartup.SetValue(1); });
    keyPath_ = DUVMain::RegistryBaseKey + "\\General";
    runtime::Step("LastTip", [this] {
        Registry_Functions::Variant last =
            Registry_Functions::QueryValue(DUVMain::RegistryRoot, keyPath_, "LastTip");
        // A REG_DWORD reads as an unsigned number; keep its 32-bit value.
        currentTip_ = last.IsLong()
                          ? static_cast<std::int32_t>(static_cast<std::uint32_t>(last.LongValue()))
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
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty())
        tips_.push_back(line);
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
    if (currentTip_ < 0)
        currentTip_ = 0;
    runtime::Step("LastTip", [this] {
        Registry_Functions::CreatNewKey(keyPath_, DUVMain::RegistryRoot);
        Registry_Functions::SetKeyValue(DUVMain::RegistryRoot, keyPath_, "LastTip",
                                        static_cast<long long>(currentTip_),
                                        Registry_Functions::REG_TYPE_DWORD);
    });
}
