#include "mainwnd/CNoteCommands.h"

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QMenu>
#include <QMimeData>
#include <QTextLayout>
#include <QUrl>
#include <algorithm>

#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "common/DateFormat.h"
#include "common/Text.h"
#include "controls/CMessageBox.h"
#include "controls/CModal.h"
#include "controls/Platform.h"
#include "controls/QtDateNames.h"
#include "notelist/CFolderListDialog.h"
#include "notes/Links.h"
#include "notes/NoteText.h"
#include "notewnd/CPrintNotes.h"
#include "notewnd/CNoteWnd.h"
#include "notewnd/Layout.h"
#include "app/Ids.h"
#include "controls/UiText.h"
#include "mainwnd/CMainWindow.h"
#include "controls/UiText.h"

namespace quillet {

namespace {
const QString kNoteMime = QStringLiteral("QuilletNote");
}  // namespace

void CNoteCommands::BuildNoteMenu(QMenu& menu, CNoteWnd* subject, bool fromList) {
  const CSettings& s = AppSettings();
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  const bool clipText = mime && mime->hasText();
  const bool clipNote = mime && mime->hasFormat(kNoteMime);
  auto add = [](QMenu& m, int id, const QString& text) { return AddItem(m, id, text); };

  if (subject) {
    QAction* edit = add(menu, Cmd::EditNote, Ui(Cmd::EditNote));
    menu.setDefaultAction(edit);
  }
  add(menu, Cmd::CopyNotes, Ui(Cmd::CopyNotes));
  if (subject && clipText) {
    if (clipNote) {
      QMenu* paste = menu.addMenu(Ui(Cmd::Paste));
      add(*paste, Cmd::PasteTextAndLayout, Ui(Cmd::PasteTextAndLayout));
      add(*paste, Cmd::PasteText, Ui(Cmd::PasteText));
      add(*paste, Cmd::Layout, Ui(Cmd::Layout));
    } else {
      add(menu, Cmd::Paste, Ui(Cmd::Paste));
    }
  }
  add(menu, Cmd::DeleteNotes, Ui(Cmd::DeleteNotes) + (!subject || s.Flag("DeleteAsk") ? QStringLiteral("...") : QString()));
  add(menu, Cmd::PrintNotes, Ui(Cmd::PrintNotes) + (!s.Flag("PrintAuto") ? QStringLiteral("...") : QString()));
  menu.addSeparator();
  add(menu, Cmd::Minimize, Ui(Cmd::Minimize));
  add(menu, Cmd::Restore, Ui(Cmd::Restore));
  add(menu, Cmd::FormatLines, Ui(Cmd::FormatLines));
  menu.addSeparator();
  if (subject) {
    const std::vector<std::string> links = ExtractLinks(subject->Note().Text());
    if (!links.empty()) {
      QMenu* open = menu.addMenu(Ui(Cmd::OpenLink));
      for (std::size_t k = 0; k < links.size() && k < Cmd::kRange; ++k) AddItem(*open, Cmd::OpenLinkItem + static_cast<int>(k), FromLocal(links[k]));
    }
  }
  QMenu* layouts = menu.addMenu(Ui(Cmd::Layout));
  if (subject && !fromList) {
    add(*layouts, Cmd::NewNote, Ui(Cmd::NewNote));
    if (clipText) add(*layouts, Cmd::PasteNote, Ui(Cmd::PasteNote));
    layouts->addSeparator();
  }
  AddItem(*layouts, Cmd::ApplyLayoutItem, Ui(Str::StandardLayout));
  const std::vector<int> named = s.GetLayoutList();
  for (std::size_t k = 0; k < named.size(); ++k)
    AddItem(*layouts, Cmd::ApplyLayoutItem + 1 + static_cast<int>(k), FromLocal(s.GetString(LayoutSection(named[k]), "Name")));

  QMenu* folders = menu.addMenu(Ui(Cmd::Folder));
  auto* group = new QActionGroup(folders);
  QAction* none = AddItem(*folders, Cmd::FileInFolderItem, Ui(Str::NoFolder));
  none->setCheckable(true);
  group->addAction(none);
  const std::vector<std::string> list = m_main.FolderList();
  for (std::size_t k = 0; k + 1 < Cmd::kRange && k < list.size(); ++k) {
    QAction* f = AddItem(*folders, Cmd::FileInFolderItem + 1 + static_cast<int>(k), FromLocal(list[k]));
    f->setCheckable(true);
    group->addAction(f);
    if (subject && EqualsNoCase(subject->Note().Folder(), list[k])) f->setChecked(true);  // folders match in any case
  }
  if (subject && subject->Note().Folder().empty()) none->setChecked(true);
  folders->addSeparator();
  add(*folders, Cmd::EditFolders, Ui(Cmd::EditFolders));
  if (!menu.actions().isEmpty() && !menu.actions().last()->isSeparator()) menu.addSeparator();

  if (subject) {
    const CNote& n = subject->Note();
    QAction* hide = add(menu, Cmd::Hide, Ui(Cmd::Hide));
    hide->setCheckable(true);
    hide->setChecked(n.HideMode != 0);
    QAction* alarm = add(menu, Cmd::Alarm, Ui(Cmd::Alarm));
    alarm->setCheckable(true);
    alarm->setChecked(n.AlarmTime.IsValid());
    if (!m_main.HasFlag(CMainWindow::kNoSockets)) add(menu, Cmd::SendNote, Ui(Cmd::SendNote));
    menu.addSeparator();
    QAction* top = add(menu, Cmd::AlwaysOnTop, Ui(Cmd::AlwaysOnTop));
    top->setCheckable(true);
    top->setChecked(n.OnTop());
  }
  add(menu, Cmd::Settings, Ui(Cmd::Settings));
  if (subject && subject->Note().ReceivedOn.IsValid()) {
    const CNote& n = subject->Note();
    menu.addSeparator();
    menu.addAction(Ui(Cmd::ReceivedFrom))->setEnabled(false);
    menu.addAction(FromLocal(n.ReceivedFrom()))->setEnabled(false);
    DateParts p;
    n.ReceivedOn.ToParts(p);
    menu.addAction(FromLocal(ExpandDateFormat("%x %X", p, CQtDateNames())))->setEnabled(false);
  }
}

void CNoteCommands::ShowNoteMenu(CNoteWnd& note, const QPoint& globalPos) {
  const std::vector<CNoteWnd*> selected = m_main.SelectedNotes();
  CNoteWnd* subject = selected.size() == 1 ? selected.front() : nullptr;
  QMenu menu;
  BuildNoteMenu(menu, subject, false);
  QAction* chosen = nullptr;
  {
    CBusyGuard busy(m_main);
    chosen = menu.exec(globalPos);
  }
  if (chosen && chosen->data().isValid()) NoteCommand(note, chosen->data().toInt());
}

void CNoteCommands::NoteCommand(CNoteWnd& note, int id, bool shift) {
  if (id >= Cmd::OpenLinkItem && id < Cmd::OpenLinkItem + Cmd::kRange) {
    const std::vector<std::string> links = ExtractLinks(note.Note().Text());
    const int k = id - Cmd::OpenLinkItem;
    if (k < static_cast<int>(links.size())) OpenLink(links[static_cast<std::size_t>(k)]);
    return;
  }
  if (id >= Cmd::ApplyLayoutItem && id < Cmd::ApplyLayoutItem + Cmd::kRange)
    return ApplyLayoutToSelected(m_main.LayoutNumberOfItem(id - Cmd::ApplyLayoutItem));
  if (id >= Cmd::FileInFolderItem && id < Cmd::FileInFolderItem + Cmd::kRange) return SetFolderOfSelected(id - Cmd::FileInFolderItem);
  switch (id) {
    case Cmd::EditNote: m_main.StartEdit(note); break;
    case Cmd::DeleteNotes: DeleteSelected(shift); break;
    case Cmd::CopyNotes: CopyNotes(note); break;
    case Cmd::Paste:
    case Cmd::PasteText: PasteText(note); break;
    case Cmd::Layout: PasteLayout(note); break;
    case Cmd::PasteTextAndLayout:
      PasteText(note);
      PasteLayout(note);
      break;
    case Cmd::Minimize:
    case Cmd::Restore:
      for (CNoteWnd* w : m_main.SelectedNotes()) w->FitToText(id == Cmd::Minimize);
      break;
    case Cmd::FormatLines: FormatSelected(); break;
    case Cmd::NewNote: {
      const NotePoint p = m_main.GetNewNotePosition();
      m_main.StartNewNote(QPoint(p.x, p.y), &note, 0);
      break;
    }
    case Cmd::PasteNote: PasteNoteFrom(note); break;
    case Cmd::Alarm: {
      CBusyGuard busy(m_main);
      m_main.EditAlarm(note);
      break;
    }
    case Cmd::Hide: {
      CBusyGuard busy(m_main);
      m_main.EditHiding(note);
      break;
    }
    case Cmd::Settings: m_main.NoteSettings(note); break;
    case Cmd::PrintNotes: PrintNotes(m_main, m_main.SelectedIndices()); break;
    case Cmd::EditFolders: {
      CBusyGuard busy(m_main);
      CFolderListDialog dialog(m_main);
      CModal::Run(dialog);
      break;
    }
    case Cmd::SendNote: {
      // Answering a received note goes back to the computer it came from.
      const CNote& n = note.Note();
      m_main.SendTo(FromLocal(n.Text()), n.ReceivedOn.IsValid() ? FromLocal(n.ReceivedFrom()) : QString());
      break;
    }
    case Cmd::AlwaysOnTop:
      note.Note().SetFlag(kFlagOnTop, !note.Note().OnTop());
      note.ApplyZOrder(false);
      m_main.SaveNote(note.Index(), false);
      break;
    default: break;
  }
  Q_EMIT m_main.NotesChanged();
}

void CNoteCommands::DeleteSelected(bool permanent) {
  const std::vector<int> selected = m_main.SelectedIndices();
  if (selected.empty()) return;
  if (selected.size() > 1 || AppSettings().Flag("DeleteAsk")) {
    CBusyGuard busy(m_main);
    if (CMessageBox::Show(nullptr, Ui(Str::AskDeleteNotes), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes,
                          QMessageBox::Question) != QMessageBox::Yes)
      return;
  }
  m_main.DeleteNotes(selected, true, !permanent);
  m_main.SaveAllNotes();
}

void CNoteCommands::CopyNotes(CNoteWnd& note) {
  auto* mime = new QMimeData;
  const std::vector<CNoteWnd*> selected = m_main.SelectedNotes();
  if (selected.size() >= 2) {
    std::vector<std::string> texts;
    for (CNoteWnd* w : selected) texts.push_back(w->Note().Text());
    mime->setText(FromLocal(ToLf(JoinForCopy(texts, AppSettings().String("SepCopy")))));
  } else {
    const NoteRecordBytes rec = m_main.Store().NoteToRecord(note.Index());
    mime->setData(kNoteMime, QByteArray(reinterpret_cast<const char*>(rec.data()), static_cast<qsizetype>(rec.size())));
    // Other programs here end their lines in LF; the note record keeps CR LF.
    mime->setText(FromLocal(ToLf(note.Note().Text())));
    // The picture shows the note without its selection mark.
    const bool selectedNow = note.IsSelected();
    note.Note().SetFlag(kFlagSelected, false);
    mime->setImageData(note.Render());
    note.Note().SetFlag(kFlagSelected, selectedNow);
  }
  QApplication::clipboard()->setMimeData(mime);
}

void CNoteCommands::PasteText(CNoteWnd& note) {
  CNote& n = note.Note();
  const std::string existing = AppSettings().Flag("PasteAppend") ? n.Text() : std::string();
  const auto text = ClipboardTextFor(existing, TextStyle{FontFromLogFont(n.Font), n.Align, m_main.TabStops()});
  if (!text || text->empty()) return;
  StoreUndo({n.Index}, Cmd::Paste);
  const bool minimized = note.IsMinimized();
  note.SetText(*text);
  n.Modified = DateTime::Now();
  note.FitToText(minimized);
}

void CNoteCommands::PasteLayout(CNoteWnd& note) {
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  if (!mime || !mime->hasFormat(kNoteMime)) return;
  const QByteArray data = mime->data(kNoteMime);
  if (data.size() != static_cast<qsizetype>(kRecordSize)) return;
  const CNote from = RecordToNote(reinterpret_cast<const unsigned char*>(data.constData()), kCurrentVersion);
  const bool minimized = note.IsMinimized();
  CNote& n = note.Note();
  n.Font = from.Font;
  n.ColorText = from.ColorText;
  n.ColorBack = from.ColorBack;
  n.ColorBorder = from.ColorBorder;
  n.Align = from.Align;
  n.SetFlag(kFlagDeskColor, from.DeskColor());
  note.SetTransparency(from.Transparency);
  note.FitToText(minimized);
}

void CNoteCommands::PasteNoteFrom(CNoteWnd& note) {
  const CNote& src = note.Note();
  const auto text = ClipboardTextFor("", TextStyle{FontFromLogFont(src.Font), src.Align, m_main.TabStops()});
  if (!text || text->empty()) return;
  const NotePoint p = m_main.GetNewNotePosition();
  const bool shown = m_main.HasFlag(CMainWindow::kShowNotes);
  m_main.SetFlag(CMainWindow::kShowNotes, true);
  CNote n;
  n.Rect = {p.x, p.y, 10, 10};
  n.SetText(*text);
  CopyLayout(src, n);
  n.Modified = DateTime::Now();
  ApplyNewFolder(n);
  CNote* created = m_main.Store().CreateNote(std::move(n));
  m_main.SetFlag(CMainWindow::kShowNotes, shown);
  if (!created) return;
  CNoteWnd* w = m_main.WindowOf(*created);
  w->SetNoteGeometry(m_main.NewNoteRect(*created, p));
  m_main.SaveNote(created->Index, true);
}

void CNoteCommands::FormatSelected() {
  const std::vector<CNoteWnd*> selected = m_main.SelectedNotes();
  if (selected.empty()) return;
  StoreUndo(m_main.SelectedIndices(), Cmd::FormatLines);
  for (CNoteWnd* w : selected) {
    CNote& n = w->Note();
    const std::string text = FormatLines(n.Text(), TextStyle{FontFromLogFont(n.Font), n.Align, m_main.TabStops()});
    const bool minimized = w->IsMinimized();
    w->SetText(text);
    w->FitToText(minimized);
  }
}

void CNoteCommands::OpenLink(const std::string& link) {
  const std::string target = LinkTarget(link);
  QUrl url;
  if (target.rfind("mailto:", 0) == 0 || target.find("://") != std::string::npos) {
    url = QUrl(FromLocal(target));
  } else {
    QString path = FromLocal(target);
    if (path.startsWith(QStringLiteral("~/"))) path = QDir::homePath() + path.mid(1);
    url = QUrl::fromLocalFile(path);
  }
  if (!url.isValid() || !QDesktopServices::openUrl(url)) {
    CBusyGuard busy(m_main);
    CMessageBox::Show(nullptr, FromLocal(FormatUIString(LoadUIString(Str::CannotOpen), {target})));
  }
}

void CNoteCommands::ApplyLayoutToSelected(int layoutNumber) {
  const LayoutValues v = ReadLayout(AppSettings(), layoutNumber);
  for (CNoteWnd* w : m_main.SelectedNotes()) {
    const bool minimized = w->IsMinimized();
    ApplyLayoutValues(w->Note(), v);
    w->SetTransparency(v.transparency);
    w->FitToText(minimized);
  }
}

void CNoteCommands::SetFolderOfSelected(int k) {
  const std::vector<std::string> folders = m_main.FolderList();
  if (k < 0 || k > static_cast<int>(folders.size())) return;
  for (CNoteWnd* w : m_main.SelectedNotes()) {
    w->Note().SetFolder(k == 0 ? std::string() : folders[static_cast<std::size_t>(k - 1)]);
    m_main.SaveNote(w->Index(), false);
  }
}

void CNoteCommands::PasteNoteCommand(int n) {
  if (m_main.HasFlag(CMainWindow::kReadOnly)) return;
  const int layout = m_main.LayoutNumberOfItem(n);
  const bool shown = m_main.HasFlag(CMainWindow::kShowNotes);
  m_main.SetFlag(CMainWindow::kShowNotes, true);
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  if (layout == 0 && mime && mime->hasFormat(kNoteMime) && mime->data(kNoteMime).size() == static_cast<qsizetype>(kRecordSize)) {
    NoteRecordBytes rec{};
    const QByteArray data = mime->data(kNoteMime);
    std::copy(data.begin(), data.end(), rec.begin());
    CNote pasted = RecordToNote(rec.data(), kCurrentVersion);
    // The clipboard may hold a note from another program's hands.
    m_main.Store().GuardPrograms(LoadUIString(Str::TheClipboard), {&pasted});
    pasted.HideMode = 0;
    pasted.Modified = DateTime::Now();
    pasted.ReceivedOn.SetNull();
    const NotePoint p = m_main.GetNewNotePosition();
    pasted.Rect.left = p.x;
    pasted.Rect.top = p.y;
    if (CNote* created = m_main.Store().CreateNote(std::move(pasted))) {
      m_main.SaveNote(created->Index, true);
      Q_EMIT m_main.NotesChanged();
    }
  } else {
    const LayoutValues v = ReadLayout(AppSettings(), layout);
    const auto text = ClipboardTextFor("", TextStyle{FontFromLogFont(v.font), v.align, m_main.TabStops()});
    if (text && !text->empty()) {
      if (CNoteWnd* w = m_main.CreateNoteFromText(*text, true)) {
        ApplyLayout(w->Note(), v);
        ApplyNewFolder(w->Note());
        w->UpdateFromNote();
        w->FitToText(false);
      }
    }
  }
  m_main.SetFlag(CMainWindow::kShowNotes, shown);
}

std::optional<std::string> CNoteCommands::ClipboardTextFor(const std::string& existing, const TextStyle& style) {
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  if (!mime || !mime->hasText()) return std::string();
  const std::string clip = ToCrLf(ToLocal(QApplication::clipboard()->text()));
  auto text = BuildPasteText(existing, clip, [this] {
    CBusyGuard busy(m_main);
    return CMessageBox::Show(nullptr, Ui(Str::ClipboardTextTooLarge), QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok) ==
           QMessageBox::Ok;
  });
  if (!text) return std::nullopt;
  const int limit = (WorkArea().width()) - 100;
  if (AppSettings().Flag("FormatPaste") || MeasureText(style, DisplayText(*text), 0).width() > limit)
    *text = FormatLines(*text, style);
  return CapNoteText(std::move(*text));
}

std::string CNoteCommands::FormatLines(const std::string& text, const TextStyle& style) const {
  const QString display = DisplayText(text);
  const CSettings& s = AppSettings();
  const int w = FormatBoxWidth(s.Int("FormatWidth"), s.Int("FormatHeight"),
                               [&](int width) { return MeasureText(style, display, width).height(); });
  // The soft line breaks of the box become hard ones.
  QTextLayout layout(display, style.font);
  QTextOption opt(style.align == 1 ? Qt::AlignHCenter : style.align == 2 ? Qt::AlignRight : Qt::AlignLeft);
  opt.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  opt.setTabStopDistance(std::max(1, style.tabStops) * QFontMetricsF(style.font).averageCharWidth());
  layout.setTextOption(opt);
  QStringList lines;
  layout.beginLayout();
  for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
    line.setLineWidth(w);
    QString piece = display.mid(line.textStart(), line.textLength());
    piece.remove(QChar::LineSeparator);
    while (piece.endsWith(QLatin1Char(' '))) piece.chop(1);
    lines << piece;
  }
  layout.endLayout();
  return CapNoteText(StripTrailingNewlines(ToLocal(lines.join(QStringLiteral("\r\n")))));
}

