#include "notewnd/CNoteWnd.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QKeyEvent>
#include <QPainter>
#include <QPolygon>
#include <QStyle>
#include <QStyleOptionFocusRect>

#include "app/Paths.h"
#include "controls/Platform.h"
#include "desk/IDesk.h"
#include "notewnd/NoteMeasure.h"
#include "app/Ids.h"

namespace quillet {

QColor ToQColor(ColorRef c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
ColorRef FromQColor(const QColor& c) {
  return static_cast<ColorRef>(c.red()) | (static_cast<ColorRef>(c.green()) << 8) |
         (static_cast<ColorRef>(c.blue()) << 16);
}

CNoteWnd::CNoteWnd(INoteHost& main, CNote& note)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), m_main(main), m_note(note) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMouseTracking(true);
  setFocusPolicy(Qt::ClickFocus);
  if (!main.HasFlag(IDesk::kShadow)) setWindowFlag(Qt::NoDropShadowWindowHint, true);
  m_showFullWatch.setInterval(50);
  connect(&m_showFullWatch, &QTimer::timeout, this, &CNoteWnd::CheckShowFullEnd);
  connect(&m_flashTimer, &QTimer::timeout, this, [this] {
    m_flashInverted = !m_flashInverted;
    update();
  });
  UpdateFromNote();
  ApplyZOrder(false);
}

CNoteWnd::~CNoteWnd() = default;

void CNoteWnd::StartFlash(int intervalMs) {
  if (m_flashTimer.isActive()) return;
  m_flashTimer.start(intervalMs);
}

void CNoteWnd::StopFlashTimer() {
  m_flashTimer.stop();
  m_flashInverted = false;
  update();
}

void CNoteWnd::Detach() {
  m_detached = true;
  m_flashTimer.stop();
  m_showFullWatch.stop();
  hide();
}

void CNoteWnd::UpdateFromNote() {
  setGeometry(m_note.Rect.left, m_note.Rect.top, std::max(1, m_note.Rect.width), std::max(1, m_note.Rect.height));
  SetTransparency(m_note.Transparency);
  UpdateTitle();
  update();
}

void CNoteWnd::UpdateTitle() {
  // Only a carriage return after the first character ends the first line.
  const std::string& text = m_note.Text();
  const auto cr = text.find('\r');
  const QString first = FromLocal(cr != std::string::npos && cr >= 1 ? text.substr(0, cr) : text);
  // A screen reader gets the text the note paints.
  setAccessibleName(first);
  setAccessibleDescription(DisplayText(text).replace(QChar::LineSeparator, QLatin1Char('\n')));
  if (!m_main.HasFlag(IDesk::kWindowTitles)) return;
  setWindowTitle(QStringLiteral("Quillet%1 - %2").arg(m_note.Index, 4, 10, QLatin1Char('0')).arg(first.left(30)));
}

void CNoteWnd::SetText(const std::string& text) {
  m_note.SetText(text);
  UpdateTitle();
  update();
}

void CNoteWnd::SetSelected(bool on) {
  if (IsSelected() == on) return;
  m_note.SetFlag(kFlagSelected, on);
  update();
}

void CNoteWnd::SetNoteGeometry(const QRect& r) {
  m_note.Rect = {r.x(), r.y(), r.width(), r.height()};
  setGeometry(r);
  update();
}

QSize CNoteWnd::FitToText(bool firstLineOnly) {
  const QSize s = ComputeNoteSize(m_note, nullptr, firstLineOnly, 0, m_main.TabStops(), m_main.HasFlag(IDesk::kTooSmall));
  SetNoteGeometry(QRect(geometry().topLeft(), s));
  m_main.SaveNote(m_note.Index, false);
  return s;
}

bool CNoteWnd::IsMinimized() const {
  const int tab = m_main.TabStops();
  const bool tooSmall = m_main.HasFlag(IDesk::kTooSmall);
  const QSize full = ComputeNoteSize(m_note, nullptr, false, width(), tab, tooSmall);
  if (full.height() <= height()) return false;
  return height() == ComputeNoteSize(m_note, nullptr, true, 0, tab, tooSmall).height();
}

