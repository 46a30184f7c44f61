#include "ui/main/frmAbout.h"

#include "core/AppInfo.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/ErrorHandler.h"
#include "core/GeneralFunctions.h"
#include "core/MessageBox.h"
#include "core/Registry_Functions.h"
#include "ui/forms/Declare.h"
#include "ui/forms/Shell.h"

namespace {

constexpr const char* kProgramTitle = "Duvelo";
constexpr registry::RegKey kLocalMachine = 0x80000002u;
constexpr const char* kOwnerNotice = "Duvelo is written and kept up by the Duvelo project.";
constexpr const char* kRights =
    "You may use and pass on this program freely. It comes with no warranty of any kind.";

}  // namespace

frmAbout::frmAbout() : SingleForm("frmAbout", forms::Form::Style::Dialog(5900, 4200)) {}

void frmAbout::CreateControls() {
    SetCaption("About Duvelo");
    webMarked_ = emailMarked_ = false;
    const forms::Look title{.font = "Times New Roman", .points = 20, .bold = true};
    // The other two titles keep the title for the window's other uses of it; not shown.
    const forms::Look hiddenTitle{
        .font = "Times New Roman", .points = 20, .bold = true, .hidden = true};
    const forms::Look link{.font = "Arial", .points = 8};
    using F = frmAbout;
    const forms::Events<frmAbout> background{.mouseMove = &F::Form_MouseMove};
    // clang-format off
    forms::Declare<frmAbout>(*this, {
        // control       caption            left  top  width height  tool tip                       parent   look                                          events
        {lblTitle[0],    "Duvelo",          {240, 120, 3000, 540},   {},                            nullptr, title,                                        background},
        {lblTitle[1],    "Duvelo",          {},                      {},                            nullptr, hiddenTitle,                                  background},
        {lblTitle[2],    "Duvelo",          {},                      {},                            nullptr, hiddenTitle,                                  background},
        {lblVersion,     "",                {240, 700, 3000, 260},   {},                            nullptr, {},                                           background},
        {lblOS,          "",                {240, 980, 5200, 260}},
        {lblOwnerNotice, kOwnerNotice,      {240, 1440, 5300, 260},  {},                            nullptr, {},                                           background},
        {lblRights,      kRights,           {240, 1720, 5300, 480},  {},                            nullptr, {},                                           background},
        {lblWWW,         WebAddress,        {240, 2320, 3600, 260},  "Connect to the DUV Web Site", nullptr, link,                                         {.click = &F::lblWWW_Click, .mouseMove = &F::lblWWW_MouseMove}},
        {lblEmail,       EmailAddress,      {240, 2620, 3600, 260},  "Email me",                    nullptr, link,                                         {.click = &F::lblEmail_Click, .mouseMove = &F::lblEmail_MouseMove}},
        {cmdOK,          "OK",              {4200, 2900, 1300, 360}, {},                            nullptr, {.style = BS_DEFPUSHBUTTON, .cancel = true},  {.click = &F::cmdOK_Click}},
        {cmdSysInfo,     "&System Info...", {4200, 3340, 1300, 360}, {},                            nullptr, {},                                           {.click = &F::cmdSysInfo_Click}},
    });
    // clang-format on
}

void frmAbout::Form_Load() {
    runtime::SetContext("frmAbout", "Form_Load");
    runtime::Step("Caption", [this] { SetCaption(std::string("About ") + kProgramTitle); });
    runtime::Step("Version", [this] {
        lblVersion.SetText("Version " + std::to_string(AppInfo::Major) + "." +
                           std::to_string(AppInfo::Minor) + "." +
                           std::to_string(AppInfo::Revision));
    });
    runtime::Step("Title", [this] {
        for (forms::Label& title : lblTitle)
            title.SetText(kProgramTitle);
    });
    runtime::Step("OS", [this] { lblOS.SetText(DUVMain::OSVersionText); });
}

void frmAbout::Form_Activate() { forms::SetHourglass(false); }

void frmAbout::cmdOK_Click() { Unload(); }

void frmAbout::cmdSysInfo_Click() { StartSysInfo(); }

void frmAbout::StartSysInfo() {
    using Registry_Functions::QueryValue;
    std::string path =
        QueryValue(kLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH").Text();
    if (path.empty()) {
        path = QueryValue(kLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO")
                   .Text();
    }
    if (!path.empty()) {
        if (GeneralFunctions::FileExists(path)) {
            forms::ShellOpen(path);
            return;
        }
        if (GeneralFunctions::FileExists(path + "\\MSINFO32.EXE")) {
            forms::ShellOpen(path + "\\MSINFO32.EXE");
            return;
        }
    }
    ShowMessage("System Information Is Unavailable At This Time", msg::OkOnly);
}

void frmAbout::lblWWW_Click() {
    if (!forms::ShellOpen(WebAddress)) {
        ShowMessage("Unable to open your Web Browser", msg::OkOnly);
    }
}

void frmAbout::lblEmail_Click() {
    if (!forms::ShellOpen(std::string("mailto:") + EmailAddress)) {
        ShowMessage("Unable to open your Email program", msg::OkOnly);
    }
}

void frmAbout::MarkLinks(bool web, bool email) {
    if (web != webMarked_) {
        webMarked_ = web;
        lblWWW.SetBold(web);
    }
    if (email != emailMarked_) {
        emailMarked_ = email;
        lblEmail.SetBold(email);
    }
}

void frmAbout::lblWWW_MouseMove() { MarkLinks(true, false); }
void frmAbout::lblEmail_MouseMove() { MarkLinks(false, true); }
void frmAbout::Form_MouseMove() { MarkLinks(false, false); }

bool frmAbout::LinkMarked(const forms::Label& link) const {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(link.hwnd(), WM_GETFONT, 0, 0));
    LOGFONTA lf = {};
    return font && GetObjectA(font, sizeof(lf), &lf) && lf.lfWeight >= FW_BOLD;
}

bool frmAbout::OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    if (msg == WM_MOUSEMOVE) {
        Form_MouseMove();
        result = 0;
        return true;
    }
    return Form::OnMessage(msg, wp, lp, result);
}
