#include "ui/services/TariffEditorModel.h"

#include "EditorFixture.h"

using namespace TariffEditorModel;

namespace {

constexpr const char* kStart = "lstDialTimeTariffDialStart";
constexpr const char* kEnd = "lstDialTimeTariffDialEnd";
constexpr const char* kUnit = "lstDialTimeTariffUnit";

class TariffEditorTest : public EditorTest {
protected:
    // Opens the tariff editor for a new tariff, or on the working tariff of a list row.
    void OpenTariff(int row = 0) {
        DUVMain::TariffDialogMode = row == 0;
        service.TariffListRow = row;
        service.TariffRows.resize(static_cast<std::size_t>(DUVMain::WorkTariffCount));
        tariff.window.Unload = [this] { unloaded = true; };
        unloaded = false;
        tariff.Form_Load();
        tariff.Form_Activate();
    }
    bool OkEnabled() { return T("btnOK").Enabled; }
};

}  // namespace

TEST_F(TariffEditorTest, NewTariffOpensWithItsDefaults) {
    OpenTariff();
    EXPECT_EQ(T("lstDialTimeTariffDescrip").Text, "New Tariff");
    EXPECT_EQ(T("lstDialTimeTariffDialDays").Text, "Everyday");
    EXPECT_EQ(T(kStart).Text, "00:00");
    EXPECT_EQ(T(kEnd).Text, "00:14");
    EXPECT_EQ(T(kUnit).Text, "Per Minute");
    EXPECT_EQ(T("txtDialTimeTariffDialRate").Text, "0.00");
    EXPECT_EQ(T("txtDialTimeTariffAfterMins").Text, "0");
    EXPECT_EQ(T("txtDialTimeTariffUnitMins").Text, "15");
    EXPECT_FALSE(T("txtDialTimeTariffUnitMins").Enabled);
    EXPECT_FALSE(T("txtDialTimeTariffAfterMins").Enabled)
        << "a minute rate of 0 greys the threshold too";
    EXPECT_FALSE(T("lblAssist").Visible);
    EXPECT_FALSE(OkEnabled()) << "both rates 0";
    EXPECT_TRUE(tariff.SelectsAllOnFocus("txtDialTimeTariffDialRate"));
    Type(tariff, "txtDialTimeTariffMinuteRate", "0.05");
    EXPECT_TRUE(OkEnabled());
    EXPECT_TRUE(T("txtDialTimeTariffAfterMins").Enabled);

    EXPECT_EQ(DayChoices(),
              (std::vector<std::string>{"Everyday", "Holidays", "Sat - Sun", "Mon - Fri",
                                        "Mon - Thu", "Fri - Sat", "Fri - Sun", "Monday", "Tuesday",
                                        "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"}));
    UseLocale(regional::kLcidDeDe);
    EXPECT_EQ(DayChoices()[3], "Mo. - Fr.");
}

TEST_F(TariffEditorTest, StartAndEndKeepEachOtherInOrder) {
    OpenTariff();
    tariff.SetText(kEnd, "08:59");
    tariff.SetText(kStart, "22:15");
    EXPECT_EQ(T(kEnd).Text, "22:29");
    tariff.SetText(kStart, "08:00");
    tariff.SetText(kEnd, "06:59");
    EXPECT_EQ(T(kStart).Text, "06:45");
    tariff.GotFocus(kStart);
    EXPECT_TRUE(T("lblAssist").Visible);
    EXPECT_EQ(T("lblAssist").Text, "06:45 AM");
    tariff.LostFocus(kStart);
    EXPECT_FALSE(T("lblAssist").Visible);

    // A stored tariff whose end lies before its start loads with the start moved.
    DUVMain::WorkTariffCount = 1;
    DUVMain::WorkTariffs[1] = MakeTariff("Reversed", "Monday", 10, 8);
    OpenTariff(1);
    EXPECT_EQ(T(kStart).Text, "08:45");
    EXPECT_EQ(T(kEnd).Text, "08:59");
    EXPECT_FALSE(tariff.SelectsAllOnFocus("txtDialTimeTariffDialRate"));
}

