#include "ui/main/MainWindowModel.h"

#include "core/DUVMain.h"
#include "tests/support/ProgramState.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using namespace MainWindowModel;
using runtime::DateSerial;

namespace {

LogFlags Flags(bool found, bool invalid, bool corrupt, bool archive = false) {
    LogFlags f;
    f.LogFound = found;
    f.LogInvalid = invalid;
    f.LogCorrupt = corrupt;
    f.ArchiveOpen = archive;
    return f;
}

TEST(MainWindowEnabledStates, NoLogLeavesOnlyArchivesAndExit) {
    EnabledTable t = EnabledStates(Flags(false, false, false));
    EXPECT_EQ(At(t, MainControl::btnProcess), Switch::Off);
    EXPECT_EQ(At(t, MainControl::btnViewLog), Switch::Off);
    EXPECT_EQ(At(t, MainControl::mnuViewLog), Switch::Keep);
    EXPECT_EQ(At(t, MainControl::mnuOpenArchive), Switch::On);
    EXPECT_EQ(At(t, MainControl::ButtonOpenArchive), Switch::On);
    EXPECT_EQ(At(t, MainControl::mnuQuickDate), Switch::Off);
    EXPECT_EQ(At(t, MainControl::mnuTools), Switch::Off);
    EXPECT_EQ(At(t, MainControl::ButtonClearLog), Switch::Off);
    EXPECT_EQ(At(t, MainControl::ButtonOptimize), Switch::Off);
    EXPECT_EQ(At(t, MainControl::ButtonRepair), Switch::Off);
    EXPECT_EQ(At(t, MainControl::DateInputs), Switch::Off);
    EXPECT_EQ(At(t, MainControl::btnExit), Switch::Keep);
    // An invalid log counts as no log, unless an archive is open.
    EXPECT_EQ(DecideLogState(Flags(true, true, false)), LogState::NoUsableLog);
    EXPECT_EQ(DecideLogState(Flags(false, true, false, true)), LogState::Ready);
}

TEST(MainWindowEnabledStates, DamagedLogOffersRepairOnly) {
    EnabledTable t = EnabledStates(Flags(true, false, true));
    EXPECT_EQ(At(t, MainControl::mnuRepairLog), Switch::On);
    EXPECT_EQ(At(t, MainControl::ButtonRepair), Switch::On);
    EXPECT_EQ(At(t, MainControl::btnProcess), Switch::Off);
    EXPECT_EQ(At(t, MainControl::DateInputs), Switch::Off);
    EXPECT_EQ(At(t, MainControl::ButtonClearLog), Switch::Off);
    EXPECT_EQ(At(t, MainControl::mnuClearLog), Switch::Keep);
    EXPECT_EQ(At(t, MainControl::mnuOptimize), Switch::Off);
    EXPECT_EQ(At(t, MainControl::mnuPurgeLog), Switch::Off);
    EXPECT_EQ(At(t, MainControl::mnuOpenArchive), Switch::Off) << "menu off but its button on";
    EXPECT_EQ(At(t, MainControl::ButtonOpenArchive), Switch::On);
    EXPECT_EQ(At(t, MainControl::mnuTools), Switch::Keep);
    EXPECT_EQ(At(t, MainControl::btnExit), Switch::On);
}

TEST(MainWindowEnabledStates, ReadyLogFollowsArchiveAndViewer) {
    LogFlags live = Flags(true, false, false);
    EnabledTable t = EnabledStates(live);
    EXPECT_EQ(At(t, MainControl::btnProcess), Switch::On);
    EXPECT_EQ(At(t, MainControl::mnuOpenLog), Switch::Off);
    EXPECT_EQ(At(t, MainControl::mnuPurgeLog), Switch::On);
    EXPECT_EQ(At(t, MainControl::mnuRepairLog), Switch::Off);
    live.LogEmpty = true;
    EXPECT_EQ(At(EnabledStates(live), MainControl::mnuPurgeLog), Switch::Off);

    LogFlags archive = Flags(true, false, false, true);
    t = EnabledStates(archive);
    EXPECT_EQ(At(t, MainControl::mnuOpenLog), Switch::On);
    EXPECT_EQ(At(t, MainControl::mnuPurgeLog), Switch::Off);
    EXPECT_EQ(At(t, MainControl::mnuClearLog), Switch::Off) << "an archive is never cleared";
    EXPECT_EQ(At(t, MainControl::ButtonClearLog), Switch::Off);
    archive.LogFound = false;  // the live log went missing: keep whatever it was
    EXPECT_EQ(At(EnabledStates(archive), MainControl::mnuOpenLog), Switch::Keep);

    LogFlags text = live;
    text.ViewingTextFile = true;
    EXPECT_EQ(At(EnabledStates(text), MainControl::btnViewLog), Switch::Keep);
    EXPECT_EQ(At(EnabledStates(text), MainControl::mnuViewLog), Switch::Keep);

    LogFlags viewing = Flags(true, false, false);
    viewing.ViewingLog = true;
    t = EnabledStates(viewing);
    for (MainControl c :
         {MainControl::mnuClearLog, MainControl::ButtonClearLog, MainControl::mnuPurgeLog,
          MainControl::mnuOpenArchive, MainControl::ButtonOpenArchive, MainControl::mnuOptimize,
          MainControl::ButtonOptimize}) {
        EXPECT_EQ(At(t, c), Switch::Keep) << static_cast<int>(c);
    }
    EXPECT_EQ(At(t, MainControl::btnProcess), Switch::On);
}

// The controls a table switches (not Keep), each with its value.
std::vector<std::pair<MainControl, Switch>> Switched(const EnabledTable& t) {
    std::vector<std::pair<MainControl, Switch>> switched;
    for (int i = 0; i < kMainControlCount; ++i) {
        if (t[static_cast<size_t>(i)] != Switch::Keep)
            switched.emplace_back(static_cast<MainControl>(i), t[static_cast<size_t>(i)]);
    }
    return switched;
}

TEST(MainWindowViewer, OpeningAndClosingSwitchTheCommandsOnTheFileShown) {
    using C = MainControl;
    using ViewLogModel::Mode;
    const Switch Off = Switch::Off, On = Switch::On;
    using List = std::vector<std::pair<MainControl, Switch>>;
    const LogFlags log = Flags(true, false, false);

    ViewerStates open = ViewerSwitches(Mode::ModemLog, true, log);
    EXPECT_EQ(open.ViewCaption, "&Close Modem Log");
    EXPECT_EQ(open.OptimizeCaption, "") << "unchanged";
    EXPECT_EQ(Switched(open.Enabled), (List{{C::mnuOpenArchive, Off},
                                            {C::ButtonOpenArchive, Off},
                                            {C::mnuOpenLog, Off},
                                            {C::mnuPurgeLog, Off},
                                            {C::mnuOptimize, Off},
                                            {C::ButtonOptimize, Off},
                                            {C::mnuClearLog, Off},
                                            {C::ButtonClearLog, Off},
                                            {C::mnuOpenReport, Off},
                                            {C::mnuRecent, Off}}));
    ViewerStates closed = ViewerSwitches(Mode::ModemLog, false, log);
    EXPECT_EQ(closed.ViewCaption, "&View Modem Log");
    EXPECT_EQ(closed.OptimizeCaption, "&Optimize Modem Log");
    EXPECT_EQ(Switched(closed.Enabled), (List{{C::mnuOpenArchive, On},
                                              {C::ButtonOpenArchive, On},
                                              {C::mnuOpenLog, Off},
                                              {C::mnuPurgeLog, On},
                                              {C::mnuOptimize, On},
                                              {C::ButtonOptimize, On},
                                              {C::mnuClearLog, On},
                                              {C::ButtonClearLog, On},
                                              {C::mnuOpenReport, On},
                                              {C::mnuRecent, On}}));

    // An archive is never cleared or purged; the live log opens again only where it was found.
    EXPECT_EQ(ViewerSwitches(Mode::Archive, true, log).ViewCaption, "&Close Archive");
    closed = ViewerSwitches(Mode::Archive, false, log);
    EXPECT_EQ(closed.ViewCaption, "&View Archive");
    EXPECT_EQ(closed.OptimizeCaption, "&Optimize Archive");
    EXPECT_EQ(Switched(closed.Enabled), (List{{C::mnuOpenArchive, On},
                                              {C::ButtonOpenArchive, On},
                                              {C::mnuOpenLog, On},
                                              {C::mnuOptimize, On},
                                              {C::ButtonOptimize, On},
                                              {C::mnuOpenReport, On},
                                              {C::mnuRecent, On}}));
    EXPECT_EQ(At(ViewerSwitches(Mode::Archive, false, Flags(false, false, false, true)).Enabled,
                 C::mnuOpenLog),
              Off);

    // A text file holds back only the view command and what opens another file.
    for (bool opening : {true, false}) {
        ViewerStates text = ViewerSwitches(Mode::TextFile, opening, log);
        const Switch s = opening ? Off : On;
        EXPECT_EQ(text.ViewCaption, "");
        EXPECT_EQ(Switched(text.Enabled), (List{{C::btnViewLog, s},
                                                {C::ButtonViewModemLog, s},
                                                {C::mnuViewLog, s},
                                                {C::mnuOpenReport, s},
                                                {C::mnuRecent, s}}));
    }
    // The log's own table leaves the viewer's commands to it.
    EXPECT_EQ(At(EnabledStates(log), C::mnuOpenReport), Switch::Keep);
    EXPECT_EQ(At(EnabledStates(log), C::mnuRecent), Switch::Keep);
}

TEST(MainWindowStatusLine, TimedMessageStaysItsFullTime) {
    StatusTable table = StatusMessages();
    EXPECT_EQ(table[9].Text, "Invalid date entry!");
    EXPECT_TRUE(table[9].Timed && table[9].Bold);
    EXPECT_FALSE(table[1].Timed || table[1].Bold);
    EXPECT_EQ(table[14].Text, "");

    StatusLine line;
    line.StatusIndex = StatusId::InvalidDate;
    EXPECT_TRUE(line.Show(table));
    EXPECT_TRUE(line.TimerOn);
    EXPECT_TRUE(line.Bold);
    line.StatusIndex = StatusId::EnterStart;
    EXPECT_FALSE(line.Show(table)) << "not replaced, not queued";
    EXPECT_EQ(line.Text, "Invalid date entry!");
    line.StatusIndex = StatusId::InvalidDate;
    EXPECT_FALSE(line.Show(table)) << "the second request does not restart the time";
    line.StatusIndex = StatusId::EnterEnd;
    EXPECT_TRUE(line.TimerEnded(table));
    EXPECT_EQ(line.Text, table[2].Text);
    EXPECT_FALSE(line.TimerOn);
    EXPECT_FALSE(line.Bold);
}

TEST(MainWindowStatistics, TextsForEachLogState) {
    LogStatistics s;
    StatisticsTexts t = StatisticsFor(s);
    EXPECT_TRUE(t.NameOnly);
    EXPECT_EQ(t.Name, "Log Not Found");

    s.Flags.LogFound = true;
    s.LogFileTitle = "ModemLog.txt";
    s.LogFileDir = "C:\\WINDOWS\\";
    s.LogLength = 1536;
    s.LogLineCount = 42;
    s.FirstEntryDate = DateSerial(1999, 3, 5);
    s.LastEntryDate = DateSerial(1999, 4, 4);
    t = StatisticsFor(s);
    EXPECT_EQ(t.Heading, "Modem Log Stats");
    EXPECT_EQ(t.Length, "1536 Bytes (2KB)");
    EXPECT_EQ(t.Entries, "42");
    EXPECT_EQ(t.Span, "31 Days");
    EXPECT_FALSE(t.First.empty());

    s.Flags.ArchiveOpen = true;
    s.Flags.LogEmpty = true;
    t = StatisticsFor(s);
    EXPECT_EQ(t.Heading, "Archive/Log Stats");
    EXPECT_EQ(t.First, "N/A");
    EXPECT_EQ(t.Span, "N/A");

    s.Flags.LogCorrupt = true;
    t = StatisticsFor(s);
    EXPECT_EQ(t.Length, "N/A");
    EXPECT_EQ(t.Entries, "N/A");
}

TEST(MainWindowStatistics, KilobytesRoundHalvesToEven) {
    EXPECT_EQ(LengthText(1536), "1536 Bytes (2KB)");
    EXPECT_EQ(LengthText(2560), "2560 Bytes (2KB)");
    EXPECT_EQ(LengthText(3584), "3584 Bytes (4KB)");
    EXPECT_EQ(LengthText(0), "0 Bytes (0KB)");
}

TEST(MainWindowFitCaption, CutsLongTextsAndSurvivesNoRoom) {
    bool cut = true;
    EXPECT_EQ(FitCaption("short.txt", 100, 900, 5000, cut), "short.txt");
    EXPECT_FALSE(cut);
    // 40 characters at 100 twips each, 2000 twips of room: 20 - 3 = 17 characters kept.
    std::string name(40, 'x');
    EXPECT_EQ(FitCaption(name, 1000, 4000, 3000, cut), std::string(17, 'x') + "...");
    EXPECT_TRUE(cut);
    EXPECT_EQ(FitCaption(name, 1000, 4000, 1100, cut), "...");
    EXPECT_EQ(FitCaption(name, 1000, 10, 900, cut), "...");
    EXPECT_EQ(FitCaption("", 1000, 4000, 10, cut), "");
    EXPECT_FALSE(cut);
}

TEST(MainWindowAnimation, BouncesWithAFiveSecondRestAtFrameOne) {
    Animation a;
    std::vector<int> shown;
    for (int i = 0; i < 19; ++i)
        shown.push_back(a.Tick());
    std::vector<int> down;
    for (int f = 19; f >= 1; --f)
        down.push_back(f);
    EXPECT_EQ(shown, down);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(a.Tick(), 0) << "rest tick " << i;
    EXPECT_EQ(a.Tick(), 2);
    for (int f = 3; f <= 19; ++f)
        EXPECT_EQ(a.Tick(), f);
    EXPECT_EQ(a.Tick(), 1);
    for (int i = 0; i < 50; ++i)
        a.Tick();
    EXPECT_EQ(a.Tick(), 19);
}

TEST(MainWindowSize, ClampsInItsOrder) {
    int w = 0, h = 0;
    ClampMainWindowSize(w, h);
    EXPECT_EQ(w, 7200);
    EXPECT_EQ(h, 5100);
    w = 9000;
    h = 9000;
    ClampMainWindowSize(w, h);
    EXPECT_EQ(w, 8200);
    EXPECT_EQ(h, 6100);
}

TEST(MainWindowDateRange, DefaultStartRules) {
    DefaultStartInputs in;
    in.Usable = true;
    in.Today = DateSerial(2026, 12, 13);  // a Sunday
    in.TodayWeekday = 7;
    in.FirstEntryDate = DateSerial(2026, 11, 2);
    in.LastEntryDate = DateSerial(2026, 12, 10);
    Date keep = DateSerial(2000, 1, 1);

    in.UserStartPref = "First Log Entry";
    EXPECT_EQ(DefaultStart(in, keep), in.FirstEntryDate);
    in.UserStartPref = "Last Log Entry";
    EXPECT_EQ(DefaultStart(in, keep), in.LastEntryDate);
    in.LastEntryDate = 0;
    EXPECT_EQ(DefaultStart(in, keep), in.Today);

    in.UserStartPref = "Start of Week";
    in.UserStartOfWeek = 6;  // Sunday, today's weekday
    EXPECT_EQ(DefaultStart(in, keep), in.Today);
    in.UserStartOfWeek = 0;  // Monday on a Sunday: six days back
    EXPECT_EQ(DefaultStart(in, keep), in.Today - 6);
    in.TodayWeekday = 1;  // a Monday with Sunday as start: the day before
    in.UserStartOfWeek = 6;
    EXPECT_EQ(DefaultStart(in, keep), in.Today - 1);

    in.UserStartPref = "Start of Month";
    in.FirstOfMonthWeekday = 2;  // 1 December 2026 is a Tuesday
    in.UserStartOfMonth = 0;
    EXPECT_EQ(DefaultStart(in, keep), DateSerial(2026, 12, 1));
    in.UserStartOfMonth = 2;
    EXPECT_EQ(DefaultStart(in, keep), DateSerial(2026, 12, 1));
    in.UserStartOfMonth = 1;  // one before the 1st's weekday: the 7th
    EXPECT_EQ(DefaultStart(in, keep), DateSerial(2026, 12, 7));
    in.UserStartOfMonth = 9;
    EXPECT_EQ(DefaultStart(in, keep), keep);

    in.UserStartPref = "User Defined";
    in.UserStartDate = DateSerial(2026, 6, 1);
    EXPECT_EQ(DefaultStart(in, keep), in.UserStartDate);
    in.UserStartPref = "something else";
    EXPECT_EQ(DefaultStart(in, keep), keep);
    in.Usable = false;
    EXPECT_EQ(DefaultStart(in, keep), in.Today);
}

TEST(MainWindowDateRange, TypedDatesAreClampedToTheLogWithTheMatchingHint) {
    LogStatistics log;
    log.Flags.LogFound = true;
    log.FirstEntryDate = DateSerial(2026, 11, 2);
    log.LastEntryDate = DateSerial(2026, 11, 3);
    const Date before = DateSerial(2026, 10, 1);
    const Date after = DateSerial(2026, 12, 25);

    DateCorrection c = ClampStart(before, log, 1);
    EXPECT_TRUE(c.Corrected);
    EXPECT_EQ(c.Value, log.FirstEntryDate);
    EXPECT_EQ(c.Status, StatusId::StartBeforeFirst);
    EXPECT_EQ(ClampStart(before, log, 2).Status, StatusId::EndBeforeStart)
        << "an end typed before the first entry drags the start along";
    EXPECT_FALSE(ClampStart(log.FirstEntryDate, log, 1).Corrected);

    c = ClampEnd(after, log, 2);
    EXPECT_TRUE(c.Corrected);
    EXPECT_EQ(c.Value, log.LastEntryDate);
    EXPECT_EQ(c.Status, StatusId::EndAfterLast);
    EXPECT_EQ(ClampEnd(after, log, 1).Status, StatusId::StartAfterEnd);
    EXPECT_FALSE(ClampEnd(log.LastEntryDate, log, 2).Corrected);

    // No edges to keep to: a damaged, invalid or missing log; an empty one has no last entry.
    for (auto spoil :
         {+[](LogFlags& f) { f.LogCorrupt = true; }, +[](LogFlags& f) { f.LogInvalid = true; },
          +[](LogFlags& f) { f.LogFound = false; }}) {
        LogStatistics spoilt = log;
        spoil(spoilt.Flags);
        EXPECT_FALSE(ClampStart(before, spoilt, 1).Corrected);
        EXPECT_FALSE(ClampEnd(after, spoilt, 2).Corrected);
    }
    LogStatistics empty = log;
    empty.Flags.LogEmpty = true;
    EXPECT_TRUE(ClampStart(before, empty, 1).Corrected);
    EXPECT_FALSE(ClampEnd(after, empty, 2).Corrected);
    LogStatistics archive = log;
    archive.Flags.LogFound = false;
    archive.Flags.ArchiveOpen = true;
    EXPECT_TRUE(ClampEnd(after, archive, 2).Corrected);

    EXPECT_TRUE(CanProcess(true, true, archive.Flags));
    EXPECT_FALSE(CanProcess(true, false, log.Flags));
    EXPECT_FALSE(CanProcess(true, true, LogFlags{}));
}

class MainWindowLogState : public test_support::CoreStateTest {};

TEST_F(MainWindowLogState, GatheredFromTheProgramState) {
    DUVMain::LogFound = true;
    DUVMain::LogEmpty = true;
    DUVMain::ArchiveOpen = true;
    DUVMain::ViewingLog = true;
    DUVMain::LastEntryDate = DateSerial(2026, 11, 3);
    DUVMain::LogFileTitle = "ModemLog.txt";
    const LogStatistics log = CurrentLog();
    EXPECT_TRUE(log.Flags.LogFound && log.Flags.LogEmpty && log.Flags.ArchiveOpen &&
                log.Flags.ViewingLog);
    EXPECT_FALSE(log.Flags.LogCorrupt || log.Flags.LogInvalid || log.Flags.LogTooBig);
    EXPECT_EQ(log.LastEntryDate, DateSerial(2026, 11, 3));
    EXPECT_EQ(log.LogFileTitle, "ModemLog.txt");
    EXPECT_FALSE(UsableForDefaultStart(log.Flags));
}

TEST(MainWindowDateRange, CaptionCountsBothEnds) {
    EXPECT_EQ(DaysInRange(DateSerial(2026, 12, 1), DateSerial(2026, 12, 1)), 1);
    EXPECT_EQ(DaysInRange(DateSerial(2026, 12, 1), DateSerial(2026, 12, 7)), 7);
    EXPECT_EQ(DaysInRange(DateSerial(1900, 1, 1), DateSerial(2026, 12, 31)), 46386)
        << "beyond 16 bits";
    EXPECT_EQ(RangeCaption(true, 1), "DUVELO - Report for 1 day");
    EXPECT_EQ(RangeCaption(true, 7), "DUVELO - Report for 7 days");
    EXPECT_EQ(RangeCaption(false, 7), "DUVELO");
}

TEST(MainWindowRecentFiles, LongNamesAreCut) {
    EXPECT_EQ(RecentCaption(1, std::string(35, 'a')), "1.  " + std::string(35, 'a'));
    EXPECT_EQ(RecentCaption(4, std::string(36, 'b')), "4.  " + std::string(32, 'b') + "...");
}

}  // namespace
