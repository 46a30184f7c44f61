// The splash window: the program's first window. It shows the splash picture and version,
// runs the start-up sequence from its load event, and shows its progress line; when no log
// was found it waits, blinking "Click to continue...", for a click or a key.
#pragma once

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"
#include "ui/forms/Gdi.h"

class frmSplash : public forms::SingleForm<frmSplash> {
public:
    frmSplash();

    void SplashTimer1_Timer();
    void Picture1_Click() { ContinueToMain(); }
    void SplashLabel1_Click() { ContinueToMain(); }

    forms::PictureBox Picture1;
    forms::Label LabelVersion;
    forms::Label SplashLabel1;
    forms::Timer SplashTimer1;

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_KeyPress(int ascii) override;
    void Form_Click() override { ContinueToMain(); }
    void Form_Unload(bool& cancel) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void ContinueToMain();
    forms::OwnedBrush pictureBrush_;  // the picture, as the labels' background
};
