#pragma once
#include <QWidget>

#include "notewnd/NoteGeometry.h"

class QCalendarWidget;
class QMenu;
class QTableView;

namespace quillet {

class IDesk;

// A month calendar standing on the desktop like a note: no caption, moved by
// its top strip, its title, day names and week numbers, resized by its
// borders, with week numbers, today marked, its own font and colours, and a
// menu to go to today, copy the selected date and stay on top.
class CCalendar : public QWidget {
  Q_OBJECT
 public:
  explicit CCalendar(IDesk& main);
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
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int EdgesAt(const QPoint& p) const;
  // True when a press at p on a part of the month control moves the window.
  bool MovesWindow(QObject* part, const QPoint& p) const;
  bool BeginDrag(int edges, const QPoint& global);
  void DragTo(const QPoint& global);
  void EndDrag();
  void SavePlace();
  void PlaceFirstTime();
  QWidget* m_navigation = nullptr;
  QTableView* m_view = nullptr;
  bool m_placed = false;
  IDesk& m_main;
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
