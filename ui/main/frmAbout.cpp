#include "ui/main/frmAbout.h"

#include "core/AppInfo.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/ErrorHandler.h"
#include "core/GeneralFunctions.h"
#include "core/MessageBox.h"
#include "core/Registry_Functions.h"
#include "ui/forms/Shell.h"

namespace {

enum {
    idTitle0 = 10, idTitle1, idTitle2, idVersion, idOS, idOwner, idRights, idWWW, idEmail,
    idOK, idSysInfo
};

constexpr const char* kProgramTitle = "Duvelo";
constexpr registry::RegKey kLocalMachine = 0x80000002u;

forms::Form::Style AboutStyle() {
    forms::Form::Style style;
    style.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    style.exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    style.widthTwips = 5900;
    style.heightTwips = 4200;
    return style;
}

frmAbout* g_about = nullptr;

}  // namespace

frmAbout::frmAbout() : Form("frmAbout", AboutStyle()) { g_about = this; }

frmAbout& frmAbout::Get() { return forms::Instance<frmAbout>(); }

frmAbout* frmAbout::IfLoaded() { return g_about && g_about->IsLoaded() ? g_about : nullptr; }

void frmAbout::CreateControls() {
    SetCaption("About Duvelo");
    webMarked_ = emailMarked_ = false;
    for (int i = 0; i < 3; ++i) {
        lblTitle[i].Create(*this, idTitle0 + i, "Duvelo");
        lblTitle[i].MouseMove = [this](int, int, int, int) { Form_MouseMove(); };
    }
    lblVersion.Create(*this, idVersion, "");
    lblOS.Create(*this, idOS, "");
    lblOwnerNotice.Create(*this, idOwner,
                          "Duvelo is written and kept up by the Duvelo project.");
    lblRights.Create(*this, idRights,
                     "You may use and pass on this program freely. It comes with no "
                     "warranty of any kind.");
    lblWWW.Create(*this, idWWW, WebAddress);
    lblWWW.SetToolTip("Connect to the DUV Web Site");
    lblEmail.Create(*this, idEmail, EmailAddress);
    lblEmail.SetToolTip("Email me");
    cmdOK.Create(*this, idOK, "OK", true);
    cmdSysInfo.Create(*this, idSysInfo, "&System Info...");

    lblTitle[0].SetFont("Times New Roman", 20, true);
    lblTitle[1].SetFont("Times New Roman", 20, true);
    lblTitle[2].SetFont("Times New Roman", 20, true);
    lblTitle[0].Move(240, 120, 3000, 540);
    // The other two keep the title for the window's other uses of it; they are not shown.
    lblTitle[1].SetVisible(false);
    lblTitle[2].SetVisible(false);
    lblVersion.Move(240, 700, 3000, 260);
    lblOS.Move(240, 980, 5200, 260);
    lblOwnerNotice.Move(240, 1440, 5300, 260);
    lblRights.Move(240, 1720, 5300, 480);
    lblWWW.Move(240, 2320, 3600, 260);
    lblEmail.Move(240, 2620, 3600, 260);
    cmdOK.Move(4200, 2900, 1300, 360);
    cmdSysInfo.Move(4200, 3340, 1300, 360);
    lblWWW.SetFont("Arial", 8);
    lblEmail.SetFont("Arial", 8);

    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdSysInfo.Click = [this] { cmdSysInfo_Click(); };
    lblWWW.Click = [this] { lblWWW_Click(); };
    lblEmail.Click = [this] { lblEmail_Click(); };
    lblWWW.MouseMove = [this](int, int, int, int) { lblWWW_MouseMove(); };
    lblEmail.MouseMove = [this](int, int, int, int) { lblEmail_MouseMove(); };
    for (forms::Label* label : {&lblOwnerNotice, &lblRights, &lblVersion}) {
        label->MouseMove = [this](int, int, int, int) { Form_MouseMove(); };
    }
    DUVMain::RegisterWindowUnload("frmAbout", [] { return frmAbout::IfLoaded() != nullptr; },
                                  [] {
                                      if (frmAbout* about = frmAbout::IfLoaded()) about->Unload();
                                  });
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
        for (forms::Label& title : lblTitle) title.SetText(kProgramTitle);
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
