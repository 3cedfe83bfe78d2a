#include "alarm/AlarmRules.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "common/Text.h"
#include "app/Ids.h"

namespace quillet {

int WeekdayBit(int dayOfWeek) {
  static const int kBits[7] = {0x40, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20};
  return kBits[((dayOfWeek % 7) + 7) % 7];
}

DateTime NowToTheSecond() { return DateTime::Now(); }

double LinearDate(const DateTime& t) {
  const double d = t.Date();
  return d >= 0 ? d : 2 * std::ceil(d) - d;
}

DateTime FromLinear(double l) {
  if (l >= 0) return DateTime::FromDate(l);
  const double day = std::floor(l);
  return DateTime::FromDate(day - (l - day));
}

bool Before(const DateTime& a, const DateTime& b) { return LinearDate(a) < LinearDate(b); }

namespace {
// Equal within a few microseconds: DATE arithmetic is not exact.
constexpr double kEpsilon = 1e-9;
bool AtOrAfter(const DateTime& a, const DateTime& b) { return LinearDate(a) >= LinearDate(b) - kEpsilon; }

DateParts PartsOf(const DateTime& t) {
  DateParts p;
  if (!t.ToParts(p)) p = DateParts{-1, -1, -1, -1, -1, -1, -1, -1};
  return p;
}

bool SameDay(const DateParts& a, const DateParts& b) { return a.year == b.year && a.month == b.month && a.day == b.day; }
}  // namespace

DateTime AddMinutes(const DateTime& t, double minutes) {
  return FromLinear(std::round((LinearDate(t) + minutes / 1440.0) * 86400.0) / 86400.0);
}

DateTime Compose(const DateParts& date, const DateParts& tod) {
  return DateTime::FromParts(date.year, date.month, date.day, tod.hour, tod.minute, tod.second);
}

namespace {
// Fractions of a day add up with rounding errors; an alarm time stays on the second.
DateTime OnTheSecond(double linear) { return FromLinear(std::round(linear * 86400.0) / 86400.0); }
}  // namespace

void AddPeriod(DateTime& t, int unit, int count) {
  // A stored count below 1 would never move the alarm on.
  count = std::max(1, count);
  switch (unit) {
    case kUnitMinutes: t = OnTheSecond(LinearDate(t) + count * (1.0 / 1440)); return;
    case kUnitHours: t = OnTheSecond(LinearDate(t) + count * (1.0 / 24)); return;
    case kUnitDays: t = FromLinear(LinearDate(t) + count); return;
    case kUnitWeeks: t = FromLinear(LinearDate(t) + 7.0 * count); return;
    default: break;
  }
  const DateParts p = PartsOf(t);
  if (p.year < 0) {
    t = DateTime(0.0, DateTime::Invalid);
    return;
  }
  int y = p.year, m = p.month;
  if (unit == kUnitMonths) {
    m += count;
    if (m > 12) {
      const int k = (m - 13) / 12 + 1;
      m -= 12 * k;
      y += k;
    }
  } else {
    y += count;
  }
  // The day is held to the month's length, for years as for months.
  const int day = std::min(p.day, DaysInMonth(y, m));
  t = DateTime::FromParts(y, m, day, p.hour, p.minute, p.second);
}

DateParts TimeOfDayFromInt(int v) {
  v = std::clamp(v, 0, 999999);
  DateParts p;
  p.hour = v / 10000;
  p.minute = (v / 100) % 100;
  p.second = v % 100;
  if (p.hour > 23 || p.minute > 59 || p.second > 59) p.hour = p.minute = p.second = 0;
  return p;
}

int TimeOfDayToInt(const DateParts& p) { return p.hour * 10000 + p.minute * 100 + p.second; }

namespace {
// A daily alarm postponed by a reminder rings at its postponed moment, which
// its date part holds one day ahead so that it never counts as "fired today".
bool IsPostponedDaily(const CNote& n) { return n.AlarmType == kAlarmDaily && n.AlarmScheduled.IsValid(); }
DateTime PostponedMoment(const CNote& n) { return FromLinear(LinearDate(n.AlarmTime) - 1.0); }
}  // namespace

std::optional<DateTime> NextOccurrence(const CNote& n, const DateTime& now) {
  if (!n.AlarmTime.IsValid()) return std::nullopt;
  if (n.AlarmType == kAlarmDaily) {
    if (IsPostponedDaily(n)) {
      const DateTime at = PostponedMoment(n);
      return Before(now, at) ? std::optional<DateTime>(at) : std::nullopt;
    }
    const DateParts today = PartsOf(now);
    DateTime c = Compose(today, PartsOf(n.AlarmTime));
    if (!c.IsValid()) return std::nullopt;
    for (int i = 0; i < 9; ++i) {
      const DateParts cp = PartsOf(c);
      if ((WeekdayBit(cp.dayOfWeek) & n.AlarmEvery) && Before(now, c)) return c;
      c = FromLinear(LinearDate(c) + 1.0);
    }
    return std::nullopt;
  }
  if (Before(now, n.AlarmTime)) return n.AlarmTime;
  return std::nullopt;
}

bool IsAlarmDue(const CNote& n, const DateTime& now, DateTime* firing) {
  if (!n.AlarmTime.IsValid()) return false;
  DateTime t = n.AlarmTime;
  if (n.AlarmType == kAlarmDaily) {
    if (IsPostponedDaily(n)) {
      // A reminder rings at its time, whatever the weekday.
      t = PostponedMoment(n);
    } else {
      const DateParts at = PartsOf(n.AlarmTime);
      const DateParts today = PartsOf(now);
      if (SameDay(at, today)) return false;
      t = Compose(today, at);
      if (!t.IsValid() || !(WeekdayBit(today.dayOfWeek) & n.AlarmEvery)) return false;
    }
  }
  if (!AtOrAfter(now, t)) return false;
  if (firing) *firing = t;
  return true;
}

AfterFiring RescheduleAfterFiring(CNote& n, const DateTime& now, const DateTime& firing) {
  switch (n.AlarmType) {
    case 0:
      n.AlarmTime.SetNull();
      n.AlarmScheduled.SetNull();
      return AfterFiring::Keep;
    case 1:
      if (n.AlarmAction == 1) {
        n.AlarmTime.SetNull();
        n.AlarmScheduled.SetNull();
        return AfterFiring::Keep;  // deleted when its flashing ends
      }
      return AfterFiring::DeleteNote;
    case kAlarmDaily: {
      // The day of the firing it stood for is the day it fired: after a
      // reminder that is the scheduled day, not the day the reminder rang on.
      const DateTime stands = n.AlarmScheduled.IsValid() ? n.AlarmScheduled : firing;
      n.AlarmTime = Compose(PartsOf(stands), PartsOf(n.AlarmScheduled.IsValid() ? n.AlarmScheduled : n.AlarmTime));
      n.AlarmScheduled.SetNull();
      return AfterFiring::Keep;
    }
    default: {
      DateTime b = n.AlarmScheduled.IsValid() ? n.AlarmScheduled : firing;
      // Periods of a fixed length are skipped by arithmetic up to just before
      // now, however long the alarm was overdue; the loop then takes a step or two.
      const double days = n.AlarmType == kUnitMinutes ? 1.0 / 1440
                          : n.AlarmType == kUnitHours ? 1.0 / 24
                          : n.AlarmType == kUnitDays  ? 1.0
                          : n.AlarmType == kUnitWeeks ? 7.0
                                                      : 0.0;
      if (days > 0 && n.AlarmEvery > 0 && b.IsValid()) {
        const double periods = (LinearDate(now) - LinearDate(b)) / (days * n.AlarmEvery);
        const double skip = std::floor(periods) - 1;
        if (skip >= 1 && skip * n.AlarmEvery < 2e9) AddPeriod(b, n.AlarmType, static_cast<int>(skip) * n.AlarmEvery);
      }
      // The series keeps the phase of its first firing time.
      for (int guard = 0; b.IsValid() && AtOrAfter(now, b) && guard < 10000000; ++guard)
        AddPeriod(b, n.AlarmType, n.AlarmEvery);
      n.AlarmTime = b;
      n.AlarmScheduled.SetNull();
      return AfterFiring::Keep;
    }
  }
}

void PostponeAlarm(CNote& n, const DateTime& now, const DateTime& firing, int remindMinutes) {
  if (!n.AlarmScheduled.IsValid()) n.AlarmScheduled = firing;
  n.AlarmTime = AddMinutes(now, remindMinutes);
  if (n.AlarmType == kAlarmDaily) n.AlarmTime = FromLinear(LinearDate(n.AlarmTime) + 1.0);
}

long MinutesUntil(const DateTime& now, const DateTime& t) {
  double days = LinearDate(t) - LinearDate(now);
  days += days >= 0 ? 0.5 / 86400 : -0.5 / 86400;
  return static_cast<long>(std::trunc(days * 1440));
}

int CountOf(const std::string& text) {
  const std::string s = Trim(text);
  long v = 0;
  const auto r = std::from_chars(s.data(), s.data() + s.size(), v);
  if (r.ec != std::errc() || v < 1) return 1;
  return static_cast<int>(std::min(v, 9999L));
}

void PushRecent(CSettings& settings, const std::string& section, const std::string& entry) {
  std::vector<std::string> list = settings.GetStringList(section);
  list.erase(std::remove(list.begin(), list.end(), entry), list.end());
  list.insert(list.begin(), entry);
  if (list.size() > 16) list.resize(16);
  settings.WriteStringList(section, list);
}

AlarmOutcome ComposeAlarm(const AlarmInput& in, const CNote& opened, const DateTime& now, CSettings& s) {
  AlarmOutcome out;
  out.type = opened.AlarmType;
  out.every = opened.AlarmEvery;
  out.action = opened.AlarmAction;
  out.signal = opened.AlarmSignal;
  out.exec = opened.AlarmExec();
  out.wave = opened.AlarmWave();
  if (!in.activate) {
    out.alarmTime = DateTime();
    return out;
  }
  const bool daily = in.typeChoice == 3;
  if (in.mode == 0 && !daily) {
    out.alarmTime = Compose(in.date, in.time);
    if (!out.alarmTime.IsValid() || !Before(now, out.alarmTime)) {
      out.refusedWith = Str::TimeMustBeInFuture;
      return out;
    }
  } else if (in.mode == 0) {
    const DateParts np = PartsOf(now);
    const int p = TimeOfDayToInt(in.time), q = TimeOfDayToInt(np);
    // Today's time has passed: the alarm waits for the next selected day.
    out.alarmTime = p < q ? Compose(np, in.time) : Compose(DateParts{1899, 12, 30}, in.time);
  }
  if (in.mode == 0) s.WriteInt("Settings", "AlarmTime", TimeOfDayToInt(in.time));
  if (in.mode == 1) {
    const int count = CountOf(in.spanCount);
    out.alarmTime = now;
    AddPeriod(out.alarmTime, in.spanUnit, count);
    s.WriteInt("Settings", "AlarmSpanCount", count);
    s.WriteInt("Settings", "AlarmSpanType", in.spanUnit);
  }
  const int every = CountOf(in.everyCount);
  out.type = static_cast<uint16_t>(in.typeChoice == 0 ? 0 : in.typeChoice == 1 ? 1 : in.typeChoice == 2 ? in.repeatUnit : kAlarmDaily);
  out.every = static_cast<int16_t>(every);
  const int mask = in.weekdayMask & 0x7F;
  if (daily && mask == 0) {
    out.refusedWith = Str::NoDaySelected;
    return out;
  }
  out.action = static_cast<uint16_t>(std::clamp(in.actionChoice, 0, 2));
  out.exec = Trim(in.exec);
  out.signal = static_cast<uint16_t>(in.audioChoice == 0 ? 0 : in.audioChoice == 1 ? 1 : in.repeatSound ? 3 : 2);
  out.wave = Trim(in.wave);
  if (!out.exec.empty()) {
    PushRecent(s, "Run", out.exec);
    s.WriteString("Settings", "AlarmExec", out.exec);
  }
  if (!out.wave.empty()) {
    PushRecent(s, "Wave", out.wave);
    s.WriteString("Settings", "AlarmWave", out.wave);
  }
  s.WriteInt("Settings", "AlarmType", out.type);
  s.WriteInt("Settings", "AlarmEvery", every);
  s.WriteInt("Settings", "AlarmRepeat", in.repeatUnit);
  s.WriteInt("Settings", "AlarmDaily", mask);
  s.WriteInt("Settings", "AlarmAction", out.action);
  s.WriteInt("Settings", "AlarmSignal", out.signal);
  if (daily) out.every = static_cast<int16_t>(mask);
  return out;
}

HideOutcome ComposeHide(const HideInput& in, const DateTime& now, CSettings& s) {
  HideOutcome out;
  switch (in.choice) {
    case 0: out.mode = 0; break;
    case 1: out.mode = 1; break;
    case 2: {
      const DateTime t = Compose(in.date, in.time);
      if (!t.IsValid() || !Before(now, t)) {
        out.refusedWith = Str::TimeMustBeInFuture;
        return out;
      }
      out.mode = 2;
      out.until = t;
      s.WriteInt("Settings", "HideTime", TimeOfDayToInt(in.time));
      break;
    }
    default: {
      const int count = CountOf(in.spanCount);
      out.mode = 2;
      out.until = now;
      AddPeriod(out.until, in.spanUnit, count);
      s.WriteInt("Settings", "HideSpanCount", count);
      s.WriteInt("Settings", "HideSpanType", in.spanUnit);
      break;
    }
  }
  return out;
}

bool TimedUnhideDue(const CNote& n, const DateTime& now) {
  return n.HideMode == 2 && n.HideUntil.IsValid() && AtOrAfter(now, n.HideUntil);
}

}  // namespace quillet
