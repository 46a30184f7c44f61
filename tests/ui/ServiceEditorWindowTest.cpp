// The service and tariff editors driven as a user drives them: typing, clicking, picking from
// lists, switching tabs; what is stored, in memory and in the registry, and how it is priced.
#include "tests/ui/EditorInput.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "analysis/Costing.h"
#include "core/Clipboard.h"
#include "core/RuntimeError.h"
#include "core/win32/SystemSeams.h"
#include "tests/support/Seams.h"
#include "ui/services/frmService.h"
#include "ui/services/ModelBinding.h"
#include "ui/services/frmTariff.h"

using namespace uitest;

namespace {

class ServiceEditorWindow : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        WriteLog(LogLine(12, 1, 2026, 9, 0, 0, "Recv: ATDT08450800123") + "\r\n");
        StartProgram();
        hook_.emplace(forms::SetModalHook, [this](forms::Form& form) {
            if (&form == &frmService::Get() && inService)
                inService(frmService::Get());
            if (&form == &frmTariff::Get() && inTariff)
                inTariff(frmTariff::Get());
        });
    }
    void TearDown() override {
        hook_.reset();
        ProgramTest::TearDown();
    }

    // Opens the editor as the options window does (row 0: a new service).
    void OpenEditor(int row) {
        DUVMain::ServiceIsNew = row == 0;
        frmService::ShowEditor([row] { return row; });
        Settle();
    }

    // One stored service, a fixed charge per call: the one row 1 edits.
    static ServiceRecord StoreOneService() {
        ServiceRecord stored;
        stored.ServiceName = "Zelno";
        stored.ServiceNumber = "0845";
        stored.DialOption = 1;
        stored.DialFixedTariff = 0.1;
        stored.ServiceOption = 1;
        stored.UsedTariffs = 0;
        DUVMain::Services[0] = stored;
        DUVMain::UsedServices = 1;
        return stored;
    }

    std::function<void(frmService&)> inService;
    std::function<void(frmTariff&)> inTariff;

private:
    std::optional<test_support::ScopedSeam<std::function<void(forms::Form&)>>> hook_;
};

}  // namespace

