#pragma once
#include <functional>
#include <QDialog>
#include <QWidget>

#include "alarm/AlarmRules.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QTimeEdit;

namespace quillet {

class IDesk;

// Type page: keep, delete, repeat every N units, repeat on weekdays.
class CAlarmType : public QWidget {
  Q_OBJECT
 public:
  explicit CAlarmType(QWidget* parent);
  QButtonGroup* choice;
  QSpinBox* count;
  QComboBox* unit;
  QListWidget* weekdays;
  int Mask() const;
  void SetMask(int mask);
};

// Action page: the alarm box, a flashing note, or a program.
class CAlarmAction : public QWidget {
  Q_OBJECT
 public:
  CAlarmAction(QWidget* parent, IDesk* main);
  QButtonGroup* choice;
  QComboBox* program;
  QPushButton* browse;
};

// Audio page: no sound, the speaker, or a sound file once or repeated.
class CAlarmAudio : public QWidget {
  Q_OBJECT
 public:
  CAlarmAudio(QWidget* parent, IDesk* main);
  QButtonGroup* choice;
  QComboBox* wave;
  QPushButton* browse;
  QPushButton* test;
  QCheckBox* repeat;
};

// The alarm dialog of one note.
class CAlarmSheet : public QDialog {
  Q_OBJECT
 public:
  CAlarmSheet(const CNote& note, const DateTime& now, IDesk* main, QWidget* parent = nullptr);

  const AlarmOutcome& Result() const { return m_result; }
  bool HideNote() const;

  QCheckBox* activate;
  QDateEdit* date;
  QTimeEdit* time;
  QButtonGroup* mode;
  QSpinBox* spanCount;
  QComboBox* spanUnit;
  QCheckBox* hide;
  QTabWidget* tabs;
  CAlarmType* typePage;
  CAlarmAction* actionPage;
  CAlarmAudio* audioPage;

  AlarmInput Input() const;
  void UpdateEnabling();
  void accept() override;
  // Times are composed when OK is pressed, by this clock; without one, by the opening time.
  void SetClock(std::function<DateTime()> clock) { m_clock = std::move(clock); }

 private:
  CNote m_opened;
  DateTime m_now;  // when the dialog opened: what it shows first
  std::function<DateTime()> m_clock;
  AlarmOutcome m_result;
};

}  // namespace quillet
