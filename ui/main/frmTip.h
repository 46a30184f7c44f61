// The tip-of-the-day window: one tip at a time from DuvTips.txt in the program's folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"

class frmTip : public forms::SingleForm<frmTip> {
public:
    frmTip();

    // Reads a tips file, one tip per line; false (reading nothing) when there is no such file.
    bool LoadTips(const std::string& fileName);
    void DoNextTip();
    void DoPrevTip();
    void DisplayCurrentTip();

    void cmdNextTip_Click() { DoNextTip(); }
    void btnPrevious_Click() { DoPrevTip(); }
    void chkLoadTipsAtStartup_Click();
    void btnReadme_Click();
    void Command1_Click();
    void cmdOK_Click() { Unload(); }

    std::int32_t CurrentTip() const { return currentTip_; }
    const std::vector<std::string>& Tips() const { return tips_; }

    forms::PictureBox Picture1;
    forms::Label Label1;
    forms::Label lblTipText;
    forms::CheckBox chkLoadTipsAtStartup;
    forms::Button cmdNextTip;
    forms::Button btnPrevious;
    forms::Button btnReadme;
    forms::Button Command1;
    forms::Button cmdOK;

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_Unload(bool& cancel) override;

private:
    std::vector<std::string> tips_;
    std::int32_t currentTip_ = 0;
    std::string keyPath_;
};

// The tips file's name in the program's folder.
inline constexpr const char* kTipsFileName = "DuvTips.txt";
