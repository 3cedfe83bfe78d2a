#pragma once
#include <QSettings>

#include "app/SettingsStore.h"

namespace quillet {

// Settings in QSettings under organisation "Brisko", application "Quillet",
// one group per section: the registry on Windows, a per-user file elsewhere.
class QtSettingsStore final : public ISettingsStore {
 public:
  QtSettingsStore();

  std::optional<int64_t> RawInt(const std::string& section, const std::string& key) const override;
  std::optional<std::string> RawString(const std::string& section, const std::string& key) const override;
  std::optional<std::vector<unsigned char>> RawBytes(const std::string& section,
                                                      const std::string& key) const override;
  void WriteInt(const std::string& section, const std::string& key, int64_t value) override;
  void WriteString(const std::string& section, const std::string& key, const std::string& value) override;
  void WriteBytes(const std::string& section, const std::string& key,
                  const std::vector<unsigned char>& value) override;
  void DeleteSection(const std::string& section) override;
  void Sync() override { m_settings.sync(); }

  QSettings& Backend() { return m_settings; }

 private:
  std::optional<std::string> RawLine(const std::string& section, const std::string& key) const;

  mutable QSettings m_settings;
};

// The settings of this process.
CSettings& AppSettings();

}  // namespace quillet
