#pragma once
#include <QAbstractTableModel>
#include <QFont>
#include <vector>

#include "notelist/NoteListRules.h"
#include "notes/RecycleBin.h"
#include "app/Ids.h"

namespace quillet {

class INoteShelf;

// The rows of the note list: notes of the note array, or recycle-bin entries.
// Column 0 is the miniature; columns 1..10 are the optional columns.
class CNoteListModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  struct Row {
    int note = -1;       // note index, or -1 for a bin entry
    int binEntry = -1;   // entry number in the bin file
    std::string binText;
    DateTime binTime;
  };
  enum DrawMode { kNormal = Cmd::DrawNormal, kMinimized = Cmd::DrawMinimized, kRestored = Cmd::DrawRestored };
  static constexpr int kMiniatureRole = Qt::UserRole + 1;

  explicit CNoteListModel(INoteShelf& main, QObject* parent = nullptr);

  void SetRows(std::vector<Row> rows, bool bin);
  const Row& RowAt(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
  const std::vector<Row>& Rows() const { return m_rows; }
  bool ShowsBin() const { return m_bin; }
  void SetDrawMode(int mode) { m_drawMode = mode; }
  int DrawModeValue() const { return m_drawMode; }
  // The miniature's size for the current drawing mode.
  QSize MiniatureSize(int row) const;
  void RefreshRow(int row);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  void sort(int column, Qt::SortOrder order) override;

 private:
  QString Text(const Row& r, int column) const;

  INoteShelf& m_main;
  std::vector<Row> m_rows;
  bool m_bin = false;
  int m_drawMode = kNormal;
};

}  // namespace quillet
