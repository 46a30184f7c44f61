#include "ui/services/ServiceEditorModel.h"

#include "EditorFixture.h"

using namespace ServiceEditorModel;
using ControlTableModel::kGreyBackground;
using ControlTableModel::kGreyText;
using ControlTableModel::kRed;

namespace {

// A stored service that passes every check, with three tariffs and a data threshold.
ServiceRecord StoredService() {
    ServiceRecord r;
    r.ServiceName = "Home ISP";
    r.ServiceNumber = "0845,123";
    r.DialOption = 2;
    r.UsedTariffs = 3;
    r.Tariffs[1] = MakeTariff("Weekend", "Sat - Sun", 0);
    r.Tariffs[2] = MakeTariff("Peak", "Mon - Fri", 8, 17);
    r.Tariffs[3] = MakeTariff("Night", "Everyday", 18);
    r.ServiceOption = 2;
    r.FlexRate = 10;
    r.UpToHours = 20;
    r.PenaltyPeriod = "Week";
    r.FlexRate2 = 1.25;
    r.PerMeg = 0.5;
    r.AfterMeg = 100;
    r.MegPeriod = "Session";
    r.Block = 5;
    r.FreePeriod = true;
    r.FreeStart = runtime::TimeSerial(22, 0, 0);
    r.FreeEnd = runtime::TimeSerial(23, 45, 0);
    r.ShowWarnings = true;
    r.WarningOption = 3;
    r.WarningData = 1048576;
    r.WarningDisplay = true;
    return r;
}

}  // namespace

TEST_F(EditorTest, NewServiceStartsFromTheDefaults) {
    Open();
    EXPECT_TRUE(DUVMain::ServiceEditCancelled);
    EXPECT_EQ(C("txtDescription").Text, "New Service");
    EXPECT_TRUE(service.SelectDescriptionText);
    EXPECT_EQ(service.Caption, "D U V - Edit Service (New Service)");
    EXPECT_EQ(C("optDialCost(0)").Value, 1);
    EXPECT_EQ(C("txtDialFixedTariff").Text, "0.20");
    ASSERT_EQ(DUVMain::WorkTariffCount, 1);
    const TariffRecord& t = DUVMain::WorkTariffs[1];
    EXPECT_EQ(t.Description, "Default Tariff");
    EXPECT_DOUBLE_EQ(t.DialRate, 0.2);
    EXPECT_EQ(t.UnitMins, 15);
    EXPECT_EQ(service.TariffRows.at(0),
              (std::array<std::string, 6>{"Default Tariff", "Everyday", "12:00AM - 11:59PM",
                                          "$0.20", "$0.00", "0 Mins 0 Secs"}));
    EXPECT_EQ(C("lblDialTimeTariff9").Text, "1 Tariffs (Max 10)");
    EXPECT_EQ(C("optServiceCost(0)").Value, 1);
    EXPECT_EQ(C("txtServiceFixedRate").Text, "1.50");
    EXPECT_EQ(C("txtServiceFlexRate").Text, "0.00");
    EXPECT_EQ(C("lstServiceFlexPeriod").Text, "Month");
    EXPECT_EQ(C("lstMegPeriod").Text, "Month");
    EXPECT_EQ(C("lstFreePeriodStart").Text, "00:00");
    EXPECT_EQ(C("lstFreePeriodEnd").Items.back(), "23:45");
    EXPECT_EQ(C("lblCurrencySymbol(1)").Text, "($)");
    EXPECT_EQ(DUVMain::WarningSoundFile, "C:\\DUV\\exceeded.wav");
    EXPECT_EQ(C("txtWarningSound").Text, "C:\\DUV\\exceeded.wav");
    EXPECT_FALSE(C("btnOK").Enabled) << "no number yet";
    Type(service, "txtNumber", "0845");
    EXPECT_TRUE(C("btnOK").Enabled);

    UseLocale(regional::kLcidDeDe);
    DUVMain::DialCost = 1234.5;
    Open();
    EXPECT_EQ(C("txtDialFixedTariff").Text, "1.234,50");
    EXPECT_DOUBLE_EQ(DUVMain::WorkTariffs[1].DialRate, 1234.5);
    EXPECT_EQ(C("lblCurrencySymbol(0)").Text, "(\x80)");
}

