#include "controls/DialogParts.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileInfo>
#include <QIcon>
#include <QUrl>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>

#include "app/Paths.h"
#include "app/UIStrings.h"
#include "controls/CMessageBox.h"
#include "app/Ids.h"

namespace quillet {

QDialogButtonBox* MakeOkCancel(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  buttons->button(QDialogButtonBox::Ok)->setText(FromLocal(LoadUIString(Str::Ok)));
  buttons->button(QDialogButtonBox::Cancel)->setText(FromLocal(LoadUIString(Str::Cancel)));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

QDialogButtonBox* MakeOkCancelHelp(QDialog* dialog) {
  QDialogButtonBox* buttons = MakeOkCancel(dialog);
  QPushButton* help = buttons->addButton(QDialogButtonBox::Help);
  help->setText(FromLocal(LoadUIString(Cmd::Help)).remove(QLatin1Char('&')));
  help->setAutoDefault(false);
  help->setIcon(QIcon());  // the style offers none of its own, and a stand-in misleads
  QObject::connect(buttons, &QDialogButtonBox::helpRequested, dialog, [dialog] { OpenHelp(dialog); });
  return buttons;
}

void OpenHelp(QWidget* parent) {
  const QString dir = QApplication::applicationDirPath();
  for (const QString& path : {dir + QStringLiteral("/help/Overview.htm"), dir + QStringLiteral("/../share/quillet/help/Overview.htm")}) {
    if (!QFileInfo::exists(path)) continue;
    if (QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath()))) return;
    break;
  }
  CMessageBox::Show(parent, FromLocal(FormatUIString(LoadUIString(Str::CannotOpen), {"Overview.htm"})));
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
