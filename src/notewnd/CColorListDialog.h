#pragma once
#include <QDialog>

#include "notes/Note.h"

class QListWidget;

namespace quillet {

// The colours random notes pick from: change, add, delete; at least two.
class CColorListDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CColorListDialog(QWidget* parent = nullptr);
  QListWidget* list;
  void AddColor(ColorRef c);
  void SetColor(int row, ColorRef c);
  void DeleteSelected();
  std::vector<ColorRef> Colors() const;
  void accept() override;
};

}  // namespace quillet
