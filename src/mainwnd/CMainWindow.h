#pragma once
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <unordered_set>

#include "app/Ids.h"
#include "desk/IDesk.h"
#include "mainwnd/NewNotePosition.h"
#include "mainwnd/UndoBuffer.h"
#include "notes/NoteStore.h"
#include "notewnd/Layout.h"
#include "notewnd/NoteMeasure.h"

class QMenu;

namespace quillet {

class CNoteWnd;
class CAlarms;
class CProgramCommands;
class CSyncedFile;
class CNoteCommands;
class CNetwork;
class CNoteEditor;
class CCalendar;
class CGlobalHotkeys;
class CNoteServer;
class CTrayIcon;
struct ReceivedNote;

// The hidden window that owns every note, the data files and the
// program-wide state, and runs the program-wide commands.
class CMainWindow : public QWidget, public INoteShelf, private INoteArrayObserver {
  Q_OBJECT
 public:

  // Program-wide commands; a menu item's id is the id of its text.
  enum Command : int {
    kCmdNewNote = Cmd::NewNoteWithLayout,
    kCmdPasteNote = Cmd::PasteNoteWithLayout,
    kCmdSettings = Cmd::Settings,
    kCmdAbout = Cmd::About,
    kCmdExit = Cmd::Exit,
    kCmdAlwaysOnTop = Cmd::AlwaysOnTop,
    kCmdNoteList = Cmd::NoteList,
    kCmdSearch = Cmd::Search,
    kCmdUndo = Cmd::Undo,
    kCmdShowNotes = Cmd::ShowNotes,
    kCmdSendTo = Cmd::SendTo,
    kCmdHelp = Cmd::Help,
    kCmdCalendar = Cmd::ShowCalendar,
  };

  explicit CMainWindow(const QString& commandLine);
  ~CMainWindow() override;

  // Reads the state flags, applies the settings and loads the notes.
  void OnCreate();
  // Adds the tray icon (or the launcher); false when the user gives up.
  bool AddTrayIcon();
  void ApplySettings();
  // Writes the state flags and lets go of every note; the data file is not written.
  void Shutdown();
  bool IsShutDown() const { return m_shutDown; }

  bool HasFlag(uint32_t f) const override { return m_flags & f; }
  void SetFlag(uint32_t f, bool on) override { m_flags = on ? (m_flags | f) : (m_flags & ~f); }
  uint32_t Flags() const { return m_flags; }
  int TabStops() const override { return m_tabStops; }
  ColorRef DesktopColor() const override;
  // The data file path the settings name: "FileNotes", else the command
  // line, else the default file in the data folder.
  QString ConfiguredDataPath() const;

  // Notes.
  CNoteStore& Store() override { return m_store; }
  CNote* GetNote(int index) const override { return m_store.GetNote(index); }
  int NoteCount() const override { return m_store.Count(); }
  // The note's window; one put off at start-up is made now.
  CNoteWnd* WindowOf(const CNote& note) const;
  CNoteWnd* WindowAt(int index) const override;
  CNoteWnd* CreateNote(const std::string& text, const NoteRect& rect, bool applyDefaultLayout, bool visible);
  int DeleteNotes(const std::vector<int>& indices, bool storeUndo, bool toRecycleBin) override;
  bool LoadNotes(const QString& importPath = {}, bool onlyMissing = false) override;
  // The data file as another program (a sync tool) left it, merged with the
  // changes made here; waits while a note is being edited or a dialog is open.
  bool SaveNote(int index, bool updateHeader) override { return m_store.SaveNote(index, updateHeader); }
  bool SaveAllNotes() override { return m_store.SaveAllNotes(); }
  std::vector<CNoteWnd*> SelectedNotes() const override;
  std::vector<int> SelectedIndices() const;
  void ClearSelection() override;
  void SetNoteFocus(bool on) override;
  // The alarm flash stops at any click; false when the alarm removed the note.
  bool StopFlash(CNoteWnd& note) override;
  int IndexOf(const CNote* note) const;
  void ShowNote(CNoteWnd& w);
  const std::map<const CNote*, std::unique_ptr<CNoteWnd>>& Windows() const { return m_windows; }

  // Alarms and hiding.
  void SetClock(std::function<DateTime()> clock) { m_clock = std::move(clock); }
  DateTime Now() const override { return m_clock ? m_clock() : DateTime::Now(); }
  // Fires what is due, shows notes whose hiding ended, announces the next alarm.
  void AlarmTick();
  bool AlarmTimerRunning() const;
  // The alarm dialog; true when it was confirmed.
  bool EditAlarm(CNoteWnd& note);
  void EditHiding(CNoteWnd& note);
  int NextAlarmIndex() const;
  int TrayImage() const;
  CAlarms& Alarms() { return *m_alarms; }
  // Starts the program an alarm names, or opens it; false when that fails.
  static bool RunAlarmProgram(const std::string& command);

  // The settings dialog with the layout of a note.
  void NoteSettings(CNoteWnd& note);

  // Random numbers for random note colours.
  int RandomNumber() override { return m_random.Next(); }

  // The calendar window.
  CCalendar* Calendar() const { return m_calendar.get(); }

  // Global hotkeys.
  void UnregisterHotkeys() override;
  void OnHotKey(int id);
  CGlobalHotkeys& Hotkeys();

