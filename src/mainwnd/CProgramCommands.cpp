#include "mainwnd/CProgramCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <algorithm>

#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "common/Text.h"
#include "controls/CMessageBox.h"
#include "controls/DialogParts.h"
#include "controls/CModal.h"
#include "controls/Platform.h"
#include "mainwnd/CGlobalHotkeys.h"
#include "mainwnd/Hotkeys.h"
#include "notelist/CNoteListWnd.h"
#include "notelist/CSearchDialog.h"
#include "notelist/Search.h"
#include "settingsdlg/CSettingsDialog.h"
#include "notes/NoteText.h"
#include "notewnd/CNoteWnd.h"
#include "notewnd/Layout.h"
#include "app/Ids.h"
#include "controls/UiText.h"
#include "calendar/CCalendar.h"
#include "mainwnd/CMainWindow.h"
#include "mainwnd/CNoteCommands.h"
#include "controls/UiText.h"

namespace quillet {

CProgramCommands::CProgramCommands(CMainWindow& main) : m_main(main) {}

CProgramCommands::~CProgramCommands() = default;

bool CProgramCommands::IsCommandAvailable(int id) const {
  switch (id) {
    default:
      return true;
  }
}

void CProgramCommands::OnCommand(int id) {
  if (id >= Cmd::NewNoteWithLayout && id < Cmd::NewNoteWithLayout + Cmd::kRange) return NewNoteCommand(id - Cmd::NewNoteWithLayout);
  if (id >= Cmd::PasteNoteWithLayout && id < Cmd::PasteNoteWithLayout + Cmd::kRange) return m_main.Commands().PasteNoteCommand(id - Cmd::PasteNoteWithLayout);
  if (!IsCommandAvailable(id)) return;
  switch (id) {
    case Cmd::Undo: m_main.Commands().UndoCommand(); break;
    case Cmd::ShowNotes: ToggleShowNotes(); break;
    case Cmd::AlwaysOnTop: ToggleAlwaysOnTop(); break;
    case Cmd::About: About(); break;
    case Cmd::Help: Help(); break;
    case Cmd::SendTo:
      if (!m_main.HasFlag(CMainWindow::kNoSockets)) m_main.SendTo(QString(), QString());
      break;
    case Cmd::NoteList: OpenNoteList(); break;
    case Cmd::Settings: SettingsCommand(); break;
    case Cmd::ShowCalendar: ToggleCalendar(); break;
    case Cmd::Search: SearchCommand(); break;
    case Cmd::Exit: Exit(); break;
    default: break;
  }
}

void CProgramCommands::BuildMainMenu(QMenu& menu) {
  const CSettings& s = AppSettings();
  const bool flip = s.Flag("MenuFlip");
  const bool clipboardText = QApplication::clipboard()->mimeData() && QApplication::clipboard()->mimeData()->hasText();
  QList<QAction*> items;
  auto item = [&](int id, const QString& text, bool enabled = true) {
    auto* a = new QAction(text, &menu);
    a->setData(id);
    a->setEnabled(enabled);
    items << a;
    return a;
  };
  auto separator = [&] {
    auto* a = new QAction(&menu);
    a->setSeparator(true);
    items << a;
  };
  auto checked = [&](int id, bool on) {
    QAction* a = item(id, Ui(id), IsCommandAvailable(id));
    a->setCheckable(true);
    a->setChecked(on);
  };

  if (!m_main.HasFlag(CMainWindow::kReadOnly)) {
    const std::vector<int> layouts = s.GetLayoutList();
    if (!layouts.empty()) {
      auto layoutMenu = [&](int base, int textId) {
        auto* sub = new QMenu(Ui(textId), &menu);
        AddItem(*sub, base, Ui(Str::StandardLayout));
        for (std::size_t i = 0; i < layouts.size(); ++i)
          AddItem(*sub, base + 1 + static_cast<int>(i), FromLocal(s.GetString(LayoutSection(layouts[i]), "Name")));
        items << sub->menuAction();
      };
      if (flip && clipboardText) layoutMenu(Cmd::PasteNoteWithLayout, Cmd::PasteNote);
      layoutMenu(Cmd::NewNoteWithLayout, Cmd::NewNote);
      if (!flip && clipboardText) layoutMenu(Cmd::PasteNoteWithLayout, Cmd::PasteNote);
    } else {
      item(Cmd::NewNoteWithLayout, Ui(Cmd::NewNote))->setIcon(QuilletIcon());
      if (clipboardText) item(Cmd::PasteNoteWithLayout, Ui(Cmd::PasteNote));
    }
    if (m_main.Undo().Present()) item(Cmd::Undo, FromLocal(FormatUIString("%s: %s", {LoadUIString(Cmd::Undo), m_main.Undo().Label()})));
    separator();
    item(Cmd::NoteList, Ui(Cmd::NoteList), IsCommandAvailable(Cmd::NoteList));
    if (m_main.NoteCount() > 0) item(Cmd::Search, Ui(Cmd::Search), IsCommandAvailable(Cmd::Search));
    if (!m_main.HasFlag(CMainWindow::kNoSockets)) item(Cmd::SendTo, Ui(Cmd::SendTo), IsCommandAvailable(Cmd::SendTo));
    separator();
    checked(Cmd::ShowNotes, m_main.HasFlag(CMainWindow::kShowNotes));
    checked(Cmd::ShowCalendar, m_main.HasFlag(CMainWindow::kCalendarShown));
    checked(Cmd::AlwaysOnTop, m_main.HasFlag(CMainWindow::kAlwaysOnTop));
    item(Cmd::Settings, Ui(Cmd::Settings), IsCommandAvailable(Cmd::Settings));
    separator();
  }
  item(Cmd::Help, Ui(Cmd::Help));
  item(Cmd::About, Ui(Cmd::About));
  separator();
  item(Cmd::Exit, Ui(Cmd::Exit));

  if (flip) std::reverse(items.begin(), items.end());
  for (QAction* a : items) menu.addAction(a);
}

void CProgramCommands::ShowMainMenu(const QPoint& globalPos) {
  if (!m_main.HasFlag(CMainWindow::kIdle)) return TrayPressed();
  QMenu menu;
  BuildMainMenu(menu);
  QAction* chosen = nullptr;
  {
    CBusyGuard busy(m_main);
    chosen = menu.exec(globalPos);
  }
  if (chosen && chosen->data().isValid()) OnCommand(chosen->data().toInt());
}

void CProgramCommands::TrayDoubleClick() {
  if (!m_main.HasFlag(CMainWindow::kIdle)) return TrayPressed();
  if (m_main.HasFlag(CMainWindow::kReadOnly)) return;
  static const int kActions[] = {Cmd::NewNoteWithLayout, Cmd::PasteNoteWithLayout, Cmd::NoteList, Cmd::Search,
                                 Cmd::SendTo,  Cmd::ShowNotes, Cmd::ShowCalendar, Cmd::AlwaysOnTop};
  const int action = m_main.IconAction() >= 0 && m_main.IconAction() < 8 ? m_main.IconAction() : 0;
  OnCommand(kActions[action]);
}

void CProgramCommands::TrayPressed() {
  // While a dialog is open, the icon only brings it to the front.
  if (!m_main.HasFlag(CMainWindow::kIdle))
    if (QWidget* modal = QApplication::activeModalWidget()) {
      modal->raise();
      modal->activateWindow();
    }
}

void CProgramCommands::NewNoteCommand(int n) {
  if (m_main.HasFlag(CMainWindow::kReadOnly)) return;
  const NotePoint p = m_main.GetNewNotePosition();
  m_main.StartNewNote(QPoint(p.x, p.y), nullptr, m_main.LayoutNumberOfItem(n));
}

void CProgramCommands::ToggleShowNotes() {
  m_main.SetFlag(CMainWindow::kShowNotes, !m_main.HasFlag(CMainWindow::kShowNotes));
  for (const auto& n : m_main.Store().Notes()) {
    CNoteWnd* w = m_main.WindowOf(*n);
    if (!w) continue;
    if (!m_main.HasFlag(CMainWindow::kShowNotes))
      w->hide();
    else if (n->HideMode == 0)
      m_main.ShowNote(*w);
  }
}

void CProgramCommands::ToggleAlwaysOnTop() {
  m_main.SetFlag(CMainWindow::kAlwaysOnTop, !m_main.HasFlag(CMainWindow::kAlwaysOnTop));
  for (const auto& [note, w] : m_main.Windows()) w->ApplyZOrder(true);
  if (m_main.Calendar()) m_main.Calendar()->Place();
}

void CProgramCommands::About() {
  CBusyGuard busy(m_main);
  CMessageBox::Show(nullptr,
                    QStringLiteral("Quillet %1\n\n").arg(QApplication::applicationVersion()) + Ui(Str::AboutLine),
                    QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Information);
}

void CProgramCommands::Help() {
  CBusyGuard busy(m_main);
  OpenHelp(nullptr);
}

void CProgramCommands::Exit() {
  m_main.Shutdown();
  QCoreApplication::exit(0);  // quit() would ask every window, and an open alarm box says no
}

void CProgramCommands::OpenNoteList(const SearchSpec* search) {
  CBusyGuard busy(m_main);
  m_main.ClearSelection();
  CNoteListWnd list(m_main, search);
  CModal::Run(list);
}

void CProgramCommands::SearchCommand() {
  if (m_main.NoteCount() == 0) {
    CBusyGuard busy(m_main);
    CMessageBox::Show(nullptr, Ui(Str::NoNotesAvailable));
    return;
  }
  SearchSpec wanted;
  {
    CBusyGuard busy(m_main);
    CSearchDialog dialog;
    if (CModal::Run(dialog) != QDialog::Accepted) return;
    wanted = dialog.Result();
  }
  bool found = false;
  for (const auto& n : m_main.Store().Notes())
    if (MatchesSearch(n->Text(), wanted.text, wanted.caseSensitive, wanted.wholeWord)) {
      found = true;
      break;
    }
  if (!found) {
    CBusyGuard busy(m_main);
    CMessageBox::Show(nullptr, Ui(Str::NoNotesFound));
    return;
  }
  AppSettings().WriteInt("Settings", "ListFolder", 1);
  OpenNoteList(&wanted);
}

CGlobalHotkeys& CProgramCommands::Hotkeys() {
  if (!m_hotkeys) {
    m_hotkeys = std::make_unique<CGlobalHotkeys>();
    connect(m_hotkeys.get(), &CGlobalHotkeys::Triggered, this, &CProgramCommands::OnHotKey);
  }
  return *m_hotkeys;
}

void CProgramCommands::RegisterHotkeys() {
  CGlobalHotkeys& keys = Hotkeys();
  bool wanted = false;
  std::vector<std::string> taken;
  for (const HotkeyDef& h : HotkeyTable()) {
    if (m_main.HasFlag(h.flag)) {
      keys.Unregister(h.id);
      m_main.SetFlag(h.flag, false);
    }
    const int value = AppSettings().Int(h.key);
    if ((value & 0xFFFF) == 0) continue;
    wanted = true;
    const HotkeyParts parts = DecodeHotkey(value);
    // A combination another program holds does not work: the user is told which.
    if (!keys.Register(h.id, parts.virtualKey, parts.modifiers) && keys.Available())
      taken.push_back(FormatUIString(LoadUIString(Str::HotkeyTaken), {HotkeyText(value), LoadUIString(h.label, true)}));
    m_main.SetFlag(h.flag, true);
  }
  if (!taken.empty()) {
    std::string text;
    for (const std::string& t : taken) text += (text.empty() ? "" : "\n\n") + t;
    CBusyGuard busy(m_main);
    CMessageBox::Show(nullptr, FromLocal(text), QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Warning);
  }
  if (wanted && !keys.Available() && !m_toldNoHotkeys) {
    m_toldNoHotkeys = true;
    CBusyGuard busy(m_main);
    CMessageBox::Show(nullptr, Ui(Str::NoHotkeys), QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Information);
  }
}

void CProgramCommands::UnregisterHotkeys() {
  if (!m_hotkeys) return;
  for (const HotkeyDef& h : HotkeyTable())
    if (m_main.HasFlag(h.flag)) {
      m_hotkeys->Unregister(h.id);
      m_main.SetFlag(h.flag, false);
    }
}

void CProgramCommands::OnHotKey(int id) {
  if (!m_main.HasFlag(CMainWindow::kIdle) || m_main.HasFlag(CMainWindow::kReadOnly)) return;
  for (const HotkeyDef& h : HotkeyTable())
    if (h.id == id) {
      m_main.activateWindow();
      OnCommand(h.command);
      return;
    }
}

void CProgramCommands::SettingsCommand() {
  bool shadowChanged = false;
  {
    CBusyGuard busy(m_main);
    CSettingsDialog dialog(m_main);
    if (CModal::Run(dialog) == QDialog::Accepted) shadowChanged = dialog.ShadowChanged();
  }
  // The windows are made anew with or without the shadow: loading the data
  // file again does that.
  if (shadowChanged) m_main.Store().SetDataPath("");
  m_main.ApplySettings();
  for (const auto& [note, w] : m_main.Windows()) w->update();
}

void CProgramCommands::NoteSettings(CNoteWnd& note) {
  CBusyGuard busy(m_main);
  CSettingsDialog dialog(m_main, &note.Note());
  if (CModal::Run(dialog) != QDialog::Accepted) return;
  const LayoutValues v = dialog.Layout();
  for (CNoteWnd* w : m_main.SelectedNotes()) {
    const bool minimized = w->IsMinimized();
    ApplyLayoutValues(w->Note(), v);
    w->SetTransparency(v.transparency);
    w->FitToText(minimized);
  }
}

void CProgramCommands::ToggleCalendar() {
  m_main.SetFlag(CMainWindow::kCalendarShown, !m_main.HasFlag(CMainWindow::kCalendarShown));
  if (m_main.Calendar()) m_main.Calendar()->Place();
}

}  // namespace quillet
