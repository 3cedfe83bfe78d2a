#pragma once
#include <QWidget>

#include "notes/Note.h"

namespace quillet {

class CMainWindow;

// One note on the desktop: a borderless window that shows the note's data.
class CNoteWnd : public QWidget {
  Q_OBJECT
 public:
  CNoteWnd(CMainWindow& main, CNote& note);

  CNote& Note() { return m_note; }
  // Takes the position, size, colours and title from the note.
  void UpdateFromNote();
  void UpdateTitle();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  CMainWindow& m_main;
  CNote& m_note;
};

QColor ToQColor(ColorRef c);
ColorRef FromQColor(const QColor& c);

}  // namespace quillet
