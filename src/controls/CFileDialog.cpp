#include "controls/CFileDialog.h"

#include <QDir>

#include <QFileDialog>
#include <optional>

namespace quillet {

namespace {
std::optional<QString> g_next;

std::optional<QString> TakeNext() {
  auto next = g_next;
  g_next.reset();
  return next;
}
}  // namespace

void CFileDialog::SetNextFileName(const QString& path) { g_next = path; }

QString CFileDialog::QtFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) break;
    QString label = parts[i];
    // The patterns sit in the label already ("Text Files (*.txt)"); Qt reads them from there.
    const QString patterns = parts[i + 1];
    if (!label.contains(QLatin1Char('('))) label += QStringLiteral(" (") + QString(patterns).replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
    label.replace(QLatin1Char(';'), QLatin1Char(' '));
    // "*.*" means every file, with or without a dot.
    label.replace(QStringLiteral("*.*"), QStringLiteral("*"));
    out << label;
  }
  return out.join(QStringLiteral(";;"));
}

namespace {
// Where no folder is remembered yet, the user's home, not the file system's root.
QString StartIn(const QString& dir) { return dir.isEmpty() ? QDir::homePath() : dir; }
}  // namespace

QString CFileDialog::OpenExisting(QWidget* parent, const QString& filter, const QString& startDir) {
  if (auto next = TakeNext()) return *next;
  return QFileDialog::getOpenFileName(parent, QString(), StartIn(startDir), QtFilter(filter));
}

QString CFileDialog::SaveAs(QWidget* parent, const QString& filter, const QString& startDir, const QString& name) {
  if (auto next = TakeNext()) return *next;
  return QFileDialog::getSaveFileName(parent, QString(), StartIn(startDir) + QLatin1Char('/') + name, QtFilter(filter));
}

QString CFileDialog::ChooseDataFile(QWidget* parent, const QString& filter, const QString& current) {
  if (auto next = TakeNext()) return *next;
  return QFileDialog::getSaveFileName(parent, QString(), current.isEmpty() ? QDir::homePath() : current, QtFilter(filter),
                                      nullptr, QFileDialog::DontConfirmOverwrite);
}

}  // namespace quillet
