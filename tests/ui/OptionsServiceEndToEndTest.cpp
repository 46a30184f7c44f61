// A service made from the options window: New on the services page, the service and tariff
// editors filled in by typing and clicking, OK in both windows; then what the registry holds
// and what the next report charges on that number.
#include "tests/ui/EditorInput.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/DUVAnalyse.h"
#include "core/GeneralFunctions.h"
#include "tests/support/Seams.h"
#include "ui/forms/Dialogs.h"
#include "ui/logs/frmReport.h"
#include "ui/options/frmSetup.h"
#include "ui/services/frmService.h"
#include "ui/services/frmTariff.h"

using namespace uitest;

namespace {

class OptionsServiceEndToEnd : public ProgramTest {};

TEST_F(OptionsServiceEndToEnd, ServiceMadeInTheOptionsWindowIsStoredAndPricesTheNextReport) {
    // A Monday session in the free early hours, then one at the peak.
    WriteLog(LogLine(12, 7, 2026, 5, 49, 50, "Recv: ATDT0800111222<cr>") + "\r\n" +
             LogLine(12, 7, 2026, 5, 50, 0, "Connection established at 28800bps.") + "\r\n" +
             LogLine(12, 7, 2026, 6, 0, 0, "Hanging up the modem.") + "\r\n" +
             LogLine(12, 7, 2026, 8, 59, 50, "Recv: ATDT0800111222<cr>") + "\r\n" +
             LogLine(12, 7, 2026, 9, 0, 0, "Connection established at 28800bps.") + "\r\n" +
             LogLine(12, 7, 2026, 9, 10, 0, "Hanging up the modem.") + "\r\n");
    StartProgram();

    int tariffs = 0, services = 0, options = 0;
    frmMain& main = frmMain::Get();
    {
        test_support::ScopedSeam hook(forms::SetModalHook, [&](forms::Form& form) {
            if (&form == &frmTariff::Get()) {
                frmTariff& t = frmTariff::Get();
                if (++tariffs == 1) {  // the default tariff becomes the weekday peak
                    Pick(t, t.lstDialTimeTariffDialDays, "Mon - Fri");
                    Pick(t, t.lstDialTimeTariffDialStart, "08:00");
                    Pick(t, t.lstDialTimeTariffDialEnd, "17:59");
                    TypeInto(t.txtDialTimeTariffDialRate, "0.05", t.txtDialTimeTariffMinuteRate);
                    TypeInto(t.txtDialTimeTariffMinuteRate, "0.03", t.txtDialTimeTariffDialRate);
                } else {  // the rest of the week
                    Pick(t, t.lstDialTimeTariffDescrip, "Economy Tariff");
                    Pick(t, t.lstDialTimeTariffDialEnd, "23:59");
                    TypeInto(t.txtDialTimeTariffMinuteRate, "0.01", t.txtDialTimeTariffDialRate);
                }
                ClickOn(t.btnOK);
            } else if (&form == &frmService::Get()) {
                ++services;
                frmService& s = frmService::Get();
                TypeInto(s.txtDescription, "Freeline", s.txtNumber);
                TypeInto(s.txtNumber, "0800111222", s.txtAltNumber);
                s.TabStrip1.Select(2);
                Settle();
                ClickOn(s.optDialCost[1]);
                s.lstDialTimeTariff.SelectRow(0);
                ClickOn(s.btnDialTimeTariffEdit);
                ClickOn(s.btnDialTimeTariffNew);
                EXPECT_EQ(s.lblDialTimeTariff9.Text(), "2 Tariffs (Max 10)");
                s.TabStrip1.Select(3);
                Settle();
                TypeInto(s.txtPerMeg, "0.25", s.txtAfterMeg);
                ClickOn(s.chkFreePeriod);
                Pick(s, s.lstFreePeriodEnd, "06:00");
                s.TabStrip1.Select(4);
                Settle();
                ClickOn(s.chkWarnings);
                ClickOn(s.optWarning[1]);
                TypeInto(s.txtWarndialupCost, "7.5", s.chkWarnDisplay);
                ClickOn(s.btnOK);
            } else if (&form == frmSetup::IfLoaded()) {
                ++options;
                frmSetup& w = frmSetup::Get();
                w.TabStrip1.Select(3);
                Settle();
                ClickOn(w.btnNew);
                EXPECT_EQ(w.lblServices1.Text(), "1 Used");
                EXPECT_EQ(w.lstServices.RowCount(), 1);
                EXPECT_EQ(w.lstServices.RowText(0, 2), "0800111222");
                ClickOn(w.btnSave);
            }
        });
        Menu(main, main.mnuSetup);
    }
    EXPECT_EQ(options, 1);
    EXPECT_EQ(services, 1);
    EXPECT_EQ(tariffs, 2);
    EXPECT_EQ(frmSetup::IfLoaded(), nullptr) << "OK closed the options window";

    ExpectServicesKey({{"ServiceName1", "Freeline"},
                       {"ServiceNumber1", "0800111222"},
                       {"DialOption1", 2u},
                       {"UsedTariffs1", 2u},
                       {"Tariff1-1AppliesDays", "Mon - Fri"},
                       {"Tariff1-1AppliesTimeStart", "8:00:00 AM"},
                       {"Tariff1-1DialRate", 500u},
                       {"Tariff1-1PerMinuteRate", 300u},
                       {"Tariff1-2Description", "Economy Tariff"},
                       {"Tariff1-2PerMinuteRate", 100u},
                       {"PerMeg1", 2500u},
                       {"FreePeriod1", 0xFFFFFFFFu},
                       {"FreeEnd1", "6:00:00 AM"},
                       {"ShowWarnings1", 0xFFFFFFFFu},
                       {"WarningOption1", 1u},
                       {"WarningDialup1", 75000u}});

    // The next report: 10 early minutes at 0.01 (all of them free time), then 0.05 a call and
    // 10 peak minutes at 0.03.
    ASSERT_TRUE(main.btnProcess.Enabled());
    PressButton(main.btnProcess);
    ASSERT_NE(frmReport::IfLoaded(), nullptr);
    EXPECT_EQ(DUVAnalyse::ServiceUsage[1].Number, "0800111222");
    EXPECT_NEAR(DUVAnalyse::ServiceUsage[1].DialCost, 0.10 + 0.05 + 0.30, 1e-9);
    EXPECT_EQ(DUVAnalyse::ServiceUsage[1].FreeSeconds, 600);
}

TEST_F(OptionsServiceEndToEnd, AnAmountTheStoreCannotHoldNeverReachesTheRegistry) {
    WriteLog(OneSessionLog());
    StartProgram();
    const double before = DUVMain::DialCost;
    {
        test_support::ScopedSeam hook(forms::SetModalHook, [&](forms::Form& form) {
            if (&form != frmSetup::IfLoaded())
                return;
            frmSetup& w = frmSetup::Get();
            w.TabStrip1.Select(4);
            Settle();
            // Typed and confirmed by Enter: OK leaves the box first, whose check refuses the
            // amount and shows the setting again; the window stays. Enter once more writes the
            // settings without it (a run-time error there fails the test).
            TypeStaying(w.txtDialCost, "300000");
            PressKey(w.txtDialCost, VK_RETURN);
            ASSERT_EQ(frmSetup::IfLoaded(), &w) << "OK went on past the refusal";
            EXPECT_EQ(w.txtDialCost.Text(), OptionsModel::CostText(before));
            PressKey(w.txtDialCost, VK_RETURN);
            if (frmSetup::IfLoaded()) {
                ADD_FAILURE() << "Enter did not close the options window";
                w.btnCancel.PerformClick();
            }
        });
        frmMain& main = frmMain::Get();
        Menu(main, main.mnuSetup);
    }
    EXPECT_EQ(frmSetup::IfLoaded(), nullptr);
    EXPECT_EQ(DUVMain::DialCost, before);
    DWORD stored = 0, size = sizeof(stored);
    ASSERT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, "SOFTWARE\\DUV\\Costs", "DialCost", RRF_RT_REG_DWORD,
                           nullptr, &stored, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(stored, static_cast<DWORD>(before * 10000 + 0.5));
}

TEST_F(OptionsServiceEndToEnd, AnErrorInTheOptionsOrServiceWindowNamesTheProcedureItHappenedIn) {
    WriteLog(OneSessionLog());
    StartProgram();
    std::vector<std::string> reported;
    test_support::ScopedSeam handler(runtime::SetErrorHandler, [&reported] {
        reported.push_back(DUVMain::ErrModuleName + "." + DUVMain::ErrProcName);
        return runtime::kActionSkip;
    });
    // The log's folder on a drive that has gone away (once), and a file dialog that fails.
    const std::string offline = "Q:\\ModemLog.txt";
    bool probed = false;
    test_support::ScopedSeam probe(
        GeneralFunctions::InstallFileProbe, [&](const std::string& path) {
            if (path == offline && !std::exchange(probed, true))
                throw runtime::RuntimeError(68, "Device unavailable");
            return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
        });
    test_support::ScopedSeam dialog(
        forms::SetFileDialogFunction,
        [](const forms::FileDialogRequest&) -> std::optional<forms::FileDialogResult> {
            throw runtime::RuntimeError(68, "Device unavailable");
        });
    // Whatever ran last elsewhere is not where these errors happen.
    auto elsewhere = [] { runtime::SetContext("GeneralFunctions", "format_date"); };
    test_support::ScopedSeam hook(forms::SetModalHook, [&](forms::Form& form) {
        if (&form == frmService::IfLoaded()) {
            frmService& s = frmService::Get();
            s.TabStrip1.Select(4);
            Settle();
            ClickOn(s.chkWarnings);
            if (s.chkWarnSound.Value() == 0)
                ClickOn(s.chkWarnSound);
            ASSERT_TRUE(s.btnWarnBrowse.Enabled());
            elsewhere();
            ClickOn(s.btnWarnBrowse);
            ClickOn(s.btnCancel);
        } else if (&form == frmSetup::IfLoaded()) {
            frmSetup& w = frmSetup::Get();
            elsewhere();
            TypeInto(w.txtLogName, offline, w.txtMaxServices);
            elsewhere();
            ClickOn(w.cmdBrowse);
            w.TabStrip1.Select(3);
            Settle();
            ClickOn(w.btnNew);
            ClickOn(w.btnCancel);
        }
    });
    frmMain& main = frmMain::Get();
    Menu(main, main.mnuSetup);
    EXPECT_EQ(frmSetup::IfLoaded(), nullptr);
    EXPECT_EQ(reported,
              (std::vector<std::string>{"frmSetup.txtLogName_LostFocus", "frmSetup.cmdBrowse_Click",
                                        "frmService.btnWarnBrowse_Click"}));
}

}  // namespace
