#include <gtest/gtest.h>

#include "notes/NoteStore.h"
#include "support/TempDir.h"

using namespace quillet;

namespace {

class RecordingObserver : public INoteArrayObserver {
 public:
  std::vector<std::string> events;
  void NoteAdded(CNote& n) override { events.push_back("add " + n.Text()); }
  void NoteRemoving(CNote& n) override { events.push_back("remove " + n.Text()); }
  void NoteIndexChanged(CNote& n) override { events.push_back("index " + n.Text() + " " + std::to_string(n.Index)); }
};

CNote Named(const std::string& text) {
  CNote n;
  n.SetText(text);
  return n;
}

}  // namespace

TEST(NoteArray, GetNoteOutsideTheArrayIsNull) {
  CNoteArray notes;
  notes.Append(Named("a"));
  EXPECT_EQ(notes.GetNote(-1), nullptr);
  EXPECT_EQ(notes.GetNote(1), nullptr);
  EXPECT_EQ(notes.GetNote(0)->Text(), "a");
}

TEST(NoteArray, RemovingRenumbersTheRestInOrder) {
  CNoteArray notes;
  RecordingObserver obs;
  notes.SetObserver(&obs);
  for (const char* t : {"n0", "n1", "n2", "n3", "n4"}) notes.Append(Named(t));
  obs.events.clear();

  EXPECT_EQ(notes.DeleteNotes({1, 3, 3, 99, -1}), 2);
  ASSERT_EQ(notes.Count(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(notes.GetNote(i)->Index, i);
  EXPECT_EQ(notes.GetNote(0)->Text(), "n0");
  EXPECT_EQ(notes.GetNote(1)->Text(), "n2");
  EXPECT_EQ(notes.GetNote(2)->Text(), "n4");
  EXPECT_EQ(obs.events, (std::vector<std::string>{"remove n1", "remove n3", "index n2 1", "index n4 2"}));
}

TEST(NoteArray, TheFileCountLimitsTheArray) {
  quillet::test::TempDir dir;
  CNoteStore store;
  std::vector<std::string> messages;
  store.SetReporter([&](const std::string& m) { messages.push_back(m); });
  store.SetDataPath(dir.File("full.dat"));
  ASSERT_TRUE(store.LoadNotes());
  for (int i = 0; i < kMaxNotes; ++i) ASSERT_NE(store.CreateNote(CNote{}), nullptr);
  EXPECT_EQ(store.CreateNote(Named("one too many")), nullptr);
  EXPECT_EQ(store.Count(), kMaxNotes);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_NE(messages[0].find("32767"), std::string::npos);

  // A full array still saves and loads whole.
  store.SetDataPath(dir.File("full.dat"));
  ASSERT_TRUE(store.SaveAllNotes());
  CNoteStore reread;
  reread.SetDataPath(dir.File("full.dat"));
  ASSERT_TRUE(reread.LoadNotes());
  EXPECT_EQ(reread.Count(), kMaxNotes);
}

TEST(NoteStore, RecordToNoteAppendsAtTheGivenPosition) {
  CNoteStore store;
  store.CreateNote(Named("first"));
  CNote src = Named("copied");
  src.Rect = {10, 20, 300, 400};
  const int index = store.RecordToNote(NoteToRecord(src, 0), std::make_pair(77, 88));
  ASSERT_EQ(index, 1);
  EXPECT_EQ(store.GetNote(1)->Rect, (NoteRect{77, 88, 300, 400}));
  EXPECT_EQ(store.GetNote(1)->Text(), "copied");
}

// A partial note array must never reach the file: not before the file has
// been read whole, and not once the program has begun to end.
TEST(NoteStore, WritesWaitForTheLoadAndStopAtClose) {
  quillet::test::TempDir dir;
  const std::string path = dir.File("notes.dat");
  {
    CNoteStore first;
    first.SetDataPath(path);
    ASSERT_TRUE(first.LoadNotes());
    for (const char* t : {"one", "two", "three"}) first.CreateNote(Named(t));
    ASSERT_TRUE(first.SaveAllNotes());
  }
  const auto before = quillet::test::ReadAll(path);

  CNoteStore unloaded;
  unloaded.SetDataPath(path);
  unloaded.CreateNote(Named("alone"));
  EXPECT_FALSE(unloaded.SaveNote(0, true));
  EXPECT_FALSE(unloaded.SaveAllNotes());
  EXPECT_EQ(quillet::test::ReadAll(path), before);

  CNoteStore store;
  store.SetDataPath(path);
  ASSERT_TRUE(store.LoadNotes());
  ASSERT_EQ(store.Count(), 3);
  store.Close();
  store.Clear();
  store.CreateNote(Named("made while ending"));
  EXPECT_FALSE(store.SaveNote(0, true));
  EXPECT_FALSE(store.SaveAllNotes());
  EXPECT_EQ(store.DeleteNotes({0}, true), 0);
  EXPECT_FALSE(store.LoadNotes(path));  // an import adds nothing either
  EXPECT_EQ(quillet::test::ReadAll(path), before);
}
