#pragma once
#include <QDialog>

#include "notelist/NoteListRules.h"

class QCheckBox;
class QComboBox;
class QPushButton;

namespace quillet {

// Asks for a search text, case-sensitive or not, whole words or not, and
// keeps the last sixteen search texts.
class CSearchDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CSearchDialog(QWidget* parent = nullptr);
  SearchSpec Result() const { return m_result; }
  QComboBox* text;
  QCheckBox* caseSensitive;
  QCheckBox* wholeWord;
  QPushButton* ok;
  void accept() override;

 private:
  SearchSpec m_result;
};

}  // namespace quillet
