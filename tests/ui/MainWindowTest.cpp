#include <gtest/gtest.h>

#include <QApplication>
#include <filesystem>

#include "app/CQuilletApp.h"
#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "controls/CMessageBox.h"
#include "mainwnd/CMainWindow.h"
#include "notewnd/CNoteWnd.h"
#include "support/NoteBuilders.h"
#include "support/WaitFor.h"
#include "support/TempDir.h"

using namespace quillet;
using namespace quillet::test;

namespace {

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static_cast<QtSettingsStore&>(AppSettings().Store()).Backend().clear();
    AppSettings().WriteInt("Settings", "NetEnable", 0);
    CMessageBox::ClearShown();
  }
  TempDir dir;
  std::string path = dir.File("notes.dat");
};

}  // namespace

TEST_F(MainWindowTest, LoadsTheFileOfTheCommandLineAndConvertsIt) {
  CNote hidden = FullNote("hidden one");
  CNote shown = FullNote("shown one");
  shown.HideMode = 0;
  WriteAll(path, MakeFile(5, 2, {RecordOfVersion(hidden, 5), RecordOfVersion(shown, 5)}));

  CMainWindow main(QString::fromStdString(path));
  main.OnCreate();
  ASSERT_EQ(main.NoteCount(), 2);
  EXPECT_TRUE(CMessageBox::Shown().isEmpty());
  EXPECT_EQ(ReadAll(path).size(), kHeaderSize + 2 * kRecordSize);
  EXPECT_EQ(ReadAll(path)[8], 10);

  CNoteWnd* w0 = main.WindowOf(*main.GetNote(0));
  CNoteWnd* w1 = main.WindowOf(*main.GetNote(1));
  ASSERT_TRUE(w0 && w1);
  EXPECT_FALSE(w0->isVisible());  // hidden until a time
  EXPECT_TRUE(w1->isVisible());
  EXPECT_EQ(w1->geometry(), QRect(-40, 310, 222, 111));
  EXPECT_EQ(FromLocal(main.Store().RecycleBinPath()), QString::fromStdString(dir.File("notes.rbi")));
}

TEST_F(MainWindowTest, SettingNamesTheFileBeforeTheCommandLine) {
  const std::string configured = dir.File("configured.dat");
  AppSettings().WriteString("Settings", "FileNotes", configured);
  AppSettings().WriteString("Settings", "FileRecBin", dir.File("bin.rbi"));
  CMainWindow main(QString::fromStdString(path));
  main.OnCreate();
  EXPECT_TRUE(std::filesystem::exists(configured));
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_EQ(main.Store().RecycleBinPath(), dir.File("bin.rbi"));
}

TEST_F(MainWindowTest, CorruptFileIsReportedWithItsPathAndNotTouched) {
  const std::vector<unsigned char> junk = {'n', 'o', 't', ' ', 'n', 'o', 't', 'e', 's', 0, 0, 0, 0};
  WriteAll(path, junk);
  CMainWindow main(QString::fromStdString(path));
  main.OnCreate();
  EXPECT_EQ(main.NoteCount(), 0);
  ASSERT_EQ(CMessageBox::Shown().size(), 1);
  EXPECT_EQ(CMessageBox::Shown()[0], QStringLiteral("Invalid or corrupt Quillet file! ") + QString::fromStdString(path));
  EXPECT_EQ(ReadAll(path), junk);
}

