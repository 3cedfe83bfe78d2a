#include <QAccessible>
#include <QMenu>

#include "notewnd/NoteMeasure.h"
#include "ui/UiFixture.h"

using namespace quillet;
using namespace quillet::test;

using NoteWindow = UiFixture;

TEST_F(NoteWindow, DraggingEdgesResizesDownToTenPixels) {
  Start();
  CNoteWnd* w = AddNote("resize me", QRect(100, 100, 120, 80));
  Drag(w, QPoint(2, 40), QPoint(500, 0));  // left edge far to the right
  EXPECT_EQ(w->geometry(), QRect(210, 100, 10, 80));
  Drag(w, QPoint(8, 78), QPoint(0, -300));  // bottom edge far up
  EXPECT_EQ(w->geometry(), QRect(210, 100, 10, 10));
  Drag(w, QPoint(8, 8), QPoint(60, 50));  // bottom-right corner grows
  EXPECT_EQ(w->geometry(), QRect(210, 100, 70, 60));
  EXPECT_EQ(OnDisk(0).Rect, (NoteRect{210, 100, 70, 60}));
}

TEST_F(NoteWindow, MovingOneSelectedNoteMovesThemAllButResizingDoesNot) {
  Start();
  CNoteWnd* a = AddNote("a", QRect(100, 100, 100, 60));
  CNoteWnd* b = AddNote("b", QRect(300, 100, 100, 60));
  CNoteWnd* c = AddNote("c", QRect(500, 100, 100, 60));
  Mouse(a, QEvent::MouseButtonPress, QPoint(50, 30), Qt::LeftButton, Qt::LeftButton);
  Mouse(a, QEvent::MouseButtonRelease, QPoint(50, 30), Qt::LeftButton, Qt::NoButton);
  // Ctrl+click adds b and its release keeps the selection.
  Mouse(b, QEvent::MouseButtonPress, QPoint(50, 30), Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier);
  Mouse(b, QEvent::MouseButtonRelease, QPoint(50, 30), Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
  EXPECT_TRUE(a->IsSelected() && b->IsSelected() && !c->IsSelected());

  Drag(b, QPoint(50, 30), QPoint(10, 40));
  EXPECT_EQ(a->geometry().topLeft(), QPoint(110, 140));
  EXPECT_EQ(b->geometry().topLeft(), QPoint(310, 140));
  EXPECT_EQ(c->geometry().topLeft(), QPoint(500, 100));
  EXPECT_EQ(OnDisk(0).Rect.top, 140);
  EXPECT_EQ(OnDisk(1).Rect.left, 310);

  Drag(b, QPoint(98, 30), QPoint(20, 0));  // right edge of b
  EXPECT_EQ(b->width(), 120);
  EXPECT_EQ(a->width(), 100);
  EXPECT_TRUE(a->IsSelected() && b->IsSelected());
}

TEST_F(NoteWindow, MinimiseKeepsRoomForTheIndicatorAndRestoreBringsTheText) {
  Start();
  CNoteWnd* one = AddNote("just one line", QRect(100, 100, 300, 200));
  const QSize oneMin = one->FitToText(true);
  EXPECT_EQ(one->FitToText(false), oneMin);  // nothing cut, no room added

  CNoteWnd* w = AddNote("first line\r\nsecond line\r\nthird", QRect(100, 300, 300, 200));
  const QSize full = w->FitToText(false);
  EXPECT_FALSE(w->IsMinimized());
  const QSize min = w->FitToText(true);
  EXPECT_TRUE(w->IsMinimized());
  EXPECT_LT(min.height(), full.height());
  CNote firstOnly;
  firstOnly.SetText("first line");
  firstOnly.Font = w->Note().Font;
  EXPECT_EQ(min.width(), ComputeNoteSize(firstOnly, nullptr, false, 0, 8, true).width() + 11);
  EXPECT_EQ(OnDisk(1).Rect.height, min.height());
  EXPECT_EQ(w->FitToText(false), full);
  EXPECT_EQ(OnDisk(1).Rect.height, full.height());
}

TEST_F(NoteWindow, EmptyNoteMeasuresAsOneLine) {
  Start();
  CNote empty, space;
  space.SetText(" ");
  EXPECT_EQ(ComputeNoteSize(empty, nullptr, false, 0, 8, true), ComputeNoteSize(space, nullptr, false, 0, 8, true));
  CNote two;
  two.SetText("x\r\n");
  EXPECT_GT(ComputeNoteSize(two, nullptr, false, 0, 8, true).height(), ComputeNoteSize(space, nullptr, false, 0, 8, true).height());
}

TEST_F(NoteWindow, ShowFullStartsWellInsideAndEndsOutsideTheSmallerRect) {
  Start();
  CNoteWnd* w = AddNote("a long first line of the note\r\nmore\r\nand more\r\nand the end", QRect(200, 200, 60, 20));
  w->Render();  // a paint notices the overflow
  ASSERT_TRUE(w->HasOverflow());
  Mouse(w, QEvent::MouseMove, QPoint(2, 2), Qt::NoButton, Qt::NoButton);  // within 5 pixels of the edge
  EXPECT_FALSE(w->IsShownFull());
  Mouse(w, QEvent::MouseMove, QPoint(30, 10), Qt::NoButton, Qt::NoButton);
  ASSERT_TRUE(w->IsShownFull());
  EXPECT_GT(w->width(), 60);
  EXPECT_GT(w->height(), 20);
  EXPECT_EQ(w->geometry().topLeft(), QPoint(200, 200));
  // A click ends it and gives the note its size back.
  Mouse(w, QEvent::MouseButtonPress, QPoint(30, 10), Qt::LeftButton, Qt::LeftButton);
  Mouse(w, QEvent::MouseButtonRelease, QPoint(30, 10), Qt::LeftButton, Qt::NoButton);
  EXPECT_FALSE(w->IsShownFull());
  EXPECT_EQ(w->geometry(), QRect(200, 200, 60, 20));
}

TEST_F(NoteWindow, TitlesComeFromTheFirstLine) {
  AppSettings().WriteInt("Settings", "WindowTitles", 1);
  Start();
  CNoteWnd* w = AddNote("\r\nstarts with a break", QRect(10, 10, 50, 50));
  EXPECT_EQ(w->windowTitle(), QStringLiteral("Quillet0000 - \r\nstarts with a break").left(14 + 30));
  CNoteWnd* v = AddNote("Shopping\r\nmilk", QRect(10, 10, 50, 50));
  EXPECT_EQ(v->windowTitle(), QStringLiteral("Quillet0001 - Shopping"));
}

TEST_F(NoteWindow, ColourKeyMakesThatColourSeeThrough) {
  Start();
  CNoteWnd* w = AddNote("keyed", QRect(10, 10, 80, 40));
  main->SetFlag(CMainWindow::kLayeredAvailable, true);
  w->SetTransparency(2255);  // background keyed out
  const QImage img = w->Render();
  EXPECT_EQ(qAlpha(img.pixel(40, 35)), 0);
  w->SetTransparency(255);
  EXPECT_EQ(qAlpha(w->Render().pixel(40, 35)), 255);
  EXPECT_EQ(OnDisk(0).Transparency, 255);
}

TEST_F(NoteWindow, ReadOnlyDataFileIgnoresTheMouse) {
  Start();
  CNoteWnd* w = AddNote("fixed", QRect(100, 100, 100, 60));
  main->SetFlag(CMainWindow::kReadOnly, true);
  Drag(w, QPoint(50, 30), QPoint(40, 40));
  EXPECT_EQ(w->geometry().topLeft(), QPoint(100, 100));
  EXPECT_FALSE(w->IsSelected());
}

TEST_F(NoteWindow, AScreenReaderGetsTheNotesText) {
  Start();
  CNoteWnd* w = AddNote("Shopping\r\nmilk\r\nbread", QRect(10, 10, 120, 60));
  QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Shopping"));
  EXPECT_EQ(a->text(QAccessible::Description), QStringLiteral("Shopping\nmilk\nbread"));
  w->SetText("Done");
  EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Done"));
}
