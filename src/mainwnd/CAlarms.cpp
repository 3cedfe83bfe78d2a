#include "mainwnd/CAlarms.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>

#include "alarm/AlarmRules.h"
#include "alarm/CAlarmBox.h"
#include "alarm/CAlarmSheet.h"
#include "alarm/CHideDialog.h"
#include "app/Ids.h"
#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "common/DateFormat.h"
#include "controls/CMessageBox.h"
#include "controls/CModal.h"
#include "controls/Platform.h"
#include "controls/QtDateNames.h"
#include "controls/UiText.h"
#include "mainwnd/CMainWindow.h"
#include "mainwnd/CTrayIcon.h"
#include "notewnd/CNoteWnd.h"

namespace quillet {

namespace {
int FlashInterval() { return std::clamp(AppSettings().Int("AlarmFlash"), 100, 3000); }
}  // namespace

CAlarms::CAlarms(CMainWindow& main) : m_main(main) {
  m_alarmTimer.setInterval(2000);
  connect(&m_alarmTimer, &QTimer::timeout, this, &CAlarms::AlarmTick);
  connect(&m_trayFlashTimer, &QTimer::timeout, this, &CAlarms::TrayFlashTick);
}

void CAlarms::Stop() {
  m_alarmTimer.stop();
  m_trayFlashTimer.stop();
  m_sound.Stop();
}

void CAlarms::NoteRemoving(const CNote& note) {
  if (m_soundNote == &note) {
    m_sound.Stop();
    m_soundNote = nullptr;
  }
}

void CAlarms::StartFlash(CNoteWnd& note) { note.StartFlash(FlashInterval()); }

bool CAlarms::StopFlash(CNoteWnd& w) {
  if (!w.IsFlashing()) return true;
  w.StopFlashTimer();
  CNote& n = w.Note();
  if (n.AlarmSignal == 3 && m_soundNote == &n) {
    m_sound.Stop();
    m_soundNote = nullptr;
  }
  w.ApplyZOrder(false);
  if (n.AlarmType == 1) {
    DeleteByAlarm(&n);
    return false;
  }
  if (m_main.HasFlag(CMainWindow::kShowNotes) && n.HideMode == 0)
    w.update();
  else
    w.hide();
  return true;
}

void CAlarms::DeleteByAlarm(CNote* note) {
  const int index = m_main.IndexOf(note);
  if (index < 0) return;
  m_main.DeleteNotes({index}, false, true);
  m_main.SaveAllNotes();
  m_nextAlarmIndex = -2;
}

void CAlarms::AlarmTick() {
  if (!m_main.HasFlag(CMainWindow::kIdle) || m_main.HasFlag(CMainWindow::kReadOnly)) return;
  CBusyGuard busy(m_main);
  const DateTime now = m_main.Now();
  std::optional<std::pair<DateTime, int>> pick;
  // The count is read anew at every step: a firing can delete a note.
  for (int i = 0; i < m_main.NoteCount(); ++i) {
    CNote* n = m_main.GetNote(i);
    if (const auto next = NextOccurrence(*n, now); next && (!pick || Before(*next, pick->first))) pick = {{*next, i}};
    DateTime firing;
    if (m_ringing.count(n)) continue;  // its box is still open
    if (IsAlarmDue(*n, now, &firing)) {
      FireAlarm(n, firing, now);
      continue;
    }
    if (TimedUnhideDue(*n, now)) {
      n->HideMode = 0;
      m_main.SaveNote(i, false);
      if (CNoteWnd* w = m_main.WindowOf(*n); w && m_main.HasFlag(CMainWindow::kShowNotes)) m_main.ShowNote(*w);
      Q_EMIT m_main.NotesChanged();
    }
  }
  AnnounceNextAlarm(pick, now);
  m_main.BringLostNotesBack();
}

void CAlarms::FireAlarm(CNote* note, const DateTime& firing, const DateTime& now) {
  m_nextAlarmIndex = -2;
  // The sound; a wave file that is not there still gives a signal.
  if (note->AlarmSignal == 1) {
    CSound::Beep();
  } else if (note->AlarmSignal == 2 || note->AlarmSignal == 3) {
    const bool loop = note->AlarmSignal == 3 && note->AlarmAction != 2;
    if (m_sound.PlayWave(FromLocal(note->AlarmWave()), loop))
      m_soundNote = note;
    else
      CSound::Beep();
  }
  CNoteWnd* w = m_main.WindowOf(*note);
  if (note->AlarmAction == 1 && w) {
    w->show();
    w->raise();
    StartFlash(*w);
    FinishFiring(note, firing, now);
    return;
  }
  if (note->AlarmAction == 2) {
    if (!RunAlarmProgram(note->AlarmExec())) {
      // The message names the note too, so the alarm is not lost with its program.
      std::string text = FormatUIString(LoadUIString(Str::CannotRun), {note->AlarmExec()});
      if (!note->Text().empty()) text += "\n\n" + note->Text();
      CMessageBox::Show(nullptr, FromLocal(text));
    }
    FinishFiring(note, firing, now);
    return;
  }
  ShowAlarmBox(note, firing, now);
}

void CAlarms::ShowAlarmBox(CNote* note, const DateTime& firing, const DateTime& now) {
  // The box does not wait for its answer: other alarms, programs and timed
  // unhiding go on meanwhile, and their boxes stand beside it.
  m_ringing.insert(note);
  auto* box = new CAlarmBox(*note, AppSettings().Int("AlarmRemind"));
  const int open = static_cast<int>(m_ringing.size()) - 1;
  if (open > 0) {
    box->adjustSize();
    const QRect area = WorkArea();
    const QPoint step(32 * (open % 10), 32 * (open % 10));
    box->move(area.center() - QPoint(box->width() / 2, box->height() / 2) + step);
  }
  CModal::Open(box, [this, note, firing, now](int result) {
    m_ringing.erase(note);
    if (m_main.IsShutDown()) return;
    if (note->AlarmSignal == 3 && m_soundNote == note) {
      m_sound.Stop();
      m_soundNote = nullptr;
    }
    if (m_main.IndexOf(note) < 0) return;  // removed while the box was open
    CBusyGuard busy(m_main);
    if (result == CAlarmBox::kRemind) {
      // From the click, not from when the box appeared: it may have stood open for an hour.
      PostponeAlarm(*note, m_main.Now(), firing, AppSettings().Int("AlarmRemind"));
      m_main.SaveNote(m_main.IndexOf(note), false);
      return;
    }
    if (result == CAlarmBox::kChangeAlarm) {
      if (CNoteWnd* nw = m_main.WindowOf(*note); nw && EditAlarm(*nw)) return;
      ShowAlarmBox(note, firing, now);
      return;
    }
    FinishFiring(note, firing, now);
  });
}

void CAlarms::FinishFiring(CNote* note, const DateTime& firing, const DateTime& now) {
  if (RescheduleAfterFiring(*note, now, firing) == AfterFiring::DeleteNote) {
    DeleteByAlarm(note);
    return;
  }
  m_main.SaveNote(m_main.IndexOf(note), false);
  Q_EMIT m_main.NotesChanged();
}

bool CAlarms::RunAlarmProgram(const std::string& command) {
  const QString text = FromLocal(command).trimmed();
  if (text.isEmpty()) return false;
  // An executable with its arguments is started; anything else is opened.
  QStringList parts = QProcess::splitCommand(text);
  if (!parts.isEmpty()) {
    const QString program = parts.takeFirst();
    const QFileInfo info(program);
    const QString found = program.contains(QLatin1Char('/')) ? (info.isFile() && info.isExecutable() ? program : QString())
                                                             : QStandardPaths::findExecutable(program);
    if (!found.isEmpty()) return QProcess::startDetached(found, parts);
  }
  QString target = text;
  if (target.startsWith(QStringLiteral("~/"))) target = QDir::homePath() + target.mid(1);
  const QUrl url = QFileInfo::exists(target) ? QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath())
                                             : QUrl::fromUserInput(target);
  if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) return false;
  return url.isValid() && QDesktopServices::openUrl(url);
}