  // Notes over the network.
  CNoteServer* Server() const;
  CNetwork& Network() { return *m_network; }
  // Notes received from the network are made hidden and shown once their sender is known.
  void SetNextVisible(bool visible) { m_nextVisible = visible; }
  // A note that came over the network, with its sender and time of arrival.
  CNoteWnd* ReceiveNote(const ReceivedNote& received);
  // The send-to dialog with this text and these recipients.
  void SendTo(const QString& text, const QString& recipients);

  // Program-wide commands (see CProgramCommands).
  void OnCommand(int id);
  void BuildMainMenu(QMenu& menu);
  // Where a note made from text goes: its size for the text, within the screen.
  QRect NewNoteRect(const CNote& note, const NotePoint& p) const;
  CNoteWnd* CreateNoteFromText(const std::string& text, bool select) override;
  NotePoint GetNewNotePosition() const;
  void StoreUndo(const std::vector<int>& indices, int labelId);
  const CUndoBuffer& Undo() const;
  CNoteCommands& Commands() { return *m_commands; }
  CProgramCommands& Program() { return *m_program; }
  // What a double click on the tray icon does (an index into its actions).
  int IconAction() const { return m_iconAction; }
  void BringLostNotesBack(bool force = false);
  int LayoutNumberOfItem(int n) const override;

  // Editing.
  void StartEdit(CNoteWnd& note) override;
  void StartNewNote(const QPoint& pos, CNoteWnd* source, int layout);
  CNoteEditor* ActiveEditor() const override;
  // Notes show on every workspace.
  bool OnAllWorkspaces() const override { return m_allWorkspaces; }
  void CommitEditor(CNoteEditor& editor, const std::string& text, const QRect& rect, bool modified,
                    bool wasMinimized, int layout, bool randomColor, ColorRef randomBack) override;
  void CancelEditor(CNoteEditor& editor, bool wasMinimized) override;

  // Note commands and the note menu.
  void BuildNoteMenu(QMenu& menu, CNoteWnd* subject, bool fromList) override;
  void ShowNoteMenu(CNoteWnd& note, const QPoint& globalPos) override;
  void NoteCommand(CNoteWnd& note, int id, bool shift = false) override;
  std::vector<std::string> FolderList() const override;
  // The screen rectangles of the note windows on screen.
  std::vector<Rect4> VisibleNoteRects() const override;

  // Clipboard text made ready for a note with this font and alignment, or
  // nothing when the user cancels the paste.
  std::optional<std::string> ClipboardTextFor(const std::string& existing, const TextStyle& style);
  std::string FormatLines(const std::string& text, const TextStyle& style) const;

  QString DateMenuLabel(int id, bool keepCode) const override;
  QString AskExistingFile(QWidget* parent, int filterId, const QString& dirKey) override;
  CTrayIcon* Tray() const { return m_tray.get(); }

  void NotifyNotesChanged() override { Q_EMIT NotesChanged(); }
  QMetaObject::Connection OnNotesChanged(QObject* context, std::function<void()> f) override {
    return connect(this, &CMainWindow::NotesChanged, context, std::move(f));
  }

 Q_SIGNALS:
  void NotesChanged();

 public:
  // Tells the user this text in a message box.
  void ShowMessage(const std::string& text);
  // Asks before notes from outside may start programs by their alarms.
  bool AllowPrograms(const std::string& source, const std::vector<std::string>& commands);
  void CheckReadOnly();

 private:
  void NoteAdded(CNote& note) override;
  void NoteRemoving(CNote& note) override;
  void NoteIndexChanged(CNote& note) override;

  QString m_commandLine;
  uint32_t m_flags = kIdle;
  CNoteStore m_store;
  std::map<const CNote*, std::unique_ptr<CNoteWnd>> m_windows;
  std::unique_ptr<CTrayIcon> m_tray;
  QPointer<CNoteEditor> m_editor;
  QRect m_lastVirtualScreen;
  int m_tabStops = 8, m_iconAction = 0;
  bool m_nextVisible = true;
  // A large file's windows are shown a batch at a time from the event loop,
  // so the tray, its menu, received notes and alarms answer from the first second.
  static constexpr std::size_t kShowBatch = 200;
  static constexpr std::size_t kPacedBatch = 50;  // from the event loop, each once the last is mapped
  std::vector<QPointer<CNoteWnd>> m_inFlight;
  int m_inFlightTicks = 0;
  bool m_batchShow = false;
  std::deque<const CNote*> m_pendingShow;
  // Notes whose windows are not made yet (see WindowOf).
  std::unordered_set<const CNote*> m_deferred;
  CNoteWnd* FindWindow(const CNote& note) const;
  CNoteWnd* MakeWindow(CNote& note);
  QTimer m_showBatch;
  void ShowPendingBatch();
  bool m_shutDown = false;
  std::function<DateTime()> m_clock;
  bool m_allWorkspaces = true;  // as the notes were last told
  std::unique_ptr<CCalendar> m_calendar;
  CRandomColors m_random;
  // The parts, each with its own state and timers.
  std::unique_ptr<CSyncedFile> m_synced;
  std::unique_ptr<CAlarms> m_alarms;
  std::unique_ptr<CNetwork> m_network;
  std::unique_ptr<CProgramCommands> m_program;
  std::unique_ptr<CNoteCommands> m_commands;
};

}  // namespace quillet
