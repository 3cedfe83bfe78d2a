// One alarm tick over 1,000 and 32,767 notes that all carry alarms (none due),
// with real note windows on the offscreen platform; and the rules alone.
#include "BenchApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>

#include "alarm/AlarmRules.h"
#include "app/QtSettingsStore.h"
#include "controls/CMessageBox.h"
#include "mainwnd/CMainWindow.h"
#include "notes/NoteStore.h"

using namespace quillet;

int main(int argc, char** argv) {
  BenchApp bench(argc, argv);
  const QTemporaryDir& home = bench.home;
  const DateTime now = DateTime::FromParts(2026, 12, 7, 8, 0, 0);
  std::printf("%8s %16s %16s\n", "notes", "tick us", "rules only us");
  for (const int count : {1000, kMaxNotes}) {
    const std::string path = (home.path() + QStringLiteral("/alarms-%1.dat").arg(count)).toStdString();
    {
      CNoteStore store;
      store.SetDataPath(path);
      store.LoadNotes();  // a new file: nothing to load, but writes wait for a load
      for (int i = 0; i < count; ++i) {
        CNote n;
        n.SetText("alarm " + std::to_string(i));
        n.Rect = {10 + i % 1000, 10 + i % 600, 80, 40};
        n.AlarmTime = DateTime::FromParts(2026, 12, 8 + i % 20, i % 24, i % 60, 0);
        n.AlarmType = static_cast<uint16_t>(i % 9);
        n.AlarmEvery = static_cast<int16_t>(n.AlarmType == kAlarmDaily ? 0x1F : 1);
        store.CreateNote(std::move(n));
      }
      store.SaveAllNotes();
    }
    CMainWindow main(QString::fromStdString(path));
    main.OnCreate();
    main.SetClock([now] { return now; });
    main.AlarmTick();  // warm
    QElapsedTimer t;
    constexpr int kRounds = 20;
    t.start();
    for (int r = 0; r < kRounds; ++r) main.AlarmTick();
    const double tick = t.nsecsElapsed() / 1e3 / kRounds;
    t.restart();
    int due = 0;
    for (int r = 0; r < kRounds; ++r)
      for (int i = 0; i < main.NoteCount(); ++i) {
        const CNote& n = *main.GetNote(i);
        (void)NextOccurrence(n, now);
        due += IsAlarmDue(n, now) || TimedUnhideDue(n, now);
      }
    const double rules = t.nsecsElapsed() / 1e3 / kRounds;
    std::printf("%8d %16.0f %16.0f%s\n", count, tick, rules, due ? " (some were due!)" : "");
    main.Shutdown();
  }
  return 0;
}
