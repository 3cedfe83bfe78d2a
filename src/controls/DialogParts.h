#pragma once
class QDialog;
class QDialogButtonBox;
class QListWidget;

namespace quillet {

// OK and Cancel with the program's texts, wired to the dialog's accept and reject.
QDialogButtonBox* MakeOkCancel(QDialog* dialog);
// Moves the current entry of a list up (by -1) or down (by 1), keeping it current.
bool MoveCurrentItem(QListWidget* list, int by);

}  // namespace quillet
