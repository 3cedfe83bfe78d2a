#include <QInputDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QWheelEvent>
#include <QCheckBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QPushButton>
#include <QComboBox>
#include <QSlider>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QDate>
#include <QKeySequenceEdit>
#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>

#include "app/UIStrings.h"
#include "controls/CModal.h"
#include "mainwnd/Hotkeys.h"
#include "notewnd/CColorListDialog.h"
#include "settingsdlg/CSettingsDialog.h"
#include "ui/UiFixture.h"

using namespace quillet;
using namespace quillet::test;

namespace {
class SettingsDialog : public UiFixture {
 protected:
  void SetUp() override {
    UiFixture::SetUp();
    CModal::ClearHandlers();
  }
  std::map<QString, QVariant> Snapshot() {
    QSettings& q = static_cast<QtSettingsStore&>(AppSettings().Store()).Backend();
    std::map<QString, QVariant> all;
    for (const QString& k : q.allKeys()) all[k] = q.value(k);
    return all;
  }
};
}  // namespace

TEST_F(SettingsDialog, APortOutOfRangeKeepsItOpenAndWritesNothing) {
  Start();
  const auto before = Snapshot();
  CSettingsDialog dialog(*main);
  dialog.networkPage->port->setText(QStringLiteral("19999"));
  dialog.miscPage->tabStops->setValue(1);  // also wrong, but the port is checked first
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(CMessageBox::Shown().back(), QStringLiteral("The port number must be between 20000 and 60000!"));
  EXPECT_EQ(Snapshot(), before);
  dialog.networkPage->port->setText(QStringLiteral("30000"));
  dialog.accept();
  EXPECT_EQ(CMessageBox::Shown().back(), QStringLiteral("The tab width must be between 2 and 20 characters!"));
  dialog.miscPage->tabStops->setValue(4);
  dialog.miscPage->flash->setValue(50);
  dialog.accept();
  EXPECT_EQ(CMessageBox::Shown().back(), QStringLiteral("The flash time must be between 100 and 3000 millisec!"));
  dialog.miscPage->flash->setValue(500);
  dialog.miscPage->remind->setValue(60);
  dialog.accept();
  EXPECT_EQ(CMessageBox::Shown().back(), QStringLiteral("The time for reminding must be between 1 and 59 minutes!"));
  dialog.miscPage->remind->setValue(10);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(AppSettings().String("NetPort"), "30000");
  EXPECT_EQ(AppSettings().Int("TabStops"), 4);
  EXPECT_EQ(AppSettings().Int("AlarmRemind"), 10);
}

TEST_F(SettingsDialog, HotkeysAreStoredWithTheWindowsKeyBox) {
  Start();
  CSettingsDialog dialog(*main);
  const int newNote = 0;
  dialog.keyboardPage->keys[newNote]->setKeySequence(QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::Key_F5));
  dialog.keyboardPage->windows[newNote]->setChecked(true);
  EXPECT_EQ(dialog.keyboardPage->Value(newNote), (1 + 2 + 8) * 256 + 0x74);
  dialog.keyboardPage->SetValue(1, 0x0641);
  EXPECT_EQ(dialog.keyboardPage->Value(1), 0x0641);
  EXPECT_FALSE(dialog.keyboardPage->windows[1]->isChecked());
  dialog.accept();
  EXPECT_EQ(AppSettings().Int("NewHotkey"), 0x0B74);
  EXPECT_EQ(AppSettings().Int("PasteHotkey"), 0x0641);
}

TEST_F(SettingsDialog, NoteModeChangesTheNotesButNoSetting) {
  Start();
  CNoteWnd* w = AddNote("styled", QRect(10, 10, 60, 30));
  w->SetSelected(true);
  const auto before = Snapshot();
  CModal::SetNextHandler([](QDialog& d) {
    auto& dialog = dynamic_cast<CSettingsDialog&>(d);
    EXPECT_TRUE(dialog.NoteMode());
    EXPECT_EQ(dialog.tabs->count(), 1);
    dialog.layoutPage->align->setCurrentIndex(2);
    dialog.layoutPage->key->setCurrentIndex(0);
    dialog.layoutPage->alpha->setValue(200);
    dialog.accept();
    return dialog.result();
  });
  main->NoteCommand(*w, 32002);
  EXPECT_EQ(Snapshot(), before);
  EXPECT_EQ(OnDisk(0).Align, 2);
  EXPECT_EQ(OnDisk(0).Transparency, 200);
}

