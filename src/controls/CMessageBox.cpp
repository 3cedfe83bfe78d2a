#include "controls/CMessageBox.h"

#include <QApplication>

#include <cstdio>

namespace quillet {

namespace {
std::optional<QMessageBox::StandardButton> g_nextAnswer;
std::optional<bool> g_nonInteractive;
bool g_ending = false;
QStringList g_shown;

QMessageBox::StandardButton DefaultOf(QMessageBox::StandardButtons buttons, QMessageBox::StandardButton dflt) {
  if (dflt != QMessageBox::NoButton) return dflt;
  for (auto b : {QMessageBox::Ok, QMessageBox::Yes, QMessageBox::Retry, QMessageBox::Cancel, QMessageBox::No})
    if (buttons.testFlag(b)) return b;
  return QMessageBox::Ok;
}
}  // namespace

QMessageBox::StandardButton CMessageBox::Show(QWidget* parent, const QString& text,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton, QMessageBox::Icon icon) {
  g_shown.append(text);
  if (g_nextAnswer) {
    const auto answer = *g_nextAnswer;
    g_nextAnswer.reset();
    return answer;
  }
  // Every message also goes to standard error, where a session log keeps it.
  std::fprintf(stderr, "quillet: message: %s\n", text.toUtf8().constData());
  std::fflush(stderr);
  if (IsNonInteractive() || g_ending) return DefaultOf(buttons, defaultButton);
  // A message raised while a modal window is open belongs on top of it, not
  // behind it where it would hold the keyboard unseen.
  if (!parent) parent = QApplication::activeModalWidget();
  QMessageBox box(icon, QStringLiteral("Quillet"), text, buttons, parent);
  if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

void CMessageBox::SetNextAnswer(QMessageBox::StandardButton answer) { g_nextAnswer = answer; }
void CMessageBox::SetNonInteractive(bool on) { g_nonInteractive = on; }
void CMessageBox::SetEnding() { g_ending = true; }
bool CMessageBox::IsEnding() { return g_ending; }
bool CMessageBox::IsNonInteractive() {
  if (!g_nonInteractive) g_nonInteractive = qEnvironmentVariableIntValue("QUILLET_NONINTERACTIVE") != 0;
  return *g_nonInteractive;
}
const QStringList& CMessageBox::Shown() { return g_shown; }
void CMessageBox::ClearShown() { g_shown.clear(); }

}  // namespace quillet
