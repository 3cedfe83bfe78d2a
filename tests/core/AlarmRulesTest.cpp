#include <gtest/gtest.h>

#include "alarm/AlarmRules.h"
#include "alarm/Chime.h"
#include "support/MemorySettingsStore.h"

using namespace quillet;

namespace {
DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return DateTime::FromParts(y, mo, d, h, mi, s); }

std::string Str(const DateTime& t) {
  DateParts p;
  if (!t.ToParts(p)) return t.IsNull() ? "null" : "invalid";
  char buf[32];
  std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.year, p.month, p.day, p.hour, p.minute, p.second);
  return buf;
}

DateTime Added(DateTime t, int unit, int count) {
  AddPeriod(t, unit, count);
  return t;
}

CNote Alarm(const DateTime& when, uint16_t type, int16_t every = 1) {
  CNote n;
  n.AlarmTime = when;
  n.AlarmType = type;
  n.AlarmEvery = every;
  return n;
}

// Fires the note's alarm at `now` and deals with it by closing the box.
void FireAndClose(CNote& n, const DateTime& now) {
  DateTime firing;
  ASSERT_TRUE(IsAlarmDue(n, now, &firing)) << Str(now);
  EXPECT_EQ(RescheduleAfterFiring(n, now, firing), AfterFiring::Keep);
}
}  // namespace

TEST(AddPeriod, MonthsKeepTheDayWithinTheMonth) {
  EXPECT_EQ(Str(Added(At(2023, 1, 31, 8), kUnitMonths, 1)), "2023-02-28 08:00:00");
  EXPECT_EQ(Str(Added(At(2024, 1, 31, 8), kUnitMonths, 1)), "2024-02-29 08:00:00");
  EXPECT_EQ(Str(Added(At(2023, 3, 31), kUnitMonths, 1)), "2023-04-30 00:00:00");
  EXPECT_EQ(Str(Added(At(2023, 11, 30), kUnitMonths, 3)), "2024-02-29 00:00:00");
  EXPECT_EQ(Str(Added(At(2023, 12, 15), kUnitMonths, 1)), "2024-01-15 00:00:00");
  EXPECT_EQ(Str(Added(At(2023, 1, 10), kUnitMonths, 25)), "2025-02-10 00:00:00");
  EXPECT_EQ(Str(Added(At(2024, 2, 29, 7, 30), kUnitMonths, 12)), "2025-02-28 07:30:00");
  EXPECT_EQ(Str(Added(At(1899, 12, 31), kUnitMonths, 2)), "1900-02-28 00:00:00");  // 1900 is no leap year
  EXPECT_EQ(Str(Added(At(2099, 12, 31), kUnitMonths, 2)), "2100-02-28 00:00:00");
  EXPECT_EQ(Str(Added(At(1999, 12, 31), kUnitMonths, 2)), "2000-02-29 00:00:00");
}

TEST(AddPeriod, YearsFrom29FebruaryStayAnAlarm) {
  EXPECT_EQ(Str(Added(At(2024, 2, 29, 9), kUnitYears, 1)), "2025-02-28 09:00:00");
  EXPECT_EQ(Str(Added(At(2024, 2, 29, 9), kUnitYears, 4)), "2028-02-29 09:00:00");
  EXPECT_EQ(Str(Added(At(2023, 6, 1), 99, 2)), "2025-06-01 00:00:00");  // an unknown unit counts as years
}

TEST(AddPeriod, SmallUnitsCrossDaysAndTheEpoch) {
  EXPECT_EQ(Str(Added(At(2026, 12, 31, 23, 50), kUnitMinutes, 15)), "2027-01-01 00:05:00");
  EXPECT_EQ(Str(Added(At(2026, 3, 1, 22), kUnitHours, 5)), "2026-03-02 03:00:00");
  EXPECT_EQ(Str(Added(At(2026, 12, 7, 9), kUnitWeeks, 2)), "2026-12-21 09:00:00");
  EXPECT_EQ(Str(Added(At(1899, 12, 29, 18), kUnitHours, 12)), "1899-12-30 06:00:00");
  EXPECT_EQ(Str(Added(At(1899, 12, 28, 6), kUnitDays, 1)), "1899-12-29 06:00:00");
  // A count below 1 still moves on.
  EXPECT_EQ(Str(Added(At(2026, 1, 1), kUnitDays, 0)), "2026-01-02 00:00:00");
}

