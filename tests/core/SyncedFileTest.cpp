// A data file in a folder that a sync tool keeps: the tool replaces the file
// (a new file renamed over it) while the program runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "notes/Backups.h"
#include "notes/DataFile.h"
#include "notes/NoteStore.h"
#include "support/TempDir.h"

using namespace quillet;

namespace {

CNote Named(const std::string& text) {
  CNote n;
  n.SetText(text);
  return n;
}

// What the sync tool does: the other computer's notes, written beside the
// file and renamed over it.
void ReplaceFromOutside(const std::string& path, const std::vector<std::string>& texts) {
  const std::string temp = path + ".syncing";
  ASSERT_FALSE(WriteDataFileAtomically(FileSystem::Real(), temp, static_cast<int>(texts.size()), [&](int i) {
    return NoteToRecord(Named(texts[static_cast<std::size_t>(i)]), 0);
  }));
  std::filesystem::rename(temp, path);
}

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}
std::vector<std::string> OnDisk(const std::string& path) {
  std::vector<std::string> texts;
  for (const CNote& n : CDataFile::Read(FileSystem::Real(), path, {}).notes) texts.push_back(n.Text());
  return Sorted(texts);
}
std::vector<std::string> InMemory(const CNoteStore& store) {
  std::vector<std::string> texts;
  for (int i = 0; i < store.Count(); ++i) texts.push_back(store.GetNote(i)->Text());
  return Sorted(texts);
}

class SyncedFile : public ::testing::Test {
 protected:
  void SetUp() override {
    path = dir.File("notes.dat");
    store.SetDataPath(path);
    store.SetReporter([this](const std::string& m) { messages.push_back(m); });
    store.SetOutsideChangeHandler([this] { ++refused; });
  }
  void Load(const std::vector<std::string>& texts) {
    ReplaceFromOutside(path, texts);
    ASSERT_TRUE(store.LoadNotes());
  }
  void Change(int index, const std::string& text) {
    store.GetNote(index)->SetText(text);
    ASSERT_TRUE(store.SaveNote(index, false));
  }

  quillet::test::TempDir dir;
  std::string path;
  CNoteStore store;
  std::vector<std::string> messages;
  int refused = 0;
};

}  // namespace

TEST_F(SyncedFile, NoWriteGoesOverAReplacedFileAndTheChangeIsMergedIn) {
  Load({"a", "b"});
  EXPECT_FALSE(store.FileChangedOutside());
  ReplaceFromOutside(path, {"a", "b", "from the other computer"});
  EXPECT_TRUE(store.FileChangedOutside());
  Change(0, "a changed here");
  EXPECT_EQ(refused, 1);
  EXPECT_EQ(OnDisk(path), Sorted({"a", "b", "from the other computer"}));

  const auto merged = store.MergeOutside();
  EXPECT_EQ(merged.status, CNoteStore::MergeResult::Status::Merged);
  EXPECT_TRUE(merged.changedOnBothSides.empty());
  const auto expected = Sorted({"a changed here", "b", "from the other computer"});
  EXPECT_EQ(InMemory(store), expected);
  EXPECT_EQ(OnDisk(path), expected);
  EXPECT_FALSE(store.FileChangedOutside());
  // Written in place again from here on.
  for (int i = 0; i < store.Count(); ++i)
    if (store.GetNote(i)->Text() == "b") Change(i, "b changed");
  EXPECT_EQ(refused, 1);
  EXPECT_EQ(OnDisk(path), Sorted({"a changed here", "b changed", "from the other computer"}));
  EXPECT_TRUE(messages.empty());
}

TEST_F(SyncedFile, ANoteChangedOnBothSidesIsKeptInBothVersions) {
  Load({"a", "b"});
  ReplaceFromOutside(path, {"a there", "b"});
  Change(0, "a here");
  const auto merged = store.MergeOutside();
  EXPECT_EQ(merged.changedOnBothSides, (std::vector<std::string>{"a here"}));
  EXPECT_EQ(OnDisk(path), Sorted({"a here", "a there", "b"}));
}

TEST_F(SyncedFile, DeletionsOnEitherSideStay) {
  Load({"a", "b", "c"});
  ReplaceFromOutside(path, {"b", "c", "d"});  // a deleted there, d added
  store.DeleteNotes({1}, false);                // b deleted here
  ASSERT_TRUE(store.SaveAllNotes());
  EXPECT_EQ(refused, 1);
  store.MergeOutside();
  EXPECT_EQ(OnDisk(path), Sorted({"c", "d"}));
  EXPECT_EQ(InMemory(store), Sorted({"c", "d"}));
}

