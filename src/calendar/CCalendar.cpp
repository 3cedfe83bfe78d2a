#include "calendar/CCalendar.h"

#include <QApplication>
#include <optional>
#include <QCalendarWidget>
#include <QClipboard>
#include <QCloseEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTableView>
#include <QTextCharFormat>
#include <QVBoxLayout>

#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "common/DateFormat.h"
#include "controls/Platform.h"
#include "controls/QtDateNames.h"
#include "desk/IDesk.h"
#include "notewnd/Layout.h"
#include "notewnd/CNoteWnd.h"
#include "notewnd/NoteMeasure.h"
#include "app/Ids.h"

namespace quillet {

namespace {
constexpr int kBorder = 5;
constexpr int kGrip = 8;  // the strip along the top that moves the calendar
}  // namespace

void ApplyCalendarOptions(QCalendarWidget& cal) {
  const CSettings& s = AppSettings();
  cal.setVerticalHeaderFormat(s.Flag("CalWeek") ? QCalendarWidget::ISOWeekNumbers : QCalendarWidget::NoVerticalHeader);
  QTextCharFormat today;
  if (s.Flag("CalToday")) today.setFontWeight(QFont::Bold);
  if (s.Flag("CalCircle")) today.setForeground(QColor(0xC0, 0x00, 0x00));
  cal.setDateTextFormat(QDate::currentDate(), today);
}

QString CCalendar::DateText(const QDate& date, bool longForm) {
  DateParts p;
  DateTime::FromParts(date.year(), date.month(), date.day()).ToParts(p);
  return FromLocal(ExpandDateFormat(longForm ? "%#x" : "%x", p, CQtDateNames()));
}

CCalendar::CCalendar(IDesk& main)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), m_main(main) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setMouseTracking(true);
  m_calendar = new QCalendarWidget(this);
  m_calendar->setContextMenuPolicy(Qt::CustomContextMenu);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kBorder, kBorder + kGrip, kBorder, kBorder);
  layout->addWidget(m_calendar);
  // Dragging may make it as small as a note can get; the months are cut then.
  layout->setSizeConstraint(QLayout::SetNoConstraint);
  m_calendar->setMinimumSize(0, 0);
  // The title's background, the day names and the week numbers move it too.
  m_navigation = m_calendar->findChild<QWidget*>(QStringLiteral("qt_calendar_navigationbar"));
  m_view = m_calendar->findChild<QTableView*>(QStringLiteral("qt_calendar_calendarview"));
  if (m_navigation) m_navigation->installEventFilter(this);
  if (m_view) m_view->viewport()->installEventFilter(this);
  setMinimumSize(kMinDragSize, kMinDragSize);
  connect(m_calendar, &QCalendarWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
    if (!m_main.HasFlag(IDesk::kIdle) || m_main.HasFlag(IDesk::kReadOnly)) return;
    QMenu menu;
    BuildMenu(menu);
    QAction* chosen = nullptr;
    {
      CBusyGuard busy(m_main);
      chosen = menu.exec(m_calendar->mapToGlobal(pos));
    }
    if (chosen && chosen->data().isValid()) Command(chosen->data().toInt());
  });
  ApplySettings();
}