TEST(AlarmDue, AtTheSecondAndNotBefore) {
  const CNote n = Alarm(At(2026, 12, 7, 8), 0);
  EXPECT_FALSE(IsAlarmDue(n, At(2026, 12, 7, 7, 59, 59)));
  EXPECT_TRUE(IsAlarmDue(n, At(2026, 12, 7, 8)));
  EXPECT_FALSE(IsAlarmDue(CNote{}, At(2026, 12, 7, 8)));
  EXPECT_EQ(Str(*NextOccurrence(n, At(2026, 12, 7, 7))), "2026-12-07 08:00:00");
  EXPECT_FALSE(NextOccurrence(n, At(2026, 12, 7, 8)));  // due is not next
}

TEST(AlarmReschedule, OnceThenGoneOrDeleted) {
  CNote keep = Alarm(At(2026, 12, 7, 8), 0);
  FireAndClose(keep, At(2026, 12, 7, 8, 0, 1));
  EXPECT_TRUE(keep.AlarmTime.IsNull());
  CNote del = Alarm(At(2026, 12, 7, 8), 1);
  EXPECT_EQ(RescheduleAfterFiring(del, At(2026, 12, 7, 8), At(2026, 12, 7, 8)), AfterFiring::DeleteNote);
  CNote flash = Alarm(At(2026, 12, 7, 8), 1);
  flash.AlarmAction = 1;
  EXPECT_EQ(RescheduleAfterFiring(flash, At(2026, 12, 7, 8), At(2026, 12, 7, 8)), AfterFiring::Keep);
  EXPECT_TRUE(flash.AlarmTime.IsNull());
}

TEST(AlarmReschedule, ALateStartFiresOnceAndKeepsThePhase) {
  CNote hourly = Alarm(At(2026, 12, 7, 8), kUnitHours, 1);
  FireAndClose(hourly, At(2026, 12, 7, 17, 30));
  EXPECT_EQ(Str(hourly.AlarmTime), "2026-12-07 18:00:00");
  EXPECT_FALSE(IsAlarmDue(hourly, At(2026, 12, 7, 17, 31)));
}

TEST(AlarmReschedule, ACountBelowOneDoesNotHang) {
  CNote broken = Alarm(At(2026, 12, 7, 8), kUnitMinutes, 0);
  FireAndClose(broken, At(2026, 12, 7, 9));
  EXPECT_EQ(Str(broken.AlarmTime), "2026-12-07 09:01:00");
  CNote negative = Alarm(At(2026, 12, 7, 8), kUnitWeeks, -5);
  FireAndClose(negative, At(2026, 12, 7, 9));
  EXPECT_EQ(Str(negative.AlarmTime), "2026-12-14 08:00:00");
}

TEST(AlarmRemind, RemindersKeepTheSeriesPhase) {
  CNote hourly = Alarm(At(2026, 12, 7, 8), kUnitHours, 1);
  DateTime firing;
  ASSERT_TRUE(IsAlarmDue(hourly, At(2026, 12, 7, 8), &firing));
  PostponeAlarm(hourly, At(2026, 12, 7, 8), firing, 5);
  EXPECT_EQ(Str(hourly.AlarmTime), "2026-12-07 08:05:00");
  EXPECT_EQ(Str(hourly.AlarmScheduled), "2026-12-07 08:00:00");
  // A second reminder keeps the first scheduled time.
  ASSERT_TRUE(IsAlarmDue(hourly, At(2026, 12, 7, 8, 5), &firing));
  PostponeAlarm(hourly, At(2026, 12, 7, 8, 5), firing, 5);
  EXPECT_EQ(Str(hourly.AlarmScheduled), "2026-12-07 08:00:00");
  FireAndClose(hourly, At(2026, 12, 7, 8, 10));
  EXPECT_EQ(Str(hourly.AlarmTime), "2026-12-07 09:00:00");
  EXPECT_TRUE(hourly.AlarmScheduled.IsNull());
}

