#pragma once
#include <functional>
#include <QDialog>

#include "alarm/AlarmRules.h"

class QButtonGroup;
class QComboBox;
class QDateEdit;
class QSpinBox;
class QTimeEdit;

namespace quillet {

// Hides a note: not at all, until shown again from the note list, until a
// date and time, or for a period.
class CHideDialog : public QDialog {
  Q_OBJECT
 public:
  CHideDialog(const CNote& note, const DateTime& now, QWidget* parent = nullptr);

  HideOutcome Result() const { return m_result; }
  void SetChoice(int choice);
  int Choice() const;
  QDateEdit* DateEdit() const { return m_date; }
  QTimeEdit* TimeEdit() const { return m_time; }
  QSpinBox* Count() const { return m_count; }
  QComboBox* Unit() const { return m_unit; }

  void accept() override;
  // Times are composed when OK is pressed, by this clock; without one, by the opening time.
  void SetClock(std::function<DateTime()> clock) { m_clock = std::move(clock); }

 private:
  void UpdateEnabling();

  DateTime m_now;  // when the dialog opened: what it shows first
  std::function<DateTime()> m_clock;
  HideOutcome m_result;
  QButtonGroup* m_choice;
  QDateEdit* m_date;
  QTimeEdit* m_time;
  QSpinBox* m_count;
  QComboBox* m_unit;
};

}  // namespace quillet
