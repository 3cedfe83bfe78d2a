#include "mainwnd/CMainWindow.h"

#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "controls/CMessageBox.h"
#include "notewnd/CNoteWnd.h"

namespace quillet {

CMainWindow::CMainWindow(const QString& commandLine) : QWidget(nullptr), m_commandLine(commandLine) {
  setWindowTitle(QStringLiteral("Quillet"));
  m_store.Notes().SetObserver(this);
  m_store.SetReporter([this](const std::string& text) { ShowMessage(text); });
  m_store.SetDesktopColor([this] { return DesktopColor(); });
}

CMainWindow::~CMainWindow() {
  m_store.Notes().SetObserver(nullptr);
  m_windows.clear();
}

void CMainWindow::ShowMessage(const std::string& text) { CMessageBox::Show(nullptr, FromLocal(text)); }

ColorRef CMainWindow::DesktopColor() const {
  // The desktop has no colour of its own here; the window colour stands in.
  return FromQColor(palette().color(QPalette::Window));
}

void CMainWindow::OnCreate() {
  const CSettings& s = AppSettings();
  auto set = [this](uint32_t f, bool on) { m_flags = on ? (m_flags | f) : (m_flags & ~f); };
  set(kShowNotes, s.Flag("Show"));
  set(kCalendarShown, s.Flag("CalShow"));
  set(kAlwaysOnTop, s.Flag("AlwaysOnTop"));
  set(kWindowTitles, s.Flag("WindowTitles"));
  move(-300, -300);
  resize(0, 0);
  ApplySettings();
}

QString CMainWindow::ConfiguredDataPath() const {
  QString path = FromLocal(AppSettings().String("FileNotes"));
  if (path.isEmpty()) path = m_commandLine;
  if (path.isEmpty()) path = DefaultDataFilePath();
  return path;
}

void CMainWindow::ApplySettings() {
  const CSettings& s = AppSettings();
  auto set = [this](uint32_t f, bool on) { m_flags = on ? (m_flags | f) : (m_flags & ~f); };
  // The path in use before this call decides; at creation it is still empty.
  set(kReadOnly, !m_store.DataPath().empty() && m_store.DataFileIsReadOnly());
  set(kTooSmall, s.Flag("TooSmall"));
  set(kShowFull, s.Flag("ShowFull"));
  set(kShadow, s.Flag("Shadow"));
  set(kAlarmBalloon, s.Flag("AlarmBalloon"));
  set(kDeleteRecBin, s.Flag("DeleteRecBin"));
  m_tabStops = s.Int("TabStops");
  m_iconAction = s.Int("IconAction");
  m_alarmNext = s.Int("AlarmNext");

  const QString path = ConfiguredDataPath();
  const QString current = FromLocal(m_store.DataPath());
  if (current.isEmpty() || current.compare(path, Qt::CaseInsensitive) != 0) {
    m_store.Clear();
    m_store.SetDataPath(ToLocal(path));
    m_store.SetV3Sound(V3SoundDefaults::FromSettings(s.Int("AlarmSignal"), s.String("AlarmWave")));
    LoadNotes();
  }

  const std::string bin = s.String("FileRecBin");
  m_store.SetRecycleBinPath(bin.empty() ? CRecycleBin::DerivedPath(m_store.DataPath()) : bin);
}

bool CMainWindow::LoadNotes(const QString& importPath) { return m_store.LoadNotes(ToLocal(importPath)); }

void CMainWindow::Shutdown() {
  if (m_shutDown) return;
  m_shutDown = true;
  CSettings& s = AppSettings();
  s.WriteInt("Settings", "Show", HasFlag(kShowNotes) ? 1 : 0);
  s.WriteInt("Settings", "CalShow", HasFlag(kCalendarShown) ? 1 : 0);
  s.WriteInt("Settings", "AlwaysOnTop", HasFlag(kAlwaysOnTop) ? 1 : 0);
  s.Store().Sync();
  m_store.Clear();
}

CNoteWnd* CMainWindow::WindowOf(const CNote& note) const {
  const auto it = m_windows.find(&note);
  return it == m_windows.end() ? nullptr : it->second.get();
}

void CMainWindow::ApplyDefaultLayout(CNote& note) const {
  const CSettings& s = AppSettings();
  const auto font = s.GetBytes("Settings", "FontNote");
  if (font.size() == LogFont::kSize) note.Font = LogFont::Read(font.data());
  note.ColorText = static_cast<ColorRef>(s.Int("ColorText"));
  note.ColorBack = static_cast<ColorRef>(s.Int("ColorBack"));
  note.ColorBorder = static_cast<ColorRef>(s.Int("ColorBorder"));
  note.Align = static_cast<uint16_t>(s.Int("Align"));
  note.SetFlag(kFlagDeskColor, s.Flag("DeskColor"));
  note.Transparency = s.Int("Transparency");
}

CNote* CMainWindow::CreateNote(const std::string& text, const NoteRect& rect, bool applyDefaultLayout, bool visible) {
  CNote n;
  n.Rect = rect;
  n.SetText(text);
  if (applyDefaultLayout) ApplyDefaultLayout(n);
  m_nextVisible = visible;
  CNote* created = m_store.CreateNote(std::move(n));
  m_nextVisible = true;
  return created;
}

int CMainWindow::DeleteNotes(const std::vector<int>& indices, bool /*storeUndo*/, bool toRecycleBin) {
  return m_store.DeleteNotes(indices, toRecycleBin && HasFlag(kDeleteRecBin));
}

void CMainWindow::NoteAdded(CNote& note) {
  auto wnd = std::make_unique<CNoteWnd>(*this, note);
  if (m_nextVisible && HasFlag(kShowNotes) && note.HideMode == 0) wnd->show();
  m_windows[&note] = std::move(wnd);
}

void CMainWindow::NoteRemoving(CNote& note) { m_windows.erase(&note); }

void CMainWindow::NoteIndexChanged(CNote& note) {
  if (CNoteWnd* w = WindowOf(note)) w->UpdateTitle();
}

}  // namespace quillet
