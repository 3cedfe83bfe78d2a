#pragma once
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>

#include "app/QtSettingsStore.h"
#include "controls/CMessageBox.h"
#include "mainwnd/CMainWindow.h"
#include "notewnd/CNoteWnd.h"
#include "support/TempDir.h"

namespace quillet::test {

// A main window over a data file of its own, with fresh settings.
class UiFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    static_cast<QtSettingsStore&>(AppSettings().Store()).Backend().clear();
    // Tests that listen choose a port of their own.
    AppSettings().WriteInt("Settings", "NetEnable", 0);
    CMessageBox::ClearShown();
    QApplication::clipboard()->clear();
  }
  void Start() {
    main = std::make_unique<CMainWindow>(QString::fromStdString(path));
    main->OnCreate();
  }
  CNoteWnd* AddNote(const std::string& text, QRect r) {
    CNoteWnd* w = main->CreateNote(text, {r.x(), r.y(), r.width(), r.height()}, true, true);
    main->SaveNote(w->Index(), true);
    return w;
  }
  // The note as the data file holds it now.
  CNote OnDisk(int index) {
    const LoadResult r = CDataFile::Read(FileSystem::Real(), path, {});
    EXPECT_EQ(r.status, LoadResult::Status::Ok);
    if (index >= static_cast<int>(r.notes.size())) return {};
    return r.notes[static_cast<std::size_t>(index)];
  }
  int CountOnDisk() { return static_cast<int>(CDataFile::Read(FileSystem::Real(), path, {}).notes.size()); }

  static void Mouse(QWidget* w, QEvent::Type type, QPoint local, Qt::MouseButton button, Qt::MouseButtons buttons,
                    Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QMouseEvent e(type, QPointF(local), QPointF(w->mapToGlobal(local)), button, buttons, mods);
    QApplication::sendEvent(w, &e);
  }
  static void Drag(QWidget* w, QPoint from, QPoint by, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    Mouse(w, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton, mods);
    // The window moves under the mouse, so later points are given in the first one's frame.
    const QPoint origin = w->mapToGlobal(from);
    for (int step = 1; step <= 4; ++step) {
      const QPoint global = origin + by * step / 4;
      QMouseEvent e(QEvent::MouseMove, QPointF(w->mapFromGlobal(global)), QPointF(global), Qt::NoButton, Qt::LeftButton, mods);
      QApplication::sendEvent(w, &e);
    }
    const QPoint global = origin + by;
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(w->mapFromGlobal(global)), QPointF(global), Qt::LeftButton, Qt::NoButton, mods);
    QApplication::sendEvent(w, &up);
  }

  TempDir dir;
  std::string path = dir.File("notes.dat");
  std::unique_ptr<CMainWindow> main;
};

}  // namespace quillet::test
