#include <QMenu>
#include <QMimeData>

#include "app/Paths.h"
#include "mainwnd/CTrayIcon.h"
#include "notewnd/CNoteEditor.h"
#include "ui/UiFixture.h"

using namespace quillet;
using namespace quillet::test;

namespace {
// The menu's command ids in order, 0 for a separator, -1 for a submenu.
std::vector<int> Ids(QMenu& menu) {
  std::vector<int> ids;
  for (QAction* a : menu.actions())
    ids.push_back(a->isSeparator() ? 0 : a->menu() ? -1 : a->data().toInt());
  return ids;
}
QAction* Find(QMenu& menu, int id) {
  for (QAction* a : menu.actions())
    if (!a->isSeparator() && a->data().toInt() == id) return a;
  return nullptr;
}
}  // namespace

using MainMenu = UiFixture;

TEST_F(MainMenu, ItemsFollowClipboardNotesFlipAndReadOnly) {
  Start();
  {
    QMenu m;
    main->BuildMainMenu(m);
    EXPECT_EQ(Ids(m), (std::vector<int>{3000, 0, 32010, 32014, 0, 32013, 32016, 32008, 32002, 0, 32015, 32004, 0, 32005}));
    EXPECT_TRUE(Find(m, 32013)->isChecked());
    EXPECT_TRUE(Find(m, 32016)->isEnabled());
    EXPECT_FALSE(Find(m, 32016)->isChecked());
  }
  AddNote("a note", QRect(10, 10, 50, 40));
  QApplication::clipboard()->setText(QStringLiteral("clip"));
  {
    QMenu m;
    main->BuildMainMenu(m);
    EXPECT_EQ(Ids(m), (std::vector<int>{3000, 4000, 0, 32010, 32011, 32014, 0, 32013, 32016, 32008, 32002, 0, 32015,
                                        32004, 0, 32005}));
  }
  AppSettings().WriteInt("Settings", "MenuFlip", 1);
  {
    QMenu m;
    main->BuildMainMenu(m);
    const std::vector<int> ids = Ids(m);
    EXPECT_EQ(ids.front(), 32005);
    EXPECT_EQ(ids.back(), 3000);
  }
  AppSettings().WriteInt("Settings", "MenuFlip", 0);
  main->SetFlag(CMainWindow::kReadOnly, true);
  {
    QMenu m;
    main->BuildMainMenu(m);
    EXPECT_EQ(Ids(m), (std::vector<int>{32015, 32004, 0, 32005}));
  }
}

TEST_F(MainMenu, UndoItemNamesTheLastChange) {
  Start();
  AddNote("gone soon", QRect(10, 10, 50, 40));
  main->DeleteNotes({0}, true, false);
  QMenu m;
  main->BuildMainMenu(m);
  ASSERT_NE(Find(m, 32012), nullptr);
  EXPECT_EQ(Find(m, 32012)->text(), QStringLiteral("&Undo: Delete"));
}

TEST_F(MainMenu, NamedLayoutsGiveSubmenus) {
  AppSettings().WriteLayoutList({4});
  AppSettings().WriteString("Layout4", "Name", "Red");
  Start();
  QMenu m;
  main->BuildMainMenu(m);
  QMenu* sub = m.actions().front()->menu();
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(Ids(*sub), (std::vector<int>{3000, 3001}));
  EXPECT_EQ(sub->actions()[1]->text(), QStringLiteral("Red"));
}

using Commands = UiFixture;

TEST_F(Commands, NewNotesCascadeFromTheSettings) {
  Start();
  AddNote("a", QRect(200, 200, 40, 30));
  AddNote("b", QRect(220, 220, 40, 30));
  AddNote("c", QRect(240, 240, 40, 30));
  EXPECT_EQ(main->GetNewNotePosition(), (NotePoint{260, 260}));
  AppSettings().WriteInt("Settings", "NewLeft", 5000);
  EXPECT_EQ(main->GetNewNotePosition(), (NotePoint{5000, 200}));  // starts past the edge: stays at the start
}

