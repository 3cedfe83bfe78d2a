#include <algorithm>
#include <charconv>
#include <climits>

#include "app/SettingsStore.h"
#include "notes/Note.h"

namespace quillet {

namespace {
std::string Str(std::string_view s) { return std::string(s); }

std::size_t BytesLengthOf(std::string_view key) {
  if (key == "FontNote") return LogFont::kSize;
  if (key == "WndList") return 44;
  return 0;
}
}  // namespace

int CSettings::Clamp(const SettingDef& def, int value) {
  if (def.minValue > def.maxValue) return value;
  return std::clamp(value, def.minValue, def.maxValue);
}

int CSettings::GetInt(std::string_view section, std::string_view key) const {
  const SettingDef* def = FindSetting(section, key);
  const int64_t dflt = def ? def->intDefault : 0;
  const auto raw = m_store.RawInt(Str(section), Str(key));
  if (!raw) return static_cast<int>(dflt);
  int64_t v = *raw;
  // Colours and hotkeys are 32-bit words: 0xFF000000 is stored as it reads.
  if (v > UINT32_MAX || v < INT32_MIN) return static_cast<int>(dflt);
  const int value = static_cast<int>(static_cast<uint32_t>(v));
  return def ? Clamp(*def, value) : value;
}

std::string CSettings::GetString(std::string_view section, std::string_view key) const {
  const SettingDef* def = FindSetting(section, key);
  auto raw = m_store.RawString(Str(section), Str(key));
  if (!raw) return def ? def->strDefault : "";
  if (def && def->type == SettingType::String && def->minValue <= def->maxValue) {
    // A numeric string, such as the port: garbage reads as the default. A
    // number the user wrote is used as it stands; only the dialog checks the range.
    int v = 0;
    const auto* b = raw->data();
    const auto res = std::from_chars(b, b + raw->size(), v);
    if (res.ec != std::errc() || res.ptr != b + raw->size() || v < 1 || v > 65535) return def->strDefault;
    return std::to_string(v);
  }
  return *raw;
}

std::vector<unsigned char> CSettings::GetBytes(std::string_view section, std::string_view key) const {
  const std::size_t want = BytesLengthOf(key);
  auto raw = m_store.RawBytes(Str(section), Str(key));
  if (raw && (want == 0 || raw->size() == want)) return *raw;
  if (key == "FontNote") {
    const auto b = LogFont::Default().Bytes();
    return {b.begin(), b.end()};
  }
  return {};
}

void CSettings::WriteInt(std::string_view section, std::string_view key, int64_t value) {
  m_store.WriteInt(Str(section), Str(key), value);
}
void CSettings::WriteString(std::string_view section, std::string_view key, const std::string& value) {
  m_store.WriteString(Str(section), Str(key), value);
}
void CSettings::WriteBytes(std::string_view section, std::string_view key, const std::vector<unsigned char>& value) {
  m_store.WriteBytes(Str(section), Str(key), value);
}

std::vector<std::string> CSettings::GetStringList(std::string_view section) const {
  std::vector<std::string> items;
  for (int i = 1;; ++i) {
    auto v = m_store.RawString(Str(section), std::to_string(i));
    if (!v || v->empty()) break;
    items.push_back(std::move(*v));
  }
  return items;
}

void CSettings::WriteStringList(std::string_view section, const std::vector<std::string>& items) {
  m_store.DeleteSection(Str(section));
  int i = 1;
  for (const auto& item : items) m_store.WriteString(Str(section), std::to_string(i++), item);
}

std::vector<int> CSettings::GetLayoutList() const {
  std::vector<int> numbers;
  for (int i = 1;; ++i) {
    const auto v = m_store.RawInt("Layouts", std::to_string(i));
    if (!v || *v < 1 || *v > INT_MAX) break;
    numbers.push_back(static_cast<int>(*v));
  }
  return numbers;
}

void CSettings::WriteLayoutList(const std::vector<int>& numbers) {
  m_store.DeleteSection("Layouts");
  int i = 1;
  for (int n : numbers) m_store.WriteInt("Layouts", std::to_string(i++), n);
}

}  // namespace quillet
