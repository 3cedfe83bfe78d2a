#include "mainwnd/CGlobalHotkeys.h"
#include "mainwnd/Hotkeys.h"
#include "notewnd/CNoteEditor.h"
#include "ui/UiFixture.h"

using namespace quillet;
using namespace quillet::test;

namespace {
struct Recorder final : IHotkeyBackend {
  std::map<int, std::pair<int, int>>* live;
  int* registrations;
  bool Available() const override { return true; }
  bool Register(int id, int vk, int mods) override {
    ++*registrations;
    EXPECT_EQ(live->count(id), 0u) << "registered twice: " << id;
    (*live)[id] = {vk, mods};
    return true;
  }
  void Unregister(int id) override { live->erase(id); }
};
}  // namespace

using Hotkeys = UiFixture;

TEST_F(Hotkeys, ApplyingTwiceRegistersEachOnce) {
  AppSettings().WriteInt("Settings", "NewHotkey", 0x0641);
  AppSettings().WriteInt("Settings", "OnTopHotkey", 0x0874);
  std::map<int, std::pair<int, int>> live;
  int registrations = 0;
  main = std::make_unique<CMainWindow>(QString::fromStdString(path));
  auto rec = std::make_unique<Recorder>();
  rec->live = &live;
  rec->registrations = &registrations;
  main->Hotkeys().SetBackend(std::move(rec));
  main->OnCreate();
  main->ApplySettings();
  EXPECT_EQ(live.size(), 2u);
  EXPECT_EQ(registrations, 4);
  EXPECT_EQ(live[16212], (std::pair<int, int>{0x41, kHotCtrl | kHotAlt}));
  EXPECT_EQ(live[16218], (std::pair<int, int>{0x74, kHotWin}));
  EXPECT_TRUE(main->HasFlag(0x20) && main->HasFlag(0x100) && !main->HasFlag(0x40));

  main->OnHotKey(16212);
  ASSERT_NE(main->ActiveEditor(), nullptr);  // New Note
  main->ActiveEditor()->Cancel();
  {
    CBusyGuard busy(*main);
    main->OnHotKey(16218);
    EXPECT_FALSE(main->HasFlag(CMainWindow::kAlwaysOnTop));  // busy: nothing happens
  }
  main->OnHotKey(16218);
  EXPECT_TRUE(main->HasFlag(CMainWindow::kAlwaysOnTop));
  main->Shutdown();
  EXPECT_TRUE(live.empty());
}

TEST_F(Hotkeys, WithoutGlobalKeysTheUserIsToldOnce) {
  AppSettings().WriteInt("Settings", "NewHotkey", 0x0641);
  Start();  // the offscreen platform grabs no keys
  main->ApplySettings();
  EXPECT_EQ(CMessageBox::Shown().count(QStringLiteral("Global hotkeys cannot be used in this desktop session. Everything else works as usual.")), 1);
}
