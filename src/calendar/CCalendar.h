#pragma once
#include <QWidget>

#include "notewnd/NoteGeometry.h"

class QCalendarWidget;
class QMenu;

namespace quillet {

class CMainWindow;

// A month calendar standing on the desktop like a note: no caption, moved
// by its top strip and resized by its borders, with week numbers, today
// marked, its own font and colours, and a menu to go to today, copy the
// selected date and stay on top.
class CCalendar : public QWidget {
  Q_OBJECT
 public:
  explicit CCalendar(CMainWindow& main);
  void ApplySettings();
  void Place();  // topmost or at the bottom, and shown or hidden, as the state says
  bool OnTop() const { return m_onTop; }
  void SetOnTop(bool on);
  void BuildMenu(QMenu& menu);
  void Command(int id);
  QCalendarWidget* Widget() const { return m_calendar; }
  static QString DateText(const QDate& date, bool longForm);

 protected:
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void paintEvent(QPaintEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  int EdgesAt(const QPoint& p) const;
  CMainWindow& m_main;
  QCalendarWidget* m_calendar;
  int m_dragEdges = 0;
  Rect4 m_dragRect{};
  QPoint m_dragPoint;
  bool m_moved = false;
  bool m_onTop = false;
};

// The calendar options of the settings (week numbers, today) on a date picker's calendar.
void ApplyCalendarOptions(QCalendarWidget& calendar);

}  // namespace quillet
