#include "notelist/NoteListRules.h"

#include <algorithm>

#include "alarm/AlarmRules.h"
#include "app/UIStrings.h"
#include "common/Text.h"
#include "notelist/Search.h"
#include "app/Ids.h"

namespace quillet {

int ColumnTitleId(int column) {
  static const int kIds[kColumnCount] = {Str::LastModified, Str::ColumnAlwaysOnTop, Str::Hidden, Str::HiddenUntil, Str::Alarm, Str::AlarmType, Str::AlarmAction, Str::AudioSignal, Str::ColumnReceivedFrom, Str::ReceivedOn};
  return column >= 0 && column < kColumnCount ? kIds[column] : 0;
}

namespace {
bool SameDay(const DateTime& a, const DateTime& b) {
  DateParts pa, pb;
  return a.ToParts(pa) && b.ToParts(pb) && pa.year == pb.year && pa.month == pb.month && pa.day == pb.day;
}
}  // namespace

bool ConcernsToday(const CNote& n, const DateTime& now) {
  if (n.HideMode == 2 && n.HideUntil.IsValid() && SameDay(n.HideUntil, now)) return true;
  if (!n.AlarmTime.IsValid()) return false;
  if (n.AlarmType != kAlarmDaily) return SameDay(n.AlarmTime, now);
  DateParts today;
  if (!now.ToParts(today)) return false;
  return !SameDay(n.AlarmTime, now) && (WeekdayBit(today.dayOfWeek) & n.AlarmEvery);
}

bool PassesView(const CNote& n, int view, const SearchSpec& search) {
  switch (view) {
    case kViewVisible: return n.HideMode == 0;
    case kViewHidden: return n.HideMode != 0;
    case kViewAlarm: return n.AlarmTime.IsValid();
    case kViewReceived: return n.ReceivedOn.IsValid();
    case kViewSearch: return MatchesSearch(n.Text(), search.text, search.caseSensitive, search.wholeWord);
    default: return true;
  }
}

std::string AlarmTypeText(const CNote& n, const std::function<std::string(int)>& weekdayShort) {
  if (!n.AlarmTime.IsValid()) return {};
  if (n.AlarmType == 0) return LoadUIString(Str::KeepNoteAfterAlarm, true);
  if (n.AlarmType == 1) return LoadUIString(Str::DeleteNoteAfterAlarm, true);
  if (n.AlarmType >= 2 && n.AlarmType <= 7) {
    static const int kUnits[] = {Str::Minutes, Str::Hours, Str::Days, Str::Weeks, Str::Months, Str::Years};
    return LoadUIString(Str::RepeatAlarmEvery, true) + " " + std::to_string(n.AlarmEvery) + " " + LoadUIString(kUnits[n.AlarmType - 2], true);
  }
  std::string days;
  for (int i = 0; i < 7; ++i) {
    if (!(n.AlarmEvery & (1 << i))) continue;
    if (!days.empty()) days += ", ";
    days += weekdayShort ? weekdayShort((i + 1) % 7) : std::to_string(i);
  }
  return LoadUIString(Str::RepeatAlarmDaily, true) + ": " + days;
}

std::string AlarmActionText(const CNote& n) {
  if (!n.AlarmTime.IsValid()) return {};
  if (n.AlarmAction == 1) return LoadUIString(Str::AlarmFlashNote, true);
  if (n.AlarmAction == 2) return LoadUIString(Str::Run, true) + ": " + n.AlarmExec();
  return LoadUIString(Str::AlarmConfirmText, true);
}

std::string AudioText(const CNote& n) {
  if (!n.AlarmTime.IsValid()) return {};
  if (n.AlarmSignal == 0) return LoadUIString(Str::NoAudioSignal, true);
  if (n.AlarmSignal == 1) return LoadUIString(Str::StandardSignal, true);
  return LoadUIString(Str::PlaySoundFile, true) + ": " + n.AlarmWave();
}

bool IsNoteFileName(const std::string& path) {
  return path.size() >= 4 && EqualsNoCase(std::string_view(path).substr(path.size() - 4), ".qln");
}

DateTime ColumnDate(const CNote& n, int column) {
  switch (column) {
    case kColModified: return n.Modified;
    case kColHiddenUntil: return n.HideUntil;
    case kColAlarm: return n.AlarmScheduled.IsValid() ? n.AlarmScheduled : n.AlarmTime;
    case kColReceivedOn: return n.ReceivedOn;
    default: return DateTime();
  }
}

}  // namespace quillet
