#pragma once
// Measuring and drawing a note's text: one rule for the screen and the printer.
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

#include "notes/Note.h"

class QPainter;

namespace quillet {

QFont FontFromLogFont(const LogFont& lf);
LogFont LogFontFromFont(const QFont& font);

// The note text as Qt lays it out: line breaks become line separators.
QString DisplayText(const std::string& text);

struct TextStyle {
  QFont font;
  int align = 0;        // 0 left, 1 centred, 2 right
  int tabStops = 8;     // in average character widths
};

// The size of the text, wrapped at wrapWidth when that is above 0.
QSize MeasureText(const TextStyle& style, const QString& text, int wrapWidth);
void DrawText(QPainter& painter, const QRect& rect, const TextStyle& style, const QString& text);

// The cursor over a drag zone (edges as DragEdgesAt gives them).
Qt::CursorShape CursorForEdges(int edges);

// The size a note needs for its text: the whole text, or only its first
// line; wrapped at width when width is above 0. Includes the frame.
QSize ComputeNoteSize(const CNote& note, const QFont* fontOverride, bool firstLineOnly, int width, int tabStops,
                      bool tooSmall);

}  // namespace quillet
