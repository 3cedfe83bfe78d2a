#pragma once
#include <QObject>
#include <QPoint>
#include <optional>
#include <string>
#include <vector>

#include "mainwnd/UndoBuffer.h"
#include "notewnd/Layout.h"
#include "notewnd/NoteMeasure.h"

class QMenu;

namespace quillet {

class CMainWindow;
class CNote;
class CNoteWnd;

// The note menu and what it does to the selected notes: edit, copy, paste,
// delete, print, format, layouts, folders, links, and the one-step undo.
class CNoteCommands : public QObject {
  Q_OBJECT
 public:
  explicit CNoteCommands(CMainWindow& main) : m_main(main) {}

  void BuildNoteMenu(QMenu& menu, CNoteWnd* subject, bool fromList);
  void ShowNoteMenu(CNoteWnd& note, const QPoint& globalPos);
  void NoteCommand(CNoteWnd& note, int id, bool shift = false);

  // A new note from the clipboard, with layout item n.
  void PasteNoteCommand(int n);
  // Clipboard text made ready for a note with this font and alignment, or
  // nothing when the user cancels the paste.
  std::optional<std::string> ClipboardTextFor(const std::string& existing, const TextStyle& style);
  std::string FormatLines(const std::string& text, const TextStyle& style) const;

  void StoreUndo(const std::vector<int>& indices, int labelId);
  void UndoCommand();
  const CUndoBuffer& Undo() const { return m_undo; }
  void ClearUndo() { m_undo.Clear(); }

  // A layout's values, with a random background when the layout asks for one.
  void ApplyLayout(CNote& note, const LayoutValues& layout);
  // The folder the settings give new notes.
  void ApplyNewFolder(CNote& note) const;
  void CopyLayout(const CNote& from, CNote& to) const;

 private:
  void DeleteSelected(bool permanent);
  void CopyNotes(CNoteWnd& note);
  void PasteText(CNoteWnd& note);
  void PasteLayout(CNoteWnd& note);
  void PasteNoteFrom(CNoteWnd& note);
  void FormatSelected();
  void OpenLink(const std::string& link);
  void ApplyLayoutToSelected(int layoutNumber);
  void SetFolderOfSelected(int k);

  CMainWindow& m_main;
  CUndoBuffer m_undo;
};

}  // namespace quillet
