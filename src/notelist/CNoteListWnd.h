#pragma once
#include <QDialog>
#include <QStyledItemDelegate>

#include "notelist/CNoteListModel.h"
#include "notewnd/Layout.h"

class QLabel;
class QListWidget;
class QMenu;
class QMenuBar;
class QStatusBar;
class QTableView;
class QToolBar;

namespace quillet {

class INoteShelf;

// Draws a note's miniature in the first column, in its own font and colours.
class CMiniatureDelegate : public QStyledItemDelegate {
 public:
  CMiniatureDelegate(INoteShelf& main, CNoteListModel& model, QObject* parent)
      : QStyledItemDelegate(parent), m_main(main), m_model(model) {}
  void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  LayoutValues binLayout;

 private:
  INoteShelf& m_main;
  CNoteListModel& m_model;
};

// Every note at a glance: a folder bar, views, columns, and the note
// commands on the selected rows.
class CNoteListWnd : public QDialog {
  Q_OBJECT
 public:
  explicit CNoteListWnd(INoteShelf& main, const SearchSpec* search = nullptr, QWidget* parent = nullptr);
  ~CNoteListWnd() override;

  // Folder bar positions: 0 today, 1 all, 2 no folder, 3.. folders, last the bin.
  int FolderItem() const { return m_folderItem; }
  void SelectFolderItem(int item);
  int FolderItemCount() const;
  int View() const { return m_view; }
  void SetView(int view);
  void SetSearch(const SearchSpec& search);
  void Fill();
  // The columns' widths and order as the "NoteList" setting keeps them.
  QString ColumnLayout() const;
  void Command(int id, bool shift = false);
  void SelectRows(const std::vector<int>& rows);
  std::vector<int> SelectedRows() const;
  QString Caption() const;
  QString StatusText() const;
  QString FolderLabel(int item) const;
  void BuildNoteMenu(QMenu& menu);

  CNoteListModel* Model() const { return m_model; }
  static constexpr int kRowsWithOwnHeight = 2000;
  QTableView* Table() const { return m_table; }
  void done(int r) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void RestoreColumnLayout(const std::string& text);
  void ApplyListColor();
  void ConnectCommands(QMenu& menu);
  void ApplyColumns();
  void SyncSelection();
  void Export();
  void Import();
  void RestoreFromBackup();
  void CopyRows();
  void DeleteRows(bool permanent);
  void RestoreTo(int k);
  void EditFolders();
  void SetRowHeights();
  void Search();
  bool IsBin() const { return m_folderItem == FolderItemCount() - 1; }

  INoteShelf& m_main;
  CNoteListModel* m_model;
  CMiniatureDelegate* m_delegate;
  QTableView* m_table;
  QListWidget* m_folders;
  QLabel* m_caption;
  QMenuBar* m_menuBar;
  QToolBar* m_toolBar;
  QStatusBar* m_status;
  int m_view = kViewAll;
  int m_viewBeforeSearch = kViewAll;
  int m_folderItem = 1;
  unsigned m_columns = 0xFFFF;
  SearchSpec m_search;
  std::vector<std::string> m_folderNames;
  std::vector<RecycleBinEntry> m_bin;
  int m_filledView = -1, m_filledFolder = -1;  // what the last fill showed
  bool m_filling = false;
  int m_sortSection = 0;
  Qt::SortOrder m_sortOrder = Qt::DescendingOrder;
};

}  // namespace quillet
