#pragma once
#include <QLockFile>
#include <QString>
#include <memory>

namespace quillet {

// The per-user lock named "QuilletApp" that marks the running instance. The
// lock is released when the process ends, also when it is killed.
class CSingleInstance {
 public:
  explicit CSingleInstance(const QString& name = QStringLiteral("QuilletApp"));
  // False when another process holds the lock.
  bool TryAcquire();
  void Release() { if (m_lock) m_lock->unlock(); }
  QString LockPath() const { return m_path; }

 private:
  QString m_path;
  std::unique_ptr<QLockFile> m_lock;
};

}  // namespace quillet
