#pragma once
#include <QString>
#include <QWidget>

namespace quillet {

// File dialogs of the program, answerable in tests.
class CFileDialog {
 public:
  // filter is a string-table filter: "Label|patterns|Label|patterns||".
  static QString OpenExisting(QWidget* parent, const QString& filter, const QString& startDir);
  static QString SaveAs(QWidget* parent, const QString& filter, const QString& startDir, const QString& name);
  static void SetNextFileName(const QString& path);  // empty answers Cancel
  static QString QtFilter(const QString& filter);
};

}  // namespace quillet
