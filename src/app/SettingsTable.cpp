#include <climits>

#include "app/SettingsStore.h"
#include "common/Text.h"
#include "app/Ids.h"

namespace quillet {

namespace {

using T = SettingType;
constexpr int kNoMin = 1, kNoMax = 0;  // min > max: no range

SettingDef I(const char* s, const char* k, T t, int64_t d, int mn = kNoMin, int mx = kNoMax) {
  return {s, k, t, d, "", mn, mx, -1};
}
SettingDef S(const char* s, const char* k, const char* d, int mn = kNoMin, int mx = kNoMax) {
  return {s, k, T::String, 0, d, mn, mx, -1};
}
SettingDef Sys(const char* s, const char* k, int sysIndex) { return {s, k, T::Colour, 0, "", kNoMin, kNoMax, sysIndex}; }

void AddLayoutKeys(std::vector<SettingDef>& t, const char* section) {
  t.push_back({section, "FontNote", T::Bytes, 0, "", kNoMin, kNoMax, -1});
  t.push_back(I(section, "ColorText", T::Colour, 0xFF000000LL));
  t.push_back(I(section, "ColorBack", T::Colour, 0x0099FFFF));
  t.push_back(I(section, "ColorBorder", T::Colour, 0xFF000000LL));
  t.push_back(I(section, "Align", T::Int, 0));
  t.push_back(I(section, "DeskColor", T::Flag, 0));
  t.push_back(I(section, "RandomColor", T::Flag, 0));
  t.push_back(I(section, "RandColList", T::Flag, 0));
  t.push_back(I(section, "Transparency", T::Int, 255));
}

std::vector<SettingDef> BuildTable() {
  std::vector<SettingDef> t;
  const char* s = "Settings";
  t.push_back(I(s, "Show", T::Flag, 1));
  t.push_back(I(s, "AlwaysOnTop", T::Flag, 0));
  t.push_back(I(s, "WindowTitles", T::Flag, 0));
  t.push_back(I(s, "CalShow", T::Flag, 0));
  t.push_back(S(s, "FileNotes", ""));
  t.push_back(S(s, "FileRecBin", ""));
  t.push_back(I(s, "Backups", T::Int, 7));
  t.push_back(I(s, "Autostart", T::Flag, 1));
  t.push_back(I(s, "AutostartSet", T::Flag, 0));
  t.push_back(I(s, "DeleteRecBin", T::Flag, 1));
  t.push_back(I(s, "DeleteAsk", T::Flag, 0));
  t.push_back(I(s, "TooSmall", T::Flag, 1));
  t.push_back(I(s, "ShowFull", T::Flag, 1));
  t.push_back(I(s, "Shadow", T::Flag, 1));
  t.push_back(I(s, "AllWorkspaces", T::Flag, 1));
  t.push_back(I(s, "TabStops", T::Int, 8, 2, 20));
  t.push_back(I(s, "EditType", T::Int, 0));
  t.push_back(I(s, "FormatPaste", T::Flag, 0));
  t.push_back(I(s, "PasteAppend", T::Flag, 0));
  t.push_back(I(s, "FormatWidth", T::Int, 4, 1, 10));
  t.push_back(I(s, "FormatHeight", T::Int, 3, 1, 10));
  t.push_back(S(s, "SepCopy", ""));
  t.push_back(S(s, "SepExport", ""));
  t.push_back(I(s, "PrintAuto", T::Flag, 1));
  t.push_back(I(s, "PrintColor", T::Flag, 1));
  t.push_back(I(s, "PrintBorder", T::Flag, 1));
  t.push_back(I(s, "PrintZoom", T::Int, 100, 25, 400));
  AddLayoutKeys(t, s);
  t.push_back(I(s, "NewLeft", T::Int, 200));
  t.push_back(I(s, "NewTop", T::Int, 200));
  t.push_back(I(s, "NewRight", T::Int, 20));
  t.push_back(I(s, "NewBottom", T::Int, 20));
  t.push_back(S(s, "NewText", ""));
  t.push_back(I(s, "NewMinimize", T::Flag, 0));
  t.push_back(I(s, "NewAlarm", T::Flag, 0));
  t.push_back(I(s, "NewFolder", T::Int, 0));
  t.push_back(I(s, "IconAction", T::Int, 0));
  t.push_back(I(s, "MenuFlip", T::Flag, 0));
  t.push_back(I(s, "MenuXP", T::Flag, 1));
  t.push_back(I(s, "AlarmBalloon", T::Flag, 1));
  for (const char* k : {"NewHotkey", "PasteHotkey", "ListHotkey", "SearchHotkey", "SendHotkey", "ShowHotkey",
                        "CalHotkey", "OnTopHotkey"})
    t.push_back(I(s, k, T::Hotkey, 0));
  t.push_back(I(s, "AlarmNext", T::Int, 15, 0, 2000));
  t.push_back(I(s, "FlashIcon", T::Int, 5));
  t.push_back(I(s, "AlarmFlash", T::Int, 400, 100, 3000));
  t.push_back(I(s, "AlarmRemind", T::Int, 5, 1, 59));
  t.push_back(I(s, "AlarmTime", T::TimeOfDay, 0, 0, 235959));
  t.push_back(I(s, "AlarmType", T::Int, 0));
  t.push_back(I(s, "AlarmEvery", T::Int, 1));
  t.push_back(I(s, "AlarmRepeat", T::Int, 5));
  t.push_back(I(s, "AlarmDaily", T::Int, 31));
  t.push_back(I(s, "AlarmAction", T::Int, 0));
  t.push_back(I(s, "AlarmSignal", T::Int, 0));
  t.push_back(S(s, "AlarmExec", ""));
  t.push_back(S(s, "AlarmWave", ""));
  t.push_back(I(s, "AlarmSpanCount", T::Int, 1));
  t.push_back(I(s, "AlarmSpanType", T::Int, 5));
  t.push_back(I(s, "HideTime", T::TimeOfDay, 0, 0, 235959));
  t.push_back(I(s, "HideSpanCount", T::Int, 1));
  t.push_back(I(s, "HideSpanType", T::Int, 5));
  t.push_back(I(s, "NetEnable", T::Flag, 1));
  t.push_back(S(s, "NetPort", "24837", 20000, 60000));
  t.push_back(S(s, "NetSender", ""));
  t.push_back(I(s, "NetOnTop", T::Flag, 1));
  t.push_back(I(s, "NetLayout", T::Int, 0));
  t.push_back(I(s, "NetFolder", T::Int, 0));
  t.push_back(I(s, "NetAudio", T::Int, 0));
  t.push_back(S(s, "NetWave", ""));
  t.push_back(I(s, "NetAccept", T::Int, 0, 0, 2));
  t.push_back(S(s, "NetAcceptList", ""));
  t.push_back(I(s, "CalWeek", T::Flag, 1));
  t.push_back(I(s, "CalToday", T::Flag, 1));
  t.push_back(I(s, "CalCircle", T::Flag, 0));
  t.push_back(I(s, "CalLeft", T::Int, 200));
  t.push_back(I(s, "CalTop", T::Int, 200));
  t.push_back(I(s, "CalWidth", T::Int, 0));
  t.push_back(I(s, "CalHeight", T::Int, 0));
  t.push_back(I(s, "CalOnTop", T::Flag, 0));
  t.push_back(I(s, "ListView", T::Int, Cmd::ViewAll));
  t.push_back(I(s, "ListViewNote", T::Int, Cmd::DrawNormal));
  t.push_back(I(s, "ListColumns", T::Int, 65535));
  t.push_back(I(s, "ListSortCol", T::Int, 0));
  t.push_back(I(s, "ListSortAsc", T::Flag, 1));
  t.push_back(I(s, "ListTool", T::Flag, 1));
  t.push_back(I(s, "ListStatus", T::Flag, 1));
  t.push_back(I(s, "ListPosLeft", T::Int, 110));
  t.push_back(I(s, "ListPosTop", T::Int, 36));
  t.push_back(I(s, "ListFolder", T::Int, 1));
  t.push_back({s, "WndList", T::Bytes, 0, "", kNoMin, kNoMax, -1});
  t.push_back(S(s, "NoteList", ""));
  t.push_back(I(s, "RecBinLayout", T::Int, 0));
  t.push_back(I(s, "ColorList", T::Colour, 0x00EFEFEF));
  t.push_back(I(s, "SearchCase", T::Flag, 0));
  t.push_back(I(s, "SearchWord", T::Flag, 0));
  t.push_back(S(s, "SearchLast", ""));
  t.push_back(I(s, "ExportType", T::Int, 1));
  for (const char* k : {"ExecDir", "WaveDir", "ExportDir", "ImportDir"}) t.push_back(S(s, k, ""));

  t.push_back(S("Layout%d", "Name", ""));
  AddLayoutKeys(t, "Layout%d");

  const char* cal = "Layout-1";
  t.push_back({cal, "FontNote", T::Bytes, 0, "", kNoMin, kNoMax, -1});
  t.push_back(Sys(cal, "ColorBack", 5));
  t.push_back(Sys(cal, "ColorBackMonth", 5));
  t.push_back(Sys(cal, "ColorTextMonth", 8));
  t.push_back(Sys(cal, "ColorTextOther", 17));
  t.push_back(Sys(cal, "ColorBackTitle", 2));
  t.push_back(Sys(cal, "ColorTextTitle", 9));
  t.push_back(I(cal, "Transparency", T::Int, 255));
  return t;
}

bool IsNamedLayoutSection(std::string_view section) {
  if (section.size() <= 6 || section.substr(0, 6) != "Layout") return false;
  for (char c : section.substr(6))
    if (c < '0' || c > '9') return false;
  return section[6] != '0';
}

}  // namespace

const std::vector<SettingDef>& AllSettings() {
  static const std::vector<SettingDef> table = BuildTable();
  return table;
}

const SettingDef* FindSetting(std::string_view section, std::string_view key) {
  const std::string_view sec = IsNamedLayoutSection(section) ? std::string_view("Layout%d") : section;
  for (const SettingDef& d : AllSettings())
    if (sec == d.section && EqualsNoCase(key, d.key)) return &d;
  return nullptr;
}

}  // namespace quillet
