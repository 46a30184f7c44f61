// The repair window: rewrites a damaged modem log (or the open archive) without its damaged
// bytes and its blank and undated lines, showing each step, then waits for OK.
#pragma once

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"

class frmFileRepair : public forms::SingleForm<frmFileRepair> {
public:
    frmFileRepair();

    void btnOK_Click();

    forms::Label lblFileRepair;
    forms::ProgressBar ProgressBar;
    forms::Button btnOK;

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_Activate() override;

private:
    bool repairRun_ = false;  // the repair runs once per opening of the window
};
