#include <gtest/gtest.h>

#include "notewnd/Layout.h"
#include "support/MemorySettingsStore.h"

using namespace quillet;
using quillet::test::MemorySettingsStore;

TEST(Layouts, SavedByNameInAnyCaseDeletedAndNumbered) {
  MemorySettingsStore store;
  CSettings s(store);
  LayoutValues red;
  red.colorBack = 0x0000FF;
  EXPECT_EQ(SaveLayout(s, "Red", red), 1);
  LayoutValues blue;
  blue.colorBack = 0xFF0000;
  EXPECT_EQ(SaveLayout(s, "Blue", blue), 2);
  red.align = 2;
  EXPECT_EQ(SaveLayout(s, "RED", red), 1);  // the same layout, overwritten
  EXPECT_EQ(s.GetLayoutList(), (std::vector<int>{1, 2}));
  EXPECT_EQ(ReadLayout(s, 1).align, 2);
  EXPECT_EQ(s.GetString("Layout1", "Name"), "RED");
  DeleteLayout(s, 1);
  EXPECT_EQ(s.GetLayoutList(), (std::vector<int>{2}));
  EXPECT_FALSE(store.RawString("Layout1", "Name"));
  EXPECT_EQ(SaveLayout(s, "Green", red), 3);  // one more than the highest in use
  DeleteLayout(s, 3);
  EXPECT_EQ(SaveLayout(s, "Green", red), 3);  // the highest number is free again
}

TEST(Layouts, ColourListHasFiveLightColoursWhenEmpty) {
  MemorySettingsStore store;
  CSettings s(store);
  EXPECT_EQ(ReadColorList(s), (std::vector<ColorRef>{0x99FFFF, 0x99CCFF, 0xCC99FF, 0xFFCC99, 0xCCFFCC}));
  store.values[{"ColorList", "1"}] = int64_t{0x123456};  // key "0" missing: nothing is read
  EXPECT_EQ(ReadColorList(s).size(), 5u);
  WriteColorList(s, {0x010203, 0x040506});
  EXPECT_EQ(ReadColorList(s), (std::vector<ColorRef>{0x010203, 0x040506}));
  LayoutValues v;
  v.randColList = true;
  const LayoutBackground bg = ChooseBackground(v, ReadColorList(s), [] { return 3; });
  EXPECT_TRUE(bg.random);
  EXPECT_EQ(bg.back, 0x040506u);
}

TEST(Layouts, RandomColoursAreNotReseededWithinFiveSeconds) {
  long long now = 1000;
  CRandomColors random([&] { return now; });
  random.Next();
  random.Next();
  now += 5;
  random.Next();
  EXPECT_EQ(random.Seedings(), 1);
  now += 1;
  random.Next();
  EXPECT_EQ(random.Seedings(), 2);
}

TEST(Layouts, TheCalendarsLayoutKeepsUnsetColoursUnsetUntilWritten) {
  MemorySettingsStore store;
  CSettings s(store);
  CalendarLayout c = ReadCalendarLayout(s);
  EXPECT_TRUE(c.font);  // the settings' default font
  for (const auto& colour : c.colors) EXPECT_FALSE(colour);
  EXPECT_EQ(c.transparency, 255);
  // A hand-set colour out of range counts as unset.
  s.WriteInt("Layout-1", "ColorTextTitle", 0x1000000);
  EXPECT_FALSE(ReadCalendarLayout(s).colors[5]);

  c.colors[1] = 0x123456;
  c.transparency = 2200;
  WriteCalendarLayout(s, c, {1, 2, 3, 4, 5, 6}, LogFont::Default());
  const CalendarLayout back = ReadCalendarLayout(s);
  EXPECT_EQ(back.colors[0], ColorRef{1});
  EXPECT_EQ(back.colors[1], ColorRef{0x123456});
  EXPECT_EQ(back.colors[5], ColorRef{6});
  EXPECT_EQ(back.transparency, 2200);
  ASSERT_TRUE(back.font);
  EXPECT_EQ(back.font->FaceName(), LogFont::Default().FaceName());
}