void CAlarms::AnnounceNextAlarm(const std::optional<std::pair<DateTime, int>>& pick, const DateTime& now) {
  int wanted = 0;
  if (pick && MinutesUntil(now, pick->first) <= AppSettings().Int("AlarmNext")) wanted = 1;
  if (wanted != m_trayImage) {
    m_trayImage = wanted;
    m_nextAlarmIndex = -2;
  }
  const int index = pick ? pick->second : -1;
  if (index == m_nextAlarmIndex) return;
  m_nextAlarmIndex = index;
  m_nextAlarmTime = pick ? pick->first : DateTime();
  m_trayFlashTimer.stop();
  if (m_main.Tray()) m_main.Tray()->SetIcon(QuilletIcon(m_trayImage));
  if (m_trayImage == 1) {
    m_trayFlashCount = 2 * AppSettings().Int("FlashIcon");
    if (m_trayFlashCount > 0) m_trayFlashTimer.start(FlashInterval());
  }
  UpdateTrayTip();
}

void CAlarms::TrayFlashTick() {
  if (m_main.Tray()) m_main.Tray()->SetIcon(QuilletIcon(m_trayFlashCount % 2 ? m_trayImage : 2));
  if (--m_trayFlashCount <= 0) m_trayFlashTimer.stop();
}

