#pragma once
#include <QDialog>
#include <functional>

namespace quillet {

// Runs every modal dialog of the program, so that tests can answer them: a
// handler set here gets the dialog instead of the user.
class CModal {
 public:
  using Handler = std::function<int(QDialog&)>;
  static int Run(QDialog& dialog);
  // Shows a dialog without waiting for it, on top; `done` gets its result
  // when it closes, and the dialog deletes itself. A handler answers it at once.
  static void Open(QDialog* dialog, std::function<void(int)> done);
  // Answers the next dialog (once); several wait in turn.
  static void SetNextHandler(Handler handler);
  static void ClearHandlers();
  static int PendingHandlers();
};

}  // namespace quillet