TEST(AlarmDaily, FiresOnSelectedDaysOnceADay) {
  // 2026-12-07 is a Monday; Monday to Friday is 0x1F.
  CNote n = Alarm(At(1899, 12, 30, 10), kAlarmDaily, 0x1F);
  EXPECT_FALSE(IsAlarmDue(n, At(2026, 12, 7, 9)));
  FireAndClose(n, At(2026, 12, 7, 10, 0, 1));
  EXPECT_EQ(Str(n.AlarmTime), "2026-12-07 10:00:00");
  EXPECT_FALSE(IsAlarmDue(n, At(2026, 12, 7, 11)));  // fired today
  EXPECT_TRUE(IsAlarmDue(n, At(2026, 12, 8, 10)));
  EXPECT_FALSE(IsAlarmDue(n, At(2026, 12, 12, 10)));  // Saturday
  // Friday evening: the next one is Monday morning.
  const CNote friday = Alarm(At(1899, 12, 30, 8), kAlarmDaily, 0x1F);
  EXPECT_EQ(Str(*NextOccurrence(friday, At(2026, 12, 11, 18))), "2026-12-14 08:00:00");
  EXPECT_FALSE(NextOccurrence(Alarm(At(1899, 12, 30, 8), kAlarmDaily, 0), At(2026, 12, 11, 18)));
}

TEST(AlarmDaily, AReminderAcrossMidnightRingsOnceEvenOnAnUnselectedDay) {
  // Friday only (0x10); it fires on Friday 2026-12-11 at 23:58.
  CNote n = Alarm(At(1899, 12, 30, 23, 58), kAlarmDaily, 0x10);
  DateTime firing;
  ASSERT_TRUE(IsAlarmDue(n, At(2026, 12, 11, 23, 58), &firing));
  PostponeAlarm(n, At(2026, 12, 11, 23, 58), firing, 5);
  EXPECT_EQ(Str(n.AlarmTime), "2026-12-13 00:03:00");  // a date two days ahead
  EXPECT_EQ(Str(*NextOccurrence(n, At(2026, 12, 11, 23, 59))), "2026-12-12 00:03:00");
  EXPECT_FALSE(IsAlarmDue(n, At(2026, 12, 12, 0, 2)));
  ASSERT_TRUE(IsAlarmDue(n, At(2026, 12, 12, 0, 3), &firing));  // Saturday, not selected: rings all the same
  EXPECT_EQ(RescheduleAfterFiring(n, At(2026, 12, 12, 0, 3), firing), AfterFiring::Keep);
  EXPECT_FALSE(IsAlarmDue(n, At(2026, 12, 12, 0, 4)));
  EXPECT_FALSE(IsAlarmDue(n, At(2026, 12, 12, 23, 59)));
  EXPECT_TRUE(IsAlarmDue(n, At(2026, 12, 18, 23, 58)));  // next Friday as before
}

TEST(AlarmDaily, AReminderOnTheSameDayDoesNotBlockTomorrow) {
  CNote n = Alarm(At(1899, 12, 30, 8), kAlarmDaily, 0x7F);
  DateTime firing;
  ASSERT_TRUE(IsAlarmDue(n, At(2026, 12, 7, 8), &firing));
  PostponeAlarm(n, At(2026, 12, 7, 8), firing, 5);
  FireAndClose(n, At(2026, 12, 7, 8, 5));
  EXPECT_FALSE(IsAlarmDue(n, At(2026, 12, 7, 9)));
  EXPECT_TRUE(IsAlarmDue(n, At(2026, 12, 8, 8)));
}

TEST(AlarmAnnouncement, WholeMinutesUntil) {
  EXPECT_EQ(MinutesUntil(At(2026, 12, 7, 8), At(2026, 12, 7, 8, 15)), 15);
  EXPECT_EQ(MinutesUntil(At(2026, 12, 7, 8), At(2026, 12, 7, 8, 0, 59)), 0);
  EXPECT_EQ(MinutesUntil(At(2026, 12, 7, 8), At(2026, 12, 8, 8)), 1440);
}

namespace {
struct DialogFixture : ::testing::Test {
  test::MemorySettingsStore store;
  CSettings settings{store};
  CNote opened;
  const DateTime now = At(2026, 12, 7, 9, 0, 0);
  AlarmInput Specified(int h, int m = 0) {
    AlarmInput in;
    in.date = {2026, 12, 7};
    in.time = {0, 0, 0, h, m, 0};
    return in;
  }
};
}  // namespace

using ComposeAlarmTest = DialogFixture;

