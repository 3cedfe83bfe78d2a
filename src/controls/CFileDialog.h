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
  // A file to keep data in: an existing one or a new name, with no question about overwriting.
  static QString ChooseDataFile(QWidget* parent, const QString& filter, const QString& current);
  static void SetNextFileName(const QString& path);  // empty answers Cancel
  static QString QtFilter(const QString& filter);
};

}  // namespace quillet