void CNoteWnd::SetTransparency(int value) {
  m_note.Transparency = value;
  const TransparencySpec t = DecodeTransparency(value);
  const bool canBlend = m_main.HasFlag(IDesk::kLayeredAvailable);
  const qreal opacity = canBlend && t.alpha ? t.opacity / 255.0 : 1.0;
  if (!qFuzzyCompare(windowOpacity(), opacity)) setWindowOpacity(opacity);
  // A colour key needs per-pixel transparency, which only a compositor shows.
  const bool translucent = canBlend && t.keyIndex >= 0;
  if (translucent != m_translucent) {
    m_translucent = translucent;
    const bool wasVisible = isVisible();
    if (wasVisible) hide();
    setAttribute(Qt::WA_TranslucentBackground, translucent);
    setAttribute(Qt::WA_OpaquePaintEvent, !translucent);
    if (wasVisible) show();
  }
  update();
}

bool CNoteWnd::IsTopmost() const { return m_topmost; }

void CNoteWnd::ApplyZOrder(bool lowerIfNotTop) {
  const bool top = m_note.OnTop() || m_main.HasFlag(IDesk::kAlwaysOnTop);
  if (top != m_topmost) {
    m_topmost = top;
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, top);
    if (wasVisible) show();
  }
  if (!top && lowerIfNotTop && isVisible()) lower();
}

QImage CNoteWnd::Render(qreal pixelRatio) {
  // At the screen's pixel ratio, so text stays sharp on a high-density screen.
  QImage img(size() * pixelRatio, QImage::Format_ARGB32_Premultiplied);
  img.setDevicePixelRatio(pixelRatio);
  img.fill(Qt::transparent);
  QPainter p(&img);
  PaintInto(p, size());
  p.end();
  const TransparencySpec t = DecodeTransparency(m_note.Transparency);
  if (m_translucent && t.keyIndex >= 0) {
    const EffectiveColors c = EffectiveColorsOf(m_note, m_main.DesktopColor());
    const ColorRef keys[3] = {c.text, c.back, c.border};
    const QRgb key = ToQColor(keys[t.keyIndex]).rgb();
    for (int y = 0; y < img.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(img.scanLine(y));
      for (int x = 0; x < img.width(); ++x)
        if ((line[x] | 0xFF000000u) == key) line[x] = 0;
    }
  }
  return img;
}

void CNoteWnd::PaintInto(QPainter& p, const QSize& size) {
  const EffectiveColors c = EffectiveColorsOf(m_note, m_main.DesktopColor());
  const int tab = m_main.TabStops();
  const bool tooSmall = m_main.HasFlag(IDesk::kTooSmall);
  const QSize full = ComputeNoteSize(m_note, nullptr, false, size.width(), tab, tooSmall);
  m_runtime = full.height() > size.height() ? (m_runtime | kOverflow) : (m_runtime & ~kOverflow);

  const QRect all(QPoint(0, 0), size);
  p.fillRect(all, ToQColor(c.back));
  p.setPen(ToQColor(c.border));
  p.drawRect(all.adjusted(0, 0, -1, -1));

  const QRect inset = all.adjusted(kEdgeX, kEdgeY, -kEdgeX, -kEdgeY);
  p.setPen(ToQColor(c.text));
  DrawText(p, inset, TextStyle{FontFromLogFont(m_note.Font), m_note.Align, tab}, DisplayText(m_note.Text()));

  if ((m_runtime & kOverflow) && tooSmall) {
    const int r = inset.right() + 1, b = inset.bottom() + 1;
    p.fillRect(QRect(QPoint(r - 11, b - 10), QPoint(r - 1, b - 1)), ToQColor(c.back));
    p.setBrush(ToQColor(c.text));
    for (const auto& t : OverflowTriangles(r, b)) p.drawPolygon(QPolygon({QPoint(t[0], t[1]), QPoint(t[2], t[3]), QPoint(t[4], t[5])}));
    p.setBrush(Qt::NoBrush);
  }
  if (IsSelected() && m_main.HasFlag(IDesk::kNoteFocus)) {
    QPen dots(ToQColor(c.text), 1, Qt::DotLine);
    p.setPen(dots);
    p.drawRect(all.adjusted(0, 0, -1, -1));
  }
  if (m_flashInverted) {
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.fillRect(all, Qt::white);
  }
}