TEST_F(EditorTest, FieldsValidFailsAtEachOfItsSteps) {
    Open();
    Type(service, "txtNumber", "0845");
    service.SelectTab(3);
    service.SetValue("chkWarnings", 1);
    Type(service, "txtWarningMinutes", "30");
    ASSERT_TRUE(service.FieldsValid());
    // Each breaks one step and puts it right again.
    struct Case {
        const char* box;
        const char* bad;
        const char* good;
    };
    for (Case c : {Case{"txtDescription", "", "New Service"}, Case{"txtNumber", "0845x", "0845"},
                   Case{"txtAltNumber", "12-34", ""}, Case{"txtDialFixedTariff", "abc", "0.20"},
                   Case{"txtServiceFixedRate", "", "1.50"}, Case{"txtPerMeg", "", "0.00"},
                   Case{"txtServiceBlock", "2.5", "2.001"}, Case{"txtWarningMinutes", "0", "30"},
                   Case{"txtWarningSound", "C:\\none.wav", "C:\\DUV\\exceeded.wav"}}) {
        if (std::string(c.box) == "txtWarningSound")
            service.SetValue("chkWarnSound", 1);
        service.SetText(c.box, c.bad);
        EXPECT_FALSE(service.FieldsValid()) << c.box << " = " << c.bad;
        service.SetText(c.box, c.good);
        EXPECT_TRUE(service.FieldsValid()) << c.box << " = " << c.good;
    }
    // Dial-up by tariffs needs one; the flexi rate needs a rate above 0 and a period.
    service.SelectTab(1);
    service.SetValue("optDialCost(1)", 1);
    DUVMain::WorkTariffCount = 0;
    EXPECT_FALSE(service.FieldsValid());
    DUVMain::WorkTariffCount = 1;
    service.SelectTab(2);
    service.SetValue("optServiceCost(1)", 1);
    EXPECT_FALSE(service.FieldsValid()) << "both flexi rates 0";
    service.SetText("txtServiceFlexRate2", "1");
    EXPECT_TRUE(service.FieldsValid());
    service.SetText("txtPerMeg", "0.10");
    service.Controls["lstMegPeriod"].Text = "";
    EXPECT_FALSE(service.FieldsValid()) << "a data rate without its period";
    service.SetText("lstMegPeriod", "Day");
    // Neither display nor sound.
    service.Controls["chkWarnDisplay"].Value = 0;
    service.Controls["chkWarnSound"].Value = 0;
    EXPECT_FALSE(service.FieldsValid());
}

TEST_F(EditorTest, FieldRulesRefuseReformatAndBeep) {
    Open();
    service.SelectTab(2);
    service.SetValue("optServiceCost(1)", 1);
    const int before = beeps;
    service.SetText("txtServiceFlexHours", "1000");
    EXPECT_EQ(C("txtServiceFlexHours").Text, "999");
    service.SetText("txtServiceFlexHours", "12a");
    EXPECT_EQ(C("txtServiceFlexHours").Text, "");
    service.SetText("txtServiceFlexHours", "-5");
    EXPECT_EQ(C("txtServiceFlexHours").Text, "") << "hours from 0";
    service.LostFocus("txtServiceFlexHours");
    EXPECT_EQ(C("txtServiceFlexHours").Text, "0");
    service.SetText("txtServiceBlock", "150");
    EXPECT_EQ(C("txtServiceBlock").Text, "15");
    service.SetText("txtServiceBlock", "-3");
    EXPECT_EQ(C("txtServiceBlock").Text, "");
    Type(service, "txtServiceBlock", "7.9");
    EXPECT_EQ(C("txtServiceBlock").Text, "7");
    EXPECT_EQ(beeps - before, 5);

    service.SetText("txtAfterMeg", "-1");
    service.SetText("txtAfterMeg", "1000");
    EXPECT_EQ(beeps - before, 7);
    Type(service, "txtServiceFlexRate", ".");
    EXPECT_EQ(C("txtServiceFlexRate").Text, "0.00")
        << "a lone separator is a zero still being typed";
    Type(service, "txtPerMeg", ".");
    EXPECT_EQ(C("txtPerMeg").Text, ".") << "refused, left for the user";
    EXPECT_EQ(beeps - before, 8);
    EXPECT_EQ(focus.back(), "txtPerMeg");
    Type(service, "txtPerMeg", "1234.5");
    EXPECT_EQ(C("txtPerMeg").Text, "1,234.50");

    service.SelectTab(0);
    Type(service, "txtNumber", "01 234");
    EXPECT_EQ(beeps - before, 9);

    service.SelectTab(3);
    service.SetValue("chkWarnings", 1);
    service.SetText("txtWarningMinutes", "60");
    EXPECT_FALSE(service.MinutesValid);
    service.SetText("txtWarningHours", "32768");
    EXPECT_FALSE(service.HoursValid) << "beyond the record's 16 bits";
    service.SetText("txtWarningHours", "-1");
    EXPECT_FALSE(service.HoursValid);
    Type(service, "txtWarningHours", "32767");
    EXPECT_TRUE(service.HoursValid);
    service.SetValue("optWarning(3)", 1);
    Type(service, "txtWarnData", "2048");
    EXPECT_EQ(C("txtWarnData").Text, "2,048");
    service.SetValue("optWarning(1)", 1);
    Type(service, "txtWarndialupCost", ".");
    EXPECT_EQ(C("txtWarndialupCost").Text, "0.00");
    EXPECT_EQ(beeps - before, 12);
}

