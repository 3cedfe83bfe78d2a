#include "notes/NoteRecord.h"

#include <bit>
#include <cstring>

#include "common/Text.h"

namespace quillet {

namespace {

constexpr int kNone = -1;

struct Layout {
  uint16_t version;
  std::size_t size;
  int alarmTime, alarmScheduled, alarmType, alarmEvery, alarmAction, alarmExec, alarmSignal, alarmWave;
  int hideUntil, hideMode, modified, onTop, colorText, colorBack, colorBorder, font, align, deskColor;
  int transparency, receivedFrom, receivedOn, folder;
};

// Text sits at 0 and the rectangle at 2048 in every version.
constexpr Layout kLayouts[] = {
    {3, 2184, 2064, kNone, 2076, 2078, kNone, kNone, kNone, kNone, 2080, 2092, 2096, 2108, 2112, 2116, 2120, 2124,
     kNone, kNone, kNone, kNone, kNone, kNone},
    {4, 2700, 2064, kNone, 2076, 2078, 2080, 2082, 2338, 2340, 2596, 2608, 2612, 2624, 2628, 2632, 2636, 2640, kNone,
     kNone, kNone, kNone, kNone, kNone},
    {5, 2704, 2064, kNone, 2076, 2078, 2080, 2082, 2338, 2340, 2596, 2608, 2612, 2624, 2628, 2632, 2636, 2640, 2700,
     kNone, kNone, kNone, kNone, kNone},
    {6, 2708, 2064, kNone, 2076, 2078, 2080, 2082, 2338, 2340, 2596, 2608, 2612, 2624, 2628, 2632, 2636, 2640, 2700,
     2704, kNone, kNone, kNone, kNone},
    {7, 2784, 2064, kNone, 2076, 2078, 2080, 2082, 2338, 2340, 2596, 2608, 2612, 2624, 2628, 2632, 2636, 2640, 2700,
     2704, kNone, 2708, 2772, kNone},
    {8, 2796, 2064, 2076, 2088, 2090, 2092, 2094, 2350, 2352, 2608, 2620, 2624, 2636, 2640, 2644, 2648, 2652, 2712,
     2716, kNone, 2720, 2784, kNone},
    {9, 2800, 2064, 2076, 2088, 2090, 2092, 2094, 2350, 2352, 2608, 2620, 2624, 2636, 2640, 2644, 2648, 2652, 2712,
     2716, 2720, 2724, 2788, kNone},
    {10, 2864, 2064, 2076, 2088, 2090, 2092, 2094, 2350, 2352, 2608, 2620, 2624, 2636, 2640, 2644, 2648, 2652, 2712,
     2716, 2720, 2724, 2788, 2800},
};

const Layout* LayoutOf(uint16_t version) {
  for (const auto& l : kLayouts)
    if (l.version == version) return &l;
  return nullptr;
}

void PutU16(unsigned char* p, uint16_t v) {
  p[0] = v & 0xFF;
  p[1] = v >> 8;
}
void PutU32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = (v >> (8 * i)) & 0xFF;
}
uint16_t GetU16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t GetU32(const unsigned char* p) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

void PutDate(unsigned char* p, const DateTime& t) {
  const auto bits = std::bit_cast<uint64_t>(t.Date());
  for (int i = 0; i < 8; ++i) p[i] = (bits >> (8 * i)) & 0xFF;
  PutU32(p + 8, static_cast<uint32_t>(t.Status()));
}
DateTime GetDate(const unsigned char* p) {
  uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | p[i];
  return {std::bit_cast<double>(bits), static_cast<int32_t>(GetU32(p + 8))};
}

void PutString(unsigned char* p, std::size_t width, const std::string& s) {
  const std::string held = FieldBytesOf(s, width);
  std::memcpy(p, held.data(), held.size());
}
// Another program may have cut a full field inside a character.
std::string GetString(const unsigned char* p, std::size_t width) {
  const std::string_view bytes = FieldBytes(p, width);
  return DecodeCutText(bytes, bytes.size() + 1 >= width);
}

}  // namespace

std::size_t RecordSizeOf(uint16_t version) {
  const Layout* l = LayoutOf(version);
  return l ? l->size : 0;
}

V3SoundDefaults V3SoundDefaults::FromSettings(int alarmSignal, const std::string& alarmWave) {
  if (alarmSignal == 1) return {1, {}};
  if (alarmSignal == 2) return {2, alarmWave};
  return {0, {}};
}

