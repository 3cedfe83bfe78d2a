#include "notewnd/Layout.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>

#include "common/Text.h"

namespace quillet {

std::string LayoutSection(int number) { return number <= 0 ? "Settings" : "Layout" + std::to_string(number); }

LayoutValues ReadLayout(const CSettings& s, int number) {
  const std::string sec = LayoutSection(number);
  LayoutValues v;
  const auto font = s.GetBytes(sec, "FontNote");
  if (font.size() == LogFont::kSize) v.font = LogFont::Read(font.data());
  v.colorText = static_cast<ColorRef>(s.GetInt(sec, "ColorText"));
  v.colorBack = static_cast<ColorRef>(s.GetInt(sec, "ColorBack"));
  v.colorBorder = static_cast<ColorRef>(s.GetInt(sec, "ColorBorder"));
  v.align = static_cast<uint16_t>(s.GetInt(sec, "Align"));
  v.deskColor = s.GetFlag(sec, "DeskColor");
  v.randomColor = s.GetFlag(sec, "RandomColor");
  v.randColList = s.GetFlag(sec, "RandColList");
  v.transparency = s.GetInt(sec, "Transparency");
  return v;
}

std::vector<ColorRef> ReadColorList(const CSettings& s) {
  std::vector<ColorRef> colors;
  for (int i = 0;; ++i) {
    const auto v = s.Store().RawInt("ColorList", std::to_string(i));
    if (!v || *v < 0 || *v > 0xFFFFFF) break;
    colors.push_back(static_cast<ColorRef>(*v));
  }
  if (colors.empty()) colors = {0x99FFFF, 0x99CCFF, 0xCC99FF, 0xFFCC99, 0xCCFFCC};
  return colors;
}

void WriteColorList(CSettings& s, const std::vector<ColorRef>& colors) {
  s.Store().DeleteSection("ColorList");
  for (std::size_t i = 0; i < colors.size(); ++i) s.WriteInt("ColorList", std::to_string(i), colors[i]);
}

int SaveLayout(CSettings& s, const std::string& name, const LayoutValues& v) {
  std::vector<int> list = s.GetLayoutList();
  int number = 0, highest = 0;
  for (int n : list) {
    highest = std::max(highest, n);
    if (EqualsNoCase(s.GetString(LayoutSection(n), "Name"), name)) number = n;
  }
  if (number == 0) {
    number = highest + 1;
    list.push_back(number);
    s.WriteLayoutList(list);
  }
  s.WriteString(LayoutSection(number), "Name", name);
  WriteLayout(s, LayoutSection(number), v);
  return number;
}

void WriteLayout(CSettings& s, const std::string& sec, const LayoutValues& v) {
  const auto font = v.font.Bytes();
  s.WriteBytes(sec, "FontNote", {font.begin(), font.end()});
  s.WriteInt(sec, "ColorText", v.colorText);
  s.WriteInt(sec, "ColorBack", v.colorBack);
  s.WriteInt(sec, "ColorBorder", v.colorBorder);
  s.WriteInt(sec, "Align", v.align);
  s.WriteInt(sec, "DeskColor", v.deskColor);
  s.WriteInt(sec, "RandomColor", v.randomColor);
  s.WriteInt(sec, "RandColList", v.randColList);
  s.WriteInt(sec, "Transparency", v.transparency);
}

CalendarLayout ReadCalendarLayout(const CSettings& s) {
  CalendarLayout c;
  const auto font = s.GetBytes(kCalendarLayoutSection, "FontNote");
  if (font.size() == LogFont::kSize) c.font = LogFont::Read(font.data());
  for (std::size_t i = 0; i < kCalendarColorKeys.size(); ++i) {
    const auto v = s.Store().RawInt(kCalendarLayoutSection, kCalendarColorKeys[i]);
    if (v && *v >= 0 && *v <= 0xFFFFFF) c.colors[i] = static_cast<ColorRef>(*v);
  }
  c.transparency = s.GetInt(kCalendarLayoutSection, "Transparency");
  return c;
}

void WriteCalendarLayout(CSettings& s, const CalendarLayout& c, const std::array<ColorRef, 6>& fallback,
                         const LogFont& fallbackFont) {
  const auto font = c.font.value_or(fallbackFont).Bytes();
  s.WriteBytes(kCalendarLayoutSection, "FontNote", {font.begin(), font.end()});
  for (std::size_t i = 0; i < kCalendarColorKeys.size(); ++i)
    s.WriteInt(kCalendarLayoutSection, kCalendarColorKeys[i], c.colors[i].value_or(fallback[i]));
  s.WriteInt(kCalendarLayoutSection, "Transparency", c.transparency);
}

void DeleteLayout(CSettings& s, int number) {
  if (number < 1) return;
  s.Store().DeleteSection(LayoutSection(number));
  std::vector<int> list = s.GetLayoutList();
  list.erase(std::remove(list.begin(), list.end(), number), list.end());
  s.WriteLayoutList(list);
}

int CRandomColors::Next() {
  const long long now = m_seconds ? m_seconds() : static_cast<long long>(std::time(nullptr));
  if (now - m_lastSeed > 5) {
    std::srand(static_cast<unsigned>(now));
    m_lastSeed = now;
    ++m_seedings;
  }
  return std::rand();
}

LayoutBackground ChooseBackground(const LayoutValues& layout, const std::vector<ColorRef>& colorList,
                                  const std::function<int()>& random) {
  if (layout.randomColor) {
    const auto r = static_cast<ColorRef>(random() % 256), g = static_cast<ColorRef>(random() % 256),
               b = static_cast<ColorRef>(random() % 256);
    return {r | (g << 8) | (b << 16), true, false};
  }
  if (layout.randColList && !colorList.empty())
    return {colorList[static_cast<std::size_t>(random()) % colorList.size()], true, false};
  return {layout.colorBack, false, layout.deskColor};
}

void ApplyLayoutValues(CNote& note, const LayoutValues& layout) {
  note.Font = layout.font;
  note.ColorText = layout.colorText;
  note.ColorBack = layout.colorBack;
  note.ColorBorder = layout.colorBorder;
  note.Align = layout.align;
  note.SetFlag(kFlagDeskColor, layout.deskColor);
  note.Transparency = layout.transparency;
}

}  // namespace quillet
