#pragma once
class QDialog;
class QDialogButtonBox;
class QListWidget;
class QWidget;

namespace quillet {

// OK and Cancel with the program's texts, wired to the dialog's accept and reject.
QDialogButtonBox* MakeOkCancel(QDialog* dialog);
// OK, Cancel and Help; Help opens the program's help and leaves the dialog as it is.
QDialogButtonBox* MakeOkCancelHelp(QDialog* dialog);
// Opens the program's help in the desktop's browser, or says why it cannot.
void OpenHelp(QWidget* parent);
// Moves the current entry of a list up (by -1) or down (by 1), keeping it current.
bool MoveCurrentItem(QListWidget* list, int by);
// Tells why an entry was refused (a message id, 0 for none); true when it was, so the dialog stays open.
bool ShowRefusal(QWidget* parent, int messageId);

}  // namespace quillet
