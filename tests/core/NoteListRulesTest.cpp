#include <gtest/gtest.h>

#include "alarm/AlarmRules.h"
#include "notelist/NoteListRules.h"
#include "notelist/Search.h"
#include "notes/DataFile.h"
#include "notes/NoteStore.h"
#include "notes/NoteText.h"
#include "support/NoteBuilders.h"
#include "support/TempDir.h"

using namespace quillet;
using namespace quillet::test;

TEST(Search, CaseAndWholeWordsAsTheRulesSay) {
  EXPECT_TRUE(MatchesSearch("My NOTEBOOK", "note", false, false));
  EXPECT_FALSE(MatchesSearch("My NOTEBOOK", "note", true, false));
  EXPECT_FALSE(MatchesSearch("My NOTEBOOK", "note", false, true));
  EXPECT_TRUE(MatchesSearch("this is the end.", "end", false, true));
  EXPECT_TRUE(MatchesSearch("this is the end.", "end.", false, true));
  EXPECT_TRUE(MatchesSearch("start of it", "start", false, true));
  EXPECT_TRUE(MatchesSearch("split\r\nword", "split word", false, true));
  EXPECT_FALSE(MatchesSearch("split\r\nword", "split word", false, false));
  EXPECT_TRUE(MatchesSearch("(call) anna", "call", false, true));
  EXPECT_TRUE(MatchesSearch("ÄRGER über Köln", "ärger", false, false));
  EXPECT_TRUE(MatchesSearch("Москва", "москва", false, true));
}

TEST(NoteListRules, TodayViewsAndColumns) {
  const DateTime now = DateTime::FromParts(2026, 12, 7, 9);  // a Monday
  CNote hidden;
  hidden.HideMode = 2;
  hidden.HideUntil = DateTime::FromParts(2026, 12, 7, 18);
  EXPECT_TRUE(ConcernsToday(hidden, now));
  CNote alarm;
  alarm.AlarmTime = DateTime::FromParts(2026, 12, 8, 8);
  EXPECT_FALSE(ConcernsToday(alarm, now));
  alarm.AlarmType = kAlarmDaily;
  alarm.AlarmEvery = 0x01;  // Monday
  EXPECT_TRUE(ConcernsToday(alarm, now));
  alarm.AlarmTime = DateTime::FromParts(2026, 12, 7, 8);  // fired today already
  EXPECT_FALSE(ConcernsToday(alarm, now));

  CNote n;
  n.SetText("find the NOTEBOOK");
  EXPECT_TRUE(PassesView(n, kViewAll, {}));
  EXPECT_TRUE(PassesView(n, kViewVisible, {}));
  EXPECT_FALSE(PassesView(n, kViewHidden, {}));
  EXPECT_FALSE(PassesView(n, kViewAlarm, {}));
  EXPECT_TRUE(PassesView(n, kViewSearch, {"notebook", false, false}));

  CNote a;
  a.AlarmTime = now;
  a.AlarmType = 6;
  a.AlarmEvery = 2;
  EXPECT_EQ(AlarmTypeText(a, nullptr), "Repeat alarm every 2 Months");
  a.AlarmType = kAlarmDaily;
  a.AlarmEvery = 0x41;
  EXPECT_EQ(AlarmTypeText(a, [](int d) { return std::string(1, "SMTWTFS"[d]); }), "Repeat alarm daily: M, S");
  a.AlarmAction = 2;
  a.SetAlarmExec("/bin/x");
  EXPECT_EQ(AlarmActionText(a), "Run: /bin/x");
  a.AlarmSignal = 3;
  a.SetAlarmWave("/w.wav");
  EXPECT_EQ(AudioText(a), "Play sound file: /w.wav");
  EXPECT_EQ(AudioText(CNote{}), "");
  EXPECT_TRUE(IsNoteFileName("/x/Notes.QLN"));
  EXPECT_FALSE(IsNoteFileName("/x/notes.txt"));
}

TEST(Export, NoteFilesAreDataFilesAndTextsJoinWithTheSeparator) {
  TempDir dir;
  const std::string file = dir.File("three.qln");
  std::vector<CNote> notes = {FullNote("one"), FullNote("two"), FullNote("three")};
  notes[1].SetFolder("Home");
  ASSERT_FALSE(WriteDataFileAtomically(FileSystem::Real(), file, 3,
                                        [&](int i) { return NoteToRecord(notes[static_cast<std::size_t>(i)], 0); }));
  EXPECT_EQ(ReadAll(file).size(), 8604u);
  CNoteStore store;
  store.SetDataPath(dir.File("main.dat"));
  ASSERT_TRUE(store.LoadNotes());
  store.SetProgramGuard([](const std::string&, const std::vector<std::string>&) { return true; });
  ASSERT_TRUE(store.LoadNotes(file));
  ASSERT_EQ(store.Count(), 3);
  EXPECT_EQ(NoteToRecord(*store.GetNote(1), 0), NoteToRecord(notes[1], 0));
  EXPECT_EQ(JoinForCopy({"A", "B"}, "---"), "A\r\n---\r\nB");
}

