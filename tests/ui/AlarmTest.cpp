#include <QScrollBar>
#include <QAbstractTextDocumentLayout>
#include <QTextDocument>
#include <QElapsedTimer>
#include <QButtonGroup>
#include <QPlainTextEdit>
#include <QCheckBox>
#include <QSpinBox>
#include <QThread>
#include <QTimeEdit>

#include "alarm/AlarmRules.h"
#include "alarm/CAlarmBox.h"
#include "alarm/CAlarmSheet.h"
#include "alarm/CHideDialog.h"
#include "alarm/DateControls.h"
#include "controls/CModal.h"
#include "notes/RecycleBin.h"
#include "ui/UiFixture.h"

using namespace quillet;
using namespace quillet::test;

namespace {

DateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0) { return DateTime::FromParts(y, mo, d, h, mi, s); }

class Alarms : public UiFixture {
 protected:
  void SetUp() override {
    UiFixture::SetUp();
    CModal::ClearHandlers();
  }
  void TearDown() override { CModal::ClearHandlers(); }
  void StartAt(const DateTime& t) {
    Start();
    now = t;
    main->SetClock([this] { return now; });
  }
  CNoteWnd* WithAlarm(const std::string& text, const DateTime& when, uint16_t type = 0, uint16_t action = 0) {
    CNoteWnd* w = AddNote(text, QRect(100 + 60 * main->NoteCount(), 100, 50, 40));
    w->Note().AlarmTime = when;
    w->Note().AlarmType = type;
    w->Note().AlarmAction = action;
    w->Note().AlarmEvery = 1;
    main->SaveNote(w->Index(), false);
    return w;
  }
  // Answers the next alarm box with the given button and notes the text it showed.
  void AnswerBox(int button) {
    CModal::SetNextHandler([this, button](QDialog& d) {
      EXPECT_NE(dynamic_cast<CAlarmBox*>(&d), nullptr);
      boxes.push_back(d.windowTitle());
      return button;
    });
  }
  DateTime now;
  QStringList boxes;
};

}  // namespace

TEST_F(Alarms, CloseMovesARepeatingAlarmOnAndWritesIt) {
  StartAt(At(2026, 12, 7, 17, 30));
  WithAlarm("hourly", At(2026, 12, 7, 8), kUnitHours);
  AnswerBox(CAlarmBox::kClose);
  main->AlarmTick();
  EXPECT_EQ(boxes.size(), 1);
  EXPECT_EQ(OnDisk(0).AlarmTime, At(2026, 12, 7, 18));
  main->AlarmTick();  // nothing more is due
  EXPECT_EQ(boxes.size(), 1);
}

TEST_F(Alarms, RemindPostponesAndClosingLaterKeepsThePhase) {
  StartAt(At(2026, 12, 7, 8));
  WithAlarm("hourly", At(2026, 12, 7, 8), kUnitHours);
  AnswerBox(CAlarmBox::kRemind);
  main->AlarmTick();
  EXPECT_EQ(OnDisk(0).AlarmTime, At(2026, 12, 7, 8, 5));
  EXPECT_EQ(OnDisk(0).AlarmScheduled, At(2026, 12, 7, 8));
  now = At(2026, 12, 7, 8, 5);
  AnswerBox(CAlarmBox::kClose);
  main->AlarmTick();
  EXPECT_EQ(OnDisk(0).AlarmTime, At(2026, 12, 7, 9));
  EXPECT_TRUE(OnDisk(0).AlarmScheduled.IsNull());
}

TEST_F(Alarms, TwoDueAlarmsFireInIndexOrderOnOneTick) {
  StartAt(At(2026, 12, 7, 8));
  WithAlarm("first", At(2026, 12, 7, 7));
  WithAlarm("second", At(2026, 12, 7, 7, 30));
  std::vector<std::string> order;
  for (int k = 0; k < 2; ++k)
    CModal::SetNextHandler([&](QDialog& d) {
      order.push_back(d.findChild<QPlainTextEdit*>()->toPlainText().toStdString());
      return CAlarmBox::kClose;
    });
  main->AlarmTick();
  EXPECT_EQ(order, (std::vector<std::string>{"first", "second"}));
  EXPECT_TRUE(OnDisk(0).AlarmTime.IsNull());
  EXPECT_TRUE(OnDisk(1).AlarmTime.IsNull());
}

