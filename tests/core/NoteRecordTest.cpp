#include <gtest/gtest.h>

#include "notes/NoteRecord.h"
#include "support/NoteBuilders.h"

using namespace quillet;
using quillet::test::FullNote;
using quillet::test::RecordOfVersion;

namespace {

void ExpectSameFields(const CNote& a, const CNote& b) {
  EXPECT_EQ(a.Text(), b.Text());
  EXPECT_EQ(a.Rect, b.Rect);
  EXPECT_EQ(a.AlarmTime, b.AlarmTime);
  EXPECT_EQ(a.AlarmScheduled, b.AlarmScheduled);
  EXPECT_EQ(a.AlarmType, b.AlarmType);
  EXPECT_EQ(a.AlarmEvery, b.AlarmEvery);
  EXPECT_EQ(a.AlarmAction, b.AlarmAction);
  EXPECT_EQ(a.AlarmExec(), b.AlarmExec());
  EXPECT_EQ(a.AlarmSignal, b.AlarmSignal);
  EXPECT_EQ(a.AlarmWave(), b.AlarmWave());
  EXPECT_EQ(a.HideUntil, b.HideUntil);
  EXPECT_EQ(a.HideMode, b.HideMode);
  EXPECT_EQ(a.Modified, b.Modified);
  EXPECT_EQ(a.Font, b.Font);
  EXPECT_EQ(a.ColorText, b.ColorText);
  EXPECT_EQ(a.ColorBack, b.ColorBack);
  EXPECT_EQ(a.ColorBorder, b.ColorBorder);
  EXPECT_EQ(a.Align, b.Align);
  EXPECT_EQ(a.OnTop(), b.OnTop());
  EXPECT_EQ(a.DeskColor(), b.DeskColor());
  EXPECT_EQ(a.Transparency, b.Transparency);
  EXPECT_EQ(a.ReceivedFrom(), b.ReceivedFrom());
  EXPECT_EQ(a.ReceivedOn, b.ReceivedOn);
  EXPECT_EQ(a.Folder(), b.Folder());
}

}  // namespace

TEST(NoteRecord, NewNoteHasTheDefaults) {
  const CNote n;
  EXPECT_EQ(n.Index, -1);
  EXPECT_EQ(n.Transparency, 255);
  EXPECT_TRUE(n.AlarmTime.IsNull() && n.AlarmScheduled.IsNull() && n.HideUntil.IsNull() && n.Modified.IsNull() &&
              n.ReceivedOn.IsNull());
  EXPECT_TRUE(n.Text().empty() && n.AlarmExec().empty() && n.AlarmWave().empty() && n.ReceivedFrom().empty() &&
              n.Folder().empty());
}

TEST(NoteRecord, Version10IsByteExactBothWays) {
  const CNote note = FullNote();
  const NoteRecordBytes ours = NoteToRecord(note, 0);
  const std::vector<unsigned char> theirs = RecordOfVersion(note, 10);
  ASSERT_EQ(theirs.size(), kRecordSize);
  EXPECT_TRUE(std::equal(ours.begin(), ours.end(), theirs.begin()));
  ExpectSameFields(RecordToNote(ours.data(), 10), note);
  // And a record read back writes the same bytes again.
  EXPECT_EQ(NoteToRecord(RecordToNote(ours.data(), 10), 0), ours);
}

TEST(NoteRecord, DesktopColourIsStoredAsTheBackground) {
  CNote note = FullNote();
  note.SetFlag(kFlagDeskColor, true);
  const NoteRecordBytes r = NoteToRecord(note, 0x00332211);
  EXPECT_EQ(r[2644], 0x11);
  EXPECT_EQ(r[2645], 0x22);
  EXPECT_EQ(r[2646], 0x33);
  EXPECT_EQ(r[2716], 1);
  EXPECT_EQ(r[2636], 1);  // on top
}

TEST(NoteRecord, StringsFillTheirFieldsButNeverOverrun) {
  CNote note;
  note.SetText(std::string(5000, 'a'));
  note.SetFolder(std::string(63, 'f') + "overflow");
  // In UTF-8 the last character would need byte 64; in Windows-1252 it fits.
  note.SetReceivedFrom(std::string(62, 'r') + "ü");
  EXPECT_EQ(note.Text().size(), 2047u);
  EXPECT_EQ(note.Folder().size(), 63u);
  EXPECT_EQ(note.ReceivedFrom(), std::string(62, 'r') + "ü");
  const NoteRecordBytes r = NoteToRecord(note, 0);
  EXPECT_EQ(r[2046], 'a');
  EXPECT_EQ(r[2047], 0);
  EXPECT_EQ(r[2800 + 63], 0);
  const CNote back = RecordToNote(r.data(), 10);
  EXPECT_EQ(back.Text(), note.Text());
  EXPECT_EQ(back.Folder(), note.Folder());
  EXPECT_EQ(back.ReceivedFrom(), note.ReceivedFrom());
  // No encoding holds this one: it is cut between characters.
  note.SetReceivedFrom(std::string(62, 'r') + "中");
  EXPECT_EQ(note.ReceivedFrom(), std::string(62, 'r'));
}