TEST_F(ComposeAlarmTest, ASpecifiedTimeMustLieAhead) {
  EXPECT_EQ(ComposeAlarm(Specified(9), opened, now, settings).refusedWith, 30004);
  EXPECT_EQ(ComposeAlarm(Specified(8, 59), opened, now, settings).refusedWith, 30004);
  const AlarmOutcome ok = ComposeAlarm(Specified(10, 30), opened, now, settings);
  EXPECT_EQ(ok.refusedWith, 0);
  EXPECT_EQ(Str(ok.alarmTime), "2026-12-07 10:30:00");
  EXPECT_EQ(settings.Int("AlarmTime"), 103000);
}

TEST_F(ComposeAlarmTest, DailyWaitsForTheNextDayWhenTodaysTimeHasPassed) {
  AlarmInput in = Specified(8);
  in.typeChoice = 3;
  in.weekdayMask = 0x1F;
  AlarmOutcome r = ComposeAlarm(in, opened, now, settings);
  EXPECT_EQ(Str(r.alarmTime), "2026-12-07 08:00:00");
  EXPECT_EQ(r.type, kAlarmDaily);
  EXPECT_EQ(r.every, 0x1F);
  EXPECT_FALSE(IsAlarmDue(Alarm(r.alarmTime, r.type, r.every), At(2026, 12, 7, 9, 1)));
  in.time.hour = 10;
  r = ComposeAlarm(in, opened, now, settings);
  EXPECT_EQ(Str(r.alarmTime), "1899-12-30 10:00:00");
  EXPECT_TRUE(IsAlarmDue(Alarm(r.alarmTime, r.type, r.every), At(2026, 12, 7, 10)));
  in.weekdayMask = 0;
  EXPECT_EQ(ComposeAlarm(in, opened, now, settings).refusedWith, 30008);
}

TEST_F(ComposeAlarmTest, PeriodsRepeatsActionsAndSounds) {
  AlarmInput in;
  in.mode = 1;
  in.spanCount = "x";  // not a number counts as 1
  in.spanUnit = kUnitMonths;
  in.typeChoice = 2;
  in.everyCount = "3";
  in.repeatUnit = kUnitDays;
  in.actionChoice = 2;
  in.exec = "  /usr/bin/xmessage hello  ";
  in.audioChoice = 2;
  in.repeatSound = true;
  in.wave = "/snd/bell.wav";
  const AlarmOutcome r = ComposeAlarm(in, opened, now, settings);
  EXPECT_EQ(Str(r.alarmTime), "2027-01-07 09:00:00");
  EXPECT_EQ(r.type, kUnitDays);
  EXPECT_EQ(r.every, 3);
  EXPECT_EQ(r.action, 2);
  EXPECT_EQ(r.exec, "/usr/bin/xmessage hello");
  EXPECT_EQ(r.signal, 3);
  EXPECT_EQ(settings.Int("AlarmSpanCount"), 1);
  EXPECT_EQ(settings.Int("AlarmSpanType"), kUnitMonths);
  EXPECT_EQ(settings.Int("AlarmRepeat"), kUnitDays);
  EXPECT_EQ(settings.String("AlarmExec"), "/usr/bin/xmessage hello");
  EXPECT_EQ(settings.GetStringList("Wave"), (std::vector<std::string>{"/snd/bell.wav"}));
}

TEST_F(ComposeAlarmTest, SwitchedOffKeepsWhatItWasOpenedWith) {
  opened.AlarmType = 6;
  opened.AlarmEvery = 2;
  opened.AlarmTime = At(2027, 1, 1);
  AlarmInput in;
  in.activate = false;
  const AlarmOutcome r = ComposeAlarm(in, opened, now, settings);
  EXPECT_TRUE(r.alarmTime.IsNull());
  EXPECT_EQ(r.type, 6);
  EXPECT_EQ(r.every, 2);
}

TEST_F(ComposeAlarmTest, RecentListsMoveToTheTopAndHoldSixteen) {
  for (int i = 1; i <= 17; ++i) PushRecent(settings, "Run", "prog" + std::to_string(i));
  std::vector<std::string> list = settings.GetStringList("Run");
  ASSERT_EQ(list.size(), 16u);
  EXPECT_EQ(list.front(), "prog17");
  EXPECT_EQ(list.back(), "prog2");
  PushRecent(settings, "Run", "prog9");
  list = settings.GetStringList("Run");
  EXPECT_EQ(list.front(), "prog9");
  EXPECT_EQ(std::count(list.begin(), list.end(), "prog9"), 1);
}

