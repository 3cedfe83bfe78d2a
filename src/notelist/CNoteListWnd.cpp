#include "notelist/CNoteListWnd.h"

#include "notes/Backups.h"


#include <QApplication>
#include <map>
#include <numeric>
#include <QClipboard>
#include <QColorDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QRegularExpression>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QSplitter>
#include <QStatusBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

#include "alarm/AlarmRules.h"
#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "common/Text.h"
#include "controls/CFileDialog.h"
#include "controls/CMessageBox.h"
#include "controls/CModal.h"
#include "controls/Platform.h"
#include "desk/IDesk.h"
#include "notes/NoteStore.h"
#include "notewnd/CNoteEditor.h"
#include "notelist/CFolderListDialog.h"
#include "notelist/CSearchDialog.h"
#include "notelist/Search.h"
#include "notes/NoteText.h"
#include "notewnd/CNoteWnd.h"
#include "notewnd/NoteGeometry.h"
#include "notewnd/NoteMeasure.h"
#include "app/Ids.h"
#include "controls/UiText.h"

namespace quillet {


// ---- Miniatures ---------------------------------------------------------------

QSize CMiniatureDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const {
  if (index.column() != 0) return QStyledItemDelegate::sizeHint(option, index);
  return m_model.MiniatureSize(index.row()) + QSize(44, 2);
}

void CMiniatureDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  if (index.column() != 0) return QStyledItemDelegate::paint(p, option, index);
  if (option.state & QStyle::State_Selected) p->fillRect(option.rect, option.palette.highlight());
  const CNoteListModel::Row& row = m_model.RowAt(index.row());
  CNote shown;
  const CNote* n = row.note >= 0 ? m_main.GetNote(row.note) : nullptr;
  if (!n) {
    // Bin entries wear the recycle-bin layout.
    ApplyLayoutValues(shown, binLayout);
    shown.SetText(row.binText);
    n = &shown;
  }
  const QSize size = m_model.MiniatureSize(index.row());
  const QRect box(option.rect.left() + 40, option.rect.top() + 1, size.width(), size.height());
  const EffectiveColors c = EffectiveColorsOf(*n, m_main.DesktopColor());
  p->save();
  p->setClipRect(option.rect);
  p->fillRect(box, ToQColor(c.back));
  p->setPen(ToQColor(c.border));
  p->drawRect(box.adjusted(0, 0, -1, -1));
  p->setPen(ToQColor(c.text));
  const TextStyle style{FontFromLogFont(n->Font), n->Align, m_main.TabStops()};
  const QRect inner = box.adjusted(kEdgeX, kEdgeY, -kEdgeX, -kEdgeY);
  DrawText(*p, inner, style, DisplayText(n->Text()));
  if (m_main.HasFlag(IDesk::kTooSmall) &&
      ComputeNoteSize(*n, nullptr, false, box.width(), m_main.TabStops(), true).height() > box.height()) {
    // Two small triangles pointing down: there is more than is shown.
    const int r = inner.right(), b = inner.bottom();
    p->setBrush(ToQColor(c.text));
    p->drawPolygon(QPolygon({QPoint(r - 8, b - 5), QPoint(r - 2, b - 5), QPoint(r - 5, b - 2)}));
    p->drawPolygon(QPolygon({QPoint(r - 8, b - 9), QPoint(r - 2, b - 9), QPoint(r - 5, b - 6)}));
  }
  p->restore();
}

// ---- The window ---------------------------------------------------------------