void CCalendar::ApplySettings() {
  const CSettings& s = AppSettings();
  m_onTop = s.Flag("CalOnTop");
  ApplyCalendarOptions(*m_calendar);
  const CalendarLayout layout = ReadCalendarLayout(s);
  if (layout.font) m_calendar->setFont(FontFromLogFont(*layout.font));
  // A colour never set keeps the desktop's own.
  auto colour = [&](int i) -> std::optional<QColor> {
    const auto& c = layout.colors[static_cast<std::size_t>(i)];
    return c ? std::optional<QColor>(ToQColor(*c)) : std::nullopt;
  };
  QPalette pal = QApplication::palette();
  if (auto c = colour(0)) pal.setColor(QPalette::Window, *c);
  if (auto c = colour(1)) pal.setColor(QPalette::Base, *c);
  if (auto c = colour(2)) pal.setColor(QPalette::Text, *c);
  // Days of the neighbouring months: Qt draws them in the disabled text colour.
  if (auto c = colour(3)) pal.setColor(QPalette::Disabled, QPalette::Text, *c);
  setPalette(pal);
  m_calendar->setPalette(pal);
  QString title;
  if (auto c = colour(4)) title += QStringLiteral("background: %1;").arg(c->name());
  if (auto c = colour(5)) title += QStringLiteral("color: %1;").arg(c->name());
  m_calendar->setStyleSheet(title.isEmpty() ? QString()
                                            : QStringLiteral("#qt_calendar_navigationbar, #qt_calendar_navigationbar QToolButton { %1 }").arg(title));
  const int w = s.Int("CalWidth"), h = s.Int("CalHeight");
  const QSize natural = m_calendar->sizeHint() + QSize(2 * kBorder, 2 * kBorder + kGrip);
  setGeometry(s.Int("CalLeft"), s.Int("CalTop"), w > 0 && h > 0 ? w : natural.width(), w > 0 && h > 0 ? h : natural.height());
  const TransparencySpec t = DecodeTransparency(layout.transparency);
  setWindowOpacity(m_main.HasFlag(IDesk::kLayeredAvailable) && t.alpha ? t.opacity / 255.0 : 1.0);
}

void CCalendar::Place() {
  const bool top = m_onTop || m_main.HasFlag(IDesk::kAlwaysOnTop);
  if (top != windowFlags().testFlag(Qt::WindowStaysOnTopHint)) setWindowFlag(Qt::WindowStaysOnTopHint, top);
  if (!m_main.HasFlag(IDesk::kCalendarShown)) return hide();
  if (!m_placed) PlaceFirstTime();
  show();
  if (!top) lower();
}

void CCalendar::PlaceFirstTime() {
  m_placed = true;
  const CSettings& s = AppSettings();
  if (s.Store().RawInt("Settings", "CalLeft") || s.Store().RawInt("Settings", "CalTop")) return;
  // Never placed by the user: where no note is, when the screen has room.
  const QRect area = WorkArea();
  const auto free = FreePlace({area.left(), area.top(), area.right() + 1, area.bottom() + 1}, width(), height(),
                              m_main.VisibleNoteRects());
  if (!free) return;
  move(free->left, free->top);
  SavePlace();
}

void CCalendar::SetOnTop(bool on) {
  m_onTop = on;
  AppSettings().WriteInt("Settings", "CalOnTop", on ? 1 : 0);
  Place();
}

void CCalendar::BuildMenu(QMenu& menu) {
  QAction* today = menu.addAction(FromLocal(LoadUIString(Cmd::GoToToday)));
  today->setData(Cmd::GoToToday);
  const QDate selected = m_calendar->selectedDate();
  if (selected.isValid()) {
    QMenu* copy = menu.addMenu(FromLocal(LoadUIString(Cmd::CalendarCopy)));
    for (int id : {Str::DateCodeDateShort, Str::DateCodeDateLong}) {
      std::string label = LoadUIString(id);
      label = label.substr(std::min(label.size(), label.find(' ')));
      label.erase(0, label.find_first_not_of(' '));
      label = label.substr(0, label.find('\t'));
      QAction* a = copy->addAction(FromLocal(label) + QLatin1Char('\t') + DateText(selected, id == Str::DateCodeDateLong));
      a->setData(id);
    }
    menu.addSeparator();
  }
  QAction* top = menu.addAction(FromLocal(LoadUIString(Cmd::CalendarOnTop)));
  top->setData(Cmd::CalendarOnTop);
  top->setCheckable(true);
  top->setChecked(m_onTop);
}

void CCalendar::Command(int id) {
  switch (id) {
    case Cmd::GoToToday: m_calendar->showToday(); m_calendar->setSelectedDate(QDate::currentDate()); break;
    case Cmd::CalendarOnTop: SetOnTop(!m_onTop); break;
    case Str::DateCodeDateShort:
    case Str::DateCodeDateLong:
      if (m_calendar->selectedDate().isValid())
        QApplication::clipboard()->setText(DateText(m_calendar->selectedDate(), id == Str::DateCodeDateLong));
      break;
    default: break;
  }
}

