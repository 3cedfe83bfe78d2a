#include "notewnd/Layout.h"

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
  for (int i = 1;; ++i) {
    const auto v = s.Store().RawInt("ColorList", std::to_string(i));
    if (!v || *v < 0 || *v > 0xFFFFFF) break;
    colors.push_back(static_cast<ColorRef>(*v));
  }
  return colors;
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
