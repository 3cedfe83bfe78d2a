#include "app/UIStrings.h"

#include <algorithm>
#include <cctype>
#include <charconv>

#include "app/IniFile.h"
#include "common/Text.h"
#include "app/Ids.h"

namespace quillet {

namespace {
constexpr std::size_t kMaxTranslation = 511;

std::string ExpandTabs(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 't') {
      out.push_back('\t');
      ++i;
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

std::string PrimaryLanguage(std::string_view locale) {
  std::string lang;
  for (char c : locale) {
    if (c == '_' || c == '-' || c == '.' || c == '@') break;
    lang.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  return lang;
}
}  // namespace

Language LanguageFromLocaleName(std::string_view localeName) {
  return PrimaryLanguage(localeName) == "de" ? Language::German : Language::English;
}

bool IsRightToLeftLocale(std::string_view localeName) {
  const std::string lang = PrimaryLanguage(localeName);
  return lang == "he" || lang == "iw" || lang == "ar";
}

namespace {
void ReadTranslation(const CIniFile& ini, CUIStrings& strings) {
  for (const auto& [key, value] : ini.Section("Translation")) {
    int id = 0;
    const auto res = std::from_chars(key.data(), key.data() + key.size(), id);
    if (res.ec != std::errc() || res.ptr != key.data() + key.size()) continue;
    strings.SetTranslation(id, DecodeLocalText(value));
  }
}
}  // namespace

void CUIStrings::LoadTranslation(const std::string& iniPath) {
  m_iniPath = iniPath;
  m_translation.clear();
  CIniFile ini;
  if (ini.Load(iniPath)) ReadTranslation(ini, *this);
}

void CUIStrings::LoadTranslationText(std::string_view iniText) {
  m_translation.clear();
  CIniFile ini;
  ini.Parse(iniText);
  ReadTranslation(ini, *this);
}

void CUIStrings::SetTranslation(int baseId, const std::string& text) {
  if (text.empty())
    m_translation.erase(baseId);
  else
    m_translation[baseId] = HoldToWidth(text, kMaxTranslation);
}

const char* CUIStrings::Builtin(int fullId) {
  const bool english = fullId >= kEnglishIds;
  const int base = english ? fullId - 10000 : fullId;
  const auto& table = UIStringTable();
  const auto it = std::lower_bound(table.begin(), table.end(), base,
                                   [](const UIStringEntry& e, int id) { return e.id < id; });
  if (it == table.end() || it->id != base) return nullptr;
  return english ? it->english : it->german;
}

std::string CUIStrings::Load(int baseId, bool stripAmpersands) const {
  std::string text;
  if (const auto it = m_translation.find(baseId); it != m_translation.end()) {
    text = ExpandTabs(it->second);
  } else if (const char* builtin = Builtin(baseId + Offset())) {
    text = builtin;
  }
  if (stripAmpersands) text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
  return text;
}

std::string FormatUIString(std::string_view format, const std::vector<std::string>& args) {
  std::string out;
  std::size_t next = 0;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%' || i + 1 >= format.size()) {
      out.push_back(format[i]);
      continue;
    }
    const char c = format[i + 1];
    if (c == '%') {
      out.push_back('%');
      ++i;
    } else if (c == 's' || c == 'd' || c == 'u') {
      if (next < args.size()) out += args[next++];
      ++i;
    } else if (c == 'l' && i + 2 < format.size() && format[i + 2] == 'd') {
      if (next < args.size()) out += args[next++];
      i += 2;
    } else {
      out.push_back('%');
    }
  }
  return out;
}

CUIStrings& UIStrings() {
  static CUIStrings strings;
  return strings;
}

}  // namespace quillet
