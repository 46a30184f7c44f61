// The tariff editor: one time-of-day tariff of the service being edited, on the service
// editor's working tariffs. Its rules are TariffEditorModel's; the window shows them.
#pragma once

#include "ui/forms/Controls.h"
#include "ui/forms/Form.h"
#include "ui/services/ModelBinding.h"
#include "ui/services/TariffEditorModel.h"

class frmTariff : public forms::SingleForm<frmTariff> {
public:
    frmTariff();

    TariffEditorModel::TariffEditor Model;

    forms::Label lblDialTimeTariff10, lblDialTimeTariff1, lblDialTimeTariff7, lblDialTimeTariff8,
        lblDialTimeTariff3, lblDialTimeTariff4, lblDialTimeTariff5, lblDialTimeTariff6,
        lblDialTimeTariff9, lblDialTimeTariff11, lblDialTimeTariff12, lblAssist;
    forms::ComboBox lstDialTimeTariffDescrip, lstDialTimeTariffDialDays, lstDialTimeTariffDialStart,
        lstDialTimeTariffDialEnd, lstDialTimeTariffUnit;
    forms::TextBox txtDialTimeTariffDialRate, txtDialTimeTariffMinuteRate,
        txtDialTimeTariffAfterMins, txtDialTimeTariffAfterSecs, txtDialTimeTariffUnitMins,
        txtDialTimeTariffUnitSecs;
    forms::Button btnOK, btnCancel;

protected:
    void CreateControls() override;
    void Form_Load() override;
    void Form_Activate() override;
    void Form_Unload(bool& cancel) override;
    bool OnMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

private:
    void ShowState();

    services_ui::ModelBinding binding_;
};