TEST_F(EditorTest, OptionsEnableAndGreyByControlName) {
    Open();
    service.SelectTab(2);
    EXPECT_TRUE(C("txtServiceFixedRate").Enabled);
    EXPECT_FALSE(C("txtServiceFlexRate").Enabled);
    EXPECT_EQ(C("lstServiceFlexPeriod").ForeColor, kGreyText);
    EXPECT_FALSE(C("lstFreePeriodStart").Enabled) << "free period unchecked";
    EXPECT_TRUE(C("lstMegPeriod").Enabled) << "the data group is never greyed";
    EXPECT_TRUE(C("txtServiceBlock").Enabled);
    EXPECT_FALSE(C("txtDialFixedTariff").Enabled) << "other tabs are greyed as well";
    service.SetValue("optServiceCost(1)", 1);
    EXPECT_FALSE(C("txtServiceFixedRate").Enabled);
    EXPECT_EQ(C("txtServiceFixedRate").BackColor, kGreyBackground);
    EXPECT_TRUE(C("txtServiceFlexHours").Enabled);
    EXPECT_EQ(C("lstServiceFlexPeriod").ForeColor, ControlTableModel::kBlack);
    service.SetValue("chkFreePeriod", 1);
    EXPECT_TRUE(C("lstFreePeriodEnd").Enabled);
    // Back on the dial-up tab the option procedure restores its own controls.
    service.SelectTab(1);
    EXPECT_TRUE(C("txtDialFixedTariff").Enabled);
    EXPECT_FALSE(C("lstDialTimeTariff").Enabled);
    EXPECT_TRUE(C("txtNumber").Enabled);
    EXPECT_EQ(focus.back(), "txtDialFixedTariff");
    EXPECT_TRUE(service.Form_KeyDown(9, 2));
    EXPECT_TRUE(service.Form_KeyDown(9, 2));
    EXPECT_EQ(service.CurrentTab, 3);
    EXPECT_TRUE(service.Form_KeyDown(9, 2));
    EXPECT_EQ(service.CurrentTab, 0) << "Ctrl+Tab wraps to the first tab";
    EXPECT_FALSE(service.Form_KeyDown(9, 3));
}

TEST(SortTariffs, FollowsThePassRuleNotAPlainSort) {
    auto order = [](std::vector<TariffRecord> in, std::int16_t& selected) {
        TariffTable table;
        for (std::size_t i = 0; i < in.size(); ++i)
            table[static_cast<int>(i) + 1] = in[i];
        SortTariffs(table, static_cast<int>(in.size()), selected);
        std::string out;
        for (std::size_t i = 1; i <= in.size(); ++i)
            out += table[static_cast<int>(i)].Description + " ";
        return out;
    };
    std::int16_t selected = 3;
    EXPECT_EQ(order({MakeTariff("A", "Mon - Fri", 8), MakeTariff("B", "Everyday", 0),
                     MakeTariff("C", "Holidays", 0), MakeTariff("D", "Monday", 0)},
                    selected),
              "C D A B ");
    EXPECT_EQ(selected, 1) << "the selection moves with its tariff";
    selected = 1;
    EXPECT_EQ(
        order({MakeTariff("Late", "Everyday", 18), MakeTariff("Early", "Everyday", 8)}, selected),
        "Early Late ");
    EXPECT_EQ(selected, 2);
    // Different single days are not ordered among themselves, so a Monday tariff stays
    // behind a Tuesday one: a library sort by day and start would move it.
    selected = 0;
    EXPECT_EQ(order({MakeTariff("Mon10", "Monday", 10), MakeTariff("Tue9", "Tuesday", 9),
                     MakeTariff("Mon8", "Monday", 8)},
                    selected),
              "Mon10 Tue9 Mon8 ");
    EXPECT_EQ(order({MakeTariff("W", "Sat - Sun", 0), MakeTariff("D", "Mon - Fri", 0)}, selected),
              "W D ")
        << "ranges keep their order";
}

