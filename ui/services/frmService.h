// The service editor: one dialled service on four tabs (details, dial-up cost with its tariff
// list, service cost, warnings). Its rules are ServiceEditorModel's; the window shows them.
#pragma once

#include <functional>

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"
#include "ui/forms/ListView.h"
#include "ui/forms/TabStrip.h"
#include "ui/services/ModelBinding.h"
#include "ui/services/ServiceEditorModel.h"

class frmService : public forms::SingleForm<frmService> {
public:
    frmService();

    // Shows the editor modally: for a new service when DUVMain::ServiceIsNew, otherwise for
    // the service of the options window's selected list row (1-based, from selectedRow).
    // DUVMain::ServiceEditCancelled then tells whether the service was stored.
    static void ShowEditor(std::function<int()> selectedRow);

    ServiceEditorModel::ServiceEditor Model;

    forms::TabStrip TabStrip1;
    forms::Frame fraService[4];
    forms::Button btnOK, btnCancel;
    // Service Details
    forms::Label lblDescription, lblNumber, lblAltNumber, lblNotice[2];
    forms::TextBox txtDescription, txtNumber, txtAltNumber;
    forms::PictureBox imgService;
    // Dial-up Cost
    forms::OptionButton optDialCost[2];
    forms::Frame fraFixedTariff, fraTimeTariff;
    forms::Label lbDialFixedTariff0, lblDialFixedTariff1, lblDialTimeTariff9;
    forms::TextBox txtDialFixedTariff;
    forms::ListView lstDialTimeTariff;
    forms::Button btnDialTimeTariffNew, btnDialTimeTariffEdit, btnDialTimeTariffDelete;
    // Service Cost
    forms::OptionButton optServiceCost[2];
    forms::Frame fraFlatRate, fraFlexiRate, fraPerMeg, fraFreePeriod, fraBlock;
    forms::Label lblServiceFixedRate1, lblServiceFixedRate2, lblServiceFlexRate1,
        lblServiceFlexRate2, lblServiceFlexRate3, lblServiceFlexRate4, lblServiceFlexRate5,
        lblPerMeg1, lblPerMeg2, lblPerMeg4, lblFreePeriod1, lblFreePeriod2, lblServiceBlock1,
        lblServiceBlock2;
    forms::TextBox txtServiceFixedRate, txtServiceFlexRate, txtServiceFlexHours,
        txtServiceFlexRate2, txtPerMeg, txtAfterMeg, txtServiceBlock;
    forms::ComboBox lstServiceFlexPeriod, lstMegPeriod, lstFreePeriodStart, lstFreePeriodEnd;
    forms::CheckBox chkFreePeriod;
    // Warnings
    forms::CheckBox chkWarnings, chkWarnDisplay, chkWarnSound;
    forms::OptionButton optWarning[4];
    forms::TextBox txtWarningHours, txtWarningMinutes, txtWarndialupCost, txtWarnServiceCost,
        txtWarnData, txtWarningSound;
    forms::Label lblWarnHours, lblWarnMinutes, lblCurrencySymbol[2], lblKB, lblWarnNotes;
    forms::Button btnWarnBrowse, btnWarnPlay;

    void TabStrip1_Click();
    void lstDialTimeTariff_Click();
    void lstDialTimeTariff_DblClick();

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(bool& cancel) override;
    void Form_KeyDown(int key, int shift) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    // Shows the model's state: controls, caption, tab, tariff rows.
    void ShowState();

    services_ui::ModelBinding binding_;
    std::function<int()> selectedRow_;
    std::vector<std::array<std::string, 6>> shownRows_;
    bool showingState_ = false;
};
