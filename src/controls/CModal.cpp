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

}  // namespace quillet