TEST_F(EditorTest, TariffRowsAndTipsByUnit) {
    TariffRecord t = MakeTariff("Peak", "Mon - Fri", 8, 17);
    t.After = 125;
    t.PerMinuteRate = 0.0125;
    EXPECT_EQ(TariffRowTexts(t)[2], "8:00AM - 5:59PM");
    EXPECT_EQ(TariffRowTexts(t)[4], "$0.0125");
    EXPECT_EQ(TariffRowTexts(t)[5], "2 Mins 5 Secs");
    TariffTable table;
    table[2] = t;
    EXPECT_EQ(TariffTipText(2, 2, table),
              "Peak - Mon - Fri 8:00AM - 5:59PM - $0.20 /Call + $0.01 /Min after 2 Mins 5 Secs.");
    table[2].Unit = "Per Second";
    EXPECT_NE(TariffTipText(2, 2, table).find(" /Sec after 2 Mins 5 Secs."), std::string::npos);
    table[2].Unit = "Per Unit";
    table[2].UnitSecs = 30;
    EXPECT_EQ(TariffRowTexts(table[2])[5], "Unit=15Mins 30Secs");
    EXPECT_NE(TariffTipText(2, 2, table).find(" /Unit (Unit=15Mins 30Secs)"), std::string::npos);
    EXPECT_EQ(TariffTipText(2, 0, table), "User Defined Tariffs");
    EXPECT_EQ(TariffTipText(2, 3, table), "User Defined Tariffs") << "a stale selection";
    EXPECT_EQ(TariffTipText(0, 1, table), "User Defined Tariffs");
}

TEST_F(EditorTest, TariffListNewEditDeleteAndCount) {
    DUVMain::Services[0] = StoredService();
    DUVMain::UsedServices = 1;
    Open(1);
    service.SelectTab(1);
    EXPECT_EQ(service.TariffListRow, 1);
    // A holiday tariff added through the tariff editor goes first and is the selected row.
    inTariffEditor = [](TariffEditorModel::TariffEditor& t) {
        t.SetText("lstDialTimeTariffDescrip", "Bank holidays");
        t.SetText("lstDialTimeTariffDialDays", "Holidays");
        Type(t, "txtDialTimeTariffDialRate", "0.5");
        t.Click("btnOK");
    };
    service.Click("btnDialTimeTariffNew");
    ASSERT_EQ(DUVMain::WorkTariffCount, 4);
    EXPECT_EQ(service.TariffRows[0][0], "Bank holidays");
    EXPECT_EQ(service.TariffListRow, 1);
    EXPECT_EQ(C("lblDialTimeTariff9").Text, "4 Tariffs (Max 10)");

    // Delete row 2 ("Weekend"): the rest move up, the old last entry stays above the count.
    service.SelectTariffRow(2);
    service.Click("btnDialTimeTariffDelete");
    ASSERT_EQ(DUVMain::WorkTariffCount, 3);
    EXPECT_EQ(DUVMain::WorkTariffs[2].Description, "Peak");
    EXPECT_EQ(DUVMain::WorkTariffs[4].Description, "Night");
    EXPECT_EQ(service.TariffListRow, 2);
    service.SelectTariffRow(3);
    service.Click("btnDialTimeTariffDelete");
    EXPECT_EQ(service.SelectedTariff, 2) << "deleting the last row selects the one above";

    // Without a selected row neither Edit nor Delete acts.
    service.TariffListRow = 0;
    const int before = beeps;
    service.Click("btnDialTimeTariffDelete");
    service.DblClick("lstDialTimeTariff");
    EXPECT_EQ(DUVMain::WorkTariffCount, 2);
    EXPECT_EQ(beeps - before, 2);

    // Ten tariffs: the count turns red with a beep and New is off.
    inTariffEditor = [n = 0](TariffEditorModel::TariffEditor& t) mutable {
        t.SetText("lstDialTimeTariffDescrip", "Extra " + std::to_string(++n));
        Type(t, "txtDialTimeTariffDialRate", "1");
        t.Click("btnOK");
    };
    for (int i = 0; i < 8; ++i)
        service.Click("btnDialTimeTariffNew");
    EXPECT_EQ(C("lblDialTimeTariff9").Text, "10 Tariffs (Max 10)");
    EXPECT_EQ(C("lblDialTimeTariff9").ForeColor, kRed);
    EXPECT_FALSE(C("btnDialTimeTariffNew").Enabled);

    // Deleting every row leaves Edit and Delete off and the plain tip.
    for (int i = 0; i < 10; ++i) {
        service.SelectTariffRow(1);
        service.Click("btnDialTimeTariffDelete");
    }
    EXPECT_FALSE(C("btnDialTimeTariffEdit").Enabled);
    EXPECT_FALSE(C("btnDialTimeTariffDelete").Enabled);
    EXPECT_EQ(C("lstDialTimeTariff").ToolTip, "User Defined Tariffs");
    EXPECT_FALSE(C("btnOK").Enabled);
}

