#include "notewnd/NoteMeasure.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <cmath>

#include "app/Paths.h"
#include "notewnd/NoteGeometry.h"

namespace quillet {

QFont FontFromLogFont(const LogFont& lf) {
  QFont f(FromLocal(lf.FaceName()));
  // A negative height is the character height, a positive one the cell height.
  if (lf.height < 0)
    f.setPixelSize(-lf.height);
  else if (lf.height > 0)
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(lf.height * 0.82))));
  else
    f.setPixelSize(13);
  f.setWeight(static_cast<QFont::Weight>(std::clamp(lf.weight == 0 ? 400 : lf.weight, 100, 900)));
  f.setItalic(lf.italic != 0);
  f.setUnderline(lf.underline != 0);
  f.setStrikeOut(lf.strikeOut != 0);
  return f;
}

LogFont LogFontFromFont(const QFont& font) {
  LogFont lf = LogFont::Default();
  const int px = font.pixelSize() > 0 ? font.pixelSize() : static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0));
  lf.height = -px;
  lf.weight = font.weight();
  lf.italic = font.italic();
  lf.underline = font.underline();
  lf.strikeOut = font.strikeOut();
  lf.SetFaceName(font.family().toStdString());
  return lf;
}

QString DisplayText(const std::string& text) {
  QString s = FromLocal(text);
  s.replace(QStringLiteral("\r\n"), QString(QChar::LineSeparator));
  s.replace(QLatin1Char('\n'), QChar::LineSeparator);
  s.replace(QLatin1Char('\r'), QChar::LineSeparator);
  return s;
}

namespace {

QTextOption OptionFor(const TextStyle& style, bool wrap) {
  Qt::Alignment a = style.align == 1 ? Qt::AlignHCenter : style.align == 2 ? Qt::AlignRight : Qt::AlignLeft;
  QTextOption opt(a);
  opt.setWrapMode(wrap ? QTextOption::WrapAtWordBoundaryOrAnywhere : QTextOption::NoWrap);
  opt.setTabStopDistance(std::max(1, style.tabStops) * QFontMetricsF(style.font).averageCharWidth());
  return opt;
}

// Lays the text out and returns its bounding size.
QSizeF Layout(QTextLayout& layout, const TextStyle& style, int wrapWidth) {
  layout.setFont(style.font);
  layout.setTextOption(OptionFor(style, wrapWidth > 0));
  const qreal lineWidth = wrapWidth > 0 ? wrapWidth : 1e6;
  qreal y = 0, widest = 0;
  layout.beginLayout();
  for (;;) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(lineWidth);
    line.setPosition(QPointF(0, y));
    y += line.height();
    widest = std::max(widest, line.naturalTextWidth());
  }
  layout.endLayout();
  return {widest, y};
}

}  // namespace

QSize MeasureText(const TextStyle& style, const QString& text, int wrapWidth) {
  QTextLayout layout(text);
  const QSizeF s = Layout(layout, style, wrapWidth);
  return {static_cast<int>(std::ceil(s.width())), static_cast<int>(std::ceil(s.height()))};
}

void DrawText(QPainter& painter, const QRect& rect, const TextStyle& style, const QString& text) {
  QTextLayout layout(text);
  Layout(layout, style, std::max(1, rect.width()));
  painter.save();
  // Within any clip already set: a miniature in a list cell stays in its cell.
  painter.setClipRect(rect, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
  // Lines that do not fit whole are cut off at the bottom.
  for (int i = 0; i < layout.lineCount(); ++i) {
    QTextLine line = layout.lineAt(i);
    if (line.position().y() + line.height() > rect.height() + 0.5 && i > 0) break;
    line.draw(&painter, rect.topLeft());
  }
  painter.restore();
}

Qt::CursorShape CursorForEdges(int edges) {
  switch (edges) {
    case kEdgeTop:
    case kEdgeBottom: return Qt::SizeVerCursor;
    case kEdgeLeft:
    case kEdgeRight: return Qt::SizeHorCursor;
    case kEdgeLeft | kEdgeTop:
    case kEdgeRight | kEdgeBottom: return Qt::SizeFDiagCursor;
    case kEdgeRight | kEdgeTop:
    case kEdgeLeft | kEdgeBottom: return Qt::SizeBDiagCursor;
    default: return Qt::ArrowCursor;
  }
}

QSize ComputeNoteSize(const CNote& note, const QFont* fontOverride, bool firstLineOnly, int width, int tabStops,
                      bool tooSmall) {
  std::string text = note.Text();
  bool cut = false;
  if (firstLineOnly) {
    const auto cr = text.find('\r');
    if (cr != std::string::npos && cr >= 1) {
      text.resize(cr);
      cut = true;
    }
  }
  if (text.empty() || text.back() == '\n') text.push_back(' ');
  TextStyle style{fontOverride ? *fontOverride : FontFromLogFont(note.Font), note.Align, tabStops};
  const int w = width - 2 * kEdgeX;
  QSize s = MeasureText(style, DisplayText(text), w > 0 ? w : 0);
  s.rwidth() += 2 * kEdgeX + 4;
  s.rheight() += 2 * kEdgeY;
  if (tooSmall && firstLineOnly && cut) s.rwidth() += kIndicatorRoom;
  return s;
}

}  // namespace quillet