void CAlarms::UpdateTrayTip() {
  if (!m_main.Tray()) return;
  // The tip of the icon names the next alarm, as the hover balloon does.
  QString tip = QStringLiteral("Quillet");
  if (m_main.HasFlag(CMainWindow::kAlarmBalloon)) {
    const CNote* n = m_nextAlarmIndex >= 0 ? m_main.GetNote(m_nextAlarmIndex) : nullptr;
    if (!n) {
      tip += QLatin1Char('\n') + Ui(Str::NoActiveAlarm);
    } else {
      DateParts at, today;
      m_nextAlarmTime.ToParts(at);
      m_main.Now().ToParts(today);
      const bool isToday = at.year == today.year && at.month == today.month && at.day == today.day;
      tip = QStringLiteral("Quillet - ") + FromLocal(ExpandDateFormat(isToday ? "%X" : "%x %X", at, CQtDateNames())) +
            QLatin1Char('\n') + FromLocal(n->Text()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
  }
  m_main.Tray()->SetToolTip(tip);
}

bool CAlarms::EditAlarm(CNoteWnd& w) {
  if (m_main.HasFlag(CMainWindow::kReadOnly)) return false;
  CAlarmSheet sheet(w.Note(), m_main.Now(), &m_main);
  sheet.SetClock([this] { return m_main.Now(); });
  if (CModal::Run(sheet) != QDialog::Accepted) return false;
  CNote& n = w.Note();
  const AlarmOutcome& r = sheet.Result();
  n.AlarmTime = r.alarmTime;
  n.AlarmScheduled.SetNull();
  n.AlarmType = r.type;
  n.AlarmEvery = r.every;
  n.AlarmAction = r.action;
  n.SetAlarmExec(r.exec);
  n.AlarmSignal = r.signal;
  n.SetAlarmWave(r.wave);
  if (sheet.HideNote() && n.HideMode == 0) {
    n.HideMode = 1;
    w.hide();
  } else if (!sheet.HideNote() && n.HideMode != 0) {
    n.HideMode = 0;
    if (m_main.HasFlag(CMainWindow::kShowNotes)) m_main.ShowNote(w);
  }
  m_main.SaveNote(n.Index, false);
  m_nextAlarmIndex = -2;
  Q_EMIT m_main.NotesChanged();
  return true;
}

void CAlarms::EditHiding(CNoteWnd& w) {
  if (m_main.HasFlag(CMainWindow::kReadOnly)) return;
  CHideDialog dialog(w.Note(), m_main.Now());
  dialog.SetClock([this] { return m_main.Now(); });
  if (CModal::Run(dialog) != QDialog::Accepted) return;
  CNote& n = w.Note();
  n.HideMode = dialog.Result().mode;
  n.HideUntil = dialog.Result().until;
  m_main.SaveNote(n.Index, false);
  if (n.HideMode != 0)
    w.hide();
  else if (m_main.HasFlag(CMainWindow::kShowNotes))
    w.show();
  Q_EMIT m_main.NotesChanged();
}

}  // namespace quillet