TEST_F(EditorTest, WarningsPageEnablesTheChosenThreshold) {
    Open();
    service.SelectTab(3);
    for (const char* c :
         {"optWarning(0)", "txtWarningHours", "txtWarningSound", "btnWarnPlay", "chkWarnSound"})
        EXPECT_FALSE(C(c).Enabled) << c;
    service.SetValue("chkWarnings", 1);
    EXPECT_TRUE(C("txtWarningHours").Enabled);
    EXPECT_EQ(focus.back(), "txtWarningHours");
    service.SetValue("optWarning(1)", 1);
    EXPECT_TRUE(C("lblCurrencySymbol(0)").Enabled);
    service.SetValue("optWarning(3)", 1);
    EXPECT_FALSE(C("txtWarndialupCost").Enabled);
    EXPECT_EQ(C("txtWarndialupCost").BackColor, kGreyBackground);
    EXPECT_FALSE(C("lblCurrencySymbol(0)").Enabled);
    EXPECT_TRUE(C("txtWarnData").Enabled);
    EXPECT_TRUE(C("lblKB").Enabled);
    // Display and sound cannot both be off.
    service.SetValue("chkWarnDisplay", 0);
    EXPECT_EQ(C("chkWarnDisplay").Value, 1);
    service.SetValue("chkWarnSound", 1);
    EXPECT_TRUE(C("btnWarnBrowse").Enabled);
    // A file that does not exist puts the previous one back with a beep; browsing sets it at once.
    const int before = beeps;
    Type(service, "txtWarningSound", "C:\\missing.wav");
    EXPECT_EQ(C("txtWarningSound").Text, "C:\\DUV\\exceeded.wav");
    EXPECT_EQ(beeps - before, 1);
    std::string askedName, askedFolder;
    service.window.PickSoundFile = [&](const std::string& name, const std::string& folder) {
        askedName = name;
        askedFolder = folder;
        return std::optional<std::string>("C:\\Sounds\\bell.wav");
    };
    service.Click("btnWarnBrowse");
    EXPECT_EQ(askedName, "exceeded.wav");
    EXPECT_EQ(askedFolder, "C:\\DUV\\");
    EXPECT_EQ(DUVMain::WarningSoundFile, "C:\\Sounds\\bell.wav");
    service.window.PickSoundFile = [](const std::string&, const std::string&) {
        return std::optional<std::string>();
    };
    service.Click("btnWarnBrowse");
    EXPECT_EQ(focus.back(), "txtWarningSound");
    service.Click("btnCancel");
    EXPECT_EQ(DUVMain::WarningSoundFile, "C:\\Sounds\\bell.wav") << "kept after Cancel";
}

TEST_F(EditorTest, OkStoresTheRecordAndOnlyOkDoes) {
    // Every field its own value, so that a field stored from another box shows; the Boolean
    // fields take two patterns in which any two of them differ once.
    ServiceRecord distinct = StoredService();
    distinct.ServiceAltNumber = "0845,456";
    distinct.DialFixedTariff = 0.35;
    distinct.UsedTariffs = 4;
    distinct.Tariffs[4] = MakeTariff("Evening", "Monday", 17, 17);
    for (int i = 1; i <= 4; ++i) {
        distinct.Tariffs[i].After = 60 * i + 7;
        distinct.Tariffs[i].UnitSecs = static_cast<std::int16_t>(10 + i);
    }
    distinct.ServiceOption = 1;
    distinct.ServiceRate = 2.75;
    distinct.AfterMeg = 750;
    distinct.Block = 6;
    distinct.WarningHours = 7;
    distinct.WarningMinutes = 45;
    distinct.WarningDialup = 40.5;
    distinct.WarningService = 60.25;
    struct Flags {
        bool freePeriod, showWarnings, display, sound;
    };
    for (Flags f : {Flags{false, true, true, false}, Flags{false, false, true, true},
                    Flags{true, true, false, true}}) {
        ServiceRecord r = distinct;
        r.FreePeriod = f.freePeriod;
        r.ShowWarnings = f.showWarnings;
        r.WarningDisplay = f.display;
        r.WarningSound = f.sound;
        DUVMain::Services[0] = r;
        DUVMain::UsedServices = 1;
        DUVMain::WarningSoundFile = "C:\\Sounds\\bell.wav";
        Open(1);
        EXPECT_EQ(C("txtAfterMeg").Text, "750");
        ASSERT_TRUE(C("btnOK").Enabled);
        service.Click("btnOK");
        EXPECT_FALSE(DUVMain::ServiceEditCancelled);
        EXPECT_TRUE(unloaded);
        EXPECT_EQ(DUVMain::Services[0], r) << "every field stored as it was loaded";
    }

    DUVMain::Services[0] = StoredService();
    Open(1);
    EXPECT_EQ(C("txtWarnData").Text, "1,048,576");
    EXPECT_EQ(C("lstMegPeriod").Text, "Session");
    EXPECT_EQ(C("lstFreePeriodStart").Text, "22:00");
    EXPECT_EQ(C("optWarning(3)").Value, 1);

    // Changed fields, then Cancel, close box or a failed check: nothing is written.
    for (int way = 0; way < 3; ++way) {
        Open(1);
        Type(service, "txtDescription", "Changed");
        DUVMain::WorkTariffCount = 1;
        if (way == 0)
            service.Click("btnCancel");
        if (way == 1)
            service.Form_QueryUnload();
        if (way == 2) {
            // The per-call box has no change procedure: OK is still on when pressed.
            service.SelectTab(1);
            service.SetValue("optDialCost(0)", 1);
            service.SetText("txtDialFixedTariff", "abc");
            service.Click("btnOK");
            ASSERT_EQ(messages.Calls().size(), 1u);
            EXPECT_EQ(messages.Calls()[0].title, "WARNING - Incorrect Parameters");
            EXPECT_EQ(messages.Calls()[0].flags, 48);
            EXPECT_FALSE(C("btnOK").Enabled);
            service.Form_QueryUnload();
        }
        EXPECT_TRUE(DUVMain::ServiceEditCancelled) << way;
        EXPECT_EQ(DUVMain::Services[0], StoredService()) << way;
    }
}

