#include <filesystem>

#include <QMenu>
#include <QHeaderView>
#include <QComboBox>
#include <QListWidget>
#include <QTableView>

#include "alarm/AlarmRules.h"
#include "controls/CFileDialog.h"
#include "controls/CModal.h"
#include "notelist/CFolderListDialog.h"
#include "notelist/CNoteListWnd.h"
#include "notelist/CSearchDialog.h"
#include "notes/Backups.h"
#include "ui/UiFixture.h"

using namespace quillet;
using namespace quillet::test;

namespace {

class NoteList : public UiFixture {
 protected:
  void SetUp() override {
    UiFixture::SetUp();
    CModal::ClearHandlers();
  }
  void TearDown() override { CModal::ClearHandlers(); }

  // Thirty notes: every third in "Work", every fifth hidden, every seventh
  // with an alarm today, every eleventh received.
  void Populate() {
    AppSettings().WriteStringList("Folder", {"Home", "Work"});
    Start();
    main->SetClock([] { return DateTime::FromParts(2026, 12, 7, 9); });
    for (int i = 0; i < 30; ++i) {
      CNoteWnd* w = AddNote("note " + std::to_string(i) + (i % 4 == 0 ? " NOTEBOOK" : ""), QRect(10 + i, 10, 60, 30));
      CNote& n = w->Note();
      if (i % 3 == 0) n.SetFolder(i % 6 == 0 ? "work" : "Work");
      if (i % 5 == 0) n.HideMode = 1;
      if (i % 7 == 0) n.AlarmTime = DateTime::FromParts(2026, 12, 7, 10 + i % 10);
      if (i % 11 == 0) {
        n.SetReceivedFrom("PC" + std::to_string(i));
        n.ReceivedOn = DateTime::FromParts(2026, 12, 1, i % 24);
      }
      n.Modified = DateTime::FromParts(2026, 11, 1 + i % 28, 12);
      main->SaveNote(w->Index(), false);
    }
  }
  int Rows(CNoteListWnd& list) { return list.Model()->rowCount(); }
};

}  // namespace

TEST_F(NoteList, FoldersViewsAndCounts) {
  Populate();
  CNoteListWnd list(*main);
  EXPECT_EQ(list.FolderItemCount(), 6);  // today, all, no folder, Home, Work, bin
  EXPECT_EQ(Rows(list), 30);
  EXPECT_EQ(list.FolderLabel(4), QStringLiteral("Work (10)"));
  EXPECT_EQ(list.FolderLabel(3), QStringLiteral("Home (0)"));
  EXPECT_EQ(list.FolderLabel(0), QStringLiteral("Today (5)"));
  EXPECT_EQ(list.StatusText(), QStringLiteral("30 of 30 notes"));
  list.SetView(kViewHidden);
  EXPECT_EQ(Rows(list), 6);
  list.SetView(kViewAlarm);
  EXPECT_EQ(Rows(list), 5);
  list.SetView(kViewReceived);
  EXPECT_EQ(Rows(list), 3);
  list.SetView(kViewVisible);
  list.SelectFolderItem(4);
  EXPECT_EQ(Rows(list), 8);  // Work in any letter case, not hidden
  EXPECT_EQ(list.Caption(), QStringLiteral("Visible Notes from \"Work\""));
  list.SelectFolderItem(3);
  EXPECT_EQ(list.StatusText(), QStringLiteral("0 of 0 notes"));
  list.SetView(kViewHidden);
  list.SelectFolderItem(5);  // the recycle bin has only All and Search
  EXPECT_EQ(list.View(), kViewAll);
}

TEST_F(NoteList, SearchViewAndSort) {
  Populate();
  CNoteListWnd list(*main);
  list.SetSearch({"notebook", false, false});
  EXPECT_EQ(Rows(list), 8);
  EXPECT_EQ(list.Caption(), QStringLiteral("Search for \"notebook\""));
  list.SetSearch({"notebook", true, false});
  EXPECT_EQ(Rows(list), 0);
  list.SetView(kViewAll);
  list.Model()->sort(1 + kColModified, Qt::DescendingOrder);
  const auto first = main->GetNote(list.Model()->RowAt(0).note)->Modified;
  const auto last = main->GetNote(list.Model()->RowAt(29).note)->Modified;
  EXPECT_GT(first.Date(), last.Date());
  list.Model()->sort(1 + kColReceivedFrom, Qt::AscendingOrder);
  EXPECT_EQ(main->GetNote(list.Model()->RowAt(27).note)->ReceivedFrom(), "PC0");
  list.done(QDialog::Rejected);
  EXPECT_NE(AppSettings().Int("ListView"), kViewSearch);
}

