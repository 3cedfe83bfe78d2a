#pragma once
// Every text the user sees, by its base id (the German block; English is at
// base id + 10000), with the user's translation file on top.
#include <map>
#include <string>
#include <string_view>
#include <vector>
#include "app/Ids.h"

namespace quillet {

struct UIStringEntry {
  int id;  // base id
  const char* english;
  const char* german;
};

// Sorted by id.
const std::vector<UIStringEntry>& UIStringTable();

enum class Language { German, English };

// German for the primary language German, English for all others.
Language LanguageFromLocaleName(std::string_view localeName);
// Hebrew and Arabic read from right to left.
bool IsRightToLeftLocale(std::string_view localeName);

class CUIStrings {
 public:
  explicit CUIStrings(Language lang = Language::English) : m_lang(lang) {}

  Language GetLanguage() const { return m_lang; }
  void SetLanguage(Language lang) { m_lang = lang; }
  int Offset() const { return m_lang == Language::German ? 0 : 10000; }

  // Reads the "Translation" section of the translation file; a missing file
  // means no translation.
  void LoadTranslation(const std::string& iniPath);
  // The "Translation" section of translation-file text already in memory.
  void LoadTranslationText(std::string_view iniText);
  void SetTranslation(int baseId, const std::string& text);
  void ClearTranslation() { m_translation.clear(); }
  const std::string& TranslationPath() const { return m_iniPath; }

  // The translation when there is one, else the built-in text; empty for an
  // unknown id. stripAmpersands removes the menu accelerator marks.
  std::string Load(int baseId, bool stripAmpersands = false) const;

  // The built-in text of a full id (German from the base ids, English from kEnglishIds).
  static const char* Builtin(int fullId);

 private:
  Language m_lang;
  std::string m_iniPath;
  std::map<int, std::string> m_translation;
};

// Replaces "%s", "%d" (and "%u", "%ld") in order by the arguments; "%%" is a percent sign.
std::string FormatUIString(std::string_view format, const std::vector<std::string>& args);

// The process-wide strings, set up at start-up.
CUIStrings& UIStrings();
inline std::string LoadUIString(int baseId, bool stripAmpersands = false) {
  return UIStrings().Load(baseId, stripAmpersands);
}

}  // namespace quillet