TEST_F(Alarms, NothingFiresWhileADialogIsOpen) {
  StartAt(At(2026, 12, 7, 8));
  WithAlarm("wait", At(2026, 12, 7, 7));
  {
    CBusyGuard busy(*main);
    main->AlarmTick();
    EXPECT_TRUE(OnDisk(0).AlarmTime.IsValid());
  }
  AnswerBox(CAlarmBox::kClose);
  main->AlarmTick();
  EXPECT_TRUE(OnDisk(0).AlarmTime.IsNull());
}

TEST_F(Alarms, DeleteAfterAlarmGoesToTheRecycleBin) {
  StartAt(At(2026, 12, 7, 8));
  AddNote("keep me", QRect(10, 10, 40, 30));
  WithAlarm("remove me", At(2026, 12, 7, 7), 1);
  AnswerBox(CAlarmBox::kClose);
  main->AlarmTick();
  ASSERT_EQ(main->NoteCount(), 1);
  EXPECT_EQ(CountOnDisk(), 1);
  const RecycleBinRead bin = CRecycleBin::Read(FileSystem::Real(), dir.File("notes.rbi"));
  ASSERT_EQ(bin.entries.size(), 1u);
  EXPECT_EQ(bin.entries[0].text, "remove me");
}

TEST_F(Alarms, AFlashingNoteIsDeletedOnlyWhenClicked) {
  StartAt(At(2026, 12, 7, 8));
  CNoteWnd* w = WithAlarm("flash then go", At(2026, 12, 7, 7), 1, 1);
  main->AlarmTick();
  ASSERT_TRUE(w->IsFlashing());
  EXPECT_EQ(CountOnDisk(), 1);
  Mouse(w, QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
  EXPECT_EQ(main->NoteCount(), 0);
  EXPECT_EQ(CountOnDisk(), 0);
  QApplication::processEvents();  // the window goes away later, not under its own handler
}

TEST_F(Alarms, AHiddenNoteFlashesAndHidesAgain) {
  StartAt(At(2026, 12, 7, 8));
  CNoteWnd* w = WithAlarm("hidden", At(2026, 12, 7, 7), 0, 1);
  w->Note().HideMode = 1;
  w->hide();
  main->AlarmTick();
  EXPECT_TRUE(w->isVisible());
  EXPECT_TRUE(w->IsFlashing());
  Mouse(w, QEvent::MouseButtonPress, QPoint(10, 10), Qt::LeftButton, Qt::LeftButton);
  Mouse(w, QEvent::MouseButtonRelease, QPoint(10, 10), Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(w->IsFlashing());
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(w->Note().HideMode, 1);
}

TEST_F(Alarms, AProgramThatCannotRunStillShowsTheAlarm) {
  StartAt(At(2026, 12, 7, 8));
  CNoteWnd* w = WithAlarm("call the bank", At(2026, 12, 7, 7), 0, 2);
  w->Note().SetAlarmExec("/nonexistent/program --flag");
  main->AlarmTick();
  ASSERT_FALSE(CMessageBox::Shown().isEmpty());
  EXPECT_TRUE(CMessageBox::Shown().back().startsWith(QStringLiteral("Cannot run: /nonexistent/program --flag")));
  EXPECT_TRUE(CMessageBox::Shown().back().contains(QStringLiteral("call the bank")));
  EXPECT_TRUE(OnDisk(0).AlarmTime.IsNull());
}

TEST_F(Alarms, ProgramsStartWithTheirArguments) {
  const std::string marker = dir.File("ran");
  ASSERT_TRUE(CMainWindow::RunAlarmProgram("sh -c \"echo ok > " + marker + "\""));
  QElapsedTimer waited;
  waited.start();
  while (!std::filesystem::exists(marker) && waited.elapsed() < 60000) QThread::msleep(20);
  EXPECT_TRUE(std::filesystem::exists(marker));
  EXPECT_FALSE(CMainWindow::RunAlarmProgram(""));
  EXPECT_FALSE(CMainWindow::RunAlarmProgram(dir.File("missing.txt")));
}

TEST_F(Alarms, TimedHidingEndsOnTheTick) {
  StartAt(At(2026, 12, 7, 8));
  CNoteWnd* w = AddNote("back soon", QRect(10, 10, 40, 30));
  w->Note().HideMode = 2;
  w->Note().HideUntil = At(2026, 12, 7, 8, 1);
  w->hide();
  main->AlarmTick();
  EXPECT_FALSE(w->isVisible());
  now = At(2026, 12, 7, 8, 1);
  main->AlarmTick();
  EXPECT_TRUE(w->isVisible());
  EXPECT_EQ(OnDisk(0).HideMode, 0);
}

TEST_F(Alarms, TheTrayAnnouncesAnAlarmWithinItsLeadTime) {
  StartAt(At(2026, 12, 7, 8));
  WithAlarm("soon", At(2026, 12, 7, 8, 20));
  main->AlarmTick();
  EXPECT_EQ(main->TrayImage(), 0);
  EXPECT_EQ(main->NextAlarmIndex(), 0);
  now = At(2026, 12, 7, 8, 5);
  main->AlarmTick();
  EXPECT_EQ(main->TrayImage(), 1);
}

TEST_F(Alarms, AReadOnlyDataFileFiresNothing) {
  std::filesystem::remove(path);
  {
    CNoteStore s;
    s.SetDataPath(path);
    ASSERT_TRUE(s.LoadNotes());
    CNote n;
    n.AlarmTime = At(2026, 12, 7, 7);
    s.CreateNote(n);
    ASSERT_TRUE(s.SaveAllNotes());
  }
  std::filesystem::permissions(path, std::filesystem::perms::owner_read);
  StartAt(At(2026, 12, 7, 8));
  EXPECT_TRUE(main->HasFlag(CMainWindow::kReadOnly));
  EXPECT_FALSE(main->AlarmTimerRunning());
  main->AlarmTick();
  EXPECT_TRUE(main->GetNote(0)->AlarmTime.IsValid());
  EXPECT_EQ(main->TrayImage(), 0);
}

TEST_F(Alarms, TheAlarmDialogComposesRefusesAndHides) {
  AppSettings().WriteInt("Settings", "AlarmTime", 70000);  // 07:00, already past at 08:00
  StartAt(At(2026, 12, 7, 8));
  CNoteWnd* w = AddNote("dentist", QRect(10, 10, 40, 30));
  int refusals = 0;
  CModal::SetNextHandler([&](QDialog& d) {
    auto& sheet = dynamic_cast<CAlarmSheet&>(d);
    EXPECT_TRUE(sheet.activate->isChecked());
    sheet.accept();  // 07:00 today lies behind: refused, the dialog stays
    refusals += sheet.result() != QDialog::Accepted;
    sheet.time->setTime(QTime(9, 30));
    sheet.hide->setChecked(true);
    sheet.accept();
    return sheet.result();
  });
  main->NoteCommand(*w, 32103);
  EXPECT_EQ(refusals, 1);
  EXPECT_EQ(CMessageBox::Shown().back(), QStringLiteral("The time must be in the future!"));
  EXPECT_EQ(OnDisk(0).AlarmTime, At(2026, 12, 7, 9, 30));
  EXPECT_EQ(OnDisk(0).HideMode, 1);
  EXPECT_FALSE(w->isVisible());
  EXPECT_EQ(AppSettings().Int("AlarmTime"), 93000);
}

TEST_F(Alarms, ChoosingDailySwitchesBackToASpecifiedTime) {
  StartAt(At(2026, 12, 7, 8));
  CNoteWnd* w = AddNote("daily", QRect(10, 10, 40, 30));
  CAlarmSheet sheet(w->Note(), main->Now(), main.get());
  sheet.mode->button(1)->setChecked(true);
  sheet.UpdateEnabling();
  EXPECT_TRUE(sheet.spanCount->isEnabled());
  sheet.typePage->choice->button(3)->setChecked(true);
  sheet.UpdateEnabling();
  EXPECT_EQ(sheet.mode->checkedId(), 0);
  EXPECT_FALSE(sheet.mode->button(1)->isEnabled());
  EXPECT_FALSE(sheet.date->isEnabled());
  sheet.typePage->SetMask(0);
  sheet.accept();
  EXPECT_EQ(CMessageBox::Shown().back(), QStringLiteral("No day selected!"));
}

TEST_F(Alarms, ChangeAlarmFromTheBoxOpensTheDialog) {
  StartAt(At(2026, 12, 7, 8));
  WithAlarm("move me", At(2026, 12, 7, 7));
  AnswerBox(CAlarmBox::kChangeAlarm);
  CModal::SetNextHandler([](QDialog&) { return int(QDialog::Rejected); });  // cancelled: the box again
  AnswerBox(CAlarmBox::kChangeAlarm);
  CModal::SetNextHandler([](QDialog& d) {
    auto& sheet = dynamic_cast<CAlarmSheet&>(d);
    sheet.time->setTime(QTime(12, 0));
    sheet.accept();
    return sheet.result();
  });
  main->AlarmTick();
  EXPECT_EQ(boxes.size(), 2);
  EXPECT_EQ(CModal::PendingHandlers(), 0);
  EXPECT_EQ(OnDisk(0).AlarmTime, At(2026, 12, 7, 12));
}

TEST_F(Alarms, TheHideDialogHidesUntilActivatedByDefault) {
  StartAt(At(2026, 12, 7, 8));
  CNoteWnd* w = AddNote("away", QRect(10, 10, 40, 30));
  CModal::SetNextHandler([](QDialog& d) {
    auto& dialog = dynamic_cast<CHideDialog&>(d);
    EXPECT_EQ(dialog.Choice(), 1);
    EXPECT_FALSE(dialog.DateEdit()->isEnabled());
    dialog.accept();
    return dialog.result();
  });
  main->NoteCommand(*w, 32106);
  EXPECT_EQ(OnDisk(0).HideMode, 1);
  EXPECT_FALSE(w->isVisible());
}

// Time passes while a dialog stands open: what OK composes counts from OK.
TEST_F(Alarms, TheAlarmAndHideDialogsComposeFromWhenOkIsPressed) {
  StartAt(At(2026, 12, 7, 8));
  CNoteWnd* w = AddNote("later", QRect(10, 10, 40, 30));
  CModal::SetNextHandler([&](QDialog& d) {
    auto& sheet = dynamic_cast<CAlarmSheet&>(d);
    sheet.mode->button(1)->setChecked(true);  // a period from now
    sheet.UpdateEnabling();
    sheet.spanCount->setValue(1);
    SelectUnit(*sheet.spanUnit, 2);  // minutes
    now = At(2026, 12, 7, 8, 1, 10);  // seventy seconds later
    sheet.accept();
    return sheet.result();
  });
  main->NoteCommand(*w, 32103);
  EXPECT_EQ(OnDisk(0).AlarmTime, At(2026, 12, 7, 8, 2, 10));

  // A specified time that passed while the dialog was open is refused.
  StartAt(At(2026, 12, 7, 8));
  w = AddNote("soon", QRect(10, 10, 40, 30));
  int refusals = 0;
  CModal::SetNextHandler([&](QDialog& d) {
    auto& sheet = dynamic_cast<CAlarmSheet&>(d);
    sheet.mode->button(0)->setChecked(true);
    sheet.UpdateEnabling();
    sheet.time->setTime(QTime(8, 1));
    now = At(2026, 12, 7, 8, 2);
    sheet.accept();
    refusals += sheet.result() != QDialog::Accepted;
    return static_cast<int>(QDialog::Rejected);
  });
  main->NoteCommand(*w, 32103);
  EXPECT_EQ(refusals, 1);
  EXPECT_EQ(CMessageBox::Shown().back(), QStringLiteral("The time must be in the future!"));

  // Hidden for a period: the period starts at OK too.
  StartAt(At(2026, 12, 7, 8));
  w = AddNote("away", QRect(10, 10, 40, 30));
  CModal::SetNextHandler([&](QDialog& d) {
    auto& dialog = dynamic_cast<CHideDialog&>(d);
    dialog.SetChoice(3);
    dialog.Count()->setValue(1);
    SelectUnit(*dialog.Unit(), 2);
    now = At(2026, 12, 7, 8, 1, 10);
    dialog.accept();
    return dialog.result();
  });
  const int index = w->Index();
  main->NoteCommand(*w, 32106);
  EXPECT_EQ(OnDisk(index).HideUntil, At(2026, 12, 7, 8, 2, 10));
}

TEST(AlarmBox, ShowsItsWholeTextWithoutScrolling) {
  for (const int px : {12, 16, 24, 40}) {
    for (const std::string words : {"Box alarm: call the dentist", "Call the dentist\r\nand the garage\r\nbefore noon",
                                     "W W W W W W W W W W W W W W W W W W W W W W W W W W W W W W W W W W W W W W W"}) {
      CNote n;
      n.SetText(words);
      std::strcpy(n.Font.faceName.data(), "Liberation Sans");
      n.Font.height = -px;
      n.Font.weight = 400;
      CAlarmBox box(n, 5);
      box.show();
      auto* text = box.findChild<QPlainTextEdit*>();
      ASSERT_NE(text, nullptr);
      const auto lines = static_cast<int>(text->document()->documentLayout()->documentSize().height());
      EXPECT_FALSE(text->verticalScrollBar()->isVisible()) << px << " " << words;
      EXPECT_LE(lines * QFontMetrics(text->font()).lineSpacing(), text->viewport()->height()) << px << " " << words;
    }
  }
}
