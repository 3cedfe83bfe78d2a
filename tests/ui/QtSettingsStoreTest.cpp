#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "app/QtSettingsStore.h"

using namespace quillet;

namespace {
class QtSettingsStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    QtSettingsStore().Backend().clear();
  }
};
}  // namespace

TEST_F(QtSettingsStoreTest, FreshUserHasTheDefaults) {
  QtSettingsStore store;
  const CSettings s(store);
  EXPECT_TRUE(s.Flag("Show"));
  EXPECT_EQ(s.Int("NewHotkey"), 0);
  EXPECT_EQ(s.String("NetPort"), "24837");
  EXPECT_EQ(static_cast<uint32_t>(s.Int("ColorBack")), 0x0099FFFFu);
  EXPECT_TRUE(s.Flag("DeleteRecBin"));
  EXPECT_EQ(s.GetBytes("Settings", "FontNote").size(), 60u);
}

TEST_F(QtSettingsStoreTest, ValuesSurviveAFreshStore) {
  {
    QtSettingsStore store;
    CSettings s(store);
    std::vector<unsigned char> font(60), placement(44);
    for (std::size_t i = 0; i < 60; ++i) font[i] = static_cast<unsigned char>(255 - i * 3);
    for (std::size_t i = 0; i < 44; ++i) placement[i] = static_cast<unsigned char>(i == 5 ? 0 : i + 200);
    s.WriteBytes("Layout3", "FontNote", font);
    s.WriteBytes("Settings", "WndList", placement);
    s.WriteInt("Settings", "ColorBorder", 0xFF000000LL);
    s.WriteInt("Settings", "AlwaysOnTop", 1);
    s.WriteString("Settings", "NewText", "Note of %x, äöü, a=b; [x]");
    s.WriteStringList("Send", {"host-a", "10.0.0.7", "host,with,commas"});
    store.Sync();
  }
  QtSettingsStore store;
  const CSettings s(store);
  const auto font = s.GetBytes("Layout3", "FontNote");
  ASSERT_EQ(font.size(), 60u);
  EXPECT_EQ(font[1], 252);
  ASSERT_EQ(s.GetBytes("Settings", "WndList").size(), 44u);
  EXPECT_EQ(s.GetBytes("Settings", "WndList")[5], 0);
  EXPECT_EQ(static_cast<uint32_t>(s.Int("ColorBorder")), 0xFF000000u);
  EXPECT_TRUE(s.Flag("AlwaysOnTop"));
  EXPECT_EQ(s.String("NewText"), "Note of %x, äöü, a=b; [x]");
  EXPECT_EQ(s.GetStringList("Send"), (std::vector<std::string>{"host-a", "10.0.0.7", "host,with,commas"}));
}

TEST_F(QtSettingsStoreTest, HandEditedGarbageReadsAsDefaults) {
  QtSettingsStore store;
  const QString path = store.Backend().fileName();
  QDir().mkpath(QFileInfo(path).absolutePath());
  {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[Settings]\nTabStops=lots\nAlarmFlash=5\nShow=0x0\nFontNote=@ByteArray(abc)\nWndList=plain text\n"
            "NetPort=99999\nColorBack=0x00112233\n");
  }
  QtSettingsStore fresh;
  const CSettings s(fresh);
  EXPECT_EQ(s.Int("TabStops"), 8);
  EXPECT_EQ(s.Int("AlarmFlash"), 100);
  EXPECT_FALSE(s.Flag("Show"));
  EXPECT_EQ(s.GetBytes("Settings", "FontNote").size(), 60u);
  EXPECT_TRUE(s.GetBytes("Settings", "WndList").empty());
  EXPECT_EQ(s.String("NetPort"), "24837");  // no port can be 99999
  EXPECT_EQ(s.Int("ColorBack"), 0x00112233);
}

// The README invites editing the settings file by hand; what is written
// there is read as written.
TEST_F(QtSettingsStoreTest, HandEditedValuesReadAsWritten) {
  const QString file = QtSettingsStore().Backend().fileName();
  QDir().mkpath(QFileInfo(file).path());
  {
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[Settings]\nFileNotes=/home/a/Notes, 2024/notes.dat\nNetPort=15060\n");
  }
  QtSettingsStore store;
  const CSettings s(store);
  EXPECT_EQ(s.String("FileNotes"), "/home/a/Notes, 2024/notes.dat");
  EXPECT_EQ(s.String("NetPort"), "15060");
}
