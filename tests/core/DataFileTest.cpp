#include <gtest/gtest.h>

#include <filesystem>

#include "app/UIStrings.h"
#include "notes/NoteStore.h"
#include "support/FailingFileSystem.h"
#include "support/NoteBuilders.h"
#include "support/TempDir.h"

using namespace quillet;
using namespace quillet::test;

namespace {

struct StoreFixture {
  TempDir dir;
  std::string path = dir.File("Quillet.dat");
  std::vector<std::string> messages;

  void Attach(CNoteStore& store) {
    store.SetDataPath(path);
    store.SetRecycleBinPath(CRecycleBin::DerivedPath(path));
    store.SetReporter([this](const std::string& m) { messages.push_back(m); });
  }
};

std::vector<unsigned char> TwoNoteFile(uint16_t version) {
  return MakeFile(version, 2, {RecordOfVersion(FullNote("first"), version), RecordOfVersion(FullNote("second"), version)});
}

uint16_t HeaderVersion(const std::vector<unsigned char>& f) { return static_cast<uint16_t>(f[8] | (f[9] << 8)); }
uint16_t HeaderCount(const std::vector<unsigned char>& f) { return static_cast<uint16_t>(f[10] | (f[11] << 8)); }

}  // namespace

class LoadOldVersion : public ::testing::TestWithParam<int> {};