void CNoteWnd::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  // Said before the window is mapped: a sticky note is meant to stay in sight
  // on whichever workspace the user is.
  // The window manager may drop the state when the window is mapped: it is
  // said again at the first paint, when the window is on screen.
  if (m_main.OnAllWorkspaces()) {
    SetOnAllWorkspaces(this, true);
    m_stickyPending = true;
  }
}

void CNoteWnd::paintEvent(QPaintEvent*) {
  if (m_detached) return;
  if (m_stickyPending && testAttribute(Qt::WA_Mapped)) {
    m_stickyPending = false;
    SetOnAllWorkspaces(this, m_main.OnAllWorkspaces());
  }
  QPainter p(this);
  if (m_translucent) {
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, Render(devicePixelRatioF()));
  } else {
    // Drawn off screen first, then copied in one go, at the screen's pixel
    // ratio so the text is not blown up from a smaller picture.
    QImage buffer(size() * devicePixelRatioF(), QImage::Format_RGB32);
    buffer.setDevicePixelRatio(devicePixelRatioF());
    QPainter bp(&buffer);
    PaintInto(bp, size());
    bp.end();
    p.drawImage(0, 0, buffer);
  }
}

bool CNoteWnd::MouseAllowed() const {
  return m_main.HasFlag(IDesk::kIdle) && !m_main.HasFlag(IDesk::kReadOnly);
}

void CNoteWnd::UpdateCursor(const QPoint& pos) {
  if (!MouseAllowed() || (m_runtime & kRightPressed)) {
    unsetCursor();
    return;
  }
  setCursor(CursorForEdges(DragEdgesAt(pos.x(), pos.y(), width(), height())));
}