TEST_F(EditorTest, DecimalCommaValuesAreStoredByTheirRegionalValue) {
    UseLocale(regional::kLcidDeDe);
    Open();
    Type(service, "txtNumber", "0190");
    Type(service, "txtPerMeg", "1.234,5");
    service.SelectTab(3);
    service.SetValue("chkWarnings", 1);
    service.SetValue("optWarning(1)", 1);
    Type(service, "txtWarndialupCost", "0,50");
    EXPECT_EQ(C("txtWarndialupCost").Text, "0,50");
    EXPECT_TRUE(service.FieldsValid()) << "0,50 is not zero";
    service.SetValue("optWarning(3)", 1);
    Type(service, "txtWarnData", "1048576");
    EXPECT_EQ(C("txtWarnData").Text, "1.048.576");
    service.Click("btnOK");
    const ServiceRecord& r = DUVMain::Services[0];
    EXPECT_DOUBLE_EQ(r.PerMeg, 1234.5);
    EXPECT_DOUBLE_EQ(r.WarningDialup, 0.5);
    EXPECT_EQ(r.WarningData, 1048576);
    EXPECT_EQ(r.WarningOption, 3);
}

TEST_F(EditorTest, EachShowingStartsFreshAndStoredNonsenseIsContained) {
    Open();
    service.SelectTab(3);
    service.SelectedTariff = 5;
    service.SetValue("optWarning(2)", 1);
    service.Click("btnCancel");
    Open();
    EXPECT_EQ(service.CurrentTab, 0);
    EXPECT_EQ(service.SelectedTariff, 1);
    EXPECT_EQ(service.WarningOption, 0);
    EXPECT_EQ(C("optWarning(0)").Value, 1);

    ServiceRecord r = StoredService();
    r.DialOption = 0;
    r.ServiceOption = 7;
    r.UsedTariffs = 12;
    r.WarningOption = 9;
    r.MegPeriod = "Fortnight";
    r.FreeStart = runtime::TimeSerial(10, 10, 0);
    DUVMain::Services[0] = r;
    DUVMain::UsedServices = 1;
    Open(1);
    EXPECT_EQ(C("optDialCost(0)").Value, 1) << "an option never set shows the first";
    EXPECT_EQ(DUVMain::WorkTariffCount, 10);
    EXPECT_EQ(C("lstMegPeriod").Text, "");
    EXPECT_EQ(C("lstFreePeriodStart").Text, "");
    EXPECT_EQ(errors, (std::vector<int>{380, 380}));
    service.SelectTab(2);
    service.SelectTab(3);
    service.SetText("lstMegPeriod", "Month");
    service.Click("btnOK");
    EXPECT_DOUBLE_EQ(DUVMain::Services[0].FreeStart, r.FreeStart)
        << "an unchosen time keeps the stored one";
    EXPECT_EQ(DUVMain::Services[0].WarningOption, 9);
}