TEST_F(ServiceEditorWindow, NewServiceWithTwoTariffsIsStoredAndPriced) {
    // The default tariff becomes the weekday peak; a new one covers the rest of the week.
    int tariffShown = 0;
    inTariff = [&](frmTariff& t) {
        ++tariffShown;
        EXPECT_EQ(WindowText(t.hwnd()), "DUV - Dial-up Tariff Definition");
        if (tariffShown == 1) {
            SetWindowTextA(t.lstDialTimeTariffDescrip.hwnd(), "Peak");
            SendMessageA(t.hwnd(), WM_COMMAND,
                         MAKEWPARAM(t.lstDialTimeTariffDescrip.id(), CBN_EDITCHANGE),
                         reinterpret_cast<LPARAM>(t.lstDialTimeTariffDescrip.hwnd()));
            Pick(t, t.lstDialTimeTariffDialDays, "Mon - Fri");
            Pick(t, t.lstDialTimeTariffDialStart, "08:00");
            Pick(t, t.lstDialTimeTariffDialEnd, "17:59");
            TypeInto(t.txtDialTimeTariffDialRate, "0.05", t.txtDialTimeTariffMinuteRate);
            TypeInto(t.txtDialTimeTariffMinuteRate, "0.02", t.txtDialTimeTariffDialRate);
        } else {
            Pick(t, t.lstDialTimeTariffDescrip, "Economy Tariff");
            Pick(t, t.lstDialTimeTariffDialEnd, "23:59");
            TypeInto(t.txtDialTimeTariffMinuteRate, "0.01", t.txtDialTimeTariffDialRate);
        }
        EXPECT_TRUE(t.btnOK.Enabled());
        ClickOn(t.btnOK);
    };
    inService = [&](frmService& s) {
        EXPECT_EQ(WindowText(s.hwnd()), "D U V - Edit Service (New Service)");
        EXPECT_EQ(s.TabStrip1.ToolTipText(2), "Dial-up Tariffs and Charges");
        TypeInto(s.txtDescription, "Ferndial", s.txtNumber);
        TypeInto(s.txtNumber, "08450800123", s.txtAltNumber);
        s.TabStrip1.Select(2);
        Settle();
        ClickOn(s.optDialCost[1]);
        EXPECT_TRUE(s.btnDialTimeTariffEdit.Enabled());
        s.lstDialTimeTariff.SelectRow(0);
        ClickOn(s.btnDialTimeTariffEdit);
        ClickOn(s.btnDialTimeTariffNew);
        EXPECT_EQ(s.lstDialTimeTariff.RowCount(), 2);
        EXPECT_EQ(s.lstDialTimeTariff.RowText(0, 1), "Peak") << "the range before Everyday";
        EXPECT_EQ(s.lstDialTimeTariff.RowText(0, 3), "8:00AM - 5:59PM");
        EXPECT_EQ(s.lblDialTimeTariff9.Text(), "2 Tariffs (Max 10)");
        s.TabStrip1.Select(3);
        Settle();
        TypeInto(s.txtPerMeg, "0.5", s.txtAfterMeg);
        TypeInto(s.txtAfterMeg, "10", s.txtServiceBlock);
        EXPECT_EQ(s.txtPerMeg.Text(), "0.50");
        ClickOn(s.chkFreePeriod);
        EXPECT_TRUE(s.lstFreePeriodEnd.Enabled());
        Pick(s, s.lstFreePeriodEnd, "06:00");
        s.TabStrip1.Select(4);
        Settle();
        ClickOn(s.chkWarnings);
        ClickOn(s.optWarning[1]);
        EXPECT_TRUE(s.txtWarndialupCost.Enabled());
        EXPECT_FALSE(s.txtWarningHours.Enabled());
        TypeInto(s.txtWarndialupCost, "5", s.chkWarnDisplay);
        EXPECT_EQ(s.txtWarndialupCost.Text(), "5.00");
        EXPECT_EQ(WindowText(s.hwnd()), "D U V - Edit Service (Ferndial)");
        ASSERT_TRUE(s.btnOK.Enabled());
        ClickOn(s.btnOK);
    };
    OpenEditor(0);
    EXPECT_EQ(tariffShown, 2);
    EXPECT_FALSE(frmService::IfLoaded());
    ASSERT_FALSE(DUVMain::ServiceEditCancelled);

    // The options window counts the new service and stores the settings.
    DUVMain::UsedServices = 1;
    DUVMain::WriteUserParameters();
    ExpectServicesKey({{"ServiceName1", "Ferndial"},
                       {"ServiceNumber1", "08450800123"},
                       {"DialOption1", 2u},
                       {"UsedTariffs1", 2u},
                       {"Tariff1-1Description", "Peak"},
                       {"Tariff1-1AppliesDays", "Mon - Fri"},
                       {"Tariff1-1DialRate", 500u},
                       {"Tariff1-1PerMinuteRate", 200u},
                       {"Tariff1-2Description", "Economy Tariff"},
                       {"Tariff1-2AppliesDays", "Everyday"},
                       {"PerMeg1", 5000u},
                       {"AfterMeg1", 10u},
                       {"MegPeriod1", "Month"},
                       {"FreePeriod1", 0xFFFFFFFFu},
                       {"ShowWarnings1", 0xFFFFFFFFu},
                       {"WarningOption1", 1u},
                       {"WarningDialup1", 50000u}});

    // Read back as the next start reads it, the service prices a weekday call by the peak
    // tariff and a Sunday call by the other.
    DUVMain::ReadUserParameters();
    DUVMain::FillInDefaults();
    const double monday = runtime::DateSerial(2026, 11, 30);
    const double sunday = runtime::DateSerial(2026, 12, 6);
    const double nine = runtime::TimeSerial(9, 0, 0), ten = runtime::TimeSerial(9, 10, 0);
    DUVMain::ReportStartDate = monday;
    DUVMain::ReportEndDate = sunday;
    EXPECT_NEAR(DUVAnalyse::GetDialupCost("08450800123", monday, nine, monday, ten, 0),
                0.05 + 10 * 0.02, 1e-9);
    EXPECT_NEAR(DUVAnalyse::GetDialupCost("08450800123", sunday, nine, sunday, ten, 0), 10 * 0.01,
                1e-9);
}

TEST_F(ServiceEditorWindow, CancelAndTheCloseBoxLeaveTheStoredServiceAlone) {
    const ServiceRecord stored = StoreOneService();
    for (bool closeBox : {false, true}) {
        inService = [&](frmService& s) {
            EXPECT_EQ(s.txtDescription.Text(), "Zelno");
            TypeInto(s.txtDescription, "Changed", s.txtNumber);
            s.TabStrip1.Select(2);
            Settle();
            EXPECT_EQ(s.txtDialFixedTariff.Text(), "0.10");
            EXPECT_FALSE(s.lstDialTimeTariff.Enabled());
            EXPECT_TRUE(s.optDialCost[1].Enabled());
            if (closeBox)
                SendMessageA(s.hwnd(), WM_CLOSE, 0, 0);
            else
                ClickOn(s.btnCancel);
            Settle();
        };
        OpenEditor(1);
        EXPECT_FALSE(frmService::IfLoaded());
        EXPECT_TRUE(DUVMain::ServiceEditCancelled);
        EXPECT_EQ(DUVMain::Services[0], stored);
    }
}

