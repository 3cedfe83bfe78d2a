#include "app/Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

#include "app/SettingsStore.h"

namespace quillet {

QString AutostartPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/autostart/quillet.desktop");
}

bool AutostartOn() { return QFileInfo::exists(AutostartPath()); }

bool SetAutostart(bool on, const QString& program) {
  const QString path = AutostartPath();
  if (!on) return !QFileInfo::exists(path) || QFile::remove(path);
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
  // Exec quotes a path with spaces, and doubles what the entry format escapes.
  QString exec = program;
  exec.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('"'), QStringLiteral("\\\"")).replace(QLatin1Char('$'), QStringLiteral("\\$"));
  if (exec.contains(QLatin1Char(' '))) exec = QLatin1Char('"') + exec + QLatin1Char('"');
  QSaveFile f(path);
  if (!f.open(QIODevice::WriteOnly)) return false;
  f.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=Quillet\nComment=Sticky notes on the desktop\n"
                         "Exec=%1\nIcon=quillet\nTerminal=false\nX-GNOME-Autostart-enabled=true\n")
              .arg(exec)
              .toUtf8());
  return f.commit();
}

void AutostartOnFirstRun(CSettings& s, const QString& program) {
  if (s.Flag("AutostartSet")) return;
  if (s.Flag("Autostart") && !SetAutostart(true, program)) return;  // tried again at the next start
  s.WriteInt("Settings", "AutostartSet", 1);
}

}  // namespace quillet
