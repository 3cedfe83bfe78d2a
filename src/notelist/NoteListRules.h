#pragma once
// Which notes the note list shows, what its columns say, and how it sorts.
#include <functional>
#include <string>
#include <vector>

#include "notes/Note.h"
#include "app/Ids.h"

namespace quillet {

enum NoteListView : int {
  kViewAll = Cmd::ViewAll,
  kViewVisible = Cmd::ViewVisible,
  kViewHidden = Cmd::ViewHidden,
  kViewAlarm = Cmd::ViewAlarm,
  kViewReceived = Cmd::ViewReceived,
  kViewSearch = Cmd::ViewSearch,
};

enum NoteListColumn : int {
  kColModified = 0,  // bit 0x001
  kColOnTop,
  kColHidden,
  kColHiddenUntil,
  kColAlarm,
  kColAlarmType,
  kColAlarmAction,
  kColAudio,
  kColReceivedFrom,
  kColReceivedOn,
  kColumnCount
};
// The title string of each optional column (also its toggle command).
int ColumnTitleId(int column);

// A note has something for today: a hiding that ends today or an alarm today.
bool ConcernsToday(const CNote& note, const DateTime& now);

struct SearchSpec {
  std::string text;
  bool caseSensitive = false;
  bool wholeWord = false;
};
bool PassesView(const CNote& note, int view, const SearchSpec& search);

// Column texts that are not dates; `weekdayShort` names a day 0 (Sunday) .. 6.
std::string AlarmTypeText(const CNote& note, const std::function<std::string(int)>& weekdayShort);
std::string AlarmActionText(const CNote& note);
std::string AudioText(const CNote& note);

// An export goes to a note file when the name ends in ".qln", in any case.
bool IsNoteFileName(const std::string& path);

// The date-time a date column sorts and shows by.
DateTime ColumnDate(const CNote& note, int column);

}  // namespace quillet