CNoteListWnd::CNoteListWnd(INoteShelf& main, const SearchSpec* search, QWidget* parent)
    : QDialog(parent), m_main(main) {
  setWindowTitle(Ui(Str::QuilletNoteList));
  setWindowIcon(QuilletIcon());
  setWindowFlag(Qt::WindowMaximizeButtonHint, true);
  const CSettings& s = AppSettings();
  m_columns = static_cast<unsigned>(s.Int("ListColumns"));
  m_view = s.Int("ListView");
  if (m_view < kViewAll || m_view > kViewSearch) m_view = kViewAll;
  m_viewBeforeSearch = m_view == kViewSearch ? kViewAll : m_view;
  if (search) {
    m_search = *search;
    m_view = kViewSearch;
  }

  m_model = new CNoteListModel(main, this);
  m_model->SetDrawMode(s.Int("ListViewNote"));
  m_table = new QTableView(this);
  m_table->setModel(m_model);
  m_delegate = new CMiniatureDelegate(main, *m_model, this);
  m_delegate->binLayout = ReadLayout(s, s.Int("RecBinLayout"));
  m_table->setItemDelegate(m_delegate);
  m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
  m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_table->verticalHeader()->hide();
  m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  m_table->setSortingEnabled(false);
  m_table->horizontalHeader()->setSectionsClickable(true);
  m_table->horizontalHeader()->setSortIndicatorShown(true);
  m_table->setContextMenuPolicy(Qt::CustomContextMenu);
  m_table->setWordWrap(false);
  ApplyListColor();
  m_table->installEventFilter(this);

  m_folders = new QListWidget(this);
  m_folders->setMinimumWidth(60);
  m_caption = new QLabel(this);
  m_caption->setFixedHeight(std::max(16, s.Int("ListPosTop")));
  m_caption->setStyleSheet(QStringLiteral("QLabel { font-weight: bold; padding-left: 6px; }"));
  m_menuBar = new QMenuBar(this);
  m_toolBar = new QToolBar(this);
  m_status = new QStatusBar(this);

  auto* right = new QWidget(this);
  auto* rl = new QVBoxLayout(right);
  rl->setContentsMargins(0, 0, 0, 0);
  rl->addWidget(m_caption);
  rl->addWidget(m_table, 1);
  auto* split = new QSplitter(this);
  split->addWidget(m_folders);
  split->addWidget(right);
  split->setSizes({std::max(40, s.Int("ListPosLeft")), 600});
  split->setStretchFactor(1, 1);
  auto* all = new QVBoxLayout(this);
  all->setMenuBar(m_menuBar);
  all->addWidget(m_toolBar);
  all->addWidget(split, 1);
  all->addWidget(m_status);
  m_toolBar->setVisible(s.Flag("ListTool"));
  m_status->setVisible(s.Flag("ListStatus"));
  resize(820, 520);
  const auto placement = s.GetBytes("Settings", "WndList");
  if (placement.size() == 44) {
    // Our placement record keeps the normal rectangle where the platform's does.
    auto i32 = [&](int off) {
      return static_cast<int>(placement[off] | (placement[off + 1] << 8) | (placement[off + 2] << 16) |
                              (static_cast<unsigned>(placement[off + 3]) << 24));
    };
    const QRect r(QPoint(i32(28), i32(32)), QPoint(i32(36) - 1, i32(40) - 1));
    if (r.width() > 100 && r.height() > 100) setGeometry(r);
  }

  BuildMenus();
  ApplyColumns();
  RestoreColumnLayout(s.String("NoteList"));
  m_folderItem = search ? 1 : s.Int("ListFolder");
  connect(m_folders, &QListWidget::currentRowChanged, this, [this](int row) {
    if (m_filling || row < 0) return;
    m_folderItem = row;
    Fill();
  });
  connect(m_table->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { SyncSelection(); });
  connect(m_table->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int section) {
    // The header has already flipped its own indicator by the time it says
    // it was clicked; the order is decided from what was shown before.
    if (section == 0) {
      m_table->horizontalHeader()->setSortIndicator(m_sortSection, m_sortOrder);
      return;
    }
    const auto order = section == m_sortSection && m_sortOrder == Qt::DescendingOrder ? Qt::AscendingOrder
                                                                                       : Qt::DescendingOrder;
    m_sortSection = section;
    m_sortOrder = order;
    m_table->horizontalHeader()->setSortIndicator(section, order);
    m_model->sort(section, order);
  });
  connect(m_table, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    SelectRows({index.row()});
    if (!IsBin()) Command(Cmd::EditNote);
  });
  connect(m_table, &QTableView::customContextMenuRequested, this, [this](const QPoint& pos) {
    QMenu menu;
    BuildNoteMenu(menu);
    if (QAction* a = menu.exec(m_table->viewport()->mapToGlobal(pos)); a && a->data().isValid())
      Command(a->data().toInt(), QApplication::keyboardModifiers() & Qt::ShiftModifier);
  });
  m_main.OnNotesChanged(this, [this] {
    if (!m_filling) QMetaObject::invokeMethod(this, [this] { Fill(); }, Qt::QueuedConnection);
  });
  const int sortColumn = s.Int("ListSortCol");
  m_sortSection = sortColumn > 0 ? sortColumn : 0;
  m_sortOrder = s.Flag("ListSortAsc") ? Qt::AscendingOrder : Qt::DescendingOrder;
  m_table->horizontalHeader()->setSortIndicator(m_sortSection, m_sortOrder);
  m_main.ClearSelection();
  Fill();
}

CNoteListWnd::~CNoteListWnd() = default;

