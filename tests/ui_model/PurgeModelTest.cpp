#include "ui/logs/PurgeModel.h"

#include <gtest/gtest.h>

using namespace PurgeModel;
using runtime::DateSerial;

TEST(PurgeDates, ClampedIntoTheLogInTheirOrderWithABeepEach) {
    const Date first = DateSerial(2026, 3, 5), last = DateSerial(2026, 3, 20);
    int beeps = 0;
    EXPECT_EQ(adjustDate(DateSerial(2026, 3, 1), Bound::To, first, last, beeps), first);
    EXPECT_EQ(adjustDate(DateSerial(2026, 4, 1), Bound::From, first, last, beeps), last);
    EXPECT_EQ(adjustDate(DateSerial(2026, 3, 10), Bound::From, first, last, beeps),
              DateSerial(2026, 3, 10));
    EXPECT_EQ(beeps, 2);
    // A log whose last line is dated before its first: the order of the clamps decides.
    beeps = 0;
    EXPECT_EQ(adjustDate(DateSerial(2026, 4, 1), Bound::To, last, first, beeps), last);
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(adjustDate(DateSerial(2026, 4, 1), Bound::From, last, first, beeps), first);
    EXPECT_EQ(beeps, 3);
}

TEST(PurgeDates, OkNeedsTwoValidDatesInOrderAndTheQuestionNamesThem) {
    PurgeRange range{2, DateSerial(2026, 3, 9), DateSerial(2026, 3, 8), true, true};
    EXPECT_FALSE(CheckOK(range));
    range.PurgeTo = range.PurgeFrom;
    EXPECT_TRUE(CheckOK(range));
    range.ToValid = false;
    EXPECT_FALSE(CheckOK(range));
    EXPECT_EQ(ConfirmationText(DateSerial(2026, 3, 5), DateSerial(2026, 3, 20)),
              "About to purge all entries in Modem\nLog File between 3/5/2026 and 3/20/2026."
              "\n\nAre You Sure?");
}
