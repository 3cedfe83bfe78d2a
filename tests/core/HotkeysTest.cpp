#include <gtest/gtest.h>

#include "mainwnd/Hotkeys.h"

using namespace quillet;

TEST(Hotkeys, ValuesKeepTheirMeaningBothWays) {
  const HotkeyParts a = DecodeHotkey(0x0641);
  EXPECT_EQ(a.virtualKey, 0x41);
  EXPECT_EQ(a.modifiers, kHotCtrl | kHotAlt);
  EXPECT_EQ(RegistrationModifiers(a.modifiers), 3);
  EXPECT_EQ(RegistrationModifiers(DecodeHotkey(0x0841).modifiers), 8);  // the Windows key alone
  EXPECT_EQ(RegistrationModifiers(kHotShift), 4);
  EXPECT_EQ(EncodeHotkey(0x74, kHotShift | kHotCtrl, true), (1 + 2 + 8) * 256 + 0x74);
  EXPECT_EQ(EncodeHotkey(0x74, kHotShift | kHotCtrl | kHotWin, false), (1 + 2) * 256 + 0x74);
  EXPECT_EQ(EncodeHotkey(0x41, 0x06), 0x0641);
  EXPECT_FALSE(DecodeHotkey(0).IsSet());
}

TEST(Hotkeys, VirtualKeysMapToKeysymsAndBack) {
  EXPECT_EQ(KeysymOfVirtualKey('N'), static_cast<uint32_t>('n'));
  EXPECT_EQ(KeysymOfVirtualKey('7'), static_cast<uint32_t>('7'));
  EXPECT_EQ(KeysymOfVirtualKey(0x74), 0xFFC2u);  // F5
  EXPECT_EQ(KeysymOfVirtualKey(0x2E), 0xFFFFu);  // Delete
  EXPECT_EQ(KeysymOfVirtualKey(0xFF), 0u);
  for (int vk : {int('A'), int('Z'), int('0'), 0x70, 0x87, 0x60, 0x20, 0x0D, 0xBA, 0xDE, 0x25})
    EXPECT_EQ(VirtualKeyOfKeysym(KeysymOfVirtualKey(vk)), vk) << vk;
  EXPECT_EQ(HotkeyTable().size(), 8u);
  EXPECT_EQ(HotkeyTable()[6].key, std::string("CalHotkey"));  // the calendar before always on top
}
