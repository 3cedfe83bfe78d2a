// Start-up to all notes shown, and memory per note, with 100 and 1,000 notes.
// Runs on the platform QT_QPA_PLATFORM names (offscreen when unset); under an
// X server the figures include the real windows.
#include "BenchApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <fstream>
#include <string>

#include "app/QtSettingsStore.h"
#include "controls/CMessageBox.h"
#include "mainwnd/CMainWindow.h"
#include "notes/NoteStore.h"
#include "notewnd/CNoteWnd.h"

using namespace quillet;

namespace {
long RssKiB() {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  return 0;
}

void MakeFile(const std::string& path, int count) {
  CNoteStore store;
  store.SetDataPath(path);
  store.LoadNotes();  // a new file: nothing to load, but writes wait for a load
  for (int i = 0; i < count; ++i) {
    CNote n;
    n.SetText("Note " + std::to_string(i) + "\r\nsomething to remember, with a second line");
    n.Rect = {20 + (i * 37) % 1100, 20 + (i * 53) % 700, 160, 60};
    store.CreateNote(std::move(n));
  }
  store.SaveAllNotes();
}
}  // namespace

int main(int argc, char** argv) {
  BenchApp bench(argc, argv);
  QApplication& app = *bench.app;
  const QTemporaryDir& home = bench.home;
  std::printf("platform %s\n%8s %14s %14s %16s\n", qPrintable(QApplication::platformName()), "notes", "start ms",
              "shown ms", "KiB per note");
  for (const int count : {100, 1000}) {
    const std::string path = (home.path() + QStringLiteral("/bench-%1.dat").arg(count)).toStdString();
    MakeFile(path, count);
    app.processEvents();
    const long before = RssKiB();
    QElapsedTimer t;
    t.start();
    auto main = std::make_unique<CMainWindow>(QString::fromStdString(path));
    main->OnCreate();
    const double created = t.nsecsElapsed() / 1e6;
    // Shown means every window mapped and painted once.
    for (int i = 0; i < main->NoteCount(); ++i) main->WindowAt(i)->repaint();
    app.processEvents();
    const double shown = t.nsecsElapsed() / 1e6;
    const long after = RssKiB();
    std::printf("%8d %14.1f %14.1f %16.1f\n", count, created, shown, double(after - before) / count);
    main->Shutdown();
    main.reset();
    app.processEvents();
  }
  return 0;
}