TEST_P(LoadOldVersion, LoadsAndIsRewrittenAsVersion10AtOnce) {
  StoreFixture fx;
  WriteAll(fx.path, TwoNoteFile(static_cast<uint16_t>(GetParam())));
  CNoteStore store;
  fx.Attach(store);
  ASSERT_TRUE(store.LoadNotes());
  ASSERT_EQ(store.Count(), 2);
  EXPECT_EQ(store.GetNote(0)->Text(), "first");
  EXPECT_EQ(store.GetNote(1)->Index, 1);

  const auto bytes = ReadAll(fx.path);
  ASSERT_EQ(bytes.size(), kHeaderSize + 2 * kRecordSize);
  EXPECT_EQ(HeaderVersion(bytes), 10);
  EXPECT_EQ(HeaderCount(bytes), 2);
  const NoteRecordBytes second = store.NoteToRecord(1);
  EXPECT_TRUE(std::equal(second.begin(), second.end(), bytes.begin() + kHeaderSize + kRecordSize));
  EXPECT_TRUE(fx.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Versions3To9, LoadOldVersion, ::testing::Range(3, 10));

TEST(DataFile, Version10WithNoNotesIsNotRewritten) {
  StoreFixture fx;
  WriteAll(fx.path, MakeFile(10, 0, {}));
  FailingFileSystem fs;
  CNoteStore store(fs);
  fx.Attach(store);
  EXPECT_TRUE(store.LoadNotes());
  EXPECT_EQ(store.Count(), 0);
  EXPECT_EQ(fs.writesSeen, 0);
}

TEST(DataFile, MissingFileIsCreatedEmpty) {
  StoreFixture fx;
  CNoteStore store;
  fx.Attach(store);
  EXPECT_TRUE(store.LoadNotes());
  EXPECT_EQ(ReadAll(fx.path), MakeFile(10, 0, {}));
  EXPECT_TRUE(fx.messages.empty());
}

struct CorruptCase {
  const char* name;
  std::vector<unsigned char> bytes;
  int notesKept;
};

class CorruptFile : public ::testing::TestWithParam<CorruptCase> {};

TEST_P(CorruptFile, IsReportedAndLeftUntouched) {
  StoreFixture fx;
  WriteAll(fx.path, GetParam().bytes);
  CNoteStore store;
  fx.Attach(store);
  EXPECT_FALSE(store.LoadNotes());
  EXPECT_EQ(store.Count(), GetParam().notesKept);
  ASSERT_EQ(fx.messages.size(), 1u);
  EXPECT_EQ(fx.messages[0], "Invalid or corrupt Quillet file! " + fx.path);
  EXPECT_EQ(ReadAll(fx.path), GetParam().bytes);
}

std::vector<unsigned char> ShortLastRecord() {
  auto f = TwoNoteFile(10);
  f.resize(f.size() - 1);
  return f;
}
std::vector<unsigned char> WrongMagic() {
  auto f = TwoNoteFile(10);
  f[0] = 'q';
  return f;
}
std::vector<unsigned char> MagicWithoutTerminator() {
  auto f = TwoNoteFile(10);
  f[7] = 'X';
  return f;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CorruptFile,
    ::testing::Values(CorruptCase{"Empty", {}, 0}, CorruptCase{"ShortHeader", {'Q', 'u', 'i'}, 0},
                      CorruptCase{"WrongMagic", WrongMagic(), 0}, CorruptCase{"MagicNotTerminated", MagicWithoutTerminator(), 0},
                      CorruptCase{"ShortRecord", ShortLastRecord(), 1},
                      CorruptCase{"CountAbove32767", MakeFile(10, static_cast<int16_t>(0x8000), {}), 0},
                      CorruptCase{"UnknownVersion", MakeFile(11, 1, {std::vector<unsigned char>(2864, 0)}), 0}),
    [](const auto& p) { return std::string(p.param.name); });

TEST(DataFile, FirstWriteAfterAFailedLoadKeepsTheOriginalBytes) {
  StoreFixture fx;
  const auto original = ShortLastRecord();
  WriteAll(fx.path, original);
  CNoteStore store;
  fx.Attach(store);
  ASSERT_FALSE(store.LoadNotes());
  fx.messages.clear();

  CNote extra;
  extra.SetText("new");
  ASSERT_TRUE(store.CreateNote(extra));
  ASSERT_TRUE(store.SaveNote(1, true));

  ASSERT_EQ(fx.messages.size(), 1u);
  std::string copy;
  for (const auto& e : std::filesystem::directory_iterator(fx.dir.Path()))
    if (e.path().filename().string().rfind("Quillet.dat.", 0) == 0) copy = e.path().string();
  ASSERT_FALSE(copy.empty());
  EXPECT_NE(fx.messages[0].find(copy), std::string::npos);
  EXPECT_EQ(ReadAll(copy), original);

  // Only the first write makes a copy.
  ASSERT_TRUE(store.SaveNote(1, false));
  EXPECT_EQ(fx.messages.size(), 1u);
}

TEST(DataFile, InterruptedWholeSaveLeavesTheOldFileIntact) {
  for (const int64_t budget : {int64_t{0}, int64_t{5}, int64_t{12}, int64_t{3000}, int64_t{12 + 2 * 2864 - 1}}) {
    StoreFixture fx;
    WriteAll(fx.path, TwoNoteFile(10));
    const auto before = ReadAll(fx.path);
    FailingFileSystem fs;
    CNoteStore store(fs);
    fx.Attach(store);
    ASSERT_TRUE(store.LoadNotes());
    store.GetNote(0)->SetText("changed in memory");

    fs.writeBudget = budget;
    EXPECT_FALSE(store.SaveAllNotes()) << budget;
    EXPECT_EQ(ReadAll(fx.path), before) << budget;
    EXPECT_FALSE(std::filesystem::exists(fx.path + ".new"));
    ASSERT_EQ(fx.messages.size(), 1u);
    EXPECT_NE(fx.messages[0].find("Cannot write the file " + fx.path), std::string::npos);
    EXPECT_EQ(store.GetNote(0)->Text(), "changed in memory");
  }
}

TEST(DataFile, FailedSyncOrRenameLeavesTheOldFileIntact) {
  for (const bool syncFails : {true, false}) {
    StoreFixture fx;
    WriteAll(fx.path, TwoNoteFile(10));
    const auto before = ReadAll(fx.path);
    FailingFileSystem fs;
    CNoteStore store(fs);
    fx.Attach(store);
    ASSERT_TRUE(store.LoadNotes());
    fs.failSync = syncFails;
    fs.failReplace = !syncFails;
    EXPECT_FALSE(store.SaveAllNotes());
    EXPECT_EQ(ReadAll(fx.path), before);
    EXPECT_FALSE(std::filesystem::exists(fx.path + ".new"));
  }
}

TEST(DataFile, AddedNoteIsWrittenBeforeTheCountThatClaimsIt) {
  StoreFixture fx;
  WriteAll(fx.path, TwoNoteFile(10));
  FailingFileSystem fs;
  CNoteStore store(fs);
  fx.Attach(store);
  ASSERT_TRUE(store.LoadNotes());
  CNote n;
  n.SetText("third");
  store.CreateNote(n);

  // The record fits, the header after it does not.
  fs.writeBudget = kRecordSize;
  EXPECT_FALSE(store.SaveNote(2, true));
  CNoteStore reread;
  reread.SetDataPath(fx.path);
  EXPECT_TRUE(reread.LoadNotes());
  EXPECT_EQ(reread.Count(), 2);

  fs.writeBudget = -1;
  EXPECT_TRUE(store.SaveNote(2, true));
  CNoteStore again;
  again.SetDataPath(fx.path);
  ASSERT_TRUE(again.LoadNotes());
  ASSERT_EQ(again.Count(), 3);
  EXPECT_EQ(again.GetNote(2)->Text(), "third");
}

TEST(DataFile, SavingANoteWhenTheFileVanishedWritesItWhole) {
  StoreFixture fx;
  WriteAll(fx.path, TwoNoteFile(10));
  CNoteStore store;
  fx.Attach(store);
  ASSERT_TRUE(store.LoadNotes());
  std::filesystem::remove(fx.path);
  store.GetNote(1)->SetText("still here");
  ASSERT_TRUE(store.SaveNote(1, false));
  CNoteStore reread;
  reread.SetDataPath(fx.path);
  ASSERT_TRUE(reread.LoadNotes());
  ASSERT_EQ(reread.Count(), 2);
  EXPECT_EQ(reread.GetNote(1)->Text(), "still here");
}

TEST(DataFile, ReadOnlyFileRefusesWritesAndSaysSo) {
  StoreFixture fx;
  WriteAll(fx.path, TwoNoteFile(10));
  std::filesystem::permissions(fx.path, std::filesystem::perms::owner_read | std::filesystem::perms::group_read);
  const auto before = ReadAll(fx.path);
  CNoteStore store;
  fx.Attach(store);
  ASSERT_TRUE(store.LoadNotes());
  EXPECT_TRUE(store.DataFileIsReadOnly());
  store.GetNote(0)->SetText("edited");
  EXPECT_FALSE(store.SaveNote(0, false));
  EXPECT_FALSE(store.SaveAllNotes());
  EXPECT_EQ(fx.messages.size(), 2u);
  EXPECT_EQ(ReadAll(fx.path), before);
  EXPECT_EQ(store.GetNote(0)->Text(), "edited");
}

TEST(DataFile, ImportAddsTheNotesOfAnotherFileAndRewrites) {
  StoreFixture fx;
  WriteAll(fx.path, TwoNoteFile(10));
  const std::string other = fx.dir.File("export.qln");
  WriteAll(other, MakeFile(7, 1, {RecordOfVersion(FullNote("imported"), 7)}));
  CNoteStore store;
  fx.Attach(store);
  ASSERT_TRUE(store.LoadNotes());
  ASSERT_TRUE(store.LoadNotes(other));
  ASSERT_EQ(store.Count(), 3);
  EXPECT_EQ(store.GetNote(2)->Text(), "imported");
  EXPECT_EQ(HeaderCount(ReadAll(fx.path)), 3);
  EXPECT_TRUE(store.LoadNotes(fx.dir.File("missing.qln")));
  EXPECT_EQ(store.Count(), 3);
}

// A newer program's file is neither converted nor written over: the user
// is told and the program treats it as write-protected.
TEST(DataFile, AFileOfAnUnknownVersionIsNeverWritten) {
  for (const int count : {0, 1}) {
    StoreFixture fx;
    const auto bytes = count ? MakeFile(11, 1, {std::vector<unsigned char>(3000, 'x')}) : MakeFile(11, 0, {});
    WriteAll(fx.path, bytes);
    CNoteStore store;
    fx.Attach(store);
    EXPECT_FALSE(store.LoadNotes());
    ASSERT_EQ(fx.messages.size(), 1u);
    EXPECT_EQ(fx.messages[0], LoadUIString(30003) + fx.path);
    EXPECT_TRUE(store.DataFileIsReadOnly());
    store.CreateNote(FullNote("new"));
    EXPECT_FALSE(store.SaveNote(0, true));
    EXPECT_FALSE(store.SaveAllNotes());
    EXPECT_EQ(ReadAll(fx.path), bytes) << "count " << count;
  }
}

// A data file kept elsewhere behind a link stays there, with its permissions,
// and a user's own file that happens to sit beside it is left alone.
TEST(DataFile, WholeSavesWriteThroughALinkAndKeepThePermissionsAndNeighbours) {
  StoreFixture fx;
  const std::string real = fx.dir.File("synced/Quillet.dat");
  std::filesystem::create_directories(fx.dir.File("synced"));
  WriteAll(real, TwoNoteFile(10));
  std::filesystem::permissions(real, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write |
                                         std::filesystem::perms::group_read);
  std::filesystem::create_symlink(real, fx.path);
  WriteAll(fx.path + ".new", {'m', 'i', 'n', 'e'});
  WriteAll(real + ".new", {'m', 'i', 'n', 'e'});

  CNoteStore store;
  fx.Attach(store);
  ASSERT_TRUE(store.LoadNotes());
  store.CreateNote(FullNote("third"));
  ASSERT_TRUE(store.SaveAllNotes());
  EXPECT_TRUE(std::filesystem::is_symlink(fx.path));
  EXPECT_EQ(HeaderCount(ReadAll(real)), 3);
  EXPECT_EQ(std::filesystem::status(real).permissions() & std::filesystem::perms::all,
            std::filesystem::perms::owner_read | std::filesystem::perms::owner_write | std::filesystem::perms::group_read);
  EXPECT_EQ(ReadAll(fx.path + ".new"), (std::vector<unsigned char>{'m', 'i', 'n', 'e'}));
  EXPECT_EQ(ReadAll(real + ".new"), (std::vector<unsigned char>{'m', 'i', 'n', 'e'}));
  int files = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(fx.dir.File("synced"))) ++files;
  EXPECT_EQ(files, 2);  // no temporary file left behind
}

