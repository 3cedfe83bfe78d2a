#include "app/QtSettingsStore.h"

#include <QFile>

namespace quillet {

namespace {
QString KeyOf(const std::string& section, const std::string& key) {
  return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(key);
}
}  // namespace

QtSettingsStore::QtSettingsStore() : m_settings(QStringLiteral("Brisko"), QStringLiteral("Quillet")) {}

std::optional<int64_t> QtSettingsStore::RawInt(const std::string& section, const std::string& key) const {
  const QVariant v = m_settings.value(KeyOf(section, key));
  if (!v.isValid()) return std::nullopt;
  bool ok = false;
  const qlonglong n = v.typeId() == QMetaType::QString ? v.toString().trimmed().toLongLong(&ok, 0) : v.toLongLong(&ok);
  if (!ok) return std::nullopt;
  return n;
}

std::optional<std::string> QtSettingsStore::RawString(const std::string& section, const std::string& key) const {
  const QVariant v = m_settings.value(KeyOf(section, key));
  if (!v.isValid()) return std::nullopt;
  // A hand-edited value with commas reads as a list, its spaces lost: the
  // line in the file is the value as the user wrote it.
  if (v.typeId() == QMetaType::QStringList) {
    if (auto line = RawLine(section, key)) return line;
    return v.toStringList().join(QStringLiteral(", ")).toStdString();
  }
  if (!v.canConvert<QString>()) return std::nullopt;
  return v.toString().toStdString();
}

std::optional<std::string> QtSettingsStore::RawLine(const std::string& section, const std::string& key) const {
  if (m_settings.format() != QSettings::IniFormat && m_settings.format() != QSettings::NativeFormat) return std::nullopt;
  QFile file(m_settings.fileName());
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return std::nullopt;
  const QByteArray wantSection = "[" + QByteArray::fromStdString(section) + "]";
  const QByteArray wantKey = QByteArray::fromStdString(key);
  bool inSection = false;
  std::optional<std::string> found;
  while (!file.atEnd()) {
    const QByteArray line = file.readLine().trimmed();
    if (line.startsWith('[')) {
      inSection = line == wantSection;
      continue;
    }
    const auto eq = line.indexOf('=');
    if (inSection && eq > 0 && line.left(eq).trimmed() == wantKey) found = line.mid(eq + 1).trimmed().toStdString();
  }
  return found;
}

std::optional<std::vector<unsigned char>> QtSettingsStore::RawBytes(const std::string& section,
                                                                     const std::string& key) const {
  const QVariant v = m_settings.value(KeyOf(section, key));
  if (!v.isValid() || v.typeId() != QMetaType::QByteArray) return std::nullopt;
  const QByteArray b = v.toByteArray();
  return std::vector<unsigned char>(b.begin(), b.end());
}

void QtSettingsStore::WriteInt(const std::string& section, const std::string& key, int64_t value) {
  m_settings.setValue(KeyOf(section, key), static_cast<qlonglong>(value));
}

void QtSettingsStore::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  m_settings.setValue(KeyOf(section, key), QString::fromStdString(value));
}

void QtSettingsStore::WriteBytes(const std::string& section, const std::string& key,
                                 const std::vector<unsigned char>& value) {
  m_settings.setValue(KeyOf(section, key),
                      QByteArray(reinterpret_cast<const char*>(value.data()), static_cast<qsizetype>(value.size())));
}

void QtSettingsStore::DeleteSection(const std::string& section) { m_settings.remove(QString::fromStdString(section)); }

CSettings& AppSettings() {
  static QtSettingsStore store;
  static CSettings settings(store);
  return settings;
}

}  // namespace quillet