bool CNoteListWnd::eventFilter(QObject* watched, QEvent* event) {
  if (watched == m_table && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const bool keypad = key->modifiers() & Qt::KeypadModifier;
    int id = 0;
    if (key->key() == Qt::Key_Delete) id = Cmd::DeleteNotes;
    // In the bin only Delete works.
    if (!IsBin()) {
      if (key->key() == Qt::Key_Minus && keypad) id = Cmd::Minimize;
      if (key->key() == Qt::Key_Plus && keypad) id = Cmd::Restore;
      if (key->key() == Qt::Key_Space) id = Cmd::Alarm;
    }
    if (id) {
      Command(id, key->modifiers() & Qt::ShiftModifier);
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

int CNoteListWnd::FolderItemCount() const { return 4 + static_cast<int>(m_folderNames.size()); }

QString CNoteListWnd::FolderLabel(int item) const {
  const QListWidgetItem* it = m_folders->item(item);
  return it ? it->text() : QString();
}

void CNoteListWnd::BuildMenus() {
  m_menuBar->clear();
  m_toolBar->clear();
  auto add = [this](QMenu* m, int id, bool checkable = false) {
    QAction* a = m->addAction(Ui(id));
    a->setData(id);
    a->setCheckable(checkable);
    connect(a, &QAction::triggered, this, [this, id] { Command(id, QApplication::keyboardModifiers() & Qt::ShiftModifier); });
    return a;
  };
  QMenu* file = m_menuBar->addMenu(Ui(Cmd::FileMenu));
  add(file, Cmd::Export);
  add(file, Cmd::Import);
  add(file, Str::RestoreFromBackup);
  file->addSeparator();
  add(file, Cmd::CloseList);
  QMenu* view = m_menuBar->addMenu(Ui(Cmd::ViewMenu));
  for (int id = Cmd::ViewAll; id <= Cmd::ViewSearch; ++id) add(view, id, id != Cmd::ViewSearch);
  QMenu* edit = m_menuBar->addMenu(Ui(Cmd::EditMenu));
  add(edit, Cmd::SelectAll);
  add(edit, Cmd::ReverseSelection);
  QMenu* note = m_menuBar->addMenu(Ui(Cmd::NoteMenu));
  connect(note, &QMenu::aboutToShow, this, [this, note] {
    note->clear();
    BuildNoteMenu(*note);
    ConnectCommands(*note);
  });
  QMenu* options = m_menuBar->addMenu(Ui(Cmd::OptionsMenu));
  for (int id : {Cmd::DrawNormal, Cmd::DrawMinimized, Cmd::DrawRestored}) add(options, id, true);
  options->addSeparator();
  add(options, Cmd::Toolbar, true)->setChecked(m_toolBar->isVisible());
  add(options, Cmd::Statusbar, true)->setChecked(m_status->isVisible());
  add(options, Cmd::RowColor);
  QMenu* columns = options->addMenu(Ui(Cmd::Columns));
  for (int c = 0; c < kColumnCount; ++c) {
    QAction* a = add(columns, ColumnTitleId(c), true);
    a->setChecked(m_columns & (1u << c));
  }
  options->addSeparator();
  add(options, Cmd::FolderList);
  for (int id : {Cmd::ViewAll, Cmd::ViewVisible, Cmd::ViewHidden, Cmd::ViewAlarm, Cmd::ViewReceived, Cmd::ViewSearch}) {
    QAction* a = m_toolBar->addAction(Ui(id, true).remove(QStringLiteral("...")));
    connect(a, &QAction::triggered, this, [this, id] { Command(id); });
  }
}

void CNoteListWnd::ApplyListColor() {
  // Until the user picks a colour the list takes the desktop's palette, dark
  // or light; a picked one gets text that can be read on it.
  const auto picked = AppSettings().Store().RawInt("Settings", "ColorList");
  if (!picked) {
    m_table->setStyleSheet(QString());
    return;
  }
  const QColor back = ToQColor(static_cast<ColorRef>(*picked));
  const QColor text = back.lightnessF() < 0.5 ? Qt::white : Qt::black;
  m_table->setStyleSheet(QStringLiteral("QTableView { background: %1; color: %2; }").arg(back.name(), text.name()));
}

void CNoteListWnd::ConnectCommands(QMenu& menu) {
  // The submenus (Folder, Layout, Restore to) carry commands too.
  for (QAction* a : menu.actions()) {
    if (a->menu()) {
      ConnectCommands(*a->menu());
      continue;
    }
    if (!a->data().isValid()) continue;
    const int id = a->data().toInt();
    connect(a, &QAction::triggered, this, [this, id] { Command(id, QApplication::keyboardModifiers() & Qt::ShiftModifier); });
  }
}

void CNoteListWnd::ApplyColumns() {
  for (int c = 0; c < kColumnCount; ++c) m_table->setColumnHidden(c + 1, !(m_columns & (1u << c)));
  m_table->setColumnWidth(0, 260);
}

// "(defined,shown)", the width of each defined column, then the shown
// columns in the order they are displayed.
QString CNoteListWnd::ColumnLayout() const {
  const QHeaderView* h = m_table->horizontalHeader();
  const int defined = h->count();
  QStringList widths, order;
  int shown = 0;
  for (int c = 0; c < defined; ++c)
    widths << QString::number(h->isSectionHidden(c) ? m_table->columnWidth(c) : h->sectionSize(c));
  for (int v = 0; v < defined; ++v) {
    const int c = h->logicalIndex(v);
    if (h->isSectionHidden(c)) continue;
    ++shown;
    order << QString::number(c);
  }
  return QStringLiteral("(%1,%2) ").arg(defined).arg(shown) + widths.join(QLatin1Char(' ')) + QLatin1Char(' ') +
         order.join(QLatin1Char(' '));
}

void CNoteListWnd::RestoreColumnLayout(const std::string& text) {
  const QString t = FromLocal(text).trimmed();
  const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("^\\((\\d+),(\\d+)\\)((?:\\s+\\d+)*)$")).match(t);
  if (!m.hasMatch()) return;
  QHeaderView* h = m_table->horizontalHeader();
  const int defined = m.captured(1).toInt();
  const int shown = m.captured(2).toInt();
  const QStringList numbers = m.captured(3).split(QLatin1Char(' '), Qt::SkipEmptyParts);
  // A layout written for other columns is left alone.
  if (defined != h->count() || numbers.size() != defined + shown) return;
  for (int c = 0; c < defined; ++c) {
    const int w = numbers[c].toInt();
    if (w >= 16 && w <= 4000) m_table->setColumnWidth(c, w);
  }
  int visual = 0;
  for (int i = 0; i < shown; ++i) {
    const int c = numbers[defined + i].toInt();
    if (c < 0 || c >= defined || h->isSectionHidden(c)) continue;
    h->moveSection(h->visualIndex(c), visual++);
  }
}

void CNoteListWnd::SelectFolderItem(int item) {
  m_folderItem = item;
  Fill();
}

void CNoteListWnd::SetView(int view) {
  if (view != kViewSearch) {
    m_search = {};
    m_viewBeforeSearch = view;
  }
  m_view = view;
  Fill();
}

void CNoteListWnd::SetSearch(const SearchSpec& search) {
  m_search = search;
  m_view = kViewSearch;
  Fill();
}

QString CNoteListWnd::Caption() const { return m_caption->text(); }
QString CNoteListWnd::StatusText() const { return m_status->currentMessage(); }

void CNoteListWnd::Fill() {
  m_filling = true;
  const std::vector<int> before = SelectedRows();
  std::vector<int> rememberedNotes;
  for (int r : before)
    if (m_model->RowAt(r).note >= 0) rememberedNotes.push_back(m_model->RowAt(r).note);
  std::sort(rememberedNotes.begin(), rememberedNotes.end());
  const bool sameView = m_filledView == m_view && m_filledFolder == m_folderItem;

  m_folderNames = m_main.FolderList();
  m_folderItem = std::clamp(m_folderItem, 0, FolderItemCount() - 1);
  const bool bin = IsBin();
  if (bin && m_view != kViewAll && m_view != kViewSearch) m_view = kViewAll;
  const DateTime now = m_main.Now();

  // Counting, per folder bar item.
  std::vector<int> counts(static_cast<std::size_t>(FolderItemCount()), 0);
  for (int i = 0; i < m_main.NoteCount(); ++i) {
    const CNote& n = *m_main.GetNote(i);
    ++counts[1];
    if (ConcernsToday(n, now)) ++counts[0];
    if (n.Folder().empty()) ++counts[2];
    for (std::size_t f = 0; f < m_folderNames.size(); ++f)
      if (!n.Folder().empty() && EqualsNoCase(n.Folder(), m_folderNames[f])) ++counts[3 + f];
  }
  const RecycleBinRead binRead = CRecycleBin::Read(FileSystem::Real(), m_main.Store().RecycleBinPath());
  m_bin = binRead.status == RecycleBinRead::Status::Ok ? binRead.entries : std::vector<RecycleBinEntry>{};
  counts.back() = static_cast<int>(m_bin.size());

  QStringList labels = {Ui(Str::Today), Ui(Str::AllFolders), Ui(Str::NoFolder)};
  for (const auto& f : m_folderNames) labels << FromLocal(f);
  labels << Ui(Str::RecycleBinFolder);
  m_folders->clear();
  for (int i = 0; i < labels.size(); ++i) {
    auto* item = new QListWidgetItem(QuilletIcon(i == labels.size() - 1 ? 2 : 0),
                                     labels[i] + QStringLiteral(" (%1)").arg(counts[static_cast<std::size_t>(i)]), m_folders);
    item->setData(Qt::UserRole, labels[i]);
  }
  m_folders->setCurrentRow(m_folderItem);

  // Rows.
  std::vector<CNoteListModel::Row> rows;
  if (bin) {
    for (std::size_t e = 0; e < m_bin.size(); ++e) {
      if (m_view == kViewSearch &&
          !MatchesSearch(m_bin[e].text, m_search.text, m_search.caseSensitive, m_search.wholeWord))
        continue;
      rows.push_back({-1, static_cast<int>(e), m_bin[e].text, m_bin[e].Deleted()});
    }
  } else {
    for (int i = 0; i < m_main.NoteCount(); ++i) {
      const CNote& n = *m_main.GetNote(i);
      bool inItem = m_folderItem == 1;
      if (m_folderItem == 0) inItem = ConcernsToday(n, now);
      if (m_folderItem == 2) inItem = n.Folder().empty();
      if (m_folderItem >= 3)
        inItem = !n.Folder().empty() && EqualsNoCase(n.Folder(), m_folderNames[static_cast<std::size_t>(m_folderItem - 3)]);
      if (inItem && PassesView(n, m_view, m_search)) rows.push_back({i, -1, {}, {}});
    }
  }
  m_model->SetRows(std::move(rows), bin);

  // Caption and status.
  QString caption = m_view == kViewSearch ? FromLocal(FormatUIString(LoadUIString(Str::SearchFor), {m_search.text}))
                                          : Ui(m_view, true);
  if (m_folderItem >= 2) {
    // The label ends in its count, " (3)"; a folder's name may hold spaces.
    const QString& label = labels[m_folderItem];
    const QString name = label.left(label.lastIndexOf(QStringLiteral(" (")));
    caption += QLatin1Char(' ') + FromLocal(FormatUIString(LoadUIString(m_view == kViewSearch ? Str::InFolder : Str::FromFolder), {ToLocal(name)}));
  }
  m_caption->setText(caption);
  m_status->showMessage(FromLocal(FormatUIString(
      LoadUIString(Str::NotesCount), {std::to_string(m_model->rowCount()), std::to_string(counts[static_cast<std::size_t>(m_folderItem)])})));

  for (QAction* a : m_menuBar->actions())
    if (QMenu* m = a->menu())
      for (QAction* item : m->actions()) {
        const int id = item->data().toInt();
        if (id >= kViewAll && id <= kViewReceived) {
          item->setChecked(id == m_view);
          item->setEnabled(!bin || id == kViewAll);
        }
        if (id >= Cmd::DrawNormal && id <= Cmd::DrawRestored) item->setChecked(id == m_model->DrawModeValue());
      }

  const int sortSection = m_table->horizontalHeader()->sortIndicatorSection();
  if (sortSection > 0 && sortSection <= kColumnCount) m_model->sort(sortSection, m_table->horizontalHeader()->sortIndicatorOrder());
  SetRowHeights();
  // The selected notes stay selected. When a command took them all out of
  // this view (filed elsewhere, deleted), the row that took their place is.
  std::vector<int> again;
  for (int r = 0; r < m_model->rowCount(); ++r)
    if (std::binary_search(rememberedNotes.begin(), rememberedNotes.end(), m_model->RowAt(r).note)) again.push_back(r);
  if (again.empty() && sameView && !before.empty() && m_model->rowCount() > 0)
    again.push_back(std::min(before.front(), m_model->rowCount() - 1));
  if (!again.empty()) {
    SelectRows(again);
    m_table->scrollTo(m_model->index(again.front(), 0));
  }
  m_filledView = m_view;
  m_filledFolder = m_folderItem;
  m_filling = false;
}

void CNoteListWnd::SetRowHeights() {
  QHeaderView* v = m_table->verticalHeader();
  const int rows = m_model->rowCount();
  auto heightOf = [&](int r) {
    const CNoteListModel::Row& row = m_model->RowAt(r);
    const CNote* n = row.note >= 0 ? m_main.GetNote(row.note) : nullptr;
    return n && m_model->DrawModeValue() == CNoteListModel::kNormal ? std::clamp(n->Rect.height, 10, 240) + 2
                                                                     : m_model->MiniatureSize(r).height() + 2;
  };
  if (rows <= kRowsWithOwnHeight) {
    for (int r = 0; r < rows; ++r) v->resizeSection(r, heightOf(r));
    return;
  }
  // Sizing tens of thousands of rows one by one costs seconds; such a list
  // gives every row the height most of its notes have, and miniatures are cut to it.
  std::map<int, int> histogram;
  for (int r = 0; r < rows; r += std::max(1, rows / 4096)) ++histogram[heightOf(r)];
  const auto common = std::max_element(histogram.begin(), histogram.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
  v->setDefaultSectionSize(common == histogram.end() ? 40 : common->first);
}

std::vector<int> CNoteListWnd::SelectedRows() const {
  // Read from the selection's ranges: asking row by row costs the square of
  // the row count when many are selected.
  std::vector<int> rows;
  for (const QItemSelectionRange& range : m_table->selectionModel()->selection())
    for (int r = range.top(); r <= range.bottom(); ++r) rows.push_back(r);
  std::sort(rows.begin(), rows.end());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  return rows;
}

void CNoteListWnd::SelectRows(const std::vector<int>& rows) {
  // Neighbouring rows make one range, so selecting every row is one range.
  QItemSelection sel;
  const int lastColumn = m_model->columnCount() - 1;
  for (std::size_t i = 0; i < rows.size();) {
    std::size_t j = i;
    while (j + 1 < rows.size() && rows[j + 1] == rows[j] + 1) ++j;
    sel.append(QItemSelectionRange(m_model->index(rows[i], 0), m_model->index(rows[j], lastColumn)));
    i = j + 1;
  }
  m_table->selectionModel()->select(sel, QItemSelectionModel::ClearAndSelect);
  if (!rows.empty()) m_table->selectionModel()->setCurrentIndex(m_model->index(rows.front(), 0), QItemSelectionModel::NoUpdate);
  SyncSelection();
}

void CNoteListWnd::SyncSelection() {
  // The note commands act on the notes that carry the selection mark.
  m_main.ClearSelection();
  for (int r : SelectedRows())
    if (CNoteWnd* w = m_model->RowAt(r).note >= 0 ? m_main.WindowAt(m_model->RowAt(r).note) : nullptr) w->SetSelected(true);
}

void CNoteListWnd::BuildNoteMenu(QMenu& menu) {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) {
    menu.addAction(Ui(Str::NoNoteSelected))->setEnabled(false);
    return;
  }
  if (!IsBin()) {
    CNoteWnd* subject = rows.size() == 1 ? m_main.WindowAt(m_model->RowAt(rows.front()).note) : nullptr;
    m_main.BuildNoteMenu(menu, subject, true);
    return;
  }
  auto item = [&](QMenu& m, int id, const QString& text) {
    QAction* a = m.addAction(text);
    a->setData(id);
  };
  item(menu, Cmd::CopyNotes, Ui(Cmd::CopyNotes));
  item(menu, Cmd::DeleteNotes, Ui(Cmd::DeleteNotes) + (rows.size() > 1 || AppSettings().Flag("DeleteAsk") ? QStringLiteral("...") : QString()));
  menu.addSeparator();
  QMenu* restore = menu.addMenu(Ui(Cmd::RestoreTo));
  item(*restore, Cmd::RestoreToFolderItem, Ui(Str::NoFolder));
  for (std::size_t k = 0; k < m_folderNames.size(); ++k) item(*restore, Cmd::RestoreToFolderItem + 1 + static_cast<int>(k), FromLocal(m_folderNames[k]));
  QMenu* layouts = menu.addMenu(Ui(Cmd::Layout));
  item(*layouts, Cmd::ApplyLayoutItem, Ui(Str::StandardLayout));
  const CSettings& s = AppSettings();
  const std::vector<int> named = s.GetLayoutList();
  for (std::size_t k = 0; k < named.size(); ++k)
    item(*layouts, Cmd::ApplyLayoutItem + 1 + static_cast<int>(k), FromLocal(s.GetString(LayoutSection(named[k]), "Name")));
}

void CNoteListWnd::Search() {
  CSearchDialog dialog(this);
  if (CModal::Run(dialog) != QDialog::Accepted) return;
  SetSearch(dialog.Result());
}

void CNoteListWnd::Command(int id, bool shift) {
  const std::vector<int> rows = SelectedRows();
  CNoteWnd* first = nullptr;
  if (!rows.empty() && !IsBin()) first = m_main.WindowAt(m_model->RowAt(rows.front()).note);
  if (id >= kViewAll && id <= kViewReceived) return SetView(id);
  switch (id) {
    case kViewSearch: return Search();
    case Cmd::DrawNormal:
    case Cmd::DrawMinimized:
    case Cmd::DrawRestored:
      m_model->SetDrawMode(id);
      return Fill();
    case Cmd::SelectAll: return SelectRows([&] {
        std::vector<int> all(static_cast<std::size_t>(m_model->rowCount()));
        std::iota(all.begin(), all.end(), 0);
        return all;
      }());
    case Cmd::ReverseSelection: {
      std::vector<int> inverted;
      for (int r = 0; r < m_model->rowCount(); ++r)
        if (!std::binary_search(rows.begin(), rows.end(), r)) inverted.push_back(r);
      return SelectRows(inverted);
    }
    case Cmd::Toolbar: m_toolBar->setVisible(!m_toolBar->isVisible()); return;
    case Cmd::Statusbar: m_status->setVisible(!m_status->isVisible()); return;
    case Cmd::RowColor: {
      const QColor c = QColorDialog::getColor(ToQColor(static_cast<ColorRef>(AppSettings().Int("ColorList"))), this);
      if (!c.isValid()) return;
      AppSettings().WriteInt("Settings", "ColorList", FromQColor(c));
      return ApplyListColor();
    }
    case Cmd::Export: return Export();
    case Cmd::Import: return Import();
    case Str::RestoreFromBackup: return RestoreFromBackup();
    case Cmd::CloseList: return reject();
    case Cmd::FolderList:
    case Cmd::EditFolders: return EditFolders();
    default: break;
  }
  for (int c = 0; c < kColumnCount; ++c)
    if (id == ColumnTitleId(c)) {
      m_columns ^= 1u << c;
      return ApplyColumns();
    }
  if (rows.empty()) return;
  if (IsBin()) {
    if (id == Cmd::CopyNotes) return CopyRows();
    if (id == Cmd::DeleteNotes) return DeleteRows(true);
    if (id >= Cmd::RestoreToFolderItem && id < Cmd::RestoreToFolderItem + Cmd::kRange)
      return RestoreTo(id - Cmd::RestoreToFolderItem);
    if (id >= Cmd::ApplyLayoutItem && id < Cmd::ApplyLayoutItem + Cmd::kRange) {
      const int layout = m_main.LayoutNumberOfItem(id - Cmd::ApplyLayoutItem);
      AppSettings().WriteInt("Settings", "RecBinLayout", layout);
      m_delegate->binLayout = ReadLayout(AppSettings(), layout);
      m_table->viewport()->update();
    }
    return;
  }
  if (id == Cmd::DeleteNotes) return DeleteRows(shift);
  if (id == Cmd::CopyNotes && rows.size() > 1) return CopyRows();
  if (!first) return;
  SyncSelection();
  {
    // The list's own modal loop runs; the note commands need not wait for idle.
    const int cmd = id == Cmd::Paste ? Cmd::PasteText : id;
    m_main.NoteCommand(*first, cmd, shift);
  }
  if (id == Cmd::EditNote) {
    // The list has the keyboard back when the edit ends.
    if (CNoteEditor* editor = m_main.ActiveEditor())
      connect(editor, &QObject::destroyed, this, [this] {
        activateWindow();
        m_table->setFocus();
      });
    return;
  }
  Fill();
}

void CNoteListWnd::CopyRows() {
  const std::vector<int> rows = SelectedRows();
  std::vector<std::string> texts;
  for (int r : rows) {
    const auto& row = m_model->RowAt(r);
    texts.push_back(row.note >= 0 ? m_main.GetNote(row.note)->Text() : row.binText);
  }
  QApplication::clipboard()->setText(FromLocal(JoinForCopy(texts, AppSettings().String("SepCopy"))));
}

void CNoteListWnd::DeleteRows(bool permanent) {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) return;
  if (rows.size() >= 2 || AppSettings().Flag("DeleteAsk")) {
    if (CMessageBox::Show(this, Ui(Str::AskDeleteNotes), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
                          QMessageBox::Question) != QMessageBox::Yes)
      return;
  }
  if (IsBin()) {
    std::vector<int> entries;
    for (int r : rows) entries.push_back(m_model->RowAt(r).binEntry);
    IoError err;
    const auto st = CRecycleBin::RemoveEntries(FileSystem::Real(), m_main.Store().RecycleBinPath(), entries, &err);
    if (st == CRecycleBin::RemoveStatus::Invalid)
      CMessageBox::Show(this, Ui(Str::InvalidOrCorruptFile) + FromLocal(m_main.Store().RecycleBinPath()));
    else if (st == CRecycleBin::RemoveStatus::IoError)
      CMessageBox::Show(this, FromLocal(FormatUIString(LoadUIString(Str::CannotWriteFile),
                                                       {m_main.Store().RecycleBinPath(), err.message})));
    return Fill();
  }
  std::vector<int> notes;
  for (int r : rows) notes.push_back(m_model->RowAt(r).note);
  m_main.DeleteNotes(notes, true, !permanent);
  m_main.SaveAllNotes();
  Fill();
}

void CNoteListWnd::RestoreTo(int k) {
  if (k < 0 || k > static_cast<int>(m_folderNames.size())) return;
  const std::string folder = k == 0 ? std::string() : m_folderNames[static_cast<std::size_t>(k - 1)];
  std::vector<int> entries;
  for (int r : SelectedRows()) {
    const auto& row = m_model->RowAt(r);
    CNoteWnd* w = m_main.CreateNoteFromText(row.binText, false);
    if (!w) break;
    w->Note().SetFolder(folder);
    m_main.SaveNote(w->Index(), false);
    entries.push_back(row.binEntry);
  }
  CRecycleBin::RemoveEntries(FileSystem::Real(), m_main.Store().RecycleBinPath(), entries);
  Fill();
}

void CNoteListWnd::EditFolders() {
  CFolderListDialog dialog(m_main, this);
  CModal::Run(dialog);
  if (dialog.Changed()) AppSettings().WriteInt("Settings", "ListFolder", m_folderItem);
  Fill();
}

void CNoteListWnd::Export() {
  const std::vector<int> rows = SelectedRows();
  if (rows.empty()) {
    CMessageBox::Show(this, Ui(Str::NoNoteSelected));
    return;
  }
  CSettings& s = AppSettings();
  QString filter = Ui(Str::ListFileFilter);
  if (IsBin()) filter = filter.section(QLatin1Char('|'), 2);
  const QString path = CFileDialog::SaveAs(this, filter, FromLocal(s.String("ExportDir")),
                                           IsBin() ? QStringLiteral("notes.txt") : QStringLiteral("notes.qln"));
  if (path.isEmpty()) return;
  s.WriteString("Settings", "ExportDir", ToLocal(QFileInfo(path).absolutePath()));
  IoError err;
  const std::string target = ToLocal(path);
  if (!IsBin() && IsNoteFileName(target)) {
    std::vector<int> notes;
    for (int r : rows) notes.push_back(m_model->RowAt(r).note);
    err = WriteDataFileAtomically(FileSystem::Real(), target, static_cast<int>(notes.size()),
                                  [&](int i) { return m_main.Store().NoteToRecord(notes[static_cast<std::size_t>(i)]); });
    s.WriteInt("Settings", "ExportType", 1);
  } else {
    std::vector<std::string> texts;
    for (int r : rows) {
      const auto& row = m_model->RowAt(r);
      texts.push_back(row.note >= 0 ? m_main.GetNote(row.note)->Text() : row.binText);
    }
    const std::string body = JoinForCopy(texts, s.String("SepExport"));
    auto out = FileSystem::Real().OpenWrite(target, FileSystem::WriteMode::Create, err);
    if (out) {
      if (!out->Write(body.data(), body.size()) || !out->Sync()) err = out->LastError();
      if (!out->Close() && !err) err = out->LastError();
    }
    if (!IsBin()) s.WriteInt("Settings", "ExportType", 2);
  }
  if (err) CMessageBox::Show(this, FromLocal(FormatUIString(LoadUIString(Str::CannotWriteFile), {target, err.message})));
}

void CNoteListWnd::Import() {
  CSettings& s = AppSettings();
  const QString filter = Ui(Str::ListFileFilter).section(QLatin1Char('|'), 0, 1) + QStringLiteral("||");
  const QString path = CFileDialog::OpenExisting(this, filter, FromLocal(s.String("ImportDir")));
  if (path.isEmpty()) return;
  s.WriteString("Settings", "ImportDir", ToLocal(QFileInfo(path).absolutePath()));
  m_main.LoadNotes(path);
  Fill();
}

void CNoteListWnd::RestoreFromBackup() {
  const QString filter = Ui(Str::ListFileFilter).section(QLatin1Char('|'), 0, 1) + QStringLiteral("||");
  const QString path = CFileDialog::OpenExisting(this, filter, FromLocal(BackupFolderOf(m_main.Store().DataPath())));
  if (path.isEmpty()) return;
  // The notes that are here still are not added twice.
  m_main.LoadNotes(path, true);
  Fill();
}

void CNoteListWnd::done(int r) {
  CSettings& s = AppSettings();
  s.WriteInt("Settings", "ListPosLeft", m_folders->width());
  s.WriteInt("Settings", "ListPosTop", m_caption->height());
  s.WriteInt("Settings", "ListFolder", m_folderItem);
  s.WriteInt("Settings", "ListSortCol", m_table->horizontalHeader()->sortIndicatorSection());
  s.WriteInt("Settings", "ListSortAsc", m_table->horizontalHeader()->sortIndicatorOrder() == Qt::AscendingOrder);
  s.WriteInt("Settings", "ListTool", m_toolBar->isVisible());
  s.WriteInt("Settings", "ListStatus", m_status->isVisible());
  s.WriteInt("Settings", "ListColumns", static_cast<int64_t>(m_columns));
  if (m_view != kViewSearch) s.WriteInt("Settings", "ListView", m_view);
  s.WriteInt("Settings", "ListViewNote", m_model->DrawModeValue());
  s.WriteString("Settings", "NoteList", ToLocal(ColumnLayout()));
  // The normal rectangle, where the platform's 44-byte placement keeps it.
  std::vector<unsigned char> placement(44, 0);
  auto put = [&](int off, int v) {
    for (int i = 0; i < 4; ++i) placement[static_cast<std::size_t>(off + i)] = static_cast<unsigned char>((static_cast<unsigned>(v) >> (8 * i)) & 0xFF);
  };
  put(0, 44);
  put(8, isMaximized() ? 3 : 1);
  // The window manager places a window by its frame's corner, and sizes it
  // by its inside: so the record keeps the frame's corner and the inside's
  // size, and the window opens where it was instead of creeping by its frame.
  const QRect inside = normalGeometry().isValid() ? normalGeometry() : geometry();
  const QPoint corner = isMaximized() ? inside.topLeft() : FrameCorner(this);
  put(28, corner.x());
  put(32, corner.y());
  put(36, corner.x() + inside.width());
  put(40, corner.y() + inside.height());
  s.WriteBytes("Settings", "WndList", placement);
  m_main.ClearSelection();
  QDialog::done(r);
}

}  // namespace quillet
