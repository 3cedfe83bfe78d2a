#include "notelist/CFolderListDialog.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "controls/DialogParts.h"
#include "common/Text.h"
#include "controls/CMessageBox.h"
#include "desk/IDesk.h"
#include "app/Ids.h"
#include "controls/UiText.h"

namespace quillet {

namespace {
constexpr int kOldName = Qt::UserRole;
}  // namespace

CFolderListDialog::CFolderListDialog(INoteShelf& main, QWidget* parent) : QDialog(parent), m_main(main) {
  setWindowTitle(Ui(Str::QuilletFolderList));
  list = new QListWidget(this);
  list->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
  add = new QPushButton(Ui(Str::FolderListNew), this);
  remove = new QPushButton(Ui(Str::FolderListDelete), this);
  rename = new QPushButton(Ui(Str::FolderListRename), this);
  up = new QPushButton(Ui(Str::FolderListMoveUp), this);
  down = new QPushButton(Ui(Str::FolderListMoveDown), this);
  auto* close = new QPushButton(Ui(Str::CloseButton), this);
  auto* grid = new QGridLayout(this);
  grid->addWidget(list, 0, 0, 7, 1);
  int row = 0;
  for (QPushButton* b : {add, remove, rename, up, down, close}) grid->addWidget(b, row++, 1);
  for (const std::string& f : main.FolderList()) {
    auto* item = new QListWidgetItem(FromLocal(f), list);
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    item->setData(kOldName, item->text());
  }
  if (list->count() > 0) list->setCurrentRow(0);
  connect(add, &QPushButton::clicked, this, &CFolderListDialog::New);
  connect(remove, &QPushButton::clicked, this, &CFolderListDialog::Delete);
  connect(rename, &QPushButton::clicked, this, [this] {
    if (QListWidgetItem* item = list->currentItem()) list->editItem(item);
  });
  connect(up, &QPushButton::clicked, this, [this] { Move(-1); });
  connect(down, &QPushButton::clicked, this, [this] { Move(1); });
  connect(close, &QPushButton::clicked, this, &CFolderListDialog::accept);
  connect(list, &QListWidget::currentRowChanged, this, [this] { UpdateButtons(); });
  connect(list, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) { Rename(item, item->text()); });
  UpdateButtons();
}

void CFolderListDialog::UpdateButtons() {
  const int row = list->currentRow();
  remove->setEnabled(row >= 0);
  rename->setEnabled(row >= 0);
  up->setEnabled(row > 0);
  down->setEnabled(row >= 0 && row < list->count() - 1);
}

void CFolderListDialog::New() {
  auto* item = new QListWidgetItem(list);
  item->setFlags(item->flags() | Qt::ItemIsEditable);
  {
    const QSignalBlocker block(list);
    item->setText(Ui(Str::NewFolder));
    item->setData(kOldName, QString());
  }
  list->setCurrentItem(item);
  list->scrollToItem(item);
  m_changed = true;
  list->editItem(item);
}

void CFolderListDialog::Rename(QListWidgetItem* item, const QString& typed) {
  const QString old = item->data(kOldName).toString();
  const std::string name = HoldToWidth(Trim(ToLocal(typed)), 62);
  const QSignalBlocker block(list);
  if (name.empty()) {
    item->setText(old.isEmpty() ? Ui(Str::NewFolder) : old);  // an empty name is refused
    return;
  }
  item->setText(FromLocal(name));
  if (old == item->text()) return;
  if (!old.isEmpty()) {
    const std::string oldName = ToLocal(old);
    for (int i = 0; i < m_main.NoteCount(); ++i) {
      CNote* n = m_main.GetNote(i);
      if (!n->Folder().empty() && EqualsNoCase(n->Folder(), oldName)) {
        n->SetFolder(name);
        m_main.SaveNote(i, false);
      }
    }
  }
  item->setData(kOldName, item->text());
  m_changed = true;
}

void CFolderListDialog::Delete() {
  const int row = list->currentRow();
  if (row < 0) return;
  if (CMessageBox::Show(this, Ui(Str::AskDeleteFolder), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::Question) !=
      QMessageBox::Yes)
    return;
  const std::string name = ToLocal(list->item(row)->text());
  for (int i = 0; i < m_main.NoteCount(); ++i) {
    CNote* n = m_main.GetNote(i);
    if (!n->Folder().empty() && EqualsNoCase(n->Folder(), name)) {
      n->SetFolder("");
      m_main.SaveNote(i, false);
    }
  }
  delete list->takeItem(row);
  m_changed = true;
  if (list->count() > 0) list->setCurrentRow(std::min(row, list->count() - 1));
  UpdateButtons();
}

void CFolderListDialog::Move(int by) {
  if (!MoveCurrentItem(list, by)) return;
  m_changed = true;
  UpdateButtons();
}

void CFolderListDialog::accept() {
  if (m_changed) {
    std::vector<std::string> names;
    for (int i = 0; i < list->count(); ++i) names.push_back(ToLocal(list->item(i)->text()));
    AppSettings().WriteStringList("Folder", names);
  }
  m_main.NotifyNotesChanged();
  QDialog::accept();
}

}  // namespace quillet
