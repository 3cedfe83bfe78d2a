#include "notewnd/CNoteEditor.h"

#include "controls/Platform.h"

#include <QApplication>

#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <cstdlib>

#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "desk/IDesk.h"
#include "notes/NoteText.h"
#include "notewnd/CNoteWnd.h"
#include "notewnd/Layout.h"
#include "notewnd/NoteGeometry.h"
#include "app/Ids.h"

namespace quillet {

namespace {
QString EditorText(const std::string& noteText) {
  QString s = FromLocal(noteText);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return s;
}
}  // namespace

CNoteEditor::CNoteEditor(INoteHost& main, CNoteWnd& note) : QPlainTextEdit(nullptr), m_main(main), m_source(&note) {
  m_wasMinimized = note.IsMinimized();
  note.FitToText(false);
  const CNote& n = note.Note();
  const EffectiveColors c = EffectiveColorsOf(n, main.DesktopColor());
  Setup(FontFromLogFont(n.Font), n.ColorText, c.back, n.ColorBorder, n.Align, n.Transparency);
  m_origin = note.geometry().topLeft();
  setGeometry(note.geometry());
  note.hide();
  setPlainText(EditorText(n.Text()));
  GrowWithText();
  KeepAboveModal();
  show();
  activateWindow();
  QTextCursor cur = textCursor();
  switch (AppSettings().Int("EditType")) {
    case 1: cur.movePosition(QTextCursor::Start); break;
    case 2: cur.movePosition(QTextCursor::End); break;
    default: cur.select(QTextCursor::Document); break;
  }
  setTextCursor(cur);
  ensureCursorVisible();
  setFocus();
}

CNoteEditor::CNoteEditor(INoteHost& main, CNoteWnd* source, int layout, const QPoint& pos, const std::string& text,
                         std::size_t caret)
    : QPlainTextEdit(nullptr), m_main(main), m_source(source), m_newNote(true), m_layout(layout) {
  if (source) {
    const CNote& n = source->Note();
    const EffectiveColors c = EffectiveColorsOf(n, main.DesktopColor());
    Setup(FontFromLogFont(n.Font), n.ColorText, c.back, n.ColorBorder, n.Align, n.Transparency);
  } else {
    const LayoutValues v = ReadLayout(AppSettings(), layout);
    const LayoutBackground bg = ChooseBackground(v, ReadColorList(AppSettings()), [&main] { return main.RandomNumber(); });
    m_randomColor = bg.random;
    m_randomBack = bg.back;
    const ColorRef back = bg.desk ? main.DesktopColor() : bg.back;
    const bool automatic = bg.random || bg.desk;
    Setup(FontFromLogFont(v.font), automatic ? kColorAutomatic : v.colorText, back,
          automatic ? kColorAutomatic : v.colorBorder, v.align, v.transparency);
  }
  m_origin = pos;
  setGeometry(QRect(pos, QSize(0, 0)));
  const QString t = EditorText(text);
  setPlainText(t);
  GrowWithText();
  KeepAboveModal();
  show();
  activateWindow();
  QTextCursor cur = textCursor();
  if (caret == std::string::npos)
    cur.movePosition(QTextCursor::End);
  else
    cur.setPosition(static_cast<int>(FromLocal(text.substr(0, caret)).remove(QLatin1Char('\r')).size()));
  setTextCursor(cur);
  ensureCursorVisible();
  setFocus();
}

CNoteEditor::~CNoteEditor() = default;

void CNoteEditor::Setup(const QFont& font, ColorRef text, ColorRef back, ColorRef border, int align, int transparency) {
  setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
  setAttribute(Qt::WA_DeleteOnClose);
  // A name for window lists, screen readers and tests that look for the editor.
  setWindowTitle(QStringLiteral("Quillet Editor"));
  setAccessibleName(QStringLiteral("Note text"));
  setLineWrapMode(QPlainTextEdit::NoWrap);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFrameStyle(QFrame::NoFrame);
  setFont(font);
  const ColorRef b = back & 0x00FFFFFF;
  m_back = ToQColor(b);
  m_text = ToQColor(text == kColorAutomatic ? ContrastColor(b) : text);
  m_border = ToQColor(border == kColorAutomatic ? b : border);
  m_style = TextStyle{font, align, m_main.TabStops()};
  setStyleSheet(QStringLiteral("QPlainTextEdit { background: %1; color: %2; border: 1px solid %3; padding: 0px; }")
                    .arg(m_back.name(), m_text.name(), m_border.name()));
  document()->setDocumentMargin(1);
  QTextOption opt = document()->defaultTextOption();
  opt.setAlignment(align == 1 ? Qt::AlignHCenter : align == 2 ? Qt::AlignRight : Qt::AlignLeft);
  opt.setTabStopDistance(std::max(1, m_main.TabStops()) * QFontMetricsF(font).averageCharWidth());
  document()->setDefaultTextOption(opt);
  m_avgCharWidth = std::max(1, QFontMetrics(font).averageCharWidth());
  const TransparencySpec t = DecodeTransparency(transparency);
  if (m_main.HasFlag(IDesk::kLayeredAvailable) && t.alpha) setWindowOpacity(t.opacity / 255.0);
  connect(this, &QPlainTextEdit::textChanged, this, &CNoteEditor::GrowWithText);
}

void CNoteEditor::GrowWithText() {
  QString text = toPlainText();
  // The record holds at most 2046 bytes of text, line breaks counted as two.
  std::string bytes = ToLocal(text);
  std::size_t crlf = 0;
  for (char c : bytes) crlf += c == '\n';
  // A text from an older Windows file may be longer in UTF-8 and still fit.
  if (bytes.size() + crlf > kMaxEditText && !FitsField(ToLocal(QString(text).replace(QLatin1Char('\n'), QStringLiteral("\r\n"))), kMaxEditText + 1)) {
    const QSignalBlocker block(this);
    const int pos = textCursor().position();
    while (!text.isEmpty() && ToLocal(text).size() + static_cast<std::size_t>(text.count(QLatin1Char('\n'))) > kMaxEditText)
      text.chop(1);
    setPlainText(text);
    QTextCursor cur = textCursor();
    cur.setPosition(std::min(pos, static_cast<int>(text.size())));
    setTextCursor(cur);
  }
  QString measured = text;
  if (measured.isEmpty() || measured.endsWith(QLatin1Char('\n'))) measured += QLatin1Char(' ');
  measured.replace(QLatin1Char('\n'), QChar::LineSeparator);
  const QSize frame(2 * kEdgeX + 4, 2 * kEdgeY);
  QSize s = MeasureText(m_style, measured, 0);
  s.setWidth(std::max(s.width(), m_avgCharWidth));
  s += frame;
  // The editor grows with its text as far as the screen's work area from
  // where the note stands; past that its lines wrap, and past the bottom it
  // scrolls. A window larger than the screen would be pushed by the window
  // manager, and the note saved where it was pushed.
  const QRect area = WorkArea(&m_origin);
  const int widest = std::max(m_avgCharWidth + frame.width(), area.right() + 1 - m_origin.x());
  const int tallest = std::max(frame.height() + fontMetrics().lineSpacing(), area.bottom() + 1 - m_origin.y());
  const bool wrap = s.width() > widest;
  if (wrap) {
    s.setWidth(widest);
    s.setHeight(MeasureText(m_style, measured, widest - frame.width()).height() + frame.height());
  }
  const bool scroll = s.height() > tallest;
  if (scroll) s.setHeight(tallest);
  setLineWrapMode(wrap ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
  setVerticalScrollBarPolicy(wrap || scroll ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
  if (size() != s) resize(s);
  horizontalScrollBar()->setValue(0);
  if (!scroll) verticalScrollBar()->setValue(0);
  else ensureCursorVisible();
}

void CNoteEditor::keyPressEvent(QKeyEvent* e) {
  if (e->key() == Qt::Key_Escape) return Cancel();
  if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && (e->modifiers() & Qt::ControlModifier))
    return Commit();
  QPlainTextEdit::keyPressEvent(e);
}

void CNoteEditor::moveEvent(QMoveEvent* e) {
  QPlainTextEdit::moveEvent(e);
  // A window manager may place a newly mapped window where it likes (openbox
  // at times puts it at 0, 0); the editor lies over its note and stays there.
  if (!m_closing && pos() != m_origin) move(m_origin);
}

void CNoteEditor::KeepAboveModal() {
  // Opened from a modal window (the note list), the editor must have the
  // keyboard itself: otherwise the keys typed run that window's commands.
  if (QApplication::activeModalWidget()) setWindowModality(Qt::ApplicationModal);
}

void CNoteEditor::focusOutEvent(QFocusEvent* e) {
  QPlainTextEdit::focusOutEvent(e);
  // A menu of our own takes the focus for a moment; that is no end of editing.
  if (!m_closing && e->reason() != Qt::PopupFocusReason) Commit();
}

void CNoteEditor::Commit() {
  if (m_closing) return;
  m_closing = true;
  QString text = toPlainText();
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  m_main.CommitEditor(*this, ToLocal(text), QRect(m_origin, size()), document()->isModified(), m_wasMinimized, m_layout,
                      m_randomColor, m_randomBack);
  Finish();
}

void CNoteEditor::Cancel() {
  if (m_closing) return;
  m_closing = true;
  m_main.CancelEditor(*this, m_wasMinimized);
  Finish();
}

void CNoteEditor::Finish() {
  hide();
  deleteLater();
}

void CNoteEditor::InsertAtSelection(const QString& s) {
  textCursor().insertText(s);
  ensureCursorVisible();
}

void CNoteEditor::contextMenuEvent(QContextMenuEvent* e) {
  m_closing = true;
  QMenu menu;
  QAction* undo = nullptr;
  if (document()->isUndoAvailable()) {
    undo = menu.addAction(FromLocal(LoadUIString(Cmd::EditorUndo)));
    menu.addSeparator();
  }
  const bool hasSel = textCursor().hasSelection();
  const bool pasteable = canPaste();
  QAction *cut = nullptr, *copy = nullptr, *paste = nullptr, *del = nullptr, *all = nullptr;
  if (hasSel) {
    cut = menu.addAction(FromLocal(LoadUIString(Cmd::EditorCut)));
    copy = menu.addAction(FromLocal(LoadUIString(Cmd::EditorCopy)));
  }
  if (pasteable) paste = menu.addAction(FromLocal(LoadUIString(Cmd::EditorPaste)));
  if (hasSel) del = menu.addAction(FromLocal(LoadUIString(Cmd::EditorDelete)));
  if (hasSel || pasteable) menu.addSeparator();
  if (!toPlainText().isEmpty() && textCursor().selectedText().size() != toPlainText().size()) {
    all = menu.addAction(FromLocal(LoadUIString(Cmd::EditorSelectAll)));
    menu.addSeparator();
  }
  QMenu* dates = menu.addMenu(FromLocal(LoadUIString(Cmd::EditorDateTime)));
  for (int id : {Str::DateCodeFirst, Str::DateCodeDateShort, Str::DateCodeTime, 0, Str::DateCodeDateTimeLong, Str::DateCodeDateLong}) {
    if (id == 0) {
      dates->addSeparator();
      continue;
    }
    const QString label = m_main.DateMenuLabel(id, false);
    QAction* a = dates->addAction(label);
    a->setData(label.mid(label.indexOf(QLatin1Char('\t')) + 1));
  }
  QAction* shortcut = menu.addAction(FromLocal(LoadUIString(Cmd::EditorFileShortcut)));
  QAction* chosen = menu.exec(e->globalPos());
  if (chosen == undo && undo) this->undo();
  else if (chosen && chosen == cut) this->cut();
  else if (chosen && chosen == copy) this->copy();
  else if (chosen && chosen == paste) this->paste();
  else if (chosen && chosen == del) textCursor().removeSelectedText();
  else if (chosen && chosen == all) selectAll();
  else if (chosen && chosen == shortcut) {
    const QString path = m_main.AskExistingFile(this, Str::ProgramFileFilter, QStringLiteral("ExecDir"));
    if (!path.isEmpty()) InsertAtSelection(path.contains(QLatin1Char(' ')) ? QLatin1Char('"') + path + QLatin1Char('"') : path);
  } else if (chosen && chosen->data().isValid()) {
    InsertAtSelection(chosen->data().toString());
  }
  activateWindow();
  setFocus();
  m_closing = false;
}

}  // namespace quillet
