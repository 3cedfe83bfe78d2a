#include "notelist/CNoteListModel.h"

#include <map>

#include <algorithm>

#include "app/Paths.h"
#include "app/UIStrings.h"
#include "common/DateFormat.h"
#include "controls/QtDateNames.h"
#include "desk/IDesk.h"
#include "notewnd/CNoteWnd.h"
#include "notewnd/NoteMeasure.h"
#include "app/Ids.h"

namespace quillet {

namespace {
QString DateText(const DateTime& t) {
  DateParts p;
  if (!t.ToParts(p)) return {};
  static const CQtDateNames names;
  return FromLocal(ExpandDateFormat("%x %X", p, names));
}
QString TimeText(const DateTime& t) {
  DateParts p;
  if (!t.ToParts(p)) return {};
  static const CQtDateNames names;
  return FromLocal(ExpandDateFormat("%X", p, names));
}
}  // namespace

CNoteListModel::CNoteListModel(INoteShelf& main, QObject* parent) : QAbstractTableModel(parent), m_main(main) {}

void CNoteListModel::SetRows(std::vector<Row> rows, bool bin) {
  beginResetModel();
  m_rows = std::move(rows);
  m_bin = bin;
  endResetModel();
}

int CNoteListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}
int CNoteListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 1 + kColumnCount; }

QSize CNoteListModel::MiniatureSize(int row) const {
  const Row& r = RowAt(row);
  const CNote* n = r.note >= 0 ? m_main.GetNote(r.note) : nullptr;
  QSize s;
  if (!n) {
    CNote bin;
    bin.SetText(r.binText);
    s = ComputeNoteSize(bin, nullptr, m_drawMode == kMinimized, 0, m_main.TabStops(), m_main.HasFlag(IDesk::kTooSmall));
  } else if (m_drawMode == kNormal) {
    s = QSize(n->Rect.width, n->Rect.height);
  } else {
    s = ComputeNoteSize(*n, nullptr, m_drawMode == kMinimized, 0, m_main.TabStops(), m_main.HasFlag(IDesk::kTooSmall));
  }
  // Very large notes are drawn cut, so that a row stays within sight.
  return s.boundedTo(QSize(480, 240)).expandedTo(QSize(10, 10));
}

void CNoteListModel::RefreshRow(int row) { Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1)); }

QString CNoteListModel::Text(const Row& r, int column) const {
  if (r.note < 0) return column == kColModified ? DateText(r.binTime) : QString();
  const CNote* n = m_main.GetNote(r.note);
  if (!n) return {};
  switch (column) {
    case kColModified:
    case kColHiddenUntil:
    case kColReceivedOn: return DateText(ColumnDate(*n, column));
    case kColAlarm: {
      const DateTime t = ColumnDate(*n, column);
      return n->AlarmType == 8 ? TimeText(t) : DateText(t);
    }
    case kColAlarmType: {
      static const CQtDateNames names;
      return FromLocal(AlarmTypeText(*n, [](int d) { return names.WeekdayShort(d); }));
    }
    case kColAlarmAction: return FromLocal(AlarmActionText(*n));
    case kColAudio: return FromLocal(AudioText(*n));
    case kColReceivedFrom: return FromLocal(n->ReceivedFrom());
    default: return {};
  }
}

QVariant CNoteListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const Row& r = RowAt(index.row());
  if (index.column() == 0) {
    if (role == Qt::SizeHintRole) return MiniatureSize(index.row()) + QSize(44, 2);
    if (role == Qt::ToolTipRole)
      return r.note >= 0 && m_main.GetNote(r.note) ? FromLocal(m_main.GetNote(r.note)->Text()) : FromLocal(r.binText);
    return {};
  }
  const int column = index.column() - 1;
  const CNote* n = r.note >= 0 ? m_main.GetNote(r.note) : nullptr;
  if (role == Qt::CheckStateRole && n && (column == kColOnTop || column == kColHidden)) {
    const bool on = column == kColOnTop ? n->OnTop() : n->HideMode != 0;
    return on ? Qt::Checked : Qt::Unchecked;
  }
  if (role == Qt::DisplayRole) return Text(r, column);
  return {};
}

