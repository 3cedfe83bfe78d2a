#pragma once
// The alarm arithmetic: adding periods, deciding what is due, finding the
// next alarm, moving an alarm on after it fired, postponing it, and turning
// the alarm and hide dialogs' input into a note's fields. "Now" is always a
// parameter.
#include <optional>
#include <string>

#include "app/SettingsStore.h"
#include "common/DateTime.h"
#include "notes/Note.h"

namespace quillet {

enum PeriodUnit : int { kUnitMinutes = 2, kUnitHours = 3, kUnitDays = 4, kUnitWeeks = 5, kUnitMonths = 6, kUnitYears = 7 };
inline constexpr int kAlarmDaily = 8;

// The weekday mask bit (Monday 0x01 .. Sunday 0x40) of a day of the week
// counted from Sunday = 0.
int WeekdayBit(int dayOfWeek);

// The local time to the second, as every rule sees "now".
DateTime NowToTheSecond();

// Adds count units to t; a count below 1 counts as 1. Months and years keep
// the day within the month's length (29 February plus a year is 28 February).
void AddPeriod(DateTime& t, int unit, int count);
DateTime AddMinutes(const DateTime& t, double minutes);

// Comparisons of valid date-times, on the linear time line.
double LinearDate(const DateTime& t);
DateTime FromLinear(double linear);
bool Before(const DateTime& a, const DateTime& b);  // a < b

DateTime Compose(const DateParts& date, const DateParts& timeOfDay);
// A time of day stored as the integer HHMMSS.
DateParts TimeOfDayFromInt(int hhmmss);
int TimeOfDayToInt(const DateParts& p);

std::optional<DateTime> NextOccurrence(const CNote& note, const DateTime& now);
// Due, and when it is, the firing time it was due at.
bool IsAlarmDue(const CNote& note, const DateTime& now, DateTime* firing = nullptr);

enum class AfterFiring { Keep, DeleteNote };
// Moves the alarm on after a firing that was dealt with.
AfterFiring RescheduleAfterFiring(CNote& note, const DateTime& now, const DateTime& firing);
// The remind button: the alarm rings again remindMinutes from now.
void PostponeAlarm(CNote& note, const DateTime& now, const DateTime& firing, int remindMinutes);

// The whole minutes from now to t, as the tray announcement counts them.
long MinutesUntil(const DateTime& now, const DateTime& t);

// What the alarm dialog holds when it is confirmed.
struct AlarmInput {
  bool activate = true;
  int mode = 0;  // 0 specified date/time, 1 period of time from now on
  DateParts date, time;
  std::string spanCount = "1";
  int spanUnit = kUnitWeeks;
  int typeChoice = 0;  // 0 keep, 1 delete, 2 repeat every, 3 repeat daily
  std::string everyCount = "1";
  int repeatUnit = kUnitWeeks;
  int weekdayMask = 31;
  int actionChoice = 0;  // 0 box, 1 flash, 2 run
  std::string exec;
  int audioChoice = 0;  // 0 none, 1 speaker, 2 sound file
  bool repeatSound = false;
  std::string wave;
};

struct AlarmOutcome {
  int refusedWith = 0;  // message id that keeps the dialog open, 0 when done
  DateTime alarmTime;
  uint16_t type = 0;
  int16_t every = 1;
  uint16_t action = 0, signal = 0;
  std::string exec, wave;
};

// Composes the alarm fields from the dialog; writes the remembered defaults.
// `opened` gives the fields the dialog was opened with (kept when the alarm
// is switched off).
AlarmOutcome ComposeAlarm(const AlarmInput& in, const CNote& opened, const DateTime& now, CSettings& settings);

// Moves an entry to the top of a recent list (at most 16 entries).
void PushRecent(CSettings& settings, const std::string& section, const std::string& entry);

// The hide dialog.
struct HideInput {
  int choice = 1;  // 0 don't hide, 1 until activated, 2 until date/time, 3 for a period
  DateParts date, time;
  std::string spanCount = "1";
  int spanUnit = kUnitWeeks;
};
struct HideOutcome {
  int refusedWith = 0;
  uint16_t mode = 0;
  DateTime until;
};
HideOutcome ComposeHide(const HideInput& in, const DateTime& now, CSettings& settings);

// A note hidden until a time that has come is shown again.
bool TimedUnhideDue(const CNote& note, const DateTime& now);

// Parses a count text; empty, non-numeric or below 1 gives 1, more than 9999 gives 9999.
int CountOf(const std::string& text);

}  // namespace quillet
