#include "controls/CModal.h"

#include <deque>

#include "controls/CMessageBox.h"

namespace quillet {

namespace {
std::deque<CModal::Handler> g_next;
}

void CModal::SetNextHandler(Handler handler) { g_next.push_back(std::move(handler)); }
void CModal::ClearHandlers() { g_next.clear(); }
int CModal::PendingHandlers() { return static_cast<int>(g_next.size()); }

int CModal::Run(QDialog& dialog) {
  if (!g_next.empty()) {
    Handler h = std::move(g_next.front());
    g_next.pop_front();
    return h(dialog);
  }
  // Without a user a dialog can only be cancelled.
  if (CMessageBox::IsNonInteractive() || CMessageBox::IsEnding()) return QDialog::Rejected;
  dialog.setWindowFlag(Qt::WindowStaysOnTopHint, true);
  return dialog.exec();
}

void CModal::Open(QDialog* dialog, std::function<void(int)> done) {
  if (!g_next.empty() || CMessageBox::IsNonInteractive() || CMessageBox::IsEnding()) {
    const int result = Run(*dialog);
    delete dialog;
    done(result);
    return;
  }
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  QObject::connect(dialog, &QDialog::finished, dialog, [done = std::move(done)](int result) { done(result); });
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
}

}  // namespace quillet
