#include "alarm/CHideDialog.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "alarm/DateControls.h"
#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "controls/DialogParts.h"
#include "app/Ids.h"
#include "controls/UiText.h"

namespace quillet {

namespace {
DateParts Parts(const DateTime& t) {
  DateParts p;
  t.ToParts(p);
  return p;
}
}  // namespace

CHideDialog::CHideDialog(const CNote& note, const DateTime& now, QWidget* parent) : QDialog(parent), m_now(now) {
  setWindowTitle(Ui(Str::QuilletHide));
  m_choice = new QButtonGroup(this);
  auto* grid = new QGridLayout(this);
  int row = 0;
  for (int id : {Str::DontHide, Str::HideUntilActivated, Str::UntilDateTime, Str::ForPeriodOfTime}) {
    auto* radio = new QRadioButton(Ui(id), this);
    m_choice->addButton(radio, row);
    grid->addWidget(radio, row * 2, 0, 1, 3);
    ++row;
  }
  m_date = MakeDateEdit(this);
  m_time = MakeTimeEdit(this);
  grid->addWidget(m_date, 5, 1);
  grid->addWidget(m_time, 5, 2);
  m_count = new QSpinBox(this);
  m_count->setRange(1, 9999);
  m_unit = new QComboBox(this);
  FillUnitList(*m_unit);
  grid->addWidget(m_count, 7, 1);
  grid->addWidget(m_unit, 7, 2);
  auto* buttons = MakeOkCancel(this);
  grid->addWidget(buttons, 8, 0, 1, 3);

  const CSettings& s = AppSettings();
  const DateParts today = Parts(now);
  m_date->setDate(QDateOf(today));
  m_time->setTime(QTimeOf(TimeOfDayFromInt(s.Int("HideTime"))));
  if (note.HideMode == 2 && note.HideUntil.IsValid()) {
    SetChoice(2);
    const DateParts until = Parts(note.HideUntil);
    m_date->setDate(QDateOf(until));
    m_time->setTime(QTimeOf(until));
  } else {
    // A shown note is offered hiding until it is activated again.
    SetChoice(1);
  }
  m_count->setValue(CountOf(std::to_string(s.Int("HideSpanCount"))));
  SelectUnit(*m_unit, s.Int("HideSpanType"));
  connect(m_choice, &QButtonGroup::idClicked, this, [this] { UpdateEnabling(); });
  UpdateEnabling();
}

void CHideDialog::SetChoice(int choice) {
  if (QAbstractButton* b = m_choice->button(choice)) b->setChecked(true);
  UpdateEnabling();
}

int CHideDialog::Choice() const { return m_choice->checkedId(); }

void CHideDialog::UpdateEnabling() {
  const int c = Choice();
  m_date->setEnabled(c == 2);
  m_time->setEnabled(c == 2);
  m_count->setEnabled(c == 3);
  m_unit->setEnabled(c == 3);
}

void CHideDialog::accept() {
  HideInput in;
  in.choice = Choice();
  in.date = PartsOfDate(m_date->date());
  in.time = PartsOfTime(m_time->time());
  in.spanCount = std::to_string(m_count->value());
  in.spanUnit = SelectedUnit(*m_unit);
  const HideOutcome out = ComposeHide(in, m_clock ? m_clock() : m_now, AppSettings());
  if (ShowRefusal(this, out.refusedWith)) return;
  m_result = out;
  QDialog::accept();
}

}  // namespace quillet
