#pragma once
#include <QDialog>

#include "notes/Note.h"

namespace quillet {

// The box that shows a note whose alarm fired. It can only be left through
// one of its buttons: Close, Remind in N minutes, Change Alarm.
class CAlarmBox : public QDialog {
  Q_OBJECT
 public:
  enum Result { kClose = 1000, kRemind = 1001, kChangeAlarm = 1002 };
  CAlarmBox(const CNote& note, int remindMinutes, QWidget* parent = nullptr);

  // The narrowest text width (found by halving) that keeps the height the
  // text needs at half the screen width.
  static int TextWidth(const std::function<int(int)>& heightAt, int screenWidth);

 protected:
  void reject() override {}
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
};

}  // namespace quillet
