// The About window: title, version, operating system, the owner's notices, the two links and
// the system-information button.
#pragma once

#include <string>

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"

class frmAbout : public forms::SingleForm<frmAbout> {
public:
    frmAbout();

    // The addresses the links show and open.
    static constexpr const char* WebAddress = "http://www.duvelo.example/";
    static constexpr const char* EmailAddress = "duvelo@duvelo.example";

    void cmdOK_Click();
    void cmdSysInfo_Click();
    void lblWWW_Click();
    void lblEmail_Click();
    void lblWWW_MouseMove();
    void lblEmail_MouseMove();
    // The pointer over the background or a label that is not a link.
    void Form_MouseMove();

    // Whether a link is shown bold (marked).
    bool LinkMarked(const forms::Label& link) const;

    forms::Label lblTitle[3];
    forms::Label lblVersion;
    forms::Label lblOS;
    forms::Label lblOwnerNotice;
    forms::Label lblRights;
    forms::Label lblWWW;
    forms::Label lblEmail;
    forms::Button cmdOK;
    forms::Button cmdSysInfo;

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_Activate() override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void StartSysInfo();
    void MarkLinks(bool web, bool email);
    bool webMarked_ = false;
    bool emailMarked_ = false;
};
