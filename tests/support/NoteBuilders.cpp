#include "support/NoteBuilders.h"

#include <bit>
#include <cstring>

namespace quillet::test {

namespace {
void U16(std::vector<unsigned char>& r, std::size_t off, uint16_t v) {
  r[off] = v & 0xFF;
  r[off + 1] = v >> 8;
}
void U32(std::vector<unsigned char>& r, std::size_t off, uint32_t v) {
  for (int i = 0; i < 4; ++i) r[off + i] = (v >> (8 * i)) & 0xFF;
}
void Date(std::vector<unsigned char>& r, std::size_t off, const DateTime& t) {
  const auto bits = std::bit_cast<uint64_t>(t.Date());
  for (int i = 0; i < 8; ++i) r[off + i] = (bits >> (8 * i)) & 0xFF;
  U32(r, off + 8, static_cast<uint32_t>(t.Status()));
}
void Str(std::vector<unsigned char>& r, std::size_t off, const std::string& s) {
  std::memcpy(r.data() + off, s.data(), s.size());
}
}  // namespace

CNote FullNote(const std::string& text) {
  CNote n;
  n.SetText(text);
  n.Rect = {-40, 310, 222, 111};
  n.AlarmTime = DateTime::FromParts(2031, 3, 4, 5, 6, 7);
  n.AlarmScheduled = DateTime::FromParts(2031, 3, 4, 5, 0, 0);
  n.AlarmType = 6;
  n.AlarmEvery = 3;
  n.AlarmAction = 2;
  n.SetAlarmExec("/usr/bin/xmessage hello");
  n.AlarmSignal = 3;
  n.SetAlarmWave("/usr/share/sounds/ding.wav");
  n.HideUntil = DateTime::FromParts(2030, 12, 24, 18, 0, 0);
  n.HideMode = 2;
  n.Modified = DateTime::FromParts(2026, 12, 7, 9, 30, 15);
  n.Font.height = -16;
  n.Font.weight = 700;
  n.Font.italic = 1;
  n.Font.SetFaceName("Courier New");
  n.ColorText = 0x00102030;
  n.ColorBack = 0x0080C0FF;
  n.ColorBorder = 0x00203040;
  n.Align = 2;
  n.SetFlag(kFlagOnTop, true);
  n.Transparency = 2128;
  n.SetReceivedFrom("Anna's PC");
  n.ReceivedOn = DateTime::FromParts(2025, 6, 5, 8, 9, 10);
  n.SetFolder("Work");
  return n;
}

std::vector<unsigned char> MakeFile(uint16_t version, int16_t count, const std::vector<std::vector<unsigned char>>& records) {
  std::vector<unsigned char> f(12, 0);
  std::memcpy(f.data(), "Quillet", 8);
  U16(f, 8, version);
  U16(f, 10, static_cast<uint16_t>(count));
  for (const auto& r : records) f.insert(f.end(), r.begin(), r.end());
  return f;
}

std::vector<unsigned char> RecordOfVersion(const CNote& n, uint16_t v) {
  static const std::size_t kSizes[] = {0, 0, 0, 2184, 2700, 2704, 2708, 2784, 2796, 2800, 2864};
  std::vector<unsigned char> r(kSizes[v], 0);
  Str(r, 0, n.Text());
  U32(r, 2048, static_cast<uint32_t>(n.Rect.left));
  U32(r, 2052, static_cast<uint32_t>(n.Rect.top));
  U32(r, 2056, static_cast<uint32_t>(n.Rect.width));
  U32(r, 2060, static_cast<uint32_t>(n.Rect.height));
  Date(r, 2064, n.AlarmTime);
  const auto font = n.Font.Bytes();
  if (v == 3) {
    U16(r, 2076, n.AlarmType);
    U16(r, 2078, static_cast<uint16_t>(n.AlarmEvery));
    Date(r, 2080, n.HideUntil);
    U16(r, 2092, n.HideMode);
    Date(r, 2096, n.Modified);
    U32(r, 2108, n.OnTop());
    U32(r, 2112, n.ColorText);
    U32(r, 2116, n.ColorBack);
    U32(r, 2120, n.ColorBorder);
    std::memcpy(r.data() + 2124, font.data(), 60);
    return r;
  }
  if (v <= 7) {
    U16(r, 2076, n.AlarmType);
    U16(r, 2078, static_cast<uint16_t>(n.AlarmEvery));
    U16(r, 2080, n.AlarmAction);
    Str(r, 2082, n.AlarmExec());
    U16(r, 2338, n.AlarmSignal);
    Str(r, 2340, n.AlarmWave());
    Date(r, 2596, n.HideUntil);
    U16(r, 2608, n.HideMode);
    Date(r, 2612, n.Modified);
    U32(r, 2624, n.OnTop());
    U32(r, 2628, n.ColorText);
    U32(r, 2632, n.ColorBack);
    U32(r, 2636, n.ColorBorder);
    std::memcpy(r.data() + 2640, font.data(), 60);
    if (v >= 5) U16(r, 2700, n.Align);
    if (v >= 6) U32(r, 2704, n.DeskColor());
    if (v == 7) {
      Str(r, 2708, n.ReceivedFrom());
      Date(r, 2772, n.ReceivedOn);
    }
    return r;
  }
  Date(r, 2076, n.AlarmScheduled);
  U16(r, 2088, n.AlarmType);
  U16(r, 2090, static_cast<uint16_t>(n.AlarmEvery));
  U16(r, 2092, n.AlarmAction);
  Str(r, 2094, n.AlarmExec());
  U16(r, 2350, n.AlarmSignal);
  Str(r, 2352, n.AlarmWave());
  Date(r, 2608, n.HideUntil);
  U16(r, 2620, n.HideMode);
  Date(r, 2624, n.Modified);
  U32(r, 2636, n.OnTop());
  U32(r, 2640, n.ColorText);
  U32(r, 2644, n.ColorBack);
  U32(r, 2648, n.ColorBorder);
  std::memcpy(r.data() + 2652, font.data(), 60);
  U16(r, 2712, n.Align);
  U32(r, 2716, n.DeskColor());
  if (v == 8) {
    Str(r, 2720, n.ReceivedFrom());
    Date(r, 2784, n.ReceivedOn);
    return r;
  }
  U32(r, 2720, static_cast<uint32_t>(n.Transparency));
  Str(r, 2724, n.ReceivedFrom());
  Date(r, 2788, n.ReceivedOn);
  if (v == 10) Str(r, 2800, n.Folder());
  return r;
}

}  // namespace quillet::test