TEST_F(Commands, NewNoteFromTheMenuIsWrittenWithItsCount) {
  AppSettings().WriteString("Settings", "NewText", "Call %%p %H:%M");
  Start();
  main->OnCommand(CMainWindow::kCmdNewNote);
  CNoteEditor* editor = main->ActiveEditor();
  ASSERT_NE(editor, nullptr);
  EXPECT_TRUE(editor->toPlainText().startsWith(QStringLiteral("Call  ")));
  EXPECT_EQ(editor->textCursor().position(), 5);
  editor->insertPlainText(QStringLiteral("Anna"));
  editor->Commit();
  ASSERT_EQ(main->NoteCount(), 1);
  EXPECT_TRUE(main->GetNote(0)->Text().rfind("Call Anna ", 0) == 0);
  EXPECT_TRUE(main->GetNote(0)->Modified.IsValid());
  EXPECT_EQ(CountOnDisk(), 1);
  EXPECT_EQ(OnDisk(0).Text(), main->GetNote(0)->Text());
  EXPECT_EQ(OnDisk(0).Rect.left, 200);
  EXPECT_TRUE(main->WindowAt(0)->IsSelected());
}

TEST_F(Commands, EditingChangesTheRecordAndUndoBringsTheTextBack) {
  Start();
  CNoteWnd* w = AddNote("before", QRect(100, 100, 80, 40));
  main->StartEdit(*w);
  CNoteEditor* editor = main->ActiveEditor();
  ASSERT_NE(editor, nullptr);
  EXPECT_FALSE(w->isVisible());
  editor->selectAll();
  editor->insertPlainText(QStringLiteral("after\nline two"));
  editor->Commit();
  EXPECT_EQ(w->Note().Text(), "after\r\nline two");
  EXPECT_EQ(OnDisk(0).Text(), "after\r\nline two");
  EXPECT_TRUE(w->isVisible());

  // A colour changed in between stays; only the text goes back.
  w->Note().ColorBack = 0x00FF0000;
  main->SaveNote(0, false);
  main->OnCommand(CMainWindow::kCmdUndo);
  EXPECT_EQ(w->Note().Text(), "before");
  EXPECT_EQ(OnDisk(0).Text(), "before");
  EXPECT_EQ(OnDisk(0).ColorBack, 0x00FF0000u);
  EXPECT_FALSE(main->Undo().Present());
}

TEST_F(Commands, CancelledEditKeepsTheOldText) {
  Start();
  CNoteWnd* w = AddNote("keep", QRect(100, 100, 80, 40));
  main->StartEdit(*w);
  main->ActiveEditor()->insertPlainText(QStringLiteral("typed"));
  main->ActiveEditor()->Cancel();
  EXPECT_EQ(w->Note().Text(), "keep");
  EXPECT_EQ(OnDisk(0).Text(), "keep");
}

TEST_F(Commands, UndoOfADeletionBringsTheNotesBackAtTheEnd) {
  Start();
  AddNote("one", QRect(10, 10, 40, 30));
  AddNote("two", QRect(60, 10, 40, 30));
  AddNote("three", QRect(110, 10, 40, 30));
  main->WindowAt(0)->SetSelected(true);
  main->WindowAt(2)->SetSelected(true);
  CMessageBox::SetNextAnswer(QMessageBox::Yes);  // two notes: always asked
  main->NoteCommand(*main->WindowAt(0), 32101);
  EXPECT_EQ(CMessageBox::Shown().back(), QStringLiteral("Delete selected note(s)?"));
  ASSERT_EQ(main->NoteCount(), 1);
  EXPECT_EQ(CountOnDisk(), 1);
  main->OnCommand(CMainWindow::kCmdUndo);
  ASSERT_EQ(main->NoteCount(), 3);
  EXPECT_EQ(main->GetNote(1)->Text(), "one");
  EXPECT_EQ(main->GetNote(2)->Text(), "three");
  EXPECT_EQ(CountOnDisk(), 3);
  EXPECT_EQ(OnDisk(2).Text(), "three");
}

