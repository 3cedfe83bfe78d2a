#pragma once
#include <map>
#include <string>
#include <variant>
#include <QDialog>
#include <QKeySequenceEdit>
#include <QWidget>
#include <array>

#include "notewnd/Layout.h"

class QCheckBox;
class QComboBox;
class QKeySequenceEdit;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QTableWidget;
class QTabWidget;

namespace quillet {

class IDesk;

// The standard layout, or the layout of one note: font, colours, alignment,
// desktop colour, random colours, transparency.
class CSettingsLayout : public QWidget {
  Q_OBJECT
 public:
  CSettingsLayout(QWidget* parent, const LayoutValues& values, bool noteMode, ColorRef desktop);
  LayoutValues Values() const;
  void Load(const LayoutValues& values);
  // Saves the page's values as a named layout; returns its number.
  int SaveAs(const std::string& name);
  void DeleteSelected();
  QPushButton *font, *text, *back, *border;
  QCheckBox *autoText, *autoBorder, *desk, *random, *randomList;
  QComboBox *align, *key;
  QSlider* alpha;
  QComboBox* layouts = nullptr;
  QPushButton *save = nullptr, *remove = nullptr, *colorList = nullptr;
  QWidget* preview;  // a note drawn with the values as they stand

 private:
  void FillLayouts(int select);
  LayoutValues m_values;
};

class CSettingsNewnote : public QWidget {
  Q_OBJECT
 public:
  CSettingsNewnote(QWidget* parent, IDesk& main);
  QSpinBox *left, *top, *right, *bottom;
  QCheckBox *minimize, *alarm;
  QComboBox* folder;
  QPlainTextEdit* text;
  QPushButton* insert;  // a date or time code at the cursor
  QLineEdit* preview;   // the text as a new note made now would get it
};

// A hotkey field: Backspace and Delete clear it, and a key needs Ctrl, Alt
// or the Windows key (its own or the box beside it), except F1 to F24: a
// bare key would be taken from every program on the desktop. Other keys,
// Enter and Esc among them, go on to the dialog.
class CHotkeyEdit : public QKeySequenceEdit {
  Q_OBJECT
 public:
  CHotkeyEdit(QWidget* parent, const QCheckBox* windowsKey) : QKeySequenceEdit(parent), m_windowsKey(windowsKey) {}

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  const QCheckBox* m_windowsKey;
};

class CSettingsKeyboard : public QWidget {
  Q_OBJECT
 public:
  explicit CSettingsKeyboard(QWidget* parent);
  std::array<CHotkeyEdit*, 8> keys{};
  std::array<QCheckBox*, 8> windows{};
  // The stored value of hotkey i: modifiers × 256 + virtual key, 0 for none.
  int Value(int i) const;
  void SetValue(int i, int value);
};

class CSettingsNetwork : public QWidget {
  Q_OBJECT
 public:
  CSettingsNetwork(QWidget* parent, IDesk& main);
  QCheckBox *accept, *onTop;
  QComboBox *layout, *folder, *audio, *acceptFrom;
  QLineEdit *port, *sender, *wave, *acceptList;
  QPushButton *chooseWave, *testAudio;
};

class CSettingsCalendar : public QWidget {
  Q_OBJECT
 public:
  explicit CSettingsCalendar(QWidget* parent);
  // The font, colours and transparency as the page shows them.
  CalendarLayout Layout() const;
  QPushButton* font;
  std::array<QPushButton*, 6> colors{};  // in the order of kCalendarColorKeys
  QComboBox* key;
  QSlider* alpha;
  QCheckBox *weeks, *today, *circle;

 private:
  LogFont m_font;
};

class CSettingsMisc : public QWidget {
  Q_OBJECT
 public:
  explicit CSettingsMisc(QWidget* parent);
  QCheckBox *autostart, *tooSmall, *showFull, *shadow, *allWorkspaces, *balloon, *deleteAsk, *deleteBin, *printAuto, *printColor, *printBorder,
      *formatPaste, *pasteAppend, *menuXP, *menuFlip;
  QSpinBox *tabStops, *printZoom, *flash, *remind, *next, *flashIcon, *backups;
  QComboBox *editType, *ratioW, *ratioH, *iconAction;
  QLineEdit *sepExport, *sepCopy, *fileNotes, *fileBin;
  QPushButton *browseNotes, *browseBin;
};

class CSettingsTranslate : public QWidget {
  Q_OBJECT
 public:
  explicit CSettingsTranslate(QWidget* parent);
  QTableWidget* table;
  bool Changed() const { return m_changed; }
  // Writes every row's translation to the translation file.
  bool Save(const std::string& iniPath) const;

 private:
  bool m_changed = false;
};

// The settings of the program on seven pages, or in note mode the layout of
// one note alone (then nothing is written).
class CSettingsDialog : public QDialog {
  Q_OBJECT
 public:
  CSettingsDialog(IDesk& main, const CNote* note = nullptr, QWidget* parent = nullptr);
  bool NoteMode() const { return m_noteMode; }
  bool ShadowChanged() const { return m_shadowChanged; }
  LayoutValues Layout() const { return m_layout; }
  void accept() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  QTabWidget* tabs;
  CSettingsLayout* layoutPage;
  CSettingsNewnote* newnotePage = nullptr;
  CSettingsKeyboard* keyboardPage = nullptr;
  CSettingsNetwork* networkPage = nullptr;
  CSettingsCalendar* calendarPage = nullptr;
  CSettingsMisc* miscPage = nullptr;
  CSettingsTranslate* translatePage = nullptr;

 private:
  using Values = std::map<std::string, std::variant<long long, std::string>>;
  // What OK would write, key by key, as the controls stand.
  Values ControlValues() const;

  IDesk& m_main;
  bool m_noteMode;
  bool m_shadowChanged = false;
  LayoutValues m_layout;
  Values m_shown;  // what the controls showed when the dialog opened
};

}  // namespace quillet