TEST_F(TariffEditorTest, NumberBoxesRejectWhileTypedAndNormaliseOnLeaving) {
    OpenTariff();
    Type(tariff, "txtDialTimeTariffDialRate", "0.1");
    Type(tariff, "txtDialTimeTariffMinuteRate", "0.02");
    const int before = beeps;
    struct Case {
        const char* box;
        Box b;
        const char* text;
        bool accepted;
    };
    for (Case c : {Case{"txtDialTimeTariffAfterMins", AfterMins, "999", true},
                   Case{"txtDialTimeTariffAfterMins", AfterMins, "1000", false},
                   Case{"txtDialTimeTariffAfterMins", AfterMins, "-1", false},
                   Case{"txtDialTimeTariffAfterSecs", AfterSecs, "60", true},
                   Case{"txtDialTimeTariffAfterSecs", AfterSecs, "61", false},
                   Case{"txtDialTimeTariffDialRate", DialRate, ".", true},
                   Case{"txtDialTimeTariffDialRate", DialRate, "x", false},
                   Case{"txtDialTimeTariffMinuteRate", MinuteRate, ".", true}}) {
        tariff.SetText(c.box, c.text);
        EXPECT_EQ(tariff.FieldValid[c.b], c.accepted) << c.box << " = " << c.text;
        tariff.SetText(c.box, "1");
    }
    EXPECT_EQ(beeps - before, 4);
    tariff.SetText(kUnit, "Per Unit");
    tariff.SetText("txtDialTimeTariffUnitMins", "0");
    EXPECT_FALSE(OkEnabled()) << "a unit of 0 minutes";
    Type(tariff, "txtDialTimeTariffUnitMins", "");
    EXPECT_EQ(T("txtDialTimeTariffUnitMins").Text, "15");
    EXPECT_TRUE(OkEnabled());
    Type(tariff, "txtDialTimeTariffDialRate", ".");
    EXPECT_EQ(T("txtDialTimeTariffDialRate").Text, "0.00");

    UseLocale(regional::kLcidDeDe);
    tariff.SetText("txtDialTimeTariffDialRate", ",");
    EXPECT_TRUE(tariff.FieldValid[DialRate]) << "the regional separator while typing";
    tariff.SetText("txtDialTimeTariffMinuteRate", ",");
    EXPECT_FALSE(tariff.FieldValid[MinuteRate]) << "this box tolerates only the full stop";
}

TEST_F(TariffEditorTest, UnitKindDecidesWhichFieldsApply) {
    OpenTariff();
    Type(tariff, "txtDialTimeTariffMinuteRate", "0.05");
    Type(tariff, "txtDialTimeTariffAfterMins", "3");
    tariff.SetText(kUnit, "Per Second");
    EXPECT_TRUE(T("txtDialTimeTariffAfterMins").Enabled);
    EXPECT_EQ(T("txtDialTimeTariffAfterMins").Text, "3");
    EXPECT_FALSE(T("txtDialTimeTariffUnitSecs").Enabled);
    EXPECT_EQ(T("lblDialTimeTariff9").ForeColor, ControlTableModel::kGreyText);
    tariff.SetText(kUnit, "Per Unit");
    EXPECT_EQ(T("txtDialTimeTariffAfterMins").Text, "0");
    EXPECT_FALSE(T("txtDialTimeTariffAfterMins").Enabled);
    EXPECT_TRUE(T("txtDialTimeTariffUnitSecs").Enabled);
    EXPECT_EQ(T("txtDialTimeTariffUnitSecs").BackColor, ControlTableModel::kWhite);
    Type(tariff, "txtDialTimeTariffMinuteRate", "0");
    EXPECT_FALSE(T("txtDialTimeTariffUnitSecs").Enabled);
}

