#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "app/IniFile.h"
#include "app/UIStrings.h"
#include "support/TempDir.h"

using namespace quillet;

namespace {
int Count(std::string_view s, std::string_view what) {
  int n = 0;
  for (auto p = s.find(what); p != std::string_view::npos; p = s.find(what, p + 1)) ++n;
  return n;
}
}  // namespace

TEST(UIStrings, BothBlocksHoldTheSameIds) {
  const auto& table = UIStringTable();
  EXPECT_TRUE(std::is_sorted(table.begin(), table.end(), [](auto& a, auto& b) { return a.id < b.id; }));
  std::set<int> ids;
  int original = 0;
  for (const auto& e : table) {
    EXPECT_TRUE(ids.insert(e.id).second) << e.id;
    EXPECT_TRUE(e.id >= 30000 && e.id < 32600) << e.id;
    EXPECT_NE(std::string(e.english), "") << e.id;
    EXPECT_NE(std::string(e.german), "") << e.id;
    if (e.id < 30021 || e.id > 30099) ++original;  // ours are 30021 and on
  }
  EXPECT_EQ(original, 320);
}

TEST(UIStrings, GermanKeepsAcceleratorsAndPlaceholders) {
  for (const auto& e : UIStringTable()) {
    const std::string en = e.english, de = e.german;
    EXPECT_EQ(Count(en, "&") > 0, Count(de, "&") > 0) << e.id;
    for (const char* ph : {"%s", "%d", "\t", "|"}) EXPECT_EQ(Count(en, ph), Count(de, ph)) << e.id << " " << ph;
  }
}

TEST(UIStrings, LanguageComesFromTheLocale) {
  EXPECT_EQ(LanguageFromLocaleName("de_DE"), Language::German);
  EXPECT_EQ(LanguageFromLocaleName("de_AT.UTF-8"), Language::German);
  EXPECT_EQ(LanguageFromLocaleName("en_US"), Language::English);
  EXPECT_EQ(LanguageFromLocaleName("fr_FR"), Language::English);
  EXPECT_EQ(LanguageFromLocaleName("C"), Language::English);
  EXPECT_TRUE(IsRightToLeftLocale("he_IL"));
  EXPECT_TRUE(IsRightToLeftLocale("ar_EG"));
  EXPECT_FALSE(IsRightToLeftLocale("de_DE"));

  CUIStrings english(Language::English), german(Language::German);
  EXPECT_EQ(english.Load(30000), "Quillet is running already!");
  EXPECT_EQ(german.Load(30000), "Quillet läuft bereits!");
  EXPECT_EQ(english.Load(32005, true), "Exit");
  EXPECT_EQ(english.Load(31999), "");
}

TEST(UIStrings, TranslationFileOverridesBothLanguages) {
  quillet::test::TempDir dir;
  const std::string ini = dir.File("Quillet.ini");
  quillet::test::WriteAll(ini, [] {
    const std::string text =
        "; user translation\r\n[Other]\r\n30000=not this one\r\n[Translation]\r\n"
        "30000 = Schon da!\r\n32201=%%x\\tKurz:\\t%x\r\n30005=\r\n32005=\"&Quit\"\r\n30006=Nota \xE0 l\xE0\r\n";
    return std::vector<unsigned char>(text.begin(), text.end());
  }());
  for (Language lang : {Language::English, Language::German}) {
    CUIStrings s(lang);
    s.LoadTranslation(ini);
    EXPECT_EQ(s.Load(30000), "Schon da!");
    EXPECT_EQ(s.Load(32201), "%%x\tKurz:\t%x");
    EXPECT_EQ(s.Load(32005, true), "Quit");
    EXPECT_EQ(s.Load(30006), "Nota à là");  // Windows-1252 in the file
  }
  CUIStrings s(Language::English);
  s.LoadTranslation(ini);
  EXPECT_EQ(s.Load(30005), "No notes available!");  // an empty value is no translation
  s.LoadTranslation(dir.File("absent.ini"));
  EXPECT_EQ(s.Load(30000), "Quillet is running already!");
}

TEST(UIStrings, TranslationsAreHeldTo511Bytes) {
  CUIStrings s(Language::English);
  s.SetTranslation(30000, std::string(600, 'x'));
  EXPECT_EQ(s.Load(30000).size(), 511u);
}

TEST(UIStrings, FormatFillsPlaceholdersInOrder) {
  EXPECT_EQ(FormatUIString("%d of %d notes", {"3", "12"}), "3 of 12 notes");
  EXPECT_EQ(FormatUIString("Cannot run: %s", {"/bin/x"}), "Cannot run: /bin/x");
  EXPECT_EQ(FormatUIString("100%% %s", {}), "100% ");
}

TEST(IniFile, WritesBackKeepingWhatItDoesNotKnow) {
  CIniFile ini;
  ini.Parse("; comment\n[Translation]\n30000=A\n[Keep]\nx=1\n");
  ini.Set("translation", "30000", "B");
  ini.Set("Translation", "30001", "C\\tD");
  ini.Set("New", "k", "v");
  CIniFile back;
  back.Parse(ini.Serialize());
  EXPECT_EQ(back.Get("Translation", "30000"), "B");
  EXPECT_EQ(back.Get("TRANSLATION", "30001"), "C\\tD");
  EXPECT_EQ(back.Get("Keep", "x"), "1");
  EXPECT_EQ(back.Get("New", "k"), "v");
  EXPECT_NE(ini.Serialize().find("; comment"), std::string::npos);
}
