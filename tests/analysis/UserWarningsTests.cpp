// Threshold warnings after a run: which services are listed, the box text, one sound then
// one box.
#include <string>
#include <vector>

#include "analysis/Sound.h"
#include "core/CurrencyFormat.h"
#include "core/MessageBox.h"
#include "tests/analysis/CostingFixture.h"
#include "tests/support/Seams.h"

namespace costing_test {
namespace {

// Records the sounds played and how many boxes had been shown when each one played.
class RecordedSounds final : public sound::SoundPlayer {
public:
    explicit RecordedSounds(const ScriptedMessages& boxes) : boxes_(boxes) {}

    void PlayFile(const std::string& path) override {
        files.push_back(path);
        boxesBefore.push_back(boxes_.Calls().size());
    }

    std::vector<std::string> files;
    std::vector<size_t> boxesBefore;

private:
    const ScriptedMessages& boxes_;
    test_support::ScopedSeam<sound::SoundPlayer*> installed_{sound::SetSoundPlayer, this};
};

const std::string Heading =
    "One or more dialled service(s) have exceeded a user\n"
    "defined threshold for this reporting period.\n\n";

class UserWarnings : public CostingTest {
protected:
    void SetUp() override {
        CostingTest::SetUp();
        DUVMain::CurrencySymbol = "$";
        DUVMain::CurrencySymbolPrecedes = 1;
        DUVMain::CurrencySymbolSpaced = 0;
        DUVMain::CurrencyDigits = 2;
        DUVMain::WarningSoundFile = "C:\\Sounds\\alarm.wav";
    }

    test_support::ScopedValue<DUVAnalyse::RunWindow> window_{DUVAnalyse::Window, {}};

    // A service warning by the kind given, with display and sound on.
    static ServiceRecord Warned(const std::string& name, const std::string& number, int option) {
        ServiceRecord s;
        s.ServiceName = name;
        s.ServiceNumber = number;
        s.ShowWarnings = true;
        s.WarningOption = static_cast<std::int16_t>(option);
        s.WarningDisplay = true;
        s.WarningSound = true;
        return s;
    }

    // Appends a usage row for the number and returns it.
    DUVAnalyse::ServiceUsageRecord& Row(const std::string& number) {
        DUVAnalyse::UsageCount += 1;
        auto& row = DUVAnalyse::ServiceUsage[static_cast<size_t>(DUVAnalyse::UsageCount)];
        row.Number = number;
        return row;
    }

    ScriptedMessages boxes;
    RecordedSounds sounds{boxes};
};

TEST_F(UserWarnings, TimeThresholdCountsWholeMinutes) {
    ServiceRecord s = Warned("Home ISP", "0800", 0);
    s.WarningHours = 1;
    s.WarningMinutes = 30;
    AddService(s);
    auto& row = Row("0800");

    row.Seconds = 89 * 60 + 59;
    DUVAnalyse::CheckUserWarnings();
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_TRUE(sounds.files.empty());

    row.Seconds = 90 * 60;
    DUVAnalyse::CheckUserWarnings();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, Heading + "Home ISP - Time on-line exceeded  1Hrs 30Mins\n");
    EXPECT_EQ(boxes.Calls()[0].title, "User Defined Warnings");
    EXPECT_EQ(boxes.Calls()[0].flags, 64);
}

TEST_F(UserWarnings, DialupAndServiceCostThresholdsShowTheThresholdAsMoney) {
    ServiceRecord dial = Warned("Dial ", "0800", 1);
    dial.WarningDialup = 1234.5;
    AddService(dial);
    ServiceRecord service = Warned("Svc", "0900", 2);
    service.WarningService = 3;
    AddService(service);
    Row("0800").DialCost = 1234.5;
    Row("0900").ServiceCost = 2.99;
    DUVAnalyse::CheckUserWarnings();

    Row("0900");  // not reached: nothing changes for the listed rows
    DUVAnalyse::ServiceUsage[2].ServiceCost = 3.0;
    DUVAnalyse::CheckUserWarnings();

    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[0].text, Heading + "Dial  - Dial-up costs exceeded $1,234.50\n");
    EXPECT_EQ(boxes.Calls()[1].text, Heading + "Dial  - Dial-up costs exceeded $1,234.50\n" +
                                         "Svc - Service costs exceeded $3.00\n");
}