TEST_F(TariffEditorTest, OkWritesTheWorkingTariffAndRefusesADuplicateNewName) {
    DUVMain::WorkTariffCount = 1;
    DUVMain::WorkTariffs[1] = MakeTariff("Standard Tariff", "Everyday", 0);
    OpenTariff();
    tariff.SetText("lstDialTimeTariffDescrip", "Standard Tariff");
    Type(tariff, "txtDialTimeTariffDialRate", "0.1");
    tariff.Click("btnOK");
    ASSERT_EQ(messages.Calls().size(), 1u);
    EXPECT_EQ(messages.Calls()[0].text, "A Tariff With This Name Already Exists!");
    EXPECT_EQ(messages.Calls()[0].title, "WARNING");
    EXPECT_FALSE(unloaded);
    tariff.SetText("lstDialTimeTariffDescrip", "standard tariff");
    tariff.SetText("lstDialTimeTariffDialDays", "Mon - Fri");
    tariff.SetText(kStart, "08:00");
    tariff.SetText(kEnd, "17:59");
    tariff.Click("btnOK");
    ASSERT_EQ(DUVMain::WorkTariffCount, 2);
    EXPECT_EQ(TariffExists("standard tariff", 2), 2);
    const TariffRecord& t = DUVMain::WorkTariffs[2];
    EXPECT_EQ(t.AppliesDays, "Mon - Fri");
    EXPECT_DOUBLE_EQ(t.AppliesTimeEnd, runtime::TimeSerial(17, 59, 0));
    EXPECT_DOUBLE_EQ(t.DialRate, 0.1);
    EXPECT_TRUE(DUVMain::TariffDialogMode);

    // An edit shows After as minutes and seconds, may take another's name, and stores it again.
    DUVMain::WorkTariffs[1].After = 125;
    OpenTariff(1);
    EXPECT_EQ(T("txtDialTimeTariffAfterMins").Text, "2");
    EXPECT_EQ(T("txtDialTimeTariffAfterSecs").Text, "5");
    tariff.SetText("lstDialTimeTariffDescrip", "standard tariff");
    tariff.Click("btnOK");
    EXPECT_EQ(DUVMain::WorkTariffs[1].After, 125);
    EXPECT_EQ(DUVMain::WorkTariffs[1].Description, "standard tariff");

    // Cancel and the close box both report a cancel.
    for (bool closeBox : {false, true}) {
        OpenTariff();
        Type(tariff, "txtDialTimeTariffDialRate", "1");
        closeBox ? tariff.Form_QueryUnload() : tariff.Click("btnCancel");
        EXPECT_FALSE(DUVMain::TariffDialogMode);
        EXPECT_EQ(DUVMain::WorkTariffCount, 2);
    }
}

TEST_F(TariffEditorTest, RatesTheStoreCannotHoldAreRefusedAndOkWritesAllOrNothing) {
    // Money is stored as a 32-bit whole number of ten-thousandths.
    OpenTariff();
    for (const char* box : {"txtDialTimeTariffDialRate", "txtDialTimeTariffMinuteRate"}) {
        Type(tariff, box, "214748.3647");
        EXPECT_EQ(T(box).Text, "214,748.3647") << box;
        tariff.SetText(box, "0.5");
        for (const char* text : {"214748.3648", "-214748.3649", "99999999999"}) {
            const int before = beeps;
            focus.clear();
            tariff.SetText(box, text);
            EXPECT_EQ(beeps - before, 1) << box << " " << text;
            EXPECT_EQ(T(box).Text, "0.5") << box << " " << text << ": the old text back";
            EXPECT_EQ(focus, std::vector<std::string>{box}) << box << " " << text;
        }
    }

    // Every number box takes the edge texts without a run-time error, and OK, with or without
    // leaving the box, writes the whole tariff or nothing.
    DUVMain::WorkTariffCount = 1;
    DUVMain::WorkTariffs[1] = MakeTariff("Standard Tariff", "Everyday", 0);
    const TariffTable working = DUVMain::WorkTariffs;
    for (const char* box :
         {"txtDialTimeTariffDialRate", "txtDialTimeTariffMinuteRate", "txtDialTimeTariffAfterMins",
          "txtDialTimeTariffAfterSecs", "txtDialTimeTariffUnitMins", "txtDialTimeTariffUnitSecs"}) {
        for (const char* text : {"", "abc", "99999999999", "1e999", "-5"}) {
            for (bool leave : {true, false}) {
                OpenTariff(1);
                if (std::string(box).find("Unit") != std::string::npos)
                    tariff.SetText(kUnit, "Per Unit");
                tariff.GotFocus(box);
                tariff.SetText(box, text);
                if (leave)
                    tariff.LostFocus(box);
                tariff.Click("btnOK");
                const std::string what = std::string(box) + " = \"" + text + "\"";
                EXPECT_TRUE(errors.empty()) << what;
                EXPECT_EQ(DUVMain::WorkTariffCount, 1) << what;
                if (!unloaded) {
                    EXPECT_EQ(DUVMain::WorkTariffs, working) << what;
                }
                DUVMain::WorkTariffs = working;
            }
        }
    }

    // A refused unit length left in its box: a switch to a unit by time puts the last accepted
    // one back, and OK stores that.
    OpenTariff();
    Type(tariff, "txtDialTimeTariffMinuteRate", "0.05");
    tariff.SetText(kUnit, "Per Unit");
    tariff.SetText("txtDialTimeTariffUnitMins", "99999");
    EXPECT_FALSE(OkEnabled());
    tariff.SetText(kUnit, "Per Minute");
    EXPECT_EQ(T("txtDialTimeTariffUnitMins").Text, "15");
    Type(tariff, "txtDialTimeTariffDialRate", "0.1");
    EXPECT_TRUE(OkEnabled());
    tariff.Click("btnOK");
    EXPECT_EQ(DUVMain::WorkTariffCount, 2);
    EXPECT_EQ(DUVMain::WorkTariffs[2].UnitMins, 15);
    EXPECT_TRUE(errors.empty());
}