TEST(NoteRecord, FieldsWithoutTerminatorStayInsideTheirWidth) {
  NoteRecordBytes r = NoteToRecord(FullNote(), 0);
  std::fill(r.begin(), r.begin() + 2048, 'T');        // text with no NUL
  std::fill(r.begin() + 2800, r.begin() + 2864, 'F');  // folder with no NUL, at the end of the record
  const CNote back = RecordToNote(r.data(), 10);
  EXPECT_EQ(back.Text().size(), 2047u);
  EXPECT_EQ(back.Folder(), std::string(63, 'F'));
  EXPECT_EQ(back.Rect, FullNote().Rect);
}

TEST(NoteRecord, Windows1252TextReadsAsUtf8) {
  CNote raw;
  raw.SetText("x");
  NoteRecordBytes r = NoteToRecord(raw, 0);
  const char cp1252[] = "Gr\xFC\xDF" "e";
  std::copy(cp1252, cp1252 + 5, r.begin());
  EXPECT_EQ(RecordToNote(r.data(), 10).Text(), "Grüße");
}

class OlderVersions : public ::testing::TestWithParam<int> {};

TEST_P(OlderVersions, ReadTheirFieldsAndKeepDefaultsForTheRest) {
  const auto version = static_cast<uint16_t>(GetParam());
  const CNote full = FullNote();
  const std::vector<unsigned char> rec = RecordOfVersion(full, version);
  ASSERT_EQ(rec.size(), RecordSizeOf(version));
  const CNote n = RecordToNote(rec.data(), version, V3SoundDefaults::FromSettings(2, "/snd/bell.wav"));
  const CNote fresh;

  EXPECT_EQ(n.Text(), full.Text());
  EXPECT_EQ(n.Rect, full.Rect);
  EXPECT_EQ(n.AlarmTime, full.AlarmTime);
  EXPECT_EQ(n.AlarmType, full.AlarmType);
  EXPECT_EQ(n.AlarmEvery, full.AlarmEvery);
  EXPECT_EQ(n.HideUntil, full.HideUntil);
  EXPECT_EQ(n.HideMode, full.HideMode);
  EXPECT_EQ(n.Modified, full.Modified);
  EXPECT_EQ(n.OnTop(), full.OnTop());
  EXPECT_EQ(n.ColorText, full.ColorText);
  EXPECT_EQ(n.ColorBack, full.ColorBack);
  EXPECT_EQ(n.ColorBorder, full.ColorBorder);
  EXPECT_EQ(n.Font, full.Font);

  EXPECT_EQ(n.AlarmScheduled, version >= 8 ? full.AlarmScheduled : fresh.AlarmScheduled);
  if (version == 3) {
    EXPECT_EQ(n.AlarmAction, 0);
    EXPECT_EQ(n.AlarmExec(), "");
    EXPECT_EQ(n.AlarmSignal, 2);
    EXPECT_EQ(n.AlarmWave(), "/snd/bell.wav");
  } else {
    EXPECT_EQ(n.AlarmAction, full.AlarmAction);
    EXPECT_EQ(n.AlarmExec(), full.AlarmExec());
    EXPECT_EQ(n.AlarmSignal, full.AlarmSignal);
    EXPECT_EQ(n.AlarmWave(), full.AlarmWave());
  }
  EXPECT_EQ(n.Align, version >= 5 ? full.Align : 0);
  EXPECT_EQ(n.DeskColor(), version >= 6 ? full.DeskColor() : false);
  EXPECT_EQ(n.ReceivedFrom(), version >= 7 ? full.ReceivedFrom() : "");
  EXPECT_EQ(n.ReceivedOn, version >= 7 ? full.ReceivedOn : fresh.ReceivedOn);
  EXPECT_EQ(n.Transparency, version >= 9 ? full.Transparency : 255);
  EXPECT_EQ(n.Folder(), version >= 10 ? full.Folder() : "");
}

INSTANTIATE_TEST_SUITE_P(Versions3To10, OlderVersions, ::testing::Range(3, 11));

TEST(NoteRecord, Version3SoundComesFromTheSettings) {
  EXPECT_EQ(V3SoundDefaults::FromSettings(1, "/x.wav").signal, 1);
  EXPECT_EQ(V3SoundDefaults::FromSettings(1, "/x.wav").wave, "");
  EXPECT_EQ(V3SoundDefaults::FromSettings(2, "/x.wav").wave, "/x.wav");
  EXPECT_EQ(V3SoundDefaults::FromSettings(3, "/x.wav").signal, 0);
}

TEST(NoteRecord, UnknownVersionsHaveNoSize) {
  EXPECT_EQ(RecordSizeOf(2), 0u);
  EXPECT_EQ(RecordSizeOf(11), 0u);
  EXPECT_EQ(RecordSizeOf(10), 2864u);
}
