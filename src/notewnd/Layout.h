#pragma once
// Layouts: the font, colours, alignment and transparency that new notes get.
// Layout 0 is the "Settings" section, layout n the section "Layout<n>".
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/SettingsStore.h"
#include "notes/Note.h"

namespace quillet {

struct LayoutValues {
  LogFont font = LogFont::Default();
  ColorRef colorText = kColorAutomatic;
  ColorRef colorBack = 0x0099FFFF;
  ColorRef colorBorder = kColorAutomatic;
  uint16_t align = 0;
  bool deskColor = false;
  bool randomColor = false;
  bool randColList = false;
  int transparency = 255;
};

std::string LayoutSection(int number);
LayoutValues ReadLayout(const CSettings& settings, int number);

// The random colours of section "ColorList" (keys "0", "1", ... up to the
// first missing one); five light colours when the section has none.
std::vector<ColorRef> ReadColorList(const CSettings& settings);
void WriteColorList(CSettings& settings, const std::vector<ColorRef>& colors);

// Writes a layout's keys (font, colours, alignment, options, transparency) to a section.
void WriteLayout(CSettings& settings, const std::string& section, const LayoutValues& values);

// The calendar's own layout, section "Layout-1": its font, six colours in
// the order background, month background, month text, other months' text,
// title background, title text, and its transparency. A colour or font never
// set is empty there, so the calendar keeps the desktop's own.
inline constexpr const char* kCalendarLayoutSection = "Layout-1";
inline constexpr std::array<const char*, 6> kCalendarColorKeys = {
    "ColorBack", "ColorBackMonth", "ColorTextMonth", "ColorTextOther", "ColorBackTitle", "ColorTextTitle"};
struct CalendarLayout {
  std::optional<LogFont> font;
  std::array<std::optional<ColorRef>, 6> colors;
  int transparency = 255;
};
CalendarLayout ReadCalendarLayout(const CSettings& settings);
// Writes every key; unset colours and font are written from the fallbacks given.
void WriteCalendarLayout(CSettings& settings, const CalendarLayout& layout, const std::array<ColorRef, 6>& fallback,
                         const LogFont& fallbackFont);

// Named layouts: a name is found again in any letter case. Saving returns the
// layout's number (the highest in use plus one for a new name).
int SaveLayout(CSettings& settings, const std::string& name, const LayoutValues& values);
void DeleteLayout(CSettings& settings, int number);

// Random numbers for colours, seeded at the first pick and again when more
// than 5 seconds have passed since the last seeding.
class CRandomColors {
 public:
  explicit CRandomColors(std::function<long long()> seconds = nullptr) : m_seconds(std::move(seconds)) {}
  int Next();
  int Seedings() const { return m_seedings; }

 private:
  std::function<long long()> m_seconds;
  long long m_lastSeed = -1000000;
  int m_seedings = 0;
};

// The background a new note of this layout starts with: random colours when
// the layout asks for them (random is a source of numbers 0..RAND_MAX).
struct LayoutBackground {
  ColorRef back;
  bool random;
  bool desk;
};
LayoutBackground ChooseBackground(const LayoutValues& layout, const std::vector<ColorRef>& colorList,
                                  const std::function<int()>& random);

// Gives a note the layout's font, colours, alignment and transparency.
void ApplyLayoutValues(CNote& note, const LayoutValues& layout);

}  // namespace quillet