TEST_F(UserWarnings, DataThresholdCountsWholeKilobytes) {
    ServiceRecord s = Warned("Data", "0800", 3);
    s.WarningData = 1500;
    AddService(s);
    auto& row = Row("0800");
    row.BytesRead = 1500 * 1024 - 1;
    DUVAnalyse::CheckUserWarnings();
    EXPECT_TRUE(boxes.Calls().empty());

    row.BytesRead = 1500 * 1024;
    DUVAnalyse::CheckUserWarnings();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, Heading + "Data - Data downloaded exceeded 1,500KB\n");
}

TEST_F(UserWarnings, ZeroThresholdIsReachedWithoutUse) {
    ServiceRecord s = Warned("Data", "0800", 3);
    s.WarningData = 0;
    AddService(s);
    Row("0800").BytesRead = 1023;
    DUVAnalyse::CheckUserWarnings();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, Heading + "Data - Data downloaded exceeded 0KB\n");
}

TEST_F(UserWarnings, OneSoundThenOneBoxListingEveryServiceReached) {
    ServiceRecord shown = Warned("Shown", "0800", 0);
    shown.WarningDisplay = true;
    shown.WarningSound = true;
    AddService(shown);
    ServiceRecord quiet = Warned("Quiet", "0900", 0);
    quiet.WarningDisplay = false;
    quiet.WarningSound = true;
    quiet.WarningMinutes = 5;
    AddService(quiet);
    Row("0800").Seconds = 60;
    Row("0900").Seconds = 600;
    int pumps = 0;
    UserFeedback feedback;
    feedback.LetEventsRun = [&] { ++pumps; };
    {
        test_support::ScopedSeam installed(SetUserFeedback, feedback);
        DUVAnalyse::CheckUserWarnings();
    }

    ASSERT_EQ(sounds.files.size(), 1u);
    EXPECT_EQ(sounds.files[0], "C:\\Sounds\\alarm.wav");
    EXPECT_EQ(sounds.boxesBefore[0], 0u);
    EXPECT_EQ(pumps, 1);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, Heading + "Shown - Time on-line exceeded  0Hrs 0Mins\n" +
                                         "Quiet - Time on-line exceeded  0Hrs 5Mins\n");
    ASSERT_EQ(DUVAnalyse::WarningLines.size(), 3u);
    EXPECT_EQ(DUVAnalyse::WarningLines[2].ServiceName, "Quiet");
}

TEST_F(UserWarnings, SoundOnlyShowsNoBox) {
    ServiceRecord s = Warned("Quiet", "0800", 0);
    s.WarningDisplay = false;
    AddService(s);
    Row("0800").Seconds = 60;
    DUVAnalyse::CheckUserWarnings();
    EXPECT_EQ(sounds.files.size(), 1u);
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(UserWarnings, BoxOnlyPlaysNoSound) {
    ServiceRecord s = Warned("Shown", "0800", 0);
    s.WarningSound = false;
    AddService(s);
    Row("0800").Seconds = 60;
    DUVAnalyse::CheckUserWarnings();
    EXPECT_TRUE(sounds.files.empty());
    EXPECT_EQ(boxes.Calls().size(), 1u);
}

TEST_F(UserWarnings, ServicesWithWarningsOffOrOtherKindsAreNotListed) {
    ServiceRecord off = Warned("Off", "0800", 0);
    off.ShowWarnings = false;
    AddService(off);
    AddService(Warned("Other kind", "0900", 4));
    Row("0800").Seconds = 6000;
    Row("0900").Seconds = 6000;
    Row("0999").Seconds = 6000;  // no service
    DUVAnalyse::CheckUserWarnings();
    EXPECT_TRUE(boxes.Calls().empty());
    EXPECT_TRUE(sounds.files.empty());
    EXPECT_EQ(DUVAnalyse::WarningLines.size(), 1u);
}

TEST_F(UserWarnings, OnlyTheRowsInUseAreTested) {
    // A service with an empty alternative number and a threshold of 0: the empty rows
    // beyond the used ones do not list it again.
    AddService(Warned("Home ISP", "0800", 0));
    Row("0800").Seconds = 0;
    DUVAnalyse::ServiceUsage[0].Number = "0800";  // row 0 is never tested
    DUVAnalyse::CheckUserWarnings();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, Heading + "Home ISP - Time on-line exceeded  0Hrs 0Mins\n");
}

TEST_F(UserWarnings, AlternativeNumberFindsTheService) {
    ServiceRecord s = Warned("Home ISP", "0800", 0);
    s.ServiceAltNumber = "0811";
    AddService(s);
    Row("0811").Seconds = 60;
    DUVAnalyse::CheckUserWarnings();
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, Heading + "Home ISP - Time on-line exceeded  0Hrs 0Mins\n");
}

}  // namespace
}  // namespace costing_test
