#include "notewnd/CNoteWnd.h"

#include <QPainter>

#include "app/Paths.h"
#include "mainwnd/CMainWindow.h"

namespace quillet {

QColor ToQColor(ColorRef c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }
ColorRef FromQColor(const QColor& c) {
  return static_cast<ColorRef>(c.red()) | (static_cast<ColorRef>(c.green()) << 8) |
         (static_cast<ColorRef>(c.blue()) << 16);
}

CNoteWnd::CNoteWnd(CMainWindow& main, CNote& note)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint), m_main(main), m_note(note) {
  setAttribute(Qt::WA_ShowWithoutActivating);
  UpdateFromNote();
}

void CNoteWnd::UpdateFromNote() {
  setGeometry(m_note.Rect.left, m_note.Rect.top, std::max(1, m_note.Rect.width), std::max(1, m_note.Rect.height));
  UpdateTitle();
  update();
}

void CNoteWnd::UpdateTitle() {
  if (!m_main.HasFlag(CMainWindow::kWindowTitles)) return;
  const QString first = FromLocal(m_note.FirstLine());
  setWindowTitle(QStringLiteral("Quillet%1 - %2").arg(m_note.Index, 4, 10, QLatin1Char('0')).arg(first.left(30)));
}

void CNoteWnd::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const QColor back = ToQColor(m_note.DeskColor() ? m_main.DesktopColor() : m_note.ColorBack);
  p.fillRect(rect(), back);
  p.setPen(ToQColor(m_note.ColorBorder == kColorAutomatic ? FromQColor(back.darker(130)) : m_note.ColorBorder));
  p.drawRect(rect().adjusted(0, 0, -1, -1));
  p.setPen(m_note.ColorText == kColorAutomatic ? (back.lightness() < 128 ? Qt::white : Qt::black)
                                               : ToQColor(m_note.ColorText));
  p.drawText(rect().adjusted(2, 2, -2, -2), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
             FromLocal(m_note.Text()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

}  // namespace quillet
