#pragma once
#include <QApplication>
#include <QElapsedTimer>
#include <functional>

namespace quillet::test {

// Runs the event loop until done() holds. The deadline only ends a test that
// would otherwise hang; a busy machine is given ample time, and nothing is
// assumed to be done by then.
inline bool WaitFor(const std::function<bool()>& done, int ms = 60000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > ms) return false;
    QApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}

}  // namespace quillet::test