void CNoteCommands::StoreUndo(const std::vector<int>& indices, int labelId) {
  std::vector<NoteRecordBytes> records;
  std::vector<int> kept;
  for (int i : indices)
    if (m_main.GetNote(i)) {
      records.push_back(m_main.Store().NoteToRecord(i));
      kept.push_back(i);
    }
  m_undo.Store(std::move(records), std::move(kept), LoadUIString(labelId, true), labelId == Cmd::DeleteNotes);
}

void CNoteCommands::UndoCommand() {
  if (!m_undo.Present()) return;
  if (m_undo.IsDeletion()) {
    for (const NoteRecordBytes& rec : m_undo.Records()) {
      const int index = m_main.Store().RecordToNote(rec);
      if (index < 0) break;
      m_main.SaveNote(index, true);
    }
  } else {
    for (std::size_t k = 0; k < m_undo.Indices().size(); ++k) {
      // An index that names no note any more is skipped.
      CNoteWnd* w = m_main.WindowAt(m_undo.Indices()[k]);
      if (!w) continue;
      const bool minimized = w->IsMinimized();
      w->SetText(RecordToNote(m_undo.Records()[k].data(), kCurrentVersion).Text());
      w->FitToText(minimized);
      m_main.SaveNote(w->Index(), false);
    }
  }
  m_undo.Clear();
  Q_EMIT m_main.NotesChanged();
}