TEST_F(NoteList, CheckBoxCellsActAtOnce) {
  Populate();
  CNoteListWnd list(*main);
  const QModelIndex cell = list.Model()->index(1, 1 + kColOnTop);
  ASSERT_TRUE(list.Model()->setData(cell, Qt::Checked, Qt::CheckStateRole));
  const int note = list.Model()->RowAt(1).note;
  EXPECT_TRUE(main->WindowAt(note)->IsTopmost());
  EXPECT_TRUE(OnDisk(note).OnTop());
  const QModelIndex hidden = list.Model()->index(1, 1 + kColHidden);
  ASSERT_TRUE(list.Model()->setData(hidden, Qt::Checked, Qt::CheckStateRole));
  EXPECT_EQ(OnDisk(note).HideMode, 1);
  EXPECT_FALSE(main->WindowAt(note)->isVisible());
}

TEST_F(NoteList, ExportAndImportKeepEveryField) {
  Populate();
  CNoteListWnd list(*main);
  list.SelectRows({0, 1, 2});
  const std::string qln = dir.File("three.qln");
  CFileDialog::SetNextFileName(QString::fromStdString(qln));
  list.Command(32314);
  EXPECT_EQ(ReadAll(qln).size(), 8604u);
  EXPECT_EQ(AppSettings().Int("ExportType"), 1);

  AppSettings().WriteString("Settings", "SepExport", "---");
  main->GetNote(3)->SetText("A");
  main->GetNote(4)->SetText("B");
  list.Fill();
  list.SelectRows({3, 4});
  const std::string txt = dir.File("two.txt");
  CFileDialog::SetNextFileName(QString::fromStdString(txt));
  list.Command(32314);
  const auto bytes = ReadAll(txt);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "A\r\n---\r\nB");

  CFileDialog::SetNextFileName(QString::fromStdString(qln));
  list.Command(32315);
  ASSERT_EQ(main->NoteCount(), 33);
  EXPECT_EQ(NoteToRecord(*main->GetNote(30), 0), NoteToRecord(*main->GetNote(0), 0));
  EXPECT_EQ(CountOnDisk(), 33);
}

TEST_F(NoteList, DeletingGoesToTheBinAndRestoringFilesIntoAFolder) {
  Populate();
  CNoteListWnd list(*main);
  list.SelectRows({0, 1, 2, 3});
  CMessageBox::SetNextAnswer(QMessageBox::Yes);
  list.Command(32101);
  EXPECT_EQ(main->NoteCount(), 26);
  list.SelectFolderItem(list.FolderItemCount() - 1);
  ASSERT_EQ(Rows(list), 4);
  list.SelectRows({1, 2});
  list.Command(6002);  // into the second folder, Work
  EXPECT_EQ(main->NoteCount(), 28);
  EXPECT_EQ(main->GetNote(26)->Folder(), "Work");
  EXPECT_EQ(main->GetNote(26)->Text(), "note 1");
  EXPECT_EQ(main->GetNote(27)->Text(), "note 2");
  const RecycleBinRead bin = CRecycleBin::Read(FileSystem::Real(), dir.File("notes.rbi"));
  ASSERT_EQ(bin.entries.size(), 2u);
  EXPECT_EQ(bin.entries[0].text, "note 0 NOTEBOOK");
  EXPECT_EQ(bin.entries[1].text, "note 3");
  // Shift+Delete outside the bin bypasses it.
  list.SelectFolderItem(1);
  list.SelectRows({0});
  list.Command(32101, true);
  EXPECT_EQ(CRecycleBin::Read(FileSystem::Real(), dir.File("notes.rbi")).entries.size(), 2u);
}