TEST_F(SettingsDialog, TheTranslationPageWritesTheTranslationFile) {
  Start();
  UIStrings().LoadTranslation(dir.File("Quillet.ini"));
  {
    CSettingsDialog dialog(*main);
    QTableWidget* table = dialog.translatePage->table;
    for (int r = 0; r < table->rowCount(); ++r)
      if (table->item(r, 0) && table->item(r, 0)->data(Qt::UserRole).toInt() == 32005) {
        table->item(r, 0)->setText(QStringLiteral("&Quit"));
        break;
      }
    dialog.accept();
  }
  EXPECT_EQ(UIStrings().Load(32005), "&Quit");
  UIStrings().LoadTranslation(dir.File("absent.ini"));
}

TEST_F(SettingsDialog, ChangingTheShadowMakesTheWindowsAnew) {
  Start();
  AddNote("kept", QRect(40, 50, 60, 30));
  CNoteWnd* before = main->WindowAt(0);
  CModal::SetNextHandler([](QDialog& d) {
    auto& dialog = dynamic_cast<CSettingsDialog&>(d);
    dialog.miscPage->shadow->setChecked(!dialog.miscPage->shadow->isChecked());
    dialog.accept();
    return dialog.result();
  });
  main->OnCommand(CMainWindow::kCmdSettings);
  ASSERT_EQ(main->NoteCount(), 1);
  EXPECT_NE(main->WindowAt(0), before);
  EXPECT_EQ(main->WindowAt(0)->geometry(), QRect(40, 50, 60, 30));
}

TEST_F(SettingsDialog, TheColourListNeedsTwoColours) {
  Start();
  CColorListDialog dialog;
  EXPECT_EQ(dialog.list->count(), 5);
  while (dialog.list->count() > 1) dialog.DeleteSelected();
  dialog.accept();
  EXPECT_NE(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(CMessageBox::Shown().back(), QStringLiteral("The color list must contain at least 2 colors!"));
  dialog.AddColor(0x00112233);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(ReadColorList(AppSettings()).size(), 2u);
}

TEST_F(SettingsDialog, LayoutsAreSavedAndDeletedOnTheLayoutPage) {
  Start();
  CSettingsDialog dialog(*main);
  dialog.layoutPage->align->setCurrentIndex(1);
  EXPECT_EQ(dialog.layoutPage->SaveAs("Centred"), 1);
  EXPECT_EQ(dialog.layoutPage->layouts->count(), 2);
  EXPECT_TRUE(dialog.layoutPage->remove->isEnabled());
  EXPECT_EQ(ReadLayout(AppSettings(), 1).align, 1);
  dialog.layoutPage->DeleteSelected();
  EXPECT_EQ(dialog.layoutPage->layouts->count(), 1);
  EXPECT_TRUE(AppSettings().GetLayoutList().empty());
  // The fields show the standard layout now selected; OK does not save the
  // deleted layout's values as the standard one.
  EXPECT_EQ(dialog.layoutPage->align->currentIndex(), 0);
  dialog.accept();
  EXPECT_EQ(ReadLayout(AppSettings(), 0).align, 0);
}

TEST_F(SettingsDialog, ALayoutIsSavedOnlyUnderAName) {
  Start();
  CSettingsDialog dialog(*main);
  CModal::SetNextHandler([](QDialog& ask) {
    EXPECT_EQ(ask.findChild<QLabel*>()->text(), QStringLiteral("Name of the layout:"));
    auto* name = ask.findChild<QComboBox*>();
    QPushButton* ok = ask.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    EXPECT_FALSE(ok->isEnabled());
    name->setEditText(QStringLiteral("  "));
    EXPECT_FALSE(ok->isEnabled());
    name->setEditText(QStringLiteral("Mine"));
    EXPECT_TRUE(ok->isEnabled());
    return static_cast<int>(QDialog::Accepted);
  });
  dialog.layoutPage->save->click();
  EXPECT_EQ(dialog.layoutPage->layouts->count(), 2);
  EXPECT_EQ(dialog.layoutPage->layouts->itemText(1), QStringLiteral("Mine"));
}

TEST_F(SettingsDialog, TheColourOptionsExcludeOneAnother) {
  Start();
  CSettingsDialog dialog(*main);
  CSettingsLayout& page = *dialog.layoutPage;
  page.desk->setChecked(true);
  page.random->setChecked(true);
  EXPECT_FALSE(page.desk->isChecked());
  EXPECT_FALSE(page.back->isEnabled());
  EXPECT_EQ(page.Values().colorText, kColorAutomatic);
  page.random->setChecked(false);
  EXPECT_TRUE(page.back->isEnabled());
}

TEST_F(SettingsDialog, WhoMayDropNotesIsChosenOnTheNetworkPage) {
  Start();
  CSettingsDialog dialog(*main);
  EXPECT_EQ(dialog.networkPage->acceptFrom->currentIndex(), 0);  // any computer, as always
  EXPECT_FALSE(dialog.networkPage->acceptList->isEnabled());
  dialog.networkPage->acceptFrom->setCurrentIndex(2);
  EXPECT_TRUE(dialog.networkPage->acceptList->isEnabled());
  dialog.networkPage->acceptList->setText(QStringLiteral(" pc7, 192.168.1.0/24 "));
  dialog.accept();
  EXPECT_EQ(AppSettings().Int("NetAccept"), 2);
  EXPECT_EQ(AppSettings().String("NetAcceptList"), "pc7, 192.168.1.0/24");
}

TEST_F(SettingsDialog, AHotkeyNeedsAModifierOrAFunctionKey) {
  Start();
  CSettingsDialog dialog(*main);
  CHotkeyEdit* field = dialog.keyboardPage->keys[1];
  const int paste = 1;
  const auto press = [field](Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QKeyEvent down(QEvent::KeyPress, key, mods);
    QApplication::sendEvent(field, &down);
    QKeyEvent up(QEvent::KeyRelease, key, mods);
    QApplication::sendEvent(field, &up);
  };
  press(Qt::Key_A);
  press(Qt::Key_A, Qt::ShiftModifier);
  EXPECT_EQ(dialog.keyboardPage->Value(paste), 0);  // refused: they would take the key from every program
  press(Qt::Key_F5);
  EXPECT_NE(dialog.keyboardPage->Value(paste), 0);
  press(Qt::Key_Backspace);
  EXPECT_EQ(dialog.keyboardPage->Value(paste), 0);
  dialog.keyboardPage->windows[1]->setChecked(true);  // the Windows key counts as held
  press(Qt::Key_A);
  EXPECT_NE(dialog.keyboardPage->Value(paste), 0);
}

TEST_F(SettingsDialog, TheWheelScrollsThePageAndChangesNoValueWithoutTheFocus) {
  Start();
  CSettingsDialog dialog(*main);
  dialog.show();
  QSpinBox* spin = dialog.miscPage->tabStops;
  const int before = spin->value();
  const auto wheel = [spin] {
    QWheelEvent e(QPointF(5, 5), spin->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -120), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(spin, &e);
  };
  wheel();
  EXPECT_EQ(spin->value(), before);
  spin->setFocus();
  QApplication::processEvents();
  if (spin->hasFocus()) {  // the focus needs an active window, which offscreen may not give
    wheel();
    EXPECT_NE(spin->value(), before);
  }
}

TEST_F(SettingsDialog, EveryTabIsInSightAndEveryLabelKeepsItsMarkedLetter) {
  Start();
  CSettingsDialog dialog(*main);
  dialog.show();
  QApplication::processEvents();
  QTabBar* bar = dialog.tabs->tabBar();
  const QRect last = bar->tabRect(bar->count() - 1);
  EXPECT_LE(last.right(), bar->width()) << "the Translation tab hidden behind scroll arrows";
  EXPECT_EQ(bar->tabText(0), QStringLiteral("La&yout"));
  // A label's marked letter reaches its field.
  int labelsWithBuddy = 0;
  for (QLabel* l : dialog.findChildren<QLabel*>())
    if (l->text().contains(QLatin1Char('&'))) {
      ASSERT_NE(l->buddy(), nullptr) << l->text().toStdString();
      EXPECT_NE(l->buddy()->focusPolicy(), Qt::NoFocus) << l->text().toStdString();
      ++labelsWithBuddy;
    }
  EXPECT_GT(labelsWithBuddy, 10);
  EXPECT_NE(dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Help), nullptr);
}

