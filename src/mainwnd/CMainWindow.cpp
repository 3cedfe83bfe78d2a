#include "mainwnd/CMainWindow.h"

#include <QApplication>
#include <QFileInfo>
#include <QMenu>
#include <QScreen>
#include <algorithm>

#include <QSysInfo>

#include "calendar/CCalendar.h"
#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "common/DateFormat.h"
#include "common/Text.h"
#include "controls/CFileDialog.h"
#include "controls/CMessageBox.h"
#include "controls/Platform.h"
#include "controls/QtDateNames.h"
#include "mainwnd/CAlarms.h"
#include "mainwnd/CGlobalHotkeys.h"
#include "mainwnd/CNetwork.h"
#include "mainwnd/CProgramCommands.h"
#include "mainwnd/CSyncedFile.h"
#include "mainwnd/CNoteCommands.h"
#include "mainwnd/CTrayIcon.h"
#include "net/CNoteServer.h"

#include "net/TransferProtocol.h"
#include "notes/NoteText.h"
#include "notewnd/CNoteEditor.h"
#include "notewnd/CNoteWnd.h"
#include "notewnd/Layout.h"
#include "app/Ids.h"
#include "controls/UiText.h"

namespace quillet {

CMainWindow::CMainWindow(const QString& commandLine) : QWidget(nullptr), m_commandLine(commandLine) {
  setWindowTitle(QStringLiteral("Quillet"));
  setWindowIcon(QuilletIcon());
  m_store.Notes().SetObserver(this);
  m_store.SetReporter([this](const std::string& text) { ShowMessage(text); });
  m_store.SetProgramGuard([this](const std::string& source, const std::vector<std::string>& commands) {
    return AllowPrograms(source, commands);
  });
  m_store.SetDesktopColor([this] { return DesktopColor(); });
  m_alarms = std::make_unique<CAlarms>(*this);
  m_network = std::make_unique<CNetwork>(*this);
  m_commands = std::make_unique<CNoteCommands>(*this);
  m_program = std::make_unique<CProgramCommands>(*this);
  m_showBatch.setInterval(10);
  connect(&m_showBatch, &QTimer::timeout, this, &CMainWindow::ShowPendingBatch);
  m_synced = std::make_unique<CSyncedFile>(*this);
  m_store.SetOutsideChangeHandler([this] { m_synced->CheckSoon(); });
}

CMainWindow::~CMainWindow() {
  m_network.reset();
  m_store.Notes().SetObserver(nullptr);
  m_windows.clear();
}

void CMainWindow::ShowMessage(const std::string& text) {
  CBusyGuard busy(*this);
  CMessageBox::Show(nullptr, FromLocal(text));
}

bool CMainWindow::AllowPrograms(const std::string& source, const std::vector<std::string>& commands) {
  std::string list;
  for (const std::string& c : commands) list += (list.empty() ? "" : "\n") + c;
  CBusyGuard busy(*this);
  return CMessageBox::Show(nullptr, FromLocal(FormatUIString(LoadUIString(Str::AllowPrograms), {source, list})),
                           QMessageBox::Yes | QMessageBox::No, QMessageBox::No,
                           QMessageBox::Warning) == QMessageBox::Yes;
}

ColorRef CMainWindow::DesktopColor() const {
  // The desktop tells no colour of its own here; the window colour stands in.
  return FromQColor(QApplication::palette().color(QPalette::Window));
}

void CMainWindow::OnCreate() {
  const CSettings& s = AppSettings();
  SetFlag(kShowNotes, s.Flag("Show"));
  SetFlag(kCalendarShown, s.Flag("CalShow"));
  SetFlag(kAlwaysOnTop, s.Flag("AlwaysOnTop"));
  SetFlag(kWindowTitles, s.Flag("WindowTitles"));
  const bool compositor = HasCompositor();
  SetFlag(kLayeredAvailable, compositor);
  SetFlag(kShadowAvailable, compositor);
  move(-300, -300);
  resize(0, 0);
  ApplySettings();
  if (QScreen* screen = QGuiApplication::primaryScreen())
    connect(screen, &QScreen::virtualGeometryChanged, this, [this] { BringLostNotesBack(); });
  connect(qApp, &QGuiApplication::screenAdded, this, [this] { BringLostNotesBack(); });
  connect(qApp, &QGuiApplication::screenRemoved, this, [this] { BringLostNotesBack(); });
  // A write-protected data file fires no alarm and ends no hiding.
  if (!HasFlag(kReadOnly)) m_alarms->Start();
  // A folder in the file's place has been named as such while loading.
  else if (!QFileInfo(FromLocal(m_store.DataPath())).isDir())
    ShowMessage(FormatUIString(LoadUIString(Str::ReadOnlyFile), {m_store.DataPath()}));
}

bool CMainWindow::AddTrayIcon() {
  if (!m_tray) {
    m_tray = std::make_unique<CTrayIcon>();
    connect(m_tray.get(), &CTrayIcon::MenuRequested, m_program.get(), &CProgramCommands::ShowMainMenu);
    connect(m_tray.get(), &CTrayIcon::DoubleClicked, m_program.get(), &CProgramCommands::TrayDoubleClick);
    connect(m_tray.get(), &CTrayIcon::Pressed, m_program.get(), &CProgramCommands::TrayPressed);
  }
  return m_tray->Add();
}

QString CMainWindow::ConfiguredDataPath() const {
  QString path = FromLocal(AppSettings().String("FileNotes"));
  if (path.isEmpty()) path = m_commandLine;
  if (path.isEmpty()) path = DefaultDataFilePath();
  return path;
}

void CMainWindow::CheckReadOnly() { SetFlag(kReadOnly, !m_store.DataPath().empty() && m_store.DataFileIsReadOnly()); }

void CMainWindow::ApplySettings() {
  const CSettings& s = AppSettings();
  CheckReadOnly();
  const bool wasEverywhere = std::exchange(m_allWorkspaces, s.Flag("AllWorkspaces"));
  SetFlag(kTooSmall, s.Flag("TooSmall"));
  SetFlag(kShowFull, s.Flag("ShowFull"));
  SetFlag(kShadow, s.Flag("Shadow"));
  SetFlag(kAlarmBalloon, s.Flag("AlarmBalloon"));
  SetFlag(kDeleteRecBin, s.Flag("DeleteRecBin"));
  m_tabStops = s.Int("TabStops");
  m_iconAction = s.Int("IconAction");

  const QString path = ConfiguredDataPath();
  const QString current = FromLocal(m_store.DataPath());
  if (current.isEmpty() || current.compare(path, Qt::CaseInsensitive) != 0) {
    if (m_editor) m_editor->Cancel();
    m_store.Clear();
    m_commands->ClearUndo();
    m_store.SetDataPath(ToLocal(path));
    m_store.SetV3Sound(V3SoundDefaults::FromSettings(s.Int("AlarmSignal"), s.String("AlarmWave")));
    m_batchShow = true;
    LoadNotes();
    m_batchShow = false;
    if (!m_pendingShow.empty()) m_showBatch.start();
    // A write-protected file is known at once, not only after the settings
    // are applied again: every change would fail otherwise.
    CheckReadOnly();
    m_synced->WatchDataFile();
    QTimer::singleShot(0, m_synced.get(), &CSyncedFile::OfferConflictCopies);
  }
  m_store.SetBackups(s.Int("Backups"), QSysInfo::machineHostName().toStdString());

  const std::string bin = s.String("FileRecBin");
  m_store.SetRecycleBinPath(bin.empty() ? CRecycleBin::DerivedPath(m_store.DataPath()) : bin);
  m_program->RegisterHotkeys();
  m_network->StartListening();
  // The calendar is made anew from its settings.
  m_calendar = std::make_unique<CCalendar>(*this);
  m_calendar->Place();

  for (const auto& [note, wnd] : m_windows) {
    wnd->ApplyZOrder(false);
    if (m_allWorkspaces != wasEverywhere && wnd->isVisible()) SetOnAllWorkspaces(wnd.get(), m_allWorkspaces);
    wnd->update();
  }
}

bool CMainWindow::LoadNotes(const QString& importPath, bool onlyMissing) {
  const bool ok = m_store.LoadNotes(ToLocal(importPath), onlyMissing);
  BringLostNotesBack(true);
  Q_EMIT NotesChanged();
  return ok;
}

void CMainWindow::Shutdown() {
  if (m_shutDown) return;
  m_shutDown = true;
  CMessageBox::SetEnding();
  // What is being typed when the program ends is kept, as any edit is.
  if (m_editor) m_editor->Commit();
  // Changes that waited for another program's file go into it now.
  if (m_store.FileChangedOutside()) m_store.MergeOutside();
  m_store.Close();
  CSettings& s = AppSettings();
  s.WriteInt("Settings", "Show", HasFlag(kShowNotes) ? 1 : 0);
  s.WriteInt("Settings", "CalShow", HasFlag(kCalendarShown) ? 1 : 0);
  s.WriteInt("Settings", "AlwaysOnTop", HasFlag(kAlwaysOnTop) ? 1 : 0);
  s.Store().Sync();
  m_network->Close();
  m_program->UnregisterHotkeys();
  m_calendar.reset();
  m_alarms->Stop();
  m_commands->ClearUndo();
  if (m_tray) m_tray->Remove();
  // The notes stay in memory, closed to writes: taking their windows down one
  // by one would keep a user who logs out waiting for nothing.
}

CNoteWnd* CMainWindow::WindowOf(const CNote& note) const {
  if (CNoteWnd* w = FindWindow(note)) return w;
  // A window put off at start-up is made when it is first asked for.
  if (!m_deferred.count(&note)) return nullptr;
  return const_cast<CMainWindow*>(this)->MakeWindow(const_cast<CNote&>(note));
}

CNoteWnd* CMainWindow::FindWindow(const CNote& note) const {
  const auto it = m_windows.find(&note);
  return it == m_windows.end() ? nullptr : it->second.get();
}

CNoteWnd* CMainWindow::MakeWindow(CNote& note) {
  m_deferred.erase(&note);
  auto& slot = m_windows[&note];
  slot = std::make_unique<CNoteWnd>(*this, note);
  return slot.get();
}

CNoteWnd* CMainWindow::WindowAt(int index) const {
  const CNote* n = GetNote(index);
  return n ? WindowOf(*n) : nullptr;
}

CNoteWnd* CMainWindow::CreateNote(const std::string& text, const NoteRect& rect, bool applyDefaultLayout,
                                  bool visible) {
  CNote n;
  n.Rect = rect;
  n.SetText(text);
  if (applyDefaultLayout) m_commands->ApplyLayout(n, ReadLayout(AppSettings(), 0));
  m_nextVisible = visible;
  CNote* created = m_store.CreateNote(std::move(n));
  m_nextVisible = true;
  if (created) Q_EMIT NotesChanged();
  return created ? WindowOf(*created) : nullptr;
}

int CMainWindow::DeleteNotes(const std::vector<int>& indices, bool storeUndo, bool toRecycleBin) {
  if (storeUndo) StoreUndo(indices, Cmd::DeleteNotes);
  const int removed = m_store.DeleteNotes(indices, toRecycleBin && HasFlag(kDeleteRecBin));
  Q_EMIT NotesChanged();
  return removed;
}

void CMainWindow::NoteAdded(CNote& note) {
  // Past the first batch of a large file, windows are made and shown from the event loop.
  if (m_batchShow && m_windows.size() >= kShowBatch) {
    m_deferred.insert(&note);
    m_pendingShow.push_back(&note);
    return;
  }
  CNoteWnd* w = MakeWindow(note);
  // A new window takes its place by the always-on-top rule alone; only
  // showing the notes again sends the others to the bottom.
  if (m_nextVisible && HasFlag(kShowNotes) && note.HideMode == 0) w->show();
}

void CMainWindow::NoteRemoving(CNote& note) {
  m_deferred.erase(&note);
  const auto it = m_windows.find(&note);
  if (it == m_windows.end()) return;
  // The window may be in the middle of one of its own event handlers.
  it->second->Detach();
  it->second.release()->deleteLater();
  m_windows.erase(it);
  m_alarms->NoteRemoving(note);
}

void CMainWindow::NoteIndexChanged(CNote& note) {
  if (CNoteWnd* w = FindWindow(note)) w->UpdateTitle();
}

void CMainWindow::ShowNote(CNoteWnd& w) {
  w.show();
  w.ApplyZOrder(true);
}

std::vector<CNoteWnd*> CMainWindow::SelectedNotes() const {
  std::vector<CNoteWnd*> out;
  for (const auto& n : m_store.Notes())
    if (n->Flags & kFlagSelected)
      if (CNoteWnd* w = WindowOf(*n)) out.push_back(w);
  return out;
}

std::vector<int> CMainWindow::SelectedIndices() const {
  std::vector<int> out;
  for (const auto& n : m_store.Notes())
    if (n->Flags & kFlagSelected) out.push_back(n->Index);
  return out;
}

void CMainWindow::ClearSelection() {
  for (const auto& n : m_store.Notes()) {
    if (CNoteWnd* w = FindWindow(*n))
      w->SetSelected(false);
    else
      n->SetFlag(kFlagSelected, false);
  }
}

void CMainWindow::SetNoteFocus(bool on) {
  SetFlag(kNoteFocus, on);
  for (CNoteWnd* w : SelectedNotes()) w->update();
}

// ---- New notes and editing --------------------------------------------------

int CMainWindow::LayoutNumberOfItem(int n) const {
  if (n <= 0) return 0;
  const std::vector<int> layouts = AppSettings().GetLayoutList();
  return n <= static_cast<int>(layouts.size()) ? layouts[static_cast<std::size_t>(n - 1)] : 0;
}

NotePoint CMainWindow::GetNewNotePosition() const {
  const CSettings& s = AppSettings();
  const CascadeSettings c{s.Int("NewLeft"), s.Int("NewTop"), s.Int("NewRight"), s.Int("NewBottom")};
  const QRect work = WorkArea();
  return quillet::GetNewNotePosition(m_store.Notes(), c, {work.left(), work.top(), work.right() + 1, work.bottom() + 1});
}

void CMainWindow::StartNewNote(const QPoint& pos, CNoteWnd* source, int layout) {
  if (m_editor) m_editor->Commit();
  std::string text = AppSettings().String("NewText");
  if (!text.empty()) text = HoldToWidth(ExpandNow(text), 255);
  const std::size_t caret = TakeCaretMarker(text);
  m_editor = new CNoteEditor(*this, source, layout, pos, text, caret);
}

void CMainWindow::StartEdit(CNoteWnd& note) {
  if (HasFlag(kReadOnly)) return;
  if (m_editor) m_editor->Commit();
  m_editor = new CNoteEditor(*this, note);
}

void CMainWindow::CommitEditor(CNoteEditor& editor, const std::string& text, const QRect& rect, bool modified,
                               bool wasMinimized, int layout, bool randomColor, ColorRef randomBack) {
  CNoteWnd* source = editor.SourceNote();
  if (editor.IsNewNote() || !source) {
    const bool shown = HasFlag(kShowNotes);
    SetFlag(kShowNotes, true);
    CNote n;
    n.Rect = {rect.x(), rect.y(), rect.width(), rect.height()};
    n.SetText(text);
    n.Modified = DateTime::Now();
    if (source) {
      m_commands->CopyLayout(source->Note(), n);
    } else {
      ApplyLayoutValues(n, ReadLayout(AppSettings(), layout));
      if (randomColor) {
        n.ColorBack = randomBack;
        n.ColorText = kColorAutomatic;
        n.ColorBorder = kColorAutomatic;
        n.SetFlag(kFlagDeskColor, false);
      }
    }
    m_commands->ApplyNewFolder(n);
    CNote* created = m_store.CreateNote(std::move(n));
    SetFlag(kShowNotes, shown);
    if (!created) return;
    SaveNote(created->Index, true);
    ClearSelection();
    CNoteWnd* w = WindowOf(*created);
    w->SetSelected(true);
    if (AppSettings().Flag("NewMinimize")) w->FitToText(true);
    if (AppSettings().Flag("NewAlarm")) {
      QPointer<CNoteWnd> target(w);
      QTimer::singleShot(0, this, [this, target] {
        if (target) NoteCommand(*target, Cmd::Alarm);
      });
    }
    Q_EMIT NotesChanged();
    return;
  }
  CNote& note = source->Note();
  StoreUndo({note.Index}, Cmd::EditNote);
  source->SetText(text);
  source->SetNoteGeometry(rect);
  if (wasMinimized) source->FitToText(true);
  if (note.HideMode == 0 && HasFlag(kShowNotes)) ShowNote(*source);
  if (modified) note.Modified = DateTime::Now();
  SaveNote(note.Index, false);
  Q_EMIT NotesChanged();
}

void CMainWindow::CancelEditor(CNoteEditor& editor, bool wasMinimized) {
  CNoteWnd* source = editor.SourceNote();
  if (editor.IsNewNote() || !source) return;
  if (wasMinimized) source->FitToText(true);
  if (source->Note().HideMode == 0 && HasFlag(kShowNotes)) ShowNote(*source);
}

QRect CMainWindow::NewNoteRect(const CNote& note, const NotePoint& p) const {
  const bool tooSmall = HasFlag(kTooSmall);
  QSize size = ComputeNoteSize(note, nullptr, false, 0, m_tabStops, tooSmall);
  // Text from outside may hold lines of any length: the note is never wider
  // than the screen, and its long lines wrap. Nothing is cut.
  const QPoint at(p.x, p.y);
  const QRect area = WorkArea(&at);
  if (size.width() > area.width()) size = ComputeNoteSize(note, nullptr, false, area.width(), m_tabStops, tooSmall);
  int x = p.x;
  if (x + size.width() > area.right() + 1) x = std::max(area.left(), area.right() + 1 - size.width());
  return QRect(QPoint(x, p.y), size);
}

CNoteWnd* CMainWindow::CreateNoteFromText(const std::string& text, bool select) {
  const NotePoint p = GetNewNotePosition();
  CNoteWnd* w = CreateNote(text, {p.x, p.y, 10, 10}, true, true);
  if (!w) return nullptr;
  w->Note().Modified = DateTime::Now();
  w->SetNoteGeometry(NewNoteRect(w->Note(), p));
  SaveNote(w->Index(), true);
  ClearSelection();
  if (select) w->SetSelected(true);
  return w;
}

void CMainWindow::BringLostNotesBack(bool force) {
  const QRect screen = VirtualScreen();
  if (!force && screen == m_lastVirtualScreen) return;
  m_lastVirtualScreen = screen;
  for (const auto& n : m_store.Notes()) {
    const QRect r(n->Rect.left, n->Rect.top, n->Rect.width, n->Rect.height);
    if (screen.contains(r.topLeft()) || screen.contains(r.topRight()) || screen.contains(r.bottomLeft()) ||
        screen.contains(r.bottomRight()))
      continue;
    const NotePoint p = GetNewNotePosition();
    if (CNoteWnd* w = WindowOf(*n)) w->SetNoteGeometry(QRect(p.x, p.y, r.width(), r.height()));
    SaveNote(n->Index, false);
  }
}

// ---- Folders, dates and files ------------------------------------------------

std::vector<std::string> CMainWindow::FolderList() const {
  std::vector<std::string> folders = AppSettings().GetStringList("Folder");
  // Folder names compare without regard to case everywhere.
  for (const auto& n : m_store.Notes())
    if (!n->Folder().empty() &&
        std::none_of(folders.begin(), folders.end(), [&](const std::string& f) { return EqualsNoCase(f, n->Folder()); }))
      folders.push_back(n->Folder());
  return folders;
}

QString CMainWindow::DateMenuLabel(int id, bool keepCode) const {
  std::string text = LoadUIString(id);
  if (!keepCode) {
    const auto sp = text.find(' ');
    text = sp == std::string::npos ? std::string() : text.substr(sp);
    text.erase(0, text.find_first_not_of(' '));
  }
  return FromLocal(ExpandNow(text));
}

QString CMainWindow::AskExistingFile(QWidget* parent, int filterId, const QString& dirKey) {
  CBusyGuard busy(*this);
  const std::string key = dirKey.toStdString();
  const QString path = CFileDialog::OpenExisting(parent, Ui(filterId), FromLocal(AppSettings().String(key)));
  if (!path.isEmpty()) AppSettings().WriteString("Settings", key, ToLocal(QFileInfo(path).absolutePath()));
  return path;
}

CNoteEditor* CMainWindow::ActiveEditor() const { return m_editor; }

void CMainWindow::ShowPendingBatch() {
  // The next batch waits until the window manager has mapped the last one, so
  // neither it nor this program has a long queue of windows before a click.
  // A window it keeps unmapped holds the batches up for two seconds at most.
  const auto waiting = [](const QPointer<CNoteWnd>& w) { return w && w->isVisible() && !w->testAttribute(Qt::WA_Mapped); };
  m_inFlight.erase(std::remove_if(m_inFlight.begin(), m_inFlight.end(), [&](const auto& w) { return !waiting(w); }),
                   m_inFlight.end());
  if (!m_inFlight.empty() && ++m_inFlightTicks < 200) return;
  m_inFlight.clear();
  m_inFlightTicks = 0;
  for (std::size_t done = 0; done < kPacedBatch && !m_pendingShow.empty(); m_pendingShow.pop_front()) {
    // A note removed meanwhile has no window and is no longer put off; one
    // hidden meanwhile stays hidden.
    const CNote* note = m_pendingShow.front();
    if (m_shutDown) continue;
    if (m_deferred.count(note)) MakeWindow(*const_cast<CNote*>(note));
    const auto it = m_windows.find(note);
    if (it == m_windows.end()) continue;
    ++done;
    if (HasFlag(kShowNotes) && note->HideMode == 0) {
      it->second->show();
      m_inFlight.emplace_back(it->second.get());
    }
  }
  if (m_pendingShow.empty()) m_showBatch.stop();
}

std::vector<Rect4> CMainWindow::VisibleNoteRects() const {
  std::vector<Rect4> rects;
  for (const auto& [note, w] : m_windows)
    if (w->isVisible()) {
      const QRect g = w->frameGeometry();
      rects.push_back({g.left(), g.top(), g.left() + g.width(), g.top() + g.height()});
    }
  return rects;
}
int CMainWindow::IndexOf(const CNote* note) const {
  for (const auto& n : m_store.Notes())
    if (n.get() == note) return n->Index;
  return -1;
}

// ---- The parts' commands as the windows and tests reach them -------------------

void CMainWindow::OnCommand(int id) { m_program->OnCommand(id); }
void CMainWindow::BuildMainMenu(QMenu& menu) { m_program->BuildMainMenu(menu); }
void CMainWindow::UnregisterHotkeys() { m_program->UnregisterHotkeys(); }
void CMainWindow::OnHotKey(int id) { m_program->OnHotKey(id); }
CGlobalHotkeys& CMainWindow::Hotkeys() { return m_program->Hotkeys(); }
void CMainWindow::NoteSettings(CNoteWnd& note) { m_program->NoteSettings(note); }
void CMainWindow::AlarmTick() { m_alarms->AlarmTick(); }
bool CMainWindow::AlarmTimerRunning() const { return m_alarms->Running(); }
bool CMainWindow::EditAlarm(CNoteWnd& note) { return m_alarms->EditAlarm(note); }
void CMainWindow::EditHiding(CNoteWnd& note) { m_alarms->EditHiding(note); }
int CMainWindow::NextAlarmIndex() const { return m_alarms->NextAlarmIndex(); }
int CMainWindow::TrayImage() const { return m_alarms->TrayImage(); }
bool CMainWindow::RunAlarmProgram(const std::string& command) { return CAlarms::RunAlarmProgram(command); }
bool CMainWindow::StopFlash(CNoteWnd& note) { return m_alarms->StopFlash(note); }
void CMainWindow::BuildNoteMenu(QMenu& menu, CNoteWnd* subject, bool fromList) {
  m_commands->BuildNoteMenu(menu, subject, fromList);
}
void CMainWindow::ShowNoteMenu(CNoteWnd& note, const QPoint& globalPos) { m_commands->ShowNoteMenu(note, globalPos); }
void CMainWindow::NoteCommand(CNoteWnd& note, int id, bool shift) { m_commands->NoteCommand(note, id, shift); }
void CMainWindow::StoreUndo(const std::vector<int>& indices, int labelId) { m_commands->StoreUndo(indices, labelId); }
const CUndoBuffer& CMainWindow::Undo() const { return m_commands->Undo(); }
std::optional<std::string> CMainWindow::ClipboardTextFor(const std::string& existing, const TextStyle& style) {
  return m_commands->ClipboardTextFor(existing, style);
}
std::string CMainWindow::FormatLines(const std::string& text, const TextStyle& style) const {
  return m_commands->FormatLines(text, style);
}
CNoteServer* CMainWindow::Server() const { return m_network->Server(); }
CNoteWnd* CMainWindow::ReceiveNote(const ReceivedNote& received) { return m_network->ReceiveNote(received); }
void CMainWindow::SendTo(const QString& text, const QString& recipients) { m_network->SendTo(text, recipients); }

}  // namespace quillet