TEST_F(ServiceEditorWindow, EnterLeavesTheBoxFirstAndMoneyBeyondTheStoreIsNotTyped) {
    inService = [&](frmService& s) {
        TypeInto(s.txtDescription, "Brackwell Net", s.txtNumber);
        TypeInto(s.txtNumber, "0800555", s.txtAltNumber);
        s.TabStrip1.Select(3);
        Settle();
        // The key that would make the amount too large for the store is refused: its text
        // comes back and typing goes on at its end.
        TypeStaying(s.txtPerMeg, "3000000.5");
        Settle();
        EXPECT_EQ(s.txtPerMeg.Text(), "30000.5");
        EXPECT_EQ(s.Model.Controls["txtPerMeg"].Text, "30000.5");
        // Enter in a box whose text its leave check refuses: the window stays, the focus in
        // the box.
        TypeStaying(s.txtAfterMeg, "1000");
        PressKey(s.txtAfterMeg, VK_RETURN);
        ASSERT_NE(frmService::IfLoaded(), nullptr) << "a refused value slipped through Enter";
        EXPECT_EQ(GetFocus(), s.txtAfterMeg.hwnd());
        // Enter in a box with a good text: its leave check formats it, then OK stores.
        TypeStaying(s.txtAfterMeg, "12");
        TypeStaying(s.txtPerMeg, "0.5");
        PressKey(s.txtPerMeg, VK_RETURN);
    };
    OpenEditor(0);
    EXPECT_FALSE(frmService::IfLoaded());
    ASSERT_FALSE(DUVMain::ServiceEditCancelled);
    EXPECT_EQ(DUVMain::Services[0].ServiceName, "Brackwell Net");
    EXPECT_DOUBLE_EQ(DUVMain::Services[0].PerMeg, 0.5);
    EXPECT_DOUBLE_EQ(DUVMain::Services[0].AfterMeg, 12);
}

// An editor's window and its model meet by control name: a row the model lacks, or a control
// of the model no row declares, raises an error that names the control once the window's
// controls are bound; the controls that match are bound all the same.
TEST(EditorModelBinding, AControlMissingOnEitherSideIsNamed) {
    struct frmBound {};
    using ControlTableModel::Control;
    using ControlTableModel::Kind;
    auto check = [](const char* name) {
        Control c;
        c.Name = name;
        c.Type = Kind::CheckBox;
        return c;
    };
    auto errorOf = [](const std::function<void()>& declare) -> std::string {
        try {
            declare();
        } catch (const runtime::RuntimeError& error) {
            return std::to_string(error.number) + " " + error.description;
        }
        return "no error";
    };
    forms::CheckBox chkShown, chkNew;

    const ControlTableModel::Table lacking(std::vector<Control>{check("chkShown")});
    services_ui::ModelBinding windowAhead(lacking);
    EXPECT_EQ(errorOf([&] {
                  windowAhead.Row<frmBound>("chkShown", chkShown, {});
                  windowAhead.Row<frmBound>("chkNew", chkNew, {});
                  windowAhead.Bind({}, {});
              }),
              "9 Subscript out of range: the model has no control named chkNew");
    EXPECT_TRUE(chkShown.Click);
    EXPECT_FALSE(chkNew.Click);

    const ControlTableModel::Table ahead(std::vector<Control>{check("chkShown"), check("chkNew")});
    services_ui::ModelBinding modelAhead(ahead);
    EXPECT_EQ(errorOf([&] {
                  modelAhead.Row<frmBound>("chkShown", chkShown, {});
                  modelAhead.Bind({}, {});
              }),
              "51 Internal error: the model's control chkNew is declared by no row of the window");
}