TEST_F(SettingsDialog, TheCalendarPageWritesTheCalendarsLayout) {
  Start();
  CSettingsDialog dialog(*main);
  dialog.calendarPage->colors[4]->setProperty("color", 0x123456u);  // as the colour dialog leaves it
  dialog.calendarPage->key->setCurrentIndex(2);
  dialog.calendarPage->alpha->setValue(200);
  dialog.accept();
  const CSettings& s = AppSettings();
  EXPECT_EQ(s.GetInt("Layout-1", "ColorBackTitle"), 0x123456);
  EXPECT_EQ(s.GetInt("Layout-1", "Transparency"), 2200);
  EXPECT_EQ(s.GetBytes("Layout-1", "FontNote").size(), LogFont::kSize);
  // The calendar takes it at once.
  main->ApplySettings();
  EXPECT_TRUE(ReadCalendarLayout(s).colors[4]);
}

TEST_F(SettingsDialog, TheNewNoteTextShowsAsANoteWouldGetIt) {
  Start();
  CSettingsDialog dialog(*main);
  CSettingsNewnote& page = *dialog.newnotePage;
  page.text->setPlainText(QStringLiteral("Year %Y"));
  EXPECT_EQ(page.preview->text(), QStringLiteral("Year %1").arg(QDate::currentDate().year()));
}