NoteRecordBytes NoteToRecord(const CNote& n, ColorRef desktopColor) {
  NoteRecordBytes r{};
  unsigned char* p = r.data();
  PutString(p, kTextField, n.Text());
  PutU32(p + 2048, static_cast<uint32_t>(n.Rect.left));
  PutU32(p + 2052, static_cast<uint32_t>(n.Rect.top));
  PutU32(p + 2056, static_cast<uint32_t>(n.Rect.width));
  PutU32(p + 2060, static_cast<uint32_t>(n.Rect.height));
  PutDate(p + 2064, n.AlarmTime);
  PutDate(p + 2076, n.AlarmScheduled);
  PutU16(p + 2088, n.AlarmType);
  PutU16(p + 2090, static_cast<uint16_t>(n.AlarmEvery));
  PutU16(p + 2092, n.AlarmAction);
  PutString(p + 2094, kPathField, n.AlarmExec());
  PutU16(p + 2350, n.AlarmSignal);
  PutString(p + 2352, kPathField, n.AlarmWave());
  PutDate(p + 2608, n.HideUntil);
  PutU16(p + 2620, n.HideMode);
  PutDate(p + 2624, n.Modified);
  PutU32(p + 2636, n.OnTop() ? 1 : 0);
  PutU32(p + 2640, n.ColorText);
  PutU32(p + 2644, n.DeskColor() ? desktopColor : n.ColorBack);
  PutU32(p + 2648, n.ColorBorder);
  n.Font.Write(p + 2652);
  PutU16(p + 2712, n.Align);
  PutU32(p + 2716, n.DeskColor() ? 1 : 0);
  PutU32(p + 2720, static_cast<uint32_t>(n.Transparency));
  PutString(p + 2724, kNameField, n.ReceivedFrom());
  PutDate(p + 2788, n.ReceivedOn);
  PutString(p + 2800, kNameField, n.Folder());
  return r;
}

CNote RecordToNote(const unsigned char* p, uint16_t version, const V3SoundDefaults& v3) {
  CNote n;
  const Layout* l = LayoutOf(version);
  if (!l) return n;
  n.SetText(GetString(p, kTextField));
  n.Rect = {static_cast<int32_t>(GetU32(p + 2048)), static_cast<int32_t>(GetU32(p + 2052)),
            static_cast<int32_t>(GetU32(p + 2056)), static_cast<int32_t>(GetU32(p + 2060))};
  n.AlarmTime = GetDate(p + l->alarmTime);
  if (l->alarmScheduled != kNone) n.AlarmScheduled = GetDate(p + l->alarmScheduled);
  n.AlarmType = GetU16(p + l->alarmType);
  n.AlarmEvery = static_cast<int16_t>(GetU16(p + l->alarmEvery));
  if (l->alarmAction != kNone) {
    n.AlarmAction = GetU16(p + l->alarmAction);
    n.SetAlarmExec(GetString(p + l->alarmExec, kPathField));
    n.AlarmSignal = GetU16(p + l->alarmSignal);
    n.SetAlarmWave(GetString(p + l->alarmWave, kPathField));
  } else {
    n.AlarmSignal = v3.signal;
    n.SetAlarmWave(v3.wave);
  }
  n.HideUntil = GetDate(p + l->hideUntil);
  n.HideMode = GetU16(p + l->hideMode);
  n.Modified = GetDate(p + l->modified);
  n.SetFlag(kFlagOnTop, GetU32(p + l->onTop) != 0);
  n.ColorText = GetU32(p + l->colorText);
  n.ColorBack = GetU32(p + l->colorBack);
  n.ColorBorder = GetU32(p + l->colorBorder);
  n.Font = LogFont::Read(p + l->font);
  if (l->align != kNone) n.Align = GetU16(p + l->align);
  if (l->deskColor != kNone) n.SetFlag(kFlagDeskColor, GetU32(p + l->deskColor) != 0);
  if (l->transparency != kNone) n.Transparency = static_cast<int32_t>(GetU32(p + l->transparency));
  if (l->receivedFrom != kNone) {
    n.SetReceivedFrom(GetString(p + l->receivedFrom, kNameField));
    n.ReceivedOn = GetDate(p + l->receivedOn);
  }
  if (l->folder != kNone) n.SetFolder(GetString(p + l->folder, kNameField));
  return n;
}

std::array<unsigned char, kHeaderSize> MakeHeader(uint16_t count) {
  std::array<unsigned char, kHeaderSize> h{};
  std::memcpy(h.data(), "Quillet", 8);
  PutU16(h.data() + 8, kCurrentVersion);
  PutU16(h.data() + 10, count);
  return h;
}

}  // namespace quillet