void CNoteWnd::mousePressEvent(QMouseEvent* e) {
  if (m_detached || !m_main.StopFlash(*this)) return;
  if (e->button() == Qt::LeftButton) {
    EndShowFull(true);
    if (!MouseAllowed()) return QWidget::mousePressEvent(e);
    const QPoint pos = e->position().toPoint();
    m_dragEdges = DragEdgesAt(pos.x(), pos.y(), width(), height());
    const QRect g = geometry();
    m_dragRect = {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
    m_runtime &= ~kMoved;
    m_dragPoint = e->globalPosition().toPoint();
    if (e->modifiers() & Qt::ControlModifier) {
      m_runtime |= kMoved;
      SetSelected(!IsSelected());
    } else if (!IsSelected()) {
      m_main.ClearSelection();
      SetSelected(true);
    }
  } else if (e->button() == Qt::RightButton) {
    EndShowFull(true);
    if (!IsDragging() && MouseAllowed() && !IsSelected()) {
      m_main.ClearSelection();
      SetSelected(true);
    }
    m_runtime |= kRightPressed;
  }
}

void CNoteWnd::mouseMoveEvent(QMouseEvent* e) {
  if (m_detached) return;
  if (m_dragEdges != 0) {
    DragStep(e->globalPosition().toPoint(), false);
    return;
  }
  UpdateCursor(e->position().toPoint());
  // Show the whole text while the mouse rests well inside an overflowing note.
  if ((m_runtime & kOverflow) && !(m_runtime & kRightPressed) && !(m_runtime & kShownFull) &&
      m_main.HasFlag(IDesk::kShowFull) && m_main.HasFlag(IDesk::kIdle)) {
    m_savedRect = geometry();
    if (m_savedRect.adjusted(kHitZone, kHitZone, -kHitZone, -kHitZone).contains(e->globalPosition().toPoint()))
      BeginShowFull();
  }
}

void CNoteWnd::DragStep(const QPoint& p, bool final) {
  if (p != m_dragPoint) m_runtime |= kMoved;
  if (!(m_runtime & kMoved)) return;
  const int dx = p.x() - m_dragPoint.x(), dy = p.y() - m_dragPoint.y();
  m_dragRect = DragRect(m_dragRect, m_dragEdges, dx, dy);
  const QRect r(m_dragRect.left, m_dragRect.top, m_dragRect.right - m_dragRect.left, m_dragRect.bottom - m_dragRect.top);
  SetNoteGeometry(r);
  if (final) m_main.SaveNote(m_note.Index, false);
  if (m_dragEdges == kMoveWhole && (dx || dy || final)) {
    for (CNoteWnd* other : m_main.SelectedNotes()) {
      if (other == this) continue;
      if (dx || dy) other->SetNoteGeometry(other->geometry().translated(dx, dy));
      if (final) m_main.SaveNote(other->Index(), false);
    }
  }
  m_dragPoint = p;
}

void CNoteWnd::mouseReleaseEvent(QMouseEvent* e) {
  if (m_detached) return;
  if (e->button() == Qt::LeftButton && m_dragEdges != 0) {
    DragStep(e->globalPosition().toPoint(), true);
    m_dragEdges = 0;
    if (!(m_runtime & kMoved)) {
      m_main.ClearSelection();
      SetSelected(true);
    }
    return;
  }
  if (e->button() == Qt::RightButton) {
    const bool pending = m_runtime & kRightPressed;
    m_runtime &= ~kRightPressed;
    if (pending && !IsDragging() && MouseAllowed()) m_main.ShowNoteMenu(*this, e->globalPosition().toPoint());
    return;
  }
  QWidget::mouseReleaseEvent(e);
}

void CNoteWnd::mouseDoubleClickEvent(QMouseEvent* e) {
  if (m_detached || e->button() != Qt::LeftButton) return;
  EndShowFull(false);
  if (!IsDragging() && MouseAllowed()) m_main.StartEdit(*this);
}

void CNoteWnd::BeginShowFull() {
  const QSize s = ComputeNoteSize(m_note, nullptr, false, 0, m_main.TabStops(), m_main.HasFlag(IDesk::kTooSmall));
  setGeometry(QRect(m_savedRect.topLeft(), s));
  raise();
  m_runtime = (m_runtime & ~kOverflow) | kShownFull;
  m_showFullWatch.start();
  update();
}

void CNoteWnd::EndShowFull(bool setFocus) {
  if (!(m_runtime & kShownFull)) return;
  if (setFocus) this->setFocus();
  m_showFullWatch.stop();
  m_runtime &= ~kShownFull;
  setGeometry(QRect(geometry().topLeft(), m_savedRect.size()));
  ApplyZOrder(false);
  update();
}

void CNoteWnd::CheckShowFullEnd() {
  // Leaving the note's earlier, smaller rectangle ends show-full.
  if ((m_runtime & kShownFull) && !m_savedRect.contains(QCursor::pos())) EndShowFull(false);
}

void CNoteWnd::keyPressEvent(QKeyEvent* e) {
  if (m_detached) return;
  const bool keypad = e->modifiers() & Qt::KeypadModifier;
  switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      m_main.StartEdit(*this);
      return;
    case Qt::Key_Delete: m_main.NoteCommand(*this, Cmd::DeleteNotes, e->modifiers() & Qt::ShiftModifier); return;
    case Qt::Key_Minus:
      if (keypad) return m_main.NoteCommand(*this, Cmd::Minimize);
      break;
    case Qt::Key_Plus:
      if (keypad) return m_main.NoteCommand(*this, Cmd::Restore);
      break;
    case Qt::Key_Space: m_main.NoteCommand(*this, Cmd::Alarm); return;
    case Qt::Key_Menu: return m_main.ShowNoteMenu(*this, mapToGlobal(QPoint(width() / 2, height() / 2)));
    case Qt::Key_F10:
      if (e->modifiers() & Qt::ShiftModifier) return m_main.ShowNoteMenu(*this, mapToGlobal(QPoint(width() / 2, height() / 2)));
      break;
    default: break;
  }
  QWidget::keyPressEvent(e);
}

// The focus mark (painted while the note has the keyboard) comes and goes with it.
void CNoteWnd::focusInEvent(QFocusEvent*) {
  m_main.SetNoteFocus(true);
  update();
}
void CNoteWnd::focusOutEvent(QFocusEvent*) {
  m_main.SetNoteFocus(false);
  update();
}

void CNoteWnd::closeEvent(QCloseEvent* e) {
  // Alt+F4 does not close a note.
  e->ignore();
}

}  // namespace quillet
