#include <QCalendarWidget>
#include <QMenu>

#include "calendar/CCalendar.h"
#include "ui/UiFixture.h"

using namespace quillet;
using namespace quillet::test;

using Calendar = UiFixture;

TEST_F(Calendar, ShownByTheMenuDraggedAndRemembered) {
  AppSettings().WriteInt("Settings", "CalLeft", 300);
  AppSettings().WriteInt("Settings", "CalTop", 100);
  Start();
  CCalendar* cal = main->Calendar();
  ASSERT_NE(cal, nullptr);
  EXPECT_FALSE(cal->isVisible());
  main->OnCommand(CMainWindow::kCmdCalendar);
  EXPECT_TRUE(cal->isVisible());
  EXPECT_EQ(cal->pos(), QPoint(300, 100));
  const int w = cal->width();
  Drag(cal, QPoint(w - 2, 40), QPoint(-5000, 0));  // right edge far to the left: held at 10 pixels
  EXPECT_EQ(cal->width(), 10);
  EXPECT_EQ(AppSettings().Int("CalWidth"), 10);
  Drag(cal, QPoint(5, 6), QPoint(20, 30));  // the top strip moves it
  EXPECT_EQ(cal->pos(), QPoint(320, 130));
  EXPECT_EQ(AppSettings().Int("CalLeft"), 320);
  main->Shutdown();
  EXPECT_TRUE(AppSettings().Flag("CalShow"));
}

TEST_F(Calendar, MenuCopiesTheSelectedDateAndStaysOnTop) {
  Start();
  CCalendar* cal = main->Calendar();
  cal->Widget()->setSelectedDate(QDate(2026, 12, 24));
  QMenu menu;
  cal->BuildMenu(menu);
  ASSERT_EQ(menu.actions().size(), 4);  // today, copy, separator, on top
  EXPECT_TRUE(menu.actions()[1]->menu()->actions()[0]->text().startsWith(QStringLiteral("Date short:\t")));
  cal->Command(32201);
  EXPECT_EQ(QApplication::clipboard()->text(), CCalendar::DateText(QDate(2026, 12, 24), false));
  cal->Command(32501);
  EXPECT_TRUE(cal->OnTop());
  EXPECT_TRUE(AppSettings().Flag("CalOnTop"));
  cal->Command(32500);
  EXPECT_EQ(cal->Widget()->selectedDate(), QDate::currentDate());
}

TEST_F(Calendar, ItsOwnColoursComeFromItsLayout) {
  AppSettings().WriteInt("Layout-1", "ColorBackMonth", 0x00CCEEFF);
  Start();
  EXPECT_EQ(main->Calendar()->Widget()->palette().color(QPalette::Base), QColor(0xFF, 0xEE, 0xCC));
}
