#pragma once
#include <map>
#include <variant>

#include "app/SettingsStore.h"

namespace quillet::test {

// Settings held in memory, typed as a hand-edited store could hold them.
class MemorySettingsStore final : public ISettingsStore {
 public:
  using Value = std::variant<int64_t, std::string, std::vector<unsigned char>>;
  std::map<std::pair<std::string, std::string>, Value> values;

  std::optional<int64_t> RawInt(const std::string& s, const std::string& k) const override {
    const auto it = values.find({s, k});
    if (it == values.end() || !std::holds_alternative<int64_t>(it->second)) return std::nullopt;
    return std::get<int64_t>(it->second);
  }
  std::optional<std::string> RawString(const std::string& s, const std::string& k) const override {
    const auto it = values.find({s, k});
    if (it == values.end()) return std::nullopt;
    if (const auto* i = std::get_if<int64_t>(&it->second)) return std::to_string(*i);
    if (const auto* str = std::get_if<std::string>(&it->second)) return *str;
    return std::nullopt;
  }
  std::optional<std::vector<unsigned char>> RawBytes(const std::string& s, const std::string& k) const override {
    const auto it = values.find({s, k});
    if (it == values.end() || !std::holds_alternative<std::vector<unsigned char>>(it->second)) return std::nullopt;
    return std::get<std::vector<unsigned char>>(it->second);
  }
  void WriteInt(const std::string& s, const std::string& k, int64_t v) override { values[{s, k}] = v; }
  void WriteString(const std::string& s, const std::string& k, const std::string& v) override { values[{s, k}] = v; }
  void WriteBytes(const std::string& s, const std::string& k, const std::vector<unsigned char>& v) override {
    values[{s, k}] = v;
  }
  void DeleteSection(const std::string& s) override {
    for (auto it = values.begin(); it != values.end();) it = it->first.first == s ? values.erase(it) : std::next(it);
  }
};

}  // namespace quillet::test
