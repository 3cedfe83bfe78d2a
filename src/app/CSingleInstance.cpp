#include "app/CSingleInstance.h"

#include <QDir>
#include <QStandardPaths>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace quillet {

CSingleInstance::CSingleInstance(const QString& name) {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath();
  QString file = name + QStringLiteral(".lock");
#ifndef _WIN32
  // A shared temporary folder needs the user in the name.
  if (dir == QDir::tempPath()) file = name + QLatin1Char('-') + QString::number(::getuid()) + QStringLiteral(".lock");
#endif
  m_path = dir + QLatin1Char('/') + file;
}

bool CSingleInstance::TryAcquire() {
  m_lock = std::make_unique<QLockFile>(m_path);
  // A lock left by a process that no longer runs is taken over.
  m_lock->setStaleLockTime(0);
  return m_lock->tryLock(0);
}

}  // namespace quillet