TEST_F(NoteList, RenamingAFolderRenamesItInEveryNote) {
  Populate();
  CFolderListDialog dialog(*main);
  ASSERT_EQ(dialog.list->count(), 2);
  QListWidgetItem* work = dialog.list->item(1);
  work->setText(QStringLiteral("Office"));  // the label edit ends
  dialog.accept();
  EXPECT_EQ(AppSettings().GetStringList("Folder"), (std::vector<std::string>{"Home", "Office"}));
  int office = 0;
  for (int i = 0; i < main->NoteCount(); ++i) office += OnDisk(i).Folder() == "Office";
  EXPECT_EQ(office, 10);
}

TEST_F(NoteList, SearchFromTheMainMenu) {
  Start();
  main->OnCommand(CMainWindow::kCmdSearch);
  EXPECT_EQ(CMessageBox::Shown().back(), QStringLiteral("No notes available!"));
  AddNote("milk and bread", QRect(10, 10, 40, 30));
  CModal::SetNextHandler([](QDialog& d) {
    auto& s = dynamic_cast<CSearchDialog&>(d);
    s.text->setEditText(QStringLiteral("butter"));
    s.accept();
    return s.result();
  });
  main->OnCommand(CMainWindow::kCmdSearch);
  EXPECT_EQ(CMessageBox::Shown().back(), QStringLiteral("No notes found!"));
  CModal::SetNextHandler([](QDialog& d) {
    auto& s = dynamic_cast<CSearchDialog&>(d);
    s.text->setEditText(QStringLiteral("MILK"));
    s.accept();
    return s.result();
  });
  int rows = -1;
  CModal::SetNextHandler([&](QDialog& d) {
    auto& list = dynamic_cast<CNoteListWnd&>(d);
    rows = list.Model()->rowCount();
    EXPECT_EQ(list.View(), kViewSearch);
    return int(QDialog::Rejected);
  });
  main->OnCommand(CMainWindow::kCmdSearch);
  EXPECT_EQ(rows, 1);
  EXPECT_EQ(AppSettings().GetStringList("Search"), (std::vector<std::string>{"MILK", "butter"}));
}

TEST_F(NoteList, ColumnWidthsAndOrderAreKept) {
  Start();
  {
    CNoteListWnd list(*main);
    list.Table()->setColumnWidth(1, 177);
    QHeaderView* h = list.Table()->horizontalHeader();
    h->moveSection(h->visualIndex(2), 1);
    list.reject();
  }
  const std::string kept = AppSettings().String("NoteList");
  EXPECT_EQ(kept.rfind("(", 0), 0u) << kept;
  CNoteListWnd again(*main);
  EXPECT_EQ(again.Table()->columnWidth(1), 177);
  EXPECT_EQ(again.Table()->horizontalHeader()->logicalIndex(1), 2);
  EXPECT_EQ(again.ColumnLayout().toStdString(), kept);
  // A layout for other columns, or a broken one, is left alone.
  AppSettings().WriteString("Settings", "NoteList", "(3,3) 1 2 3 0 1 2");
  CNoteListWnd other(*main);
  EXPECT_NE(other.Table()->columnWidth(1), 1);
  AppSettings().WriteString("Settings", "NoteList", "(x) 99999999999999999999");
  CNoteListWnd broken(*main);
  EXPECT_NE(broken.Table()->columnWidth(1), 0);
}

TEST_F(NoteList, AFolderNameWithSpacesIsNamedWholeInTheCaption) {
  AppSettings().WriteStringList("Folder", {"My Work"});
  Start();
  AddNote("filed", QRect(10, 10, 60, 30))->Note().SetFolder("my work");
  CNoteListWnd list(*main);
  list.SelectFolderItem(3);
  EXPECT_TRUE(list.Caption().endsWith(QStringLiteral("from \"My Work\""))) << list.Caption().toStdString();
  // The folder menu ticks the note's folder in any letter case.
  QMenu menu;
  main->BuildNoteMenu(menu, main->WindowAt(0), true);
  bool ticked = false;
  for (QAction* a : menu.actions())
    if (a->menu())
      for (QAction* f : a->menu()->actions()) ticked |= f->text() == QStringLiteral("My Work") && f->isChecked();
  EXPECT_TRUE(ticked);
}

