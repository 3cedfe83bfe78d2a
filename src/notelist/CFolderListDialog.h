#pragma once
#include <QDialog>

class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace quillet {

class INoteShelf;

// Edits the folder list: new, rename (across all notes), delete (notes lose
// the folder), order.
class CFolderListDialog : public QDialog {
  Q_OBJECT
 public:
  explicit CFolderListDialog(INoteShelf& main, QWidget* parent = nullptr);
  bool Changed() const { return m_changed; }
  QListWidget* list;
  QPushButton *add, *remove, *rename, *up, *down;

  void New();
  void Delete();
  void Move(int by);
  // The rename of an entry: every note of the old name takes the new one.
  void Rename(QListWidgetItem* item, const QString& newName);
  void reject() override { accept(); }
  void accept() override;

 private:
  void UpdateButtons();
  INoteShelf& m_main;
  bool m_changed = false;
};

}  // namespace quillet