TEST_F(EditorTest, MoneyBoxesRefuseWhatTheStoreCannotHoldAsItIsTyped) {
    // Money is stored as a 32-bit whole number of ten-thousandths.
    Open();
    struct Box {
        int tab;
        const char* option;
        const char* name;
    };
    for (Box b : {Box{1, "optDialCost(0)", "txtDialFixedTariff"},
                  Box{2, "optServiceCost(0)", "txtServiceFixedRate"},
                  Box{2, "optServiceCost(0)", "txtPerMeg"},
                  Box{2, "optServiceCost(1)", "txtServiceFlexRate"},
                  Box{2, "optServiceCost(1)", "txtServiceFlexRate2"},
                  Box{3, "optWarning(1)", "txtWarndialupCost"},
                  Box{3, "optWarning(2)", "txtWarnServiceCost"}}) {
        service.SelectTab(b.tab);
        if (b.tab == 3)
            service.SetValue("chkWarnings", 1);
        service.SetValue(b.option, 1);
        Type(service, b.name, "214,748.3647");
        EXPECT_EQ(C(b.name).Text, "214,748.3647") << b.name;
        for (const char* text : {"214748.3648", "-214748.3649", "99999999999"}) {
            service.GotFocus(b.name);
            service.SetText(b.name, "12.5");
            const int before = beeps;
            focus.clear();
            service.SetText(b.name, text);
            EXPECT_EQ(beeps - before, 1) << b.name << " " << text;
            EXPECT_EQ(C(b.name).Text, "12.5") << b.name << " " << text << ": the old text back";
            EXPECT_EQ(focus, std::vector<std::string>{b.name}) << b.name << " " << text;
        }
        Type(service, b.name, "-214748.3648");
        EXPECT_EQ(C(b.name).Text, "-214,748.3648") << b.name;
    }
}

TEST_F(EditorTest, EveryNumberBoxTakesEdgeTextsAndOkStoresAllOrNothing) {
    DUVMain::Services[0] = StoredService();
    DUVMain::UsedServices = 1;
    struct Box {
        int tab;
        const char* option;
        const char* name;
    };
    for (Box b :
         {Box{1, "optDialCost(0)", "txtDialFixedTariff"},
          Box{2, "optServiceCost(0)", "txtServiceFixedRate"},
          Box{2, "optServiceCost(1)", "txtServiceFlexRate"},
          Box{2, "optServiceCost(1)", "txtServiceFlexRate2"},
          Box{2, "optServiceCost(1)", "txtServiceFlexHours"},
          Box{2, "optServiceCost(0)", "txtPerMeg"}, Box{2, "optServiceCost(0)", "txtAfterMeg"},
          Box{2, "optServiceCost(0)", "txtServiceBlock"},
          Box{3, "optWarning(0)", "txtWarningHours"}, Box{3, "optWarning(0)", "txtWarningMinutes"},
          Box{3, "optWarning(1)", "txtWarndialupCost"},
          Box{3, "optWarning(2)", "txtWarnServiceCost"}, Box{3, "optWarning(3)", "txtWarnData"}}) {
        for (const char* text : {"", "abc", "99999999999", "1e999", "-5"}) {
            for (bool leave : {true, false}) {
                Open(1);
                service.SelectTab(b.tab);
                service.SetValue(b.option, 1);
                service.GotFocus(b.name);
                service.SetText(b.name, text);
                if (leave)
                    service.LostFocus(b.name);
                // OK (by Enter when the box was not left) stores the whole record or nothing.
                service.Click("btnOK");
                const std::string what = std::string(b.name) + " = \"" + text + "\"";
                if (unloaded) {
                    EXPECT_FALSE(DUVMain::ServiceEditCancelled) << what;
                    EXPECT_EQ(DUVMain::Services[0].ServiceName, "Home ISP") << what;
                } else {
                    EXPECT_EQ(DUVMain::Services[0], StoredService()) << what;
                }
                EXPECT_TRUE(errors.empty()) << what;
                DUVMain::Services[0] = StoredService();
            }
        }
    }
}

