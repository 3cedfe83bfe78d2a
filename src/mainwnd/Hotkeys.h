#pragma once
// The eight global hotkeys. A stored value keeps the virtual-key code in its
// low byte and the modifiers in the next one (0x01 Shift, 0x02 Ctrl, 0x04 Alt,
// 0x08 the Windows key), so a settings file means the same on every system.
#include <array>
#include <string>
#include <cstdint>

namespace quillet {

struct HotkeyDef {
  const char* key;  // the setting
  int id;
  uint32_t flag;    // "registered" bit of the main window's flag word
  int command;
  int label;        // string id on the settings page
};

// In the order they are registered and unregistered.
const std::array<HotkeyDef, 8>& HotkeyTable();

enum HotkeyModifier : int { kHotShift = 0x01, kHotCtrl = 0x02, kHotAlt = 0x04, kHotWin = 0x08 };

struct HotkeyParts {
  int virtualKey = 0;
  int modifiers = 0;  // the bits above
  bool IsSet() const { return virtualKey != 0 || modifiers != 0; }
};
HotkeyParts DecodeHotkey(int value);
int EncodeHotkey(int virtualKey, int modifiers);
// The settings page edits the Windows key with a box of its own.
int EncodeHotkey(int virtualKey, int modifiersWithoutWin, bool windowsKey);

// A stored hotkey as people write it: "Ctrl+Alt+N", "Shift+F5".
std::string HotkeyText(int value);

// The modifiers as the platform's registration counts them: Alt 1, Ctrl 2, Shift 4, Windows 8.
int RegistrationModifiers(int modifiers);

// The X11 keysym of a virtual-key code, 0 for keys without one.
uint32_t KeysymOfVirtualKey(int virtualKey);
// And back, for the settings page's key editor (0 when unknown).
int VirtualKeyOfKeysym(uint32_t keysym);

}  // namespace quillet