TEST_F(NoteList, ADarkPaletteKeepsTheListReadable) {
  Start();
  const QPalette before = QApplication::palette();
  QPalette dark = before;
  dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
  dark.setColor(QPalette::Text, QColor(0xE0, 0xE0, 0xE0));
  QApplication::setPalette(dark);
  {
    CNoteListWnd list(*main);
    list.resize(800, 500);
    const QImage shot = list.Table()->viewport()->grab().toImage();
    EXPECT_LT(QColor(shot.pixel(shot.width() / 2, shot.height() - 5)).lightness(), 100);
  }
  QApplication::setPalette(before);
  // A colour the user picked is kept, with text that reads on it.
  AppSettings().WriteInt("Settings", "ColorList", 0x00101010);
  CNoteListWnd picked(*main);
  EXPECT_TRUE(picked.Table()->styleSheet().contains(QStringLiteral("#ffffff")));
}

TEST_F(NoteList, AWideMiniatureStaysInItsCell) {
  AppSettings().WriteInt("Settings", "ListViewNote", 32307);  // minimized miniatures
  Start();
  CNoteWnd* w = AddNote(std::string(300, 'W'), QRect(10, 10, 3000, 30));
  w->Note().ColorText = 0x000000FF;  // red text, easy to find
  CNoteListWnd list(*main);
  list.resize(900, 400);
  list.show();
  QApplication::processEvents();
  QTableView* table = list.Table();
  const QRect cell = table->visualRect(table->model()->index(0, 0));
  const QImage shot = table->viewport()->grab().toImage();
  int redOutside = 0;
  for (int x = cell.right() + 2; x < std::min(shot.width(), cell.right() + 200); ++x)
    for (int y = cell.top(); y <= cell.bottom(); ++y) {
      const QColor c = shot.pixelColor(x, y);
      redOutside += c.red() > 150 && c.green() < 100 && c.blue() < 100;
    }
  EXPECT_EQ(redOutside, 0);
}

TEST_F(NoteList, ARowStaysSelectedAfterFilingANoteOutOfTheView) {
  Populate();
  CNoteListWnd list(*main);
  list.SelectFolderItem(4);  // Work
  const int before = Rows(list);
  list.SelectRows({2});
  list.Command(5001);  // into Home
  ASSERT_EQ(Rows(list), before - 1);
  EXPECT_EQ(list.SelectedRows(), (std::vector<int>{2}));
  // Filed within the view, the notes themselves stay selected.
  list.SelectFolderItem(1);
  list.SelectRows({3, 4});
  const int a = list.Model()->RowAt(3).note, b = list.Model()->RowAt(4).note;
  list.Command(5002);
  ASSERT_EQ(list.SelectedRows().size(), 2u);
  EXPECT_EQ(list.Model()->RowAt(list.SelectedRows()[0]).note + list.Model()->RowAt(list.SelectedRows()[1]).note, a + b);
}

TEST_F(NoteList, RestoringABackupAddsOnlyTheNotesThatAreGone) {
  Start();
  CNoteWnd* first = AddNote("first", QRect(10, 10, 60, 30));
  AddNote("second", QRect(100, 10, 60, 30));
  std::filesystem::create_directories(BackupFolderOf(path));
  std::filesystem::copy_file(path, BackupFolderOf(path) + "/notes-2026-12-01-here.dat");
  main->DeleteNotes({first->Index()}, false, false);
  main->SaveAllNotes();
  const std::vector<std::string> backups = BackupsOf(path, "here");
  ASSERT_FALSE(backups.empty());
  CNoteListWnd list(*main);
  CFileDialog::SetNextFileName(QString::fromStdString(backups.front()));
  list.Command(30040);  // File > Restore from Backup...
  std::vector<std::string> texts;
  for (int i = 0; i < main->NoteCount(); ++i) texts.push_back(main->GetNote(i)->Text());
  std::sort(texts.begin(), texts.end());
  EXPECT_EQ(texts, (std::vector<std::string>{"first", "second"}));
}