TEST_F(ServiceEditorWindow, CancelAndEscCloseBothEditorsWhateverABoxHolds) {
    const ServiceRecord stored = StoreOneService();
    auto closeIfLeftOpen = [](frmService& s) {
        if (frmService::IfLoaded())
            s.btnCancel.PerformClick();
    };

    // A click on Cancel right after the per-call box refused its text.
    inService = [&](frmService& s) {
        s.TabStrip1.Select(2);
        Settle();
        TypeInto(s.txtDialFixedTariff, "abc", s.optDialCost[1]);
        EXPECT_EQ(GetFocus(), s.txtDialFixedTariff.hwnd()) << "refused: the focus comes back";
        MouseClick(s.btnCancel);
        EXPECT_EQ(frmService::IfLoaded(), nullptr) << "the click on Cancel was lost";
        closeIfLeftOpen(s);
    };
    OpenEditor(1);
    EXPECT_TRUE(DUVMain::ServiceEditCancelled);
    EXPECT_EQ(DUVMain::Services[0], stored);

    // Esc in a text box of the tariff editor, then in the service editor's refused box.
    int tariffsBefore = -1;
    inTariff = [&](frmTariff& t) {
        TypeStaying(t.txtDialTimeTariffDialRate, "0.75");
        PressKey(t.txtDialTimeTariffDialRate, VK_ESCAPE);
        EXPECT_EQ(frmTariff::IfLoaded(), nullptr) << "Esc left the tariff editor open";
        if (frmTariff::IfLoaded())
            t.btnCancel.PerformClick();
    };
    inService = [&](frmService& s) {
        s.TabStrip1.Select(2);
        Settle();
        ClickOn(s.optDialCost[1]);
        tariffsBefore = DUVMain::WorkTariffCount;
        ClickOn(s.btnDialTimeTariffNew);
        EXPECT_FALSE(DUVMain::TariffDialogMode);
        EXPECT_EQ(DUVMain::WorkTariffCount, tariffsBefore) << "the tariff was added";
        ClickOn(s.optDialCost[0]);
        TypeStaying(s.txtDialFixedTariff, "abc");
        PressKey(s.txtDialFixedTariff, VK_ESCAPE);
        EXPECT_EQ(frmService::IfLoaded(), nullptr) << "Esc left the service editor open";
        closeIfLeftOpen(s);
    };
    OpenEditor(1);
    EXPECT_TRUE(DUVMain::ServiceEditCancelled);
    EXPECT_EQ(DUVMain::Services[0], stored);
}

TEST_F(ServiceEditorWindow, ATariffDescriptionLongerThanItsBoxIsKeptWholeTypedOrPasted) {
    auto text = [](const std::string& words) {
        std::string description;
        while (description.size() < 300)
            description += words;
        return description.substr(0, 300);
    };
    const std::string typed = text("Evening rate for local calls ");
    const std::string pasted = text("Night rate for national calls ");
    test_support::ScopedSeam clipboard(SetClipboardFunction, ClipboardFunction{});
    InstallSystemClipboard();
    int tariffShown = 0;
    inTariff = [&](frmTariff& t) {
        forms::ComboBox& box = t.lstDialTimeTariffDescrip;
        SetFocus(box.hwnd());
        SendMessageA(box.hwnd(), CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
        if (++tariffShown == 1) {
            for (char c : typed)
                SendMessageA(box.hwnd(), WM_CHAR, static_cast<unsigned char>(c), 0);
        } else {
            SetClipboardText(pasted);
            SendMessageA(box.hwnd(), WM_PASTE, 0, 0);
        }
        Settle();
        TypeInto(t.txtDialTimeTariffMinuteRate, "0.01", t.txtDialTimeTariffDialRate);
        ClickOn(t.btnOK);
    };
    inService = [&](frmService& s) {
        TypeInto(s.txtDescription, "Ferndial", s.txtNumber);
        TypeInto(s.txtNumber, "08450800123", s.txtAltNumber);
        s.TabStrip1.Select(2);
        Settle();
        ClickOn(s.optDialCost[1]);
        ClickOn(s.btnDialTimeTariffNew);
        ClickOn(s.btnDialTimeTariffNew);
        ClickOn(s.btnOK);
    };
    OpenEditor(0);
    EXPECT_EQ(tariffShown, 2);
    ASSERT_FALSE(DUVMain::ServiceEditCancelled);
    DUVMain::UsedServices = 1;
    DUVMain::WriteUserParameters();
    EXPECT_EQ(RegistryNumber("UsedTariffs1"), 3u);
    std::vector<std::string> stored = {RegistryText("Tariff1-1Description"),
                                       RegistryText("Tariff1-2Description"),
                                       RegistryText("Tariff1-3Description")};
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(stored, (std::vector<std::string>{"Default Tariff", typed, pasted}));
}