TEST_F(Commands, SingleNoteIsDeletedWithoutAQuestionUnlessAsked) {
  Start();
  AddNote("one", QRect(10, 10, 40, 30));
  main->WindowAt(0)->SetSelected(true);
  main->NoteCommand(*main->WindowAt(0), 32101);
  EXPECT_EQ(main->NoteCount(), 0);
  EXPECT_TRUE(CMessageBox::Shown().isEmpty());
  EXPECT_TRUE(std::filesystem::exists(dir.File("notes.rbi")));
}

TEST_F(Commands, PastingTooMuchAsksAndKeeps2044) {
  Start();
  QApplication::clipboard()->setText(QString(3000, QLatin1Char('x')));
  CMessageBox::SetNextAnswer(QMessageBox::Cancel);
  main->OnCommand(CMainWindow::kCmdPasteNote);
  EXPECT_EQ(main->NoteCount(), 0);
  EXPECT_EQ(CMessageBox::Shown().back().left(30), QStringLiteral("The clipboard text is too larg"));
  main->OnCommand(CMainWindow::kCmdPasteNote);  // answered OK without a user
  ASSERT_EQ(main->NoteCount(), 1);
  std::string text = main->GetNote(0)->Text();
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
  // The first 2044 are taken; laid out in lines wider than the screen allows,
  // the breaks count against the note's 2046.
  EXPECT_GT(text.size(), 1900u);
  EXPECT_LE(main->GetNote(0)->Text().size(), 2046u);
  EXPECT_EQ(OnDisk(0).Text(), main->GetNote(0)->Text());
}

TEST_F(Commands, CopyAndPasteNoteKeepsTheWholeRecord) {
  Start();
  CNoteWnd* w = AddNote("original", QRect(300, 300, 80, 40));
  w->Note().ColorBack = 0x00CCAA88;
  w->Note().SetFolder("Work");
  w->SetSelected(true);
  main->NoteCommand(*w, 32105);
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  ASSERT_TRUE(mime->hasFormat(QStringLiteral("QuilletNote")));
  EXPECT_EQ(mime->text(), QStringLiteral("original"));
  EXPECT_TRUE(mime->hasImage());
  main->OnCommand(CMainWindow::kCmdPasteNote);
  ASSERT_EQ(main->NoteCount(), 2);
  EXPECT_EQ(OnDisk(1).Text(), "original");
  EXPECT_EQ(OnDisk(1).ColorBack, 0x00CCAA88u);
  EXPECT_EQ(OnDisk(1).Folder(), "Work");
  EXPECT_EQ(OnDisk(1).Rect.left, 200);
}

TEST_F(Commands, CopyOfSeveralNotesIsTextWithSeparators) {
  AppSettings().WriteString("Settings", "SepCopy", "-----");
  Start();
  for (const char* t : {"first", "second", "third"}) AddNote(t, QRect(10, 10, 40, 30))->SetSelected(true);
  main->NoteCommand(*main->WindowAt(1), 32105);
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  EXPECT_EQ(mime->text().replace(QStringLiteral("\r\n"), QStringLiteral("\n")),
            QStringLiteral("first\n-----\nsecond\n-----\nthird"));
  EXPECT_FALSE(mime->hasFormat(QStringLiteral("QuilletNote")));
  EXPECT_FALSE(mime->hasImage());
}

