#pragma once
#include <QObject>
#include <QTimer>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "alarm/CSound.h"
#include "common/DateTime.h"

namespace quillet {

class CMainWindow;
class CNote;
class CNoteWnd;

// Alarms and hiding: the tick that fires what is due and ends timed hiding,
// the alarm boxes, the flashing, and the announcement of the next alarm in
// the tray icon.
class CAlarms : public QObject {
  Q_OBJECT
 public:
  explicit CAlarms(CMainWindow& main);

  void Start() { m_alarmTimer.start(); }
  void Stop();
  bool Running() const { return m_alarmTimer.isActive(); }
  // Fires what is due, shows notes whose hiding ended, announces the next alarm.
  void AlarmTick();
  // The next alarm is looked for anew at the next tick.
  void Reconsider() { m_nextAlarmIndex = -2; }
  int NextAlarmIndex() const { return m_nextAlarmIndex; }
  int TrayImage() const { return m_trayImage; }
  void UpdateTrayTip();

  // The alarm dialog; true when it was confirmed.
  bool EditAlarm(CNoteWnd& note);
  void EditHiding(CNoteWnd& note);
  void StartFlash(CNoteWnd& note);
  // The alarm flash stops at any click; false when the alarm removed the note.
  bool StopFlash(CNoteWnd& note);
  // A note is going: its sound stops with it.
  void NoteRemoving(const CNote& note);
  // Starts the program an alarm names, or opens it; false when that fails.
  static bool RunAlarmProgram(const std::string& command);
  // An alarm box is open; the note is not changed from outside meanwhile.
  bool AnyRinging() const { return !m_ringing.empty(); }

 private:
  void FireAlarm(CNote* note, const DateTime& firing, const DateTime& now);
  void FinishFiring(CNote* note, const DateTime& firing, const DateTime& now);
  void ShowAlarmBox(CNote* note, const DateTime& firing, const DateTime& now);
  void AnnounceNextAlarm(const std::optional<std::pair<DateTime, int>>& pick, const DateTime& now);
  void TrayFlashTick();
  void DeleteByAlarm(CNote* note);

  CMainWindow& m_main;
  QTimer m_alarmTimer, m_trayFlashTimer;
  int m_nextAlarmIndex = -1;
  DateTime m_nextAlarmTime;
  int m_trayImage = 0;  // 0 normal, 1 announcement
  int m_trayFlashCount = 0;
  CSound m_sound;
  const CNote* m_soundNote = nullptr;
  std::set<const CNote*> m_ringing;  // notes whose alarm box is open
};

}  // namespace quillet
