#include "controls/DialogParts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>

#include "app/Paths.h"
#include "app/UIStrings.h"
#include "controls/CMessageBox.h"

namespace quillet {

QDialogButtonBox* MakeOkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(FromLocal(LoadUIString(30900)));
  buttons->button(QDialogButtonBox::Cancel)->setText(FromLocal(LoadUIString(30901)));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

bool MoveCurrentItem(QListWidget* list, int by) {
  const int row = list->currentRow();
  const int target = row + by;
  if (row < 0 || target < 0 || target >= list->count()) return false;
  const QSignalBlocker block(list);
  QListWidgetItem* item = list->takeItem(row);
  list->insertItem(target, item);
  list->setCurrentRow(target);
  list->scrollToItem(item);
  return true;
}

bool ShowRefusal(QWidget* parent, int messageId) {
  if (!messageId) return false;
  CMessageBox::Show(parent, FromLocal(LoadUIString(messageId)));
  return true;
}

}  // namespace quillet
