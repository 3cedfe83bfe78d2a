#include <gtest/gtest.h>

#include "notes/NoteStore.h"
#include "support/FailingFileSystem.h"
#include "support/TempDir.h"

using namespace quillet;
using namespace quillet::test;

namespace {

struct BinFixture {
  TempDir dir;
  std::string bin = dir.File("Quillet.rbi");
  std::vector<std::string> messages;

  void Fill(CNoteStore& store, const std::vector<std::string>& texts) {
    store.SetDataPath(dir.File("Quillet.dat"));
    store.SetRecycleBinPath(bin);
    store.SetReporter([this](const std::string& m) { messages.push_back(m); });
    store.SetClock([] { return DateTime::FromParts(2026, 12, 7, 9, 5, 3); });
    for (const auto& t : texts) {
      CNote n;
      n.SetText(t);
      store.CreateNote(n);
    }
  }
};

std::vector<std::string> Texts(const CNoteStore& store) {
  std::vector<std::string> out;
  for (const auto& n : store.Notes()) out.push_back(n->Text());
  return out;
}

}  // namespace

TEST(RecycleBin, PathIsDerivedFromTheDataFile) {
  EXPECT_EQ(CRecycleBin::DerivedPath("/home/u/Quillet.dat"), "/home/u/Quillet.rbi");
  // Only the file name's own extension is replaced: the bin stays beside its file.
  EXPECT_EQ(CRecycleBin::DerivedPath("/home/a/my.notes/notes"), "/home/a/my.notes/notes.rbi");
  EXPECT_EQ(CRecycleBin::DerivedPath("notes"), "notes.rbi");
  EXPECT_EQ(CRecycleBin::DerivedPath("/home/a/.notes"), "/home/a/.notes.rbi");
  EXPECT_EQ(CRecycleBin::DerivedPath("/home/a/notes.v2.dat"), "/home/a/notes.v2.rbi");
}

TEST(RecycleBin, NotesDeletedTogetherShareOneTime) {
  BinFixture fx;
  CNoteStore store;
  fx.Fill(store, {"a", "b", "c", "d", "e"});
  EXPECT_EQ(store.DeleteNotes({0, 2, 4}, true), 3);
  EXPECT_EQ(Texts(store), (std::vector<std::string>{"b", "d"}));

  const RecycleBinRead r = CRecycleBin::Read(FileSystem::Real(), fx.bin);
  ASSERT_EQ(r.status, RecycleBinRead::Status::Ok);
  ASSERT_EQ(r.entries.size(), 3u);
  for (const auto& e : r.entries) EXPECT_EQ(e.time, "20261207090503");
  EXPECT_EQ(r.entries[0].text, "a");
  EXPECT_EQ(r.entries[2].text, "e");
  EXPECT_EQ(r.entries[1].Day(), 7);
  EXPECT_EQ(r.entries[1].Second(), 3);
}

TEST(RecycleBin, EmptyTextMakesAFifteenByteEntry) {
  BinFixture fx;
  CNoteStore store;
  fx.Fill(store, {""});
  store.DeleteNotes({0}, true);
  const auto bytes = ReadAll(fx.bin);
  ASSERT_EQ(bytes.size(), 8u + 15u);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 6), std::string("QLbin\0", 6));
  EXPECT_EQ(bytes[6], 1);
  EXPECT_EQ(bytes.back(), 0);
}

TEST(RecycleBin, ReadsTheFixtureFile) {
  const RecycleBinRead r = CRecycleBin::Read(FileSystem::Real(), DataFile("bin.rbi"));
  ASSERT_EQ(r.status, RecycleBinRead::Status::Ok);
  ASSERT_EQ(r.entries.size(), 3u);
  EXPECT_EQ(r.entries[0].time, "20240102030405");
  EXPECT_EQ(r.entries[0].text, "deleted one");
  EXPECT_EQ(r.entries[1].text, "deleted two\r\nline");
  EXPECT_EQ(r.entries[2].time, "20250607080910");
  EXPECT_EQ(r.entries[2].text, "");
  EXPECT_EQ(r.entries[2].Year(), 2025);
  EXPECT_EQ(r.entries[2].Minute(), 9);
}

TEST(RecycleBin, AppendsToAnExistingBin) {
  BinFixture fx;
  std::filesystem::copy_file(DataFile("bin.rbi"), fx.bin);
  CNoteStore store;
  fx.Fill(store, {"later"});
  store.DeleteNotes({0}, true);
  const RecycleBinRead r = CRecycleBin::Read(FileSystem::Real(), fx.bin);
  ASSERT_EQ(r.entries.size(), 4u);
  EXPECT_EQ(r.entries[3].text, "later");
}

TEST(RecycleBin, ForeignFileKeepsTheNotes) {
  BinFixture fx;
  WriteAll(fx.bin, {'N', 'O', 'T', 'B', 'I', 'N', 0, 0});
  CNoteStore store;
  fx.Fill(store, {"keep me", "and me"});
  EXPECT_EQ(store.DeleteNotes({0, 1}, true), 0);
  EXPECT_EQ(Texts(store), (std::vector<std::string>{"keep me", "and me"}));
  ASSERT_EQ(fx.messages.size(), 1u);
  EXPECT_EQ(fx.messages[0], "Invalid or corrupt Quillet file! " + fx.bin);
  EXPECT_EQ(store.GetNote(1)->Index, 1);
}

TEST(RecycleBin, FullDiskKeepsTheNotesNotWrittenAndNoHalfEntry) {
  BinFixture fx;
  FailingFileSystem fs;
  CNoteStore store(fs);
  fx.Fill(store, {"one", "two", "three"});
  // Header and the first entry fit, the second breaks off.
  fs.writeBudget = 8 + 18 + 5;
  EXPECT_EQ(store.DeleteNotes({0, 1, 2}, true), 1);
  EXPECT_EQ(Texts(store), (std::vector<std::string>{"two", "three"}));
  EXPECT_EQ(store.GetNote(0)->Index, 0);
  EXPECT_EQ(fx.messages.size(), 1u);
  const RecycleBinRead r = CRecycleBin::Read(FileSystem::Real(), fx.bin);
  ASSERT_EQ(r.entries.size(), 1u);
  EXPECT_EQ(r.entries[0].text, "one");
}

TEST(RecycleBin, DeletingWithoutTheBinWritesNothing) {
  BinFixture fx;
  CNoteStore store;
  fx.Fill(store, {"a", "b"});
  EXPECT_EQ(store.DeleteNotes({1}, false), 1);
  EXPECT_FALSE(std::filesystem::exists(fx.bin));
}

TEST(RecycleBin, EntryCutOffByACrashDoesNotSwallowTheNext) {
  BinFixture fx;
  std::vector<unsigned char> bin = {'Q', 'L', 'b', 'i', 'n', 0, 1, 0};
  const std::string partial = "20240102030405half a te";  // no terminating 0
  bin.insert(bin.end(), partial.begin(), partial.end());
  WriteAll(fx.bin, bin);
  CNoteStore store;
  fx.Fill(store, {"whole"});
  store.DeleteNotes({0}, true);
  const RecycleBinRead r = CRecycleBin::Read(FileSystem::Real(), fx.bin);
  ASSERT_EQ(r.entries.size(), 2u);
  EXPECT_EQ(r.entries[0].text, "half a te");
  EXPECT_EQ(r.entries[1].text, "whole");
  EXPECT_EQ(r.entries[1].time, "20261207090503");
}
