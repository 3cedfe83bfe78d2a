#include "app/Paths.h"

#include <QDir>
#include <QStandardPaths>

namespace quillet {

QString DataDirectory() {
  const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  QDir().mkpath(dir);
  return dir;
}

QString DefaultDataFilePath() { return DataDirectory() + QStringLiteral("/Quillet.dat"); }
QString TranslationFilePath() { return DataDirectory() + QStringLiteral("/Quillet.ini"); }

std::string ToLocal(const QString& s) { return s.toStdString(); }
QString FromLocal(const std::string& s) { return QString::fromStdString(s); }

}  // namespace quillet
