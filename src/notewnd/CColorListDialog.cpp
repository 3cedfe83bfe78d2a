#include "notewnd/CColorListDialog.h"

#include <QColorDialog>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>

#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "controls/CMessageBox.h"
#include "notewnd/CNoteWnd.h"
#include "notewnd/Layout.h"
#include "app/Ids.h"
#include "controls/UiText.h"

namespace quillet {

namespace {
QIcon Swatch(ColorRef c) {
  QPixmap pm(48, 16);
  pm.fill(ToQColor(c));
  return QIcon(pm);
}
}  // namespace

CColorListDialog::CColorListDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(Ui(Str::QuilletColorList));
  list = new QListWidget(this);
  list->setIconSize(QSize(48, 16));
  auto* change = new QPushButton(Ui(Str::ColorListChange), this);
  auto* add = new QPushButton(Ui(Str::ColorListAdd), this);
  auto* del = new QPushButton(Ui(Str::ColorListDelete), this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  buttons->button(QDialogButtonBox::Ok)->setText(Ui(Str::Ok));
  buttons->button(QDialogButtonBox::Cancel)->setText(Ui(Str::Cancel));
  auto* grid = new QGridLayout(this);
  grid->addWidget(list, 0, 0, 4, 1);
  grid->addWidget(change, 0, 1);
  grid->addWidget(add, 1, 1);
  grid->addWidget(del, 2, 1);
  grid->addWidget(buttons, 4, 0, 1, 2);
  for (ColorRef c : ReadColorList(AppSettings())) AddColor(c);
  if (list->count() > 0) list->setCurrentRow(0);
  connect(change, &QPushButton::clicked, this, [this] {
    if (list->currentRow() < 0) return;
    const QColor c = QColorDialog::getColor(ToQColor(list->currentItem()->data(Qt::UserRole).toUInt()), this);
    if (c.isValid()) SetColor(list->currentRow(), FromQColor(c));
  });
  connect(add, &QPushButton::clicked, this, [this] {
    const QColor c = QColorDialog::getColor(Qt::white, this);
    if (c.isValid()) AddColor(FromQColor(c));
  });
  connect(del, &QPushButton::clicked, this, &CColorListDialog::DeleteSelected);
  connect(buttons, &QDialogButtonBox::accepted, this, &CColorListDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &CColorListDialog::reject);
}

void CColorListDialog::AddColor(ColorRef c) {
  auto* item = new QListWidgetItem(Swatch(c), QString(), list);
  item->setData(Qt::UserRole, static_cast<uint>(c));
  list->setCurrentItem(item);
}

void CColorListDialog::SetColor(int row, ColorRef c) {
  if (QListWidgetItem* item = list->item(row)) {
    item->setIcon(Swatch(c));
    item->setData(Qt::UserRole, static_cast<uint>(c));
  }
}

void CColorListDialog::DeleteSelected() {
  const int row = list->currentRow();
  if (row < 0) return;
  delete list->takeItem(row);
  if (list->count() > 0) list->setCurrentRow(std::min(row, list->count() - 1));
}

std::vector<ColorRef> CColorListDialog::Colors() const {
  std::vector<ColorRef> colors;
  for (int i = 0; i < list->count(); ++i) colors.push_back(list->item(i)->data(Qt::UserRole).toUInt());
  return colors;
}

void CColorListDialog::accept() {
  if (list->count() < 2) {
    CMessageBox::Show(this, Ui(Str::ColorListTooShort));
    return;
  }
  WriteColorList(AppSettings(), Colors());
  QDialog::accept();
}

}  // namespace quillet