TEST_F(SyncedFile, AnOutsideChangeAloneIsLoadedWithoutWriting) {
  Load({"a", "b"});
  ReplaceFromOutside(path, {"b"});
  const auto stamp = std::filesystem::last_write_time(path);
  EXPECT_EQ(store.MergeOutside().status, CNoteStore::MergeResult::Status::Merged);
  EXPECT_EQ(InMemory(store), (std::vector<std::string>{"b"}));
  EXPECT_EQ(std::filesystem::last_write_time(path), stamp);
  // Nothing changed since: nothing to do.
  EXPECT_EQ(store.MergeOutside().status, CNoteStore::MergeResult::Status::Unchanged);
}

TEST_F(SyncedFile, ARemovedFileLosesNoNote) {
  Load({"a", "b"});
  std::filesystem::remove(path);
  EXPECT_TRUE(store.FileChangedOutside());
  EXPECT_EQ(store.MergeOutside().status, CNoteStore::MergeResult::Status::Unchanged);  // the same notes, written anew
  EXPECT_EQ(OnDisk(path), Sorted({"a", "b"}));
}

TEST_F(SyncedFile, ACorruptReplacementIsKeptAsACopyAndNoNoteIsLost) {
  Load({"a", "b"});
  quillet::test::WriteAll(path + ".new", {'n', 'o', 't', ' ', 'n', 'o', 't', 'e', 's'});
  std::filesystem::rename(path + ".new", path);
  Change(0, "a here");
  store.MergeOutside();
  EXPECT_EQ(OnDisk(path), Sorted({"a here", "b"}));
  bool copyKept = false;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
    copyKept |= e.path().filename() != "notes.dat" && quillet::test::ReadAll(e.path().string()).size() == 9;
  EXPECT_TRUE(copyKept);
}

TEST_F(SyncedFile, TheFirstChangeOfEachDayKeepsACopyAndSevenStay) {
  int day = 1;
  store.SetClock([&] { return DateTime::FromParts(2026, 12, day, 9); });
  store.SetBackups(7, "anna's pc");
  Load({"a"});
  // Another computer's copy in the shared folder is neither replaced nor counted.
  std::filesystem::create_directories(BackupFolderOf(path));
  quillet::test::WriteAll(BackupFolderOf(path) + "/notes-2026-11-01-ben.dat", {1});
  for (day = 1; day <= 9; ++day) {
    Change(0, "day " + std::to_string(day));
    Change(0, "later on day " + std::to_string(day));  // one copy a day
  }
  const std::vector<std::string> kept = BackupsOf(path, "anna's pc");
  ASSERT_EQ(kept.size(), 7u);
  EXPECT_EQ(std::filesystem::path(kept.front()).filename(), "notes-2026-12-03-anna_s_pc.dat");
  EXPECT_EQ(std::filesystem::path(kept.back()).filename(), "notes-2026-12-09-anna_s_pc.dat");
  EXPECT_EQ(BackupsOf(path, "ben").size(), 1u);
  // Each copy is the whole file as it stood before that day's first change.
  EXPECT_EQ(OnDisk(kept.back()), (std::vector<std::string>{"later on day 8"}));
  EXPECT_TRUE(messages.empty());
}

TEST_F(SyncedFile, NoBackupsWhenTurnedOff) {
  store.SetBackups(0, "anna");
  Load({"a"});
  Change(0, "b");
  EXPECT_FALSE(std::filesystem::exists(BackupFolderOf(path)));
}

TEST_F(SyncedFile, ConflictCopiesOfTheSyncToolsAreFound) {
  Load({"a"});
  for (const char* name : {"notes.sync-conflict-20261207-101010-ABCDEF7.dat", "notes (conflicted copy 2026-12-07 101010).dat",
                           "notes (Anna's conflicted copy 2026-12-07).dat", "notes-2026-12-07.dat", "other.sync-conflict-1.dat",
                           "notes.dat.syncing", "notes (copy).dat"})
    quillet::test::WriteAll(dir.File(name), {1});
  std::vector<std::string> names;
  for (const std::string& p : ConflictCopiesOf(path)) names.push_back(std::filesystem::path(p).filename().string());
  EXPECT_EQ(names, (std::vector<std::string>{"notes (Anna's conflicted copy 2026-12-07).dat",
                                             "notes (conflicted copy 2026-12-07 101010).dat",
                                             "notes.sync-conflict-20261207-101010-ABCDEF7.dat"}));
}

TEST_F(SyncedFile, ARestoredBackupAddsOnlyTheNotesThatAreMissing) {
  Load({"a", "b"});
  ReplaceFromOutside(dir.File("backup.dat"), {"a", "b", "lost since"});
  ASSERT_TRUE(store.LoadNotes(dir.File("backup.dat"), true));
  EXPECT_EQ(InMemory(store), Sorted({"a", "b", "lost since"}));
}
