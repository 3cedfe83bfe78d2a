#include "alarm/CAlarmSheet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>

#include "alarm/CSound.h"
#include "alarm/DateControls.h"
#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "controls/DialogParts.h"
#include "controls/Platform.h"
#include "desk/IDesk.h"
#include "app/Ids.h"
#include "controls/UiText.h"

namespace quillet {

namespace {
QButtonGroup* Radios(QWidget* parent, QGridLayout* grid, std::initializer_list<int> ids, int column = 0) {
  auto* group = new QButtonGroup(parent);
  int row = 0;
  for (int id : ids) {
    auto* r = new QRadioButton(Ui(id), parent);
    group->addButton(r, row);
    grid->addWidget(r, row++, column, 1, 3);
  }
  return group;
}

QComboBox* RecentList(QWidget* parent, const char* section) {
  auto* box = new QComboBox(parent);
  box->setEditable(true);
  box->setInsertPolicy(QComboBox::NoInsert);
  box->lineEdit()->setMaxLength(254);
  for (const std::string& e : AppSettings().GetStringList(section)) box->addItem(FromLocal(e));
  box->setCurrentIndex(-1);
  return box;
}

void Check(QButtonGroup* g, int id) {
  if (QAbstractButton* b = g->button(id)) b->setChecked(true);
}
}  // namespace

CAlarmType::CAlarmType(QWidget* parent) : QWidget(parent) {
  auto* grid = new QGridLayout(this);
  choice = Radios(this, grid, {Str::KeepNoteAfterAlarm, Str::DeleteNoteAfterAlarm, Str::RepeatAlarmEvery, Str::RepeatAlarmDaily});
  count = new QSpinBox(this);
  count->setRange(1, 9999);
  unit = new QComboBox(this);
  FillUnitList(*unit);
  grid->addWidget(count, 2, 3);
  grid->addWidget(unit, 2, 4);
  weekdays = new QListWidget(this);
  const QLocale locale = QLocale::system();
  for (int d = 1; d <= 7; ++d) {
    auto* item = new QListWidgetItem(locale.dayName(d, QLocale::LongFormat), weekdays);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
  }
  grid->addWidget(weekdays, 4, 0, 1, 5);
}

int CAlarmType::Mask() const {
  int mask = 0;
  for (int i = 0; i < weekdays->count(); ++i)
    if (weekdays->item(i)->checkState() == Qt::Checked) mask |= 1 << i;
  return mask;
}

void CAlarmType::SetMask(int mask) {
  for (int i = 0; i < weekdays->count(); ++i) weekdays->item(i)->setCheckState(mask & (1 << i) ? Qt::Checked : Qt::Unchecked);
}

CAlarmAction::CAlarmAction(QWidget* parent, IDesk* main) : QWidget(parent) {
  auto* grid = new QGridLayout(this);
  choice = Radios(this, grid, {Str::AlarmConfirmText, Str::AlarmFlashNote, Str::Run});
  program = RecentList(this, "Run");
  browse = new QPushButton(QStringLiteral("..."), this);
  grid->addWidget(program, 3, 0, 1, 2);
  grid->addWidget(browse, 3, 2);
  grid->setRowStretch(4, 1);
  connect(browse, &QPushButton::clicked, this, [this, main] {
    if (!main) return;
    const QString path = main->AskExistingFile(this, Str::ProgramFileFilter, QStringLiteral("ExecDir"));
    if (!path.isEmpty()) program->setEditText(path);
  });
}

CAlarmAudio::CAlarmAudio(QWidget* parent, IDesk* main) : QWidget(parent) {
  auto* grid = new QGridLayout(this);
  choice = Radios(this, grid, {Str::NoAudioSignal, Str::StandardSignal, Str::PlaySoundFile});
  wave = RecentList(this, "Wave");
  browse = new QPushButton(QStringLiteral("..."), this);
  repeat = new QCheckBox(Ui(Str::Repeat), this);
  test = new QPushButton(Ui(Str::TestAudioSignal), this);
  grid->addWidget(wave, 3, 0, 1, 2);
  grid->addWidget(browse, 3, 2);
  grid->addWidget(repeat, 4, 0);
  grid->addWidget(test, 5, 0);
  grid->setRowStretch(6, 1);
  connect(browse, &QPushButton::clicked, this, [this, main] {
    if (!main) return;
    const QString path = main->AskExistingFile(this, Str::SoundFileFilter, QStringLiteral("WaveDir"));
    if (!path.isEmpty()) wave->setEditText(path);
  });
  connect(test, &QPushButton::clicked, this, [this] { CSound::Test(choice->checkedId(), wave->currentText()); });
}

CAlarmSheet::CAlarmSheet(const CNote& note, const DateTime& now, IDesk* main, QWidget* parent)
    : QDialog(parent), m_opened(note), m_now(now) {
  setWindowTitle(Ui(Str::QuilletAlarm));
  setWindowIcon(QuilletIcon(1));
  auto* grid = new QGridLayout;
  activate = new QCheckBox(Ui(Str::ActivateAlarm), this);
  grid->addWidget(activate, 0, 0, 1, 3);
  mode = new QButtonGroup(this);
  auto* specified = new QRadioButton(Ui(Str::SpecifiedDateTime), this);
  auto* period = new QRadioButton(Ui(Str::PeriodOfTimeFromNow), this);
  mode->addButton(specified, 0);
  mode->addButton(period, 1);
  date = MakeDateEdit(this);
  time = MakeTimeEdit(this);
  spanCount = new QSpinBox(this);
  spanCount->setRange(1, 9999);
  spanUnit = new QComboBox(this);
  FillUnitList(*spanUnit);
  grid->addWidget(specified, 1, 0);
  grid->addWidget(date, 1, 1);
  grid->addWidget(time, 1, 2);
  grid->addWidget(period, 2, 0);
  grid->addWidget(spanCount, 2, 1);
  grid->addWidget(spanUnit, 2, 2);
  tabs = new QTabWidget(this);
  typePage = new CAlarmType(tabs);
  actionPage = new CAlarmAction(tabs, main);
  audioPage = new CAlarmAudio(tabs, main);
  tabs->addTab(typePage, Ui(Str::Type));
  tabs->addTab(actionPage, Ui(Str::Action));
  tabs->addTab(audioPage, Ui(Str::AudioSignal));
  hide = new QCheckBox(Ui(Str::HideNote), this);
  auto* buttons = MakeOkCancel(this);
  auto* all = new QVBoxLayout(this);
  all->addLayout(grid);
  all->addWidget(tabs);
  all->addWidget(hide);
  all->addWidget(buttons);

  // Initial values: a postponed alarm shows the time it was scheduled for.
  const CSettings& s = AppSettings();
  const DateTime alarm = note.AlarmScheduled.IsValid() ? note.AlarmScheduled : note.AlarmTime;
  int type = s.Int("AlarmType"), every = s.Int("AlarmEvery"), repeatUnit = s.Int("AlarmRepeat"),
      mask = s.Int("AlarmDaily"), action = s.Int("AlarmAction"), signal = s.Int("AlarmSignal");
  std::string exec = s.String("AlarmExec"), wave = s.String("AlarmWave");
  DateParts nowParts;
  now.ToParts(nowParts);
  date->setDate(QDateOf(nowParts));
  time->setTime(QTimeOf(TimeOfDayFromInt(s.Int("AlarmTime"))));
  if (alarm.IsValid()) {
    DateParts ap;
    alarm.ToParts(ap);
    if (note.AlarmType != kAlarmDaily) date->setDate(QDateOf(ap));
    time->setTime(QTimeOf(ap));
    type = note.AlarmType;
    action = note.AlarmAction;
    signal = note.AlarmSignal;
    if (type == kAlarmDaily)
      mask = note.AlarmEvery;
    else if (type >= 2 && type <= 7) {
      repeatUnit = type;
      every = note.AlarmEvery;
    }
    if (action == 2) exec = note.AlarmExec();
    if (signal == 2 || signal == 3) wave = note.AlarmWave();
  }
  activate->setChecked(true);
  Check(mode, 0);
  spanCount->setValue(CountOf(std::to_string(s.Int("AlarmSpanCount"))));
  SelectUnit(*spanUnit, s.Int("AlarmSpanType"));
  Check(typePage->choice, type == 0 ? 0 : type == 1 ? 1 : type == kAlarmDaily ? 3 : 2);
  typePage->count->setValue(CountOf(std::to_string(every)));
  SelectUnit(*typePage->unit, repeatUnit);
  typePage->SetMask(mask);
  Check(actionPage->choice, action == 1 ? 1 : action == 2 ? 2 : 0);
  actionPage->program->setEditText(FromLocal(exec));
  Check(audioPage->choice, signal == 0 ? 0 : signal == 1 ? 1 : 2);
  audioPage->repeat->setChecked(signal == 3);
  audioPage->wave->setEditText(FromLocal(wave));
  hide->setChecked(note.HideMode != 0);

  for (QButtonGroup* g : {mode, typePage->choice, actionPage->choice, audioPage->choice})
    connect(g, &QButtonGroup::idClicked, this, [this] { UpdateEnabling(); });
  connect(activate, &QCheckBox::toggled, this, [this] { UpdateEnabling(); });
  UpdateEnabling();
}

bool CAlarmSheet::HideNote() const { return hide->isChecked(); }

void CAlarmSheet::UpdateEnabling() {
  const bool on = activate->isChecked();
  const bool daily = typePage->choice->checkedId() == 3;
  // A daily alarm has no date of its own and no period from now.
  if (daily && mode->checkedId() == 1) Check(mode, 0);
  const int m = mode->checkedId();
  mode->button(0)->setEnabled(on);
  mode->button(1)->setEnabled(on && !daily);
  date->setEnabled(on && m == 0 && !daily);
  time->setEnabled(on && m == 0);
  spanCount->setEnabled(on && m == 1);
  spanUnit->setEnabled(on && m == 1);
  for (QButtonGroup* g : {typePage->choice, actionPage->choice, audioPage->choice})
    for (QAbstractButton* b : g->buttons()) b->setEnabled(on);
  const int t = typePage->choice->checkedId();
  typePage->count->setEnabled(on && t == 2);
  typePage->unit->setEnabled(on && t == 2);
  typePage->weekdays->setEnabled(on && t == 3);
  const bool run = on && actionPage->choice->checkedId() == 2;
  actionPage->program->setEnabled(run);
  actionPage->browse->setEnabled(run);
  const int a = audioPage->choice->checkedId();
  audioPage->test->setEnabled(on && a != 0);
  audioPage->wave->setEnabled(on && a == 2);
  audioPage->browse->setEnabled(on && a == 2);
  audioPage->repeat->setEnabled(on && a == 2);
}

AlarmInput CAlarmSheet::Input() const {
  AlarmInput in;
  in.activate = activate->isChecked();
  in.mode = mode->checkedId() == 1 ? 1 : 0;
  in.date = PartsOfDate(date->date());
  in.time = PartsOfTime(time->time());
  in.spanCount = std::to_string(spanCount->value());
  in.spanUnit = SelectedUnit(*spanUnit);
  in.typeChoice = std::max(0, typePage->choice->checkedId());
  in.everyCount = std::to_string(typePage->count->value());
  in.repeatUnit = SelectedUnit(*typePage->unit);
  in.weekdayMask = typePage->Mask();
  in.actionChoice = std::max(0, actionPage->choice->checkedId());
  in.exec = ToLocal(actionPage->program->currentText());
  in.audioChoice = std::max(0, audioPage->choice->checkedId());
  in.repeatSound = audioPage->repeat->isChecked();
  in.wave = ToLocal(audioPage->wave->currentText());
  return in;
}

void CAlarmSheet::accept() {
  const AlarmOutcome out = ComposeAlarm(Input(), m_opened, m_clock ? m_clock() : m_now, AppSettings());
  if (ShowRefusal(this, out.refusedWith)) return;
  m_result = out;
  QDialog::accept();
}

}  // namespace quillet