// An older file written on Windows holds Windows-1252: 1,500 umlauts are
// 3,000 bytes of UTF-8, more than the field. Converting must not shorten them.
TEST(DataFile, ConvertingAWindowsTextNeverShortensIt) {
  StoreFixture fx;
  std::vector<unsigned char> record(RecordSizeOf(9), 0);
  std::fill(record.begin(), record.begin() + 1500, 0xE4);  // ä
  WriteAll(fx.path, MakeFile(9, 1, {record}));
  std::string umlauts;
  for (int i = 0; i < 1500; ++i) umlauts += "\xC3\xA4";
  {
    CNoteStore store;
    fx.Attach(store);
    ASSERT_TRUE(store.LoadNotes());  // and rewritten as version 10
    EXPECT_EQ(store.GetNote(0)->Text(), umlauts);
  }
  EXPECT_EQ(HeaderVersion(ReadAll(fx.path)), 10);
  CNoteStore reread;
  fx.Attach(reread);
  ASSERT_TRUE(reread.LoadNotes());
  EXPECT_EQ(reread.GetNote(0)->Text(), umlauts);
  EXPECT_TRUE(fx.messages.empty());

  // Where no encoding holds the whole text, the cut still falls between characters.
  std::string wide;
  for (int i = 0; i < 1000; ++i) wide += "\xE4\xB8\xAD";  // 中
  CNote n;
  n.SetText(wide);
  EXPECT_EQ(n.Text().size(), 2046u);
  EXPECT_EQ(n.Text(), wide.substr(0, 2046));
}