TEST_F(EditorTest, EveryBoxKeepsOkOffWhileItShowsATextItRefuses) {
    ServiceRecord r = StoredService();
    r.WarningHours = 2;
    r.WarningMinutes = 30;
    r.WarningDialup = 5;
    r.WarningService = 7.5;
    DUVMain::Services[0] = r;
    DUVMain::UsedServices = 1;
    // kept: the box's leave check leaves the text; outOfReach: what takes the box out of the
    // user's reach, which puts its last accepted text back.
    struct Row {
        int tab;
        const char* option;
        const char* box;
        const char* text;
        bool kept;
        const char* outOfReach;
    };
    for (Row row : {
             Row{0, nullptr, "txtNumber", "12a", true, nullptr},
             Row{0, nullptr, "txtAltNumber", "12a", true, nullptr},
             Row{1, "optDialCost(0)", "txtDialFixedTariff", "abc", true, "optDialCost(1)"},
             Row{1, "optDialCost(0)", "txtDialFixedTariff", "", true, "optDialCost(1)"},
             Row{2, "optServiceCost(0)", "txtServiceFixedRate", "abc", true, "optServiceCost(1)"},
             Row{2, "optServiceCost(1)", "txtServiceFlexRate", "abc", false, nullptr},
             Row{2, "optServiceCost(1)", "txtServiceFlexRate2", "1.2.3", false, nullptr},
             Row{2, "optServiceCost(1)", "txtServiceFlexHours", "", false, nullptr},
             Row{2, "optServiceCost(0)", "txtPerMeg", "abc", true, nullptr},
             Row{2, "optServiceCost(0)", "txtAfterMeg", "1000", true, nullptr},
             Row{2, "optServiceCost(0)", "txtAfterMeg", "-5", true, nullptr},
             Row{2, "optServiceCost(0)", "txtServiceBlock", "abc", true, nullptr},
             Row{3, "optWarning(0)", "txtWarningHours", "40000", true, "chkWarnings"},
             Row{3, "optWarning(0)", "txtWarningMinutes", "60", true, "optWarning(2)"},
             Row{3, "optWarning(1)", "txtWarndialupCost", "abc", false, nullptr},
             Row{3, "optWarning(2)", "txtWarnServiceCost", "1.2.3", false, nullptr},
             Row{3, "optWarning(3)", "txtWarnData", "-5", true, "optWarning(0)"},
         }) {
        const std::string what = std::string(row.box) + " = \"" + row.text + "\"";
        Open(1);
        service.SelectTab(row.tab);
        if (row.option)
            service.SetValue(row.option, 1);
        ASSERT_TRUE(C("btnOK").Enabled) << what;
        const std::string loaded = C(row.box).Text;
        service.GotFocus(row.box);
        service.SetText(row.box, row.text);
        ASSERT_EQ(C(row.box).Text, row.text) << what;
        EXPECT_FALSE(service.FieldsValid()) << what << " while typed";
        service.LostFocus(row.box);
        if (!row.kept)
            continue;
        ASSERT_EQ(C(row.box).Text, row.text) << what;
        EXPECT_FALSE(C("btnOK").Enabled) << what << " left";
        service.Click("btnOK");
        EXPECT_FALSE(unloaded) << what;
        EXPECT_EQ(DUVMain::Services[0], r) << what;
        if (!row.outOfReach)
            continue;
        if (std::string(row.outOfReach) == "chkWarnings")
            service.SetValue("chkWarnings", 0);
        else
            service.SetValue(row.outOfReach, 1);
        EXPECT_EQ(C(row.box).Text, loaded) << what;
        EXPECT_TRUE(C("btnOK").Enabled) << what << " out of reach";
        service.Click("btnOK");
        EXPECT_TRUE(unloaded) << what;
        DUVMain::Services[0] = r;
    }
    EXPECT_TRUE(errors.empty());
}

TEST_F(EditorTest, AnOutOfReachBoxGetsItsLastAcceptedTextBackNeverARefusedOne) {
    DUVMain::Services[0] = StoredService();
    DUVMain::UsedServices = 1;
    // The hours the user last left accepted come back, not the loaded ones; the refused hours
    // are never stored.
    for (bool warningsOff : {false, true}) {
        Open(1);
        service.SelectTab(3);
        service.SetValue("optWarning(0)", 1);
        Type(service, "txtWarningMinutes", "30");
        Type(service, "txtWarningHours", "12");
        Type(service, "txtWarningHours", "40000");
        EXPECT_FALSE(service.HoursValid);
        EXPECT_FALSE(C("btnOK").Enabled);
        if (warningsOff)
            service.SetValue("chkWarnings", 0);
        else
            service.SetValue("optWarning(3)", 1);
        EXPECT_EQ(C("txtWarningHours").Text, "12") << warningsOff;
        EXPECT_TRUE(service.HoursValid) << warningsOff;
        service.Click("btnOK");
        EXPECT_TRUE(unloaded) << warningsOff;
        EXPECT_EQ(DUVMain::Services[0].WarningHours, 12) << warningsOff;
        EXPECT_EQ(DUVMain::Services[0].WarningMinutes, 30) << warningsOff;
        EXPECT_TRUE(errors.empty());
        DUVMain::Services[0] = StoredService();
    }
    // Nonsense stored out of reach (minutes of 75 with the warnings off) cannot keep OK off.
    ServiceRecord stored = StoredService();
    stored.ShowWarnings = false;
    stored.WarningMinutes = 75;
    DUVMain::Services[0] = stored;
    Open(1);
    EXPECT_EQ(C("txtWarningMinutes").Text, "0");
    EXPECT_TRUE(C("btnOK").Enabled);
}