TEST_F(MainWindowTest, ShutdownWritesTheStateFlagsButNotTheNotes) {
  AppSettings().WriteInt("Settings", "Show", 0);
  AppSettings().WriteInt("Settings", "AlwaysOnTop", 1);
  WriteAll(path, MakeFile(10, 1, {RecordOfVersion(FullNote(), 10)}));
  const auto before = ReadAll(path);
  {
    CMainWindow main(QString::fromStdString(path));
    main.OnCreate();
    EXPECT_FALSE(main.HasFlag(CMainWindow::kShowNotes));
    EXPECT_FALSE(main.WindowOf(*main.GetNote(0))->isVisible());
    AppSettings().WriteInt("Settings", "Show", 1);  // changed behind its back: shutdown writes its own state
    main.Shutdown();
    EXPECT_FALSE(main.SaveNote(0, true));  // closed to writes
  }
  EXPECT_FALSE(AppSettings().Flag("Show"));
  EXPECT_TRUE(AppSettings().Flag("AlwaysOnTop"));
  EXPECT_FALSE(AppSettings().Flag("CalShow"));
  EXPECT_EQ(ReadAll(path), before);
}

TEST_F(MainWindowTest, WindowTitlesFollowTheIndex) {
  AppSettings().WriteInt("Settings", "WindowTitles", 1);
  CMainWindow main(QString::fromStdString(path));
  main.OnCreate();
  main.CreateNote("first line\r\nsecond", {10, 10, 50, 50}, true, true);
  main.CreateNote("Another note with a first line longer than thirty characters", {30, 30, 50, 50}, true, true);
  EXPECT_EQ(main.WindowOf(*main.GetNote(1))->windowTitle(),
            QStringLiteral("Quillet0001 - Another note with a first line"));
  main.DeleteNotes({0}, false, false);
  EXPECT_EQ(main.WindowOf(*main.GetNote(0))->windowTitle().left(13), QStringLiteral("Quillet0000 -"));
  EXPECT_EQ(static_cast<uint32_t>(main.GetNote(0)->ColorBack), 0x0099FFFFu);
}

TEST_F(MainWindowTest, ALargeFilesWindowsComeFromTheEventLoopAndNotesRemovedMeanwhileAreSkipped) {
  std::vector<std::vector<unsigned char>> records;
  for (int i = 0; i < 1000; ++i) {
    CNote n = FullNote("note " + std::to_string(i));
    n.HideMode = i == 999 ? 1 : 0;
    records.push_back(RecordOfVersion(n, kCurrentVersion));
  }
  WriteAll(path, MakeFile(kCurrentVersion, 1000, records));
  CMainWindow main(QString::fromStdString(path));
  main.OnCreate();
  ASSERT_EQ(main.NoteCount(), 1000);
  // A window asked for before its batch is there at once.
  ASSERT_TRUE(main.WindowAt(998));
  EXPECT_EQ(main.WindowAt(998)->Note().Text(), "note 998");
  // Notes removed before their batch came leave nothing behind to show.
  std::vector<int> gone;
  for (int i = 400; i < 800; ++i) gone.push_back(i);
  main.DeleteNotes(gone, false, false);
  ASSERT_EQ(main.NoteCount(), 600);
  const auto visible = [&] {
    int count = 0;
    for (int i = 0; i < main.NoteCount(); ++i)
      if (CNoteWnd* w = main.WindowAt(i); w && w->isVisible()) ++count;
    return count;
  };
  EXPECT_TRUE(WaitFor([&] { return visible() == 599; }));
  EXPECT_FALSE(main.WindowAt(599)->isVisible());  // hidden until a time
  EXPECT_EQ(main.WindowAt(599)->Note().Text(), "note 999");
}

TEST(Platform, AWaylandSessionWithXWaylandRunsTheNotesThroughX) {
  EXPECT_EQ(CQuilletApp::PlatformToUse("", "wayland-0", ":0"), QByteArray("xcb"));
  EXPECT_EQ(CQuilletApp::PlatformToUse("", "", ":0"), QByteArray());           // X11 as it is
  EXPECT_EQ(CQuilletApp::PlatformToUse("", "wayland-0", ""), QByteArray());    // no XWayland: Qt's choice
  EXPECT_EQ(CQuilletApp::PlatformToUse("wayland", "wayland-0", ":0"), QByteArray());  // the user's choice
}
