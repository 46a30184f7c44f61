// The Find window of the log viewer: the text to find, the direction and the case option.
#pragma once

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"

class frmFind : public forms::SingleForm<frmFind> {
public:
    frmFind();

    void Text1_Change();
    void chkCase_Click();
    void optDirection_Click(int index);
    void cmdFind_Click();
    void cmdCancel_Click();

    forms::Label Label1;
    forms::TextBox Text1;
    forms::Frame Frame1;
    forms::OptionButton optDirection[2];  // 0 up, 1 down
    forms::CheckBox chkCase;
    forms::Button cmdFind;
    forms::Button cmdcancel;

protected:
    void CreateControls() override;
    void Form_Load() override;
};
