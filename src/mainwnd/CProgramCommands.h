#pragma once
#include <QObject>
#include <QPoint>
#include <memory>

class QMenu;

namespace quillet {

class CGlobalHotkeys;
class CMainWindow;
class CNoteWnd;
struct SearchSpec;

// The program-wide commands: the main menu of the tray icon, its double
// click, the global hotkeys, and the windows they open (note list, search,
// settings, calendar, about, help).
class CProgramCommands : public QObject {
  Q_OBJECT
 public:
  explicit CProgramCommands(CMainWindow& main);
  ~CProgramCommands() override;

  void OnCommand(int id);
  bool IsCommandAvailable(int id) const;
  void BuildMainMenu(QMenu& menu);
  void ShowMainMenu(const QPoint& globalPos);
  void TrayDoubleClick();
  void TrayPressed();

  void RegisterHotkeys();
  void UnregisterHotkeys();
  void OnHotKey(int id);
  CGlobalHotkeys& Hotkeys();

  // The note list, and the search that opens it.
  void OpenNoteList(const SearchSpec* search = nullptr);
  void SearchCommand();
  // The settings dialog: the program's settings, or the layout of a note.
  void SettingsCommand();
  void NoteSettings(CNoteWnd& note);
  void ToggleCalendar();

 private:
  void NewNoteCommand(int n);
  void ToggleShowNotes();
  void ToggleAlwaysOnTop();
  void About();
  void Help();
  void Exit();

  CMainWindow& m_main;
  std::unique_ptr<CGlobalHotkeys> m_hotkeys;
  bool m_toldNoHotkeys = false;
};

}  // namespace quillet