int CCalendar::EdgesAt(const QPoint& p) const {
  const int edges = DragEdgesAt(p.x(), p.y(), width(), height());
  if (edges != kMoveWhole) return edges;
  return p.y() < kBorder + kGrip ? kMoveWhole : 0;
}

bool CCalendar::MovesWindow(QObject* part, const QPoint& p) const {
  if (part == m_navigation) return !m_navigation->childAt(p);  // the title's background, not its buttons
  if (part != m_view->viewport()) return false;
  const QModelIndex at = m_view->indexAt(p);
  if (!at.isValid()) return true;
  // The day-name row and the week-number column, when shown, come first.
  return (m_calendar->horizontalHeaderFormat() != QCalendarWidget::NoHorizontalHeader && at.row() == 0) ||
         (m_calendar->verticalHeaderFormat() != QCalendarWidget::NoVerticalHeader && at.column() == 0);
}

bool CCalendar::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if ((watched != m_navigation && (!m_view || watched != m_view->viewport())) ||
      (type != QEvent::MouseButtonPress && type != QEvent::MouseMove && type != QEvent::MouseButtonRelease))
    return QWidget::eventFilter(watched, event);
  auto* e = static_cast<QMouseEvent*>(event);
  const QPoint global = e->globalPosition().toPoint();
  if (type == QEvent::MouseButtonPress) {
    if (e->button() != Qt::LeftButton || !MovesWindow(watched, e->position().toPoint())) return false;
    return BeginDrag(kMoveWhole, global);
  }
  if (!m_dragEdges) return false;
  DragTo(global);
  if (type == QEvent::MouseButtonRelease) EndDrag();
  return true;
}

bool CCalendar::BeginDrag(int edges, const QPoint& global) {
  if (!edges || !m_main.HasFlag(IDesk::kIdle) || m_main.HasFlag(IDesk::kReadOnly)) return false;
  m_dragEdges = edges;
  const QRect g = geometry();
  m_dragRect = {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
  m_dragPoint = global;
  m_moved = false;
  return true;
}

void CCalendar::DragTo(const QPoint& p) {
  if (p != m_dragPoint) m_moved = true;
  if (!m_moved) return;
  m_dragRect = DragRect(m_dragRect, m_dragEdges, p.x() - m_dragPoint.x(), p.y() - m_dragPoint.y());
  setGeometry(m_dragRect.left, m_dragRect.top, m_dragRect.right - m_dragRect.left, m_dragRect.bottom - m_dragRect.top);
  m_dragPoint = p;
}

void CCalendar::EndDrag() {
  m_dragEdges = 0;
  SavePlace();
}

void CCalendar::SavePlace() {
  CSettings& s = AppSettings();
  s.WriteInt("Settings", "CalLeft", x());
  s.WriteInt("Settings", "CalTop", y());
  s.WriteInt("Settings", "CalWidth", width());
  s.WriteInt("Settings", "CalHeight", height());
}

void CCalendar::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) BeginDrag(EdgesAt(e->position().toPoint()), e->globalPosition().toPoint());
}

void CCalendar::mouseMoveEvent(QMouseEvent* e) {
  if (!m_dragEdges) return setCursor(CursorForEdges(EdgesAt(e->position().toPoint())));
  DragTo(e->globalPosition().toPoint());
}

void CCalendar::mouseReleaseEvent(QMouseEvent* e) {
  if (!m_dragEdges) return;
  DragTo(e->globalPosition().toPoint());
  EndDrag();
}

void CCalendar::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), palette().color(QPalette::Window).darker(115));
  p.fillRect(QRect(kBorder, kBorder, width() - 2 * kBorder, kGrip - 2), palette().color(QPalette::Mid));
}

void CCalendar::closeEvent(QCloseEvent* e) { e->ignore(); }

}  // namespace quillet
