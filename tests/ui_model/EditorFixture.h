// The service and tariff editors wired together as their windows wire them, with the regional
// set, the message boxes, the files that exist and the error handler under the test's control.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "core/CurrencyFormat.h"
#include "core/DUVMain.h"
#include "core/ErrorContext.h"
#include "core/GeneralFunctions.h"
#include "core/Locale.h"
#include "core/MessageBox.h"
#include "core/Runtime.h"
#include "tests/support/ProgramState.h"
#include "tests/support/Seams.h"
#include "ui/services/ServiceEditorModel.h"
#include "ui/services/TariffEditorModel.h"

// A tariff from the given hour to the end of the end hour.
inline TariffRecord MakeTariff(const std::string& name, const std::string& days, int startHour,
                               int endHour = 23, const std::string& unit = "Per Minute") {
    TariffRecord t;
    t.Description = name;
    t.AppliesDays = days;
    t.AppliesTimeStart = runtime::TimeSerial(startHour, 0, 0);
    t.AppliesTimeEnd = runtime::TimeSerial(endHour, 59, 0);
    t.DialRate = 0.2;
    t.PerMinuteRate = 0.05;
    t.Unit = unit;
    t.UnitMins = 15;
    return t;
}

class EditorTest : public ::testing::Test {
protected:
    ServiceEditorModel::ServiceEditor service;
    TariffEditorModel::TariffEditor tariff;
    ScriptedMessages messages;
    int beeps = 0;
    std::vector<std::string> focus;
    std::vector<int> errors;
    std::set<std::string> files{"C:\\DUV\\exceeded.wav", "C:\\Sounds\\bell.wav"};
    int serviceRow = 0;
    bool unloaded = false;
    // What the user does in the tariff editor while it is open (then OK or Cancel).
    std::function<void(TariffEditorModel::TariffEditor&)> inTariffEditor;
    test_support::ScopedSeam<std::shared_ptr<const regional::LocaleSource>> locale_{
        regional::Install, regional::MakeFixedLocale(regional::kLcidEnUs)};
    test_support::ScopedSeam<runtime::ErrorHandlerFn> handler_{
        runtime::SetErrorHandler, [this] {
            errors.push_back(runtime::Err().number);
            return runtime::kActionSkip;
        }};
    test_support::ScopedSeam<GeneralFunctions::FileProbe> files_{
        GeneralFunctions::InstallFileProbe,
        [this](const std::string& p) { return files.count(p) != 0; }};

    void UseLocale(regional::LCID lcid) {
        regional::Install(regional::MakeFixedLocale(lcid));
        CurrencyFormat::GetCurrencySymbolInfo();
        DUVMain::GetDayNames();
    }

    void SetUp() override {
        using namespace DUVMain;
        test_support::ResetProgramState();
        UseLocale(regional::kLcidEnUs);
        AppPath = "C:\\DUV";
        MaxServices = 10;
        Services.ReDim(MaxServices);
        UsedServices = 0;
        DialCost = 0.2;
        CostPerHour = 1.5;
        ShowGraphic = true;
        WarningSoundFile.clear();
        WorkTariffs.fill(TariffRecord{});
        WorkTariffCount = 0;
        ServiceIsNew = true;
        service.window.Beep = [this] { ++beeps; };
        service.window.SetFocus = [this](const std::string& c) { focus.push_back(c); };
        service.window.SelectedServiceRow = [this] { return serviceRow; };
        service.window.Unload = [this] { unloaded = true; };
        service.window.ShowTariffEditor = [this] {
            tariff.Form_Load();
            tariff.Form_Activate();
            if (inTariffEditor)
                inTariffEditor(tariff);
        };
        tariff.window.Beep = [this] { ++beeps; };
        tariff.window.SetFocus = [this](const std::string& c) { focus.push_back(c); };
        tariff.window.SelectedTariffRow = [this] { return service.SelectedTariffRow(); };
    }

    void TearDown() override { test_support::ResetProgramState(); }

    // Opens the service editor for a new service, or for the service of a list row.
    void Open(int row = 0) {
        DUVMain::ServiceIsNew = row == 0;
        serviceRow = row;
        unloaded = false;
        service.Form_Load();
        service.Form_Activate();
    }

    // The user puts the focus into a box, types the text and leaves it.
    template <class Editor>
    static void Type(Editor& e, const std::string& box, const std::string& text) {
        e.GotFocus(box);
        e.SetText(box, text);
        e.LostFocus(box);
    }

    const ControlTableModel::Control& C(const std::string& name) { return service.Controls[name]; }
    const ControlTableModel::Control& T(const std::string& name) { return tariff.Controls[name]; }
};