void CNoteCommands::ApplyLayout(CNote& note, const LayoutValues& layout) {
  ApplyLayoutValues(note, layout);
  // A layout with random colours gives each note a colour of its own, as the
  // new-note editor does.
  const LayoutBackground bg = ChooseBackground(layout, ReadColorList(AppSettings()), [this] { return m_main.RandomNumber(); });
  if (!bg.random) return;
  note.ColorBack = bg.back;
  note.ColorText = kColorAutomatic;
  note.ColorBorder = kColorAutomatic;
  note.SetFlag(kFlagDeskColor, false);
}

void CNoteCommands::ApplyNewFolder(CNote& note) const {
  const int k = AppSettings().Int("NewFolder");
  const std::vector<std::string> folders = m_main.FolderList();
  if (k > 0 && k <= static_cast<int>(folders.size())) note.SetFolder(folders[static_cast<std::size_t>(k - 1)]);
}

void CNoteCommands::CopyLayout(const CNote& from, CNote& to) const {
  to.Font = from.Font;
  to.ColorText = from.ColorText;
  to.ColorBack = EffectiveColorsOf(from, m_main.DesktopColor()).back;
  to.ColorBorder = from.ColorBorder;
  to.Align = from.Align;
  to.SetFlag(kFlagDeskColor, from.DeskColor());
  to.Transparency = from.Transparency;
}

}  // namespace quillet
