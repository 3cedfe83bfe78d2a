#pragma once
#include <QPlainTextEdit>
#include <QPointer>

#include "notes/Note.h"
#include "notewnd/NoteMeasure.h"

namespace quillet {

class INoteHost;
class CNoteWnd;

// The editor laid over a note while its text is written, or opened at a free
// place for a new note. It is always exactly as large as its unwrapped text;
// it commits when it loses the focus or on Ctrl+Enter and cancels on Esc.
class CNoteEditor : public QPlainTextEdit {
  Q_OBJECT
 public:
  // Edits an existing note.
  CNoteEditor(INoteHost& main, CNoteWnd& note);
  // A new note: with a source note its layout is copied, else layout `layout`.
  CNoteEditor(INoteHost& main, CNoteWnd* source, int layout, const QPoint& pos, const std::string& text,
              std::size_t caret);
  ~CNoteEditor() override;

  void Commit();
  void Cancel();
  bool IsNewNote() const { return m_newNote; }
  CNoteWnd* SourceNote() const { return m_source; }

  // The colours shown while typing.
  QColor TextColor() const { return m_text; }
  QColor BackColor() const { return m_back; }

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void moveEvent(QMoveEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  void Setup(const QFont& font, ColorRef text, ColorRef back, ColorRef border, int align, int transparency);
  void GrowWithText();
  void KeepAboveModal();
  void InsertAtSelection(const QString& s);
  void Finish();

  INoteHost& m_main;
  QPointer<CNoteWnd> m_source;
  bool m_newNote = false;
  int m_layout = 0;
  bool m_closing = false;
  QPoint m_origin;  // where the user's note is: the editor's place, whatever the window manager says
  bool m_wasMinimized = false;
  bool m_randomColor = false;
  ColorRef m_randomBack = 0;
  int m_avgCharWidth = 6;
  TextStyle m_style;
  QColor m_text, m_back, m_border;
};

}  // namespace quillet
