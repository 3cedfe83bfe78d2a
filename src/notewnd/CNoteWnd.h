#pragma once
#include <QImage>
#include <QTimer>
#include <QWidget>

#include "notes/Note.h"
#include "notewnd/NoteGeometry.h"

namespace quillet {

class INoteHost;

// One note on the desktop: a borderless tool window that paints the note and
// lets the mouse move, resize, select, minimise and show it in full.
class CNoteWnd : public QWidget {
  Q_OBJECT
 public:
  // Run-time bits of the note's flag word.
  enum RuntimeFlag : uint32_t { kMoved = 0x1, kRightPressed = 0x2, kOverflow = 0x4, kShownFull = 0x8 };

  CNoteWnd(INoteHost& main, CNote& note);
  ~CNoteWnd() override;

  CNote& Note() { return m_note; }
  const CNote& Note() const { return m_note; }
  int Index() const { return m_note.Index; }

  // Takes position, size, font, colours, transparency and title from the note.
  void UpdateFromNote();
  void UpdateTitle();
  void SetText(const std::string& text);

  bool IsSelected() const { return m_note.Flags & kFlagSelected; }
  void SetSelected(bool on);

  // Sizes the note to its text (or its first line) without moving it, and saves it.
  QSize FitToText(bool firstLineOnly);
  bool IsMinimized() const;
  // Moves and sizes the window and the note's rectangle together.
  void SetNoteGeometry(const QRect& r);

  void SetTransparency(int value);
  // Topmost when the note or all notes are on top; otherwise below normal windows.
  void ApplyZOrder(bool lowerIfNotTop = true);
  bool IsTopmost() const;

  void BeginShowFull();
  void EndShowFull(bool setFocus);
  bool IsShownFull() const { return m_runtime & kShownFull; }
  bool HasOverflow() const { return m_runtime & kOverflow; }
  bool IsDragging() const { return m_dragEdges != 0; }

  // The note as it is drawn, at its own size.
  QImage Render(qreal pixelRatio = 1.0);

  // Alarm flashing: the note's area inverts at every tick.
  void StartFlash(int intervalMs);
  void StopFlashTimer();
  bool IsFlashing() const { return m_flashTimer.isActive(); }
  // The note is going away: no timer, event or paint touches it any more.
  void Detach();

 protected:
  void showEvent(QShowEvent* e) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void PaintInto(QPainter& p, const QSize& size);
  void DragStep(const QPoint& globalPos, bool final);
  void UpdateCursor(const QPoint& localPos);
  void CheckShowFullEnd();
  bool MouseAllowed() const;

  INoteHost& m_main;
  CNote& m_note;
  uint32_t m_runtime = 0;
  int m_dragEdges = 0;
  Rect4 m_dragRect{};
  QPoint m_dragPoint;
  QRect m_savedRect;
  QTimer m_showFullWatch;
  QTimer m_flashTimer;
  bool m_flashInverted = false;
  bool m_detached = false;
  bool m_stickyPending = false;
  bool m_translucent = false;
  bool m_topmost = false;
};

QColor ToQColor(ColorRef c);
ColorRef FromQColor(const QColor& c);

}  // namespace quillet