TEST_F(Commands, EveryNoteCommandWritesItsRecord) {
  AppSettings().WriteStringList("Folder", {"Home", "Work"});
  AppSettings().WriteLayoutList({2});
  AppSettings().WriteString("Layout2", "Name", "Blue");
  AppSettings().WriteInt("Layout2", "ColorBack", 0x00FF8000);
  Start();
  CNoteWnd* w = AddNote("a long line that will be formatted into a block of several lines of text", QRect(50, 50, 400, 30));
  w->SetSelected(true);

  main->NoteCommand(*w, 32008);
  EXPECT_TRUE(OnDisk(0).OnTop());
  main->NoteCommand(*w, 5002);
  EXPECT_EQ(OnDisk(0).Folder(), "Work");
  main->NoteCommand(*w, 5000);
  EXPECT_EQ(OnDisk(0).Folder(), "");
  main->NoteCommand(*w, 2001);
  EXPECT_EQ(OnDisk(0).ColorBack, 0x00FF8000u);
  main->NoteCommand(*w, 32113);
  EXPECT_NE(OnDisk(0).Text().find("\r\n"), std::string::npos);
  EXPECT_EQ(main->Undo().Label(), "Format Lines");
  main->NoteCommand(*w, 32111);
  EXPECT_EQ(OnDisk(0).Rect.height, w->height());
  main->NoteCommand(*w, 32112);
  EXPECT_EQ(OnDisk(0).Rect.height, w->height());
  QApplication::clipboard()->setText(QStringLiteral("pasted"));
  main->NoteCommand(*w, 32109);
  EXPECT_EQ(OnDisk(0).Text(), "pasted");
  EXPECT_EQ(main->Undo().Label(), "Paste");
}

TEST_F(Commands, ShowNotesHidesAndShowsButHiddenNotesStayHidden) {
  Start();
  CNoteWnd* shown = AddNote("shown", QRect(10, 10, 40, 30));
  CNoteWnd* hidden = AddNote("hidden", QRect(60, 10, 40, 30));
  hidden->Note().HideMode = 1;
  hidden->hide();
  main->OnCommand(CMainWindow::kCmdShowNotes);
  EXPECT_FALSE(shown->isVisible());
  main->OnCommand(CMainWindow::kCmdShowNotes);
  EXPECT_TRUE(shown->isVisible());
  EXPECT_FALSE(hidden->isVisible());
}

TEST_F(Commands, NotesOffTheScreenComeBackWhenLoaded) {
  CNoteStore store;
  store.SetDataPath(path);
  ASSERT_TRUE(store.LoadNotes());
  CNote lost;
  lost.SetText("lost");
  lost.Rect = {-5000, -5000, 100, 60};
  store.CreateNote(lost);
  CNote fine;
  fine.SetText("fine");
  fine.Rect = {10, 10, 100, 60};
  store.CreateNote(fine);
  ASSERT_TRUE(store.SaveAllNotes());
  Start();
  EXPECT_EQ(main->GetNote(0)->Rect.left, 200);
  EXPECT_EQ(OnDisk(0).Rect, (NoteRect{200, 200, 100, 60}));
  EXPECT_EQ(OnDisk(1).Rect.left, 10);
}

TEST_F(Commands, WithoutATrayTheLauncherIsTheWayIn) {
  Start();
  ASSERT_TRUE(main->AddTrayIcon());
  ASSERT_NE(main->Tray()->Launcher(), nullptr);
  EXPECT_TRUE(main->Tray()->Launcher()->isVisible());
  Q_EMIT main->Tray()->Launcher()->DoubleClicked();
  ASSERT_NE(main->ActiveEditor(), nullptr);  // "IconAction" 0: a new note
  main->ActiveEditor()->Cancel();
}

TEST_F(Commands, TextBeingTypedIsKeptWhenTheProgramEnds) {
  Start();
  main->OnCommand(CMainWindow::kCmdNewNote);
  ASSERT_NE(main->ActiveEditor(), nullptr);
  main->ActiveEditor()->insertPlainText(QStringLiteral("not lost"));
  main->Shutdown();
  EXPECT_EQ(CountOnDisk(), 1);
  EXPECT_EQ(OnDisk(0).Text(), "not lost");
}
