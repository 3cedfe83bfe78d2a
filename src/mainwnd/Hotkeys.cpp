#include "mainwnd/Hotkeys.h"

#include <utility>
#include "app/Ids.h"

namespace quillet {

const std::array<HotkeyDef, 8>& HotkeyTable() {
  static const std::array<HotkeyDef, 8> table = {{
      {"NewHotkey", 16212, 0x20, Cmd::NewNoteWithLayout, Str::HotkeyNewNote},
      {"PasteHotkey", 16213, 0x40, Cmd::PasteNoteWithLayout, Str::HotkeyPasteNote},
      {"ListHotkey", 16214, 0x200, Cmd::NoteList, Str::HotkeyNoteList},
      {"SearchHotkey", 16215, 0x1000, Cmd::Search, Str::HotkeySearch},
      {"SendHotkey", 16216, 0x2000, Cmd::SendTo, Str::HotkeySendTo},
      {"ShowHotkey", 16217, 0x80, Cmd::ShowNotes, Str::HotkeyShowNotes},
      {"CalHotkey", 16219, 0x200000, Cmd::ShowCalendar, Str::HotkeyShowCalendar},
      {"OnTopHotkey", 16218, 0x100, Cmd::AlwaysOnTop, Str::HotkeyAlwaysOnTop},
  }};
  return table;
}

HotkeyParts DecodeHotkey(int value) { return {value & 0xFF, (value >> 8) & 0xFF}; }

int EncodeHotkey(int virtualKey, int modifiers) { return ((modifiers & 0xFF) << 8) | (virtualKey & 0xFF); }

int EncodeHotkey(int virtualKey, int modifiersWithoutWin, bool windowsKey) {
  return EncodeHotkey(virtualKey, (modifiersWithoutWin & ~kHotWin) | (windowsKey ? kHotWin : 0));
}

std::string HotkeyText(int value) {
  const HotkeyParts p = DecodeHotkey(value);
  std::string text;
  if (p.modifiers & kHotWin) text += "Super+";
  if (p.modifiers & kHotCtrl) text += "Ctrl+";
  if (p.modifiers & kHotAlt) text += "Alt+";
  if (p.modifiers & kHotShift) text += "Shift+";
  const int vk = p.virtualKey;
  if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))
    text += static_cast<char>(vk);
  else if (vk >= 0x70 && vk <= 0x87)
    text += "F" + std::to_string(vk - 0x70 + 1);
  else if (vk == 0x20)
    text += "Space";
  else
    text += "#" + std::to_string(vk);
  return text;
}

int RegistrationModifiers(int m) {
  return ((m & kHotAlt) ? 1 : 0) | ((m & kHotCtrl) ? 2 : 0) | ((m & kHotShift) ? 4 : 0) | ((m & kHotWin) ? 8 : 0);
}

namespace {
// Virtual-key codes with a keysym of their own; letters, digits and function
// keys follow by arithmetic.
constexpr std::pair<int, uint32_t> kKeys[] = {
    {0x08, 0xFF08}, {0x09, 0xFF09}, {0x0D, 0xFF0D}, {0x13, 0xFF13}, {0x1B, 0xFF1B}, {0x20, 0x0020},
    {0x21, 0xFF55}, {0x22, 0xFF56}, {0x23, 0xFF57}, {0x24, 0xFF50}, {0x25, 0xFF51}, {0x26, 0xFF52},
    {0x27, 0xFF53}, {0x28, 0xFF54}, {0x2C, 0xFF61}, {0x2D, 0xFF63}, {0x2E, 0xFFFF}, {0x6A, 0xFFAA},
    {0x6B, 0xFFAB}, {0x6D, 0xFFAD}, {0x6E, 0xFFAE}, {0x6F, 0xFFAF}, {0xBA, 0x003B}, {0xBB, 0x003D},
    {0xBC, 0x002C}, {0xBD, 0x002D}, {0xBE, 0x002E}, {0xBF, 0x002F}, {0xC0, 0x0060}, {0xDB, 0x005B},
    {0xDC, 0x005C}, {0xDD, 0x005D}, {0xDE, 0x0027},
};
}  // namespace

uint32_t KeysymOfVirtualKey(int vk) {
  if (vk >= 'A' && vk <= 'Z') return static_cast<uint32_t>(vk - 'A' + 'a');
  if (vk >= '0' && vk <= '9') return static_cast<uint32_t>(vk);
  if (vk >= 0x60 && vk <= 0x69) return 0xFFB0 + static_cast<uint32_t>(vk - 0x60);  // keypad digits
  if (vk >= 0x70 && vk <= 0x87) return 0xFFBE + static_cast<uint32_t>(vk - 0x70);  // F1..F24
  for (const auto& [v, sym] : kKeys)
    if (v == vk) return sym;
  return 0;
}

int VirtualKeyOfKeysym(uint32_t sym) {
  if (sym >= 'a' && sym <= 'z') return static_cast<int>(sym - 'a' + 'A');
  if (sym >= 'A' && sym <= 'Z') return static_cast<int>(sym);
  if (sym >= '0' && sym <= '9') return static_cast<int>(sym);
  if (sym >= 0xFFB0 && sym <= 0xFFB9) return 0x60 + static_cast<int>(sym - 0xFFB0);
  if (sym >= 0xFFBE && sym <= 0xFFD5) return 0x70 + static_cast<int>(sym - 0xFFBE);
  for (const auto& [v, s] : kKeys)
    if (s == sym) return v;
  return 0;
}

}  // namespace quillet
