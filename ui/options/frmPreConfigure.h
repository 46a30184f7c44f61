// The modem set-up wizard: four pages stacked in one place (introduction, installed modems,
// current against recommended settings, finished), Back/Cancel and Next/Finish/OK, and the
// blinking recommendation. What it shows and writes comes from PreConfigureModel::Wizard.
#pragma once

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"
#include "ui/options/PreConfigureModel.h"

class frmPreConfigure : public forms::SingleForm<frmPreConfigure> {
public:
    frmPreConfigure();

    void btnNext_Click();
    void btnCancel_Click();
    void Check1_Click();
    void Timer1_Timer();

    // The wizard's state (step, selected modem, what the pages show).
    const PreConfigureModel::Wizard& Model() const { return model_; }

    forms::Frame fraCheck[4];
    forms::Label RichTextBox1;
    forms::Label Label2;
    forms::Label Label1;
    forms::ListBox lstModems;
    forms::Label lblSelModem;
    forms::Frame fraCurrent;
    forms::Label lblCurrentLoggingTitle, lblCurrentEchoTitle;
    forms::Label lblCurrentLogging, lblCurrentEcho;
    forms::PictureBox ImgCurrentLogging, imgCurrentEcho;
    forms::Frame fraRecommended;
    forms::Label lblRecLoggingTitle, lblRecEchoTitle;
    forms::Label lblRecLogging, lblRecEcho;
    forms::PictureBox imgRecLogging, imgRecEcho;
    forms::Label RichTextBox2;
    forms::Label RichTextBox3;
    forms::CheckBox Check1;
    forms::Button btnCancel;
    forms::Button btnNext;
    forms::Timer Timer1;

protected:
    void CreateControls() override;
    void Form_Load() override;

private:
    // Shows the model's state: the step's page, captions, texts, labels and pictures.
    void ShowState();
    PreConfigureModel::Wizard model_;
};

// Installs the wizard as the modem check's window.
void RegisterPreConfigureWindow();
