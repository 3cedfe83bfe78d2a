#pragma once
#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <optional>

namespace quillet {

// Every message box of the program goes through here, so that tests can
// answer them and a session without a user is never held up by one.
class CMessageBox {
 public:
  // Shows the text with the program's name as caption; returns the button pressed.
  static QMessageBox::StandardButton Show(QWidget* parent, const QString& text,
                                          QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                          QMessageBox::StandardButton defaultButton = QMessageBox::NoButton,
                                          QMessageBox::Icon icon = QMessageBox::Warning);

  // The next box is answered with this button without being shown.
  static void SetNextAnswer(QMessageBox::StandardButton answer);
  // With this set, no box is shown: each text is logged and answered with
  // its default button (QUILLET_NONINTERACTIVE=1 does the same).
  static void SetNonInteractive(bool on);
  static bool IsNonInteractive();

  // Once the program ends no box is shown any more: each is answered with
  // its default button, so that nothing holds the end of a session up.
  static void SetEnding();
  static bool IsEnding();

  // The texts of every box asked for so far.
  static const QStringList& Shown();
  static void ClearShown();
};

}  // namespace quillet
