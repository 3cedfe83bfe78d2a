#pragma once
#include <QString>
#include <QWidget>
#include <map>
#include <memory>

#include "notes/NoteStore.h"

namespace quillet {

class CNoteWnd;

// The hidden window that owns every note, the data files and the
// program-wide state, and runs the program-wide commands.
class CMainWindow : public QWidget, private INoteArrayObserver {
  Q_OBJECT
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

  explicit CMainWindow(const QString& commandLine);
  ~CMainWindow() override;

  // Reads the state flags, applies the settings and loads the notes.
  void OnCreate();
  void ApplySettings();
  // Writes the state flags and lets go of every note; the data file is not written.
  void Shutdown();
  bool IsShutDown() const { return m_shutDown; }

  bool HasFlag(uint32_t f) const { return m_flags & f; }
  uint32_t Flags() const { return m_flags; }

  CNoteStore& Store() { return m_store; }
  CNote* GetNote(int index) const { return m_store.GetNote(index); }
  int NoteCount() const { return m_store.Count(); }
  CNoteWnd* WindowOf(const CNote& note) const;

  CNote* CreateNote(const std::string& text, const NoteRect& rect, bool applyDefaultLayout, bool visible);
  int DeleteNotes(const std::vector<int>& indices, bool storeUndo, bool toRecycleBin);
  bool LoadNotes(const QString& importPath = {});
  bool SaveNote(int index, bool updateHeader) { return m_store.SaveNote(index, updateHeader); }
  bool SaveAllNotes() { return m_store.SaveAllNotes(); }

  ColorRef DesktopColor() const;
  // The data file path the settings name: "FileNotes", else the command
  // line, else the default file in the data folder.
  QString ConfiguredDataPath() const;

 private:
  void NoteAdded(CNote& note) override;
  void NoteRemoving(CNote& note) override;
  void NoteIndexChanged(CNote& note) override;
  void ShowMessage(const std::string& text);
  void ApplyDefaultLayout(CNote& note) const;

  QString m_commandLine;
  uint32_t m_flags = kIdle;
  CNoteStore m_store;
  std::map<const CNote*, std::unique_ptr<CNoteWnd>> m_windows;
  int m_tabStops = 8, m_iconAction = 0, m_alarmNext = 15;
  bool m_nextVisible = true;
  bool m_shutDown = false;
};

}  // namespace quillet
