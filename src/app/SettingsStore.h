#pragma once
// Per-user settings: sections of named values. Every key has its type and
// default in one table; a missing key reads as its default.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

enum class SettingType { Int, Flag, String, Bytes, Colour, Hotkey, TimeOfDay };

struct SettingDef {
  const char* section;  // "Layout%d" stands for every named layout
  const char* key;
  SettingType type;
  int64_t intDefault;        // also a colour; for "Layout-1" colours see sysColourDefault
  const char* strDefault;    // strings
  int minValue, maxValue;    // the range the settings dialog enforces; min > max: none
  int sysColourDefault;      // platform colour index the default comes from, or -1
};

// The definition of a key, or null when the table does not know it.
const SettingDef* FindSetting(std::string_view section, std::string_view key);
const std::vector<SettingDef>& AllSettings();

// The store behind the settings. Raw values: nothing here knows defaults.
class ISettingsStore {
 public:
  virtual ~ISettingsStore() = default;
  virtual std::optional<int64_t> RawInt(const std::string& section, const std::string& key) const = 0;
  virtual std::optional<std::string> RawString(const std::string& section, const std::string& key) const = 0;
  virtual std::optional<std::vector<unsigned char>> RawBytes(const std::string& section,
                                                              const std::string& key) const = 0;
  virtual void WriteInt(const std::string& section, const std::string& key, int64_t value) = 0;
  virtual void WriteString(const std::string& section, const std::string& key, const std::string& value) = 0;
  virtual void WriteBytes(const std::string& section, const std::string& key,
                          const std::vector<unsigned char>& value) = 0;
  virtual void DeleteSection(const std::string& section) = 0;
  virtual void Sync() {}
};

// Typed reads with the table's defaults. An int that does not fit 32 bits,
// a value of the wrong type or bytes of the wrong length read as the default.
class CSettings {
 public:
  explicit CSettings(ISettingsStore& store) : m_store(store) {}

  int GetInt(std::string_view section, std::string_view key) const;
  bool GetFlag(std::string_view section, std::string_view key) const { return GetInt(section, key) != 0; }
  std::string GetString(std::string_view section, std::string_view key) const;
  std::vector<unsigned char> GetBytes(std::string_view section, std::string_view key) const;

  // "Settings" section shorthands.
  int Int(std::string_view key) const { return GetInt("Settings", key); }
  bool Flag(std::string_view key) const { return GetFlag("Settings", key); }
  std::string String(std::string_view key) const { return GetString("Settings", key); }

  void WriteInt(std::string_view section, std::string_view key, int64_t value);
  void WriteString(std::string_view section, std::string_view key, const std::string& value);
  void WriteBytes(std::string_view section, std::string_view key, const std::vector<unsigned char>& value);

  // Numbered list sections: keys "1", "2", ... up to the first missing or
  // empty entry, rewritten whole.
  std::vector<std::string> GetStringList(std::string_view section) const;
  void WriteStringList(std::string_view section, const std::vector<std::string>& items);
  // "Layouts" ends at the first number below 1, "ColorList" at the first missing colour.
  std::vector<int> GetLayoutList() const;
  void WriteLayoutList(const std::vector<int>& numbers);

  // The clamped value of a key that has a range, as the dialog would accept it.
  static int Clamp(const SettingDef& def, int value);

  ISettingsStore& Store() { return m_store; }
  const ISettingsStore& Store() const { return m_store; }

 private:
  ISettingsStore& m_store;
};

}  // namespace quillet