TEST(Export, ACorruptImportKeepsWhatItAddedOnDisk) {
  TempDir dir;
  auto bytes = MakeFile(10, 3, {RecordOfVersion(FullNote("a"), 10), RecordOfVersion(FullNote("b"), 10)});
  WriteAll(dir.File("broken.qln"), bytes);
  CNoteStore store;
  std::vector<std::string> messages;
  store.SetReporter([&](const std::string& m) { messages.push_back(m); });
  store.SetDataPath(dir.File("main.dat"));
  ASSERT_TRUE(store.LoadNotes());
  EXPECT_FALSE(store.LoadNotes(dir.File("broken.qln")));
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], "Invalid or corrupt Quillet file! " + dir.File("broken.qln"));
  CNoteStore reread;
  reread.SetDataPath(dir.File("main.dat"));
  ASSERT_TRUE(reread.LoadNotes());
  EXPECT_EQ(reread.Count(), 2);
}

TEST(RecycleBin, RemovingEntriesKeepsTheOthersInOrder) {
  TempDir dir;
  const std::string bin = dir.File("b.rbi");
  ASSERT_EQ(CRecycleBin::Append(FileSystem::Real(), bin, "20260101000000", {"e0", "e1", "e2", "e3", "e4"}).written, 5u);
  ASSERT_EQ(CRecycleBin::RemoveEntries(FileSystem::Real(), bin, {1, 3}), CRecycleBin::RemoveStatus::Ok);
  const RecycleBinRead r = CRecycleBin::Read(FileSystem::Real(), bin);
  ASSERT_EQ(r.entries.size(), 3u);
  EXPECT_EQ(r.entries[0].text, "e0");
  EXPECT_EQ(r.entries[1].text, "e2");
  EXPECT_EQ(r.entries[2].text, "e4");
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path())) ++files;
  EXPECT_EQ(files, 1u);  // nothing left beside it
  WriteAll(bin, {'X', 'X', 'X', 'X', 'X', 0, 1, 0});
  EXPECT_EQ(CRecycleBin::RemoveEntries(FileSystem::Real(), bin, {0}), CRecycleBin::RemoveStatus::Invalid);
}

// A shared note file is all it takes to hand someone a note whose alarm runs
// a command: its programs are listed and only kept when the user says yes.
TEST(Export, AnImportStartsNoProgramTheUserDidNotAllow) {
  TempDir dir;
  const std::string file = dir.File("shared.qln");
  CNote runs = FullNote("runs");
  runs.AlarmAction = kAlarmRunsProgram;
  runs.SetAlarmExec("/usr/bin/touch /tmp/owned");
  CNote flashes = FullNote("flashes");
  flashes.AlarmAction = 1;
  const std::vector<CNote> notes = {runs, flashes};
  ASSERT_FALSE(WriteDataFileAtomically(FileSystem::Real(), file, 2,
                                        [&](int i) { return NoteToRecord(notes[static_cast<std::size_t>(i)], 0); }));
  for (const bool answer : {false, true}) {
    CNoteStore store;
    store.SetDataPath(dir.File(answer ? "yes.dat" : "no.dat"));
    ASSERT_TRUE(store.LoadNotes());
    std::vector<std::string> asked;
    store.SetProgramGuard([&](const std::string& source, const std::vector<std::string>& commands) {
      EXPECT_EQ(source, file);
      asked = commands;
      return answer;
    });
    ASSERT_TRUE(store.LoadNotes(file));
    EXPECT_EQ(asked, (std::vector<std::string>{"/usr/bin/touch /tmp/owned"}));
    EXPECT_EQ(store.GetNote(0)->AlarmAction, answer ? kAlarmRunsProgram : 0);
    EXPECT_EQ(store.GetNote(0)->AlarmTime, runs.AlarmTime);  // the alarm itself stays
    EXPECT_EQ(store.GetNote(1)->AlarmAction, 1);
  }
  CNoteStore unguarded;
  unguarded.SetDataPath(dir.File("plain.dat"));
  ASSERT_TRUE(unguarded.LoadNotes());
  ASSERT_TRUE(unguarded.LoadNotes(file));
  EXPECT_EQ(unguarded.GetNote(0)->AlarmAction, 0);
}