TEST_F(TariffEditorTest, EveryBoxKeepsOkOffWhileItShowsATextItRefuses) {
    TariffRecord t = MakeTariff("Standard Tariff", "Everyday", 0);
    t.After = 125;
    t.UnitSecs = 30;
    // kept: the box's leave check leaves the text; outOfReach: the unit that takes the box out
    // of the user's reach, which puts its last accepted text back.
    struct Row {
        const char* box;
        const char* unit;
        const char* text;
        bool kept;
        const char* outOfReach;
    };
    for (Row row : {
             Row{"txtDialTimeTariffDialRate", "Per Minute", "abc", false, nullptr},
             Row{"txtDialTimeTariffMinuteRate", "Per Minute", "1.2.3", false, nullptr},
             Row{"txtDialTimeTariffAfterMins", "Per Minute", "1000", true, nullptr},
             Row{"txtDialTimeTariffAfterMins", "Per Second", "-5", true, nullptr},
             Row{"txtDialTimeTariffAfterSecs", "Per Second", "61", true, nullptr},
             Row{"txtDialTimeTariffUnitMins", "Per Unit", "0", true, "Per Minute"},
             Row{"txtDialTimeTariffUnitMins", "Per Unit", "", false, nullptr},
             Row{"txtDialTimeTariffUnitSecs", "Per Unit", "61", true, "Per Second"},
         }) {
        const std::string what = std::string(row.box) + " = \"" + row.text + "\"";
        DUVMain::WorkTariffCount = 1;
        DUVMain::WorkTariffs[1] = t;
        OpenTariff(1);
        tariff.SetText(kUnit, row.unit);
        ASSERT_TRUE(OkEnabled()) << what;
        const TariffRecord before = *tariff.RecordToStore();
        const std::string loaded = T(row.box).Text;
        tariff.GotFocus(row.box);
        tariff.SetText(row.box, row.text);
        ASSERT_EQ(T(row.box).Text, row.text) << what;
        EXPECT_FALSE(OkEnabled()) << what << " while typed";
        tariff.Click("btnOK");
        EXPECT_FALSE(unloaded) << what;
        EXPECT_EQ(DUVMain::WorkTariffs[1], t) << what;
        tariff.LostFocus(row.box);
        if (!row.kept)
            continue;
        ASSERT_EQ(T(row.box).Text, row.text) << what;
        EXPECT_FALSE(OkEnabled()) << what << " left";
        if (!row.outOfReach)
            continue;
        tariff.SetText(kUnit, row.outOfReach);
        EXPECT_EQ(T(row.box).Text, loaded) << what;
        EXPECT_TRUE(OkEnabled()) << what << " out of reach";
        tariff.Click("btnOK");
        EXPECT_TRUE(unloaded) << what;
        TariffRecord expected = before;
        expected.Unit = row.outOfReach;
        EXPECT_EQ(DUVMain::WorkTariffs[1], expected) << what;
    }
    EXPECT_TRUE(errors.empty());
}
