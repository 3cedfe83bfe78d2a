#include <gtest/gtest.h>

#include "app/SettingsStore.h"
#include "notes/Note.h"
#include "support/MemorySettingsStore.h"

using namespace quillet;
using quillet::test::MemorySettingsStore;

TEST(Settings, FreshUserReadsEveryDefault) {
  MemorySettingsStore store;
  const CSettings s(store);
  EXPECT_TRUE(s.Flag("Show"));
  EXPECT_FALSE(s.Flag("AlwaysOnTop"));
  for (const char* hotkey : {"NewHotkey", "PasteHotkey", "ListHotkey", "SearchHotkey", "SendHotkey", "ShowHotkey",
                             "CalHotkey", "OnTopHotkey"})
    EXPECT_EQ(s.Int(hotkey), 0) << hotkey;
  EXPECT_TRUE(s.Flag("NetEnable"));
  EXPECT_EQ(s.String("NetPort"), "24837");
  EXPECT_EQ(static_cast<uint32_t>(s.Int("ColorBack")), 0x0099FFFFu);
  EXPECT_EQ(static_cast<uint32_t>(s.Int("ColorText")), 0xFF000000u);
  EXPECT_TRUE(s.Flag("DeleteRecBin"));
  EXPECT_EQ(s.Int("ListView"), 32300);
  EXPECT_EQ(s.Int("ListColumns"), 65535);
  EXPECT_EQ(static_cast<uint32_t>(s.Int("ColorList")), 0x00EFEFEFu);
  EXPECT_EQ(s.Int("AlarmDaily"), 31);
  EXPECT_EQ(s.GetInt("Layout-1", "Transparency"), 255);
  EXPECT_EQ(s.GetInt("Layout7", "Transparency"), 255);
  EXPECT_EQ(s.GetString("Layout7", "Name"), "");

  const auto font = s.GetBytes("Settings", "FontNote");
  ASSERT_EQ(font.size(), 60u);
  const LogFont f = LogFont::Read(font.data());
  EXPECT_EQ(f.FaceName(), "Arial");
  EXPECT_EQ(f.height, -13);
  EXPECT_EQ(f.weight, 400);
  EXPECT_EQ(f.pitchAndFamily, 0x22);
  EXPECT_TRUE(s.GetBytes("Settings", "WndList").empty());
}

TEST(Settings, EveryKeyOfTheTableHasOneEntry) {
  for (const SettingDef& d : AllSettings()) EXPECT_EQ(FindSetting(d.section, d.key), &d) << d.section << "/" << d.key;
  EXPECT_NE(FindSetting("Settings", "AlarmSpanType"), nullptr);
  EXPECT_EQ(FindSetting("Settings", "NoSuchKey"), nullptr);
}

TEST(Settings, GarbageReadsAsDefaultAndRangesAreHeld) {
  MemorySettingsStore store;
  CSettings s(store);
  store.values[{"Settings", "TabStops"}] = std::string("wide");
  EXPECT_EQ(s.Int("TabStops"), 8);
  store.values[{"Settings", "TabStops"}] = int64_t{0};
  EXPECT_EQ(s.Int("TabStops"), 2);
  store.values[{"Settings", "AlarmFlash"}] = int64_t{999999};
  EXPECT_EQ(s.Int("AlarmFlash"), 3000);
  store.values[{"Settings", "AlarmRemind"}] = int64_t{1} << 40;
  EXPECT_EQ(s.Int("AlarmRemind"), 5);
  // A hand-edited port is used as it stands; one that no port can be is not.
  store.values[{"Settings", "NetPort"}] = std::string("15060");
  EXPECT_EQ(s.String("NetPort"), "15060");
  store.values[{"Settings", "NetPort"}] = std::string("70000");
  EXPECT_EQ(s.String("NetPort"), "24837");
  store.values[{"Settings", "NetPort"}] = std::string("port");
  EXPECT_EQ(s.String("NetPort"), "24837");
  store.values[{"Settings", "FontNote"}] = std::vector<unsigned char>(12, 7);
  EXPECT_EQ(s.GetBytes("Settings", "FontNote"), s.GetBytes("Layout3", "FontNote"));
  EXPECT_EQ(s.GetBytes("Settings", "FontNote").size(), 60u);
  // Colours keep all 32 bits.
  store.values[{"Settings", "ColorBorder"}] = int64_t{0xFF000000};
  EXPECT_EQ(static_cast<uint32_t>(s.Int("ColorBorder")), 0xFF000000u);
}

TEST(Settings, BytesRoundTripExactly) {
  MemorySettingsStore store;
  CSettings s(store);
  std::vector<unsigned char> placement(44);
  for (std::size_t i = 0; i < placement.size(); ++i) placement[i] = static_cast<unsigned char>(i * 7);
  s.WriteBytes("Settings", "WndList", placement);
  EXPECT_EQ(s.GetBytes("Settings", "WndList"), placement);
}

TEST(Settings, ListsEndAtTheFirstGapAndAreRewrittenWhole) {
  MemorySettingsStore store;
  CSettings s(store);
  s.WriteStringList("Send", {"alpha", "beta", "gamma"});
  EXPECT_EQ(s.GetStringList("Send"), (std::vector<std::string>{"alpha", "beta", "gamma"}));
  s.WriteStringList("Send", {"delta"});
  EXPECT_EQ(s.GetStringList("Send"), (std::vector<std::string>{"delta"}));
  EXPECT_FALSE(store.RawString("Send", "2"));

  store.values[{"Folder", "1"}] = std::string("Work");
  store.values[{"Folder", "2"}] = std::string("");
  store.values[{"Folder", "3"}] = std::string("Unreached");
  EXPECT_EQ(s.GetStringList("Folder"), (std::vector<std::string>{"Work"}));

  store.values[{"Layouts", "1"}] = int64_t{4};
  store.values[{"Layouts", "2"}] = int64_t{0};
  store.values[{"Layouts", "3"}] = int64_t{2};
  EXPECT_EQ(s.GetLayoutList(), (std::vector<int>{4}));
}
