#pragma once
// What the windows and dialogs below the main window may ask of the program.
// The main window implements these; a note window, the editor, the lists, the
// calendar and the dialogs get the one they need passed down and never reach
// the main window itself.
#include <QMetaObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "notes/Note.h"
#include "notewnd/NoteGeometry.h"

class QMenu;
class QObject;
class QPoint;
class QRect;
class QWidget;

namespace quillet {

class CNoteEditor;
class CNoteStore;
class CNoteWnd;

// The program's state and services: flags, clock, colours, folders, layouts, files.
class IDesk {
 public:
  enum Flag : uint32_t {
    kIdle = 0x1,
    kShowNotes = 0x2,
    kAlwaysOnTop = 0x4,
    kTooSmall = 0x8,
    kShowFull = 0x10,
    kNoteFocus = 0x400,
    kReadOnly = 0x800,
    kNoSockets = 0x4000,
    kWindowTitles = 0x8000,
    kDeleteRecBin = 0x10000,
    kShadowAvailable = 0x20000,
    kShadow = 0x40000,
    kAlarmBalloon = 0x80000,
    kCalendarShown = 0x100000,
    kLayeredAvailable = 0x400000,
  };

  virtual bool HasFlag(uint32_t f) const = 0;
  virtual void SetFlag(uint32_t f, bool on) = 0;
  virtual int TabStops() const = 0;
  virtual ColorRef DesktopColor() const = 0;
  virtual DateTime Now() const = 0;
  // Random numbers for random note colours.
  virtual int RandomNumber() = 0;
  virtual std::vector<std::string> FolderList() const = 0;
  // The layout number of a layout menu item (0 the standard layout).
  virtual int LayoutNumberOfItem(int n) const = 0;
  // The screen rectangles of the note windows on screen.
  virtual std::vector<Rect4> VisibleNoteRects() const = 0;
  virtual QString DateMenuLabel(int id, bool keepCode) const = 0;
  virtual QString AskExistingFile(QWidget* parent, int filterId, const QString& dirKey) = 0;
  // While a hotkey is being chosen, the chosen keys must not fire.
  virtual void UnregisterHotkeys() = 0;

 protected:
  ~IDesk() = default;
};

// What a note window and the note editor ask: saving, selection, the note menu, editing.
class INoteHost : public IDesk {
 public:
  virtual CNote* GetNote(int index) const = 0;
  virtual bool SaveNote(int index, bool updateHeader) = 0;
  virtual std::vector<CNoteWnd*> SelectedNotes() const = 0;
  virtual void ClearSelection() = 0;
  virtual void SetNoteFocus(bool on) = 0;
  // Notes show on every workspace.
  virtual bool OnAllWorkspaces() const = 0;
  // The alarm flash stops at any click; false when the alarm removed the note.
  virtual bool StopFlash(CNoteWnd& note) = 0;
  virtual void StartEdit(CNoteWnd& note) = 0;
  virtual void NoteCommand(CNoteWnd& note, int id, bool shift = false) = 0;
  virtual void ShowNoteMenu(CNoteWnd& note, const QPoint& globalPos) = 0;
  virtual void CommitEditor(CNoteEditor& editor, const std::string& text, const QRect& rect, bool modified,
                            bool wasMinimized, int layout, bool randomColor, ColorRef randomBack) = 0;
  virtual void CancelEditor(CNoteEditor& editor, bool wasMinimized) = 0;

 protected:
  ~INoteHost() = default;
};

// What the note list and the folder list ask: all notes, loading, deleting, and word of changes.
class INoteShelf : public INoteHost {
 public:
  virtual CNoteStore& Store() = 0;
  virtual int NoteCount() const = 0;
  virtual CNoteWnd* WindowAt(int index) const = 0;
  virtual bool LoadNotes(const QString& importPath = {}, bool onlyMissing = false) = 0;
  virtual bool SaveAllNotes() = 0;
  virtual int DeleteNotes(const std::vector<int>& indices, bool storeUndo, bool toRecycleBin) = 0;
  virtual CNoteWnd* CreateNoteFromText(const std::string& text, bool select) = 0;
  virtual void BuildNoteMenu(QMenu& menu, CNoteWnd* subject, bool fromList) = 0;
  virtual CNoteEditor* ActiveEditor() const = 0;
  // Tells every listener that notes were added, removed or changed.
  virtual void NotifyNotesChanged() = 0;
  // Calls f, in context's thread and lifetime, whenever notes changed.
  virtual QMetaObject::Connection OnNotesChanged(QObject* context, std::function<void()> f) = 0;

 protected:
  ~INoteShelf() = default;
};

// Clears the idle state while a dialog or menu of the program is open.
class CBusyGuard {
 public:
  explicit CBusyGuard(IDesk& desk) : m_desk(desk), m_wasIdle(desk.HasFlag(IDesk::kIdle)) {
    desk.SetFlag(IDesk::kIdle, false);
  }
  ~CBusyGuard() {
    if (m_wasIdle) m_desk.SetFlag(IDesk::kIdle, true);
  }
  CBusyGuard(const CBusyGuard&) = delete;
  CBusyGuard& operator=(const CBusyGuard&) = delete;

 private:
  IDesk& m_desk;
  bool m_wasIdle;
};

}  // namespace quillet