using ComposeHideTest = DialogFixture;

TEST_F(ComposeHideTest, ModesAndPeriods) {
  HideInput in;
  in.choice = 1;
  EXPECT_EQ(ComposeHide(in, now, settings).mode, 1);
  in.choice = 2;
  in.date = {2026, 12, 7};
  in.time = {0, 0, 0, 8, 0, 0};
  EXPECT_EQ(ComposeHide(in, now, settings).refusedWith, 30004);
  in.date.day = 8;
  HideOutcome r = ComposeHide(in, now, settings);
  EXPECT_EQ(r.mode, 2);
  EXPECT_EQ(Str(r.until), "2026-12-08 08:00:00");
  EXPECT_EQ(settings.Int("HideTime"), 80000);
  in.choice = 3;
  in.spanCount = "1";
  in.spanUnit = kUnitMonths;
  r = ComposeHide(in, At(2027, 1, 31, 14, 20), settings);
  EXPECT_EQ(Str(r.until), "2027-02-28 14:20:00");
  CNote hidden;
  hidden.HideMode = 2;
  hidden.HideUntil = r.until;
  EXPECT_FALSE(TimedUnhideDue(hidden, At(2027, 2, 28, 14, 19, 59)));
  EXPECT_TRUE(TimedUnhideDue(hidden, At(2027, 2, 28, 14, 20)));
}

TEST(AlarmCounts, TextsThatAreNotCountsCountAsOne) {
  EXPECT_EQ(CountOf(""), 1);
  EXPECT_EQ(CountOf("abc"), 1);
  EXPECT_EQ(CountOf("0"), 1);
  EXPECT_EQ(CountOf(" 12 "), 12);
  EXPECT_EQ(CountOf("123456"), 9999);
  EXPECT_EQ(TimeOfDayToInt(TimeOfDayFromInt(235959)), 235959);
  EXPECT_EQ(TimeOfDayFromInt(7).second, 7);
}

// However long overdue, a periodic alarm rings once and its next time lies
// just ahead, in the phase of the series.
TEST(Reschedule, AnAlarmOverdueForDecadesFiresOnce) {
  for (const int year : {1900, 1996}) {
    CNote n = Alarm(At(year, 1, 1, 0, 0, 30), kUnitMinutes);
    const DateTime now = At(2026, 12, 7, 8, 0, 10);
    FireAndClose(n, now);
    EXPECT_EQ(Str(n.AlarmTime), "2026-12-07 08:00:30") << year;
    EXPECT_FALSE(IsAlarmDue(n, now, nullptr)) << year;
  }
  CNote weekly = Alarm(At(1900, 1, 1, 9), kUnitWeeks, 2);  // a Monday, every other week
  FireAndClose(weekly, At(2026, 12, 7, 8));
  EXPECT_EQ(Str(weekly.AlarmTime), "2026-12-14 09:00:00");
}

TEST(Chime, IsAShortCleanWaveFile) {
  const std::vector<uint8_t> w = ChimeWave();
  ASSERT_GT(w.size(), 44u);
  const auto u32 = [&](std::size_t at) { return w[at] | (w[at + 1] << 8) | (w[at + 2] << 16) | (uint32_t{w[at + 3]} << 24); };
  EXPECT_EQ(std::string(w.begin(), w.begin() + 4), "RIFF");
  EXPECT_EQ(u32(4), w.size() - 8);
  EXPECT_EQ(std::string(w.begin() + 8, w.begin() + 16), "WAVEfmt ");
  EXPECT_EQ(u32(24), 22050u);
  EXPECT_EQ(u32(40), w.size() - 44);
  const std::size_t samples = (w.size() - 44) / 2;
  EXPECT_GT(samples, 22050u / 10);  // audible
  EXPECT_LT(samples, 22050u);       // and short
  int peak = 0;
  for (std::size_t i = 0; i < samples; ++i)
    peak = std::max(peak, std::abs(static_cast<int16_t>(w[44 + 2 * i] | (w[45 + 2 * i] << 8))));
  EXPECT_GT(peak, 8000);
  EXPECT_LT(peak, 32000);  // never clipped
  const auto last = static_cast<int16_t>(w[w.size() - 2] | (w[w.size() - 1] << 8));
  EXPECT_LT(std::abs(last), 200);  // no click at the end
}
