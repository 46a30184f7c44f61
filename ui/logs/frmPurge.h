// The purge window: removes the entries of a range of whole days from the modem log (or the
// open archive) after a Yes/No confirmation, in one of three modes.
#pragma once

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"
#include "ui/logs/PurgeModel.h"

class frmPurge : public forms::SingleForm<frmPurge> {
public:
    frmPurge();

    void optPurge_Click(int index);
    void MaskEdBox1_Change();
    void MaskEdBox2_Change(int index);
    void MaskEdBox3_Change();
    void btnOK_Click();
    void btnCancel_Click();

    const PurgeModel::PurgeRange& Range() const { return range_; }

    forms::OptionButton optPurge[4];  // 1 to 3
    forms::Frame FraPurge[4];         // 1 to 3
    forms::Label lbl1[1], lbl2[3], lbl3[2];
    forms::MaskedEdit MaskEdBox1[1], MaskEdBox2[2], MaskEdBox3[1];
    forms::Button btnOK;
    forms::Button btnCancel;

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_Activate() override;

private:
    void CheckOK();
    bool ProceedWithPurge();
    void DoPurge();
    // Reads a box; a valid date is clamped, the box shows the clamped date. False when the
    // box holds no valid date.
    bool ReadClamped(forms::MaskedEdit& box, PurgeModel::Bound bound, runtime::Date& date,
                     bool rewrite);

    PurgeModel::PurgeRange range_;
    bool writing_ = false;  // the window writes a box itself: its change is not the user's
    bool activated_ = false;
};