QVariant CNoteListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section == 0) return {};
  const int column = section - 1;
  const int id = m_bin && column == kColModified ? Str::DeletedOn : ColumnTitleId(column);
  return FromLocal(LoadUIString(id, true));
}

Qt::ItemFlags CNoteListModel::flags(const QModelIndex& index) const {
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  const int column = index.column() - 1;
  if (!m_bin && (column == kColOnTop || column == kColHidden)) f |= Qt::ItemIsUserCheckable;
  return f;
}

bool CNoteListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !index.isValid()) return false;
  const Row& r = RowAt(index.row());
  CNoteWnd* w = r.note >= 0 ? m_main.WindowAt(r.note) : nullptr;
  if (!w) return false;
  const bool on = value.toInt() == Qt::Checked;
  CNote& n = w->Note();
  if (index.column() - 1 == kColOnTop) {
    // The window moves into or out of the topmost band at once.
    n.SetFlag(kFlagOnTop, on);
    w->ApplyZOrder(false);
  } else if (index.column() - 1 == kColHidden) {
    n.HideMode = on ? 1 : 0;
    if (on)
      w->hide();
    else if (m_main.HasFlag(IDesk::kShowNotes))
      w->show();
  } else {
    return false;
  }
  m_main.SaveNote(n.Index, false);
  RefreshRow(index.row());
  return true;
}

void CNoteListModel::sort(int section, Qt::SortOrder order) {
  if (section <= 0) return;
  const int column = section - 1;
  const bool dates = column == kColModified || column == kColHiddenUntil || column == kColAlarm || column == kColReceivedOn;
  auto dateOf = [&](const Row& r) {
    if (r.note < 0) return column == kColModified ? r.binTime : DateTime();
    const CNote* n = m_main.GetNote(r.note);
    return n ? ColumnDate(*n, column) : DateTime();
  };
  std::vector<std::pair<QString, Row>> keyed;
  keyed.reserve(m_rows.size());
  for (const Row& r : m_rows) keyed.emplace_back(dates ? QString() : Text(r, column).toCaseFolded(), r);
  auto less = [&](const std::pair<QString, Row>& a, const std::pair<QString, Row>& b) {
    if (dates) {
      const DateTime da = dateOf(a.second), db = dateOf(b.second);
      if (da.IsValid() != db.IsValid()) return da.IsValid() < db.IsValid();
      return da.IsValid() && da.Date() < db.Date();
    }
    return a.first < b.first;
  };
  Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  // The selection and the current row follow their notes, not the row numbers.
  const QModelIndexList before = persistentIndexList();
  std::vector<std::pair<int, int>> identities;  // note index, bin entry
  identities.reserve(static_cast<std::size_t>(before.size()));
  for (const QModelIndex& i : before) {
    const Row& r = m_rows[static_cast<std::size_t>(i.row())];
    identities.emplace_back(r.note, r.binEntry);
  }
  if (order == Qt::AscendingOrder)
    std::stable_sort(keyed.begin(), keyed.end(), less);
  else
    std::stable_sort(keyed.begin(), keyed.end(), [&](const auto& a, const auto& b) { return less(b, a); });
  std::map<std::pair<int, int>, int> rowOf;
  for (std::size_t i = 0; i < keyed.size(); ++i) {
    m_rows[i] = std::move(keyed[i].second);
    rowOf[{m_rows[i].note, m_rows[i].binEntry}] = static_cast<int>(i);
  }
  QModelIndexList after;
  after.reserve(before.size());
  for (qsizetype k = 0; k < before.size(); ++k)
    after.push_back(index(rowOf.at(identities[static_cast<std::size_t>(k)]), before[k].column()));
  changePersistentIndexList(before, after);
  Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

}  // namespace quillet
