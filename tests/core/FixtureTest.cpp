// Data files written by an independent writer, with the values every field
// must load as.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "notes/DataFile.h"
#include "common/Text.h"
#include "notes/RecycleBin.h"
#include "support/TempDir.h"

using namespace quillet;

namespace {

QJsonObject Fixtures() {
  QFile f(QString::fromStdString(test::DataFile("fixtures.json")));
  EXPECT_TRUE(f.open(QIODevice::ReadOnly));
  return QJsonDocument::fromJson(f.readAll()).object();
}

std::string Hex(const QJsonValue& v) { return QByteArray::fromHex(v.toString().toLatin1()).toStdString(); }

void ExpectDate(const DateTime& actual, const QJsonValue& expected, const char* what) {
  const QJsonObject o = expected.toObject();
  EXPECT_EQ(actual.Status(), o.value(QStringLiteral("status")).toInt()) << what;
  if (o.contains(QStringLiteral("date"))) {
    EXPECT_DOUBLE_EQ(actual.Date(), o.value(QStringLiteral("date")).toDouble()) << what;
  }
}

}  // namespace

class FixtureFile : public ::testing::TestWithParam<int> {};

TEST_P(FixtureFile, EveryFieldLoadsAsExpected) {
  const QString name = QStringLiteral("notes-v%1.dat").arg(GetParam());
  const QJsonObject file = Fixtures().value(QStringLiteral("files")).toObject().value(name).toObject();
  ASSERT_FALSE(file.isEmpty());
  ASSERT_EQ(RecordSizeOf(static_cast<uint16_t>(GetParam())),
            static_cast<std::size_t>(file.value(QStringLiteral("record_size")).toInt()));

  const LoadResult r = CDataFile::Read(FileSystem::Real(), test::DataFile(name.toStdString()), {});
  ASSERT_EQ(r.status, LoadResult::Status::Ok);
  EXPECT_EQ(r.version, GetParam());
  const QJsonArray expect = file.value(QStringLiteral("expect")).toArray();
  ASSERT_EQ(r.notes.size(), static_cast<std::size_t>(expect.size()));

  for (qsizetype i = 0; i < expect.size(); ++i) {
    SCOPED_TRACE(i);
    const QJsonObject e = expect[i].toObject();
    const CNote& n = r.notes[static_cast<std::size_t>(i)];
    EXPECT_EQ(n.Text(), DecodeLocalText(Hex(e[QStringLiteral("text")])));
    const QJsonArray rect = e[QStringLiteral("rect")].toArray();
    EXPECT_EQ(n.Rect, (NoteRect{rect[0].toInt(), rect[1].toInt(), rect[2].toInt(), rect[3].toInt()}));
    ExpectDate(n.AlarmTime, e[QStringLiteral("alarm")], "alarm");
    ExpectDate(n.AlarmScheduled, e[QStringLiteral("sched")], "sched");
    ExpectDate(n.HideUntil, e[QStringLiteral("hide_until")], "hide_until");
    ExpectDate(n.Modified, e[QStringLiteral("modified")], "modified");
    ExpectDate(n.ReceivedOn, e[QStringLiteral("ron")], "ron");
    EXPECT_EQ(n.AlarmType, e[QStringLiteral("atype")].toInt());
    EXPECT_EQ(n.AlarmEvery, e[QStringLiteral("every")].toInt());
    EXPECT_EQ(n.AlarmAction, e[QStringLiteral("action")].toInt());
    EXPECT_EQ(n.AlarmExec(), Hex(e[QStringLiteral("execp")]));
    EXPECT_EQ(n.AlarmSignal, e[QStringLiteral("signal")].toInt());
    EXPECT_EQ(n.AlarmWave(), Hex(e[QStringLiteral("wave")]));
    EXPECT_EQ(n.HideMode, e[QStringLiteral("hide_mode")].toInt());
    EXPECT_EQ(n.OnTop(), e[QStringLiteral("ontop")].toInt() != 0);
    EXPECT_EQ(n.ColorText, static_cast<ColorRef>(e[QStringLiteral("ctext")].toDouble()));
    EXPECT_EQ(n.ColorBack, static_cast<ColorRef>(e[QStringLiteral("cback")].toDouble()));
    EXPECT_EQ(n.ColorBorder, static_cast<ColorRef>(e[QStringLiteral("cborder")].toDouble()));
    EXPECT_EQ(n.Align, e[QStringLiteral("align")].toInt());
    EXPECT_EQ(n.DeskColor(), e[QStringLiteral("desk")].toInt() != 0);
    EXPECT_EQ(n.Transparency, e[QStringLiteral("transp")].toInt());
    EXPECT_EQ(n.ReceivedFrom(), Hex(e[QStringLiteral("rfrom")]));
    EXPECT_EQ(n.Folder(), Hex(e[QStringLiteral("folder")]));
  }
  EXPECT_EQ(r.notes[0].Font.FaceName(), "Courier New");
  EXPECT_EQ(r.notes[0].Font.height, -16);
  EXPECT_EQ(r.notes[0].Font.weight, 700);
  EXPECT_EQ(r.notes[1].Font.FaceName(), "Arial");
  EXPECT_EQ(r.notes[1].Font.height, -13);
  EXPECT_EQ(r.notes[1].Text(), "Grüße aus Köln");
}

INSTANTIATE_TEST_SUITE_P(Versions3To10, FixtureFile, ::testing::Range(3, 11));

TEST(FixtureFile, Version10RecordsWriteBackByteForByte) {
  const auto bytes = test::ReadAll(test::DataFile("notes-v10.dat"));
  const LoadResult r = CDataFile::Read(FileSystem::Real(), test::DataFile("notes-v10.dat"), {});
  ASSERT_EQ(r.notes.size(), 2u);
  // Note 0 follows the desktop colour; its stored background is the colour shown.
  const NoteRecordBytes rec0 = NoteToRecord(r.notes[0], r.notes[0].ColorBack);
  EXPECT_TRUE(std::equal(rec0.begin(), rec0.end(), bytes.begin() + kHeaderSize));
}

TEST(FixtureFile, RecycleBinEntries) {
  const QJsonArray expect = Fixtures().value(QStringLiteral("bin.rbi")).toArray();
  const RecycleBinRead r = CRecycleBin::Read(FileSystem::Real(), test::DataFile("bin.rbi"));
  ASSERT_EQ(r.entries.size(), static_cast<std::size_t>(expect.size()));
  for (qsizetype i = 0; i < expect.size(); ++i) {
    EXPECT_EQ(r.entries[static_cast<std::size_t>(i)].time, expect[i][QStringLiteral("time")].toString().toStdString());
    EXPECT_EQ(r.entries[static_cast<std::size_t>(i)].text, expect[i][QStringLiteral("text")].toString().toStdString());
  }
}
